// The family's models as the driver meets them: their resources as QVTDX5DA carries them, a
// devmode from the default builder, the engine environment built from the model's own tray and
// print-mode resources, and the merge's questions answered from the same resources. Byte 0 of a
// configuration fuzzer's input is a selector: bits 0-1 the model (3: none), bit 2 the run's mode,
// bits 3-5 the code page.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "DefaultDevmode.h"
#include "DevmodeLayout.h"
#include "Merge.h"
#include "ModelData.h"
#include "ModelEnvironment.h"
#include "ModelLayout.h"
#include "ResourceTables.h"

namespace fuzzfix {

using Bytes = std::vector<std::uint8_t>;

// Every resource of the family by (type, name), written through the layouts' field lists.
class FamilyResources final : public devmode::ModelResources {
public:
    FamilyResources()
    {
        model::family::ForEachFamilyResource(
            [this](int type, int name, Bytes bytes) { map_[{type, name}] = std::move(bytes); });
    }

    std::span<const std::uint8_t> Resource(int type, int name) const override
    {
        const auto it = map_.find({type, name});
        return it == map_.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }
    const std::map<std::pair<int, int>, Bytes>& All() const { return map_; }

private:
    std::map<std::pair<int, int>, Bytes> map_;
};

inline const FamilyResources& Family()
{
    static const FamilyResources resources;
    return resources;
}

// The resources the default builder reads, and the description word that selects each; the
// description itself is named by the model number.
struct BuilderResource {
    int type;
    std::uint16_t model::ModelDescription::*word;
};
inline constexpr BuilderResource kBuilderResources[] = {
    {model::kDescriptionType, nullptr},
    {model::kTrayListType, &model::ModelDescription::trayList},
    {model::kResolutionListType, &model::ModelDescription::resolutionList},
    {model::kGraphicsModeListType, &model::ModelDescription::graphicsModeList},
    {model::kGraphicsG1ListType, &model::ModelDescription::graphicsG1List},
    {model::kGraphicsG1AltListType, &model::ModelDescription::graphicsG1List},
    {model::kPrintModeListType, &model::ModelDescription::printModeList},
    {model::kFontSetListType, &model::ModelDescription::fontSetList},
    {model::kInputOptionsType, &model::ModelDescription::inputOptions},
    {model::kOutputOptionsType, &model::ModelDescription::outputOptions},
};

inline int ResourceName(const BuilderResource& r, std::size_t modelNumber)
{
    const auto& m = model::family::kModels[modelNumber];
    return r.word ? model::SelectedName(m.description.*r.word) : model::kDescriptionName + int(modelNumber);
}

// A model's engine environment on a system of the given ANSI code page, whose printer has two
// forms in its lists.
inline model::ModelEnvironment ModelEnvironmentOf(const model::family::ModelData& m, std::uint32_t codePage = 1252)
{
    model::ModelEnvironment env(Family().Selected(model::kTrayListType, m.description.trayList),
                                Family().Selected(model::kPrintModeListType, m.description.printModeList));
    env.SetFormNames([](std::int32_t paperCode) -> std::string {
        if (paperCode == 512)
            return "Letter Small";
        if (paperCode == 640)
            return "Cheque 6x3";
        return {};
    });
    env.SetAnsiCodePage(codePage);
    return env;
}

// Code pages a selector picks from: none known, Western, the four East-Asian ones, two others.
inline constexpr std::uint32_t kCodePages[] = {0, 1252, 932, 936, 949, 950, 1251, 1250};

struct Selector {
    std::size_t model;  // kModels.size() and above: no environment
    std::uint32_t mode;
    std::uint32_t codePage;
};

inline Selector Select(std::uint8_t byte)
{
    return {std::size_t(byte & 3), std::uint32_t((byte >> 2) & 1), kCodePages[(byte >> 3) & 7]};
}

inline std::uint8_t SelectorByte(std::size_t model, std::uint32_t mode, std::size_t codePageIndex)
{
    return std::uint8_t(model | mode << 2 | codePageIndex << 3);
}

inline bool Supports1252(std::uint16_t codePage)
{
    return codePage == 1252;
}

// The model's defaults as the driver builds them on a Western system.
inline Bytes DevmodeOf(const model::family::ModelData& m)
{
    Bytes description;
    model::AppendRecord(description, m.description);
    devmode::Buffer d{};
    devmode::SetText(d, devmode::kModelName, m.name);
    devmode::DefaultsInput in;
    in.displayName = m.name;
    in.description = description;
    in.codePage = 1252;
    in.name = m.name;
    in.codePageSupported = Supports1252;
    devmode::BuildDefaultDevmode(d, in, Family());
    return Bytes(d.begin(), d.end());
}

// The merge's questions about a model, from the model's resources: the built-in papers and two
// listed forms, the user-paper limits, trays and resolutions.
class Rules final : public devmode::MergeModel {
public:
    explicit Rules(const model::family::ModelData& m)
        : limits_(model::ParsePaperLimits(Family().Selected(model::kPaperLimitsType, m.description.paperLimits))),
          resolutions_(model::ParseResolutionList(
              Family().Selected(model::kResolutionListType, m.description.resolutionList)))
    {
        if (const auto trays = model::ParseTrayList(Family().Selected(model::kTrayListType, m.description.trayList)))
            trays_ = trays->entries;
    }
    std::uint32_t PaperSet() const override { return 0x01FFEFFFu | devmode::kFormsBit; }
    bool FormAccepted(std::int16_t paperCode) const override { return paperCode == 512 || paperCode == 640; }
    std::optional<model::PaperLimits> UserPaperLimits() const override { return limits_; }
    std::span<const model::TrayEntry> Trays() const override { return trays_; }
    std::optional<std::uint8_t> ResolutionFlag(std::int16_t dpi) const override
    {
        if (resolutions_)
            for (const model::ResolutionEntry& e : resolutions_->entries)
                if (e.dpi == std::uint16_t(dpi))
                    return e.flag;
        return std::nullopt;
    }

private:
    std::optional<model::PaperLimits> limits_;
    std::vector<model::TrayEntry> trays_;
    std::optional<model::ResolutionList> resolutions_;
};

}  // namespace fuzzfix
