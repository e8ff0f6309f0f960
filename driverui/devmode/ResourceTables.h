// The model resources that the devmode builders read, as the builders need them. Resources are
// driver data, but a short or damaged one must not be read past its end: every reader takes the
// resource's bytes and answers nothing for what they do not hold. No platform headers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "Merge.h"

namespace devmode {

// Custom resource types of the model data.
inline constexpr std::uint16_t kTrayListType = 259;
inline constexpr std::uint16_t kModelDescriptionType = 260;
inline constexpr std::uint16_t kResolutionListType = 261;
inline constexpr std::uint16_t kType262 = 262;
inline constexpr std::uint16_t kType263 = 263;
inline constexpr std::uint16_t kType264 = 264;
inline constexpr std::uint16_t kFontSetListType = 276;
inline constexpr std::uint16_t kType277 = 277;
inline constexpr std::uint16_t kType278 = 278;
inline constexpr std::uint16_t kPaperLimitType = 279;
inline constexpr std::uint16_t kType284 = 284;

inline constexpr std::uint16_t kModelStringBase = 10000;
inline constexpr std::uint16_t kModelDescriptionBase = 10500;
inline constexpr std::size_t kModelDescriptionSize = 82;

// The driver's resources by type and integer name; empty when absent.
class ModelResources {
public:
    virtual ~ModelResources() = default;
    virtual std::span<const std::uint8_t> Resource(std::uint16_t type, std::uint16_t name) const = 0;
    // The resource a model word selects: name = word + 1.
    std::span<const std::uint8_t> Selected(std::uint16_t type, std::uint16_t word) const
    {
        return word == 0xFFFF ? std::span<const std::uint8_t>() : Resource(type, word + 1);
    }
};

// The little-endian 16-bit word n of a resource; nothing beyond its end.
std::optional<std::uint16_t> ResourceWord(std::span<const std::uint8_t> r, std::size_t n);
std::optional<std::uint8_t> ResourceByte(std::span<const std::uint8_t> r, std::size_t n);

// Tray list (type 259): count, default index, then 24-byte entries.
std::vector<TrayEntry> TrayList(std::span<const std::uint8_t> r);
std::optional<std::int16_t> DefaultTrayCode(std::span<const std::uint8_t> r);

// Resolution list (type 261): default index, then five 8-byte entries.
struct ResolutionEntry {
    std::int16_t dpi = 0;
    std::uint16_t word = 0;
    std::uint8_t flag = 0;
};
struct ResolutionList {
    std::uint16_t defaultIndex = 0;
    std::array<std::optional<ResolutionEntry>, 5> entries;
    const ResolutionEntry* Default() const
    {
        return defaultIndex < entries.size() && entries[defaultIndex] ? &*entries[defaultIndex]
                                                                       : nullptr;
    }
};
std::optional<ResolutionList> ReadResolutionList(std::span<const std::uint8_t> r);

// User-paper limits (type 279): maximum width, minimum width, maximum length, minimum length.
std::optional<PaperLimits> ReadPaperLimits(std::span<const std::uint8_t> r);

// Font-set list (type 276): per entry a code page and a font-set number, with the font set's two
// masks. The OR of the masks of the entries whose code page passes the test.
struct FontSetMasks {
    std::uint32_t mask1 = 0;
    std::uint32_t mask2 = 0;
};
std::optional<FontSetMasks> SupportedFontSets(std::span<const std::uint8_t> r,
                                              const std::function<bool(std::uint16_t)>& supported);

}  // namespace devmode
