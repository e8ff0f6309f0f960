#include "ModelEnvironment.h"

#include <algorithm>

#include "DevmodeAccess.h"

namespace model {

ModelEnvironment::ModelEnvironment(std::span<const std::uint8_t> trayList,
                                   std::span<const std::uint8_t> printModes)
{
    if (const auto trays = ParseTrayList(trayList))
        for (const TrayEntry& t : trays->entries)
            trays_.push_back({t.code, t.number});
    if (const auto modes = ParsePrintModeList(printModes))
        modes_ = modes->entries;
}

void ModelEnvironment::FinishRead(std::span<std::uint8_t> devmode)
{
    ReconcilePrintModes(devmode, modes_);
}

std::string ModelEnvironment::FormName(std::int32_t paperCode) const
{
    return formNames_ ? formNames_(paperCode) : std::string();
}

void ReconcilePrintModes(std::span<std::uint8_t> devmode, std::span<const PrintModeEntry> modes)
{
    const auto quality = dm::Read(devmode, dm::kPrintQuality);
    if (modes.empty() || !quality || devmode.size() <= kPrintMode234)
        return;
    const std::uint8_t b233 = devmode[kPrintMode233];
    const std::uint8_t b234 = devmode[kPrintMode234];
    const auto allows = [&](const PrintModeEntry& e) { return *quality <= e.maxResolution; };

    if (std::any_of(modes.begin(), modes.end(), [&](const PrintModeEntry& e) {
            return e.firstValue == b233 && e.secondValue == b234 && allows(e);
        }))
        return;
    const auto sameGroup = std::find_if(modes.begin(), modes.end(), [&](const PrintModeEntry& e) {
        return e.firstValue == b233 && allows(e);
    });
    if (sameGroup != modes.end()) {
        devmode[kPrintMode234] = std::uint8_t(sameGroup->secondValue);
        return;
    }
    devmode[kPrintMode233] = std::uint8_t(modes.front().firstValue);
    devmode[kPrintMode234] = std::uint8_t(modes.front().secondValue);
}

}  // namespace model
