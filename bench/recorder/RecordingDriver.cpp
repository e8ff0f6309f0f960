// A printer driver's configuration file that writes down the calls the platform makes into it
// and passes each to QVTDX5DA.DLL beside it: how the platform's print dialogs ask a driver of
// ours. Each call is one line in the file that QV_RECORD_LOG names.
#include <windows.h>
#include <compstui.h>
#include <winspool.h>

#include <cstdio>
#include <string>

#include "DrvUiDecls.h"

namespace {

HMODULE g_self = nullptr;

HMODULE Driver()
{
    static const HMODULE driver = [] {
        wchar_t path[MAX_PATH];
        const DWORD n = GetModuleFileNameW(g_self, path, MAX_PATH);
        std::wstring dir(path, n);
        dir.erase(dir.find_last_of(L"\\/") + 1);
        return LoadLibraryW((dir + L"QVTDX5DA.DLL").c_str());
    }();
    return driver;
}

template <class Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(GetProcAddress(Driver(), name));
}

void Record(const char* format, ...)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QV_RECORD_LOG", path, MAX_PATH))
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (n <= 0)
        return;
    const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    line[n] = '\n';
    WriteFile(file, line, DWORD(n + 1), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_self = module;
    return TRUE;
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR device, WORD index, void* output, DEVMODEW* devmode)
{
    const DWORD r = Export<decltype(&DrvDeviceCapabilities)>("DrvDeviceCapabilities")(printer, device, index,
                                                                                      output, devmode);
    Record("caps %u output=%d devmode=%d handle=%d -> %ld", index, output != nullptr, devmode != nullptr,
           printer != nullptr, long(r));
    return r;
}

// Wine's DocumentProperties hands the driver no printer handle where the printer was not opened
// by the caller (the print dialogs pass only the name); Windows opens the printer first. The
// recorder plays that part, so that the dialogs go on to ask for the capabilities.
LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter)
{
    const auto call = Export<decltype(&DrvDocumentPropertySheets)>("DrvDocumentPropertySheets");
    if (!info) {
        auto* h = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(parameter);
        const bool given = h && h->hPrinter;
        HANDLE opened = nullptr;
        if (h && !given && h->pszPrinterName && OpenPrinterW(h->pszPrinterName, &opened, nullptr))
            h->hPrinter = opened;
        const LONG r = call(info, parameter);
        if (opened) {
            h->hPrinter = nullptr;
            ClosePrinter(opened);
        }
        Record("docsheets header mode=0x%lx in=%d out=%d handle=%s -> %ld", h ? h->fMode : 0, h && h->pdmIn,
               h && h->pdmOut, given ? "given" : opened ? "opened by the recorder" : "none", long(r));
        return r;
    }
    const LONG r = call(info, parameter);
    Record("docsheets reason=%lu -> %ld", info->Reason, long(r));
    return r;
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter)
{
    Record("devsheets");
    return Export<decltype(&DrvDevicePropertySheets)>("DrvDevicePropertySheets")(info, parameter);
}

BOOL WINAPI DrvConvertDevMode(LPWSTR printer, PDEVMODEW in, PDEVMODEW out, PLONG size, DWORD mode)
{
    Record("convert mode=%lu", mode);
    return Export<decltype(&DrvConvertDevMode)>("DrvConvertDevMode")(printer, in, out, size, mode);
}

LONG WINAPI DrvDocumentProperties(HWND window, HANDLE printer, LPWSTR device, PDEVMODEW out, PDEVMODEW in,
                                  DWORD mode)
{
    Record("docprops mode=0x%lx", mode);
    using Fn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
    return Export<Fn>("DrvDocumentProperties")(window, printer, device, out, in, mode);
}

LONG WINAPI DrvAdvancedDocumentProperties(HWND window, HANDLE printer, LPWSTR device, PDEVMODEW out, PDEVMODEW in)
{
    Record("advdocprops");
    using Fn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW);
    return Export<Fn>("DrvAdvancedDocumentProperties")(window, printer, device, out, in);
}

BOOL WINAPI PrinterProperties(HWND window, HANDLE printer)
{
    Record("printerprops");
    using Fn = BOOL(WINAPI*)(HWND, HANDLE);
    return Export<Fn>("PrinterProperties")(window, printer);
}

BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO info)
{
    Record("devqueryprint");
    return Export<decltype(&DevQueryPrintEx)>("DevQueryPrintEx")(info);
}

BOOL WINAPI DrvPrinterEvent(LPWSTR printer, INT event, DWORD flags, LPARAM parameter)
{
    Record("printerevent %d", event);
    using Fn = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    return Export<Fn>("DrvPrinterEvent")(printer, event, flags, parameter);
}

BOOL WINAPI DrvUpgradePrinter(DWORD level, LPBYTE info)
{
    Record("upgrade");
    return Export<decltype(&DrvUpgradePrinter)>("DrvUpgradePrinter")(level, info);
}

}  // extern "C"
