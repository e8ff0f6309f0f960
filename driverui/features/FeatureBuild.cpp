// The feature layout, the block builder and the walk over a block.
#include <algorithm>
#include <cstring>

#include "DevmodeValues.h"
#include "FeatureBlock.h"
#include "Merge.h"

namespace feature {
namespace {

namespace dm = devmode;
using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;

constexpr std::size_t kLayoutItemSize = 10;

// The model word that selects a resource, from the working devmode's model record.
std::span<const std::uint8_t> Selected(const BuildSource& s, int type, dm::U16 word)
{
    return s.resources ? s.resources->Selected(type, dm::Get(s.working, word)) : std::span<const std::uint8_t>();
}

void PutOption(Bytes entry, std::size_t at, std::int16_t value, std::uint16_t name, std::uint16_t third)
{
    Set16(entry, at, std::uint16_t(value));
    Set16(entry, at + 2, name);
    Set16(entry, at + 4, third);
}

// A type-7 list from resource pairs or triples, at most list::kMaxOptions, ended by kListEnd.
template <class Options, class Third>
void PutOptions(Bytes entry, const Options& options, Third third)
{
    std::size_t n = 0;
    for (const auto& o : options) {
        if (n == list::kMaxOptions)
            break;
        PutOption(entry, list::kOptions + n * list::kOptionSize, o.value, o.name, third(o));
        ++n;
    }
    Set16(entry, list::kOptions + n * list::kOptionSize, kListEnd);
}

void BuildValue(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    std::int16_t minimum = item.minimum, maximum = item.maximum;
    const Binding* b = Find(item.feature);
    if (b && b->type == kValueEntry) {
        const DevmodeValue v = ValueOf(*b, s.working);
        Set16(e, kCurrent, std::uint16_t(ReadValue(s.working, v, true)));
        Set16(e, kDefault, std::uint16_t(ReadValue(s.defaults, v, false)));
        if (b->range == Range::MemoryWords) {
            minimum = std::int16_t(dm::Get(s.working, dm::kMemoryMinimum));
            maximum = std::int16_t(dm::Get(s.working, dm::kMemoryMaximum));
        } else if (b->range == Range::RangeByte) {
            maximum = std::int16_t(ReadValue(s.working, b->rangeSource, true));
        }
    }
    Set16(e, value::kMinimum, std::uint16_t(minimum));
    Set16(e, value::kMaximum, std::uint16_t(maximum));
}

void BuildPaperSize(Bytes e, const BuildSource& s)
{
    Set16(e, kCurrent, std::uint16_t(dm::Get(s.working, dm::dmPaperSize)));
    Set16(e, kDefault, std::uint16_t(dm::Get(s.defaults, dm::dmPaperSize)));
    const std::uint16_t flags396 = dm::Get(s.working, dm::kPaperHandlingFlags);
    const bool userSizes = (flags396 & 0x4000) &&
                           (dm::Get(s.working, dm::kGraphicsMode) != kCompatibleMode || (flags396 & kFormsInCompatibleMode));
    for (std::size_t i = 0; i < paper_size::kUserWordCount; ++i)
        Set16(e, paper_size::kUserWords + 2 * i, userSizes ? paper_size::kUserWordValues[i] : 0);
    Set16(e, paper_size::kResolutionWord, 1200);
}

void BuildPaperSource(Bytes e, const BuildSource& s)
{
    Set16(e, kCurrent, std::uint16_t(dm::Get(s.working, dm::dmDefaultSource)));
    Set16(e, kDefault, std::uint16_t(dm::Get(s.defaults, dm::dmDefaultSource)));
    const auto trays = model::ParseTrayList(Selected(s, model::kTrayListType, dm::kTrayListNumber));
    if (!trays)
        return;
    bool specialMedia = false;
    std::size_t n = 0;
    for (const model::TrayEntry& t : trays->entries) {
        if (s.resources)
            if (const auto media = model::ParseMediaList(s.resources->Resource(model::kMediaListType, t.mediaList)))
                for (const model::MediaEntry& m : media->entries)
                    specialMedia = specialMedia || m.number >= model::kFirstSpecialMedia;
        if (n == paper_source::kMaxTrays)
            continue;
        const std::size_t at = paper_source::kTrays + n++ * paper_source::kTraySize;
        Set16(e, at + paper_source::kTrayMask, t.mask);
        Set16(e, at + paper_source::kTrayCode, std::uint16_t(t.code));
        Set16(e, at + paper_source::kTrayNumber, t.number);
        Set16(e, at + paper_source::kTrayFlags, t.flags);
    }
    Set16(e, paper_source::kMediaFlag, specialMedia ? 1 : 0);
}

void BuildTrueType(Bytes e, const BuildSource& s)
{
    Set16(e, kCurrent, std::uint16_t(dm::Get(s.working, dm::dmTTOption)));
    Set16(e, kDefault, std::uint16_t(dm::Get(s.defaults, dm::dmTTOption)));
    Set8(e, truetype::kChoice1, 1);
    Set8(e, truetype::kChoice2, dm::Get(s.working, dm::kFeature47Low) == 0 ? 1 : 0);
    Set8(e, truetype::kChoice4, (dm::Get(s.working, dm::kFontFlags) & kFontHandling4Allowed) ? 1 : 0);
}

void PutText(Bytes e, std::size_t at, ConstBytes d, dm::WideText field)
{
    const std::u16string text = dm::GetWideText(d, field);
    const std::size_t n = std::min(text.size(), text::kTextChars - 1);
    for (std::size_t i = 0; i < n; ++i)
        Set16(e, at + 2 * i, std::uint16_t(text[i]));
}

void BuildText(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    const dm::WideText field = TextFieldOf(item.feature);
    PutText(e, text::kCurrentText, s.working, field);
    PutText(e, text::kDefaultText, s.defaults, field);
    Set8(e, text::kPlacement, dm::Get(s.working, dm::kOverlayPlacement));
    Set8(e, text::kDefaultPlacement, dm::Get(s.defaults, dm::kOverlayPlacement));
}

void BuildResolution(Bytes e, const BuildSource& s)
{
    const auto list = model::ParseResolutionList(Selected(s, model::kResolutionListType, dm::kResolutionListNumber));
    std::size_t n = 0;
    if (list) {
        const bool enhancedOnly = dm::Get(s.working, dm::kGraphicsMode) == kEnhancedOnlyMode;
        for (const model::ResolutionEntry& r : list->entries) {
            if (enhancedOnly && (r.dpi != 600 || r.flag == 0))
                continue;
            const std::size_t at = resolution::kTriples + n++ * resolution::kTripleSize;
            Set16(e, at + resolution::kDpi, r.dpi);
            Set16(e, at + resolution::kName, r.nameIndex);
            Set16(e, at + resolution::kFlag, r.flag);
        }
    }
    Set16(e, kCurrent, ChoiceOf(e, s.working));
    Set16(e, kDefault, ChoiceOf(e, s.defaults));
    RecomputeResolution(e, std::int16_t(ReadValue(s.working, kPagesPerSheet.value, true)),
                        std::int16_t(dm::Get(s.working, dm::kGraphicsMode)));
}

void BuildList(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    const ListSource source = ListSourceOf(item.feature);
    Set16(e, kCurrent, std::uint16_t(ReadListValue(item.feature, s.working)));
    Set16(e, kDefault, std::uint16_t(ReadListValue(item.feature, s.defaults)));
    const auto none = [](const auto&) { return std::uint16_t(0); };
    switch (source.kind) {
    case ListSource::Pairs:
        if (const auto options = model::ParseOptionList(Selected(s, source.type, source.word))) {
            PutOptions(e, options->entries, none);
            return;
        }
        break;
    case ListSource::Defaulted:
        if (const auto options = model::ParseGraphicsG1List(Selected(s, source.type, source.word))) {
            PutOptions(e, options->entries, none);
            return;
        }
        break;
    case ListSource::Modes:
        if (const auto modes = model::ParseModeList(Selected(s, source.type, source.word))) {
            PutOptions(e, modes->entries, none);
            return;
        }
        break;
    case ListSource::Bins:
        if (const auto bins = model::ParseOutputBinList(Selected(s, source.type, source.word))) {
            PutOptions(e, bins->entries, [](const model::OutputBinEntry& b) { return b.requiredOptions; });
            return;
        }
        break;
    case ListSource::Range: {
        // The layout's range, each value its own name index (R26).
        std::vector<model::OptionPair> options;
        for (int v = item.minimum; v <= item.maximum && options.size() < list::kMaxOptions; ++v)
            options.push_back({std::int16_t(v), std::uint16_t(v)});
        PutOptions(e, options, none);
        return;
    }
    case ListSource::None:
        break;
    }
    Set16(e, list::kOptions, kListEnd);
}

void BuildPrintModes(Bytes e, const BuildSource& s)
{
    Set16(e, kCurrent, dm::Get(s.working, dm::kCombinedPairP));
    Set16(e, kDefault, dm::Get(s.defaults, dm::kCombinedPairP));
    std::size_t n = 0;
    if (const auto modes = model::ParsePrintModeList(Selected(s, model::kPrintModeListType, dm::kPrintModeListNumber)))
        for (const model::PrintModeEntry& m : modes->entries) {
            if (n == print_mode::kMaxModes)
                break;
            const std::size_t at = print_mode::kModes + n++ * print_mode::kModeSize;
            Set16(e, at, m.firstValue);
            Set16(e, at + 2, m.secondValue);
            Set16(e, at + 4, m.maxResolution);
            Set16(e, at + 6, m.name);
        }
    Set16(e, print_mode::kModes + n * print_mode::kModeSize, kListEnd);
}

void BuildPaperTypes(Bytes e, const BuildSource& s)
{
    const auto trays = model::ParseTrayList(Selected(s, model::kTrayListType, dm::kTrayListNumber));
    if (!trays)
        return;
    const auto types = model::ParsePaperTypeList(Selected(s, model::kPaperTypeListType, dm::kTrayListNumber));
    const std::size_t groups = std::min(trays->entries.size(), paper_type::kGroupCount);
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t at = paper_type::kGroups + g * paper_type::kGroupSize;
        Set16(e, at + paper_type::kSource, std::uint16_t(trays->entries[g].code));
        Set16(e, at + paper_type::kChosen,
              dm::Get(s.working, dm::U16{std::uint16_t(dm::kPaperTypes.offset + 2 * g)}));
        std::size_t n = 0;
        if (types)
            for (const model::PaperTypeEntry& t : types->entries) {
                if (t.tray != g || n == paper_type::kMaxTypes)
                    continue;
                const std::size_t type = at + paper_type::kTypes + n++ * paper_type::kTypeSize;
                Set16(e, type, std::uint16_t(t.value));
                Set16(e, type + 2, t.name);
            }
        Set16(e, at + paper_type::kTypes + n * paper_type::kTypeSize, kListEnd);
    }
}

void BuildFontSources(Bytes e, const BuildSource& s)
{
    Set32(e, font_source::kMask, dm::Get(s.working, dm::kFontSetMask1));
    Set32(e, font_source::kMaskDefault, dm::Get(s.defaults, dm::kFontSetMask1));
    Set32(e, font_source::kSecond, dm::Get(s.working, dm::kFontSetMask2));
    Set32(e, font_source::kSecondDefault, dm::Get(s.defaults, dm::kFontSetMask2));
}

void BuildWatermarks(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    Set16(e, watermark::kMinimum, std::uint16_t(item.minimum));
    Set16(e, watermark::kMaximum, std::uint16_t(item.maximum));
    Set16(e, watermark::kFirstPage, dm::Get(s.working, dm::kFirstPageWatermark));
    Set16(e, watermark::kFirstPageDefault, dm::Get(s.defaults, dm::kFirstPageWatermark));
    Set16(e, watermark::kOtherPages, dm::Get(s.working, dm::kOtherPagesWatermark));
    Set16(e, watermark::kOtherPagesDefault, dm::Get(s.defaults, dm::kOtherPagesWatermark));
    Set32(e, watermark::kSwitch, dm::Get(s.working, dm::kWatermarkSwitch));
    Set32(e, watermark::kSwitchDefault, dm::Get(s.defaults, dm::kWatermarkSwitch));
    Set32(e, watermark::kPlacement, dm::Get(s.working, dm::kWatermarkPlacement));
    Set32(e, watermark::kPlacementDefault, dm::Get(s.defaults, dm::kWatermarkPlacement));
}

void BuildShortList(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    const DevmodeValue v = ShortListValueOf(item.feature);
    Set16(e, kCurrent, std::uint16_t(ReadValue(s.working, v, true)));
    Set16(e, kDefault, std::uint16_t(ReadValue(s.defaults, v, false)));
    std::size_t n = 0;
    if (v.width != Width::None)
        if (const auto options = model::ParseOptionList(Selected(s, model::kShortOptionListType, dm::kShortOptionListNumber),
                                                        model::kMaxShortOptions))
            for (const model::OptionPair& o : options->entries) {
                if (n == short_list::kMaxPairs)
                    break;
                Set16(e, short_list::kPairs + n * short_list::kPairSize, std::uint16_t(o.value));
                Set16(e, short_list::kPairs + n++ * short_list::kPairSize + 2, o.name);
            }
    Set16(e, short_list::kPairs + n * short_list::kPairSize, kListEnd);
}

void BuildNumber(Bytes e, const BuildSource& s)
{
    Set32(e, number::kValue, dm::Get(s.working, dm::kFeature75));
    Set32(e, number::kDefault, dm::Get(s.defaults, dm::kFeature75));
}

void PutNarrow(Bytes e, std::size_t at, std::size_t size, std::string_view text)
{
    const std::size_t n = std::min(text.size(), size - 1);
    for (std::size_t i = 0; i < n; ++i)
        Set8(e, at + i, std::uint8_t(text[i]));
}

void BuildHold(Bytes e, const BuildSource& s)
{
    Set16(e, kCurrent, dm::Get(s.working, dm::kHoldMode));
    Set16(e, kDefault, dm::Get(s.defaults, dm::kHoldMode));
    Set8(e, hold::kOption, dm::Get(s.working, dm::kHoldOption));
    // The field keeps 24 characters and a zero, the logged-on user's name included.
    std::string_view name = dm::GetText(s.working, dm::kHoldUserName);
    if (name.empty())
        name = s.userName;
    PutNarrow(e, hold::kUserName, dm::kHoldUserName.size, name);
    PutNarrow(e, hold::kPin, dm::kHoldNumber.size, dm::GetText(s.working, dm::kHoldNumber));
    const std::uint16_t flags400 = dm::Get(s.working, dm::kColourFlags);
    Set16(e, hold::kTypeWord, std::uint16_t(((flags400 >> 10) & 1 ? 8 : 0) | ((flags400 >> 13) & 1 ? 16 : 0)));
}

void PutIdentity(Bytes e, std::size_t at, ConstBytes d)
{
    Set32(e, at, dm::Get(d, dm::kConfigKind));
    const auto id = dm::Slice(d, dm::kConfigId);
    for (std::size_t i = 0; i < id.size() && i + 4 < identity::kIdentitySize + 1; ++i)
        Set8(e, at + 4 + i, id[i]);
}

void BuildIdentity(Bytes e, const BuildSource& s)
{
    PutIdentity(e, identity::kCurrentIdentity, s.working);
    PutIdentity(e, identity::kDefaultIdentity, s.defaults);
}

void BuildAccount(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    Set16(e, kCurrent, dm::Get(s.working, dm::kAccountByte));
    Set16(e, kDefault, dm::Get(s.defaults, dm::kAccountByte));
    Set16(e, account::kMinimum, std::uint16_t(item.minimum));
    Set16(e, account::kMaximum, std::uint16_t(item.maximum));
    const auto record = dm::Slice(s.working, dm::kAccountData);
    for (std::size_t i = 0; i < record.size(); ++i)
        Set8(e, account::kRecord + i, record[i]);
}

void BuildEntry(Bytes e, const model::FeatureItem& item, const BuildSource& s)
{
    Set16(e, kRecordSize, std::uint16_t(e.size()));
    Set16(e, kRecordId, std::uint16_t(item.feature));
    Set8(e, kConstrained, item.constrained ? 1 : 0);
    switch (item.type) {
    case kValueEntry: return BuildValue(e, item, s);
    case kPaperSizeEntry: return BuildPaperSize(e, s);
    case kPaperSourceEntry: return BuildPaperSource(e, s);
    case kTrueTypeEntry: return BuildTrueType(e, s);
    case kTextEntry: return BuildText(e, item, s);
    case kResolutionEntry: return BuildResolution(e, s);
    case kListEntry: return BuildList(e, item, s);
    case kPrintModeEntry: return BuildPrintModes(e, s);
    case kPaperTypeEntry: return BuildPaperTypes(e, s);
    case kFontSourceEntry: return BuildFontSources(e, s);
    case kWatermarkEntry: return BuildWatermarks(e, item, s);
    case kShortListEntry: return BuildShortList(e, item, s);
    case kNumberEntry: return BuildNumber(e, s);
    case kHoldEntry: return BuildHold(e, s);
    case kIdentityEntry: return BuildIdentity(e, s);
    case kAccountEntry: return BuildAccount(e, item, s);
    default: return;
    }
}

}  // namespace

std::optional<std::vector<model::FeatureItem>> ReadLayout(std::span<const std::uint8_t> bytes)
{
    bytes = bytes.first(std::min(bytes.size(), model::kMaxLayoutBytes));
    if (bytes.size() < 2)
        return std::nullopt;
    const auto count = std::int16_t(Get16(bytes, 0));
    if (count < 0)
        return std::nullopt;
    const std::size_t n = std::min<std::size_t>(std::size_t(count), (bytes.size() - 2) / kLayoutItemSize);
    std::vector<model::FeatureItem> items;
    items.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const model::FeatureItem item = *model::ReadRecord<model::FeatureItem>(bytes, 2 + i * kLayoutItemSize);
        if (item.feature < kFirstId || item.feature > kLastId || item.feature == kHeaderId)
            return std::nullopt;
        if (item.type < kFirstType || item.type > kLastType)
            return std::nullopt;
        const Binding* b = Find(item.feature);
        if (b && item.type != kNoEntry && item.type != b->type)
            return std::nullopt;
        items.push_back(item);
    }
    return items;
}

std::size_t BlockSize(std::span<const model::FeatureItem> items)
{
    std::size_t size = kHeaderSize + kBlockSlack;
    for (const model::FeatureItem& item : items)
        size += EntrySize(item.type);
    return size;
}

bool BuildBlock(std::span<std::uint8_t> out, std::span<const model::FeatureItem> items, const BuildSource& source)
{
    const std::size_t size = BlockSize(items);
    if (out.size() < size || source.working.size() < dm::kSize || source.defaults.size() < dm::kSize)
        return false;
    std::fill(out.begin(), out.end(), 0);
    Set16(out, kRecordSize, std::uint16_t(kHeaderSize));
    Set16(out, kRecordId, std::uint16_t(kHeaderId));
    std::memcpy(out.data() + kHeaderContext, &source.context, sizeof source.context);
    std::size_t at = kHeaderSize;
    for (const model::FeatureItem& item : items) {
        const std::size_t n = EntrySize(item.type);
        if (n == 0)
            continue;
        BuildEntry(out.subspan(at, n), item, source);
        at += n;
    }
    return true;
}

RecordIndex IndexBlock(std::span<const std::uint8_t> block)
{
    RecordIndex index;
    index.fill(kNoRecord);
    std::size_t at = 0;
    while (at + kRecordHead <= block.size()) {
        const std::size_t size = Get16(block, at + kRecordSize);
        if (size < kRecordHead || size > block.size() - at)
            break;
        const std::uint16_t id = Get16(block, at + kRecordId);
        if (id < kSlots)
            index[id] = std::uint32_t(at);
        at += size;
    }
    return index;
}

std::span<std::uint8_t> RecordAt(std::span<std::uint8_t> block, std::uint32_t offset)
{
    if (offset == kNoRecord || std::size_t(offset) + kRecordHead > block.size())
        return {};
    const std::size_t size = Get16(block, offset);
    if (size < kRecordHead || size > block.size() - offset)
        return {};
    return block.subspan(offset, size);
}

std::span<const std::uint8_t> RecordAt(std::span<const std::uint8_t> block, std::uint32_t offset)
{
    return RecordAt(std::span<std::uint8_t>(const_cast<std::uint8_t*>(block.data()), block.size()), offset);
}

}  // namespace feature
