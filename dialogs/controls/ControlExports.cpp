// The five window procedures, exported under their own names; the classes are registered with
// these, so a class's procedure is the export.
#include "Controls.h"

extern "C" {

LRESULT CALLBACK QelbrinPaperControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controls::PaperControlProc(window, message, wParam, lParam);
}

LRESULT CALLBACK QelbrinTabControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controls::TabControlProc(window, message, wParam, lParam);
}

LRESULT CALLBACK QelbrinPclPrinterBmpControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controls::PrinterPictureProc(window, message, wParam, lParam);
}

LRESULT CALLBACK QelbrinPclBitmapControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controls::BitmapControlProc(window, message, wParam, lParam);
}

LRESULT CALLBACK QelbrinSimpleTextControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controls::SimpleTextProc(window, message, wParam, lParam);
}

}  // extern "C"
