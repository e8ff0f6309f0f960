// Pages that lay out text (fonts, watermarks) ask whether the system's ANSI code page is one of
// the East-Asian double-byte pages.
#pragma once

#include <cstdint>

namespace text {

// The code page when it is 932, 936, 949 or 950; 0 for any other.
constexpr std::uint32_t DoubleByteCodePage(std::uint32_t ansiCodePage)
{
    switch (ansiCodePage) {
    case 932:
    case 936:
    case 949:
    case 950:
        return ansiCodePage;
    default:
        return 0;
    }
}

}  // namespace text
