// A control's own state: an object made at WM_NCCREATE, reached through the window's user data
// and freed at WM_NCDESTROY (the classes' extra bytes are too few for it in a 64-bit build).
#pragma once

#include <windows.h>

#include <new>
#include <optional>

#include "PaperPreview.h"

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

// Moves a preview control into the place that fit(frame) finds inside its dialog's frame control
// (the rectangle in the dialog's coordinates). `fitting` guards against the WM_SIZE the move sends.
template <class FitFn>
void FitIntoFrame(HWND window, int frameControl, bool& fitting, FitFn fit)
{
    const HWND parent = GetParent(window);
    const HWND frame = parent ? GetDlgItem(parent, frameControl) : nullptr;
    RECT r{};
    if (fitting || !frame || !GetWindowRect(frame, &r))
        return;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const std::optional<preview::Rect> place = fit(preview::Rect{r.left, r.top, r.right, r.bottom});
    if (!place)
        return;
    fitting = true;
    MoveWindow(window, place->left, place->top, place->Width(), place->Height(), TRUE);
    fitting = false;
}

}  // namespace controls
