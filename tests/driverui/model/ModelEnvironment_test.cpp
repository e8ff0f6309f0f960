// The configuration engine's view of a model: tray keys for the paper source, and the print-mode
// bytes brought onto the model's list when a read is finished.
#include <gtest/gtest.h>

#include <vector>

#include "CfgEngine.h"
#include "CfgTestUtil.h"
#include "ModelEnvironment.h"

using namespace model;
using cfgtest::Bytes;
using cfgtest::DefaultDevmode;
using cfgtest::Get;
using cfgtest::Set;

namespace {

// Byte 233 groups 1 and 2; group 2 only up to 600 dpi.
constexpr PrintModeEntry kModes[] = {{1, 1, 1200, 1}, {1, 3, 600, 2}, {2, 2, 600, 3}, {1, 4, 1200, 4}};

Bytes PrintModes()
{
    return EncodeTable(CountHeader{}, std::span<const PrintModeEntry>(kModes));
}

Bytes Trays(std::initializer_list<TrayEntry> trays)
{
    return EncodeTable(TrayListHeader{0, 0}, std::span<const TrayEntry>(trays.begin(), trays.size()));
}

TrayEntry Tray(std::int16_t code, std::uint16_t number)
{
    TrayEntry t{};
    t.code = code;
    t.number = number;
    return t;
}

TEST(ModelEnvironment, PrintModeBytesFollowTheListAtThePrintQuality)
{
    struct Case {
        int b233, b234, quality;
        int want233, want234;
    };
    const Case cases[] = {
        {1, 1, 1200, 1, 1},  // listed and allowed
        {1, 3, 600, 1, 3},
        {2, 2, 300, 2, 2},
        {1, 3, 1200, 1, 1},  // 234 reconciled within 233's group at the new quality
        {1, 9, 600, 1, 1},
        {2, 9, 600, 2, 2},
        {2, 2, 1200, 1, 1},  // nothing of group 2 allows 1200: reset from the first record
        {7, 7, 300, 1, 1},
        {0, 0, 600, 1, 1},
    };
    for (const Case& c : cases) {
        Bytes d = DefaultDevmode();
        Set(d, 233, 1, c.b233);
        Set(d, 234, 1, c.b234);
        Set(d, 90, -2, c.quality);
        ReconcilePrintModes(d, kModes);
        EXPECT_EQ(Get(d, 233, 1), c.want233) << c.b233 << "/" << c.b234 << " at " << c.quality;
        EXPECT_EQ(Get(d, 234, 1), c.want234) << c.b233 << "/" << c.b234 << " at " << c.quality;
    }
}

TEST(ModelEnvironment, WithoutPrintModesNothingChanges)
{
    Bytes d = DefaultDevmode();
    Set(d, 233, 1, 9);
    Set(d, 234, 1, 9);
    const Bytes before = d;
    ReconcilePrintModes(d, {});
    EXPECT_EQ(d, before);

    // A damaged list counts as none.
    Bytes damaged = PrintModes();
    damaged.pop_back();
    ModelEnvironment env(Bytes{}, damaged);
    EXPECT_TRUE(env.PrintModes().empty());
    env.FinishRead(d);
    EXPECT_EQ(d, before);

    // A buffer too short for the bytes is left alone.
    Bytes shortBuffer(234, 0);
    ReconcilePrintModes(shortBuffer, kModes);
    EXPECT_EQ(shortBuffer, Bytes(234, 0));
}

TEST(ModelEnvironment, TraysAreTheListsCodesAndNumbersInOrder)
{
    const ModelEnvironment env(Trays({Tray(7, 7), Tray(1, 0), Tray(258, 5)}), PrintModes());
    ASSERT_EQ(env.Trays().size(), 3u);
    EXPECT_EQ(env.Trays()[2].code, 258);
    EXPECT_EQ(env.Trays()[2].number, 5);
    EXPECT_EQ(env.PrintModes().size(), std::size(kModes));

    Bytes overrun = Trays({Tray(7, 7), Tray(1, 0)});
    overrun[0] = 3;
    EXPECT_TRUE(ModelEnvironment(overrun, {}).Trays().empty());
}

TEST(ModelEnvironment, ReadingDataUsesTheModelsTraysAndPrintModes)
{
    ModelEnvironment env(Trays({Tray(7, 7), Tray(1, 0), Tray(258, 5)}), PrintModes());

    Bytes source = DefaultDevmode();
    Set(source, 88, -2, 258);
    Set(source, 90, -2, 1200);
    Set(source, 233, 1, 2);  // photo, listed up to 600 dpi only
    const Bytes data = BuildConfigData(source, &env);

    Bytes read = DefaultDevmode();
    Set(read, 233, 1, 1);
    Set(read, 234, 1, 2);
    ASSERT_TRUE(ReadConfigData(data, read, 0, &env));
    EXPECT_EQ(Get(read, 88, -2), 258) << "tray 4 found by its tray number";
    EXPECT_EQ(Get(read, 90, -2), 1200);
    EXPECT_EQ(Get(read, 233, 1), 1);
    EXPECT_EQ(Get(read, 234, 1), 1);

    // Without the model the tray cannot be resolved and the bytes stay as read.
    Bytes plain = DefaultDevmode();
    ASSERT_TRUE(ReadConfigData(data, plain, 0));
    EXPECT_EQ(Get(plain, 88, -2), 7);
    EXPECT_EQ(Get(plain, 233, 1), 2);
}

}  // namespace
