// The font summary of a document: from the printer's cache file when it holds one for the
// devmode's font settings, else built from the model's resident fonts, the printer's additional
// fonts, its downloaded fonts and, on East-Asian code pages, its double-byte font metrics, and
// stored in the cache.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fontfiles {

inline constexpr char kFontSummaryFileValue[] = "FontSummaryFile";

// The summary for a 1256-byte devmode; nothing when it cannot be built.
std::optional<std::vector<std::uint8_t>> FontSummaryForDocument(std::span<const std::uint8_t> devmode,
                                                                const std::string& printerName, HANDLE printer);

// The summary built from the sources without the cache; nothing when no font could be collected
// because an allocation failed.
std::optional<std::vector<std::uint8_t>> BuildFontSummary(std::span<const std::uint8_t> devmode, HANDLE printer);

}  // namespace fontfiles
