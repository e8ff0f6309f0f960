// An application's devmode sent by escape 5021 becomes the printer's stored setting: only a whole
// devmode of this driver, and only as far as the merge over the printer's current devmode takes
// its settings.
#pragma once

#include <windows.h>
#include <winddiui.h>

namespace docevents {

// Event 11. Always 1; anything but an acceptable escape 5021 is ignored.
int ApplicationEscape(HANDLE printer, const DOCEVENT_ESCAPE* escape);

}  // namespace docevents
