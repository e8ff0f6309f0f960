#include "ModelSource.h"

#include <cstdlib>

namespace devmode {
namespace {

constexpr char kRenderingIni[] = "QVTDX5DD.INI";
constexpr char kModelKey[] = "Model";

// Every paper bit of the built-in papers. The model's own paper set (by its paper-set index)
// narrows this once the built-in paper-set table is in the driver; forms stay out until the
// form lists can be checked.
constexpr std::uint32_t kBuiltInPapers = 0x01FFEFFF;

}  // namespace

std::span<const std::uint8_t> ModuleResources::Resource(int type, int name) const
{
    return model::LoadModelResource(module_, type, name);
}

std::string ModelLookupName(const std::string& modelName)
{
    char wanted[256] = {};
    GetPrivateProfileStringA(modelName.c_str(), kModelKey, modelName.c_str(), wanted, sizeof(wanted),
                             kRenderingIni);
    return wanted;
}

int ModelNumberOf(HMODULE module, const std::string& modelName)
{
    return model::FindModelNumber(module, ModelLookupName(modelName)).value_or(0);
}

bool CodePageSupported(std::uint16_t codePage)
{
    return IsValidCodePage(codePage);
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

}  // namespace devmode
