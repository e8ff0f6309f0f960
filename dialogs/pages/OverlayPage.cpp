// The Overlay page of the document sheet: the overlays and the watermarks printed with the job,
// each for the first page and the other pages, with an on/off switch and a placement, on two
// tabs of a QelTab strip. Watermark numbers come from the list items' data, which the driver
// library's list pairs with the names: choosing one writes nothing to the watermark list.
#include <windows.h>

#include <string>

#include "Page.h"
#include "RecordLists.h"
#include "ResourceIds.h"
#include "controls/Controls.h"

namespace {

namespace wm = feature::watermark;
namespace tx = feature::text;

constexpr std::int16_t kFeatures[] = {feature::kOverlaySwitch.id, feature::kFirstPageOverlay.id,
                                      feature::kOtherPagesOverlay.id, feature::kWatermarks.id};
constexpr int kLocked[] = {IDC_OVERLAY_OFF,
                           IDC_OVERLAY_ON,
                           IDC_OVERLAY_FIRST_LABEL,
                           IDC_OVERLAY_FIRST,
                           IDC_OVERLAY_OTHER_LABEL,
                           IDC_OVERLAY_OTHER,
                           IDC_OVERLAY_PLACEMENT_LABEL,
                           IDC_OVERLAY_PLACEMENT_0,
                           IDC_OVERLAY_PLACEMENT_1,
                           IDC_WATERMARK_OFF,
                           IDC_WATERMARK_ON,
                           IDC_WATERMARK_FIRST_LABEL,
                           IDC_WATERMARK_FIRST,
                           IDC_WATERMARK_OTHER_LABEL,
                           IDC_WATERMARK_OTHER,
                           IDC_WATERMARK_PLACEMENT_LABEL,
                           IDC_WATERMARK_PLACEMENT_0,
                           IDC_WATERMARK_PLACEMENT_1,
                           IDC_DEFAULTS};
const pages::HelpPair kHelp[] = {{IDC_OVERLAY_OFF, 2501},         {IDC_OVERLAY_ON, 2501},
                                 {IDC_OVERLAY_FIRST, 2502},       {IDC_OVERLAY_OTHER, 2503},
                                 {IDC_OVERLAY_PLACEMENT_0, 2504}, {IDC_OVERLAY_PLACEMENT_1, 2504},
                                 {IDC_WATERMARK_OFF, 2505},       {IDC_WATERMARK_ON, 2505},
                                 {IDC_WATERMARK_FIRST, 2506},     {IDC_WATERMARK_OTHER, 2507},
                                 {IDC_WATERMARK_PLACEMENT_0, 2508}, {IDC_WATERMARK_PLACEMENT_1, 2508},
                                 {IDC_DEFAULTS, 2509},            {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, true};

constexpr int kTabControls = 11;
constexpr int kFirstOverlayControl = IDC_OVERLAY_SWITCH_GROUP;   // 6350 to 6360
constexpr int kFirstWatermarkControl = IDC_WATERMARK_SWITCH_GROUP;  // 6467 to 6477
constexpr std::size_t kOverlayChars = tx::kTextChars - 1;

class OverlayPage : public pages::Page {
public:
    OverlayPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}

    void Init() override
    {
        for (int first : {kFirstOverlayControl, kFirstWatermarkControl}) {
            WORD words[kTabControls + 1] = {kTabControls};
            for (int i = 0; i < kTabControls; ++i)
                words[i + 1] = WORD(first + i);
            const int tab = first == kFirstOverlayControl ? IDC_OVERLAY_TAB : IDC_WATERMARK_TAB;
            SendDlgItemMessageW(Window(), IDC_OVERLAY_TABS, controls::tab::kAdd, WPARAM(tab), LPARAM(words));
        }
        SendDlgItemMessageW(Window(), IDC_OVERLAY_TABS, controls::tab::kSelect, IDC_OVERLAY_TAB, 0);
    }

    void Fill() override
    {
        const auto overlays = records::Fetch(&Context(), kCbEnumMacros, records::kFirstOverlay, records::kLastOverlay);
        const auto watermarks =
            records::Fetch(&Context(), kCbEnumWatermarks, records::kFirstWatermark, records::kLastWatermark);
        const EntryViewPair overlay{Entry(feature::kFirstPageOverlay.id), Entry(feature::kOtherPagesOverlay.id)};
        if (const auto on = Entry(feature::kOverlaySwitch.id)) {
            SetCheck(IDC_OVERLAY_OFF, on.Current() == 0);
            SetCheck(IDC_OVERLAY_ON, on.Current() != 0);
        }
        if (overlay.first || overlay.other) {
            FillList(IDC_OVERLAY_FIRST, overlays);
            FillList(IDC_OVERLAY_OTHER, overlays);
            SelectText(IDC_OVERLAY_FIRST, TextOf(overlay.first));
            SelectText(IDC_OVERLAY_OTHER, TextOf(overlay.other));
            const auto& placed = overlay.first ? overlay.first : overlay.other;
            const bool second = placed.Get<std::uint8_t>(tx::kPlacement) != 0;
            SetCheck(IDC_OVERLAY_PLACEMENT_0, !second);
            SetCheck(IDC_OVERLAY_PLACEMENT_1, second);
        }
        if (const auto w = Entry(feature::kWatermarks.id)) {
            SetCheck(IDC_WATERMARK_OFF, w.Get<std::uint32_t>(wm::kSwitch) == 0);
            SetCheck(IDC_WATERMARK_ON, w.Get<std::uint32_t>(wm::kSwitch) != 0);
            FillList(IDC_WATERMARK_FIRST, watermarks);
            FillList(IDC_WATERMARK_OTHER, watermarks);
            SelectNumber(IDC_WATERMARK_FIRST, w.Get<std::int16_t>(wm::kFirstPage));
            SelectNumber(IDC_WATERMARK_OTHER, w.Get<std::int16_t>(wm::kOtherPages));
            const bool second = w.Get<std::uint32_t>(wm::kPlacement) != 0;
            SetCheck(IDC_WATERMARK_PLACEMENT_0, !second);
            SetCheck(IDC_WATERMARK_PLACEMENT_1, second);
        }
    }

    void UpdateStates() override
    {
        const bool overlaysShown = watermarkTab_ == false;
        ShowTab(kFirstOverlayControl, overlaysShown);
        ShowTab(kFirstWatermarkControl, !overlaysShown);
        if (overlaysShown) {
            const bool exists = Entry(feature::kFirstPageOverlay.id) || Entry(feature::kOtherPagesOverlay.id);
            const bool on = Entry(feature::kOverlaySwitch.id).Current() != 0 && exists;
            for (int id = IDC_OVERLAY_FORMS_GROUP; id <= IDC_OVERLAY_PLACEMENT_1; ++id)
                Enable(id, on);
            Enable(IDC_OVERLAY_OFF, bool(Entry(feature::kOverlaySwitch.id)));
            Enable(IDC_OVERLAY_ON, bool(Entry(feature::kOverlaySwitch.id)));
        } else {
            const auto w = Entry(feature::kWatermarks.id);
            const bool on = w && w.Get<std::uint32_t>(wm::kSwitch) != 0;
            for (int id = IDC_WATERMARK_CHOICE_GROUP; id <= IDC_WATERMARK_PLACEMENT_1; ++id)
                Enable(id, on);
            Enable(IDC_WATERMARK_OFF, bool(w));
            Enable(IDC_WATERMARK_ON, bool(w));
        }
    }

    bool Command(int id, int code, HWND) override
    {
        switch (id) {
        case IDC_OVERLAY_TAB:
        case IDC_WATERMARK_TAB:
            watermarkTab_ = id == IDC_WATERMARK_TAB;
            SendDlgItemMessageW(Window(), IDC_OVERLAY_TABS, controls::tab::kSelect, WPARAM(id), 0);
            Refill();
            RefillSummaryPreview();
            return true;
        case IDC_OVERLAY_OFF:
        case IDC_OVERLAY_ON:
            if (code == BN_CLICKED && !Store(feature::kOverlaySwitch.id, id == IDC_OVERLAY_ON ? 1 : 0))
                Refill();
            return true;
        case IDC_OVERLAY_PLACEMENT_0:
        case IDC_OVERLAY_PLACEMENT_1:
            if (code == BN_CLICKED)
                SetOverlayPlacement(id == IDC_OVERLAY_PLACEMENT_1 ? 1 : 0);
            return true;
        case IDC_WATERMARK_OFF:
        case IDC_WATERMARK_ON:
            if (code == BN_CLICKED)
                SetWatermarkWord(wm::kSwitch, id == IDC_WATERMARK_ON ? 1 : 0);
            return true;
        case IDC_WATERMARK_PLACEMENT_0:
        case IDC_WATERMARK_PLACEMENT_1:
            if (code == BN_CLICKED)
                SetWatermarkWord(wm::kPlacement, id == IDC_WATERMARK_PLACEMENT_1 ? 1 : 0);
            return true;
        case IDC_WATERMARK_FIRST:
        case IDC_WATERMARK_OTHER:
            if (code == LBN_SELCHANGE) {
                StoreWatermarks();
                DetectChanges();
                RefillSummaryPreview();
            }
            return true;
        case IDC_OVERLAY_FIRST:
        case IDC_OVERLAY_OTHER:
            if (code == LBN_SELCHANGE) {
                StoreOverlayNames();
                DetectChanges();
            }
            return true;
        default: return false;
        }
    }

    bool Validate() override
    {
        StoreWatermarks();
        StoreOverlayNames();
        return true;
    }

    void BeforeApply(bool) override { Validate(); }

private:
    struct EntryViewPair {
        pages::EntryView first, other;
    };

    void ShowTab(int first, bool shown)
    {
        for (int id = first; id < first + kTabControls; ++id) {
            Show(id, shown);
            Enable(id, shown);
        }
    }

    static std::wstring TextOf(const pages::EntryView& e)
    {
        std::wstring text;
        for (std::size_t i = 0; i < tx::kTextChars; ++i) {
            const auto ch = wchar_t(e.Get<std::uint16_t>(tx::kCurrentText + 2 * i));
            if (ch == 0)
                break;
            text.push_back(ch);
        }
        return text;
    }

    // At most 31 characters and a zero, never a lone half of a surrogate pair.
    static bool SetText(pages::EntryView& e, std::wstring text)
    {
        if (text.size() > kOverlayChars) {
            text.resize(kOverlayChars);
            if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
                text.pop_back();
        }
        if (text == TextOf(e))
            return false;
        for (std::size_t i = 0; i < tx::kTextChars; ++i)
            e.Set<std::uint16_t>(tx::kCurrentText + 2 * i, i < text.size() ? std::uint16_t(text[i]) : 0);
        return true;
    }

    void FillList(int id, const std::vector<listanswer::Item>& items)
    {
        HWND list = Control(id);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        SendMessageW(list, LB_ADDSTRING, 0, LPARAM(String(IDS_NONE).c_str()));
        for (const auto& item : items) {
            const auto index = SendMessageW(list, LB_ADDSTRING, 0, LPARAM(records::Wide(item.name).c_str()));
            SendMessageW(list, LB_SETITEMDATA, WPARAM(index), item.number);
        }
    }

    void SelectText(int id, const std::wstring& text)
    {
        HWND list = Control(id);
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        LRESULT chosen = 0;
        for (LRESULT i = 1; i < count && !text.empty(); ++i)
            if (ItemText(id, int(i)).substr(0, kOverlayChars) == text) {
                chosen = i;
                break;
            }
        SendMessageW(list, LB_SETCURSEL, WPARAM(chosen), 0);
    }

    void SelectNumber(int id, std::int16_t number)
    {
        HWND list = Control(id);
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        LRESULT chosen = 0;
        for (LRESULT i = 1; i < count && number != 0; ++i)
            if (SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0) == number) {
                chosen = i;
                break;
            }
        SendMessageW(list, LB_SETCURSEL, WPARAM(chosen), 0);
    }

    std::wstring ItemText(int id, int index) const
    {
        HWND list = Control(id);
        const auto length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
        if (length <= 0)
            return {};
        std::wstring text(std::size_t(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
        text.resize(wcslen(text.c_str()));
        return text;
    }

    // The selected item's number; 0 for the none item or no selection.
    std::int16_t SelectedNumber(int id) const
    {
        const auto index = SendDlgItemMessageW(Window(), id, LB_GETCURSEL, 0, 0);
        if (index <= 0)
            return 0;
        return std::int16_t(SendDlgItemMessageW(Window(), id, LB_GETITEMDATA, WPARAM(index), 0));
    }

    void StoreWatermarks()
    {
        auto w = Entry(feature::kWatermarks.id);
        if (!w)
            return;
        w.Set<std::int16_t>(wm::kFirstPage, SelectedNumber(IDC_WATERMARK_FIRST));
        w.Set<std::int16_t>(wm::kOtherPages, SelectedNumber(IDC_WATERMARK_OTHER));
    }

    void StoreOverlayNames()
    {
        bool changed = false;
        for (const auto& [feature, list] : {std::pair{feature::kFirstPageOverlay.id, IDC_OVERLAY_FIRST},
                                             std::pair{feature::kOtherPagesOverlay.id, IDC_OVERLAY_OTHER}}) {
            auto e = Entry(feature);
            if (!e)
                continue;
            const auto index = SendDlgItemMessageW(Window(), list, LB_GETCURSEL, 0, 0);
            if (SetText(e, index > 0 ? ItemText(list, int(index)) : std::wstring())) {
                e.MarkChanged();
                changed = true;
            }
        }
        if (changed)
            RunRefresh();
    }

    void SetOverlayPlacement(std::uint8_t v)
    {
        bool changed = false, constrained = false;
        for (int id : {feature::kFirstPageOverlay.id, feature::kOtherPagesOverlay.id}) {
            auto e = Entry(id);
            if (!e || e.Get<std::uint8_t>(tx::kPlacement) == v)
                continue;
            e.Set<std::uint8_t>(tx::kPlacement, v);
            changed = true;
            constrained = constrained || e.Constrained();
        }
        if (!changed)
            return;
        if (constrained)
            ValueChanged(feature::kFirstPageOverlay.id, -1);
        else
            DetectChanges();
    }

    void SetWatermarkWord(std::size_t offset, std::uint32_t v)
    {
        auto w = Entry(feature::kWatermarks.id);
        if (!w || w.Get<std::uint32_t>(offset) == v)
            return;
        w.Set<std::uint32_t>(offset, v);
        if (w.Constrained())
            ValueChanged(feature::kWatermarks.id, -1);
        else {
            Refill();
            DetectChanges();
        }
        RefillSummaryPreview();
    }

    bool watermarkTab_ = false;
};

}  // namespace

extern "C" INT_PTR CALLBACK OverlayDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<OverlayPage>(window, message, wParam, lParam);
}
