// The papers a model offers, in the capability answers' order, and the answers that follow from
// the devmode alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Capabilities.h"
#include "CapsTestUtil.h"
#include "PaperList.h"

using namespace caps;
using namespace capstest;

namespace {

std::vector<std::int16_t> Codes(const std::vector<PaperListEntry>& list)
{
    std::vector<std::int16_t> codes;
    for (const PaperListEntry& e : list)
        codes.push_back(e.code);
    return codes;
}

PrinterForms Forms()
{
    PrinterForms forms;
    forms.user.push_back(UserForm(513, "Label", 4800, 7200));
    forms.user.push_back(UserForm(768, "Template", 4800, 7200));  // not a paper of its own
    forms.associations.push_back(Association(641, "Letterhead", 1));
    forms.spooler.push_back({u"Too small", 50000, 80000});
    forms.spooler.push_back({u"Index card", 101600, 152400});
    forms.spooler.push_back({u"Too long", 200000, 400000});
    return forms;
}

TEST(PaperList, BuiltInPapersInCodeOrderThenForms)
{
    struct Case {
        const char* what;
        std::uint16_t set;
        std::uint8_t mode229;
        std::uint16_t flags396;
        std::vector<std::int16_t> codes;
    };
    const std::vector<std::int16_t> desktop = {1, 5, 6, 7, 9, 11, 13, 14, 19, 20, 27, 28, 34, 37, 256, 257, 258, 262};
    const std::vector<std::int16_t> workgroup = {1,  5,  6,  7,  9,   11,  13,  14,  19,  20,  27,
                                                 28, 34, 37, 256, 257, 258, 259, 260, 261, 262};
    const auto with = [](std::vector<std::int16_t> v, std::initializer_list<std::int16_t> more) {
        v.insert(v.end(), more);
        return v;
    };
    const Case cases[] = {
        // Without the forms bit only the associations join the built-in papers.
        {"desktop", kDesktopSet, 0, 0, with(desktop, {641})},
        {"workgroup", kWorkgroupSet, 0, 0, with(workgroup, {513, 641, 897})},
        // The compatible mode drops the forms of the lists and the spooler, unless the model
        // offers them in any mode.
        {"workgroup, compatible mode", kWorkgroupSet, 2, 0, with(workgroup, {641})},
        {"workgroup, forms in any mode", kWorkgroupSet, 2, 0x8000, with(workgroup, {513, 641, 897})},
        {"colour", kColourSet, 0, 0, {1, 5, 6, 7, 9, 11, 13, 14, 20, 27, 28, 37, 256, 257, 258, 262, 513, 641, 897}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        devmode::Buffer d = PaperDevmode(c.set);
        devmode::Set(d, devmode::kGraphicsMode, c.mode229);
        devmode::Set(d, devmode::kPaperHandlingFlags, c.flags396);
        EXPECT_EQ(Codes(BuildPaperList(d, Forms(), kLimits)), c.codes);
    }
}

TEST(PaperList, SizesAndNames)
{
    const auto list = BuildPaperList(PaperDevmode(kWorkgroupSet), Forms(), kLimits);
    struct Expected {
        std::int16_t code;
        std::int32_t width, length;
        std::uint16_t logicalName;
        std::u16string name;
    };
    const Expected expected[] = {
        {1, 2159, 2794, 1000, u""},
        {9, 2100, 2970, 1003, u""},
        {256, 2159, 3556, 1016, u""},  // the largest user size without one in the devmode
        {513, 1016, 1524, 0, u"Label"},
        {641, 2159, 2794, 0, u"Letterhead"},
        {897, 1016, 1524, 0, u"Index card"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.code);
        const auto it = std::find_if(list.begin(), list.end(), [&](const PaperListEntry& p) { return p.code == e.code; });
        ASSERT_NE(it, list.end());
        EXPECT_EQ(it->width, e.width);
        EXPECT_EQ(it->length, e.length);
        EXPECT_EQ(it->logicalName, e.logicalName);
        EXPECT_TRUE(it->name == e.name);
    }
}

TEST(PaperList, LandscapeSwapsEverySize)
{
    devmode::Buffer portrait = PaperDevmode(kWorkgroupSet);
    devmode::Buffer landscape = portrait;
    devmode::Set(landscape, devmode::dmOrientation, 2);
    const auto upright = BuildPaperList(portrait, Forms(), kLimits);
    const auto turned = BuildPaperList(landscape, Forms(), kLimits);
    ASSERT_EQ(Codes(upright), Codes(turned));
    for (std::size_t i = 0; i < upright.size(); ++i) {
        SCOPED_TRACE(upright[i].code);
        EXPECT_EQ(turned[i].width, upright[i].length);
        EXPECT_EQ(turned[i].length, upright[i].width);
    }
}

TEST(PaperList, SpoolerFormsNeedTheModelsLimits)
{
    const auto list = BuildPaperList(PaperDevmode(kWorkgroupSet), Forms(), std::nullopt);
    const auto codes = Codes(list);
    EXPECT_EQ(std::count_if(codes.begin(), codes.end(), [](std::int16_t c) { return c >= 896; }), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 256), 0) << "no user-defined size without limits";
}

model::TrayList Trays(std::initializer_list<std::pair<std::uint16_t, std::int16_t>> maskAndCode)
{
    model::TrayList list;
    for (const auto& [mask, code] : maskAndCode) {
        model::TrayEntry t{};
        t.mask = mask;
        t.code = code;
        list.entries.push_back(t);
    }
    return list;
}

TEST(Capabilities, InstalledTraysFollowTheMask)
{
    const model::TrayList trays = Trays({{0x1, 7}, {0x2, 1}, {0x4, 2}, {0x8, 257}, {0x2, 4}, {0x0, 99}});
    struct Case {
        std::int16_t mask;
        std::vector<std::int16_t> codes;
    };
    const Case cases[] = {{0x7, {7, 1, 2, 4}}, {0xF, {7, 1, 2, 257, 4}}, {-1, {7, 1, 2, 257, 4}}, {0, {}}, {0x8, {257}}};
    for (const Case& c : cases) {
        std::vector<std::int16_t> codes;
        for (const model::TrayEntry& t : InstalledTrays(trays, c.mask))
            codes.push_back(t.code);
        EXPECT_EQ(codes, c.codes) << c.mask;
    }
    model::TrayList many;
    for (int i = 0; i < 20; ++i)
        many.entries.push_back(Trays({{0x1, std::int16_t(i)}}).entries[0]);
    EXPECT_EQ(InstalledTrays(many, 1).size(), kMaxBins);
}

TEST(Capabilities, ResolutionsStartWithThePrintQuality)
{
    struct Case {
        std::int16_t quality;
        std::vector<std::uint16_t> list;
        std::vector<std::int32_t> expected;
    };
    const Case cases[] = {
        {600, {300, 600, 1200, 1200, 1200}, {600, 300, 1200}},
        {1200, {600, 600, 1200, 0, 0}, {1200, 600}},
        {-1, {300, 600, 1200, 1200, 1200}, {1200, 300, 600}},  // draft levels map onto the list
        {0, {300, 600, 1200, 1200, 1200}, {600, 300, 1200}},   // 0: the default resolution
    };
    for (const Case& c : cases) {
        devmode::Buffer d = PaperDevmode(kDesktopSet);
        devmode::Set(d, devmode::dmPrintQuality, c.quality);
        for (std::size_t i = 0; i < 5; ++i)
            devmode::Set(d, devmode::U16{std::uint16_t(devmode::kResolutionList.offset + 2 * i)}, c.list[i]);
        EXPECT_EQ(EnumResolutions(d), c.expected) << c.quality;
    }
}

TEST(Capabilities, DuplexBinAdjustAndExtents)
{
    struct Case {
        std::uint16_t flags396;
        std::uint8_t finishing;
        std::int16_t source;
        std::uint32_t duplex, binAdjust;
    };
    const Case cases[] = {
        {0, 0, 7, 0, 2},        {0x0800, 0, 7, 1, 2},   {0x1000, 0, 7, 1, 2},  {0, 3, 7, 1, 2},
        {0, 0, 14, 0, 1},       {0x0200, 0, 14, 0, 2},  {0x0400, 0, 14, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.flags396 << " " << int(c.finishing) << " " << c.source);
        devmode::Buffer d = PaperDevmode(kDesktopSet);
        devmode::Set(d, devmode::kPaperHandlingFlags, c.flags396);
        devmode::Set(d, devmode::kFinishing, c.finishing);
        devmode::Set(d, devmode::dmDefaultSource, c.source);
        EXPECT_EQ(DuplexAnswer(d), c.duplex);
        EXPECT_EQ(BinAdjustAnswer(d), c.binAdjust);
    }
    EXPECT_EQ(ExtentAnswer(kLimits, false), 762u | 1270u << 16);
    EXPECT_EQ(ExtentAnswer(kLimits, true), 2159u | 3556u << 16);
    EXPECT_EQ(ExtentAnswer(std::nullopt, true), 0u);
}

}  // namespace
