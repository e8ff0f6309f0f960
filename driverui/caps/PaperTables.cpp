#include "PaperTables.h"

#include <algorithm>

#include "Merge.h"

namespace caps {
namespace {

constexpr std::uint16_t Inch(double inches)
{
    return std::uint16_t(inches * 1200 + 0.5);
}
constexpr std::uint16_t Mm(int mm)
{
    return std::uint16_t((mm * 12000 + 127) / 254);
}

// Logical strings by paper bit.
struct BitName {
    std::uint32_t bit;
    std::uint16_t logical;
};
constexpr BitName kBitNames[] = {
    {0x1, 1000},       {0x2, 1001},       {0x4, 1002},       {0x8, 1003},       {0x10, 1004},
    {0x20, 1005},      {0x40, 1006},      {0x80, 1007},      {0x100, 1008},     {0x200, 1009},
    {0x400, 1010},     {0x800, 1011},     {0x1000, 1012},    {0x2000, 1013},    {0x4000, 1015},
    {0x8000, 1014},    {0x10000, 1017},   {0x20000, 1018},   {0x40000, 1016},   {0x80000, 1019},
    {0x100000, 1020},  {0x200000, 1021},  {0x400000, 1022},  {0x800000, 1023},  {0x1000000, 1024},
    {0x80000000, 6104},
};
constexpr std::uint16_t kUnknownPaperName = 6104;

constexpr std::uint16_t NameOfBit(std::uint32_t bit)
{
    for (const BitName& b : kBitNames)
        if (b.bit == bit)
            return b.logical;
    return kUnknownPaperName;
}

// The papers, with the paper bit of each code as the merge knows it.
struct PaperSize {
    std::int16_t code;
    std::uint16_t width;
    std::uint16_t length;
};
constexpr PaperSize kSizes[] = {
    {1, Inch(8.5), Inch(11)},       // Letter
    {3, Inch(11), Inch(17)},        // Tabloid
    {5, Inch(8.5), Inch(14)},       // Legal
    {6, Inch(5.5), Inch(8.5)},      // Statement
    {7, Inch(7.25), Inch(10.5)},    // Executive
    {8, Mm(297), Mm(420)},          // A3
    {9, Mm(210), Mm(297)},          // A4
    {11, Mm(148), Mm(210)},         // A5
    {12, Mm(257), Mm(364)},         // B4 (JIS)
    {13, Mm(182), Mm(257)},         // B5 (JIS)
    {14, Inch(8.5), Inch(13)},      // Folio
    {19, Inch(3.875), Inch(8.875)}, // Envelope #9
    {20, Inch(4.125), Inch(9.5)},   // Envelope #10
    {27, Mm(110), Mm(220)},         // Envelope DL
    {28, Mm(162), Mm(229)},         // Envelope C5
    {34, Mm(176), Mm(250)},         // Envelope B5
    {37, Inch(3.875), Inch(7.5)},   // Envelope Monarch
    {256, 0, 0},                    // user-defined: the size comes with the devmode
    {257, Mm(197), Mm(273)},        // 16K
    {258, Mm(100), Mm(148)},        // Postcard
    {259, Mm(148), Mm(200)},        // Double postcard
    {260, Mm(114), Mm(162)},        // Envelope C6
    {261, Mm(125), Mm(176)},        // Envelope B6
    {262, Inch(8.5), Inch(13.5)},   // Oficio
};

constexpr std::array<PaperInfo, std::size(kSizes)> MakePaperInfo()
{
    std::array<PaperInfo, std::size(kSizes)> out{};
    for (std::size_t i = 0; i < std::size(kSizes); ++i)
        out[i] = {kSizes[i].code, kSizes[i].width, kSizes[i].length, 0};
    return out;
}

// The logical names follow from the bits, which live with the merge's code table.
std::array<PaperInfo, std::size(kSizes)> PaperInfoTable()
{
    auto table = MakePaperInfo();
    for (PaperInfo& p : table)
        p.logicalName = NameOfBit(devmode::PaperBit(p.code));
    return table;
}

const std::array<PaperInfo, std::size(kSizes)>& Papers()
{
    static const auto table = PaperInfoTable();
    return table;
}

// ---- Paper sets by the codes they hold.

// Desktop: letter-width papers and envelopes, the user-defined size, no forms.
constexpr std::int16_t kDesktopSet[] = {1,  5,  7,   9,   11,  13,  37, 19, 20,
                                        27, 28, 34, 6, 14, 256, 257, 258, 262};
// Workgroup: the desktop's papers, three more driver papers and the forms.
constexpr std::int16_t kWorkgroupSet[] = {1,  5,  7,  9,   11,  13,  37,  19,  20,  27,  28,  34,
                                          6,  14, 256, 257, 258, 259, 260, 261, 262, 512};
// Colour: fewer envelopes, the forms; margins of its own (rows).
constexpr std::int16_t kColourSet[] = {1,  5, 7,  9,   11,  13,  37,  20, 27,
                                       28, 6, 14, 256, 257, 258, 262, 512};

constexpr std::uint16_t kColourMargin = 240;        // 1/5 inch
constexpr std::uint16_t kColourFlaggedMargin = 160;
constexpr std::uint16_t kMargin = 200;              // 1/6 inch
constexpr std::uint16_t kFlaggedMargin = 100;

constexpr const PaperSize* SizeOf(std::int16_t code)
{
    for (const PaperSize& s : kSizes)
        if (s.code == code)
            return &s;
    return nullptr;
}

// The codes' bits are the merge's: a set and the merge never disagree on a code.
template <std::size_t N>
PaperSetRecord MakeSet(const std::int16_t (&codes)[N], std::uint16_t firstRow)
{
    static_assert(N <= kMaxSetEntries);
    PaperSetRecord set{};
    set.count = std::uint16_t(N);
    std::uint16_t next = firstRow;
    for (std::size_t i = 0; i < N; ++i) {
        set.entries[i].bit = devmode::PaperBit(codes[i]);
        if (firstRow == 0 || codes[i] >= 512)
            continue;
        for (std::uint16_t& row : set.entries[i].rows)
            row = next++;
    }
    return set;
}

// The colour set's rows, four per paper in the set's order (forms have none).
constexpr std::size_t kColourRows = 4 * (std::size(kColourSet) - 1);
constexpr std::array<PaperFormatRow, kColourRows> MakeColourRows()
{
    std::array<PaperFormatRow, kColourRows> rows{};
    std::size_t n = 0;
    for (std::int16_t code : kColourSet) {
        if (code >= 512)
            continue;
        const PaperSize* size = SizeOf(code);
        for (std::uint16_t q = 0; q < 4; ++q) {
            const bool landscape = q & 1;
            const std::uint16_t margin = q & 2 ? kColourFlaggedMargin : kColourMargin;
            PaperFormatRow& r = rows[n++];
            r.code = code;
            r.orientation = landscape ? 2 : 1;
            r.flagged = q >> 1;
            r.width = size ? (landscape ? size->length : size->width) : 0;
            r.length = size ? (landscape ? size->width : size->length) : 0;
            r.originX = margin;
            r.originY = margin;
        }
    }
    return rows;
}

constexpr auto kRows = MakeColourRows();

const std::array<PaperSetRecord, 3>& Sets()
{
    static const std::array<PaperSetRecord, 3> sets{
        MakeSet(kDesktopSet, 0),
        MakeSet(kWorkgroupSet, 0),
        MakeSet(kColourSet, 1),
    };
    return sets;
}

constexpr std::uint16_t Printable(std::uint16_t size, std::uint16_t margin)
{
    return size > 2 * margin ? std::uint16_t((size - 2 * margin) & ~3u) : 0;
}

}  // namespace

const PaperInfo* FindPaperInfo(std::int32_t code)
{
    for (const PaperInfo& p : Papers())
        if (p.code == code)
            return &p;
    return nullptr;
}

std::span<const PaperInfo> BuiltInPapers()
{
    return Papers();
}

Quads DefaultQuads(std::uint16_t width, std::uint16_t length)
{
    Quads quads{};
    for (std::size_t q = 0; q < quads.size(); ++q) {
        const bool landscape = q & 1;
        const std::uint16_t margin = q & 2 ? kFlaggedMargin : kMargin;
        const std::uint16_t w = landscape ? length : width;
        const std::uint16_t l = landscape ? width : length;
        quads[q] = {Printable(w, margin), Printable(l, margin), margin, margin};
    }
    return quads;
}

std::uint16_t LogicalNameOfBit(std::uint32_t bit)
{
    return NameOfBit(bit);
}

const PaperSetRecord* FindPaperSet(std::uint16_t index)
{
    return index < Sets().size() ? &Sets()[index] : nullptr;
}

std::uint32_t PaperSetMask(std::uint16_t index)
{
    const PaperSetRecord* set = FindPaperSet(index);
    if (!set)
        return 0;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < set->count && i < kMaxSetEntries; ++i)
        mask |= set->entries[i].bit;
    return mask;
}

const PaperSetEntry* FindSetEntry(std::uint16_t index, std::uint32_t bit)
{
    const PaperSetRecord* set = FindPaperSet(index);
    if (!set || bit == 0)
        return nullptr;
    for (std::size_t i = 0; i < set->count && i < kMaxSetEntries; ++i)
        if (set->entries[i].bit == bit)
            return &set->entries[i];
    return nullptr;
}

const PaperFormatRow* FindRow(std::uint16_t number)
{
    return number >= 1 && number <= kRows.size() ? &kRows[number - 1] : nullptr;
}

}  // namespace caps
