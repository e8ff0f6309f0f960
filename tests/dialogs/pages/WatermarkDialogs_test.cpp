// The watermark editor and the deletion dialog, opened from the customisation page: numbers,
// records and deletions checked in the printer's "Watermark" list; the preview follows the text
// and the angle.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "RecordList.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "StoredLists.h"

namespace {

using pagetest::Sheet;

constexpr char kWatermarks[] = "Watermark";

// The preview's pixels, drawn into a memory bitmap.
std::vector<std::uint32_t> PreviewPixels(HWND dialog)
{
    HWND preview = GetDlgItem(dialog, IDC_WM_PREVIEW);
    RECT r{};
    GetClientRect(preview, &r);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(preview, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + r.right * r.bottom);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

void Choose(HWND dialog, int id, int index)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(GetDlgItem(dialog, id)));
}

class WatermarkDialogsTest : public pagetest::ListsTest {
protected:
    HANDLE Seeded()
    {
        HANDLE printer = Printer(pagetest::kDesktop);
        pagetest::StoreList(printer, kWatermarks,
                            pagetest::ListBytes({pagetest::NamedRecord(1, "Draft"), pagetest::NamedRecord(2, "Copy"),
                                                 pagetest::NamedRecord(4, "Secret")}));
        return printer;
    }
};

TEST_F(WatermarkDialogsTest, NewTakesTheFirstFreeNumberAndThePreviewFollows)
{
    HANDLE printer = Seeded();
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        Answer(DialogCaption(IDD_WATERMARK), [&](HWND dialog) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_WM_TEXT))) << "none chosen";
            SendDlgItemMessageW(dialog, IDC_WM_NEW, BM_CLICK, 0, 0);
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_WM_NAME, CB_GETITEMDATA,
                                          WPARAM(SendDlgItemMessageW(dialog, IDC_WM_NAME, CB_GETCURSEL, 0, 0)), 0),
                      3);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_WM_TEXT)));
            SetDlgItemTextW(dialog, IDC_WM_NAME, L"  Internal  ");
            const auto empty = PreviewPixels(dialog);
            SetDlgItemTextW(dialog, IDC_WM_TEXT, L"INTERNAL");
            const auto text = PreviewPixels(dialog);
            EXPECT_NE(text, empty) << "the text is drawn";
            Choose(dialog, IDC_WM_ANGLE, 0);  // horizontal
            const auto turned = PreviewPixels(dialog);
            EXPECT_NE(turned, text) << "the angle is drawn";
            SetDlgItemTextW(dialog, IDC_WM_SIZE, L"2");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WM_SIZE, EN_KILLFOCUS), 0);
            EXPECT_EQ(GetDlgItemInt(dialog, IDC_WM_SIZE, nullptr, FALSE), 5u);
            SetDlgItemTextW(dialog, IDC_WM_SIZE, L"250");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WM_SIZE, EN_KILLFOCUS), 0);
            EXPECT_EQ(GetDlgItemInt(dialog, IDC_WM_SIZE, nullptr, FALSE), 200u);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        s.Click(page, IDC_EDIT_WATERMARKS);
    });
    ASSERT_TRUE(ScriptRan());
    const auto list = pagetest::ReadList(printer, kWatermarks);
    EXPECT_EQ(pagetest::NumbersOf(list), (std::vector<std::int16_t>{1, 2, 4, 3}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3].Name(), "Internal");
    EXPECT_EQ(list[3].Text(3), "INTERNAL");
    const auto& font = list[3].fields.at(4);  // the LOGFONTA: height, width, escapement
    ASSERT_GE(font.size(), 12u);
    EXPECT_EQ(std::int32_t(font[0] | font[1] << 8 | font[2] << 16 | font[3] << 24), -4000);
    EXPECT_EQ(font[8] | font[9] << 8, 0);
}

TEST_F(WatermarkDialogsTest, RefusedNamesKeepTheDialogOpenAndStoreNothing)
{
    HANDLE printer = Seeded();
    const pagetest::Bytes before = Value(printer, L"Watermark");
    std::wstring messageCaption;
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        messageCaption = LibraryString(IDS_MESSAGE_CAPTION);
        for (const wchar_t* name : {L"!Loud", L"No #1", L"a,b", L"secret"}) {
            Answer(DialogCaption(IDD_WATERMARK), [&](HWND dialog) {
                SendDlgItemMessageW(dialog, IDC_WM_NEW, BM_CLICK, 0, 0);
                SetDlgItemTextW(dialog, IDC_WM_NAME, name);
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                EXPECT_TRUE(GetWindowLongPtrW(dialog, DWLP_USER)) << "still open";
                SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            s.Click(page, IDC_EDIT_WATERMARKS);
        }
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(Value(printer, L"Watermark"), before);
    int messages = 0;
    for (const auto& seen : DialogsSeen())
        messages += seen.title == messageCaption ? 1 : 0;
    EXPECT_EQ(messages, 4);
}

TEST_F(WatermarkDialogsTest, DeletionRemovesExactlyTheChosenRecords)
{
    HANDLE printer = Seeded();
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        Answer(DialogCaption(IDD_WATERMARK_DELETE), [&](HWND dialog) {
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_GETCOUNT, 0, 0), 3);
            const HWND list = GetDlgItem(dialog, IDC_WMDEL_LIST), remove = GetDlgItem(dialog, IDC_WMDEL_DELETE);
            EXPECT_FALSE(IsWindowEnabled(remove)) << "nothing selected yet";
            // As the list box tells of a user's choice.
            SendMessageW(list, LB_SETSEL, TRUE, 1);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_WMDEL_LIST, LBN_SELCHANGE), LPARAM(list));
            EXPECT_TRUE(IsWindowEnabled(remove));
            SendMessageW(dialog, WM_COMMAND, IDC_WMDEL_DELETE, 0);
            EXPECT_FALSE(IsWindowEnabled(remove)) << "the refilled list has no selection";
            EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kWatermarks)),
                      (std::vector<std::int16_t>{1, 4}));
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_GETCOUNT, 0, 0), 2) << "stays open, refilled";
            SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_SETSEL, TRUE, 0);
            SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_SETSEL, TRUE, 1);
            SendMessageW(dialog, WM_COMMAND, IDC_WMDEL_DELETE, 0);
            SendMessageW(dialog, WM_COMMAND, IDC_WMDEL_CLOSE, 0);
        });
        s.Click(page, IDC_DELETE_WATERMARKS);
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_TRUE(pagetest::ReadList(printer, kWatermarks).empty());
}

}  // namespace
