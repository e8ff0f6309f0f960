#include "Settings.h"

#include <algorithm>

namespace devmode {
namespace {

// Inclusive byte ranges.
struct ByteRange {
    std::uint16_t first;
    std::uint16_t last;
};

constexpr ByteRange kSettingBytes[] = {
    {225, 227}, {229, 234}, {236, 237}, {448, 450}, {458, 458}, {466, 467}, {603, 605},
    {650, 674}, {1077, 1083}, {1088, 1091}, {1094, 1094}, {1124, 1124}, {1226, 1249},
};

constexpr I16 kPublicSettings[] = {
    dmOrientation, dmPaperSize, dmCopies, dmDefaultSource, dmPrintQuality, dmColor,
    dmDuplex, dmTTOption, dmCollate,
};
constexpr U32 kPublicSettings32[] = {dmICMMethod, dmICMIntent, dmDitherType};

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

template <class Text>
bool EqualWithoutCase(const Text& a, const Text& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](auto x, auto y) { return FoldAscii(x) == FoldAscii(y); });
}

bool BytesEqual(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, ByteRange r)
{
    for (std::size_t i = r.first; i <= r.last; ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            return false;
    return true;
}

// The values that follow the hardware, in the order they are refreshed.
constexpr U8 kHardwareBytes[] = {
    kFeature11, kCollateAllowed, kFinishing, kRangeWord51, kRangeWord52, kFeature70, kFeature84,
    kFeature102, kFeature100, kFeature113,
};
constexpr I16 kHardwareWords[] = {kInstalledTrays, kFeature82};

}  // namespace

bool SettingsEqual(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    if (a.size() < kSize || b.size() < kSize)
        return false;
    for (const I16 f : kPublicSettings)
        if (Get(a, f) != Get(b, f))
            return false;
    for (const U32 f : kPublicSettings32)
        if (Get(a, f) != Get(b, f))
            return false;
    for (const ByteRange r : kSettingBytes)
        if (!BytesEqual(a, b, r))
            return false;
    if (Get(a, kSecondPaperSize) != Get(b, kSecondPaperSize) ||
        Get(a, kFontSetMask1) != Get(b, kFontSetMask1) ||
        Get(a, kFeature75) != Get(b, kFeature75))
        return false;
    for (std::size_t i = 0; i < kFontWordCount; ++i) {
        const U32 word{std::uint16_t(kFontWords.offset + 4 * i)};
        if (Get(a, word) != Get(b, word))
            return false;
    }
    return EqualWithoutCase(GetWideText(a, kFirstPageOverlay), GetWideText(b, kFirstPageOverlay)) &&
           EqualWithoutCase(GetWideText(a, kOtherPagesOverlay), GetWideText(b, kOtherPagesOverlay)) &&
           EqualWithoutCase(GetText(a, kHoldUserName), GetText(b, kHoldUserName)) &&
           EqualWithoutCase(GetText(a, kHoldNumber), GetText(b, kHoldNumber));
}

void CopyHardwareValues(std::span<std::uint8_t> to, std::span<const std::uint8_t> fresh)
{
    Set(to, kInstalledMemory, Get(fresh, kInstalledMemory));
    for (const U8 f : kHardwareBytes)
        Set(to, f, Get(fresh, f));
    for (const I16 f : kHardwareWords)
        Set(to, f, Get(fresh, f));
    if (Get(fresh, kOptionFlags) & 0x4)
        Set(to, kAccountByte, Get(fresh, kAccountByte));
}

bool HasConfigIdentity(std::span<const std::uint8_t> d)
{
    const auto id = Slice(d, kConfigId);
    return Get(d, kConfigKind) != 0 && id.size() == kConfigId.size &&
           std::any_of(id.begin(), id.end(), [](std::uint8_t b) { return b != 0; });
}

void ClearConfigIdentity(std::span<std::uint8_t> d)
{
    Set(d, kConfigKind, 0u);
    const auto id = MutableSlice(d, kConfigId);
    std::fill(id.begin(), id.end(), 0);
}

void CopyConfigIdentity(std::span<std::uint8_t> to, std::span<const std::uint8_t> from)
{
    Set(to, kConfigKind, Get(from, kConfigKind));
    const auto source = Slice(from, kConfigId);
    const auto target = MutableSlice(to, kConfigId);
    std::copy_n(source.begin(), std::min(source.size(), target.size()), target.begin());
}

}  // namespace devmode
