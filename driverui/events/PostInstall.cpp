#include "PostInstall.h"

#include <optional>

#include "CommandLine.h"
#include "LibraryFiles.h"

namespace events {
namespace {

// NORMAL_PRIORITY_CLASS with DETACHED_PROCESS: the utility has no console and opens no window.
constexpr DWORD kCreationFlags = NORMAL_PRIORITY_CLASS | DETACHED_PROCESS;
static_assert(kCreationFlags == 0x28);

}  // namespace

void WaitDispatching(HANDLE process)
{
    std::optional<WPARAM> quit;
    for (;;) {
        const DWORD wait = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (quit)
        PostQuitMessage(int(*quit));
}

PostInstallOutcome RunPostInstall(const std::wstring& printerName, const std::wstring& port, bool silent)
{
    if (port.empty())
        return PostInstallOutcome::NoPort;
    // The utility reads its command line in the ANSI code page: every part must come through it
    // unchanged, and the program is given by its full path, never looked up.
    const std::wstring dir = LibraryDirectory();
    const std::optional<std::string> narrowDir = ExactNarrow(dir);
    const std::optional<std::string> narrowPort = ExactNarrow(port);
    const std::optional<std::string> narrowPrinter = ExactNarrow(printerName);
    if (dir.empty() || !narrowDir || !narrowPort || !narrowPrinter)
        return PostInstallOutcome::Refused;
    const PostInstallRequest request{*narrowDir, silent, *narrowPort, *narrowPrinter};
    const std::optional<std::string> commandLine = PostInstallCommandLine(request);
    if (!commandLine)
        return PostInstallOutcome::Refused;

    std::wstring program = Widened(*narrowDir + std::string(kPostInstallProgram));
    std::wstring line = Widened(*commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, kCreationFlags, nullptr, nullptr,
                        &startup, &child))
        return PostInstallOutcome::NotStarted;
    CloseHandle(child.hThread);
    WaitDispatching(child.hProcess);
    CloseHandle(child.hProcess);
    return PostInstallOutcome::Finished;
}

}  // namespace events
