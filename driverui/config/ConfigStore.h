// Driver configuration data as a printer value: the Win32 edge of the configuration engine, through
// the serialised spooler wrappers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

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
