// In-place edit of one key of an INI file: the file is copied line by line into a temporary file
// beside it, with the key written or dropped on the way, and the copy then replaces the file in
// one step. The file keeps its encoding; every copied line loses its outer white space.
#pragma once

#include "StdStr.h"

enum QuickEditKind { QuickWrite = 1, QuickDelete = 2 };

// Replaces the first key=value of the section, or adds the key at the section's end, or adds the
// section at the end of the file.
bool QuickWriteIniString(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                         const CStdStr& value);
// Drops the first line of the key in the section; with a value, only if it has that value (any
// case).
bool QuickDeleteIniString(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                          const CStdStr& value);

bool quick_write_helper(const CStdStr& file, const CStdStr& section, const CStdStr& key,
                        const CStdStr& value, int kind);
