#include "ModelSource.h"

#include <cstdlib>

namespace devmode {
namespace {

constexpr char kRenderingIni[] = "QVTDX5DD.INI";
constexpr char kModelKey[] = "Model";
// The model strings stop at the first missing one; names stay below the 16-bit limit.
constexpr unsigned kMaxModels = 0xFFFF - model::kModelNameString;

// Every paper bit of the built-in papers. The model's own paper set (by its paper-set index)
// narrows this once the built-in paper-set table is in the driver; forms stay out until the
// form lists can be checked.
constexpr std::uint32_t kBuiltInPapers = 0x01FFEFFF;

std::optional<std::string> LoadNarrowString(HMODULE module, unsigned id, std::size_t max)
{
    std::string text(max + 1, '\0');
    const int n = LoadStringA(module, id, text.data(), int(text.size()));
    if (n <= 0)
        return std::nullopt;
    text.resize(std::size_t(n));
    return text;
}

}  // namespace

std::span<const std::uint8_t> ModuleResources::Resource(int type, int name) const
{
    if (!module_ || name <= 0 || name > 0xFFFF || type <= 0 || type > 0xFFFF)
        return {};
    const HRSRC info = FindResourceW(module_, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
    if (!info)
        return {};
    const HGLOBAL loaded = LoadResource(module_, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module_, info)};
}

std::uint16_t FindModelNumber(HMODULE module, const std::string& modelName)
{
    char wanted[256] = {};
    GetPrivateProfileStringA(modelName.c_str(), kModelKey, modelName.c_str(), wanted, sizeof(wanted),
                             kRenderingIni);
    for (unsigned model = 0; model < kMaxModels; ++model) {
        const auto name = LoadNarrowString(module, model::kModelNameString + model, 255);
        if (!name)
            break;
        if (lstrcmpiA(name->c_str(), wanted) == 0)
            return std::uint16_t(model);
    }
    return 0;
}

std::optional<std::string> LoadModelDisplayName(HMODULE module, std::uint16_t model)
{
    return LoadNarrowString(module, model::kModelNameString + model, kModelDisplayName.size - 1);
}

bool IsUsaLocale()
{
    wchar_t text[16] = {};
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_ICOUNTRY, text, 16))
        return false;
    const long country = std::wcstol(text, nullptr, 10);
    return country == 1 || country == 2 || country == 50 || country == 51 || country == 53 ||
           country == 54 || (country >= 56 && country <= 59) || (country >= 500 && country <= 599);
}

ModelRules::ModelRules(std::span<const std::uint8_t> base, const ModelResources& resources)
    : limits_(model::ParsePaperLimits(
          resources.Selected(model::kPaperLimitsType, Get(base, kPaperLimitNumber)))),
      resolutions_(model::ParseResolutionList(
          resources.Selected(model::kResolutionListType, Get(base, kResolutionListNumber))))
{
    if (const auto trays = model::ParseTrayList(
            resources.Selected(model::kTrayListType, Get(base, kTrayListNumber))))
        trays_ = trays->entries;
}

std::uint32_t ModelRules::PaperSet() const
{
    return kBuiltInPapers;
}

bool ModelRules::FormAccepted(std::int16_t) const
{
    return false;
}

std::optional<std::uint8_t> ModelRules::ResolutionFlag(std::int16_t dpi) const
{
    if (!resolutions_)
        return std::nullopt;
    for (const model::ResolutionEntry& entry : resolutions_->entries)
        if (entry.dpi == std::uint16_t(dpi))
            return entry.flag;
    return std::nullopt;
}

ModelConfigEnvironment::ModelConfigEnvironment(std::span<const std::uint8_t> d,
                                               const ModelResources& resources)
{
    if (const auto trays = model::ParseTrayList(
            resources.Selected(model::kTrayListType, Get(d, kTrayListNumber))))
        for (const model::TrayEntry& t : trays->entries)
            trays_.push_back({t.code, t.number});
}

}  // namespace devmode
