// What the document events read of the printer besides its level-2 information: a 32-bit printer
// data value, the driver's level-2 information, a job's level-1 information, all through the
// printer handle the event comes with.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace docevents {

// A REG_DWORD (or any 4-byte) printer data value; nothing when missing or of another size.
std::optional<DWORD> PrinterDword(HANDLE printer, const wchar_t* valueName);

// DRIVER_INFO_2W of the printer's driver; empty when it cannot be read.
std::vector<BYTE> PrinterDriverInfo2(HANDLE printer);

// JOB_INFO_1W of a job; empty when it cannot be read.
std::vector<BYTE> JobInfo1(HANDLE printer, DWORD jobId);

}  // namespace docevents
