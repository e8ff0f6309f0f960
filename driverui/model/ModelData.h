// The printer family: every model and every resource that describes it. Compiled into
// QVTDX5DA's resources by the resource generator (ModelRcGen.cpp); the driver itself reads these
// values only from its resources, where a replaced library may have put others.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

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

// 266 and 267, read only by the font page's feature: minimal records, one list for the family.
// Group 0 chooses the default font, group 1 its symbol set.
inline constexpr FontGroupEntry kFontGroups[] = {{0, 1, 0, 0, 3}, {1, 2, 1, 3, 4}};
inline constexpr OptionPair kFontChoices[] = {
    {0, 1}, {1, 2}, {2, 3}, {kRoman8, 4}, {kWinLatin1, 5}, {kWinLatin2, 6}, {kWinCyrillic, 7}};
inline constexpr std::array<TableData<CountHeader, FontGroupEntry>, 1> kFontGroupLists{{
    {1, {}, kFontGroups}}};
inline constexpr std::array<TableData<CountHeader, OptionPair>, 1> kFontChoiceLists{{
    {1, {}, kFontChoices}}};
static_assert(CountsWithin(kFontGroupLists, kMaxFontGroups));
static_assert(CountsWithin(kFontChoiceLists, kMaxFontChoices));

// 270, 272 and 275 are read only by list features whose pages define the options' meaning:
// minimal lists, one each for the family.
inline constexpr OptionPair kOptions655[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}};
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

// Items: feature, entry type, minimum, maximum, constrained.
inline constexpr FeatureItem kCommonFeatures[] = {
    {1, 1, 1, 2, 0},   {2, 2, 0, 0, 1},   {3, 1, 1, 9999, 0}, {4, 3, 0, 0, 1},
    {8, 1, 0, 1, 0},   {7, 4, 0, 0, 0},   {10, 1, 1, 3, 0},   {13, 7, 0, 0, 1},
    {16, 8, 0, 0, 1},  {17, 1, 1, 4, 1},  {19, 1, 0, 1, 0},   {20, 1, 0, 0, 0},
    {21, 1, 0, 1, 0},  {27, 5, 0, 0, 0},  {28, 5, 0, 0, 0},   {29, 9, 0, 0, 0},
    {47, 1, 0, 0x0107, 1}, {50, 6, 0, 0, 1}, {54, 1, 0, 1, 1}, {59, 10, 0, 0, 0},
    {86, 1, 0, 1, 0},  {87, 1, 0, 2, 0},  {90, 1, 1, 99, 0},  {94, 16, 0, 0, 0},
    {24, 1, 0, 0x7FFF, 0}, {95, 17, 0, 1, 0},
};

template <std::size_t N, std::size_t M>
constexpr std::array<FeatureItem, N + M> Join(const FeatureItem (&a)[N], const FeatureItem (&b)[M])
{
    std::array<FeatureItem, N + M> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = a[i];
    for (std::size_t i = 0; i < M; ++i)
        out[N + i] = b[i];
    return out;
}

inline constexpr FeatureItem kDesktopOnly[] = {{15, 7, 0, 0, 0}};
inline constexpr FeatureItem kWorkgroupOnly[] = {
    {15, 7, 0, 0, 0}, {6, 1, 1, 3, 0},      {23, 1, 0, 3, 0},  {57, 7, 0, 0, 0},
    {82, 1, 0, 0x7FFF, 0}, {30, 12, 0, 0, 0}, {58, 7, 0, 0, 0}};
inline constexpr FeatureItem kColourOnly[] = {
    {79, 7, 0, 0, 0},  {6, 1, 1, 3, 0},    {23, 1, 0, 3, 0},   {45, 1, 1, 2, 1},
    {42, 7, 0, 0, 0},  {104, 7, 0, 0, 0},  {105, 7, 0, 0, 0},  {106, 7, 0, 0, 0},
    {57, 7, 0, 0, 0}};
inline constexpr auto kDesktopLayout = Join(kCommonFeatures, kDesktopOnly);
inline constexpr auto kWorkgroupLayout = Join(kCommonFeatures, kWorkgroupOnly);
inline constexpr auto kColourLayout = Join(kCommonFeatures, kColourOnly);
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
    tables(kFontGroupListType, kFontGroupLists);
    tables(kFontChoiceListType, kFontChoiceLists);
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
