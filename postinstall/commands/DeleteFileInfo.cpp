#include "DeleteFileInfo.h"

#include <windows.h>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/FileOp.h"

DeleteFileInfo::DeleteFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelDelFiles") {}

bool DeleteFileInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.empty()) {
        DebugLog << "DeleteFileInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const CStdStr path = engine_->DecodeMacros(arguments[0]);
    long flag = arguments.size() > 1 ? ParseDecimal(arguments[1]) : 1;
    if (flag < 0 || flag > 2) {
        DebugLog << "DeleteFilesInfo::HandleCommand: invalid flag: " << flag << '\n';
        flag = 1;
    }
    static const int kModes[] = {FileOp::RemoveNoReboot, FileOp::RemoveWithFallback, FileOp::RemoveAtReboot};

    PathObject target(path);
    // A directory written without its closing "\" is still a directory: removing it as a file
    // would fail now and schedule a file deletion for it at restart.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (target.HasFileName() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        target = PathObject(path + "\\");
    return FileOp::Remove(target, kModes[flag]);
}
