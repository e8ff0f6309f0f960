// QelTab: a strip of up to four tabs along its bottom edge. Each tab stands for a dialog control
// that sits on the tab and shows the tab's text; clicking a tab sends that control's command.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Controls.h"
#include "WindowState.h"

namespace controls {
namespace {

constexpr int kTextMax = 64;
constexpr int kTabPadding = 16;  // the tab is the text plus this both ways
constexpr int kWordsMax = 64;

struct Tab {
    RECT rect{};  // in the strip's client coordinates
    WORD control = 0;
    bool disabled = false;
    bool focus = false;
    std::vector<WORD> words;
    HFONT font = nullptr;
};

struct TabState {
    std::vector<Tab> tabs;
    int selected = -1;
    WORD styleWord = 0;
};

Tab* Find(TabState& s, WPARAM id)
{
    for (Tab& t : s.tabs)
        if (t.control == WORD(id))
            return &t;
    return nullptr;
}

// Puts the tab's control onto the tab's text area, above the strip.
void PlaceControl(HWND strip, const Tab& t)
{
    const HWND parent = GetParent(strip);
    const HWND control = parent ? GetDlgItem(parent, t.control) : nullptr;
    if (!control)
        return;
    RECT text{t.rect.left + kTabPadding / 2, t.rect.top + kTabPadding / 2, t.rect.right - kTabPadding / 2,
              t.rect.bottom - kTabPadding / 2};
    MapWindowPoints(strip, parent, reinterpret_cast<POINT*>(&text), 2);
    SetWindowPos(control, HWND_TOP, text.left, text.top, text.right - text.left, text.bottom - text.top,
                 SWP_NOACTIVATE);
}

LRESULT Add(HWND strip, TabState& s, WPARAM id, LPARAM lParam)
{
    const HWND parent = GetParent(strip);
    const HWND control = parent ? GetDlgItem(parent, int(WORD(id))) : nullptr;
    if (!control || int(s.tabs.size()) >= tab::kMaxTabs || Find(s, id))
        return 0;
    Tab t;
    t.control = WORD(id);
    if (const WORD* list = reinterpret_cast<const WORD*>(lParam))
        t.words.assign(list + 1, list + 1 + std::min<int>(list[0], kWordsMax));
    t.font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    char text[kTextMax + 1] = {};
    const int length = GetWindowTextA(control, text, kTextMax + 1);
    SIZE size{};
    if (HDC dc = GetDC(strip)) {
        const HGDIOBJ old = t.font ? SelectObject(dc, t.font) : nullptr;
        GetTextExtentPoint32A(dc, text, std::max(length, 0), &size);
        // A text with a mnemonic is drawn without its "&".
        if (std::find(text, text + std::max(length, 0), '&') != text + std::max(length, 0)) {
            SIZE amp{};
            GetTextExtentPoint32A(dc, "&", 1, &amp);
            size.cx -= amp.cx;
        }
        if (old)
            SelectObject(dc, old);
        ReleaseDC(strip, dc);
    }
    RECT client{};
    GetClientRect(strip, &client);
    const int left = s.tabs.empty() ? 0 : s.tabs.back().rect.right;
    const int height = size.cy + kTabPadding;
    t.rect = RECT{left, client.bottom - height, left + size.cx + kTabPadding, client.bottom};
    if (s.tabs.empty()) {
        SetWindowPos(strip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        s.selected = 0;
    }
    s.tabs.push_back(t);
    PlaceControl(strip, s.tabs.back());
    InvalidateRect(strip, nullptr, FALSE);
    return LRESULT(s.tabs.size());
}

void DrawTab(HDC dc, const Tab& t, bool selected)
{
    RECT r = t.rect;
    if (!selected)
        r.top += 2;  // unselected tabs sit a little lower, behind the selected one
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    if (t.focus) {
        RECT f{t.rect.left + kTabPadding / 2 - 2, t.rect.top + kTabPadding / 2 - 2,
               t.rect.right - kTabPadding / 2 + 2, t.rect.bottom - kTabPadding / 2 + 2};
        DrawFocusRect(dc, &f);
    }
}

void Paint(HWND strip, HDC dc)
{
    const TabState* s = StateOf<TabState>(strip);
    RECT client{};
    GetClientRect(strip, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!s)
        return;
    // The line the tabs stand on, broken under the selected tab.
    RECT base{client.left, client.bottom - 2, client.right, client.bottom};
    DrawEdge(dc, &base, EDGE_ETCHED, BF_TOP);
    for (int i = 0; i < int(s->tabs.size()); ++i)
        if (i != s->selected)
            DrawTab(dc, s->tabs[std::size_t(i)], false);
    if (s->selected >= 0 && s->selected < int(s->tabs.size()))
        DrawTab(dc, s->tabs[std::size_t(s->selected)], true);
}

void Click(HWND strip, TabState& s, POINT at)
{
    for (int i = 0; i < int(s.tabs.size()); ++i) {
        const Tab& t = s.tabs[std::size_t(i)];
        if (!PtInRect(&t.rect, at))
            continue;
        s.selected = i;
        InvalidateRect(strip, nullptr, FALSE);
        const HWND parent = GetParent(strip);
        if (!t.disabled && parent) {
            const HWND control = GetDlgItem(parent, t.control);
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(t.control, 0), reinterpret_cast<LPARAM>(control));
            if (control)
                SetFocus(control);
        }
        return;
    }
}

}  // namespace

LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TabState* s = StateOf<TabState>(window);
    switch (message) {
    case WM_NCCREATE:
        if (!MakeState<TabState>(window))
            return FALSE;
        // The tab controls lie over the strip; its painting must leave them alone.
        SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_CLIPSIBLINGS);
        break;
    case WM_NCDESTROY:
        FreeState<TabState>(window);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(window, &ps)) {
            if (IsWindowVisible(window))
                Paint(window, dc);
            EndPaint(window, &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SHOWWINDOW:
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        return 0;
    case WM_LBUTTONUP:
        if (s)
            Click(window, *s, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
        return 0;
    case tab::kAdd:
        return s ? Add(window, *s, wParam, lParam) : 0;
    case tab::kStyleWord:
        if (s) {
            s->styleWord = WORD(wParam);
            SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | 1);
        }
        return 0;
    case tab::kMove:
        if (Tab* t = s ? Find(*s, wParam) : nullptr) {
            const int w = t->rect.right - t->rect.left, h = t->rect.bottom - t->rect.top;
            t->rect = RECT{short(LOWORD(lParam)), short(HIWORD(lParam)), short(LOWORD(lParam)) + w,
                           short(HIWORD(lParam)) + h};
            PlaceControl(window, *t);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case tab::kSelect:
        if (Tab* t = s ? Find(*s, wParam) : nullptr) {
            s->selected = int(t - s->tabs.data());
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case tab::kEnable:
        if (Tab* t = s ? Find(*s, wParam) : nullptr) {
            t->disabled = lParam != 1;
            if (const HWND parent = GetParent(window))
                EnableWindow(GetDlgItem(parent, t->control), !t->disabled);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case tab::kShowFocus:
    case tab::kHideFocus:
        if (Tab* t = s ? Find(*s, wParam) : nullptr) {
            t->focus = message == tab::kShowFocus;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace controls
