#include "ResourceTables.h"

namespace devmode {

std::optional<FontSetMasks> SupportedFontSets(std::span<const std::uint8_t> fontSetList,
                                              const std::function<bool(std::uint16_t)>& supported)
{
    const auto list = model::ParseFontSetList(fontSetList);
    if (!list)
        return std::nullopt;
    FontSetMasks masks;
    for (const model::FontSetEntry& e : list->entries)
        if (supported(e.codePage)) {
            masks.firstMask |= e.firstMask;
            masks.secondMask |= e.secondMask;
        }
    return masks;
}

}  // namespace devmode
