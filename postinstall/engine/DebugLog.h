// The flight-recorder log: one process-wide text stream. Each completed line is appended to the
// file named by the "OstrafelDebug" switch; the file is opened and closed for every line so that
// all lines up to the last one survive a crash. Without a file name nothing is written.
#pragma once

#include <ostream>
#include <streambuf>

#include "StdStr.h"

class DebugBufLog : public std::streambuf {
public:
    void SetFile(const CStdStr& path);
    const CStdStr& File() const { return file_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void AppendLine();

    CStdStr file_;
    CStdStr line_;
};

extern DebugBufLog DebugBuf;
extern std::ostream DebugLog;

// The log timer: start records the process clock; print writes format (one %f, the elapsed
// seconds) as a line.
void DebugLogStartTimer();
void DebugLogPrintTimer(const char* format);
