// Text centred on a point at any angle, for the two previews.
#pragma once

#include <windows.h>

#include <string_view>

namespace controls {

// Draws narrow text in the DC's current font (made with escapement `angleTenths`) so that the
// middle of the turned text lies on `centre`.
void DrawCentredText(HDC dc, std::string_view text, POINT centre, int angleTenths);

}  // namespace controls
