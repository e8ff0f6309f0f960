#include "Controls.h"

namespace controls {
namespace {

// Extra window bytes as each class declares them.
constexpr int kPaperBytes = 44, kTabBytes = 20, kPrinterBytes = 20, kBitmapBytes = 4, kSimpleTextBytes = 4;

HBRUSH ButtonFace()
{
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
}

void RegisterNarrow(HINSTANCE instance, const char* name, WNDPROC proc, UINT style, int bytes, HBRUSH background)
{
    WNDCLASSA c{};
    c.style = style;
    c.lpfnWndProc = proc;
    c.cbWndExtra = bytes;
    c.hInstance = instance;
    c.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    c.hbrBackground = background;
    c.lpszClassName = name;
    RegisterClassA(&c);
}

}  // namespace

void RegisterControls(HINSTANCE language)
{
    constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;
    RegisterNarrow(language, kPaperClass, QelbrinPaperControl, kRedraw, kPaperBytes, ButtonFace());
    RegisterNarrow(language, kTabClass, QelbrinTabControl, kRedraw | CS_OWNDC, kTabBytes, nullptr);
    RegisterNarrow(language, kPrinterPictureClass, QelbrinPclPrinterBmpControl, kRedraw, kPrinterBytes, nullptr);
    WNDCLASSW wide{};
    wide.style = kRedraw;
    wide.lpfnWndProc = QelbrinPclBitmapControl;
    wide.cbWndExtra = kBitmapBytes;
    wide.hInstance = language;
    wide.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wide.hbrBackground = ButtonFace();
    wide.lpszClassName = kBitmapClass;
    RegisterClassW(&wide);
    RegisterNarrow(language, kSimpleTextClass, QelbrinSimpleTextControl, kRedraw, kSimpleTextBytes, ButtonFace());
}

void UnregisterControls(HINSTANCE language)
{
    UnregisterClassA(kSimpleTextClass, language);
    UnregisterClassW(kBitmapClass, language);
    UnregisterClassA(kPrinterPictureClass, language);
    UnregisterClassA(kTabClass, language);
    UnregisterClassA(kPaperClass, language);
}

}  // namespace controls
