#include "ModelResources.h"

#include <algorithm>
#include <array>

#include "PrinterList.h"

namespace model {

namespace {

bool IsIntResource(int id)
{
    return id > 0 && id <= 0xFFFF;
}

}  // namespace

std::span<const std::uint8_t> LoadModelResource(HMODULE module, int type, int name)
{
    // A null module would search the program's own resources.
    if (!module || !IsIntResource(type) || !IsIntResource(name))
        return {};
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
    if (!found)
        return {};
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), size};
}

std::optional<std::string> LoadModelName(HMODULE module, int model)
{
    if (!module || model < 0 || model >= kMaxModels)
        return std::nullopt;
    // Longer than any name the devmode can keep, so a long name is not compared by its prefix.
    std::array<char, 256> text{};
    const int n = LoadStringA(module, UINT(kModelNameString + model), text.data(), int(text.size()));
    if (n <= 0)
        return std::nullopt;
    return std::string(text.data(), std::size_t(n));
}

std::optional<int> FindModelNumber(HMODULE module, std::string_view name)
{
    const std::string wanted(name);
    for (int model = 0; model < kMaxModels; ++model) {
        const auto candidate = LoadModelName(module, model);
        if (!candidate)
            break;
        if (lstrcmpiA(candidate->c_str(), wanted.c_str()) == 0)
            return model;
    }
    return std::nullopt;
}

std::span<const std::uint8_t> LoadDescriptionBytes(HMODULE module, int model)
{
    if (model < 0 || model >= kMaxModels)
        return {};
    const auto bytes = LoadModelResource(module, kDescriptionType, kDescriptionName + model);
    if (bytes.size() < kDescriptionSize)
        return {};
    return bytes.first(kDescriptionSize);
}

std::optional<ModelDescription> LoadDescription(HMODULE module, int model)
{
    return ParseDescription(LoadDescriptionBytes(module, model));
}

namespace {

// The printer name the devmode keeps: 32 narrow characters, up to the first zero.
constexpr std::size_t kPrinterNameOffset = 271;
constexpr std::size_t kPrinterNameSize = 32;

std::string DevmodePrinterName(std::span<const std::uint8_t> devmode)
{
    if (devmode.size() < kPrinterNameOffset + kPrinterNameSize)
        return {};
    const auto field = devmode.subspan(kPrinterNameOffset, kPrinterNameSize);
    return std::string(field.begin(), std::find(field.begin(), field.end(), std::uint8_t(0)));
}

}  // namespace

ModelEnvironment LoadModelEnvironment(HMODULE module, std::span<const std::uint8_t> devmode)
{
    ModelEnvironment env;
    if (const auto description = DescriptionInDevmode(devmode))
        env = ModelEnvironment(LoadSelectedResource(module, kTrayListType, description->trayList),
                               LoadSelectedResource(module, kPrintModeListType, description->printModeList));
    env.SetAnsiCodePage(GetACP());
    if (std::string printer = DevmodePrinterName(devmode); !printer.empty())
        env.SetFormNames([printer = std::move(printer)](std::int32_t code) {
            return code >= INT16_MIN && code <= INT16_MAX ? FormNameOf(printer, std::int16_t(code))
                                                          : std::string();
        });
    return env;
}

}  // namespace model
