#include "Summary.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "EntryView.h"
#include "Library.h"
#include "NameTables.h"
#include "Page.h"
#include "PaperFormatRecord.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "SheetCalls.h"
#include "TextFit.h"
#include "WatermarkRecord.h"
#include "controls/Controls.h"

namespace summary {
namespace {

namespace f = feature;
using pages::EntryView;

// ---- The frame table ---------------------------------------------------------------------------

struct FrameSlot {
    HWND frame;  // null: free
    HWND summary;
    SheetContext* context;
};
std::array<FrameSlot, kFrameSlots> g_frames{};

// The frame's procedure before the summary window subclassed it, kept on the frame itself: it
// outlives the table slot, so a message that reaches the frame procedure after the slot was
// freed still goes where it belongs.
constexpr wchar_t kSavedProcProperty[] = L"QvSummaryFrameProc";
// The summary window's own brush and row font.
constexpr wchar_t kBrushProperty[] = L"QvSummaryBrush";
constexpr wchar_t kFontProperty[] = L"QvSummaryFont";

FrameSlot* SlotOf(HWND frame)
{
    for (FrameSlot& s : g_frames)
        if (s.frame && s.frame == frame)
            return &s;
    return nullptr;
}

FrameSlot* FreeSlot()
{
    for (FrameSlot& s : g_frames)
        if (!s.frame)
            return &s;
    return nullptr;
}

// Beside the frame: left edge at its right edge, as high as it.
void Follow(HWND frame, HWND window)
{
    RECT f{}, s{};
    if (!window || !GetWindowRect(frame, &f) || !GetWindowRect(window, &s))
        return;
    SetWindowPos(window, nullptr, f.right, f.top, s.right - s.left, f.bottom - f.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Rows ------------------------------------------------------------------------------------

struct Row {
    int value;
    int caption;  // 0: none
    UINT captionString;
};
constexpr std::array<Row, kRows> kRowControls = {{
    {IDC_SUMMARY_FORM, 0, 0},
    {IDC_SUMMARY_MEDIA, IDC_SUMMARY_MEDIA_CAPTION, IDS_SUMMARY_MEDIA},
    {IDC_SUMMARY_QUALITY, IDC_SUMMARY_QUALITY_CAPTION, IDS_SUMMARY_QUALITY},
    {IDC_SUMMARY_COPIES, IDC_SUMMARY_COPIES_CAPTION, IDS_SUMMARY_COPIES},
    {IDC_SUMMARY_COLLATE, IDC_SUMMARY_COLLATE_CAPTION, IDS_SUMMARY_COLLATE},
    {IDC_SUMMARY_DUPLEX, IDC_SUMMARY_DUPLEX_CAPTION, IDS_SUMMARY_DUPLEX},
}};

EntryView EntryOf(const SheetContext* c, int id)
{
    return EntryView(c->featureEntries[id]);
}

std::wstring Wide(const char* text, std::size_t bytes)
{
    const std::size_t n = strnlen(text, bytes);
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    out.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, text, int(n), out.data(), int(n))));
    return out;
}

// Row 1: the name of the current paper in the list the Paper page offers.
std::wstring FormName(SheetContext* c)
{
    const EntryView paper = EntryOf(c, f::kPaperSize.id);
    if (!paper)
        return {};
    const EntryView mode = EntryOf(c, f::kGraphicsMode.id);
    PaperListRequest r{};
    r.size = sizeof r;
    r.mode = mode ? WORD(mode.Current()) : 1;
    r.entry = paper.Address();
    pages::CallBack(c, kCbPaperList, &r);
    if (r.count == 0)
        return {};
    std::vector<std::uint8_t> buffer(std::size_t(r.count) * kPaperListEntryBytes);
    r.buffer = buffer.data();
    r.capacity = r.count;
    const std::size_t capacity = r.capacity;
    pages::CallBack(c, kCbPaperList, &r);
    const auto code = std::uint16_t(paper.Current());
    for (std::size_t i = 0; i < r.count && i < capacity; ++i) {
        std::uint16_t listed;
        std::memcpy(&listed, buffer.data() + 2 * i, 2);
        if (listed == code)
            return Wide(reinterpret_cast<const char*>(buffer.data() + 2 * capacity + i * kRecordNameBytes),
                        kRecordNameBytes);
    }
    return {};
}

// Row 2: the paper type chosen for the current source, by the user's name for it or its own.
std::wstring MediaName(SheetContext* c)
{
    namespace t = f::paper_type;
    const EntryView source = EntryOf(c, f::kPaperSource.id);
    const EntryView types = EntryOf(c, f::kPaperTypes.id);
    if (!source || !types)
        return {};
    for (std::size_t g = 0; g < t::kGroupCount; ++g) {
        const std::size_t group = t::kGroups + g * t::kGroupSize;
        const auto code = types.Get<std::uint16_t>(group + t::kSource);
        if (code == 0)
            break;
        if (code != std::uint16_t(source.Current()))
            continue;
        const auto chosen = types.Get<std::uint16_t>(group + t::kChosen);
        char name[kRecordNameBytes] = {};
        NamedLookup lookup{"PType", SHORT(chosen), WORD(sizeof name), name, 0};
        pages::CallBack(c, kCbFindNamedRecord, &lookup);
        if (lookup.replaced && name[0])
            return Wide(name, sizeof name);
        for (std::size_t i = 0; i < t::kMaxTypes; ++i) {
            const std::size_t triple = group + t::kTypes + i * t::kTypeSize;
            const auto value = types.Get<std::uint16_t>(triple);
            if (value == f::kListEnd || !types.Bytes(triple, t::kTypeSize))
                break;
            if (value == chosen)
                return dialogs::LoadDlString(pages::NameOf(pages::kPaperTypeNames, types.Get<std::uint16_t>(triple + 2)));
        }
        return {};
    }
    return {};
}

std::wstring QualityName(const SheetContext* c)
{
    namespace r = f::resolution;
    const EntryView quality = EntryOf(c, f::kQuality.id);
    const int choice = quality.Current();
    if (!quality || choice < 0 || std::size_t(choice) >= r::kTripleCount)
        return {};
    const std::size_t triple = r::kTriples + std::size_t(choice) * r::kTripleSize;
    const UINT id = pages::NameOf(pages::kQualityNames, quality.Get<std::uint16_t>(triple + r::kName));
    return id ? dialogs::LoadDlString(id) : std::wstring();
}

std::wstring RowValue(SheetContext* c, int row)
{
    switch (row) {
    case 1: return FormName(c);
    case 2: return MediaName(c);
    case 3: return QualityName(c);
    case 4: {
        const EntryView copies = EntryOf(c, f::kCopies.id);
        return copies ? std::to_wstring(copies.Current()) : std::wstring();
    }
    case 5: {
        const EntryView collate = EntryOf(c, f::kCollate.id);
        return collate ? dialogs::LoadDlString(collate.Current() ? IDS_ON : IDS_OFF) : std::wstring();
    }
    case 6: {
        const EntryView duplex = EntryOf(c, f::kDuplex.id);
        if (!duplex)
            return {};
        const int v = duplex.Current();
        return dialogs::LoadDlString(v == 2 ? IDS_DUPLEX_LONG_EDGE : v == 3 ? IDS_DUPLEX_SHORT_EDGE : IDS_NONE);
    }
    default: return {};
    }
}

// The text as it fits the control's width in the control's font.
std::wstring Fitted(HWND control, const std::wstring& text)
{
    RECT r{};
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    if (!dc)
        return text;
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const auto measure = [dc](std::wstring_view s) {
        SIZE size{};
        GetTextExtentPoint32W(dc, s.data(), int(s.size()), &size);
        return int(size.cx);
    };
    std::wstring fitted = text::FitWithEllipsis(text, r.right - r.left, measure);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fitted;
}

void RefreshRow(HWND window, SheetContext* c, int row)
{
    const Row& r = kRowControls[std::size_t(row - 1)];
    const HWND value = GetDlgItem(window, r.value);
    const HWND caption = r.caption ? GetDlgItem(window, r.caption) : nullptr;
    const std::wstring text = RowValue(c, row);
    if (text.empty()) {
        ShowWindow(value, SW_HIDE);
        ShowWindow(caption, SW_HIDE);
        return;
    }
    if (caption)
        SetWindowTextW(caption, dialogs::LoadDlString(r.captionString).c_str());
    SetWindowTextW(value, Fitted(value, text).c_str());
    ShowWindow(value, SW_SHOWNA);
    ShowWindow(caption, SW_SHOWNA);
}

void RefreshRows(HWND window, SheetContext* c, int row)
{
    if (row == 0) {
        for (int n = 1; n <= kRows; ++n)
            RefreshRow(window, c, n);
    } else if (row >= 1 && row <= kRows) {
        RefreshRow(window, c, row);
    }
}

// ---- The summary window ----------------------------------------------------------------------

SheetContext* ContextOf(HWND window)
{
    return reinterpret_cast<SheetContext*>(GetWindowLongPtrW(window, DWLP_USER));
}

void Subclass(HWND window, HWND frame, SheetContext* c)
{
    const auto ours = reinterpret_cast<LONG_PTR>(&MySubclassProc);
    if (GetWindowLongPtrW(frame, GWLP_WNDPROC) == ours)
        return;
    const LONG_PTR previous = SetWindowLongPtrW(frame, GWLP_WNDPROC, ours);
    c->savedFrameProc = reinterpret_cast<void*>(previous);
    SetPropW(frame, kSavedProcProperty, reinterpret_cast<HANDLE>(previous));
    MySubclassProc(frame, kRegister, WPARAM(window), LPARAM(c));
}

void Unsubclass(HWND window, HWND frame)
{
    MySubclassProc(frame, kUnregister, 0, 0);
    // Restored only while ours is the frame's procedure: another subclass on top of ours still
    // calls it, and it then forwards through the property.
    const auto saved = reinterpret_cast<LONG_PTR>(GetPropW(frame, kSavedProcProperty));
    if (saved && GetWindowLongPtrW(frame, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&MySubclassProc)) {
        SetWindowLongPtrW(frame, GWLP_WNDPROC, saved);
        RemovePropW(frame, kSavedProcProperty);
    }
}

void Init(HWND window, SheetContext* c)
{
    SetWindowLongPtrW(window, DWLP_USER, LONG_PTR(c));
    c->summaryWindow = window;
    const HWND frame = GetParent(window);
    ShowWindow(GetDlgItem(window, controls::paper::kFrameControl), SW_HIDE);
    FillPaperPreview(GetDlgItem(window, IDC_SUMMARY_PREVIEW), c);
    SendDlgItemMessageW(window, IDC_PRINTER_PICTURE, controls::printer::kContext, 0, LPARAM(c));
    if (frame)
        Subclass(window, frame, c);
    SetPropW(window, kBrushProperty, CreateSolidBrush(GetSysColor(COLOR_MENU)));
    if (frame)
        SendDlgItemMessageW(window, IDC_SUMMARY_TITLE, WM_SETFONT, SendMessageW(frame, WM_GETFONT, 0, 0), FALSE);
    const HFONT rows = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    SetPropW(window, kFontProperty, rows);
    for (const Row& r : kRowControls) {
        SendDlgItemMessageW(window, r.value, WM_SETFONT, WPARAM(rows), FALSE);
        if (r.caption)
            SendDlgItemMessageW(window, r.caption, WM_SETFONT, WPARAM(rows), FALSE);
    }
    SendMessageW(window, kRefresh, 0, 0);
}

void Destroy(HWND window)
{
    if (SheetContext* c = ContextOf(window); c && c->summaryWindow == window)
        c->summaryWindow = nullptr;
    if (const HWND frame = GetParent(window))
        Unsubclass(window, frame);
    if (const HANDLE brush = RemovePropW(window, kBrushProperty))
        DeleteObject(brush);
    if (const HANDLE font = RemovePropW(window, kFontProperty))
        DeleteObject(font);
}

// The printer picture keeps its size: its left edge at half the free width less 4, its bottom
// margin half the free width and 5.
void PlacePicture(HWND window)
{
    const HWND picture = GetDlgItem(window, IDC_PRINTER_PICTURE);
    RECT client{}, r{};
    if (!picture || !GetClientRect(window, &client) || !GetWindowRect(picture, &r))
        return;
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int half = (client.right - width) / 2;
    SetWindowPos(picture, nullptr, half - 4, client.bottom - (half + 5) - height, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- The layout preview --------------------------------------------------------------------

void RequestWatermark(SheetContext* c, WatermarkRecord& r, int number)
{
    std::memset(&r, 0, sizeof r);
    r.size = kWatermarkRecordSize;
    r.number = std::uint16_t(number);
    r.intensity = 4;
    if (number == 0 || pages::CallBack(c, kCbGetWatermark, &r) != 0)
        return;
    r.font.lfHeight = 1440;
    r.font.lfEscapement = 450;
    r.font.lfWeight = FW_NORMAL;
    r.font.lfCharSet = ANSI_CHARSET;
    r.font.lfPitchAndFamily = 0x22;
    std::memcpy(r.font.lfFaceName, "Arial", 6);
}

}  // namespace

void FillPaperPreview(HWND preview, SheetContext* c)
{
    namespace p = controls::paper;
    if (!preview || !c)
        return;
    const auto send = [preview](UINT m, WPARAM w, LPARAM l) { SendMessageW(preview, m, w, l); };
    const EntryView watermarks = EntryOf(c, f::kWatermarks.id);
    if (c->workBuffers[0] && c->workBuffers[1]) {
        auto* first = reinterpret_cast<WatermarkRecord*>(c->workBuffers[0]);
        auto* other = reinterpret_cast<WatermarkRecord*>(c->workBuffers[1]);
        static_assert(sizeof(WatermarkRecord) <= kWorkBufferBytes);
        RequestWatermark(c, *first, watermarks.Get<std::int16_t>(f::watermark::kFirstPage));
        RequestWatermark(c, *other, watermarks.Get<std::int16_t>(f::watermark::kOtherPages));
        send(p::kFirstWatermark, 0, LPARAM(first));
        send(p::kOtherWatermark, 0, LPARAM(other));
    }
    const auto layout = std::uint16_t(EntryOf(c, f::kPagesPerSheet.id).Current());
    send(p::kLayout, layout & 0xFF, 0);
    send(p::kPageOrder, layout >> 8, 0);
    if (watermarks)
        send(p::kAlternate, watermarks.Get<std::uint32_t>(f::watermark::kPlacement), 0);
    const EntryView orientation = EntryOf(c, f::kOrientation.id);
    const int portrait = !orientation || orientation.Current() != DMORIENT_LANDSCAPE;
    send(p::kOrientation, portrait, 0);
    send(p::kReversed, WPARAM(EntryOf(c, f::kReversed.id).Current()), 0);
    send(p::kBorders, WPARAM(EntryOf(c, f::kBorders.id).Current()), 0);
    const int code = EntryOf(c, f::kPaperSize.id).Current();
    send(p::kEnvelope, code >= DMPAPER_ENV_9 && code <= DMPAPER_ENV_PERSONAL, 0);

    std::uint8_t record[paperformat::kSize] = {};
    const auto put = [&record](std::size_t at, int v) {
        record[at] = std::uint8_t(v);
        record[at + 1] = std::uint8_t(v >> 8);
    };
    const auto word = [&record](std::size_t at) { return int(record[at] | record[at + 1] << 8); };
    put(paperformat::kRequestedCode, code);
    put(paperformat::kRequestOrientation, portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
    if (pages::CallBack(c, kCbPaperFormat, record)) {
        send(p::kPaperWidth, 0, word(paperformat::kPhysicalWidth));
        send(p::kPaperHeight, 0, word(paperformat::kPhysicalLength));
    }
    send(WM_SIZE, 0, 0);
    InvalidateRect(preview, nullptr, TRUE);
}

void Request(HWND frame, SheetContext* c)
{
    if (!frame || !c || !dialogs::LanguageLibrary())
        return;
    EnterCriticalSection(&dialogs::SummaryLock());
    if (!c->summaryWindow && MySubclassProc(frame, kHasFreeSlot, 0, 0)) {
        const HWND window = CreateDialogParamW(dialogs::LanguageLibrary(), MAKEINTRESOURCEW(IDD_SUMMARY), frame,
                                               SummaryWindowProc, LPARAM(c));
        if (window) {
            Follow(frame, window);
            ShowWindow(window, SW_SHOWNOACTIVATE);
        }
    }
    LeaveCriticalSection(&dialogs::SummaryLock());
}

void Refresh(const SheetContext* c, int row)
{
    if (c && c->summaryWindow)
        SendMessageW(c->summaryWindow, kRefresh, WPARAM(row), 0);
}

void RefillPreview(SheetContext* c)
{
    if (c && c->summaryWindow)
        FillPaperPreview(GetDlgItem(c->summaryWindow, IDC_SUMMARY_PREVIEW), c);
}

void RepaintPicture(const SheetContext* c)
{
    if (c && c->summaryWindow)
        InvalidateRect(GetDlgItem(c->summaryWindow, IDC_PRINTER_PICTURE), nullptr, TRUE);
}

void Close(SheetContext* c)
{
    if (c && c->summaryWindow)
        DestroyWindow(c->summaryWindow);
    if (c)
        c->summaryWindow = nullptr;
}

}  // namespace summary

using namespace summary;

extern "C" INT_PTR CALLBACK SummaryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* c = reinterpret_cast<SheetContext*>(lParam);
        if (!IsSheetContext(c))
            return TRUE;
        Init(window, c);
        return TRUE;
    }
    case kRefresh:
        if (SheetContext* c = ContextOf(window))
            RefreshRows(window, c, int(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
        const auto brush = static_cast<HBRUSH>(GetPropW(window, kBrushProperty));
        if (!brush)
            return FALSE;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_MENU));
        return INT_PTR(brush);
    }
    case WM_SIZE:
        PlacePicture(window);
        return FALSE;
    case WM_DESTROY:
        Destroy(window);
        return FALSE;
    default:
        return FALSE;
    }
}

extern "C" LRESULT CALLBACK MySubclassProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kRegister:
        if (FrameSlot* s = FreeSlot()) {
            *s = {frame, reinterpret_cast<HWND>(wParam), reinterpret_cast<SheetContext*>(lParam)};
            return 1;
        }
        return 0;
    case kUnregister:
        if (FrameSlot* s = SlotOf(frame))
            *s = {};
        return 0;
    case kHasFreeSlot:
        return FreeSlot() ? 1 : 0;
    default:
        break;
    }
    const FrameSlot* slot = SlotOf(frame);
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(frame, kSavedProcProperty));
    if (slot && slot->context && slot->context->savedFrameProc)
        previous = reinterpret_cast<WNDPROC>(slot->context->savedFrameProc);
    if (slot && message == WM_WINDOWPOSCHANGED)
        Follow(frame, slot->summary);
    if (!slot && message == WM_NCDESTROY)
        RemovePropW(frame, kSavedProcProperty);
    // Once ours is unhooked and its slot freed, a caller that still holds this procedure gets the
    // frame's class procedure, the one a dialog frame had before anyone subclassed it.
    if (!previous)
        previous = reinterpret_cast<WNDPROC>(GetClassLongPtrW(frame, GCLP_WNDPROC));
    if (previous == &MySubclassProc)
        previous = nullptr;
    return previous ? CallWindowProcW(previous, frame, message, wParam, lParam)
                    : DefWindowProcW(frame, message, wParam, lParam);
}
