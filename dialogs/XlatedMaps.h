// The dialog library's fixed tables, free of platform headers: logical string and resource
// numbers to IDs of the language library, the tray-name IDs, and the language library's path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xlated {

// The string ID of a logical string number; 0 when the number has none.
std::uint16_t StringIdOf(std::uint32_t logical);
// The resource name ID of a logical resource number; 0 when the number has none.
std::uint16_t ResourceIdOf(std::uint32_t logical);
// The string ID of tray number `index`'s display name; 0 past the table's 15 trays.
std::uint16_t TrayStringId(std::uint32_t index);

// The language library's file name and the longest path the library loads it from.
inline constexpr std::u16string_view kLanguageLibraryName = u"QVTDX5DL.DLL";
inline constexpr std::size_t kMaxLanguagePath = 128;

// The language library beside the module at `modulePath`: the path cut after its last "\" or
// ":", then the file name. Nothing when the module's own path is empty or longer than the limit
// (a cut path would name another directory), or when the result would pass the limit.
std::optional<std::u16string> LanguageLibraryPath(std::u16string_view modulePath);

}  // namespace xlated
