// Stand-ins for the picture library (QVTDX5BT.DLL), the instructions library (QVTDX5B1.DLL) and
// the settings-interface library (QVTDX5UI.DLL) that the driver library loads by name for a
// sheet, and for the dialog library (QVTDX5DU.DLL, dialogs.cpp) that it loads for tray and paper
// names. Each records its loading and unloading, "attach NAME" and "detach NAME", one line each,
// in the file QVSIBLING_RECORD names. QVTDX5UI.DLL is built apart from the others (see the
// CMake file): without it the driver falls back to its own pages.
#include <windows.h>

#include <cstdio>

#ifndef QV_SIBLING_NAME
#error QV_SIBLING_NAME names the library
#endif

namespace {

void Record(const char* event)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QVSIBLING_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s %s\n", event, QV_SIBLING_NAME);
        std::fclose(f);
    }
}

}  // namespace

extern "C" {

#ifdef QV_SIBLING_PICTURES
// The painter and palette manager of the printer picture; the stand-in paints nothing.
BOOL WINAPI PaintPrt(HWND, HDC, const void*) { return TRUE; }
BOOL WINAPI ManagePal(HWND, UINT) { return TRUE; }
#endif

#ifdef QV_SIBLING_SETTINGS
// No settings interface: the driver shows its own pages.
void* WINAPI getDevIC() { return nullptr; }
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Record("attach");
    else if (reason == DLL_PROCESS_DETACH)
        Record("detach");
    return TRUE;
}

}  // extern "C"
