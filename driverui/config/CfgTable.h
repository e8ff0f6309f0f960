// The device configuration table: for every element of the configuration data, which devmode
// value it carries and how it is converted in each direction. The table is constant data; the
// engine (CfgEngine.h) walks it. No platform headers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "DevmodeAccess.h"

struct CfgTable;
struct CfgWork;

enum class ConvKind : std::uint8_t {
    Container,    // a child table
    Map,          // a devmode value paired with a data value
    Number,       // a value within a range, else a fall-back
    Scaled,       // devmode x multiplier / divisor
    CallbackMap,  // a value map over a key that a callback computes and stores
    PaperSize,    // a paper code, forms included; the read value is resolved when finishing
    FormName,     // the narrow name of a user-defined form or form association
    Special,      // a dedicated routine, the feature handler of its SpecialId (CfgFeatures.h)
};

struct MapPair {
    std::int32_t devmode;
    std::int32_t data;
};

struct ValueMap {
    std::span<const MapPair> pairs;
};

struct MapParam {
    dm::Field field;
    std::uint16_t valueSize;
    const ValueMap* map;
};

struct NumberParam {
    dm::Field field;
    std::uint16_t valueSize;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t fallback;
};

struct ScaledParam {
    dm::Field field;
    std::uint16_t multiplier;
    std::uint16_t divisor;
    std::uint16_t valueSize;
};

// The callback turns the devmode into a key (forward) and stores a key back (reverse); it returns
// the usual 16-bit result.
struct CallbackMapParam {
    bool (*toKey)(const CfgWork& work, std::int32_t& key);
    std::int16_t (*fromKey)(CfgWork& work, std::int32_t key);
    std::uint16_t valueSize;
    const ValueMap* map;
};

// Slot 0 is the first paper size (dmPaperSize), slot 1 the second (devmode 1096).
struct PaperParam {
    dm::Field field;
    std::uint8_t slot;
    std::uint16_t valueSize;
    const ValueMap* map;
};

struct FormNameParam {
    dm::Field paperField;
    std::uint8_t slot;
};

// The feature handlers, by the element they convert and what they carry (CfgFeatures.cpp).
enum class SpecialId : std::uint16_t {
    InstalledTrays,       // 0x100: installed-tray mask (462)
    OutputOptions,        // 0x101: installed output options (464)
    PrivateBytes,         // 0x120: private values kept by the merge (452, 454, 456)
    AccountTexts,         // 0x20001: account ID, computer and user name (1125, 1142, 1183)
    FontGroups,           // 9 / 0x10000: the eleven font-group words (606)
    FontSetMasks,         // 9 / 0x20000: font-set masks (816, 820)
    TrayBytes,            // 0x18: tray bytes (1092, 1093)
    ColourTuning,         // 0x20201: signed colour tuning (1240 to 1247)
    MediaType,            // 3 / 1: dmMediaType
    EastAsianFont,        // 0x20202 / 2: East-Asian font flag (1227)
    Byte230,              // 0x190 / 2
    TextPair1,            // 0x20002 / class 0x10000: text 468 with 466 and 467
    TextPair2,            // 0x20002 / class 0x10000: text 532 with 466 and 467
    IcmMethod,            // 0x121 / 0x10001: dmICMMethod
    IcmIntent,            // 0x121 / 0x10002: dmICMIntent
    SetupBytes,           // 0x1C0: single setup bytes of the pages
    PrintModeByte,        // 0xB3 / 1: print-mode byte (234, or 235 on some models)
    PrintHoldUser,        // 0x14 / 4: print-and-hold user name (824)
    PrintHoldNumber,      // 0x14 / 5: print-and-hold personal number (849)
    UserPaperSize,        // 0xF: user-defined paper width and length
    TextAdjustments,      // 0x162: colour adjustments of text (654, 658 to 660)
    GraphicsAdjustments,  // 0x163: colour adjustments of graphics (661 to 664)
    PhotoChoice,          // 0x165 / 2: colour adjustments of photos (665 to 668)
    PhotoAdjustA,         // 0x165 / 3
    PhotoAdjustB,         // 0x165 / 4
    PhotoAdjustC,         // 0x165 / 5
};

struct SpecialParam {
    SpecialId id;
    std::int32_t argument;
};

union ConvParam {
    const CfgTable* table;
    const MapParam* map;
    const NumberParam* number;
    const ScaledParam* scaled;
    const CallbackMapParam* callbackMap;
    const PaperParam* paper;
    const FormNameParam* formName;
    const SpecialParam* special;
};

// One entry: the element identifiers it claims ((element AND mask) = identifier), the reading
// passes (1, 2, 4) and operations it takes part in, and its conversion in both directions.
struct CfgEntry {
    std::uint32_t id;
    std::uint32_t mask;
    std::uint32_t passMask;
    std::uint32_t opMask;
    ConvKind kind;
    ConvParam param;
};

struct CfgTable {
    std::span<const CfgEntry> entries;
};

inline constexpr std::uint32_t kOpAll = 0x3FF;
inline constexpr std::uint32_t kPassAll = 7;

// The root table: the single entry 1, a container of the top-level table.
const CfgTable& RootCfgTable();
const CfgTable& TopLevelCfgTable();

// A special entry of the table and where it sits: the element identifiers from the top level
// down, e.g. {0x14, 4}.
struct SpecialEntryInfo {
    SpecialId id;
    std::vector<std::uint32_t> path;
};

// Every special entry of the table, in table order.
std::vector<SpecialEntryInfo> SpecialEntries();
std::string SpecialIdName(SpecialId id);
