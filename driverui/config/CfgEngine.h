// The table-driven engine: writes driver configuration data from a devmode and reads it back into
// one, walking the device configuration table (CfgTable.h). Byte level only; storing the data as
// a printer value is the Win32 edge's job (ConfigStore.h). No platform headers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CfgTable.h"
#include "ElementCursor.h"

// Results of a conversion or a table run: positive when something was written or stored, 0 when
// there was nothing to do, bit 15 on a hard failure (which stops the table).
using CfgResult = std::int16_t;
inline constexpr CfgResult kCfgNothing = 0;
inline constexpr CfgResult kCfgDone = 1;
inline constexpr CfgResult kCfgFailed = std::int16_t(-0x8000);

// Operation masks of the two runs.
inline constexpr std::uint32_t kOpBuild = 3;
inline constexpr std::uint32_t kOpRead = kOpAll;

// One tray of the model's tray list: its dmDefaultSource code and its tray number, the key of the
// paper-source map.
struct TrayKey {
    std::int32_t code;
    std::int32_t number;
};

// What the engine needs from outside the devmode: the model's resources and the stored record
// lists. Every default stands for "the model has none".
class ConfigEnvironment {
public:
    virtual ~ConfigEnvironment() = default;
    // The model's tray list, in its order.
    virtual std::span<const TrayKey> Trays() const { return {}; }
    // The narrow name of a user-defined form (512 to 519) or a form association (640 to 671);
    // empty when unknown.
    virtual std::string FormName(std::int32_t paperCode) const { return {}; }
    // The model-dependent end of finishing a read, after the paper sizes and the print quality:
    // the media bytes 233 and 234 against the model's list, the software-enable printer value.
    virtual void FinishRead(std::span<std::uint8_t> devmode) {}
    // The system's ANSI code page, on which the East-Asian font flag's data depends; 0 when
    // unknown (no East-Asian code page).
    virtual std::uint32_t AnsiCodePage() const { return 0; }
};

// The working record of one run.
struct CfgWork {
    std::span<std::uint8_t> devmode;  // the run's own copy
    std::uint32_t opMask = 0;
    std::uint32_t mode = 0;  // non-zero: the print-and-hold user name is written too
    std::uint16_t modelFlags394 = 0;
    std::uint32_t codePage = 0;  // the environment's ANSI code page
    ElementCursor* cursor = nullptr;
    ConfigEnvironment* env = nullptr;
    // Reading: the two paper sizes and form names, resolved when finishing.
    std::optional<std::int32_t> paperSize[2];
    std::string formName[2];
};

// The operation bit an entry takes part with, 0 when it does not: its operation mask shares a bit
// with the run's; an entry with both bits 0 and 1 (and not all bits) is bit 1 when the model flag
// word at 394 has bit 2, else bit 0.
std::uint32_t EntryOperationBit(const CfgEntry& entry, std::uint32_t opMask,
                                std::uint16_t modelFlags394);

// Writing: every entry of the table in order that takes part and shares a bit with passMask.
CfgResult WriteCfgTable(const CfgTable& table, CfgWork& work, std::uint32_t passMask);
// Reading one container level from the cursor's position: passes 1, 2 and 4; in each, every
// element goes to the first entry that claims it in that pass; an element no entry claims is
// skipped; the level is rewound after each pass.
CfgResult ReadCfgTable(const CfgTable& table, CfgWork& work);
// After a read that stored something: paper sizes, print quality onto the resolution list, then
// the environment's part.
void FinishCfgRead(CfgWork& work);

// The configuration data of a devmode (all passes; normally operation mask 3); empty when nothing
// was written or the cursor failed. A non-zero mode also writes the print-and-hold user name.
std::vector<std::uint8_t> BuildConfigData(std::span<const std::uint8_t> devmode,
                                          ConfigEnvironment* env = nullptr,
                                          std::uint32_t opMask = kOpBuild, std::uint32_t mode = 0);
// Reads configuration data into the devmode, with the entries that take part in opMask. True
// when at least one value was stored and no hard failure occurred; the devmode is changed only
// then.
bool ReadConfigData(std::span<const std::uint8_t> data, std::span<std::uint8_t> devmode,
                    std::uint32_t mode, ConfigEnvironment* env = nullptr,
                    std::uint32_t opMask = kOpRead);

// Whether finishing a read stores the software-enable byte (652) as the printer value "SWEnable":
// not for models whose narrow name (239) begins with the brand word, compared without case.
inline constexpr char kBrandWord[] = "Brevik";
bool StoresSoftwareEnable(std::span<const std::uint8_t> devmode);

// The paper-source callbacks: tray code <-> tray number through the environment's tray list.
bool PaperSourceToKey(const CfgWork& work, std::int32_t& key);
CfgResult PaperSourceFromKey(CfgWork& work, std::int32_t key);
