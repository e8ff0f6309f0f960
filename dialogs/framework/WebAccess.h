// Whether the printer's maker offers the Web page: a registry key per manufacturer names a
// configuration file and says whether web access is supported at all.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pages {

// The manufacturer used when the printer has no readable "Manufacturer" data.
inline constexpr wchar_t kOtherManufacturers[] = L"Other OEMs";
inline constexpr wchar_t kWebAccessKey[] = L"SOFTWARE\\Qelbrin\\Web_Access\\";

// The printer's "Manufacturer" data (at most 12 characters), else kOtherManufacturers.
std::wstring PrinterManufacturer(HANDLE printer);
// The key of the manufacturer (or of "Qelbrin" for an empty name) has "IsSupported" = "1", and
// its "ConfigurationFile" does not say WEB_SUPPORT=0 in section CONFIGURE.
bool WebAccessAllowed(const std::wstring& manufacturer);
// The key's path of the manufacturer (of "Qelbrin" for an empty name).
std::wstring WebAccessKeyOf(const std::wstring& manufacturer);
// The manufacturer key's "ConfigurationFile"; nullopt when the key or the value cannot be read.
std::optional<std::wstring> WebConfigurationFile(const std::wstring& manufacturer);

}  // namespace pages
