// The dialog library's entry point and its exports; each export forwards to one function. The
// controls' window procedures are exported from controls/ControlExports.cpp.
#include <windows.h>

#include "DialogLibraryApi.h"
#include "Library.h"
#include "Resources.h"

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

}  // extern "C"
