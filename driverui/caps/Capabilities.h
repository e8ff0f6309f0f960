// The device-capability answers that follow from a devmode and the model's resources alone. No
// platform headers; DeviceCapabilities.h answers the platform's call with them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ModelLayout.h"

namespace caps {

// Capability indexes the driver answers.
enum : std::uint16_t {
    kCapFields = 1,
    kCapPapers = 2,
    kCapPaperSize = 3,
    kCapMinExtent = 4,
    kCapMaxExtent = 5,
    kCapBins = 6,
    kCapDuplex = 7,
    kCapSize = 8,
    kCapExtra = 9,
    kCapVersion = 10,
    kCapDriver = 11,
    kCapBinNames = 12,
    kCapEnumResolutions = 13,
    kCapFileDependencies = 14,
    kCapTrueType = 15,
    kCapPaperNames = 16,
    kCapOrientation = 17,
    kCapCopies = 18,
    kCapBinAdjust = 19,
};

inline constexpr std::uint32_t kCapVersionAnswer = 0x0401;
inline constexpr std::uint32_t kTrueTypeAnswer = 11;    // bitmap, download and substitution
inline constexpr std::uint32_t kOrientationAnswer = 90;
inline constexpr std::uint32_t kCopiesAnswer = 9999;
inline constexpr std::size_t kMaxBins = 12;
inline constexpr std::size_t kBinNameChars = 24;
inline constexpr std::size_t kPaperNameChars = 64;
inline constexpr std::uint32_t kCapFailed = 0xFFFFFFFFu;

// The trays of the list whose mask shares a bit with the installed-tray mask (devmode 462), in
// the list's order, at most kMaxBins.
std::vector<model::TrayEntry> InstalledTrays(const model::TrayList& trays, std::int16_t installedMask);

// The print quality first, then every other resolution of the devmode's list once.
std::vector<std::int32_t> EnumResolutions(std::span<const std::uint8_t> devmode);

// 1 when the model has a duplex unit (flag byte 397, bit 3 or 4) or finishing flags (459).
std::uint32_t DuplexAnswer(std::span<const std::uint8_t> devmode);
// 1 when the tray is the envelope feeder (dmDefaultSource 14) and the model flag byte 397 lacks
// bit 1; else 2.
std::uint32_t BinAdjustAnswer(std::span<const std::uint8_t> devmode);

// A user-paper extent as the platform wants it: width in the low word, length in the high word,
// tenths of a millimetre; 0 without limits.
std::uint32_t ExtentAnswer(const std::optional<model::PaperLimits>& limits, bool maximum);

}  // namespace caps
