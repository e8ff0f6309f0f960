// A model resource as a replaced library could hold it, given to every type's parser. What a
// parser accepts must lie inside the bytes and write back as the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "ModelFixtures.h"
#include "ModelEnvironment.h"
#include "ModelLayout.h"

namespace {

using namespace model;
using Bytes = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;

bool IsPrefix(const Bytes& prefix, Span bytes)
{
    return prefix.size() <= bytes.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

template <class R>
void CheckRecord(const std::optional<R>& r, Span bytes)
{
    FUZZ_CHECK(r.has_value() == (bytes.size() >= kRecordSize<R>));
    if (r) {
        Bytes out;
        AppendRecord(out, *r);
        FUZZ_CHECK(out.size() == kRecordSize<R> && IsPrefix(out, bytes));
    }
}

template <class H, class E>
void CheckTable(const std::optional<Table<H, E>>& t, Span bytes, std::size_t maxCount)
{
    const auto header = ReadRecord<H>(bytes);
    const bool fits = header && header->count >= 0 && std::size_t(header->count) <= maxCount &&
                      bytes.size() >= kRecordSize<H> + std::size_t(header->count) * kRecordSize<E>;
    FUZZ_CHECK(t.has_value() == fits);
    if (t) {
        FUZZ_CHECK(t->entries.size() == std::size_t(t->header.count));
        FUZZ_CHECK(IsPrefix(EncodeTable(t->header, std::span<const E>(t->entries)), bytes));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Span b(data, size);
    CheckRecord(ParseResidentFont(b), b);
    CheckRecord(ParseDescription(b), b);
    CheckRecord(ParsePaperLimits(b), b);
    CheckRecord(ParsePageTemplateSet(b), b);
    const auto resolutions = ParseResolutionList(b);
    CheckRecord(resolutions, b);
    if (resolutions)
        if (const ResolutionEntry* r = DefaultResolution(*resolutions))
            FUZZ_CHECK(r >= resolutions->entries.data() && r < resolutions->entries.data() + kResolutionCount);

    const auto trays = ParseTrayList(b);
    CheckTable(trays, b, kMaxTrays);
    if (trays)
        if (const TrayEntry* t = DefaultTray(*trays))
            FUZZ_CHECK(t >= trays->entries.data() && t < trays->entries.data() + trays->entries.size());
    CheckTable(ParseModeList(b), b, kMaxListOptions);
    CheckTable(ParseGraphicsG1List(b), b, kMaxListOptions);
    CheckTable(ParsePrintModeList(b), b, kMaxPrintModes);
    CheckTable(ParseFontGroupList(b), b, kMaxFontGroups);
    CheckTable(ParseFontChoiceList(b), b, kMaxFontChoices);
    CheckTable(ParseOptionList(b), b, kMaxListOptions);
    CheckTable(ParseOptionList(b, kMaxShortOptions), b, kMaxShortOptions);
    CheckTable(ParseOutputBinList(b), b, kMaxOutputBins);
    CheckTable(ParseFontSetList(b), b, kMaxFontSets);
    CheckTable(ParseInstallableOptions(b), b, kMaxInstallableOptions);
    CheckTable(ParseFeatureLayout(b), b, kMaxFeatureItems);
    CheckTable(ParseMediaList(b), b, kMaxMedia);

    // The same bytes as a devmode too short or too long for its description.
    const auto inDevmode = DescriptionInDevmode(b);
    FUZZ_CHECK(inDevmode.has_value() == (size >= kDevmodeDescription + kDescriptionSize));

    // As the model's tray list and print modes, finishing a read of a model's default devmode:
    // the print-mode bytes stay or become those of one of the model's records.
    ModelEnvironment env(b, b);
    FUZZ_CHECK(env.Trays().size() <= kMaxTrays && env.PrintModes().size() <= kMaxPrintModes);
    static const Bytes before = fuzzfix::DevmodeOf(model::family::kModels[0]);
    Bytes devmode = before;
    env.FinishRead(devmode);
    for (std::size_t i = 0; i < devmode.size(); ++i)
        if (i != kPrintMode233 && i != kPrintMode234)
            FUZZ_CHECK(devmode[i] == before[i]);
    if (devmode != before)
        FUZZ_CHECK(std::any_of(env.PrintModes().begin(), env.PrintModes().end(), [&](const PrintModeEntry& e) {
            return std::uint8_t(e.secondValue) == devmode[kPrintMode234] &&
                   (std::uint8_t(e.firstValue) == devmode[kPrintMode233]);
        }));
    // A devmode cut short of the bytes is left alone.
    Bytes shortDevmode(before.begin(), before.begin() + kPrintMode234);
    env.FinishRead(shortDevmode);
    FUZZ_CHECK(std::equal(shortDevmode.begin(), shortDevmode.end(), before.begin()));
    return 0;
}
