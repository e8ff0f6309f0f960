// The page adder: the dialog library's DialogControl adds the pages of the model's page-template
// set (resource type 281) to the sheet through the service the context carries.
#pragma once

#include <windows.h>

#include "SheetContext.h"

namespace sheet {

enum class PagesResult {
    Added,    // DialogControl answered 0
    NoPages,  // the dialog library or its export is missing: the sheet shows no driver pages
    Failed,   // no slots, no page-template set, or DialogControl answered otherwise
};

// Slot count 10 for a document sheet, 3 for a device sheet. The dialog library stays loaded in the
// context until the sheet is destroyed.
PagesResult AddPages(SheetContext* context, WORD slots);

}  // namespace sheet
