#include "PaperList.h"

#include "DevmodeLayout.h"
#include "Merge.h"

namespace caps {
namespace {

constexpr std::int16_t kLastStandardCode = 68;
constexpr std::int16_t kFirstDriverCode = 256;
constexpr std::int16_t kLastDriverCode = 262;
constexpr std::uint8_t kCompatibleMode = 2;    // byte 229: no custom forms
constexpr std::uint8_t kFormsAnyMode = 0x80;   // model flag byte 397, bit 7

// The size of the paper as the devmode holds it (orientation, and the flag byte 237).
std::optional<PaperListEntry> Sized(std::span<const std::uint8_t> devmode, std::int16_t code,
                                    const PrinterForms& forms, const std::optional<model::PaperLimits>& limits)
{
    PaperFormatRequest request;
    request.code = code;
    request.orientation = devmode::Get(devmode, devmode::dmOrientation);
    request.flag = devmode::Get(devmode, devmode::kFeature19);
    const auto record = ComputePaperFormat(devmode, request, forms, limits);
    if (!record)
        return std::nullopt;
    PaperListEntry e;
    e.code = code;
    e.width = TenthsOfMm(RecordWord(*record, paperformat::kPhysicalWidth));
    e.length = TenthsOfMm(RecordWord(*record, paperformat::kPhysicalLength));
    return e;
}

bool FitsLimits(const SpoolerForm& f, const std::optional<model::PaperLimits>& limits)
{
    if (!limits)
        return false;
    return f.width >= MicronsOf(limits->minWidth) && f.width <= MicronsOf(limits->maxWidth) &&
           f.length >= MicronsOf(limits->minLength) && f.length <= MicronsOf(limits->maxLength);
}

}  // namespace

bool OffersForms(std::span<const std::uint8_t> devmode)
{
    const std::uint32_t set = PaperSetMask(devmode::Get(devmode, devmode::kPaperSetIndex));
    return (set & devmode::kFormsBit) &&
           (devmode::Get(devmode, devmode::kGraphicsMode) != kCompatibleMode ||
            (devmode::Get(devmode, devmode::kPaperHandlingFlagsHigh) & kFormsAnyMode));
}

std::vector<PaperListEntry> BuildPaperList(std::span<const std::uint8_t> devmode, const PrinterForms& forms,
                                           const std::optional<model::PaperLimits>& limits)
{
    std::vector<PaperListEntry> list;
    const std::uint32_t set = PaperSetMask(devmode::Get(devmode, devmode::kPaperSetIndex));
    const auto builtIn = [&](std::int16_t code) {
        const std::uint32_t bit = devmode::PaperBit(code);
        if (bit == 0 || bit == devmode::kFormsBit || !(set & bit))
            return;
        if (auto e = Sized(devmode, code, forms, limits)) {
            e->logicalName = LogicalNameOfBit(bit);
            list.push_back(std::move(*e));
        }
    };
    for (std::int16_t code = 1; code <= kLastStandardCode; ++code)
        builtIn(code);
    for (std::int16_t code = kFirstDriverCode; code <= kLastDriverCode; ++code)
        builtIn(code);

    const bool offersForms = OffersForms(devmode);
    const auto stored = [&](const StoredForm& f) {
        if (auto e = Sized(devmode, f.code, forms, limits)) {
            e->name = f.name;
            list.push_back(std::move(*e));
        }
    };
    if (offersForms)
        for (const StoredForm& f : forms.user)
            if (f.code >= kFirstUserForm && f.code <= kLastUserForm)
                stored(f);
    for (const StoredForm& f : forms.associations)
        stored(f);
    if (offersForms)
        for (std::size_t i = 0; i < forms.spooler.size(); ++i) {
            if (!FitsLimits(forms.spooler[i], limits) || kFirstSpoolerForm + i > INT16_MAX)
                continue;
            if (auto e = Sized(devmode, std::int16_t(kFirstSpoolerForm + i), forms, limits)) {
                e->name = forms.spooler[i].name;
                list.push_back(std::move(*e));
            }
        }
    return list;
}

}  // namespace caps
