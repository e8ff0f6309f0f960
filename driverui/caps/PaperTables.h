// The driver's built-in paper data: every paper size it knows (physical size and display-name
// string), the paper sets that the model descriptions select (word 354), and the paper-format
// rows that give a set's own margins. Lengths are in 1/1200 inch. No platform headers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace caps {

// The printable area of a paper in one orientation and class: its size and its origin (the
// margin at the left and top).
struct Quad {
    std::uint16_t width = 0;
    std::uint16_t length = 0;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    bool operator==(const Quad&) const = default;
};
// Four of them, by quadruple index: 2 for the flagged class, plus 1 for landscape.
using Quads = std::array<Quad, 4>;
inline constexpr std::size_t QuadIndex(bool landscape, bool flagged)
{
    return (flagged ? 2 : 0) + (landscape ? 1 : 0);
}

// A built-in paper: its dmPaperSize code, portrait size and the logical string of its name.
struct PaperInfo {
    std::int16_t code;
    std::uint16_t width;
    std::uint16_t length;
    std::uint16_t logicalName;
};
// Nothing for a code that is no built-in paper (forms among them).
const PaperInfo* FindPaperInfo(std::int32_t code);
std::span<const PaperInfo> BuiltInPapers();

// The printable areas the driver gives a paper of this size when its paper set has no rows: a
// margin of 1/6 inch, 1/12 inch in the flagged class, and printable sizes cut down to a multiple
// of 4.
Quads DefaultQuads(std::uint16_t width, std::uint16_t length);

// The logical string of a paper bit's name; 6104 for a bit outside the table.
std::uint16_t LogicalNameOfBit(std::uint32_t bit);

// ---- Paper sets: one 316-byte record per paper-set index.
struct PaperSetEntry {
    std::uint32_t bit;
    std::array<std::uint16_t, 4> rows;  // paper-format rows by quadruple index; 0: none
};
inline constexpr std::size_t kMaxSetEntries = 26;
struct PaperSetRecord {
    std::uint16_t count;
    std::uint16_t reserved;
    std::array<PaperSetEntry, kMaxSetEntries> entries;
};
static_assert(sizeof(PaperSetEntry) == 12);
static_assert(sizeof(PaperSetRecord) == 316);

// The set of a paper-set index; nothing for an index past the table.
const PaperSetRecord* FindPaperSet(std::uint16_t index);
// The OR of the set's paper bits; 0 for an unknown index.
std::uint32_t PaperSetMask(std::uint16_t index);
const PaperSetEntry* FindSetEntry(std::uint16_t index, std::uint32_t bit);

// ---- Paper-format rows: 26 bytes each, numbered from 1.
struct PaperFormatRow {
    std::int16_t code;
    std::uint16_t orientation;  // 1 portrait, 2 landscape
    std::uint16_t flagged;      // 0 or 1: the class of the quadruple
    std::uint16_t width;        // physical size in that orientation; 0 for the user-defined size
    std::uint16_t length;
    std::uint16_t originX;      // the margins of the set's engine
    std::uint16_t originY;
    std::array<std::uint16_t, 6> reserved;
};
static_assert(sizeof(PaperFormatRow) == 26);
const PaperFormatRow* FindRow(std::uint16_t number);

}  // namespace caps
