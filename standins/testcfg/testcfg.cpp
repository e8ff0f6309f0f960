// Entry points of the test configuration DLL. Those Wine's spooler calls forward to the code that
// does the work; the rest answer "nothing to do".
#include "TestCfg.h"

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam)
{
    return testcfg::DocumentPropertySheets(pPSUIInfo, lParam);
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD iDevCap, void* pvOutput, DEVMODEW*)
{
    return testcfg::DeviceCapability(iDevCap, pvOutput);
}

BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded,
                              DWORD fMode)
{
    return testcfg::ConvertDevmode(pPrinterName, pdmIn, pdmOut, pcbNeeded, fMode);
}

// No device pages: the printer has no settings of its own.
LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM)
{
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    if (pPSUIInfo->Reason == PROPSHEETUI_REASON_INIT)
        pPSUIInfo->Result = CPSUI_OK;
    return CPSUI_OK;
}

BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM)
{
    return TRUE;
}

BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM)
{
    return TRUE;
}

int WINAPI DrvDocumentEvent(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID)
{
    return DOCUMENTEVENT_UNSUPPORTED;
}

// Every job prints.
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo)
{
    if (pDQPInfo && pDQPInfo->pszErrorStr && pDQPInfo->cchErrorStr)
        pDQPInfo->pszErrorStr[0] = L'\0';
    return TRUE;
}

BOOL WINAPI DrvUpgradePrinter(DWORD, LPBYTE)
{
    return TRUE;
}

}  // extern "C"
