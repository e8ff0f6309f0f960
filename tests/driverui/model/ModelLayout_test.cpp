// The resource layouts at byte level: fields where the format puts them, and counts that never
// lead a parser past the end of a resource.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "ModelLayout.h"

using namespace model;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Words(std::initializer_list<int> words)
{
    Bytes b;
    for (int w : words) {
        b.push_back(std::uint8_t(w));
        b.push_back(std::uint8_t(unsigned(w) >> 8));
    }
    return b;
}

TEST(ModelLayout, TrayEntryFieldsSitAtTheirWords)
{
    // Count 1, default 0, then one entry whose word n holds 0x100 + n; byte 20 is 0x77.
    Bytes b = Words({1, 0});
    for (int n = 0; n < 12; ++n)
        b.insert(b.end(), {std::uint8_t(n), 0x01});
    b[4 + 20] = 0x77;
    const auto list = ParseTrayList(b);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->entries.size(), 1u);
    const TrayEntry& t = list->entries[0];
    EXPECT_EQ(t.mask, 0x102);
    EXPECT_EQ(t.code, 0x103);
    EXPECT_EQ(t.number, 0x104);
    EXPECT_EQ(t.mediaList, 0x109);
    EXPECT_EQ(t.trayByte, 0x77);
}

TEST(ModelLayout, DescriptionWordsSitAtTheirDevmodeOffsets)
{
    // Each word holds its own devmode offset.
    Bytes devmode(1256, 0);
    for (std::size_t off = kDevmodeDescription; off < kDevmodeDescription + kDescriptionSize; off += 2) {
        devmode[off] = std::uint8_t(off);
        devmode[off + 1] = std::uint8_t(off >> 8);
    }
    const auto d = DescriptionInDevmode(devmode);
    ASSERT_TRUE(d);
    const struct {
        std::uint16_t ModelDescription::*field;
        std::uint16_t offset;
    } cases[] = {
        {&ModelDescription::memoryMinimum, 340}, {&ModelDescription::memoryMaximum, 342},
        {&ModelDescription::webModelWord, 350},      {&ModelDescription::paperSet, 354},
        {&ModelDescription::trayList, 356},         {&ModelDescription::resolutionList, 358},
        {&ModelDescription::graphicsModeList, 360},         {&ModelDescription::graphicsG1List, 362},
        {&ModelDescription::printModeList, 364},    {&ModelDescription::fontSetList, 380},
        {&ModelDescription::inputOptions, 382},     {&ModelDescription::outputOptions, 384},
        {&ModelDescription::paperLimits, 386},      {&ModelDescription::colourOptionList, 390},
        {&ModelDescription::fontFlags, 392},         {&ModelDescription::optionFlags, 394},
        {&ModelDescription::paperHandlingFlags, 396},         {&ModelDescription::finishingFlags, 398},
        {&ModelDescription::colourFlags, 400},         {&ModelDescription::toolkitOption1, 402},
        {&ModelDescription::toolkitOption2, 404},        {&ModelDescription::family, 408},
        {&ModelDescription::pageTemplateSet, 410},  {&ModelDescription::featureLayout, 414},
        {&ModelDescription::dialogSelector, 416},   {&ModelDescription::configCapabilities1, 420},
    };
    for (const auto& c : cases)
        EXPECT_EQ((*d).*c.field, c.offset);
    EXPECT_FALSE(DescriptionInDevmode(Bytes(421, 0)));
}

TEST(ModelLayout, ResolutionEntriesAreEightBytesWithTheFlagAtByteFour)
{
    Bytes b = Words({3});
    for (int i = 0; i < 5; ++i) {
        const Bytes e = Words({300 * (i + 1), i + 10, 0x0100 | i, 0});
        b.insert(b.end(), e.begin(), e.end());
    }
    const auto list = ParseResolutionList(b);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->defaultIndex, 3);
    EXPECT_EQ(list->entries[4].dpi, 1500);
    EXPECT_EQ(list->entries[4].nameIndex, 14);
    EXPECT_EQ(list->entries[4].flag, 4);
    ASSERT_TRUE(DefaultResolution(*list));
    EXPECT_EQ(DefaultResolution(*list)->dpi, 1200);

    b.pop_back();
    EXPECT_FALSE(ParseResolutionList(b)) << "41 bytes hold no whole list";
    Bytes outOfRange = Words({5});
    outOfRange.resize(42);
    ASSERT_TRUE(ParseResolutionList(outOfRange));
    EXPECT_FALSE(DefaultResolution(*ParseResolutionList(outOfRange)));
}

TEST(ModelLayout, CountsAreCheckedAgainstTheResourceSize)
{
    const Bytes media = Words({2, 1, 60, 105, 0, 501, 106, 163, 0});
    const Bytes layout = Words({1, 50, 6, 0, 0, 1});
    struct Case {
        const char* what;
        Bytes bytes;
        bool parses;
    };
    const Bytes mediaTrailing = [&] { Bytes b = media; b.push_back(0xAB); return b; }();
    const Case cases[] = {
        {"exact fit", media, true},
        {"trailing bytes ignored", mediaTrailing, true},
        {"one entry short", Bytes(media.begin(), media.end() - 1), false},
        {"count past the end", Words({3, 1, 60, 105, 0, 501, 106, 163, 0}), false},
        {"count above the type's limit", [] { Bytes b = Words({int(kMaxMedia) + 1}); b.resize(2 + 8 * (kMaxMedia + 1)); return b; }(), false},
        {"count at the type's limit", [] { Bytes b = Words({int(kMaxMedia)}); b.resize(2 + 8 * kMaxMedia); return b; }(), true},
        {"negative count", [] { Bytes b = Words({-1}); b.resize(64); return b; }(), false},
        {"no header", Bytes{2}, false},
        {"empty", Bytes{}, false},
        {"zero entries", Words({0}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseMediaList(c.bytes).has_value(), c.parses) << c.what;

    ASSERT_TRUE(ParseFeatureLayout(layout));
    const FeatureItem item = ParseFeatureLayout(layout)->entries.at(0);
    EXPECT_EQ(item.feature, 50);
    EXPECT_EQ(item.type, 6);
    EXPECT_EQ(item.constrained, 1);
    // 0xFFFF is -1 items, not 65535.
    Bytes huge = Words({0xFFFF});
    huge.resize(1252);
    EXPECT_FALSE(ParseFeatureLayout(huge));
}

TEST(ModelLayout, TrayListDefaultIndexOutOfRangeNamesNoTray)
{
    Bytes b = Words({1, 1});
    b.resize(4 + 24);
    const auto list = ParseTrayList(b);
    ASSERT_TRUE(list);
    EXPECT_EQ(DefaultTray(*list), nullptr);
    b[2] = 0;
    const auto first = ParseTrayList(b);
    ASSERT_TRUE(first);
    EXPECT_EQ(DefaultTray(*first), &first->entries[0]);
}

TEST(ModelLayout, RecordsAreNotReadPastTheEnd)
{
    const Bytes b = Words({1, 2, 3, 4});
    EXPECT_TRUE(ReadRecord<PaperLimits>(b, 0));
    EXPECT_FALSE(ReadRecord<PaperLimits>(b, 2));
    EXPECT_FALSE(ReadRecord<PaperLimits>(b, SIZE_MAX));
    const auto limits = ParsePaperLimits(b);
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->maxWidth, 1);
    EXPECT_EQ(limits->minLength, 4);
}

TEST(ModelLayout, EncodedTablesCarryTheirEntryCount)
{
    const OptionPair pairs[] = {{0, 1}, {6, 2}, {7, 3}};
    const Bytes b = EncodeTable(DefaultedHeader{99, 7}, std::span<const OptionPair>(pairs));
    EXPECT_EQ(b, Words({3, 7, 0, 1, 6, 2, 7, 3}));
}

}  // namespace
