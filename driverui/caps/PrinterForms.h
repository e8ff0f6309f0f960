// The forms a printer offers besides the built-in papers: its user-defined forms and form
// associations from its record lists, and the spooler's user forms.
#pragma once

#include <windows.h>

#include <string>

#include "PaperFormat.h"

namespace caps {

// The printer's record lists by its name; the spooler's user forms (EnumForms level 1, the
// entries whose flags are 0) through the handle when spoolerForms is set. A list that cannot be
// read gives no forms.
PrinterForms LoadPrinterForms(HANDLE printer, const std::string& printerName, bool spoolerForms);

}  // namespace caps
