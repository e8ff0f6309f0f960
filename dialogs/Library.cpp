#include "Library.h"

#include <string>

#include "XlatedMaps.h"
#include "controls/Controls.h"

namespace dialogs {
namespace {

HINSTANCE g_instance = nullptr;
HMODULE g_language = nullptr;
CRITICAL_SECTION g_summaryLock;
bool g_lockReady = false;

// This library's own path, if it fits the language library's limit: a longer path comes back
// cut by the system, and a cut path names another directory.
std::u16string OwnPath(HINSTANCE instance)
{
    wchar_t path[xlated::kMaxLanguagePath + 2] = {};
    const DWORD n = GetModuleFileNameW(instance, path, DWORD(std::size(path)));
    if (n == 0 || n > xlated::kMaxLanguagePath)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(path), n);
}

BOOL Attach(HINSTANCE instance)
{
    g_instance = instance;
    const std::optional<std::u16string> language = xlated::LanguageLibraryPath(OwnPath(instance));
    if (language)
        g_language = LoadLibraryW(reinterpret_cast<const wchar_t*>(language->c_str()));
    if (g_language)
        controls::RegisterControls(g_language);
    InitializeCriticalSection(&g_summaryLock);
    g_lockReady = true;
    return g_language != nullptr;
}

// Also runs after a failed attach, so each step checks what attach got to.
BOOL Detach(LPVOID reserved)
{
    if (g_lockReady) {
        DeleteCriticalSection(&g_summaryLock);
        g_lockReady = false;
    }
    // When the process ends the system unloads everything itself, in an order of its own.
    if (g_language && !reserved) {
        controls::UnregisterControls(g_language);
        FreeLibrary(g_language);
    }
    g_language = nullptr;
    return TRUE;
}

}  // namespace

BOOL DllInitialize(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        return Attach(instance);
    if (reason == DLL_PROCESS_DETACH)
        return Detach(reserved);
    return FALSE;
}

HINSTANCE DialogInstance()
{
    return g_instance;
}

HMODULE LanguageLibrary()
{
    return g_language;
}

CRITICAL_SECTION& SummaryLock()
{
    return g_summaryLock;
}

}  // namespace dialogs
