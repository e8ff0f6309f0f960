#include "DefaultDevmode.h"

#include <algorithm>
#include <array>

namespace devmode {
namespace {

static_assert(model::kModelNameSize == kModelDisplayName.size);
static_assert(model::kResolutionCount == kResolutionCount);

constexpr std::int16_t kFallbackResolution = 300;
constexpr std::int16_t kFallbackTray = 1;

constexpr bool Bit(std::uint32_t word, unsigned n)
{
    return (word >> n) & 1u;
}

// Keeps the three names the caller put into the buffer across the zero fill.
class KeptNames {
public:
    explicit KeptNames(std::span<const std::uint8_t> d)
    {
        std::copy_n(d.begin() + dmDeviceName.offset, device_.size(), device_.begin());
        std::copy_n(d.begin() + kModelName.offset, model_.size(), model_.begin());
        std::copy_n(d.begin() + kPrinterName.offset, printer_.size(), printer_.begin());
    }
    void Restore(std::span<std::uint8_t> d) const
    {
        std::copy(device_.begin(), device_.end(), d.begin() + dmDeviceName.offset);
        std::copy(model_.begin(), model_.end(), d.begin() + kModelName.offset);
        std::copy(printer_.begin(), printer_.end(), d.begin() + kPrinterName.offset);
    }

private:
    std::array<std::uint8_t, 2 * dmDeviceName.chars> device_;
    std::array<std::uint8_t, kModelName.size> model_;
    std::array<std::uint8_t, kPrinterName.size> printer_;
};

void SetPublicDefaults(std::span<std::uint8_t> d, const DefaultsInput& in,
                       const ModelResources& resources)
{
    const std::uint16_t flags392 = Get(d, kFontFlags);
    const std::uint16_t flags394 = Get(d, kOptionFlags);
    const std::uint16_t flags396 = Get(d, kPaperHandlingFlags);
    const std::uint16_t flags400 = Get(d, kColourFlags);
    const bool dialogSelector = Get(d, kDialogSelector) != 0;
    std::uint32_t fields = kDefaultFields;

    Set(d, dmSpecVersion, kSpecVersionValue);
    Set(d, dmDriverVersion, kDriverVersionValue);
    Set(d, dmSize, std::uint16_t(kPublicSize));
    Set(d, dmDriverExtra, std::uint16_t(kPrivateSize));
    Set(d, dmOrientation, 1);
    Set(d, dmPaperSize, in.usa ? 1 : 9);
    Set(d, dmCopies, 1);
    const auto trays = model::ParseTrayList(
        resources.Selected(model::kTrayListType, Get(d, kTrayListNumber)));
    const model::TrayEntry* tray = trays ? model::DefaultTray(*trays) : nullptr;
    Set(d, dmDefaultSource, tray ? tray->code : kFallbackTray);
    if (Bit(flags400, 3) && !Bit(flags394, 5)) {
        Set(d, dmColor, 2);
        fields |= kFieldColor;
    } else {
        Set(d, dmColor, 1);
        if (dialogSelector && Bit(flags394, 5))
            fields |= kFieldColor;
    }
    Set(d, dmDuplex, 1);
    Set(d, dmTTOption, Bit(flags392, 1) ? 1 : 2);
    if (Bit(flags396, 2)) {
        Set(d, dmCollate, 1);
        fields |= kFieldCollate;
    }
    Set(d, dmMediaType, 1u);
    Set(d, dmDitherType, 3u);
    Set(d, dmFields, fields);
}

// Step 5 of the build: the list without repeats of the value stored just before, the default
// resolution and its flag byte.
void SetResolutions(std::span<std::uint8_t> d, const ModelResources& resources)
{
    const auto list = model::ParseResolutionList(
        resources.Selected(model::kResolutionListType, Get(d, kResolutionListNumber)));
    if (!list) {
        for (std::size_t i = 0; i < kResolutionCount; ++i)
            Set(d, I16{std::uint16_t(kResolutionList.offset + 2 * i)}, kFallbackResolution);
        Set(d, kDefaultResolution, std::uint16_t(kFallbackResolution));
        return;
    }
    // The first comparison is with the word at 434, as the devmode table has it (R11).
    std::uint16_t previous = Get(d, kInstalledMemory);
    std::size_t stored = 0;
    for (const model::ResolutionEntry& entry : list->entries) {
        if (entry.dpi == previous)
            continue;
        Set(d, U16{std::uint16_t(kResolutionList.offset + 2 * stored++)}, entry.dpi);
        previous = entry.dpi;
    }
    if (const model::ResolutionEntry* def = model::DefaultResolution(*list)) {
        Set(d, kDefaultResolution, def->dpi);
        Set(d, kResolutionFlag, def->flag);
    } else {
        Set(d, kDefaultResolution, std::uint16_t(kFallbackResolution));
    }
}

bool FarEastCodePage(std::uint32_t cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950;
}

void SetPrivateDefaults(std::span<std::uint8_t> d, const DefaultsInput& in,
                        const ModelResources& resources)
{
    const std::uint16_t flags392 = Get(d, kFontFlags);
    const std::uint8_t flags393 = Get(d, kFontFlagsHigh);
    const std::uint16_t flags396 = Get(d, kPaperHandlingFlags);
    const std::uint16_t flags398 = Get(d, kFinishingFlags);
    const std::uint16_t flags400 = Get(d, kColourFlags);
    const bool dialogSelector = Get(d, kDialogSelector) != 0;
    const std::uint16_t family = Get(d, kModelFamily);

    Set(d, kSignature1, kSignatureValue);
    Set(d, kSignature2, kSignatureValue);
    Set(d, kSignature3, kSignatureValue);
    Set(d, kLayoutVersion, kLayoutVersionValue);

    Set(d, kFeature12, Bit(flags393, 2) ? 0 : 1);
    Set(d, kFeature60, FarEastCodePage(in.codePage) || Bit(flags393, 2) ? 0 : 1);
    Set(d, kFeature87, 2);
    Set(d, kByte228, 255);
    const auto modes = model::ParseModeList(resources.Selected(model::kGraphicsModeListType, Get(d, kGraphicsModeListNumber)));
    Set(d, kGraphicsMode, std::uint8_t(modes ? modes->header.defaultMode : 0));
    Set(d, kDefaultGraphicsMode, modes ? modes->header.defaultMode : 0);
    Set(d, kGraphicsModeWord, modes ? modes->header.modeWord : 0);
    Set(d, kFeature14, 2);
    // A type 284 list, when the model has one, replaces type 263.
    const std::uint16_t word362 = Get(d, kGraphicsG1ListNumber);
    auto options = model::ParseGraphicsG1List(resources.Selected(model::kGraphicsG1AltListType, word362));
    if (!options)
        options = model::ParseGraphicsG1List(resources.Selected(model::kGraphicsG1ListType, word362));
    Set(d, kGraphicsG1, std::uint8_t(options ? options->header.defaultValue : 0));
    // The first print mode gives the defaults.
    const auto printModes =
        model::ParsePrintModeList(resources.Selected(model::kPrintModeListType, Get(d, kPrintModeListNumber)));
    if (printModes && !printModes->entries.empty()) {
        Set(d, kCombinedPairP, std::uint8_t(printModes->entries[0].firstValue));
        Set(d, kCombinedPairQ, std::uint8_t(printModes->entries[0].secondValue));
    }

    Set(d, kByte432, 255);
    Set(d, kInstalledMemory, Get(d, kMemoryMinimum));
    SetResolutions(d, resources);

    Set(d, kByte453, Bit(flags400, 2) ? 0 : 1);
    Set(d, kFeature53, dialogSelector ? 1 : 0);
    std::uint8_t finishing = (Bit(flags396, 11) ? 1 : 0) | (Bit(flags396, 12) ? 2 : 0);
    if (finishing == 0 && Bit(flags398, 2))
        finishing = 3;
    Set(d, kFinishing, finishing);
    Set(d, kRangeWord51, Get(d, kToolkitOption1) == 2 ? 1 : 0);
    Set(d, kRangeWord52, Get(d, kToolkitOption2) == 2 ? 1 : 0);
    const auto inputs = model::ParseInstallableOptions(
        resources.Selected(model::kInputOptionsType, Get(d, kInputOptionsNumber)));
    Set(d, kInstalledTrays, std::int16_t(inputs ? inputs->header.defaultValue : 0xFFFF));
    const auto outputs = model::ParseInstallableOptions(
        resources.Selected(model::kOutputOptionsType, Get(d, kOutputOptionsNumber)));
    Set(d, kFeature82, std::int16_t(outputs ? outputs->header.defaultValue : 0));
    Set(d, kFeature71, 1);
    Set(d, kSoftwareEnable, BeginsWithBrandWord(in.name) || family == 44 || family == 45 ? 1 : 0);
    Set(d, kColourC3, dialogSelector ? 4 : 0);
    Set(d, kFeature33, 10);
    Set(d, kFeature37, 10);
    Set(d, kFeature41, 10);
    Set(d, kWatermarkPlacement, dialogSelector ? 1 : 0);
    Set(d, kFontSetMask1, 0x80000001u);
    Set(d, kFontSetMask2, 0u);
    if (in.codePageSupported)
        ApplyFontSets(d, resources, in.codePageSupported);
    Set(d, kFeature69, 1);
    Set(d, kFeature84, 1);
    Set(d, kFeature90, 16);
    Set(d, kByte1093, 1);
    Set(d, kConfigKind, 4u);
    Set(d, kCollateAllowed, 1);
    Set(d, U32{kConfigId.offset}, 1u);
    const std::uint32_t cp = in.codePage;
    const bool feature100 = (cp == 949 && Bit(flags392, 4)) || (cp == 936 && Bit(flags392, 5)) ||
                            (cp == 950 && Bit(flags392, 6));
    Set(d, kFeature100, feature100 ? 1 : 0);
}

}  // namespace

std::string_view ReducePrinterName(std::string_view name)
{
    if (name.size() < 2 || name[0] != '\\' || name[1] != '\\')
        return name;
    return name.substr(name.find_last_of('\\') + 1);
}

bool BeginsWithBrandWord(std::string_view name)
{
    if (name.size() < kBrandWord.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(kBrandWord.begin(), kBrandWord.end(), name.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

void BuildDefaultDevmode(std::span<std::uint8_t> d, const DefaultsInput& in,
                         const ModelResources& resources)
{
    if (d.size() < kSize)
        return;
    d = d.first(kSize);
    const KeptNames names(d);
    std::fill(d.begin(), d.end(), 0);
    names.Restore(d);

    if (in.displayName)
        SetText(d, kModelDisplayName, *in.displayName);
    const std::size_t description = std::min(in.description.size(), model::kDescriptionSize);
    std::copy_n(in.description.begin(), description, d.begin() + kModelDescription.offset);

    SetPublicDefaults(d, in, resources);
    SetPrivateDefaults(d, in, resources);

    const std::int16_t quality =
        MapPrintQuality(d, std::int16_t(Get(d, kDefaultResolution)));
    Set(d, dmPrintQuality, quality);
    Set(d, dmYResolution, quality);
    UpdateChecksum(d);
}

void ApplyFontSets(std::span<std::uint8_t> d, const ModelResources& resources,
                   const std::function<bool(std::uint16_t)>& codePageSupported)
{
    const auto masks = SupportedFontSets(
        resources.Selected(model::kFontSetListType, Get(d, kFontSetListNumber)), codePageSupported);
    if (!masks)
        return;
    Set(d, kFontSetMask1, Get(d, kFontSetMask1) & masks->firstMask);
    Set(d, kFontSetMask2, Get(d, kFontSetMask2) & masks->secondMask);
}

}  // namespace devmode
