// The model data of the driver as the devmode code reads it (through the model readers): the
// model number of a model name, the rules the merge applies for a model. The Win32 edge of the
// devmode code.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "DefaultDevmode.h"
#include "Merge.h"
#include "ModelResources.h"
#include "ResourceTables.h"

namespace devmode {

// The custom resources of a module; the spans stay valid while the module is loaded.
class ModuleResources final : public ModelResources {
public:
    explicit ModuleResources(HMODULE module) : module_(module) {}
    std::span<const std::uint8_t> Resource(int type, int name) const override;

private:
    HMODULE module_;
};

// The model number of a model name: the name's "Model" key in QVTDX5DD.INI (the name itself by
// default) compared without case with the model strings 10000, 10001, ... of the module until
// one is missing; 0 when none matches.
int ModelNumberOf(HMODULE module, const std::string& modelName);
// The name that number is looked up by: the name's "Model" key in QVTDX5DD.INI, else the name.
std::string ModelLookupName(const std::string& modelName);

// Whether the system supports the ANSI code page (the font sets and the default builder ask).
bool CodePageSupported(std::uint16_t codePage);

// 1 for the country codes of North and Central America that use Letter paper, by the system
// default locale; 0 otherwise or when it cannot be read.
bool IsUsaLocale();

// The merge's questions about the base devmode's model, answered from its model record and
// the module's resources.
class ModelRules final : public MergeModel {
public:
    ModelRules(std::span<const std::uint8_t> base, const ModelResources& resources);
    std::uint32_t PaperSet() const override;
    bool FormAccepted(std::int16_t paperCode) const override;
    std::optional<model::PaperLimits> UserPaperLimits() const override { return limits_; }
    std::span<const model::TrayEntry> Trays() const override { return trays_; }
    std::optional<std::uint8_t> ResolutionFlag(std::int16_t dpi) const override;

private:
    std::optional<model::PaperLimits> limits_;
    std::vector<model::TrayEntry> trays_;
    std::optional<model::ResolutionList> resolutions_;
};


}  // namespace devmode
