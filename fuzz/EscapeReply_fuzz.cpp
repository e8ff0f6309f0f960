// The rendering driver's replies as the document events read them: a watermark request, the job
// state and the end-of-document answer, from bytes of any length, and what the drawing makes of
// a page that passed. Byte 0 is the manual-duplex marker, bytes 1 to 4 the end-of-document
// answer; the rest is the reply. Properties: a page handed on is one a device context can take,
// the variant is 0 to 3 and only for manual duplex, and the layout arithmetic stays in range.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "EscapeReplies.h"
#include "FuzzCheck.h"
#include "WatermarkLayout.h"

using namespace docevents;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::uint8_t marker = in.ConsumeIntegral<std::uint8_t>();
    const int answer = in.ConsumeIntegral<int>();
    const std::vector<std::uint8_t> reply = in.ConsumeRemainingBytes<std::uint8_t>();

    const WatermarkRequest request = ParseWatermarkRequest(reply);
    if (request.page) {
        const auto& p = *request.page;
        FUZZ_CHECK(request.number >= 1 && request.number <= kLastWatermarkNumber);
        FUZZ_CHECK(p.resolution >= 1 && p.resolution <= kMaxResolution);
        FUZZ_CHECK(p.left >= -kMaxCoordinate && p.left < p.right && p.right <= kMaxCoordinate);
        FUZZ_CHECK(p.top >= -kMaxCoordinate && p.top < p.bottom && p.bottom <= kMaxCoordinate);
        const std::int32_t width = p.right - p.left, height = p.bottom - p.top;
        const std::int32_t angle = DiagonalAngle(width, height);
        FUZZ_CHECK(angle >= 0 && angle <= 900);
        const std::int32_t twentieths = reply.size() >= 2 ? std::int16_t(reply[0] | reply[1] << 8) : 0;
        const std::int32_t dots = DotsOf(twentieths * 64, p.resolution);
        FUZZ_CHECK(dots >= -(1 << 20) && dots <= (1 << 20));
        const TextOrigin origin = CentredOrigin(p.left + width / 2, p.top + height / 2, angle, dots, -dots);
        FUZZ_CHECK(origin.x >= -3 * (1 << 20) && origin.x <= 3 * (1 << 20));
        FUZZ_CHECK(origin.y >= -3 * (1 << 20) && origin.y <= 3 * (1 << 20));
    }

    const JobState job = ParseJobState(reply);
    const int variant = ManualDuplexVariant(job, marker);
    FUZZ_CHECK(variant >= 0 && variant <= 3);
    if (variant != 0)
        FUZZ_CHECK(marker == kManualDuplexOn && (job.flags & kFlagManualDuplex));
    if (variant == 3)
        FUZZ_CHECK(job.flags & kFlagThirdVariant);

    const EndResources end = ParseEndResources(answer, reply);
    if (end.firstResource)
        FUZZ_CHECK(*end.firstResource == kFirstResourceA2 || *end.firstResource == kFirstResourceA3);
    if (end.page) {
        FUZZ_CHECK(end.firstResource.has_value());
        FUZZ_CHECK(end.page->resolution >= 1 && end.page->resolution <= kMaxResolution);
        FUZZ_CHECK(end.page->width >= 1 && end.page->width <= kMaxCoordinate);
        FUZZ_CHECK(end.page->height >= 1 && end.page->height <= kMaxCoordinate);
    }

    const std::uint32_t colour = reply.size() >= 4 ? std::uint32_t(reply[0] | reply[1] << 8 | reply[2] << 16) : 0;
    const std::uint32_t light = LightenedColour(colour, answer);
    FUZZ_CHECK(light <= 0xFFFFFFu);
    for (int shift = 0; shift < 24; shift += 8)
        FUZZ_CHECK(((light >> shift) & 0xFF) >= ((colour >> shift) & 0xFF));
    return 0;
}
