// Writes printer data values of one printer; its lines come from the install section of the
// printer's own driver.
#pragma once

#include <windows.h>

#include "engine/GenericInfo.h"

class PrtDrvDataInfo : public GenericInfo {
public:
    PrtDrvDataInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer);
    bool HandleCommand(const CStdStringList& arguments) override;

private:
    const PRINTER_INFO_2A* printer_;
};
