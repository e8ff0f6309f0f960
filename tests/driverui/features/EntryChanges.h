// How each entry type is set to values other than its defaults, and how an entry read back from
// the written devmode is compared with the one that was changed: one row per entry type, shared by
// the byte-level and the export tests. Works on an entry's own bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "FeatureBlock.h"

namespace fbtest {

using Entry = std::span<std::uint8_t>;
using ConstEntry = std::span<const std::uint8_t>;

struct TypeRow {
    feature::EntryType type;
    std::function<void(Entry)> change;
    std::function<void(ConstEntry before, ConstEntry after)> expectSame;
};

// Entries whose value the write-back leaves alone: the model flag words (R35), the constant disk
// requirement, and 232 of entry 54, which the chosen quality's flag word overwrites (R37).
inline bool WrittenBack(int id)
{
    return id != 81 && id != 107 && id != 55 && id != 54;
}

inline std::int16_t CurrentOf(ConstEntry e)
{
    return std::int16_t(feature::Get16(e, feature::kCurrent));
}
inline void SetCurrentOf(Entry e, std::int16_t v)
{
    feature::Set16(e, feature::kCurrent, std::uint16_t(v));
}

inline std::int16_t OtherThan(std::int16_t value, std::int16_t minimum, std::int16_t maximum)
{
    if (value < maximum)
        return std::int16_t(value + 1);
    return value != minimum ? minimum : std::int16_t(minimum + 1);
}

// The first value of an entry's list other than the current one (the current one when there is
// none): count items of size bytes from first, ended by kListEnd.
inline std::int16_t OtherOption(ConstEntry e, std::size_t first, std::size_t size, std::size_t count)
{
    const std::int16_t current = CurrentOf(e);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t v = feature::Get16(e, first + i * size);
        if (v == feature::kListEnd)
            break;
        if (std::int16_t(v) != current)
            return std::int16_t(v);
    }
    return current;
}

inline void SameCurrent(ConstEntry a, ConstEntry b)
{
    EXPECT_EQ(CurrentOf(b), CurrentOf(a));
}

inline void SameBytes(ConstEntry a, ConstEntry b, std::size_t from, std::size_t to)
{
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::vector<std::uint8_t>(a.begin() + from, a.begin() + to),
              std::vector<std::uint8_t>(b.begin() + from, b.begin() + to));
}

inline const std::vector<TypeRow>& TypeRows()
{
    using namespace feature;
    static const std::vector<TypeRow> rows = {
        {kValueEntry,
         [](Entry e) {
             SetCurrentOf(e, OtherThan(std::int16_t(Get16(e, kDefault)), std::int16_t(Get16(e, value::kMinimum)),
                                       std::int16_t(Get16(e, value::kMaximum))));
         },
         SameCurrent},
        {kPaperSizeEntry, [](Entry e) { SetCurrentOf(e, CurrentOf(e) == 5 ? 9 : 5); }, SameCurrent},
        {kPaperSourceEntry,
         [](Entry e) {
             SetCurrentOf(e, OtherOption(e, paper_source::kTrays + paper_source::kTrayCode, paper_source::kTraySize,
                                         paper_source::kMaxTrays));
         },
         SameCurrent},
        {kTrueTypeEntry, [](Entry e) { SetCurrentOf(e, CurrentOf(e) == 1 ? 2 : 1); }, SameCurrent},
        {kTextEntry,
         [](Entry e) {
             const bool first = Get16(e, kRecordId) == kFirstPageOverlay.id;
             const std::u16string name = first ? u"First overlay" : u"An overlay named past the field's end";
             for (std::size_t i = 0; i < name.size() && i < text::kTextChars; ++i)
                 Set16(e, text::kCurrentText + 2 * i, name[i]);
             Set8(e, text::kPlacement, 1);
         },
         [](ConstEntry a, ConstEntry b) {
             // At most 31 characters and a zero reach the devmode.
             for (std::size_t i = 0; i + 1 < text::kTextChars; ++i)
                 EXPECT_EQ(Get16(b, text::kCurrentText + 2 * i), Get16(a, text::kCurrentText + 2 * i)) << i;
             EXPECT_EQ(Get16(b, text::kCurrentText + 2 * (text::kTextChars - 1)), 0);
             EXPECT_EQ(Get8(b, text::kPlacement), 1);
         }},
        {kResolutionEntry,
         [](Entry e) {
             // The first choice with another resolution or flag than the current one.
             const auto triple = [&](std::size_t i) {
                 const std::size_t at = resolution::kTriples + i * resolution::kTripleSize;
                 return std::pair(Get16(e, at), Get16(e, at + resolution::kFlag));
             };
             const auto current = triple(std::size_t(CurrentOf(e)) % resolution::kTripleCount);
             for (std::size_t i = 0; i < resolution::kTripleCount; ++i)
                 if (triple(i).first != 0 && triple(i) != current) {
                     SetCurrentOf(e, std::int16_t(i));
                     return;
                 }
         },
         SameCurrent},
        {kListEntry, [](Entry e) { SetCurrentOf(e, OtherOption(e, list::kOptions, list::kOptionSize, list::kMaxOptions)); },
         SameCurrent},
        {kPrintModeEntry,
         [](Entry e) { SetCurrentOf(e, OtherOption(e, print_mode::kModes, print_mode::kModeSize, print_mode::kMaxModes)); },
         SameCurrent},
        {kPaperTypeEntry,
         [](Entry e) {
             for (std::size_t g = 0; g < paper_type::kGroupCount; ++g) {
                 const std::size_t at = paper_type::kGroups + g * paper_type::kGroupSize;
                 if (Get16(e, at + paper_type::kSource) == 0)
                     break;
                 Set16(e, at + paper_type::kChosen, Get16(e, at + paper_type::kTypes + paper_type::kTypeSize));
             }
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, 0, EntrySize(kPaperTypeEntry)); }},
        {kFontSourceEntry,
         [](Entry e) {
             Set32(e, font_source::kMask, Get32(e, font_source::kMask) ^ 0x2);
             Set32(e, font_source::kSecond, Get32(e, font_source::kSecond) ^ 0x10);
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, font_source::kMask, EntrySize(kFontSourceEntry)); }},
        {kWatermarkEntry,
         [](Entry e) {
             Set16(e, watermark::kFirstPage, 3);
             Set16(e, watermark::kOtherPages, 4);
             Set32(e, watermark::kSwitch, 1);
             Set32(e, watermark::kPlacement, Get32(e, watermark::kPlacement) ^ 1);
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, watermark::kFirstPage, EntrySize(kWatermarkEntry)); }},
        {kShortListEntry,
         [](Entry e) { SetCurrentOf(e, OtherOption(e, short_list::kPairs, short_list::kPairSize, short_list::kMaxPairs)); },
         SameCurrent},
        {kNumberEntry, [](Entry e) { Set32(e, number::kValue, 40000); },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, number::kValue, number::kValue + 4); }},
        {kHoldEntry,
         [](Entry e) {
             SetCurrentOf(e, 3);
             Set8(e, hold::kOption, 1);
             std::memcpy(e.data() + hold::kUserName, "Holder", 7);
             std::memcpy(e.data() + hold::kPin, "1234", 5);
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, kCurrent, hold::kTypeWord); }},
        {kIdentityEntry,
         [](Entry e) {
             for (std::size_t i = 0; i < 5; ++i)
                 Set32(e, identity::kCurrentIdentity + 4 * i, std::uint32_t(9 + i));
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, identity::kCurrentIdentity, identity::kDefaultIdentity); }},
        {kAccountEntry,
         [](Entry e) {
             SetCurrentOf(e, 1);
             std::memcpy(e.data() + account::kRecord, "4711", 5);
         },
         [](ConstEntry a, ConstEntry b) { SameBytes(a, b, kCurrent, EntrySize(kAccountEntry) - 1); }},
    };
    return rows;
}

}  // namespace fbtest
