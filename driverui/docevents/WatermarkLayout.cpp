#include "WatermarkLayout.h"

#include <algorithm>
#include <cmath>

namespace docevents {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::int64_t kLimit = 1 << 20;

}  // namespace

std::uint32_t LightenedColour(std::uint32_t colour, std::int32_t lightness)
{
    const std::uint32_t percent = std::uint32_t(std::clamp<std::int32_t>(lightness, 0, 100));
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t value = (colour >> shift) & 0xFF;
        out |= (value + (255 - value) * percent / 100) << shift;
    }
    return out;
}

std::int32_t DotsOf(std::int32_t twentieths, std::int32_t resolution)
{
    return std::int32_t(std::clamp<std::int64_t>(std::int64_t(twentieths) * resolution / 1440, -kLimit, kLimit));
}

std::int32_t DiagonalAngle(std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return std::int32_t(std::lround(std::atan2(double(height), double(width)) * 1800.0 / kPi));
}

TextOrigin CentredOrigin(std::int32_t centreX, std::int32_t centreY, std::int32_t angle, std::int32_t ascent,
                         std::int32_t descent)
{
    // The middle of the glyphs lies (ascent - descent) / 2 above the baseline, "above" turning
    // with the text.
    const double radians = angle * kPi / 1800.0;
    const double drop = (double(ascent) - double(descent)) / 2.0;
    return {std::int32_t(std::lround(centreX + drop * std::sin(radians))),
            std::int32_t(std::lround(centreY + drop * std::cos(radians)))};
}

}  // namespace docevents
