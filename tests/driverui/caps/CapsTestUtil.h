// Devmodes and forms for the paper and capability tests, at byte level.
#pragma once

#include <cstdint>
#include <string>

#include "DevmodeLayout.h"
#include "PaperFormat.h"

namespace capstest {

inline constexpr std::uint16_t kDesktopSet = 0;
inline constexpr std::uint16_t kWorkgroupSet = 1;
inline constexpr std::uint16_t kColourSet = 2;

// A devmode of a model with the paper set, portrait, the flag byte 237 clear, print quality 600
// on the list 300, 600, 1200.
inline devmode::Buffer PaperDevmode(std::uint16_t paperSet)
{
    devmode::Buffer d{};
    devmode::Set(d, devmode::dmSize, 220);
    devmode::Set(d, devmode::dmDriverExtra, 1036);
    devmode::Set(d, devmode::dmOrientation, 1);
    devmode::Set(d, devmode::dmPaperSize, 9);
    devmode::Set(d, devmode::dmPrintQuality, 600);
    devmode::Set(d, devmode::kPaperSetIndex, paperSet);
    const std::uint16_t list[] = {300, 600, 1200, 1200, 1200};
    for (std::size_t i = 0; i < 5; ++i)
        devmode::Set(d, devmode::U16{std::uint16_t(devmode::kResolutionList.offset + 2 * i)}, list[i]);
    devmode::Set(d, devmode::kDefaultResolution, 600);
    return d;
}

inline std::u16string U16(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

inline caps::StoredForm UserForm(std::int16_t code, const std::string& name, std::uint16_t width,
                                 std::uint16_t length)
{
    caps::StoredForm f;
    f.code = code;
    f.name = U16(name);
    f.width = width;
    f.length = length;
    return f;
}

inline caps::StoredForm Association(std::int16_t code, const std::string& name, std::int16_t base)
{
    caps::StoredForm f;
    f.code = code;
    f.name = U16(name);
    f.base = base;
    return f;
}

// 3 x 5 to 8.5 x 14 inches.
inline constexpr model::PaperLimits kLimits{10200, 3600, 16800, 6000};

}  // namespace capstest
