#include "UpdateDepFilesInfo.h"

#include "engine/DebugLog.h"

UpdateDepFilesInfo::UpdateDepFilesInfo(OstrafelEngine* engine, const DRIVER_INFO_3A* driver, DWORD level)
    : GenericInfo(engine, "UpdateDependentFiles", driver && driver->pName ? driver->pName : ""),
      driver_(driver), level_(level)
{
}

bool UpdateDepFilesInfo::Process()
{
    DebugLog << "UpdateDepFilesInfo::Process: not carried out yet" << '\n';
    DebugLog << "\tDriver name: " << driverName_ << '\n';
    return false;
}
