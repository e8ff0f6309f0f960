// Associates a printer with its port monitor.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class MonitorInfo : public GenericInfo {
public:
    // The printer's driver description may be missing; level says how to read it (3 or 6).
    MonitorInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer, const DRIVER_INFO_3A* driver,
                DWORD level);
    bool HandleCommand(const CStdStringList& arguments) override;

private:
    const PRINTER_INFO_2A* printer_;
    const DRIVER_INFO_3A* driver_;
    DWORD level_;
};
