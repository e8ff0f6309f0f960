// Stand-ins for the picture library (QVTDX5BT.DLL), the instructions library (QVTDX5B1.DLL) and
// the settings-interface library (QVTDX5UI.DLL, its interface in settings_ui.cpp) that the driver
// library loads by name for a sheet. Each records its loading and unloading, "attach NAME" and "detach NAME", one line each,
// in the file QVSIBLING_RECORD names; the picture library also records its calls. QVTDX5UI.DLL is
// built apart from the others (see the CMake file): without it the driver falls back to its own
// pages.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#ifndef QV_SIBLING_NAME
#error QV_SIBLING_NAME names the library
#endif

namespace {

void Record(const char* event)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QVSIBLING_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s %s\n", event, QV_SIBLING_NAME);
        std::fclose(f);
    }
}

#ifdef QV_SIBLING_PICTURES
// The picture's colour: the printer configuration block's first word, so a test sees which
// block the printer picture was drawn from.
COLORREF PictureColour(const std::uint32_t* configuration)
{
    return configuration ? COLORREF(configuration[0] & 0xFFFFFF) : RGB(0, 0, 128);
}
#endif

}  // namespace

extern "C" {

#ifdef QV_SIBLING_PICTURES
// The painter of the printer picture: a sketch of a printer in the target size at the area's
// top-left corner (paper above a grey body), its front panel in the colour of the configuration
// block, and records the call.
BOOL WINAPI PaintPrt(HDC dc, HMODULE, const RECT* area, int width, int height, int scale,
                     const std::uint32_t* configuration, int flags)
{
    char line[96];
    std::snprintf(line, sizeof line, "PaintPrt %d %d %d %d", width, height, scale, flags);
    Record(line);
    if (!dc || !area)
        return FALSE;
    const int x = area->left, y = area->top;
    const RECT whole{x, y, x + width, y + height};
    FillRect(dc, &whole, GetSysColorBrush(COLOR_WINDOW));
    const RECT body{x + width / 6, y + height * 2 / 5, x + width * 5 / 6, y + height * 9 / 10};
    const RECT paper{x + width / 3, y + height / 10, x + width * 2 / 3, body.top + 1};
    const RECT panel{body.left + width / 12, body.top + (body.bottom - body.top) / 3, body.right - width / 12,
                     body.top + (body.bottom - body.top) * 2 / 3};
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(96, 96, 96));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HBRUSH white = CreateSolidBrush(RGB(255, 255, 255)), grey = CreateSolidBrush(RGB(200, 200, 200));
    const HGDIOBJ oldBrush = SelectObject(dc, white);
    Rectangle(dc, paper.left, paper.top, paper.right, paper.bottom);
    SelectObject(dc, grey);
    Rectangle(dc, body.left, body.top, body.right, body.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    DeleteObject(white);
    DeleteObject(grey);
    const HBRUSH brush = CreateSolidBrush(PictureColour(configuration));
    FillRect(dc, &panel, brush);
    DeleteObject(brush);
    return TRUE;
}

// The palette manager: records the request; the stand-in's picture has no palette to change.
BOOL WINAPI ManagePal(HWND, UINT request)
{
    char line[32];
    std::snprintf(line, sizeof line, "ManagePal %u", request);
    Record(line);
    return FALSE;
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Record("attach");
    else if (reason == DLL_PROCESS_DETACH)
        Record("detach");
    return TRUE;
}

}  // extern "C"
