// Starts a program or a batch file, optionally waiting for it while keeping this thread's message
// queue alive.
#pragma once

#include "../engine/StdStr.h"

class Launcher {
public:
    virtual ~Launcher() = default;

    // errorCode: 0, or the platform's error (87 empty command line, 2 no program, or the
    // creation error). exitCode: the program's, 0 when it did not run or was not waited for.
    // A show mode of 0 shows the program without activating it. userToken, when given, is the
    // user the program runs as. With paintOnly, only paint messages are dispatched while waiting;
    // the others are dropped.
    void LaunchProgram(const CStdStr& commandLine, bool wait, bool pumpMessages, bool changeDirectory,
                       void* userToken, int showMode, unsigned long creationFlags, unsigned long& errorCode,
                       unsigned long& exitCode, bool paintOnly = false);
    // Both return the error code.
    unsigned long LaunchNoWait(const CStdStr& commandLine, bool changeDirectory = false,
                               void* userToken = nullptr, int showMode = 0, unsigned long creationFlags = 0);
    unsigned long LaunchAndWait(const CStdStr& commandLine, bool pumpMessages, unsigned long& exitCode,
                                bool changeDirectory = false, void* userToken = nullptr, int showMode = 0,
                                unsigned long creationFlags = 0, bool paintOnly = false);

protected:
    // Called about once a second while a program is waited for with pumping.
    virtual void OnIdle() {}

private:
    unsigned long createAndWait(const CStdStr& application, const CStdStr& commandLine, bool wait,
                                bool pumpMessages, void* userToken, int showMode, unsigned long creationFlags,
                                unsigned long& exitCode, bool paintOnly);
};
