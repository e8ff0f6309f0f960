#include "InstFileInfo.h"

#include <windows.h>

#include <lzexpand.h>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/FileOp.h"
#include "services/OSInfo.h"
#include "uninstlog/LogOp.h"

namespace {

const char* const kUninstallerComponent = "Uninstaller";
const char* const kDriverComponent = "Driver";

CStdStr LZErrorText(long code)
{
    switch (code) {
    case LZERROR_BADINHANDLE:
        return " bad input handle";
    case LZERROR_BADOUTHANDLE:
        return " bad output handle";
    case LZERROR_READ:
        return " source file format invalid";
    case LZERROR_GLOBALLOC:
        return " too many open compressed files";
    case LZERROR_GLOBLOCK:
        return " LZ file handle cannot be locked down";
    default:
        return " unknown code " + std::to_string(code);
    }
}

HFILE AsHFile(HANDLE handle) { return HFILE(reinterpret_cast<INT_PTR>(handle)); }

bool SourceIsNewer(const PathObject& source, const PathObject& destination)
{
    int version = FileOp::CompareVersion(source, destination);
    return version > 0 || (version == 0 && FileOp::IsNewerTime(source, destination) > 0);
}

}  // namespace

InstFileInfo::InstFileInfo(OstrafelEngine* engine) : GenericInfo(engine, "QelInstallFile") {}

bool InstFileInfo::HandleCommand(const CStdStringList& arguments) try {
    if (arguments.size() < 3) {
        DebugLog << "InstFileInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const PathObject destination(engine_->DecodeMacros(arguments[0]));
    const PathObject source(engine_->DecodeMacros(arguments[1]));
    const PathObject temp(engine_->DecodeMacros(arguments[2]));
    const long deleteSource = arguments.size() > 3 ? ParseDecimal(engine_->DecodeMacros(arguments[3])) : 0;
    const long logSection = arguments.size() > 4 ? ParseDecimal(engine_->DecodeMacros(arguments[4])) : 0;

    if (!FileOp::Exists(source)) {
        DebugLog << "InstFileInfo::HandleCommand: file " << source.FullPath() << " does not exist!" << '\n';
        return false;
    }
    if (!FileOp::DirectoryExists(destination, true)) {
        DebugLog << "InstFileInfo::HandleCommand: dest dir " << destination.directory()
                 << " does not exist and cannot be created" << '\n';
        return false;
    }
    if (!FileOp::DirectoryExists(temp, true)) {
        DebugLog << "InstFileInfo::HandleCommand: temp dir " << temp.directory()
                 << " does not exist and cannot be created" << '\n';
        return false;
    }

    // A file that did not get installed is neither the package's to remove later nor a reason to
    // give up the only copy of the new one.
    if (install(source, destination, temp) == Outcome::Failed)
        return false;

    if (deleteSource != 0)
        FileOp::Remove(source, FileOp::RemoveWithFallback);

    CStdStr component;
    if (logSection == 1) {
        component = kUninstallerComponent;
        engine_->AddLogOp(LogOp::File, destination.FullPath(), component, true);
    } else if (logSection == 2) {
        component = CStdStr(kDriverComponent) + " " + engine_->DriverName();
        engine_->AddLogOp(LogOp::File, destination.FullPath(), component, false);
    }
    if (!component.empty())
        DebugLog << "InstFileInfo::HandleCommand: wrote file " << destination.FullPath() << " log section "
                 << component << '\n';
    return true;
} catch (...) {
    return false;
}

InstFileInfo::Outcome InstFileInfo::install(const PathObject& source, const PathObject& destination,
                                            const PathObject& temp)
{
    if (!FileOp::Exists(destination))
        return ourLZCopy(source, destination) ? Outcome::Installed : Outcome::Failed;
    if (!SourceIsNewer(source, destination))
        return Outcome::NotNewer;
    if (ourLZCopy(source, destination))
        return Outcome::Installed;
    // Typically the destination is in use.
    if (OSInfo().Is9x())
        return replaceInUse9x(source, destination, temp);
    return replaceInUseNT(source, destination, temp);
}

// A file in use on NT can usually still be renamed: move it aside, put the new one under its
// name, and delete the old one at the next restart.
InstFileInfo::Outcome InstFileInfo::replaceInUseNT(const PathObject& source, const PathObject& destination,
                                                   const PathObject& temp)
{
    const CStdStr to = destination.FullPath();
    const CStdStr aside = temp.FullPath();
    if (!MoveFileA(to.c_str(), aside.c_str())) {
        DebugLog << "InstFileInfo::HandleCommand: could not move " << to << " to " << aside
                 << " (Error code: " << GetLastError() << ")" << '\n';
        return Outcome::Failed;
    }
    if (ourLZCopy(source, destination)) {
        FileOp::replaceOnReboot(aside);
        return Outcome::Installed;
    }
    // The old file goes back under its name, over anything the failed copy left there.
    unsigned long error = FileOp::ReplaceWith(temp, destination);
    if (error != 0) {
        DebugLog << "InstFileInfo::HandleCommand: could not move " << aside << " back to " << to
                 << " (Error code: " << error << ")" << '\n';
        FileOp::replaceOnReboot(aside, to);
    }
    return Outcome::Failed;
}

// The 9x family has no rename of a file in use: expand into the temporary file and let the copy
// replace the destination at the next restart when it is locked.
InstFileInfo::Outcome InstFileInfo::replaceInUse9x(const PathObject& source, const PathObject& destination,
                                                   const PathObject& temp)
{
    if (!ourLZCopy(source, temp))
        return Outcome::Failed;
    bool copied = FileOp::Copy(temp, destination, FileOp::CopyRecheckIfLocked);
    // The copy (or the one kept for the restart) no longer needs it.
    FileOp::Remove(temp, FileOp::RemoveWithFallback);
    return copied ? Outcome::Installed : Outcome::Failed;
}

bool InstFileInfo::ourLZCopy(const PathObject& source, const PathObject& destination) try {
    // The source goes through CreateFile and LZInit rather than LZOpenFile, whose path buffer
    // holds only 128 characters.
    HANDLE in = CreateFileA(source.FullPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return false;
    HFILE lzIn = LZInit(AsHFile(in));
    // As LZOpenFile does: a header it cannot read leaves the plain file, and LZCopy reports it.
    if (lzIn <= 0)
        lzIn = AsHFile(in);

    // The expansion goes into a new file beside the destination, which then replaces it in one
    // step: a failed copy never leaves the destination truncated, and a destination in use fails
    // here instead of being created under another name, as LZOpenFile's OF_CREATE can.
    PathObject staging = get_temp_name(destination);
    if (staging.IsEmpty()) {
        LZClose(lzIn);
        return false;
    }
    const CStdStr stagingPath = staging.FullPath();
    HANDLE out = CreateFileA(stagingPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        LZClose(lzIn);
        DeleteFileA(stagingPath.c_str());
        return false;
    }
    LONG written = LZCopy(lzIn, AsHFile(out));
    LZClose(lzIn);
    CloseHandle(out);
    if (written <= 0) {
        DebugLog << "InstFileInfo::ourLZCopy: LZCopy failed: " << LZErrorText(written) << '\n';
        DeleteFileA(stagingPath.c_str());
        return false;
    }
    if (FileOp::ReplaceWith(staging, destination) != 0) {
        DeleteFileA(stagingPath.c_str());
        return false;
    }
    return true;
} catch (...) {
    return false;
}
