// The utility's one place for touching the file system.
#pragma once

#include "PathObject.h"

namespace FileOp {

// True when the path names a file (or directory) that exists.
bool Exists(const PathObject& path);
// True when something (a file or a directory) exists at the full path.
bool AnythingAt(const PathObject& path);
// Replaces destination by source in one step, so the old or the new content is always there.
// Returns the system error code, 0 on success.
unsigned long ReplaceWith(const PathObject& source, const PathObject& destination);

}  // namespace FileOp

// A new, unique, empty file "tmp…" in the path's directory, made by the platform; an empty path
// on failure.
PathObject get_temp_name(const PathObject& path);
// The same in the system temporary directory.
PathObject get_temp_name();
