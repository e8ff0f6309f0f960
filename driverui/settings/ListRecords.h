// The records of the driver's lists as values: watermarks, macros and form associations, read
// from and appended to a record list. Byte level, no platform headers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RecordList.h"

namespace recordlist {

struct Watermark {
    std::int16_t number = 0;
    std::string name;
    std::string text;
    std::array<std::uint32_t, 15> layout{};  // key 4: the 60-byte block
    std::uint32_t value = 0;                 // key 5
    std::array<std::uint16_t, 4> words{};    // keys 6 to 9
};

struct Macro {
    std::int16_t number = 0;
    std::string name;
    std::optional<std::string> text;  // key 3, optional
    std::uint16_t kind = 5;           // key 4; 5 when the record has none
};

// Form associations keep their further values (keys 3 to 12) as the pages wrote them.
struct FormAssociation {
    std::int16_t number = 0;  // 640 to 671
    std::string name;
    std::vector<std::pair<std::int16_t, std::vector<std::uint8_t>>> values;
};

// The current record as a value; nothing without its number and name fields. Fields of the
// wrong size read as zero.
std::optional<Watermark> ReadWatermark(const RecordList& list);
std::optional<Macro> ReadMacro(const RecordList& list);
std::optional<FormAssociation> ReadFormAssociation(const RecordList& list);

bool AppendWatermark(RecordList& list, const Watermark& w);
bool AppendMacro(RecordList& list, const Macro& m);
bool AppendFormAssociation(RecordList& list, const FormAssociation& a);

}  // namespace recordlist
