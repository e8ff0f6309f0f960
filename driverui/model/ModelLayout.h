// The printer models as the driver's custom resources describe them: one typed layout per resource
// type, little-endian and fixed-width, read through bounded parsers and written (by the resource
// generator) through the same field lists, so a record cannot drift from its layout. A resource
// may come from a replaced library: every count is checked against the resource's size before an
// entry is read. No platform headers.
//
// A model is numbered from 0. Its display name is string 10000 + number and its description
// resource type 260, name 10500 + number; the description's words select the model's other
// resources, each by name = word + 1. All words are little-endian 16-bit.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <vector>

#include "ModelDescription.h"

namespace model {

// ---- Resource types and names ------------------------------------------------------------

inline constexpr int kResidentFontType = 258;       // names 1..59, one font each
inline constexpr int kTrayListType = 259;           // description word 356
inline constexpr int kDescriptionType = 260;        // name 10500 + model number
inline constexpr int kResolutionListType = 261;     // word 358
inline constexpr int kGraphicsModeListType = 262;   // word 360
inline constexpr int kGraphicsG1ListType = 263;     // word 362
inline constexpr int kPrintModeListType = 264;      // word 364
inline constexpr int kFontGroupListType = 266;      // word 366
inline constexpr int kFontChoiceListType = 267;     // word 368
inline constexpr int kColourC3ListType = 270;       // word 370
inline constexpr int kShortOptionListType = 272;    // word 372
inline constexpr int kOutputBinListType = 274;      // word 374
inline constexpr int kHandlingOptionListType = 275; // word 376
inline constexpr int kFontSetListType = 276;        // word 380
inline constexpr int kInputOptionsType = 277;       // word 382
inline constexpr int kOutputOptionsType = 278;      // word 384
inline constexpr int kPaperLimitsType = 279;        // word 386
inline constexpr int kPageTemplateSetType = 281;    // word 410
inline constexpr int kFeatureLayoutType = 283;      // word 414
inline constexpr int kGraphicsG1AltListType = 284;  // word 362, names 4..6 only
inline constexpr int kMediaListType = 285;          // named by tray entry word 9
inline constexpr int kColourOptionListType = 286;   // word 390

inline constexpr int kModelNameString = 10000;
inline constexpr int kDescriptionName = 10500;
// Descriptions 10500 to 10646.
inline constexpr int kMaxModels = 147;
// The model record of the devmode keeps 32 narrow characters of the name, terminator included.
inline constexpr std::size_t kModelNameSize = 32;

// The names each type may use. A description word selects name = word + 1.
struct TypeNames {
    int type;
    int first;
    int last;
};
inline constexpr TypeNames kTypeNames[] = {
    {kResidentFontType, 1, 59},      {kTrayListType, 1, 32},
    {kDescriptionType, kDescriptionName, kDescriptionName + kMaxModels - 1},
    {kResolutionListType, 1, 24},    {kGraphicsModeListType, 1, 10},
    {kGraphicsG1ListType, 1, 3},      {kPrintModeListType, 1, 8},
    {kFontGroupListType, 1, 15},     {kFontChoiceListType, 1, 15},
    {kColourC3ListType, 1, 4},      {kShortOptionListType, 1, 3},
    {kOutputBinListType, 1, 11},     {kHandlingOptionListType, 1, 3},
    {kFontSetListType, 1, 2},        {kInputOptionsType, 1, 23},
    {kOutputOptionsType, 1, 11},     {kPaperLimitsType, 1, 19},
    {kPageTemplateSetType, 1, 50},   {kFeatureLayoutType, 1, 69},
    {kGraphicsG1AltListType, 4, 6},      {kMediaListType, 1, 15},
    {kColourOptionListType, 1, 2},
};

// The resource a description word selects.
constexpr int SelectedName(std::uint16_t word)
{
    return int(word) + 1;
}

// ---- Field lists ---------------------------------------------------------------------------
// A record type lists its fields once, in order, as member pointers (kFields<R>); reading,
// writing and the size all follow that list. A field is an integer, an array of fields, or a
// record with a field list of its own.

template <class R>
inline constexpr auto kFields = nullptr;

namespace wire {

template <class M>
struct MemberType;
template <class C, class T>
struct MemberType<T C::*> {
    using type = T;
};

template <class T>
struct IsArray : std::false_type {};
template <class E, std::size_t N>
struct IsArray<std::array<E, N>> : std::true_type {};

template <class T>
constexpr std::size_t Size()
{
    if constexpr (std::is_integral_v<T>) {
        return sizeof(T);
    } else if constexpr (IsArray<T>::value) {
        return std::tuple_size_v<T> * Size<typename T::value_type>();
    } else {
        return std::apply(
            [](auto... m) { return (Size<typename MemberType<decltype(m)>::type>() + ... + 0); },
            kFields<T>);
    }
}

template <class T>
void Put(std::vector<std::uint8_t>& out, const T& v)
{
    if constexpr (std::is_integral_v<T>) {
        const auto raw = static_cast<std::uint64_t>(v);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            out.push_back(static_cast<std::uint8_t>(raw >> (8 * i)));
    } else if constexpr (IsArray<T>::value) {
        for (const auto& e : v)
            Put(out, e);
    } else {
        std::apply([&](auto... m) { (Put(out, v.*m), ...); }, kFields<T>);
    }
}

// The caller has checked that Size<T>() bytes lie at p.
template <class T>
void Get(const std::uint8_t*& p, T& v)
{
    if constexpr (std::is_integral_v<T>) {
        std::uint64_t raw = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            raw |= std::uint64_t(*p++) << (8 * i);
        v = static_cast<T>(raw);
    } else if constexpr (IsArray<T>::value) {
        for (auto& e : v)
            Get(p, e);
    } else {
        std::apply([&](auto... m) { (Get(p, v.*m), ...); }, kFields<T>);
    }
}

}  // namespace wire

// Bytes a record takes in a resource.
template <class R>
inline constexpr std::size_t kRecordSize = wire::Size<R>();

// The record at `offset`; nothing when it does not lie wholly inside the bytes.
template <class R>
std::optional<R> ReadRecord(std::span<const std::uint8_t> bytes, std::size_t offset = 0)
{
    if (offset > bytes.size() || bytes.size() - offset < kRecordSize<R>)
        return std::nullopt;
    R r{};
    const std::uint8_t* p = bytes.data() + offset;
    wire::Get(p, r);
    return r;
}

template <class R>
void AppendRecord(std::vector<std::uint8_t>& out, const R& r)
{
    wire::Put(out, r);
}

// ---- Counted tables ------------------------------------------------------------------------
// Most types are a header whose `count` gives the number of entries that follow it.

template <class H, class E>
struct Table {
    H header{};
    std::vector<E> entries;
};

// Nothing when the header is short, the count is negative or above maxCount, or the entries
// would pass the end of the bytes. Bytes after the last entry are ignored.
template <class H, class E>
std::optional<Table<H, E>> ParseTable(std::span<const std::uint8_t> bytes, std::size_t maxCount)
{
    const auto header = ReadRecord<H>(bytes);
    if (!header || header->count < 0 || std::size_t(header->count) > maxCount)
        return std::nullopt;
    const std::size_t n = std::size_t(header->count);
    if ((bytes.size() - kRecordSize<H>) / kRecordSize<E> < n)
        return std::nullopt;
    Table<H, E> t{*header, {}};
    t.entries.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        t.entries.push_back(*ReadRecord<E>(bytes, kRecordSize<H> + i * kRecordSize<E>));
    return t;
}

// The header with its count set to the number of entries, then the entries.
template <class H, class E>
std::vector<std::uint8_t> EncodeTable(H header, std::span<const E> entries)
{
    header.count = static_cast<decltype(header.count)>(entries.size());
    std::vector<std::uint8_t> out;
    AppendRecord(out, header);
    for (const E& e : entries)
        AppendRecord(out, e);
    return out;
}

// Headers. Counts are read as signed: a negative count is damage, not a large list.
struct CountHeader {
    std::int16_t count;
};
// A list with a default value in word 1 (the devmode takes its low byte where it keeps a byte).
struct DefaultedHeader {
    std::int16_t count;
    std::uint16_t defaultValue;
};
template <>
inline constexpr auto kFields<CountHeader> = std::tuple{&CountHeader::count};
template <>
inline constexpr auto kFields<DefaultedHeader> =
    std::tuple{&DefaultedHeader::count, &DefaultedHeader::defaultValue};

// An option of a list feature: its value and the number of its display name in the dialog
// library's name table of that feature.
struct OptionPair {
    std::int16_t value;
    std::uint16_t name;
};
template <>
inline constexpr auto kFields<OptionPair> = std::tuple{&OptionPair::value, &OptionPair::name};
static_assert(kRecordSize<OptionPair> == 4);

// A list feature's entry holds its options as pairs ended by -1 in 114 bytes (57 words).
inline constexpr std::size_t kMaxListOptions = 28;

// ---- 258: resident font metrics --------------------------------------------------------------
// One font per name. The font summary builder takes the fonts whose font-set bit is set in the
// devmode's font-set masks (bits 0-31: 816, bits 32-63: 820). Metrics are in design units of
// emUnits per em; a bitmap font has emUnits 0, a point size, and its metrics in 1/300 inch.
struct ResidentFont {
    std::uint16_t fontSet;      // bit number in the font-set masks
    std::uint16_t typeface;     // PCL typeface number
    std::uint16_t symbolSet;    // PCL symbol set value (number x 32 + letter - 64)
    std::uint16_t flags;        // kFont* below
    std::uint16_t weight;       // 400 regular, 700 bold
    std::uint16_t emUnits;
    std::int16_t ascent;
    std::int16_t descent;
    std::int16_t internalLeading;
    std::int16_t averageWidth;
    std::int16_t maximumWidth;
    std::uint16_t pointSize;    // tenths of a point; 0 when scalable
    std::uint16_t pitch;        // hundredths of a character per inch; 0 when proportional
    std::uint8_t firstChar;
    std::uint8_t lastChar;
    std::uint8_t defaultChar;
    std::uint8_t breakChar;
    std::uint16_t reserved;
    std::array<char, 32> faceName;  // narrow, zero-padded
};
inline constexpr std::uint16_t kFontFixedPitch = 0x01;
inline constexpr std::uint16_t kFontScalable = 0x02;
inline constexpr std::uint16_t kFontItalic = 0x04;
inline constexpr std::uint16_t kFontSerif = 0x08;
inline constexpr std::uint16_t kFontSymbol = 0x10;
inline constexpr std::size_t kMaxResidentFonts = 59;
template <>
inline constexpr auto kFields<ResidentFont> = std::tuple{
    &ResidentFont::fontSet, &ResidentFont::typeface, &ResidentFont::symbolSet,
    &ResidentFont::flags, &ResidentFont::weight, &ResidentFont::emUnits, &ResidentFont::ascent,
    &ResidentFont::descent, &ResidentFont::internalLeading, &ResidentFont::averageWidth,
    &ResidentFont::maximumWidth, &ResidentFont::pointSize, &ResidentFont::pitch,
    &ResidentFont::firstChar, &ResidentFont::lastChar, &ResidentFont::defaultChar,
    &ResidentFont::breakChar, &ResidentFont::reserved, &ResidentFont::faceName};
static_assert(kRecordSize<ResidentFont> == 64);

// ---- 259: tray list --------------------------------------------------------------------------
// Count and default index, then the trays. Word numbers are 0-based within the 24-byte entry.
struct TrayListHeader {
    std::int16_t count;
    std::uint16_t defaultIndex;
};
struct TrayEntry {
    std::uint16_t capacity;    // 0: sheets, 0 for automatic selection
    std::uint16_t flags;       // 1: kTray* below
    std::uint16_t mask;        // 2: bit(s) of the installed-tray mask (devmode 462)
    std::int16_t code;         // 3: dmDefaultSource value
    std::uint16_t number;      // 4: tray number: name index of GetTrayID, key of the data map
    std::uint16_t pclSource;   // 5: the printer's paper source number
    std::uint16_t minWeight;   // 6: g/m2
    std::uint16_t maxWeight;   // 7: g/m2
    std::uint16_t reserved8;   // 8
    std::uint16_t mediaList;   // 9: the name itself (not word + 1) of the tray's media list, type 285
    std::uint8_t trayByte;     // byte 20: copied to devmode 1092
    std::uint8_t reserved21;
    std::uint16_t reserved11;  // 11
};
inline constexpr std::uint16_t kTrayManual = 0x01;
inline constexpr std::uint16_t kTrayOptional = 0x02;
inline constexpr std::uint16_t kTrayAutomatic = 0x04;
template <>
inline constexpr auto kFields<TrayListHeader> =
    std::tuple{&TrayListHeader::count, &TrayListHeader::defaultIndex};
template <>
inline constexpr auto kFields<TrayEntry> = std::tuple{
    &TrayEntry::capacity, &TrayEntry::flags, &TrayEntry::mask, &TrayEntry::code,
    &TrayEntry::number, &TrayEntry::pclSource, &TrayEntry::minWeight, &TrayEntry::maxWeight,
    &TrayEntry::reserved8, &TrayEntry::mediaList, &TrayEntry::trayByte, &TrayEntry::reserved21,
    &TrayEntry::reserved11};
static_assert(kRecordSize<TrayEntry> == 24);
// The paper-source entry of the feature block holds 11 trays.
inline constexpr std::size_t kMaxTrays = 11;
// GetTrayID names tray numbers 0 to 14.
inline constexpr std::uint16_t kMaxTrayNumber = 14;
using TrayList = Table<TrayListHeader, TrayEntry>;

// ---- 260: model description ----------------------------------------------------------------
// The struct and its words are in common/ModelDescription.h, where the devmode's layout names
// them too; the field list below reads and writes them in the struct's own order.
template <>
inline constexpr auto kFields<ModelDescription> = std::tuple{
    &ModelDescription::memoryMinimum, &ModelDescription::memoryMaximum,
    &ModelDescription::reserved344, &ModelDescription::reserved346,
    &ModelDescription::reserved348, &ModelDescription::webModelWord, &ModelDescription::fontKey,
    &ModelDescription::paperSet, &ModelDescription::trayList, &ModelDescription::resolutionList,
    &ModelDescription::graphicsModeList, &ModelDescription::graphicsG1List,
    &ModelDescription::printModeList, &ModelDescription::fontGroupList,
    &ModelDescription::fontChoiceList, &ModelDescription::colourC3List,
    &ModelDescription::shortOptionList, &ModelDescription::outputBinList,
    &ModelDescription::handlingOptionList, &ModelDescription::reserved378,
    &ModelDescription::fontSetList, &ModelDescription::inputOptions,
    &ModelDescription::outputOptions, &ModelDescription::paperLimits,
    &ModelDescription::reserved388, &ModelDescription::colourOptionList,
    &ModelDescription::fontFlags, &ModelDescription::optionFlags,
    &ModelDescription::paperHandlingFlags, &ModelDescription::finishingFlags,
    &ModelDescription::colourFlags, &ModelDescription::toolkitOption1,
    &ModelDescription::toolkitOption2, &ModelDescription::reserved406, &ModelDescription::family,
    &ModelDescription::pageTemplateSet, &ModelDescription::sheetWord,
    &ModelDescription::featureLayout, &ModelDescription::dialogSelector,
    &ModelDescription::configCapabilities2, &ModelDescription::configCapabilities1};
static_assert(kRecordSize<ModelDescription> == kDescriptionSize);

// The field list names every word once, in the struct's memory order: the resource's word n is
// the struct's word n, so the devmode's names (340 + offset in the struct) and the resource agree.
constexpr bool DescriptionFieldsInMemoryOrder()
{
    ModelDescription d{};
    std::uint16_t n = 0;
    std::apply([&](auto... m) { ((d.*m = ++n), ...); }, kFields<ModelDescription>);
    const auto words = std::bit_cast<std::array<std::uint16_t, kDescriptionWords>>(d);
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] != i + 1)
            return false;
    return n == kDescriptionWords;
}
static_assert(DescriptionFieldsInMemoryOrder());

// ---- 261: resolution list --------------------------------------------------------------------
// Default index, then exactly five entries. A list with fewer resolutions repeats its last
// entry: a repeated resolution is skipped by the builders and pages.
struct ResolutionEntry {
    std::uint16_t dpi;
    std::uint16_t nameIndex;  // quality name on the graphics page; 0: not offered
    std::uint8_t flag;        // devmode 232 for this entry
    std::uint8_t reserved5;
    std::uint16_t reserved6;
};
inline constexpr std::size_t kResolutionCount = 5;
struct ResolutionList {
    std::uint16_t defaultIndex;
    std::array<ResolutionEntry, kResolutionCount> entries;
};
template <>
inline constexpr auto kFields<ResolutionEntry> =
    std::tuple{&ResolutionEntry::dpi, &ResolutionEntry::nameIndex, &ResolutionEntry::flag,
               &ResolutionEntry::reserved5, &ResolutionEntry::reserved6};
template <>
inline constexpr auto kFields<ResolutionList> =
    std::tuple{&ResolutionList::defaultIndex, &ResolutionList::entries};
static_assert(kRecordSize<ResolutionEntry> == 8);
static_assert(kRecordSize<ResolutionList> == 42);

// ---- 262: mode list (devmode 229, feature 13) ------------------------------------------------
// Count; the default mode, whose low byte (resource byte 2) is devmode 229 and whose word is
// devmode 428; the mode word (devmode 430); then the options.
struct ModeListHeader {
    std::int16_t count;
    std::uint16_t defaultMode;
    std::uint16_t modeWord;
};
template <>
inline constexpr auto kFields<ModeListHeader> =
    std::tuple{&ModeListHeader::count, &ModeListHeader::defaultMode, &ModeListHeader::modeWord};
using ModeList = Table<ModeListHeader, OptionPair>;

// ---- 263 and 284: options of devmode 231 (features 15 and 79) --------------------------------
// Count, the default (its low byte is devmode 231), the options. A type 284 list, when the model
// has one, replaces type 263; its option values are the byte's values + 5.
using GraphicsG1List = Table<DefaultedHeader, OptionPair>;
inline constexpr int kGraphicsG1AltFirstName = 4;

// ---- 264: print modes (devmode 233 and 234, features 16 and 17) ------------------------------
// Count, then records of four words. The first record gives the defaults. A pair of bytes is
// valid at a print quality when a record holds both and its maximum resolution is at least the
// quality.
struct PrintModeEntry {
    std::uint16_t firstValue;
    std::uint16_t secondValue;
    std::uint16_t maxResolution;  // dots per inch
    std::uint16_t name;
};
template <>
inline constexpr auto kFields<PrintModeEntry> =
    std::tuple{&PrintModeEntry::firstValue, &PrintModeEntry::secondValue,
               &PrintModeEntry::maxResolution, &PrintModeEntry::name};
static_assert(kRecordSize<PrintModeEntry> == 8);
// The feature entry holds them as four words each, ended by -1, in 152 bytes.
inline constexpr std::size_t kMaxPrintModes = 18;
using PrintModeList = Table<CountHeader, PrintModeEntry>;

// ---- 266 and 267: font selection groups (feature 29) -----------------------------------------
// Read only by the font page's feature; kept minimal. A group is one of the eleven words at
// devmode 606 (and the byte at 628 + group); its choices are a run of the model's choice list.
struct FontGroupEntry {
    std::uint16_t group;         // 0 to 10
    std::uint16_t name;
    std::uint16_t defaultChoice;
    std::uint16_t firstChoice;   // index into the type 267 list
    std::uint16_t choiceCount;
};
template <>
inline constexpr auto kFields<FontGroupEntry> =
    std::tuple{&FontGroupEntry::group, &FontGroupEntry::name, &FontGroupEntry::defaultChoice,
               &FontGroupEntry::firstChoice, &FontGroupEntry::choiceCount};
static_assert(kRecordSize<FontGroupEntry> == 10);
inline constexpr std::size_t kMaxFontGroups = 11;
inline constexpr std::size_t kMaxFontChoices = 64;
using FontGroupList = Table<CountHeader, FontGroupEntry>;
using FontChoiceList = Table<CountHeader, OptionPair>;

// ---- 270, 272, 275, 286: option lists of list features ---------------------------------------
// 270: devmode 655 (feature 42); 272: bytes 654, 661, 665 (features 30, 34, 38), whose entry
// holds at most three options; 275: byte 449 (feature 58); 286: bytes 1230 to 1232 (features
// 104 to 106).
using OptionList = Table<CountHeader, OptionPair>;
inline constexpr std::size_t kMaxShortOptions = 3;

// ---- 274: output bins (devmode 448, feature 57) ----------------------------------------------
// Three words per option: the bin, its name, and the output-option bits (devmode 464) it needs.
struct OutputBinEntry {
    std::int16_t value;
    std::uint16_t name;
    std::uint16_t requiredOptions;
};
template <>
inline constexpr auto kFields<OutputBinEntry> =
    std::tuple{&OutputBinEntry::value, &OutputBinEntry::name, &OutputBinEntry::requiredOptions};
static_assert(kRecordSize<OutputBinEntry> == 6);
inline constexpr std::size_t kMaxOutputBins = 18;
using OutputBinList = Table<CountHeader, OutputBinEntry>;

// ---- 276: font sets --------------------------------------------------------------------------
// Per entry a code page and a font-set number with the set's masks (devmode 816 and 820).
struct FontSetEntry {
    std::uint16_t codePage;
    std::uint16_t fontSet;
    std::uint32_t firstMask;
    std::uint32_t secondMask;
};
template <>
inline constexpr auto kFields<FontSetEntry> =
    std::tuple{&FontSetEntry::codePage, &FontSetEntry::fontSet, &FontSetEntry::firstMask,
               &FontSetEntry::secondMask};
static_assert(kRecordSize<FontSetEntry> == 12);
inline constexpr std::size_t kMaxFontSets = 16;
using FontSetList = Table<CountHeader, FontSetEntry>;

// ---- 277 and 278: installable input and output options ---------------------------------------
// Count; word 1 the default installed mask (277: devmode 462, the installed trays; 278: devmode
// 464); then per option its bit(s) and kind, which the device page and the printer
// configuration block use.
struct InstallableOption {
    std::uint16_t mask;
    std::uint16_t kind;  // kOption* below
};
inline constexpr std::uint16_t kOptionFirstTray = 1;
inline constexpr std::uint16_t kOptionSecondTray = 2;
inline constexpr std::uint16_t kOptionThirdTray = 3;
inline constexpr std::uint16_t kOptionFeederA = 4;
inline constexpr std::uint16_t kOptionFeederB = 5;
inline constexpr std::uint16_t kOptionOutput = 6;
inline constexpr std::uint16_t kOptionEnvelope = 7;
inline constexpr std::uint16_t kOptionDuplexUnit = 8;
template <>
inline constexpr auto kFields<InstallableOption> =
    std::tuple{&InstallableOption::mask, &InstallableOption::kind};
static_assert(kRecordSize<InstallableOption> == 4);
inline constexpr std::size_t kMaxInstallableOptions = 16;
using InstallableOptions = Table<DefaultedHeader, InstallableOption>;

// ---- 279: user-paper limits, 1/1200 inch -----------------------------------------------------
struct PaperLimits {
    std::uint16_t maxWidth;
    std::uint16_t minWidth;
    std::uint16_t maxLength;
    std::uint16_t minLength;
};
template <>
inline constexpr auto kFields<PaperLimits> = std::tuple{
    &PaperLimits::maxWidth, &PaperLimits::minWidth, &PaperLimits::maxLength, &PaperLimits::minLength};
static_assert(kRecordSize<PaperLimits> == 8);

// ---- 281: page-template set ------------------------------------------------------------------
// Dialog-template numbers of the language library: ten document slots, three device slots, three
// unused; 0 shows no page in that slot.
inline constexpr std::size_t kDocumentSlots = 10;
inline constexpr std::size_t kDeviceSlots = 3;
struct PageTemplateSet {
    std::array<std::uint16_t, 16> templates;
};
template <>
inline constexpr auto kFields<PageTemplateSet> = std::tuple{&PageTemplateSet::templates};
static_assert(kRecordSize<PageTemplateSet> == 32);

// ---- 283: feature layout ---------------------------------------------------------------------
// A signed count, then items of five signed words, in the order of the feature entry block.
struct FeatureItem {
    std::int16_t feature;  // 1 to 125, never 65 (the block header)
    std::int16_t type;     // entry type 1 to 17
    std::int16_t minimum;
    std::int16_t maximum;
    std::int16_t constrained;
};
template <>
inline constexpr auto kFields<FeatureItem> =
    std::tuple{&FeatureItem::feature, &FeatureItem::type, &FeatureItem::minimum,
               &FeatureItem::maximum, &FeatureItem::constrained};
static_assert(kRecordSize<FeatureItem> == 10);
// The block builder reads at most 1252 bytes of a layout.
inline constexpr std::size_t kMaxLayoutBytes = 1252;
inline constexpr std::size_t kMaxFeatureItems = (kMaxLayoutBytes - 2) / 10;
inline constexpr std::int16_t kHeaderFeature = 65;
inline constexpr std::int16_t kLastFeature = 125;
inline constexpr std::int16_t kLastEntryType = 17;
using FeatureLayout = Table<CountHeader, FeatureItem>;

// ---- 285: media lists --------------------------------------------------------------------------
// Count, then 8-byte entries. Media numbers of 501 and above are special media.
struct MediaEntry {
    std::uint16_t number;
    std::uint16_t minWeight;  // g/m2
    std::uint16_t maxWeight;  // g/m2
    std::uint16_t flags;      // kMedia* below
};
inline constexpr std::uint16_t kFirstSpecialMedia = 501;
inline constexpr std::uint16_t kMediaSimplexOnly = 0x01;
inline constexpr std::uint16_t kMediaFaceUp = 0x02;
template <>
inline constexpr auto kFields<MediaEntry> = std::tuple{
    &MediaEntry::number, &MediaEntry::minWeight, &MediaEntry::maxWeight, &MediaEntry::flags};
static_assert(kRecordSize<MediaEntry> == 8);
inline constexpr std::size_t kMaxMedia = 32;
using MediaList = Table<CountHeader, MediaEntry>;

// ---- Parsers, one per type ---------------------------------------------------------------------
// Each gives nothing for bytes that do not hold a whole resource of its type.

inline std::optional<ResidentFont> ParseResidentFont(std::span<const std::uint8_t> b)
{
    return ReadRecord<ResidentFont>(b);
}
inline std::optional<TrayList> ParseTrayList(std::span<const std::uint8_t> b)
{
    return ParseTable<TrayListHeader, TrayEntry>(b, kMaxTrays);
}
inline std::optional<ModelDescription> ParseDescription(std::span<const std::uint8_t> b)
{
    return ReadRecord<ModelDescription>(b);
}
inline std::optional<ResolutionList> ParseResolutionList(std::span<const std::uint8_t> b)
{
    return ReadRecord<ResolutionList>(b);
}
inline std::optional<ModeList> ParseModeList(std::span<const std::uint8_t> b)
{
    return ParseTable<ModeListHeader, OptionPair>(b, kMaxListOptions);
}
inline std::optional<GraphicsG1List> ParseGraphicsG1List(std::span<const std::uint8_t> b)
{
    return ParseTable<DefaultedHeader, OptionPair>(b, kMaxListOptions);
}
inline std::optional<PrintModeList> ParsePrintModeList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, PrintModeEntry>(b, kMaxPrintModes);
}
inline std::optional<FontGroupList> ParseFontGroupList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, FontGroupEntry>(b, kMaxFontGroups);
}
inline std::optional<FontChoiceList> ParseFontChoiceList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, OptionPair>(b, kMaxFontChoices);
}
inline std::optional<OptionList> ParseOptionList(std::span<const std::uint8_t> b,
                                                 std::size_t maxCount = kMaxListOptions)
{
    return ParseTable<CountHeader, OptionPair>(b, maxCount);
}
inline std::optional<OutputBinList> ParseOutputBinList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, OutputBinEntry>(b, kMaxOutputBins);
}
inline std::optional<FontSetList> ParseFontSetList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, FontSetEntry>(b, kMaxFontSets);
}
inline std::optional<InstallableOptions> ParseInstallableOptions(std::span<const std::uint8_t> b)
{
    return ParseTable<DefaultedHeader, InstallableOption>(b, kMaxInstallableOptions);
}
inline std::optional<PaperLimits> ParsePaperLimits(std::span<const std::uint8_t> b)
{
    return ReadRecord<PaperLimits>(b);
}
inline std::optional<PageTemplateSet> ParsePageTemplateSet(std::span<const std::uint8_t> b)
{
    return ReadRecord<PageTemplateSet>(b);
}
inline std::optional<FeatureLayout> ParseFeatureLayout(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, FeatureItem>(b, kMaxFeatureItems);
}
inline std::optional<MediaList> ParseMediaList(std::span<const std::uint8_t> b)
{
    return ParseTable<CountHeader, MediaEntry>(b, kMaxMedia);
}

// The entry the list's default index names; null when the index is out of range.
inline const TrayEntry* DefaultTray(const TrayList& list)
{
    return list.header.defaultIndex < list.entries.size() ? &list.entries[list.header.defaultIndex]
                                                          : nullptr;
}
inline const ResolutionEntry* DefaultResolution(const ResolutionList& list)
{
    return list.defaultIndex < list.entries.size() ? &list.entries[list.defaultIndex] : nullptr;
}

// The description the devmode carries (words at 340); nothing for a short buffer.
inline std::optional<ModelDescription> DescriptionInDevmode(std::span<const std::uint8_t> devmode)
{
    return ReadRecord<ModelDescription>(devmode, kDevmodeDescription);
}

}  // namespace model
