// Driver configuration data as a printer value: the Win32 edge of the configuration engine, through
// the serialised spooler wrappers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "CfgEngine.h"

inline constexpr wchar_t kDefDrvCfgDataValue[] = L"DefDrvCfgData";
inline constexpr wchar_t kSWEnableValue[] = L"SWEnable";

// Builds the devmode's configuration data and, when anything was written, stores it as the named
// printer value (binary). False when nothing was written (nothing is stored then) or the spooler
// refused, with its error as the last error.
bool StoreConfigData(HANDLE printer, const wchar_t* valueName, std::span<const std::uint8_t> devmode,
                     ConfigEnvironment* env = nullptr);

// Reads the named printer value into the devmode; finishing the read also stores "SWEnable"
// (see StoresSoftwareEnable). False when the value is missing, cannot be read in full, or holds
// nothing that converts; the devmode is changed only on success.
bool LoadConfigData(HANDLE printer, const wchar_t* valueName, std::span<std::uint8_t> devmode,
                    DWORD mode, ConfigEnvironment* env = nullptr);

// Reads configuration data held in memory into the devmode, with the entries that take part in
// opMask, finishing the read as LoadConfigData does. False, with the devmode unchanged, when
// nothing converts.
bool ApplyConfigData(HANDLE printer, std::span<const std::uint8_t> data, std::span<std::uint8_t> devmode,
                     DWORD mode, std::uint32_t opMask, ConfigEnvironment* env = nullptr);

// A binary printer value, read with the size query; nothing when it is missing, empty, or changed
// between the two calls.
std::optional<std::vector<std::uint8_t>> ReadPrinterBytes(HANDLE printer, const wchar_t* valueName);
