// The programs the document events start after a job: the status monitor and the companion
// program once the document started, the manual-duplex instructions once it ended; and the one
// way a program is started in the background.
#pragma once

#include <windows.h>

#include <string>

#include "RenderingDriver.h"

namespace docevents {

// CreateProcessW with the whole command line, the working directory, no inherited handles and
// show state 0, not waited for. Whether it started.
bool StartProgram(const std::wstring& commandLine, const std::wstring& workingDirectory);

// QVTDX5DA's own directory, without a trailing backslash.
std::wstring OwnDirectory();

// The status monitor and the companion program for a job printed from this computer.
void StartJobPrograms(HANDLE printer, DWORD jobId);

// The manual-duplex instructions the job state and the devmode ask for.
void ShowManualDuplexInstructions(HANDLE printer, const RenderingDriver& driver);

}  // namespace docevents
