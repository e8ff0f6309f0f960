// Merging an input devmode over a base: each setting is taken only when the input declares it,
// the base's model accepts it, and the input's own layout holds it.
#include <gtest/gtest.h>

#include "DevmodeTestUtil.h"
#include "Merge.h"
#include "Settings.h"

using namespace devmode;
using namespace dmtest;

namespace {

// The merge's view of the test model.
class TestModel final : public MergeModel {
public:
    std::uint32_t paperSet = 0x1 | 0x8 | 0x40000;  // Letter, A4, user-defined
    bool formsAccepted = false;
    std::uint32_t PaperSet() const override { return paperSet; }
    bool FormAccepted(std::int16_t) const override { return formsAccepted; }
    std::optional<model::PaperLimits> UserPaperLimits() const override { return kLimits; }
    std::span<const model::TrayEntry> Trays() const override { return kTrays; }
    std::optional<std::uint8_t> ResolutionFlag(std::int16_t dpi) const override
    {
        for (const auto& e : kResolutions.entries)
            if (e.dpi == std::uint16_t(dpi))
                return e.flag;
        return std::nullopt;
    }
};

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = FirstModelDefaults(resources_);
        Set(base_, dmFields, Get(base_, dmFields) | kFieldColor | kFieldCollate);
    }
    // An input of this driver: the base with the named field in dmFields.
    Buffer Input(std::uint32_t fields) const
    {
        Buffer in = base_;
        Set(in, dmFields, fields);
        return in;
    }
    Buffer Merge(std::span<const std::uint8_t> in) const
    {
        const auto merged = MergeDevmode(base_, in, model_);
        EXPECT_TRUE(merged);
        return merged.value_or(base_);
    }

    FakeResources resources_ = FirstModelResources();
    Buffer base_;
    TestModel model_;
};

// One public setting at a time: the value the input carries and what the result holds.
TEST_F(MergeTest, PublicSettingsWithinTheirRanges)
{
    const std::int16_t baseCopies = Get(base_, dmCopies);
    struct Case {
        const char* what;
        std::uint32_t field;
        I16 at;
        std::int16_t value;
        std::int16_t expected;
    };
    const Case cases[] = {
        {"orientation landscape", kFieldOrientation, dmOrientation, 2, 2},
        {"orientation 3", kFieldOrientation, dmOrientation, 3, 1},
        {"copies 50", kFieldCopies, dmCopies, 50, 50},
        {"copies 9999", kFieldCopies, dmCopies, 9999, 9999},
        {"copies 0", kFieldCopies, dmCopies, 0, baseCopies},
        {"copies 10000", kFieldCopies, dmCopies, 10000, baseCopies},
        {"copies without DM_COPIES", kFieldOrientation, dmCopies, 50, baseCopies},
        {"paper Letter in the set", kFieldPaperSize, dmPaperSize, 1, 1},
        {"paper Legal not in the set", kFieldPaperSize, dmPaperSize, 5, Get(base_, dmPaperSize)},
        {"paper without a bit", kFieldPaperSize, dmPaperSize, 100, Get(base_, dmPaperSize)},
        {"form not accepted", kFieldPaperSize, dmPaperSize, 600, Get(base_, dmPaperSize)},
        {"installed tray", kFieldDefaultSource, dmDefaultSource, 15, 15},
        {"tray not installed", kFieldDefaultSource, dmDefaultSource, 3, Get(base_, dmDefaultSource)},
        {"tray the model lacks", kFieldDefaultSource, dmDefaultSource, 4, Get(base_, dmDefaultSource)},
        {"listed resolution", kFieldPrintQuality, dmPrintQuality, 1200, 1200},
        {"unlisted resolution gives the default", kFieldPrintQuality, dmPrintQuality, 700, 600},
        {"resolution 0 gives the default", kFieldPrintQuality, dmPrintQuality, 0, 600},
        {"resolution -1: fourth entry", kFieldPrintQuality, dmPrintQuality, -1, 150},
        {"resolution -2: third entry", kFieldPrintQuality, dmPrintQuality, -2, 1200},
        {"resolution -3: second entry", kFieldPrintQuality, dmPrintQuality, -3, 600},
        {"resolution -4: first entry", kFieldPrintQuality, dmPrintQuality, -4, 300},
        {"duplex taken as it is", kFieldDuplex, dmDuplex, 3, 3},
        {"TrueType bitmap", kFieldTTOption, dmTTOption, 1, 1},
        {"TrueType substitute needs bit 0 of 392", kFieldTTOption, dmTTOption, 4, 4},
        {"TrueType 3", kFieldTTOption, dmTTOption, 3, Get(base_, dmTTOption)},
        {"colour", kFieldColor, dmColor, 2, 2},
        {"colour 3", kFieldColor, dmColor, 3, Get(base_, dmColor)},
        {"collate", kFieldCollate, dmCollate, 1, 1},
        {"collate 2", kFieldCollate, dmCollate, 2, Get(base_, dmCollate)},
    };
    for (const Case& c : cases) {
        Buffer in = Input(c.field);
        Set(in, c.at, c.value);
        EXPECT_EQ(Get(Merge(in), c.at), c.expected) << c.what;
    }
}

TEST_F(MergeTest, TrueTypeDownloadOnlyWithoutBitmapModels)
{
    Buffer in = Input(kFieldTTOption);
    Set(in, dmTTOption, 2);
    Set(base_, kFontFlags, std::uint16_t(Get(base_, kFontFlags) | 0x2));
    Set(base_, dmTTOption, 1);
    EXPECT_EQ(Get(Merge(in), dmTTOption), 1);
    Set(base_, kFontFlags, std::uint16_t(Get(base_, kFontFlags) & ~0x2));
    EXPECT_EQ(Get(Merge(in), dmTTOption), 2);
}

TEST_F(MergeTest, DitherTypeOneToThree)
{
    for (const auto& [value, expected] : {std::pair{1u, 1u}, {2u, 2u}, {4u, 3u}, {0u, 3u}}) {
        Buffer in = Input(kFieldDitherType);
        Set(in, dmDitherType, value);
        EXPECT_EQ(Get(Merge(in), dmDitherType), expected) << value;
    }
}

TEST_F(MergeTest, CollateOnlyWhenTheInputAllowsIt)
{
    Buffer in = Input(kFieldCollate);
    Set(in, dmCollate, 1);
    Set(in, kCollateAllowed, 0);
    EXPECT_EQ(Get(Merge(in), dmCollate), 0);
}

TEST_F(MergeTest, FieldsTheBaseLacksAreNotTaken)
{
    Set(base_, dmFields, Get(base_, dmFields) & ~kFieldColor);
    Buffer in = Input(kFieldColor);
    Set(in, dmColor, 2);
    EXPECT_EQ(Get(Merge(in), dmColor), Get(base_, dmColor));
}

TEST_F(MergeTest, FormsOnlyWhenTheFormCheckAccepts)
{
    model_.paperSet |= kFormsBit;
    Buffer in = Input(kFieldPaperSize);
    Set(in, dmPaperSize, 513);
    EXPECT_EQ(Get(Merge(in), dmPaperSize), Get(base_, dmPaperSize));
    model_.formsAccepted = true;
    EXPECT_EQ(Get(Merge(in), dmPaperSize), 513);
}

TEST_F(MergeTest, UserPaperSizesWithinTheModelsLimits)
{
    // 1/1200 inch limits in tenths of a millimetre: widths 762 to 2159, lengths 1270 to 3556.
    struct Case {
        std::int16_t width, length;
        std::int16_t expectedWidth, expectedLength;
    };
    const Case cases[] = {
        {1000, 2000, 1000, 2000},
        {762, 3556, 762, 3556},
        {2160, 2000, 0, 2000},  // width too large: dropped, the length stays
        {761, 1269, 0, 0},
    };
    for (const Case& c : cases) {
        Buffer in = Input(kFieldPaperSize);
        Set(in, dmPaperSize, 256);
        Set(in, dmPaperWidth, c.width);
        Set(in, dmPaperLength, c.length);
        const Buffer r = Merge(in);
        ASSERT_EQ(Get(r, dmPaperSize), 256);
        EXPECT_EQ(Get(r, dmPaperWidth), c.expectedWidth) << c.width;
        EXPECT_EQ(Get(r, dmPaperLength), c.expectedLength) << c.length;
        EXPECT_EQ(Get(r, dmFields) & (kFieldPaperWidth | kFieldPaperLength),
                  kFieldPaperWidth | kFieldPaperLength);
    }

    // Any other paper: no sizes and no size bits, whatever the base had.
    Set(base_, dmPaperWidth, 1000);
    Set(base_, dmFields, Get(base_, dmFields) | kFieldPaperWidth);
    const Buffer r = Merge(Input(0));
    EXPECT_EQ(Get(r, dmPaperWidth), 0);
    EXPECT_EQ(Get(r, dmFields) & kFieldPaperWidth, 0u);
}

TEST_F(MergeTest, ResolutionFlagFollowsTheResolutionWhenSet)
{
    // A foreign input: its private bytes are not taken, so the flag byte is refreshed.
    Buffer in = Input(kFieldPrintQuality | kFieldYResolution);
    Set(in, dmPrintQuality, 1200);
    Bytes foreign(in.begin(), in.begin() + kPublicSize);
    Set(foreign, dmDriverExtra, 0);
    ASSERT_EQ(Get(base_, kResolutionFlag), 1);
    const Buffer r = Merge(foreign);
    EXPECT_EQ(Get(r, dmPrintQuality), 1200);
    EXPECT_EQ(Get(r, kResolutionFlag), 4);
    EXPECT_EQ(Get(r, dmYResolution), 1200);

    // A clear flag byte stays clear.
    Set(base_, kResolutionFlag, 0);
    EXPECT_EQ(Get(Merge(foreign), kResolutionFlag), 0);

    // An input of this driver brings its own flag byte with its private values.
    Set(in, kResolutionFlag, 0);
    EXPECT_EQ(Get(Merge(in), kResolutionFlag), 0);
}

TEST_F(MergeTest, PrivateValuesComeOnlyFromThisDriversDevmodes)
{
    Buffer in = Input(0);
    Set(in, kFeature11, 7);
    Set(in, kSoftwareEnable, 1);
    Set(in, kInstalledTrays, 0x7);
    Set(in, kFontSetMask2, 0x55u);
    SetWideText(in, kFirstPageOverlay, u"Draft");
    SetText(in, kHoldUserName, "alice");
    Set(in, kDefaultGraphicsMode, 9);  // not a value the merge takes
    UpdateChecksum(in);

    const Buffer taken = Merge(in);
    EXPECT_EQ(Get(taken, kFeature11), 7);
    EXPECT_EQ(Get(taken, kSoftwareEnable), 1);
    EXPECT_EQ(Get(taken, kInstalledTrays), 0x7);
    EXPECT_EQ(Get(taken, kFontSetMask2), 0x55u);
    EXPECT_EQ(GetWideText(taken, kFirstPageOverlay), u"Draft");
    EXPECT_EQ(GetText(taken, kHoldUserName), "alice");
    EXPECT_EQ(Get(taken, kDefaultGraphicsMode), Get(base_, kDefaultGraphicsMode));

    // The same bytes under a foreign signature leave the base's private part alone.
    Buffer foreign = in;
    Set(foreign, kSignature2, 0x12345678u);
    const Buffer kept = Merge(foreign);
    for (std::size_t at = kPublicSize; at < kChecksum.offset; ++at)
        ASSERT_EQ(kept[at], base_[at]) << "private byte " << at;
    for (std::size_t at = kChecksum.end(); at < kSize; ++at)
        ASSERT_EQ(kept[at], base_[at]) << "private byte " << at;
}

TEST_F(MergeTest, ShortOlderLayoutIsNotReadBeyondItsEnd)
{
    // An older public-only devmode asking for everything, in a buffer whose bytes beyond the
    // devmode would allow collation (1104) and carry this driver's marks if they were read.
    Bytes storage(kSize, 0xFF);
    Buffer whole = Input(0xFFFFFFFFu);
    Set(whole, dmCollate, 1);
    Set(whole, kCollateAllowed, 1);
    Set(whole, kFeature11, 7);
    std::copy(whole.begin() + kOldPublicSize, whole.end(), storage.begin() + kOldPublicSize);
    std::copy_n(whole.begin(), kOldPublicSize, storage.begin());
    Set(storage, dmSize, std::uint16_t(kOldPublicSize));
    Set(storage, dmDriverExtra, 0);
    Set(storage, dmSpecVersion, kOldSpecVersionValue);
    Set(storage, dmCopies, 4);

    const Buffer r = Merge(storage);
    EXPECT_EQ(Get(r, dmCopies), 4) << "public settings of the old layout are taken";
    EXPECT_EQ(Get(r, dmCollate), Get(base_, dmCollate)) << "collation needs 1104, beyond its end";
    EXPECT_EQ(Get(r, kFeature11), Get(base_, kFeature11));
}

TEST_F(MergeTest, NoUsableHeaderKeepsTheBase)
{
    Bytes header(60, 0);
    EXPECT_FALSE(MergeDevmode(base_, header, model_));
    EXPECT_FALSE(MergeDevmode(std::span(base_).first(kSize - 1), base_, model_));
}

TEST_F(MergeTest, ConfigurationIdentitySurvivesOnlyWithItsSettings)
{
    const auto identity = [](Buffer& d, std::uint32_t kind, std::uint32_t first) {
        Set(d, kConfigKind, kind);
        Set(d, U32{kConfigId.offset}, first);
    };
    identity(base_, 4, 2);

    // Unchanged settings: the base's identity stays.
    Buffer r = Merge(Input(0));
    EXPECT_EQ(Get(r, kConfigKind), 4u);
    EXPECT_EQ(Get(r, U32{kConfigId.offset}), 2u);

    // Changed settings: no identity.
    Buffer in = Input(kFieldCopies);
    Set(in, dmCopies, 3);
    identity(in, 0, 0);
    r = Merge(in);
    EXPECT_EQ(Get(r, kConfigKind), 0u);
    EXPECT_FALSE(HasConfigIdentity(r));

    // The input's own identity, for settings that are the input's: only with its checksum right.
    identity(in, 7, 9);
    UpdateChecksum(in);
    r = Merge(in);
    EXPECT_EQ(Get(r, kConfigKind), 7u);
    EXPECT_EQ(Get(r, U32{kConfigId.offset}), 9u);
    Set(in, kChecksum, std::uint16_t(Get(in, kChecksum) ^ 1));
    EXPECT_EQ(Get(Merge(in), kConfigKind), 0u);
}

}  // namespace
