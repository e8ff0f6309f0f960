#include "OSInfo.h"

#include <windows.h>

#include "../engine/DebugLog.h"
#include "Registry.h"

namespace {

const char* const kNineKey = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
// Present only where 32-bit programs run beside 64-bit ones.
const char* const kWow64Key = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Installer";

// Set only while a test's ScopedOverride lives.
const OSInfo::VersionTexts* g_override = nullptr;

void SplitVersion(const CStdStr& text, int& major, int& minor)
{
    size_t dot = text.find('.');
    major = int(ParseDecimal(text.substr(0, dot)));
    minor = dot == CStdStr::npos ? 0 : int(ParseDecimal(text.substr(dot + 1)));
}

bool RunsUnderWow64()
{
    // Older kernels lack the question; their processes are never emulated.
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto fn = reinterpret_cast<IsWow64Fn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"));
    BOOL wow = FALSE;
    return fn && fn(GetCurrentProcess(), &wow) && wow;
}

bool RemoteKeyExists(const CStdStr& machine, const char* key)
{
    HKEY root;
    if (RegConnectRegistryA(machine.c_str(), HKEY_LOCAL_MACHINE, &root) != ERROR_SUCCESS)
        return false;
    HKEY h;
    bool exists = RegOpenKeyExA(root, key, 0, KEY_READ, &h) == ERROR_SUCCESS;
    if (exists)
        RegCloseKey(h);
    RegCloseKey(root);
    return exists;
}

}  // namespace

// Values are asked for one at a time, so that nothing the classification does not need is read.
class OSInfo::Source {
public:
    enum Value { VersionNumber, SubVersionNumber, CurrentVersion, CSDVersion };
    virtual ~Source() = default;
    virtual CStdStr Read(Value value) = 0;
    virtual bool Is64Bit() = 0;
};

class OSInfo::RegistrySource : public OSInfo::Source {
public:
    explicit RegistrySource(const CStdStr& machine) : machine_(machine), registry_(machine) {}

    CStdStr Read(Value value) override
    {
        switch (value) {
        case VersionNumber:
            return registry_.ReadString("HKLM", kNineKey, "VersionNumber");
        case SubVersionNumber:
            return registry_.ReadString("HKLM", kNineKey, "SubVersionNumber");
        case CurrentVersion:
            return registry_.ReadString("HKLM", kNtKey, "CurrentVersion");
        case CSDVersion:
            return registry_.ReadString("HKLM", kNtKey, "CSDVersion");
        }
        return CStdStr();
    }

    bool Is64Bit() override
    {
        return machine_.empty() ? RunsUnderWow64() : RemoteKeyExists(machine_, kWow64Key);
    }

private:
    CStdStr machine_;
    Registry registry_;
};

class OSInfo::TextsSource : public OSInfo::Source {
public:
    explicit TextsSource(const VersionTexts& texts) : texts_(texts) {}

    CStdStr Read(Value value) override
    {
        switch (value) {
        case VersionNumber:
            return texts_.versionNumber;
        case SubVersionNumber:
            return texts_.subVersionNumber;
        case CurrentVersion:
            return texts_.currentVersion;
        case CSDVersion:
            return texts_.csdVersion;
        }
        return CStdStr();
    }

    bool Is64Bit() override { return texts_.is64Bit; }

private:
    const VersionTexts& texts_;
};

OSInfo::OSInfo() { initialize(); }

OSInfo::OSInfo(const CStdStr& machine) : machine_(machine) { initialize(); }

OSInfo::OSInfo(const VersionTexts& texts)
{
    TextsSource source(texts);
    classify(source);
}

void OSInfo::initialize()
{
    if (g_override) {
        TextsSource source(*g_override);
        classify(source);
        return;
    }
    RegistrySource source(machine_);
    classify(source);
}

void OSInfo::classify(Source& source)
{
    code_ = Unknown;
    is64Bit_ = false;
    int major = 0, minor = 0;
    CStdStr nine = source.Read(Source::VersionNumber);
    if (!nine.empty()) {
        SplitVersion(nine, major, minor);
        if (major != 4) {
            DebugLog << "OSInfo::initialize: invalid 9X version (major: " << major << ", minor: " << minor
                     << ")" << '\n';
        } else if (minor >= 90) {
            code_ = WinMe;
        } else if (minor < 10) {
            code_ = Win95;
        } else {
            CStdStr sub = Trim(source.Read(Source::SubVersionNumber));
            code_ = EqualNoCase(sub, "A") ? Win98SE : Win98;
        }
    } else {
        CStdStr nt = source.Read(Source::CurrentVersion);
        if (nt.empty()) {
            DebugLog << "OSInfo::initialize: could not locate version info in the registry!" << '\n';
            return;
        }
        SplitVersion(nt, major, minor);
        if (major == 4) {
            code_ = NT4;
        } else if (major == 5) {
            if (minor == 0)
                code_ = Win2000;
            else if (minor == 1)
                code_ = WinXP;
            else if (minor == 2)
                code_ = Server2003;
        } else if (major == 6) {
            code_ = Vista;
        } else {
            DebugLog << "OSInfo::initialize: invalid NT version (major: " << major << ", minor " << minor
                     << ")" << '\n';
            return;
        }
    }
    if (IsNT5OrLater())
        is64Bit_ = source.Is64Bit();
    // "Service Pack 3, v.3311": the number after the last blank before the first comma.
    CStdStr csd = source.Read(Source::CSDVersion);
    csd = csd.substr(0, csd.find(','));
    size_t blank = csd.find_last_of(' ');
    servicePack_ = int(ParseDecimal(blank == CStdStr::npos ? csd : csd.substr(blank + 1)));
    major_ = major;
    minor_ = minor;
}

OSInfo::VersionTexts OSInfo::TextsOf(Code code, bool is64Bit)
{
    VersionTexts texts;
    texts.is64Bit = is64Bit;
    switch (code) {
    case Win95:
        texts.versionNumber = "4.00.950";
        break;
    case Win98:
        texts.versionNumber = "4.10.1998";
        break;
    case Win98SE:
        texts.versionNumber = "4.10.2222";
        texts.subVersionNumber = " A ";
        break;
    case WinMe:
        texts.versionNumber = "4.90.3000";
        break;
    case NT4:
        texts.currentVersion = "4.0";
        texts.csdVersion = "Service Pack 6";
        break;
    case Win2000:
        texts.currentVersion = "5.0";
        break;
    case WinXP:
        texts.currentVersion = "5.1";
        break;
    case Server2003:
        texts.currentVersion = "5.2";
        break;
    case Vista:
        texts.currentVersion = "6.0";
        break;
    case Unknown:
        break;
    }
    return texts;
}

OSInfo::ScopedOverride::ScopedOverride(const VersionTexts& texts) : texts_(texts), previous_(g_override)
{
    g_override = &texts_;
}

OSInfo::ScopedOverride::~ScopedOverride() { g_override = previous_; }
