// The driver's property sheets as applications open them: the document sheet through the
// spooler's DocumentPropertiesW with prompting, the device sheet through PrinterProperties.
#include "Demo.h"

#include <prsht.h>


namespace demo {
namespace {

constexpr short kCopies = 3;
constexpr wchar_t kCopiesText[] = L"3";

using Bytes = std::vector<BYTE>;
using PrinterPropertiesFn = BOOL(WINAPI*)(HWND, HANDLE);

DEVMODEW* AsDevmode(Bytes& d)
{
    return reinterpret_cast<DEVMODEW*>(d.data());
}

// The printer's document settings as the driver gives them without a prompt.
Bytes CurrentSettings(Client& client)
{
    const LONG size = DocumentPropertiesW(nullptr, client.handle, client.printer.data(), nullptr, nullptr, 0);
    if (size < LONG(sizeof(DEVMODEW)))
        return {};
    Bytes d(std::size_t(size), 0);
    if (DocumentPropertiesW(nullptr, client.handle, client.printer.data(), AsDevmode(d), nullptr, DM_OUT_BUFFER) !=
        IDOK)
        return {};
    return d;
}

std::string Describe(Client& client, const DEVMODEW& d)
{
    const char* duplex = d.dmDuplex == DMDUP_VERTICAL     ? "two-sided (long edge)"
                         : d.dmDuplex == DMDUP_HORIZONTAL ? "two-sided (short edge)"
                                                          : "one-sided";
    return "paper " + std::to_string(d.dmPaperSize) + " (" + Utf8(PaperName(client.printer, d.dmPaperSize)) + "), " +
           (d.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait") + ", " + std::to_string(d.dmCopies) +
           (d.dmCopies == 1 ? " copy, " : " copies, ") + duplex + ", quality " + std::to_string(d.dmPrintQuality) +
           " dpi";
}

// The configuration file the spooler loads for the printer, loaded in this process.
HMODULE ConfigurationFile(Client& client, std::wstring& path)
{
    DWORD needed = 0;
    GetPrinterDriverW(client.handle, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(client.handle, nullptr, 3, info.data(), needed, &needed))
        return nullptr;
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
    path = driver->pConfigFile ? driver->pConfigFile : L"";
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

// Whether the driver's dialog library, beside its configuration file, has the Setup page.
bool HasSetupPage(const std::wstring& configPath)
{
    const std::wstring dir = configPath.substr(0, configPath.find_last_of(L'\\') + 1);
    // The export table alone: the library is not started for the question.
    const HMODULE dialogs = LoadLibraryExW((dir + L"QVTDX5DU.DLL").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const bool has = dialogs && GetProcAddress(dialogs, "SetupDlgProc");
    if (dialogs)
        FreeLibrary(dialogs);
    return has;
}

DWORD PrinterDword(Client& client, const wchar_t* name)
{
    DWORD type = 0, value = 0, needed = 0;
    if (GetPrinterDataW(client.handle, const_cast<LPWSTR>(name), &type, reinterpret_cast<BYTE*>(&value),
                        sizeof value, &needed) != ERROR_SUCCESS)
        return DWORD(-1);
    return value;
}

}  // namespace

bool DocumentSheet(Client& client)
{
    Say("== " + Utf8(client.printer) + ": the document sheet (DocumentPropertiesW, DM_IN_PROMPT | DM_IN_BUFFER | "
                                       "DM_OUT_BUFFER)");
    Bytes in = CurrentSettings(client);
    if (in.empty())
        return Failed("DocumentPropertiesW without a prompt", "no devmode for " + Utf8(client.printer));
    Say("  before: " + Describe(client, *AsDevmode(in)));
    std::wstring config;
    const HMODULE library = ConfigurationFile(client, config);
    if (!library)
        return Failed("the document sheet", "the printer's configuration file cannot be loaded");
    Say("  the spooler's configuration file: " + Utf8(config));
    const bool setupPage = HasSetupPage(config);
    FreeLibrary(library);
    if (!setupPage && !client.interactive) {
        // Without the page, the change comes the way an application makes it: in the devmode it
        // hands in.
        Say("  the dialog library has no Setup page yet: the copies are changed in the devmode handed in");
        AsDevmode(in)->dmCopies = kCopies;
        AsDevmode(in)->dmFields |= DM_COPIES;
    }

    Bytes out(in.size(), 0);
    SheetVisit visit;
    WindowRun run;
    run.interactive = client.interactive;
    run.handle = [&](HWND window) {
        if (IsSheetFrame(window))
            VisitSheet(client, window, "document", setupPage ? kCopiesText : nullptr, visit);
        else
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    };
    const LONG answer = LONG(RunWindows(run, [&]() -> INT_PTR {
        return DocumentPropertiesW(nullptr, client.handle, client.printer.data(), AsDevmode(out), AsDevmode(in),
                                   DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    }));
    Say("  DocumentPropertiesW answered " + std::to_string(answer) +
        (answer == IDOK ? " (IDOK)" : answer == IDCANCEL ? " (IDCANCEL)" : ""));
    if (run.timedOut)
        return Failed("the document sheet", "the sheet was still open after a minute");
    if (!client.interactive && run.handled == 0)
        return Failed("the document sheet", "DocumentPropertiesW showed no sheet");
    if (answer != IDOK && !client.interactive)
        return Failed("the document sheet", "OK was pressed, DocumentPropertiesW answered " + std::to_string(answer));
    if (answer == IDOK)
        Say("  devmode handed back: " + Describe(client, *AsDevmode(out)));
    if (setupPage && !visit.copiesChanged && !client.interactive)
        return Failed("the document sheet", "the Setup page has no copies field");

    Bytes after = CurrentSettings(client);
    if (after.empty())
        return Failed("DocumentPropertiesW without a prompt", "no devmode after the sheet");
    Say("  read back without a prompt: " + Describe(client, *AsDevmode(after)));
    if (!client.interactive && AsDevmode(after)->dmCopies != kCopies)
        return Failed("the document sheet", "the copies set on the sheet did not persist (read back " +
                                                std::to_string(AsDevmode(after)->dmCopies) + ")");
    return true;
}

bool DeviceSheet(Client& client)
{
    Say("== " + Utf8(client.printer) + ": the device sheet (PrinterProperties)");
    WindowRun run;
    run.interactive = client.interactive;
    SheetVisit visit;
    run.handle = [&](HWND window) {
        if (IsSheetFrame(window))
            VisitSheet(client, window, "device", nullptr, visit);
        else
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    };
    SetLastError(0);
    BOOL answer = BOOL(RunWindows(run, [&]() -> INT_PTR { return PrinterProperties(nullptr, client.handle); }));
    const DWORD error = GetLastError();
    if (!answer && run.handled == 0) {
        // Wine's winspool has no PrinterProperties of its own: the nearest real thing is what the
        // platform's does, the configuration file's export, from where the spooler keeps it.
        Say("  Wine's PrinterProperties answered FALSE with error " + std::to_string(error) +
            " and showed nothing: the demo calls the PrinterProperties export of the printer's configuration file");
        std::wstring config;
        const HMODULE library = ConfigurationFile(client, config);
        const auto properties =
            library ? reinterpret_cast<PrinterPropertiesFn>(GetProcAddress(library, "PrinterProperties")) : nullptr;
        if (!properties) {
            if (library)
                FreeLibrary(library);
            return Failed("the device sheet", "the configuration file has no PrinterProperties");
        }
        answer = BOOL(RunWindows(run, [&]() -> INT_PTR { return properties(nullptr, client.handle); }));
        FreeLibrary(library);
    }
    Say("  PrinterProperties answered " + std::string(answer ? "TRUE" : "FALSE"));
    if (run.timedOut)
        return Failed("the device sheet", "the sheet was still open after a minute");
    if (!client.interactive && run.handled == 0)
        return Failed("the device sheet", "no sheet was shown");
    const DWORD confirmed = PrinterDword(client, L"DCDPrtPropOK");
    Say("  printer value \"DCDPrtPropOK\" read back: " +
        (confirmed == DWORD(-1) ? std::string("absent") : std::to_string(confirmed)));
    if (!client.interactive && confirmed != 1)
        return Failed("the device sheet", "OK was pressed but \"DCDPrtPropOK\" is not 1");
    return true;
}

}  // namespace demo
