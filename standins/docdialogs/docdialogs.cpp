// The dialog library as the document events reach it, for their tests: translated strings (the
// version message and the instruction lines) and resources (the end-of-document bitmaps) by the
// library's logical maps, the account dialog answered from the environment, and the manual-duplex
// instructions, also as the rundll32 entry "showManualDuplexDlg". Each call of the dialogs is one
// line appended to the file QVDOCDIALOGS_RECORD names:
//   fnGetAcctTrack<TAB>printer name<TAB>handle set|no handle
//   showManualDuplexDlgW<TAB>command text<TAB>current directory<TAB>the process's command line
// The account dialog answers QVDOCDIALOGS_ACCOUNT: "cancel" cancels; any other text is copied into
// the settings state's 17-byte ID as it is (not cut, to see that the driver cuts it); without the
// variable the ID stays as it came.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "DialogLibraryApi.h"
#include "DocEventApi.h"

namespace {

HMODULE g_module = nullptr;

struct Text {
    WORD logical;
    const char* text;
};
// Logical strings 21 and 22 are in the library's map; 3000 to 3002 are given here as well, so that
// the instruction text can be seen.
constexpr Text kTexts[] = {
    {21, "The rendering driver of %s is too old for this driver."},
    {22, "Rendering driver version"},
    {3000, "Turn the printed pages over"},
    {3001, "and put them back into the tray"},
    {3002, "then press Continue"},
};

struct ResourceId {
    WORD logical;
    WORD id;
};
constexpr ResourceId kResources[] = {{10000, 6601}, {10001, 6602}, {10002, 6603}};

std::string Env(const char* name)
{
    char value[512];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n == 0 || n >= sizeof value ? std::string() : std::string(value, n);
}

bool HasEnv(const char* name)
{
    return GetEnvironmentVariableA(name, nullptr, 0) != 0;
}

void Record(const std::string& line)
{
    const std::string path = Env("QVDOCDIALOGS_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

std::string Narrow(const wchar_t* text)
{
    if (!text)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 1 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

HRSRC FindXlated(const XlatedResourceRequest* request)
{
    if (!request)
        return nullptr;
    WORD id = request->direct ? request->number : 0;
    for (const ResourceId& r : kResources)
        if (!request->direct && r.logical == request->number)
            id = r.id;
    return id ? FindResourceW(g_module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(request->type)) : nullptr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}

extern "C" int __stdcall LoadXlatedString(XlatedStringRequest* request)
{
    if (!request || !request->buffer || request->length == 0)
        return 0;
    request->buffer[0] = '\0';
    for (const Text& t : kTexts) {
        if (request->direct || t.logical != request->number)
            continue;
        const std::size_t n = std::min<std::size_t>(std::strlen(t.text), request->length - 1u);
        std::memcpy(request->buffer, t.text, n);
        request->buffer[n] = '\0';
        return int(n);
    }
    return 0;
}

extern "C" HGLOBAL __stdcall LoadXlatedResource(XlatedResourceRequest* request)
{
    const HRSRC found = FindXlated(request);
    return found ? LoadResource(g_module, found) : nullptr;
}

extern "C" DWORD __stdcall GetSizeofXlatedResource(XlatedResourceRequest* request)
{
    const HRSRC found = FindXlated(request);
    return found ? SizeofResource(g_module, found) : 0;
}

extern "C" int __stdcall fnGetAcctTrack(HWND, DWORD, DWORD, SettingsState* state)
try {
    if (!state)
        return 0;
    Record("fnGetAcctTrack\t" + std::string(state->printerName, strnlen(state->printerName, sizeof state->printerName)) +
           "\t" + (state->printer ? "handle set" : "no handle"));
    if (!HasEnv("QVDOCDIALOGS_ACCOUNT"))
        return 1;
    const std::string answer = Env("QVDOCDIALOGS_ACCOUNT");
    if (answer == "cancel")
        return 0;
    std::memset(state->accountId, 0, sizeof state->accountId);
    std::memcpy(state->accountId, answer.data(), std::min(answer.size(), sizeof state->accountId));
    return 1;
} catch (...) {
    return 0;
}

extern "C" int __stdcall showManualDuplexDlgW(HWND, HINSTANCE, LPWSTR command, int)
try {
    wchar_t dir[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, dir);
    Record("showManualDuplexDlgW\t" + Narrow(command) + "\t" + Narrow(dir) + "\t" + Narrow(GetCommandLineW()));
    return 0;
} catch (...) {
    return 0;
}

extern "C" int __stdcall showManualDuplexDlgA(HWND window, HINSTANCE module, LPSTR command, int show)
{
    wchar_t wide[512] = L"";
    if (command)
        MultiByteToWideChar(CP_ACP, 0, command, -1, wide, 511);
    return showManualDuplexDlgW(window, module, wide, show);
}
