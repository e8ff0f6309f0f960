// What the customisation page and the dialogs it opens share: the stored lists the driver
// library answers (read as hostile, freed here), narrow names in records and wide ones on
// screen, the dialogs' placement and the refusal of a name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ListAnswer.h"
#include "ResourceIds.h"
#include "SheetContext.h"

namespace records {

inline constexpr std::int16_t kFirstUserSize = 512;
inline constexpr std::int16_t kLastUserSize = 519;
inline constexpr std::size_t kMaxUserSizes = 8;
inline constexpr std::int16_t kFirstAssociation = 640;
inline constexpr std::int16_t kLastAssociation = 671;
inline constexpr std::size_t kMaxAssociations = 32;
inline constexpr std::int16_t kFirstWatermark = 1;
inline constexpr std::int16_t kLastWatermark = 255;
inline constexpr std::int16_t kFirstOverlay = 1;
inline constexpr std::int16_t kLastOverlay = 0x7FFF;

inline bool IsUserSize(LPARAM number)
{
    return number >= kFirstUserSize && number <= kLastUserSize;
}

// A list request (types 0, 5, 9, 17): the items as far as the answer is whole, numbers bounded.
std::vector<listanswer::Item> Fetch(SheetContext* context, DWORD type, std::int16_t first, std::int16_t last);

// The forms of the printer's paper list (CallBackAccess 34) as (code, name).
std::vector<listanswer::Item> PaperNames(SheetContext* context);

// Narrow names of the records (the ANSI code page) and the wide text of the controls. Narrow
// gives at most maxBytes - 1 bytes and never ends inside a double-byte character.
std::wstring Wide(std::string_view narrow);
std::string Narrow(std::wstring_view wide, std::size_t maxBytes = listanswer::kNameBytes);
// Names compare as the driver library's lists compare them: without regard to case.
bool SameName(const std::string& a, const std::string& b);

// "(" + none + ")", the first item of the record lists.
std::wstring NoneItem();

// Centred horizontally over the owner, at two fifths of the free height, kept on the screen.
void PlaceDialog(HWND dialog);
// The customisation page's group title (6430) as the dialog's caption, when it has one.
void TakeCaption(HWND dialog, HWND page);
// The message (6524 by default) with the label's text (mnemonics removed), caption 6137, a warning icon; the focus
// goes to the field.
void RefuseField(HWND dialog, int label, int field, UINT message = IDS_INVALID_NAME);

// A combo box's items: the text and data of each, in order.
struct ComboItem {
    std::wstring text;
    LPARAM data;
};
std::vector<ComboItem> ComboItems(HWND combo);

// The parameter of the two paper dialogs: who opened them and with which button.
struct PaperDialogParam {
    SheetContext* context;
    HWND page;
    int button;
};

// The dialogs the customisation page opens, modal, over the sheet frame.
INT_PTR CALLBACK UserPaperSizeDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK UserPaperAssocDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK WatermarkDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK fnWatermarkDelDlg(HWND, UINT, WPARAM, LPARAM);
// The language library's template, modal.
INT_PTR RunDialog(UINT templateId, HWND owner, DLGPROC procedure, LPARAM parameter);

}  // namespace records
