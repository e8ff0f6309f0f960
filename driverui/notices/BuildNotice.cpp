#include "BuildNotice.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace notices {
namespace {

constexpr std::wstring_view kSpoolerImage = L"spoolsv.exe";

std::atomic<unsigned> g_notices{0};

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
}

bool VisibleWindowStation()
{
    USEROBJECTFLAGS flags{};
    const HWINSTA station = GetProcessWindowStation();
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr))
        return false;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

std::wstring ProcessImage()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

NoticeRoute RouteNotice(std::wstring_view processImage, bool visibleWindowStation)
{
    const std::size_t cut = processImage.find_last_of(L"\\/:");
    const std::wstring_view name =
        cut == std::wstring_view::npos ? processImage : processImage.substr(cut + 1);
    const bool spooler =
        std::equal(name.begin(), name.end(), kSpoolerImage.begin(), kSpoolerImage.end(),
                   [](wchar_t a, wchar_t b) { return Lower(a) == Lower(b); });
    return spooler || !visibleWindowStation ? NoticeRoute::DebugOutput : NoticeRoute::Box;
}

NoticeRoute ProcessNoticeRoute()
{
    return RouteNotice(ProcessImage(), VisibleWindowStation());
}

int NoticeBox(const std::string& title, const std::string& text, unsigned type)
{
    ++g_notices;
    if (ProcessNoticeRoute() == NoticeRoute::Box)
        return MessageBoxA(nullptr, text.c_str(), title.c_str(), type);
    OutputDebugStringA(("QVTDX5DA: " + title + ": " + text + "\n").c_str());
    return 0;
}

void BuildNotice(const std::string& title, const std::string& text)
{
    NoticeBox(title, text, MB_OK | MB_ICONEXCLAMATION);
}

unsigned NoticeCount()
{
    return g_notices.load();
}

}  // namespace notices
