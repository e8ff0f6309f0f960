// The Setup page on the real document sheet: copies from the field and the spin, the duplex
// group by the unit's edges and the blocker, pages per sheet with their order, greying without
// permission, and the devmode after Apply as the controls show it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
using pagetest::Sheet;

class SetupPageTest : public pagetest::SheetTest {
protected:
    std::wstring LibraryString(UINT id) const { return pagetest::LanguageString(LibraryDir(), id); }
};

TEST_F(SetupPageTest, CopiesAreClampedFromTheFieldAndTheSpin)
{
    struct Case {
        const wchar_t* typed;
        int copies;
        const wchar_t* shown;
    };
    const Case typed[] = {{L"0", 1, L"1"}, {L"12000", 9999, L"9999"}, {L"7", 7, L"7"}, {L"99999999999", 9999, L"9999"}};
    struct Spin {
        int code;
        int from, to;
    };
    const Spin spins[] = {{SB_TOP, 5, 9999},     {SB_BOTTOM, 5, 1},        {SB_LINEUP, 5, 6},  {SB_LINEDOWN, 5, 4},
                          {SB_PAGEUP, 5, 15},    {SB_PAGEDOWN, 5, 1},      {SB_LINEUP, 9999, 9999}, {SB_LINEDOWN, 1, 1}};
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        for (const Case& c : typed) {
            s.Type(page, IDC_COPIES, c.typed);
            EXPECT_EQ(s.Entry(f::kCopies.id).Current(), c.copies) << c.typed;
            EXPECT_EQ(s.Text(page, IDC_COPIES), c.shown) << c.typed;
        }
        EXPECT_TRUE(s.ApplyEnabled());
        for (const Spin& c : spins) {
            s.Type(page, IDC_COPIES, std::to_wstring(c.from));
            s.Scroll(page, IDC_COPIES_SPIN, c.code);
            EXPECT_EQ(s.Entry(f::kCopies.id).Current(), c.to) << "code " << c.code << " from " << c.from;
            EXPECT_EQ(s.Text(page, IDC_COPIES), std::to_wstring(c.to)) << "code " << c.code;
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_TRUE(DialogsSeen().empty()) << "numbers are no mistake";
}

TEST_F(SetupPageTest, AnEmptyCopiesFieldWarnsWithTheLabelAndKeepsTheCopies)
{
    const std::wstring caption = LibraryString(IDS_MESSAGE_CAPTION);
    Answer(caption, IDOK);
    std::wstring label;
    OpenDocumentSheet(Printer(pagetest::kDesktop), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        label = s.Text(page, IDC_COPIES_LABEL);
        s.Type(page, IDC_COPIES, L"3");
        s.Type(page, IDC_COPIES, L"");
        EXPECT_EQ(s.Entry(f::kCopies.id).Current(), 3);
        EXPECT_EQ(s.Text(page, IDC_COPIES), L"3") << "shown again";
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    ASSERT_EQ(DialogsSeen().size(), 1u);
    EXPECT_EQ(DialogsSeen()[0].title, caption);
    ASSERT_NE(label.find(L'&'), std::wstring::npos) << "the label has a mnemonic";
    EXPECT_EQ(DialogsSeen()[0].text,
              pagetest::Filled(LibraryString(IDS_NOT_A_NUMBER), pagetest::WithoutAmpersands(label)));
}

TEST_F(SetupPageTest, DuplexFollowsTheUnitsEdgesAndTheBlocker)
{
    struct Case {
        const char* what;
        int unit, handling, blocker, stored;
        bool none, longEdge, shortEdge;
        int duplexAfter;
    };
    const Case cases[] = {
        {"long edge only: short edge falls back", 0x02, 0, 0, 3, true, true, false, 1},
        {"long edge only keeps long edge", 0x02, 0, 0, 2, true, true, false, 2},
        {"short edge only", 0x01, 0, 0, 2, true, false, true, 1},
        {"both edges by the paper handling", 0, 0x1000, 0, 3, true, true, true, 3},
        {"no unit", 0, 0, 0, 1, false, false, false, 1},
        {"blocked", 0x03, 0, 1, 2, false, false, false, 2},
    };
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_SETUP));
        const std::int16_t handling = s.Entry(f::kPaperHandlingFlags.id).Current();
        for (const Case& c : cases) {
            s.Entry(f::kDuplexUnit.id).SetCurrent(std::int16_t(c.unit));
            s.Entry(f::kPaperHandlingFlags.id).SetCurrent(std::int16_t((handling & ~0x1800) | c.handling));
            s.Entry(f::kDuplexBlocker.id).SetCurrent(std::int16_t(c.blocker));
            s.Entry(f::kDuplex.id).SetCurrent(std::int16_t(c.stored));
            s.Context().devmodeCopies[2] &= ~0x01;  // option byte C lets the output-bin box show
            const HWND page = pagetest::Reactivate(s, IDD_SETUP, IDD_PAPER);
            EXPECT_EQ(s.Enabled(page, IDC_DUPLEX_NONE), c.none) << c.what;
            EXPECT_EQ(s.Enabled(page, IDC_DUPLEX_LONG), c.longEdge) << c.what;
            EXPECT_EQ(s.Enabled(page, IDC_DUPLEX_SHORT), c.shortEdge) << c.what;
            EXPECT_EQ(s.Entry(f::kDuplex.id).Current(), c.duplexAfter) << c.what;
            if (c.unit || c.handling) {
                const int checked = c.duplexAfter == 3 ? IDC_DUPLEX_SHORT : c.duplexAfter == 2 ? IDC_DUPLEX_LONG : IDC_DUPLEX_NONE;
                EXPECT_EQ(IsDlgButtonChecked(page, checked), BST_CHECKED) << c.what;
                EXPECT_TRUE(s.Visible(page, IDC_DUPLEX_ICON)) << c.what;
            } else {
                EXPECT_FALSE(s.Visible(page, IDC_DUPLEX_ICON)) << c.what;
            }
            EXPECT_EQ(s.Visible(page, IDC_OUTPUT_BIN_CHOICE), c.handling != 0) << c.what;
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(SetupPageTest, ADeskTopModelWithoutDuplexGreysTheGroup)
{
    OpenDocumentSheet(Printer(pagetest::kDesktop), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        EXPECT_FALSE(s.Entry(f::kDuplex.id));
        for (int id : {IDC_DUPLEX_GROUP, IDC_DUPLEX_NONE, IDC_DUPLEX_LONG, IDC_DUPLEX_SHORT})
            EXPECT_FALSE(s.Enabled(page, id)) << id;
        EXPECT_FALSE(s.Visible(page, IDC_DUPLEX_ICON));
        EXPECT_FALSE(s.Visible(page, IDC_OUTPUT_BIN_CHOICE));
        EXPECT_TRUE(s.Enabled(page, IDC_PAGES_PER_SHEET));
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(SetupPageTest, PagesPerSheetOfferTheNamedLayoutsAndTheOrderFromFour)
{
    struct Case {
        int index;
        bool order, borders;
    };
    const Case cases[] = {{0, false, false}, {1, false, true}, {3, true, true}, {4, true, true}, {7, true, true}};
    OpenDocumentSheet(Printer(pagetest::kColour), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        std::vector<LPARAM> offered;
        const HWND list = GetDlgItem(page, IDC_PAGES_PER_SHEET);
        for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i)
            offered.push_back(SendMessageW(list, CB_GETITEMDATA, WPARAM(i), 0));
        EXPECT_EQ(offered, (std::vector<LPARAM>{0, 1, 3, 4, 5, 7})) << "layouts 2 and 6 have no name";
        for (const Case& c : cases) {
            ASSERT_TRUE(s.ChooseData(page, IDC_PAGES_PER_SHEET, c.index)) << c.index;
            EXPECT_EQ(s.Entry(f::kPagesPerSheet.id).Current() & 0xFF, c.index);
            EXPECT_EQ(s.Enabled(page, IDC_PAGE_ORDER_ACROSS), c.order) << c.index;
            EXPECT_EQ(s.Enabled(page, IDC_PAGE_ORDER_DOWN), c.order) << c.index;
            EXPECT_EQ(s.Enabled(page, IDC_BORDERS), c.borders) << c.index;
        }
        // Several pages per sheet move the quality-like feature off 2.
        s.ChooseData(page, IDC_PAGES_PER_SHEET, 0);
        s.Entry(f::kFontHandling.id).SetCurrent(2);
        s.ChooseData(page, IDC_PAGES_PER_SHEET, 3);
        EXPECT_NE(s.Entry(f::kFontHandling.id).Current(), 2);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(SetupPageTest, TheDuplexBlockerForcesOnePagePerSheet)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        s.ChooseData(page, IDC_PAGES_PER_SHEET, 4);
        s.Click(page, IDC_PAGE_ORDER_DOWN);
        EXPECT_EQ(std::uint16_t(s.Entry(f::kPagesPerSheet.id).Current()), 0x0104);
        s.Entry(f::kDuplexBlocker.id).SetCurrent(1);
        page = pagetest::Reactivate(s, IDD_SETUP, IDD_PAPER);
        EXPECT_EQ(std::uint16_t(s.Entry(f::kPagesPerSheet.id).Current()), 0x0100) << "one page, the order kept";
        for (int id : {IDC_PAGES_PER_SHEET, IDC_PAGES_PER_SHEET_LABEL, IDC_PAGE_ORDER_ACROSS, IDC_PAGE_ORDER_DOWN,
                       IDC_BORDERS, IDC_DUPLEX_GROUP, IDC_DUPLEX_LONG})
            EXPECT_FALSE(s.Enabled(page, id)) << id;
        EXPECT_EQ(s.Selected(page, IDC_PAGES_PER_SHEET), 0);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(SetupPageTest, WithoutPermissionTheSettingsAreGreyed)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [&](Sheet& s) {
            const HWND page = s.Page(IDD_SETUP);
            ASSERT_TRUE(page);
            for (int id : {IDC_COPIES_LABEL, IDC_COPIES_SPIN, IDC_COPIES, IDC_PORTRAIT, IDC_LANDSCAPE, IDC_ROTATED,
                           IDC_PAGES_PER_SHEET, IDC_PAGE_ORDER_ACROSS, IDC_PAGE_ORDER_DOWN, IDC_BORDERS, IDC_DEFAULTS,
                           IDC_COLLATE, IDC_DUPLEX_NONE, IDC_DUPLEX_LONG, IDC_DUPLEX_SHORT, IDC_OUTPUT_BIN_CHOICE,
                           IDC_JOB_HOLD_BUTTON})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            // Still greyed after a refill.
            pagetest::Reactivate(s, IDD_SETUP, IDD_PAPER);
            EXPECT_FALSE(s.Enabled(page, IDC_COPIES));
            EXPECT_TRUE(s.Enabled(page, IDC_OPTIONS_BUTTON)) << "the dialog itself greys its settings";
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    ASSERT_TRUE(ScriptRan());
}

TEST_F(SetupPageTest, TheDevmodeAfterApplyIsWhatTheControlsShow)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    int collated = -1;
    OpenDocumentSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        s.Type(page, IDC_COPIES, L"3");
        const int before = s.Entry(f::kCollate.id).Current();
        s.Click(page, IDC_COLLATE);
        collated = IsDlgButtonChecked(page, IDC_COLLATE) == BST_CHECKED ? 1 : 0;
        EXPECT_NE(collated, before);
        s.Click(page, IDC_LANDSCAPE);
        s.Click(page, IDC_ROTATED);
        s.Click(page, IDC_DUPLEX_LONG);
        s.ChooseData(page, IDC_PAGES_PER_SHEET, 3);
        s.Click(page, IDC_PAGE_ORDER_DOWN);
        EXPECT_TRUE(s.ApplyEnabled());
        s.Apply();
        const pagetest::Bytes d = s.Devmode();
        EXPECT_EQ(devmode::Get(d, devmode::dmCopies), _wtoi(s.Text(page, IDC_COPIES).c_str()));
        EXPECT_EQ(devmode::Get(d, devmode::dmCollate), IsDlgButtonChecked(page, IDC_COLLATE) == BST_CHECKED ? 1 : 0);
        EXPECT_EQ(devmode::Get(d, devmode::dmOrientation),
                  IsDlgButtonChecked(page, IDC_LANDSCAPE) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
        EXPECT_EQ(devmode::Get(d, devmode::kFeature19), 1);
        EXPECT_EQ(devmode::Get(d, devmode::dmDuplex), IsDlgButtonChecked(page, IDC_DUPLEX_LONG) == BST_CHECKED ? 2 : 0);
        EXPECT_EQ(devmode::Get(d, devmode::kFeature47Low), SendDlgItemMessageW(page, IDC_PAGES_PER_SHEET, CB_GETITEMDATA,
                                                                                WPARAM(s.Selected(page, IDC_PAGES_PER_SHEET)), 0));
        EXPECT_EQ(devmode::Get(d, devmode::kFeature47High), IsDlgButtonChecked(page, IDC_PAGE_ORDER_DOWN) == BST_CHECKED);
        EXPECT_FALSE(s.ApplyEnabled()) << "applied";
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmCopies), 3);
    EXPECT_EQ(devmode::Get(Out(), devmode::dmCollate), collated);
    EXPECT_EQ(devmode::Get(Out(), devmode::dmOrientation), DMORIENT_LANDSCAPE);
    EXPECT_EQ(devmode::Get(Out(), devmode::dmDuplex), 2);
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature47Low), 3);
    EXPECT_EQ(devmode::Get(Out(), devmode::kFeature47High), 1);
}

TEST_F(SetupPageTest, PicturesFollowTheChoicesWithoutTheKeyColour)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        const RECT orientation = pagetest::RectIn(page, IDC_ORIENTATION_PICTURE);
        const RECT duplex = pagetest::RectIn(page, IDC_DUPLEX_PICTURE);
        const pagetest::Painting simplex = pagetest::PaintingOf(page);
        const int drawn = orientation.right - orientation.left;
        EXPECT_LT(simplex.CountIn(orientation, 0), (orientation.bottom - orientation.top) * drawn) << "a picture";
        EXPECT_EQ(simplex.CountIn(duplex, 0), (duplex.bottom - duplex.top) * (duplex.right - duplex.left))
            << "one-sided: no duplex picture";
        s.Click(page, IDC_DUPLEX_SHORT);
        s.Click(page, IDC_ROTATED);
        const pagetest::Painting turned = pagetest::PaintingOf(page);
        EXPECT_LT(turned.CountIn(duplex, 0), (duplex.bottom - duplex.top) * (duplex.right - duplex.left));
        RECT whole{0, 0, turned.width, turned.height};
        EXPECT_EQ(turned.CountIn(whole, 0x00FF00), 0) << "no key-coloured pixel";
        EXPECT_NE(turned.pixels, simplex.pixels);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

}  // namespace
