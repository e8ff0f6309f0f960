// qvpageshots: pictures of every page of the real sheets, and of the dialogs the pages open, in
// three states (as the driver opens them; for a user without permission; over a devmode whose
// settings constrain others), captured from the screen into PNG files. The output directory is
// QVSHOTS_DIR (default build/<arch>/screenshots/pages, its "pseudo" folder with
// QVPAGES_LANGUAGE=pseudo); beside the pictures, shots.txt lists each as
// "file<TAB>title<TAB>state". scripts/screenshots runs it under the test display.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"
#include "WindowShot.h"

namespace {

using pagetest::Bytes;
using pagetest::Sheet;

struct PageName {
    int templateId;
    const char* file;
    const char* title;
};
constexpr PageName kPageNames[] = {
    {IDD_SETUP, "setup", "Setup"},
    {IDD_PAPER, "paper", "Paper"},
    {IDD_GRAPHICS, "graphics", "Graphics"},
    {IDD_FONTS, "fonts", "Fonts"},
    {IDD_OVERLAY, "overlay", "Overlays and watermarks"},
    {IDD_COLOR, "color", "Color"},
    {IDD_ADVANCED_COLOR, "advanced-color", "Advanced color"},
    {IDD_CONFIGURATIONS, "configurations", "Configurations"},
    {IDD_WEB, "web", "Web"},
    {IDD_ABOUT, "about", "About"},
    {IDD_DEVICE, "installable-options", "Installable options"},
    {IDD_DEVICE_MEMORY, "installable-options", "Installable options (memory only)"},
    {IDD_CUSTOMISE, "customise", "Customisation"},
};

// A dialog a page opens, for its picture: the page, the control that opens it, the dialog's
// title and its name in the file list. Pages add theirs here.
struct DialogShot {
    int page;
    int opener;
    const wchar_t* title;
    const char* file;
    const char* name;
    // When set, the title is this template's caption in the sheet's language library.
    UINT captionOf = 0;
    // Run before the opener is clicked: what makes the opener usable.
    void (*prepare)(Sheet&) = nullptr;
    // When set, the title is this control's text on the page with every "&" removed (the dialog
    // takes it as its caption).
    int titleControl = 0;
};
// The Setup page's job hold button needs a printer disk.
void WithDisk(Sheet& s)
{
    s.Entry(feature::kDiskCapacity.id).SetCurrent(1);
    s.Page(IDD_PAPER);
    s.Page(IDD_SETUP);
}
const std::vector<DialogShot> kDialogShots = {
    {IDD_SETUP, IDC_OPTIONS_BUTTON, L"Print Options", "dialog-options", "Print options", IDD_OPTIONS},
    {IDD_SETUP, IDC_STATUS_BUTTON, L"Printer Status", "dialog-options-status", "Printer status", IDD_OPTIONS_STATUS},
    {IDD_SETUP, IDC_JOB_HOLD_BUTTON, L"Job Hold", "dialog-job-hold", "Job hold", IDD_JOB_HOLD, WithDisk},
    {IDD_CONFIGURATIONS, IDC_CONFIG_SAVE_AS, L"Save Configuration As", "dialog-config-save-as",
     "Save configuration as (Configurations page)", IDD_CONFIG_SAVE_AS},
    {IDD_WEB, IDC_WEB_SETTINGS, L"Web Settings", "dialog-web-settings", "Web settings (Web page)", IDD_WEB_ADDRESS},
    {IDD_CUSTOMISE, IDC_NEW_SIZE, L"Custom Paper", "dialog-5026-user-paper", "User paper size (from Customize)", 0,
     nullptr, IDC_FORMS_GROUP},
    {IDD_CUSTOMISE, IDC_NEW_ASSOCIATION, L"Custom Paper", "dialog-5027-paper-association",
     "Paper association (from Customize)", 0, nullptr, IDC_FORMS_GROUP},
    {IDD_CUSTOMISE, IDC_EDIT_WATERMARKS, L"Watermarks", "dialog-5024-watermarks", "Watermark editor (from Customize)",
     IDD_WATERMARK},
    {IDD_CUSTOMISE, IDC_DELETE_WATERMARKS, L"Delete Watermarks", "dialog-5025-watermark-delete",
     "Watermark deletion (from Customize)", IDD_WATERMARK_DELETE},
};

enum class State { Default, NoPermission, Constrained };
constexpr struct {
    State state;
    const char* name;
    const char* title;
} kStates[] = {
    {State::Default, "default", "as opened"},
    {State::NoPermission, "no-permission", "without permission"},
    {State::Constrained, "constrained", "4 pages per sheet, landscape, two-sided"},
};

std::string OutputDir()
{
    char dir[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QVSHOTS_DIR", dir, MAX_PATH) && dir[0])
        return dir;
    char language[16] = "";
    GetEnvironmentVariableA("QVPAGES_LANGUAGE", language, sizeof language);
    const std::string shots = qvtest::BinDir() + "\\..\\screenshots";
    CreateDirectoryA(shots.c_str(), nullptr);
    CreateDirectoryA((shots + "\\pages").c_str(), nullptr);
    return std::string(language) == "pseudo" ? shots + "\\pages\\pseudo" : shots + "\\pages";
}

const PageName* NameOf(int templateId)
{
    for (const PageName& p : kPageNames)
        if (p.templateId == templateId)
            return &p;
    return nullptr;
}

class PageShots : public pagetest::SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        // The maker offers web pages for printers without a manufacturer of their own: the Web
        // page is shown.
        qvtest::SetHklmString("SOFTWARE\\Qelbrin\\Web_Access\\Other OEMs", "IsSupported", "1");
        qvtest::SetHklmString("SOFTWARE\\Qelbrin\\Web_Access\\Other OEMs", "ConfigurationFile", "");
        dir_ = OutputDir();
        CreateDirectoryA(dir_.c_str(), nullptr);
    }
    void List(const std::string& file, const std::string& title, const char* state)
    {
        if (std::FILE* f = std::fopen((dir_ + "\\shots.txt").c_str(), "ab")) {
            std::fprintf(f, "%s\t%s\t%s\n", file.c_str(), title.c_str(), state);
            std::fclose(f);
        }
    }
    // Every page of the open sheet, and the dialogs listed for them.
    void Shoot(Sheet& s, const char* sheet, const char* state, const char* stateTitle)
    {
        for (int id : s.Templates()) {
            const HWND page = s.Page(id);
            ASSERT_TRUE(page);
            const PageName* name = NameOf(id);
            const std::string file = std::string(sheet) + "-" + std::to_string(id) + "-" +
                                     (name ? name->file : "page") + "-" + state + ".png";
            EXPECT_TRUE(dialogtest::CaptureWindow(s.Frame(), s.Context().summaryWindow, dir_ + "\\" + file)) << file;
            List(file, std::string(name ? name->title : "Page") + " (" + sheet + " sheet)", stateTitle);
            for (const DialogShot& d : kDialogShots) {
                if (d.page != id)
                    continue;
                const std::string dialogFile = std::string(d.file) + "-" + state + ".png";
                if (d.prepare)
                    d.prepare(s);
                std::wstring title = d.captionOf ? pagetest::TemplateCaption(LibraryDir(), d.captionOf) : d.title;
                if (d.titleControl) {
                    wchar_t text[128] = L"";
                    GetDlgItemTextW(page, d.titleControl, text, int(std::size(text)));
                    title = text;
                    std::erase(title, L'&');
                }
                Answer(title, [&, dialogFile](HWND dialog) {
                    EXPECT_TRUE(dialogtest::CaptureWindow(dialog, nullptr, dir_ + "\\" + dialogFile)) << dialogFile;
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                });
                // An opener the state greys opens nothing, and has no picture.
                if (!IsWindowEnabled(GetDlgItem(page, d.opener)))
                    continue;
                s.Click(page, d.opener);
                List(dialogFile, d.name, stateTitle);
            }
        }
    }
    // The printer's devmode with several pages per sheet, landscape and two-sided.
    Bytes Constrained(HANDLE printer)
    {
        Bytes d = CurrentDevmode(printer);
        devmode::Set(d, devmode::kFeature47Low, std::uint8_t(3));
        devmode::Set(d, devmode::dmOrientation, std::int16_t(DMORIENT_LANDSCAPE));
        devmode::Set(d, devmode::dmDuplex, std::int16_t(DMDUP_VERTICAL));
        devmode::UpdateChecksum(d);
        return d;
    }

    std::string dir_;
};

TEST_F(PageShots, DocumentSheet)
{
    for (const auto& st : kStates) {
        SCOPED_TRACE(st.name);
        HANDLE printer = Printer(pagetest::kColour);
        const Bytes input = st.state == State::Constrained ? Constrained(printer) : Bytes();
        const DWORD mode = DM_PROMPT | DM_COPY | (st.state == State::NoPermission ? DM_NOPERMISSION : 0) |
                           (input.empty() ? 0 : DM_IN_BUFFER);
        OpenDocumentSheet(
            printer,
            [&](Sheet& s) {
                s.Summary();
                Shoot(s, "document", st.name, st.title);
                s.Cancel();
            },
            mode, input.empty() ? nullptr : &input);
        EXPECT_TRUE(ScriptRan());
    }
}

TEST_F(PageShots, DeviceSheet)
{
    for (const auto& st : kStates) {
        if (st.state == State::Constrained)
            continue;  // the device sheet has no devmode to constrain
        SCOPED_TRACE(st.name);
        OpenDeviceSheet(
            Printer(pagetest::kColour),
            [&](Sheet& s) {
                Shoot(s, "device", st.name, st.title);
                s.Cancel();
            },
            st.state != State::NoPermission);
        EXPECT_TRUE(ScriptRan());
    }
}

}  // namespace
