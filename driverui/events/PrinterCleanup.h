// What the driver leaves in a printer's data, taken back when the printer is deleted.
#pragma once

#include <windows.h>

namespace events {

// Every value the driver writes becomes a zero-length binary value, and the printer's soft-font
// file is deleted.
void CleanUpDeletedPrinter(HANDLE printer);

}  // namespace events
