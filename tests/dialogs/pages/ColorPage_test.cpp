// The Color page on the real document sheet of the colour model: the colour mode against the
// model's colour bit, the lists' names and what reaches the devmode, an empty range, and the
// monochrome models, whose page-template sets have no Color page.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
using pagetest::Sheet;

class ColorPageTest : public pagetest::SheetTest {};

HWND Reopen(Sheet& s)
{
    s.Page(IDD_ABOUT);
    return s.Page(IDD_COLOR);
}

LPARAM ItemData(HWND page, int id, int index)
{
    return LPARAM(SendDlgItemMessageW(page, id, CB_GETITEMDATA, WPARAM(index), 0));
}

TEST_F(ColorPageTest, TheMonochromeModelsHaveNoColorPages)
{
    for (const char* model : {pagetest::kDesktop, pagetest::kWorkgroup}) {
        OpenDocumentSheet(Printer(model), [model](Sheet& s) {
            const std::vector<int> templates = s.Templates();
            EXPECT_EQ(std::count(templates.begin(), templates.end(), IDD_COLOR), 0) << model;
            EXPECT_EQ(std::count(templates.begin(), templates.end(), IDD_ADVANCED_COLOR), 0) << model;
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan()) << model;
    }
}

TEST_F(ColorPageTest, ColourIsOfferedOnlyWithTheModelsColourBit)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        HWND page = s.Page(IDD_COLOR);
        ASSERT_TRUE(page);
        ASSERT_EQ(s.Items(page, IDC_COLOR_MODE).size(), 2u);
        EXPECT_EQ(ItemData(page, IDC_COLOR_MODE, 0), 2) << "colour first";
        ASSERT_TRUE(s.ChooseData(page, IDC_COLOR_MODE, 2));
        EXPECT_EQ(s.Entry(f::kColourMode.id).Current(), 2);

        s.Context().devmodeCopies[0] &= ~0x0008;
        page = Reopen(s);
        ASSERT_EQ(s.Items(page, IDC_COLOR_MODE).size(), 1u);
        EXPECT_EQ(ItemData(page, IDC_COLOR_MODE, 0), 1);
        EXPECT_EQ(s.Entry(f::kColourMode.id).Current(), 1) << "colour is not offered: monochrome";
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(ColorPageTest, ChoicesReachTheDevmode)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        const HWND page = s.Page(IDD_COLOR);
        ASSERT_TRUE(page);
        // Every list offers its whole range, each value by name.
        struct Case {
            int control;
            std::size_t items;
        };
        for (const Case c : {Case{IDC_C1, 4}, Case{IDC_C2, 3}, Case{IDC_C3, 6}, Case{IDC_C4, 4}, Case{IDC_C5, 4},
                             Case{IDC_C6, 4}, Case{IDC_C7, 4}}) {
            const std::vector<std::wstring> items = s.Items(page, c.control);
            EXPECT_EQ(items.size(), c.items) << c.control;
            for (const std::wstring& item : items)
                EXPECT_FALSE(item.empty()) << c.control;
            EXPECT_GE(s.Selected(page, c.control), 0) << c.control;
        }
        ASSERT_TRUE(s.ChooseData(page, IDC_C1, 3));
        ASSERT_TRUE(s.ChooseData(page, IDC_C3, 5));
        ASSERT_TRUE(s.ChooseData(page, IDC_C7, 2));
        s.Click(page, IDC_C8);
        EXPECT_EQ(s.Entry(f::kC8.id).Current(), 1);
        EXPECT_TRUE(s.ApplyEnabled());
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature44), 3);
    EXPECT_EQ(devmode::Get(Out(), devmode::kColourC3), 5);
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature124), 2);
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature99), 1);
}

TEST_F(ColorPageTest, AnEmptyRangeShowsNothingAndKeepsTheDefaultAndAWideOneItsNamedValues)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_COLOR));
        pages::EntryView c2 = s.Entry(f::kC2.id);
        c2.Set<std::int16_t>(f::value::kMinimum, 2);
        c2.Set<std::int16_t>(f::value::kMaximum, 1);
        c2.SetCurrent(2);
        c2.Set<std::int16_t>(f::kDefault, 0);
        const HWND page = Reopen(s);
        EXPECT_TRUE(s.Items(page, IDC_C2).empty());
        EXPECT_FALSE(s.Enabled(page, IDC_C2));
        EXPECT_EQ(c2.Current(), 0);

        // A damaged layout's range as wide as a 16-bit value: the values that have names.
        pages::EntryView c4 = s.Entry(f::kC4.id);
        c4.Set<std::int16_t>(f::value::kMinimum, -32768);
        c4.Set<std::int16_t>(f::value::kMaximum, 32767);
        c4.SetCurrent(2);
        Reopen(s);
        EXPECT_EQ(s.Items(page, IDC_C4).size(), 4u);
        EXPECT_EQ(c4.Current(), 2);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(ColorPageTest, DefaultsAndPermission)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        const HWND page = s.Page(IDD_COLOR);
        ASSERT_TRUE(page);
        ASSERT_TRUE(s.ChooseData(page, IDC_C4, 3));
        s.Click(page, IDC_C8);
        s.Click(page, IDC_DEFAULTS);
        EXPECT_EQ(s.Entry(f::kC4.id).Current(), s.Entry(f::kC4.id).Default());
        EXPECT_EQ(s.Entry(f::kC8.id).Current(), s.Entry(f::kC8.id).Default());
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_C8) == BST_CHECKED, s.Entry(f::kC8.id).Default() != 0);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
    OpenDocumentSheet(
        Printer(pagetest::kColour),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_COLOR);
            ASSERT_TRUE(page);
            for (int id : {IDC_COLOR_MODE, IDC_C1, IDC_C2, IDC_C3, IDC_C4, IDC_C5, IDC_C6, IDC_C7, IDC_C8, IDC_DEFAULTS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
