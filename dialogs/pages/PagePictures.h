// The pictures the Setup and Paper pages paint over their placeholders: bitmaps of the language
// library, loaded once per page and freed with it (never shared between pages or sheets), drawn
// with pure green as the transparent key, optionally turned by 180 degrees.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

namespace pages {

class PagePictures {
public:
    PagePictures() = default;
    ~PagePictures();
    PagePictures(const PagePictures&) = delete;
    PagePictures& operator=(const PagePictures&) = delete;

    // The bitmap of the language library, upright or turned; null when it has none.
    HBITMAP Get(UINT id, bool turned = false);
    // Draws it with its top-left corner at (x, y), the key colour left out; its size (0 by 0
    // when nothing was drawn).
    SIZE Draw(HDC dc, UINT id, int x, int y, bool turned = false);

private:
    std::map<std::pair<UINT, bool>, HBITMAP> bitmaps_;
};

// A dialog's paint messages, WM_PAINT and WM_PRINTCLIENT, through paint(dc) after the dialog's own
// drawing; true when the message was one of them.
template <class PaintFn>
bool PaintMessage(HWND dialog, UINT message, WPARAM wParam, PaintFn paint)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        if (const HDC dc = BeginPaint(dialog, &ps)) {
            paint(dc);
            EndPaint(dialog, &ps);
        }
        return true;
    }
    if (message == WM_PRINTCLIENT) {
        paint(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return false;
}

// The rectangle of a page's control in the page's client coordinates; empty without it.
RECT ControlRect(HWND page, int id);

}  // namespace pages
