// The calls a stand-in library records, one line each, into the file an environment variable
// names: the variable points at a fresh file while a CallRecord is alive.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qvtest {

class CallRecord {
public:
    CallRecord(std::string variable, std::string file) : variable_(std::move(variable)), file_(std::move(file))
    {
        DeleteFileA(file_.c_str());
        SetEnvironmentVariableA(variable_.c_str(), file_.c_str());
    }
    ~CallRecord() { SetEnvironmentVariableA(variable_.c_str(), nullptr); }
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    bool Exists() const { return GetFileAttributesA(file_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::vector<std::string> Calls() const
    {
        std::string text;
        if (std::FILE* f = std::fopen(file_.c_str(), "rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
                text.append(buffer, n);
            std::fclose(f);
        }
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

private:
    std::string variable_;
    std::string file_;
};

}  // namespace qvtest
