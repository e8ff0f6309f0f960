// The exported entry points of QVTDX5DA; each forwards to the function that does the work.
#include "DrvUiDecls.h"
#include "Library.h"
#include "devmode/ConvertDevMode.h"

extern "C" {

BOOL WINAPI DllInitialize(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return LibraryInitialize(module, reason);
}

BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut,
                              PLONG pcbNeeded, DWORD fMode)
{
    return devmode::ConvertDevMode(pPrinterName, pdmIn, pdmOut, pcbNeeded, fMode);
}

LONG WINAPI ConvertTagListToDevmode(DWORD reserved, LPSTR printerName, LPVOID featureBlock,
                                    PDEVMODEW devmode)
{
    return devmode::TagListToDevmode(reserved, printerName, featureBlock, devmode);
}

// The runtime's start-up code calls DllMain; the library's own start-up is DllInitialize.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return DllInitialize(module, reason, reserved);
}

}  // extern "C"
