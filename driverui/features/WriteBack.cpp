// The write-back of a feature block into a devmode, and the resolution choice both directions
// share.
#include <algorithm>

#include "DevmodeValues.h"
#include "FeatureBlock.h"
#include "Merge.h"

namespace feature {
namespace {

namespace dm = devmode;
using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;

constexpr std::int16_t kUserDefinedPaper = 256;

std::int16_t Current(ConstBytes e)
{
    return std::int16_t(Get16(e, kCurrent));
}

void WritePaperSize(ConstBytes e, Bytes d, const dm::ModelResources& resources)
{
    const std::int16_t code = Current(e);
    dm::Set(d, dm::dmPaperSize, code);
    std::int16_t width = 0, length = 0;
    if (code == kUserDefinedPaper)
        if (const auto limits = model::ParsePaperLimits(
                resources.Selected(model::kPaperLimitsType, dm::Get(d, dm::kPaperLimitNumber)))) {
            width = std::int16_t(dm::TenthsMm(limits->maxWidth));
            length = std::int16_t(dm::TenthsMm(limits->maxLength));
        }
    dm::Set(d, dm::dmPaperWidth, width);
    dm::Set(d, dm::dmPaperLength, length);
}

void WritePaperSource(ConstBytes e, Bytes d, const dm::ModelResources& resources)
{
    const std::int16_t code = Current(e);
    dm::Set(d, dm::dmDefaultSource, code);
    if (const auto trays = model::ParseTrayList(resources.Selected(model::kTrayListType, dm::Get(d, dm::kTrayListNumber))))
        for (const model::TrayEntry& t : trays->entries)
            if (t.code == code) {
                dm::Set(d, dm::kTrayByte, t.trayByte);
                return;
            }
}

void WriteText(ConstBytes e, Bytes d, int id)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < text::kTextChars; ++i) {
        const std::uint16_t c = Get16(e, text::kCurrentText + 2 * i);
        if (c == 0)
            break;
        text.push_back(char16_t(c));
    }
    dm::SetWideText(d, TextFieldOf(id), text);
}

void WriteResolution(ConstBytes e, Bytes d)
{
    const std::uint16_t choice = Get16(e, kCurrent);
    std::size_t triple = resolution::kTripleCount;
    if (choice < resolution::kTripleCount) {
        triple = choice;
    } else {
        // A value rather than a position: the triple of that resolution and the page's flag word.
        for (std::size_t i = 0; i < resolution::kTripleCount; ++i) {
            const std::size_t at = resolution::kTriples + i * resolution::kTripleSize;
            if (Get16(e, at + resolution::kDpi) == choice && Get16(e, at + resolution::kFlag) == Get16(e, resolution::kRecompute1)) {
                triple = i;
                break;
            }
        }
    }
    if (triple == resolution::kTripleCount)
        return;
    const std::size_t at = resolution::kTriples + triple * resolution::kTripleSize;
    const auto dpi = std::int16_t(Get16(e, at + resolution::kDpi));
    if (dpi <= 0)
        return;
    dm::Set(d, dm::dmPrintQuality, dpi);
    dm::Set(d, dm::dmYResolution, dpi);
    dm::Set(d, dm::kResolutionFlag, std::uint8_t(Get16(e, at + resolution::kFlag)));
}

void WritePaperTypes(ConstBytes e, Bytes d)
{
    for (std::size_t g = 0; g < paper_type::kGroupCount; ++g) {
        const std::size_t at = paper_type::kGroups + g * paper_type::kGroupSize;
        if (Get16(e, at + paper_type::kSource) == 0)
            break;
        dm::Set(d, dm::U16{std::uint16_t(dm::kPaperTypes.offset + 2 * g)}, Get16(e, at + paper_type::kChosen));
    }
}

void WriteNarrow(ConstBytes e, std::size_t at, Bytes d, dm::Block field)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < field.size; ++i) {
        const std::uint8_t c = Get8(e, at + i);
        if (c == 0)
            break;
        text.push_back(char(c));
    }
    dm::SetText(d, field, text);
}

void WriteIdentity(ConstBytes e, Bytes d)
{
    dm::Set(d, dm::kConfigKind, Get32(e, identity::kCurrentIdentity));
    const auto id = dm::MutableSlice(d, dm::kConfigId);
    for (std::size_t i = 0; i < id.size(); ++i)
        id[i] = Get8(e, identity::kCurrentIdentity + 4 + i);
}

void WriteEntry(ConstBytes e, Bytes d, const Binding& b, const dm::ModelResources& resources)
{
    switch (b.type) {
    case kValueEntry:
        if (b.writtenBack)
            WriteValue(d, ValueOf(b, d), Current(e));
        return;
    case kPaperSizeEntry: return WritePaperSize(e, d, resources);
    case kPaperSourceEntry: return WritePaperSource(e, d, resources);
    case kTrueTypeEntry: dm::Set(d, dm::dmTTOption, Current(e)); return;
    case kTextEntry: return WriteText(e, d, b.id);
    case kResolutionEntry: return WriteResolution(e, d);
    case kListEntry: return WriteListValue(b.id, d, Current(e));
    case kPrintModeEntry: dm::Set(d, dm::kCombinedPairP, std::uint8_t(Current(e))); return;
    case kPaperTypeEntry: return WritePaperTypes(e, d);
    case kFontSourceEntry:
        dm::Set(d, dm::kFontSetMask1, Get32(e, font_source::kMask));
        dm::Set(d, dm::kFontSetMask2, Get32(e, font_source::kSecond));
        return;
    case kWatermarkEntry:
        dm::Set(d, dm::kFirstPageWatermark, std::uint8_t(Get16(e, watermark::kFirstPage)));
        dm::Set(d, dm::kOtherPagesWatermark, std::uint8_t(Get16(e, watermark::kOtherPages)));
        dm::Set(d, dm::kWatermarkSwitch, std::uint8_t(Get32(e, watermark::kSwitch)));
        dm::Set(d, dm::kWatermarkPlacement, std::uint8_t(Get32(e, watermark::kPlacement)));
        return;
    case kShortListEntry: WriteValue(d, b.value, Current(e)); return;
    case kNumberEntry: dm::Set(d, dm::kFeature75, Get32(e, number::kValue)); return;
    case kHoldEntry:
        dm::Set(d, dm::kHoldMode, std::uint8_t(Current(e)));
        dm::Set(d, dm::kHoldOption, Get8(e, hold::kOption));
        WriteNarrow(e, hold::kUserName, d, dm::kHoldUserName);
        WriteNarrow(e, hold::kPin, d, dm::kHoldNumber);
        return;
    case kIdentityEntry: return WriteIdentity(e, d);
    case kAccountEntry: {
        dm::Set(d, dm::kAccountByte, std::uint8_t(Current(e)));
        const auto record = dm::MutableSlice(d, dm::kAccountData);
        for (std::size_t i = 0; i < record.size(); ++i)
            record[i] = Get8(e, account::kRecord + i);
        return;
    }
    default: return;
    }
}

}  // namespace

std::uint16_t ChoiceOf(std::span<const std::uint8_t> entry, std::span<const std::uint8_t> d)
{
    const auto quality = std::uint16_t(dm::MapPrintQuality(d, dm::Get(d, dm::dmPrintQuality)));
    const std::uint16_t flag = dm::Get(d, dm::kResolutionFlag);
    std::optional<std::uint16_t> sameResolution;
    for (std::size_t i = 0; i < resolution::kTripleCount; ++i) {
        const std::size_t at = resolution::kTriples + i * resolution::kTripleSize;
        if (Get16(entry, at + resolution::kDpi) != quality || quality == 0)
            continue;
        if (Get16(entry, at + resolution::kFlag) == flag)
            return std::uint16_t(i);
        if (!sameResolution)
            sameResolution = std::uint16_t(i);
    }
    return sameResolution.value_or(0);
}

void RecomputeResolution(std::span<std::uint8_t> entry, std::int16_t pagesPerSheet, std::int16_t graphicsMode)
{
    if (entry.size() < EntrySize(kResolutionEntry))
        return;
    const std::uint16_t choice = Get16(entry, kCurrent);
    std::uint16_t flag = 0;
    if (choice < resolution::kTripleCount && (pagesPerSheet & 0xFF) == 0 && graphicsMode != kCompatibleMode)
        flag = Get16(entry, resolution::kTriples + choice * resolution::kTripleSize + resolution::kFlag);
    Set16(entry, resolution::kRecompute1, flag);
    Set16(entry, resolution::kRecompute2, flag != 0 ? 1 : 0);
}

void WriteBack(std::span<const std::uint8_t> block, std::span<std::uint8_t> devmode,
               const devmode::ModelResources& resources)
{
    if (devmode.size() < dm::kSize)
        return;
    const RecordIndex index = IndexBlock(block);
    const auto write = [&](int id) {
        const Binding* b = Find(id);
        const ConstBytes e = RecordAt(block, index[std::size_t(id)]);
        if (b && !e.empty() && e.size() == EntrySize(b->type))
            WriteEntry(e, devmode, *b, resources);
    };
    for (int id = kFirstId; id <= kLastId; ++id)
        if (id != kQuality.id)
            write(id);
    write(kQuality.id);
    // Both overlay entries carry the placement; the first-page one wins (R34).
    for (const Binding* b : {&kFirstPageOverlay, &kOtherPagesOverlay}) {
        const ConstBytes e = RecordAt(block, index[std::size_t(b->id)]);
        if (e.size() == EntrySize(kTextEntry)) {
            dm::Set(devmode, dm::kOverlayPlacement, Get8(e, text::kPlacement));
            break;
        }
    }
}

}  // namespace feature
