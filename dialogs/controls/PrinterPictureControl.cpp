// QELPCLPRTBMP: the printer picture. The picture library of the sheet context draws it and
// keeps its palette; this control gives it the place and the printer configuration block.
#include <windows.h>

#include "Controls.h"
#include "SheetContext.h"
#include "WindowState.h"

namespace controls {
namespace {

struct PrinterState {
    const SheetContext* context = nullptr;
};

// Draws only with a whole context that carries the picture library and both its procedures.
bool CanDraw(const SheetContext* c)
{
    return IsSheetContext(c) && c->pictureLibrary && c->paintPrinter && c->managePalette;
}

printer::ManagePaletteFn PaletteOf(const SheetContext* c)
{
    return IsSheetContext(c) ? reinterpret_cast<printer::ManagePaletteFn>(c->managePalette) : nullptr;
}

// Realises the picture's palette; repaints the picture control when the palette changed.
BOOL RealisePalette(HWND window, const SheetContext* c)
{
    const printer::ManagePaletteFn manage = PaletteOf(c);
    if (!manage || !manage(window, printer::kPaletteRealise))
        return FALSE;
    const HWND parent = GetParent(window);
    const HWND picture = parent ? GetDlgItem(parent, printer::kPictureControl) : nullptr;
    InvalidateRect(picture ? picture : window, nullptr, FALSE);
    return TRUE;
}

int TextHeight(HWND window, HDC dc)
{
    const HWND parent = GetParent(window);
    const HFONT font = parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    if (old)
        SelectObject(dc, old);
    return tm.tmHeight;
}

void Paint(HWND window, HDC dc)
{
    const PrinterState* s = StateOf<PrinterState>(window);
    if (!s || !CanDraw(s->context))
        return;
    RECT area{};
    GetClientRect(window, &area);
    area.top += TextHeight(window, dc) / 2;
    DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const int w = area.right - area.left, h = area.bottom - area.top;
    const auto paint = reinterpret_cast<printer::PaintPrinterFn>(s->context->paintPrinter);
    paint(dc, s->context->pictureLibrary, &area, w - w / 64 - w / 32, h - h / 64 - h / 32, printer::kScale,
          s->context->printerConfig, printer::kPaintFlags);
}

}  // namespace

LRESULT CALLBACK PrinterPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PrinterState* s = StateOf<PrinterState>(window);
    if (LRESULT result; PaintMessage(window, message, wParam, Paint, result))
        return result;
    switch (message) {
    case WM_NCCREATE:
        if (!MakeState<PrinterState>(window))
            return FALSE;
        break;
    case WM_NCDESTROY:
        FreeState<PrinterState>(window);
        break;
    case printer::kContext:
        if (s) {
            s->context = reinterpret_cast<const SheetContext*>(lParam);
            RealisePalette(window, s->context);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_QUERYNEWPALETTE:
        return s ? RealisePalette(window, s->context) : FALSE;
    case WM_PALETTECHANGED:
        if (s && reinterpret_cast<HWND>(wParam) != window)
            RealisePalette(window, s->context);
        return 0;
    case WM_DESTROY:
        if (const printer::ManagePaletteFn manage = s ? PaletteOf(s->context) : nullptr)
            manage(window, printer::kPaletteRelease);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace controls
