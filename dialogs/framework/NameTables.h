// Display names the model data refers to by name index: the string IDs of the language library
// that several pages and the summary window share. No platform headers.
#pragma once

#include <array>
#include <cstdint>

#include "ResourceIds.h"

namespace pages {

// Quality choices (the resolution entry's triples): draft, normal, enhanced, fine.
inline constexpr std::array<std::uint16_t, 6> kQualityNames = {
    0, IDS_QUALITY_DRAFT, IDS_QUALITY_NORMAL, IDS_QUALITY_ENHANCED, IDS_QUALITY_FINE, 0};
// Paper types, by name index 0 to 26 (0 where an index has no name).
inline constexpr std::array<std::uint16_t, 27> kPaperTypeNames = {
    IDS_PRINTER_DEFAULT, 6143, 6144, 6145, 6146, 6147, 6148, 6149, 6150, 6151, 6152, 6153, 6154, 6155,
    6156, 6157, 6158, 6159, 0, IDS_TYPE_ENVELOPE, 0, 0, IDS_TYPE_LIGHT, IDS_TYPE_HEAVY, IDS_TYPE_GLOSSY,
    IDS_TYPE_HEAVY_GLOSSY, IDS_TYPE_TOUGH};
static_assert(kPaperTypeNames[1] == IDS_TYPE_PLAIN && kPaperTypeNames[17] == IDS_TYPE_USER_6);

// The name's string ID, 0 for an index outside the table.
template <std::size_t N>
constexpr std::uint16_t NameOf(const std::array<std::uint16_t, N>& table, int index)
{
    return index >= 0 && std::size_t(index) < N ? table[std::size_t(index)] : 0;
}

}  // namespace pages
