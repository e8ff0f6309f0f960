#include "Library.h"

namespace {

HMODULE g_module = nullptr;
CRITICAL_SECTION g_eventLock;

}  // namespace

BOOL LibraryInitialize(HINSTANCE module, DWORD reason)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_module = module;
        InitializeCriticalSection(&g_eventLock);
        return module != nullptr;
    case DLL_PROCESS_DETACH:
        DeleteCriticalSection(&g_eventLock);
        return TRUE;
    default:
        return FALSE;
    }
}

HMODULE DriverModule()
{
    return g_module;
}

CRITICAL_SECTION& EventLock()
{
    return g_eventLock;
}
