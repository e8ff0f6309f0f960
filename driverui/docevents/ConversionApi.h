// The job-conversion library QVTDX5LU.DLL as the document events use it, and the record that tells
// the rendering driver where a redirected job went. The library belongs to the driver package, not
// to this system: its entry for the rendering driver is only looked up and handed on, and
// "runConvert" runs as a rundll32 entry (or "runConvertW" in this process) after the job.
// Declarations only, so the library's stand-in shares them.
//
// The record is in memory only and holds pointers, so its fields are pointer-width; the offsets
// pinned below are those of the shipped 32-bit build. Its address crosses to the rendering driver,
// which runs in the same process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace docevents {

inline constexpr char kConvertForRendererExport[] = "ConvertDataForNetwork";
inline constexpr char kRunConvertWExport[] = "runConvertW";

// The rundll32 form: the argument text is the document name, the printer name, the temporary
// file and the application's output name, separated by U+0001.
using RunConvertWFn = void(WINAPI*)(HWND window, HINSTANCE module, LPWSTR arguments, int show);

struct ConversionRecord {
    std::uint16_t size;  // of this record
    std::uint16_t reserved;
    DOCINFOW* docInfo;           // the application's
    LPCWSTR applicationOutput;   // its output name as it gave it (may be null)
    LPWSTR tempFile;             // the job's output now
    LPWSTR documentName;         // copy, or null
    LPWSTR outputName;           // copy of the application's output name, or null
    HMODULE library;             // QVTDX5LU.DLL
    FARPROC convertForRenderer;  // its "ConvertDataForNetwork"
};
#ifndef _WIN64
static_assert(offsetof(ConversionRecord, docInfo) == 4);
static_assert(offsetof(ConversionRecord, applicationOutput) == 8);
static_assert(offsetof(ConversionRecord, tempFile) == 12);
static_assert(offsetof(ConversionRecord, documentName) == 16);
static_assert(offsetof(ConversionRecord, outputName) == 20);
static_assert(offsetof(ConversionRecord, library) == 24);
static_assert(offsetof(ConversionRecord, convertForRenderer) == 28);
static_assert(sizeof(ConversionRecord) == 32);
#endif

}  // namespace docevents
