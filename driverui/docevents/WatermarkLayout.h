// How a watermark sits on a page, at byte level: the lightened colour, the font height at the
// page's resolution, the diagonal angle, and where the centred text starts. The page comes from
// the rendering driver's request (bounded in EscapeReplies.h), the definition from the printer's
// watermark list. No platform headers.
#pragma once

#include <cstdint>

namespace docevents {

// The escapement that stands for "along the page's diagonal".
inline constexpr std::int32_t kDiagonalEscapement = 450;

// Each channel of a COLORREF raised by the percentage of its distance to 255; the percentage is
// taken as 0 to 100.
std::uint32_t LightenedColour(std::uint32_t colour, std::int32_t lightness);

// A length in twentieths of a point in dots at the resolution (the sign kept), within +-2^20.
std::int32_t DotsOf(std::int32_t twentieths, std::int32_t resolution);

// The angle of an area's diagonal, bottom left to top right, in tenths of a degree (0 to 900).
std::int32_t DiagonalAngle(std::int32_t width, std::int32_t height);

struct TextOrigin {
    std::int32_t x;
    std::int32_t y;
};
// The baseline point of text centred (TA_CENTER | TA_BASELINE) on a centre at an angle in tenths
// of a degree (counter-clockwise, y growing downwards), for a font of that ascent and descent.
TextOrigin CentredOrigin(std::int32_t centreX, std::int32_t centreY, std::int32_t angle, std::int32_t ascent,
                         std::int32_t descent);

}  // namespace docevents
