// DrvPrinterEvent and DrvUpgradePrinter: a printer of the driver initialised, connected,
// refreshed or deleted, and the driver's files replaced.
#pragma once

#include <windows.h>

namespace events {

// The spooler's event for the printer: 1 on success, 0 for a printer that cannot be opened
// (ERROR_INVALID_PARAMETER), an event not handled, or an initialisation whose default devmode
// could not be built. PRINTER_EVENT_FLAG_NO_UI keeps every message box away.
BOOL PrinterEvent(const wchar_t* printerName, int event, DWORD flags, LPARAM parameter);

// Level 1 with a DRIVER_UPGRADE_INFO_1 only (else ERROR_INVALID_PARAMETER): the configuration
// update, the font values and the default devmode of the printer it names; 1 when the devmode
// was built.
BOOL UpgradePrinter(DWORD level, const BYTE* info);

}  // namespace events
