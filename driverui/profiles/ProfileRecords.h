// The driver's helpers on the profile library's records (ProfileApi.h): the identification block
// every request carries and the content words of a whole set of settings.
#pragma once

#include <cstring>

#include "ProfileApi.h"

namespace profiles {

inline void FillIdentBlock(IdentBlock& block)
{
    std::memcpy(block.words, kIdentWords, sizeof block.words);
    std::memset(block.text, 0, sizeof block.text);
    std::memcpy(block.text, kIdentText, sizeof kIdentText);
}

inline bool IsIdentBlock(const IdentBlock& block)
{
    return std::memcmp(block.words, kIdentWords, sizeof block.words) == 0 &&
           std::memcmp(block.text, kIdentText, sizeof kIdentText) == 0;
}

// Whether a configuration's content words say its data is a whole set of settings for its model.
inline bool HasContentFlags(const DWORD (&flags)[3])
{
    return (flags[0] & kContentFlags[0]) && (flags[1] & kContentFlags[1]) &&
           (flags[2] & kContentFlags[2]);
}

}  // namespace profiles
