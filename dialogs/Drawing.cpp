#include "Drawing.h"

namespace dialogs {
namespace {

// A memory device context holding one object, restored and freed with it.
class MemoryDc {
public:
    MemoryDc(HDC like, HGDIOBJ object) : dc_(CreateCompatibleDC(like))
    {
        if (dc_)
            old_ = SelectObject(dc_, object);
    }
    ~MemoryDc()
    {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info)
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool DrawTransparent(HDC dc, HBITMAP bitmap, const RECT& target, COLORREF key)
{
    const SIZE size = BitmapSize(bitmap);
    const int w = target.right - target.left, h = target.bottom - target.top;
    if (!dc || size.cx <= 0 || size.cy <= 0 || w <= 0 || h <= 0)
        return false;
    const HBITMAP mask = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    if (!mask)
        return false;
    bool ok = false;
    {
        MemoryDc picture(dc, bitmap), maskDc(dc, mask);
        if (picture.Get() && maskDc.Get()) {
            // The key's pixels become 1 in the mask, every other pixel 0.
            SetBkColor(picture.Get(), key);
            BitBlt(maskDc.Get(), 0, 0, size.cx, size.cy, picture.Get(), 0, 0, SRCCOPY);
            const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
            const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
            const int mode = SetStretchBltMode(dc, COLORONCOLOR);
            ok = StretchBlt(dc, target.left, target.top, w, h, picture.Get(), 0, 0, size.cx, size.cy, SRCINVERT) &&
                 StretchBlt(dc, target.left, target.top, w, h, maskDc.Get(), 0, 0, size.cx, size.cy, SRCAND) &&
                 StretchBlt(dc, target.left, target.top, w, h, picture.Get(), 0, 0, size.cx, size.cy, SRCINVERT);
            SetStretchBltMode(dc, mode);
            SetBkColor(dc, back);
            SetTextColor(dc, text);
        }
    }
    DeleteObject(mask);
    return ok;
}

bool DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key)
{
    const SIZE size = BitmapSize(bitmap);
    return DrawTransparent(dc, bitmap, RECT{x, y, x + size.cx, y + size.cy}, key);
}

}  // namespace dialogs
