// The device configuration table ("DVCFGTBL"). Map pairs are devmode value -> data value; in the
// data, 1 is on and 2 is off. Top-level entries take part in pass 4 and operation 1 unless noted;
// children in every pass, with their container's operation mask.
#include <array>

#include "CfgEngine.h"
#include "CfgTable.h"

namespace {

constexpr std::uint32_t kAllBits = 0xFFFFFFFFu;
constexpr std::uint32_t kClassMask = 0xFFFF0000u;
constexpr std::uint16_t kV = 4;  // every value element carries 4 bytes

constexpr dm::Field U8(std::uint16_t offset) { return {offset, 1}; }

struct Place {
    std::uint32_t pass;
    std::uint32_t op;
};
constexpr Place Top(std::uint32_t op = 1, std::uint32_t pass = 4) { return {pass, op}; }
constexpr Place Child(std::uint32_t op = 1) { return {kPassAll, op}; }

constexpr CfgEntry Container(std::uint32_t id, const CfgTable& t, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::Container, ConvParam{.table = &t}};
}
constexpr CfgEntry Map(std::uint32_t id, const MapParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::Map, ConvParam{.map = &p}};
}
constexpr CfgEntry Number(std::uint32_t id, const NumberParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::Number, ConvParam{.number = &p}};
}
constexpr CfgEntry Scaled(std::uint32_t id, const ScaledParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::Scaled, ConvParam{.scaled = &p}};
}
constexpr CfgEntry CallbackMap(std::uint32_t id, const CallbackMapParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::CallbackMap, ConvParam{.callbackMap = &p}};
}
constexpr CfgEntry Paper(std::uint32_t id, const PaperParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::PaperSize, ConvParam{.paper = &p}};
}
constexpr CfgEntry FormName(std::uint32_t id, const FormNameParam& p, Place at)
{
    return {id, kAllBits, at.pass, at.op, ConvKind::FormName, ConvParam{.formName = &p}};
}
constexpr CfgEntry Special(std::uint32_t id, const SpecialParam& p, Place at,
                           std::uint32_t mask = kAllBits)
{
    return {id, mask, at.pass, at.op, ConvKind::Special, ConvParam{.special = &p}};
}

// ---- Shared value maps.

constexpr MapPair kOnOffPairs[] = {{0, 2}, {1, 1}};
constexpr ValueMap kOnOff{kOnOffPairs};
constexpr MapPair kOffOnPairs[] = {{0, 1}, {1, 2}};
constexpr ValueMap kOffOn{kOffOnPairs};
constexpr MapPair kTriStatePairs[] = {{0, 0}, {1, 2}, {2, 1}};
constexpr ValueMap kTriState{kTriStatePairs};

constexpr MapParam OnOff(dm::Field f) { return {f, kV, &kOnOff}; }

// ---- 0x100 to 0x105: resolution choice, finishing and the two range words.

constexpr SpecialParam kSp100{SpecialId::InstalledTrays, 0};
constexpr SpecialParam kSp101{SpecialId::OutputOptions, 0};

constexpr ScaledParam k103Memory{dm::kInstalledMemory, 1024, 1, kV};
constexpr CfgEntry k103Entries[] = {Scaled(1, k103Memory, Child())};
constexpr CfgTable k103{k103Entries};

constexpr MapPair kFinishingPairs[] = {{0, 16}, {3, 15}, {2, 15}, {1, 15}};
constexpr ValueMap kFinishingMap{kFinishingPairs};
constexpr MapParam k102Finishing{U8(459), kV, &kFinishingMap};
constexpr CfgEntry k102Entries[] = {Map(1, k102Finishing, Child())};
constexpr CfgTable k102{k102Entries};

constexpr NumberParam k104Range{U8(460), kV, 0, 9999, 0};
constexpr CfgEntry k104Entries[] = {Number(1, k104Range, Child())};
constexpr CfgTable k104{k104Entries};

constexpr NumberParam k105Range{U8(461), kV, 0, 9999, 0};
constexpr CfgEntry k105Entries[] = {Number(1, k105Range, Child())};
constexpr CfgTable k105{k105Entries};

// ---- Installed options and groups converted by dedicated routines.

constexpr SpecialParam kSp120{SpecialId::PrivateBytes, 0};
constexpr SpecialParam kSp20001{SpecialId::AccountTexts, 0};

constexpr SpecialParam kSp9Class1{SpecialId::FontGroups, 0};
constexpr SpecialParam kSp9Class2{SpecialId::FontSetMasks, 0};
constexpr CfgEntry k9Entries[] = {
    Special(0x10000, kSp9Class1, Child(0x20)),
    Special(0x20000, kSp9Class2, Child(0x20)),
};
constexpr CfgTable k9{k9Entries};

constexpr SpecialParam kSp18{SpecialId::TrayBytes, 0};
constexpr SpecialParam kSp20201{SpecialId::ColourTuning, 0};

// ---- 0xB: orientation.

constexpr MapPair kOrientationPairs[] = {{1, 1}, {2, 2}};
constexpr ValueMap kOrientationMap{kOrientationPairs};
constexpr MapParam kBOrientation{dm::kOrientation, kV, &kOrientationMap};
constexpr MapParam kB_2{U8(453), kV, &kOffOn};
constexpr MapParam kBReversed{U8(237), kV, &kOnOff};
constexpr CfgEntry kBEntries[] = {
    Map(1, kBOrientation, Child()),
    Map(2, kB_2, Child()),
    Map(3, kBReversed, Child()),
};
constexpr CfgTable kB{kBEntries};

// ---- 1 and 0x1E: paper sizes and form names.

constexpr MapPair kPaperPairs[] = {
    {1, 1},         {2, 2},         {5, 3},         {8, 4},         {9, 6},
    {10, 7},        {11, 8},        {262, 31},      {12, 9},        {13, 10},
    {3, 11},        {7, 12},        {4, 13},        {6, 14},        {14, 15},
    {15, 16},       {37, 0x10002},  {19, 0x10003},  {20, 0x10004},  {21, 0x10005},
    {22, 0x10006},  {23, 0x10007},  {27, 0x10008},  {29, 0x10009},  {30, 0x1000A},
    {28, 0x1000B},  {31, 0x1000C},  {33, 0x10010},  {34, 0x10011},  {35, 0x10012},
    {36, 0x10013},  {256, 19},      {257, 5},       {258, 27},      {259, 28},
    {260, 29},      {261, 30},
};
constexpr ValueMap kPaperMap{kPaperPairs};

constexpr PaperParam k1Paper{dm::kPaperSize, 0, kV, &kPaperMap};
constexpr FormNameParam k1Form{dm::kPaperSize, 0};
constexpr CfgEntry k1Entries[] = {
    Paper(1, k1Paper, Child()),
    FormName(4, k1Form, Child()),
};
constexpr CfgTable k1{k1Entries};

constexpr PaperParam k1EPaper{dm::kSecondPaperSize, 1, kV, &kPaperMap};
constexpr FormNameParam k1EForm{dm::kSecondPaperSize, 1};
constexpr CfgEntry k1EEntries[] = {
    Paper(1, k1EPaper, Child()),
    FormName(4, k1EForm, Child()),
};
constexpr CfgTable k1E{k1EEntries};

// ---- 0x12: copies.

constexpr NumberParam k12Copies{dm::kCopies, kV, 1, 9999, 1};
constexpr CfgEntry k12Entries[] = {Number(1, k12Copies, Child())};
constexpr CfgTable k12{k12Entries};

// ---- 2: paper source, keyed by the tray number of the model's tray list.

constexpr MapPair kTrayPairs[] = {
    {0, 257}, {1, 258},  {2, 259},  {7, 256},  {5, 260},
    {6, 261}, {8, 262},  {3, 288},  {14, 290}, {4, 289},
    {9, std::int32_t(0x80000001u)},  {10, std::int32_t(0x80000002u)},
    {11, std::int32_t(0x80000003u)}, {12, std::int32_t(0x80000004u)},
    {13, std::int32_t(0x80000005u)},
};
constexpr ValueMap kTrayMap{kTrayPairs};
constexpr CallbackMapParam k2Source{PaperSourceToKey, PaperSourceFromKey, kV, &kTrayMap};
constexpr CfgEntry k2Entries[] = {CallbackMap(1, k2Source, Child())};
constexpr CfgTable k2{k2Entries};

// ---- 3: media type.

constexpr SpecialParam kSpMedia{SpecialId::MediaType, 0};
constexpr CfgEntry k3Entries[] = {Special(1, kSpMedia, Child())};
constexpr CfgTable k3{k3Entries};

// ---- 5, 0x10, 0x191, 0xC, 0x13.

constexpr MapParam k5Colour{U8(458), kV, &kOffOn};
constexpr CfgEntry k5Entries[] = {Map(1, k5Colour, Child())};
constexpr CfgTable k5{k5Entries};

constexpr MapPair kQualityPairs[] = {
    {-1, 7}, {-2, 8}, {-3, 9}, {-4, 10}, {300, 300}, {600, 600}, {1200, 1200},
};
constexpr ValueMap kQualityMap{kQualityPairs};
constexpr MapParam k10Quality{dm::kPrintQuality, kV, &kQualityMap};
constexpr CfgEntry k10Entries[] = {
    Map(1, k10Quality, Child()),
    Map(2, k10Quality, Child()),
};
constexpr CfgTable k10{k10Entries};

constexpr MapPair k191Pairs[] = {{0, 2}, {1, 257}, {4, 259}};
constexpr ValueMap k191Map{k191Pairs};
constexpr MapParam k191Flag{U8(232), kV, &k191Map};
constexpr CfgEntry k191Entries[] = {Map(1, k191Flag, Child())};
constexpr CfgTable k191{k191Entries};

constexpr MapPair kDuplexPairs[] = {{1, 256}, {2, 257}, {3, 258}};
constexpr ValueMap kDuplexMap{kDuplexPairs};
constexpr MapParam kCDuplex{dm::kDuplex, kV, &kDuplexMap};
constexpr MapParam kCFeature83 = OnOff(U8(1089));
constexpr MapParam kCDuplexBlocker = OnOff(U8(1233));
constexpr CfgEntry kCEntries[] = {
    Map(1, kCDuplex, Child()),
    Map(3, kCFeature83, Child()),
    Map(2, kCDuplexBlocker, Child()),
};
constexpr CfgTable kC{kCEntries};

constexpr MapPair k13Pairs1[] = {
    {0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 6}, {5, 9}, {6, 12}, {7, 16},
};
constexpr ValueMap k13Map1{k13Pairs1};
constexpr MapPair k13Pairs3[] = {{0, 11}, {1, 12}};
constexpr ValueMap k13Map3{k13Pairs3};
constexpr MapParam k13PagesPerSheet{U8(605), kV, &k13Map1};
constexpr MapParam k13PageOrder{U8(602), kV, &k13Map3};
constexpr MapParam k13Borders = OnOff(U8(603));
constexpr CfgEntry k13Entries[] = {
    Map(1, k13PagesPerSheet, Child()),
    Map(3, k13PageOrder, Child()),
    Map(2, k13Borders, Child()),
};
constexpr CfgTable k13{k13Entries};

// ---- Fonts: TrueType option, 225, 226, the East-Asian font flag.

constexpr MapPair kTTPairs[] = {{1, 1}, {2, 2}, {4, 3}};
constexpr ValueMap kTTMap{kTTPairs};
constexpr MapParam k1A0TT{dm::kTTOption, kV, &kTTMap};
constexpr CfgEntry k1A0Entries[] = {Map(1, k1A0TT, Child())};
constexpr CfgTable k1A0{k1A0Entries};

constexpr MapParam k1A3Feature12 = OnOff(U8(225));
constexpr CfgEntry k1A3Entries[] = {Map(1, k1A3Feature12, Child())};
constexpr CfgTable k1A3{k1A3Entries};

constexpr MapParam k1A2Feature60 = OnOff(U8(226));
constexpr CfgEntry k1A2Entries[] = {Map(1, k1A2Feature60, Child())};
constexpr CfgTable k1A2{k1A2Entries};

constexpr SpecialParam kSpEastAsian{SpecialId::EastAsianFont, 1227};
constexpr CfgEntry k20202Entries[] = {Special(2, kSpEastAsian, Child())};
constexpr CfgTable k20202{k20202Entries};

// ---- Collate, dither type and graphics bytes.

constexpr MapParam kDCollate{dm::kCollate, kV, &kOnOff};
constexpr CfgEntry kDEntries[] = {Map(1, kDCollate, Child())};
constexpr CfgTable kD{kDEntries};

constexpr MapPair kDitherPairs[] = {{1, 6}, {3, 256}, {2, 257}};
constexpr ValueMap kDitherMap{kDitherPairs};
constexpr MapParam kB4Dither{dm::kDitherType, kV, &kDitherMap};
constexpr CfgEntry kB4Entries[] = {Map(1, kB4Dither, Child())};
constexpr CfgTable kB4{kB4Entries};

constexpr MapPair k20020Pairs[] = {{6, 1}, {1, 2}, {0, 3}, {2, 4}, {4, 6}, {5, 7}};
constexpr ValueMap k20020Map{k20020Pairs};
constexpr MapParam k20020GraphicsMode{U8(229), kV, &k20020Map};
constexpr CfgEntry k20020Entries[] = {Map(1, k20020GraphicsMode, Child())};
constexpr CfgTable k20020{k20020Entries};

constexpr MapPair kB1Pairs[] = {{0, 0}, {1, 256}, {2, 257}, {3, 258}, {4, 259}, {5, 260}};
constexpr ValueMap kB1Map{kB1Pairs};
constexpr MapParam kB1GraphicsG1{U8(231), kV, &kB1Map};
constexpr CfgEntry kB1Entries[] = {Map(1, kB1GraphicsG1, Child())};
constexpr CfgTable kB1Table{kB1Entries};

constexpr SpecialParam kSpByte230{SpecialId::Byte230, 230};
constexpr CfgEntry k190Entries[] = {Special(2, kSpByte230, Child())};
constexpr CfgTable k190{k190Entries};

// 0 -> 0, 1 -> 256, then n -> 0x80000000 + (n - 1) for every other byte value.
constexpr std::array<MapPair, 256> Make448Pairs()
{
    std::array<MapPair, 256> pairs{};
    pairs[0] = {0, 0};
    pairs[1] = {1, 256};
    for (std::int32_t n = 2; n < 256; ++n)
        pairs[std::size_t(n)] = {n, std::int32_t(0x80000000u + std::uint32_t(n - 1))};
    return pairs;
}
constexpr std::array<MapPair, 256> k6Pairs = Make448Pairs();
constexpr ValueMap k6Map{k6Pairs};
constexpr MapParam k6OutputBin{U8(448), kV, &k6Map};
constexpr CfgEntry k6Entries[] = {Map(1, k6OutputBin, Child())};
constexpr CfgTable k6{k6Entries};

// ---- Operation 2 only.

constexpr MapParam k47DiskCapacity = OnOff(U8(224));
constexpr CfgEntry k47Entries[] = {Map(1, k47DiskCapacity, Child(2))};
constexpr CfgTable k47{k47Entries};

constexpr MapParam k1FCollateAllowed = OnOff(U8(1104));
constexpr CfgEntry k1FEntries[] = {Map(0x1F, k1FCollateAllowed, Child(2))};
constexpr CfgTable k1F{k1FEntries};

constexpr MapParam k80Feature113 = OnOff(U8(1236));
constexpr CfgEntry k80Entries[] = {Map(2, k80Feature113, Child(2))};
constexpr CfgTable k80{k80Entries};

// ---- Text pair, 0x121, 0x1C0, 0xB8, 0xB3.

constexpr SpecialParam kSpText1{SpecialId::TextPair1, 1};
constexpr SpecialParam kSpText2{SpecialId::TextPair2, 2};
constexpr CfgEntry k20002Entries[] = {
    Special(0x10000, kSpText1, Child(), kClassMask),
    Special(0x10000, kSpText2, Child(), kClassMask),
};
constexpr CfgTable k20002{k20002Entries};

constexpr SpecialParam kSpIcmMethod{SpecialId::IcmMethod, 1};
constexpr SpecialParam kSpIcmIntent{SpecialId::IcmIntent, 2};
constexpr CfgEntry k121Entries[] = {
    Special(0x10000, kSpIcmMethod, Child(), kClassMask),
    Special(0x10000, kSpIcmIntent, Child(), kClassMask),
};
constexpr CfgTable k121{k121Entries};

constexpr SpecialParam kSp1C0{SpecialId::SetupBytes, 0};

constexpr MapPair kB8Pairs[] = {{0, 0}, {1, 2}, {2, 1}};
constexpr ValueMap kB8Map{kB8Pairs};
constexpr MapParam kB8Value{U8(233), kV, &kB8Map};

constexpr SpecialParam kSpB3{SpecialId::PrintModeByte, 0};
constexpr CfgEntry kB3Entries[] = {Special(1, kSpB3, Child())};
constexpr CfgTable kB3{kB3Entries};

// ---- 0x14: print and hold.

constexpr MapPair kHoldPairs[] = {{0, 1}, {2, 5}, {5, 9}, {3, 6}, {4, 7}, {1, 8}};
constexpr ValueMap kHoldMap{kHoldPairs};
constexpr MapParam k14HoldMode{U8(650), kV, &kHoldMap};
constexpr MapParam k14HoldOption{U8(651), kV, &kHoldMap};
constexpr SpecialParam kSpHoldUser{SpecialId::PrintHoldUser, 824};
constexpr SpecialParam kSpHoldNumber{SpecialId::PrintHoldNumber, 849};
constexpr CfgEntry k14Entries[] = {
    Map(2, k14HoldMode, Child()),
    Map(9, k14HoldOption, Child()),
    Special(4, kSpHoldUser, Child()),
    Special(5, kSpHoldNumber, Child()),
};
constexpr CfgTable k14{k14Entries};

constexpr SpecialParam kSpF{SpecialId::UserPaperSize, 0};

// ---- 0x15 to 0x17 and the 0xB5 to 0xC2 bytes.

constexpr MapPair k15Pairs[] = {{0, 0}, {1, 2}, {2, 1}, {3, 3}, {4, 4}};
constexpr ValueMap k15Map{k15Pairs};
constexpr MapParam k15HandlingOption2{U8(450), kV, &k15Map};
constexpr CfgEntry k15Entries[] = {Map(1, k15HandlingOption2, Child())};
constexpr CfgTable k15{k15Entries};

constexpr MapPair k16Pairs[] = {{0, 0}, {1, 2}, {2, 257}};
constexpr ValueMap k16Map{k16Pairs};
constexpr MapParam k16HandlingOption3{U8(1228), kV, &k16Map};
constexpr CfgEntry k16Entries[] = {Map(1, k16HandlingOption3, Child())};
constexpr CfgTable k16{k16Entries};

// Both bits of the operation mask: converted as operation 2 when the model flag word at 394 has
// bit 2, else as operation 1.
constexpr MapParam k4BAccountTracking = OnOff(U8(1124));
constexpr MapParam k4BFeature112 = OnOff(U8(1237));
constexpr CfgEntry k4BEntries[] = {
    Map(1, k4BAccountTracking, Child(3)),
    Map(2, k4BFeature112, Child(3)),
};
constexpr CfgTable k4B{k4BEntries};

constexpr MapParam kB5Feature85{U8(653), kV, &kTriState};
constexpr CfgEntry kB5Entries[] = {Map(1, kB5Feature85, Child())};
constexpr CfgTable kB5{kB5Entries};

constexpr MapParam kC2GraphicsG3{U8(1249), kV, &kTriState};
constexpr CfgEntry kC2Entries[] = {Map(1, kC2GraphicsG3, Child())};
constexpr CfgTable kC2Table{kC2Entries};

constexpr MapParam k83SoftwareEnable{dm::kSoftwareEnable, kV, &kOnOff};
constexpr CfgEntry k83Entries[] = {Map(1, k83SoftwareEnable, Child())};
constexpr CfgTable k83{k83Entries};

constexpr MapPair k17Pairs[] = {{0, 2}, {1, 257}, {2, 256}};
constexpr ValueMap k17Map{k17Pairs};
constexpr MapParam k17OutputBinChoice{U8(227), kV, &k17Map};
constexpr CfgEntry k17Entries[] = {Map(1, k17OutputBinChoice, Child())};
constexpr CfgTable k17{k17Entries};

constexpr MapParam k20021GraphicsG2{U8(604), kV, &kOffOn};
constexpr CfgEntry k20021Entries[] = {Map(1, k20021GraphicsG2, Child())};
constexpr CfgTable k20021{k20021Entries};

constexpr MapPair kColourPairs[] = {{1, 2}, {2, 1}};
constexpr ValueMap kColourMap{kColourPairs};
constexpr MapParam k160Colour{dm::kColor, kV, &kColourMap};
constexpr CfgEntry k160Entries[] = {Map(1, k160Colour, Child())};
constexpr CfgTable k160{k160Entries};

constexpr MapPair kBAPairs[] = {
    {0, 0}, {1, 2}, {2, 256}, {3, 257}, {4, 262}, {5, std::int32_t(0x80000001u)},
};
constexpr ValueMap kBAMap{kBAPairs};
constexpr MapPair kBAClassPairs[] = {{0, 0}, {1, 2}, {2, 257}, {3, 256}, {4, 263}, {5, 266}};
constexpr ValueMap kBAClassMap{kBAClassPairs};
constexpr MapParam kBAColourC3{U8(655), kV, &kBAMap};
constexpr MapParam kBA10000Choice104{U8(1230), kV, &kBAClassMap};
constexpr MapParam kBA10000Choice105{U8(1231), kV, &kBAClassMap};
constexpr MapParam kBA10000Choice106{U8(1232), kV, &kBAClassMap};
constexpr CfgEntry kBA10000Entries[] = {
    Map(1, kBA10000Choice104, Child()),
    Map(2, kBA10000Choice105, Child()),
    Map(3, kBA10000Choice106, Child()),
};
constexpr CfgTable kBA10000{kBA10000Entries};
constexpr CfgEntry kBAEntries[] = {
    Map(1, kBAColourC3, Child()),
    Container(0x10000, kBA10000, Child()),
};
constexpr CfgTable kBA{kBAEntries};

constexpr MapPair kBBPairs[] = {{0, 0}, {1, 256}, {2, 257}};
constexpr ValueMap kBBMap{kBBPairs};
constexpr MapParam kBBFeature43{U8(656), kV, &kBBMap};
constexpr CfgEntry kBBEntries[] = {Map(1, kBBFeature43, Child())};
constexpr CfgTable kBB{kBBEntries};

constexpr MapPair kBFPairs[] = {{0, 0}, {1, 257}, {2, 258}, {3, 256}};
constexpr ValueMap kBFMap{kBFPairs};
constexpr MapParam kBFFeature44{U8(657), kV, &kBFMap};
constexpr CfgEntry kBFEntries[] = {Map(1, kBFFeature44, Child())};
constexpr CfgTable kBF{kBFEntries};

constexpr SpecialParam kSp162{SpecialId::TextAdjustments, 0};
constexpr SpecialParam kSp163{SpecialId::GraphicsAdjustments, 0};

// ---- 0xB2, 0xC1 and the 1077 to 1094 bytes.

constexpr MapPair kB2Pairs1[] = {{0, 258}, {1, 257}, {2, 256}};
constexpr ValueMap kB2Map1{kB2Pairs1};
constexpr MapPair kB2Pairs2[] = {{0, 7}};
constexpr ValueMap kB2Map2{kB2Pairs2};
constexpr MapPair kB2Pairs3[] = {{0, 2}, {1, 7}};
constexpr ValueMap kB2Map3{kB2Pairs3};
constexpr MapParam kB2Feature69{U8(1078), kV, &kB2Map1};
constexpr MapParam kB2Feature69Second{U8(1078), kV, &kB2Map2};
constexpr MapParam kB2Feature93{U8(1094), kV, &kB2Map3};
constexpr CfgEntry kB2Entries[] = {
    Map(1, kB2Feature69, Child()),
    Map(2, kB2Feature69Second, Child()),
    Map(3, kB2Feature93, Child()),
};
constexpr CfgTable kB2Table{kB2Entries};

constexpr MapPair kC1Pairs[] = {{0, 0}, {1, 34}, {2, 2}};
constexpr ValueMap kC1Map{kC1Pairs};
constexpr MapParam kC1Feature76{U8(1088), kV, &kC1Map};
constexpr CfgEntry kC1_1Entries[] = {Map(2, kC1Feature76, Child())};
constexpr CfgTable kC1_1{kC1_1Entries};
constexpr CfgEntry kC1Entries[] = {Container(1, kC1_1, Child())};
constexpr CfgTable kC1Table{kC1Entries};

constexpr MapParam k19Feature68 = OnOff(U8(1077));
constexpr CfgEntry k19Entries[] = {Map(1, k19Feature68, Child())};
constexpr CfgTable k19{k19Entries};

constexpr MapParam k4AFeature70 = OnOff(U8(1080));
constexpr CfgEntry k4AEntries[] = {Map(1, k4AFeature70, Child(2))};
constexpr CfgTable k4A{k4AEntries};

constexpr MapParam k1AFeature84 = OnOff(U8(1090));
constexpr CfgEntry k1AEntries[] = {Map(1, k1AFeature84, Child(2))};
constexpr CfgTable k1A{k1AEntries};

constexpr MapPair k1BPairs[] = {{0, 256}, {1, 257}, {2, 258}, {3, 259}};
constexpr ValueMap k1BMap{k1BPairs};
constexpr MapParam k1BFeature72{U8(1081), kV, &k1BMap};
constexpr CfgEntry k1BEntries[] = {Map(1, k1BFeature72, Child())};
constexpr CfgTable k1B{k1BEntries};

constexpr NumberParam k1CNumber{U8(1091), kV, 1, 99, 16};
constexpr MapParam k1CNumberSwitch = OnOff(U8(1234));
constexpr MapParam k1CSwitch6692 = OnOff(U8(1235));
constexpr CfgEntry k1CEntries[] = {
    Number(4, k1CNumber, Child()),
    Map(3, k1CNumberSwitch, Child()),
    Map(2, k1CSwitch6692, Child()),
};
constexpr CfgTable k1C{k1CEntries};

constexpr MapPair k1DPairs[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
constexpr ValueMap k1DMap{k1DPairs};
constexpr MapParam k1DFeature73{U8(1082), kV, &k1DMap};
constexpr MapParam k1DFeature74 = OnOff(U8(1083));
constexpr NumberParam k1DFeature75{{1084, 4}, kV, 0, 65535, 0};
constexpr CfgEntry k1DEntries[] = {
    Map(1, k1DFeature73, Child()),
    Map(2, k1DFeature73, Child()),
    Map(4, k1DFeature74, Child()),
    Number(6, k1DFeature75, Child()),
};
constexpr CfgTable k1D{k1DEntries};

constexpr MapParam kB7Feature99 = OnOff(U8(1226));
constexpr CfgEntry kB7Entries[] = {Map(1, kB7Feature99, Child())};
constexpr CfgTable kB7{kB7Entries};

constexpr MapParam k165Feature119 = OnOff(U8(1243));
constexpr SpecialParam kSp165_2{SpecialId::PhotoChoice, 665};
constexpr SpecialParam kSp165_3{SpecialId::PhotoAdjustA, 666};
constexpr SpecialParam kSp165_4{SpecialId::PhotoAdjustB, 667};
constexpr SpecialParam kSp165_5{SpecialId::PhotoAdjustC, 668};
constexpr CfgEntry k165Entries[] = {
    Map(1, k165Feature119, Child()),
    Special(2, kSp165_2, Child()),
    Special(3, kSp165_3, Child()),
    Special(4, kSp165_4, Child()),
    Special(5, kSp165_5, Child()),
};
constexpr CfgTable k165{k165Entries};

constexpr MapParam k1E1GraphicsG4 = OnOff(U8(1238));
constexpr CfgEntry k1E1Entries[] = {Map(1, k1E1GraphicsG4, Child())};
constexpr CfgTable k1E1{k1E1Entries};

constexpr MapParam k1E2GraphicsG5 = OnOff(U8(1239));
constexpr CfgEntry k1E2Entries[] = {Map(1, k1E2GraphicsG5, Child())};
constexpr CfgTable k1E2{k1E2Entries};

constexpr MapParam k166Feature124{U8(1248), kV, &kTriState};
constexpr CfgEntry k166Entries[] = {Map(1, k166Feature124, Child())};
constexpr CfgTable k166{k166Entries};

// ---- The top level, in the order the elements are written. Pass 1 carries the values others
// depend on (resolution, finishing, installed options), pass 2 the 0x18 group, pass 4 the rest.

constexpr CfgEntry kTopEntries[] = {
    Special(0x100, kSp100, Top(2, 1)),
    Special(0x101, kSp101, Top(2, 1)),
    Container(0x103, k103, Top(1, 1)),
    Container(0x102, k102, Top(1, 1)),
    Container(0x104, k104, Top(1, 1)),
    Container(0x105, k105, Top(1, 1)),
    Special(0x120, kSp120, Top(4, 1)),
    Special(0x20001, kSp20001, Top(0x10, 1)),
    Container(9, k9, Top(0x20, 1)),
    Special(0x18, kSp18, Top(0x100, 2)),
    Special(0x20201, kSp20201, Top(8, 1)),
    Container(0xB, kB, Top()),
    Container(1, k1, Top()),
    Container(0x1E, k1E, Top()),
    Container(0x12, k12, Top()),
    Container(2, k2, Top()),
    Container(3, k3, Top()),
    Container(5, k5, Top()),
    Container(0x10, k10, Top()),
    Container(0x191, k191, Top()),
    Container(0xC, kC, Top()),
    Container(0x13, k13, Top()),
    Container(0x1A0, k1A0, Top()),
    Container(0x1A3, k1A3, Top()),
    Container(0x1A2, k1A2, Top()),
    Container(0x20202, k20202, Top()),
    Container(0xD, kD, Top()),
    Container(0xB4, kB4, Top()),
    Container(0x20020, k20020, Top()),
    Container(0xB1, kB1Table, Top()),
    Container(0x190, k190, Top()),
    Container(6, k6, Top()),
    Container(0x47, k47, Top(2)),
    Container(0x1F, k1F, Top(2)),
    Container(0x80, k80, Top(2)),
    Container(0x20002, k20002, Top()),
    Container(0x121, k121, Top()),
    Special(0x1C0, kSp1C0, Top()),
    Map(0xB8, kB8Value, Top()),
    Container(0xB3, kB3, Top()),
    Container(0x14, k14, Top()),
    Special(0xF, kSpF, Top()),
    Container(0x15, k15, Top()),
    Container(0x16, k16, Top()),
    Container(0x4B, k4B, Top(3)),
    Container(0xB5, kB5, Top()),
    Container(0xC2, kC2Table, Top()),
    Container(0x83, k83, Top()),
    Container(0x17, k17, Top()),
    Container(0x20021, k20021, Top()),
    Container(0x160, k160, Top()),
    Container(0xBA, kBA, Top()),
    Container(0xBB, kBB, Top()),
    Container(0xBF, kBF, Top()),
    Special(0x162, kSp162, Top()),
    Special(0x163, kSp163, Top()),
    Container(0xB2, kB2Table, Top()),
    Container(0xC1, kC1Table, Top()),
    Container(0x19, k19, Top()),
    Container(0x4A, k4A, Top(2)),
    Container(0x1A, k1A, Top(2)),
    Container(0x1B, k1B, Top()),
    Container(0x1C, k1C, Top()),
    Container(0x1D, k1D, Top()),
    Container(0xB7, kB7, Top()),
    Container(0x165, k165, Top()),
    Container(0x1E1, k1E1, Top()),
    Container(0x1E2, k1E2, Top()),
    Container(0x166, k166, Top()),
};
constexpr CfgTable kTop{kTopEntries};
static_assert(std::size(kTopEntries) == 69);

constexpr CfgEntry kRootEntries[] = {Container(1, kTop, {kPassAll, kOpAll})};
constexpr CfgTable kRoot{kRootEntries};

void CollectSpecials(const CfgTable& table, std::vector<std::uint32_t>& path,
                     std::vector<SpecialEntryInfo>& out)
{
    for (const CfgEntry& e : table.entries) {
        path.push_back(e.id);
        if (e.kind == ConvKind::Container)
            CollectSpecials(*e.param.table, path, out);
        else if (e.kind == ConvKind::Special)
            out.push_back({e.param.special->id, path});
        path.pop_back();
    }
}

}  // namespace

const CfgTable& RootCfgTable() { return kRoot; }
const CfgTable& TopLevelCfgTable() { return kTop; }

std::vector<SpecialEntryInfo> SpecialEntries()
{
    std::vector<SpecialEntryInfo> out;
    std::vector<std::uint32_t> path;
    CollectSpecials(kTop, path, out);
    return out;
}

std::string SpecialIdName(SpecialId id)
{
    switch (id) {
    case SpecialId::InstalledTrays: return "InstalledTrays";
    case SpecialId::OutputOptions: return "OutputOptions";
    case SpecialId::PrivateBytes: return "PrivateBytes";
    case SpecialId::AccountTexts: return "AccountTexts";
    case SpecialId::FontGroups: return "FontGroups";
    case SpecialId::FontSetMasks: return "FontSetMasks";
    case SpecialId::TrayBytes: return "TrayBytes";
    case SpecialId::ColourTuning: return "ColourTuning";
    case SpecialId::MediaType: return "MediaType";
    case SpecialId::EastAsianFont: return "EastAsianFont";
    case SpecialId::Byte230: return "Byte230";
    case SpecialId::TextPair1: return "TextPair1";
    case SpecialId::TextPair2: return "TextPair2";
    case SpecialId::IcmMethod: return "IcmMethod";
    case SpecialId::IcmIntent: return "IcmIntent";
    case SpecialId::SetupBytes: return "SetupBytes";
    case SpecialId::PrintModeByte: return "PrintModeByte";
    case SpecialId::PrintHoldUser: return "PrintHoldUser";
    case SpecialId::PrintHoldNumber: return "PrintHoldNumber";
    case SpecialId::UserPaperSize: return "UserPaperSize";
    case SpecialId::TextAdjustments: return "TextAdjustments";
    case SpecialId::GraphicsAdjustments: return "GraphicsAdjustments";
    case SpecialId::PhotoChoice: return "PhotoChoice";
    case SpecialId::PhotoAdjustA: return "PhotoAdjustA";
    case SpecialId::PhotoAdjustB: return "PhotoAdjustB";
    case SpecialId::PhotoAdjustC: return "PhotoAdjustC";
    }
    return "?";
}
