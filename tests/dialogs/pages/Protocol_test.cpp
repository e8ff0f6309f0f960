// The page protocol's own rules, without a sheet: the apply count that commits once per sheet,
// the entries' bounded views (defaults, change comparison) and the help rule of the display words.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "EntryView.h"
#include "PageSlots.h"

namespace {

using pages::EntryView;

// An entry of the given size and identifier with a current and a default value.
std::vector<std::uint8_t> MakeEntry(std::uint16_t size, std::int16_t id, std::int16_t current, std::int16_t def)
{
    std::vector<std::uint8_t> e(size, 0);
    std::memcpy(e.data(), &size, 2);
    std::memcpy(e.data() + 2, &id, 2);
    if (size >= 10) {
        std::memcpy(e.data() + feature::kCurrent, &current, 2);
        std::memcpy(e.data() + feature::kDefault, &def, 2);
    }
    return e;
}

TEST(ApplyCount, TheLastPageOfTheSheetCommitsAndTheCountStartsAgain)
{
    for (std::uint16_t pages : {1, 3, 10}) {
        SCOPED_TRACE(pages);
        std::uint16_t applied = 0;
        for (int round = 0; round < 2; ++round) {
            for (std::uint16_t page = 1; page < pages; ++page)
                EXPECT_FALSE(pages::CountApply(pages, applied)) << "page " << page;
            EXPECT_TRUE(pages::CountApply(pages, applied)) << "the last page";
            EXPECT_EQ(applied, 0);
        }
    }
}

TEST(ApplyCount, ACountPastThePagesStillCommits)
{
    std::uint16_t applied = 7;
    EXPECT_TRUE(pages::CountApply(3, applied));
    EXPECT_EQ(applied, 0);
    applied = 0;
    EXPECT_TRUE(pages::CountApply(0, applied)) << "no page counted";
}

TEST(EntryView, AccessStaysInsideTheEntry)
{
    auto e = MakeEntry(14, 3, 5, 1);
    EntryView v(e.data());
    EXPECT_EQ(v.Current(), 5);
    EXPECT_EQ(v.Get<std::uint32_t>(12), 0u) << "past the end reads 0";
    EXPECT_FALSE(v.Set<std::uint32_t>(12, 7));
    EXPECT_FALSE(v.Set<std::uint16_t>(13, 7));
    EXPECT_TRUE(v.Set<std::uint16_t>(12, 7));
    EXPECT_EQ(v.Maximum(), 7);

    EntryView missing;
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.Current(), 0);
    missing.SetCurrent(3);
    missing.MarkChanged();

    auto truncated = MakeEntry(4, 3, 0, 0);
    EXPECT_EQ(EntryView(truncated.data()).Current(), 0) << "a record without values";
}

TEST(EntryView, DefaultsByEntryType)
{
    struct Case {
        feature::Binding binding;
        std::size_t current, def, bytes;
    };
    namespace f = feature;
    const Case cases[] = {
        {f::kCopies, f::kCurrent, f::kDefault, 2},
        {f::kPaperSize, f::kCurrent, f::kDefault, 2},
        {f::kFirstPageOverlay, f::text::kCurrentText, f::text::kDefaultText, 64},
        {f::kFirstPageOverlay, f::text::kPlacement, f::text::kDefaultPlacement, 1},
        {f::kFontSources, f::font_source::kMask, f::font_source::kMaskDefault, 4},
        {f::kWatermarks, f::watermark::kOtherPages, f::watermark::kOtherPagesDefault, 2},
        {f::kWatermarks, f::watermark::kPlacement, f::watermark::kPlacementDefault, 4},
        {f::kNumber1084, f::number::kValue, f::number::kDefault, 4},
        {f::kConfigIdentity, f::identity::kCurrentIdentity, f::identity::kDefaultIdentity, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "feature " << c.binding.id << " at " << c.current);
        auto e = MakeEntry(f::EntrySize(c.binding.type), c.binding.id, 0, 0);
        std::memset(e.data() + c.current, 0x11, c.bytes);
        std::memset(e.data() + c.def, 0x22, c.bytes);
        EntryView v(e.data());
        EXPECT_TRUE(v.RestoreDefault());
        EXPECT_EQ(std::vector<std::uint8_t>(e.begin() + long(c.current), e.begin() + long(c.current + c.bytes)),
                  std::vector<std::uint8_t>(c.bytes, 0x22));
    }
    auto types = MakeEntry(f::EntrySize(f::kPaperTypeEntry), f::kPaperTypes.id, 0, 0);
    EXPECT_FALSE(EntryView(types.data()).RestoreDefault()) << "paper types have no default in the entry";
}

TEST(EntryView, ValuesCompareWithoutTheFlagBytes)
{
    auto current = MakeEntry(14, 3, 2, 1);
    auto saved = current;
    EntryView v(current.data()), s(saved.data());
    v.MarkChanged();
    current[feature::kConstrained] = 1;
    EXPECT_TRUE(v.SameValue(s)) << "flags are not values";
    v.SetCurrent(3);
    EXPECT_FALSE(v.SameValue(s));
    EXPECT_TRUE(EntryView().SameValue(EntryView()));
    EXPECT_FALSE(v.SameValue(EntryView()));
}

TEST(PageSlots, HelpButtonsByDisplayWord)
{
    struct Case {
        bool document;
        WORD display;
        bool help;
    };
    const Case cases[] = {{true, 1, true},  {true, 2, false}, {true, 3, true},   {true, 7, true},
                          {false, 1, true}, {false, 2, false}, {false, 3, false}};
    for (const Case& c : cases)
        EXPECT_EQ(pages::PageHasHelp(c.document, c.display), c.help)
            << (c.document ? "document" : "device") << " word " << c.display;
}

}  // namespace
