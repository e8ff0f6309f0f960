// What the per-driver and per-printer commands share about installed drivers: the record and its
// level, whether a driver fits this platform, and re-registering a driver with the spooler after
// a field of its record was changed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../engine/StdStr.h"

// One installed driver as the spooler reported it. A level-6 record begins with the level-3
// fields, so both are addressed through the level-3 view; the level says which it really is and
// goes back to the spooler unchanged.
struct DriverRecord {
    DRIVER_INFO_3A* info = nullptr;
    DWORD level = 0;
    explicit operator bool() const { return info != nullptr; }
};

// The spooler environment whose drivers the utility looks after: "Windows 4.0" on the 9x family,
// "Windows NT x86" otherwise.
const char* DriverEnvironment();
// Level 6 on Windows 2000 and later, else 3.
DWORD DriverLevel();
// 9x: every version; Windows 2000 and later: version 3; NT 4: version 2.
bool DriverFitsOS(DWORD version);

// Reads a number as scripts write them: a text of at least three characters whose second is "x"
// or "X" is hexadecimal, anything else decimal.
std::uint32_t ParseNumberText(const CStdStr& text);

namespace DriverComponent {

// Stages the driver's files into the printer-driver directory (NT family) and adds the driver
// again with the record as it stands now.
bool UpdatePrinterDriver(DRIVER_INFO_3A* record, DWORD level);

// For tests: the library the extended driver-add entry is looked up in, while one is alive.
class ScopedSpoolerLibrary {
public:
    explicit ScopedSpoolerLibrary(const char* name);
    ~ScopedSpoolerLibrary();
    ScopedSpoolerLibrary(const ScopedSpoolerLibrary&) = delete;
    ScopedSpoolerLibrary& operator=(const ScopedSpoolerLibrary&) = delete;

private:
    const char* previous_;
};

}  // namespace DriverComponent
