#include "DeleteFileInfo.h"

DeleteFileInfo::DeleteFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelDelFiles") {}

bool DeleteFileInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("DeleteFileInfo", arguments);
}
