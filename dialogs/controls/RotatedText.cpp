#include "RotatedText.h"

#include <cmath>

namespace controls {

void DrawCentredText(HDC dc, std::string_view text, POINT centre, int angleTenths)
{
    if (text.empty())
        return;
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc, text.data(), int(text.size()), &extent))
        return;
    // The text starts at its cell's top-left corner; turn the half extents with it (y down).
    const double a = angleTenths * 3.14159265358979323846 / 1800.0;
    const double c = std::cos(a), s = std::sin(a);
    const double halfW = extent.cx / 2.0, halfH = extent.cy / 2.0;
    const int x = int(std::lround(centre.x - halfW * c - halfH * s));
    const int y = int(std::lround(centre.y + halfW * s - halfH * c));
    const UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutA(dc, x, y, text.data(), int(text.size()));
    SetTextAlign(dc, align);
}

}  // namespace controls
