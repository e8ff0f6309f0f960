// Associates a printer's driver with a port monitor and can switch on the printer's
// bidirectional support.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"
#include "services/DriverComponent.h"

class MonitorInfo : public GenericInfo {
public:
    // Both records are the engine's and are changed in place; the driver may be missing.
    MonitorInfo(OstrafelEngine* engine, PRINTER_INFO_2A* printer, DriverRecord driver);
    // Arguments: monitor name, flag (1: switch on bidirectional support).
    bool HandleCommand(const CStdStringList& arguments) override;

private:
    PRINTER_INFO_2A* printer_;
    DriverRecord driver_;
};
