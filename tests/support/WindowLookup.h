// Small questions about a window that the sheet harness and the demo ask of the sheets they
// drive.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <string>

namespace qvtest {

inline std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, int(std::size(text)));
    return text;
}

inline std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, int(std::size(name)));
    return name;
}

// A property sheet's frame: a visible window with a tab control.
inline bool IsSheetFrame(HWND window)
{
    return IsWindowVisible(window) && FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
}

}  // namespace qvtest
