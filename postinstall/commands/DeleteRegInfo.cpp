#include "DeleteRegInfo.h"

DeleteRegInfo::DeleteRegInfo(OstrafelEngine* engine, const CStdStr& driverName)
    : GenericInfo(engine, "DelReg", driverName)
{
}

bool DeleteRegInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("DeleteRegInfo", arguments);
}
