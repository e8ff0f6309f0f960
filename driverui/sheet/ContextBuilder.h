// Birth and death of a sheet context: built in its own heap from a printer and an optional
// input devmode; destroying the heap frees it.
#pragma once

#include <windows.h>

#include "SheetContext.h"

namespace sheet {

inline constexpr char kRefreshProcName[] = "RefreshProc";
inline constexpr wchar_t kPrinterConfigValue[] = L"PrinterConfig";
inline constexpr wchar_t kDefaultHelpFile[] = L"QVTDX5DA.HLP";

// Null when the heap, the context or the printer's information cannot be had. The input devmode
// is read only as far as it declares, within inputBytes.
SheetContext* CreateSheetContext(HANDLE printer, const DEVMODEW* input, std::size_t inputBytes);
void DestroySheetContext(SheetContext* context);

// The "PrinterConfig" write of the save steps and of the constructor: 1 and the block.
bool StorePrinterConfig(SheetContext* context);

}  // namespace sheet
