// A control's own state: an object made at WM_NCCREATE, reached through the window's user data
// and freed at WM_NCDESTROY (the classes' extra bytes are too few for it in a 64-bit build).
#pragma once

#include <windows.h>

#include <new>

namespace controls {

template <class State>
State* StateOf(HWND window)
{
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// For WM_NCCREATE: false (the window is not made) when there is no memory for the state.
template <class State>
bool MakeState(HWND window)
{
    State* state = new (std::nothrow) State();
    if (!state)
        return false;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return true;
}

template <class State>
void FreeState(HWND window)
{
    delete StateOf<State>(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

// The paint messages of a control whose painting covers its whole client area: WM_PAINT and
// WM_PRINTCLIENT through paint(window, dc), and no background erase (it would flicker). True,
// with the message's result, when the message was one of them.
template <class PaintFn>
bool PaintMessage(HWND window, UINT message, WPARAM wParam, PaintFn paint, LRESULT& result)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(window, &ps)) {
            paint(window, dc);
            EndPaint(window, &ps);
        }
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    }
    return false;
}

}  // namespace controls
