// The refresh procedure on the colour model's block: each identifier with a rule, one that only
// asks for a refresh, one that does nothing, and a block where nothing changed.
#include <gtest/gtest.h>

#include <functional>

#include "FeatureTestUtil.h"

using namespace feature;
using fbtest::Block;
using fbtest::Bytes;

namespace {

constexpr std::size_t kColour = 2;

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        defaults_ = fbtest::DefaultsOf(kColour, resources_);
        block_ = fbtest::Build(fbtest::LayoutOf(kColour, resources_), defaults_, defaults_, resources_);
        // A current configuration whose identity a refresh clears.
        for (std::size_t i = 0; i < 5; ++i)
            Set32(block_.Entry(94), identity::kCurrentIdentity + 4 * i, std::uint32_t(i + 1));
    }
    bool IdentityCleared()
    {
        for (std::size_t i = 0; i < identity::kIdentitySize; ++i)
            if (block_.Entry(94)[identity::kCurrentIdentity + i] != 0)
                return false;
        return true;
    }
    std::uint16_t Word(int id, std::size_t at) { return Get16(block_.Entry(id), at); }

    fbtest::Resources resources_;
    Bytes defaults_;
    Block block_;
};

struct Row {
    const char* what;
    RefreshModel model;
    std::function<void(Block&)> change;
    bool requested;
    std::function<void(Block&)> expect;
};

TEST_F(RefreshTest, EachRuleActsOnItsEntriesAndAnyRequestClearsTheIdentity)
{
    const auto userWords = [](Block& b) {
        return std::array{Get16(b.Entry(2), 10), Get16(b.Entry(2), 12), Get16(b.Entry(2), 16)};
    };
    const Row rows[] = {
        {"graphics mode 2 without forms in that mode clears the user-paper words", {},
         [](Block& b) {
             b.SetCurrent(81, 0x4000);
             b.Change(13, 2);
         },
         true,
         [&](Block& b) {
             EXPECT_EQ(userWords(b), (std::array<std::uint16_t, 3>{0, 0, 0}));
             EXPECT_EQ(Get16(b.Entry(2), 14), 1200) << "not a user-paper word";
         }},
        {"graphics mode 2 with forms in that mode keeps them", {},
         [](Block& b) {
             b.SetCurrent(81, std::int16_t(0xC000));
             Set16(b.Entry(2), 10, 0);
             b.Change(13, 2);
         },
         true, [&](Block& b) { EXPECT_EQ(userWords(b), (std::array<std::uint16_t, 3>{512, 519, 768})); }},
        {"another mode sets them", {},
         [](Block& b) {
             Set16(b.Entry(2), 12, 0);
             b.Change(13, 1);
         },
         true, [&](Block& b) { EXPECT_EQ(userWords(b), (std::array<std::uint16_t, 3>{512, 519, 768})); }},
        {"two pages per sheet turn font handling 2 into 4 where the model allows it", {kFontHandling4Allowed, 0},
         [](Block& b) {
             b.SetCurrent(7, 2);
             b.Change(47, 1);
         },
         true,
         [](Block& b) {
             EXPECT_EQ(b.Current(7), 4);
             EXPECT_EQ(b.Entry(7)[truetype::kChoice2], 0);
         }},
        {"and into 1 where it does not (R14)", {0, 0},
         [](Block& b) {
             b.SetCurrent(7, 2);
             b.Change(47, 0x0103);
         },
         true, [](Block& b) { EXPECT_EQ(b.Current(7), 1); }},
        {"one page per sheet offers choice 2 again", {},
         [](Block& b) {
             b.Entry(7)[truetype::kChoice2] = 0;
             b.SetCurrent(7, 1);
             b.Change(47, 0x0100);
         },
         true,
         [](Block& b) {
             EXPECT_EQ(b.Entry(7)[truetype::kChoice2], 1);
             EXPECT_EQ(b.Current(7), 1);
         }},
        {"the quality's flag byte follows its word at 10", {},
         [](Block& b) {
             Set16(b.Entry(50), resolution::kRecompute1, 1);
             Set16(b.Entry(50), resolution::kRecompute2, 0);
             b.Entry(50)[kChanged] = 1;
         },
         true, [](Block& b) { EXPECT_EQ(b.Entry(50)[resolution::kRecompute2], 1); }},
        {"selecting by type sets the automatic source", {},
         [](Block& b) {
             b.SetCurrent(4, 1);
             b.Change(53, 1);
         },
         true, [](Block& b) { EXPECT_EQ(b.Current(4), 7); }},
        {"selecting by source keeps the source", {},
         [](Block& b) {
             b.SetCurrent(4, 1);
             b.Change(53, 0);
         },
         true, [](Block& b) { EXPECT_EQ(b.Current(4), 1); }},
        {"account tracking asks for a refresh", {0, 0}, [](Block& b) { b.Change(95, 1); }, true, [](Block&) {}},
        {"unless the model keeps the identity then", {0, kAccountKeepsIdentity}, [](Block& b) { b.Change(95, 1); },
         false, [](Block&) {}},
        {"copies only ask for a refresh", {}, [](Block& b) { b.Change(3, 4); }, true,
         [](Block& b) { EXPECT_EQ(b.Current(3), 4); }},
        {"memory does nothing", {}, [](Block& b) { b.Change(20, 8); }, false,
         [](Block& b) { EXPECT_EQ(b.Current(20), 8); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        row.change(block_);
        EXPECT_EQ(Refresh(block_.bytes, row.model), row.requested);
        row.expect(block_);
        EXPECT_EQ(IdentityCleared(), row.requested);
        for (const auto& item : fbtest::LayoutOf(kColour, resources_))
            EXPECT_EQ(block_.Entry(item.feature)[kChanged], 0) << "feature " << item.feature << " still changed";
    }
}

TEST_F(RefreshTest, GraphicsModeAndPagesPerSheetRecomputeTheQualitysFlagWord)
{
    // The colour model's choice 1 is 600 dpi with flag 1.
    block_.SetCurrent(50, 1);
    block_.Change(47, 0);
    Refresh(block_.bytes, {});
    EXPECT_EQ(Word(50, resolution::kRecompute1), 1);
    EXPECT_EQ(Word(50, resolution::kRecompute2), 1);
    block_.Change(47, 3);
    Refresh(block_.bytes, {});
    EXPECT_EQ(Word(50, resolution::kRecompute1), 0) << "several pages per sheet";
    EXPECT_EQ(Word(50, resolution::kRecompute2), 0);
    block_.SetCurrent(47, 0);
    block_.Change(13, 2);
    Refresh(block_.bytes, {});
    EXPECT_EQ(Word(50, resolution::kRecompute1), 0) << "compatible mode";
    block_.Change(13, 1);
    Refresh(block_.bytes, {});
    EXPECT_EQ(Word(50, resolution::kRecompute1), 1);
}

TEST_F(RefreshTest, NothingChangedLeavesTheBlockAsItWas)
{
    const Bytes before = block_.bytes;
    EXPECT_FALSE(Refresh(block_.bytes, {kFontHandling4Allowed, 0}));
    EXPECT_EQ(block_.bytes, before);
}

TEST_F(RefreshTest, EntriesOfTheWrongSizeAreLeftAlone)
{
    // A block whose paper-size and source entries are type-1 sized: the rules that would write
    // their words write nothing.
    const model::FeatureItem items[] = {{13, 7, 0, 0, 1}, {5, 1, 0, 0, 0}, {53, 1, 0, 1, 1}, {81, 1, 0, 0, 0}};
    Block b = fbtest::Build(items, defaults_, defaults_, resources_);
    // Relabel entry 5 as the paper size (2) and make 53 point at a missing source.
    Set16(b.Entry(5), kRecordId, 2);
    b.index = IndexBlock(b.bytes);
    b.SetCurrent(13, 1);
    b.SetCurrent(53, 1);
    const Bytes expected = b.bytes;
    b.Entry(13)[kChanged] = 1;
    b.Entry(53)[kChanged] = 1;
    EXPECT_TRUE(Refresh(b.bytes, {}));
    EXPECT_EQ(b.bytes, expected);
}

}  // namespace
