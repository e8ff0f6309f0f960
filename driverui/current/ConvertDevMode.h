// The conversion entry points: DrvConvertDevMode (between devmode layouts, and the driver
// default for a printer) and ConvertTagListToDevmode (a devmode from a feature entry block).
#pragma once

#include <windows.h>

namespace devmode {

// Mode CDM_CONVERT copies input into output as far as the output's declared layout goes (its
// dmSize + dmDriverExtra must fit the size the caller gives). Mode CDM_DRIVER_DEFAULT writes the
// printer's current devmode (1256 bytes) after the size check. The size pointer receives the
// bytes written or needed. FALSE with the last error on failure.
BOOL ConvertDevMode(const WCHAR* printerName, const DEVMODEW* input, DEVMODEW* output,
                    LONG* size, DWORD mode);

// 1256 for a null output; otherwise the printer's driver defaults with the feature entries
// applied, into a 1256-byte output: 1 on success, 0 (with the last error) when the printer cannot
// be opened or read.
LONG TagListToDevmode(DWORD reserved, const char* printerName, const void* featureBlock,
                      DEVMODEW* output);

}  // namespace devmode
