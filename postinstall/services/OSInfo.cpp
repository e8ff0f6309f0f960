#include "OSInfo.h"

#include <windows.h>

#include "../engine/DebugLog.h"
#include "Registry.h"

namespace {

void SplitVersion(const CStdStr& text, int& major, int& minor)
{
    size_t dot = text.find('.');
    major = int(ParseDecimal(text.substr(0, dot)));
    minor = dot == CStdStr::npos ? 0 : int(ParseDecimal(text.substr(dot + 1)));
}

bool RunsUnderWow64()
{
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto fn = reinterpret_cast<IsWow64Fn>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"));
    BOOL wow = FALSE;
    return fn && fn(GetCurrentProcess(), &wow) && wow;
}

}  // namespace

void OSInfo::initialize()
{
    Registry reg;
    code_ = Unknown;
    int major = 0, minor = 0;
    CStdStr nine = reg.ReadString("HKLM", "Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber");
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
            CStdStr sub = Trim(reg.ReadString("HKLM", "Software\\Microsoft\\Windows\\CurrentVersion",
                                              "SubVersionNumber"));
            code_ = EqualNoCase(sub, "A") ? Win98SE : Win98;
        }
        major_ = major;
        minor_ = minor;
        return;
    }
    const char* ntKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    CStdStr nt = reg.ReadString("HKLM", ntKey, "CurrentVersion");
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
        DebugLog << "OSInfo::initialize: invalid NT version (major: " << major << ", minor " << minor << ")"
                 << '\n';
        return;
    }
    if (code_ != NT4 && code_ != Unknown)
        is64Bit_ = RunsUnderWow64();
    CStdStr csd = reg.ReadString("HKLM", ntKey, "CSDVersion");
    csd = csd.substr(0, csd.find(','));
    size_t blank = csd.find_last_of(' ');
    servicePack_ = int(ParseDecimal(blank == CStdStr::npos ? csd : csd.substr(blank + 1)));
    major_ = major;
    minor_ = minor;
}
