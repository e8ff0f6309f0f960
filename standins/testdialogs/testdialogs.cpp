// A dialog library for the sheet tests. DialogControl records its call and adds one page through
// the service the sheet context carries; the page changes one feature entry when it opens, runs
// the refresh procedure the context names, and presses a button of the sheet. The page follows
// the pages' protocol at apply: OK sets both OK-pressed flags; a device sheet, or the Apply
// button, commits through CallBackAccess 24. LoadXlatedString answers "String <number>".
//
// Environment, read when DialogControl is called:
//   QVTESTDIALOG_RECORD   file that receives one line per event
//   QVTESTDIALOG_FEATURE  "<identifier>:<value>" the page stores as that entry's current value
//   QVTESTDIALOG_BUTTON   "ok" or "cancel": pressed once the page is shown; otherwise none
//   QVTESTDIALOG_RESULT   DialogControl's answer (0 by default)
#include <windows.h>
#include <commctrl.h>
#include <compstui.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "DialogLibraryApi.h"
#include "SheetCalls.h"

namespace {

struct Settings {
    int feature = 0;
    int value = 0;
    int button = -1;  // PSBTN_OK or PSBTN_CANCEL
    DWORD result = 0;
    WORD slots = 0;
};
Settings g_settings;
constexpr UINT_PTR kPressTimer = 1;
constexpr UINT_PTR kSafetyTimer = 2;

std::string Env(const char* name)
{
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n && n < MAX_PATH ? std::string(value, n) : std::string();
}

void Record(const std::string& line)
{
    const std::string path = Env("QVTESTDIALOG_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

void ReadSettings(WORD slots)
{
    g_settings = {};
    g_settings.slots = slots;
    const std::string feature = Env("QVTESTDIALOG_FEATURE");
    if (const auto colon = feature.find(':'); colon != std::string::npos) {
        g_settings.feature = std::atoi(feature.c_str());
        g_settings.value = std::atoi(feature.c_str() + colon + 1);
    }
    const std::string button = Env("QVTESTDIALOG_BUTTON");
    g_settings.button = button == "ok" ? PSBTN_OK : button == "cancel" ? PSBTN_CANCEL : -1;
    g_settings.result = DWORD(std::atoi(Env("QVTESTDIALOG_RESULT").c_str()));
}

template <class Fn>
Fn DriverExport(const SheetContext* c, const char* name)
{
    return reinterpret_cast<Fn>(GetProcAddress(c->module, name));
}

void ChangeEntry(SheetContext* c)
{
    if (g_settings.feature <= 0 || g_settings.feature >= kFeatureSlots)
        return;
    auto* entry = static_cast<std::uint8_t*>(c->featureEntries[g_settings.feature]);
    if (!entry)
        return;
    const auto value = std::uint16_t(g_settings.value);
    std::memcpy(entry + 6, &value, 2);
    entry[5] = 1;
    if (const auto refresh = DriverExport<RefreshProcFn>(c, c->refreshProcName))
        refresh(c->featureBlock);
    Record("changed " + std::to_string(g_settings.feature) + " to " + std::to_string(g_settings.value));
}

void Apply(HWND page, SheetContext* c, bool ok)
{
    if (!ok)
        SendMessageW(GetParent(page), PSM_UNCHANGED, WPARAM(page), 0);
    c->okPressed[0] = c->okPressed[1] = 1;
    const bool device = g_settings.slots != kDocumentSheetSlots;
    Record(std::string("apply ") + (ok ? "ok" : "apply"));
    if (!device && ok)
        return;
    std::memcpy(c->savedFeatureBlock, c->featureBlock, c->featureBlockSize);
    std::memcpy(c->savedPrinterConfig, c->printerConfig, sizeof c->printerConfig);
    if (const auto callBack = DriverExport<CallBackAccessFn>(c, kCallBackAccessExport))
        callBack(c, kCbCommit, nullptr, nullptr);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* c = reinterpret_cast<SheetContext*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(page, DWLP_USER, LONG_PTR(c));
        Record("page shown");
        ChangeEntry(c);
        if (g_settings.button >= 0)
            SetTimer(page, kPressTimer, 100, nullptr);
        // A sheet no button closed would hold its test until the run's timeout.
        SetTimer(page, kSafetyTimer, 20000, nullptr);
        return TRUE;
    }
    case WM_TIMER:
        KillTimer(page, UINT_PTR(wParam));
        if (wParam == kSafetyTimer)
            Record("safety cancel");
        {
            // The sheet's title, as the user sees it.
            wchar_t caption[256] = L"";
            char narrow[512] = "";
            GetWindowTextW(GetParent(page), caption, 256);
            WideCharToMultiByte(CP_ACP, 0, caption, -1, narrow, sizeof narrow, nullptr, nullptr);
            Record(std::string("frame ") + narrow);
        }
        PostMessageW(GetParent(page), PSM_PRESSBUTTON, wParam == kSafetyTimer ? PSBTN_CANCEL : WPARAM(g_settings.button), 0);
        return TRUE;
    case WM_NOTIFY: {
        const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
        auto* c = reinterpret_cast<SheetContext*>(GetWindowLongPtrW(page, DWLP_USER));
        if (notify->hdr.code == UINT(PSN_APPLY) && c) {
            Apply(page, c, notify->lParam != 0);
            SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        if (notify->hdr.code == UINT(PSN_RESET))
            Record("reset");
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// A page of its own: a dialog template in memory.
struct alignas(4) PageTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
};
const PageTemplate kTemplate = {{DS_CONTROL | WS_CHILD, 0, 0, 0, 0, 200, 120}, 0, 0, 0};

}  // namespace

extern "C" {

DWORD WINAPI DialogControl(SheetContext* context, void* featureBlock, PageTemplates templates, WORD slots,
                           HANDLE printer)
{
    static_assert(std::is_same_v<decltype(&DialogControl), DialogControlFn>);
    ReadSettings(slots);
    std::string line = "DialogControl " + std::to_string(slots) + (featureBlock == context->featureBlock ? " block" : " other") +
                       (printer == context->printer ? " printer" : " other");
    for (WORD id : templates.id)
        line += " " + std::to_string(id);
    Record(line);

    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    page.hInstance = GetModuleHandleW(nullptr);
    page.pResource = &kTemplate.dialog;
    page.pszTitle = L"Test page";
    page.pfnDlgProc = PageProc;
    page.lParam = LPARAM(context);
    const auto service = reinterpret_cast<PFNCOMPROPSHEET>(context->sheetService);
    const LONG_PTR added = service ? service(context->sheetServiceHandle, CPSFUNC_ADD_PROPSHEETPAGEW, LPARAM(&page), 0) : 0;
    Record(added ? "page added" : "page refused");
    return added ? g_settings.result : 1;
}

int WINAPI LoadXlatedString(XlatedStringRequest* request)
{
    if (!request || !request->buffer || request->length == 0)
        return 0;
    const int n = std::snprintf(request->buffer, request->length, "String %u", unsigned(request->number));
    return n < 0 ? 0 : std::min<int>(n, request->length - 1);
}

}  // extern "C"
