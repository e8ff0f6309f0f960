// QelSimpleText: the watermark editor's preview, a page of the paper's shape with the
// watermark text on it at its size, angle and colour.
#include <windows.h>

#include <cstring>
#include <span>
#include <string>

#include "Controls.h"
#include "DevmodeLayout.h"
#include "PaperPreview.h"
#include "RotatedText.h"
#include "SheetContext.h"
#include "WindowState.h"

namespace controls {
namespace {

struct SimpleTextState {
    const SimpleTextRecord* record = nullptr;
    bool fitting = false;
};

constexpr int kDiagonal = 450;
constexpr std::int64_t kThousandthsPerInch = 25400;

// The working devmode's orientation; portrait without a usable context.
bool Landscape(const SimpleTextRecord& r)
{
    if (!IsSheetContext(r.context) || !r.context->workingDevmode)
        return false;
    const std::span<const std::uint8_t> d(r.context->workingDevmode, kWorkDevmodeBytes);
    return devmode::Get(d, devmode::dmOrientation) == DMORIENT_LANDSCAPE;
}

std::string PreviewText(HWND window, const SimpleTextRecord& r)
{
    char typed[simpletext::kTextBytes + 1] = {};
    if (const HWND parent = GetParent(window))
        GetDlgItemTextA(parent, simpletext::kTextControl, typed, int(sizeof typed));
    if (typed[0])
        return typed;
    return std::string(r.text, strnlen(r.text, sizeof r.text));
}

void Paint(HWND window, HDC dc)
{
    const SimpleTextState* s = StateOf<SimpleTextState>(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!s || !s->record)
        return;
    const SimpleTextRecord& r = *s->record;
    const bool landscape = Landscape(r);
    std::int64_t paperWidth = std::int64_t(r.paperWidth) * GetDeviceCaps(dc, LOGPIXELSX) / kThousandthsPerInch;
    std::int64_t paperHeight = std::int64_t(r.paperHeight) * GetDeviceCaps(dc, LOGPIXELSY) / kThousandthsPerInch;
    if (landscape)
        std::swap(paperWidth, paperHeight);

    LOGFONTA lf = r.font;
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    lf.lfHeight = preview::TextPreviewFontHeight(r.font.lfHeight, GetDeviceCaps(dc, LOGPIXELSY), client.bottom,
                                                 paperHeight);
    lf.lfWidth = 0;
    const int angle = r.font.lfEscapement == kDiagonal ? preview::DiagonalAngle(paperWidth, paperHeight)
                                                       : int(r.font.lfEscapement);
    lf.lfEscapement = lf.lfOrientation = angle;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    const HFONT font = CreateFontIndirectA(&lf);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, font);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, preview::TextPreviewColour(r.colour, r.intensity));
    DrawCentredText(dc, PreviewText(window, r), POINT{client.right / 2, client.bottom / 2}, angle);
    RestoreDC(dc, saved);
    DeleteObject(font);
}

// Fits the preview into the dialog's frame for the paper in its orientation.
void Refit(HWND window, SimpleTextState& s)
{
    if (!s.record)
        return;
    std::int64_t w = s.record->paperWidth, h = s.record->paperHeight;
    if (Landscape(*s.record))
        std::swap(w, h);
    FitIntoFrame(window, simpletext::kFrameControl, s.fitting,
                 [&](preview::Rect frame) { return preview::FitTextPreview(frame, w, h); });
}

}  // namespace

LRESULT CALLBACK SimpleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SimpleTextState* s = StateOf<SimpleTextState>(window);
    if (LRESULT result; PaintMessage(window, message, wParam, Paint, result))
        return result;
    switch (message) {
    case WM_NCCREATE:
        if (!MakeState<SimpleTextState>(window))
            return FALSE;
        break;
    case WM_NCDESTROY:
        FreeState<SimpleTextState>(window);
        break;
    case simpletext::kRecord:
        if (s) {
            s->record = reinterpret_cast<const SimpleTextRecord*>(lParam);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case simpletext::kRefit:
        if (s)
            Refit(window, *s);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace controls
