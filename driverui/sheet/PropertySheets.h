// The document and device property entry points: the property-sheet service's callbacks, the
// devmode requests without a user interface, and the prompting calls that go through the
// service in compstui.dll.
#pragma once

#include <windows.h>

#include "DrvUiDecls.h"
#include "SheetContext.h"

namespace sheet {

LONG DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter);
LONG DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM parameter);
LONG DocProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output, PDEVMODEW input,
                        DWORD mode);
LONG AdvancedDocProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output,
                                PDEVMODEW input);
BOOL PrinterPropertySheet(HWND window, HANDLE printer);

// The save steps of both sheets: "PrinterConfig" (models with a family), "CurrentDevmode", and
// the driver configuration data built from the working devmode.
bool SaveSheet(SheetContext* context);

}  // namespace sheet
