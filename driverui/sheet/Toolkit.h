// The bridge to the printer toolkit (QVTDX5TE.DLL, export "QVToolKit"), for the customisation
// page's CallToolKitUtil and its callers.
#pragma once

#include <windows.h>

namespace sheet {

// The printer's port (level 2, "LPT1" when unavailable), then ToolkitCommon: its answer.
int ToolkitUtil(HWND window, LPSTR printerName, DWORD command, DWORD argument, WORD value1, WORD value2,
                DWORD flags);
// Loads the toolkit by its full path beside this library (never by its bare name) and sends it one
// request: 1 when the toolkit replied, 0 when it did not or is missing.
int ToolkitCommon(HWND window, LPSTR printerName, LPSTR portName, DWORD command, WORD value1, WORD value2,
                  DWORD flags, DWORD argument);

}  // namespace sheet
