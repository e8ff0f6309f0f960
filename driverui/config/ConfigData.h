// Driver configuration data: a tree of tagged elements, each an 8-byte header (identifier, length
// including the header) and a payload of child elements or of one value of 1 to 4 bytes. All
// numbers are little-endian. No platform headers: this is fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace cfgdata {

inline constexpr std::size_t kIdOffset = 0;
inline constexpr std::size_t kLengthOffset = 4;
inline constexpr std::size_t kHeaderSize = 8;
static_assert(kLengthOffset + sizeof(std::uint32_t) == kHeaderSize);

inline constexpr std::uint32_t kRootId = 1;
// The engine writes exactly the width a table entry gives, never more than this.
inline constexpr std::size_t kMaxValueSize = 4;

// Bounded little-endian access: nothing outside the span is touched.
inline std::optional<std::uint32_t> LoadU32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return std::nullopt;
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
           std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

inline bool StoreU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return false;
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = std::uint8_t(value >> (8 * i));
    return true;
}

}  // namespace cfgdata
