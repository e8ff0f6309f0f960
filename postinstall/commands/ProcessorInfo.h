// Associates a local printer with its print processor.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class ProcessorInfo : public GenericInfo {
public:
    ProcessorInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer);
    // Reads its settings from the driver's data section rather than from command lines.
    bool Process() override;
    bool HandleCommand(const CStdStringList&) override { return true; }

private:
    const PRINTER_INFO_2A* printer_;
};
