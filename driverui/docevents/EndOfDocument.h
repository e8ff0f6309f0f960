// The end of the document: the translated resources the rendering driver asks for (the bitmaps of
// the dialog library's resource library) and the instruction text drawn on the last page.
#pragma once

#include <windows.h>

#include "RenderingDriver.h"

namespace docevents {

// Event 8: 0x7FFFFFF8 when the dialog library was loaded, else the thread's last-error code.
int EndDocument(HANDLE printer, const RenderingDriver& driver);

}  // namespace docevents
