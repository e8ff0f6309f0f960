#include "AddRegInfo.h"

AddRegInfo::AddRegInfo(OstrafelEngine* engine, const CStdStr& driverName)
    : GenericInfo(engine, "AddReg", driverName)
{
}

bool AddRegInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("AddRegInfo", arguments);
}
