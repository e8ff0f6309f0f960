// The paper association dialog: a named combination of a form, a paper type, two overlays and two
// watermarks, numbered 640 to 671, read with CallBackAccess 11 and saved with 10. The overlays
// and watermarks are edited together ("both") or one at a time ("first", "second").
#include <windows.h>

#include <array>
#include <vector>

#include "EntryView.h"
#include "NameTables.h"
#include "Page.h"
#include "RecordLists.h"
#include "ResourceIds.h"

namespace records {
namespace {

constexpr std::uint16_t kDuplexBits = 0x1800;

// One overlay or watermark choice: its list and its option radio pair.
struct Choice {
    int list, option0, option1;
};
// For overlays and watermarks: the combined choice, then the first and the second.
struct Group {
    Choice both, first, second;
};
constexpr Group kOverlays{{IDC_PA_OVERLAY_BOTH, IDC_PA_OVERLAY_BOTH_0, IDC_PA_OVERLAY_BOTH_1},
                          {IDC_PA_OVERLAY_FIRST, IDC_PA_OVERLAY_FIRST_0, IDC_PA_OVERLAY_FIRST_1},
                          {IDC_PA_OVERLAY_SECOND, IDC_PA_OVERLAY_SECOND_0, IDC_PA_OVERLAY_SECOND_1}};
constexpr Group kWatermarks{{IDC_PA_WATERMARK_BOTH, IDC_PA_WATERMARK_BOTH_0, IDC_PA_WATERMARK_BOTH_1},
                            {IDC_PA_WATERMARK_FIRST, IDC_PA_WATERMARK_FIRST_0, IDC_PA_WATERMARK_FIRST_1},
                            {IDC_PA_WATERMARK_SECOND, IDC_PA_WATERMARK_SECOND_0, IDC_PA_WATERMARK_SECOND_1}};

enum class Mode { Both, First, Second };

struct AssociationState {
    AssociationRecord* record;  // from the sheet's heap
    SheetContext* context;
    HWND page;
    Mode mode;
};

AssociationState* StateOf(HWND dialog)
{
    return reinterpret_cast<AssociationState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

int AddItem(HWND dialog, int id, const std::wstring& text, LPARAM data)
{
    const auto index = int(Send(dialog, id, CB_ADDSTRING, 0, LPARAM(text.c_str())));
    if (index >= 0)
        Send(dialog, id, CB_SETITEMDATA, WPARAM(index), data);
    return index;
}

int SelectedIndex(HWND dialog, int id)
{
    return int(Send(dialog, id, CB_GETCURSEL));
}

std::wstring SelectedText(HWND dialog, int id)
{
    const int index = SelectedIndex(dialog, id);
    if (index <= 0)
        return {};
    const auto items = ComboItems(GetDlgItem(dialog, id));
    return std::size_t(index) < items.size() ? items[std::size_t(index)].text : std::wstring();
}

void SelectData(HWND dialog, int id, LPARAM data)
{
    const auto items = ComboItems(GetDlgItem(dialog, id));
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].data == data) {
            Send(dialog, id, CB_SETCURSEL, WPARAM(i));
            return;
        }
    Send(dialog, id, CB_SETCURSEL, 0);
}

void SelectName(HWND dialog, int id, const std::string& name)
{
    const auto items = ComboItems(GetDlgItem(dialog, id));
    for (std::size_t i = 1; i < items.size() && !name.empty(); ++i)
        if (SameName(Narrow(items[i].text), name)) {
            Send(dialog, id, CB_SETCURSEL, WPARAM(i));
            return;
        }
    Send(dialog, id, CB_SETCURSEL, 0);
}

void SetOption(HWND dialog, const Choice& c, WORD option)
{
    CheckDlgButton(dialog, c.option0, option == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, c.option1, option != 0 ? BST_CHECKED : BST_UNCHECKED);
}

WORD OptionOf(HWND dialog, const Choice& c)
{
    return IsDlgButtonChecked(dialog, c.option0) == BST_CHECKED ? 0 : 1;
}

void FillNames(HWND dialog, const Group& g, const std::vector<listanswer::Item>& items)
{
    for (const Choice* c : {&g.both, &g.first, &g.second}) {
        Send(dialog, c->list, CB_RESETCONTENT);
        AddItem(dialog, c->list, NoneItem(), 0);
        for (const auto& item : items)
            AddItem(dialog, c->list, Wide(item.name), item.number);
    }
}

void ShowChoice(HWND dialog, const Choice& c, bool shown)
{
    for (int id : {c.list, c.option0, c.option1}) {
        ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOWNA : SW_HIDE);
        EnableWindow(GetDlgItem(dialog, id), shown);
    }
    if (shown)
        EnableWindow(GetDlgItem(dialog, c.list), Send(dialog, c.list, CB_GETCOUNT) > 1);
}

void ShowMode(HWND dialog, AssociationState& s, Mode mode)
{
    s.mode = mode;
    CheckRadioButton(dialog, IDC_PA_MODE_BOTH, IDC_PA_MODE_SECOND,
                     mode == Mode::Both ? IDC_PA_MODE_BOTH : mode == Mode::First ? IDC_PA_MODE_FIRST : IDC_PA_MODE_SECOND);
    for (const Group* g : {&kOverlays, &kWatermarks}) {
        if (mode == Mode::Both) {
            // The combined list stands for both when they agree, else for none.
            const int first = SelectedIndex(dialog, g->first.list), second = SelectedIndex(dialog, g->second.list);
            Send(dialog, g->both.list, CB_SETCURSEL, WPARAM(first == second && first >= 0 ? first : 0));
            const bool agree = OptionOf(dialog, g->first) == OptionOf(dialog, g->second);
            CheckDlgButton(dialog, g->both.option0, agree && OptionOf(dialog, g->first) == 0 ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, g->both.option1, agree && OptionOf(dialog, g->first) != 0 ? BST_CHECKED : BST_UNCHECKED);
        }
        ShowChoice(dialog, g->both, mode == Mode::Both);
        ShowChoice(dialog, g->first, mode == Mode::First);
        ShowChoice(dialog, g->second, mode == Mode::Second);
    }
}

bool DuplexUnit(const SheetContext& c)
{
    return (pages::EntryView(c.featureEntries[feature::kDuplexUnit.id]).Current() & 0x03) != 0;
}

bool DuplexCapable(const SheetContext& c)
{
    return (std::uint16_t(pages::EntryView(c.featureEntries[feature::kPaperHandlingFlags.id]).Current()) & kDuplexBits) != 0;
}

void FillPaperTypes(HWND dialog, const SheetContext& c, SHORT chosen)
{
    namespace pt = feature::paper_type;
    const pages::EntryView e(c.featureEntries[feature::kPaperTypes.id]);
    std::vector<std::uint16_t> seen;
    for (std::size_t g = 0; g < pt::kGroupCount; ++g) {
        const std::size_t group = pt::kGroups + g * pt::kGroupSize;
        if (e.Get<std::uint16_t>(group + pt::kSource) == 0)
            break;
        for (std::size_t t = 0; t < pt::kMaxTypes; ++t) {
            const std::size_t at = group + pt::kTypes + t * pt::kTypeSize;
            const auto value = e.Get<std::uint16_t>(at);
            if (value == feature::kListEnd || e.Size() < at + 2)
                break;
            if (std::find(seen.begin(), seen.end(), value) != seen.end())
                continue;
            seen.push_back(value);
            const UINT name = pages::NameOf(pages::kPaperTypeNames, e.Get<std::uint16_t>(at + 2));
            AddItem(dialog, IDC_PA_TYPE, name ? pages::Page::String(name) : std::to_wstring(value), value);
        }
    }
    SelectData(dialog, IDC_PA_TYPE, chosen);
    EnableWindow(GetDlgItem(dialog, IDC_PA_TYPE), Send(dialog, IDC_PA_TYPE, CB_GETCOUNT) >= 2);
}

void Close(HWND dialog, INT_PTR result)
{
    if (AssociationState* s = StateOf(dialog)) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        HeapFree(s->context->heap, 0, s->record);
        delete s;
    }
    EndDialog(dialog, result);
}

bool Open(HWND dialog, const PaperDialogParam* param)
{
    if (!param || !IsSheetContext(param->context))
        return false;
    SheetContext& c = *param->context;
    auto* r = static_cast<AssociationRecord*>(HeapAlloc(c.heap, HEAP_ZERO_MEMORY, sizeof(AssociationRecord)));
    if (!r)
        return false;
    auto* s = new AssociationState{r, &c, param->page, Mode::First};
    SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(s));
    PlaceDialog(dialog);
    TakeCaption(dialog, param->page);

    const auto pageItems = ComboItems(GetDlgItem(param->page, IDC_FORMS));
    bool both = false;
    if (param->button == IDC_EDIT_FORM) {
        const LRESULT index = SendDlgItemMessageW(param->page, IDC_FORMS, CB_GETCURSEL, 0, 0);
        if (index < 0 || std::size_t(index) >= pageItems.size())
            return false;
        r->number = SHORT(pageItems[std::size_t(index)].data);
        r->form = r->paperType = -1;
        r->firstOverlayOption = r->secondOverlayOption = r->firstWatermarkOption = r->secondWatermarkOption = 1;
        pages::CallBack(&c, kCbGetAssociation, r);
        SetDlgItemTextW(dialog, IDC_PA_NAME, Wide(listanswer::FieldText(r->name, sizeof r->name)).c_str());
        both = DuplexUnit(c);
        const auto text = [](const char (&f)[kRecordNameBytes]) { return listanswer::FieldText(f, sizeof f); };
        if (!SameName(text(r->firstOverlay), text(r->secondOverlay)) ||
            r->firstOverlayOption != r->secondOverlayOption ||
            !SameName(text(r->firstWatermark), text(r->secondWatermark)))
            both = false;
    } else {
        std::vector<std::int16_t> used;
        for (const auto& item : pageItems)
            used.push_back(std::int16_t(item.data));
        const auto number = listanswer::SmallestFree(used, kFirstAssociation, kLastAssociation);
        if (!number)
            return false;
        r->number = *number;
        r->form = r->paperType = -1;
        r->firstOverlayOption = r->secondOverlayOption = r->firstWatermarkOption = r->secondWatermarkOption = 1;
        both = DuplexUnit(c) || DuplexCapable(c);
    }
    if (!(param->button == IDC_EDIT_FORM ? DuplexUnit(c) : DuplexUnit(c) || DuplexCapable(c))) {
        EnableWindow(GetDlgItem(dialog, IDC_PA_MODE_BOTH), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_PA_MODE_SECOND), FALSE);
    }
    Send(dialog, IDC_PA_NAME, EM_LIMITTEXT, kRecordNameBytes - 1);

    for (const auto& paper : PaperNames(&c))
        if (paper.number != r->number)
            AddItem(dialog, IDC_PA_FORM, Wide(paper.name), paper.number);
    SelectData(dialog, IDC_PA_FORM, r->form);
    FillPaperTypes(dialog, c, r->paperType);
    FillNames(dialog, kOverlays, Fetch(&c, kCbEnumMacros, kFirstOverlay, kLastOverlay));
    FillNames(dialog, kWatermarks, Fetch(&c, kCbEnumWatermarks, kFirstWatermark, kLastWatermark));
    const auto text = [](const char (&f)[kRecordNameBytes]) { return listanswer::FieldText(f, sizeof f); };
    SelectName(dialog, kOverlays.first.list, text(r->firstOverlay));
    SelectName(dialog, kOverlays.second.list, text(r->secondOverlay));
    SelectName(dialog, kWatermarks.first.list, text(r->firstWatermark));
    SelectName(dialog, kWatermarks.second.list, text(r->secondWatermark));
    SetOption(dialog, kOverlays.first, r->firstOverlayOption);
    SetOption(dialog, kOverlays.second, r->secondOverlayOption);
    SetOption(dialog, kWatermarks.first, r->firstWatermarkOption);
    SetOption(dialog, kWatermarks.second, r->secondWatermarkOption);
    ShowMode(dialog, *s, both ? Mode::Both : Mode::First);
    return true;
}

void Save(HWND dialog, AssociationState& s)
{
    AssociationRecord& r = *s.record;
    wchar_t typed[128] = L"";
    GetDlgItemTextW(dialog, IDC_PA_NAME, typed, int(std::size(typed)));
    const std::string name = listanswer::Trimmed(Narrow(typed));
    bool free = listanswer::IsFormName(name);
    for (const auto& paper : PaperNames(s.context))
        free = free && !(paper.number != r.number && SameName(paper.name, name));
    for (const auto& item : ComboItems(GetDlgItem(s.page, IDC_FORMS)))
        free = free && !(item.data != r.number && SameName(Narrow(item.text), name));
    if (!free) {
        RefuseField(dialog, IDC_PA_NAME_LABEL, IDC_PA_NAME);
        return;
    }
    listanswer::PutField(r.name, sizeof r.name, name);
    const int form = SelectedIndex(dialog, IDC_PA_FORM);
    r.form = form >= 0 ? SHORT(Send(dialog, IDC_PA_FORM, CB_GETITEMDATA, WPARAM(form))) : SHORT(-1);
    const int type = SelectedIndex(dialog, IDC_PA_TYPE);
    r.paperType = type >= 0 ? SHORT(Send(dialog, IDC_PA_TYPE, CB_GETITEMDATA, WPARAM(type))) : SHORT(-1);
    const auto store = [&](const Choice& c, char (&field)[kRecordNameBytes], WORD& option, bool overlay) {
        const std::wstring chosen = SelectedText(dialog, c.list);
        listanswer::PutField(field, sizeof field, Narrow(chosen));
        option = chosen.empty() && overlay ? 1 : OptionOf(dialog, c);
    };
    store(kOverlays.first, r.firstOverlay, r.firstOverlayOption, true);
    store(kOverlays.second, r.secondOverlay, r.secondOverlayOption, true);
    store(kWatermarks.first, r.firstWatermark, r.firstWatermarkOption, false);
    store(kWatermarks.second, r.secondWatermark, r.secondWatermarkOption, false);
    pages::CallBack(s.context, kCbSetAssociation, &r);
    Close(dialog, 1);
}

bool Command(HWND dialog, AssociationState& s, int id, int code)
{
    switch (id) {
    case IDOK: Save(dialog, s); return true;
    case IDCANCEL: Close(dialog, 2); return true;
    case IDC_PA_MODE_BOTH: ShowMode(dialog, s, Mode::Both); return true;
    case IDC_PA_MODE_FIRST: ShowMode(dialog, s, Mode::First); return true;
    case IDC_PA_MODE_SECOND: ShowMode(dialog, s, Mode::Second); return true;
    default: break;
    }
    for (const Group* g : {&kOverlays, &kWatermarks}) {
        if (id == g->both.list && code == CBN_SELCHANGE) {
            const int index = SelectedIndex(dialog, id);
            Send(dialog, g->first.list, CB_SETCURSEL, WPARAM(index));
            Send(dialog, g->second.list, CB_SETCURSEL, WPARAM(index));
            return true;
        }
        if ((id == g->both.option0 || id == g->both.option1) && code == BN_CLICKED) {
            const WORD option = id == g->both.option0 ? 0 : 1;
            SetOption(dialog, g->first, option);
            SetOption(dialog, g->second, option);
            SetOption(dialog, g->both, option);
            return true;
        }
    }
    return false;
}

}  // namespace

INT_PTR CALLBACK UserPaperAssocDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!Open(dialog, reinterpret_cast<const PaperDialogParam*>(lParam)))
            Close(dialog, 2);
        return TRUE;
    case WM_COMMAND:
        if (AssociationState* s = StateOf(dialog))
            return Command(dialog, *s, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace records
