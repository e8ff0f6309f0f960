// The devmode as the configuration engine sees it: a byte buffer addressed by offset, read and
// written through width codes. Only the fields the engine's own logic touches are named here, each
// from the devmode's one layout (DevmodeLayout.h); the per-feature bytes are named by the
// configuration table, which is their map. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

#include "DevmodeLayout.h"

namespace dm {

inline constexpr std::size_t kPublicSize = devmode::kPublicSize;
inline constexpr std::size_t kPrivateSize = devmode::kPrivateSize;
inline constexpr std::size_t kSize = devmode::kSize;

// Width codes of the configuration table: 1 u8, -1 i8, 2 u16, -2 i16, 4 and -4 32-bit; any other
// code is one unsigned byte.
struct Field {
    std::uint16_t offset;
    std::int16_t width;
};

// A field of the devmode's layout (DevmodeLayout.h) with the width code of its type.
template <class T>
constexpr Field Of(devmode::Field<T> f)
{
    return {f.offset, std::int16_t(std::is_signed_v<T> ? -int(sizeof(T)) : int(sizeof(T)))};
}

inline constexpr Field kOrientation = Of(devmode::dmOrientation);
inline constexpr Field kPaperSize = Of(devmode::dmPaperSize);
inline constexpr Field kPaperLength = Of(devmode::dmPaperLength);  // tenths of a millimetre
inline constexpr Field kPaperWidth = Of(devmode::dmPaperWidth);
inline constexpr Field kCopies = Of(devmode::dmCopies);
inline constexpr Field kDefaultSource = Of(devmode::dmDefaultSource);
inline constexpr Field kPrintQuality = Of(devmode::dmPrintQuality);
inline constexpr Field kColor = Of(devmode::dmColor);
inline constexpr Field kDuplex = Of(devmode::dmDuplex);
inline constexpr Field kTTOption = Of(devmode::dmTTOption);
inline constexpr Field kCollate = Of(devmode::dmCollate);
inline constexpr Field kIcmMethod = Of(devmode::dmICMMethod);
inline constexpr Field kIcmIntent = Of(devmode::dmICMIntent);
inline constexpr Field kMediaType = Of(devmode::dmMediaType);
inline constexpr Field kDitherType = Of(devmode::dmDitherType);
inline constexpr std::int16_t kUserDefinedPaper = 256;

inline constexpr Field kInstalledMemory = Of(devmode::kInstalledMemory);
inline constexpr std::size_t kResolutionList = devmode::kResolutionList.offset;  // five u16 in dots per inch
inline constexpr std::size_t kResolutionCount = devmode::kResolutionCount;
inline constexpr Field kDefaultResolution = Of(devmode::kDefaultResolution);
inline constexpr Field kGraphicsG1ListNumber = Of(devmode::kGraphicsG1ListNumber);
inline constexpr Field kOptionFlags = Of(devmode::kOptionFlags);
// With it the entries of both document operations take part as the second (see CfgEngine.h).
inline constexpr std::uint16_t kOptionFlagsSecondOperation = 0x0004;
inline constexpr Field kColourFlags = Of(devmode::kColourFlags);
inline constexpr Field kSoftwareEnable = Of(devmode::kSoftwareEnable);
inline constexpr Field kSecondPaperSize = Of(devmode::kSecondPaperSize);
inline constexpr std::size_t kModelName = devmode::kModelName.offset;  // 32 narrow characters
inline constexpr std::size_t kModelNameSize = devmode::kModelName.size;
static_assert(kOrientation.width == -2 && kIcmMethod.width == 4 && kSoftwareEnable.width == 1);

// Bytes a width code covers: 1, 2 or 4.
std::size_t WidthBytes(std::int16_t width);
// Whether a value can be stored in a field of this width without being cut.
bool FitsWidth(std::int64_t value, std::int16_t width);
// The field's value, sign-extended for the signed codes and for both 32-bit codes; nothing when
// the field does not lie wholly inside the buffer.
std::optional<std::int64_t> ReadDevmodeValue(std::span<const std::uint8_t> devmode,
                                             std::size_t offset, std::int16_t width);
// False, with the buffer untouched, when the field does not lie inside it or the value does not
// fit the width.
bool WriteDevmodeValue(std::span<std::uint8_t> devmode, std::size_t offset, std::int16_t width,
                       std::int64_t value);

inline std::optional<std::int64_t> Read(std::span<const std::uint8_t> devmode, Field f)
{
    return ReadDevmodeValue(devmode, f.offset, f.width);
}
inline bool Write(std::span<std::uint8_t> devmode, Field f, std::int64_t value)
{
    return WriteDevmodeValue(devmode, f.offset, f.width, value);
}

}  // namespace dm
