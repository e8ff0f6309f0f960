// A watermark of the printer's list drawn on the job's page where the rendering driver asks for
// it: the definition (text, font, colour, lightness, offsets) read through the job's printer
// handle, the text centred in the requested area, and the device context left as it was.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "EscapeReplies.h"

namespace docevents {

// The definition a watermark record of the list holds: key 3 the text, key 4 a LOGFONTA (height
// in twentieths of a point, escapement in tenths of a degree), key 5 the colour, key 6 the
// lightness percentage, keys 7 and 8 the offsets of the centre (twentieths of a point).
struct WatermarkDefinition {
    std::string text;
    LOGFONTA font{};
    COLORREF colour = 0;
    std::int32_t lightness = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
};
static_assert(sizeof(LOGFONTA) == 60);

// The definition with that number in the printer's "Watermark" list; nothing when the list cannot
// be read or has no such record.
std::optional<WatermarkDefinition> ReadWatermarkDefinition(HANDLE printer, std::uint16_t number);

// Draws the definition in the page's area. Whether any text was drawn.
bool DrawWatermark(HDC dc, const WatermarkDefinition& definition, const WatermarkRequest::Page& page);

}  // namespace docevents
