// The devmode of a print job at byte level: what the document events fill in before the rendering
// driver sees it (defaulted fields, watermark and overlay choices that still exist, the
// manual-duplex marker, the memory), the account stamping of the first page, and the test an
// application's devmode passes before it may become the printer's setting. No platform headers:
// the devmodes come from any application and are fuzzed natively.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "DevmodeLayout.h"

namespace docevents {

// The account record (1124 to 1223): the tracking byte, then the ID (16 digits and a zero in the
// 17 bytes of four u32 and a byte), the computer name and the user name (40 bytes each, 39
// characters and a zero, so that a long name cannot reach the next field or the checksum).
inline constexpr devmode::U8 kAccountTracking = devmode::kAccountByte;
inline constexpr devmode::Block kAccountId{1125, 17};
inline constexpr devmode::Block kComputerName{1142, 40};
inline constexpr devmode::Block kUserName{1183, 40};
static_assert(kAccountId.offset == kAccountTracking.end() && kAccountId.end() == 1142);
static_assert(kComputerName.end() < kUserName.offset && kUserName.end() < devmode::kChecksum.offset);
static_assert(kUserName.end() <= devmode::kAccountRecord.end());

// The watermark numbers of the first page and of the other pages, and the overlay names.
inline constexpr devmode::U8 kFirstPageWatermark{673};
inline constexpr devmode::U8 kOtherPagesWatermark{674};
// The two fields whose default -1 (255) the job takes from strings 14000 and 14001 of QVTDX5DA.
inline constexpr devmode::U8 kDefaultedField1 = devmode::kByte228;
inline constexpr devmode::U8 kDefaultedField2 = devmode::kByte432;
inline constexpr std::uint8_t kDefaulted = 0xFF;
inline constexpr std::uint16_t kDefaultedString1 = 14000;
inline constexpr std::uint16_t kDefaultedString2 = 14001;
// The available physical memory of the printing computer, in megabytes, for the rendering driver.
inline constexpr devmode::U16 kJobMemory = devmode::kWord456;

// An application's devmode in escape 5021: at least a whole devmode, which is this driver's by
// the full validity test (version field, sizes, layout version, the three signatures).
bool AcceptsApplicationDevmode(std::span<const std::uint8_t> input);

// The number a defaulted field takes from its string: a decimal 0 to 254; nothing for anything else.
std::optional<std::uint8_t> DefaultedValue(std::string_view text);

struct JobChoices {
    std::optional<std::uint8_t> defaulted1;  // from string 14000
    std::optional<std::uint8_t> defaulted2;  // from string 14001
    std::uint64_t availableMemory = 0;       // bytes
    // Whether the printer's watermark list has the number, and its macro list the overlay name.
    std::function<bool(std::uint16_t)> watermarkExists;
    std::function<bool(std::u16string_view)> overlayExists;
};

// The devmode of a new or reset device context, made ready for the rendering driver: the memory,
// the defaulted fields still at -1, watermark numbers and overlay names that no longer exist
// cleared, and the manual-duplex marker set to 1 unless manual duplex is in force. The checksum
// is unchanged (only private bytes change).
void FillJobFields(std::span<std::uint8_t> d, const JobChoices& choices);

// The first page's stamping: the account ID (at most 16 characters) and the computer and user
// names (at most 39 characters each), each up to its first NUL; each field zero-filled after its text.
void StampAccount(std::span<std::uint8_t> d, std::string_view accountId);
void StampNames(std::span<std::uint8_t> d, std::string_view computerName, std::string_view userName);

}  // namespace docevents
