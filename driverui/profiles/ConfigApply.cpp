#include "ConfigApply.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "BuildNotice.h"
#include "ConfigStore.h"
#include "DialogStrings.h"
#include "Library.h"
#include "ModelResources.h"
#include "ProfileLibrary.h"
#include "Settings.h"
#include "SpoolLock.h"

namespace profiles {
namespace {

using devmode::Get;
using devmode::Set;

constexpr std::uint16_t kPwFailedString = 1;
constexpr std::uint16_t kRetryCaptionString = 2;
constexpr std::uint16_t kRetryTextFirstString = 3;
constexpr std::size_t kRetryTextLimit = 4096;
constexpr std::size_t kPwNameChars = 256;
constexpr DWORD kPrinterConfigSize = 32;
constexpr DWORD kPrinterConfigMark = 1;

struct HandOff {
    bool found = false;   // the key exists
    bool texts = false;   // it holds both texts
    std::string configFile;
    std::string shortDesc;
    DWORD remoteInstall = 0;
};

std::optional<std::string> RegistryText(HKEY key, const char* name)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::string text(size, '\0');
    if (size > 0 &&
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::min<std::size_t>(size, text.size()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

HandOff ReadHandOff(const std::string& keyPath)
{
    HandOff h;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return h;
    h.found = true;
    const std::optional<std::string> file = RegistryText(key, kHandOffConfigFile);
    const std::optional<std::string> desc = RegistryText(key, kHandOffShortDesc);
    if (file && desc) {
        h.texts = true;
        h.configFile = *file;
        h.shortDesc = *desc;
        DWORD type = 0, value = 0, size = sizeof value;
        if (RegQueryValueExA(key, kHandOffRemoteInstall, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD)
            h.remoteInstall = value;
    }
    RegCloseKey(key);
    return h;
}

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool SetPrinterText(HANDLE printer, const wchar_t* name, const std::string& text)
{
    std::wstring wide = Widen(text);
    return QelSetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_SZ, reinterpret_cast<BYTE*>(wide.data()),
                              DWORD((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// A text printer value (stored wide), cut at its first NUL and to maxChars.
std::optional<std::string> PrinterText(HANDLE printer, const wchar_t* name, std::size_t maxChars)
{
    const std::optional<std::vector<std::uint8_t>> bytes = ReadPrinterBytes(printer, name);
    if (!bytes)
        return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    if (text.size() > maxChars)
        text.resize(maxChars);
    return Narrow(text);
}

// A file of the system directory, else of the Windows directory; nothing when neither has it.
std::optional<std::string> FindSystemFile(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    char dir[MAX_PATH];
    for (const auto directory : {GetSystemDirectoryA, GetWindowsDirectoryA}) {
        const UINT n = directory(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            continue;
        const std::string path = std::string(dir) + "\\" + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return path;
    }
    return std::nullopt;
}

// Asks the profile library for a configuration file's data and applies it with every entry.
// Missing is reported apart: the library's own warning has been shown then.
CallStatus ApplyConfigFile(devmode::Buffer& d, HANDLE printer, const std::string& caption,
                           const std::string& file, const std::string& shortDesc, DWORD remoteInstall)
{
    GetDcdRequest request{};
    request.configFile = file.c_str();
    request.shortDesc = shortDesc.c_str();
    request.remoteInstall = remoteInstall;
    const DataReply reply = ProfileLibrary().GetDcd(caption, request);
    if (reply.status != CallStatus::Done)
        return reply.status;
    return ApplyData(d, reply.data, kOpEverything, printer, 0) ? CallStatus::Done : CallStatus::Refused;
}

// The hand-off: retried while an interactive user asks for it. Where no box can be shown there is
// nobody to ask, and the failure stands.
bool ApplyHandOff(devmode::Buffer& d, HANDLE printer, const std::string& printerName, const HandOff& h)
{
    for (;;) {
        const CallStatus status = ApplyConfigFile(d, printer, printerName, h.configFile, h.shortDesc, h.remoteInstall);
        if (status == CallStatus::Done)
            return true;
        if (status == CallStatus::Missing)
            return false;
        std::string format = DialogStringRun(kRetryTextFirstString, kRetryTextLimit);
        if (format.empty())
            format = "%s";
        const std::string caption = DialogString(kRetryCaptionString).value_or(printerName);
        if (notices::NoticeBox(caption, FormatTexts(format, {printerName}), MB_RETRYCANCEL | MB_ICONEXCLAMATION) !=
            IDRETRY)
            return false;
    }
}

bool ApplyNamedConfiguration(devmode::Buffer& d, HANDLE printer, const std::string& printerName)
{
    const std::optional<std::vector<std::uint8_t>> flag = ReadPrinterBytes(printer, kPwFlagValue);
    if (!flag)
        return false;
    const std::string name = PrinterText(printer, kPwNameValue, kPwNameChars).value_or("");
    const std::string fileName = PrinterText(printer, kPwFileValue, MAX_PATH).value_or("");
    CallStatus status = CallStatus::Refused;
    if (const std::optional<std::string> path = FindSystemFile(fileName))
        status = ApplyConfigFile(d, printer, printerName, *path, name, 0);
    if (status == CallStatus::Done)
        return true;
    if (status == CallStatus::Refused) {
        std::string format = DialogString(kPwFailedString).value_or("");
        if (format.empty())
            format = "%s %s";
        notices::NoticeBox(printerName, FormatTexts(format, {fileName, name}), MB_OK | MB_ICONWARNING);
    }
    return false;
}

// The printer configuration words that go with the installed configuration: the printer's
// "PrinterConfig" when it holds a configuration block.
void StoreInstalledPrinterConfig(HANDLE printer)
{
    std::optional<std::vector<std::uint8_t>> config = ReadPrinterBytes(printer, kPrinterConfigValue);
    if (!config || config->size() != kPrinterConfigSize || Get(*config, devmode::U32{0}) != kPrinterConfigMark)
        return;
    QelSetPrinterDataW(printer, const_cast<LPWSTR>(kCurrentDefaultConfigValue), REG_BINARY, config->data(),
                       kPrinterConfigSize);
}

}  // namespace

bool ApplyData(std::span<std::uint8_t> d, std::span<const std::uint8_t> data, std::uint32_t opMask,
               HANDLE printer, DWORD mode)
{
    if (d.size() < devmode::kSize || data.empty())
        return false;
    model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), d);
    if (!ApplyConfigData(printer, data, d, mode, opMask, &env))
        return false;
    devmode::ClearConfigIdentity(d);
    return true;
}

std::vector<std::uint8_t> BuildData(std::span<const std::uint8_t> d, std::uint32_t opMask, HANDLE printer)
{
    if (d.size() < devmode::kSize)
        return {};
    model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), d);
    return BuildConfigData(d.first(devmode::kSize), &env, opMask);
}

DWORD BuildDataGlobal(std::span<const std::uint8_t> d, std::uint32_t opMask, HANDLE printer, HGLOBAL& data,
                      DWORD& size)
{
    data = nullptr;
    size = 0;
    const std::vector<std::uint8_t> built = BuildData(d, opMask, printer);
    if (built.empty())
        return kResultNothingBuilt;
    const HGLOBAL block = GlobalAlloc(GHND, built.size());
    void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        return kResultFailed;
    }
    std::memcpy(bytes, built.data(), built.size());
    GlobalUnlock(block);
    data = block;
    size = DWORD(built.size());
    return kResultOk;
}

void SetInstalledIdentity(std::span<std::uint8_t> d)
{
    Set(d, devmode::kConfigKind, kKindBuiltIn);
    const auto id = devmode::MutableSlice(d, devmode::kConfigId);
    std::fill(id.begin(), id.end(), 0);
    Set(d, devmode::U32{devmode::kConfigId.offset}, kInstalledDefaults);
}

bool ApplyInstalledConfiguration(devmode::Buffer& d, HANDLE printer)
{
    if (!printer)
        return false;
    const std::string printerName(devmode::GetText(d, devmode::kPrinterName));
    const std::string keyPath = kHandOffKeyPrefix + printerName;

    // Without a name the path would be the parent of every printer's key.
    const HandOff h = printerName.empty() ? HandOff{} : ReadHandOff(keyPath);
    bool copied = true;
    if (h.texts)
        copied = SetPrinterText(printer, kConfigFileValue, h.configFile) &&
                 SetPrinterText(printer, kShortDescValue, h.shortDesc);

    bool applied = h.texts && ApplyHandOff(d, printer, printerName, h);
    if (!applied)
        applied = ApplyNamedConfiguration(d, printer, printerName);

    if (applied) {
        SetInstalledIdentity(d);
        devmode::UpdateChecksum(d);
        StoreInstalledPrinterConfig(printer);
        std::vector<std::uint8_t> defaults = BuildData(d, kOpDocDefaults, printer);
        if (!defaults.empty())
            QelSetPrinterDataW(printer, const_cast<LPWSTR>(kInstalledDocDefaultsValue), REG_BINARY,
                               defaults.data(), DWORD(defaults.size()));
    }
    // The hand-off happens once; only texts that did not reach the printer keep it for next time.
    if (h.found && copied)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    return applied;
}

}  // namespace profiles
