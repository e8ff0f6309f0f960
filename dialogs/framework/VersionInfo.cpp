#include "VersionInfo.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Library.h"

namespace dialogs {
namespace {

// Longer than any version number; a longer text is cut.
constexpr std::size_t kMaxVersionChars = 64;

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Directory(UINT (WINAPI* get)(LPWSTR, UINT))
{
    wchar_t dir[MAX_PATH];
    const UINT n = get(dir, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(dir, n) + L"\\" : std::wstring();
}

std::wstring OwnDirectory()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(DialogInstance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::wstring dir(path, n);
    const std::size_t cut = dir.find_last_of(L"\\:");
    return cut == std::wstring::npos ? std::wstring() : dir.substr(0, cut + 1);
}

}  // namespace

std::wstring FindLibraryFile(const std::wstring& name)
{
    for (const std::wstring& dir : {OwnDirectory(), Directory(GetSystemDirectoryW), Directory(GetWindowsDirectoryW)})
        if (!dir.empty() && IsFile(dir + name))
            return dir + name;
    return {};
}

std::optional<std::wstring> FileVersionOf(const std::wstring& path)
{
    if (path.empty())
        return std::nullopt;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return std::nullopt;
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return std::nullopt;
    wchar_t key[64];
    std::swprintf(key, std::size(key), L"\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&text), &length) || !text || length == 0)
        return std::nullopt;
    // Another file's resource: the text is read only inside the block that was read, up to its
    // terminator or the length it claims, and no longer than a version line can show.
    const auto* begin = reinterpret_cast<const BYTE*>(text);
    if (begin < data.data() || begin >= data.data() + data.size())
        return std::nullopt;
    const std::size_t room = std::size_t(data.data() + data.size() - begin) / sizeof(wchar_t);
    const std::size_t n = std::min({std::size_t(length), room, kMaxVersionChars});
    std::wstring version(text, n);
    version.resize(wcsnlen(version.c_str(), version.size()));
    if (version.empty())
        return std::nullopt;
    return version;
}

}  // namespace dialogs
