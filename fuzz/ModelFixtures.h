// The family's models as the driver meets them: a devmode carrying a model's description and
// name, and the engine environment built from the model's own tray and print-mode resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CfgTestUtil.h"
#include "ModelData.h"
#include "ModelEnvironment.h"
#include "ModelLayout.h"

namespace fuzzfix {

using Bytes = std::vector<std::uint8_t>;

template <class H, class E, std::size_t N>
Bytes SelectedTable(const std::array<model::family::TableData<H, E>, N>& tables, std::uint16_t word)
{
    for (const auto& t : tables)
        if (t.name == model::SelectedName(word))
            return model::EncodeTable(t.header, t.entries);
    return {};
}

// Forms the stored lists would name.
class Environment : public model::ModelEnvironment {
public:
    using ModelEnvironment::ModelEnvironment;
    std::string FormName(std::int32_t paperCode) const override
    {
        if (paperCode == 512)
            return "Letter Small";
        if (paperCode == 640)
            return "Cheque 6x3";
        return {};
    }
};

inline Environment ModelEnvironmentOf(const model::family::ModelData& m)
{
    using namespace model::family;
    return Environment(SelectedTable(kTrayLists, m.description.trayList),
                       SelectedTable(kPrintModeLists, m.description.printModeList));
}

inline Bytes DevmodeOf(const model::family::ModelData& m)
{
    Bytes devmode = cfgtest::DefaultDevmode();
    Bytes description;
    model::AppendRecord(description, m.description);
    std::copy(description.begin(), description.end(), devmode.begin() + model::kDevmodeDescription);
    std::copy(m.name.begin(), m.name.end(), devmode.begin() + dm::kModelName);
    // The print mode the model starts with.
    const Bytes modes = SelectedTable(model::family::kPrintModeLists, m.description.printModeList);
    if (const auto list = model::ParsePrintModeList(modes); list && !list->entries.empty()) {
        devmode[model::kPrintMode233] = std::uint8_t(list->entries.front().mode233);
        devmode[model::kPrintMode234] = std::uint8_t(list->entries.front().mode234);
    }
    return devmode;
}

}  // namespace fuzzfix
