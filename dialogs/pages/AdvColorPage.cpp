// The Advanced color page, slot 7 of the document sheet: for text, graphics and photos each a
// colour choice, brightness and contrast (-100 to 100) and sharpness (0 to 40) on scroll bars,
// and a colour profile list that the Color page's custom colour adjustment (C3 = 5) enables.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "ChoicePage.h"
#include "NameTables.h"
#include "ResourceIds.h"

namespace {

namespace f = feature;
namespace res = feature::resolution;

// Names of the choices and profiles by the model data's name index.
constexpr std::array<std::uint16_t, 7> kAdjustNames = {0,
                                                       IDS_ADJUST_AUTOMATIC,
                                                       IDS_ADJUST_VIVID,
                                                       IDS_ADJUST_PHOTO,
                                                       IDS_ADJUST_SCREEN,
                                                       IDS_ADJUST_NONE,
                                                       IDS_ADJUST_CUSTOM};

constexpr std::int16_t kCustomColours = 5;  // C3 value that enables the profile lists
constexpr std::int16_t kC1NoAdjustment[] = {2, 3};
// A quality choice whose flag word has this bit leaves no colour adjustment.
constexpr std::uint16_t kQualityWithoutAdjustment = 0x0004;
constexpr int kPageStep = 4;

struct Adjustment {
    std::int16_t id;
    int bar;
    int text;
    int minimum;
    int maximum;
};
struct Group {
    int label;
    int choice;
    std::int16_t choiceId;
    Adjustment adjustments[3];
    int profileLabel;
    int profile;
    std::int16_t profileId;
};

constexpr Adjustment Adjust(int group, int part, std::int16_t id, int minimum, int maximum)
{
    return {id, IDC_ADJUST(group, part), IDC_ADJUST(group, part + 1), minimum, maximum};
}
constexpr Group MakeGroup(int group, std::int16_t choiceId, std::int16_t a, std::int16_t b, std::int16_t c, int profileLabel,
                          int profile, std::int16_t profileId)
{
    return {IDC_ADJUST(group, ADJUST_CHOICE_LABEL),
            IDC_ADJUST(group, ADJUST_CHOICE),
            choiceId,
            {Adjust(group, ADJUST_A, a, -100, 100), Adjust(group, ADJUST_B, b, -100, 100), Adjust(group, ADJUST_C, c, 0, 40)},
            profileLabel,
            profile,
            profileId};
}
constexpr Group kGroups[] = {
    MakeGroup(IDC_ADJUST_TEXT, f::kColourGroup1.id, f::kColour1A.id, f::kColour1B.id, f::kColour1C.id,
              IDC_PROFILE_TEXT_LABEL, IDC_PROFILE_TEXT, f::kSecondList1.id),
    MakeGroup(IDC_ADJUST_GRAPHICS, f::kColourGroup2.id, f::kColour2A.id, f::kColour2B.id, f::kColour2C.id,
              IDC_PROFILE_GRAPHICS_LABEL, IDC_PROFILE_GRAPHICS, f::kSecondList2.id),
    MakeGroup(IDC_ADJUST_PHOTO, f::kColourGroup3.id, f::kColour3A.id, f::kColour3B.id, f::kColour3C.id,
              IDC_PROFILE_PHOTO_LABEL, IDC_PROFILE_PHOTO, f::kSecondList3.id),
};
static_assert(IDC_ADJUST(IDC_ADJUST_TEXT, ADJUST_CHOICE) == 6307 && IDC_ADJUST(IDC_ADJUST_PHOTO, ADJUST_C_VALUE) == 6340);

constexpr std::int16_t kFeatures[] = {
    f::kColourGroup1.id, f::kColour1A.id, f::kColour1B.id, f::kColour1C.id, f::kSecondList1.id,
    f::kColourGroup2.id, f::kColour2A.id, f::kColour2B.id, f::kColour2C.id, f::kSecondList2.id,
    f::kColourGroup3.id, f::kColour3A.id, f::kColour3B.id, f::kColour3C.id, f::kSecondList3.id};

// 6306 to 6316, 6318 to 6328, 6330 to 6340, 6739 to 6744 and Defaults.
constexpr auto kLocked = [] {
    std::array<int, 11 * 3 + 6 + 1> ids{};
    std::size_t n = 0;
    for (int group : {IDC_ADJUST_TEXT, IDC_ADJUST_GRAPHICS, IDC_ADJUST_PHOTO})
        for (int part = ADJUST_CHOICE_LABEL; part <= ADJUST_C_VALUE; ++part)
            ids[n++] = IDC_ADJUST(group, part);
    for (int id = IDC_PROFILE_TEXT_LABEL; id <= IDC_PROFILE_PHOTO; ++id)
        ids[n++] = id;
    ids[n++] = IDC_DEFAULTS;
    return ids;
}();
const pages::PageSpec kSpec{kFeatures, kLocked, nullptr, /*asksForSummary=*/true};

std::wstring AdjustName(const pages::Choice& c)
{
    const std::uint16_t id = pages::NameOf(kAdjustNames, c.name);
    return id ? pages::Page::String(id) : std::wstring();
}

class AdvColorPage : public pages::ChoicePage {
public:
    AdvColorPage(HWND window, SheetContext* context) : ChoicePage(window, context, kSpec) {}

    void FillChoices() override
    {
        for (const Group& g : kGroups) {
            FillList(g.choice, Entry(g.choiceId), pages::ShortListChoices(Entry(g.choiceId)), AdjustName);
            for (const Adjustment& a : g.adjustments)
                FillAdjustment(a);
            FillList(g.profile, Entry(g.profileId), pages::ListChoices(Entry(g.profileId)), AdjustName);
        }
    }

    void UpdateStates() override
    {
        const bool choices = ColourAdjustable();
        const bool profiles = Entry(f::kC3.id).Current() == kCustomColours;
        for (const Group& g : kGroups) {
            const bool choice = choices && ListUsable(g.choice);
            Enable(g.label, choice);
            Enable(g.choice, choice);
            const bool profile = profiles && ListUsable(g.profile);
            Enable(g.profileLabel, profile);
            Enable(g.profile, profile);
        }
    }

    bool Command(int id, int code, HWND) override
    {
        if (code != CBN_SELCHANGE)
            return false;
        for (const Group& g : kGroups) {
            if (id == g.choice || id == g.profile) {
                if (const auto v = ChosenValue(id))
                    Store(id == g.choice ? g.choiceId : g.profileId, *v, -1);
                return true;
            }
        }
        return false;
    }

    bool Scroll(HWND bar, int code, int position) override
    {
        for (const Group& g : kGroups)
            for (const Adjustment& a : g.adjustments)
                if (bar == Control(a.bar)) {
                    Scrolled(a, code, position);
                    return true;
                }
        return false;
    }

private:
    // A list that has an entry and something to offer (FillList leaves the others disabled).
    bool ListUsable(int control) const
    {
        return SendDlgItemMessageW(Window(), control, CB_GETCOUNT, 0, 0) > 0;
    }

    // Colour adjustment is off with grayscale printing, with C1 at 2 or 3, and with a quality
    // choice that leaves none.
    bool ColourAdjustable() const
    {
        if (Entry(f::kC8.id).Current() != 0)
            return false;
        if (const pages::EntryView c1 = Entry(f::kC1.id))
            for (std::int16_t v : kC1NoAdjustment)
                if (c1.Current() == v)
                    return false;
        const pages::EntryView q = Entry(f::kQuality.id);
        const std::int16_t position = q.Current();
        if (q && position >= 0 && position < std::int16_t(res::kTripleCount)) {
            const auto flag = q.Get<std::uint16_t>(res::kTriples + std::size_t(position) * res::kTripleSize + res::kFlag);
            if (flag & kQualityWithoutAdjustment)
                return false;
        }
        return true;
    }

    void ShowAdjustment(const Adjustment& a, int v)
    {
        SetScrollPos(Control(a.bar), SB_CTL, v, TRUE);
        SetText(a.text, std::to_wstring(v));
    }

    void FillAdjustment(const Adjustment& a)
    {
        const pages::EntryView e = Entry(a.id);
        SetScrollRange(Control(a.bar), SB_CTL, a.minimum, a.maximum, FALSE);
        Enable(a.bar, bool(e));
        if (!e) {
            SetText(a.text, L"");
            return;
        }
        // The devmode keeps a signed byte; the entry's 16-bit value is clamped into the range.
        const int v = std::clamp(int(e.Current()), a.minimum, a.maximum);
        Settle(e, std::int16_t(v));
        ShowAdjustment(a, v);
    }

    void Scrolled(const Adjustment& a, int code, int position)
    {
        pages::EntryView e = Entry(a.id);
        if (!e)
            return;
        int v = e.Current();
        switch (code) {
        case SB_LINELEFT: v -= 1; break;
        case SB_LINERIGHT: v += 1; break;
        case SB_PAGELEFT: v -= kPageStep; break;
        case SB_PAGERIGHT: v += kPageStep; break;
        case SB_LEFT: v = a.minimum; break;
        case SB_RIGHT: v = a.maximum; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: v = position; break;
        default: return;
        }
        v = std::clamp(v, a.minimum, a.maximum);
        if (v == e.Current())
            return;
        ShowAdjustment(a, v);
        Store(a.id, std::int16_t(v), -1);
    }
};

}  // namespace

extern "C" INT_PTR CALLBACK AdvColorDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<AdvColorPage>(window, message, wParam, lParam);
}
