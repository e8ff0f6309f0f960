// The user paper size dialog, opened from the customisation page: sizes typed in inches and
// millimetres reach the stored list in 1/1200 inch, within the model's limits, under a free
// number and a name no other form has.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ResourceIds.h"
#include "SheetHarness.h"
#include "StoredLists.h"

namespace {

using pagetest::Sheet;

constexpr char kSizes[] = "UserDefForms";

struct Typed {
    std::wstring name;
    bool millimetres;
    std::wstring width, height;
};

// Fills the dialog and presses OK; true when the dialog closed, false when it refused (and was
// cancelled after the refusal).
bool Submit(HWND dialog, const Typed& t)
{
    SetDlgItemTextW(dialog, IDC_UPS_NAME, t.name.c_str());
    SendDlgItemMessageW(dialog, t.millimetres ? IDC_UPS_MILLIMETRES : IDC_UPS_INCHES, BM_CLICK, 0, 0);
    SetDlgItemTextW(dialog, IDC_UPS_WIDTH, t.width.c_str());
    SetDlgItemTextW(dialog, IDC_UPS_HEIGHT, t.height.c_str());
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    const bool closed = GetWindowLongPtrW(dialog, DWLP_USER) == 0;
    if (!closed)
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return closed;
}

class UserPaperDialogTest : public pagetest::ListsTest {
protected:
    std::wstring Title(Sheet& s, HWND page) const { return WithoutMnemonics(s.Text(page, IDC_FORMS_GROUP)); }
};

TEST_F(UserPaperDialogTest, TypedSizesAreStoredInTwelveHundredthsOrRefused)
{
    const struct {
        Typed typed;
        bool stored;
        std::uint16_t width, length;
        int refusedLabel;
    } cases[] = {
        {{L"Letter wide", false, L"8.5", L"11"}, true, 10200, 13200, 0},
        {{L"A4 custom", true, L"210", L"297"}, true, 9921, 14031, 0},
        {{L"  Padded  ", false, L"8.25", L"11"}, true, 9960, 13200, 0},
        {{L"Too precise", false, L"8.5555", L"11"}, false, 0, 0, IDC_UPS_WIDTH_LABEL},
        {{L"Too narrow", false, L"0.1", L"11"}, false, 0, 0, IDC_UPS_WIDTH_LABEL},
        {{L"Too long", true, L"210", L"9999"}, false, 0, 0, IDC_UPS_HEIGHT_LABEL},
        {{L"letter WIDE", false, L"8", L"10"}, false, 0, 0, IDC_UPS_NAME_LABEL},
        {{L"One, two", false, L"8", L"10"}, false, 0, 0, IDC_UPS_NAME_LABEL},
        {{L"   ", false, L"8", L"10"}, false, 0, 0, IDC_UPS_NAME_LABEL},
    };
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        const std::wstring messageCaption = LibraryString(IDS_MESSAGE_CAPTION);
        const auto& limits = s.Context().customPaperLimits;  // max width, min width, max length, min length
        ASSERT_TRUE(limits[1] <= 9921 && limits[0] >= 9960 && limits[3] <= 13200 && limits[2] >= 14031)
            << limits[0] << " " << limits[1] << " " << limits[2] << " " << limits[3];
        std::size_t stored = 0;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed.name + L" " + c.typed.width + L" x " + c.typed.height);
            bool closed = false;
            std::wstring label;
            Answer(Title(s, page), [&](HWND dialog) {
                label = WithoutMnemonics(s.Text(dialog, c.refusedLabel ? c.refusedLabel : IDC_UPS_NAME_LABEL));
                closed = Submit(dialog, c.typed);
            });
            const std::size_t seenBefore = DialogsSeen().size();
            s.Click(page, IDC_NEW_SIZE);
            EXPECT_EQ(closed, c.stored);
            const auto list = pagetest::ReadList(printer, kSizes);
            if (c.stored) {
                ++stored;
                ASSERT_EQ(list.size(), stored);
                const auto& r = list.back();
                EXPECT_EQ(r.Number(), 511 + std::int16_t(stored));
                EXPECT_EQ(r.Name(), c.typed.name == L"  Padded  " ? "Padded" : std::string(c.typed.name.begin(), c.typed.name.end()));
                EXPECT_EQ(std::uint16_t(r.Int16(3).value_or(0)), c.width);
                EXPECT_EQ(std::uint16_t(r.Int16(4).value_or(0)), c.length);
                EXPECT_EQ(r.Int16(5).value_or(-1) & 0x1000, c.typed.millimetres ? 0x1000 : 0);
            } else {
                EXPECT_EQ(list.size(), stored);
                const auto seen = DialogsSeen();
                ASSERT_EQ(seen.size(), seenBefore + 2) << "the dialog and one message";
                EXPECT_EQ(seen.back().title, messageCaption);
                while (!label.empty() && (label.back() == L':' || label.back() == L' '))
                    label.pop_back();
                EXPECT_NE(seen.back().text.find(label), std::wstring::npos) << seen.back().text;
            }
        }
        EXPECT_EQ(s.Items(page, IDC_FORMS).size(), stored) << "the page's list follows";
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(UserPaperDialogTest, NewSizeTakesTheSmallestFreeNumber)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    pagetest::StoreList(printer, kSizes,
                        pagetest::ListBytes({pagetest::UserSize(512, "A", 10200, 13200),
                                             pagetest::UserSize(513, "B", 10200, 13200),
                                             pagetest::UserSize(515, "C", 10200, 13200)}));
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        Answer(Title(s, page), [&](HWND dialog) {
            EXPECT_EQ(s.Text(dialog, IDC_UPS_WIDTH), L"") << "a new size starts empty";
            EXPECT_TRUE(Submit(dialog, {L"D", false, L"8.5", L"11"}));
        });
        s.Click(page, IDC_NEW_SIZE);
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kSizes)), (std::vector<std::int16_t>{512, 513, 515, 514}));
}

TEST_F(UserPaperDialogTest, EditingKeepsUnitAndMarginsAndRecomputesThePrintableWidth)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    // 190 mm wide, margins of 2411: a 210 mm width leaves 9921 - 4822 = 5099, stored as 5096.
    pagetest::StoreList(printer, kSizes,
                        pagetest::ListBytes({pagetest::UserSize(513, "Narrow", 8976, 13200, 0x1000, 2411)}));
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        Answer(Title(s, page), [&](HWND dialog) {
            EXPECT_EQ(s.Text(dialog, IDC_UPS_NAME), L"Narrow");
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_UPS_MILLIMETRES, BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_EQ(s.Text(dialog, IDC_UPS_WIDTH), L"190");
            SetDlgItemTextW(dialog, IDC_UPS_WIDTH, L"210");
            // Switching units converts what was typed; unchanged, it keeps the exact size.
            SendDlgItemMessageW(dialog, IDC_UPS_INCHES, BM_CLICK, 0, 0);
            EXPECT_EQ(s.Text(dialog, IDC_UPS_WIDTH), L"8.3");
            SendDlgItemMessageW(dialog, IDC_UPS_MILLIMETRES, BM_CLICK, 0, 0);
            EXPECT_EQ(s.Text(dialog, IDC_UPS_WIDTH), L"210");
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        s.Click(page, IDC_EDIT_FORM);
    });
    ASSERT_TRUE(ScriptRan());
    const auto list = pagetest::ReadList(printer, kSizes);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Number(), 513);
    EXPECT_EQ(list[0].Int16(3), 9921);
    EXPECT_EQ(list[0].Int16(4), 13200);
    const auto& areas = list[0].fields.at(7);
    ASSERT_EQ(areas.size(), 32u);
    EXPECT_EQ(areas[0] | (areas[1] << 8), 5096) << "printable width";
    EXPECT_EQ(areas[4] | (areas[5] << 8), 2411) << "the margin stays";
}

}  // namespace
