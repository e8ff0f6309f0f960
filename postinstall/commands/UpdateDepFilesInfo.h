// Refreshes the dependent files of one installed driver from its install section.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class UpdateDepFilesInfo : public GenericInfo {
public:
    // level says how to read the driver record (3 or 6).
    UpdateDepFilesInfo(OstrafelEngine* engine, const DRIVER_INFO_3A* driver, DWORD level);
    // Compares file sets rather than reading command lines.
    bool Process() override;
    bool HandleCommand(const CStdStringList&) override { return true; }

private:
    const DRIVER_INFO_3A* driver_;
    DWORD level_;
};
