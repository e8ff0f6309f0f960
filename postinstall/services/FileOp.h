// The utility's one place for touching the file system: directory chains, copy with the in-use
// escalation, removal now or at restart, tree removal, temporary names, version and time
// comparison. Results are booleans (or empty values); every failure is one line in the log.
#pragma once

#include "../engine/StdStr.h"
#include "PathObject.h"

namespace FileOp {

// Copy options, a bit set.
enum CopyOptions : unsigned {
    CopyCheckVersion = 1,     // copy only if the destination is missing or its version differs
    CopyCheckTime = 2,        // copy only if the destination is missing or its write time differs
    CopyRenameIfShared = 4,   // a sharing violation also starts the in-use escalation
    CopyRecheckIfLocked = 8,  // before the escalation, skip the copy if versions and times agree
};

// Remove modes.
enum RemoveModes : int {
    RemoveWithFallback = 0,  // delete now, else at restart
    RemoveNoReboot = 1,      // delete now only
    RemoveAtReboot = 2,      // only schedule the deletion at restart
};

// A file name, and the platform knows the full path.
bool Exists(const PathObject& path);
// True when something (a file or a directory) exists at the full path.
bool AnythingAt(const PathObject& path);
// The directory exists (made first when create is set).
bool DirectoryExists(const PathObject& path, bool create);
// Creates every missing directory of the path's directory part.
bool MakePath(const PathObject& path);

// Whether Copy with these options would copy at all.
bool ShouldCopy(const PathObject& source, const PathObject& destination, unsigned options);
bool Copy(const PathObject& source, const PathObject& destination, unsigned options);
// The copy every Copy attempt goes through: 0, or the platform's error code. Tests replace it
// to produce errors the platform cannot be made to give.
using CopyFileHook = unsigned long (*)(const CStdStr& source, const CStdStr& destination);
extern CopyFileHook CopyFileFn;
unsigned long PlatformCopyFile(const CStdStr& source, const CStdStr& destination);

// A file (see RemoveFile) or else an empty directory (deleteDir, mode unused).
bool Remove(const PathObject& path, int mode);
bool RemoveFile(const PathObject& path, int mode);

// Replaces destination by source in one step, so the old or the new content is always there.
// Returns the system error code, 0 on success.
unsigned long ReplaceWith(const PathObject& source, const PathObject& destination);

// -1, 0, +1: source written earlier, at the same time, later. 0 when either time is unknown.
int IsNewerTime(const PathObject& source, const PathObject& destination);
// The FileVersion text of the version resource, commas turned into periods; empty without one.
CStdStr GetFileVersion(const PathObject& path);
// -1, 0, +1 by the version texts' numeric parts.
int CompareVersion(const PathObject& source, const PathObject& destination);
int CompareVersionText(const CStdStr& source, const CStdStr& destination);

// Renames existing to newName at the next restart, or deletes it when newName is empty.
bool replaceOnReboot(const CStdStr& existing, const CStdStr& newName = CStdStr());
// Lines "new=existing" (short paths; NUL for a deletion) for platforms without the delayed
// move, in the order added, without duplicates. They are stored in wininit.ini's [rename]
// section, which that platform family carries out at restart.
const CStdStringList& RebootRenameList();

}  // namespace FileOp

// Deletes a directory tree; links inside it are removed, never followed.
bool WipeOutDirectory(const PathObject& path);
// Removes the (empty) directory now, else at restart.
bool deleteDir(const PathObject& path);
// Adds the directory to the batch file that a run-once entry starts at the next logon.
bool addToRebootBatFile(const CStdStr& directory);

// A new, unique, empty file "tmp…" in the path's directory, made by the platform; an empty path
// on failure.
PathObject get_temp_name(const PathObject& path);
// The same in the system temporary directory.
PathObject get_temp_name();
