// The printer-interface records and entry points that mingw-w64's winddiui.h lacks, declared
// from the platform's driver-kit documentation.
#pragma once

#include <windows.h>
#include <winddiui.h>

extern "C" {

typedef struct _DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

typedef struct _DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

typedef struct _DRIVER_UPGRADE_INFO_1 {
    LPWSTR pPrinterName;
    LPWSTR pOldDriverDirectory;
} DRIVER_UPGRADE_INFO_1, *PDRIVER_UPGRADE_INFO_1;

// DOCUMENTPROPERTYHEADER.fMode bits beyond wingdi.h's DM_* ones.
#define DM_ADVANCED 0x10
#define DM_NOPERMISSION 0x20
#define DM_USER_DEFAULT 0x40

// DEVICEPROPERTYHEADER.Flags: the user may not change the printer's settings.
#define DPS_NOPERMISSION 0x0001

// DrvConvertDevMode modes.
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, void* pvOutput,
                                   DEVMODEW* pDevMode);
BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded,
                              DWORD fMode);
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo);
BOOL WINAPI DrvUpgradePrinter(DWORD Level, LPBYTE pDriverUpgradeInfo);

}  // extern "C"

#ifdef _WIN64
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 48);
static_assert(sizeof(DEVICEPROPERTYHEADER) == 24);
static_assert(sizeof(DEVQUERYPRINT_INFO) == 40);
static_assert(sizeof(DRIVER_UPGRADE_INFO_1) == 16);
#else
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == 28);
static_assert(sizeof(DEVICEPROPERTYHEADER) == 12);
static_assert(sizeof(DEVQUERYPRINT_INFO) == 24);
static_assert(sizeof(DRIVER_UPGRADE_INFO_1) == 8);
#endif
