// The manual-duplex instructions the driver library shows once the first sides of a job are
// printed: how to put the stack back for the second sides, with an animation from the printer's
// instructions library that steps through the pictures and highlights the step each one shows.
// Reached in process (showManualDuplexDlgW) or through rundll32 ("showManualDuplexDlg").
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "Library.h"
#include "Resources.h"
#include "ResourceIds.h"

namespace {

constexpr std::size_t kMaxCommandChars = 256;
constexpr int kAnimationType = 300;
constexpr std::size_t kAnimationEntryBytes = 6;
constexpr UINT_PTR kTimer = 1;
constexpr wchar_t kSeparators[] = L" ,\n\t";

struct Frame {
    WORD bitmap;
    WORD delay;
    WORD step;
};

struct DuplexState {
    HMODULE library = nullptr;  // as data
    int variant = 0;
    std::vector<Frame> frames;
    std::size_t current = 0;
    HBRUSH face = nullptr;
    HBRUSH info = nullptr;
};

// The variant and the library's path from the command text: the variant, any run of separators,
// then the rest of the text as the path, so that a path with blanks in it stays whole.
struct Command {
    int variant = 0;
    std::wstring library;
};
std::optional<Command> ParseCommand(std::wstring_view text)
{
    const auto isSeparator = [](wchar_t c) { return std::wstring_view(kSeparators).find(c) != std::wstring_view::npos; };
    std::size_t at = 0;
    while (at < text.size() && isSeparator(text[at]))
        ++at;
    Command c;
    std::size_t digits = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9' && digits < 4) {
        c.variant = c.variant * 10 + (text[at] - L'0');
        ++at;
        ++digits;
    }
    if (digits == 0 || (at < text.size() && !isSeparator(text[at])))
        return std::nullopt;
    while (at < text.size() && isSeparator(text[at]))
        ++at;
    std::size_t end = text.size();
    while (end > at && (isSeparator(text[end - 1]) || text[end - 1] == L'\r'))
        --end;
    c.library.assign(text.substr(at, end - at));
    // A path given in quotes is taken without them.
    if (c.library.size() >= 2 && c.library.front() == L'"' && c.library.back() == L'"')
        c.library = c.library.substr(1, c.library.size() - 2);
    return c;
}

std::vector<Frame> ReadAnimation(HMODULE library, int variant)
{
    std::vector<Frame> frames;
    if (variant != 1 && variant != 2)
        return frames;
    const HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(variant), MAKEINTRESOURCEW(kAnimationType));
    const HGLOBAL loaded = found ? LoadResource(library, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const std::size_t count = bytes ? SizeofResource(library, found) / kAnimationEntryBytes : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* e = bytes + i * kAnimationEntryBytes;
        frames.push_back({WORD(e[0] | e[1] << 8), WORD(e[2] | e[3] << 8), WORD(e[4] | e[5] << 8)});
    }
    return frames;
}

int StepLabel(const Frame& f)
{
    return IDC_MD_STEP_0 + f.step;
}

void ShowFrame(HWND dialog, DuplexState& s)
{
    const Frame& f = s.frames[s.current];
    SendDlgItemMessageW(dialog, IDC_MD_PICTURE, controls::bitmap::kLoad, 0, LPARAM(MAKEINTRESOURCEW(f.bitmap)));
    InvalidateRect(GetDlgItem(dialog, StepLabel(f)), nullptr, TRUE);
    SetTimer(dialog, kTimer, f.delay, nullptr);
}

INT_PTR CALLBACK ManualDuplexDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* s = reinterpret_cast<DuplexState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        s = reinterpret_cast<DuplexState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        s->face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        s->info = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
        s->frames = ReadAnimation(s->library, s->variant);
        if (!s->frames.empty()) {
            SendDlgItemMessageW(dialog, IDC_MD_PICTURE, controls::bitmap::kModule, 0, LPARAM(s->library));
            ShowFrame(dialog, *s);
        }
        return TRUE;
    case WM_TIMER:
        if (!s || wParam != kTimer || s->frames.empty())
            return FALSE;
        KillTimer(dialog, kTimer);
        InvalidateRect(GetDlgItem(dialog, StepLabel(s->frames[s->current])), nullptr, TRUE);
        s->current = (s->current + 1) % s->frames.size();
        ShowFrame(dialog, *s);
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        if (!s)
            return FALSE;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        const bool lit = !s->frames.empty() && id == StepLabel(s->frames[s->current]);
        SetTextColor(dc, GetSysColor(lit ? COLOR_INFOTEXT : COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(lit ? COLOR_INFOBK : COLOR_BTNFACE));
        return INT_PTR(lit ? s->info : s->face);
    }
    case WM_ACTIVATE:
        SendDlgItemMessageW(dialog, IDC_MD_PICTURE, WM_ACTIVATE, wParam, lParam);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_MD_CLOSE || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDC_MD_CLOSE);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (s) {
            KillTimer(dialog, kTimer);
            s->frames.clear();
            if (s->face)
                DeleteObject(s->face);
            if (s->info)
                DeleteObject(s->info);
            s->face = s->info = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

UINT TemplateOf(int variant)
{
    switch (variant) {
    case 1: return IDD_MANUAL_DUPLEX_1;
    case 2: return IDD_MANUAL_DUPLEX_2;
    case 3: return IDD_MANUAL_DUPLEX_3;
    default: return 0;
    }
}

}  // namespace

extern "C" int WINAPI showManualDuplexDlgW(HWND owner, HINSTANCE, LPWSTR command, int)
{
    if (!command)
        return 0;
    const std::size_t length = wcsnlen(command, kMaxCommandChars + 1);
    if (length > kMaxCommandChars)
        return int(wcslen(command));
    const std::optional<Command> parsed = ParseCommand({command, length});
    if (!parsed || parsed->variant == 0 || parsed->library.empty())
        return 0;
    const UINT templateId = TemplateOf(parsed->variant);
    const DLGTEMPLATE* form = templateId ? dialogs::LoadDlTemplate(templateId) : nullptr;
    if (!form)
        return 0;
    // Only pictures and tables are read from the instructions library: it is never run.
    DuplexState state;
    state.library = LoadLibraryExW(parsed->library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!state.library)
        return 0;
    state.variant = parsed->variant;
    DialogBoxIndirectParamW(dialogs::LanguageLibrary(), form, owner, ManualDuplexDlgProc, LPARAM(&state));
    FreeLibrary(state.library);
    return 0;
}

extern "C" int WINAPI showManualDuplexDlgA(HWND owner, HINSTANCE module, LPSTR command, int show)
{
    if (!command)
        return 0;
    const int n = MultiByteToWideChar(CP_ACP, 0, command, -1, nullptr, 0);
    if (n <= 0)
        return 0;
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, command, -1, wide.data(), n);
    return showManualDuplexDlgW(owner, module, wide.data(), show);
}
