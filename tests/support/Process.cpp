// Child processes for the tests.
#include "TestSupport.h"

#include <windows.h>

namespace qvtest {

int RunProcess(const std::string& commandLine, const std::string& workingDir, std::uint32_t timeoutMs)
{
    std::string mutableLine = commandLine;  // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process))
        return -1;
    CloseHandle(process.hThread);

    int result = -1;
    const DWORD wait = WaitForSingleObject(process.hProcess, timeoutMs);
    DWORD exitCode = 0;
    if (wait == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &exitCode)) {
        result = static_cast<int>(exitCode);
    } else if (wait == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        SetLastError(ERROR_TIMEOUT);
    }
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace qvtest
