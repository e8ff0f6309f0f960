// Texts of the dialog library's translated strings, as the driver-configuration code shows them:
// QVTDX5DU.DLL is loaded for each string (or run of strings) through the one loader of the dialog
// library (siblings/DialogLibrary.h), asked through its string loader and freed again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace profiles {

// The dialog library's string with this logical number; nothing when the library, its export or
// the string is missing, or the string is empty.
std::optional<std::string> DialogString(std::uint16_t number);

// The strings first, first + 1, ... appended until one is missing or the text reaches limit bytes
// (it is cut there).
std::string DialogStringRun(std::uint16_t first, std::size_t limit);

// The format with each "%s" replaced by the next argument (by nothing once they run out) and "%%"
// by "%". Anything else is copied as it stands: the format comes from a resource library, and
// only texts are ever passed.
std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace profiles
