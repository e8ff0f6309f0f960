// The feature entry block and what each entry binds: the block's layout, every entry type's size
// and offsets, and for every feature identifier the entry type the pages expect and the devmode
// value it carries (offset and width, named in DevmodeLayout.h). The builder, the write-back,
// the refresh procedure, the callbacks and the dialog library's pages all read these names, so a
// correction is one line here. No platform headers.
//
// Block: a 1540-byte header record, one entry per item of the model's feature layout (resource
// type 283) in layout order, then a record of size 0; the block is allocated 14 bytes larger than
// the sum of its records. Every record begins with its u16 size and u16 identifier, so the block
// is walked by sizes. All values little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "DevmodeLayout.h"

namespace feature {

// ---- Identifiers ---------------------------------------------------------------------------

inline constexpr std::size_t kSlots = 126;  // pointer arrays indexed by identifier
inline constexpr std::int16_t kFirstId = 1;
inline constexpr std::int16_t kLastId = 125;
inline constexpr std::int16_t kHeaderId = 65;  // the block header; never a layout item

// ---- Entry types ---------------------------------------------------------------------------

enum EntryType : std::uint8_t {
    kValueEntry = 1,        // one 16-bit value with its range
    kPaperSizeEntry = 2,
    kPaperSourceEntry = 3,
    kTrueTypeEntry = 4,
    kTextEntry = 5,         // an overlay name
    kResolutionEntry = 6,
    kListEntry = 7,         // a value and its option list
    kPrintModeEntry = 8,    // the combined pair's first value and its records
    kPaperTypeEntry = 9,    // paper types per source (R2)
    kFontSourceEntry = 10,
    kWatermarkEntry = 11,
    kShortListEntry = 12,   // a value and at most three options
    kNoEntry = 13,          // never emitted (R4)
    kNumberEntry = 14,      // a 32-bit value
    kHoldEntry = 15,        // print and hold
    kIdentityEntry = 16,    // the current configuration's identity
    kAccountEntry = 17,
};
inline constexpr int kFirstType = 1;
inline constexpr int kLastType = 17;

inline constexpr std::array<std::uint16_t, kLastType + 1> kEntrySizes = {
    0, 14, 22, 100, 14, 136, 44, 124, 162, 1326, 24, 36, 26, 0, 16, 44, 48, 114};
constexpr std::uint16_t EntrySize(int type)
{
    return type >= kFirstType && type <= kLastType ? kEntrySizes[std::size_t(type)] : 0;
}

// ---- Block layout --------------------------------------------------------------------------

inline constexpr std::size_t kHeaderSize = 1540;
inline constexpr std::size_t kBlockSlack = 14;  // the end record and spare bytes
inline constexpr std::size_t kHeaderContext = 8;  // the sheet context's address, pointer-width
static_assert(kHeaderContext + sizeof(void*) <= kHeaderSize);

// Every record.
inline constexpr std::size_t kRecordSize = 0;  // u16
inline constexpr std::size_t kRecordId = 2;    // u16
inline constexpr std::size_t kRecordHead = 4;
// Every entry.
inline constexpr std::size_t kConstrained = 4;  // u8: takes part in constraints
inline constexpr std::size_t kChanged = 5;      // u8: a page changed a constrained value
// Entries with a 16-bit value (types 1 to 4, 6 to 8, 12, 15, 17).
inline constexpr std::size_t kCurrent = 6;  // i16
inline constexpr std::size_t kDefault = 8;  // i16

// Lists inside entries end with this word (or at the entry's end).
inline constexpr std::uint16_t kListEnd = 0xFFFF;

namespace value {  // type 1
inline constexpr std::size_t kMinimum = 10;
inline constexpr std::size_t kMaximum = 12;
static_assert(kMaximum + 2 == EntrySize(kValueEntry));
}  // namespace value

namespace paper_size {  // type 2
// Six user-paper words at 10 to 20: 512, 519, 1200, 768, 640, 671 when the model offers user
// sizes, else 0 but for the word at 14, always 1200.
inline constexpr std::size_t kUserWords = 10;
inline constexpr std::size_t kUserWordCount = 6;
inline constexpr std::size_t kFirstUserForm = 10;
inline constexpr std::size_t kLastUserForm = 12;
inline constexpr std::size_t kResolutionWord = 14;
inline constexpr std::size_t kTemplateForm = 16;
inline constexpr std::uint16_t kUserWordValues[kUserWordCount] = {512, 519, 1200, 768, 640, 671};
static_assert(kUserWords + 2 * kUserWordCount == EntrySize(kPaperSizeEntry));
}  // namespace paper_size

namespace paper_source {  // type 3 (R8)
inline constexpr std::size_t kMediaFlag = 10;  // 1: a tray takes media numbered 501 or more
inline constexpr std::size_t kTrays = 12;
inline constexpr std::size_t kTraySize = 8;
inline constexpr std::size_t kMaxTrays = 11;
// A tray record.
inline constexpr std::size_t kTrayMask = 0;
inline constexpr std::size_t kTrayCode = 2;    // dmDefaultSource value
inline constexpr std::size_t kTrayNumber = 4;  // GetTrayID's index
inline constexpr std::size_t kTrayFlags = 6;   // manual, optional, automatic
static_assert(kTrays + kTraySize * kMaxTrays == EntrySize(kPaperSourceEntry));
}  // namespace paper_source

namespace truetype {  // type 4
inline constexpr std::size_t kChoice1 = 10;  // always 1
inline constexpr std::size_t kChoice2 = 11;  // 1 when one page per sheet (byte 605 is 0)
inline constexpr std::size_t kChoice4 = 12;  // bit 0 of model word 392
inline constexpr std::size_t kMarker = 13;   // the Fonts page's own byte; never written back (R15)
static_assert(kMarker + 1 == EntrySize(kTrueTypeEntry));
}  // namespace truetype

namespace text {  // type 5 (R10, R34)
inline constexpr std::size_t kCurrentText = 6;
inline constexpr std::size_t kDefaultText = 70;
inline constexpr std::size_t kTextChars = 32;  // wide; at most 31 and a zero reach the devmode
inline constexpr std::size_t kPlacement = 134;
inline constexpr std::size_t kDefaultPlacement = 135;
static_assert(kCurrentText + 2 * kTextChars == kDefaultText && kDefaultText + 2 * kTextChars == kPlacement);
static_assert(kDefaultPlacement + 1 == EntrySize(kTextEntry));
}  // namespace text

namespace resolution {  // type 6 (R9): current and default are choice positions 0 to 4
inline constexpr std::size_t kRecompute1 = 10;  // the chosen triple's flag word, as the page matches it
inline constexpr std::size_t kRecompute2 = 12;  // low byte: 1 while the word at 10 is non-zero
inline constexpr std::size_t kTriples = 14;
inline constexpr std::size_t kTripleSize = 6;
inline constexpr std::size_t kTripleCount = 5;
inline constexpr std::size_t kDpi = 0;
inline constexpr std::size_t kName = 2;
inline constexpr std::size_t kFlag = 4;  // devmode 232 for this choice
static_assert(kTriples + kTripleSize * kTripleCount == EntrySize(kResolutionEntry));
}  // namespace resolution

namespace list {  // type 7 (R7): (value, name index, reserved) triples ended by kListEnd
inline constexpr std::size_t kOptions = 10;
inline constexpr std::size_t kOptionSize = 6;
inline constexpr std::size_t kMaxOptions = 18;
static_assert(kOptions + kOptionSize * kMaxOptions + 2 <= EntrySize(kListEntry));
}  // namespace list

namespace print_mode {  // type 8: (first, second, requirement, name index) ended by kListEnd
inline constexpr std::size_t kModes = 10;
inline constexpr std::size_t kModeSize = 8;
inline constexpr std::size_t kMaxModes = 18;
static_assert(kModes + kModeSize * kMaxModes + 2 <= EntrySize(kPrintModeEntry));
}  // namespace print_mode

namespace paper_type {  // type 9 (R1, R2): eleven groups, one per tray of resource 259
inline constexpr std::size_t kGroups = 6;
inline constexpr std::size_t kGroupSize = 120;
inline constexpr std::size_t kGroupCount = 11;
// A group: its source (the tray code; 0 ends the walk), the chosen type, then (type value, name
// index, 0) triples ended by kListEnd.
inline constexpr std::size_t kSource = 0;
inline constexpr std::size_t kChosen = 2;
inline constexpr std::size_t kTypes = 4;
inline constexpr std::size_t kTypeSize = 6;
inline constexpr std::size_t kMaxTypes = 19;
static_assert(kGroups + kGroupSize * kGroupCount == EntrySize(kPaperTypeEntry));
static_assert(kTypes + kTypeSize * kMaxTypes + 2 <= kGroupSize);
static_assert(kGroupCount == devmode::kPaperTypeSlots);
}  // namespace paper_type

namespace font_source {  // type 10
inline constexpr std::size_t kMask = 8;  // u32, devmode 816
inline constexpr std::size_t kMaskDefault = 12;
inline constexpr std::size_t kSecond = 16;  // u32, devmode 820
inline constexpr std::size_t kSecondDefault = 20;
static_assert(kSecondDefault + 4 == EntrySize(kFontSourceEntry));
}  // namespace font_source

namespace watermark {  // type 11 (R5, R6)
inline constexpr std::size_t kMinimum = 6;  // the layout's range of the numbers
inline constexpr std::size_t kMaximum = 8;
inline constexpr std::size_t kFirstPage = 10;  // i16 of u8 673
inline constexpr std::size_t kFirstPageDefault = 12;
inline constexpr std::size_t kOtherPages = 14;  // i16 of u8 674
inline constexpr std::size_t kOtherPagesDefault = 16;
inline constexpr std::size_t kSwitch = 20;  // u32 of u8 671
inline constexpr std::size_t kSwitchDefault = 24;
inline constexpr std::size_t kPlacement = 28;  // u32 of u8 672
inline constexpr std::size_t kPlacementDefault = 32;
static_assert(kPlacementDefault + 4 == EntrySize(kWatermarkEntry));
}  // namespace watermark

namespace short_list {  // type 12: (value, name index) pairs ended by kListEnd
inline constexpr std::size_t kPairs = 10;
inline constexpr std::size_t kPairSize = 4;
inline constexpr std::size_t kMaxPairs = 3;
static_assert(kPairs + kPairSize * kMaxPairs + 2 <= EntrySize(kShortListEntry));
}  // namespace short_list

namespace number {  // type 14
inline constexpr std::size_t kValue = 8;  // u32
inline constexpr std::size_t kDefault = 12;
static_assert(kDefault + 4 == EntrySize(kNumberEntry));
}  // namespace number

namespace hold {  // type 15: the mode is the entry's current value
inline constexpr std::size_t kOption = 10;    // u8, devmode 651
inline constexpr std::size_t kUserName = 11;  // 25 bytes narrow, devmode 824
inline constexpr std::size_t kPin = 36;       // 5 bytes narrow, devmode 849
inline constexpr std::size_t kTypeWord = 42;  // 8 and 16 from bits 10 and 13 of model word 400
static_assert(kUserName + devmode::kHoldUserName.size == kPin && kPin + devmode::kHoldNumber.size < kTypeWord);
static_assert(kTypeWord + 2 == EntrySize(kHoldEntry));
}  // namespace hold

namespace identity {  // type 16 (R18): kind (1100) and identifier (1108 to 1123)
inline constexpr std::size_t kCurrentIdentity = 8;
inline constexpr std::size_t kDefaultIdentity = 28;
inline constexpr std::size_t kIdentitySize = 20;
static_assert(kDefaultIdentity + kIdentitySize == EntrySize(kIdentityEntry));
}  // namespace identity

namespace account {  // type 17: the switch is the entry's current value
inline constexpr std::size_t kMinimum = 10;
inline constexpr std::size_t kMaximum = 12;
inline constexpr std::size_t kRecord = 14;  // a copy of devmode 1125 to 1223
static_assert(kRecord + devmode::kAccountData.size + 1 == EntrySize(kAccountEntry));
}  // namespace account

// ---- Devmode values ------------------------------------------------------------------------
// How an entry's value sits in the devmode. Every value is read and written at its own width
// (R6); an entry widens it only inside itself.

enum class Width : std::uint8_t {
    None,    // no devmode value: current and default 0
    U8,
    I8,
    U16,
    I16,
    U32,
    Pair47,  // 605 the low byte, 602 the high byte
    Bit,     // one bit of a byte
    Fixed,   // no devmode value: current 1, default 0 (feature 55)
};

struct DevmodeValue {
    std::uint16_t offset = 0;
    Width width = Width::None;
    std::uint8_t bit = 0;
};
constexpr DevmodeValue Of(devmode::U8 f) { return {f.offset, Width::U8}; }
constexpr DevmodeValue Of(devmode::I8 f) { return {f.offset, Width::I8}; }
constexpr DevmodeValue Of(devmode::U16 f) { return {f.offset, Width::U16}; }
constexpr DevmodeValue Of(devmode::I16 f) { return {f.offset, Width::I16}; }
constexpr DevmodeValue Of(devmode::U32 f) { return {f.offset, Width::U32}; }
constexpr DevmodeValue BitOf(devmode::U8 f, std::uint8_t bit) { return {f.offset, Width::Bit, bit}; }
inline constexpr DevmodeValue kNoValue{};

// Where a type-1 entry's range comes from.
enum class Range : std::uint8_t {
    Layout,       // the layout item's minimum and maximum
    MemoryWords,  // feature 20: model words 340 and 342 (R11)
    RangeByte,    // features 51 and 52: the layout's minimum, the range byte as maximum (R19)
};

struct Binding {
    std::int16_t id;
    EntryType type;
    DevmodeValue value;
    Range range = Range::Layout;
    DevmodeValue rangeSource = kNoValue;
    bool writtenBack = true;  // false for the model flag words inside the model record (R35)
};

// ---- Roles ---------------------------------------------------------------------------------
// Named as the pages name them. A role's devmode value is the one its entry carries; types 2 to
// 17 keep further values in their own layout above.

namespace dm = devmode;

// Public fields.
inline constexpr Binding kOrientation{1, kValueEntry, Of(dm::dmOrientation)};
inline constexpr Binding kPaperSize{2, kPaperSizeEntry, Of(dm::dmPaperSize)};
inline constexpr Binding kCopies{3, kValueEntry, Of(dm::dmCopies)};
inline constexpr Binding kPaperSource{4, kPaperSourceEntry, Of(dm::dmDefaultSource)};
inline constexpr Binding kDuplex{6, kValueEntry, Of(dm::dmDuplex)};
inline constexpr Binding kFontHandling{7, kTrueTypeEntry, Of(dm::dmTTOption)};
inline constexpr Binding kCollate{8, kValueEntry, Of(dm::dmCollate)};
inline constexpr Binding kThreeWayChoice{10, kValueEntry, Of(dm::dmDitherType)};
inline constexpr Binding kColourMode{45, kValueEntry, Of(dm::dmColor)};
inline constexpr Binding kQuality{50, kResolutionEntry, Of(dm::dmPrintQuality)};

// Setup page and its sub-dialogs.
inline constexpr Binding kDiskCapacity{11, kValueEntry, Of(dm::kFeature11)};
inline constexpr Binding kReversed{19, kValueEntry, Of(dm::kFeature19)};
inline constexpr Binding kDuplexUnit{23, kValueEntry, Of(dm::kFinishing)};  // R13
inline constexpr Binding kPagesPerSheet{47, kValueEntry, {dm::kFeature47Low.offset, Width::Pair47}};
inline constexpr Binding kDiskRequirement{55, kValueEntry, {0, Width::Fixed}};
inline constexpr Binding kFurther68{68, kValueEntry, Of(dm::kFeature68)};
inline constexpr Binding kFurther69{69, kValueEntry, Of(dm::kFeature69)};
inline constexpr Binding kBorders{71, kValueEntry, Of(dm::kFeature71)};
inline constexpr Binding kHold{77, kHoldEntry, Of(dm::kHoldMode)};  // R4
inline constexpr Binding kFurther83{83, kValueEntry, Of(dm::kFeature83)};
inline constexpr Binding kStatusWindow{86, kValueEntry, Of(dm::kSoftwareEnable)};
inline constexpr Binding kOutputBinChoice{87, kValueEntry, Of(dm::kFeature87)};
inline constexpr Binding kOptionsNumber{90, kValueEntry, Of(dm::kFeature90)};  // R28
inline constexpr Binding kDuplexBlocker{109, kValueEntry, Of(dm::kFeature109)};
inline constexpr Binding kNumberSwitch{110, kValueEntry, Of(dm::kFeature110)};
inline constexpr Binding kSwitch6692{111, kValueEntry, Of(dm::kFeature111)};

// Paper page.
inline constexpr Binding kGraphicsMode{13, kListEntry, Of(dm::kGraphicsMode)};
inline constexpr Binding kInstalledSources{24, kValueEntry, Of(dm::kInstalledTrays)};
inline constexpr Binding kPaperTypes{29, kPaperTypeEntry, Of(dm::kPaperTypes)};
inline constexpr Binding kSelectBy{53, kValueEntry, Of(dm::kFeature53)};
inline constexpr Binding kOutputBin{57, kListEntry, Of(dm::kOutputBin)};
inline constexpr Binding kHandlingOption1{58, kListEntry, Of(dm::kHandlingOption1)};
inline constexpr Binding kHandlingOption2{78, kValueEntry, Of(dm::kFeature78)};
inline constexpr Binding kPaperHandlingFlags{81, kValueEntry, Of(dm::kPaperHandlingFlags), Range::Layout,
                                             kNoValue, false};
inline constexpr Binding kInstalledOutputs{82, kValueEntry, Of(dm::kFeature82)};
inline constexpr Binding kOutputSize{91, kValueEntry, Of(dm::kSecondPaperSize)};  // R23
inline constexpr Binding kHandlingOption3{101, kValueEntry, Of(dm::kFeature101)};

// Graphics page.
inline constexpr Binding kLevel{14, kValueEntry, Of(dm::kFeature14)};
inline constexpr Binding kG1{15, kListEntry, Of(dm::kGraphicsG1)};
inline constexpr Binding kG1Offset{79, kListEntry, Of(dm::kGraphicsG1)};  // R27: 231 + 5
inline constexpr Binding kPairFirst{16, kPrintModeEntry, Of(dm::kCombinedPairP)};
inline constexpr Binding kPairSecond{17, kValueEntry, Of(dm::kCombinedPairQ)};  // or 235, below
inline constexpr Binding kResolutionFlag{54, kValueEntry, Of(dm::kResolutionFlag)};  // R37
inline constexpr Binding kG2{88, kValueEntry, Of(dm::kFeature88)};
inline constexpr Binding kG4{114, kValueEntry, Of(dm::kFeature114)};
inline constexpr Binding kG5{115, kValueEntry, Of(dm::kFeature115)};
inline constexpr Binding kG3{125, kValueEntry, Of(dm::kFeature125)};

// Fonts page.
inline constexpr Binding kF1{12, kValueEntry, Of(dm::kFeature12)};
inline constexpr Binding kFontSources{59, kFontSourceEntry, Of(dm::kFontSetMask1)};
inline constexpr Binding kF2{60, kValueEntry, Of(dm::kFeature60)};
inline constexpr Binding kF3{100, kValueEntry, Of(dm::kFeature100)};

// Colour and advanced colour pages.
inline constexpr Binding kColourGroup1{30, kShortListEntry, Of(dm::kColourGroup1)};
inline constexpr Binding kColour1A{31, kValueEntry, Of(dm::kFeature31)};
inline constexpr Binding kColour1B{32, kValueEntry, Of(dm::kFeature32)};
inline constexpr Binding kColour1C{33, kValueEntry, Of(dm::kFeature33)};
inline constexpr Binding kColourGroup2{34, kShortListEntry, Of(dm::kColourGroup2)};
inline constexpr Binding kColour2A{35, kValueEntry, Of(dm::kFeature35)};
inline constexpr Binding kColour2B{36, kValueEntry, Of(dm::kFeature36)};
inline constexpr Binding kColour2C{37, kValueEntry, Of(dm::kFeature37)};
inline constexpr Binding kColourGroup3{38, kShortListEntry, Of(dm::kColourGroup3)};
inline constexpr Binding kColour3A{39, kValueEntry, Of(dm::kFeature39)};
inline constexpr Binding kColour3B{40, kValueEntry, Of(dm::kFeature40)};
inline constexpr Binding kColour3C{41, kValueEntry, Of(dm::kFeature41)};
inline constexpr Binding kC3{42, kListEntry, Of(dm::kColourC3)};
inline constexpr Binding kC2{43, kValueEntry, Of(dm::kFeature43)};
inline constexpr Binding kC1{44, kValueEntry, Of(dm::kFeature44)};
inline constexpr Binding kC4{46, kValueEntry, Of(dm::kFeature46)};
inline constexpr Binding kC6{76, kValueEntry, Of(dm::kFeature76)};
inline constexpr Binding kC6b{85, kValueEntry, Of(dm::kFeature85)};
inline constexpr Binding kC8{99, kValueEntry, Of(dm::kFeature99)};
inline constexpr Binding kSecondList1{104, kListEntry, Of(dm::kFeature104)};
inline constexpr Binding kSecondList2{105, kListEntry, Of(dm::kFeature105)};
inline constexpr Binding kSecondList3{106, kListEntry, Of(dm::kFeature106)};
inline constexpr Binding kColourFlags{107, kValueEntry, Of(dm::kColourFlags), Range::Layout, kNoValue, false};
inline constexpr Binding kC7{124, kValueEntry, Of(dm::kFeature124)};

// Overlay page.
inline constexpr Binding kOverlaySwitch{26, kValueEntry, Of(dm::kFeature26)};
inline constexpr Binding kFirstPageOverlay{27, kTextEntry, {dm::kFirstPageOverlay.offset, Width::None}};
inline constexpr Binding kOtherPagesOverlay{28, kTextEntry, {dm::kOtherPagesOverlay.offset, Width::None}};
inline constexpr Binding kWatermarks{62, kWatermarkEntry, Of(dm::kFirstPageWatermark)};

// Installable options, customisation, configurations, account.
inline constexpr Binding kMemory{20, kValueEntry, Of(dm::kInstalledMemory), Range::MemoryWords};
inline constexpr Binding kToolkit1{51, kValueEntry, Of(dm::kToolkitOption1), Range::RangeByte,
                                   Of(dm::kRangeWord51)};
inline constexpr Binding kToolkit2{52, kValueEntry, Of(dm::kToolkitOption2), Range::RangeByte,
                                   Of(dm::kRangeWord52)};
inline constexpr Binding kOnOff6258{70, kValueEntry, Of(dm::kFeature70)};
inline constexpr Binding kCheck6377 = kDiskCapacity;
inline constexpr Binding kOnOff6259{84, kValueEntry, Of(dm::kFeature84)};
inline constexpr Binding kNumber1084{75, kNumberEntry, Of(dm::kFeature75)};  // R4
inline constexpr Binding kConfigIdentity{94, kIdentityEntry, Of(dm::kConfigKind)};
inline constexpr Binding kAccountTracking{95, kAccountEntry, Of(dm::kAccountByte)};
inline constexpr Binding kCheck6750{108, kValueEntry, Of(dm::kCollateAllowed)};

// Without a page role: reached through the settings library and the configuration data.
inline constexpr Binding kFeature21{21, kValueEntry, Of(dm::kFeature21)};
inline constexpr Binding kFeature22{22, kValueEntry, Of(dm::kFeature22)};
inline constexpr Binding kFeature63{63, kValueEntry, BitOf(dm::kFeatureBits670, 0)};
inline constexpr Binding kFeature66{66, kValueEntry, BitOf(dm::kFeatureBits670, 1)};
inline constexpr Binding kFeature67{67, kValueEntry, BitOf(dm::kFeatureBits670, 2)};
inline constexpr Binding kFeature72{72, kValueEntry, Of(dm::kFeature72)};
inline constexpr Binding kFeature73{73, kValueEntry, Of(dm::kFeature73)};
inline constexpr Binding kFeature74{74, kValueEntry, Of(dm::kFeature74)};
inline constexpr Binding kFeature93{93, kValueEntry, Of(dm::kFeature93)};
inline constexpr Binding kFeature97{97, kValueEntry, Of(dm::kFeature97)};
inline constexpr Binding kFeature98{98, kValueEntry, BitOf(dm::kFeatureBits670, 3)};
inline constexpr Binding kFeature102{102, kValueEntry, Of(dm::kFeature102)};
inline constexpr Binding kFeature112{112, kValueEntry, Of(dm::kFeature112)};
inline constexpr Binding kFeature113{113, kValueEntry, Of(dm::kFeature113)};
inline constexpr Binding kFeature116{116, kValueEntry, Of(dm::kFeature116)};
inline constexpr Binding kFeature117{117, kValueEntry, Of(dm::kFeature117)};
inline constexpr Binding kFeature118{118, kValueEntry, Of(dm::kFeature118)};
inline constexpr Binding kFeature119{119, kListEntry, Of(dm::kFeature119)};  // R26
inline constexpr Binding kFeature120{120, kValueEntry, Of(dm::kFeature120)};
inline constexpr Binding kFeature121{121, kValueEntry, Of(dm::kFeature121)};
inline constexpr Binding kFeature122{122, kValueEntry, Of(dm::kFeature122)};
inline constexpr Binding kFeature123{123, kValueEntry, Of(dm::kFeature123)};

// Feature 17 reads 235 instead of 234 on colour models without bit 11 of model word 400, or when
// model word 362 is 3.
inline constexpr DevmodeValue kPairSecondAlt = Of(dm::kCombinedPairQAlt);
inline constexpr std::uint16_t kColourKeepsPairApart = 0x0800;  // model word 400
inline constexpr std::uint16_t kPairApartListWord = 3;         // model word 362

// Every identifier that has a binding, in identifier order. Identifiers not listed give type-1
// entries without a devmode value (current and default 0).
inline constexpr Binding kBindings[] = {
    kOrientation, kPaperSize, kCopies, kPaperSource, kDuplex, kFontHandling, kCollate,
    kThreeWayChoice, kDiskCapacity, kF1, kGraphicsMode, kLevel, kG1, kPairFirst, kPairSecond,
    kReversed, kMemory, kFeature21, kFeature22, kDuplexUnit, kInstalledSources, kOverlaySwitch,
    kFirstPageOverlay, kOtherPagesOverlay, kPaperTypes, kColourGroup1, kColour1A, kColour1B,
    kColour1C, kColourGroup2, kColour2A, kColour2B, kColour2C, kColourGroup3, kColour3A,
    kColour3B, kColour3C, kC3, kC2, kC1, kColourMode, kC4, kPagesPerSheet, kQuality, kToolkit1,
    kToolkit2, kSelectBy, kResolutionFlag, kDiskRequirement, kOutputBin, kHandlingOption1,
    kFontSources, kF2, kWatermarks, kFeature63, kFeature66, kFeature67, kFurther68, kFurther69,
    kOnOff6258, kBorders, kFeature72, kFeature73, kFeature74, kNumber1084, kC6, kHold,
    kHandlingOption2, kG1Offset, kPaperHandlingFlags, kInstalledOutputs, kFurther83, kOnOff6259,
    kC6b, kStatusWindow, kOutputBinChoice, kG2, kOptionsNumber, kOutputSize, kFeature93,
    kConfigIdentity, kAccountTracking, kFeature97, kFeature98, kC8, kF3, kHandlingOption3,
    kFeature102, kSecondList1, kSecondList2, kSecondList3, kColourFlags, kCheck6750,
    kDuplexBlocker, kNumberSwitch, kSwitch6692, kFeature112, kFeature113, kG4, kG5, kFeature116,
    kFeature117, kFeature118, kFeature119, kFeature120, kFeature121, kFeature122, kFeature123,
    kC7, kG3,
};

constexpr bool BindingsInOrder()
{
    for (std::size_t i = 0; i < std::size(kBindings); ++i) {
        const Binding& b = kBindings[i];
        if (b.id < kFirstId || b.id > kLastId || b.id == kHeaderId)
            return false;
        if (i > 0 && kBindings[i - 1].id >= b.id)
            return false;
        if (b.type == kValueEntry && b.value.width == Width::None)
            return false;
    }
    return true;
}
static_assert(BindingsInOrder());

// The binding of an identifier; null for one without.
constexpr const Binding* Find(int id)
{
    for (const Binding& b : kBindings)
        if (b.id == id)
            return &b;
    return nullptr;
}
static_assert(Find(62)->type == kWatermarkEntry && Find(77)->type == kHoldEntry && Find(75)->type == kNumberEntry);
static_assert(Find(5) == nullptr && Find(kHeaderId) == nullptr);

// ---- The refresh procedure's rules ---------------------------------------------------------

// Identifiers whose change requests a refresh (which clears the configuration identity, entry
// 94); 13, 47, 50, 53 and 95 have rules of their own as well.
constexpr bool RequestsRefresh(int id)
{
    return (id >= 1 && id <= 10) || id == 12 || (id >= 14 && id <= 19) || (id >= 25 && id <= 46) ||
           id == 48 || id == 49 || id == 54 || (id >= 57 && id <= 63) || (id >= 66 && id <= 69) ||
           (id >= 71 && id <= 79) || id == 83 || (id >= 85 && id <= 88) || id == 90 || id == 91 ||
           id == 93 || (id >= 97 && id <= 101) || (id >= 104 && id <= 106) || (id >= 109 && id <= 111) ||
           (id >= 114 && id <= 125);
}
// Identifiers the refresh procedure acts on by a rule of their own.
inline constexpr int kRuleIds[] = {13, 47, 50, 53, 95};
// Model word 392 bit 0 lets font handling 4 stand with several pages per sheet (R14); model word
// 394 bit 2 keeps a change of the account entry from clearing the identity.
inline constexpr std::uint16_t kFontHandling4Allowed = 0x0001;
inline constexpr std::uint16_t kAccountKeepsIdentity = 0x0004;
// Feature 53's value that selects by paper type, and the paper source it sets.
inline constexpr std::int16_t kSelectByType = 1;
inline constexpr std::int16_t kAutomaticSource = 7;
// Feature 13's value in which custom forms are off, and the bit of entry 81 (byte 397, bit 7)
// that keeps them on.
inline constexpr std::int16_t kCompatibleMode = 2;
inline constexpr std::uint16_t kFormsInCompatibleMode = 0x8000;

}  // namespace feature
