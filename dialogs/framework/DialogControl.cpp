#include <windows.h>
#include <compstui.h>
#include <prsht.h>

#include <optional>

#include "Library.h"
#include "PageSlots.h"
#include "WebAccess.h"

namespace pages {
namespace {

// The page record the property-sheet service receives: its first 48 bytes (up to the header
// titles), as the shipped build lays them out.
const DWORD kPageRecordSize = PROPSHEETPAGEW_V2_SIZE;
#ifndef _WIN64
static_assert(offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR) == 48);
#endif

struct Slot {
    const char* procedure;
    WORD templateId;
    WORD display;
};

}  // namespace

DLGPROC PageProcedure(const char* exportName)
{
    const HINSTANCE self = dialogs::DialogInstance();
    return self ? reinterpret_cast<DLGPROC>(GetProcAddress(self, exportName)) : nullptr;
}

DWORD AddSheetPages(SheetContext* c, const PageTemplates& templates, WORD slots, HANDLE printer)
{
    if (!IsSheetContext(c) || !c->sheetService || !dialogs::LanguageLibrary())
        return 1;
    const bool document = slots == kDocumentSheetSlots;
    const std::size_t count = document ? kDocumentPages.size() : kDevicePages.size();
    // The web-access check reads the registry and the printer: only for a sheet that asks for it.
    std::optional<bool> webAccess;
    const auto service = reinterpret_cast<PFNCOMPROPSHEET>(c->sheetService);
    DWORD result = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Slot slot{document ? kDocumentPages[i] : kDevicePages[i],
                        templates.id[document ? i : kFirstDeviceTemplate + i], c->pageDisplay[i]};
        if (slot.display == kHidden || slot.templateId == 0)
            continue;
        if (document && slot.display == kDocumentIfWebAccess) {
            if (!webAccess)
                webAccess = WebAccessAllowed(PrinterManufacturer(printer));
            if (!*webAccess)
                continue;
        }
        const DLGPROC procedure = PageProcedure(slot.procedure);
        if (!procedure)
            continue;
        PROPSHEETPAGEW page{};
        page.dwSize = kPageRecordSize;
        page.dwFlags = PageHasHelp(document, slot.display) ? PSP_HASHELP : 0;
        page.hInstance = dialogs::LanguageLibrary();
        page.pszTemplate = MAKEINTRESOURCEW(slot.templateId);
        page.pfnDlgProc = procedure;
        page.lParam = LPARAM(c);
        if (service(c->sheetServiceHandle, CPSFUNC_ADD_PROPSHEETPAGEW, LPARAM(&page), 0) == 0)
            result = 1;
    }
    return result;
}

}  // namespace pages
