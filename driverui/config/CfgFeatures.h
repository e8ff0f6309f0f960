// The feature handlers: the dedicated conversions of the table's special entries, in both
// directions. Each forward routine writes its element from the devmode; each reverse routine is
// called inside the element the engine opened for it and stores what it reads. No platform
// headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "CfgEngine.h"

CfgResult ForwardSpecial(const CfgEntry& entry, CfgWork& w);
// elementId is the identifier read, which for a class entry says which member it is.
CfgResult ReverseSpecial(const CfgEntry& entry, std::uint32_t elementId, CfgWork& w);

// The East-Asian font flag is written inside an element named by the ANSI code page:
// 932 -> 1, 936 and 950 -> 3, 949 -> 4, any other -> 2.
std::uint32_t EastAsianInnerId(std::uint32_t codePage);

// Where the devmode keeps the print-mode byte of its model: 235 on a colour model without bit 11
// of the flag word at 400, or when the word at 362 is 3; else 234.
std::size_t PrintModeByteOffset(std::span<const std::uint8_t> devmode);

// Field sizes of the texts the handlers carry, terminator included.
inline constexpr std::size_t kHoldUserOffset = 824;
inline constexpr std::size_t kHoldUserSize = 25;
inline constexpr std::size_t kHoldNumberOffset = 849;
inline constexpr std::size_t kHoldNumberSize = 5;
inline constexpr std::size_t kTextPairChars = 32;  // wide characters at 468 and 532
