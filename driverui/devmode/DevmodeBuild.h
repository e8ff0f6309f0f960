// The devmode builders on this library's model data and the printer's stored values: the
// driver defaults, the printer's current devmode, a caller's devmode merged over a base. The
// Win32 edge around the byte-level builders; printer values go through the serialised spooler
// wrappers.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "DevmodeLayout.h"

namespace devmode {

inline constexpr wchar_t kCurrentDevmodeValue[] = L"CurrentDevmode";
inline constexpr wchar_t kCurrentDefaultDevmodeValue[] = L"CurrentDefaultDevMode";

// The three names the default builder keeps: the driver name as the narrow model name and the
// wide device name, and the narrow printer name without its server part.
void PutNames(std::span<std::uint8_t> d, const wchar_t* driverName, const wchar_t* printerName);

// The default builder for the model named by the devmode's narrow model name; name is the name
// the caller builds for (the software-enable default depends on it). The checksum is updated.
void BuildDriverDefaults(std::span<std::uint8_t> d, std::string_view name);

// The driver defaults for a printer: the names from its level-2 information, the default
// builder for the printer's name. False when the information cannot be read.
bool BuildPrinterDefaults(HANDLE printer, Buffer& out);

// A fresh default devmode for a printer of the driver, with the installed configuration and the
// printer's driver configuration data applied: what the hardware-following values are taken
// from. Whether any configuration applied.
bool BuildFreshDefaults(HANDLE printer, const wchar_t* driverName, const wchar_t* printerName, Buffer& fresh);

// The caller's devmode (only the bytes it declares, inside the span) merged over the base, by
// the base's model. False, with the base unchanged, when the input has no usable header.
bool MergeOver(Buffer& base, std::span<const std::uint8_t> input);

// The devmode the printer uses now, from its stored "CurrentDevmode" when that is a valid
// devmode of this driver, else rebuilt from the defaults, its driver configuration data and the
// spooler's devmode, and stored. A null driver name takes the printer's. False when the printer's
// information cannot be read.
bool BuildCurrentDevmode(HANDLE printer, Buffer& out, const wchar_t* driverName);

}  // namespace devmode
