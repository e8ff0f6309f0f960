#include "FileOp.h"

#include <windows.h>

#include <cstring>

#include "../engine/DebugLog.h"
#include "FileOpInternal.h"
#include "SystemPath.h"

using namespace fileop_detail;

namespace fileop_detail {

CStdStr TempDirectory() { return SystemPath(folders::kTempDirectory).directory(); }
CStdStr WindowsDirectory() { return SystemPath(folders::kWindowsDirectory).directory(); }
CStdStr SystemDirectory() { return SystemPath(folders::kSystemDirectory).directory(); }

}  // namespace fileop_detail

namespace {

CStdStr CurrentDirectory()
{
    return QueryText([](char* b, DWORD n) { return GetCurrentDirectoryA(n, b); });
}

void RestoreDirectory(const CStdStr& saved)
{
    if (!saved.empty())
        SetCurrentDirectoryA(saved.c_str());
}

bool IsReparsePoint(const CStdStr& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The escalation for a destination the platform will not overwrite. The destination always
// keeps either its old contents or the new ones.
bool CopyOverFileInUse(const PathObject& source, const PathObject& destination, unsigned options)
{
    if ((options & FileOp::CopyRecheckIfLocked) &&
        !FileOp::ShouldCopy(source, destination, FileOp::CopyCheckVersion | FileOp::CopyCheckTime))
        return true;

    const CStdStr from = source.FullPath();
    const CStdStr to = destination.FullPath();
    DebugLog << "FileOp::Copy: destination file " << to << " is in use.  Trying to rename it..." << '\n';

    PathObject temp = get_temp_name(destination);
    if (temp.IsEmpty())
        return false;
    const CStdStr t = temp.FullPath();
    DeleteFileA(t.c_str());

    if (MoveFileA(to.c_str(), t.c_str())) {
        unsigned long error = FileOp::CopyFileFn(from, to);
        if (error == 0) {
            FileOp::Remove(temp, FileOp::RemoveWithFallback);
            return true;
        }
        DebugLog << "FileOp::Copy: second CopyFile try failed with code " << error << '\n';
        // Put the old file back under its name rather than leave the name empty until restart.
        if (!MoveFileExA(t.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DebugLog << "FileOp::Copy: could not rename " << t << " back to " << to
                     << " (Error code: " << GetLastError() << ")" << '\n';
            FileOp::replaceOnReboot(t, to);
            return false;
        }
    }

    DebugLog << "FileOp::Copy: that sucker just won't budge.  Replacing " << to << " with " << t
             << " after reboot." << '\n';
    unsigned long error = FileOp::CopyFileFn(from, t);
    if (error != 0) {
        DebugLog << "FileOp::Copy: third CopyFile try failed with code " << error << '\n';
        DeleteFileA(t.c_str());
        return false;
    }
    if (!FileOp::replaceOnReboot(t, to)) {
        DeleteFileA(t.c_str());
        return false;
    }
    DebugLog << "! Reboot Required: To replace locked file. Inside FileOp::Copy." << '\n';
    return true;
}

}  // namespace

namespace FileOp {

CopyFileHook CopyFileFn = PlatformCopyFile;

unsigned long PlatformCopyFile(const CStdStr& source, const CStdStr& destination)
{
    if (CopyFileA(source.c_str(), destination.c_str(), FALSE))
        return 0;
    DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

bool Exists(const PathObject& path) try {
    return path.HasFileName() && GetFileAttributesA(path.FullPath().c_str()) != INVALID_FILE_ATTRIBUTES;
} catch (...) {
    return false;
}

bool AnythingAt(const PathObject& path) try {
    CStdStr full = path.FullPath();
    return !full.empty() && GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES;
} catch (...) {
    return false;
}

bool DirectoryExists(const PathObject& path, bool create) try {
    if (!path.HasDirectory())
        return false;
    if (create && !MakePath(path))
        return false;
    DWORD attributes = GetFileAttributesA(path.directory().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
} catch (...) {
    return false;
}

bool MakePath(const PathObject& path) try {
    const CStdStr saved = CurrentDirectory();
    CStdStr rest = path.directory();
    CStdStr walked;

    if (!rest.empty() && rest[0] == '\\') {
        size_t end = rest.find('\\', 2);
        if (end == CStdStr::npos) {
            DebugLog << "FileOp::MakePath: no root in path " << path.directory() << '\n';
            return false;
        }
        walked = rest.substr(0, end + 1);
        rest.erase(0, end + 1);
    } else if (rest.find(':') == 1) {
        size_t length = rest.find('\\') == 2 ? 3 : 2;
        walked = rest.substr(0, length);
        rest.erase(0, length);
    }

    bool ok = true;
    while (ok && !rest.empty()) {
        if (rest.find(',') != CStdStr::npos) {
            DebugLog << "FileOp::MakePath: Invalid MakePath request with either comma(,) or a "
                        "prefixed period(.) in path"
                     << '\n';
            ok = false;
            break;
        }
        size_t separator = rest.find('\\');
        size_t length = separator == CStdStr::npos ? rest.size() : separator + 1;
        walked += rest.substr(0, length);
        rest.erase(0, length);

        if (SetCurrentDirectoryA(walked.c_str())) {
            // Back at once: a relative prefix must keep meaning the same place.
            RestoreDirectory(saved);
            continue;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            DebugLog << "FileOp::MakePath: could not switch to directory " << walked
                     << " (Error code: " << error << ")" << '\n';
            ok = false;
        } else if (!CreateDirectoryA(walked.c_str(), nullptr)) {
            DebugLog << "FileOp::MakePath: tried to create directory " << walked
                     << " but failed.  (Error code: " << GetLastError() << ")" << '\n';
            ok = false;
        }
    }
    RestoreDirectory(saved);
    return ok;
} catch (...) {
    return false;
}

bool ShouldCopy(const PathObject& source, const PathObject& destination, unsigned options) try {
    if (!(options & (CopyCheckVersion | CopyCheckTime)))
        return true;
    if (!Exists(destination))
        return true;
    if ((options & CopyCheckVersion) && CompareVersion(source, destination) != 0)
        return true;
    if ((options & CopyCheckTime) && IsNewerTime(source, destination) != 0)
        return true;
    return false;
} catch (...) {
    return false;
}

bool Copy(const PathObject& source, const PathObject& destination, unsigned options) try {
    if (!ShouldCopy(source, destination, options))
        return true;
    unsigned long error = CopyFileFn(source.FullPath(), destination.FullPath());
    if (error == 0)
        return true;
    if (error == ERROR_LOCK_VIOLATION ||
        (error == ERROR_SHARING_VIOLATION && (options & CopyRenameIfShared)))
        return CopyOverFileInUse(source, destination, options);
    DebugLog << "FileOp::Copy: CopyFile failed with code " << error << '\n';
    return false;
} catch (...) {
    return false;
}

bool Remove(const PathObject& path, int mode) try {
    if (path.HasFileName())
        return RemoveFile(path, mode);
    if (path.HasDirectory())
        return deleteDir(path);
    DebugLog << "FileOp::Remove: nothin' from nothin' leaves nothin'!" << '\n';
    return false;
} catch (...) {
    return false;
}

bool RemoveFile(const PathObject& path, int mode) try {
    const CStdStr full = path.FullPath();
    DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        attributes &= ~DWORD(FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA(full.c_str(), attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
    }
    if (mode != RemoveAtReboot) {
        if (DeleteFileA(full.c_str()))
            return true;
        DWORD error = GetLastError();
        if (mode == RemoveNoReboot || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return false;
    }
    return replaceOnReboot(full);
} catch (...) {
    return false;
}

unsigned long ReplaceWith(const PathObject& source, const PathObject& destination) try {
    if (MoveFileExA(source.FullPath().c_str(), destination.FullPath().c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return GetLastError();
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace FileOp

bool WipeOutDirectory(const PathObject& path) try {
    if (!path.HasDirectory() || path.HasFileName()) {
        DebugLog << "WipeOutDirectory: the parameter must be a directory!  Passed: " << path.FullPath()
                 << '\n';
        return false;
    }
    const CStdStr dir = path.directory();
    // A junction or symbolic link goes by itself; what it points at is not ours to wipe.
    if (!IsReparsePoint(dir)) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((dir + "\\*.*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CStdStr name(entry.cFileName, strnlen(entry.cFileName, sizeof entry.cFileName));
                if (name == "." || name == "..")
                    continue;
                PathObject child;
                child.SetDirectory(dir);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    child.AppendSubDir(name);
                    WipeOutDirectory(child);
                } else {
                    child.SetName(name);
                    FileOp::Remove(child, FileOp::RemoveWithFallback);
                }
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
    }
    FileOp::Remove(path, FileOp::RemoveWithFallback);
    return true;
} catch (...) {
    return false;
}

bool deleteDir(const PathObject& path) try {
    const CStdStr dir = path.directory();
    if (dir.empty())
        return false;
    if (RemoveDirectoryA(dir.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return true;
    return FileOp::replaceOnReboot(dir + "\\");
} catch (...) {
    return false;
}

PathObject get_temp_name(const PathObject& path) try {
    CStdStr dir = path.directory().empty() ? CStdStr(".") : path.directory();
    char name[MAX_PATH + 1] = "";
    // The platform writes up to MAX_PATH characters and wants room for its own "tmpXXXX.tmp".
    UINT ok = 0;
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    if (dir.size() <= MAX_PATH - 14) {
        ok = GetTempFileNameA(dir.c_str(), "tmp", 0, name);
        error = GetLastError();
    }
    if (!ok) {
        DebugLog << "get_temp_name: GetTempFileName in directory " << path.directory()
                 << " failed with code " << error << '\n';
        return PathObject();
    }
    return PathObject(CStdStr(name, strnlen(name, MAX_PATH)));
} catch (...) {
    return PathObject();
}

PathObject get_temp_name() try {
    PathObject dir;
    dir.SetDirectory(TempDirectory());
    if (!dir.HasDirectory()) {
        DebugLog << "get_temp_name: GetTempFileName in directory " << dir.directory()
                 << " failed with code " << GetLastError() << '\n';
        return PathObject();
    }
    return get_temp_name(dir);
} catch (...) {
    return PathObject();
}
