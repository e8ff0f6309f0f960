// Small helpers for the engine tests: a scratch directory, whole-file reads and writes, UTF-16
// fixtures and a capture of the flight-recorder log.
#pragma once

#include "FileFixtures.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/DebugLog.h"

namespace enginetest {

// A fresh directory under the temporary directory, removed with its files when done.
class TempDir {
public:
    TempDir()
    {
        static unsigned counter = 0;
        char base[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, base);
        for (;;) {
            path_ = std::string(base) + "pi_engine_" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(++counter);
            if (CreateDirectoryA(path_.c_str(), nullptr))
                break;
            if (GetLastError() != ERROR_ALREADY_EXISTS) {
                path_.clear();
                break;
            }
        }
    }
    ~TempDir() { RemoveTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    // Names of the files in the directory, in the order the system lists them.
    std::vector<std::string> Names() const { return qvtest::NamesIn(path_); }

private:
    static void RemoveTree(const std::string& dir)
    {
        if (dir.empty())
            return;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string full = dir + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string path_;
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
        char dir[MAX_PATH] = "";
        char name[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "log", 0, name);
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
