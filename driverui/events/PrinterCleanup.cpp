#include "PrinterCleanup.h"

#include "PrinterFiles.h"
#include "Library.h"
#include "SpoolLock.h"

namespace events {
namespace {

constexpr const char* kDriverValues[] = {
    "FontSubstitutes",   "CurrentDevmode",  "PrinterDevmode",           "FontSummaryFile",
    "ALIAS",             "AdditionalFonts", "BitmapId",                 "PrinterConfig",
    "SWEnable",          "DCDConfigFile",   "DCDShortDesc",             "PWConfigFlag",
    "PWConfigName",      "PWConfigFile",    "CurrentDefaultCONFIG",     "DCD_InstalledDocDefaults",
    "CurrentDefaultDevmode", "DefDrvCfgData", "DCDPrtPropOK",           "SoftFont",
    "Macro",             "UserDefForms",    "UserAssocForms",           "Watermark",
};
constexpr unsigned kPermissionString = 15008;

}  // namespace

void CleanUpDeletedPrinter(HANDLE printer)
{
    BYTE nothing = 0;
    for (const char* name : kDriverValues)
        LockedSetPrinterDataA(printer, const_cast<LPSTR>(name), REG_BINARY, &nothing, 0);
    wchar_t permission[64];
    if (LoadStringW(DriverModule(), kPermissionString, permission, 64) <= 0)
        lstrcpyW(permission, L"Permission");
    LockedSetPrinterDataW(printer, permission, REG_BINARY, &nothing, 0);

    // The name is checked to stay inside the driver directory: this runs with the spooler's rights.
    const fontfiles::PrinterFiles files = fontfiles::PrinterFontFiles(printer);
    if (!files.fontList.empty())
        DeleteFileA(files.fontList.c_str());
}

}  // namespace events
