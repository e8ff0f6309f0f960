#include "InstFileInfo.h"

InstFileInfo::InstFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelInstallFile") {}

bool InstFileInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("InstFileInfo", arguments);
}
