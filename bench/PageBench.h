// The per-page document events against a page's budget, on the driver library driver_bench loaded
// (with its imports already counted).
#pragma once

#include <windows.h>

namespace bench {

// Prints one section of results; non-zero when the export or the fake rendering driver is missing.
int RunPageEvents(HMODULE library);

}  // namespace bench
