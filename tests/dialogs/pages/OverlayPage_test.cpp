// The Overlay page: overlays chosen by name from the printer's overlay list, watermarks by the
// number their list item carries. Leaving the page writes no watermark record.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DevmodeLayout.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "StoredLists.h"

namespace {

using pagetest::Sheet;

void ChooseListItem(HWND page, int id, int index)
{
    SendDlgItemMessageW(page, id, LB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), LPARAM(GetDlgItem(page, id)));
}

std::wstring WideAt(const pagetest::Bytes& d, std::size_t offset, std::size_t chars)
{
    std::wstring text;
    for (std::size_t i = 0; i < chars && offset + 2 * i + 1 < d.size(); ++i) {
        const wchar_t ch = wchar_t(d[offset + 2 * i] | (d[offset + 2 * i + 1] << 8));
        if (!ch)
            break;
        text.push_back(ch);
    }
    return text;
}

class OverlayPageTest : public pagetest::ListsTest {
protected:
    void SeedLists(HANDLE printer)
    {
        pagetest::StoreList(printer, "Watermark",
                            pagetest::ListBytes({pagetest::NamedRecord(1, "Draft"), pagetest::NamedRecord(4, "Secret")}));
        pagetest::StoreList(printer, "Macro",
                            pagetest::ListBytes({pagetest::NamedRecord(3, "Letterhead"),
                                                 pagetest::NamedRecord(7, std::string(63, 'L'))}));
    }
};

TEST_F(OverlayPageTest, WatermarkNumbersComeFromTheListAndLeavingWritesNoRecord)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    SeedLists(printer);
    const pagetest::Bytes before = Value(printer, L"Watermark");
    OpenDocumentSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_OVERLAY);
        ASSERT_TRUE(page);
        ASSERT_TRUE(s.Entry(feature::kWatermarks.id).Exists());
        // What the tab strip sends for a click on the tab.
        SendMessageW(page, WM_COMMAND, IDC_WATERMARK_TAB, LPARAM(GetDlgItem(page, IDC_WATERMARK_TAB)));
        EXPECT_TRUE(s.Visible(page, IDC_WATERMARK_FIRST));
        EXPECT_FALSE(s.Visible(page, IDC_OVERLAY_FIRST));
        s.Click(page, IDC_WATERMARK_ON);
        ChooseListItem(page, IDC_WATERMARK_FIRST, 2);  // Secret
        ChooseListItem(page, IDC_WATERMARK_OTHER, 0);  // none
        s.Page(IDD_ABOUT);                              // leaves the page
        const auto w = s.Entry(feature::kWatermarks.id);
        EXPECT_EQ(w.Get<std::int16_t>(feature::watermark::kFirstPage), 4);
        EXPECT_EQ(w.Get<std::int16_t>(feature::watermark::kOtherPages), 0);
        EXPECT_EQ(w.Get<std::uint32_t>(feature::watermark::kSwitch), 1u);
        EXPECT_EQ(Value(printer, L"Watermark"), before) << "the watermark list is only read";
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kFirstPageWatermark), 4);
    EXPECT_EQ(Value(printer, L"Watermark"), before);
}

TEST_F(OverlayPageTest, AMissingOverlayShowsNoneAndAChosenOneReachesTheDevmodeBounded)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    SeedLists(printer);
    pagetest::Bytes input = CurrentDevmode(printer);
    const std::wstring gone = L"Gone";
    for (std::size_t i = 0; i < gone.size(); ++i)
        input[468 + 2 * i] = std::uint8_t(gone[i]);
    devmode::UpdateChecksum(input);
    OpenDocumentSheet(
        printer,
        [&](Sheet& s) {
            const HWND page = s.Page(IDD_OVERLAY);
            ASSERT_TRUE(page);
            EXPECT_EQ(SendDlgItemMessageW(page, IDC_OVERLAY_FIRST, LB_GETCURSEL, 0, 0), 0) << "none";
            s.Click(page, IDC_OVERLAY_ON);
            ChooseListItem(page, IDC_OVERLAY_FIRST, 1);  // Letterhead
            ChooseListItem(page, IDC_OVERLAY_OTHER, 2);  // 63 characters
            s.Click(page, IDC_OVERLAY_PLACEMENT_1);
            s.Page(IDD_ABOUT);
            s.Apply();
            s.Ok();
        },
        DM_PROMPT | DM_COPY, &input);
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(WideAt(Out(), 468, 32), L"Letterhead");
    EXPECT_EQ(WideAt(Out(), 532, 32), std::wstring(31, L'L')) << "31 characters and the zero";
    EXPECT_EQ(Out()[532 + 62], 0);
    EXPECT_EQ(Out()[532 + 63], 0);
    EXPECT_EQ(Out()[467], 1);
}

}  // namespace
