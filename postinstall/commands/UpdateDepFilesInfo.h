// Refreshes the dependent files of one installed driver from its install section.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"
#include "services/DriverComponent.h"

class UpdateDepFilesInfo : public GenericInfo {
public:
    // The record is the engine's; its dependent-files list is replaced in place on an update.
    UpdateDepFilesInfo(OstrafelEngine* engine, DriverRecord driver);
    // Compares file sets rather than reading command lines.
    bool Process() override;
    bool HandleCommand(const CStdStringList&) override { return true; }

private:
    DriverRecord driver_;
};
