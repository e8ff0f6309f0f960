// The dialog library's entry point and its exports; each export forwards to one function.
#include <windows.h>

#include "DialogLibraryApi.h"
#include "Library.h"
#include "Resources.h"
#include "controls/Controls.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    return dialogs::DllInitialize(instance, reason, reserved);
}

int WINAPI LoadXlatedString(XlatedStringRequest* request)
{
    return dialogs::LoadXlatedStringA(request);
}

HGLOBAL WINAPI LoadXlatedResource(XlatedResourceRequest* request)
{
    return dialogs::LoadXlatedResourceOf(request);
}

DWORD WINAPI GetSizeofXlatedResource(XlatedResourceRequest* request)
{
    return dialogs::SizeofXlatedResource(request);
}

WORD WINAPI GetTrayID(WORD index)
{
    return dialogs::TrayId(index);
}

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
