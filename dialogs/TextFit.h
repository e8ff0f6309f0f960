// Fitting a text into a control's width, free of platform headers: when the text is wider than
// the control, characters come off its end until the rest followed by "..." fits.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace text {

// The width of a text in the control's font, in pixels.
using MeasureFn = std::function<int(std::wstring_view)>;

// The text as it stands when it fits `width`, else the longest start of it that fits with "..."
// after it (just "..." when no character does). A UTF-16 surrogate pair comes off whole.
std::wstring FitWithEllipsis(std::wstring_view text, int width, const MeasureFn& measure);

}  // namespace text
