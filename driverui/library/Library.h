// Library-wide state of QVTDX5DA: one copy per process, set up at attach.
#pragma once

#include <windows.h>

// The library's start-up and shut-down: reason 1 (attach) stores the module handle and creates
// the event lock, reason 0 (detach) deletes it. 1 on success; 0 for a null module or any other
// reason.
BOOL LibraryInitialize(HINSTANCE module, DWORD reason);

// QVTDX5DA's own module: resources and sibling-library paths are taken from it.
HMODULE DriverModule();

// Held by the printer-event and upgrade entry points.
CRITICAL_SECTION& EventLock();
