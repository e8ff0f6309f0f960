// The dialog library's entry point and its exports; each export forwards to one function. The
// controls' window procedures are exported from controls/ControlExports.cpp.
#include <windows.h>

#include "DialogLibraryApi.h"
#include "Library.h"
#include "PageSlots.h"
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

DWORD WINAPI DialogControl(SheetContext* context, void* featureBlock, PageTemplates templates, WORD slots,
                           HANDLE printer)
{
    return pages::AddSheetPages(context, templates, slots, printer);
}

}  // extern "C"
