// Stand-in for the printer toolkit QVTDX5TE.DLL: "QVToolKit" records each request as one line,
// tab-separated (the export's name, printer, port, command, argument, flags, the three set flags
// and the two values, whether the driver module came along), in the file QVTOOLKIT_RECORD names,
// and replies to every command but 99.
#include <windows.h>

#include <cstdio>
#include <type_traits>

#include "ToolkitApi.h"

namespace {

constexpr DWORD kRefusedCommand = 99;

void Record(const ToolkitRequest& r, HMODULE driver)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QVTOOLKIT_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "QVToolKit\t%s\t%s\t%lu\t%lu\t%lu\t%u %u %u\t%u %u\t%s\n", r.printerName ? r.printerName : "",
                     r.portName ? r.portName : "", static_cast<unsigned long>(r.command),
                     static_cast<unsigned long>(r.argument), static_cast<unsigned long>(r.flags), r.transfer.set[0],
                     r.transfer.set[1], r.transfer.set[2], r.transfer.value1, r.transfer.value2,
                     driver ? "driver" : "no driver");
        std::fclose(f);
    }
}

}  // namespace

extern "C" int WINAPI QVToolKit(HWND, HMODULE driver, ToolkitRequest* request)
{
    static_assert(std::is_same_v<decltype(&QVToolKit), ToolkitProc>);
    if (!request || request->size != sizeof(ToolkitRequest))
        return 0;
    Record(*request, driver);
    request->reply = request->command != kRefusedCommand ? 1 : 0;
    return 1;
}
