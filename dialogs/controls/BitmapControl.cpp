// QelPclBmp: one bitmap of a module, stretched into the control keeping its shape and centred,
// with the palette of its colour table; drawn opaque or with a transparent key colour.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "../Drawing.h"
#include "Controls.h"
#include "WindowState.h"

namespace controls {
namespace {

struct BitmapState {
    HMODULE module = nullptr;  // null: the control's own instance
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    bool transparent = false;
    COLORREF key = 0;
    bool naturalSize = false;
    bool framed = false;
};

void Release(BitmapState& s)
{
    if (s.bitmap)
        DeleteObject(s.bitmap);
    if (s.palette)
        DeleteObject(s.palette);
    s.bitmap = nullptr;
    s.palette = nullptr;
}

// A logical palette of a bitmap of 8 bits or fewer per pixel, from its colour table.
HPALETTE PaletteOf(HBITMAP bitmap)
{
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBmih.biBitCount > 8)
        return nullptr;
    RGBQUAD colours[256];
    UINT count = 0;
    if (HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, bitmap);
        count = GetDIBColorTable(dc, 0, 256, colours);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    if (count == 0)
        return nullptr;
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(bytes.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(count);
    for (UINT i = 0; i < count; ++i)
        lp->palPalEntry[i] = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    return CreatePalette(lp);
}

BOOL Load(HWND window, BitmapState& s, LPCWSTR name)
{
    Release(s);
    const HMODULE from = s.module ? s.module : reinterpret_cast<HMODULE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (name)
        s.bitmap = static_cast<HBITMAP>(LoadImageW(from, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (s.bitmap)
        s.palette = PaletteOf(s.bitmap);
    InvalidateRect(window, nullptr, TRUE);
    return s.bitmap != nullptr;
}

BOOL Realise(HWND window, const BitmapState& s)
{
    if (!s.palette)
        return FALSE;
    HDC dc = GetDC(window);
    if (!dc)
        return FALSE;
    const HPALETTE old = SelectPalette(dc, s.palette, FALSE);
    const UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, FALSE);
    ReleaseDC(window, dc);
    if (changed)
        InvalidateRect(window, nullptr, FALSE);
    return TRUE;
}

// The bitmap's place: its shape kept, centred, and no larger than itself when asked.
RECT Place(const RECT& client, SIZE size, bool natural)
{
    int w = client.right - client.left, h = client.bottom - client.top;
    if (natural && size.cx <= w && size.cy <= h) {
        w = size.cx;
        h = size.cy;
    } else if (std::int64_t(w) * size.cy <= std::int64_t(h) * size.cx) {
        h = int(std::int64_t(w) * size.cy / size.cx);
    } else {
        w = int(std::int64_t(h) * size.cx / size.cy);
    }
    const int left = client.left + (client.right - client.left - w) / 2;
    const int top = client.top + (client.bottom - client.top - h) / 2;
    return RECT{left, top, left + w, top + h};
}

void Paint(HWND window, HDC dc)
{
    const BitmapState* s = StateOf<BitmapState>(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!s)
        return;
    if (s->framed)
        DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const SIZE size = dialogs::BitmapSize(s->bitmap);
    if (size.cx <= 0 || size.cy <= 0 || client.right <= client.left || client.bottom <= client.top)
        return;
    const RECT target = Place(client, size, s->naturalSize);
    const HPALETTE old = s->palette ? SelectPalette(dc, s->palette, FALSE) : nullptr;
    if (s->palette)
        RealizePalette(dc);
    if (s->transparent) {
        dialogs::DrawTransparent(dc, s->bitmap, target, s->key);
    } else if (HDC memory = CreateCompatibleDC(dc)) {
        const HGDIOBJ oldBitmap = SelectObject(memory, s->bitmap);
        const int mode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, memory, 0, 0,
                   size.cx, size.cy, SRCCOPY);
        SetStretchBltMode(dc, mode);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
    }
    if (old)
        SelectPalette(dc, old, FALSE);
}

}  // namespace

LRESULT CALLBACK BitmapControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    BitmapState* s = StateOf<BitmapState>(window);
    if (LRESULT result; PaintMessage(window, message, wParam, Paint, result))
        return result;
    switch (message) {
    case WM_NCCREATE:
        if (!MakeState<BitmapState>(window))
            return FALSE;
        break;
    case WM_NCDESTROY:
        if (s)
            Release(*s);
        FreeState<BitmapState>(window);
        break;
    case WM_SETTEXT:
    case bitmap::kLoad:
        return s ? Load(window, *s, reinterpret_cast<LPCWSTR>(lParam)) : FALSE;
    case bitmap::kModule:
        if (s)
            s->module = reinterpret_cast<HMODULE>(lParam);
        return 0;
    case bitmap::kTransparent:
    case bitmap::kOpaque:
        if (s) {
            s->transparent = message == bitmap::kTransparent;
            s->key = COLORREF(lParam);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case bitmap::kNaturalSize:
    case bitmap::kFramed:
        if (s) {
            (message == bitmap::kNaturalSize ? s->naturalSize : s->framed) = (lParam & 1) != 0;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_ACTIVATE:
        return s ? Realise(window, *s) : FALSE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
