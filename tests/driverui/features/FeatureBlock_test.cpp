// The feature block at byte level over the family's own resources: the layout reader's refusals,
// the block's size and walk, every entry type's round trip through the write-back, and the
// bounds a damaged resource or devmode meets.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "EntryChanges.h"
#include "FeatureTestUtil.h"

using namespace feature;
using fbtest::Block;
using fbtest::Bytes;

namespace {

namespace dm = devmode;
constexpr std::size_t kDesktop = 0, kWorkgroup = 1, kColour = 2;

class FeatureBlockTest : public ::testing::Test {
protected:
    fbtest::Resources resources_;
};

TEST_F(FeatureBlockTest, EachModelsBlockHasTheHeaderEveryItemInLayoutOrderAndTheEndRecord)
{
    for (std::size_t n : {kDesktop, kWorkgroup, kColour}) {
        SCOPED_TRACE(fbtest::Model(n).name);
        const auto items = fbtest::LayoutOf(n, resources_);
        ASSERT_FALSE(items.empty());
        const Bytes d = fbtest::DefaultsOf(n, resources_);
        Block b = fbtest::Build(items, d, d, resources_);

        std::size_t sum = 0;
        for (const auto& item : items)
            sum += EntrySize(item.type);
        ASSERT_EQ(b.bytes.size(), 1540 + sum + 14);
        EXPECT_EQ(Get16(b.bytes, 0), 1540);
        EXPECT_EQ(Get16(b.bytes, 2), 65);
        EXPECT_EQ(Get32(b.bytes, 4), 0u);
        std::uintptr_t context = 0;
        std::memcpy(&context, b.bytes.data() + kHeaderContext, sizeof context);
        EXPECT_EQ(context, 0x1234u);

        std::size_t at = kHeaderSize;
        for (const auto& item : items) {
            EXPECT_EQ(b.index[std::size_t(item.feature)], at) << "feature " << item.feature;
            EXPECT_EQ(Get16(b.bytes, at), EntrySize(item.type));
            EXPECT_EQ(b.bytes[at + kConstrained], item.constrained);
            EXPECT_EQ(b.bytes[at + kChanged], 0);
            at += EntrySize(item.type);
        }
        EXPECT_EQ(Get16(b.bytes, at), 0) << "the end record";
        EXPECT_EQ(b.bytes.size() - at, 14u);
    }
}

TEST_F(FeatureBlockTest, LayoutsThatNameNoEntryOrTheWrongOneAreRefused)
{
    const model::FeatureItem copies{3, 1, 1, 99, 0};
    const struct {
        const char* what;
        std::vector<model::FeatureItem> items;
        int count;
        bool accepted;
        std::size_t read;
    } cases[] = {
        {"a good one", {copies}, -1, true, 1},
        {"negative count", {copies}, -3, false, 0},
        {"count past the bytes", {copies}, 40, true, 1},
        {"identifier 0", {{0, 1, 0, 0, 0}}, -1, false, 0},
        {"the header's 65", {{65, 1, 0, 0, 0}}, -1, false, 0},
        {"identifier 126", {{126, 1, 0, 0, 0}}, -1, false, 0},
        {"type 0", {{5, 0, 0, 0, 0}}, -1, false, 0},
        {"type 18", {{5, 18, 0, 0, 0}}, -1, false, 0},
        {"paper size as a value", {{2, 1, 0, 0, 0}}, -1, false, 0},
        {"no entry for a bound identifier", {{2, 13, 0, 0, 0}, copies}, -1, true, 2},
        {"an unbound identifier as a list", {{5, 7, 0, 0, 0}}, -1, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = fbtest::LayoutBytes(c.items);
        if (c.count != -1)
            Set16(bytes, 0, std::uint16_t(std::int16_t(c.count)));
        const auto items = ReadLayout(bytes);
        ASSERT_EQ(items.has_value(), c.accepted);
        if (items) {
            EXPECT_EQ(items->size(), c.read);
        }
    }
    EXPECT_FALSE(ReadLayout(Bytes{1}));
    EXPECT_TRUE(ReadLayout(Bytes{0, 0}).has_value()) << "no items: a header alone";

    // Only 1252 bytes are read: a count of 200 items gives the 125 that fit.
    std::vector<model::FeatureItem> many(200, copies);
    const auto bounded = ReadLayout(fbtest::LayoutBytes(many));
    ASSERT_TRUE(bounded);
    EXPECT_EQ(bounded->size(), 125u);
}

TEST_F(FeatureBlockTest, AnIdentifierWithoutADevmodeValueGivesA14ByteEntryOfZeros)
{
    const model::FeatureItem items[] = {{5, 1, 3, 9, 1}, {13, 13, 0, 0, 0}, {92, 1, 0, 1, 0}};
    const Bytes d = fbtest::DefaultsOf(kWorkgroup, resources_);
    Block b = fbtest::Build(items, d, d, resources_);
    EXPECT_EQ(b.bytes.size(), 1540u + 14 + 14 + 14);
    const auto e = b.Entry(5);
    ASSERT_EQ(e.size(), 14u);
    EXPECT_EQ(b.Current(5), 0);
    EXPECT_EQ(Get16(e, kDefault), 0);
    EXPECT_EQ(Get16(e, value::kMinimum), 3);
    EXPECT_EQ(Get16(e, value::kMaximum), 9);
    EXPECT_EQ(b.index[13], kNoRecord) << "type 13 makes no entry";
    EXPECT_EQ(b.index[92], kHeaderSize + 14);
}

TEST_F(FeatureBlockTest, EveryEntryTypeRoundTripsThroughTheDevmodeAtItsOwnWidth)
{
    std::set<int> typesSeen;
    for (std::size_t n : {kDesktop, kWorkgroup, kColour}) {
        SCOPED_TRACE(fbtest::Model(n).name);
        const auto items = fbtest::LayoutOf(n, resources_);
        const Bytes defaults = fbtest::DefaultsOf(n, resources_);
        Block before = fbtest::Build(items, defaults, defaults, resources_);
        for (const fbtest::TypeRow& row : fbtest::TypeRows())
            for (const auto& item : items)
                if (item.type == row.type)
                    row.change(before.Entry(item.feature));

        Bytes written = defaults;
        WriteBack(before.bytes, written, resources_);
        Block after = fbtest::Build(items, written, defaults, resources_);
        for (const fbtest::TypeRow& row : fbtest::TypeRows())
            for (const auto& item : items) {
                if (item.type != row.type || !fbtest::WrittenBack(item.feature))
                    continue;
                typesSeen.insert(item.type);
                SCOPED_TRACE("feature " + std::to_string(item.feature));
                row.expectSame(before.Entry(item.feature), after.Entry(item.feature));
                // A list of one option has no other value to take.
                if (row.type == kValueEntry || row.type == kListEntry || row.type == kShortListEntry) {
                    const bool single = row.type == kListEntry &&
                                        Get16(before.Entry(item.feature), list::kOptions + list::kOptionSize) == kListEnd;
                    if (!single) {
                        EXPECT_NE(after.Current(item.feature), Get16(after.Entry(item.feature), kDefault))
                            << "the changed value did not differ from the default";
                    }
                }
            }
        const auto e50 = before.Entry(50);
        const std::size_t triple = resolution::kTriples + std::size_t(before.Current(50)) * resolution::kTripleSize;
        EXPECT_EQ(dm::Get(written, dm::kResolutionFlag), Get16(e50, triple + resolution::kFlag)) << "50 wins at 232";
        EXPECT_EQ(dm::Get(written, dm::dmPrintQuality), std::int16_t(Get16(e50, triple)));
        EXPECT_EQ(dm::Get(written, dm::dmYResolution), std::int16_t(Get16(e50, triple)));
    }
    for (int type = kFirstType; type <= kLastType; ++type) {
        if (type != kNoEntry) {
            EXPECT_TRUE(typesSeen.count(type)) << "no model has an entry of type " << type;
        }
    }
}

TEST_F(FeatureBlockTest, WriteBackOfUserPaperSetsTheModelsLargestSize)
{
    const model::FeatureItem items[] = {{2, 2, 0, 0, 1}};
    for (std::size_t n : {kDesktop, kColour}) {
        const Bytes d = fbtest::DefaultsOf(n, resources_);
        Block b = fbtest::Build(items, d, d, resources_);
        const auto limits = model::ParsePaperLimits(
            resources_.Selected(model::kPaperLimitsType, fbtest::Model(n).description.paperLimits));
        ASSERT_TRUE(limits);
        Bytes written = d;
        b.SetCurrent(2, 256);
        WriteBack(b.bytes, written, resources_);
        EXPECT_EQ(dm::Get(written, dm::dmPaperSize), 256);
        EXPECT_EQ(dm::Get(written, dm::dmPaperWidth), limits->maxWidth * 254 / 1200);
        EXPECT_EQ(dm::Get(written, dm::dmPaperLength), limits->maxLength * 254 / 1200);
        b.SetCurrent(2, 9);
        WriteBack(b.bytes, written, resources_);
        EXPECT_EQ(dm::Get(written, dm::dmPaperWidth), 0);
        EXPECT_EQ(dm::Get(written, dm::dmPaperLength), 0);
    }
}

TEST_F(FeatureBlockTest, TheSourcesTrayByteAndTheOutputBinFollowTheirEntries)
{
    const auto items = fbtest::LayoutOf(kWorkgroup, resources_);
    const Bytes d = fbtest::DefaultsOf(kWorkgroup, resources_);
    Block b = fbtest::Build(items, d, d, resources_);
    const auto trays = model::ParseTrayList(resources_.Selected(model::kTrayListType, fbtest::Model(kWorkgroup).description.trayList));
    ASSERT_TRUE(trays);
    const auto e4 = b.Entry(4);
    for (std::size_t i = 0; i < trays->entries.size(); ++i) {
        const std::size_t at = paper_source::kTrays + i * paper_source::kTraySize;
        EXPECT_EQ(Get16(e4, at + paper_source::kTrayMask), trays->entries[i].mask);
        EXPECT_EQ(std::int16_t(Get16(e4, at + paper_source::kTrayCode)), trays->entries[i].code);
        EXPECT_EQ(Get16(e4, at + paper_source::kTrayNumber), trays->entries[i].number);
    }
    EXPECT_EQ(Get16(e4, paper_source::kMediaFlag), 0) << "no special media on the workgroup model";
    b.SetCurrent(4, trays->entries[3].code);
    Bytes written = d;
    WriteBack(b.bytes, written, resources_);
    EXPECT_EQ(dm::Get(written, dm::kTrayByte), trays->entries[3].trayByte);

    const Bytes colour = fbtest::DefaultsOf(kColour, resources_);
    Block c = fbtest::Build(fbtest::LayoutOf(kColour, resources_), colour, colour, resources_);
    EXPECT_EQ(Get16(c.Entry(4), paper_source::kMediaFlag), 1) << "glossy media";
    // The colour model keeps the pair's second value at 235 (model word 362 is 3).
    Bytes moved = colour;
    dm::Set(moved, dm::kCombinedPairQAlt, 3);
    dm::Set(moved, dm::kCombinedPairQ, 1);
    EXPECT_EQ(fbtest::Build(fbtest::LayoutOf(kColour, resources_), moved, colour, resources_).Current(17), 3);
}

TEST_F(FeatureBlockTest, TheHoldEntryTakesTheLoggedOnUserCutTo24Characters)
{
    const model::FeatureItem items[] = {{77, 15, 0, 0, 0}};
    const Bytes d = fbtest::DefaultsOf(kWorkgroup, resources_);
    Block b = fbtest::Build(items, d, d, resources_, "AVeryLongUserNameOfThirtyTwoChars");
    const auto e = b.Entry(77);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e.data() + hold::kUserName)), "AVeryLongUserNameOfThirt");
    EXPECT_EQ(e[hold::kUserName + 24], 0);

    Bytes named = d;
    dm::SetText(named, dm::kHoldUserName, "Owner");
    Block own = fbtest::Build(items, named, d, resources_, "someone else");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(own.Entry(77).data() + hold::kUserName)), "Owner");
}

TEST_F(FeatureBlockTest, ListsFromResourcesStopAtTheEntrysEnd)
{
    // A graphics-mode list of 28 options and a print-mode list of 18 records: 18 triples and 18
    // groups, each followed by the end mark that fits.
    Bytes modes;
    std::vector<model::OptionPair> options;
    for (int i = 0; i < 28; ++i)
        options.push_back({std::int16_t(i), std::uint16_t(i)});
    model::ModeListHeader header{0, 1, 3};
    fbtest::Resources damaged;
    const auto& desc = fbtest::Model(kWorkgroup).description;
    damaged.Replace(model::kGraphicsModeListType, model::SelectedName(desc.graphicsModeList),
                    model::EncodeTable(header, std::span<const model::OptionPair>(options)));
    std::vector<model::PrintModeEntry> records(18, model::PrintModeEntry{1, 1, 600, 1});
    damaged.Replace(model::kPrintModeListType, model::SelectedName(desc.printModeList),
                    model::EncodeTable(model::CountHeader{}, std::span<const model::PrintModeEntry>(records)));
    const model::FeatureItem items[] = {{13, 7, 0, 0, 1}, {16, 8, 0, 0, 1}};
    const Bytes d = fbtest::DefaultsOf(kWorkgroup, damaged);
    Block b = fbtest::Build(items, d, d, damaged);
    ASSERT_EQ(b.bytes.size(), 1540u + 124 + 162 + 14);
    EXPECT_EQ(Get16(b.Entry(13), list::kOptions + 17 * list::kOptionSize), 17);
    EXPECT_EQ(Get16(b.Entry(13), list::kOptions + 18 * list::kOptionSize), kListEnd);
    EXPECT_EQ(Get16(b.Entry(16), print_mode::kModes + 18 * print_mode::kModeSize), kListEnd);
    EXPECT_EQ(Get16(b.bytes, kHeaderSize + 124), 162) << "the next entry is intact";
}

TEST_F(FeatureBlockTest, AShortBufferOrDevmodeBuildsNothingAndADamagedBlockWalksToItsEnd)
{
    const auto items = fbtest::LayoutOf(kColour, resources_);
    const Bytes d = fbtest::DefaultsOf(kColour, resources_);
    Bytes small(BlockSize(items) - 1, 0xAB);
    BuildSource s;
    s.working = d;
    s.defaults = d;
    s.resources = &resources_;
    EXPECT_FALSE(BuildBlock(small, items, s));
    EXPECT_EQ(small, Bytes(small.size(), 0xAB));
    s.working = std::span<const std::uint8_t>(d).first(1000);
    Bytes enough(BlockSize(items), 0xAB);
    EXPECT_FALSE(BuildBlock(enough, items, s));

    // A record that claims to pass the block's end ends the walk there.
    Block b = fbtest::Build(items, d, d, resources_);
    Set16(b.bytes, kHeaderSize, 60000);
    const RecordIndex index = IndexBlock(b.bytes);
    EXPECT_EQ(index[65], 0u);
    EXPECT_EQ(index[1], kNoRecord);
    Bytes written = d;
    WriteBack(b.bytes, written, resources_);
    EXPECT_EQ(written, d);
}

}  // namespace
