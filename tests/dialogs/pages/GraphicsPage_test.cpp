// The Graphics page on the real document sheet: the quality list and what reaches the devmode,
// the combined pair, halftoning against the graphics mode, the density level, values the lists do
// not offer, and a user without permission.
#include <gtest/gtest.h>

#include <windows.h>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
namespace res = feature::resolution;
using pagetest::Sheet;

class GraphicsPageTest : public pagetest::SheetTest {};

// The page again after another page was in front: what PSN_SETACTIVE fills.
HWND Reopen(Sheet& s)
{
    s.Page(IDD_ABOUT);
    return s.Page(IDD_GRAPHICS);
}

LPARAM ItemData(HWND page, int id, int index)
{
    return LPARAM(SendDlgItemMessageW(page, id, CB_GETITEMDATA, WPARAM(index), 0));
}

TEST_F(GraphicsPageTest, EveryModelHasThePage)
{
    for (const char* model : pagetest::kModels) {
        OpenDocumentSheet(Printer(model), [model](Sheet& s) {
            const HWND page = s.Page(IDD_GRAPHICS);
            ASSERT_TRUE(page) << model;
            EXPECT_FALSE(s.Items(page, IDC_QUALITY).empty()) << model;
            EXPECT_GE(s.Selected(page, IDC_QUALITY), 0) << model;
            EXPECT_GE(s.Selected(page, IDC_GRAPHICS_MODE), 0) << model;
            EXPECT_GE(s.Selected(page, IDC_G1), 0) << model << ": G1 from entry 15 or 79";
            EXPECT_GE(s.Selected(page, IDC_PRINT_MODE), 0) << model;
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan()) << model;
    }
}

TEST_F(GraphicsPageTest, TheChosenQualityReachesTheDevmode)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const HWND page = s.Page(IDD_GRAPHICS);
        ASSERT_TRUE(page);
        // 300, 600, 600 enhanced, 1200 and a repeat of 1200: the repeat is not offered again.
        ASSERT_EQ(s.Items(page, IDC_QUALITY).size(), 4u);
        ASSERT_TRUE(s.ChooseData(page, IDC_QUALITY, 3));
        EXPECT_EQ(s.Entry(f::kQuality.id).Current(), 3);
        EXPECT_EQ(s.Text(s.Summary(), IDC_SUMMARY_QUALITY), s.Items(page, IDC_QUALITY)[3]);
        EXPECT_TRUE(s.ApplyEnabled());
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmPrintQuality), 1200);
    EXPECT_EQ(devmode::Get(Out(), devmode::dmYResolution), 1200);
}

TEST_F(GraphicsPageTest, AQualityChoiceWithoutANameIsNotOffered)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_GRAPHICS));
        pages::EntryView q = s.Entry(f::kQuality.id);
        q.Set<std::uint16_t>(res::kTriples + 1 * res::kTripleSize + res::kName, 0);  // the 600-dpi choice
        q.SetCurrent(0);
        const HWND page = Reopen(s);
        ASSERT_EQ(s.Items(page, IDC_QUALITY).size(), 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_NE(ItemData(page, IDC_QUALITY, i), 1) << i;
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(GraphicsPageTest, AResolutionInsteadOfAPositionSelectsItsChoice)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_GRAPHICS));
        pages::EntryView q = s.Entry(f::kQuality.id);
        q.SetCurrent(600);
        q.Set<std::uint16_t>(res::kRecompute1, 1);  // the enhanced 600-dpi choice's flag word
        const HWND page = Reopen(s);
        EXPECT_EQ(q.Current(), 2);
        EXPECT_EQ(ItemData(page, IDC_QUALITY, s.Selected(page, IDC_QUALITY)), 2);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(GraphicsPageTest, TheCombinedListOffersThePairsTheQualityReachesAndSetsBothEntries)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        const HWND page = s.Page(IDD_GRAPHICS);
        ASSERT_TRUE(page);
        // The colour model's pairs reach 1200, 1200, 600 and 600 dpi.
        ASSERT_TRUE(s.ChooseData(page, IDC_QUALITY, 2));  // 1200 dpi
        EXPECT_EQ(s.Items(page, IDC_PRINT_MODE).size(), 2u);
        ASSERT_TRUE(s.ChooseData(page, IDC_QUALITY, 0));  // 600 dpi
        ASSERT_EQ(s.Items(page, IDC_PRINT_MODE).size(), 4u);
        EXPECT_TRUE(s.Enabled(page, IDC_PRINT_MODE));
        ASSERT_TRUE(s.ChooseData(page, IDC_PRINT_MODE, 2 << 8 | 2));
        EXPECT_EQ(s.Entry(f::kPairFirst.id).Current(), 2);
        EXPECT_EQ(s.Entry(f::kPairSecond.id).Current(), 2);
        // Back at 1200 dpi the pair is not offered: the first pair that is takes its place.
        ASSERT_TRUE(s.ChooseData(page, IDC_QUALITY, 2));
        EXPECT_EQ(s.Selected(page, IDC_PRINT_MODE), 0);
        EXPECT_EQ(s.Entry(f::kPairFirst.id).Current(), 1);
        EXPECT_EQ(s.Entry(f::kPairSecond.id).Current(), 1);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kCombinedPairP), 1);
}

TEST_F(GraphicsPageTest, ACombinedListWithOnePairIsDisabledAndReportsNoChange)
{
    OpenDocumentSheet(Printer(pagetest::kDesktop), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_GRAPHICS));
        // Only the first record reaches 1200 dpi once the second one's limit is lowered.
        pages::EntryView p = s.Entry(f::kPairFirst.id);
        p.Set<std::uint16_t>(f::print_mode::kModes + 1 * f::print_mode::kModeSize + 4, 600);
        p.SetCurrent(1);
        s.Entry(f::kPairSecond.id).SetCurrent(1);
        s.Entry(f::kQuality.id).SetCurrent(2);  // 1200 dpi
        const HWND page = Reopen(s);
        ASSERT_EQ(s.Items(page, IDC_PRINT_MODE).size(), 1u);
        EXPECT_FALSE(s.Enabled(page, IDC_PRINT_MODE));
        EXPECT_EQ(ItemData(page, IDC_PRINT_MODE, 0), LPARAM(-1));
        s.Choose(page, IDC_PRINT_MODE, 0);
        EXPECT_EQ(p.Current(), 1);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(GraphicsPageTest, TheCompatibleGraphicsModeGreysTheHalftones)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const HWND page = s.Page(IDD_GRAPHICS);
        ASSERT_TRUE(page);
        ASSERT_TRUE(s.ChooseData(page, IDC_GRAPHICS_MODE, f::kCompatibleMode));
        EXPECT_EQ(s.Entry(f::kGraphicsMode.id).Current(), f::kCompatibleMode);
        for (int id : {IDC_DITHER_COARSE, IDC_DITHER_NONE, IDC_DITHER_FINE})
            EXPECT_FALSE(s.Enabled(page, id)) << id;
        ASSERT_TRUE(s.ChooseData(page, IDC_GRAPHICS_MODE, 1));
        for (int id : {IDC_DITHER_COARSE, IDC_DITHER_NONE, IDC_DITHER_FINE})
            EXPECT_TRUE(s.Enabled(page, id)) << id;
        s.Click(page, IDC_DITHER_COARSE);
        EXPECT_EQ(s.Entry(f::kThreeWayChoice.id).Current(), 2);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmDitherType), 2u);
}

TEST_F(GraphicsPageTest, TheLevelStaysWithinItsRange)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_GRAPHICS));
        pages::EntryView level = s.Entry(f::kLevel.id);
        level.SetCurrent(12);
        const HWND page = Reopen(s);
        EXPECT_EQ(level.Current(), 8) << "a level of 12 shows and is stored as 8";
        EXPECT_EQ(GetScrollPos(GetDlgItem(page, IDC_LEVEL), SB_CTL), 8);
        struct Step {
            int code, position, expected;
        };
        const Step steps[] = {{SB_LINERIGHT, 0, 8}, {SB_PAGELEFT, 0, 4}, {SB_PAGELEFT, 0, 0}, {SB_LINELEFT, 0, 0},
                              {SB_PAGERIGHT, 0, 4}, {SB_THUMBPOSITION, 6, 6}, {SB_THUMBPOSITION, 30, 8},
                              {SB_LEFT, 0, 0},      {SB_RIGHT, 0, 8}};
        for (const Step& step : steps) {
            s.Scroll(page, IDC_LEVEL, step.code, step.position);
            EXPECT_EQ(level.Current(), step.expected) << "code " << step.code;
            EXPECT_EQ(GetScrollPos(GetDlgItem(page, IDC_LEVEL), SB_CTL), step.expected) << "code " << step.code;
        }
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature14), 8);
}

// A value that no list item stands for takes the default, or the first item when the default is
// not offered either; the fill runs one refresh for it and returns.
TEST_F(GraphicsPageTest, AnUnlistedValueSettlesOnTheDefaultOrTheFirstItem)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_GRAPHICS));
        pages::EntryView mode = s.Entry(f::kGraphicsMode.id);
        mode.SetCurrent(7);
        mode.Set<std::int16_t>(f::kDefault, f::kCompatibleMode);
        HWND page = Reopen(s);
        EXPECT_EQ(mode.Current(), f::kCompatibleMode) << "the default";
        EXPECT_EQ(ItemData(page, IDC_GRAPHICS_MODE, s.Selected(page, IDC_GRAPHICS_MODE)), f::kCompatibleMode);
        EXPECT_EQ(mode.Changed(), false) << "the refresh ran and took the changed flag";

        mode.SetCurrent(7);
        mode.Set<std::int16_t>(f::kDefault, 9);
        s.Entry(f::kG2.id).SetCurrent(5);
        page = Reopen(s);
        EXPECT_EQ(mode.Current(), 1) << "the first item";
        EXPECT_EQ(s.Selected(page, IDC_GRAPHICS_MODE), 0);
        EXPECT_EQ(s.Entry(f::kG2.id).Current(), s.Entry(f::kG2.id).Default());
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(GraphicsPageTest, DefaultsRestoreEveryEntry)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const HWND page = s.Page(IDD_GRAPHICS);
        ASSERT_TRUE(page);
        s.Scroll(page, IDC_LEVEL, SB_RIGHT);
        s.Click(page, IDC_DITHER_COARSE);
        ASSERT_TRUE(s.ChooseData(page, IDC_QUALITY, 0));
        s.Click(page, IDC_DEFAULTS);
        for (int id : {f::kLevel.id, f::kThreeWayChoice.id, f::kQuality.id, f::kPairFirst.id, f::kGraphicsMode.id})
            EXPECT_EQ(s.Entry(id).Current(), s.Entry(id).Default()) << id;
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_DEFAULTS));
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(GraphicsPageTest, WithoutPermissionEveryControlIsGreyed)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_GRAPHICS);
            ASSERT_TRUE(page);
            for (int id : {IDC_QUALITY, IDC_GRAPHICS_MODE, IDC_G1, IDC_G2, IDC_G3, IDC_G4, IDC_G5, IDC_PRINT_MODE,
                           IDC_DITHER_COARSE, IDC_DITHER_NONE, IDC_DITHER_FINE, IDC_LEVEL, IDC_DEFAULTS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
