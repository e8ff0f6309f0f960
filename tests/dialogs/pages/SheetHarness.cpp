#include "SheetHarness.h"

#include <commctrl.h>
#include <compstui.h>
#include <prsht.h>

#include <algorithm>
#include <memory>

#include "DrvUiDecls.h"
#include "TestSupport.h"
#include "WindowLookup.h"

namespace pagetest {
namespace {

using DocumentPropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using PrinterPropertiesFn = BOOL(WINAPI*)(HWND, HANDLE);

constexpr int kApplyButton = 0x3021;  // the property sheet's Apply button
constexpr UINT kPollMs = 50;
constexpr UINT kSafetyMs = 60000;

struct DialogAnswer {
    std::wstring title;
    std::function<void(HWND)> answer;
};

// One sheet at a time per test program: the state its timers and hook share.
struct SheetRun {
    Script script;
    bool ran = false;
    bool pressed = false;
    HWND frame = nullptr;
    HHOOK hook = nullptr;
    UINT_PTR poll = 0;
    UINT_PTR safety = 0;
    std::vector<HWND> known;    // dialogs already seen
    std::vector<HWND> pending;  // dialogs to answer
    PFNCOMPROPSHEET service = nullptr;
    int commits = 0;
};
SheetRun g_run;
// What a test says about dialogs, and what it saw: kept from before the sheet opens until the
// test ends.
std::vector<DialogAnswer> g_answers;
std::vector<SeenDialog> g_seen;

using qvtest::ClassOf;
using qvtest::IsSheetFrame;
using qvtest::TextOf;

BOOL CALLBACK FindFrame(HWND window, LPARAM out)
{
    if (!IsSheetFrame(window))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

BOOL CALLBACK KeepLongestStatic(HWND child, LPARAM out)
{
    auto& longest = *reinterpret_cast<std::wstring*>(out);
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0) {
        const std::wstring text = TextOf(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return TRUE;
}

LONG_PTR CALLBACK CountingService(HANDLE handle, UINT function, LPARAM first, LPARAM second)
{
    if (function == CPSFUNC_SET_RESULT)
        ++g_run.commits;
    return g_run.service ? g_run.service(handle, function, first, second) : 0;
}

void CALLBACK AnswerDialogs(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::vector<HWND> pending;
    pending.swap(g_run.pending);
    for (HWND dialog : pending) {
        if (!IsWindow(dialog))
            continue;
        SeenDialog seen{TextOf(dialog), {}};
        EnumChildWindows(dialog, KeepLongestStatic, LPARAM(&seen.text));
        g_seen.push_back(seen);
        const auto match = std::find_if(g_answers.begin(), g_answers.end(),
                                        [&](const DialogAnswer& a) { return a.title == seen.title; });
        if (match == g_answers.end()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        const auto answer = match->answer;
        g_answers.erase(match);
        answer(dialog);
    }
}

// Windows the pages open while the sheet runs: modal dialogs and message boxes.
LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_run.frame) {
        const auto window = reinterpret_cast<HWND>(wParam);
        if (window != g_run.frame && std::find(g_run.known.begin(), g_run.known.end(), window) == g_run.known.end() &&
            GetWindow(window, GW_OWNER) != nullptr) {
            g_run.known.push_back(window);
            g_run.pending.push_back(window);
            SetTimer(nullptr, 0, kPollMs, AnswerDialogs);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK Safety(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    ADD_FAILURE() << "the sheet was still open after " << kSafetyMs / 1000 << " s";
    if (g_run.frame && IsWindow(g_run.frame))
        PostMessageW(g_run.frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void CALLBACK StartScript(HWND, UINT, UINT_PTR id, DWORD)
{
    if (g_run.ran)
        return;
    HWND frame = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFrame, LPARAM(&frame));
    if (!frame)
        return;
    KillTimer(nullptr, id);
    g_run.poll = 0;
    g_run.ran = true;
    g_run.frame = frame;
    const auto page = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETCURRENTPAGEHWND, 0, 0));
    auto* c = page ? reinterpret_cast<SheetContext*>(GetWindowLongPtrW(page, DWLP_USER)) : nullptr;
    Sheet sheet(frame, IsSheetContext(c) ? c : nullptr);
    if (IsSheetContext(c) && c->sheetService != reinterpret_cast<void*>(CountingService)) {
        g_run.service = reinterpret_cast<PFNCOMPROPSHEET>(c->sheetService);
        c->sheetService = reinterpret_cast<void*>(CountingService);
    }
    g_run.script(sheet);
    if (!g_run.pressed && IsWindow(frame))
        PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

}  // namespace

INT_PTR RunScript(const Script& script, const std::function<INT_PTR()>& call)
{
    g_run = SheetRun{};
    g_run.script = script;
    g_run.hook = SetWindowsHookExW(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
    g_run.poll = SetTimer(nullptr, 0, kPollMs, StartScript);
    g_run.safety = SetTimer(nullptr, 0, kSafetyMs, Safety);
    const auto answer = call();
    if (g_run.poll)
        KillTimer(nullptr, g_run.poll);
    KillTimer(nullptr, g_run.safety);
    UnhookWindowsHookEx(g_run.hook);
    g_run.hook = nullptr;
    g_run.service = nullptr;
    g_run.frame = nullptr;
    return answer;
}

// ---- Sheet ---------------------------------------------------------------------------------------

int Sheet::PageCount() const
{
    const HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame_, PSM_GETTABCONTROL, 0, 0));
    return tabs ? int(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<int> Sheet::Templates() const
{
    std::vector<int> ids;
    for (int i = 0; i < PageCount(); ++i)
        ids.push_back(int(SendMessageW(frame_, PSM_INDEXTOID, WPARAM(i), 0)));
    return ids;
}

HWND Sheet::Page(int templateId)
{
    const std::vector<int> ids = Templates();
    const auto at = std::find(ids.begin(), ids.end(), templateId);
    if (at == ids.end())
        return nullptr;
    SendMessageW(frame_, PSM_SETCURSEL, WPARAM(at - ids.begin()), 0);
    return CurrentPage();
}

HWND Sheet::CurrentPage() const
{
    return reinterpret_cast<HWND>(SendMessageW(frame_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

SheetContext& Sheet::Context() const
{
    EXPECT_TRUE(context_) << "the sheet's first page holds no sheet context";
    static SheetContext none{};
    return context_ ? *context_ : none;
}

pages::EntryView Sheet::Entry(int id) const
{
    return pages::EntryView(Context().featureEntries[id]);
}

pages::EntryView Sheet::SavedEntry(int id) const
{
    return pages::EntryView(Context().savedFeatureEntries[id]);
}

Bytes Sheet::Devmode() const
{
    SheetContext& c = Context();
    const auto callBack = reinterpret_cast<CallBackAccessFn>(GetProcAddress(c.module, kCallBackAccessExport));
    Bytes d(devmode::kSize, 0);
    WORD result = 0;
    if (callBack)
        callBack(&c, kCbDevmode, d.data(), &result);
    EXPECT_EQ(result, devmode::kSize);
    return d;
}

HWND Sheet::Summary()
{
    SheetContext& c = Context();
    if (c.summaryWindow || !c.dialogLibrary)
        return c.summaryWindow;
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(c.dialogLibrary, path, MAX_PATH);
    std::wstring language(path);
    language = language.substr(0, language.find_last_of(L'\\') + 1) + L"QVTDX5DL.DLL";
    const auto proc = reinterpret_cast<DLGPROC>(GetProcAddress(c.dialogLibrary, "SummaryWindowProc"));
    const HMODULE resources = GetModuleHandleW(language.c_str());
    EXPECT_TRUE(proc && resources);
    if (!proc || !resources)
        return nullptr;
    const HWND window = CreateDialogParamW(resources, MAKEINTRESOURCEW(5044), frame_, proc, LPARAM(&c));
    RECT f{}, r{};
    GetWindowRect(frame_, &f);
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, f.right, f.top, r.right - r.left, f.bottom - f.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

void Sheet::Choose(HWND page, int id, int index)
{
    SendDlgItemMessageW(page, id, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(GetDlgItem(page, id)));
}

bool Sheet::ChooseData(HWND page, int id, LPARAM data)
{
    const auto count = SendDlgItemMessageW(page, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendDlgItemMessageW(page, id, CB_GETITEMDATA, WPARAM(i), 0) == data) {
            Choose(page, id, int(i));
            return true;
        }
    }
    return false;
}

void Sheet::Click(HWND page, int id)
{
    SendDlgItemMessageW(page, id, BM_CLICK, 0, 0);
}

void Sheet::Type(HWND page, int id, const std::wstring& text)
{
    const HWND edit = GetDlgItem(page, id);
    SetWindowTextW(edit, text.c_str());
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), LPARAM(edit));
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), LPARAM(edit));
}

void Sheet::Scroll(HWND page, int id, int code, int position)
{
    const HWND bar = GetDlgItem(page, id);
    const LONG style = GetWindowLongW(bar, GWL_STYLE);
    const std::wstring cls = ClassOf(bar);
    const bool vertical = _wcsicmp(cls.c_str(), L"ScrollBar") == 0 ? (style & SBS_VERT) != 0 : (style & TBS_VERT) != 0;
    SendMessageW(page, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position), LPARAM(bar));
}

bool Sheet::Enabled(HWND page, int id) const
{
    const HWND control = GetDlgItem(page, id);
    EXPECT_TRUE(control) << "no control " << id;
    return control && IsWindowEnabled(control);
}

bool Sheet::Visible(HWND page, int id) const
{
    const HWND control = GetDlgItem(page, id);
    EXPECT_TRUE(control) << "no control " << id;
    return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
}

std::wstring Sheet::Text(HWND page, int id) const
{
    return TextOf(GetDlgItem(page, id));
}

std::vector<std::wstring> Sheet::Items(HWND page, int id) const
{
    std::vector<std::wstring> items;
    const auto count = SendDlgItemMessageW(page, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        if (SendDlgItemMessageW(page, id, CB_GETLBTEXTLEN, WPARAM(i), 0) < LRESULT(std::size(text)))
            SendDlgItemMessageW(page, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items.emplace_back(text);
    }
    return items;
}

int Sheet::Selected(HWND page, int id) const
{
    return int(SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0));
}

void Sheet::Apply()
{
    SendMessageW(frame_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
}

void Sheet::Ok()
{
    g_run.pressed = true;
    SendMessageW(frame_, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

void Sheet::Cancel()
{
    g_run.pressed = true;
    PostMessageW(frame_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

bool Sheet::ApplyEnabled() const
{
    return IsWindowEnabled(GetDlgItem(frame_, kApplyButton));
}

int Sheet::Commits() const
{
    return g_run.commits;
}

// ---- SheetTest -----------------------------------------------------------------------------------

// The libraries the sheets load beside the driver library.
constexpr const char* kSheetLibraries[] = {"QVTDX5DA.DLL", "QVTDX5DU.DLL", "QVTDX5BT.DLL", "QVTDX5B1.DLL",
                                           "QVTDX5TE.DLL", "QVTDX5PU.DLL", "QVTDX5TD.DLL", "QVTDX5BJ.DLL"};

void SheetTest::SetUpTestSuite()
{
    const std::string bin = qvtest::BinDir();
    libraryDir_ = bin;
    char language[16] = "";
    GetEnvironmentVariableA("QVPAGES_LANGUAGE", language, sizeof language);
    if (std::string(language) == "pseudo") {
        pseudoDir_ = new qvtest::TempDir();
        for (const char* name : kSheetLibraries)
            CopyFileA((bin + "\\" + name).c_str(), pseudoDir_->File(name).c_str(), FALSE);
        CopyFileA((bin + "\\..\\pseudo\\QVTDX5DL.DLL").c_str(), pseudoDir_->File("QVTDX5DL.DLL").c_str(), FALSE);
        libraryDir_ = pseudoDir_->Path();
    }
    library_ = LoadLibraryA((libraryDir_ + "\\QVTDX5DA.DLL").c_str());
    driversReady_ = true;
    for (const char* model : kModels)
        driversReady_ = qvtest::InstallTestDriver(model) && driversReady_;
}

void SheetTest::TearDownTestSuite()
{
    if (library_)
        FreeLibrary(library_);
    library_ = nullptr;
    delete pseudoDir_;
    pseudoDir_ = nullptr;
}

void SheetTest::SetUp()
{
    ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load from " << libraryDir_;
    ASSERT_TRUE(driversReady_) << "the models' test drivers could not be installed";
}

void SheetTest::TearDown()
{
    g_run = SheetRun{};
    g_answers.clear();
    g_seen.clear();
}

HANDLE SheetTest::Printer(const char* model)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return printers_.Open(
        printers_.Add(model, std::string("QV pages ") + info->name() + " " + std::to_string(printers_.Count())));
}

std::wstring SheetTest::PrinterName() const
{
    const std::string& name = printers_.Last();
    return std::wstring(name.begin(), name.end());
}

LONG SheetTest::OpenDocumentSheet(HANDLE printer, const Script& script, DWORD mode, const Bytes* input)
{
    const auto properties =
        reinterpret_cast<DocumentPropertiesFn>(GetProcAddress(library_, "DrvDocumentProperties"));
    EXPECT_TRUE(properties);
    if (!properties)
        return -1;
    std::wstring name = PrinterName();
    out_.assign(devmode::kSize, 0);
    Bytes in = input ? *input : Bytes();
    DEVMODEW* inDevmode = input ? reinterpret_cast<DEVMODEW*>(in.data()) : nullptr;
    return LONG(RunScript(script, [&]() -> INT_PTR {
        return properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out_.data()), inDevmode, mode);
    }));
}

Bytes SheetTest::CurrentDevmode(HANDLE printer)
{
    const auto properties =
        reinterpret_cast<DocumentPropertiesFn>(GetProcAddress(library_, "DrvDocumentProperties"));
    std::wstring name = PrinterName();
    Bytes d(devmode::kSize, 0);
    EXPECT_TRUE(properties && properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(d.data()),
                                         nullptr, DM_COPY) > 0);
    return d;
}

BOOL SheetTest::OpenDeviceSheet(HANDLE printer, const Script& script, bool permission)
{
    if (!permission) {
        // As PrinterProperties opens it, with the header saying the user may not change it.
        using SheetUiFn = LONG(WINAPI*)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
        const HMODULE service = LoadLibraryW(L"compstui.dll");
        const auto common = service ? reinterpret_cast<SheetUiFn>(GetProcAddress(service, "CommonPropertySheetUIW"))
                                    : nullptr;
        const auto sheets = reinterpret_cast<PFNPROPSHEETUI>(GetProcAddress(library_, "DrvDevicePropertySheets"));
        EXPECT_TRUE(common && sheets);
        if (!common || !sheets)
            return FALSE;
        std::wstring name = PrinterName();
        DEVICEPROPERTYHEADER header{};
        header.cbSize = sizeof header;
        header.Flags = DPS_NOPERMISSION;
        header.hPrinter = printer;
        header.pszPrinterName = name.data();
        DWORD result = 0;
        RunScript(script, [&]() -> INT_PTR { return common(nullptr, sheets, LPARAM(&header), &result); });
        return result != 0;
    }
    const auto properties = reinterpret_cast<PrinterPropertiesFn>(GetProcAddress(library_, "PrinterProperties"));
    EXPECT_TRUE(properties);
    if (!properties)
        return FALSE;
    return BOOL(RunScript(script, [&]() -> INT_PTR { return properties(nullptr, printer); }));
}

bool SheetTest::ScriptRan() const
{
    return g_run.ran;
}

void SheetTest::Answer(const std::wstring& title, int command)
{
    Answer(title, [command](HWND dialog) { PostMessageW(dialog, WM_COMMAND, WPARAM(command), 0); });
}

void SheetTest::Answer(const std::wstring& title, std::function<void(HWND)> answer)
{
    g_answers.push_back({title, std::move(answer)});
}

std::vector<SeenDialog> SheetTest::DialogsSeen() const
{
    return g_seen;
}

Bytes SheetTest::Value(HANDLE printer, const wchar_t* name)
{
    DWORD type = 0, needed = 0;
    GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
    Bytes bytes(needed);
    if (!needed ||
        GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, bytes.data(), needed, &needed) != ERROR_SUCCESS)
        return {};
    bytes.resize(needed);
    return bytes;
}

}  // namespace pagetest
