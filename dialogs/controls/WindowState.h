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

}  // namespace controls
