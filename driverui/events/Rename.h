// The export Rename: a printer's per-user settings and its driver data follow it to a new name.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace events {

// As the caller passes it: two 32-bit fields not used here, then the two narrow names.
struct RenameRecord {
    std::uint32_t reserved[2];
    const char* oldName;
    const char* newName;
};
#ifdef _WIN64
static_assert(offsetof(RenameRecord, oldName) == 8 && offsetof(RenameRecord, newName) == 16 &&
              sizeof(RenameRecord) == 24);
#else
static_assert(offsetof(RenameRecord, oldName) == 8 && offsetof(RenameRecord, newName) == 12 &&
              sizeof(RenameRecord) == 16);
#endif

// A name is at most this many bytes with its terminator.
inline constexpr std::size_t kRenameNameBytes = 256;

// Moves HKCU "Software\Qelbrin\Printers\<old>" to the new name, registering what it writes with
// the install log, and copies the old printer's "PrinterDriverData" values into the new
// printer's. 1 when both moves succeeded, else 0. A name that is missing, empty, unterminated
// within its bytes or holding a backslash changes nothing; so does a new name for which the
// spooler has no printer. Equal names (registry keys ignore case) have nothing to move: 1.
BOOL RenamePrinterData(const RenameRecord* record);

}  // namespace events
