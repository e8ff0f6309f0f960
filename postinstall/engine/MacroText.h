// The expansion of a script field: $n$ directory codes and %name% variables, byte by byte. The
// directories come from the caller, so no platform headers: this is fuzzed natively.
#pragma once

#include <functional>
#include <map>

#include "StdStr.h"

// The path of a directory code; empty for a code without one.
using DirectoryOf = std::function<CStdStr(long code)>;

// Variables are looked up by their lower-case name; a name the table lacks is entered into it
// empty. An empty variable whose name is a number gives that directory. A macro left open at the
// end of the text is kept as written.
CStdStr ExpandMacros(const CStdStr& text, std::map<CStdStr, CStdStr>& variables,
                     const DirectoryOf& directory);
