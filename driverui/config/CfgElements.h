// The element forms every conversion writes and reads: value elements and the string element
// form. Shared by the generic conversions (CfgEngine.cpp) and the feature handlers
// (CfgFeatures.cpp). No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CfgEngine.h"

namespace cfgelem {

// Removes whatever a conversion left open above `depth`; the caller's elements stay.
CfgResult AbandonTo(ElementCursor& c, std::size_t depth);

// A value element: the low `size` bytes (1 to 4) of the value, little-endian. A value that cannot
// be written leaves no element behind.
CfgResult WriteValueElement(CfgWork& w, std::uint32_t id, std::int64_t value, std::uint16_t size);

// A text as element `id` holding container 1 with the text bytes as element 1 and a 32-bit value
// as element 2. An empty text writes nothing (result 0).
CfgResult WriteStringElement(CfgWork& w, std::uint32_t id, std::span<const std::uint8_t> text,
                             std::uint32_t value = 0);

// The value of the element being read: up to four bytes, little-endian, the 32 bits read as signed
// (data values such as 0x80000001 are kept as their bit pattern). Longer payloads are cut to four
// bytes. Nothing when empty.
std::optional<std::int32_t> ReadDataValue(ElementCursor& c);
// The same, but only for a payload of 1 to 4 bytes: anything else is not a value.
std::optional<std::int32_t> ReadExactValue(ElementCursor& c);

// The text of the element being read, at most maxBytes bytes: from the string element form when
// the payload begins with element 1, else the raw payload. The bytes come as stored; the caller
// cuts them at its terminator.
std::vector<std::uint8_t> ReadStringElement(ElementCursor& c, std::size_t maxBytes);

// The bytes before the first zero.
std::string NarrowText(std::span<const std::uint8_t> bytes);

}  // namespace cfgelem
