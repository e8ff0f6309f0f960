// The page harness: the real sheets with the real pages. QVTDX5DA.DLL is loaded from the build's
// bin directory, where the real QVTDX5DU.DLL and QVTDX5DL.DLL and the sibling stand-ins sit
// beside it, and opens its document sheet (DrvDocumentProperties with prompting) or its device
// sheet (PrinterProperties) through Wine's property-sheet service, on a printer of one of the
// family's models. A test hands a script that runs on the sheet's own thread once the sheet is
// shown; the script drives controls by message, as a user's input would reach them, and asserts
// on what the pages did to the feature entries, the devmode and the controls. Modal dialogs and
// message boxes the pages open are seen by a WH_CBT hook and answered as the test says.
//
//   TEST_F(DocumentSheetTest, CopiesReachTheDevmode) {
//       OpenDocumentSheet(Printer(kDesktop), [](Sheet& s) {
//           HWND setup = s.Page(IDD_SETUP);
//           s.Type(setup, IDC_COPIES, L"3");
//           EXPECT_EQ(s.Entry(feature::kCopies.id).Current(), 3);
//           s.Ok();
//       });
//       EXPECT_EQ(devmode::Get(Out(), devmode::dmCopies), 3);
//   }
#pragma once

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "EntryView.h"
#include "PrinterFixture.h"
#include "SheetCalls.h"
#include "SheetContext.h"

namespace pagetest {

// The family's models; a test driver of each name maps its printers onto the model.
inline constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
inline constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
inline constexpr char kColour[] = "Qelbrin QV-5c PCL";
inline constexpr const char* kModels[] = {kDesktop, kWorkgroup, kColour};

using Bytes = std::vector<std::uint8_t>;

// The open sheet, as a script sees it. Every call runs on the sheet's thread.
class Sheet {
public:
    Sheet(HWND frame, SheetContext* context) : frame_(frame), context_(context) {}

    HWND Frame() const { return frame_; }
    int PageCount() const;
    // The template of each page, in tab order.
    std::vector<int> Templates() const;
    // Selects the page made from the template (which creates it) and returns its window; null
    // when the sheet has no such page.
    HWND Page(int templateId);
    HWND CurrentPage() const;

    // The sheet context the pages share, read from the first page's user slot when the script
    // started (it lives until the sheet has closed).
    SheetContext& Context() const;
    pages::EntryView Entry(int id) const;
    pages::EntryView SavedEntry(int id) const;
    // The working devmode with the current entries written back (CallBackAccess 36).
    Bytes Devmode() const;

    // The summary window beside a document sheet. The first page that asks for it makes it; until
    // such a page exists, this makes it as that page would (from the language library's template
    // with the dialog library's SummaryWindowProc) and docks it at the frame.
    HWND Summary();

    // Controls, by the messages the user's input sends.
    void Choose(HWND page, int id, int index);        // CB_SETCURSEL + CBN_SELCHANGE
    bool ChooseData(HWND page, int id, LPARAM data);  // the item with this data; false if none
    void Click(HWND page, int id);                    // BM_CLICK
    void Type(HWND page, int id, const std::wstring& text);  // text + EN_CHANGE + EN_KILLFOCUS
    void Scroll(HWND page, int id, int code, int position = 0);  // WM_HSCROLL or WM_VSCROLL
    bool Enabled(HWND page, int id) const;
    bool Visible(HWND page, int id) const;
    std::wstring Text(HWND page, int id) const;
    // The items of a combo box, and its selected item's index (-1 for none).
    std::vector<std::wstring> Items(HWND page, int id) const;
    int Selected(HWND page, int id) const;

    // The sheet's buttons. Apply and Ok are handled before they return (the pages have applied;
    // the context is still there to look at); Ok and Cancel end the sheet once the script
    // returns.
    void Apply();
    void Ok();
    void Cancel();
    bool ApplyEnabled() const;
    // Calls of the property-sheet service since the script started: the driver library reports
    // each commit (CallBackAccess 24) with CPSFUNC_SET_RESULT.
    int Commits() const;

private:
    HWND frame_;
    SheetContext* context_;
};

using Script = std::function<void(Sheet&)>;

// Runs a call that shows a property sheet on this thread (the driver's, or PropertySheetW of a
// test's own) and the script on that sheet once it shows; the call's answer. A script that
// presses no button ends with Cancel; a sheet still open after a minute is cancelled and fails
// the test.
INT_PTR RunScript(const Script& script, const std::function<INT_PTR()>& showSheet);

// A modal dialog or message box the pages opened while the script ran.
struct SeenDialog {
    std::wstring title;
    std::wstring text;  // the longest static text, for message boxes
};

// The real driver library from bin, for one suite; printers of the three models.
class SheetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A new printer of the model, opened with full access.
    HANDLE Printer(const char* model);
    // The printer's name as the sheet shows it.
    std::wstring PrinterName() const;

    // The document sheet with prompting, over an input devmode when one is given; the driver's
    // answer. Out() holds its output devmode. DM_NOPERMISSION in the mode: a user who may not
    // change settings.
    LONG OpenDocumentSheet(HANDLE printer, const Script& script, DWORD mode = DM_PROMPT | DM_COPY,
                           const Bytes* input = nullptr);
    // The device sheet (PrinterProperties); the driver's answer. Without permission it opens
    // through the property-sheet service directly, with DPS_NOPERMISSION in the header.
    BOOL OpenDeviceSheet(HANDLE printer, const Script& script, bool permission = true);
    // The printer's current devmode as the driver builds it (no sheet): to edit and hand in.
    Bytes CurrentDevmode(HANDLE printer);
    const Bytes& Out() const { return out_; }
    // Whether the script ran: a sheet that never showed leaves it false.
    bool ScriptRan() const;

    // The next modal dialog or message box with this title gets this answer (a command ID sent
    // to it as a button press, or a function run on it); unlisted ones are cancelled.
    void Answer(const std::wstring& title, int command);
    void Answer(const std::wstring& title, std::function<void(HWND)> answer);
    std::vector<SeenDialog> DialogsSeen() const;

    static HMODULE Library() { return library_; }
    // The directory the driver library was loaded from: bin, or with QVPAGES_LANGUAGE=pseudo a
    // copy of bin's libraries beside the pseudo-localised language library.
    static const std::string& LibraryDir() { return libraryDir_; }
    // A printer value of the printer; empty when absent.
    static Bytes Value(HANDLE printer, const wchar_t* name);

private:
    static inline HMODULE library_ = nullptr;
    static inline bool driversReady_ = false;
    static inline std::string libraryDir_;
    static inline qvtest::TempDir* pseudoDir_ = nullptr;
    qvtest::TestPrinters printers_;
    Bytes out_;
};

}  // namespace pagetest
