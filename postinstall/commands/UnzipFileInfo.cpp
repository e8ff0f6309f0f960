#include "UnzipFileInfo.h"

UnzipFileInfo::UnzipFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelUnZipZipFile") {}

bool UnzipFileInfo::HandleCommand(const CStdStringList& arguments)
{
    return NotCarriedOut("UnZipInfo", arguments);
}
