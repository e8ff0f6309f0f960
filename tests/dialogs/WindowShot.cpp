#include "WindowShot.h"

#include <cstdint>
#include <vector>

#include "Png.h"

namespace dialogtest {
namespace {

struct Area {
    RECT client{};
    RECT beside{};
    RECT bounds{};
    bool Covers(int x, int y) const
    {
        const POINT p{x, y};
        return PtInRect(&client, p) || PtInRect(&beside, p);
    }
};

Area AreaOf(HWND window, HWND beside)
{
    Area a;
    GetClientRect(window, &a.client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&a.client), 2);
    a.bounds = a.client;
    if (beside && IsWindowVisible(beside) && GetWindowRect(beside, &a.beside))
        UnionRect(&a.bounds, &a.client, &a.beside);
    return a;
}

}  // namespace

void PumpMessages(DWORD ms)
{
    const DWORD until = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

bool CaptureWindow(HWND window, HWND beside, const std::string& path)
{
    SetWindowPos(window, HWND_TOP, 16, 48, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    if (beside)
        RedrawWindow(beside, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(150);
    const Area area = AreaOf(window, beside);
    const RECT& r = area.bounds;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, dib);
    const bool copied = BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(px, px + std::size_t(w) * h);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const std::uint32_t background = std::uint32_t(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!area.Covers(r.left + x, r.top + y))
                pixels[std::size_t(y) * w + x] = background;
    return copied && WritePng(path, w, h, pixels);
}

}  // namespace dialogtest
