// Pictures drawn with a transparent key colour: a monochrome mask is made from the key, and
// the picture goes onto the target with XOR, AND and XOR, so the key's pixels leave the target
// as it was. The pages and the bitmap control draw their pictures with it.
#pragma once

#include <windows.h>

namespace dialogs {

// Pure green, the key of the language library's pictures.
inline constexpr COLORREF kTransparentKey = RGB(0, 255, 0);

// The bitmap's size in pixels; 0 by 0 for no bitmap.
SIZE BitmapSize(HBITMAP bitmap);

// Draws the bitmap into `target` (stretched when the sizes differ) leaving its key-coloured
// pixels out; false when nothing could be drawn.
bool DrawTransparent(HDC dc, HBITMAP bitmap, const RECT& target, COLORREF key = kTransparentKey);
// At its own size with its top-left corner at (x, y).
bool DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key = kTransparentKey);

}  // namespace dialogs
