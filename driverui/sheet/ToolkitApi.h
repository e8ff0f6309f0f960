// QVTDX5TE.DLL, the printer toolkit outside this system: the request the driver library sends to
// its export "QVToolKit" (window, the driver library's module, the request). The toolkit's stand-in
// compiles this declaration.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr char kToolkitExport[] = "QVToolKit";

// Commands 1, 2 and 4 carry two values, flagged as set; others send a cleared transfer record.
struct ToolkitTransfer {
    WORD set[3];
    WORD value1;
    WORD value2;
    WORD reserved;
};
static_assert(sizeof(ToolkitTransfer) == 12);

struct ToolkitRequest {
    DWORD size;
    const char* printerName;
    const char* portName;
    DWORD command;
    DWORD argument;
    DWORD flags;
    ToolkitTransfer transfer;
    WORD reply;  // non-zero when the toolkit carried the command out
    WORD reserved;
};
#ifndef _WIN64
static_assert(sizeof(ToolkitRequest) == 40 && offsetof(ToolkitRequest, transfer) == 24);
#endif

using ToolkitProc = int(WINAPI*)(HWND window, HMODULE driver, ToolkitRequest* request);
