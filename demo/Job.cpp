// A one-page job from a plain GDI program to a file, with the driver's document events sent as
// the platform's graphics system sends them: Wine's sends none, so the demo plays that part. The
// configuration file's escapes to its rendering driver are watched on their way to Wine's device
// context, to show what the driver asked at each event.
#include "Demo.h"

#include <winddiui.h>

#include <cstdio>

#include "ImportRedirect.h"

namespace demo {
namespace {

using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
using ExtEscapeFn = int(WINAPI*)(HDC, int, int, LPCSTR, int, LPSTR);

ExtEscapeFn g_extEscape = nullptr;
std::string g_asked;

std::string Number(DWORD n)
{
    if (n < 0x10000)
        return std::to_string(n);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%lX", static_cast<unsigned long>(n));
    return hex;
}

// The driver's escapes pass through unchanged; the questions are noted.
int WINAPI WatchedExtEscape(HDC dc, int escape, int inSize, LPCSTR in, int outSize, LPSTR out)
{
    const int answer = g_extEscape ? g_extEscape(dc, escape, inSize, in, outSize, out) : 0;
    if (escape == QUERYESCSUPPORT && in && inSize >= int(sizeof(DWORD)))
        g_asked += (g_asked.empty() ? "" : ", ") + Number(*reinterpret_cast<const DWORD*>(in)) +
                   (answer ? " yes" : " no");
    else
        g_asked += (g_asked.empty() ? "" : ", ") + std::string("escape ") + std::to_string(escape);
    return answer;
}

struct Events {
    DocumentEventFn call;
    HANDLE printer;
    bool refused = false;

    int Send(HDC dc, int event, const char* name, ULONG inSize, PVOID in, ULONG outSize = 0, PVOID out = nullptr)
    {
        g_asked.clear();
        const int answer = call(printer, dc, event, inSize, in, outSize, out);
        // The end of the document answers a code of its own; every other event 1.
        if (event != DOCUMENTEVENT_ENDDOC && answer != 1) {
            refused = true;
            Failed(std::string("the document event ") + name, "the driver answered " + std::to_string(answer));
        }
        Say("  event " + std::to_string(event) + " " + name + ": " + Number(DWORD(answer)) +
            (g_asked.empty() ? std::string("; no escape asked") : "; rendering-driver escapes asked: " + g_asked));
        return answer;
    }
};

}  // namespace

bool PrintJob(Client& client, const std::string& output)
{
    Say("== " + Utf8(client.printer) + ": a one-page job from a GDI program to " + output);
    Say("  (Wine's graphics system sends no document events: the demo sends each one to the driver's "
        "DrvDocumentEvent as the platform's does)");
    DWORD needed = 0;
    GetPrinterDriverW(client.handle, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(client.handle, nullptr, 3, info.data(), needed, &needed))
        return Failed("the job", "the printer's driver cannot be read");
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
    const HMODULE library = LoadLibraryW(driver->pConfigFile);
    const auto call = library ? reinterpret_cast<DocumentEventFn>(GetProcAddress(library, "DrvDocumentEvent")) : nullptr;
    if (!call)
        return Failed("the job", "the configuration file has no DrvDocumentEvent");
    g_extEscape = reinterpret_cast<ExtEscapeFn>(qvtest::RedirectImport(library, "ExtEscape",
                                                                        reinterpret_cast<void*>(WatchedExtEscape)));
    if (!g_extEscape)
        g_extEscape = reinterpret_cast<ExtEscapeFn>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtEscape"));
    Events events{call, client.handle};
    bool ok = true;

    std::wstring driverName = L"WINSPOOL";
    DOCEVENT_CREATEDCPRE pre{driverName.data(), client.printer.data(), nullptr, FALSE};
    DEVMODEW* made = nullptr;
    if (events.Send(nullptr, DOCUMENTEVENT_CREATEDCPRE, "CREATEDCPRE", sizeof pre, &pre, sizeof made, &made) != 1 || !made)
        ok = Failed("the job", "CREATEDCPRE made no devmode");
    if (made)
        Say("    the driver's devmode for the device context: " + std::to_string(made->dmSize) + "+" +
            std::to_string(made->dmDriverExtra) + " bytes, " + std::to_string(made->dmCopies) + " copies");
    const HDC dc = ok ? CreateDCW(L"WINSPOOL", client.printer.c_str(), nullptr, made) : nullptr;
    if (ok && !dc)
        ok = Failed("CreateDCW", "error " + std::to_string(GetLastError()));
    if (dc) {
        events.Send(dc, DOCUMENTEVENT_CREATEDCPOST, "CREATEDCPOST", sizeof made, &made);
        const std::wstring file = Wide(output);
        DOCINFOW doc{sizeof doc, L"qvdemo test page", file.c_str(), nullptr, 0};
        DOCINFOW* docPointer = &doc;
        events.Send(dc, DOCUMENTEVENT_STARTDOC, "STARTDOC", sizeof docPointer, &docPointer);
        DWORD job = DWORD(StartDocW(dc, &doc));
        if (int(job) <= 0)
            ok = Failed("StartDocW", "error " + std::to_string(GetLastError()));
        else {
            Say("    StartDocW: job " + std::to_string(job));
            events.Send(dc, DOCUMENTEVENT_STARTDOCPOST, "STARTDOCPOST", sizeof job, &job);
            events.Send(dc, DOCUMENTEVENT_STARTPAGE, "STARTPAGE", 0, nullptr);
            ok = StartPage(dc) > 0;
            const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
            const std::wstring text = L"Qelbrin QV-5 family: a test page from qvdemo on " + client.printer;
            ok = ok && TextOutW(dc, dpi, dpi, text.c_str(), int(text.size()));
            ok = ok && Rectangle(dc, dpi / 2, dpi / 2, GetDeviceCaps(dc, HORZRES) - dpi / 2, 2 * dpi);
            events.Send(dc, DOCUMENTEVENT_ENDPAGE, "ENDPAGE", 0, nullptr);
            ok = EndPage(dc) > 0 && ok;
            events.Send(dc, DOCUMENTEVENT_ENDDOC, "ENDDOC", 0, nullptr);
            ok = EndDoc(dc) > 0 && ok;
            events.Send(dc, DOCUMENTEVENT_ENDDOCPOST, "ENDDOCPOST", 0, nullptr);
            if (!ok)
                Failed("the job", "the page could not be drawn or the document ended");
        }
        events.Send(dc, DOCUMENTEVENT_DELETEDC, "DELETEDC", 0, nullptr);
        DeleteDC(dc);
    }
    ok = ok && !events.refused;
    if (ok) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(output.c_str(), GetFileExInfoStandard, &data))
            ok = Failed("the job", "no output in " + output);
        else
            Say("  the job's output: " + output + ", " + std::to_string(data.nFileSizeLow) +
                " bytes (Wine's own PostScript device context; the rendering driver is outside this system)");
    }
    FreeLibrary(library);
    return ok;
}

}  // namespace demo
