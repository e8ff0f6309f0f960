#include "UnzipFileInfo.h"

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/Zip.h"

UnzipFileInfo::UnzipFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelUnZipZipFile") {}

bool UnzipFileInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.empty()) {
        DebugLog << "UnZipInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const PathObject archive(engine_->DecodeMacros(arguments[0]));
    PathObject target;
    target.SetDirectory(arguments.size() > 1 ? engine_->DecodeMacros(arguments[1]) : archive.directory());
    return ExtractZip(archive, target);
}
