// A window on the test display captured from the screen into a PNG file: the window's client
// area (Wine draws no caption without a window manager) and, beside it, a second window when one
// is given and visible (a document sheet's summary window); what lies in neither is painted in the
// dialog colour. The window is brought to the top at a fixed place and repainted first.
#pragma once

#include <windows.h>

#include <string>

namespace dialogtest {

bool CaptureWindow(HWND window, HWND beside, const std::string& path);

// Dispatches this thread's messages for about `ms` milliseconds.
void PumpMessages(DWORD ms);

}  // namespace dialogtest
