// The pages of the two property sheets, slot by slot: the exported name of each slot's page
// procedure. DialogControl finds a page by that export of this library, so a page is added to
// the sheets by exporting its procedure (QVTDX5DU.def); a slot whose procedure is not exported
// is left out of its sheet.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "SheetCalls.h"

namespace pages {

inline constexpr std::array<const char*, kDocumentSheetSlots> kDocumentPages = {
    "SetupDlgProc",    // 1: Setup
    "PaperDlgProc",    // 2: Paper
    "GraphicsDlgProc",  // 3: Graphics
    "FontDlgProc",     // 4: Fonts
    "OverlayDlgProc",  // 5: Overlays and watermarks
    "ColorDlgProc",    // 6: Colour
    "AdvColorDlgProc",  // 7: Advanced colour
    "CnfgDlgProc",     // 8: Configurations
    "fnWebDlg",        // 9: Web
    "AboutDlgProc",    // 10: About
};
inline constexpr std::array<const char*, kDeviceSheetSlots> kDevicePages = {
    "DeviceDlgProc",    // 1: Installable options
    "UserCustDlgProc",  // 2: Customisation
    "AboutDlgProc",     // 3: About
};
// The device slots' templates follow the document slots' in the page-template set.
inline constexpr std::size_t kFirstDeviceTemplate = kDocumentSheetSlots;

// Page display words.
inline constexpr WORD kHidden = 0;
inline constexpr WORD kDocumentWithoutHelp = 2;
inline constexpr WORD kDocumentIfWebAccess = 3;
inline constexpr WORD kDeviceWithHelp = 1;

// Whether a shown page gets a Help button: on the document sheet every display word but 2, on
// the device sheet only 1.
constexpr bool PageHasHelp(bool documentSheet, WORD display)
{
    return documentSheet ? display != kDocumentWithoutHelp : display == kDeviceWithHelp;
}

// The page procedure exported under the name; null when this build has no such page.
DLGPROC PageProcedure(const char* exportName);

// DialogControl: 0 when every page was added, 1 when the service refused any (the others are
// still added) or the context cannot be used.
DWORD AddSheetPages(SheetContext* context, const PageTemplates& templates, WORD slots, HANDLE printer);

}  // namespace pages
