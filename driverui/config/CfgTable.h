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
    Special,      // a dedicated routine (feature handler); skipped until it is built
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

enum class SpecialId : std::uint16_t {
    Options100,        // 0x100
    Options101,        // 0x101
    Options120,        // 0x120
    Options20001,      // 0x20001
    Group9Class1,      // 9 / 0x10000
    Group9Class2,      // 9 / 0x20000
    Group18,           // 0x18
    Group20201,        // 0x20201
    MediaType,         // 3 / 1
    EastAsianFont,     // 0x20202 / 2
    Byte230,           // 0x190 / 2
    TextPair1,         // 0x20002 / class 0x10000, parameter 1
    TextPair2,         // 0x20002 / class 0x10000, parameter 2
    Group121First,     // 0x121 / class 0x10000, first entry
    Group121Second,    // 0x121 / class 0x10000, second entry
    Group1C0,          // 0x1C0
    GroupB3,           // 0xB3 / 1
    PrintHoldUser,     // 0x14 / 4
    PrintHoldNumber,   // 0x14 / 5
    GroupF,            // 0xF
    Group162,          // 0x162
    Group163,          // 0x163
    Group165Child2,    // 0x165 / 2
    Group165Child3,    // 0x165 / 3
    Group165Child4,    // 0x165 / 4
    Group165Child5,    // 0x165 / 5
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

// Whether the dedicated routine of a special entry exists yet. None does: such entries convert
// nothing in either direction.
bool SpecialHandlerBuilt(SpecialId id);
// Every special entry of the table whose routine is not built, in table order.
std::vector<SpecialEntryInfo> SkippedSpecialEntries();
std::string SpecialIdName(SpecialId id);
