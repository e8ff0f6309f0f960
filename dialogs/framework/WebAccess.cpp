#include "WebAccess.h"

#include <algorithm>

#include "SpoolLock.h"

namespace pages {
namespace {

constexpr DWORD kManufacturerBytes = 24;
constexpr DWORD kConfigurationFileBytes = 512;
constexpr DWORD kIsSupportedBytes = 4;
constexpr DWORD kWebSupportChars = 4;

// A wide registry text of at most `bytes` bytes. The value may be stored without its terminator
// or with an odd length, so the text ends where the bytes read end, whatever they hold.
bool ReadText(HKEY key, const wchar_t* name, DWORD bytes, std::wstring& text)
{
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    buffer.resize(std::min<DWORD>(size, bytes) / sizeof(wchar_t));
    text.assign(buffer.c_str());
    return true;
}

}  // namespace

std::wstring PrinterManufacturer(HANDLE printer)
{
    wchar_t name[kManufacturerBytes / sizeof(wchar_t) + 1] = {};
    DWORD type = 0, needed = 0;
    if (!printer || LockedGetPrinterDataW(printer, const_cast<LPWSTR>(L"Manufacturer"), &type,
                                          reinterpret_cast<BYTE*>(name), kManufacturerBytes, &needed) != ERROR_SUCCESS)
        return kOtherManufacturers;
    // The spooler gives back what was stored: a text without its terminator fills the buffer.
    name[std::min<DWORD>(needed, kManufacturerBytes) / sizeof(wchar_t)] = L'\0';
    return name;
}

std::wstring WebAccessKeyOf(const std::wstring& manufacturer)
{
    return kWebAccessKey + (manufacturer.empty() ? std::wstring(L"Qelbrin") : manufacturer);
}

std::optional<std::wstring> WebConfigurationFile(const std::wstring& manufacturer)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WebAccessKeyOf(manufacturer).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring file;
    const bool read = ReadText(key, L"ConfigurationFile", kConfigurationFileBytes, file);
    RegCloseKey(key);
    return read ? std::optional<std::wstring>(file) : std::nullopt;
}

bool WebAccessAllowed(const std::wstring& manufacturer)
{
    const std::wstring path = WebAccessKeyOf(manufacturer);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    std::wstring file, supported;
    const bool read = ReadText(key, L"ConfigurationFile", kConfigurationFileBytes, file) &&
                      ReadText(key, L"IsSupported", kIsSupportedBytes, supported);
    RegCloseKey(key);
    if (!read || supported != L"1")
        return false;
    wchar_t web[kWebSupportChars] = {};
    GetPrivateProfileStringW(L"CONFIGURE", L"WEB_SUPPORT", L"", web, kWebSupportChars, file.c_str());
    return std::wstring_view(web) != L"0";
}

}  // namespace pages
