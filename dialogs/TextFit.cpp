#include "TextFit.h"

namespace text {

std::wstring FitWithEllipsis(std::wstring_view text, int width, const MeasureFn& measure)
{
    if (measure(text) <= width)
        return std::wstring(text);
    std::wstring kept(text);
    for (;;) {
        if (kept.empty())
            return L"...";
        kept.pop_back();
        // The low half of a surrogate pair goes with its high half.
        if (!kept.empty() && kept.back() >= 0xD800 && kept.back() <= 0xDBFF)
            kept.pop_back();
        if (measure(kept + L"...") <= width)
            return kept + L"...";
    }
}

}  // namespace text
