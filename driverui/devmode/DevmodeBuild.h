// The devmode builders on this library's model data: the driver defaults, a caller's devmode
// merged over a base. The Win32 edge around the byte-level builders. The printer's current
// devmode, which also applies the driver configuration, is built a layer above
// (current/CurrentDevmode.h).
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "DevmodeLayout.h"

namespace devmode {

// The printer values the current devmode is kept in.
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

// The caller's devmode (only the bytes it declares, inside the span) merged over the base, by
// the base's model. False, with the base unchanged, when the input has no usable header.
bool MergeOver(Buffer& base, std::span<const std::uint8_t> input);

}  // namespace devmode
