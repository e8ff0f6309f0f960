// The dialog library's process-wide state: its own instance, the language library every
// template, string, bitmap and icon comes from, and the one lock around the summary window's
// creation. Set up at attach, torn down at detach.
#pragma once

#include <windows.h>

namespace dialogs {

// Attach (reason 1) and detach (reason 0) as the library's entry point sees them; any other
// reason answers 0.
BOOL DllInitialize(HINSTANCE instance, DWORD reason, LPVOID reserved);

HINSTANCE DialogInstance();
// QVTDX5DL.DLL, loaded from this library's directory; null only before attach.
HMODULE LanguageLibrary();
CRITICAL_SECTION& SummaryLock();

}  // namespace dialogs
