// The exported entry points of QVTDX5DA; each forwards to the function that does the work.
#include "DrvUiDecls.h"
#include "Library.h"
#include "devmode/ConvertDevMode.h"
#include "profiles/DrvCfgExports.h"

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

DWORD WINAPI ConvertPrtIntoDCD(profiles::DcdConvertRecord* record)
{
    return profiles::ConvertPrtIntoDcd(record);
}

DWORD WINAPI Cfi2DrvForceDCDIntoPrtObj(profiles::DcdForceRecord* record)
{
    return profiles::ForceDcdIntoPrinter(record);
}

DWORD WINAPI EnumDrvCfgSupport(profiles::DrvCfgSupportRecord* record)
{
    return profiles::ReportSupport(record);
}

DWORD WINAPI EnumSpecificDrvCfgCallBack(profiles::DrvCfgSearchRecord* search, const profiles::ConfigEntry* entry)
{
    return profiles::EnumSpecificDrvCfg(search, entry);
}

// The runtime's start-up code calls DllMain; the library's own start-up is DllInitialize.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return DllInitialize(module, reason, reserved);
}

}  // extern "C"
