// What the Graphics, Colour and Advanced colour pages share: their drop-down lists of a feature's
// choices (an entry's option list or its range), and settling a value that the list does not
// offer. A value that is not offered takes the default, or the first choice when the default is
// not offered either; a constrained entry settled that way asks for one constraint refresh after
// the fill, never from inside the refresh's own refill, so a value the refresh leaves unlisted
// cannot make the fill and the refresh call each other without end.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FeatureBindings.h"
#include "Page.h"

namespace pages {

struct Choice {
    std::int16_t value;
    std::uint16_t name;  // the model data's name index; for a range, the value
};

// (value, name index) records of `size` bytes from `first`, at most `count`, up to kListEnd.
inline std::vector<Choice> RecordChoices(const EntryView& e, std::size_t first, std::size_t size, std::size_t count)
{
    std::vector<Choice> out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = first + i * size;
        if (!e.Bytes(at, 4))
            break;
        const auto value = e.Get<std::uint16_t>(at);
        if (value == feature::kListEnd)
            break;
        out.push_back({std::int16_t(value), e.Get<std::uint16_t>(at + 2)});
    }
    return out;
}

// The options of a type-7 entry ((value, name index, reserved) triples up to kListEnd).
inline std::vector<Choice> ListChoices(const EntryView& e)
{
    return RecordChoices(e, feature::list::kOptions, feature::list::kOptionSize, feature::list::kMaxOptions);
}

// The options of a type-12 entry ((value, name index) pairs up to kListEnd).
inline std::vector<Choice> ShortListChoices(const EntryView& e)
{
    return RecordChoices(e, feature::short_list::kPairs, feature::short_list::kPairSize, feature::short_list::kMaxPairs);
}

// One choice per value of a type-1 entry's range; none when the maximum is below the minimum.
// The pages name range values 0 to kMaxRangeValue, so a range from a damaged layout is cut to
// those rather than listing thousands of nameless values.
inline constexpr int kMaxRangeValue = 63;
inline std::vector<Choice> RangeChoices(const EntryView& e)
{
    std::vector<Choice> out;
    for (int v = std::max<int>(e.Minimum(), 0); v <= std::min<int>(e.Maximum(), kMaxRangeValue); ++v)
        out.push_back({std::int16_t(v), std::uint16_t(v)});
    return out;
}

// The display name of a choice; empty: the choice is not offered.
using ChoiceName = std::function<std::wstring(const Choice&)>;

class ChoicePage : public Page {
public:
    using Page::Page;

    // Fills every list (FillChoices), then runs the one refresh that settled values asked for.
    void Fill() final
    {
        refreshWanted_ = false;
        FillChoices();
        if (!refreshWanted_ || inSettlingRefresh_)
            return;
        inSettlingRefresh_ = true;
        RunRefresh();
        inSettlingRefresh_ = false;
        refreshWanted_ = false;
    }

protected:
    virtual void FillChoices() = 0;

    // A value the page stores while filling: a constrained entry is marked changed and the
    // refresh runs once the fill is done.
    void Settle(EntryView e, std::int16_t v)
    {
        if (!e || e.Current() == v)
            return;
        e.SetCurrent(v);
        if (e.Constrained()) {
            e.MarkChanged();
            refreshWanted_ = true;
        }
    }

    // Fills the combo box with the named choices (item data: the value) and selects the entry's
    // current value, settling it when it is not offered; the list is disabled when the entry is
    // missing or offers nothing.
    void FillList(int control, EntryView e, const std::vector<Choice>& choices, const ChoiceName& name)
    {
        ComboClear(control);
        std::vector<std::int16_t> offered;
        if (e) {
            for (const Choice& c : choices) {
                const std::wstring text = name(c);
                if (text.empty())
                    continue;
                ComboAdd(control, text, LPARAM(c.value));
                offered.push_back(c.value);
            }
        }
        Enable(control, !offered.empty());
        if (offered.empty()) {
            // Nothing to offer (a range whose maximum is below its minimum): the default stands.
            Settle(e, e.Default());
            return;
        }
        const auto listed = [&](std::int16_t v) {
            for (std::int16_t o : offered)
                if (o == v)
                    return true;
            return false;
        };
        if (!listed(e.Current()))
            Settle(e, listed(e.Default()) ? e.Default() : offered.front());
        ComboSelect(control, LPARAM(e.Current()));
    }

    // The selected item's value for a change; nullopt without a selection or for the data -1
    // that marks a list that reports no change.
    std::optional<std::int16_t> ChosenValue(int control) const
    {
        const std::optional<LPARAM> data = ComboSelection(control);
        if (!data || *data == LPARAM(-1) || *data == LPARAM(CB_ERR))
            return std::nullopt;
        return std::int16_t(*data);
    }

private:
    bool refreshWanted_ = false;
    bool inSettlingRefresh_ = false;
};

}  // namespace pages
