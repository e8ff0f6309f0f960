// The watermark editor and the watermark deletion dialog, opened from the customisation page
// with the sheet context. Watermarks live in the printer's "Watermark" list under numbers 1 to
// 255; the editor reads one with CallBackAccess 19 and saves it with 18, the deletion dialog
// walks the list with 13 to 16 and 21.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "DevmodeLayout.h"
#include "DialogLibraryApi.h"
#include "EntryView.h"
#include "Page.h"
#include "PaperFormatRecord.h"
#include "RecordLists.h"
#include "ResourceIds.h"

namespace records {
namespace {

constexpr int kMinSize = 5;
constexpr int kMaxSize = 200;
constexpr int kMinIntensity = 1;
constexpr int kMaxIntensity = 100;
constexpr int kDefaultIntensity = 4;
constexpr int kTextChars = int(kWatermarkTextBytes) - 1;
constexpr std::size_t kMaxWatermarks = 255;
constexpr std::int16_t kDeviceFontsMode = 2;

struct Colour {
    UINT name;
    COLORREF value;
};
constexpr Colour kColours[] = {
    {IDS_COLOR_BLACK, 0x000000}, {IDS_COLOR_RED, 0x0000FF},     {IDS_COLOR_GREEN, 0x00FF00},
    {IDS_COLOR_BLUE, 0xFF0000},  {IDS_COLOR_CYAN, 0xFFFF00},    {IDS_COLOR_MAGENTA, 0xFF00FF},
    {IDS_COLOR_YELLOW, 0x00FFFF},
};

struct Style {
    UINT name;
    LONG weight;
    BYTE italic;
};
constexpr Style kStyles[] = {{IDS_STYLE_REGULAR, FW_NORMAL, 0},
                             {IDS_STYLE_BOLD, FW_BOLD, 0},
                             {IDS_STYLE_ITALIC, FW_NORMAL, 1},
                             {IDS_STYLE_BOLD_ITALIC, FW_BOLD, 1}};
// Item data of a style: the weight in the high word; italic, underline and strike-out as bits
// 0, 1 and 2 of the low word.
LPARAM StyleData(LONG weight, BYTE italic, BYTE underline, BYTE strikeOut)
{
    return LPARAM(DWORD(weight) << 16 | (italic ? 1 : 0) | (underline ? 2 : 0) | (strikeOut ? 4 : 0));
}

struct Angle {
    UINT name;
    int degrees;
};
constexpr Angle kAngles[] = {{IDS_ANGLE_HORIZONTAL, 0}, {IDS_ANGLE_DIAGONAL, 45}, {IDS_ANGLE_VERTICAL, 90}};

const pages::HelpPair kHelp[] = {{IDC_WM_NAME, 2731},  {IDC_WM_NEW, 2732},      {IDC_WM_DELETE, 2733},
                                 {IDC_WM_TEXT, 2734},  {IDC_WM_FONT, 2735},     {IDC_WM_STYLE, 2736},
                                 {IDC_WM_ANGLE, 2737}, {IDC_WM_SIZE, 2738},     {IDC_WM_SIZE_SPIN, 2738},
                                 {IDC_WM_COLOR, 2739}, {IDC_WM_INTENSITY, 2740}, {IDC_WM_PREVIEW, 2741},
                                 {IDOK, pages::kNoHelp}, {IDCANCEL, pages::kNoHelp}, {0, 0}};

constexpr int kEditing[] = {IDC_WM_DELETE, IDC_WM_TEXT,      IDC_WM_FONT,  IDC_WM_STYLE,     IDC_WM_ANGLE,
                            IDC_WM_SIZE,   IDC_WM_SIZE_SPIN, IDC_WM_COLOR, IDC_WM_INTENSITY};

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

int ComboAdd(HWND dialog, int id, const std::wstring& text, LPARAM data)
{
    const auto index = int(Send(dialog, id, CB_ADDSTRING, 0, LPARAM(text.c_str())));
    if (index >= 0)
        Send(dialog, id, CB_SETITEMDATA, WPARAM(index), data);
    return index;
}

LPARAM ComboData(HWND dialog, int id, int index)
{
    return index < 0 ? 0 : LPARAM(Send(dialog, id, CB_GETITEMDATA, WPARAM(index)));
}

int ComboFind(HWND dialog, int id, LPARAM data)
{
    const auto count = int(Send(dialog, id, CB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        if (ComboData(dialog, id, i) == data)
            return i;
    return -1;
}

int Selected(HWND dialog, int id)
{
    return int(Send(dialog, id, CB_GETCURSEL));
}

std::wstring ItemText(HWND dialog, int id, int index)
{
    const auto length = Send(dialog, id, CB_GETLBTEXTLEN, WPARAM(index));
    if (length < 0)
        return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    Send(dialog, id, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring WindowText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, int(std::size(text)));
    return text;
}

// The default font of a new watermark, by the active code page.
void DefaultFont(LOGFONTA& font)
{
    font = LOGFONTA{};
    font.lfHeight = 1440;
    font.lfEscapement = font.lfOrientation = 450;
    font.lfWeight = FW_NORMAL;
    const char* face = "Arial";
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = 0x22;
    switch (GetACP()) {
    case 936: face = "SimSun", font.lfCharSet = GB2312_CHARSET, font.lfPitchAndFamily = 0x31; break;
    case 949: face = "Gulim", font.lfCharSet = HANGUL_CHARSET, font.lfPitchAndFamily = 0x31; break;
    case 950: face = "MingLiU", font.lfCharSet = CHINESEBIG5_CHARSET, font.lfPitchAndFamily = 0x32; break;
    default: break;
    }
    listanswer::PutField(font.lfFaceName, sizeof font.lfFaceName, face);
}

// ---- The editor ------------------------------------------------------------------------------

class WatermarkEditor {
public:
    explicit WatermarkEditor(HWND dialog, SheetContext* context) : dialog_(dialog), context_(context) {}
    ~WatermarkEditor()
    {
        if (preview_)
            HeapFree(context_->heap, 0, preview_);
    }

    bool Open();
    INT_PTR Command(int id, int code);
    void VerticalScroll(int code);
    void HorizontalScroll(int code, int position);
    bool DrawColour(DRAWITEMSTRUCT& item);
    void PaintFrame();
    const SheetContext& Context() const { return *context_; }

private:
    void FillNames(std::int16_t current);
    void FillFonts();
    void Load(std::int16_t number);
    void ShowFont(const LOGFONTA& font);
    void UpdatePreview();
    void EnableEditing(bool on);
    void ChooseName(int index);
    void NewWatermark();
    void DeleteWatermark();
    void TakeTypedName();
    int Size() const;
    void SetSize(int points);
    void Save();
    std::int16_t CurrentNumber() const { return std::int16_t(ComboData(dialog_, IDC_WM_NAME, current_)); }

    HWND dialog_;
    SheetContext* context_;
    controls::SimpleTextRecord* preview_ = nullptr;
    int current_ = 0;  // the name box's item being edited
};

bool WatermarkEditor::Open()
{
    preview_ = static_cast<controls::SimpleTextRecord*>(
        HeapAlloc(context_->heap, HEAP_ZERO_MEMORY, sizeof(controls::SimpleTextRecord)));
    if (!preview_)
        return false;
    preview_->context = context_;
    preview_->paperWidth = 215900;
    preview_->paperHeight = 279400;
    const auto paperFormat = reinterpret_cast<GetPaperFormatFn>(
        reinterpret_cast<void*>(GetProcAddress(context_->module, kGetPaperFormatExport)));
    if (paperFormat && context_->workingDevmode) {
        const std::span<const std::uint8_t> working(context_->workingDevmode, devmode::kSize);
        std::uint8_t record[paperformat::kSize] = {};
        const auto code = WORD(devmode::Get(working, devmode::dmPaperSize));
        if (paperFormat(context_->modelName, context_->printer, record,
                        reinterpret_cast<PDEVMODEW>(context_->workingDevmode), code, DMORIENT_PORTRAIT, 0, 1200, 0)) {
            const auto word = [&](std::size_t at) { return std::int32_t(record[at] | (record[at + 1] << 8)); };
            const std::int32_t width = word(paperformat::kPhysicalWidth);
            const std::int32_t length = word(paperformat::kPhysicalLength);
            if (width > 0 && length > 0) {
                preview_->paperWidth = width * 25400 / 1200;
                preview_->paperHeight = length * 25400 / 1200;
            }
        }
    }
    Send(dialog_, IDC_WM_PREVIEW, controls::simpletext::kRecord, 0, LPARAM(preview_));
    Send(dialog_, IDC_WM_PREVIEW, controls::simpletext::kRefit);
    PlaceDialog(dialog_);

    const pages::EntryView entry(context_->featureEntries[feature::kWatermarks.id]);
    std::int16_t current = entry.Get<std::int16_t>(feature::watermark::kFirstPage);
    if (current == 0)
        current = entry.Get<std::int16_t>(feature::watermark::kOtherPages);

    for (const Angle& a : kAngles)
        ComboAdd(dialog_, IDC_WM_ANGLE, pages::Page::String(a.name), a.degrees);
    for (const Style& s : kStyles)
        ComboAdd(dialog_, IDC_WM_STYLE, pages::Page::String(s.name), StyleData(s.weight, s.italic, 0, 0));
    for (const Colour& c : kColours)
        ComboAdd(dialog_, IDC_WM_COLOR, pages::Page::String(c.name), LPARAM(c.value));
    SetScrollRange(GetDlgItem(dialog_, IDC_WM_INTENSITY), SB_CTL, kMinIntensity, kMaxIntensity, FALSE);
    SetScrollRange(GetDlgItem(dialog_, IDC_WM_SIZE_SPIN), SB_CTL, kMinSize, kMaxSize, FALSE);
    Send(dialog_, IDC_WM_TEXT, EM_LIMITTEXT, kTextChars);
    Send(dialog_, IDC_WM_NAME, CB_LIMITTEXT, kRecordNameBytes - 1);
    Send(dialog_, IDC_WM_SIZE, EM_LIMITTEXT, 3);

    FillNames(current);
    FillFonts();
    Load(CurrentNumber());
    return true;
}

void WatermarkEditor::FillNames(std::int16_t current)
{
    Send(dialog_, IDC_WM_NAME, CB_RESETCONTENT);
    const auto items = Fetch(context_, kCbEnumWatermarks, kFirstWatermark, kLastWatermark);
    // Item data is the number: the list keeps the stored order, the none item first.
    Send(dialog_, IDC_WM_NAME, CB_INSERTSTRING, 0, LPARAM(NoneItem().c_str()));
    Send(dialog_, IDC_WM_NAME, CB_SETITEMDATA, 0, 0);
    for (const auto& item : items) {
        const std::wstring name = Wide(item.name);
        const auto index = Send(dialog_, IDC_WM_NAME, CB_INSERTSTRING, WPARAM(-1), LPARAM(name.c_str()));
        Send(dialog_, IDC_WM_NAME, CB_SETITEMDATA, WPARAM(index), item.number);
    }
    EnableWindow(GetDlgItem(dialog_, IDC_WM_NEW), items.size() < kMaxWatermarks);
    current_ = std::max(0, ComboFind(dialog_, IDC_WM_NAME, current));
    Send(dialog_, IDC_WM_NAME, CB_SETCURSEL, WPARAM(current_));
}

struct FontFilter {
    HWND dialog;
    bool deviceFonts;
};

int CALLBACK ListFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data)
{
    const auto& filter = *reinterpret_cast<const FontFilter*>(data);
    const bool listed = !(type & RASTER_FONTTYPE) &&
                        ((type & TRUETYPE_FONTTYPE) || (filter.deviceFonts && (type & DEVICE_FONTTYPE)));
    if (!listed || font->lfFaceName[0] == '@')
        return 1;
    const std::wstring face = Wide(listanswer::FieldText(font->lfFaceName, sizeof font->lfFaceName));
    if (Send(filter.dialog, IDC_WM_FONT, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(face.c_str())) == CB_ERR)
        ComboAdd(filter.dialog, IDC_WM_FONT, face, LPARAM(font->lfPitchAndFamily | (font->lfCharSet << 8)));
    return 1;
}

void WatermarkEditor::FillFonts()
{
    const pages::EntryView mode(context_->featureEntries[feature::kGraphicsMode.id]);
    FontFilter filter{dialog_, mode.Current() == kDeviceFontsMode};
    HDC ic = context_->printerName ? CreateICW(L"WINSPOOL", context_->printerName, nullptr,
                                               reinterpret_cast<const DEVMODEW*>(context_->workingDevmode))
                                   : nullptr;
    if (ic) {
        EnumFontsA(ic, nullptr, ListFont, LPARAM(&filter));
        DeleteDC(ic);
    }
    // Without a printer context, the fonts the screen has still make a usable list.
    if (Send(dialog_, IDC_WM_FONT, CB_GETCOUNT) <= 0) {
        HDC screen = GetDC(nullptr);
        EnumFontsA(screen, nullptr, ListFont, LPARAM(&filter));
        ReleaseDC(nullptr, screen);
    }
}

void WatermarkEditor::Load(std::int16_t number)
{
    WatermarkRecord record{};
    record.intensity = kDefaultIntensity;
    record.number = std::uint16_t(number);
    if (number == 0 || !pages::CallBack(context_, kCbGetWatermark, &record)) {
        const std::uint16_t keep = record.number;
        record = WatermarkRecord{};
        record.number = keep;
        record.intensity = kDefaultIntensity;
        record.colour = 0;
        DefaultFont(record.font);
    }
    record.text[sizeof record.text - 1] = '\0';
    record.font.lfFaceName[sizeof record.font.lfFaceName - 1] = '\0';
    SetDlgItemTextW(dialog_, IDC_WM_TEXT, Wide(listanswer::FieldText(record.text, sizeof record.text)).c_str());
    listanswer::PutField(preview_->text, sizeof preview_->text, listanswer::FieldText(record.text, sizeof record.text));
    SetScrollPos(GetDlgItem(dialog_, IDC_WM_INTENSITY), SB_CTL,
                 std::clamp<int>(record.intensity, kMinIntensity, kMaxIntensity), TRUE);
    int colour = ComboFind(dialog_, IDC_WM_COLOR, LPARAM(record.colour));
    Send(dialog_, IDC_WM_COLOR, CB_SETCURSEL, WPARAM(std::max(colour, 0)));
    ShowFont(record.font);
    EnableEditing(number != 0);
    UpdatePreview();
}

void WatermarkEditor::ShowFont(const LOGFONTA& font)
{
    const std::wstring face = Wide(listanswer::FieldText(font.lfFaceName, sizeof font.lfFaceName));
    auto index = Send(dialog_, IDC_WM_FONT, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(face.c_str()));
    if (index == CB_ERR && !face.empty())  // kept, so that saving does not change the face
        index = ComboAdd(dialog_, IDC_WM_FONT, face, LPARAM(font.lfPitchAndFamily | (font.lfCharSet << 8)));
    Send(dialog_, IDC_WM_FONT, CB_SETCURSEL, WPARAM(std::max<LRESULT>(index, 0)));
    const bool bold = font.lfWeight >= FW_SEMIBOLD;
    int style = 0;
    for (int i = 0; i < int(std::size(kStyles)); ++i)
        if ((kStyles[i].weight >= FW_SEMIBOLD) == bold && (kStyles[i].italic != 0) == (font.lfItalic != 0))
            style = i;
    Send(dialog_, IDC_WM_STYLE, CB_SETCURSEL, WPARAM(style));
    const int degrees = int(font.lfEscapement / 10);
    const int angle = ComboFind(dialog_, IDC_WM_ANGLE, degrees);
    Send(dialog_, IDC_WM_ANGLE, CB_SETCURSEL, WPARAM(angle >= 0 ? angle : 1));
    SetSize(int(std::abs(font.lfHeight) / 20));
}

int WatermarkEditor::Size() const
{
    return std::clamp<int>(int(GetDlgItemInt(dialog_, IDC_WM_SIZE, nullptr, FALSE)), kMinSize, kMaxSize);
}

void WatermarkEditor::SetSize(int points)
{
    points = std::clamp(points, kMinSize, kMaxSize);
    SetDlgItemInt(dialog_, IDC_WM_SIZE, UINT(points), FALSE);
    SetScrollPos(GetDlgItem(dialog_, IDC_WM_SIZE_SPIN), SB_CTL, kMaxSize + kMinSize - points, TRUE);
}

void WatermarkEditor::UpdatePreview()
{
    const int colour = Selected(dialog_, IDC_WM_COLOR);
    preview_->colour = COLORREF(colour >= 0 ? ComboData(dialog_, IDC_WM_COLOR, colour) : 0);
    preview_->intensity = GetScrollPos(GetDlgItem(dialog_, IDC_WM_INTENSITY), SB_CTL);
    LOGFONTA& font = preview_->font;
    const auto style = DWORD(ComboData(dialog_, IDC_WM_STYLE, Selected(dialog_, IDC_WM_STYLE)));
    font.lfWeight = LONG(style >> 16);
    if (font.lfWeight == 0)
        font.lfWeight = FW_NORMAL;
    font.lfItalic = style & 1 ? 1 : 0;
    font.lfUnderline = style & 2 ? 1 : 0;
    font.lfStrikeOut = style & 4 ? 1 : 0;
    const int angle = Selected(dialog_, IDC_WM_ANGLE);
    font.lfEscapement = font.lfOrientation = LONG(ComboData(dialog_, IDC_WM_ANGLE, angle >= 0 ? angle : 0) * 10);
    const int face = Selected(dialog_, IDC_WM_FONT);
    if (face >= 0) {
        listanswer::PutField(font.lfFaceName, sizeof font.lfFaceName, Narrow(ItemText(dialog_, IDC_WM_FONT, face), LF_FACESIZE));
        const auto data = ComboData(dialog_, IDC_WM_FONT, face);
        font.lfPitchAndFamily = BYTE(data & 0xFF);
        font.lfCharSet = BYTE((data >> 8) & 0xFF);
    }
    font.lfHeight = -Size();
    InvalidateRect(GetDlgItem(dialog_, IDC_WM_PREVIEW), nullptr, TRUE);
}

void WatermarkEditor::EnableEditing(bool on)
{
    for (int id : kEditing)
        EnableWindow(GetDlgItem(dialog_, id), on);
}

void WatermarkEditor::ChooseName(int index)
{
    if (index < 0)
        return;
    current_ = index;
    Load(CurrentNumber());
}

void WatermarkEditor::NewWatermark()
{
    std::vector<std::int16_t> used;
    const auto count = int(Send(dialog_, IDC_WM_NAME, CB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        used.push_back(std::int16_t(ComboData(dialog_, IDC_WM_NAME, i)));
    const auto number = listanswer::SmallestFree(used, kFirstWatermark, kLastWatermark);
    if (!number)
        return;
    const auto index = int(Send(dialog_, IDC_WM_NAME, CB_INSERTSTRING, WPARAM(-1), LPARAM(L"")));
    Send(dialog_, IDC_WM_NAME, CB_SETITEMDATA, WPARAM(index), *number);
    Send(dialog_, IDC_WM_NAME, CB_SETCURSEL, WPARAM(index));
    current_ = index;
    SetDlgItemTextW(dialog_, IDC_WM_TEXT, L"");
    Load(0);
    EnableEditing(true);
    EnableWindow(GetDlgItem(dialog_, IDC_WM_NEW), count + 1 <= int(kMaxWatermarks));
    SetFocus(GetDlgItem(dialog_, IDC_WM_NAME));
}

// The current watermark leaves the printer's list: the walk finds its record by number.
void WatermarkEditor::DeleteWatermark()
{
    const std::int16_t number = CurrentNumber();
    if (number == 0)
        return;
    const std::wstring name = ItemText(dialog_, IDC_WM_NAME, current_);
    const std::wstring question = pages::Page::Format(IDS_DELETE_QUESTION, name);
    const std::wstring caption = pages::Page::String(IDS_DELETE_CAPTION);
    if (MessageBoxW(dialog_, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ListOpen open{};
    pages::CallBack(context_, kCbOpenWatermarks, &open);
    if (open.list) {
        std::int16_t stored = 0;
        WatermarkFields fields{};
        fields.list = open.list;
        fields.field[0] = &stored;
        for (bool more = true; more; more = pages::CallBack(context_, kCbNextRecord, open.list) != 0) {
            stored = 0;
            if (pages::CallBack(context_, kCbReadWatermarkFields, &fields) && stored == number) {
                pages::CallBack(context_, kCbDeleteRecord, open.list);
                break;
            }
        }
        pages::CallBack(context_, kCbCloseList, open.list);
    }
    FillNames(0);
    Load(0);
}

// What the name box shows becomes the current item's name (the none item keeps its own).
void WatermarkEditor::TakeTypedName()
{
    const std::wstring typed = WindowText(dialog_, IDC_WM_NAME);
    if (current_ < 0 || typed == ItemText(dialog_, IDC_WM_NAME, current_))
        return;
    const LPARAM number = ComboData(dialog_, IDC_WM_NAME, current_);
    if (number == 0) {
        SetDlgItemTextW(dialog_, IDC_WM_NAME, ItemText(dialog_, IDC_WM_NAME, current_).c_str());
        return;
    }
    Send(dialog_, IDC_WM_NAME, CB_DELETESTRING, WPARAM(current_));
    Send(dialog_, IDC_WM_NAME, CB_INSERTSTRING, WPARAM(current_), LPARAM(typed.c_str()));
    Send(dialog_, IDC_WM_NAME, CB_SETITEMDATA, WPARAM(current_), number);
    Send(dialog_, IDC_WM_NAME, CB_SETCURSEL, WPARAM(current_));
}

void WatermarkEditor::Save()
{
    TakeTypedName();
    const std::int16_t number = CurrentNumber();
    if (number == 0) {
        EndDialog(dialog_, 1);
        return;
    }
    const std::string name = listanswer::Trimmed(Narrow(ItemText(dialog_, IDC_WM_NAME, current_)));
    bool unique = true;
    const auto count = int(Send(dialog_, IDC_WM_NAME, CB_GETCOUNT));
    for (int i = 1; i < count; ++i)
        if (i != current_ && SameName(listanswer::Trimmed(Narrow(ItemText(dialog_, IDC_WM_NAME, i))), name))
            unique = false;
    if (!listanswer::IsWatermarkName(name) || !unique) {
        RefuseField(dialog_, IDC_WM_NAME_LABEL, IDC_WM_NAME);
        return;
    }
    UpdatePreview();
    WatermarkRecord record{};
    record.size = kWatermarkRecordSize;
    record.number = std::uint16_t(number);
    listanswer::PutField(record.name, sizeof record.name, name);
    listanswer::PutField(record.text, sizeof record.text, Narrow(WindowText(dialog_, IDC_WM_TEXT), sizeof record.text));
    record.font = preview_->font;
    record.font.lfHeight = -(Size() * 20);
    record.colour = preview_->colour;
    record.intensity = std::uint16_t(preview_->intensity);
    pages::CallBack(context_, kCbAddWatermark, &record);
    EndDialog(dialog_, 1);
}

INT_PTR WatermarkEditor::Command(int id, int code)
{
    switch (id) {
    case IDOK: Save(); return TRUE;
    case IDCANCEL: EndDialog(dialog_, 2); return TRUE;
    case IDC_WM_NEW: NewWatermark(); return TRUE;
    case IDC_WM_DELETE: DeleteWatermark(); return TRUE;
    case IDC_WM_NAME:
        if (code == CBN_SELCHANGE)
            ChooseName(Selected(dialog_, IDC_WM_NAME));
        else if (code == CBN_KILLFOCUS)
            TakeTypedName();
        return TRUE;
    case IDC_WM_TEXT:
        if (code == EN_CHANGE) {
            listanswer::PutField(preview_->text, sizeof preview_->text,
                                 Narrow(WindowText(dialog_, IDC_WM_TEXT), sizeof preview_->text));
            UpdatePreview();
        }
        return TRUE;
    case IDC_WM_SIZE:
        if (code == EN_KILLFOCUS) {
            const UINT typed = GetDlgItemInt(dialog_, IDC_WM_SIZE, nullptr, FALSE);
            SetSize(typed * 20 <= 96 ? kMinSize : int(std::min<UINT>(typed, kMaxSize)));
            UpdatePreview();
        }
        return TRUE;
    case IDC_WM_FONT:
    case IDC_WM_STYLE:
    case IDC_WM_ANGLE:
    case IDC_WM_COLOR:
        if (code == CBN_SELCHANGE)
            UpdatePreview();
        return TRUE;
    default: return FALSE;
    }
}

void WatermarkEditor::VerticalScroll(int code)
{
    int size = Size();
    switch (code) {
    case SB_LINEUP: size += 1; break;
    case SB_LINEDOWN: size -= 1; break;
    case SB_PAGEUP: size += 10; break;
    case SB_PAGEDOWN: size -= 10; break;
    case SB_TOP: size = kMaxSize; break;
    case SB_BOTTOM: size = kMinSize; break;
    default: return;
    }
    SetSize(size);
    UpdatePreview();
}

void WatermarkEditor::HorizontalScroll(int code, int position)
{
    HWND bar = GetDlgItem(dialog_, IDC_WM_INTENSITY);
    int value = GetScrollPos(bar, SB_CTL);
    switch (code) {
    case SB_LINELEFT: value -= 1; break;
    case SB_LINERIGHT: value += 1; break;
    case SB_PAGELEFT: value -= 4; break;
    case SB_PAGERIGHT: value += 4; break;
    case SB_LEFT: value = kMinIntensity; break;
    case SB_RIGHT: value = kMaxIntensity; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: value = position; break;
    default: return;
    }
    SetScrollPos(bar, SB_CTL, std::clamp(value, kMinIntensity, kMaxIntensity), TRUE);
    UpdatePreview();
}

bool WatermarkEditor::DrawColour(DRAWITEMSTRUCT& item)
{
    if (item.CtlID != IDC_WM_COLOR || item.itemID == UINT(-1))
        return false;
    const bool disabled = item.itemState & ODS_DISABLED;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool selected = item.itemState & ODS_SELECTED;
    COLORREF back = GetSysColor(COLOR_WINDOW), fore = GetSysColor(COLOR_WINDOWTEXT);
    if (disabled)
        back = GetSysColor(COLOR_BTNFACE), fore = GetSysColor(COLOR_GRAYTEXT);
    else if (focused)
        back = GetSysColor(COLOR_HIGHLIGHT), fore = GetSysColor(COLOR_WINDOW);
    else if (selected)
        back = GetSysColor(COLOR_HIGHLIGHT), fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
    HBRUSH fill = CreateSolidBrush(back);
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
    RECT swatch{item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.left + 12, item.rcItem.bottom - 2};
    HBRUSH colour = CreateSolidBrush(COLORREF(item.itemData));
    FillRect(item.hDC, &swatch, colour);
    DeleteObject(colour);
    FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const std::wstring name = ItemText(dialog_, IDC_WM_COLOR, int(item.itemID));
    RECT text = item.rcItem;
    text.left += 14;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, fore);
    DrawTextW(item.hDC, name.c_str(), int(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (focused)
        DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

void WatermarkEditor::PaintFrame()
{
    HWND preview = GetDlgItem(dialog_, IDC_WM_PREVIEW);
    RECT r{};
    if (!preview || !GetWindowRect(preview, &r))
        return;
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
    InflateRect(&r, 1, 1);
    HDC dc = GetDC(dialog_);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(dialog_, dc);
}

WatermarkEditor* EditorOf(HWND dialog)
{
    return reinterpret_cast<WatermarkEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// ---- The deletion dialog ---------------------------------------------------------------------

struct DeletionState {
    SheetContext* context;
    std::vector<std::string> names;  // of the listed records, by list item
    std::vector<int> positions;      // their positions in the stored list
};

DeletionState* DeletionOf(HWND dialog)
{
    return reinterpret_cast<DeletionState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Reads the current record's number and name; false when no record is current.
bool ReadCurrent(SheetContext* context, void* list, std::int16_t& number, std::string& name)
{
    char field[kRecordNameBytes] = {};
    number = 0;
    WatermarkFields fields{};
    fields.list = list;
    fields.field[0] = &number;
    fields.field[1] = field;
    if (!pages::CallBack(context, kCbReadWatermarkFields, &fields))
        return false;
    name = listanswer::FieldText(field, sizeof field);
    return true;
}

// Delete is usable while something is selected: a refilled list has no selection. The focus
// leaves a button that greys for the list.
void ShowDeletable(HWND dialog)
{
    const HWND remove = GetDlgItem(dialog, IDC_WMDEL_DELETE);
    const bool any = SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_GETSELCOUNT, 0, 0) > 0;
    if (!any && remove && GetFocus() == remove)
        SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(GetDlgItem(dialog, IDC_WMDEL_LIST)), TRUE);
    EnableWindow(remove, any);
}

void FillDeletion(HWND dialog, DeletionState& state)
{
    SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_RESETCONTENT, 0, 0);
    state.names.clear();
    state.positions.clear();
    ListOpen open{};
    pages::CallBack(state.context, kCbOpenWatermarks, &open);
    if (!open.list)
        return;
    int position = 0;
    for (bool more = true; more && position < 0x7FFF;
         more = pages::CallBack(state.context, kCbNextRecord, open.list) != 0, ++position) {
        std::int16_t number = 0;
        std::string name;
        if (!ReadCurrent(state.context, open.list, number, name) || name.empty() || number < kFirstWatermark ||
            number > kLastWatermark)
            continue;
        const auto index = SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_ADDSTRING, 0, LPARAM(Wide(name).c_str()));
        SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_SETITEMDATA, WPARAM(index), LPARAM(position) << 16);
        state.names.push_back(name);
        state.positions.push_back(position);
    }
    pages::CallBack(state.context, kCbCloseList, open.list);
    ShowDeletable(dialog);
}

// Deletes the selected records, walking the list once; a record that is no longer the one listed
// at its position (another user changed the list meanwhile) is left alone.
void DeleteSelected(HWND dialog, DeletionState& state)
{
    const auto count = SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_GETSELCOUNT, 0, 0);
    if (count <= 0)
        return;
    std::vector<int> chosen(static_cast<std::size_t>(count));
    const auto got = SendDlgItemMessageW(dialog, IDC_WMDEL_LIST, LB_GETSELITEMS, WPARAM(count), LPARAM(chosen.data()));
    chosen.resize(std::size_t(std::max<LRESULT>(got, 0)));
    std::vector<std::pair<int, std::string>> targets;
    for (int item : chosen)
        if (item >= 0 && std::size_t(item) < state.positions.size())
            targets.emplace_back(state.positions[std::size_t(item)], state.names[std::size_t(item)]);
    std::sort(targets.begin(), targets.end());
    ListOpen open{};
    pages::CallBack(state.context, kCbOpenWatermarks, &open);
    if (open.list) {
        int position = 0;
        bool present = true;
        for (const auto& [target, name] : targets) {
            while (present && position < target) {
                present = pages::CallBack(state.context, kCbNextRecord, open.list) != 0;
                ++position;
            }
            if (!present)
                break;
            std::int16_t number = 0;
            std::string stored;
            if (ReadCurrent(state.context, open.list, number, stored) && stored == name) {
                pages::CallBack(state.context, kCbDeleteRecord, open.list);
                ++position;  // the deleted record counts as passed: the next one is current
            }
        }
        pages::CallBack(state.context, kCbCloseList, open.list);
    }
    FillDeletion(dialog, state);
}

}  // namespace

INT_PTR CALLBACK WatermarkDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    WatermarkEditor* editor = EditorOf(dialog);
    switch (message) {
    case WM_INITDIALOG: {
        auto* context = reinterpret_cast<SheetContext*>(lParam);
        if (!IsSheetContext(context)) {
            EndDialog(dialog, 2);
            return TRUE;
        }
        editor = new WatermarkEditor(dialog, context);
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(editor));
        if (!editor->Open())
            EndDialog(dialog, 2);
        return TRUE;
    }
    case WM_DESTROY:
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        delete editor;
        return FALSE;
    default: break;
    }
    if (!editor)
        return FALSE;
    switch (message) {
    case WM_COMMAND: return editor->Command(LOWORD(wParam), HIWORD(wParam));
    case WM_VSCROLL: editor->VerticalScroll(LOWORD(wParam)); return TRUE;
    case WM_HSCROLL: editor->HorizontalScroll(LOWORD(wParam), short(HIWORD(wParam))); return TRUE;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlID != IDC_WM_COLOR)
            return FALSE;
        item.itemHeight = 16;
        return TRUE;
    }
    case WM_DRAWITEM: return editor->DrawColour(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(dialog, &ps);
        EndPaint(dialog, &ps);
        editor->PaintFrame();
        return TRUE;
    }
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info && info->iContextType == HELPINFO_WINDOW && editor->Context().helpFile)
            WinHelpW(static_cast<HWND>(info->hItemHandle), editor->Context().helpFile, HELP_WM_HELP, ULONG_PTR(kHelp));
        return TRUE;
    }
    default: return FALSE;
    }
}

INT_PTR CALLBACK fnWatermarkDelDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DeletionState* state = DeletionOf(dialog);
    switch (message) {
    case WM_INITDIALOG: {
        auto* context = reinterpret_cast<SheetContext*>(lParam);
        if (!IsSheetContext(context)) {
            EndDialog(dialog, 2);
            return TRUE;
        }
        state = new DeletionState{context, {}, {}};
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(state));
        PlaceDialog(dialog);
        FillDeletion(dialog, *state);
        return TRUE;
    }
    case WM_DESTROY:
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        delete state;
        return FALSE;
    case WM_COMMAND:
        if (!state)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_WMDEL_DELETE: DeleteSelected(dialog, *state); return TRUE;
        case IDC_WMDEL_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                ShowDeletable(dialog);
            return FALSE;
        case IDC_WMDEL_CLOSE: EndDialog(dialog, IDC_WMDEL_CLOSE); return TRUE;
        case IDCANCEL: EndDialog(dialog, 2); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

}  // namespace records
