#include "SiblingPath.h"

#include <vector>

namespace {

template <class Char>
std::basic_string<Char> Sibling(std::basic_string_view<Char> modulePath,
                                std::basic_string_view<Char> fileName)
{
    constexpr Char separators[] = {Char('\\'), Char(':'), Char(0)};
    const std::size_t cut = modulePath.find_last_of(separators);
    const std::size_t dirLength = cut == modulePath.npos ? 0 : cut + 1;
    if (dirLength + fileName.size() > kMaxSiblingPath)
        return std::basic_string<Char>(fileName);
    std::basic_string<Char> path(modulePath.substr(0, dirLength));
    path += fileName;
    return path;
}

// Module paths may pass MAX_PATH; the fall-back to the bare name is decided on the whole path.
constexpr DWORD kLongestModulePath = 32768;

}  // namespace

std::string SiblingPathFrom(std::string_view modulePath, std::string_view fileName)
{
    return Sibling(modulePath, fileName);
}

std::wstring SiblingPathFrom(std::wstring_view modulePath, std::wstring_view fileName)
{
    return Sibling(modulePath, fileName);
}

std::string SiblingPathA(HMODULE module, const char* fileName)
{
    std::vector<char> path(kLongestModulePath);
    const DWORD length = GetModuleFileNameA(module, path.data(), kLongestModulePath);
    if (length == 0 || length >= kLongestModulePath)
        return fileName;
    return Sibling<char>({path.data(), length}, fileName);
}

std::wstring SiblingPathW(HMODULE module, const wchar_t* fileName)
{
    std::vector<wchar_t> path(kLongestModulePath);
    const DWORD length = GetModuleFileNameW(module, path.data(), kLongestModulePath);
    if (length == 0 || length >= kLongestModulePath)
        return fileName;
    return Sibling<wchar_t>({path.data(), length}, fileName);
}

std::wstring SiblingFullPathW(HMODULE module, const wchar_t* fileName)
{
    std::vector<wchar_t> path(kLongestModulePath);
    const DWORD length = GetModuleFileNameW(module, path.data(), kLongestModulePath);
    if (length == 0 || length >= kLongestModulePath)
        return {};
    const std::wstring_view full(path.data(), length);
    const std::size_t cut = full.find_last_of(L"\\:");
    if (cut == full.npos)
        return {};
    return std::wstring(full.substr(0, cut + 1)) + fileName;
}
