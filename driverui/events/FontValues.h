// The font information of the configuration file as the printer values the rendering driver
// reads: substitutes, aliases, additional fonts and the double-byte font metrics. Platform
// neutral, over the same profile store as the configuration update.
#pragma once

#include <string>
#include <vector>

#include "UpdateRules.h"

namespace events {

// Each value is narrow text; stored with its terminating zero.
struct FontValue {
    std::string name;
    std::string text;
};

// A list holds at most this many bytes, terminator included; entries that would not fit are
// left out whole.
inline constexpr std::size_t kFontListBytes = 8192;
// A section that yields no more than this many characters gives no value.
inline constexpr std::size_t kShortestFontList = 3;

// "FontSubstitutes", "ALIAS", "AdditionalFonts" and, on a double-byte code page, "DBCSpfm", each
// only when its section yields enough text.
std::vector<FontValue> BuildFontValues(IniStore& store, const std::string& configFile, unsigned codePage);

}  // namespace events
