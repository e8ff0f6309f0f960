#include "Capabilities.h"

#include <algorithm>

#include "DevmodeLayout.h"
#include "Merge.h"

namespace caps {
namespace {

constexpr std::uint8_t kDuplexUnitBits = 0x18;  // flag byte 397: bits 3 and 4
constexpr std::uint8_t kAdjustedBinBit = 0x02;  // flag byte 397: bit 1
constexpr std::int16_t kEnvelopeFeeder = 14;    // DMBIN_ENVELOPE

}  // namespace

std::vector<model::TrayEntry> InstalledTrays(const model::TrayList& trays, std::int16_t installedMask)
{
    std::vector<model::TrayEntry> out;
    for (const model::TrayEntry& t : trays.entries) {
        if (out.size() == kMaxBins)
            break;
        if (t.mask & std::uint16_t(installedMask))
            out.push_back(t);
    }
    return out;
}

std::vector<std::int32_t> EnumResolutions(std::span<const std::uint8_t> devmode)
{
    const std::int32_t quality =
        devmode::MapPrintQuality(devmode, devmode::Get(devmode, devmode::dmPrintQuality));
    std::vector<std::int32_t> out{quality};
    for (std::size_t i = 0; i < devmode::kResolutionCount; ++i) {
        const std::int32_t dpi =
            devmode::Get(devmode, devmode::U16{std::uint16_t(devmode::kResolutionList.offset + 2 * i)});
        if (dpi > 0 && std::find(out.begin(), out.end(), dpi) == out.end())
            out.push_back(dpi);
    }
    return out;
}

std::uint32_t DuplexAnswer(std::span<const std::uint8_t> devmode)
{
    return (devmode::Get(devmode, devmode::kPaperHandlingFlagsHigh) & kDuplexUnitBits) ||
                   devmode::Get(devmode, devmode::kFinishing) != 0
               ? 1
               : 0;
}

std::uint32_t BinAdjustAnswer(std::span<const std::uint8_t> devmode)
{
    return devmode::Get(devmode, devmode::dmDefaultSource) == kEnvelopeFeeder &&
                   !(devmode::Get(devmode, devmode::kPaperHandlingFlagsHigh) & kAdjustedBinBit)
               ? 1
               : 2;
}

std::uint32_t ExtentAnswer(const std::optional<model::PaperLimits>& limits, bool maximum)
{
    if (!limits)
        return 0;
    const std::uint32_t width = devmode::TenthsMm(maximum ? limits->maxWidth : limits->minWidth);
    const std::uint32_t length = devmode::TenthsMm(maximum ? limits->maxLength : limits->minLength);
    return (width & 0xFFFF) | (length & 0xFFFF) << 16;
}

}  // namespace caps
