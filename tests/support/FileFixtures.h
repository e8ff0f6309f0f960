// File helpers that several test programs share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

inline bool IsThere(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Names in a directory, "." and ".." left out, in the order the system lists them.
inline std::vector<std::string> NamesIn(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// A fixture the build put in "fixtures" beside the running test program.
inline std::string FixturePath(const std::string& name)
{
    char exe[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe, n < MAX_PATH ? n : 0);
    dir.erase(dir.find_last_of('\\') + 1);
    return dir + "fixtures\\" + name;
}

// Holds a file open as another program would: share 0 like a file opened for exclusive use,
// read and delete sharing like a running program's image, which can be renamed but not written.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD share)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { Close(); }
    void Close()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

}  // namespace qvtest
