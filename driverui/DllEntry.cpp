// The exported entry points of QVTDX5DA; each forwards to the function that does the work.
#include "Library.h"

extern "C" {

BOOL WINAPI DllInitialize(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return LibraryInitialize(module, reason);
}

// The runtime's start-up code calls DllMain; the library's own start-up is DllInitialize.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return DllInitialize(module, reason, reserved);
}

}  // extern "C"
