#include "PagePictures.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Drawing.h"
#include "Resources.h"

namespace pages {
namespace {

// A copy of the bitmap turned by 180 degrees: the pixel order reversed, at 32 bits per pixel
// so the key colour stays exact.
HBITMAP Turned(HBITMAP source)
{
    const SIZE size = dialogs::BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(std::size_t(size.cx) * std::size_t(size.cy));
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, source, 0, UINT(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    void* bits = nullptr;
    const HBITMAP turned = rows == size.cy ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    ReleaseDC(nullptr, screen);
    if (!turned || !bits)
        return turned;
    std::reverse(pixels.begin(), pixels.end());
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    GdiFlush();
    return turned;
}

}  // namespace

PagePictures::~PagePictures()
{
    for (auto& [key, bitmap] : bitmaps_)
        if (bitmap)
            DeleteObject(bitmap);
}

HBITMAP PagePictures::Get(UINT id, bool turned)
{
    const auto key = std::make_pair(id, turned);
    if (const auto found = bitmaps_.find(key); found != bitmaps_.end())
        return found->second;
    HBITMAP bitmap = turned ? Turned(Get(id, false)) : dialogs::LoadDlBitmap(id);
    bitmaps_[key] = bitmap;
    return bitmap;
}

SIZE PagePictures::Draw(HDC dc, UINT id, int x, int y, bool turned)
{
    const HBITMAP bitmap = id ? Get(id, turned) : nullptr;
    if (!bitmap || !dialogs::DrawTransparent(dc, bitmap, x, y))
        return {0, 0};
    return dialogs::BitmapSize(bitmap);
}

RECT ControlRect(HWND page, int id)
{
    RECT r{};
    const HWND control = GetDlgItem(page, id);
    if (!control || !GetWindowRect(control, &r))
        return RECT{};
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace pages
