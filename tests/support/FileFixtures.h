// File helpers that several test programs share.
#pragma once

#include <windows.h>

#include <cstring>
#include <ostream>
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

// Sets a file's last-write time to day `day` of March 2004, at `hour` o'clock (UTC): a time the
// copy rules can compare. False when the file cannot be opened or the time not set.
inline bool SetWriteDay(const std::string& path, int day, int hour = 0)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    SYSTEMTIME st = {};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = WORD(day);
    st.wHour = WORD(hour);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    const bool ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok;
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

// One entry of the platform's list of moves at restart.
struct PendingMove {
    std::string from;
    std::string to;  // empty for a deletion
    bool replace = false;

    bool operator==(const PendingMove& o) const
    {
        return _stricmp(from.c_str(), o.from.c_str()) == 0 && _stricmp(to.c_str(), o.to.c_str()) == 0 &&
               replace == o.replace;
    }
    // "from -> to", "!" before a replacing target.
    std::string Text() const { return from + " -> " + (replace ? "!" : "") + to; }
};

inline void PrintTo(const PendingMove& m, std::ostream* os)
{
    *os << "{" << m.from << " -> " << (m.replace ? "!" : "") << m.to << "}";
}

inline constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";

inline std::vector<PendingMove> PendingMoves()
{
    std::vector<PendingMove> moves;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return moves;
    DWORD size = 0;
    std::string data;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &size);
        data.resize(size);
    }
    RegCloseKey(key);

    std::vector<std::string> texts;
    for (size_t at = 0; at < data.size();) {
        size_t end = data.find('\0', at);
        if (end == std::string::npos)
            end = data.size();
        texts.push_back(data.substr(at, end - at));
        at = end + 1;
    }
    auto strip = [](std::string s) { return s.rfind("\\??\\", 0) == 0 ? s.substr(4) : s; };
    for (size_t i = 0; i + 1 < texts.size() && !texts[i].empty(); i += 2) {
        PendingMove m;
        m.from = strip(texts[i]);
        const std::string& to = texts[i + 1];
        m.replace = !to.empty() && to[0] == '!';
        m.to = strip(m.replace ? to.substr(1) : to);
        moves.push_back(m);
    }
    return moves;
}

inline void ClearPendingMoves()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "PendingFileRenameOperations");
        RegCloseKey(key);
    }
}

}  // namespace qvtest
