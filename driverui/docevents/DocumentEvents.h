// DrvDocumentEvent: the graphics system's call at each stage of a job on a device context of this
// driver, in the application's process. Each event's input is checked for its size before it is
// read.
#pragma once

#include <windows.h>

namespace docevents {

int DocumentEvent(HANDLE printer, HDC dc, int event, ULONG inputSize, PVOID input, ULONG outputSize, PVOID output);

}  // namespace docevents
