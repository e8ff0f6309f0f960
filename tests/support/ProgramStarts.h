// The launch test program's record of how it was started: a fresh record file that the
// program writes to while a StartLog is alive.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace qvtest {

inline std::string TestProgramPath() { return BinDir() + "\\qvtestprog.exe"; }

// One line of the test program's record.
struct Start {
    std::string commandLine;
    std::string directory;
    std::string program;
    int show = -1;
};

// Points the test program's record at a fresh file while alive.
class StartLog {
public:
    StartLog() : path_(dir_.File("starts.log")) { SetEnvironmentVariableA("QVTESTPROG_LOG", path_.c_str()); }
    ~StartLog() { SetEnvironmentVariableA("QVTESTPROG_LOG", nullptr); }
    StartLog(const StartLog&) = delete;
    StartLog& operator=(const StartLog&) = delete;

    const std::string& Path() const { return path_; }

    std::vector<Start> Starts() const
    {
        std::vector<Start> starts;
        std::string text = ReadFile(path_).value_or("");
        size_t from = 0;
        for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
            std::vector<std::string> fields;
            std::string line = text.substr(from, end - from);
            for (size_t f = 0, tab;; f = tab + 1) {
                tab = line.find('\t', f);
                fields.push_back(line.substr(f, tab == std::string::npos ? tab : tab - f));
                if (tab == std::string::npos)
                    break;
            }
            fields.resize(4);
            starts.push_back(
                {fields[0], fields[1], fields[2], fields[3].empty() ? -1 : std::stoi(fields[3])});
        }
        return starts;
    }

private:
    TempDir dir_;
    std::string path_;
};

}  // namespace qvtest
