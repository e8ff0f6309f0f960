// The utility's wrapper over the platform registry. Roots are named by short texts
// ("HKLM", "HKCU", "HKU", "HKCR", "HKCC"); keys are opened and closed per call.
#pragma once

#include "../engine/StdStr.h"

class Registry {
public:
    // Reads a value as text: a 32-bit number gives its decimal text, text kinds their text,
    // anything else (a missing value included) empty text.
    CStdStr ReadString(const CStdStr& root, const CStdStr& key, const CStdStr& name);
};
