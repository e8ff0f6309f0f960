#include "ResourceTables.h"

#include <algorithm>

namespace devmode {
namespace {

constexpr std::size_t kTrayHeader = 4;
constexpr std::size_t kTrayEntrySize = 24;
constexpr std::size_t kResolutionHeader = 2;
constexpr std::size_t kResolutionEntrySize = 8;
constexpr std::size_t kFontSetHeader = 2;
constexpr std::size_t kFontSetEntrySize = 12;

std::optional<std::uint32_t> ResourceLong(std::span<const std::uint8_t> r, std::size_t at)
{
    if (at > r.size() || r.size() - at < 4)
        return std::nullopt;
    return std::uint32_t(r[at]) | std::uint32_t(r[at + 1]) << 8 | std::uint32_t(r[at + 2]) << 16 |
           std::uint32_t(r[at + 3]) << 24;
}

// The entries a counted list holds within its bytes.
std::size_t EntriesHeld(std::span<const std::uint8_t> r, std::size_t header, std::size_t entrySize,
                        std::size_t count)
{
    if (r.size() < header)
        return 0;
    return std::min(count, (r.size() - header) / entrySize);
}

}  // namespace

std::optional<std::uint16_t> ResourceWord(std::span<const std::uint8_t> r, std::size_t n)
{
    if (n >= r.size() / 2)
        return std::nullopt;
    return std::uint16_t(r[2 * n] | r[2 * n + 1] << 8);
}

std::optional<std::uint8_t> ResourceByte(std::span<const std::uint8_t> r, std::size_t n)
{
    if (n >= r.size())
        return std::nullopt;
    return r[n];
}

std::vector<TrayEntry> TrayList(std::span<const std::uint8_t> r)
{
    std::vector<TrayEntry> trays;
    const std::size_t n = EntriesHeld(r, kTrayHeader, kTrayEntrySize, ResourceWord(r, 0).value_or(0));
    for (std::size_t i = 0; i < n; ++i) {
        const auto entry = r.subspan(kTrayHeader + i * kTrayEntrySize, kTrayEntrySize);
        trays.push_back(
            {*ResourceWord(entry, 2), std::int16_t(*ResourceWord(entry, 3)), *ResourceWord(entry, 4)});
    }
    return trays;
}

std::optional<std::int16_t> DefaultTrayCode(std::span<const std::uint8_t> r)
{
    const auto index = ResourceWord(r, 1);
    const std::vector<TrayEntry> trays = TrayList(r);
    if (!index || *index >= trays.size())
        return std::nullopt;
    return trays[*index].code;
}

std::optional<ResolutionList> ReadResolutionList(std::span<const std::uint8_t> r)
{
    const auto index = ResourceWord(r, 0);
    if (!index)
        return std::nullopt;
    ResolutionList list;
    list.defaultIndex = *index;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const std::size_t at = kResolutionHeader + i * kResolutionEntrySize;
        if (r.size() < at + kResolutionEntrySize)
            break;
        const auto entry = r.subspan(at, kResolutionEntrySize);
        list.entries[i] = ResolutionEntry{std::int16_t(*ResourceWord(entry, 0)),
                                          *ResourceWord(entry, 1), entry[4]};
    }
    return list;
}

std::optional<PaperLimits> ReadPaperLimits(std::span<const std::uint8_t> r)
{
    const auto maxWidth = ResourceWord(r, 0), minWidth = ResourceWord(r, 1),
               maxLength = ResourceWord(r, 2), minLength = ResourceWord(r, 3);
    if (!minLength)
        return std::nullopt;
    return PaperLimits{*maxWidth, *minWidth, *maxLength, *minLength};
}

std::optional<FontSetMasks> SupportedFontSets(std::span<const std::uint8_t> r,
                                              const std::function<bool(std::uint16_t)>& supported)
{
    const auto count = ResourceWord(r, 0);
    if (!count)
        return std::nullopt;
    FontSetMasks masks;
    const std::size_t n = EntriesHeld(r, kFontSetHeader, kFontSetEntrySize, *count);
    for (std::size_t i = 0; i < n; ++i) {
        const auto entry = r.subspan(kFontSetHeader + i * kFontSetEntrySize, kFontSetEntrySize);
        if (!supported(*ResourceWord(entry, 0)))
            continue;
        masks.mask1 |= *ResourceLong(entry, 4);
        masks.mask2 |= *ResourceLong(entry, 8);
    }
    return masks;
}

}  // namespace devmode
