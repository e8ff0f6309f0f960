// The platform's own print dialogs on the printer (comdlg32): what they list from the driver, and
// their Properties button, which opens the driver's document sheet.
#include "Demo.h"

#include <commdlg.h>
#include <dlgs.h>
#include <prsht.h>


namespace demo {
namespace {

// DEVNAMES naming the printer, as an application that chose it hands it in.
HGLOBAL DevNames(Client& client)
{
    const std::wstring driver = L"winspool", port = client.port;
    const std::size_t chars = driver.size() + 1 + client.printer.size() + 1 + port.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + chars * sizeof(wchar_t));
    auto* names = static_cast<DEVNAMES*>(GlobalLock(memory));
    auto* text = reinterpret_cast<wchar_t*>(names + 1);
    const WORD base = WORD(sizeof(DEVNAMES) / sizeof(wchar_t));
    names->wDriverOffset = base;
    lstrcpyW(text, driver.c_str());
    names->wDeviceOffset = WORD(base + driver.size() + 1);
    lstrcpyW(text + driver.size() + 1, client.printer.c_str());
    names->wOutputOffset = WORD(names->wDeviceOffset + client.printer.size() + 1);
    lstrcpyW(text + driver.size() + 1 + client.printer.size() + 1, port.c_str());
    GlobalUnlock(memory);
    return memory;
}

std::wstring Plain(std::wstring text)
{
    std::erase(text, L'&');
    while (!text.empty() && (text.back() == L'.' || text.back() == L' '))
        text.pop_back();
    return text;
}

struct FindButton {
    const wchar_t* text;
    HWND found = nullptr;
};
BOOL CALLBACK FindButtonProc(HWND child, LPARAM data)
{
    auto* find = reinterpret_cast<FindButton*>(data);
    if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0 && IsWindowVisible(child) && Plain(TextOf(child)) == find->text) {
        find->found = child;
        return FALSE;
    }
    return TRUE;
}

void ListCombo(HWND dialog, int id, const char* what)
{
    const HWND combo = GetDlgItem(dialog, id);
    if (!combo || !IsWindowVisible(combo))
        return;
    const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    std::string items;
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0) < LRESULT(std::size(text)))
            SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items += (i ? ", " : "") + Utf8(text);
    }
    const int selected = int(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    wchar_t current[128] = L"";
    if (selected >= 0 && SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(selected), 0) < LRESULT(std::size(current)))
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(selected), LPARAM(current));
    Say("  " + std::string(what) + " (" + std::to_string(count) + ", \"" + Utf8(current) + "\" chosen): " + items);
}

// One dialog: its picture and lists; then its Properties button, whose sheet is pictured and
// closed with OK, and the dialog is cancelled once the sheet has gone.
struct DialogScript {
    Client& client;
    std::string name;
    bool properties;
    bool sheetShown = false;

    void Handle(HWND window)
    {
        if (IsSheetFrame(window)) {
            sheetShown = true;
            const HWND owner = GetWindow(window, GW_OWNER);
            Say("  the Properties button opened the driver's sheet \"" + Utf8(TextOf(window)) + "\"");
            Picture(client, window, nullptr, name + "-properties");
            SendMessageW(window, PSM_PRESSBUTTON, PSBTN_OK, 0);
            if (owner)
                PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        Say("  dialog \"" + Utf8(TextOf(window)) + "\"");
        ListCombo(window, cmb2, "papers");
        ListCombo(window, cmb3, "bins");
        Picture(client, window, nullptr, name);
        FindButton find{L"Properties"};
        if (properties)
            EnumChildWindows(window, FindButtonProc, LPARAM(&find));
        if (find.found)
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(find.found), BN_CLICKED), LPARAM(find.found));
        else
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
};

bool Run(Client& client, const std::string& name, bool properties, const std::function<INT_PTR()>& call,
         const std::string& step)
{
    DialogScript script{client, name, properties};
    WindowRun run;
    run.interactive = client.interactive;
    run.handle = [&](HWND window) { script.Handle(window); };
    const INT_PTR answer = RunWindows(run, call);
    const DWORD error = CommDlgExtendedError();
    Say("  " + step + " answered " + std::to_string(answer) + ", extended error " + std::to_string(error));
    if (error)
        return Failed(step, "the dialog ended with extended error " + std::to_string(error));
    if (run.timedOut)
        return Failed(step, "its dialog was still open after a minute");
    if (!client.interactive && run.handled == 0)
        return Failed(step, "no dialog was shown");
    if (!client.interactive && properties && !script.sheetShown)
        return Failed(step, "its Properties button did not open the driver's sheet");
    return true;
}

}  // namespace

bool PrintDialogs(Client& client)
{
    Say("== " + Utf8(client.printer) + ": Wine's print dialogs (comdlg32)");
    // Wine's page-setup dialog starts from the default printer whatever the application names:
    // the user has made this one the default.
    if (!SetDefaultPrinterW(client.printer.c_str()))
        return Failed("SetDefaultPrinterW", "error " + std::to_string(GetLastError()));
    const HWND owner = CreateWindowW(L"STATIC", L"qvdemo", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                     nullptr, nullptr);
    bool ok = Run(client, "printdlgex", true, [&]() -> INT_PTR {
        PRINTDLGEXW pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = owner;
        pd.hDevNames = DevNames(client);
        pd.Flags = PD_NOPAGENUMS | PD_NOCURRENTPAGE | PD_NOSELECTION;
        pd.nCopies = 1;
        pd.nStartPage = START_PAGE_GENERAL;
        const HRESULT hr = PrintDlgExW(&pd);
        GlobalFree(pd.hDevMode);
        GlobalFree(pd.hDevNames);
        return INT_PTR(hr);
    }, "PrintDlgExW");

    ok = ok && Run(client, "printsetup", true, [&]() -> INT_PTR {
        PRINTDLGW pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = owner;
        pd.hDevNames = DevNames(client);
        pd.Flags = PD_PRINTSETUP;
        const BOOL shown = PrintDlgW(&pd);
        GlobalFree(pd.hDevMode);
        GlobalFree(pd.hDevNames);
        return shown;
    }, "PrintDlgW (PD_PRINTSETUP)");

    ok = ok && Run(client, "pagesetup", false, [&]() -> INT_PTR {
        PAGESETUPDLGW psd{};
        psd.lStructSize = sizeof psd;
        psd.hwndOwner = owner;
        psd.hDevNames = DevNames(client);
        const BOOL shown = PageSetupDlgW(&psd);
        GlobalFree(psd.hDevMode);
        GlobalFree(psd.hDevNames);
        return shown;
    }, "PageSetupDlgW");
    DestroyWindow(owner);
    return ok;
}

}  // namespace demo
