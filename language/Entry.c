/* The language library holds resources only; its entry point has nothing to set up. */
#include <windows.h>

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
