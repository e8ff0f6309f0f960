#include "Merge.h"

#include <algorithm>

#include "LayoutCopy.h"
#include "Settings.h"

namespace devmode {
namespace {

struct PaperBitEntry {
    std::int16_t code;
    std::uint32_t bit;
};

constexpr PaperBitEntry kPaperBits[] = {
    {1, 0x1},        {5, 0x2},         {13, 0x4},        {9, 0x8},         {7, 0x10},
    {11, 0x20},      {37, 0x40},       {19, 0x80},       {20, 0x100},      {27, 0x200},
    {28, 0x400},     {34, 0x800},      {8, 0x2000},      {12, 0x4000},     {257, 0x8000},
    {14, 0x10000},   {6, 0x20000},     {256, 0x40000},   {258, 0x80000},   {259, 0x100000},
    {260, 0x200000}, {261, 0x400000},  {3, 0x800000},    {262, 0x1000000},
};

// Inclusive byte ranges taken from an input of this driver.
struct ByteRange {
    std::uint16_t first;
    std::uint16_t last;
};

constexpr ByteRange kPrivateRanges[] = {
    // single bytes and byte runs
    {224, 238}, {306, 306}, {432, 432}, {448, 454}, {458, 461}, {466, 467}, {602, 605},
    {650, 674}, {1076, 1083}, {1088, 1094}, {1104, 1104}, {1124, 1124}, {1226, 1249},
    // 16-bit values: 434, 456, 462, 464, 1096
    {434, 435}, {456, 457}, {462, 465}, {1096, 1097},
    // 32-bit values: 816, 820, 1084; the eleven words at 606
    {816, 823}, {1084, 1087}, {606, 649},
    // the two wide texts
    {468, 595},
    // the print-and-hold texts, the account record's four words and two texts
    {824, 853}, {1125, 1140}, {1142, 1181}, {1183, 1222},
    // the first paper-format record
    {854, 907},
};

constexpr bool InRange(std::int32_t v, std::int32_t low, std::int32_t high)
{
    return v >= low && v <= high;
}

bool InList(std::span<const std::uint8_t> d, std::int16_t value)
{
    for (std::size_t i = 0; i < kResolutionCount; ++i)
        if (Get(d, I16{std::uint16_t(kResolutionList.offset + 2 * i)}) == value)
            return true;
    return false;
}

bool PaperAccepted(const MergeModel& rules, std::int16_t code)
{
    const std::uint32_t bit = PaperBit(code);
    if (bit == 0 || !(rules.PaperSet() & bit))
        return false;
    return bit != kFormsBit || rules.FormAccepted(code);
}

bool TrayAccepted(const MergeModel& rules, std::int16_t code, std::uint16_t installed)
{
    const auto trays = rules.Trays();
    return std::any_of(trays.begin(), trays.end(),
                       [&](const model::TrayEntry& t) { return t.code == code && (t.mask & installed); });
}

bool TrueTypeAccepted(std::int16_t option, std::uint16_t flags392)
{
    switch (option) {
    case 1:
        return true;
    case 2:
        return !(flags392 & 0x2);
    case 4:
        return flags392 & 0x1;
    default:
        return false;
    }
}

// A user-defined paper's width and length, each taken only within the model's limits.
void MergeUserPaper(Buffer& r, const Buffer& in, const MergeModel& rules)
{
    if (Get(r, dmPaperSize) != 256) {
        Set(r, dmPaperWidth, 0);
        Set(r, dmPaperLength, 0);
        Set(r, dmFields, Get(r, dmFields) & ~(kFieldPaperWidth | kFieldPaperLength));
        return;
    }
    const model::PaperLimits limits = rules.UserPaperLimits().value_or(model::PaperLimits{});
    const std::int16_t width = Get(in, dmPaperWidth);
    const std::int16_t length = Get(in, dmPaperLength);
    if (InRange(width, TenthsMm(limits.minWidth), TenthsMm(limits.maxWidth)))
        Set(r, dmPaperWidth, width);
    if (InRange(length, TenthsMm(limits.minLength), TenthsMm(limits.maxLength)))
        Set(r, dmPaperLength, length);
    Set(r, dmFields, Get(r, dmFields) | kFieldPaperWidth | kFieldPaperLength);
}

void MergePrintQuality(Buffer& r, const Buffer& in, const MergeModel& rules)
{
    const std::int16_t asked = Get(in, dmPrintQuality);
    std::int16_t quality;
    if (InRange(asked, -4, -1))
        quality = MapPrintQuality(r, asked);
    else if (asked > 0 && InList(r, asked))
        quality = asked;
    else
        quality = std::int16_t(Get(r, kDefaultResolution));
    Set(r, dmPrintQuality, quality);
    if (Get(r, kResolutionFlag) != 0)
        if (const auto flag = rules.ResolutionFlag(quality))
            Set(r, kResolutionFlag, *flag);
}

// The identity of a driver configuration survives only while the settings are still its own.
void MergeConfigIdentity(Buffer& r, const Buffer& in, bool inputOurs, bool inputChecksumOk,
                         std::span<const std::uint8_t> base)
{
    if (inputOurs && inputChecksumOk && HasConfigIdentity(in) && SettingsEqual(r, in))
        CopyConfigIdentity(r, in);
    else if (HasConfigIdentity(base) && SettingsEqual(r, base))
        CopyConfigIdentity(r, base);
}

}  // namespace

std::uint32_t PaperBit(std::int32_t code)
{
    for (const PaperBitEntry& e : kPaperBits)
        if (e.code == code)
            return e.bit;
    return code >= 512 ? kFormsBit : 0;
}

std::int16_t MapPrintQuality(std::span<const std::uint8_t> d, std::int16_t quality)
{
    if (quality == 0)
        return std::int16_t(Get(d, kDefaultResolution));
    if (quality > 0)
        return quality;
    const auto entry = [&](int i) {
        return std::int16_t(Get(d, U16{std::uint16_t(kResolutionList.offset + 2 * i)}));
    };
    int first;
    switch (quality) {
    case -1: first = 3; break;
    case -2: first = 2; break;
    case -3: first = 1; break;
    default: return entry(0);
    }
    for (int i = first; i > 0; --i)
        if (entry(i) != 0)
            return entry(i);
    return entry(0);
}

std::optional<Buffer> MergeDevmode(std::span<const std::uint8_t> base,
                                   std::span<const std::uint8_t> input, const MergeModel& rules)
{
    if (base.size() < kSize)
        return std::nullopt;
    // A short or foreign layout reads as zeros beyond its declared end.
    const std::optional<Buffer> wide = Widen(input);
    if (!wide)
        return std::nullopt;
    const Buffer& in = *wide;
    const std::span<const std::uint8_t> declared = DeclaredBytes(input);
    const bool ours = IsDriverDevmode(declared);
    const bool checksumOk = ours && ChecksumMatches(declared);

    Buffer r;
    std::copy_n(base.begin(), kSize, r.begin());
    ClearConfigIdentity(r);
    const std::uint32_t fields = Get(in, dmFields) & Get(r, dmFields);
    const auto has = [fields](std::uint32_t bit) { return (fields & bit) != 0; };

    if (has(kFieldOrientation) && InRange(Get(in, dmOrientation), 1, 2))
        Set(r, dmOrientation, Get(in, dmOrientation));
    if (has(kFieldPaperSize) && PaperAccepted(rules, Get(in, dmPaperSize)))
        Set(r, dmPaperSize, Get(in, dmPaperSize));
    MergeUserPaper(r, in, rules);
    if (has(kFieldCopies) && InRange(Get(in, dmCopies), 1, 9999))
        Set(r, dmCopies, Get(in, dmCopies));
    if (has(kFieldDefaultSource) &&
        TrayAccepted(rules, Get(in, dmDefaultSource), std::uint16_t(Get(r, kInstalledTrays))))
        Set(r, dmDefaultSource, Get(in, dmDefaultSource));
    if (has(kFieldPrintQuality))
        MergePrintQuality(r, in, rules);
    if (has(kFieldYResolution) && Get(r, dmPrintQuality) > 0)
        Set(r, dmYResolution, Get(r, dmPrintQuality));
    if (ours)
        Set(r, kFinishing, Get(in, kFinishing));
    if (has(kFieldDuplex))
        Set(r, dmDuplex, Get(in, dmDuplex));
    if (has(kFieldTTOption) && TrueTypeAccepted(Get(in, dmTTOption), Get(r, kFontFlags)))
        Set(r, dmTTOption, Get(in, dmTTOption));
    if (has(kFieldDitherType) && InRange(std::int32_t(Get(in, dmDitherType)), 1, 3))
        Set(r, dmDitherType, Get(in, dmDitherType));
    if (has(kFieldColor) && InRange(Get(in, dmColor), 1, 2))
        Set(r, dmColor, Get(in, dmColor));
    if (has(kFieldCollate) && InRange(Get(in, dmCollate), 0, 1) && Get(in, kCollateAllowed) != 0)
        Set(r, dmCollate, Get(in, dmCollate));

    if (ours)
        for (const ByteRange range : kPrivateRanges)
            std::copy(in.begin() + range.first, in.begin() + range.last + 1, r.begin() + range.first);

    MergeConfigIdentity(r, in, ours, checksumOk, base);
    return r;
}

}  // namespace devmode
