#include "UninstallInfo.h"

UninstallInfo::UninstallInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelUninstall") {}

bool UninstallInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("UninstallInfo", arguments);
}
