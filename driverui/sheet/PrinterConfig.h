// The printer configuration block: seven words describing the installed options, stored with a
// leading 1 as the printer value "PrinterConfig". Byte level, no platform headers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace sheet {

using PrinterConfigBlock = std::array<std::uint32_t, 7>;
inline constexpr std::size_t kPrinterConfigBytes = 32;  // the leading 1 and the block

// Words of the block.
inline constexpr std::size_t kInstalledInputWord = 0;   // installed trays and feeders (277 mask)
inline constexpr std::size_t kInstalledOutputWord = 1;  // installed output options (278 mask)
inline constexpr std::size_t kTrayWord = 5;             // low half: tray word, high half: byte 448

// The tray word for a paper source.
std::uint16_t TrayWord(std::int16_t defaultSource, std::uint16_t modelFamily);

// The block a model starts with: the default masks of its installable options (resource types
// 277 and 278, empty spans when the model has none) and the tray word of the devmode.
PrinterConfigBlock DerivePrinterConfig(std::span<const std::uint8_t> inputOptions,
                                       std::span<const std::uint8_t> outputOptions,
                                       std::span<const std::uint8_t> devmode);

// Stores the tray word of the devmode into the block.
void UpdateTrayWord(PrinterConfigBlock& block, std::span<const std::uint8_t> devmode);

// The stored value as a block: nothing unless it is 32 bytes starting with the word 1.
std::optional<PrinterConfigBlock> ParsePrinterConfig(std::span<const std::uint8_t> stored);
std::array<std::uint8_t, kPrinterConfigBytes> StoredPrinterConfig(const PrinterConfigBlock& block);

}  // namespace sheet
