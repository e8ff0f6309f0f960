// The real sheets: QVTDX5DA.DLL opens them through Wine's property-sheet service and the real
// dialog library adds its pages. What the protocol does there (the commit reaches the driver
// library, OK is the driver library's to save) and the About page, the first real page.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FeatureBindings.h"
#include "PageSlots.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"

namespace {

using pagetest::Bytes;
using pagetest::Sheet;

// Every page the sheet has, opened, so each one applies.
void OpenEveryPage(Sheet& s)
{
    for (int i = 0; i < s.PageCount(); ++i)
        SendMessageW(s.Frame(), PSM_SETCURSEL, WPARAM(i), 0);
}

class RealSheetTest : public pagetest::SheetTest {
protected:
    // A string of the language library the sheets use (English, or pseudo-localised).
    static std::wstring LibraryString(UINT id)
    {
        const HMODULE language = GetModuleHandleA((LibraryDir() + "\\QVTDX5DL.DLL").c_str());
        const wchar_t* text = nullptr;
        const int n = language ? LoadStringW(language, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
        return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
    }
    static bool Pseudo() { return LibraryDir() != qvtest::BinDir(); }
};
class DocumentSheetTest : public RealSheetTest {};
class DeviceSheetTest : public RealSheetTest {};

TEST_F(DocumentSheetTest, ThePagesThatExistAreAddedInSlotOrder)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const std::vector<int> templates = s.Templates();
        ASSERT_FALSE(templates.empty());
        EXPECT_EQ(templates.back(), IDD_ABOUT) << "About is the last page";
        EXPECT_TRUE(std::is_sorted(templates.begin(), templates.end()));
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(DocumentSheetTest, ApplyCommitsOnceThroughTheDriverLibrary)
{
    HANDLE printer = Printer(pagetest::kColour);
    OpenDocumentSheet(printer, [](Sheet& s) {
        OpenEveryPage(s);
        SheetContext& c = s.Context();
        EXPECT_EQ(c.pageBookkeeping[0], s.PageCount());
        c.printerConfig[2] ^= 0x10;  // a commit writes the printer configuration
        s.Apply();
        EXPECT_EQ(s.Commits(), 1);
        EXPECT_EQ(c.pageBookkeeping[1], 0);
        EXPECT_EQ(c.savedPrinterConfig[2], c.printerConfig[2]);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
    const Bytes config = Value(printer, L"PrinterConfig");
    ASSERT_EQ(config.size(), 32u);
}

TEST_F(DocumentSheetTest, OkSetsTheFlagsCommitsNothingAndTheDriverSaves)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDocumentSheet(printer, [](Sheet& s) {
        OpenEveryPage(s);
        s.Entry(feature::kCopies.id).SetCurrent(4);
        s.Ok();
        EXPECT_EQ(s.Commits(), 0);
        EXPECT_EQ(s.Context().okPressed[0], 1u);
        EXPECT_EQ(s.Context().okPressed[1], 1u);
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmCopies), 4) << "confirmed by the flags";
    const Bytes saved = Value(printer, L"CurrentDevmode");
    ASSERT_EQ(saved.size(), devmode::kSize);
    EXPECT_EQ(devmode::Get(saved, devmode::dmCopies), 4);
}

TEST_F(DocumentSheetTest, CancelLeavesTheDevmodeAsItWas)
{
    OpenDocumentSheet(Printer(pagetest::kDesktop), [](Sheet& s) {
        s.Entry(feature::kCopies.id).SetCurrent(6);
        EXPECT_EQ(devmode::Get(s.Devmode(), devmode::dmCopies), 6) << "the working copy with the entries";
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_NE(devmode::Get(Out(), devmode::dmCopies), 6);
}

TEST_F(DeviceSheetTest, OkCommitsOnceAfterTheLastPage)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDeviceSheet(printer, [](Sheet& s) {
        EXPECT_EQ(s.Templates().back(), IDD_ABOUT);
        OpenEveryPage(s);
        EXPECT_EQ(s.Context().pageBookkeeping[2], s.PageCount());
        EXPECT_EQ(s.Context().pageBookkeeping[0], 0);
        s.Ok();
        EXPECT_EQ(s.Commits(), 1);
    });
    ASSERT_TRUE(ScriptRan());
    const Bytes ok = Value(printer, L"DCDPrtPropOK");
    ASSERT_EQ(ok.size(), 4u);
    EXPECT_EQ(ok[0], 1);
}

TEST_F(DocumentSheetTest, TheSummaryWindowShowsTheDriversNamesAndFollowsTheFrame)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const HWND summary = s.Summary();
        ASSERT_TRUE(summary);
        EXPECT_EQ(s.Context().summaryWindow, summary);
        for (int id : {IDC_SUMMARY_FORM, IDC_SUMMARY_MEDIA, IDC_SUMMARY_QUALITY, IDC_SUMMARY_COPIES, IDC_SUMMARY_COLLATE,
                       IDC_SUMMARY_DUPLEX}) {
            EXPECT_TRUE(s.Visible(summary, id)) << id;
            EXPECT_FALSE(s.Text(summary, id).empty()) << id;
        }
        EXPECT_EQ(s.Text(summary, IDC_SUMMARY_COPIES), L"1");
        EXPECT_EQ(s.Text(summary, IDC_SUMMARY_DUPLEX), LibraryString(IDS_NONE));
        SetWindowPos(s.Frame(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT f{}, r{};
        GetWindowRect(s.Frame(), &f);
        GetWindowRect(summary, &r);
        EXPECT_EQ(r.left, f.right);
        EXPECT_EQ(r.bottom - r.top, f.bottom - f.top);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(DocumentSheetTest, ASummaryTextTooWideForItsRowEndsInAnEllipsis)
{
    if (!Pseudo())
        GTEST_SKIP() << "the English texts fit; QVPAGES_LANGUAGE=pseudo runs this";
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        const HWND summary = s.Summary();
        ASSERT_TRUE(summary);
        const std::wstring quality = s.Text(summary, IDC_SUMMARY_QUALITY);
        ASSERT_GE(quality.size(), 3u);
        EXPECT_EQ(quality.substr(quality.size() - 3), L"...") << std::string(quality.begin(), quality.end());
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

// ---- About page ------------------------------------------------------------------------------

class AboutPageTest : public RealSheetTest {};

TEST_F(AboutPageTest, ShowsThePrinterTheBrandAndTheLibraries)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [this](Sheet& s) {
        const HWND about = s.Page(IDD_ABOUT);
        ASSERT_TRUE(about);
        EXPECT_EQ(s.Text(about, IDC_ABOUT_PRINTER), PrinterName());
        EXPECT_TRUE(SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0)) << "the workgroup family's icon";
        EXPECT_EQ(s.Text(about, IDC_ABOUT_BRAND_1), LibraryString(IDS_ABOUT_PRODUCT).substr(0, 45));
        EXPECT_EQ(s.Text(about, IDC_ABOUT_BRAND_3), LibraryString(IDS_ABOUT_WEB).substr(0, 45));
        EXPECT_EQ(s.Text(about, IDC_ABOUT_DA_VERSION), L"5.0.0.0");
        EXPECT_EQ(s.Text(about, IDC_ABOUT_DL_VERSION), L"5.0.0.0");
        const std::wstring label = s.Text(about, IDC_ABOUT_DA_LABEL);
        EXPECT_NE(label.find(L"QVTDX5DA.DLL"), std::wstring::npos) << "the label's %s";
        EXPECT_EQ(label.find(L"%s"), std::wstring::npos);
        // Libraries the package does not have here: their lines are emptied.
        for (int id : {IDC_ABOUT_TD_LABEL, IDC_ABOUT_TD_VERSION, IDC_ABOUT_TF_LABEL, IDC_ABOUT_TF_VERSION,
                       IDC_ABOUT_BJ_LABEL, IDC_ABOUT_BJ_VERSION})
            EXPECT_EQ(s.Text(about, id), L"") << id;
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(AboutPageTest, AModelWithoutAFamilyShowsNoIcon)
{
    OpenDocumentSheet(Printer(pagetest::kDesktop), [](Sheet& s) {
        const HWND about = s.Page(IDD_ABOUT);
        ASSERT_TRUE(about);
        EXPECT_EQ(s.Context().modelFamily, 255);
        EXPECT_FALSE(SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
        s.Cancel();
    });
}

TEST_F(AboutPageTest, CountsOnTheSheetItIsOn)
{
    OpenDeviceSheet(Printer(pagetest::kColour), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_ABOUT));
        EXPECT_GE(s.Context().pageBookkeeping[2], 1);
        EXPECT_EQ(s.Context().pageBookkeeping[0], 0);
        s.Cancel();
    });
}

}  // namespace
