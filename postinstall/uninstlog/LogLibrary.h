// Where the uninstall-log library is loaded from: beside the utility itself.
#pragma once

#include "../engine/StdStr.h"

namespace uninstlog {

// Longer sibling paths fall back to the bare file name (and so to the loader's search order).
inline constexpr size_t kMaxSiblingPath = 260;

// The module path cut after its last '\' or ':', plus the file name; the bare file name when
// that would pass kMaxSiblingPath characters.
CStdStr SiblingPath(const CStdStr& modulePath, const CStdStr& fileName);

// The utility's own full path; empty when the platform cannot say. Tests replace it to load the
// library from another directory.
using ModulePathHook = CStdStr (*)();
extern ModulePathHook ModulePathFn;
CStdStr OwnModulePath();

}  // namespace uninstlog
