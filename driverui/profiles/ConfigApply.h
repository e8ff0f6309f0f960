// Driver configuration data applied to and built from devmodes, and the installed configuration:
// the data an installer hands over through the registry (or that printer values name), applied
// to the driver defaults of a printer once and kept as the printer's installed document defaults.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "DevmodeLayout.h"

namespace profiles {

// Results of the build and of the exports.
inline constexpr DWORD kResultOk = 0;
inline constexpr DWORD kResultBadRecord = 1;  // also: not applicable
inline constexpr DWORD kResultNoMemory = 2;
inline constexpr DWORD kResultFailed = 3;     // not copied out, not applied, refused
inline constexpr DWORD kResultNoLibrary = 11;
inline constexpr DWORD kResultNoDevmode = 14;
inline constexpr DWORD kResultNothingBuilt = 24;

// Operation masks: every entry, and the document defaults only.
inline constexpr std::uint32_t kOpEverything = 0x3FF;
inline constexpr std::uint32_t kOpDocDefaults = 1;

inline constexpr char kHandOffKeyPrefix[] = "SOFTWARE\\Qelbrin\\DrvCfg\\";
inline constexpr char kHandOffConfigFile[] = "DCDConfigFile";
inline constexpr char kHandOffShortDesc[] = "DCDShortDesc";
inline constexpr char kHandOffRemoteInstall[] = "DCDRemoteConfigInstall";

inline constexpr wchar_t kConfigFileValue[] = L"DCDConfigFile";
inline constexpr wchar_t kShortDescValue[] = L"DCDShortDesc";
inline constexpr wchar_t kPwFlagValue[] = L"PWConfigFlag";
inline constexpr wchar_t kPwNameValue[] = L"PWConfigName";
inline constexpr wchar_t kPwFileValue[] = L"PWConfigFile";
inline constexpr wchar_t kCurrentDefaultConfigValue[] = L"CurrentDefaultCONFIG";
inline constexpr wchar_t kInstalledDocDefaultsValue[] = L"DCD_InstalledDocDefaults";
inline constexpr wchar_t kPrinterConfigValue[] = L"PrinterConfig";

// Reads the data into the devmode (of at least 1256 bytes) with the entries of opMask, by the
// devmode's model; mode is the configuration engine's run mode. On success the devmode's
// configuration kind and identifier are cleared for the caller to set; on failure the devmode is
// unchanged.
bool ApplyData(std::span<std::uint8_t> devmode, std::span<const std::uint8_t> data, std::uint32_t opMask,
               HANDLE printer, DWORD mode);

// The configuration data of the devmode with the entries of opMask; empty when nothing was built.
std::vector<std::uint8_t> BuildData(std::span<const std::uint8_t> devmode, std::uint32_t opMask,
                                    HANDLE printer);
// The same into a new global-memory block: kResultOk with the handle and size, kResultFailed when
// the block could not be made, kResultNothingBuilt when nothing was built.
DWORD BuildDataGlobal(std::span<const std::uint8_t> devmode, std::uint32_t opMask, HANDLE printer,
                      HGLOBAL& data, DWORD& size);

// The marks of the installed configuration in a devmode: kind 4, identifier (2, 0, 0, 0).
void SetInstalledIdentity(std::span<std::uint8_t> devmode);

// Applies the installed configuration to a devmode of driver defaults (with the printer name at
// 271): the registry hand-off for that printer name, else the configuration that the printer
// values "PWConfig..." name. When one applied, the devmode is marked as the installed
// configuration and the printer gets "CurrentDefaultCONFIG" and "DCD_InstalledDocDefaults". The
// hand-off key is deleted after its texts have been copied into the printer values. True when a
// configuration applied.
bool ApplyInstalledConfiguration(devmode::Buffer& devmode, HANDLE printer);

}  // namespace profiles
