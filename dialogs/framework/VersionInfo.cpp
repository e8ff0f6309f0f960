#include "VersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "Library.h"

namespace dialogs {
namespace {

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
    // The length counts the terminator when there is one; a resource may lack it.
    std::wstring version(text, length);
    version.resize(wcsnlen(version.c_str(), version.size()));
    if (version.empty())
        return std::nullopt;
    return version;
}

}  // namespace dialogs
