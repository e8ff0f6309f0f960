// The Setup page's two modal dialogs. The job hold dialog keeps a job on the printer's disk under
// its owner's name, with a four-digit PIN for a private job; the options dialog holds a number of
// sheets with its switch, a further switch, and the status window with the button that starts
// the status monitor. Both edit feature entries of the sheet context and answer 1 (confirmed) or
// 2.
#include "SetupDialogs.h"

#include <windows.h>
#include <lmcons.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "Drawing.h"
#include "EntryView.h"
#include "Library.h"
#include "Page.h"
#include "PagePictures.h"
#include "PrinterAccess.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "SheetCalls.h"
#include "SiblingPath.h"
#include "TextFormat.h"
#include "Summary.h"

namespace pages {
namespace {

namespace f = feature;

constexpr std::size_t kUserNameChars = 24;  // and a terminating zero in the entry's 25 bytes
constexpr std::size_t kPinChars = 4;        // and a terminating zero in its 5 bytes
constexpr std::size_t kLabelChars = 48;
constexpr int kMinNumber = 1;
constexpr int kMaxNumber = 32;
constexpr int kAncestors = 32;
constexpr int kHoldModes = 5;
constexpr std::int16_t kPrivateMode = 2;

// The duplex unit's edge bits and the duplex capability bits of the paper-handling flags (R12, R13).
constexpr int kUnitEdges = 0x03;
constexpr int kDuplexCapability = 0x0800 | 0x1000;

constexpr wchar_t kStatusMonitor[] = L"QVTDSTAT.EXE";

const HelpPair kHoldHelp[] = {{IDC_HOLD_MODE_0, 1300}, {IDC_HOLD_MODE_1, 1300}, {IDC_HOLD_MODE_2, 1300},
                              {IDC_HOLD_MODE_3, 1300}, {IDC_HOLD_MODE_4, 1300}, {IDC_HOLD_USER_LABEL, 1301},
                              {IDC_HOLD_USER, 1301},   {IDC_HOLD_PIN_LABEL, 1302}, {IDC_HOLD_PIN, 1302},
                              {IDC_HOLD_PIN_OPTION, 1303}, {0, 0}};
const HelpPair kOptionsHelp[] = {{IDC_OPT_SWITCH_GROUP, 1310}, {IDC_OPT_SWITCH, 1310}, {IDC_OPT_NUMBER_LABEL, 1311},
                                 {IDC_OPT_NUMBER, 1311},       {IDC_OPT_NUMBER_SPIN, 1311}, {IDC_OPT_SWITCH_2, 1312},
                                 {IDC_STATUS_GROUP, 1313},     {IDC_STATUS_WINDOW, 1313}, {IDC_STATUS_START, 1314},
                                 {IDC_OPT_PICTURE, kNoHelp},   {0, 0}};

EntryView EntryOf(const SheetContext* c, int id)
{
    return id > 0 && id < kFeatureSlots ? EntryView(c->featureEntries[id]) : EntryView();
}

// A changed value of a constrained entry asks the page's refresh for the driver's rules.
void StoreValue(SheetContext* c, int id, std::int16_t v)
{
    EntryView e = EntryOf(c, id);
    if (!e || e.Current() == v)
        return;
    e.SetCurrent(v);
    if (e.Constrained())
        e.MarkChanged();
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, int(std::size(text)));
    return text;
}

// The text in the ANSI code page in at most maxBytes bytes, cut between characters.
std::string NarrowBounded(std::wstring text, std::size_t maxBytes)
{
    for (;;) {
        const int n = text.empty() ? 0
                                   : WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0,
                                                         nullptr, nullptr);
        if (n >= 0 && std::size_t(n) <= maxBytes) {
            std::string out(std::size_t(n), '\0');
            if (n > 0)
                WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
            return out;
        }
        // One character less; a surrogate pair goes as one.
        text.pop_back();
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
            text.pop_back();
    }
}

std::wstring Widen(const char* text, std::size_t maxBytes)
{
    const std::size_t n = strnlen(text, maxBytes);
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    out.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, text, int(n), out.data(), int(n))));
    return out;
}

// A narrow text field of an entry, zero-filled and always terminated.
void PutText(EntryView& e, std::size_t offset, std::size_t fieldBytes, const std::string& text)
{
    std::uint8_t* field = e.Bytes(offset, fieldBytes);
    if (!field)
        return;
    std::memset(field, 0, fieldBytes);
    std::memcpy(field, text.data(), std::min(text.size(), fieldBytes - 1));
}

std::string GetText(const EntryView& e, std::size_t offset, std::size_t fieldBytes)
{
    const std::uint8_t* field = e.Bytes(offset, fieldBytes);
    return field ? std::string(reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), fieldBytes - 1))
                 : std::string();
}

std::string LoggedOnUser()
{
    char name[UNLEN + 1] = "";
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size))
        return {};
    name[UNLEN] = '\0';
    std::string user(name, strnlen(name, UNLEN));
    return user;
}

bool FourDigits(const std::wstring& pin)
{
    return pin.size() == kPinChars && std::all_of(pin.begin(), pin.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; });
}

bool HasNonBlank(const std::wstring& text)
{
    return text.find_first_not_of(L' ') != std::wstring::npos;
}

// The dialog's parent font on every control; centred over the widest of its first ancestors,
// two fifths of the way down, on the screen.
void Place(HWND dialog)
{
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (const HFONT font = owner ? reinterpret_cast<HFONT>(SendMessageW(owner, WM_GETFONT, 0, 0)) : nullptr)
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, WPARAM(font), FALSE);
    RECT over{};
    int widest = -1;
    HWND w = owner;
    for (int i = 0; w && i < kAncestors; ++i, w = GetParent(w)) {
        RECT r{};
        if (GetWindowRect(w, &r) && r.right - r.left > widest) {
            widest = r.right - r.left;
            over = r;
        }
    }
    RECT self{};
    if (widest < 0 || !GetWindowRect(dialog, &self))
        return;
    const int width = self.right - self.left, height = self.bottom - self.top;
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) * 2 / 5;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max<int>(work.left, std::min<int>(x, work.right - width));
        y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    }
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Warn(HWND dialog, UINT format, const std::wstring& value)
{
    MessageBoxW(dialog, text::FormatOne<wchar_t>(dialogs::LoadDlString(format), value, 512).c_str(),
                dialogs::LoadDlString(IDS_MESSAGE_CAPTION).c_str(), MB_OK | MB_ICONWARNING);
}

// What both dialogs share: the context in the user slot, help, and the help window the Help
// button opened, closed with the dialog.
struct DialogState {
    SheetContext* context = nullptr;
    const HelpPair* help = nullptr;
    bool helpOpened = false;
    std::int16_t shownMode = 0;  // job hold: the mode the dialog opened with
    bool statusMonitor = false;  // options: QVTDSTAT.EXE can be loaded
    HBITMAP picture = nullptr;   // options: the booklet picture
};

constexpr wchar_t kStateProperty[] = L"QvSetupDialog";

DialogState* StateOf(HWND dialog)
{
    return static_cast<DialogState*>(GetPropW(dialog, kStateProperty));
}

// WM_INITDIALOG of both: the state made and placed; null (the dialog ended) without a sheet's context.
DialogState* Start(HWND dialog, LPARAM lParam, const HelpPair* help)
{
    auto* context = reinterpret_cast<SheetContext*>(lParam);
    if (!IsSheetContext(context)) {
        EndDialog(dialog, IDCANCEL);
        return nullptr;
    }
    auto* s = new DialogState{context, help};
    SetPropW(dialog, kStateProperty, s);
    SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(context));
    Place(dialog);
    return s;
}

// WM_NCDESTROY of both.
void Free(HWND dialog, DialogState* s)
{
    RemovePropW(dialog, kStateProperty);
    if (s->picture)
        DeleteObject(s->picture);
    delete s;
}

void End(HWND dialog, DialogState& s, INT_PTR result)
{
    if (s.helpOpened && s.context->helpFile)
        WinHelpW(dialog, s.context->helpFile, HELP_QUIT, 0);
    EndDialog(dialog, result);
}

// Help, help tables and the end of both dialogs; true when handled.
bool CommonMessage(HWND dialog, DialogState& s, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info && info->iContextType == HELPINFO_WINDOW && s.context->helpFile)
            WinHelpW(static_cast<HWND>(info->hItemHandle), s.context->helpFile, HELP_WM_HELP, ULONG_PTR(s.help));
        return true;
    }
    case WM_CONTEXTMENU:
        if (s.context->helpFile)
            WinHelpW(reinterpret_cast<HWND>(wParam), s.context->helpFile, HELP_CONTEXTMENU, ULONG_PTR(s.help));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            End(dialog, s, IDCANCEL);
            return true;
        }
        if (LOWORD(wParam) == IDC_HELP_BUTTON) {
            if (s.context->helpFile && WinHelpW(dialog, s.context->helpFile, HELP_FINDER, 0))
                s.helpOpened = true;
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- Job hold --------------------------------------------------------------------------------

constexpr int kModeButtons[kHoldModes] = {IDC_HOLD_MODE_0, IDC_HOLD_MODE_1, IDC_HOLD_MODE_2, IDC_HOLD_MODE_3,
                                          IDC_HOLD_MODE_4};

int ButtonOfMode(int mode)
{
    return kModeButtons[std::clamp(mode, 0, kHoldModes - 1)];
}

std::optional<std::int16_t> CheckedMode(HWND dialog)
{
    for (int m = 0; m < kHoldModes; ++m)
        if (IsDlgButtonChecked(dialog, kModeButtons[m]) == BST_CHECKED)
            return std::int16_t(m);
    return std::nullopt;
}

void HoldStates(HWND dialog, int mode)
{
    const bool name = mode != 0, pin = mode == kPrivateMode;
    EnableWindow(GetDlgItem(dialog, IDC_HOLD_USER_LABEL), name);
    EnableWindow(GetDlgItem(dialog, IDC_HOLD_USER), name);
    EnableWindow(GetDlgItem(dialog, IDC_HOLD_PIN_LABEL), pin);
    EnableWindow(GetDlgItem(dialog, IDC_HOLD_PIN), pin);
    EnableWindow(GetDlgItem(dialog, IDC_HOLD_PIN_OPTION), pin);
}

void HoldInit(HWND dialog, DialogState& s)
{
    const EntryView hold = EntryOf(s.context, f::kHold.id);
    SendDlgItemMessageW(dialog, IDC_HOLD_USER, EM_LIMITTEXT, kUserNameChars, 0);
    SendDlgItemMessageW(dialog, IDC_HOLD_PIN, EM_LIMITTEXT, kPinChars, 0);
    if (!hold) {
        for (int id : kModeButtons)
            EnableWindow(GetDlgItem(dialog, id), FALSE);
        HoldStates(dialog, 0);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return;
    }
    // Modes 4 and 5 both show on the last button (R25).
    const int mode = std::clamp<int>(hold.Current(), 0, kHoldModes - 1);
    s.shownMode = std::int16_t(mode);
    CheckRadioButton(dialog, IDC_HOLD_MODE_0, IDC_HOLD_MODE_4, ButtonOfMode(mode));
    HoldStates(dialog, mode);
    if (mode == kPrivateMode)
        CheckDlgButton(dialog, IDC_HOLD_PIN_OPTION, hold.Get<std::uint8_t>(f::hold::kOption) ? BST_CHECKED : BST_UNCHECKED);
    const std::string stored = GetText(hold, f::hold::kUserName, kUserNameChars + 1);
    const std::string user = LoggedOnUser();
    const std::string shown = stored.empty() ? NarrowBounded(Widen(user.c_str(), user.size()), kUserNameChars) : stored;
    SetDlgItemTextW(dialog, IDC_HOLD_USER, Widen(shown.c_str(), shown.size()).c_str());
    // The PIN only for its owner.
    const bool owner = !stored.empty() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, user.c_str(), int(user.size()),
                                                         stored.c_str(), int(stored.size())) == CSTR_EQUAL;
    const std::string pin = owner ? GetText(hold, f::hold::kPin, kPinChars + 1) : std::string();
    SetDlgItemTextW(dialog, IDC_HOLD_PIN, Widen(pin.c_str(), pin.size()).c_str());
}

// Everything is checked before anything is stored, so a refused OK followed by Cancel leaves the
// entry as it was.
void HoldOk(HWND dialog, DialogState& s)
{
    EntryView hold = EntryOf(s.context, f::kHold.id);
    const std::optional<std::int16_t> checked = CheckedMode(dialog);
    if (!hold || !checked)
        return;
    const std::int16_t mode = *checked;
    const std::wstring name = ItemText(dialog, IDC_HOLD_USER);
    const std::wstring pin = ItemText(dialog, IDC_HOLD_PIN);
    if (mode != 0 && !HasNonBlank(name)) {
        Warn(dialog, IDS_HOLD_USER_INVALID, name);
        SetFocus(GetDlgItem(dialog, IDC_HOLD_USER));
        return;
    }
    if (mode == kPrivateMode && !FourDigits(pin)) {
        Warn(dialog, IDS_HOLD_PIN_INVALID, pin);
        SetFocus(GetDlgItem(dialog, IDC_HOLD_PIN));
        return;
    }
    bool changed = false;
    if (mode != 0) {
        const std::string before = GetText(hold, f::hold::kUserName, kUserNameChars + 1);
        const std::string after = NarrowBounded(name, kUserNameChars);
        PutText(hold, f::hold::kUserName, kUserNameChars + 1, after);
        changed = changed || before != after;
    }
    if (mode == kPrivateMode || pin.empty() || FourDigits(pin)) {
        const std::string before = GetText(hold, f::hold::kPin, kPinChars + 1);
        const std::string after = NarrowBounded(pin, kPinChars);
        PutText(hold, f::hold::kPin, kPinChars + 1, after);
        changed = changed || before != after;
    }
    if (mode == kPrivateMode && GetDlgItem(dialog, IDC_HOLD_PIN_OPTION)) {
        const std::uint8_t option = IsDlgButtonChecked(dialog, IDC_HOLD_PIN_OPTION) == BST_CHECKED ? 1 : 0;
        changed = changed || hold.Get<std::uint8_t>(f::hold::kOption) != option;
        hold.Set<std::uint8_t>(f::hold::kOption, option);
    }
    // A mode the dialog cannot show (5 on the last button) stays unless the user chose another.
    if (mode != s.shownMode) {
        hold.SetCurrent(mode);
        changed = true;
    }
    if (changed && hold.Constrained())
        hold.MarkChanged();
    End(dialog, s, IDOK);
}

INT_PTR CALLBACK DiskOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        if (DialogState* s = Start(dialog, lParam, kHoldHelp))
            HoldInit(dialog, *s);
        return TRUE;
    }
    DialogState* s = StateOf(dialog);
    if (!s)
        return FALSE;
    if (message == WM_NCDESTROY) {
        Free(dialog, s);
        return FALSE;
    }
    if (CommonMessage(dialog, *s, message, wParam, lParam))
        return TRUE;
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        HoldOk(dialog, *s);
        return TRUE;
    }
    for (int m = 0; m < kHoldModes; ++m)
        if (id == kModeButtons[m] && IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            HoldStates(dialog, m);
            return TRUE;
        }
    return FALSE;
}

// ---- Options ---------------------------------------------------------------------------------

constexpr int kNumberGroup[] = {IDC_OPT_SWITCH_GROUP, IDC_OPT_SWITCH, IDC_OPT_NUMBER_LABEL, IDC_OPT_NUMBER,
                                IDC_OPT_NUMBER_SPIN};

void EnableItem(HWND dialog, int id, bool on)
{
    if (const HWND item = GetDlgItem(dialog, id))
        EnableWindow(item, on);
}

std::optional<int> ParseNumber(const std::wstring& text)
{
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; }))
        return std::nullopt;
    const int v = std::stoi(text);
    return v >= kMinNumber && v <= kMaxNumber ? std::optional<int>(v) : std::nullopt;
}

void ShowNumber(HWND dialog, int v)
{
    SetDlgItemTextW(dialog, IDC_OPT_NUMBER, std::to_wstring(v).c_str());
    SetScrollPos(GetDlgItem(dialog, IDC_OPT_NUMBER_SPIN), SB_CTL, kMaxNumber + kMinNumber - v, TRUE);
}

// The number typed, or the message that it is none (the stored value comes back).
std::optional<int> CheckNumber(HWND dialog, DialogState& s)
{
    const std::optional<int> v = ParseNumber(ItemText(dialog, IDC_OPT_NUMBER));
    if (v)
        return v;
    const std::wstring label = text::WithoutMnemonics<wchar_t>(ItemText(dialog, IDC_OPT_NUMBER_LABEL)).substr(0, kLabelChars);
    Warn(dialog, IDS_NOT_A_NUMBER, label);
    ShowNumber(dialog, EntryOf(s.context, f::kOptionsNumber.id).Current());
    return std::nullopt;
}

bool StatusMonitorLoads()
{
    const std::wstring path = SiblingPathW(dialogs::DialogInstance(), kStatusMonitor);
    for (const wchar_t* candidate : {path.c_str(), kStatusMonitor}) {
        if (const HMODULE m = LoadLibraryExW(candidate, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            FreeLibrary(m);
            return true;
        }
    }
    return false;
}

void WriteStatusWindow(SheetContext* c, std::uint8_t on)
{
    CallBack(c, kCbSoftwareEnable, &on);
}

void OptionsInit(HWND dialog, DialogState& s)
{
    SheetContext* c = s.context;
    const EntryView switch2 = EntryOf(c, f::kSwitch6692.id);
    CheckDlgButton(dialog, IDC_OPT_SWITCH_2, switch2.Current() ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(dialog, IDC_OPT_SWITCH_2, bool(switch2));
    const bool status = EntryOf(c, f::kStatusWindow.id).Current() != 0;
    s.statusMonitor = StatusMonitorLoads();
    CheckDlgButton(dialog, IDC_STATUS_WINDOW, status ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(dialog, IDC_STATUS_WINDOW, s.statusMonitor);
    EnableItem(dialog, IDC_STATUS_START, s.statusMonitor && status);
    if (c->swEnableWriteFailed)
        EnableItem(dialog, IDC_STATUS_WINDOW, false);

    const EntryView numberSwitch = EntryOf(c, f::kNumberSwitch.id);
    if (numberSwitch) {
        CheckDlgButton(dialog, IDC_OPT_SWITCH, numberSwitch.Current() ? BST_CHECKED : BST_UNCHECKED);
        SendDlgItemMessageW(dialog, IDC_OPT_NUMBER, EM_LIMITTEXT, 2, 0);
        SetScrollRange(GetDlgItem(dialog, IDC_OPT_NUMBER_SPIN), SB_CTL, kMinNumber, kMaxNumber, FALSE);
        ShowNumber(dialog, std::clamp<int>(EntryOf(c, f::kOptionsNumber.id).Current(), kMinNumber, kMaxNumber));
        // The duplex unit is installed with either edge (R13).
        const bool duplex = (EntryOf(c, f::kDuplexUnit.id).Current() & kUnitEdges) != 0 ||
                            (EntryOf(c, f::kPaperHandlingFlags.id).Current() & kDuplexCapability) != 0;
        for (int id : kNumberGroup)
            EnableItem(dialog, id, duplex);
        s.picture = dialogs::LoadDlBitmap(IDB_BOOKLET);
    } else {
        for (int id : kNumberGroup)
            ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    }
    ShowWindow(GetDlgItem(dialog, IDC_OPT_PICTURE), SW_HIDE);
    if (c->permission == 0) {
        for (int id : {IDC_STATUS_GROUP, IDC_STATUS_WINDOW, IDC_STATUS_START, IDC_OPT_SWITCH_2})
            EnableItem(dialog, id, false);
        for (int id : kNumberGroup)
            EnableItem(dialog, id, false);
    }
    if (!c->started)
        for (int id : kNumberGroup)
            EnableItem(dialog, id, false);
}

void OptionsPaint(HWND dialog, DialogState& s, HDC dc)
{
    if (!s.picture)
        return;
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, IDC_OPT_PICTURE), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const SIZE size = dialogs::BitmapSize(s.picture);
    dialogs::DrawTransparent(dc, s.picture, r.left + (r.right - r.left - size.cx) / 2,
                             r.top + (r.bottom - r.top - size.cy) / 2);
}

// Starts the status monitor for the printer and its first port.
void StartStatusMonitor(HWND dialog, DialogState& s)
{
    SheetContext* c = s.context;
    const std::uint8_t written = IsDlgButtonChecked(dialog, IDC_STATUS_WINDOW) == BST_CHECKED ? 1 : 0;
    WriteStatusWindow(c, written);
    std::wstring port;
    const std::vector<BYTE> info = PrinterInfo2(c->printer);
    if (!info.empty()) {
        const auto* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
        if (p2->pPortName)
            port = p2->pPortName;
    }
    port = port.substr(0, port.find(L','));
    wchar_t own[MAX_PATH] = L"";
    const DWORD n = GetModuleFileNameW(dialogs::DialogInstance(), own, MAX_PATH);
    std::wstring command = n > 0 && n < MAX_PATH ? SiblingPathFrom(std::wstring_view(own, n), kStatusMonitor)
                                                 : std::wstring(kStatusMonitor);
    command += L" ";
    command += c->printerName ? c->printerName : L"";
    command += L";" + port + L";UI;";
    const int bytes = WideCharToMultiByte(CP_ACP, 0, command.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
        std::string narrow(std::size_t(bytes), '\0');
        WideCharToMultiByte(CP_ACP, 0, command.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
        WinExec(narrow.c_str(), SW_SHOW);
    }
    // Until the dialog is confirmed the entry's value is the one that stands.
    const auto stored = std::uint8_t(EntryOf(c, f::kStatusWindow.id).Current());
    if (stored != written)
        WriteStatusWindow(c, stored);
}

void OptionsOk(HWND dialog, DialogState& s)
{
    SheetContext* c = s.context;
    if (EntryOf(c, f::kNumberSwitch.id)) {
        const std::optional<int> v = CheckNumber(dialog, s);
        if (!v)
            return;
        StoreValue(c, f::kOptionsNumber.id, std::int16_t(*v));
        ShowNumber(dialog, *v);
        StoreValue(c, f::kNumberSwitch.id, IsDlgButtonChecked(dialog, IDC_OPT_SWITCH) == BST_CHECKED ? 1 : 0);
    }
    if (EntryOf(c, f::kSwitch6692.id))
        StoreValue(c, f::kSwitch6692.id, IsDlgButtonChecked(dialog, IDC_OPT_SWITCH_2) == BST_CHECKED ? 1 : 0);
    summary::RefillPreview(c);
    const std::uint8_t status = IsDlgButtonChecked(dialog, IDC_STATUS_WINDOW) == BST_CHECKED ? 1 : 0;
    StoreValue(c, f::kStatusWindow.id, status);
    WriteStatusWindow(c, status);
    End(dialog, s, IDOK);
}

bool OptionsScroll(HWND dialog, DialogState& s, int code)
{
    int v = ParseNumber(ItemText(dialog, IDC_OPT_NUMBER)).value_or(EntryOf(s.context, f::kOptionsNumber.id).Current());
    switch (code) {
    case SB_LINEUP: ++v; break;
    case SB_LINEDOWN: --v; break;
    case SB_TOP: v = kMaxNumber; break;
    case SB_BOTTOM: v = kMinNumber; break;
    default: return false;
    }
    ShowNumber(dialog, std::clamp(v, kMinNumber, kMaxNumber));
    return true;
}

INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        if (DialogState* s = Start(dialog, lParam, kOptionsHelp))
            OptionsInit(dialog, *s);
        return TRUE;
    }
    DialogState* s = StateOf(dialog);
    if (!s)
        return FALSE;
    switch (message) {
    case WM_NCDESTROY:
        Free(dialog, s);
        return FALSE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        pages::PaintMessage(dialog, message, wParam, [&](HDC dc) { OptionsPaint(dialog, *s, dc); });
        return TRUE;
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_OPT_NUMBER_SPIN) &&
               OptionsScroll(dialog, *s, LOWORD(wParam));
    default:
        break;
    }
    if (CommonMessage(dialog, *s, message, wParam, lParam))
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OptionsOk(dialog, *s);
        return TRUE;
    case IDC_OPT_NUMBER:
        // Leaving the field with something other than a number puts the stored one back.
        // (OK checks it itself; Cancel keeps nothing.)
        if (HIWORD(wParam) == EN_KILLFOCUS && GetFocus() != GetDlgItem(dialog, IDCANCEL) &&
            GetFocus() != GetDlgItem(dialog, IDOK))
            CheckNumber(dialog, *s);
        return TRUE;
    case IDC_STATUS_WINDOW:
        EnableItem(dialog, IDC_STATUS_START,
                   s->statusMonitor && IsDlgButtonChecked(dialog, IDC_STATUS_WINDOW) == BST_CHECKED);
        return TRUE;
    case IDC_STATUS_START:
        if (HIWORD(wParam) == BN_CLICKED)
            StartStatusMonitor(dialog, *s);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR ShowJobHoldDialog(HWND owner, SheetContext* context, UINT templateId)
{
    const INT_PTR result = DialogBoxParamW(dialogs::LanguageLibrary(), MAKEINTRESOURCEW(templateId), owner,
                                           DiskOptionsDlgProc, LPARAM(context));
    return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR ShowOptionsDialog(HWND owner, SheetContext* context, UINT templateId)
{
    const INT_PTR result = DialogBoxParamW(dialogs::LanguageLibrary(), MAKEINTRESOURCEW(templateId), owner,
                                           OptionsDlgProc, LPARAM(context));
    return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace pages
