// Files and directories for the tests.
#include "TestSupport.h"

#include <windows.h>

#include <atomic>

namespace qvtest {
namespace {

// Closes a file handle on every path out.
struct FileHandle {
    HANDLE h;
    ~FileHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

}  // namespace

std::string BinDir()
{
    char exe[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::string dir(exe, n);
    dir.erase(dir.find_last_of('\\') + 1);
    dir += "..\\bin";
    char full[MAX_PATH];
    const DWORD len = GetFullPathNameA(dir.c_str(), MAX_PATH, full, nullptr);
    if (len == 0 || len >= MAX_PATH)
        return {};
    return std::string(full, len);
}

std::string TempFolder()
{
    char base[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, base);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(base, n);
}

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    const std::string base = TempFolder();
    if (base.empty())
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = base + "qvtest-" + std::to_string(GetCurrentProcessId()) +
                                "-" + std::to_string(counter++);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = std::move(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempDir::~TempDir()
{
    if (!path_.empty())
        RemoveTree(path_);
}

std::string TempDir::File(const std::string& name) const
{
    return path_ + "\\" + name;
}

bool RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    bool ok = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ok = RemoveTree(child) && ok;
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ok = DeleteFileA(child.c_str()) && ok;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(path.c_str()) && ok;
}

std::optional<std::string> ReadFile(const std::string& path)
{
    FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.h, &size))
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.h, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        total += got;
    }
    bytes.resize(total);
    return bytes;
}

bool WriteFile(const std::string& path, std::string_view bytes)
{
    FileHandle file{CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE)
        return false;
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file.h, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &written,
                         nullptr))
            return false;
        total += written;
    }
    return true;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

}  // namespace qvtest
