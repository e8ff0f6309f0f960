// The Color page, slot 6 of the document sheet: the colour mode (colour only where the model
// prints colour), the lists C1 to C7 and the grayscale box C8.
#include <windows.h>

#include <array>
#include <string>

#include "ChoicePage.h"
#include "NameTables.h"
#include "ResourceIds.h"

namespace {

namespace f = feature;

constexpr std::int16_t kColourValue = 2;
constexpr std::int16_t kMonochromeValue = 1;
// The colour option byte (low byte of the copy of model word 400) says the model prints colour.
constexpr std::uint16_t kPrintsColour = 0x0008;

template <std::size_t N>
using Names = std::array<std::uint16_t, N>;
constexpr Names<4> kC1Names = {IDS_PRINTER_DEFAULT, IDS_C1_AUTOMATIC, IDS_C1_SCREEN, IDS_C1_DEVICE};
constexpr Names<3> kC2Names = {IDS_PRINTER_DEFAULT, IDS_C2_COMPOSITE, IDS_C2_BLACK_ONLY};
constexpr Names<6> kC3Names = {IDS_PRINTER_DEFAULT, IDS_OFF, IDS_C3_VIVID, IDS_C3_PHOTO, IDS_C3_SCREEN, IDS_C3_CUSTOM};
constexpr Names<4> kC4Names = {IDS_PRINTER_DEFAULT, IDS_C4_LIGHT, IDS_C4_MEDIUM, IDS_C4_STRONG};
constexpr Names<4> kC6Names = {IDS_PRINTER_DEFAULT, IDS_C6_NORMAL, IDS_C6_SHARP, IDS_C6_EXTRA_SHARP};
constexpr Names<3> kC6bNames = {IDS_PRINTER_DEFAULT, IDS_C1_AUTOMATIC, IDS_C6B_MANUAL};
constexpr Names<4> kC7Names = {IDS_PRINTER_DEFAULT, IDS_C1_AUTOMATIC, IDS_ON, IDS_C7_TEXT_ONLY};
// C5: "Printer Default" for 0, else the common value names from 6121 (off, on, enhanced, maximum).
constexpr UINT kC5Base = IDS_OFF - 1;
constexpr int kC5Last = IDS_VALUE_4 - kC5Base;

constexpr std::int16_t kFeatures[] = {f::kC8.id, f::kColourMode.id, f::kC1.id, f::kC6.id, f::kC6b.id,
                                      f::kC7.id, f::kC2.id,         f::kC4.id, f::kPairSecond.id, f::kC3.id};
constexpr int kLocked[] = {IDC_COLOR_MODE_LABEL, IDC_COLOR_MODE, IDC_C2_LABEL, IDC_C2, IDC_C3_LABEL, IDC_C3,
                           IDC_C4_LABEL,         IDC_C4,         IDC_C8,       IDC_DEFAULTS, IDC_C1_LABEL, IDC_C1,
                           IDC_C6_LABEL,         IDC_C6,         IDC_C7_LABEL, IDC_C7,       IDC_C5_LABEL, IDC_C5};
const pages::PageSpec kSpec{kFeatures, kLocked, nullptr, /*asksForSummary=*/true};

template <std::size_t N>
pages::ChoiceName By(const Names<N>& table, bool byValue)
{
    return [&table, byValue](const pages::Choice& c) {
        const std::uint16_t id = pages::NameOf(table, byValue ? c.value : c.name);
        return id ? pages::Page::String(id) : std::wstring();
    };
}

class ColorPage : public pages::ChoicePage {
public:
    ColorPage(HWND window, SheetContext* context) : ChoicePage(window, context, kSpec) {}

    void FillChoices() override
    {
        FillColourMode();
        FillList(IDC_C1, Entry(f::kC1.id), pages::RangeChoices(Entry(f::kC1.id)), By(kC1Names, true));
        FillList(IDC_C2, Entry(f::kC2.id), pages::RangeChoices(Entry(f::kC2.id)), By(kC2Names, true));
        FillList(IDC_C3, Entry(f::kC3.id), pages::ListChoices(Entry(f::kC3.id)), By(kC3Names, false));
        FillList(IDC_C4, Entry(f::kC4.id), pages::RangeChoices(Entry(f::kC4.id)), By(kC4Names, true));
        FillList(IDC_C5, Entry(f::kPairSecond.id), pages::RangeChoices(Entry(f::kPairSecond.id)),
                 [](const pages::Choice& c) {
                     if (c.value < 0 || c.value > kC5Last)
                         return std::wstring();
                     return String(c.value == 0 ? IDS_PRINTER_DEFAULT : kC5Base + UINT(c.value));
                 });
        const pages::EntryView c6 = C6();
        FillList(IDC_C6, c6, pages::RangeChoices(c6), c6.Id() == f::kC6.id ? By(kC6Names, true) : By(kC6bNames, true));
        FillList(IDC_C7, Entry(f::kC7.id), pages::RangeChoices(Entry(f::kC7.id)), By(kC7Names, true));
        const pages::EntryView c8 = Entry(f::kC8.id);
        SetCheck(IDC_C8, c8.Current() != 0);
        Enable(IDC_C8, bool(c8));
    }

    bool Command(int id, int code, HWND) override
    {
        if (id == IDC_C8) {
            if (code == BN_CLICKED)
                Store(f::kC8.id, Checked(IDC_C8) ? 1 : 0, -1);
            return true;
        }
        if (code != CBN_SELCHANGE)
            return false;
        int feature = 0;
        switch (id) {
        case IDC_COLOR_MODE: feature = f::kColourMode.id; break;
        case IDC_C1: feature = f::kC1.id; break;
        case IDC_C2: feature = f::kC2.id; break;
        case IDC_C3: feature = f::kC3.id; break;
        case IDC_C4: feature = f::kC4.id; break;
        case IDC_C5: feature = f::kPairSecond.id; break;
        case IDC_C6: feature = C6().Id(); break;
        case IDC_C7: feature = f::kC7.id; break;
        default: return false;
        }
        if (const auto v = ChosenValue(id))
            Store(feature, *v, -1);
        return true;
    }

private:
    // C6, or C6b on a model without it.
    pages::EntryView C6() const
    {
        const pages::EntryView c6 = Entry(f::kC6.id);
        return c6 ? c6 : Entry(f::kC6b.id);
    }

    void FillColourMode()
    {
        std::vector<pages::Choice> choices;
        if (LOBYTE(Context().devmodeCopies[0]) & kPrintsColour)
            choices.push_back({kColourValue, IDS_COLOR});
        choices.push_back({kMonochromeValue, IDS_MONOCHROME});
        FillList(IDC_COLOR_MODE, Entry(f::kColourMode.id), choices,
                 [](const pages::Choice& c) { return String(c.name); });
    }
};

}  // namespace

extern "C" INT_PTR CALLBACK ColorDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<ColorPage>(window, message, wParam, lParam);
}
