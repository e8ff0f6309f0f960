// The device-context events: before a device context is created or reset, the job's devmode is
// made (the printer's settings with the application's merged over them, the paper geometry, the
// job fields); after it, the rendering driver's version is checked, it gets the context's font
// families and, on a reset, the job's settings, and the devmode is freed.
#pragma once

#include <windows.h>

namespace docevents {

// Events 1 and 3: a new devmode, its address stored at once in *output. 1, or -1 with
// ERROR_INVALID_DATA (the devmode freed and *output null again) when the printer's settings
// cannot be had, the input cannot be merged or a paper has no geometry. A null printer handle
// is opened by the device name.
int PrepareJobDevmode(HANDLE printer, const wchar_t* deviceName, const DEVMODEW* input, DEVMODEW** output);

// Events 2 and 4, with the devmode made at event 1 or 3: -1 for an address this library did not
// hand out (nothing else happens then), else 1 with the devmode freed.
int FinishJobDevmode(HANDLE printer, HDC dc, DEVMODEW* devmode, bool reset);

}  // namespace docevents
