#include "PrinterConfig.h"

#include "DevmodeLayout.h"
#include "ModelLayout.h"

namespace sheet {

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

std::uint32_t DefaultMask(std::span<const std::uint8_t> options)
{
    const auto parsed = model::ParseInstallableOptions(options);
    return parsed ? parsed->header.defaultValue : 0;
}

}  // namespace

std::uint16_t TrayWord(std::int16_t defaultSource, std::uint16_t modelFamily)
{
    switch (defaultSource) {
    case 1:
        return 1;
    case 2:
        return 2;
    case 3:
        return 3;
    case 4:
    case 6:
        return modelFamily == 35 || modelFamily == 62 ? 1 : 6;
    case 5:
        return 7;
    case 14:
        return 8;
    case 257:
        return 4;
    case 258:
        return 5;
    default:
        return 0;
    }
}

void UpdateTrayWord(PrinterConfigBlock& block, std::span<const std::uint8_t> devmode)
{
    if (devmode.size() < devmode::kSize)
        return;
    const std::uint16_t tray =
        TrayWord(devmode::Get(devmode, devmode::dmDefaultSource), devmode::Get(devmode, devmode::kModelFamily));
    const std::uint8_t byte448 = devmode[448];
    block[kTrayWord] = std::uint32_t(tray) | std::uint32_t(byte448) << 16;
}

PrinterConfigBlock DerivePrinterConfig(std::span<const std::uint8_t> inputOptions,
                                       std::span<const std::uint8_t> outputOptions,
                                       std::span<const std::uint8_t> devmode)
{
    PrinterConfigBlock block{};
    block[kInstalledInputWord] = DefaultMask(inputOptions);
    block[kInstalledOutputWord] = DefaultMask(outputOptions);
    UpdateTrayWord(block, devmode);
    return block;
}

std::optional<PrinterConfigBlock> ParsePrinterConfig(std::span<const std::uint8_t> stored)
{
    if (stored.size() != kPrinterConfigBytes || ReadU32(stored, 0) != 1)
        return std::nullopt;
    PrinterConfigBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = ReadU32(stored, 4 + 4 * i);
    return block;
}

std::array<std::uint8_t, kPrinterConfigBytes> StoredPrinterConfig(const PrinterConfigBlock& block)
{
    std::array<std::uint8_t, kPrinterConfigBytes> bytes{};
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = std::uint8_t(v >> (8 * i));
    };
    put(0, 1);
    for (std::size_t i = 0; i < block.size(); ++i)
        put(4 + 4 * i, block[i]);
    return bytes;
}

}  // namespace sheet
