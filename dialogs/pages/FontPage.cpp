// The Fonts page, slot 4 of the document sheet: how TrueType fonts reach the printer (three
// choices, each offered as the entry says), three on/off settings (the East-Asian one only on a
// double-byte code page) and the character sets to download, a bit mask shown as eight check
// boxes and as a list of every offered set.
#include <windows.h>

#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "ChoicePage.h"
#include "Drawing.h"
#include "Resources.h"
#include "ResourceIds.h"

namespace {

namespace f = feature;
namespace tt = feature::truetype;
namespace fs = feature::font_source;

struct Handling {
    int control;
    std::int16_t value;
    std::size_t available;  // the entry's availability byte
};
constexpr Handling kHandlings[] = {{IDC_FONT_HANDLING_GRAPHICS, 1, tt::kChoice1},
                                   {IDC_FONT_HANDLING_BITMAP, 2, tt::kChoice2},
                                   {IDC_FONT_HANDLING_OUTLINE, 4, tt::kChoice4}};

struct Setting {
    int control;
    std::int16_t id;
};
constexpr Setting kSettings[] = {{IDC_F1, f::kF1.id}, {IDC_F2, f::kF2.id}, {IDC_F3, f::kF3.id}};

// The check box of each font-source bit, bit 0 first.
constexpr std::array<int, 8> kSourceBoxes = {IDC_FONT_SOURCE_0, IDC_FONT_SOURCE_1, IDC_FONT_SOURCE_2,
                                             IDC_FONT_SOURCE_3, IDC_FONT_SOURCE_4, IDC_FONT_SOURCE_5,
                                             IDC_FONT_SOURCE_6, IDC_FONT_SOURCE_7};
static_assert(IDC_FONT_SOURCE_5 == 5185 && IDC_FONT_SOURCE_6 == 5186 && IDC_FONT_SOURCE_7 == 5184);

// Option byte A (392, low): the East-Asian setting; option byte B (393): the F settings are fixed.
constexpr std::uint8_t kEastAsianSetting = 0x08;
constexpr std::uint8_t kSettingsFixed = 0x04;

// List items: the bit number in bits 16 to 20, bit 0 set while the bit is in the mask.
constexpr LPARAM ItemData(int bit, bool set)
{
    return LPARAM(bit) << 16 | (set ? 1 : 0);
}
constexpr int ItemBit(LPARAM data)
{
    return int(data >> 16) & 0x1F;
}
constexpr int kMarkLeft = 2;
constexpr int kTextLeft = 18;

constexpr std::int16_t kFeatures[] = {f::kFontHandling.id, f::kF1.id, f::kF2.id, f::kF3.id, f::kFontSources.id};
// The font-source boxes are locked with the rest: without permission nothing on the page changes.
constexpr int kLocked[] = {IDC_FONT_HANDLING_GRAPHICS, IDC_FONT_HANDLING_BITMAP, IDC_FONT_HANDLING_OUTLINE,
                           IDC_F1, IDC_F2, IDC_F3, IDC_FONT_SOURCE_LIST_LABEL, IDC_FONT_SOURCE_LIST, IDC_DEFAULTS,
                           IDC_FONT_SOURCE_0, IDC_FONT_SOURCE_1, IDC_FONT_SOURCE_2, IDC_FONT_SOURCE_3,
                           IDC_FONT_SOURCE_4, IDC_FONT_SOURCE_5, IDC_FONT_SOURCE_6, IDC_FONT_SOURCE_7};
const pages::PageSpec kSpec{kFeatures, kLocked, nullptr, /*asksForSummary=*/true};

class FontPage : public pages::ChoicePage {
public:
    FontPage(HWND window, SheetContext* context) : ChoicePage(window, context, kSpec) {}

    ~FontPage() override
    {
        if (mark_)
            DeleteObject(mark_);
        if (markMask_)
            DeleteObject(markMask_);
    }

    void Init() override
    {
        mark_ = dialogs::LoadDlBitmap(IDB_MARK);
        markMask_ = dialogs::LoadDlBitmap(IDB_MARK_MASK);
        // The list names the sets as their boxes do, without the boxes' mnemonics.
        for (std::size_t bit = 0; bit < kSourceBoxes.size(); ++bit) {
            std::wstring name;
            for (wchar_t c : Text(kSourceBoxes[bit]))
                if (c != L'&')
                    name.push_back(c);
            names_[bit] = name;
        }
        const bool eastAsian = dialogs::ActiveDoubleByteCodePage() != 0 && (OptionByteA() & kEastAsianSetting);
        Show(IDC_F3, eastAsian && Entry(f::kF3.id));
        SendDlgItemMessageW(Window(), IDC_FONT_SOURCE_LIST, LB_SETITEMHEIGHT, 0, LPARAM(ItemHeight()));
    }

    void FillChoices() override
    {
        FillHandling();
        for (const Setting& s : kSettings)
            SetCheck(s.control, Entry(s.id).Current() != 0);
        FillSources();
    }

    void UpdateStates() override
    {
        const pages::EntryView handling = Entry(f::kFontHandling.id);
        for (const Handling& h : kHandlings)
            Enable(h.control, handling && handling.Get<std::uint8_t>(h.available) != 0);
        const bool fixed = (OptionByteB() & kSettingsFixed) != 0;
        for (const Setting& s : kSettings)
            Enable(s.control, !fixed && Entry(s.id));
        const std::uint32_t offered = Offered();
        for (std::size_t bit = 0; bit < kSourceBoxes.size(); ++bit)
            Enable(kSourceBoxes[bit], Sources() && (offered >> bit & 1));
        const bool list = Sources() && SendDlgItemMessageW(Window(), IDC_FONT_SOURCE_LIST, LB_GETCOUNT, 0, 0) > 0;
        Enable(IDC_FONT_SOURCE_LIST_LABEL, list);
        Enable(IDC_FONT_SOURCE_LIST, list);
    }

    bool Command(int id, int code, HWND) override
    {
        if (id == IDC_FONT_SOURCE_LIST) {
            if (code == LBN_SELCHANGE)
                ListChanged();
            return true;
        }
        if (code != BN_CLICKED)
            return false;
        for (const Handling& h : kHandlings)
            if (id == h.control) {
                pages::EntryView e = Entry(f::kFontHandling.id);
                e.Set<std::uint8_t>(tt::kMarker, h.value == 1 ? 1 : 0);
                Store(f::kFontHandling.id, h.value, -1);
                return true;
            }
        for (const Setting& s : kSettings)
            if (id == s.control) {
                Store(s.id, Checked(id) ? 1 : 0, -1);
                return true;
            }
        for (std::size_t bit = 0; bit < kSourceBoxes.size(); ++bit)
            if (id == kSourceBoxes[bit]) {
                const std::uint32_t mask = Mask();
                const std::uint32_t b = std::uint32_t(1) << bit;
                StoreMask(Checked(id) ? mask | b : mask & ~b);
                return true;
            }
        return false;
    }

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        if (message != WM_DRAWITEM || wParam != IDC_FONT_SOURCE_LIST)
            return false;
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        SetWindowLongPtrW(Window(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }

    void RestoreOwnDefaults() override
    {
        Entry(f::kFontHandling.id).Set<std::uint8_t>(tt::kMarker, 0);
    }

private:
    std::uint8_t OptionByteA() const { return LOBYTE(Context().devmodeCopies[1]); }
    std::uint8_t OptionByteB() const { return HIBYTE(Context().devmodeCopies[1]); }
    pages::EntryView Sources() const { return Entry(f::kFontSources.id); }
    std::uint32_t Mask() const { return Sources().Get<std::uint32_t>(fs::kMask); }
    std::uint32_t Offered() const { return Context().fontSetMasks[0]; }

    void FillHandling()
    {
        pages::EntryView e = Entry(f::kFontHandling.id);
        std::int16_t v = e.Current();
        const auto available = [&](std::size_t at) { return e.Get<std::uint8_t>(at) != 0; };
        if (v == 1 && !available(tt::kChoice1))
            v = 2;
        if (v == 2 && !available(tt::kChoice2))
            v = 4;
        if (v == 4 && !available(tt::kChoice4))
            v = 2;
        Settle(e, v);
        for (const Handling& h : kHandlings)
            SetCheck(h.control, e && e.Current() == h.value);
    }

    // The boxes of the offered bits show the mask; the list holds every offered set it can name,
    // selected and marked while the set is in the mask. A list that already holds those sets is
    // updated in place, so the caret stays where the user's keys put it.
    void FillSources()
    {
        const std::uint32_t mask = Mask();
        const std::uint32_t offered = Offered();
        for (std::size_t bit = 0; bit < kSourceBoxes.size(); ++bit)
            SetCheck(kSourceBoxes[bit], (offered >> bit & 1) && (mask >> bit & 1));
        std::uint32_t wanted = 0;
        if (Sources())
            for (std::size_t bit = 0; bit < names_.size(); ++bit)
                if ((offered >> bit & 1) && !names_[bit].empty())
                    wanted |= std::uint32_t(1) << bit;
        const HWND list = Control(IDC_FONT_SOURCE_LIST);
        if (wanted != listed_ || SendMessageW(list, LB_GETCOUNT, 0, 0) != std::popcount(wanted)) {
            SendMessageW(list, LB_RESETCONTENT, 0, 0);
            listed_ = 0;
            for (std::size_t bit = 0; bit < names_.size(); ++bit) {
                if (!(wanted >> bit & 1))
                    continue;
                const auto index = SendMessageW(list, LB_ADDSTRING, 0, LPARAM(names_[bit].c_str()));
                if (index < 0)
                    continue;
                SendMessageW(list, LB_SETITEMDATA, WPARAM(index), ItemData(int(bit), false));
                listed_ |= std::uint32_t(1) << bit;
            }
        }
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const int bit = ItemBit(SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0));
            const bool set = (mask >> bit & 1) != 0;
            SendMessageW(list, LB_SETITEMDATA, WPARAM(i), ItemData(bit, set));
            SendMessageW(list, LB_SETSEL, set, i);
        }
        SendMessageW(list, LB_SETTOPINDEX, 0, 0);
        InvalidateRect(list, nullptr, TRUE);
    }

    // The sets the selected items name; sets the list does not show keep their bits.
    void ListChanged()
    {
        const HWND list = Control(IDC_FONT_SOURCE_LIST);
        std::uint32_t chosen = 0;
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const auto data = SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0);
            if (data == LB_ERR || data == LPARAM(-1))
                continue;
            if (SendMessageW(list, LB_GETSEL, WPARAM(i), 0) > 0)
                chosen |= std::uint32_t(1) << ItemBit(data);
        }
        const std::uint32_t mask = (Mask() & ~listed_) | chosen;
        if (mask == Mask())
            return;
        StoreMask(mask);
    }

    void StoreMask(std::uint32_t mask)
    {
        pages::EntryView e = Sources();
        if (!e || e.Get<std::uint32_t>(fs::kMask) == mask)
            return;
        e.Set<std::uint32_t>(fs::kMask, mask);
        ValueChanged(f::kFontSources.id, -1);
        if (!e.Constrained())
            FillSources();
    }

    UINT ItemHeight() const
    {
        TEXTMETRICW tm{};
        const HWND list = Control(IDC_FONT_SOURCE_LIST);
        const HDC dc = GetDC(list);
        const HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(Window(), WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        return UINT(std::max<LONG>(tm.tmHeight + 2, 14));
    }

    // The mark, not a highlight, shows a chosen set: the list reads like the boxes above it.
    void DrawItem(const DRAWITEMSTRUCT& d)
    {
        if (d.itemID == UINT(-1))
            return;
        const bool enabled = IsWindowEnabled(d.hwndItem) != FALSE;
        const HDC dc = d.hDC;
        const RECT r = d.rcItem;
        FillRect(dc, &r, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
        if ((d.itemData & 1) && mark_ && markMask_) {
            const SIZE size = dialogs::BitmapSize(mark_);
            const int side = std::max<int>(1, int(r.bottom - r.top) - 1);
            const HDC memory = CreateCompatibleDC(dc);
            const HGDIOBJ old = SelectObject(memory, markMask_);
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, r.left + kMarkLeft, r.top, side, side, memory, 0, 0, size.cx, size.cy, SRCAND);
            SelectObject(memory, mark_);
            StretchBlt(dc, r.left + kMarkLeft, r.top, side, side, memory, 0, 0, size.cx, size.cy, SRCPAINT);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        wchar_t text[128] = {};
        const auto n = SendMessageW(d.hwndItem, LB_GETTEXTLEN, d.itemID, 0);
        if (n > 0 && n < LRESULT(std::size(text)))
            SendMessageW(d.hwndItem, LB_GETTEXT, d.itemID, LPARAM(text));
        RECT textRect = r;
        textRect.left += kTextLeft;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if ((d.itemState & ODS_FOCUS) && enabled)
            DrawFocusRect(dc, &r);
    }

    HBITMAP mark_ = nullptr;
    HBITMAP markMask_ = nullptr;
    std::array<std::wstring, kSourceBoxes.size()> names_;
    std::uint32_t listed_ = 0;  // the bits the list shows
};

}  // namespace

extern "C" INT_PTR CALLBACK FontDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<FontPage>(window, message, wParam, lParam);
}
