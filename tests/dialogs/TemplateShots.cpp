// Pictures of the language library's templates, for looking at their layouts:
//   qvtemplateshots [--pseudo] [output directory]
// Every template of the English (or the pseudo-localised) library is created as a child dialog
// (no page logic: lists stay empty), its placeholders painted with the pictures the pages put
// there, and captured from the screen into <output>/<id>-<name>.png; the default output is
// build/<arch>/screenshots/templates (its "pseudo" folder for the pseudo library). Runs under the
// test display; exits 1 when a template cannot be created or captured.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Png.h"
#include "ResourceIds.h"
#include "TestSupport.h"
#include "controls/Controls.h"

namespace {

struct Template {
    int id;
    const char* name;
};
constexpr Template kTemplates[] = {
    {IDD_SETUP, "setup"},
    {IDD_PAPER, "paper"},
    {IDD_GRAPHICS, "graphics"},
    {IDD_FONTS, "fonts"},
    {IDD_OVERLAY, "overlay"},
    {IDD_COLOR, "color"},
    {IDD_ADVANCED_COLOR, "advanced-color"},
    {IDD_CONFIGURATIONS, "configurations"},
    {IDD_WEB, "web"},
    {IDD_ABOUT, "about"},
    {IDD_DEVICE, "installable-options"},
    {IDD_CUSTOMISE, "customise"},
    {IDD_DEVICE_MEMORY, "device-memory"},
    {IDD_WATERMARK, "watermark-editor"},
    {IDD_WATERMARK_DELETE, "watermark-delete"},
    {IDD_USER_PAPER, "user-paper-size"},
    {IDD_PAPER_ASSOCIATION, "paper-association"},
    {IDD_WEB_ADDRESS, "web-settings"},
    {IDD_JOB_HOLD, "job-hold"},
    {IDD_CONFIG_SAVE_AS, "configuration-save-as"},
    {IDD_CONFIG_RENAME, "configuration-rename"},
    {IDD_SUMMARY, "summary"},
    {IDD_ACCOUNT, "account"},
    {IDD_OPTIONS, "print-options"},
    {IDD_OPTIONS_STATUS, "printer-status"},
    {IDD_MANUAL_DUPLEX_1, "manual-duplex-long-edge"},
    {IDD_MANUAL_DUPLEX_2, "manual-duplex-short-edge"},
    {IDD_MANUAL_DUPLEX_3, "manual-duplex-steps"},
    {IDD_JOB_HOLD_PIN, "job-hold-pin"},
};

// Pictures the pages paint at their placeholders, and icons they show.
struct Placed {
    int templateId, control, picture;
};
constexpr Placed kPictures[] = {
    {IDD_SETUP, IDC_COPIES_PICTURE, IDB_COPIES_COLLATED},
    {IDD_SETUP, IDC_ORIENTATION_PICTURE, IDB_ORIENTATION_PORTRAIT},
    {IDD_SETUP, IDC_DUPLEX_PICTURE, IDB_DUPLEX_LONG_EDGE},
    {IDD_SETUP, IDC_LAYOUT_PICTURE_PORTRAIT, IDB_LAYOUT_4 + 1},
    {IDD_PAPER, IDC_PAPER_PICTURE, IDB_PAPER_LETTER_PORTRAIT},
    {IDD_PAPER, IDC_OUTPUT_ARROW, IDB_OUTPUT_ARROW},
    {IDD_PAPER, IDC_OUTPUT_PICTURE, IDB_PAPER_A4_PORTRAIT},
    {IDD_WEB, IDC_WEB_HOME_PICTURE, IDB_WEB_HOME},
    {IDD_WEB, IDC_WEB_DRIVERS_PICTURE, IDB_WEB_DRIVERS},
    {IDD_WEB, IDC_WEB_SUPPLIES_PICTURE, IDB_WEB_SUPPLIES},
    {IDD_WEB, IDC_WEB_SUPPORT_PICTURE, IDB_WEB_SUPPORT},
    {IDD_WEB, IDC_WEB_REGISTER_PICTURE, IDB_WEB_REGISTER},
    {IDD_OPTIONS, IDC_OPT_PICTURE, IDB_BOOKLET},
    {IDD_OPTIONS_STATUS, IDC_OPT_PICTURE, IDB_BOOKLET},
};
// Placeholders the pages hide without painting there in the default state.
constexpr int kHidden[] = {IDC_LAYOUT_PICTURE_LANDSCAPE};
constexpr Placed kIcons[] = {
    {IDD_SETUP, IDC_DUPLEX_ICON, IDI_DUPLEX_LONG_PORTRAIT},
    {IDD_GRAPHICS, IDC_LEVEL_ICON, IDI_LEVEL},
    {IDD_ABOUT, IDC_ABOUT_ICON, IDI_PRINTER_WORKGROUP},
};
// Sample texts of value fields that only a page fills.
struct Sample {
    int templateId, control;
    const wchar_t* text;
};
constexpr Sample kSamples[] = {
    {IDD_SETUP, IDC_COPIES, L"1"},
    {IDD_ABOUT, IDC_ABOUT_PRINTER, L"Qelbrin QV-5n PCL"},
    {IDD_ABOUT, IDC_ABOUT_DD_VERSION, L"5.0.0.0"},
    {IDD_ABOUT, IDC_ABOUT_BRAND_1, L"Qelbrin PCL Printer Driver"},
    {IDD_ABOUT, IDC_ABOUT_BRAND_2, L"Copyright \u00A9 2026 Qelbrin"},
    {IDD_ABOUT, IDC_ABOUT_BRAND_3, L"www.qelbrin.example"},
    {IDD_ABOUT, IDC_ABOUT_DL_VERSION, L"5.0.0.0"},
    {IDD_ABOUT, IDC_ABOUT_DA_VERSION, L"5.0.0.0"},
    {IDD_CONFIGURATIONS, IDC_CONFIG_CURRENT, L" Factory Defaults"},
    {IDD_SUMMARY, IDC_SUMMARY_FORM, L"Letter"},
    {IDD_SUMMARY, IDC_SUMMARY_MEDIA, L"Plain"},
    {IDD_SUMMARY, IDC_SUMMARY_QUALITY, L"Normal (600 dpi)"},
    {IDD_SUMMARY, IDC_SUMMARY_COPIES, L"1"},
    {IDD_SUMMARY, IDC_SUMMARY_COLLATE, L"Off"},
    {IDD_SUMMARY, IDC_SUMMARY_DUPLEX, L"None"},
    {IDD_USER_PAPER, IDC_UPS_WIDTH_RANGE, L"(3.0 - 8.5)"},
    {IDD_USER_PAPER, IDC_UPS_HEIGHT_RANGE, L"(5.0 - 14.0)"},
};

struct Shot {
    HMODULE language;
    int templateId;
    std::vector<std::pair<RECT, HBITMAP>> pictures;
};

// ---- The dialogs ---------------------------------------------------------------------------------

INT_PTR CALLBACK ShotProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Shot* shot = reinterpret_cast<Shot*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        shot = reinterpret_cast<Shot*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        for (const Placed& p : kPictures) {
            const HWND placeholder = p.templateId == shot->templateId ? GetDlgItem(dialog, p.control) : nullptr;
            if (!placeholder)
                continue;
            RECT r{};
            GetWindowRect(placeholder, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            ShowWindow(placeholder, SW_HIDE);
            shot->pictures.emplace_back(r, static_cast<HBITMAP>(LoadImageW(shot->language, MAKEINTRESOURCEW(p.picture),
                                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        }
        for (int id : kHidden)
            if (const HWND placeholder = GetDlgItem(dialog, id))
                ShowWindow(placeholder, SW_HIDE);
        for (const Placed& p : kIcons)
            if (p.templateId == shot->templateId)
                SendDlgItemMessageW(dialog, p.control, STM_SETICON,
                                    reinterpret_cast<WPARAM>(LoadImageW(shot->language, MAKEINTRESOURCEW(p.picture),
                                                                         IMAGE_ICON, 32, 32, 0)),
                                    0);
        for (const Sample& s : kSamples)
            if (s.templateId == shot->templateId)
                SetDlgItemTextW(dialog, s.control, s.text);
        // The controls' own messages, as the pages send them.
        if (shot->templateId == IDD_OVERLAY) {
            SendDlgItemMessageW(dialog, IDC_OVERLAY_TABS, controls::tab::kAdd, IDC_OVERLAY_TAB, 0);
            SendDlgItemMessageW(dialog, IDC_OVERLAY_TABS, controls::tab::kAdd, IDC_WATERMARK_TAB, 0);
            for (int id = IDC_WATERMARK_SWITCH_GROUP; id <= IDC_WATERMARK_PLACEMENT_1; ++id)
                ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
        }
        if (shot->templateId == IDD_DEVICE)
            for (int id : {IDC_INSTALL_TAB, IDC_INSTALL_UNDER_TAB, IDC_REMOVE_TAB})
                SendDlgItemMessageW(dialog, IDC_OPTION_TABS, controls::tab::kAdd, id, 0);
        if (HWND brand = GetDlgItem(dialog, IDC_BRAND_PICTURE)) {
            SendMessageW(brand, controls::bitmap::kTransparent, 0, RGB(0, 255, 0));
            SendMessageW(brand, controls::bitmap::kNaturalSize, 0, 1);
            SendMessageW(brand, controls::bitmap::kLoad, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDB_BRAND)));
        }
        if (HWND preview = GetDlgItem(dialog, IDC_SUMMARY_PREVIEW)) {
            ShowWindow(GetDlgItem(dialog, IDC_SUMMARY_PREVIEW_FRAME), SW_HIDE);
            SendMessageW(preview, controls::paper::kLayout, 3, 0);
            SendMessageW(preview, controls::paper::kOrientation, 1, 0);
            SendMessageW(preview, controls::paper::kBorders, 1, 0);
            SendMessageW(preview, controls::paper::kPaperWidth, 0, 2159);
            SendMessageW(preview, controls::paper::kPaperHeight, 0, 2794);
            SendMessageW(preview, WM_SIZE, 0, 0);
        }
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dialog, &ps);
        for (const auto& [r, bitmap] : shot ? shot->pictures : decltype(shot->pictures){}) {
            BITMAP info{};
            GetObjectW(bitmap, sizeof info, &info);
            HDC memory = CreateCompatibleDC(dc);
            const HGDIOBJ old = SelectObject(memory, bitmap);
            TransparentBlt(dc, r.left, r.top, info.bmWidth, info.bmHeight, memory, 0, 0, info.bmWidth, info.bmHeight,
                           RGB(0, 255, 0));
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        EndPaint(dialog, &ps);
        return TRUE;
    }
    case WM_DRAWITEM: {
        // Owner-drawn tab buttons: their text, as the page would draw it.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        wchar_t text[64] = {};
        GetWindowTextW(item->hwndItem, text, 64);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(item->hDC, TRANSPARENT);
        RECT r = item->rcItem;
        DrawTextW(item->hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
    }
    return FALSE;
}

void Pump()
{
    for (int round = 0; round < 5; ++round) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(30);
    }
}

bool Capture(HMODULE language, const Template& t, const std::string& path)
{
    const HRSRC found = FindResourceW(language, MAKEINTRESOURCEW(t.id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!found)
        return false;
    const auto* resource = static_cast<const BYTE*>(LockResource(LoadResource(language, found)));
    std::vector<BYTE> bytes(resource, resource + SizeofResource(language, found));
    DWORD style;
    std::memcpy(&style, bytes.data() + 12, sizeof style);
    style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_DISABLED | WS_BORDER)) | WS_CHILD |
            WS_VISIBLE;
    std::memcpy(bytes.data() + 12, &style, sizeof style);

    const HWND host = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                      10, 10, nullptr, nullptr, nullptr, nullptr);
    Shot shot{language, t.id, {}};
    const HWND dialog = CreateDialogIndirectParamW(language, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), host,
                                                   ShotProc, reinterpret_cast<LPARAM>(&shot));
    if (!dialog) {
        std::fprintf(stderr, "template %d: not created (%lu)\n", t.id, GetLastError());
        DestroyWindow(host);
        return false;
    }
    RECT r{};
    GetWindowRect(dialog, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(host, HWND_TOPMOST, 0, 0, w, h, SWP_SHOWWINDOW);
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();

    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, dib);
    const bool copied = BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    const std::vector<std::uint32_t> pixels(px, px + std::size_t(w) * h);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (const auto& [rect, bitmap] : shot.pictures)
        DeleteObject(bitmap);
    DestroyWindow(dialog);
    DestroyWindow(host);
    const bool written = copied && dialogtest::WritePng(path, w, h, pixels);
    if (!written)
        std::fprintf(stderr, "template %d: not captured to %s\n", t.id, path.c_str());
    return written;
}

// The language library a dialog library loaded beside itself.
HMODULE LanguageBeside(const std::string& dialogLibrary)
{
    if (!LoadLibraryA(dialogLibrary.c_str()))
        return nullptr;
    return GetModuleHandleA((dialogLibrary.substr(0, dialogLibrary.find_last_of('\\') + 1) + "QVTDX5DL.DLL").c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool pseudo = !args.empty() && args[0] == "--pseudo";
    if (pseudo)
        args.erase(args.begin());
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: qvtemplateshots [--pseudo] [output directory]\n");
        return 2;
    }
    const std::string shots = qvtest::BinDir() + "\\..\\screenshots";
    std::string out = shots + "\\templates";
    CreateDirectoryA(shots.c_str(), nullptr);
    CreateDirectoryA(out.c_str(), nullptr);
    if (pseudo)
        out += "\\pseudo";
    if (!args.empty())
        out = args[0];
    CreateDirectoryA(out.c_str(), nullptr);

    // The pseudo-localised library runs beside a copy of the dialog library.
    qvtest::TempDir copy;
    std::string dialogs = qvtest::BinDir() + "\\QVTDX5DU.DLL";
    if (pseudo) {
        if (!CopyFileA(dialogs.c_str(), copy.File("QVTDX5DU.DLL").c_str(), FALSE) ||
            !CopyFileA((qvtest::BinDir() + "\\..\\pseudo\\QVTDX5DL.DLL").c_str(), copy.File("QVTDX5DL.DLL").c_str(),
                       FALSE)) {
            std::fprintf(stderr, "qvtemplateshots: the pseudo-localised library could not be copied\n");
            return 1;
        }
        dialogs = copy.File("QVTDX5DU.DLL");
    }
    const HMODULE language = LanguageBeside(dialogs);
    if (!language) {
        std::fprintf(stderr, "qvtemplateshots: %s did not load its language library\n", dialogs.c_str());
        return 1;
    }
    int failed = 0;
    for (const Template& t : kTemplates)
        failed += !Capture(language, t, out + "\\" + std::to_string(t.id) + "-" + t.name + ".png");
    std::printf("qvtemplateshots: %zu templates, %d failed\n", std::size(kTemplates), failed);
    FreeLibrary(GetModuleHandleA(dialogs.c_str()));
    return failed ? 1 : 0;
}
