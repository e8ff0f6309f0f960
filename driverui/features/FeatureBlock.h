// The feature entry block of a property sheet: read from the model's feature layout, built from
// the working and default devmodes and the model's resources, indexed by identifier, written
// back into a devmode, and refreshed after a page changed a constrained entry. Byte level, no
// platform headers: the layout and the block come from replaceable resources and from the pages,
// so every read and write is bounded by the bytes given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "FeatureBindings.h"
#include "ModelLayout.h"
#include "ResourceTables.h"

namespace feature {

// The items of a feature layout (resource type 283, at most 1252 bytes are read). The count is
// bounded by the items the bytes hold; nothing when the count is negative or an item names an
// identifier outside 1 to 125 (or the header's 65), an entry type outside 1 to 17, or a type
// other than its identifier's binding (type 13, no entry, always passes).
std::optional<std::vector<model::FeatureItem>> ReadLayout(std::span<const std::uint8_t> bytes);

// 1540 + the items' entry sizes + 14.
std::size_t BlockSize(std::span<const model::FeatureItem> items);

struct BuildSource {
    std::span<const std::uint8_t> working;   // the sheet's devmode (1256 bytes)
    std::span<const std::uint8_t> defaults;  // its defaults (1256 bytes)
    const devmode::ModelResources* resources = nullptr;
    // The logged-on user, for a print-and-hold entry whose devmode name is empty.
    std::string_view userName;
    // Stored in the header: the sheet context's address.
    std::uintptr_t context = 0;
};

// Writes the whole block into out (zero-filled first), which must hold BlockSize(items) bytes;
// false, with out untouched, when it does not. Building again into the same block reloads every
// entry from the devmodes at the same place.
bool BuildBlock(std::span<std::uint8_t> out, std::span<const model::FeatureItem> items, const BuildSource& source);

// The offset of each identifier's record (the header's at 65); kNoRecord where there is none.
// The walk follows the records' sizes and stops at a size of 0, a size below 4 or a record that
// passes the end; a later record of the same identifier replaces an earlier one.
inline constexpr std::uint32_t kNoRecord = 0xFFFFFFFFu;
using RecordIndex = std::array<std::uint32_t, kSlots>;
RecordIndex IndexBlock(std::span<const std::uint8_t> block);

// Stores every entry's current values into the devmode (a full one), by each identifier's
// binding; an entry whose size is not its binding's is left out. The resolution entry (50) is
// applied after the others, so its flag word wins at 232 over entry 54.
void WriteBack(std::span<const std::uint8_t> block, std::span<std::uint8_t> devmode,
               const devmode::ModelResources& resources);

// What the refresh procedure asks of the model: the model flag words 392 and 394.
struct RefreshModel {
    std::uint16_t fontFlags = 0;
    std::uint16_t optionFlags = 0;
};

// The refresh procedure: for every entry with its changed flag set, clears the flag and applies
// the identifier's rule; when any change asked for a refresh, clears the current configuration's
// identity in entry 94. True when a refresh was asked for.
bool Refresh(std::span<std::uint8_t> block, const RefreshModel& model);

// The resolution entry's words 10 and 12 from the pages-per-sheet value (feature 47) and the
// graphics mode (feature 13): word 10 is the chosen triple's flag word, 0 while several pages
// share a sheet or custom forms are off (mode 2); word 12 says whether word 10 is non-zero.
void RecomputeResolution(std::span<std::uint8_t> entry, std::int16_t pagesPerSheet, std::int16_t graphicsMode);

// ---- Bounded byte access -------------------------------------------------------------------
// Reads outside the bytes give 0 and writes outside them do nothing.

inline std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 2 <= b.size() ? std::uint16_t(b[at] | b[at + 1] << 8) : 0;
}
inline std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 4 <= b.size()
               ? std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
                     std::uint32_t(b[at + 3]) << 24
               : 0;
}
inline void Set16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v)
{
    if (at + 2 <= b.size()) {
        b[at] = std::uint8_t(v);
        b[at + 1] = std::uint8_t(v >> 8);
    }
}
inline void Set32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v)
{
    if (at + 4 <= b.size())
        for (int i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(v >> (8 * i));
}
inline void Set8(std::span<std::uint8_t> b, std::size_t at, std::uint8_t v)
{
    if (at < b.size())
        b[at] = v;
}
inline std::uint8_t Get8(std::span<const std::uint8_t> b, std::size_t at)
{
    return at < b.size() ? b[at] : 0;
}

// The record at an offset of the index, bounded by its own size; empty for kNoRecord.
std::span<std::uint8_t> RecordAt(std::span<std::uint8_t> block, std::uint32_t offset);
std::span<const std::uint8_t> RecordAt(std::span<const std::uint8_t> block, std::uint32_t offset);

}  // namespace feature
