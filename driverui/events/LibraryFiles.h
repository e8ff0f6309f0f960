// Files beside the driver library and the texts that reach them in the ANSI code page.
#pragma once

#include <optional>
#include <string>

namespace events {

// The driver library's directory with its trailing separator: its full path cut after the last
// '\' or ':'. Empty when the path cannot be read.
std::wstring LibraryDirectory();

// The text in the ANSI code page when every character has its own code there; nothing when a
// character would be replaced or approximated (a full-width quote is not a quote).
std::optional<std::string> ExactNarrow(const std::wstring& text);

std::wstring Widened(const std::string& text);

}  // namespace events
