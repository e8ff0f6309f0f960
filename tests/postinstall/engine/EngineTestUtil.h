// Small helpers for the engine tests: a scratch directory, whole-file reads and writes, UTF-16
// fixtures and a capture of the flight-recorder log.
#pragma once

#include "FileFixtures.h"
#include "TestSupport.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/DebugLog.h"

namespace enginetest {

// A fresh directory under the temporary directory, removed with its files when done
// (qvtest::TempDir), with the names of its files.
class TempDir : public qvtest::TempDir {
public:
    const std::string& path() const { return Path(); }

    // Names of the files in the directory, in the order the system lists them.
    std::vector<std::string> Names() const { return qvtest::NamesIn(Path()); }
};

inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The whole file, or empty when it cannot be read.
inline std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// Puts a file back as it was (its bytes, or its absence) at the end of a test.
class SavedFile {
public:
    explicit SavedFile(std::string path) : path_(std::move(path)), existed_(qvtest::IsThere(path_))
    {
        if (existed_)
            bytes_ = ReadBytes(path_);
    }
    ~SavedFile()
    {
        if (existed_)
            WriteBytes(path_, bytes_);
        else
            DeleteFileA(path_.c_str());
    }

private:
    std::string path_;
    bool existed_;
    std::string bytes_;
};

// ASCII text as UTF-16 little-endian bytes, with the FF FE marker first.
inline std::string Utf16File(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

// Sends the flight-recorder log to a file while alive; Text() is what was logged so far.
class LogCapture {
public:
    LogCapture() : previous_(DebugBuf.File())
    {
        char name[MAX_PATH] = "";
        GetTempFileNameA(qvtest::TempFolder().c_str(), "log", 0, name);
        file_ = name;
        DebugBuf.SetFile(file_);
    }
    ~LogCapture()
    {
        DebugLog.flush();
        DebugBuf.SetFile(previous_);
        DeleteFileA(file_.c_str());
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string Text() const { return ReadBytes(file_); }

private:
    std::string previous_;
    std::string file_;
};

}  // namespace enginetest
