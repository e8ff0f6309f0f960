// The paper association dialog, opened from the customisation page: a record round-trips through
// its four names (two overlays, two watermarks) in the printer's association list.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ResourceIds.h"
#include "SheetHarness.h"
#include "StoredLists.h"

namespace {

using pagetest::Sheet;

constexpr char kAssociations[] = "UserAssocForms";

void Choose(HWND dialog, int id, int index)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(GetDlgItem(dialog, id)));
}

void Press(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

std::wstring Selection(HWND dialog, int id)
{
    const auto index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    wchar_t text[128] = L"";
    if (index >= 0)
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
    return text;
}

class AssociationDialogTest : public pagetest::ListsTest {};

TEST_F(AssociationDialogTest, ARecordRoundTripsThroughItsFourNames)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    pagetest::StoreList(printer, "Macro",
                        pagetest::ListBytes({pagetest::NamedRecord(3, "Logo"), pagetest::NamedRecord(5, "Form")}));
    pagetest::StoreList(printer, "Watermark", pagetest::ListBytes({pagetest::NamedRecord(1, "Draft")}));
    pagetest::StoreList(printer, kAssociations,
                        pagetest::ListBytes({pagetest::NamedRecord(640, "A"), pagetest::NamedRecord(641, "B"),
                                             pagetest::NamedRecord(642, "C")}));
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        const std::wstring title = WithoutMnemonics(s.Text(page, IDC_FORMS_GROUP));
        Answer(title, [&](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_PA_NAME, L"Letterhead run");
            Press(dialog, IDC_PA_MODE_BOTH);
            Choose(dialog, IDC_PA_OVERLAY_BOTH, 1);  // Logo, for both
            EXPECT_EQ(Selection(dialog, IDC_PA_OVERLAY_FIRST), L"Logo");
            EXPECT_EQ(Selection(dialog, IDC_PA_OVERLAY_SECOND), L"Logo");
            Press(dialog, IDC_PA_OVERLAY_BOTH_0);
            Press(dialog, IDC_PA_MODE_FIRST);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_PA_WATERMARK_FIRST)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_PA_WATERMARK_BOTH)));
            Choose(dialog, IDC_PA_WATERMARK_FIRST, 1);  // Draft on the first page only
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        s.Click(page, IDC_NEW_ASSOCIATION);
        EXPECT_EQ(s.Items(page, IDC_FORMS).back(), L"Letterhead run");

        // Opened again: the watermarks differ, so it opens one page at a time, as stored.
        s.Choose(page, IDC_FORMS, 3);
        Answer(title, [&](HWND dialog) {
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PA_MODE_FIRST, BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_EQ(Selection(dialog, IDC_PA_OVERLAY_FIRST), L"Logo");
            EXPECT_EQ(Selection(dialog, IDC_PA_OVERLAY_SECOND), L"Logo");
            EXPECT_EQ(Selection(dialog, IDC_PA_WATERMARK_FIRST), L"Draft");
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PA_WATERMARK_SECOND, CB_GETCURSEL, 0, 0), 0) << "none";
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        s.Click(page, IDC_EDIT_FORM);
    });
    ASSERT_TRUE(ScriptRan());
    const auto list = pagetest::ReadList(printer, kAssociations);
    ASSERT_EQ(pagetest::NumbersOf(list), (std::vector<std::int16_t>{640, 641, 642, 643}));
    const auto& r = list.back();
    EXPECT_EQ(r.Name(), "Letterhead run");
    EXPECT_EQ(r.Text(5), "Logo");
    EXPECT_EQ(r.Int16(6), 0);
    EXPECT_EQ(r.Text(7), "Logo");
    EXPECT_EQ(r.Int16(8), 0);
    EXPECT_EQ(r.Text(9), "Draft");
    EXPECT_EQ(r.Text(11), "") << "the none item stores an empty name";
}

}  // namespace
