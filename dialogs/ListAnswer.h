// The lists the driver library answers for the pages (user sizes, associations, watermarks,
// overlays): 16-bit numbers and zero-terminated narrow names. Their contents come from printer
// values any user may have written, so they are read within the blocks' own sizes and kept only
// as far as they are whole. Also the checks of the names the user gives a record. Platform
// neutral, so the fuzz build checks it natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace listanswer {

inline constexpr std::size_t kNameBytes = 64;  // narrow names in records, zero included

struct Item {
    std::int16_t number;
    std::string name;  // at most kNameBytes - 1 characters
};

// The items of an answer of `count` entries: numbers read from `numbers` (two bytes each, little
// endian), names one after the other in `names`. The walk ends at the count, at the end of
// either block, at an empty name or at a name without its terminator. Numbers outside
// [first, last] and repeated numbers are left out; longer names are cut.
std::vector<Item> Read(std::span<const std::uint8_t> numbers, std::span<const char> names, std::size_t count,
                       std::int16_t first, std::int16_t last);

// The smallest number of [first, last] no item uses.
std::optional<std::int16_t> SmallestFree(std::span<const std::int16_t> used, std::int16_t first, std::int16_t last);

// The name without blanks around it.
std::string Trimmed(std::string_view name);
// A form or association name: not empty, no control character, no comma.
bool IsFormName(std::string_view name);
// A watermark name: a form name that neither starts with "!" nor holds "#".
bool IsWatermarkName(std::string_view name);

// Copies text into a record's field of `size` bytes, cut to fit and zero-filled after it.
void PutField(char* field, std::size_t size, std::string_view text);
// A field's text up to its terminator or its end.
std::string FieldText(const char* field, std::size_t size);

}  // namespace listanswer
