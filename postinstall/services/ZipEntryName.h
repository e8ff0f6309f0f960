// The name check of zip entries, kept free of the platform so it can be fuzzed natively.
#pragma once

#include "../engine/StdStr.h"

// True when the entry name, appended to a target directory, names a place inside that directory:
// not rooted (leading separator, UNC), no drive or stream (any colon), and no component made of
// dots and blanks alone with two or more dots ("..", "...", ".. "), which the platform may take
// as the parent. Both "/" and "\" separate components.
bool ZipEntryStaysInside(const CStdStr& name);
