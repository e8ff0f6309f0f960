#include "EscapeReplies.h"

namespace docevents {
namespace {

std::int32_t Value(std::span<const std::uint8_t> reply, std::size_t offset)
{
    return std::int32_t(devmode::Get(reply, devmode::U32{std::uint16_t(offset)}));
}

bool InRange(std::int32_t v, std::int32_t low, std::int32_t high)
{
    return v >= low && v <= high;
}

}  // namespace

bool RendererTooOld(int versionAnswer, std::uint32_t version, std::uint8_t outputMode, bool capabilitySupported)
{
    return versionAnswer < 1 || version < kMinimumRendererVersion ||
           (outputMode == kCapabilityOutputMode && !capabilitySupported);
}

WatermarkRequest ParseWatermarkRequest(std::span<const std::uint8_t> reply)
{
    WatermarkRequest r;
    r.number = std::uint16_t(Value(reply, kRequestNumber) & 0xFFFF);
    if (r.number == 0 || r.number > kLastWatermarkNumber)
        return r;
    const WatermarkRequest::Page page{Value(reply, kRequestResolution), Value(reply, kRequestArea),
                                      Value(reply, kRequestArea + 4), Value(reply, kRequestArea + 8),
                                      Value(reply, kRequestArea + 12)};
    const bool sound = InRange(page.resolution, 1, kMaxResolution) &&
                       InRange(page.left, -kMaxCoordinate, kMaxCoordinate) &&
                       InRange(page.top, -kMaxCoordinate, kMaxCoordinate) &&
                       InRange(page.right, page.left + 1, kMaxCoordinate) &&
                       InRange(page.bottom, page.top + 1, kMaxCoordinate);
    if (sound)
        r.page = page;
    return r;
}

JobState ParseJobState(std::span<const std::uint8_t> reply)
{
    return {devmode::Get(reply, kJobVariant), devmode::Get(reply, kJobPagesDone), devmode::Get(reply, kJobStamped) != 0,
            devmode::Get(reply, kJobFlags)};
}

int ManualDuplexVariant(const JobState& job, std::uint8_t devmodeMarker)
{
    const bool step = (job.flags & kFlagStepMask) == kFlagStepValue || (job.flags & kFlagThirdVariant) != 0;
    if (!(job.flags & kFlagManualDuplex) || !step || devmodeMarker != kManualDuplexOn)
        return 0;
    if (job.flags & kFlagThirdVariant)
        return 3;
    return job.variant == 2 ? 2 : 1;
}

EndResources ParseEndResources(int answer, std::span<const std::uint8_t> reply)
{
    EndResources r;
    if (Value(reply, 12) == 0)
        return r;
    if (answer == 2)
        r.firstResource = kFirstResourceA2;
    else if (answer == 3)
        r.firstResource = kFirstResourceA3;
    else
        return r;
    const EndResources::Page page{Value(reply, 0), Value(reply, 4), Value(reply, 8)};
    if (InRange(page.resolution, 1, kMaxResolution) && InRange(page.width, 1, kMaxCoordinate) &&
        InRange(page.height, 1, kMaxCoordinate))
        r.page = page;
    return r;
}

}  // namespace docevents
