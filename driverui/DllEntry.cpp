// The exported entry points of QVTDX5DA; each forwards to the function that does the work.
#include <type_traits>

#include "DialogLibraryApi.h"
#include "DrvUiDecls.h"
#include "Library.h"
#include "SheetCalls.h"
#include "SpoolerCache.h"
#include "caps/DeviceCapabilities.h"
#include "current/ConvertDevMode.h"
#include "current/DrvCfgExports.h"
#include "docevents/DocumentEvents.h"
#include "events/PrinterEvents.h"
#include "events/Rename.h"
#include "fonts/ToolkitFeedback.h"
#include "sheet/CallBacks.h"
#include "sheet/PropertySheets.h"
#include "sheet/Toolkit.h"

extern "C" {

BOOL WINAPI DllInitialize(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return LibraryInitialize(module, reason);
}

// The calls that only read and build (no sheet, no other library that writes printer values)
// answer inside a call scope: what the spooler answered before is used again while nothing it
// stores has changed (SpoolerCache.h).

BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut,
                              PLONG pcbNeeded, DWORD fMode)
{
    // A conversion between layouts asks the spooler nothing.
    if (fMode == CDM_DRIVER_DEFAULT) {
        const spoolcache::CallScope scope;
        return devmode::ConvertDevMode(pPrinterName, pdmIn, pdmOut, pcbNeeded, fMode);
    }
    return devmode::ConvertDevMode(pPrinterName, pdmIn, pdmOut, pcbNeeded, fMode);
}

LONG WINAPI ConvertTagListToDevmode(DWORD reserved, LPSTR printerName, LPVOID featureBlock,
                                    PDEVMODEW devmode)
{
    return devmode::TagListToDevmode(reserved, printerName, featureBlock, devmode);
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam)
{
    if (!pPSUIInfo) {
        const spoolcache::CallScope scope;
        return sheet::DocumentPropertySheets(pPSUIInfo, lParam);
    }
    return sheet::DocumentPropertySheets(pPSUIInfo, lParam);
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam)
{
    return sheet::DevicePropertySheets(pPSUIInfo, lParam);
}

LONG WINAPI DrvDocumentProperties(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pdmOutput,
                                  PDEVMODEW pdmInput, DWORD fMode)
{
    if (!(fMode & DM_PROMPT)) {
        const spoolcache::CallScope scope;
        return sheet::DocProperties(hWnd, hPrinter, pDeviceName, pdmOutput, pdmInput, fMode);
    }
    return sheet::DocProperties(hWnd, hPrinter, pDeviceName, pdmOutput, pdmInput, fMode);
}

LONG WINAPI DrvAdvancedDocumentProperties(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pdmOutput,
                                          PDEVMODEW pdmInput)
{
    return sheet::AdvancedDocProperties(hWnd, hPrinter, pDeviceName, pdmOutput, pdmInput);
}

BOOL WINAPI PrinterProperties(HWND hWnd, HANDLE hPrinter)
{
    return sheet::PrinterPropertySheet(hWnd, hPrinter);
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, void* pvOutput,
                                   DEVMODEW* pDevMode)
{
    const spoolcache::CallScope scope;
    return caps::DeviceCapabilities(hPrinter, pDeviceName, iDevCap, pvOutput, pDevMode);
}

BOOL WINAPI GetPaperFormat(LPSTR modelName, HANDLE printer, LPVOID record, PDEVMODEW devmode, WORD paperCode,
                           WORD orientation, BYTE flag, WORD resolution, DWORD mode)
{
    static_assert(std::is_same_v<decltype(&GetPaperFormat), GetPaperFormatFn>);
    const spoolcache::CallScope scope;
    return caps::PaperFormat(modelName, printer, record, devmode, paperCode, orientation, flag, resolution, mode);
}

int WINAPI isUSA()
{
    static_assert(std::is_same_v<decltype(&isUSA), IsUsaFn>);
    return caps::IsUsa();
}

void WINAPI CallBackAccess(SheetContext* context, DWORD type, void* data, WORD* result)
{
    static_assert(std::is_same_v<decltype(&CallBackAccess), CallBackAccessFn>);
    sheet::CallBack(context, type, data, result);
}

LONG WINAPI RefreshProc(void* featureBlock)
{
    static_assert(std::is_same_v<decltype(&RefreshProc), RefreshProcFn>);
    return sheet::RefreshBlock(featureBlock);
}

int WINAPI CallToolKitUtil(HWND window, LPSTR printerName, DWORD command, DWORD argument, WORD value1, WORD value2,
                           DWORD flags)
{
    static_assert(std::is_same_v<decltype(&CallToolKitUtil), CallToolKitUtilFn>);
    return sheet::ToolkitUtil(window, printerName, command, argument, value1, value2, flags);
}

int WINAPI CallToolKitCommon(HWND window, LPSTR printerName, LPSTR portName, DWORD command, WORD value1,
                             WORD value2, DWORD flags, DWORD argument)
{
    return sheet::ToolkitCommon(window, printerName, portName, command, value1, value2, flags, argument);
}

// The toolkit's report: low 32 bits the command's result, high 32 bits the status.
unsigned long long WINAPI QVToolKitFeedBack(void* reserved, const void* message)
{
    return fontfiles::ToolKitFeedBack(reserved, message);
}

// Every job is accepted.
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO)
{
    return TRUE;
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

int WINAPI DrvDocumentEvent(HANDLE hPrinter, HDC hdc, int iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut)
{
    return docevents::DocumentEvent(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut);
}

BOOL WINAPI DrvPrinterEvent(LPWSTR pPrinterName, INT DriverEvent, DWORD Flags, LPARAM lParam)
{
    return events::PrinterEvent(pPrinterName, DriverEvent, Flags, lParam);
}

BOOL WINAPI DrvUpgradePrinter(DWORD Level, LPBYTE pDriverUpgradeInfo)
{
    return events::UpgradePrinter(Level, pDriverUpgradeInfo);
}

BOOL WINAPI Rename(events::RenameRecord* record)
{
    return events::RenamePrinterData(record);
}

// The runtime's start-up code calls DllMain; the library's own start-up is DllInitialize.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return DllInitialize(module, reason, reserved);
}

}  // extern "C"
