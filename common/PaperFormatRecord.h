// The paper-format record: 54 bytes of little-endian 16-bit words that GetPaperFormat fills and
// the devmode keeps four of (854, 908, 962, 1016). The dialog library reads it by offset. Lengths
// are in 1/1200 inch unless noted. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace paperformat {

inline constexpr std::size_t kSize = 54;

inline constexpr std::size_t kRequestedCode = 0;   // as asked, a form association included
inline constexpr std::size_t kRequestOrientation = 2;
inline constexpr std::size_t kRequestFlag = 4;
inline constexpr std::size_t kRequestResolution = 6;
inline constexpr std::size_t kRequestMode = 8;     // low word
// 10 to 14: reserved request words, 0.
inline constexpr std::size_t kAreaOriginCopy = 16;  // 16, 18: copy of 44, 46
inline constexpr std::size_t kAreaSizeCopy = 20;    // 20, 22: copy of 48, 50
inline constexpr std::size_t kResolvedCode = 24;
inline constexpr std::size_t kOrientation = 26;     // 1 portrait, 2 landscape; negated with the flag
inline constexpr std::size_t kPhysicalWidth = 28;   // in the record's orientation
inline constexpr std::size_t kPhysicalLength = 30;
inline constexpr std::size_t kQuad = 32;            // 32 to 38: printable width, length, origin x, y
inline constexpr std::size_t kQuadIn720 = 40;       // 40, 42: words 32 and 34 in 1/720 inch
inline constexpr std::size_t kAreaOrigin = 44;      // 44, 46
inline constexpr std::size_t kAreaSize = 48;        // 48, 50
inline constexpr std::size_t kFlags = 52;
static_assert(kFlags + 2 == kSize);

// Flags: a user-defined form or a spooler form.
inline constexpr std::uint16_t kFlagForm = 0x1000;

}  // namespace paperformat
