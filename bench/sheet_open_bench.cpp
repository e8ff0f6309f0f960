// The document sheet as a user waits for it: DocumentPropertiesW with a prompt, from the call to
// the first page painted, on a printer of each model whose configuration file is QVTDX5DA.DLL in
// the spooler's driver directory, with the dialog library and its language library beside it.
// The baseline is a sheet of one empty page opened through the same property-sheet service. The
// sheet is cancelled once its page has painted, so nothing is saved between repetitions.
#include <windows.h>
#include <winspool.h>

#include <commctrl.h>
#include <compstui.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "DevmodeLayout.h"
#include "TestSupport.h"

namespace {

constexpr int kRepetitions = 15;
constexpr double kInstantMicros = 250000;
#ifdef _WIN64
constexpr char kEnvironment[] = "Windows x64";
#else
constexpr char kEnvironment[] = "Windows NT x86";
#endif

// The time at which the first page of the sheet on this thread finished its first paint. The
// WH_GETMESSAGE hook sees the page's WM_PAINT before it is dispatched; the next message fetched
// on the thread comes after the paint, and that moment is taken.
struct Watch {
    HHOOK hook = nullptr;
    bool pagePainting = false;
    LARGE_INTEGER painted{};
    HWND frame = nullptr;
    wchar_t tab[64] = L"";  // the painted page's tab
} g_watch;

bool IsPageOfSheet(HWND window)
{
    const HWND parent = GetParent(window);
    if (!parent || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0)
        return false;
    wchar_t cls[16] = L"";
    GetClassNameW(window, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0)
        return false;
    // A page's parent is the sheet frame, itself a top-level dialog with the tab control.
    return (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) == 0 && FindWindowExW(parent, nullptr, WC_TABCONTROLW, nullptr);
}

LRESULT CALLBACK WatchMessages(int code, WPARAM remove, LPARAM lp)
{
    if (code == HC_ACTION && !g_watch.painted.QuadPart) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (g_watch.pagePainting) {
            QueryPerformanceCounter(&g_watch.painted);
            if (const HWND tabs = FindWindowExW(g_watch.frame, nullptr, WC_TABCONTROLW, nullptr)) {
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = g_watch.tab;
                item.cchTextMax = 63;
                SendMessageW(tabs, TCM_GETITEMW, SendMessageW(tabs, TCM_GETCURSEL, 0, 0), LPARAM(&item));
            }
            PostMessageW(g_watch.frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        } else if (m->message == WM_PAINT && IsPageOfSheet(m->hwnd) && remove == PM_REMOVE) {
            g_watch.pagePainting = true;
            g_watch.frame = GetParent(m->hwnd);
        }
    }
    return CallNextHookEx(g_watch.hook, code, remove, lp);
}

// Microseconds from now to the first page's paint, of a sheet that `open` shows and the hook
// cancels; 0 when no page painted.
double TimeToFirstPaint(const std::function<void()>& open)
{
    g_watch = Watch{};
    g_watch.hook = SetWindowsHookExW(WH_GETMESSAGE, WatchMessages, nullptr, GetCurrentThreadId());
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    open();
    UnhookWindowsHookEx(g_watch.hook);
    if (!g_watch.painted.QuadPart)
        return 0;
    return double(g_watch.painted.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One empty page: a dialog template in memory of the size the driver's pages have.
struct EmptyPage {
    DLGTEMPLATE dialog{};
    WORD menu = 0, cls = 0, title = 0;
};

INT_PTR CALLBACK EmptyPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

LONG WINAPI EmptySheet(PPROPSHEETUI_INFO info, LPARAM)
{
    if (info->Reason != PROPSHEETUI_REASON_INIT)
        return 1;
    static EmptyPage page;
    page.dialog.style = WS_CHILD;
    page.dialog.cx = 252;
    page.dialog.cy = 218;
    PROPSHEETPAGEW psp{};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_DLGINDIRECT;
    psp.pResource = &page.dialog;
    psp.pfnDlgProc = EmptyPageProc;
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, LPARAM(&psp), 0) > 0 ? 1 : -1;
}

// The service calls the sheet procedure as stdcall (the toolchain's header leaves the convention out).
using SheetFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using CommonUiFn = LONG(WINAPI*)(HWND, SheetFn, LPARAM, LPDWORD);

bool RegisterDriver(const std::string& model, const std::string& dataFile)
{
    const std::string bin = qvtest::BinDir();
    std::string library = bin + "\\QVTDX5DA.DLL";
    std::string dependents;
    for (const char* name : {"QVTDX5DU.DLL", "QVTDX5DL.DLL", "QVTDX5BT.DLL", "QVTDX5B1.DLL"}) {
        const std::string path = bin + "\\" + name;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            dependents += path + '\0';
    }
    dependents += '\0';
    DRIVER_INFO_6A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(model.c_str());
    info.pEnvironment = const_cast<char*>(kEnvironment);
    info.pDriverPath = library.data();
    info.pConfigFile = library.data();
    info.pDataFile = const_cast<char*>(dataFile.c_str());
    info.pDependentFiles = dependents.data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE service = LoadLibraryW(L"compstui.dll");
    const auto common = service ? reinterpret_cast<CommonUiFn>(GetProcAddress(service, "CommonPropertySheetUIW")) : nullptr;
    if (!common) {
        std::printf("the property-sheet service is missing\n");
        return 1;
    }
    qvtest::TempDir dir;
    if (!qvtest::WriteFile(dir.File("qv5.dat"), "data\r\n"))
        return 1;

    std::printf("Document sheet to its first page painted against a sheet of one empty page (median of %d; "
                "instant below %.0f ms)\n",
                kRepetitions, kInstantMicros / 1000);
    int status = 0;
    for (const char* model : {"Qelbrin QV-5 PCL", "Qelbrin QV-5n PCL", "Qelbrin QV-5c PCL"}) {
        const std::string printerName = std::string("QV bench open ") + model;
        if (!RegisterDriver(model, dir.File("qv5.dat")) || !qvtest::AddTestPrinter(printerName, model, "FILE:")) {
            std::printf("%s: the driver or its printer could not be added (%lu)\n", model, GetLastError());
            status = 1;
            continue;
        }
        std::wstring name(printerName.begin(), printerName.end());
        HANDLE printer = nullptr;
        OpenPrinterW(name.data(), &printer, nullptr);
        std::vector<BYTE> out(devmode::kSize), in(devmode::kSize);
        DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(in.data()), nullptr, DM_OUT_BUFFER);

        std::vector<double> sheet, empty;
        std::wstring firstPage;
        int unpainted = 0;
        for (int i = 0; i < kRepetitions; ++i) {
            const double e = TimeToFirstPaint([&] {
                DWORD result = 0;
                common(nullptr, EmptySheet, 0, &result);
            });
            const double s = TimeToFirstPaint([&] {
                DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()),
                                    reinterpret_cast<DEVMODEW*>(in.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
            });
            firstPage = g_watch.tab;
            unpainted += (e == 0) + (s == 0);
            if (e)
                empty.push_back(e);
            if (s)
                sheet.push_back(s);
        }
        if (unpainted)
            std::printf("%s: %d sheets showed no painted page\n", model, unpainted);
        const double median = Median(sheet);
        bench::Report(std::string(model) + " sheet", median, "one empty page", Median(empty));
        std::printf("%-44s %s (%.0f ms), first page \"%ls\"\n", "",
                    median > 0 && median < kInstantMicros ? "instant" : "NOT instant", median / 1000, firstPage.c_str());
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    return status;
}
