// The windows of a modal call, seen from a timer on the calling thread (it runs inside the
// call's modal loop, and in the loops of the windows that open from it), and the pictures.
#include "Demo.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "ResourceIds.h"
#include "WindowShot.h"

namespace demo {
namespace {

constexpr UINT kPollMs = 100;
constexpr UINT kSafetyMs = 60000;

struct Current {
    WindowRun* run = nullptr;
    std::vector<HWND> seen;
    bool busy = false;
};
Current g_current;

BOOL CALLBACK CollectShown(HWND window, LPARAM out)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_current.busy || !g_current.run)
        return;
    g_current.busy = true;
    std::vector<HWND> shown;
    EnumThreadWindows(GetCurrentThreadId(), CollectShown, LPARAM(&shown));
    for (HWND window : shown) {
        if (std::find(g_current.seen.begin(), g_current.seen.end(), window) != g_current.seen.end())
            continue;
        // The summary window beside a document sheet is shown with the sheet, not on its own.
        const HWND owner = GetWindow(window, GW_OWNER);
        if (owner && IsSheetFrame(owner))
            continue;
        g_current.seen.push_back(window);
        ++g_current.run->handled;
        g_current.run->handle(window);
    }
    g_current.busy = false;
}

void CALLBACK Safety(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (!g_current.run)
        return;
    g_current.run->timedOut = true;
    for (auto at = g_current.seen.rbegin(); at != g_current.seen.rend(); ++at)
        if (IsWindow(*at))
            PostMessageW(*at, IsSheetFrame(*at) ? PSM_PRESSBUTTON : WM_COMMAND,
                         IsSheetFrame(*at) ? PSBTN_CANCEL : IDCANCEL, 0);
}

BOOL CALLBACK FindOwned(HWND window, LPARAM data)
{
    auto* pair = reinterpret_cast<std::pair<HWND, HWND>*>(data);
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == pair->first) {
        pair->second = window;
        return FALSE;
    }
    return TRUE;
}

std::string FileName(const std::wstring& title)
{
    std::string name;
    for (wchar_t c : title) {
        if (c == L'&')
            continue;
        if (std::iswalnum(c))
            name.push_back(char(std::towlower(c)));
        else if (!name.empty() && name.back() != '-')
            name.push_back('-');
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    return name.empty() ? "page" : name;
}

}  // namespace

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 3, '\0');
    out.resize(std::size_t(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()), nullptr, nullptr)));
    return out;
}

std::wstring Wide(const std::string& text)
{
    std::wstring out(text.size(), L'\0');
    out.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), int(out.size()))));
    return out;
}

void Say(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool Failed(const std::string& step, const std::string& why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "qvdemo: %s failed: %s\n", step.c_str(), why.c_str());
    std::fflush(stderr);
    return false;
}

INT_PTR RunWindows(WindowRun& run, const std::function<INT_PTR()>& call)
{
    if (run.interactive)
        return call();
    WindowRun* outer = g_current.run;
    if (!outer)
        g_current.seen.clear();  // handles of closed windows come back
    g_current.run = &run;
    const UINT_PTR poll = SetTimer(nullptr, 0, kPollMs, Poll);
    const UINT_PTR safety = SetTimer(nullptr, 0, kSafetyMs, Safety);
    const INT_PTR answer = call();
    KillTimer(nullptr, poll);
    KillTimer(nullptr, safety);
    g_current.run = outer;
    return answer;
}

bool Picture(Client& client, HWND window, HWND beside, const std::string& name)
{
    const std::string path = client.shots + "\\" + client.tag + "-" + name + ".png";
    if (!dialogtest::CaptureWindow(window, beside, path))
        return Failed("capturing " + name, "the window could not be captured into " + path);
    client.pictures.push_back(path);
    Say("  picture: " + path);
    return true;
}

void VisitSheet(Client& client, HWND frame, const std::string& name, const wchar_t* copies, SheetVisit& visit)
{
    const HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETTABCONTROL, 0, 0));
    const int count = tabs ? int(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    Say("  sheet \"" + Utf8(TextOf(frame)) + "\", " + std::to_string(count) + (count == 1 ? " page" : " pages"));
    for (int i = 0; i < count; ++i) {
        wchar_t title[128] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = int(std::size(title));
        SendMessageW(tabs, TCM_GETITEMW, WPARAM(i), LPARAM(&item));
        // Selecting a page creates it, as the user's click on its tab does.
        SendMessageW(frame, PSM_SETCURSEL, WPARAM(i), 0);
        const auto page = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETCURRENTPAGEHWND, 0, 0));
        const int templateId = int(SendMessageW(frame, PSM_INDEXTOID, WPARAM(i), 0));
        visit.pages.push_back(title);
        Say("  page " + std::to_string(i + 1) + " of " + std::to_string(count) + ": \"" + Utf8(title) +
            "\" (template " + std::to_string(templateId) + ")");
        if (copies && templateId == IDD_SETUP && page) {
            const HWND edit = GetDlgItem(page, IDC_COPIES);
            if (edit) {
                // As typed: the text, then the edit's change and its loss of focus.
                SetWindowTextW(edit, copies);
                SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_COPIES, EN_CHANGE), LPARAM(edit));
                SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_COPIES, EN_KILLFOCUS), LPARAM(edit));
                visit.copiesChanged = true;
                Say("    copies typed on the page: " + Utf8(copies));
            }
        }
        std::pair<HWND, HWND> summary{frame, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindOwned, LPARAM(&summary));
        Picture(client, frame, summary.second, name + "-" + FileName(title));
    }
    Say("  OK pressed");
    visit.pressedOk = true;
    SendMessageW(frame, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

}  // namespace demo
