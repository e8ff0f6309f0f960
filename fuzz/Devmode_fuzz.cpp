// A caller's devmode, as an application or the spooler hands it in: the validity test, the
// layout conversions and the merge over a model's defaults. Byte 0 picks the model and the size
// of the caller's output buffer; the rest is the devmode, with the span's size as the bytes the
// caller vouches for.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "DevmodeLayout.h"
#include "FuzzCheck.h"
#include "LayoutCopy.h"
#include "Merge.h"
#include "ModelFixtures.h"
#include "Settings.h"

using namespace devmode;

namespace {

using Span = std::span<const std::uint8_t>;

// Offsets of the four header words the layout copy writes itself.
bool IsSizeHeader(std::size_t i)
{
    return i >= dmSpecVersion.offset && i < dmFields.offset;
}

// The input in the full layout: public bytes up to the smaller dmSize, private bytes up to the
// smaller dmDriverExtra, zeros elsewhere, and this driver's header.
void CheckWiden(Span input)
{
    const auto wide = Widen(input);
    const Span declared = DeclaredBytes(input);
    FUZZ_CHECK(declared.size() <= input.size());
    if (declared.empty() || EffectiveVersion(input) == 0) {
        FUZZ_CHECK(!wide);
        return;
    }
    FUZZ_CHECK(wide.has_value());
    FUZZ_CHECK(Get(*wide, dmSpecVersion) == kSpecVersionValue && Get(*wide, dmSize) == kPublicSize &&
               Get(*wide, dmDriverExtra) == kPrivateSize &&
               Get(*wide, dmDriverVersion) == Get(input, dmDriverVersion));
    const std::size_t inPublic = Get(input, dmSize);
    const std::size_t publicBytes = std::min({inPublic, kPublicSize, declared.size()});
    for (std::size_t i = 0; i < kPublicSize; ++i)
        if (!IsSizeHeader(i))
            FUZZ_CHECK((*wide)[i] == (i < publicBytes ? declared[i] : 0));
    const std::size_t available = declared.size() > inPublic ? declared.size() - inPublic : 0;
    const std::size_t privateBytes = std::min({std::size_t(Get(input, dmDriverExtra)), kPrivateSize, available});
    for (std::size_t j = 0; j < kPrivateSize; ++j)
        FUZZ_CHECK((*wide)[kPublicSize + j] == (j < privateBytes ? declared[inPublic + j] : 0));
}

// The output gets its declared layout and nothing past it.
void CheckCopyForCaller(Span working, Span input, std::size_t outputSize)
{
    std::vector<std::uint8_t> output(outputSize + 16, 0xA5);
    const int written = CopyForCaller(working, input, std::span(output).first(outputSize));
    FUZZ_CHECK(written <= int(outputSize));
    for (std::size_t i = outputSize; i < output.size(); ++i)
        FUZZ_CHECK(output[i] == 0xA5);
    if (written < 0)
        return;
    const std::size_t declared = DeclaredSize(output);
    FUZZ_CHECK(declared <= outputSize && std::size_t(written) <= declared);
    FUZZ_CHECK(Get(output, dmSize) <= Get(working, dmSize) &&
               Get(output, dmDriverExtra) <= Get(working, dmDriverExtra));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const std::size_t kOutputSizes[] = {0, 71, 72, 212, 220, 1255, 1256, 4096};
    const auto& m = model::family::kModels[std::min<std::size_t>(data[0] & 3, model::family::kModels.size() - 1)];
    const std::size_t outputSize = kOutputSizes[(data[0] >> 2) % std::size(kOutputSizes)];
    const Span input(data + 1, size - 1);

    // The validity test needs the whole layout; a checksum written is a checksum that matches.
    if (IsDriverDevmode(input))
        FUZZ_CHECK(input.size() >= kSize);
    std::vector<std::uint8_t> summed(input.begin(), input.end());
    UpdateChecksum(summed);
    FUZZ_CHECK(ChecksumMatches(summed) == (summed.size() >= kChecksum.end()));

    CheckWiden(input);

    static const fuzzfix::Bytes defaults[] = {fuzzfix::DevmodeOf(model::family::kModels[0]),
                                              fuzzfix::DevmodeOf(model::family::kModels[1]),
                                              fuzzfix::DevmodeOf(model::family::kModels[2])};
    const fuzzfix::Bytes& base = defaults[&m - model::family::kModels.data()];
    CheckCopyForCaller(base, input, outputSize);

    // Into a destination of this driver, its own header stays and nothing past its layout moves.
    fuzzfix::Bytes destination = base;
    destination.resize(kSize + 8, 0x5A);
    const int copied = LayoutCopy(input, destination);
    FUZZ_CHECK(copied <= int(kSize));
    FUZZ_CHECK(std::equal(destination.begin() + dmSpecVersion.offset, destination.begin() + dmFields.offset,
                          base.begin() + dmSpecVersion.offset));
    FUZZ_CHECK(destination[kSize] == 0x5A && destination[kSize + 7] == 0x5A);

    // The merge: a devmode of this driver and model whatever the input, and one the merge leaves
    // as it is when it comes back as the input, but for the Y resolution, which follows the
    // print quality only when the input asks for it.
    const fuzzfix::Rules rules(m);
    const auto merged = MergeDevmode(base, input, rules);
    FUZZ_CHECK(merged.has_value() == Widen(input).has_value());
    if (!merged)
        return 0;
    FUZZ_CHECK(IsDriverDevmode(*merged));
    FUZZ_CHECK(std::equal(merged->begin() + kModelRecord.offset, merged->begin() + kModelRecord.end(),
                          base.begin() + kModelRecord.offset));
    FUZZ_CHECK(SettingsEqual(*merged, *merged));
    FUZZ_CHECK(SettingsEqual(*merged, base) == SettingsEqual(base, *merged));
    Buffer expected = *merged;
    if ((Get(expected, dmFields) & kFieldYResolution) && Get(expected, dmPrintQuality) > 0)
        Set(expected, dmYResolution, Get(expected, dmPrintQuality));
    const auto again = MergeDevmode(*merged, *merged, rules);
    FUZZ_CHECK(again && *again == expected);
    return 0;
}
