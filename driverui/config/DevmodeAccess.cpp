#include "DevmodeAccess.h"

#include <limits>

namespace dm {

std::size_t WidthBytes(std::int16_t width)
{
    switch (width) {
    case 2:
    case -2:
        return 2;
    case 4:
    case -4:
        return 4;
    default:
        return 1;
    }
}

bool FitsWidth(std::int64_t value, std::int16_t width)
{
    switch (width) {
    case -1:
        return value >= -128 && value <= 127;
    case 2:
        return value >= 0 && value <= 0xFFFF;
    case -2:
        return value >= -32768 && value <= 32767;
    case 4:
    case -4:
        // Both 32-bit codes take either reading of the 32 bits.
        return value >= std::numeric_limits<std::int32_t>::min() &&
               value <= std::numeric_limits<std::uint32_t>::max();
    default:
        return value >= 0 && value <= 0xFF;
    }
}

std::optional<std::int64_t> ReadDevmodeValue(std::span<const std::uint8_t> devmode,
                                             std::size_t offset, std::int16_t width)
{
    const std::size_t n = WidthBytes(width);
    if (offset > devmode.size() || devmode.size() - offset < n)
        return std::nullopt;
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < n; ++i)
        raw |= std::uint32_t(devmode[offset + i]) << (8 * i);
    switch (width) {
    case -1:
        return std::int8_t(raw);
    case 2:
        return std::uint16_t(raw);
    case -2:
        return std::int16_t(raw);
    case 4:
    case -4:
        return std::int32_t(raw);
    default:
        return std::uint8_t(raw);
    }
}

bool WriteDevmodeValue(std::span<std::uint8_t> devmode, std::size_t offset, std::int16_t width,
                       std::int64_t value)
{
    const std::size_t n = WidthBytes(width);
    if (offset > devmode.size() || devmode.size() - offset < n || !FitsWidth(value, width))
        return false;
    const auto raw = std::uint32_t(value);
    for (std::size_t i = 0; i < n; ++i)
        devmode[offset + i] = std::uint8_t(raw >> (8 * i));
    return true;
}

}  // namespace dm
