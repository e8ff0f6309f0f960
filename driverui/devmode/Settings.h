// Groups of devmode values that the builders and the merge treat as one: the user's settings
// (compared to tell whether a stored driver configuration still describes a devmode) and the
// values that follow the installed hardware rather than the user. Byte level, full devmodes.
#pragma once

#include <span>

#include "DevmodeLayout.h"

namespace devmode {

// Whether two devmodes carry the same settings: the public print settings, the private feature
// values, the font and account values, and the texts (without case).
bool SettingsEqual(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// Copies from a fresh default devmode the values that describe the printer's hardware (installed
// trays, finishing, resolution choice and the like); the account byte too when the model keeps it
// with the hardware (flag word 394, bit 2).
void CopyHardwareValues(std::span<std::uint8_t> to, std::span<const std::uint8_t> fresh);

// The driver-configuration identity (kind and identifier) is set.
bool HasConfigIdentity(std::span<const std::uint8_t> d);
void ClearConfigIdentity(std::span<std::uint8_t> d);
void CopyConfigIdentity(std::span<std::uint8_t> to, std::span<const std::uint8_t> from);

}  // namespace devmode
