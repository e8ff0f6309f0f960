// QelPaper: a sheet seen from above, divided into the page cells of its layout, each with a
// watermark, simulated text (or an envelope's strokes) and its page number.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Controls.h"
#include "PaperPreview.h"
#include "RotatedText.h"
#include "WatermarkRecord.h"
#include "WindowState.h"

namespace controls {
namespace {

struct PaperState {
    const WatermarkRecord* first = nullptr;
    const WatermarkRecord* other = nullptr;
    int layout = 0;
    bool portrait = true;
    bool borders = false;
    WORD kept = 0;
    bool rightToLeft = false;
    bool reversed = false;
    bool envelope = false;
    int pageOrder = 0;
    bool alternate = false;
    std::int32_t paperWidth = 0;
    std::int32_t paperHeight = 0;
    bool fitting = false;
};

constexpr COLORREF kTextGrey = RGB(122, 122, 122);
constexpr COLORREF kNumberRed = RGB(255, 0, 0);
constexpr int kSheetInset = 6;

// A record is drawn when it is whole, names a watermark, and has a text and a font height.
bool Drawable(const WatermarkRecord* r)
{
    return r && r->size >= kWatermarkRecordSize && r->number != 0 && r->text[0] != '\0' && r->font.lfHeight != 0;
}

std::string_view TextOf(const WatermarkRecord& r)
{
    return std::string_view(r.text, strnlen(r.text, sizeof r.text));
}

// The font, colour and angle one watermark record is drawn with in cells of this size.
struct WatermarkPen {
    HFONT font = nullptr;
    COLORREF colour = 0;
    int angle = 0;
    std::string_view text;
};

WatermarkPen MakeWatermarkPen(const WatermarkRecord& r, const PaperState& s, int cellWidth, int cellHeight, int dpi)
{
    LOGFONTA lf = r.font;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    lf.lfHeight = preview::PaperPreviewFontHeight(r.font.lfHeight, s.portrait ? cellHeight : cellWidth, dpi,
                                                  s.paperHeight);
    lf.lfWidth = 0;
    WatermarkPen pen;
    pen.angle = preview::WatermarkAngle(r.font.lfEscapement, s.portrait, s.reversed, cellWidth, cellHeight);
    lf.lfEscapement = lf.lfOrientation = pen.angle;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    pen.font = CreateFontIndirectA(&lf);
    pen.colour = preview::PaperPreviewColour(r.colour, r.intensity);
    pen.text = TextOf(r);
    return pen;
}

void DrawWatermark(HDC dc, const WatermarkPen& pen, const RECT& cell, int margin)
{
    if (!pen.font)
        return;
    RECT inner{cell.left + margin, cell.top + margin, cell.right - margin, cell.bottom - margin};
    if (inner.right <= inner.left || inner.bottom <= inner.top)
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    SelectObject(dc, pen.font);
    SetTextColor(dc, pen.colour);
    DrawCentredText(dc, pen.text, POINT{(inner.left + inner.right) / 2, (inner.top + inner.bottom) / 2}, pen.angle);
    RestoreDC(dc, saved);
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// Lines one pitch apart, each from the margin (the indent on every fifth) to the far margin;
// vertical in landscape. Right-to-left mirrors where lines start, reversed where they begin.
void DrawTextLines(HDC dc, const RECT& cell, const PaperState& s, const preview::CellMetrics& m)
{
    if (s.portrait) {
        const int first = s.reversed ? cell.bottom - m.margin : cell.top + m.margin;
        const int step = s.reversed ? -m.pitch : m.pitch;
        for (int k = 0, y = first; y >= cell.top + m.margin && y <= cell.bottom - m.margin; ++k, y += step) {
            const int start = k % 5 == 0 ? m.indent : m.margin;
            if (s.rightToLeft)
                Line(dc, cell.right - start, y, cell.left + m.margin, y);
            else
                Line(dc, cell.left + start, y, cell.right - m.margin, y);
        }
        return;
    }
    const int first = s.reversed ? cell.right - m.margin : cell.left + m.margin;
    const int step = s.reversed ? -m.pitch : m.pitch;
    for (int k = 0, x = first; x >= cell.left + m.margin && x <= cell.right - m.margin; ++k, x += step) {
        const int start = k % 5 == 0 ? m.indent : m.margin;
        if (s.rightToLeft)
            Line(dc, x, cell.top + start, x, cell.bottom - m.margin);
        else
            Line(dc, x, cell.bottom - start, x, cell.top + m.margin);
    }
}

// The return address at the upper left, the address in the middle, the stamp at the upper
// right, by thirds and quarters of the cell; right-to-left mirrors across, reversed up and down.
void DrawEnvelope(HDC dc, const RECT& cell, const PaperState& s, const preview::CellMetrics& m)
{
    const int w = cell.right - cell.left, h = cell.bottom - cell.top;
    auto X = [&](int offset) { return s.rightToLeft ? cell.right - offset : cell.left + offset; };
    auto Y = [&](int offset) { return s.reversed ? cell.bottom - offset : cell.top + offset; };
    for (int i = 0; i < 3; ++i) {
        Line(dc, X(m.margin), Y(m.margin + i * m.pitch), X(w / 3), Y(m.margin + i * m.pitch));
        Line(dc, X(w / 3), Y(h / 2 + i * m.pitch), X(w * 3 / 4), Y(h / 2 + i * m.pitch));
    }
    const int stampW = std::max(2, w / 8), stampH = std::max(2, h / 4);
    const int x0 = X(w - m.margin - stampW), x1 = X(w - m.margin);
    const int y0 = Y(m.margin), y1 = Y(m.margin + stampH);
    Rectangle(dc, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
}

void DrawNumber(HDC dc, int number, const RECT& cell, int angle)
{
    char digits[12];
    const int n = wsprintfA(digits, "%d", number);
    DrawCentredText(dc, std::string_view(digits, std::size_t(std::max(n, 0))),
                    POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, angle);
}

void Paint(HWND window, HDC dc)
{
    const PaperState* s = StateOf<PaperState>(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!s)
        return;
    const RECT sheet{kSheetInset, kSheetInset, client.right, client.bottom - kSheetInset};
    if (sheet.right - sheet.left < 2 || sheet.bottom - sheet.top < 2)
        return;
    const int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, sheet.left, sheet.top, sheet.right, sheet.bottom);
    SetBkMode(dc, TRANSPARENT);

    const preview::Grid grid = preview::LayoutGrid(s->layout, s->portrait);
    const int cellWidth = (sheet.right - sheet.left) / grid.columns;
    const int cellHeight = (sheet.bottom - sheet.top) / grid.rows;
    const preview::CellMetrics metrics = preview::MetricsOf(cellWidth, cellHeight, s->portrait);
    auto CellRect = [&](int index) {
        const int col = index % grid.columns, row = index / grid.columns;
        const int left = sheet.left + col * cellWidth, top = sheet.top + row * cellHeight;
        return RECT{left, top, left + cellWidth, top + cellHeight};
    };
    const std::vector<int> order = preview::CellOrder(grid, s->pageOrder);

    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    WatermarkPen firstPen, otherPen;
    if (Drawable(s->first))
        firstPen = MakeWatermarkPen(*s->first, *s, cellWidth, cellHeight, dpi);
    if (Drawable(s->other))
        otherPen = MakeWatermarkPen(*s->other, *s, cellWidth, cellHeight, dpi);
    for (std::size_t n = 0; n < order.size(); ++n) {
        const bool useFirst = s->alternate ? n % 2 == 0 : n == 0;
        DrawWatermark(dc, useFirst ? firstPen : otherPen, CellRect(order[n]), metrics.margin);
    }

    if (s->borders) {
        for (int c = 1; c < grid.columns; ++c)
            Line(dc, sheet.left + c * cellWidth, sheet.top, sheet.left + c * cellWidth, sheet.bottom - 1);
        for (int r = 1; r < grid.rows; ++r)
            Line(dc, sheet.left, sheet.top + r * cellHeight, sheet.right - 1, sheet.top + r * cellHeight);
    }

    if (preview::ShowsSimulatedText(cellWidth, cellHeight)) {
        const HPEN grey = CreatePen(PS_SOLID, 1, kTextGrey);
        SelectObject(dc, grey);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        for (int index : order) {
            if (s->envelope)
                DrawEnvelope(dc, CellRect(index), *s, metrics);
            else
                DrawTextLines(dc, CellRect(index), *s, metrics);
        }
        SelectObject(dc, GetStockObject(BLACK_PEN));
        DeleteObject(grey);
    }

    if (grid.Cells() > 1) {
        LOGFONTA lf{};
        lf.lfHeight = -std::clamp(std::min(cellWidth, cellHeight) / 3, 6, 12);
        lf.lfEscapement = lf.lfOrientation = s->portrait ? 0 : 900;
        lf.lfWeight = FW_BOLD;
        std::strcpy(lf.lfFaceName, "Arial");
        const HFONT numbers = CreateFontIndirectA(&lf);
        SelectObject(dc, numbers);
        SetTextColor(dc, kNumberRed);
        for (std::size_t n = 0; n < order.size(); ++n)
            DrawNumber(dc, int(n) + 1, CellRect(order[n]), s->portrait ? 0 : 900);
        RestoreDC(dc, saved);
        DeleteObject(numbers);
    } else {
        RestoreDC(dc, saved);
    }
    DeleteObject(firstPen.font);
    DeleteObject(otherPen.font);
}

// Fits the preview into the dialog's frame control for the paper's shape.
void Refit(HWND window, PaperState& s)
{
    FitIntoFrame(window, paper::kFrameControl, s.fitting, [&](preview::Rect frame) {
        return preview::FitPaperPreview(frame, s.paperWidth, s.paperHeight);
    });
}

}  // namespace

LRESULT CALLBACK PaperControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PaperState* s = StateOf<PaperState>(window);
    if (LRESULT result; PaintMessage(window, message, wParam, Paint, result))
        return result;
    switch (message) {
    case WM_NCCREATE:
        if (!MakeState<PaperState>(window))
            return FALSE;
        break;
    case WM_NCDESTROY:
        FreeState<PaperState>(window);
        break;
    case WM_SIZE:
        if (s)
            Refit(window, *s);
        return 0;
    default:
        if (s && message >= paper::kLayout && message <= paper::kAlternate) {
            const int value = int(wParam);
            switch (message) {
            case paper::kLayout: s->layout = preview::ClampLayout(value); break;
            case paper::kOrientation: s->portrait = value == 1; break;
            case paper::kBorders: s->borders = value != 0; break;
            case paper::kKeptWord: s->kept = WORD(wParam); break;
            case paper::kRightToLeft: s->rightToLeft = value != 0; break;
            case paper::kReversed: s->reversed = value != 0; break;
            case paper::kEnvelope: s->envelope = value != 0; break;
            case paper::kPageOrder: s->pageOrder = value; break;
            case paper::kFirstWatermark: s->first = reinterpret_cast<const WatermarkRecord*>(lParam); break;
            case paper::kPaperWidth: s->paperWidth = std::int32_t(lParam); break;
            case paper::kPaperHeight: s->paperHeight = std::int32_t(lParam); break;
            case paper::kOtherWatermark: s->other = reinterpret_cast<const WatermarkRecord*>(lParam); break;
            case paper::kAlternate: s->alternate = value != 0; break;
            }
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace controls
