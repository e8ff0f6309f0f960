#include "DialogTestUtil.h"

namespace dialogtest {
namespace {

constexpr wchar_t kHostClass[] = L"QvDialogTestHost";

void RegisterHost()
{
    static const bool registered = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = kHostClass;
        return RegisterClassW(&c) != 0;
    }();
    (void)registered;
}

}  // namespace

Host::Host(int width, int height)
{
    RegisterHost();
    window_ = CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Host::Proc));
}

Host::~Host()
{
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK Host::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        if (Host* self = reinterpret_cast<Host*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->commands_.push_back(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Host::AddControl(const char* className, int id, int x, int y, int w, int h, const char* text, DWORD style)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), LanguageLibrary(), nullptr);
}

HWND Host::AddControlW(const wchar_t* className, int id, int x, int y, int w, int h)
{
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, x, y, w, h, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), LanguageLibrary(), nullptr);
}

int Picture::Count(std::uint32_t rgb) const
{
    return CountIn(rgb, 0, 0, width, height);
}

int Picture::CountIn(std::uint32_t rgb, int x0, int y0, int x1, int y1) const
{
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
            n += At(x, y) == rgb;
    return n;
}

Picture Capture(HWND control)
{
    Picture p;
    RECT client{};
    GetClientRect(control, &client);
    p.width = client.right;
    p.height = client.bottom;
    if (p.width <= 0 || p.height <= 0)
        return p;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, dib);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    p.pixels.assign(px, px + std::size_t(p.width) * p.height);
    for (std::uint32_t& v : p.pixels)
        v &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return p;
}

}  // namespace dialogtest
