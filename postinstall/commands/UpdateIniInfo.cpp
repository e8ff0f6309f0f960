#include "UpdateIniInfo.h"

UpdateIniInfo::UpdateIniInfo(OstrafelEngine* engine) : GenericInfo(engine, "UpdateInis") {}

bool UpdateIniInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("UpdateIniInfo", arguments);
}
