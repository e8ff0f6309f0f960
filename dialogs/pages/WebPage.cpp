// The Web page of the document sheet: buttons that open the maker's pages for this printer in the
// user's browser (home, drivers, supplies, support, registration), and the web settings, the
// configuration file the web library takes the addresses from. The browser is handed a small
// local page that redirects to the address, as the browser's own command line cannot be trusted
// with an address.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Drawing.h"
#include "InstallLog.h"
#include "Library.h"
#include "Resources.h"
#include "Page.h"
#include "ResourceIds.h"
#include "SiblingPath.h"
#include "WebAccess.h"
#include "WebLibraryApi.h"

namespace {

constexpr wchar_t kWebLibraryName[] = L"QVTDX5TD.DLL";
constexpr int kTitlePixels = 28;
constexpr std::uint16_t kCgiFlag = 0x40;  // web flags: the printer's own pages
constexpr std::size_t kModelWordCopy = 5;  // devmodeCopies: model word 350
constexpr std::size_t kWebFlagsCopy = 2;   // devmodeCopies: model word 394, low byte
constexpr int kPathChars = 256;

struct Link {
    int button;
    int addressType;
    int placeholder;
    UINT picture;
};
constexpr Link kLinks[] = {
    {IDC_WEB_HOME, 1, IDC_WEB_HOME_PICTURE, IDB_WEB_HOME},
    {IDC_WEB_DRIVERS, 6, IDC_WEB_DRIVERS_PICTURE, IDB_WEB_DRIVERS},
    {IDC_WEB_SUPPLIES, 7, IDC_WEB_SUPPLIES_PICTURE, IDB_WEB_SUPPLIES},
    {IDC_WEB_SUPPORT, 3, IDC_WEB_SUPPORT_PICTURE, IDB_WEB_SUPPORT},
    {IDC_WEB_REGISTER, 8, IDC_WEB_REGISTER_PICTURE, IDB_WEB_REGISTER},
};

// The sheet's family code as the web library numbers its families.
int WebFamily(std::uint16_t family)
{
    if (family == 0)
        family = 10;
    switch (family) {
    case 2: return 17;
    case 3: return 6;
    case 4: return 3;
    case 5: return 7;
    case 6: return 5;
    case 7: return 1;
    case 8: return 0;
    case 9: return 4;
    case 11: return 18;
    default: return family > 19 ? family : 10;
    }
}

int WebLanguage(WORD language)
{
    switch (language) {
    case 1028: return 14;
    case 1030: return 5;
    case 1031: return 2;
    case 1033: return GetUserDefaultLangID() == 2057 ? 15 : 0;
    case 1034: return 4;
    case 1035: return 9;
    case 1036: return 1;
    case 1040: return 3;
    case 1041: return 12;
    case 1043: return 7;
    case 1044: return 6;
    case 1046: return 10;
    case 1053: return 8;
    case 2052: return 13;
    case 2058: return 4;
    case 2067: return 7;
    case 2068: return 6;
    case 2070: return 10;
    case 3084: return 1;
    default: return 0;
    }
}

// The language of the language library's first version translation.
WORD LanguageOfResources()
{
    wchar_t path[MAX_PATH] = {};
    if (!GetModuleFileNameW(dialogs::LanguageLibrary(), path, MAX_PATH))
        return 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (!size)
        return 0;
    std::vector<BYTE> info(size);
    WORD* translation = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return 0;
    return translation[0];
}

std::string Narrow(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

std::optional<std::wstring> DefaultValue(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t value[MAX_PATH * 2 + 1] = {};
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);
    const LONG read = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    value[std::min<DWORD>(size, sizeof value - sizeof(wchar_t)) / sizeof(wchar_t)] = L'\0';
    return std::wstring(value);
}

// The program that opens web pages: the command of the class of ".htm" (else ".html").
std::optional<std::wstring> FindBrowser()
{
    std::optional<std::wstring> type = DefaultValue(HKEY_CLASSES_ROOT, L".htm");
    if (!type || type->empty())
        type = DefaultValue(HKEY_CLASSES_ROOT, L".html");
    if (!type || type->empty())
        return std::nullopt;
    const std::optional<std::wstring> command = DefaultValue(HKEY_CLASSES_ROOT, *type + L"\\shell\\open\\command");
    if (!command)
        return std::nullopt;
    std::wstring program;
    if (!command->empty() && command->front() == L'"') {
        program = command->substr(1, command->find(L'"', 1) - 1);
    } else {
        program = command->substr(0, command->find_first_of(L"\"%-"));
        while (!program.empty() && (program.back() == L' ' || program.back() == L'\t'))
            program.pop_back();
    }
    if (program.empty() || GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return program;
}

bool IsWebAddress(const std::string& address)
{
    const auto starts = [&](const char* scheme) {
        const std::size_t n = strlen(scheme);
        return address.size() > n && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, address.c_str(), int(n), scheme,
                                                    int(n)) == CSTR_EQUAL;
    };
    return (starts("http://") || starts("https://")) &&
           std::none_of(address.begin(), address.end(), [](char c) { return std::uint8_t(c) < 0x20; });
}

// The address inside a double-quoted attribute.
std::string AttributeText(const std::string& address)
{
    std::string out;
    for (char c : address) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

// The redirection page in the temporary directory; its path, empty when none could be written.
std::wstring WriteRedirection(const std::string& address, const SheetContext& c)
{
    wchar_t temp[MAX_PATH] = {};
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    if (!n || n >= MAX_PATH)
        return {};
    std::vector<std::wstring> names{std::wstring(temp) + L"QxReDir.htm"};
    for (int i = 1; i <= 9; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"%d%s", i, L".html");
        names.push_back(std::wstring(temp) + L"QxReDir" + name);
    }
    const std::string page = std::string("<HTML><HEAD><TITLE>Redirection HTML page</TITLE></HEAD><BODY><b>") +
                             Narrow(pages::Page::String(IDS_WEB_REDIRECTING)) +
                             "</b><meta http-equiv=\"refresh\" content=\"1;" + "url=" + AttributeText(address) +
                             "\"></BODY></HTML>";
    for (const std::wstring& path : names) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD written = 0;
        const bool ok = WriteFile(file, page.data(), DWORD(page.size()), &written, nullptr) && written == page.size();
        CloseHandle(file);
        if (!ok)
            continue;
        installlog::RegisterWithInstallLog(c.printer, c.printerNameA ? c.printerNameA : "",
                                           installlog::LogKind::Driver, {Narrow(path), {}, {}, {}});
        return path;
    }
    return {};
}

// The web library's address of one page; nothing when it has none.
std::optional<std::string> WebAddress(const SheetContext& c, int addressType, const std::wstring& manufacturer)
{
    const HMODULE library = [] {
        const std::wstring path = SiblingFullPathW(dialogs::DialogInstance(), kWebLibraryName);
        return path.empty() ? nullptr : LoadLibraryW(path.c_str());
    }();
    if (!library)
        return std::nullopt;
    const auto open = reinterpret_cast<weblib::PtIniOpen2Fn>(GetProcAddress(library, weblib::kIniOpen));
    const auto getUrl = reinterpret_cast<weblib::PtWebGetUrlFn>(GetProcAddress(library, weblib::kGetUrl));
    const auto getCgi = reinterpret_cast<weblib::PtWebGetCgiUrlFn>(GetProcAddress(library, weblib::kGetCgiUrl));
    const auto close = reinterpret_cast<weblib::PtIniCloseFn>(GetProcAddress(library, weblib::kIniClose));
    const std::optional<std::wstring> file = pages::WebConfigurationFile(manufacturer);
    const bool hasFile = file && !file->empty();
    const bool cgi = (c.devmodeCopies[kWebFlagsCopy] & kCgiFlag) != 0;
    const int family = WebFamily(c.modelFamily);
    const int language = WebLanguage(LanguageOfResources());
    const int modelWord = c.devmodeCopies[kModelWordCopy];
    HANDLE ini = nullptr;
    if (hasFile && open)
        ini = open(Narrow(*file).c_str(), 1);
    std::array<char, weblib::kAddressBytes + 1> address{};
    bool found = false;
    int answer = -1;
    if (!(hasFile && !ini && cgi) && getUrl) {
        answer = getUrl(family, addressType, language, address.data(), weblib::kAddressBytes, ini);
        found = answer == 0 || answer == weblib::kAskCgi;
    }
    if (cgi && (!hasFile || answer == weblib::kAskCgi)) {
        address.fill('\0');
        found = getCgi && getCgi(modelWord, family, modelWord, addressType, language, address.data(),
                                 weblib::kAddressBytes, ini) == 0;
    }
    if (ini && close)
        close(ini);
    FreeLibrary(library);
    address.back() = '\0';
    if (!found || !address[0])
        return std::nullopt;
    return std::string(address.data());
}

void Complain(UINT text)
{
    MessageBoxW(GetActiveWindow(), pages::Page::String(text).c_str(), pages::Page::String(IDS_MESSAGE_CAPTION).c_str(),
                MB_OK | MB_ICONWARNING);
}

void OpenLink(const SheetContext& c, int addressType)
{
    if (!FindBrowser())
        return Complain(IDS_WEB_NO_BROWSER);
    const std::wstring manufacturer = pages::PrinterManufacturer(c.printer);
    const std::optional<std::string> address = WebAddress(c, addressType, manufacturer);
    // Only web addresses are handed on: the page would send the browser anywhere it is told.
    if (!address || !IsWebAddress(*address))
        return Complain(IDS_RESOURCE_FAILURE);
    const std::wstring page = WriteRedirection(*address, c);
    if (page.empty())
        return Complain(IDS_RESOURCE_FAILURE);
    // The page's path is quoted, so no character of the temporary directory's name reaches the
    // command interpreter as syntax.
    const std::string command = "cmd.exe /c start \"\" \"" + Narrow(page) + "\"";
    WinExec(command.c_str(), SW_HIDE);
}

// ---- The address dialog ------------------------------------------------------------------------

struct AddressState {
    SheetContext* context = nullptr;
    std::wstring manufacturer;
    bool changed = false;
};

void PlaceOverOwner(HWND dialog)
{
    const HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area{}, box{};
    if (!owner || !GetWindowRect(owner, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &box);
    const int w = box.right - box.left, h = box.bottom - box.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Browse(HWND dialog, AddressState& s)
{
    std::wstring filter = pages::Page::String(IDS_WEB_FILE_FILTER);
    if (!filter.empty()) {
        const wchar_t separator = filter.back();
        std::replace(filter.begin(), filter.end(), separator, L'\0');
    }
    filter.push_back(L'\0');
    wchar_t file[kPathChars + 1] = {};
    wchar_t title[128] = {};
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = dialog;
    open.lpstrFilter = filter.c_str();
    open.nFilterIndex = 1;
    open.lpstrFile = file;
    open.nMaxFile = kPathChars;
    open.lpstrFileTitle = title;
    open.nMaxFileTitle = 128;
    open.lpstrInitialDir = system;
    open.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&open))
        return;
    SetDlgItemTextW(dialog, IDC_WEB_CONFIG_FILE, file);
    s.changed = true;
}

void Save(HWND dialog, AddressState& s)
{
    if (!s.changed)
        return;
    wchar_t file[kPathChars + 1] = {};
    GetDlgItemTextW(dialog, IDC_WEB_CONFIG_FILE, file, kPathChars + 1);
    const std::wstring path = pages::WebAccessKeyOf(s.manufacturer);
    HKEY key = nullptr;
    // The manufacturer's key comes with the driver package; the dialog never makes one.
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    const bool written = RegSetValueExW(key, L"ConfigurationFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(file),
                                        DWORD((wcslen(file) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (written && s.context)
        installlog::RegisterWithInstallLog(s.context->printer, s.context->printerNameA ? s.context->printerNameA : "",
                                           installlog::LogKind::Driver, {{}, "hklm", Narrow(path), "ConfigurationFile"});
}

}  // namespace

extern "C" INT_PTR CALLBACK fnURLDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* s = reinterpret_cast<AddressState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        auto* context = reinterpret_cast<SheetContext*>(lParam);
        s = new AddressState{IsSheetContext(context) ? context : nullptr, {}, false};
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(s));
        PlaceOverOwner(dialog);
        s->manufacturer = pages::PrinterManufacturer(s->context ? s->context->printer : nullptr);
        SendDlgItemMessageW(dialog, IDC_WEB_CONFIG_FILE, EM_LIMITTEXT, 255, 0);
        if (const std::optional<std::wstring> file = pages::WebConfigurationFile(s->manufacturer)) {
            SetDlgItemTextW(dialog, IDC_WEB_CONFIG_FILE, file->c_str());
            s->changed = false;
            SendDlgItemMessageW(dialog, IDC_WEB_CONFIG_FILE, EM_SETSEL, 0, -1);
            SetFocus(GetDlgItem(dialog, IDC_WEB_CONFIG_FILE));
            return FALSE;
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (!s)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_WEB_CONFIG_FILE:
            if (HIWORD(wParam) == EN_SETFOCUS)
                SendDlgItemMessageW(dialog, IDC_WEB_CONFIG_FILE, EM_SETSEL, 0, -1);
            else if (HIWORD(wParam) == EN_CHANGE)
                s->changed = true;
            return TRUE;
        case IDC_WEB_BROWSE:
            Browse(dialog, *s);
            return TRUE;
        case IDOK:
            Save(dialog, *s);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NCDESTROY:
        delete s;
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

namespace {

constexpr int kLocked[] = {IDC_WEB_HOME, IDC_WEB_DRIVERS, IDC_WEB_SUPPLIES, IDC_WEB_SUPPORT, IDC_WEB_REGISTER,
                           IDC_WEB_SETTINGS};
const pages::HelpPair kHelp[] = {{IDC_WEB_HOME, 4001},    {IDC_WEB_DRIVERS, 4002},  {IDC_WEB_SUPPLIES, 4003},
                                 {IDC_WEB_SUPPORT, 4004}, {IDC_WEB_REGISTER, 4005}, {IDC_WEB_SETTINGS, 4006},
                                 {0, 0}};
const pages::PageSpec kSpec{{}, kLocked, kHelp, /*asksForSummary=*/true};

class WebPage : public pages::Page {
public:
    WebPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}
    ~WebPage() override
    {
        if (title_)
            DeleteObject(title_);
        for (HBITMAP b : pictures_)
            if (b)
                DeleteObject(b);
    }

    void Init() override
    {
        LOGFONTW font{};
        if (const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(Window(), WM_GETFONT, 0, 0)))
            GetObjectW(dialogFont, sizeof font, &font);
        font.lfHeight = -kTitlePixels;
        font.lfWidth = 0;
        font.lfWeight = FW_BOLD;
        title_ = CreateFontIndirectW(&font);
        if (title_)
            SendDlgItemMessageW(Window(), IDC_WEB_TITLE, WM_SETFONT, WPARAM(title_), FALSE);
        for (std::size_t i = 0; i < std::size(kLinks); ++i) {
            Show(kLinks[i].placeholder, false);
            pictures_[i] = dialogs::LoadDlBitmap(kLinks[i].picture);
        }
    }

    bool Command(int id, int code, HWND) override
    {
        if (code != BN_CLICKED)
            return false;
        if (id == IDC_WEB_SETTINGS) {
            if (const DLGTEMPLATE* form = dialogs::LoadDlTemplate(IDD_WEB_ADDRESS))
                DialogBoxIndirectParamW(dialogs::LanguageLibrary(), form, Window(), fnURLDialog, LPARAM(&Context()));
            else
                Complain(IDS_RESOURCE_FAILURE);
            return true;
        }
        for (const Link& link : kLinks)
            if (link.button == id) {
                if (MayChange())
                    OpenLink(Context(), link.addressType);
                return true;
            }
        return false;
    }

    bool Message(UINT message, WPARAM, LPARAM, INT_PTR& result) override
    {
        if (message != WM_PAINT)
            return false;
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(Window(), &paint);
        for (std::size_t i = 0; i < std::size(kLinks); ++i) {
            RECT at{};
            const HWND placeholder = Control(kLinks[i].placeholder);
            if (!pictures_[i] || !placeholder || !GetWindowRect(placeholder, &at))
                continue;
            MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&at), 2);
            const SIZE size = dialogs::BitmapSize(pictures_[i]);
            // Opaque tiles at their own size, centred on the placeholder. (A key colour would
            // be matched to the nearest colour of a palette picture, which may be its symbol's.)
            if (const HDC source = CreateCompatibleDC(dc)) {
                const HGDIOBJ old = SelectObject(source, pictures_[i]);
                BitBlt(dc, at.left + (at.right - at.left - size.cx) / 2, at.top + (at.bottom - at.top - size.cy) / 2,
                       size.cx, size.cy, source, 0, 0, SRCCOPY);
                SelectObject(source, old);
                DeleteDC(source);
            }
        }
        EndPaint(Window(), &paint);
        result = TRUE;
        return true;
    }

private:
    HFONT title_ = nullptr;
    std::array<HBITMAP, std::size(kLinks)> pictures_{};
};

}  // namespace

extern "C" INT_PTR CALLBACK fnWebDlg(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<WebPage>(window, message, wParam, lParam);
}
