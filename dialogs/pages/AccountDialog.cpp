// The account-ID prompt the driver library shows at the first page of a job when account
// tracking is on: the ID to charge, typed or chosen from the user's history of IDs (most recent
// first). The history is the user's, kept in the registry; the ID goes back in the settings state.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DocEventApi.h"
#include "InstallLog.h"
#include "Library.h"
#include "Resources.h"
#include "Page.h"
#include "ResourceIds.h"

namespace {

constexpr char kPrintersKey[] = "Software\\Qelbrin\\Printers";
constexpr char kCountValue[] = "Number of Account IDs";
constexpr char kIdValuePrefix[] = "Account ID";
constexpr char kCapacityValue[] = "Maximum Account ID Number";
constexpr char kCurrentValue[] = "Current Account ID";
constexpr wchar_t kInitialCapacityValue[] = L"Initial Number of Account IDs";
constexpr int kIdChars = 16;
constexpr int kTypedChars = 255;
// The history keeps at least one ID and never more than this many, whatever the printer asks.
constexpr DWORD kMinCapacity = 1;
constexpr DWORD kMaxCapacity = 99;

class UserKey {
public:
    explicit UserKey(const std::string& path)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~UserKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    UserKey(const UserKey&) = delete;
    UserKey& operator=(const UserKey&) = delete;

    std::optional<DWORD> Number(const char* name) const
    {
        DWORD type = 0, value = 0, size = sizeof value;
        if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    }
    std::optional<std::string> Text(const std::string& name) const
    {
        char value[kTypedChars + 1] = {};
        DWORD type = 0, size = sizeof value - 1;
        if (!key_ || RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
                         ERROR_SUCCESS ||
            type != REG_SZ)
            return std::nullopt;
        return std::string(value, strnlen(value, std::min<std::size_t>(size, sizeof value - 1)));
    }
    bool SetNumber(const char* name, DWORD v) const
    {
        return key_ && RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
    }
    bool SetText(const std::string& name, const std::string& v) const
    {
        return key_ && RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                                      DWORD(v.size() + 1)) == ERROR_SUCCESS;
    }
    void Delete(const std::string& name) const
    {
        if (key_)
            RegDeleteValueA(key_, name.c_str());
    }

private:
    HKEY key_ = nullptr;
};

std::string IdValue(DWORD position)
{
    char name[64];
    wsprintfA(name, "%s%d", kIdValuePrefix, int(position));
    return name;
}

// The user's history of IDs, oldest first, with its capacity.
class History {
public:
    History(HANDLE printer, std::string printerName) : printer_(printer), printerName_(std::move(printerName)), key_(kPrintersKey)
    {
        std::optional<DWORD> capacity = key_.Number(kCapacityValue);
        if (!capacity) {
            DWORD type = 0, initial = 0, got = 0;
            if (!printer_ || GetPrinterDataW(printer_, const_cast<LPWSTR>(kInitialCapacityValue), &type,
                                             reinterpret_cast<BYTE*>(&initial), sizeof initial, &got) != ERROR_SUCCESS ||
                got != sizeof initial)
                initial = kMinCapacity;
            capacity = std::clamp(initial, kMinCapacity, kMaxCapacity);
            if (key_.SetNumber(kCapacityValue, *capacity))
                Log(kCapacityValue);
        }
        capacity_ = std::clamp(*capacity, kMinCapacity, kMaxCapacity);
        const DWORD stored = std::min(key_.Number(kCountValue).value_or(0), kMaxCapacity * 2);
        for (DWORD i = 1; i <= stored; ++i)
            if (auto id = key_.Text(IdValue(i)))
                ids_.push_back(*id);
        if (ids_.size() > capacity_ || ids_.size() != stored) {
            if (ids_.size() > capacity_)
                ids_.erase(ids_.begin(), ids_.end() - std::ptrdiff_t(capacity_));
            Store(stored);
        }
    }

    const std::vector<std::string>& Ids() const { return ids_; }

    // The chosen ID becomes the most recent; an ID already there moves to the end.
    void Choose(const std::string& id)
    {
        const std::size_t before = ids_.size();
        const auto found = std::find(ids_.begin(), ids_.end(), id);
        if (found != ids_.end())
            ids_.erase(found);
        else if (ids_.size() >= capacity_)
            ids_.erase(ids_.begin(), ids_.begin() + std::ptrdiff_t(ids_.size() - capacity_ + 1));
        ids_.push_back(id);
        Store(before);
        const std::string printerKey = std::string(kPrintersKey) + "\\" + printerName_;
        if (UserKey(printerKey).SetText(kCurrentValue, id))
            installlog::RegisterWithInstallLog(printer_, printerName_, installlog::LogKind::Printer,
                                               {{}, "hkcu", printerKey, kCurrentValue});
    }

private:
    void Store(std::size_t previouslyStored)
    {
        for (std::size_t i = 0; i < ids_.size(); ++i)
            if (key_.SetText(IdValue(DWORD(i + 1)), ids_[i]))
                Log(IdValue(DWORD(i + 1)));
        for (std::size_t i = ids_.size(); i < previouslyStored; ++i)
            key_.Delete(IdValue(DWORD(i + 1)));
        if (key_.SetNumber(kCountValue, DWORD(ids_.size())))
            Log(kCountValue);
    }
    void Log(const std::string& value) const
    {
        installlog::RegisterWithInstallLog(printer_, printerName_, installlog::LogKind::Driver,
                                           {{}, "hkcu", kPrintersKey, value});
    }

    HANDLE printer_;
    std::string printerName_;
    UserKey key_;
    DWORD capacity_ = kMinCapacity;
    std::vector<std::string> ids_;
};

struct AccountRecord {
    SettingsState* state;
    std::string printerName;
};

void Centre(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area{}, box{};
    if (!owner || !GetWindowRect(owner, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &box);
    const int w = box.right - box.left, h = box.bottom - box.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Refuse(HWND dialog, UINT text)
{
    MessageBoxW(dialog, pages::Page::String(text).c_str(), pages::Page::String(IDS_ACCOUNT_ERROR_CAPTION).c_str(),
                MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, IDC_ACCOUNT_ID));
}

void Accept(HWND dialog, AccountRecord& r)
{
    wchar_t typed[kTypedChars + 1] = {};
    GetDlgItemTextW(dialog, IDC_ACCOUNT_ID, typed, int(std::size(typed)));
    const std::wstring id = typed;
    if (id.empty())
        return Refuse(dialog, IDS_ACCOUNT_EMPTY);
    if (!std::all_of(id.begin(), id.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }) || id.size() > kIdChars)
        return Refuse(dialog, IDS_ACCOUNT_DIGITS_ONLY);
    const std::string narrow(id.begin(), id.end());  // digits only
    History(r.state->printer, r.printerName).Choose(narrow);
    std::fill(std::begin(r.state->accountId), std::end(r.state->accountId), '\0');
    std::copy_n(narrow.begin(), std::min<std::size_t>(narrow.size(), kSettingsStateAccountBytes - 1), r.state->accountId);
    EndDialog(dialog, IDC_ACCOUNT_OK);
}

INT_PTR CALLBACK AccountDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* r = reinterpret_cast<AccountRecord*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        r = reinterpret_cast<AccountRecord*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        std::wstring printer(r->printerName.begin(), r->printerName.end());
        if (const int n = MultiByteToWideChar(CP_ACP, 0, r->printerName.c_str(), -1, nullptr, 0); n > 0) {
            printer.assign(std::size_t(n), L'\0');
            MultiByteToWideChar(CP_ACP, 0, r->printerName.c_str(), -1, printer.data(), n);
            printer.resize(wcslen(printer.c_str()));
        }
        SetWindowTextW(dialog, (pages::Page::String(IDS_ACCOUNT_CAPTION) + L" : " + printer).c_str());
        Centre(dialog);
        const HWND combo = GetDlgItem(dialog, IDC_ACCOUNT_ID);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(combo, &info) && info.hwndItem)
            SetWindowLongPtrW(info.hwndItem, GWL_STYLE, GetWindowLongPtrW(info.hwndItem, GWL_STYLE) | ES_NUMBER);
        const History history(r->state->printer, r->printerName);
        for (auto id = history.Ids().rbegin(); id != history.Ids().rend(); ++id)
            SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(id->c_str()));
        SendMessageW(combo, CB_LIMITTEXT, kIdChars, 0);
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        SetFocus(combo);
        return FALSE;
    }
    case WM_COMMAND:
        if (!r)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_ACCOUNT_OK:
        case IDOK:
            Accept(dialog, *r);
            return TRUE;
        case IDC_ACCOUNT_CANCEL:
        case IDCANCEL:
            EndDialog(dialog, IDC_ACCOUNT_CANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        EndDialog(dialog, IDC_ACCOUNT_CANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

extern "C" int WINAPI fnGetAcctTrack(HWND owner, DWORD, DWORD, SettingsState* state)
{
    if (!state || state->size < sizeof(SettingsState)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DLGTEMPLATE* form = dialogs::LoadDlTemplate(IDD_ACCOUNT);
    if (!form) {
        MessageBoxW(owner, pages::Page::String(IDS_RESOURCE_FAILURE).c_str(),
                    pages::Page::String(IDS_MESSAGE_CAPTION).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
    AccountRecord record{state, std::string(state->printerName, strnlen(state->printerName, sizeof state->printerName))};
    const INT_PTR answer =
        DialogBoxIndirectParamW(dialogs::LanguageLibrary(), form, owner, AccountDlgProc, LPARAM(&record));
    return answer == IDC_ACCOUNT_CANCEL ? 0 : 1;
}
