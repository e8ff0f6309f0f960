// The printer family: every model and every resource that describes it. Compiled into
// QVTDX5DA's resources by the resource generator (ModelRcGen.cpp); the driver itself reads these
// values only from its resources, where a replaced library may have put others.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>
#include <vector>

#include "FeatureBindings.h"
#include "ModelLayout.h"

namespace model::family {

// A resource of one of the counted types: its name, header (the count is written from the
// entries) and entries.
template <class H, class E>
struct TableData {
    int name;
    H header;
    std::span<const E> entries;
};

template <class R>
struct RecordData {
    int name;
    R record;
};

struct ModelData {
    std::string_view name;  // display name: the driver name the model is installed under
    ModelDescription description;
};

template <class H, class E, std::size_t N>
constexpr bool CountsWithin(const std::array<TableData<H, E>, N>& tables, std::size_t max)
{
    for (const auto& t : tables)
        if (t.entries.size() > max)
            return false;
    return true;
}

// ---- Resident fonts (258) ------------------------------------------------------------------

// Font-set bits (devmode 816): Latin 1, Latin 2, Cyrillic, Greek; the symbol fonts ride with
// Latin 1.
inline constexpr std::uint16_t kSetLatin1 = 0, kSetLatin2 = 1, kSetCyrillic = 2, kSetGreek = 3,
                               kSetSymbol = 31;
// PCL symbol sets: 19U Windows Latin 1, 9E Windows Latin 2, 9R Windows Cyrillic, 9G Windows
// Greek, 8U Roman-8, 19M Symbol, 579L Dingbats.
inline constexpr std::uint16_t kWinLatin1 = 19 * 32 + 21, kWinLatin2 = 9 * 32 + 5,
                               kWinCyrillic = 9 * 32 + 18, kWinGreek = 9 * 32 + 7,
                               kRoman8 = 8 * 32 + 21, kSymbolSet = 19 * 32 + 13,
                               kDingbatSet = 579 * 32 + 12;

struct FontMetrics {
    std::int16_t ascent, descent, leading, average, maximum;
};

constexpr ResidentFont Font(std::uint16_t set, std::uint16_t typeface, std::uint16_t symbolSet,
                            std::uint16_t flags, std::uint16_t weight, FontMetrics m,
                            std::string_view face)
{
    ResidentFont f{};
    f.fontSet = set;
    f.typeface = typeface;
    f.symbolSet = symbolSet;
    f.flags = flags | kFontScalable;
    f.weight = weight;
    f.emUnits = 1000;
    f.ascent = m.ascent;
    f.descent = m.descent;
    f.internalLeading = m.leading;
    f.averageWidth = m.average;
    f.maximumWidth = m.maximum;
    f.firstChar = 32;
    f.lastChar = 255;
    f.defaultChar = 127;
    f.breakChar = 32;
    for (std::size_t i = 0; i < face.size() && i + 1 < f.faceName.size(); ++i)
        f.faceName[i] = face[i];
    return f;
}

constexpr std::uint16_t kFixed = kFontFixedPitch, kSerif = kFontSerif, kItalic = kFontItalic;
constexpr FontMetrics kCourier{833, 300, 133, 600, 600};
constexpr FontMetrics kGothic{800, 200, 0, 500, 500};
constexpr FontMetrics kRoman{891, 216, 107, 401, 1000}, kRomanBold{891, 216, 107, 427, 1000};
constexpr FontMetrics kSans{905, 212, 117, 441, 1015}, kSansBold{905, 212, 117, 479, 1015};
constexpr FontMetrics kCondensed{905, 212, 117, 354, 812}, kCondensedBold{905, 212, 117, 385, 848};
constexpr FontMetrics kSymbol{1005, 220, 225, 520, 1042}, kDingbats{899, 211, 110, 790, 1000};

// The bitmap Line Printer font: 8.5 point at 16.67 characters per inch, metrics in 1/300 inch.
constexpr ResidentFont LinePrinter()
{
    ResidentFont f = Font(kSetLatin1, 0, kRoman8, kFixed | kSerif, 400, {27, 8, 0, 18, 18},
                          "Line Printer");
    f.flags &= std::uint16_t(~kFontScalable);
    f.emUnits = 0;
    f.pointSize = 85;
    f.pitch = 1667;
    f.lastChar = 254;
    return f;
}

inline constexpr std::array kResidentFonts{
    Font(kSetLatin1, 4099, kWinLatin1, kFixed | kSerif, 400, kCourier, "Courier"),
    Font(kSetLatin1, 4099, kWinLatin1, kFixed | kSerif, 700, kCourier, "Courier"),
    Font(kSetLatin1, 4099, kWinLatin1, kFixed | kSerif | kItalic, 400, kCourier, "Courier"),
    Font(kSetLatin1, 4099, kWinLatin1, kFixed | kSerif | kItalic, 700, kCourier, "Courier"),
    Font(kSetLatin1, 4102, kWinLatin1, kFixed, 400, kGothic, "Letter Gothic"),
    Font(kSetLatin1, 4102, kWinLatin1, kFixed, 700, kGothic, "Letter Gothic"),
    Font(kSetLatin1, 4102, kWinLatin1, kFixed | kItalic, 400, kGothic, "Letter Gothic"),
    Font(kSetLatin1, 4101, kWinLatin1, kSerif, 400, kRoman, "Roman"),
    Font(kSetLatin1, 4101, kWinLatin1, kSerif, 700, kRomanBold, "Roman"),
    Font(kSetLatin1, 4101, kWinLatin1, kSerif | kItalic, 400, kRoman, "Roman"),
    Font(kSetLatin1, 4101, kWinLatin1, kSerif | kItalic, 700, kRomanBold, "Roman"),
    Font(kSetLatin1, 4148, kWinLatin1, 0, 400, kSans, "Sans"),
    Font(kSetLatin1, 4148, kWinLatin1, 0, 700, kSansBold, "Sans"),
    Font(kSetLatin1, 4148, kWinLatin1, kItalic, 400, kSans, "Sans"),
    Font(kSetLatin1, 4148, kWinLatin1, kItalic, 700, kSansBold, "Sans"),
    Font(kSetLatin1, 4150, kWinLatin1, 0, 400, kCondensed, "Sans Condensed"),
    Font(kSetLatin1, 4150, kWinLatin1, 0, 700, kCondensedBold, "Sans Condensed"),
    LinePrinter(),
    Font(kSetSymbol, 16686, kSymbolSet, kFontSymbol | kSerif, 400, kSymbol, "Symbol"),
    Font(kSetSymbol, 31402, kDingbatSet, kFontSymbol, 400, kDingbats, "Dingbats"),
    Font(kSetLatin2, 4099, kWinLatin2, kFixed | kSerif, 400, kCourier, "Courier CE"),
    Font(kSetLatin2, 4101, kWinLatin2, kSerif, 400, kRoman, "Roman CE"),
    Font(kSetLatin2, 4148, kWinLatin2, 0, 400, kSans, "Sans CE"),
    Font(kSetCyrillic, 4099, kWinCyrillic, kFixed | kSerif, 400, kCourier, "Courier Cyr"),
    Font(kSetCyrillic, 4101, kWinCyrillic, kSerif, 400, kRoman, "Roman Cyr"),
    Font(kSetCyrillic, 4148, kWinCyrillic, 0, 400, kSans, "Sans Cyr"),
    Font(kSetGreek, 4101, kWinGreek, kSerif, 400, kRoman, "Roman Greek"),
    Font(kSetGreek, 4148, kWinGreek, 0, 400, kSans, "Sans Greek"),
};
static_assert(kResidentFonts.size() <= kMaxResidentFonts);

// ---- Media lists (285) -------------------------------------------------------------------------

namespace media {
inline constexpr std::uint16_t kPlain = 1, kTransparency = 2, kPreprinted = 4, kLetterhead = 5,
                               kPrepunched = 6, kLabels = 7, kBond = 8, kRecycled = 9, kColour = 10,
                               kCardstock = 11, kRough = 12, kEnvelope = 13, kLight = 14,
                               kHeavy = 15, kGlossy = 501, kHeavyGlossy = 502, kTough = 503;
}  // namespace media
using namespace media;
constexpr std::uint16_t kSimplexFaceUp = kMediaSimplexOnly | kMediaFaceUp;

// Media list names.
inline constexpr std::uint16_t kMonoCassette = 1, kMonoMultipurpose = 2, kColourCassette = 3,
                               kColourMultipurpose = 4;

inline constexpr MediaEntry kMonoCassetteMedia[] = {
    {kPlain, 60, 105, 0},     {kPreprinted, 60, 105, 0}, {kLetterhead, 60, 105, 0},
    {kPrepunched, 60, 105, 0}, {kBond, 75, 105, 0},      {kRecycled, 60, 105, 0},
    {kColour, 60, 105, 0},    {kLight, 60, 74, 0},       {kHeavy, 106, 120, 0},
    {kRough, 60, 105, 0},
};
inline constexpr MediaEntry kMonoMultipurposeMedia[] = {
    {kPlain, 60, 105, 0},       {kPreprinted, 60, 105, 0},        {kLetterhead, 60, 105, 0},
    {kPrepunched, 60, 105, 0},  {kBond, 75, 105, 0},             {kRecycled, 60, 105, 0},
    {kColour, 60, 105, 0},      {kLight, 60, 74, 0},             {kHeavy, 106, 163, 0},
    {kRough, 60, 105, 0},       {kTransparency, 0, 0, kSimplexFaceUp},
    {kLabels, 0, 0, kSimplexFaceUp}, {kCardstock, 135, 200, kSimplexFaceUp},
    {kEnvelope, 75, 105, kMediaSimplexOnly},
};
inline constexpr MediaEntry kColourCassetteMedia[] = {
    {kPlain, 60, 105, 0},      {kPreprinted, 60, 105, 0}, {kLetterhead, 60, 105, 0},
    {kPrepunched, 60, 105, 0}, {kRecycled, 60, 105, 0},   {kColour, 60, 105, 0},
    {kLight, 60, 74, 0},       {kHeavy, 106, 163, 0},     {kGlossy, 106, 163, 0},
};
inline constexpr MediaEntry kColourMultipurposeMedia[] = {
    {kPlain, 60, 105, 0},      {kPreprinted, 60, 105, 0},     {kLetterhead, 60, 105, 0},
    {kPrepunched, 60, 105, 0}, {kRecycled, 60, 105, 0},       {kColour, 60, 105, 0},
    {kLight, 60, 74, 0},       {kHeavy, 106, 163, 0},         {kGlossy, 106, 163, 0},
    {kHeavyGlossy, 164, 220, kMediaSimplexOnly},              {kTough, 0, 0, kMediaSimplexOnly},
    {kTransparency, 0, 0, kSimplexFaceUp},                    {kLabels, 0, 0, kSimplexFaceUp},
    {kCardstock, 164, 220, kSimplexFaceUp},                   {kEnvelope, 75, 105, kMediaSimplexOnly},
};
inline constexpr std::array<TableData<CountHeader, MediaEntry>, 4> kMediaLists{{
    {kMonoCassette, {}, kMonoCassetteMedia},
    {kMonoMultipurpose, {}, kMonoMultipurposeMedia},
    {kColourCassette, {}, kColourCassetteMedia},
    {kColourMultipurpose, {}, kColourMultipurposeMedia},
}};
static_assert(CountsWithin(kMediaLists, kMaxMedia));

// ---- Tray lists (259) ------------------------------------------------------------------------

// dmDefaultSource codes: the platform's bins, and driver bins from 257 for optional trays.
inline constexpr std::int16_t kBinUpper = 1, kBinLower = 2, kBinManual = 4, kBinAuto = 7,
                              kBinTray3 = 257, kBinTray4 = 258;
// Tray numbers: the name index of GetTrayID and the key of the paper-source data map.
inline constexpr std::uint16_t kTrayNumber1 = 0, kTrayNumber2 = 1, kTrayNumber3 = 2,
                               kTrayNumberManual = 3, kTrayNumber4 = 5, kTrayNumberAuto = 7;
// The printer's paper source numbers.
inline constexpr std::uint16_t kSourceMain = 1, kSourceManual = 2, kSourceMultipurpose = 4,
                               kSourceTray3 = 5, kSourceAuto = 7, kSourceTray4 = 8;

constexpr TrayEntry Tray(std::uint16_t capacity, std::uint16_t flags, std::uint16_t mask,
                         std::int16_t code, std::uint16_t number, std::uint16_t source,
                         std::uint16_t minWeight, std::uint16_t maxWeight,
                         std::uint16_t mediaList, std::uint8_t trayByte)
{
    return {capacity, flags, mask, code, number, source, minWeight, maxWeight, 0,
            mediaList, trayByte, 0, 0};
}

// Workgroup: automatic selection, the 100-sheet multipurpose tray 1 (also the manual feed), the
// 500-sheet tray 2, and optional 500-sheet trays 3 and 4.
inline constexpr TrayEntry kWorkgroupTrays[] = {
    Tray(0, kTrayAutomatic, 0x0001, kBinAuto, kTrayNumberAuto, kSourceAuto, 60, 200, kMonoMultipurpose, 0),
    Tray(100, 0, 0x0002, kBinUpper, kTrayNumber1, kSourceMultipurpose, 60, 200, kMonoMultipurpose, 1),
    Tray(500, 0, 0x0004, kBinLower, kTrayNumber2, kSourceMain, 60, 120, kMonoCassette, 2),
    Tray(500, kTrayOptional, 0x0008, kBinTray3, kTrayNumber3, kSourceTray3, 60, 120, kMonoCassette, 3),
    Tray(500, kTrayOptional, 0x0010, kBinTray4, kTrayNumber4, kSourceTray4, 60, 120, kMonoCassette, 4),
    Tray(1, kTrayManual, 0x0002, kBinManual, kTrayNumberManual, kSourceManual, 60, 200, kMonoMultipurpose, 1),
};
// Desktop: automatic selection, the 250-sheet tray 1 and the one-sheet manual feed slot.
inline constexpr TrayEntry kDesktopTrays[] = {
    Tray(0, kTrayAutomatic, 0x0001, kBinAuto, kTrayNumberAuto, kSourceAuto, 60, 163, kMonoMultipurpose, 0),
    Tray(250, 0, 0x0002, kBinUpper, kTrayNumber1, kSourceMain, 60, 120, kMonoCassette, 1),
    Tray(1, kTrayManual, 0x0004, kBinManual, kTrayNumberManual, kSourceManual, 60, 163, kMonoMultipurpose, 2),
};
// Colour: automatic selection, the 100-sheet multipurpose tray 1 (also the manual feed), the
// 250-sheet tray 2 and an optional 500-sheet tray 3.
inline constexpr TrayEntry kColourTrays[] = {
    Tray(0, kTrayAutomatic, 0x0001, kBinAuto, kTrayNumberAuto, kSourceAuto, 60, 220, kColourMultipurpose, 0),
    Tray(100, 0, 0x0002, kBinUpper, kTrayNumber1, kSourceMultipurpose, 60, 220, kColourMultipurpose, 1),
    Tray(250, 0, 0x0004, kBinLower, kTrayNumber2, kSourceMain, 60, 163, kColourCassette, 2),
    Tray(500, kTrayOptional, 0x0008, kBinTray3, kTrayNumber3, kSourceTray3, 60, 163, kColourCassette, 3),
    Tray(1, kTrayManual, 0x0002, kBinManual, kTrayNumberManual, kSourceManual, 60, 220, kColourMultipurpose, 1),
};
inline constexpr std::array<TableData<TrayListHeader, TrayEntry>, 3> kTrayLists{{
    {1, {0, 0}, kWorkgroupTrays},
    {2, {0, 0}, kDesktopTrays},
    {3, {0, 0}, kColourTrays},
}};
static_assert(CountsWithin(kTrayLists, kMaxTrays));

// ---- Resolutions (261) and print modes (264) -------------------------------------------------

// Quality names: 1 draft, 2 normal, 3 600 enhanced, 4 fine. A flag of 1 marks the enhanced
// 600-dpi mode.
inline constexpr std::array<RecordData<ResolutionList>, 3> kResolutionLists{{
    {1, {1, {{{300, 1, 0, 0, 0}, {600, 2, 0, 0, 0}, {600, 3, 1, 0, 0}, {1200, 4, 0, 0, 0},
              {1200, 4, 0, 0, 0}}}}},
    {2, {1, {{{300, 1, 0, 0, 0}, {600, 2, 0, 0, 0}, {1200, 4, 0, 0, 0}, {1200, 4, 0, 0, 0},
              {1200, 4, 0, 0, 0}}}}},
    {3, {0, {{{600, 2, 0, 0, 0}, {600, 3, 1, 0, 0}, {1200, 4, 0, 0, 0}, {1200, 4, 0, 0, 0},
              {1200, 4, 0, 0, 0}}}}},
}};

// Byte 233: 1 text and graphics, 2 photo, 3 office colour; byte 234: 1 automatic, 2 smooth,
// 3 fine lines, 4 economy.
inline constexpr PrintModeEntry kWorkgroupModes[] = {
    {1, 1, 1200, 1}, {1, 3, 1200, 2}, {2, 2, 600, 3}, {1, 4, 600, 4}};
inline constexpr PrintModeEntry kDesktopModes[] = {
    {1, 1, 1200, 1}, {1, 3, 600, 2}, {2, 2, 600, 3}, {1, 4, 600, 4}};
inline constexpr PrintModeEntry kColourModes[] = {
    {1, 1, 1200, 5}, {2, 1, 1200, 6}, {2, 2, 600, 3}, {3, 1, 600, 7}};
inline constexpr std::array<TableData<CountHeader, PrintModeEntry>, 3> kPrintModeLists{{
    {1, {}, kWorkgroupModes},
    {2, {}, kDesktopModes},
    {3, {}, kColourModes},
}};
static_assert(CountsWithin(kPrintModeLists, kMaxPrintModes));

// ---- Option lists ----------------------------------------------------------------------------

// 262: modes 1 standard and 2 compatible (no custom forms).
inline constexpr OptionPair kModes[] = {{1, 1}, {2, 2}};
inline constexpr std::array<TableData<ModeListHeader, OptionPair>, 3> kGraphicsModeLists{{
    {1, {0, 1, 0x0003}, kModes},
    {2, {0, 1, 0x0003}, kModes},
    {3, {0, 1, 0x0003}, kModes},
}};
static_assert(CountsWithin(kGraphicsModeLists, kMaxListOptions));

// 263: toner saving off, low, medium, high; 284: the same as values + 5, with 0 for off.
inline constexpr OptionPair kTonerSave[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
inline constexpr OptionPair kTonerSaveColour[] = {{0, 1}, {6, 2}, {7, 3}, {8, 4}};
inline constexpr std::array<TableData<DefaultedHeader, OptionPair>, 2> kGraphicsG1Lists{{
    {1, {0, 0}, kTonerSave},
    {2, {0, 0}, kTonerSave},
}};
inline constexpr std::array<TableData<DefaultedHeader, OptionPair>, 1> kGraphicsG1AltLists{{
    {kGraphicsG1AltFirstName, {0, 0}, kTonerSaveColour},
}};
static_assert(CountsWithin(kGraphicsG1Lists, kMaxListOptions));
static_assert(CountsWithin(kGraphicsG1AltLists, kMaxListOptions));

// ---- Paper types per source (266, 267) --------------------------------------------------------
// Selected like the tray lists, so the names match: each tray's types in tray order. A type's
// value is what devmode 606 + 2i stores; its name index picks the dialog library's paper-type name
// (0 to 26); the user-named types 128 to 133 take the printer's own names for name indexes 12 to 17.

struct TypeOption {
    std::int16_t value;
    std::uint16_t name;
};
namespace paper {
inline constexpr TypeOption kPlain{1, 1}, kPreprinted{2, 2}, kLetterhead{3, 3}, kTransparency{4, 4},
    kPrepunched{5, 5}, kLabels{6, 6}, kBond{7, 7}, kRecycled{8, 8}, kColoured{9, 9}, kLight{10, 10},
    kHeavy{11, 11}, kUser1{128, 12}, kUser2{129, 13}, kUser3{130, 14}, kUser4{131, 15}, kUser5{132, 16},
    kUser6{133, 17}, kCardstock{19, 19}, kGlossy{22, 22}, kHeavyGlossy{23, 23}, kTough{24, 24};
}  // namespace paper

inline constexpr TypeOption kMonoCassetteTypes[] = {
    paper::kPlain, paper::kPreprinted, paper::kLetterhead, paper::kPrepunched, paper::kBond,
    paper::kRecycled, paper::kColoured, paper::kLight, paper::kHeavy, paper::kUser1,
    paper::kUser2, paper::kUser3, paper::kUser4};
inline constexpr TypeOption kMonoMultipurposeTypes[] = {
    paper::kPlain, paper::kPreprinted, paper::kLetterhead, paper::kPrepunched, paper::kBond,
    paper::kRecycled, paper::kColoured, paper::kLight, paper::kHeavy, paper::kTransparency,
    paper::kLabels, paper::kCardstock, paper::kUser1, paper::kUser2, paper::kUser3,
    paper::kUser4, paper::kUser5, paper::kUser6};
inline constexpr TypeOption kColourCassetteTypes[] = {
    paper::kPlain, paper::kPreprinted, paper::kLetterhead, paper::kPrepunched, paper::kRecycled,
    paper::kColoured, paper::kLight, paper::kHeavy, paper::kGlossy, paper::kUser1,
    paper::kUser2, paper::kUser3, paper::kUser4};
inline constexpr TypeOption kColourMultipurposeTypes[] = {
    paper::kPlain, paper::kPreprinted, paper::kLetterhead, paper::kPrepunched, paper::kRecycled,
    paper::kColoured, paper::kLight, paper::kHeavy, paper::kGlossy, paper::kHeavyGlossy,
    paper::kTough, paper::kTransparency, paper::kLabels, paper::kCardstock, paper::kUser1,
    paper::kUser2, paper::kUser3, paper::kUser4};
static_assert(std::size(kMonoMultipurposeTypes) <= kMaxTypesPerTray &&
              std::size(kColourMultipurposeTypes) <= kMaxTypesPerTray);

// The types of every tray of a tray list, one set per tray in the list's order.
template <std::size_t Total, std::size_t Trays>
constexpr std::array<PaperTypeEntry, Total> TrayTypes(const std::array<std::span<const TypeOption>, Trays>& sets)
{
    std::array<PaperTypeEntry, Total> out{};
    std::size_t at = 0;
    for (std::size_t tray = 0; tray < Trays; ++tray)
        for (const TypeOption& o : sets[tray])
            out[at++] = {std::uint16_t(tray), o.value, o.name};
    return at == Total ? out : throw "the total does not match the sets";
}
template <std::size_t Trays>
constexpr std::array<DefaultPaperType, Trays> PlainEverywhere()
{
    std::array<DefaultPaperType, Trays> out{};
    for (DefaultPaperType& d : out)
        d.value = paper::kPlain.value;
    return out;
}

using TypeSet = std::span<const TypeOption>;
// Trays as kWorkgroupTrays, kDesktopTrays and kColourTrays list them.
inline constexpr auto kWorkgroupPaperTypes = TrayTypes<13 * 4 + 18 * 2>(std::array<TypeSet, 6>{
    kMonoCassetteTypes, kMonoMultipurposeTypes, kMonoCassetteTypes, kMonoCassetteTypes,
    kMonoCassetteTypes, kMonoMultipurposeTypes});
inline constexpr auto kDesktopPaperTypes = TrayTypes<13 * 2 + 18>(std::array<TypeSet, 3>{
    kMonoCassetteTypes, kMonoCassetteTypes, kMonoMultipurposeTypes});
inline constexpr auto kColourPaperTypes = TrayTypes<13 * 3 + 18 * 2>(std::array<TypeSet, 5>{
    kColourCassetteTypes, kColourMultipurposeTypes, kColourCassetteTypes, kColourCassetteTypes,
    kColourMultipurposeTypes});
static_assert(std::size(kWorkgroupTrays) == 6 && std::size(kDesktopTrays) == 3 && std::size(kColourTrays) == 5);
inline constexpr auto kWorkgroupTypeDefaults = PlainEverywhere<6>();
inline constexpr auto kDesktopTypeDefaults = PlainEverywhere<3>();
inline constexpr auto kColourTypeDefaults = PlainEverywhere<5>();
inline constexpr std::array<TableData<CountHeader, PaperTypeEntry>, 3> kPaperTypeLists{{
    {1, {}, kWorkgroupPaperTypes},
    {2, {}, kDesktopPaperTypes},
    {3, {}, kColourPaperTypes},
}};
inline constexpr std::array<TableData<CountHeader, DefaultPaperType>, 3> kDefaultPaperTypeLists{{
    {1, {}, kWorkgroupTypeDefaults},
    {2, {}, kDesktopTypeDefaults},
    {3, {}, kColourTypeDefaults},
}};
static_assert(CountsWithin(kPaperTypeLists, kMaxPaperTypes));
static_assert(CountsWithin(kDefaultPaperTypeLists, kMaxTrays));

// 270, 272 and 275 are read only by list features whose pages define the options' meaning:
// minimal lists, one each for the family.
// 270: named by value (printer default, off, vivid, photo, screen match, custom); 5, custom,
// enables the second lists of the advanced colour page.
inline constexpr OptionPair kOptions655[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
inline constexpr OptionPair kShortOptions[] = {{0, 1}, {1, 2}, {2, 3}};
inline constexpr OptionPair kOptions449[] = {{0, 1}, {1, 2}};
inline constexpr std::array<TableData<CountHeader, OptionPair>, 1> kColourC3Lists{{
    {1, {}, kOptions655}}};
inline constexpr std::array<TableData<CountHeader, OptionPair>, 1> kShortOptionLists{{
    {1, {}, kShortOptions}}};
inline constexpr std::array<TableData<CountHeader, OptionPair>, 1> kHandlingOptionLists{{
    {1, {}, kOptions449}}};
static_assert(CountsWithin(kShortOptionLists, kMaxShortOptions));

// 286: colour adjustment for text, graphics and photos: automatic, vivid, photo, screen match,
// none, custom. The monochrome models keep automatic only.
inline constexpr OptionPair kMonoAdjust[] = {{0, 1}};
inline constexpr OptionPair kColourAdjust[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}};
inline constexpr std::array<TableData<CountHeader, OptionPair>, 2> kColourOptionLists{{
    {1, {}, kMonoAdjust},
    {2, {}, kColourAdjust},
}};

// 274: output bins. The workgroup model's three-bin mailbox needs output option 0x0001.
inline constexpr OutputBinEntry kDesktopBins[] = {{0, 1, 0}};
inline constexpr OutputBinEntry kWorkgroupBins[] = {
    {0, 1, 0}, {1, 2, 0}, {2, 3, 0x0001}, {3, 4, 0x0001}, {4, 5, 0x0001}};
inline constexpr OutputBinEntry kColourBins[] = {{0, 1, 0}, {1, 2, 0}};
inline constexpr std::array<TableData<CountHeader, OutputBinEntry>, 3> kOutputBinLists{{
    {1, {}, kDesktopBins},
    {2, {}, kWorkgroupBins},
    {3, {}, kColourBins},
}};
static_assert(CountsWithin(kOutputBinLists, kMaxOutputBins));

// ---- Font sets (276) ---------------------------------------------------------------------------

inline constexpr FontSetEntry kAllFontSets[] = {
    {1252, kSetLatin1, 0x80000001, 0},
    {1250, kSetLatin2, 0x00000002, 0},
    {1251, kSetCyrillic, 0x00000004, 0},
    {1253, kSetGreek, 0x00000008, 0},
};
inline constexpr FontSetEntry kWesternFontSets[] = {
    {1252, kSetLatin1, 0x80000001, 0},
    {1250, kSetLatin2, 0x00000002, 0},
};
inline constexpr std::array<TableData<CountHeader, FontSetEntry>, 2> kFontSetLists{{
    {1, {}, kAllFontSets},
    {2, {}, kWesternFontSets},
}};
static_assert(CountsWithin(kFontSetLists, kMaxFontSets));

// ---- Installable options (277, 278) ------------------------------------------------------------

inline constexpr InstallableOption kWorkgroupInputs[] = {
    {0x0008, kOptionThirdTray}, {0x0010, kOptionFeederA}};
inline constexpr InstallableOption kColourInputs[] = {{0x0008, kOptionThirdTray}};
inline constexpr std::array<TableData<DefaultedHeader, InstallableOption>, 3> kInputOptions{{
    {1, {0, 0x0007}, kWorkgroupInputs},
    {2, {0, 0x0007}, {}},
    {3, {0, 0x0007}, kColourInputs},
}};
inline constexpr InstallableOption kWorkgroupOutputs[] = {{0x0001, kOptionOutput}};
inline constexpr std::array<TableData<DefaultedHeader, InstallableOption>, 2> kOutputOptions{{
    {1, {0, 0}, {}},
    {2, {0, 0}, kWorkgroupOutputs},
}};
static_assert(CountsWithin(kInputOptions, kMaxInstallableOptions));
static_assert(CountsWithin(kOutputOptions, kMaxInstallableOptions));

// ---- User-paper limits (279), 1/1200 inch ------------------------------------------------------

inline constexpr std::array<RecordData<PaperLimits>, 2> kPaperLimits{{
    {1, {10200, 3600, 16800, 6000}},  // 3 x 5 to 8.5 x 14 inches
    {2, {10200, 4800, 16800, 7200}},  // 4 x 6 to 8.5 x 14 inches
}};

// ---- Page-template sets (281) ------------------------------------------------------------------

// Document slots: setup, paper, graphics, fonts, overlays, colour, advanced colour,
// configurations, web, about; device slots: installable options, customisation, about.
inline constexpr std::array<RecordData<PageTemplateSet>, 3> kPageTemplateSets{{
    {1, {{5001, 5002, 5003, 5004, 5005, 0, 0, 5008, 5009, 5010, 5011, 5012, 5010, 0, 0, 0}}},
    {2, {{5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010, 5011, 5012, 5010, 0, 0, 0}}},
    // The desktop model has no installable options: its device page shows memory only.
    {3, {{5001, 5002, 5003, 5004, 5005, 0, 0, 5008, 5009, 5010, 5013, 5012, 5010, 0, 0, 0}}},
}};

// ---- Feature layouts (283) ---------------------------------------------------------------------

// An item for a role of the bindings: its identifier and entry type, the range, and whether a
// change takes part in the constraint refresh (every identifier the refresh procedure acts on).
constexpr FeatureItem Item(const feature::Binding& b, std::int16_t minimum = 0, std::int16_t maximum = 0)
{
    bool constrained = feature::RequestsRefresh(b.id);
    for (const int id : feature::kRuleIds)
        constrained = constrained || id == b.id;
    return {b.id, std::int16_t(b.type), minimum, maximum, std::int16_t(constrained ? 1 : 0)};
}

namespace f = feature;
// Every model: the Setup, Paper, Graphics, Fonts, Overlay, Configurations and About pages, the
// installable options and customisation pages, the setup sub-dialogs and the account record.
inline constexpr FeatureItem kCommonFeatures[] = {
    Item(f::kOrientation, 1, 2),      Item(f::kPaperSize),              Item(f::kCopies, 1, 9999),
    Item(f::kPaperSource),            Item(f::kFontHandling),           Item(f::kCollate, 0, 1),
    Item(f::kThreeWayChoice, 1, 3),   Item(f::kDiskCapacity, 0, 1),     Item(f::kF1, 0, 1),
    Item(f::kGraphicsMode),           Item(f::kLevel, 0, 8),            Item(f::kPairFirst),
    Item(f::kPairSecond, 1, 4),       Item(f::kReversed, 0, 1),         Item(f::kMemory),
    Item(f::kInstalledSources, 0, 0x7FFF), Item(f::kOverlaySwitch, 0, 1), Item(f::kFirstPageOverlay),
    Item(f::kOtherPagesOverlay),      Item(f::kPaperTypes),             Item(f::kPagesPerSheet, 0, 0x0107),
    Item(f::kQuality),                Item(f::kToolkit1, 0, 2),         Item(f::kToolkit2, 0, 2),
    Item(f::kSelectBy, 0, 1),         Item(f::kResolutionFlag, 0, 4),   Item(f::kDiskRequirement, 0, 1),
    Item(f::kOutputBin),              Item(f::kFontSources),            Item(f::kF2, 0, 1),
    Item(f::kWatermarks, 0, 255),     Item(f::kFurther68, 0, 1),        Item(f::kFurther69, 0, 2),
    Item(f::kOnOff6258, 0, 1),        Item(f::kBorders, 0, 1),          Item(f::kNumber1084),
    Item(f::kHold),                   Item(f::kPaperHandlingFlags, -32768, 32767), Item(f::kFurther83, 0, 1),
    Item(f::kOnOff6259, 0, 1),        Item(f::kStatusWindow, 0, 1),     Item(f::kOutputBinChoice, 0, 2),
    Item(f::kG2, 0, 1),               Item(f::kOptionsNumber, 1, 32),   Item(f::kOutputSize, 0, 32767),
    Item(f::kConfigIdentity),         Item(f::kAccountTracking, 0, 1),  Item(f::kF3, 0, 1),
    Item(f::kColourFlags, -32768, 32767), Item(f::kCheck6750, 0, 1),    Item(f::kNumberSwitch, 0, 1),
    Item(f::kSwitch6692, 0, 1),       Item(f::kG4, 0, 1),               Item(f::kG5, 0, 1),
    Item(f::kG3, 0, 2),
};
// The duplex models: the duplex choice, the unit and the blocker.
inline constexpr FeatureItem kDuplexFeatures[] = {
    Item(f::kDuplex, 1, 3), Item(f::kDuplexUnit, 0, 3), Item(f::kDuplexBlocker, 0, 1)};
// Settings reached only through the settings library and the configuration data.
inline constexpr FeatureItem kSettingsOnlyFeatures[] = {
    Item(f::kFeature21, 0, 1),  Item(f::kFeature22, 0, 1),  Item(f::kFeature63, 0, 1),
    Item(f::kFeature66, 0, 1),  Item(f::kFeature67, 0, 1),  Item(f::kFeature72, 0, 3),
    Item(f::kFeature73, 0, 3),  Item(f::kFeature74, 0, 1),  Item(f::kFeature93, 0, 1),
    Item(f::kFeature97, 0, 1),  Item(f::kFeature98, 0, 1),  Item(f::kFeature102, 0, 1),
    Item(f::kFeature112, 0, 1), Item(f::kFeature113, 0, 1), Item(f::kFeature116, 0, 1),
    Item(f::kFeature117, -100, 100), Item(f::kFeature118, 0, 1), Item(f::kFeature119, 0, 1),
    Item(f::kFeature120, -100, 100), Item(f::kFeature121, -100, 100), Item(f::kFeature122, -100, 100),
    Item(f::kFeature123, -100, 100)};

inline constexpr FeatureItem kDesktopOnly[] = {Item(f::kG1)};
inline constexpr FeatureItem kWorkgroupOnly[] = {
    Item(f::kG1), Item(f::kHandlingOption1), Item(f::kHandlingOption2, 0, 2), Item(f::kHandlingOption3, 0, 2),
    Item(f::kInstalledOutputs, 0, 0x7FFF)};
// The colour model: the Colour and Advanced colour pages, and G1 from its offset list (R27).
inline constexpr FeatureItem kColourOnly[] = {
    Item(f::kG1Offset),           Item(f::kColourMode, 1, 2),   Item(f::kColourGroup1),
    Item(f::kColour1A, -100, 100), Item(f::kColour1B, -100, 100), Item(f::kColour1C, 0, 40),
    Item(f::kColourGroup2),       Item(f::kColour2A, -100, 100), Item(f::kColour2B, -100, 100),
    Item(f::kColour2C, 0, 40),    Item(f::kColourGroup3),       Item(f::kColour3A, -100, 100),
    Item(f::kColour3B, -100, 100), Item(f::kColour3C, 0, 40),    Item(f::kC3),
    Item(f::kC2, 0, 2),           Item(f::kC1, 0, 3),           Item(f::kC4, 0, 3),
    Item(f::kC6, 0, 3),           Item(f::kC8, 0, 1),           Item(f::kSecondList1),
    Item(f::kSecondList2),        Item(f::kSecondList3),        Item(f::kC7, 0, 3)};

template <std::size_t... N>
constexpr std::array<FeatureItem, (N + ...)> Join(const FeatureItem (&... parts)[N])
{
    std::array<FeatureItem, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(std::begin(parts), std::end(parts), out.begin() + at), at += N), ...);
    return out;
}

inline constexpr auto kDesktopLayout = Join(kCommonFeatures, kDesktopOnly);
inline constexpr auto kWorkgroupLayout = Join(kCommonFeatures, kDuplexFeatures, kWorkgroupOnly, kSettingsOnlyFeatures);
inline constexpr auto kColourLayout = Join(kCommonFeatures, kDuplexFeatures, kColourOnly, kSettingsOnlyFeatures);
inline constexpr std::array<TableData<CountHeader, FeatureItem>, 3> kFeatureLayouts{{
    {1, {}, kDesktopLayout},
    {2, {}, kWorkgroupLayout},
    {3, {}, kColourLayout},
}};
static_assert(CountsWithin(kFeatureLayouts, kMaxFeatureItems));

// ---- The models --------------------------------------------------------------------------------

// The desktop model: one 250-sheet tray and a manual feed slot, no duplex, monochrome.
inline constexpr ModelDescription kDesktop{
    .memoryMinimum = 2, .memoryMaximum = 64, .webModelWord = 12, .paperSet = 0,
    .trayList = 1, .resolutionList = 1, .graphicsModeList = 1, .graphicsG1List = 0, .printModeList = 1,
    .fontSetList = 1, .inputOptions = 1, .outputOptions = 0, .paperLimits = 0,
    .fontFlags = 1, .optionFlags = 1, .paperHandlingFlags = 3, .finishingFlags = 0, .colourFlags = 0,
    .toolkitOption1 = 1, .toolkitOption2 = 1, .family = kNoFamily, .pageTemplateSet = 2,
    .featureLayout = 0, .dialogSelector = 0};

// The workgroup model: automatic duplex, two optional 500-sheet trays, an optional three-bin
// mailbox, collation in the printer.
inline constexpr ModelDescription kWorkgroup{
    .memoryMinimum = 2, .memoryMaximum = 64, .webModelWord = 12, .paperSet = 1,
    .trayList = 0, .resolutionList = 0, .graphicsModeList = 0, .graphicsG1List = 1, .printModeList = 0,
    .outputBinList = 1, .fontSetList = 0, .inputOptions = 0, .outputOptions = 1,
    .paperLimits = 0, .fontFlags = 1, .optionFlags = 1,
    .paperHandlingFlags = 0x0007 | kFlags396DuplexUnit | 0x4000, .finishingFlags = 0, .colourFlags = 0,
    .toolkitOption1 = 1, .toolkitOption2 = 1, .family = 5, .pageTemplateSet = 0, .featureLayout = 1,
    .dialogSelector = 0};

// The colour model: 600 and 1200 dpi colour, automatic duplex, one optional tray, glossy media.
inline constexpr ModelDescription kColourModel{
    .memoryMinimum = 1, .memoryMaximum = 64, .webModelWord = 6, .paperSet = 2,
    .trayList = 2, .resolutionList = 2, .graphicsModeList = 2, .graphicsG1List = 3, .printModeList = 2,
    .outputBinList = 2, .fontSetList = 0, .inputOptions = 2, .outputOptions = 0,
    .paperLimits = 1, .colourOptionList = 1, .fontFlags = 1, .optionFlags = 1,
    .paperHandlingFlags = 0x0007 | kFlags396DuplexUnit | 0x4000, .finishingFlags = 0,
    .colourFlags = kFlags400Colour | 0x0800, .toolkitOption1 = 1, .toolkitOption2 = 1, .family = 6,
    .pageTemplateSet = 1, .featureLayout = 2, .dialogSelector = 0};

// Model 0 is the one installed when a name matches none.
inline constexpr std::array<ModelData, 3> kModels{{
    {"Qelbrin QV-5 PCL", kDesktop},
    {"Qelbrin QV-5n PCL", kWorkgroup},
    {"Qelbrin QV-5c PCL", kColourModel},
}};
static_assert(kModels.size() <= std::size_t(kMaxModels));
constexpr bool NamesFit()
{
    for (const ModelData& m : kModels)
        if (m.name.empty() || m.name.size() >= kModelNameSize)
            return false;
    return true;
}
static_assert(NamesFit());

// Every resource of the family, each once, as add(type, name, bytes): the one list that both the
// resource-script generator and the native fuzz fixtures write from.
template <class Add>
void ForEachFamilyResource(Add&& add)
{
    auto record = [](const auto& r) {
        std::vector<std::uint8_t> out;
        AppendRecord(out, r);
        return out;
    };
    auto tables = [&](int type, const auto& list) {
        for (const auto& t : list)
            add(type, t.name, EncodeTable(t.header, t.entries));
    };
    auto records = [&](int type, const auto& list) {
        for (const auto& r : list)
            add(type, r.name, record(r.record));
    };
    for (std::size_t i = 0; i < kResidentFonts.size(); ++i)
        add(kResidentFontType, int(i) + 1, record(kResidentFonts[i]));
    for (std::size_t i = 0; i < kModels.size(); ++i)
        add(kDescriptionType, kDescriptionName + int(i), record(kModels[i].description));
    tables(kTrayListType, kTrayLists);
    records(kResolutionListType, kResolutionLists);
    tables(kGraphicsModeListType, kGraphicsModeLists);
    tables(kGraphicsG1ListType, kGraphicsG1Lists);
    tables(kPrintModeListType, kPrintModeLists);
    tables(kPaperTypeListType, kPaperTypeLists);
    tables(kDefaultPaperTypeType, kDefaultPaperTypeLists);
    tables(kColourC3ListType, kColourC3Lists);
    tables(kShortOptionListType, kShortOptionLists);
    tables(kOutputBinListType, kOutputBinLists);
    tables(kHandlingOptionListType, kHandlingOptionLists);
    tables(kFontSetListType, kFontSetLists);
    tables(kInputOptionsType, kInputOptions);
    tables(kOutputOptionsType, kOutputOptions);
    records(kPaperLimitsType, kPaperLimits);
    records(kPageTemplateSetType, kPageTemplateSets);
    tables(kFeatureLayoutType, kFeatureLayouts);
    tables(kGraphicsG1AltListType, kGraphicsG1AltLists);
    tables(kMediaListType, kMediaLists);
    tables(kColourOptionListType, kColourOptionLists);
}

}  // namespace model::family
