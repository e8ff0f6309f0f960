// The user paper size dialog: a custom form's name and size, typed in inches or millimetres and
// stored in 1/1200 inch within the model's limits, through CallBackAccess 6 and 7.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Page.h"
#include "PaperUnits.h"
#include "RecordLists.h"
#include "ResourceIds.h"

namespace records {
namespace {

using paperunits::Unit;

constexpr WORD kMillimetreFlag = 0x1000;
constexpr std::int16_t kTemplateForm = 768;
constexpr int kSizeChars = 4;
constexpr int kNameChars = 63;

// The dialog's record, from the sheet's heap while it is open: the bytes the driver library
// exchanges, then the dialog's own fields.
struct UserPaperRecord {
    UserFormRecord form;
    std::uint16_t minWidth, maxWidth, minHeight, maxHeight;  // 1/1200 inch
    std::int32_t enteredWidth, enteredHeight;                 // 1/1200 inch, within the limits
    double factor;
    Unit unit;
    Unit loadedUnit;
    // Not in the stored bytes: who opened the dialog.
    SheetContext* context;
    HWND page;
    bool editing;
};

const pages::HelpPair kHelp[] = {{IDC_UPS_NAME, 2721},   {IDC_UPS_INCHES, 2722}, {IDC_UPS_MILLIMETRES, 2722},
                                 {IDC_UPS_WIDTH, 2723},  {IDC_UPS_HEIGHT, 2724}, {IDOK, pages::kNoHelp},
                                 {IDCANCEL, pages::kNoHelp}, {0, 0}};

UserPaperRecord* RecordOf(HWND dialog)
{
    return reinterpret_cast<UserPaperRecord*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::string FieldOf(HWND dialog, int id)
{
    wchar_t text[64] = L"";
    GetDlgItemTextW(dialog, id, text, int(std::size(text)));
    return Narrow(text, sizeof text);
}

void SetField(HWND dialog, int id, const std::string& text)
{
    SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

void ShowUnits(HWND dialog, const UserPaperRecord& r, bool fields)
{
    using namespace paperunits;
    CheckRadioButton(dialog, IDC_UPS_INCHES, IDC_UPS_MILLIMETRES,
                     r.unit == Unit::Millimetre ? IDC_UPS_MILLIMETRES : IDC_UPS_INCHES);
    if (fields) {
        SetField(dialog, IDC_UPS_WIDTH, Format(ToDisplay(r.enteredWidth, r.unit), r.unit));
        SetField(dialog, IDC_UPS_HEIGHT, Format(ToDisplay(r.enteredHeight, r.unit), r.unit));
    }
    SetField(dialog, IDC_UPS_WIDTH_RANGE,
             FormatRange(ToDisplay(r.minWidth, r.unit), ToDisplay(r.maxWidth, r.unit), r.unit));
    SetField(dialog, IDC_UPS_HEIGHT_RANGE,
             FormatRange(ToDisplay(r.minHeight, r.unit), ToDisplay(r.maxHeight, r.unit), r.unit));
}

std::int32_t Within(std::int32_t v, std::uint16_t low, std::uint16_t high)
{
    return std::clamp<std::int32_t>(v, low, std::max(low, high));
}

bool NameIsFree(UserPaperRecord& r, const std::string& name)
{
    for (const auto& paper : PaperNames(r.context))
        if (paper.number != r.form.number && SameName(paper.name, name))
            return false;
    for (const auto& item : ComboItems(GetDlgItem(r.page, IDC_FORMS)))
        if (item.data != r.form.number && SameName(Narrow(item.text), name))
            return false;
    return true;
}

// A size field on OK: the stored size, or nothing when it does not parse or lies outside the
// range shown.
std::optional<std::int32_t> SizeOf(HWND dialog, const UserPaperRecord& r, int field, std::int32_t entered,
                                   std::uint16_t low, std::uint16_t high)
{
    using namespace paperunits;
    const auto display = Parse(FieldOf(dialog, field), r.unit);
    if (!display || *display < ToDisplay(low, r.unit) || *display > ToDisplay(high, r.unit))
        return std::nullopt;
    if (*display == ToDisplay(entered, r.unit))
        return entered;  // unchanged: keep the precise value behind it
    return Within(ToStored(*display, r.unit), low, high);
}

void Recompute(UserFormRecord& form, bool width)
{
    for (std::size_t q = 0; q < 4; ++q) {
        const std::int32_t margin = form.areas[4 * q + 2];
        form.areas[4 * q + (width ? 0 : 1)] = paperunits::Printable(width ? form.width : form.height, margin);
    }
}

void Close(HWND dialog, INT_PTR result)
{
    if (UserPaperRecord* r = RecordOf(dialog)) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        HeapFree(r->context->heap, 0, r);
    }
    EndDialog(dialog, result);
}

void Save(HWND dialog, UserPaperRecord& r)
{
    const std::string name = listanswer::Trimmed(FieldOf(dialog, IDC_UPS_NAME));
    if (!listanswer::IsFormName(name) || !NameIsFree(r, name)) {
        RefuseField(dialog, IDC_UPS_NAME_LABEL, IDC_UPS_NAME);
        return;
    }
    const auto width = SizeOf(dialog, r, IDC_UPS_WIDTH, r.enteredWidth, r.minWidth, r.maxWidth);
    if (!width) {
        RefuseField(dialog, IDC_UPS_WIDTH_LABEL, IDC_UPS_WIDTH, IDS_SIZE_OUT_OF_RANGE);
        return;
    }
    const auto height = SizeOf(dialog, r, IDC_UPS_HEIGHT, r.enteredHeight, r.minHeight, r.maxHeight);
    if (!height) {
        RefuseField(dialog, IDC_UPS_HEIGHT_LABEL, IDC_UPS_HEIGHT, IDS_SIZE_OUT_OF_RANGE);
        return;
    }
    UserFormRecord& form = r.form;
    form.flags = WORD(r.unit == Unit::Millimetre ? form.flags | kMillimetreFlag : form.flags & ~kMillimetreFlag);
    if (*width != form.width) {
        form.width = WORD(*width);
        Recompute(form, true);
    }
    if (*height != form.height) {
        form.height = WORD(*height);
        Recompute(form, false);
    }
    listanswer::PutField(form.name, sizeof form.name, name);
    pages::CallBack(r.context, kCbSetUserForm, &form);
    r.context->lastPaperUnit = std::uint16_t(r.unit);
    Close(dialog, 1);
}

void ChangeUnit(HWND dialog, UserPaperRecord& r, Unit unit)
{
    using namespace paperunits;
    if (unit == r.unit)
        return;
    const bool shown = !FieldOf(dialog, IDC_UPS_WIDTH).empty() || !FieldOf(dialog, IDC_UPS_HEIGHT).empty();
    if (const auto w = Parse(FieldOf(dialog, IDC_UPS_WIDTH), r.unit);
        w && *w != ToDisplay(r.enteredWidth, r.unit))
        r.enteredWidth = ToStored(*w, r.unit);
    if (const auto h = Parse(FieldOf(dialog, IDC_UPS_HEIGHT), r.unit);
        h && *h != ToDisplay(r.enteredHeight, r.unit))
        r.enteredHeight = ToStored(*h, r.unit);
    r.unit = unit;
    r.factor = FactorOf(unit);
    ShowUnits(dialog, r, shown);
}

bool Open(HWND dialog, const PaperDialogParam* param)
{
    if (!param || !IsSheetContext(param->context))
        return false;
    SheetContext* context = param->context;
    auto* r = static_cast<UserPaperRecord*>(HeapAlloc(context->heap, HEAP_ZERO_MEMORY, sizeof(UserPaperRecord)));
    if (!r)
        return false;
    r->context = context;
    r->page = param->page;
    SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(r));
    PlaceDialog(dialog);
    TakeCaption(dialog, param->page);

    r->editing = param->button == IDC_EDIT_FORM;
    UserFormRecord& form = r->form;
    if (r->editing) {
        const LRESULT index = SendDlgItemMessageW(param->page, IDC_FORMS, CB_GETCURSEL, 0, 0);
        if (index < 0)
            return false;
        form.number = SHORT(SendDlgItemMessageW(param->page, IDC_FORMS, CB_GETITEMDATA, WPARAM(index), 0));
        if (!IsUserSize(form.number))
            return false;
        if (!pages::CallBack(context, kCbGetUserForm, &form))
            pages::CallBack(context, kCbPaperInfo, &form);
        r->unit = form.flags & kMillimetreFlag ? Unit::Millimetre : Unit::Inch;
        SetDlgItemTextW(dialog, IDC_UPS_NAME, Wide(listanswer::FieldText(form.name, sizeof form.name)).c_str());
    } else {
        form.number = kTemplateForm;
        if (!pages::CallBack(context, kCbGetUserForm, &form)) {
            form = UserFormRecord{};
            form.number = kTemplateForm;
            pages::CallBack(context, kCbPaperInfo, &form);
        }
        std::vector<std::int16_t> used;
        for (const auto& item : ComboItems(GetDlgItem(param->page, IDC_FORMS)))
            used.push_back(std::int16_t(item.data));
        const auto number = listanswer::SmallestFree(used, kFirstUserSize, kLastUserSize);
        if (!number)
            return false;
        form.number = *number;
        std::fill(std::begin(form.name), std::end(form.name), '\0');
        r->unit = context->lastPaperUnit == std::uint16_t(Unit::Millimetre) ? Unit::Millimetre : Unit::Inch;
    }
    r->loadedUnit = r->unit;
    r->factor = paperunits::FactorOf(r->unit);

    const auto* limits = context->customPaperLimits;
    r->maxWidth = limits[0];
    r->minWidth = std::min(limits[1], limits[0]);
    r->maxHeight = limits[2];
    r->minHeight = std::min(limits[3], limits[2]);
    r->enteredWidth = Within(form.width, r->minWidth, r->maxWidth);
    r->enteredHeight = Within(form.height, r->minHeight, r->maxHeight);

    SendDlgItemMessageW(dialog, IDC_UPS_NAME, EM_LIMITTEXT, kNameChars, 0);
    SendDlgItemMessageW(dialog, IDC_UPS_WIDTH, EM_LIMITTEXT, kSizeChars, 0);
    SendDlgItemMessageW(dialog, IDC_UPS_HEIGHT, EM_LIMITTEXT, kSizeChars, 0);
    ShowUnits(dialog, *r, r->editing);
    for (int id : {IDC_UPS_RESERVED_1, IDC_UPS_RESERVED_2}) {
        ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
        EnableWindow(GetDlgItem(dialog, id), FALSE);
    }
    return true;
}

}  // namespace

INT_PTR CALLBACK UserPaperSizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!Open(dialog, reinterpret_cast<const PaperDialogParam*>(lParam)))
            Close(dialog, 2);
        return TRUE;
    case WM_COMMAND: {
        UserPaperRecord* r = RecordOf(dialog);
        if (!r)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK: Save(dialog, *r); return TRUE;
        case IDCANCEL: Close(dialog, 2); return TRUE;
        case IDC_UPS_INCHES:
        case IDC_UPS_MILLIMETRES:
            if (HIWORD(wParam) == BN_CLICKED)
                ChangeUnit(dialog, *r, LOWORD(wParam) == IDC_UPS_MILLIMETRES ? Unit::Millimetre : Unit::Inch);
            return TRUE;
        case IDC_HELP_BUTTON:
            if (r->context->helpFile)
                WinHelpW(dialog, r->context->helpFile, HELP_CONTEXT, kHelp[0].context);
            return TRUE;
        default: return FALSE;
        }
    }
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        const UserPaperRecord* r = RecordOf(dialog);
        if (r && info && info->iContextType == HELPINFO_WINDOW && r->context->helpFile)
            WinHelpW(static_cast<HWND>(info->hItemHandle), r->context->helpFile, HELP_WM_HELP, ULONG_PTR(kHelp));
        return TRUE;
    }
    default: return FALSE;
    }
}

}  // namespace records
