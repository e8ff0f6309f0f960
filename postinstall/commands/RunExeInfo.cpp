#include "RunExeInfo.h"

RunExeInfo::RunExeInfo(OstrafelEngine* engine, int type)
    : GenericInfo(engine, type == 0 ? "QelUnZipEXEFile" : "QelRunApps"), type_(type)
{
}

bool RunExeInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("RunAppInfo", arguments);
}
