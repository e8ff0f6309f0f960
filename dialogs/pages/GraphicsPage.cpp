// The Graphics page, slot 3 of the document sheet: print quality from the resolution entry's
// choices, the graphics mode, the lists G1 to G5, the combined pair (one list setting two
// entries), the three-way halftoning choice and the print density level.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "ChoicePage.h"
#include "NameTables.h"
#include "Resources.h"
#include "ResourceIds.h"

namespace {

namespace f = feature;
namespace res = feature::resolution;
namespace mode = feature::print_mode;

constexpr std::int16_t kNoPosition = 5;
constexpr int kQualitySummaryRow = 3;
constexpr int kLevelMaximum = 8;
constexpr int kLevelPage = 4;

// Display names by the model data's name indexes.
constexpr std::array<std::uint16_t, 3> kGraphicsModeNames = {0, IDS_MODE_STANDARD, IDS_MODE_COMPATIBLE};
constexpr std::array<std::uint16_t, 5> kTonerSaveNames = {0, IDS_TONER_SAVE_OFF, IDS_TONER_SAVE_LOW,
                                                          IDS_TONER_SAVE_MEDIUM, IDS_TONER_SAVE_HIGH};
constexpr std::array<std::uint16_t, 8> kPrintModeNames = {0,    IDS_PRINT_MODE_1, 6832, 6833, 6834, 6835, 6836,
                                                          IDS_PRINT_MODE_7};
static_assert(IDS_PRINT_MODE_1 + 6 == IDS_PRINT_MODE_7);
// The on/off lists G2 to G5 by value: off, on, enhanced, maximum.
constexpr std::array<std::uint16_t, 4> kLevelNames = {IDS_OFF, IDS_ON, IDS_VALUE_3, IDS_VALUE_4};

// The three-way choice's buttons and their values.
struct Radio {
    int control;
    std::int16_t value;
};
constexpr Radio kHalftones[] = {{IDC_DITHER_COARSE, 2}, {IDC_DITHER_NONE, 1}, {IDC_DITHER_FINE, 3}};
constexpr std::int16_t kCompatibleGraphics = f::kCompatibleMode;

struct PlainList {
    int control;
    std::int16_t id;
};
constexpr PlainList kOnOffLists[] = {{IDC_G2, f::kG2.id}, {IDC_G3, f::kG3.id}, {IDC_G4, f::kG4.id}, {IDC_G5, f::kG5.id}};

constexpr std::int16_t kFeatures[] = {f::kQuality.id, f::kGraphicsMode.id, f::kG3.id,           f::kG4.id,
                                      f::kPairFirst.id, f::kPairSecond.id, f::kG1.id,           f::kG1Offset.id,
                                      f::kG5.id,       f::kThreeWayChoice.id, f::kLevel.id,      f::kG2.id};
constexpr int kLocked[] = {IDC_QUALITY_LABEL, IDC_QUALITY,     IDC_GRAPHICS_MODE_LABEL, IDC_GRAPHICS_MODE,
                           IDC_G1_LABEL,      IDC_G1,          IDC_DITHER_COARSE,       IDC_DITHER_NONE,
                           IDC_DITHER_FINE,   IDC_LEVEL,       IDC_LEVEL_LOW,           IDC_LEVEL_HIGH,
                           IDC_DEFAULTS,      IDC_LEVEL_LABEL, IDC_G2,                  IDC_G2_LABEL,
                           IDC_G3,            IDC_G3_LABEL,    IDC_G4,                  IDC_G4_LABEL,
                           IDC_PRINT_MODE,    IDC_PRINT_MODE_LABEL, IDC_G5,        IDC_G5_LABEL,
                           IDC_DITHER_GROUP};
const pages::PageSpec kSpec{kFeatures, kLocked, nullptr, /*asksForSummary=*/true};

template <std::size_t N>
std::wstring NameFrom(const std::array<std::uint16_t, N>& table, int index)
{
    const std::uint16_t id = pages::NameOf(table, index);
    return id ? pages::Page::String(id) : std::wstring();
}

class GraphicsPage : public pages::ChoicePage {
public:
    GraphicsPage(HWND window, SheetContext* context) : ChoicePage(window, context, kSpec) {}

    void Init() override
    {
        if (const HICON icon = dialogs::LoadDlIcon(IDI_LEVEL))
            SendDlgItemMessageW(Window(), IDC_LEVEL_ICON, STM_SETICON, WPARAM(icon), 0);
    }

    void FillChoices() override
    {
        FillQuality();
        FillList(IDC_GRAPHICS_MODE, Entry(f::kGraphicsMode.id), pages::ListChoices(Entry(f::kGraphicsMode.id)),
                 [](const pages::Choice& c) { return NameFrom(kGraphicsModeNames, c.name); });
        const pages::EntryView g1 = G1();
        FillList(IDC_G1, g1, pages::ListChoices(g1),
                 [](const pages::Choice& c) { return NameFrom(kTonerSaveNames, c.name); });
        for (const PlainList& l : kOnOffLists)
            FillList(l.control, Entry(l.id), pages::RangeChoices(Entry(l.id)),
                     [](const pages::Choice& c) { return NameFrom(kLevelNames, c.value); });
        FillPair();
        FillHalftone();
        FillLevel();
    }

    void UpdateStates() override
    {
        const bool halftones = Entry(f::kThreeWayChoice.id) && Entry(f::kGraphicsMode.id).Current() != kCompatibleGraphics;
        Enable(IDC_DITHER_GROUP, halftones);
        for (const Radio& r : kHalftones)
            Enable(r.control, halftones);
        Enable(IDC_LEVEL, bool(Entry(f::kLevel.id)));
        Enable(IDC_G5_LABEL, bool(Entry(f::kG5.id)));
    }

    bool Command(int id, int code, HWND) override
    {
        if (code == BN_CLICKED) {
            for (const Radio& r : kHalftones)
                if (id == r.control) {
                    Store(f::kThreeWayChoice.id, r.value, -1);
                    return true;
                }
            return false;
        }
        if (code != CBN_SELCHANGE)
            return false;
        switch (id) {
        case IDC_QUALITY:
            if (const auto v = ChosenValue(id); v && Store(f::kQuality.id, *v, kQualitySummaryRow)) {
                // Which pairs are offered follows the quality.
                if (!Entry(f::kQuality.id).Constrained()) {
                    FillPair();
                    DetectChanges();
                }
            }
            return true;
        case IDC_PRINT_MODE:
            PairChosen();
            return true;
        case IDC_GRAPHICS_MODE:
            StoreChosen(id, f::kGraphicsMode.id);
            return true;
        case IDC_G1:
            StoreChosen(id, G1().Id());
            return true;
        default:
            for (const PlainList& l : kOnOffLists)
                if (id == l.control) {
                    StoreChosen(id, l.id);
                    return true;
                }
            return false;
        }
    }

    bool Scroll(HWND bar, int code, int position) override
    {
        if (bar != Control(IDC_LEVEL))
            return false;
        pages::EntryView level = Entry(f::kLevel.id);
        if (!level)
            return true;
        const int minimum = std::max(0, int(level.Minimum()));
        int v = level.Current();
        switch (code) {
        case SB_LINELEFT: v = std::max(minimum, v - 1); break;
        case SB_PAGELEFT: v = std::max(minimum, v - kLevelPage); break;
        case SB_LINERIGHT: v += 1; break;
        case SB_PAGERIGHT: v += kLevelPage; break;
        case SB_LEFT: v = 0; break;
        case SB_RIGHT: v = kLevelMaximum; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: v = position; break;
        default: return true;
        }
        v = std::clamp(v, 0, kLevelMaximum);
        SetScrollPos(bar, SB_CTL, v, TRUE);
        Store(f::kLevel.id, std::int16_t(v), -1);
        return true;
    }

private:
    // G1 is entry 15, or 79 on models whose list carries the offset values.
    pages::EntryView G1() const
    {
        const pages::EntryView g1 = Entry(f::kG1.id);
        return g1 ? g1 : Entry(f::kG1Offset.id);
    }

    void StoreChosen(int control, int id)
    {
        if (const auto v = ChosenValue(control))
            Store(id, *v, -1);
    }

    // The quality choices: those with a name, each once; the item data is the position.
    void FillQuality()
    {
        ComboClear(IDC_QUALITY);
        pages::EntryView q = Entry(f::kQuality.id);
        Enable(IDC_QUALITY, bool(q));
        if (!q)
            return;
        std::vector<std::int16_t> offered;
        std::uint16_t lastDpi = 0, lastFlag = 0;
        for (std::size_t i = 0; i < res::kTripleCount; ++i) {
            const std::size_t at = res::kTriples + i * res::kTripleSize;
            const auto dpi = q.Get<std::uint16_t>(at + res::kDpi);
            const auto name = q.Get<std::uint16_t>(at + res::kName);
            const auto flag = q.Get<std::uint16_t>(at + res::kFlag);
            const bool repeat = i > 0 && dpi == lastDpi && flag == lastFlag;
            lastDpi = dpi;
            lastFlag = flag;
            const std::wstring text = NameFrom(pages::kQualityNames, name);
            if (name == 0 || repeat || text.empty())
                continue;
            ComboAdd(IDC_QUALITY, text, LPARAM(i));
            offered.push_back(std::int16_t(i));
        }
        Enable(IDC_QUALITY, !offered.empty());
        if (offered.empty())
            return;
        std::int16_t position = q.Current();
        if (position > kNoPosition) {
            // A resolution rather than a position: the choice of that resolution and flag word.
            const std::int16_t dpi = position;
            position = kNoPosition;
            for (std::size_t i = 0; i < res::kTripleCount; ++i) {
                const std::size_t at = res::kTriples + i * res::kTripleSize;
                if (q.Get<std::int16_t>(at + res::kDpi) == dpi &&
                    q.Get<std::uint16_t>(at + res::kFlag) == q.Get<std::uint16_t>(res::kRecompute1)) {
                    position = std::int16_t(i);
                    break;
                }
            }
            q.SetCurrent(position);
        }
        const auto listed = [&](std::int16_t p) { return std::find(offered.begin(), offered.end(), p) != offered.end(); };
        if (!listed(q.Current()))
            Settle(q, listed(q.Default()) ? q.Default() : offered.front());
        ComboSelect(IDC_QUALITY, LPARAM(q.Current()));
        DetectChanges();
        RefreshSummary(kQualitySummaryRow);
    }

    // The selected quality's resolution: what a pair's maximum resolution must reach.
    std::uint16_t QualityResolution() const
    {
        const pages::EntryView q = Entry(f::kQuality.id);
        const std::int16_t position = q.Current();
        if (!q || position < 0 || position >= std::int16_t(res::kTripleCount))
            return 0;
        return q.Get<std::uint16_t>(res::kTriples + std::size_t(position) * res::kTripleSize + res::kDpi);
    }

    void FillPair()
    {
        ComboClear(IDC_PRINT_MODE);
        pages::EntryView p = Entry(f::kPairFirst.id);
        pages::EntryView second = Entry(f::kPairSecond.id);
        int items = 0;
        if (p) {
            const std::uint16_t requirement = QualityResolution();
            for (std::size_t i = 0; i < mode::kMaxModes; ++i) {
                const std::size_t at = mode::kModes + i * mode::kModeSize;
                if (!p.Bytes(at, mode::kModeSize))
                    break;
                const auto first = p.Get<std::uint16_t>(at);
                if (first == f::kListEnd)
                    break;
                const auto secondValue = p.Get<std::uint16_t>(at + 2);
                const std::wstring text = NameFrom(kPrintModeNames, p.Get<std::uint16_t>(at + 6));
                if (p.Get<std::uint16_t>(at + 4) < requirement || text.empty())
                    continue;
                ComboAdd(IDC_PRINT_MODE, text, LPARAM((first & 0xFF) << 8 | (secondValue & 0xFF)));
                ++items;
            }
        }
        Enable(IDC_PRINT_MODE, items >= 2);
        if (items == 0)
            return;
        int selected = -1;
        for (int i = 0; i < items && selected < 0; ++i) {
            const auto data = SendDlgItemMessageW(Window(), IDC_PRINT_MODE, CB_GETITEMDATA, WPARAM(i), 0);
            const int first = int(data >> 8) & 0xFF, secondValue = int(data) & 0xFF;
            if (first == p.Current() && (secondValue == second.Current() || secondValue == 0))
                selected = i;
        }
        if (selected < 0) {
            selected = 0;
            const auto data = SendDlgItemMessageW(Window(), IDC_PRINT_MODE, CB_GETITEMDATA, 0, 0);
            Settle(p, std::int16_t((data >> 8) & 0xFF));
            Settle(second, std::int16_t(data & 0xFF));
        }
        SendDlgItemMessageW(Window(), IDC_PRINT_MODE, CB_SETCURSEL, WPARAM(selected), 0);
        // A single pair is no choice: it never reports a change.
        if (items < 2)
            SendDlgItemMessageW(Window(), IDC_PRINT_MODE, CB_SETITEMDATA, WPARAM(selected), LPARAM(-1));
    }

    void PairChosen()
    {
        const std::optional<LPARAM> data = ComboSelection(IDC_PRINT_MODE);
        if (!data || *data == LPARAM(-1))
            return;
        bool changed = false, constrained = false;
        const auto put = [&](pages::EntryView e, std::int16_t v) {
            if (!e || e.Current() == v)
                return;
            e.SetCurrent(v);
            changed = true;
            if (e.Constrained()) {
                e.MarkChanged();
                constrained = true;
            }
        };
        put(Entry(f::kPairFirst.id), std::int16_t((*data >> 8) & 0xFF));
        put(Entry(f::kPairSecond.id), std::int16_t(*data & 0xFF));
        if (!changed)
            return;
        if (constrained)
            RunRefresh();
        DetectChanges();
    }

    void FillHalftone()
    {
        const pages::EntryView e = Entry(f::kThreeWayChoice.id);
        std::int16_t v = e.Current();
        if (v != 2 && v != 3)
            v = 1;
        for (const Radio& r : kHalftones)
            SetCheck(r.control, e && r.value == v);
    }

    void FillLevel()
    {
        pages::EntryView level = Entry(f::kLevel.id);
        SetScrollRange(Control(IDC_LEVEL), SB_CTL, 0, kLevelMaximum, FALSE);
        if (!level)
            return;
        const std::int16_t v = std::int16_t(std::clamp(int(level.Current()), 0, kLevelMaximum));
        Settle(level, v);
        SetScrollPos(Control(IDC_LEVEL), SB_CTL, v, TRUE);
    }
};

}  // namespace

extern "C" INT_PTR CALLBACK GraphicsDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<GraphicsPage>(window, message, wParam, lParam);
}
