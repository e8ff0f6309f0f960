// The Advanced color page on the real document sheet of the colour model: which lists the Color
// and Graphics pages' settings enable, the adjustments' ranges on their scroll bars, and a user
// without permission.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
using pagetest::Sheet;

class AdvColorPageTest : public pagetest::SheetTest {};

constexpr int kProfiles[] = {IDC_PROFILE_TEXT, IDC_PROFILE_GRAPHICS, IDC_PROFILE_PHOTO};
constexpr int kChoices[] = {IDC_ADJUST(IDC_ADJUST_TEXT, ADJUST_CHOICE), IDC_ADJUST(IDC_ADJUST_GRAPHICS, ADJUST_CHOICE),
                            IDC_ADJUST(IDC_ADJUST_PHOTO, ADJUST_CHOICE)};

HWND ReopenAdvanced(Sheet& s)
{
    s.Page(IDD_ABOUT);
    return s.Page(IDD_ADVANCED_COLOR);
}

TEST_F(AdvColorPageTest, TheProfilesNeedCustomColoursAndTheChoicesColourAdjustment)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        HWND colour = s.Page(IDD_COLOR);
        ASSERT_TRUE(colour);
        ASSERT_TRUE(s.ChooseData(colour, IDC_C3, 4));
        HWND page = s.Page(IDD_ADVANCED_COLOR);
        ASSERT_TRUE(page);
        for (int id : kProfiles)
            EXPECT_FALSE(s.Enabled(page, id)) << id;
        for (int id : kChoices)
            EXPECT_TRUE(s.Enabled(page, id)) << id;

        colour = s.Page(IDD_COLOR);
        ASSERT_TRUE(s.ChooseData(colour, IDC_C3, 5));
        page = s.Page(IDD_ADVANCED_COLOR);
        for (int id : kProfiles) {
            EXPECT_TRUE(s.Enabled(page, id)) << id;
            EXPECT_EQ(s.Items(page, id).size(), 6u) << id;
        }

        // Grayscale printing, C1 at 2, or a quality that leaves no adjustment: no colour choices.
        struct Case {
            const char* what;
            std::function<void()> set, undo;
        };
        pages::EntryView q = s.Entry(f::kQuality.id);
        const auto flagAt = feature::resolution::kTriples + std::size_t(q.Current()) * feature::resolution::kTripleSize +
                            feature::resolution::kFlag;
        const std::uint16_t flag = q.Get<std::uint16_t>(flagAt);
        const Case cases[] = {
            {"C8", [&] { s.Entry(f::kC8.id).SetCurrent(1); }, [&] { s.Entry(f::kC8.id).SetCurrent(0); }},
            {"C1", [&] { s.Entry(f::kC1.id).SetCurrent(2); }, [&] { s.Entry(f::kC1.id).SetCurrent(0); }},
            {"quality", [&] { q.Set<std::uint16_t>(flagAt, flag | 0x0004); }, [&] { q.Set<std::uint16_t>(flagAt, flag); }},
        };
        for (const Case& c : cases) {
            c.set();
            page = ReopenAdvanced(s);
            for (int id : kChoices)
                EXPECT_FALSE(s.Enabled(page, id)) << c.what << " " << id;
            c.undo();
        }
        page = ReopenAdvanced(s);
        for (int id : kChoices)
            EXPECT_TRUE(s.Enabled(page, id)) << id;
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(AdvColorPageTest, TheAdjustmentsStayWithinTheirRanges)
{
    const int brightness = IDC_ADJUST(IDC_ADJUST_TEXT, ADJUST_A);
    const int sharpness = IDC_ADJUST(IDC_ADJUST_PHOTO, ADJUST_C);
    OpenDocumentSheet(Printer(pagetest::kColour), [=](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_ADVANCED_COLOR));
        pages::EntryView a = s.Entry(f::kColour1A.id);
        pages::EntryView c = s.Entry(f::kColour3C.id);
        a.SetCurrent(120);
        c.SetCurrent(-5);
        HWND page = ReopenAdvanced(s);
        EXPECT_EQ(a.Current(), 100);
        EXPECT_EQ(s.Text(page, brightness + 1), L"100");
        EXPECT_EQ(c.Current(), 0);
        EXPECT_EQ(s.Text(page, sharpness + 1), L"0");

        struct Step {
            int bar, code, position, expected;
        };
        const Step steps[] = {
            {brightness, SB_THUMBPOSITION, 98, 98}, {brightness, SB_PAGERIGHT, 0, 100},
            {brightness, SB_LINERIGHT, 0, 100},     {brightness, SB_LEFT, 0, -100},
            {brightness, SB_LINELEFT, 0, -100},     {brightness, SB_PAGERIGHT, 0, -96},
            {brightness, SB_THUMBPOSITION, -20, -20}, {sharpness, SB_RIGHT, 0, 40},
            {sharpness, SB_THUMBPOSITION, 55, 40},  {sharpness, SB_PAGELEFT, 0, 36},
            {sharpness, SB_THUMBPOSITION, -3, 0},   {sharpness, SB_LINERIGHT, 0, 1},
        };
        for (const Step& step : steps) {
            s.Scroll(page, step.bar, step.code, step.position);
            const pages::EntryView e = step.bar == brightness ? a : c;
            EXPECT_EQ(e.Current(), step.expected) << step.bar << " code " << step.code;
            EXPECT_EQ(GetScrollPos(GetDlgItem(page, step.bar), SB_CTL), step.expected) << step.bar;
            EXPECT_EQ(s.Text(page, step.bar + 1), std::to_wstring(step.expected)) << step.bar;
        }
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature31), -20);
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature41), 1);
}

TEST_F(AdvColorPageTest, WithoutPermissionEveryControlIsGreyed)
{
    OpenDocumentSheet(
        Printer(pagetest::kColour),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_ADVANCED_COLOR);
            ASSERT_TRUE(page);
            for (int group : {IDC_ADJUST_TEXT, IDC_ADJUST_GRAPHICS, IDC_ADJUST_PHOTO})
                for (int part : {ADJUST_CHOICE, ADJUST_A, ADJUST_B, ADJUST_C})
                    EXPECT_FALSE(s.Enabled(page, IDC_ADJUST(group, part))) << group << "+" << part;
            for (int id : kProfiles)
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            EXPECT_FALSE(s.Enabled(page, IDC_DEFAULTS));
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
