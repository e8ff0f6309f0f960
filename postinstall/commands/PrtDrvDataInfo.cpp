#include "PrtDrvDataInfo.h"

PrtDrvDataInfo::PrtDrvDataInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer)
    : GenericInfo(engine, "QelPrtDrvData", printer && printer->pDriverName ? printer->pDriverName : ""),
      printer_(printer)
{
}

bool PrtDrvDataInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("PrtDrvDataInfo", arguments);
}
