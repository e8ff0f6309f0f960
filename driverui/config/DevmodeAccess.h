// The devmode as the configuration engine sees it: a byte buffer addressed by offset, read and
// written through width codes. Only the fields the engine's own logic touches are named here; the
// per-feature bytes are named by the configuration table, which is their map. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace dm {

inline constexpr std::size_t kPublicSize = 220;
inline constexpr std::size_t kPrivateSize = 1036;
inline constexpr std::size_t kSize = 1256;
static_assert(kPublicSize + kPrivateSize == kSize);

// Width codes of the configuration table: 1 u8, -1 i8, 2 u16, -2 i16, 4 and -4 32-bit; any other
// code is one unsigned byte.
struct Field {
    std::uint16_t offset;
    std::int16_t width;
};

inline constexpr Field kOrientation{76, -2};
inline constexpr Field kPaperSize{78, -2};
inline constexpr Field kPaperLength{80, -2};  // tenths of a millimetre
inline constexpr Field kPaperWidth{82, -2};
inline constexpr Field kCopies{86, -2};
inline constexpr Field kDefaultSource{88, -2};
inline constexpr Field kPrintQuality{90, -2};
inline constexpr Field kColor{92, -2};
inline constexpr Field kDuplex{94, -2};
inline constexpr Field kTTOption{98, -2};
inline constexpr Field kCollate{100, -2};
inline constexpr Field kIcmMethod{188, 4};
inline constexpr Field kIcmIntent{192, 4};
inline constexpr Field kMediaType{196, 4};
inline constexpr Field kDitherType{200, 4};
static_assert(kDitherType.offset + 4 <= kPublicSize);
inline constexpr std::int16_t kUserDefinedPaper = 256;

inline constexpr Field kResolutionChoice{434, 2};
inline constexpr std::size_t kResolutionList = 436;  // five u16 in dots per inch
inline constexpr std::size_t kResolutionCount = 5;
inline constexpr Field kDefaultResolution{446, 2};
static_assert(kResolutionList + 2 * kResolutionCount == kDefaultResolution.offset);
inline constexpr Field kOptionListWord362{362, 2};
inline constexpr Field kModelFlags394{394, 2};
inline constexpr std::uint16_t kModelFlag394Bit2 = 0x0004;
inline constexpr Field kModelFlags400{400, 2};
inline constexpr Field kSoftwareEnable{652, 1};
inline constexpr Field kSecondPaperSize{1096, -2};
inline constexpr std::size_t kModelName = 239;  // 32 narrow characters
inline constexpr std::size_t kModelNameSize = 32;
static_assert(kSecondPaperSize.offset + 2 <= kSize);

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
