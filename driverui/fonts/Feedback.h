// The toolkit's feedback message and what its commands do to the printer's lists. The message
// comes from the toolkit, outside this system, without a total size: the walk is bounded by
// kMaxMessage and by each item's own length, and an item shorter than its 4-byte header ends it,
// so a malformed message can neither loop nor run on. No platform headers: fuzzed natively.
//
//   item: u16 tag, u16 length (header included), data; tag 0 ends the message
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ListRecords.h"
#include "RecordList.h"

namespace feedback {

inline constexpr std::size_t kMaxMessage = 65536;
inline constexpr std::size_t kItemHeader = 4;

enum Tag : std::uint16_t {
    kTagEnd = 0,
    kTagCommand = 1,
    kTagProtocol = 2,
    kTagPrinterName = 4,
    kTagMacroNumber = 8,
    kTagMacroName = 9,
    kTagKind1 = 11,
    kTagKind3 = 12,
    kTagKind4 = 13,
    kTagFontName = 16,
    kTagFontText = 17,
    kTagReplyWord = 18,
    kTagMetricName = 24,
};

inline constexpr std::uint16_t kDefaultProtocol = 5;
inline constexpr std::uint16_t kDefaultMacroKind = 5;

struct Group {
    std::optional<std::uint16_t> command;
    std::optional<std::uint16_t> protocol;
    std::optional<std::string> printerName;
    std::optional<std::uint64_t> replyWord;  // an address in the caller's process
    std::optional<std::int16_t> macroNumber;
    std::optional<std::string> macroName;
    std::optional<std::uint16_t> kind;
    std::optional<std::string> fontName;
    std::optional<std::string> fontText;
    std::optional<std::string> metricName;
};

struct Message {
    std::vector<Group> groups;
    bool complete = false;  // ended by tag 0 inside the bytes
};

// The bytes the message occupies from its start, its end item included; 0 when an item shorter
// than its header, or one that would pass limit, comes before the end item: such a message is
// refused whole. Reads only item headers, and only below limit.
std::size_t Extent(const std::uint8_t* message, std::size_t limit);

// The groups of the items in the bytes: a tag already given in the current group starts the next.
// Items of unknown tags are passed over; an item whose data is too short for its tag is ignored.
Message Parse(std::span<const std::uint8_t> bytes);

// Whether the toolkit speaks a protocol this driver understands.
bool Accepted(std::uint16_t protocol);

// ---- Commands ---------------------------------------------------------------------------------
// Font and metric records: key 1 number (16-bit, from 1), key 2 name, key 3 the second text.
inline constexpr std::int16_t kKeyNumber = 1;
inline constexpr std::int16_t kKeyName = 2;
inline constexpr std::int16_t kKeyText = 3;

// Command 6: true when any record was removed.
bool RemoveFonts(std::span<const Group> groups, recordlist::RecordList& fonts, recordlist::RecordList& metrics);
// Command 8: true when any record was added.
bool AddFonts(std::span<const Group> groups, recordlist::RecordList& fonts, recordlist::RecordList& metrics);
// Adds a named record with the lowest number from 1 no record holds, after removing the record
// of that name. Nothing when all 65535 numbers are taken or the record does not fit.
std::optional<std::uint16_t> AddFont(recordlist::RecordList& list, const std::string& name,
                                     const std::optional<std::string>& text);

// Command 9: true when any record was removed.
bool RemoveMacros(std::span<const Group> groups, recordlist::RecordList& macros);
// Command 11: a group without a number is added only under protocol 6, with a new number.
bool AddMacros(std::span<const Group> groups, recordlist::RecordList& macros, std::uint16_t protocol);
// Replaces the record of the same number and the one of the same name and kind.
bool AddMacro(recordlist::RecordList& macros, const recordlist::Macro& macro);
// Command 12: the requested number when above 0 and free, else the lowest free from 1; 0 when the
// name is empty, a macro of that name and kind exists, or no number is free.
std::int16_t AllocateMacroNumber(const recordlist::RecordList& macros, std::int16_t requested,
                                 const std::string& name, std::uint16_t kind);

// Commands 14 and 15: the toolkit's reply record.
inline constexpr std::size_t kReplySize = 172;
std::vector<std::uint8_t> ReplyRecord(std::uint16_t command, std::uint16_t protocol);

}  // namespace feedback
