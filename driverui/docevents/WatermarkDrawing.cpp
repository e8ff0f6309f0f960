#include "WatermarkDrawing.h"

#include <algorithm>
#include <cstring>

#include "ConfigStore.h"
#include "ListRecords.h"
#include "PrinterList.h"
#include "WatermarkLayout.h"

namespace docevents {
namespace {

constexpr wchar_t kWatermarkValue[] = L"Watermark";
// The editor keeps a watermark's text to 64 characters; a longer stored one is cut there.
constexpr std::size_t kMaxTextChars = 64;

}  // namespace

std::optional<WatermarkDefinition> ReadWatermarkDefinition(HANDLE printer, std::uint16_t number)
{
    const auto bytes = ReadPrinterBytes(printer, kWatermarkValue);
    if (!bytes)
        return std::nullopt;
    recordlist::RecordList list(*bytes);
    for (bool more = list.Rewind(); more; more = list.Next()) {
        const auto w = recordlist::ReadWatermark(list);
        if (!w || w->number != std::int16_t(number))
            continue;
        WatermarkDefinition d;
        d.text = w->text.substr(0, kMaxTextChars);
        static_assert(sizeof w->layout == sizeof d.font);
        std::memcpy(&d.font, w->layout.data(), sizeof d.font);
        d.font.lfFaceName[LF_FACESIZE - 1] = '\0';
        d.colour = w->value & 0xFFFFFF;
        d.lightness = w->words[0];
        d.offsetX = std::int16_t(w->words[1]);
        d.offsetY = std::int16_t(w->words[2]);
        return d;
    }
    return std::nullopt;
}

bool DrawWatermark(HDC dc, const WatermarkDefinition& definition, const WatermarkRequest::Page& page)
{
    if (definition.text.empty())
        return false;
    const std::int32_t width = page.right - page.left;
    const std::int32_t height = page.bottom - page.top;
    LOGFONTA font = definition.font;
    font.lfHeight = DotsOf(font.lfHeight, page.resolution);
    if (font.lfEscapement == kDiagonalEscapement)
        font.lfEscapement = DiagonalAngle(width, height);
    font.lfOrientation = font.lfEscapement;
    const HFONT made = CreateFontIndirectA(&font);
    if (!made)
        return false;

    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, LightenedColour(definition.colour, definition.lightness));
    SetTextAlign(dc, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);
    IntersectClipRect(dc, page.left, page.top, page.right, page.bottom);
    SelectObject(dc, made);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const TextOrigin origin = CentredOrigin(page.left + width / 2 + DotsOf(definition.offsetX, page.resolution),
                                            page.top + height / 2 + DotsOf(definition.offsetY, page.resolution),
                                            font.lfEscapement, metrics.tmAscent, metrics.tmDescent);
    const BOOL drawn = TextOutA(dc, origin.x, origin.y, definition.text.data(), int(definition.text.size()));
    RestoreDC(dc, saved);
    DeleteObject(made);
    return drawn != FALSE;
}

}  // namespace docevents
