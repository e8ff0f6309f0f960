// The post-install utility QVTDX5PI.EXE beside the library, started for a printer that has just
// been added or connected, and waited for.
#pragma once

#include <windows.h>

#include <string>

namespace events {

enum class PostInstallOutcome {
    NoPort,      // a printer without a port gets no run
    Refused,     // a name the utility could not read back exactly: not started
    NotStarted,  // the program could not be started
    Finished,
};

// Starts the utility on the printer's port list and name, unattended when asked, and waits for
// its process to end while dispatching this thread's messages. The exit code is not examined: a
// run that could not be made is ignored by the events.
PostInstallOutcome RunPostInstall(const std::wstring& printerName, const std::wstring& port, bool silent);

// Waits for the process to end, dispatching this thread's sent and posted messages meanwhile. A
// quit message is put back for the caller's own loop.
void WaitDispatching(HANDLE process);

}  // namespace events
