#include "MonitorInfo.h"

MonitorInfo::MonitorInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer, const DRIVER_INFO_3A* driver,
                         DWORD level)
    : GenericInfo(engine, "QelAssociateMonitor"), printer_(printer), driver_(driver), level_(level)
{
}

bool MonitorInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("MonitorInfo", arguments);
}
