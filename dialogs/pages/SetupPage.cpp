// The Setup page, first of the document sheet: copies and collation, orientation and its
// 180-degree turn, two-sided printing, several pages per sheet with their order and borders, and
// the buttons of the options and job hold dialogs. Small pictures show the current choices.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Drawing.h"
#include "Page.h"
#include "PagePictures.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "SetupDialogs.h"
#include "TextFormat.h"

namespace {

namespace f = feature;

constexpr int kMinCopies = 1;
constexpr int kMaxCopies = 9999;
constexpr int kPageStep = 10;

// Duplex values, and the duplex unit's edge bits.
constexpr std::int16_t kSimplex = 1;
constexpr std::int16_t kLongEdge = 2;
constexpr std::int16_t kShortEdge = 3;
constexpr int kUnitLongEdge = 0x02;
constexpr int kUnitShortEdge = 0x01;
// Paper-handling flags that allow both edges (R12).
constexpr int kBothEdges = 0x1800;
constexpr std::int16_t kBlocked = 1;
// The output-bin check box stores 2 when set.
constexpr std::int16_t kOutputBinSet = 2;
// The quality-like feature's value that several pages per sheet replace.
constexpr std::int16_t kReplacedHandling = 2;

// Option bytes of the context: A and B are model word 392, C the low byte of 394.
constexpr int kOptionA4Allowed = 0x01;
constexpr int kOptionBHoldWithPin = 0x80;
constexpr int kOptionCNoOutputBin = 0x01;

// Pages-per-sheet names by layout index; an index without a name is not offered.
constexpr std::array<UINT, 8> kLayoutNames = {IDS_PAGES_1, IDS_PAGES_2, 0,           IDS_PAGES_4,
                                              IDS_PAGES_6, IDS_PAGES_9, 0, IDS_PAGES_16};
// The first of each layout's four pictures (portrait, portrait with borders, landscape,
// landscape with borders); one page per sheet shows the orientation's picture.
constexpr std::array<UINT, 8> kLayoutPictures = {0, IDB_LAYOUT_2, 0, IDB_LAYOUT_4, IDB_LAYOUT_6, IDB_LAYOUT_9, 0,
                                                 IDB_LAYOUT_16};

constexpr std::int16_t kFeatures[] = {
    f::kCopies.id,       f::kCollate.id,   f::kDiskRequirement.id, f::kDuplexBlocker.id, f::kFurther68.id,
    f::kFurther83.id,    f::kOrientation.id, f::kReversed.id,      f::kPagesPerSheet.id, f::kBorders.id,
    f::kDuplex.id,       f::kFurther69.id, f::kOutputBinChoice.id,
    // What the sub-dialogs change, so that their changes can be applied.
    f::kHold.id,         f::kOptionsNumber.id, f::kNumberSwitch.id, f::kSwitch6692.id};
constexpr int kLocked[] = {IDC_COPIES_LABEL,      IDC_COPIES_SPIN,     IDC_COPIES,       IDC_PORTRAIT,
                           IDC_LANDSCAPE,         IDC_ROTATED,         IDC_PAGES_PER_SHEET, IDC_PAGE_ORDER_ACROSS,
                           IDC_PAGE_ORDER_DOWN,   IDC_BORDERS,         IDC_DEFAULTS,     IDC_COLLATE,
                           IDC_DUPLEX_NONE,       IDC_DUPLEX_LONG,     IDC_DUPLEX_SHORT, IDC_OUTPUT_BIN_CHOICE,
                           IDC_JOB_HOLD_BUTTON};
const pages::HelpPair kHelp[] = {
    {IDC_COPIES_LABEL, 1000},        {IDC_COPIES, 1000},
    {IDC_COPIES_SPIN, 1000},         {IDC_COLLATE, 1001},
    {IDC_PORTRAIT, 1002},            {IDC_LANDSCAPE, 1002},
    {IDC_ROTATED, 1003},             {IDC_DUPLEX_GROUP, 1004},
    {IDC_DUPLEX_NONE, 1004},         {IDC_DUPLEX_LONG, 1004},
    {IDC_DUPLEX_SHORT, 1004},        {IDC_OUTPUT_BIN_CHOICE, 1005},
    {IDC_PAGES_PER_SHEET_LABEL, 1006}, {IDC_PAGES_PER_SHEET, 1006},
    {IDC_PAGE_ORDER_ACROSS, 1007},   {IDC_PAGE_ORDER_DOWN, 1007},
    {IDC_BORDERS, 1008},             {IDC_OPTIONS_BUTTON, 1009},
    {IDC_STATUS_BUTTON, 1009},       {IDC_JOB_HOLD_BUTTON, 1010},
    {IDC_DEFAULTS, 1011},            {IDC_DUPLEX_ICON, pages::kNoHelp},
    {IDC_COPIES_PICTURE, pages::kNoHelp}, {IDC_ORIENTATION_PICTURE, pages::kNoHelp},
    {IDC_DUPLEX_PICTURE, pages::kNoHelp}, {IDC_LAYOUT_PICTURE_PORTRAIT, pages::kNoHelp},
    {IDC_LAYOUT_PICTURE_LANDSCAPE, pages::kNoHelp}, {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, /*asksForSummary=*/true};

constexpr int kPictures[] = {IDC_ORIENTATION_PICTURE, IDC_DUPLEX_PICTURE, IDC_COPIES_PICTURE,
                             IDC_LAYOUT_PICTURE_PORTRAIT, IDC_LAYOUT_PICTURE_LANDSCAPE};

// The copies a text holds: digits, blanks around them allowed, clamped to the range; nothing
// for an empty text or any other character.
std::optional<int> ParseCopies(const std::wstring& text)
{
    std::size_t from = text.find_first_not_of(L' '), to = text.find_last_not_of(L' ');
    if (from == std::wstring::npos)
        return std::nullopt;
    long value = 0;
    for (std::size_t i = from; i <= to; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = std::min<long>(value * 10 + (text[i] - L'0'), kMaxCopies + 1L);
    }
    return int(std::clamp<long>(value, kMinCopies, kMaxCopies));
}

class SetupPage : public pages::Page {
public:
    SetupPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}
    ~SetupPage() override
    {
        if (icon_)
            DestroyIcon(icon_);
    }

    void Init() override
    {
        KeepRoomForSummary();
        if (OptionC() & kOptionCNoOutputBin)
            Show(IDC_OUTPUT_BIN_CHOICE, false);
        for (int id : kPictures)
            Show(id, false);
        SetScrollRange(Control(IDC_COPIES_SPIN), SB_CTL, kMinCopies, kMaxCopies, FALSE);
    }

    void Fill() override
    {
        if (const pages::EntryView copies = Entry(f::kCopies.id)) {
            if (!typing_)
                ShowCopies();
        }
        if (const pages::EntryView collate = Entry(f::kCollate.id))
            SetCheck(IDC_COLLATE, collate.Current() != 0);
        if (const pages::EntryView orientation = Entry(f::kOrientation.id))
            CheckRadioButton(Window(), IDC_PORTRAIT, IDC_LANDSCAPE,
                             orientation.Current() == DMORIENT_LANDSCAPE ? IDC_LANDSCAPE : IDC_PORTRAIT);
        if (const pages::EntryView rotated = Entry(f::kReversed.id))
            SetCheck(IDC_ROTATED, rotated.Current() != 0);
        if (const pages::EntryView borders = Entry(f::kBorders.id))
            SetCheck(IDC_BORDERS, borders.Current() != 0);
        FillPagesPerSheet();
        FillDuplex();
    }

    void UpdateStates() override
    {
        PagesPerSheetStates();
        DuplexStates();
        DiskStates();
        for (int id : kPictures)
            Repaint(id);
    }

    bool Command(int id, int code, HWND) override
    {
        if (id == IDC_COPIES)
            return CopiesCommand(code);
        if (id == IDC_PAGES_PER_SHEET) {
            if (code != CBN_SELCHANGE)
                return false;
            ChooseLayout();
            return true;
        }
        if (code != BN_CLICKED)
            return false;
        switch (id) {
        case IDC_PORTRAIT:
        case IDC_LANDSCAPE:
            if (Checked(id) && Store(f::kOrientation.id, id == IDC_PORTRAIT ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE, -1))
                RefillSummaryPreview();
            return true;
        case IDC_ROTATED:
            if (Store(f::kReversed.id, Checked(id) ? 1 : 0, -1))
                RefillSummaryPreview();
            return true;
        case IDC_PAGE_ORDER_ACROSS:
        case IDC_PAGE_ORDER_DOWN: {
            const auto value = std::uint16_t(Entry(f::kPagesPerSheet.id).Current());
            const std::uint16_t order = id == IDC_PAGE_ORDER_DOWN ? 0x100 : 0;
            if (Checked(id) && Store(f::kPagesPerSheet.id, std::int16_t((value & 0xFF) | order), -1))
                RefillSummaryPreview();
            return true;
        }
        case IDC_COLLATE:
            Store(f::kCollate.id, Checked(id) ? 1 : 0, 5);
            return true;
        case IDC_DUPLEX_NONE:
        case IDC_DUPLEX_LONG:
        case IDC_DUPLEX_SHORT:
            if (Checked(id))
                Store(f::kDuplex.id, id == IDC_DUPLEX_NONE ? kSimplex : id == IDC_DUPLEX_LONG ? kLongEdge : kShortEdge, 6);
            return true;
        case IDC_BORDERS:
            if (Store(f::kBorders.id, Checked(id) ? 1 : 0, -1) && (Entry(f::kPagesPerSheet.id).Current() & 0xFF))
                RefillSummaryPreview();
            return true;
        case IDC_OUTPUT_BIN_CHOICE:
            Store(f::kOutputBinChoice.id, Checked(id) ? kOutputBinSet : 0, -1);
            return true;
        case IDC_OPTIONS_BUTTON:
            AfterDialog(pages::ShowOptionsDialog(Frame(), &Context(), IDD_OPTIONS));
            return true;
        case IDC_STATUS_BUTTON:
            AfterDialog(pages::ShowOptionsDialog(Frame(), &Context(), IDD_OPTIONS_STATUS));
            return true;
        case IDC_JOB_HOLD_BUTTON:
            AfterDialog(pages::ShowJobHoldDialog(
                Frame(), &Context(), (OptionB() & kOptionBHoldWithPin) ? IDD_JOB_HOLD_PIN : IDD_JOB_HOLD));
            return true;
        default:
            return false;
        }
    }

    bool Scroll(HWND bar, int code, int) override
    {
        if (GetDlgCtrlID(bar) != IDC_COPIES_SPIN || !Entry(f::kCopies.id))
            return false;
        int copies = Entry(f::kCopies.id).Current();
        switch (code) {
        case SB_LINEUP: copies += 1; break;
        case SB_LINEDOWN: copies -= 1; break;
        case SB_PAGEUP: copies += kPageStep; break;
        case SB_PAGEDOWN: copies -= kPageStep; break;
        case SB_TOP: copies = kMaxCopies; break;
        case SB_BOTTOM: copies = kMinCopies; break;
        default: return false;
        }
        Store(f::kCopies.id, std::int16_t(std::clamp(copies, kMinCopies, kMaxCopies)), 4);
        ShowCopies();
        return true;
    }

    bool Message(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) override
    {
        if (pages::PaintMessage(Window(), message, wParam, [this](HDC dc) { Paint(dc); })) {
            result = TRUE;
            return true;
        }
        return false;
    }

private:
    std::uint8_t OptionA() const { return std::uint8_t(Context().devmodeCopies[1] & 0xFF); }
    std::uint8_t OptionB() const { return std::uint8_t(Context().devmodeCopies[1] >> 8); }
    std::uint8_t OptionC() const { return std::uint8_t(Context().devmodeCopies[2] & 0xFF); }

    // The summary window docks at the frame's right edge: the frame moves left when it would
    // pass the desktop's.
    void KeepRoomForSummary()
    {
        RECT frame{}, desktop{};
        if (!GetWindowRect(Frame(), &frame) || !GetWindowRect(GetDesktopWindow(), &desktop))
            return;
        const int width = frame.right - frame.left;
        const int overflow = frame.right + int(0.3146853 * width) - desktop.right;
        if (overflow > 0)
            SetWindowPos(Frame(), nullptr, frame.left - overflow, frame.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // ---- Copies ------------------------------------------------------------------------------

    void ShowCopies()
    {
        const int copies = Entry(f::kCopies.id).Current();
        ignoreEdit_ = true;
        SetText(IDC_COPIES, std::to_wstring(copies));
        ignoreEdit_ = false;
        SetScrollPos(Control(IDC_COPIES_SPIN), SB_CTL, kMaxCopies + kMinCopies - copies, TRUE);
    }

    bool CopiesCommand(int code)
    {
        if (ignoreEdit_ || !Entry(f::kCopies.id))
            return code == EN_CHANGE || code == EN_KILLFOCUS;
        const std::optional<int> copies = ParseCopies(Text(IDC_COPIES));
        if (code == EN_CHANGE) {
            if (copies) {
                // The refill the change may run leaves the text being typed alone.
                typing_ = true;
                Store(f::kCopies.id, std::int16_t(*copies), 4);
                typing_ = false;
                SetScrollPos(Control(IDC_COPIES_SPIN), SB_CTL, kMaxCopies + kMinCopies - *copies, TRUE);
            }
            return true;
        }
        if (code == EN_KILLFOCUS) {
            // The stored copies come back before the warning, whose box takes the focus itself.
            ShowCopies();
            if (!copies) {
                const std::wstring label = text::WithoutMnemonics<wchar_t>(Text(IDC_COPIES_LABEL));
                MessageBoxW(Window(), Format(IDS_NOT_A_NUMBER, label).c_str(), String(IDS_MESSAGE_CAPTION).c_str(),
                            MB_OK | MB_ICONWARNING);
            }
            return true;
        }
        return false;
    }

    // ---- Duplex ------------------------------------------------------------------------------

    int UnitEdges() const { return Entry(f::kDuplexUnit.id).Current() & (kUnitLongEdge | kUnitShortEdge); }
    bool BothEdges() const { return (Entry(f::kPaperHandlingFlags.id).Current() & kBothEdges) != 0; }
    bool LongEdgePossible() const { return (UnitEdges() & kUnitLongEdge) || BothEdges(); }
    bool ShortEdgePossible() const { return (UnitEdges() & kUnitShortEdge) || BothEdges(); }
    bool DuplexPossible() const { return Entry(f::kDuplex.id) && (UnitEdges() != 0 || BothEdges()); }
    bool Blocked() const { return Entry(f::kDuplexBlocker.id).Current() == kBlocked; }

    void FillDuplex()
    {
        const pages::EntryView duplex = Entry(f::kDuplex.id);
        if (!DuplexPossible()) {
            for (int id : {IDC_DUPLEX_NONE, IDC_DUPLEX_LONG, IDC_DUPLEX_SHORT})
                SetCheck(id, false);
            return;
        }
        if (!Blocked()) {
            const std::int16_t v = duplex.Current();
            if ((v == kLongEdge && !LongEdgePossible()) || (v == kShortEdge && !ShortEdgePossible()) ||
                v < kSimplex || v > kShortEdge)
                Settle(f::kDuplex.id, kSimplex);
        }
        const std::int16_t v = duplex.Current();
        CheckRadioButton(Window(), IDC_DUPLEX_NONE, IDC_DUPLEX_SHORT,
                         v == kLongEdge ? IDC_DUPLEX_LONG : v == kShortEdge ? IDC_DUPLEX_SHORT : IDC_DUPLEX_NONE);
        SetCheck(IDC_OUTPUT_BIN_CHOICE, Entry(f::kOutputBinChoice.id).Current() == kOutputBinSet);
    }

    void DuplexStates()
    {
        const bool possible = DuplexPossible();
        const bool open = possible && !Blocked();
        Enable(IDC_DUPLEX_GROUP, open);
        Enable(IDC_DUPLEX_NONE, open);
        Enable(IDC_DUPLEX_LONG, open && LongEdgePossible());
        Enable(IDC_DUPLEX_SHORT, open && ShortEdgePossible());
        Show(IDC_OUTPUT_BIN_CHOICE, possible && BothEdges() && !(OptionC() & kOptionCNoOutputBin));
        Show(IDC_DUPLEX_ICON, possible);
        if (possible)
            SetDuplexIcon();
    }

    void SetDuplexIcon()
    {
        const bool portrait = Entry(f::kOrientation.id).Current() != DMORIENT_LANDSCAPE;
        const std::int16_t v = Entry(f::kDuplex.id).Current();
        const UINT id = v == kShortEdge  ? (portrait ? IDI_DUPLEX_SHORT_PORTRAIT : IDI_DUPLEX_SHORT_LANDSCAPE)
                        : v == kLongEdge ? (portrait ? IDI_DUPLEX_LONG_PORTRAIT : IDI_DUPLEX_LONG_LANDSCAPE)
                                         : (portrait ? IDI_DUPLEX_NONE_PORTRAIT : IDI_DUPLEX_NONE_LANDSCAPE);
        if (id == iconId_)
            return;
        const HICON icon = dialogs::LoadDlIcon(id);
        SendDlgItemMessageW(Window(), IDC_DUPLEX_ICON, STM_SETICON, WPARAM(icon), 0);
        if (icon_)
            DestroyIcon(icon_);
        icon_ = icon;
        iconId_ = id;
    }

    // ---- Pages per sheet -----------------------------------------------------------------------

    // The list item of the layout index, or -1.
    int LayoutItem() const { return int(SendDlgItemMessageW(Window(), IDC_PAGES_PER_SHEET, CB_GETCURSEL, 0, 0)); }

    void FillPagesPerSheet()
    {
        const pages::EntryView layout = Entry(f::kPagesPerSheet.id);
        if (!layout)
            return;
        ComboClear(IDC_PAGES_PER_SHEET);
        for (std::size_t i = 0; i < kLayoutNames.size(); ++i)
            if (kLayoutNames[i])
                ComboAdd(IDC_PAGES_PER_SHEET, String(kLayoutNames[i]), LPARAM(i));
        const auto value = std::uint16_t(layout.Current());
        const auto order = std::uint16_t(value & 0xFF00);
        if (Blocked() && DuplexPossible()) {
            Settle(f::kPagesPerSheet.id, std::int16_t(order));
        } else if (!ComboSelect(IDC_PAGES_PER_SHEET, value & 0xFF)) {
            // An index the list does not offer: the default's, or one page per sheet.
            const auto fallback = std::uint16_t(layout.Default() & 0xFF);
            const bool offered = fallback < kLayoutNames.size() && kLayoutNames[fallback];
            Settle(f::kPagesPerSheet.id, std::int16_t(order | (offered ? fallback : 0)));
        }
        ComboSelect(IDC_PAGES_PER_SHEET, std::uint16_t(layout.Current()) & 0xFF);
        const int item = LayoutItem();
        CheckRadioButton(Window(), IDC_PAGE_ORDER_ACROSS, IDC_PAGE_ORDER_DOWN,
                         (std::uint16_t(layout.Current()) >> 8) ? IDC_PAGE_ORDER_DOWN : IDC_PAGE_ORDER_ACROSS);
        if (item > 0) {
            const pages::EntryView handling = Entry(f::kFontHandling.id);
            if (handling && handling.Current() == kReplacedHandling)
                Settle(f::kFontHandling.id, (OptionA() & kOptionA4Allowed) ? 4 : 1);
        }
        RefillSummaryPreview();
    }

    void PagesPerSheetStates()
    {
        if (!Entry(f::kPagesPerSheet.id))
            return;
        const bool forced = Blocked() && DuplexPossible();
        const int item = LayoutItem();
        Enable(IDC_PAGES_PER_SHEET_LABEL, !forced);
        Enable(IDC_PAGES_PER_SHEET, !forced);
        Enable(IDC_PAGE_ORDER_ACROSS, !forced && item >= 2);
        Enable(IDC_PAGE_ORDER_DOWN, !forced && item >= 2);
        Enable(IDC_BORDERS, !forced && item > 0);
    }

    void ChooseLayout()
    {
        const pages::EntryView layout = Entry(f::kPagesPerSheet.id);
        const std::optional<LPARAM> index = ComboSelection(IDC_PAGES_PER_SHEET);
        if (!layout || !index)
            return;
        const auto value = std::uint16_t(layout.Current());
        Store(f::kPagesPerSheet.id, std::int16_t((value & 0xFF00) | (std::uint16_t(*index) & 0xFF)), 3);
        RefillSummaryPreview();
    }

    // ---- Disk and dialogs --------------------------------------------------------------------

    void DiskStates()
    {
        const pages::EntryView capacity = Entry(f::kDiskCapacity.id);
        const pages::EntryView requirement = Entry(f::kDiskRequirement.id);
        Show(IDC_JOB_HOLD_BUTTON, capacity && requirement);
        Enable(IDC_JOB_HOLD_BUTTON, capacity && requirement && capacity.Current() >= requirement.Current());
    }

    // A confirmed dialog changed entries: the refresh for the constrained ones, every control.
    void AfterDialog(INT_PTR result)
    {
        if (result != IDOK)
            return;
        RunRefresh();
        DetectChanges();
        RefreshSummary(0);
        RefillSummaryPreview();
    }

    // ---- Pictures ----------------------------------------------------------------------------

    void Repaint(int placeholder)
    {
        const RECT r = pages::ControlRect(Window(), placeholder);
        InvalidateRect(Window(), &r, TRUE);
    }

    void DrawAt(HDC dc, int placeholder, UINT bitmap, bool turned)
    {
        const RECT r = pages::ControlRect(Window(), placeholder);
        const SIZE size = dialogs::BitmapSize(pictures_.Get(bitmap, turned));
        pictures_.Draw(dc, bitmap, r.left + (r.right - r.left - size.cx) / 2, r.top + (r.bottom - r.top - size.cy) / 2,
                       turned);
    }

    void Paint(HDC dc)
    {
        const bool portrait = Entry(f::kOrientation.id).Current() != DMORIENT_LANDSCAPE;
        const bool turned = Entry(f::kReversed.id).Current() != 0;
        if (Entry(f::kOrientation.id))
            DrawAt(dc, IDC_ORIENTATION_PICTURE, portrait ? IDB_ORIENTATION_PORTRAIT : IDB_ORIENTATION_LANDSCAPE, turned);
        if (DuplexPossible()) {
            const std::int16_t v = Entry(f::kDuplex.id).Current();
            if (v == kLongEdge || v == kShortEdge)
                DrawAt(dc, IDC_DUPLEX_PICTURE, v == kLongEdge ? IDB_DUPLEX_LONG_EDGE : IDB_DUPLEX_SHORT_EDGE, false);
        }
        if (const pages::EntryView copies = Entry(f::kCopies.id)) {
            const bool collated = Entry(f::kCollate.id).Current() != 0;
            DrawAt(dc, IDC_COPIES_PICTURE,
                   copies.Current() <= 1 ? IDB_COPIES_ONE : collated ? IDB_COPIES_COLLATED : IDB_COPIES_UNCOLLATED,
                   false);
        }
        if (const pages::EntryView layout = Entry(f::kPagesPerSheet.id)) {
            const std::size_t index = std::uint16_t(layout.Current()) & 0xFF;
            const bool borders = Entry(f::kBorders.id).Current() != 0;
            UINT bitmap = portrait ? IDB_ORIENTATION_PORTRAIT : IDB_ORIENTATION_LANDSCAPE;
            if (index > 0 && index < kLayoutPictures.size() && kLayoutPictures[index])
                bitmap = kLayoutPictures[index] + (portrait ? 0 : 2) + (borders ? 1 : 0);
            DrawAt(dc, portrait ? IDC_LAYOUT_PICTURE_PORTRAIT : IDC_LAYOUT_PICTURE_LANDSCAPE, bitmap, turned);
        }
    }

    pages::PagePictures pictures_;
    HICON icon_ = nullptr;
    UINT iconId_ = 0;
    bool typing_ = false;      // a change typed into the copies field is being stored
    bool ignoreEdit_ = false;  // the page itself is writing the copies field
};

}  // namespace

extern "C" INT_PTR CALLBACK SetupDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<SetupPage>(window, message, wParam, lParam);
}
