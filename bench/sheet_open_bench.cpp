// The document sheet as a user waits for it: DocumentPropertiesW with a prompt, from the call to
// the first page painted, on a printer of each model whose configuration file is QVTDX5DA.DLL in
// the spooler's driver directory, with the dialog library and its language library beside it.
// The baseline is a sheet of one empty page opened through the same property-sheet service. The
// sheet is cancelled once its page has painted, so nothing is saved between repetitions.
#include <windows.h>
#include <winspool.h>
#include <psapi.h>

#include <commctrl.h>
#include <compstui.h>

#include <algorithm>
#include <cwchar>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "ImportProfile.h"
#include "ResourceIds.h"
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

// When the pieces of a sheet's opening ended on this thread: the frame window made (the spooler,
// the property-sheet service and the driver's start before it), the first page made (the frame's
// own start), the first message fetched after it (the page's controls, its WM_INITDIALOG and the
// rest of the frame's start), and the page's first paint done. The WH_CBT hook sees the windows
// made and is removed once the page is made: under Wine every hook called costs a round trip to
// the server, and a hook on each message sent would double the time measured. The WH_GETMESSAGE
// hook sees the page's WM_PAINT before it is dispatched; the next message fetched on the thread
// comes after the paint, and that moment is taken.
struct Watch {
    HHOOK hook = nullptr, creation = nullptr;
    LARGE_INTEGER start{}, frameMade{}, pageMade{}, looping{}, painted{};
    bool pagePainting = false;
    HWND frame = nullptr, page = nullptr;
    wchar_t tab[64] = L"";  // the painted page's tab
    wchar_t title[128] = L"";  // the sheet's
    // While the libraries' calls are profiled: their figures at the start and at each piece's end.
    bool marking = false;
    bench::ImportSnapshot marks[5];
} g_watch;

void Mark(int piece)
{
    if (g_watch.marking)
        g_watch.marks[piece] = bench::ImportSnapshot::Take();
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

bool IsDialogClass(LPCWSTR cls)
{
    return IS_INTRESOURCE(cls) ? LOWORD(reinterpret_cast<ULONG_PTR>(cls)) == 32770 : lstrcmpW(cls, L"#32770") == 0;
}

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

LRESULT CALLBACK WatchCreation(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* cs = reinterpret_cast<const CBT_CREATEWNDW*>(lp)->lpcs;
        if (!g_watch.frame && !(cs->style & WS_CHILD)) {
            g_watch.frame = reinterpret_cast<HWND>(wp);
            g_watch.frameMade = Now();
            Mark(1);
        } else if (g_watch.frame && !g_watch.page && cs->hwndParent == g_watch.frame && IsDialogClass(cs->lpszClass)) {
            g_watch.page = reinterpret_cast<HWND>(wp);
            g_watch.pageMade = Now();
            Mark(2);
            const LRESULT result = CallNextHookEx(g_watch.creation, code, wp, lp);
            UnhookWindowsHookEx(g_watch.creation);
            g_watch.creation = nullptr;
            return result;
        }
    }
    return CallNextHookEx(g_watch.creation, code, wp, lp);
}

LRESULT CALLBACK WatchMessages(int code, WPARAM remove, LPARAM lp)
{
    if (code == HC_ACTION && !g_watch.painted.QuadPart) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (g_watch.pageMade.QuadPart && !g_watch.looping.QuadPart)
            g_watch.looping = Now();
            Mark(3);
        if (g_watch.pagePainting) {
            g_watch.painted = Now();
            Mark(4);
            GetWindowTextW(g_watch.frame, g_watch.title, 128);
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

double Micros(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static const double perMicro = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1e6;
    }();
    return from.QuadPart && to.QuadPart ? double(to.QuadPart - from.QuadPart) / perMicro : 0;
}

// Microseconds from now to the first page's paint, of a sheet that `open` shows and the hook
// cancels; 0 when no page painted. The pieces stay in g_watch.
double TimeToFirstPaint(const std::function<void()>& open)
{
    const DWORD thread = GetCurrentThreadId();
    const bool marking = g_watch.marking;
    g_watch = Watch{};
    g_watch.marking = marking;
    Mark(0);
    g_watch.hook = SetWindowsHookExW(WH_GETMESSAGE, WatchMessages, nullptr, thread);
    g_watch.creation = SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, thread);
    g_watch.start = Now();
    open();
    for (HHOOK h : {g_watch.hook, g_watch.creation})
        if (h)
            UnhookWindowsHookEx(h);
    return Micros(g_watch.start, g_watch.painted);
}

// The pieces of one opening, in microseconds.
struct Pieces {
    double toFrame = 0, toPage = 0, toLoop = 0, toPaint = 0;
};

Pieces PiecesOf(const Watch& w)
{
    return {Micros(w.start, w.frameMade), Micros(w.frameMade, w.pageMade), Micros(w.pageMade, w.looping),
            Micros(w.looping, w.painted)};
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The median of each piece, the sheet's beside the empty one's.
void PrintPieces(const std::vector<Pieces>& sheet, const std::vector<Pieces>& bare, const std::vector<Pieces>& empty)
{
    const auto piece = [](const std::vector<Pieces>& v, double Pieces::*field) {
        std::vector<double> values;
        for (const Pieces& p : v)
            values.push_back(p.*field);
        return Median(values);
    };
    const struct {
        const char* what;
        double Pieces::*field;
    } rows[] = {
        {"to the frame made (spooler, service, driver start)", &Pieces::toFrame},
        {"to the first page made (the frame's start)", &Pieces::toPage},
        {"to the first message (the page's controls and start)", &Pieces::toLoop},
        {"to the page painted (frame and page shown, painted)", &Pieces::toPaint},
    };
    std::printf("    pieces (medians, ms)                                  the sheet  the template  one empty page\n");
    for (const auto& row : rows)
        std::printf("      %-52s %8.1f  %12.1f  %14.1f\n", row.what, piece(sheet, row.field) / 1000,
                    piece(bare, row.field) / 1000, piece(empty, row.field) / 1000);
}

// The platform calls of the driver and dialog libraries during an opening, per opening: counted
// and timed through their import tables. The spooler keeps the driver library loaded; the dialog
// library is freed with each sheet, so what its load and free cost is measured first, and the
// profiled openings hold it loaded (their total lacks that load).
void ProfileOpenings(const std::function<void()>& openSheet)
{
    constexpr int kProfiled = 5;
    static bool pagesRedirected = false;
    static HMODULE held = nullptr;
    const HMODULE driver = GetModuleHandleW(L"QVTDX5DA.DLL");
    if (!driver) {
        std::printf("    (the spooler does not keep the driver library loaded: no profile of its calls)\n");
        return;
    }
    if (!held) {
        wchar_t path[MAX_PATH] = L"";
        GetModuleFileNameW(driver, path, MAX_PATH);
        if (wchar_t* slash = wcsrchr(path, L'\\'))
            lstrcpyW(slash + 1, L"QVTDX5DU.DLL");
        std::vector<double> cycles;
        for (int i = 0; i < kProfiled && !GetModuleHandleW(L"QVTDX5DU.DLL"); ++i) {
            const LARGE_INTEGER from = Now();
            if (const HMODULE m = LoadLibraryW(path))
                FreeLibrary(m);
            cycles.push_back(Micros(from, Now()));
        }
        std::printf("    the dialog library's load and free (median of %zu): %.1f ms\n", cycles.size(), Median(cycles) / 1000);
        held = LoadLibraryW(path);
    }
    const HMODULE pages = GetModuleHandleW(L"QVTDX5DU.DLL");
    if (!pages) {
        std::printf("    (the dialog library cannot be held loaded: no profile of the calls)\n");
        return;
    }
    // Wine's spooler frees the driver library with the last printer of it and loads it again,
    // often at the same address, with its import table fresh: it is pointed at the wrappers
    // each time (pointing it again is harmless).
    HMODULE modules[256];
    DWORD bytes = 0;
    EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes);
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < std::size(modules); ++i) {
        wchar_t base[MAX_PATH] = L"";
        GetModuleBaseNameW(GetCurrentProcess(), modules[i], base, MAX_PATH);
        if (lstrcmpiW(base, L"QVTDX5DA.DLL") == 0)
            bench::ProfileImports(modules[i]);
    }
    if (!pagesRedirected)
        pagesRedirected = bench::ProfileImports(pages) > 0;
    const char* const pieceNames[] = {"to the frame made", "to the first page made", "to the first message",
                                      "to the page painted"};
    std::vector<bench::ImportSnapshot> perPiece(4);
    double total = 0;
    int profiled = 0;
    {
        const bench::ImportTiming timing;
        g_watch.marking = true;
        for (int i = 0; i < kProfiled; ++i) {
            const double t = TimeToFirstPaint(openSheet);
            if (!t || !g_watch.marks[1].stats.size() || !g_watch.marks[2].stats.size() || !g_watch.marks[3].stats.size())
                continue;
            total += t;
            ++profiled;
            for (int k = 0; k < 4; ++k) {
                const bench::ImportSnapshot d = g_watch.marks[k + 1].Since(g_watch.marks[k]);
                if (perPiece[k].stats.empty())
                    perPiece[k] = d;
                else
                    for (std::size_t j = 0; j < d.stats.size(); ++j) {
                        perPiece[k].stats[j].calls += d.stats[j].calls;
                        perPiece[k].stats[j].micros += d.stats[j].micros;
                    }
            }
        }
        g_watch.marking = false;
    }
    if (!profiled)
        return;
    double all = 0;
    for (const bench::ImportSnapshot& d : perPiece)
        all += d.Micros();
    std::printf("    the libraries' platform calls per opening (mean of %d, profiled: %.1f ms to the paint): %.1f ms\n",
                profiled, total / profiled / 1000, all / profiled / 1000);
    for (int k = 0; k < 4; ++k) {
        std::vector<bench::ImportStat> used;
        for (const bench::ImportStat& st : perPiece[k].stats)
            if (st.calls > 0)
                used.push_back(st);
        std::sort(used.begin(), used.end(), [](const auto& a, const auto& b) { return a.micros > b.micros; });
        std::printf("      %s: %.1f ms\n", pieceNames[k], perPiece[k].Micros() / profiled / 1000);
        for (std::size_t j = 0; j < used.size() && j < 8; ++j)
            std::printf("        %-28s %7.1f calls %9.1f us\n", used[j].name, double(used[j].calls) / profiled,
                        used[j].micros / profiled);
    }
    std::fflush(stdout);
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

// The Setup page's template from the language library, for a sheet of that page without its code:
// what the platform's making of its controls costs.
std::vector<BYTE> g_setupTemplate;

bool LoadSetupTemplate(const std::string& bin)
{
    const std::wstring path(std::wstring(bin.begin(), bin.end()) + L"\\QVTDX5DL.DLL");
    // As data only: the loaded language library must not outlive the loads the sheets make.
    const HMODULE language = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = language ? FindResourceW(language, MAKEINTRESOURCEW(IDD_SETUP), MAKEINTRESOURCEW(5)) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(language, found) : nullptr;
    if (const void* bytes = loaded ? LockResource(loaded) : nullptr) {
        const auto* first = static_cast<const BYTE*>(bytes);
        g_setupTemplate.assign(first, first + SizeofResource(language, found));
    }
    if (language)
        FreeLibrary(language);
    return !g_setupTemplate.empty();
}

// lParamInit 0: one empty page; 1: the Setup page's template with a procedure that does nothing.
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
    psp.pResource = info->lParamInit == 1 ? reinterpret_cast<LPCDLGTEMPLATEW>(g_setupTemplate.data()) : &page.dialog;
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
    if (!LoadSetupTemplate(qvtest::BinDir()))
        std::printf("(the Setup page's template cannot be read from the language library)\n");
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

        const auto openSheet = [&] {
            DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()),
                                reinterpret_cast<DEVMODEW*>(in.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
        };
        std::vector<double> sheet, empty, bare;
        std::vector<Pieces> sheetPieces, emptyPieces, barePieces;
        std::wstring firstPage, title;
        int unpainted = 0;
        for (int i = 0; i < kRepetitions; ++i) {
            const double e = TimeToFirstPaint([&] {
                DWORD result = 0;
                common(nullptr, EmptySheet, 0, &result);
            });
            if (e)
                emptyPieces.push_back(PiecesOf(g_watch));
            if (!g_setupTemplate.empty()) {
                if (const double b = TimeToFirstPaint([&] {
                        DWORD result = 0;
                        common(nullptr, EmptySheet, 1, &result);
                    })) {
                    bare.push_back(b);
                    barePieces.push_back(PiecesOf(g_watch));
                }
            }
            const double s = TimeToFirstPaint(openSheet);
            if (s)
                sheetPieces.push_back(PiecesOf(g_watch));
            firstPage = g_watch.tab;
            title = g_watch.title;
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
        std::printf("%-44s %s (%.0f ms), first page \"%ls\" of \"%ls\"\n", "",
                    median > 0 && median < kInstantMicros ? "instant" : "NOT instant", median / 1000, firstPage.c_str(),
                    title.c_str());
        if (!bare.empty())
            bench::Report("    the Setup page's template, no code", Median(bare), "one empty page", Median(empty));
        PrintPieces(sheetPieces, barePieces, emptyPieces);
        ProfileOpenings(openSheet);
        ClosePrinter(printer);
        qvtest::DeleteTestPrinter(printerName);
    }
    return status;
}
