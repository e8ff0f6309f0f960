#include "PaperUnits.h"

#include <algorithm>
#include <cmath>

namespace paperunits {
namespace {

constexpr std::int64_t kReadLimit = 214748364;
constexpr int kMaxDecimals = 3;

int DecimalsOf(Unit unit)
{
    return unit == Unit::Inch ? 1 : 0;
}

}  // namespace

std::optional<std::int32_t> Parse(std::string_view text, Unit unit)
{
    std::int64_t value = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (const char ch : text) {
        if (ch == '.' && !point) {
            point = true;
            continue;
        }
        if (ch < '0' || ch > '9')
            return std::nullopt;
        if (point && ++decimals > kMaxDecimals)
            return std::nullopt;
        value = value * 10 + (ch - '0');
        ++digits;
        if (value > kReadLimit)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    const int wanted = DecimalsOf(unit);
    for (; decimals < wanted; ++decimals)
        value *= 10;
    while (decimals > wanted) {
        const std::int64_t dropped = value % 10;
        value /= 10;
        if (--decimals == wanted && dropped >= 5)
            ++value;
    }
    if (value > kMaxDisplay)
        return std::nullopt;
    return std::int32_t(value);
}

std::int32_t ToStored(std::int32_t display, Unit unit)
{
    return std::int32_t(std::lround(double(display) * FactorOf(unit)));
}

std::int32_t ToDisplay(std::int32_t stored, Unit unit)
{
    return std::int32_t(std::lround(double(stored) / FactorOf(unit)));
}

std::string Format(std::int32_t display, Unit unit)
{
    if (unit == Unit::Millimetre)
        return std::to_string(display);
    const bool negative = display < 0;
    const std::int32_t magnitude = negative ? -display : display;
    return (negative ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string FormatRange(std::int32_t low, std::int32_t high, Unit unit)
{
    return "(" + Format(low, unit) + " - " + Format(high, unit) + ")";
}

std::uint16_t Printable(std::int32_t size, std::int32_t margin)
{
    const std::int32_t extent = size - 2 * margin;
    if (extent <= 0)
        return 0;
    return std::uint16_t(std::min<std::int32_t>(extent, 0xFFFF) & ~3);
}

}  // namespace paperunits
