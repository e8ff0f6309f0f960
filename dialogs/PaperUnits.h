// Sizes of user paper as the user types and reads them: whole millimetres or tenths of an inch
// on screen, 1/1200 inch in the stored form. Platform neutral, so the fuzz build checks the
// parser natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace paperunits {

enum class Unit : std::uint16_t { Inch = 0, Millimetre = 1 };

// 1/1200-inch units per display unit: tenths of an inch, or whole millimetres.
inline constexpr double kInchFactor = 120.0;
inline constexpr double kMillimetreFactor = 47.244095;
inline constexpr double FactorOf(Unit u) { return u == Unit::Millimetre ? kMillimetreFactor : kInchFactor; }

inline constexpr std::int32_t kMaxDisplay = 32767;

// A size field's text in display units: digits, optionally a point and at most three more
// digits. Surplus decimals are dropped from the right, the last one rounded half up. Nothing for
// anything else, for a value past 214748364 while reading, or past kMaxDisplay.
std::optional<std::int32_t> Parse(std::string_view text, Unit unit);

// Display units to 1/1200 inch and back, both rounded to the nearest.
std::int32_t ToStored(std::int32_t display, Unit unit);
std::int32_t ToDisplay(std::int32_t stored, Unit unit);

// "8.5" (tenths) or "210"; a range as "(3.0 - 8.5)" or "(76 - 216)".
std::string Format(std::int32_t display, Unit unit);
std::string FormatRange(std::int32_t low, std::int32_t high, Unit unit);

// A printable extent: the size less twice the margin, down to a multiple of 4, never below 0.
std::uint16_t Printable(std::int32_t size, std::int32_t margin);

}  // namespace paperunits
