// The two modal dialogs the Setup page opens with the sheet context: the job hold dialog and the
// options dialog. Both answer 1 when the user confirmed (the page then refreshes every control)
// and 2 otherwise.
#pragma once

#include <windows.h>

#include "SheetContext.h"

namespace pages {

// Job hold: whether and how a job is kept on the printer's disk, the owner's name and a PIN.
INT_PTR ShowJobHoldDialog(HWND owner, SheetContext* context, UINT templateId);
// Options: the number of sheets with its switch, a further switch and the status window.
INT_PTR ShowOptionsDialog(HWND owner, SheetContext* context, UINT templateId);

}  // namespace pages
