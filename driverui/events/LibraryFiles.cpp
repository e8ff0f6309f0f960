#include "LibraryFiles.h"

#include <windows.h>

#include <vector>

#include "Library.h"

namespace events {
namespace {

constexpr DWORD kLongestModulePath = 32768;

}  // namespace

std::wstring LibraryDirectory()
{
    std::vector<wchar_t> path(kLongestModulePath);
    const DWORD n = GetModuleFileNameW(DriverModule(), path.data(), kLongestModulePath);
    if (n == 0 || n >= kLongestModulePath)
        return {};
    const std::wstring full(path.data(), n);
    const std::size_t cut = full.find_last_of(L"\\:");
    return cut == std::wstring::npos ? std::wstring() : full.substr(0, cut + 1);
}

std::optional<std::string> ExactNarrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    BOOL replaced = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, &replaced);
    if (n <= 0 || replaced)
        return std::nullopt;
    std::string narrow(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), narrow.data(), n, nullptr,
                        &replaced);
    // Some code pages map a character without reporting it: only an exact way back counts.
    if (replaced || Widened(narrow) != text)
        return std::nullopt;
    return narrow;
}

std::wstring Widened(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

}  // namespace events
