// Which values count as the user's settings, and which follow the hardware.
#include <gtest/gtest.h>

#include "DevmodeTestUtil.h"
#include "Settings.h"

using namespace devmode;
using namespace dmtest;

namespace {

TEST(DevmodeSettings, EachSettingTellsDevmodesApart)
{
    const FakeResources resources = FirstModelResources();
    const Buffer base = FirstModelDefaults(resources);
    ASSERT_TRUE(SettingsEqual(base, base));
    // A byte of each compared group (public fields by their low byte).
    const std::size_t settings[] = {
        76, 78, 86, 88, 90, 92, 94, 98, 100, 188, 192, 200, 225, 227, 229, 234, 236, 237, 448, 450,
        458, 466, 467, 603, 605, 606, 649, 650, 674, 816, 819, 1077, 1083, 1088, 1091, 1094, 1096,
        1097, 1084, 1124, 1226, 1249,
    };
    for (const std::size_t at : settings) {
        Buffer other = base;
        other[at] ^= 0x01;
        EXPECT_FALSE(SettingsEqual(base, other)) << "byte " << at;
    }
    // Values outside the settings: names, hardware marks, configuration identity, checksum.
    const std::size_t others[] = {0, 64, 84, 96, 224, 228, 235, 238, 239, 434, 462, 820, 1092,
                                  1093, 1100, 1108, 1125, 1224, 1250};
    for (const std::size_t at : others) {
        Buffer other = base;
        other[at] ^= 0x01;
        EXPECT_TRUE(SettingsEqual(base, other)) << "byte " << at;
    }
}

TEST(DevmodeSettings, TextsCompareWithoutCase)
{
    Buffer a{}, b{};
    SetWideText(a, kFirstPageOverlay, u"Confidential");
    SetWideText(b, kFirstPageOverlay, u"CONFIDENTIAL");
    SetText(a, kHoldUserName, "Alice");
    SetText(b, kHoldUserName, "aLICE");
    EXPECT_TRUE(SettingsEqual(a, b));
    // Bytes after a text's terminator are not part of it.
    b[kHoldNumber.offset + 3] = 'x';
    EXPECT_TRUE(SettingsEqual(a, b));
    SetText(b, kHoldNumber, "12");
    EXPECT_FALSE(SettingsEqual(a, b));
    SetText(b, kHoldNumber, "");
    SetWideText(b, kOtherPagesOverlay, u"x");
    EXPECT_FALSE(SettingsEqual(a, b));
}

TEST(DevmodeSettings, HardwareValuesComeFromTheFreshDevmode)
{
    Buffer fresh{}, stored{};
    for (std::size_t i = kPublicSize; i < kSize; ++i) {
        fresh[i] = 0xA0;
        stored[i] = 0x0B;
    }
    CopyHardwareValues(stored, fresh);
    const std::size_t refreshed[] = {434, 435, 224, 1104, 462, 463, 464, 465, 459, 460, 461,
                                     1080, 1090, 1229, 1227, 1236};
    for (const std::size_t at : refreshed)
        EXPECT_EQ(stored[at], 0xA0) << "byte " << at;
    std::size_t untouched = 0;
    for (std::size_t i = kPublicSize; i < kSize; ++i)
        untouched += stored[i] == 0x0B;
    EXPECT_EQ(untouched, kPrivateSize - std::size(refreshed)) << "the account byte stays";

    // With bit 2 of the model flag word at 394 the account byte is hardware too.
    Set(fresh, kOptionFlags, std::uint16_t(0x4));
    CopyHardwareValues(stored, fresh);
    EXPECT_EQ(stored[1124], 0xA0);
}

}  // namespace
