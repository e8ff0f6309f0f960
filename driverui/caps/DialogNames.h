// Display names of trays and papers, translated by the dialog library (QVTDX5DU.DLL beside this
// library). A name the library gave is kept for the life of the process: applications ask for
// the capabilities many times in a row, and the library is loaded only while a name is missing.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace caps {

struct NameKey {
    enum Kind : std::uint8_t { Tray, Paper } kind;
    std::uint16_t number;  // the tray number (GetTrayID's index), or the paper's logical string
    auto operator<=>(const NameKey&) const = default;
};

// The names, in the keys' order; an empty name where the library has none. Nothing when the
// dialog library or its string loader cannot be had.
std::optional<std::vector<std::u16string>> DialogNames(std::span<const NameKey> keys);

}  // namespace caps
