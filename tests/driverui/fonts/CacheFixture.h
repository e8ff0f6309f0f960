// Devmodes and summaries for the cache file tests and their second-process helper: each devmode's
// summary is derived from its print quality, so any record in a file can be checked against its
// key.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "FontCache.h"

namespace cachetest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Devmode(std::uint16_t quality, std::uint16_t copies = 1)
{
    Bytes d(fontcache::kDevmodeSize, 0);
    const char16_t name[] = u"Qelbrin QV-5";
    std::memcpy(d.data(), name, sizeof name);
    d[68] = 220;
    d[70] = 0x0C;
    d[71] = 0x04;
    d[73] = 0x04;  // DM_PRINTQUALITY
    d[86] = std::uint8_t(copies);
    d[90] = std::uint8_t(quality);
    d[91] = std::uint8_t(quality >> 8);
    return d;
}

inline Bytes SummaryFor(std::uint16_t quality)
{
    Bytes s(1000 + (quality * 7919u) % 20000u);
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = std::uint8_t(quality + i);
    return s;
}

inline std::uint16_t QualityOf(const Bytes& devmode)
{
    return std::uint16_t(devmode[90] | devmode[91] << 8);
}

}  // namespace cachetest
