// The configurations page of the document sheet: the printer's saved configurations (the factory
// defaults, the installed defaults and the profiles of the administrators and of the user), to
// load into the current settings, save them as a new profile, overwrite, rename or delete one,
// or start the profile library's wizard. The configurations are the driver library's; the page
// reaches them only through its configuration requests, and the identity of the current one is
// the configuration entry's.
#include <windows.h>
#include <prsht.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "DrvCfgRecords.h"
#include "Library.h"
#include "Resources.h"
#include "Page.h"
#include "ResourceIds.h"
#include "SiblingNames.h"
#include "SiblingPath.h"
#include "TextFormat.h"

namespace {

namespace f = feature;
using profiles::ConfigId;

constexpr int kSaveAsDefaultCommand = 6708;
constexpr std::size_t kMessageChars = 1024;
constexpr std::size_t kNameBufferChars = 255;
constexpr int kNameChars = 60;
constexpr DWORD kEnumEverything = 15;
constexpr COLORREF kBuiltInColour = RGB(255, 0, 0);
constexpr COLORREF kProfileColour = RGB(0, 0, 255);

// Access bits of an entry.
constexpr DWORD kMayApply = 0x1;
constexpr DWORD kMayOverwrite = 0x2;
constexpr DWORD kMayRename = 0x4;

struct Identity {
    DWORD kind = 0;
    ConfigId id{};
    bool operator==(const Identity& o) const
    {
        return kind == o.kind && std::equal(std::begin(id.words), std::end(id.words), std::begin(o.id.words));
    }
    bool Empty() const { return *this == Identity{}; }
    bool BuiltIn() const { return (kind & profiles::kKindBuiltIn) != 0; }
};

struct PoolEntry {
    DWORD access = 0;
    Identity identity;
};

// The profile library, from beside this library only: a copy elsewhere on the search path is
// not taken for it.
class ProfileLibrary {
public:
    ProfileLibrary()
    {
        const std::wstring path = SiblingFullPathW(dialogs::DialogInstance(), kProfileLibrary.wide);
        module_ = path.empty() ? nullptr : LoadLibraryW(path.c_str());
    }
    ~ProfileLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    ProfileLibrary(const ProfileLibrary&) = delete;
    ProfileLibrary& operator=(const ProfileLibrary&) = delete;
    explicit operator bool() const { return module_ != nullptr; }
    template <class Fn>
    Fn Export(const char* name) const
    {
        return module_ ? reinterpret_cast<Fn>(GetProcAddress(module_, name)) : nullptr;
    }

private:
    HMODULE module_ = nullptr;
};

std::wstring Widen(const char* text)
{
    if (!text)
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(std::size_t(std::max(n, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    out.resize(wcslen(out.c_str()));
    return out;
}

std::string Narrow(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// A message of the page: the run of strings from id on (each following ID appended until one is
// missing or the text is long enough), formatted with the name.
std::wstring MessageText(UINT id, const std::wstring& name)
{
    std::wstring text;
    for (UINT at = id; text.size() < kMessageChars; ++at) {
        const std::wstring part = pages::Page::String(at);
        if (part.empty())
            break;
        text += part;
    }
    text.resize(std::min(text.size(), kMessageChars));
    return text::FormatOne<wchar_t>(text, name, kMessageChars + kNameBufferChars);
}

int Ask(HWND owner, UINT id, const std::wstring& name, UINT style)
{
    // Owned by the sheet (or the name dialog) rather than by the page, a child window.
    const HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    return MessageBoxW(top, MessageText(id, name).c_str(), pages::Page::String(IDS_CONFIG_CAPTION).c_str(), style);
}

// ---- The name dialog -----------------------------------------------------------------------

struct NameDialogRecord {
    HWND page;
    UINT emptyString;      // an empty name, or one with a double quote
    UINT duplicateString;  // a name the list already has
    std::wstring start;
    std::wstring name;  // out
    std::vector<std::wstring> taken;
    const wchar_t* helpFile;
    bool helpOpened = false;
};

std::wstring Trimmed(const std::wstring& s)
{
    const auto first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

std::wstring EditText(HWND dialog)
{
    wchar_t text[kNameBufferChars + 1] = {};
    GetDlgItemTextW(dialog, IDC_CONFIG_NAME, text, int(std::size(text)));
    return text;
}

INT_PTR CALLBACK DlgCfg_EnterNameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* r = reinterpret_cast<NameDialogRecord*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        r = reinterpret_cast<NameDialogRecord*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (const HFONT font = r && r->page ? reinterpret_cast<HFONT>(SendMessageW(r->page, WM_GETFONT, 0, 0)) : nullptr)
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                SendMessageW(child, WM_SETFONT, WPARAM(font), FALSE);
        SendDlgItemMessageW(dialog, IDC_CONFIG_NAME, EM_LIMITTEXT, kNameChars, 0);
        if (r)
            SetDlgItemTextW(dialog, IDC_CONFIG_NAME, r->start.c_str());
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        if (!r || !r->helpFile)
            EnableWindow(GetDlgItem(dialog, IDC_HELP_BUTTON), FALSE);
        SendDlgItemMessageW(dialog, IDC_CONFIG_NAME, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, IDC_CONFIG_NAME));
        return FALSE;
    }
    case WM_COMMAND:
        if (!r)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_CONFIG_NAME:
            if (HIWORD(wParam) == EN_CHANGE)
                EnableWindow(GetDlgItem(dialog, IDOK), !SameIgnoringCase(EditText(dialog), r->start));
            return TRUE;
        case IDOK: {
            const std::wstring typed = EditText(dialog);
            const std::wstring name = Trimmed(typed);
            UINT refusal = 0;
            if (name.empty() || name.find(L'"') != std::wstring::npos)
                refusal = r->emptyString;
            else if (std::any_of(r->taken.begin(), r->taken.end(), [&](const std::wstring& t) { return SameIgnoringCase(Trimmed(t), name); }))
                refusal = r->duplicateString;
            if (refusal) {
                Ask(dialog, refusal, typed, MB_OK | MB_ICONERROR);
                SetDlgItemTextW(dialog, IDC_CONFIG_NAME, typed.c_str());
                SendDlgItemMessageW(dialog, IDC_CONFIG_NAME, EM_SETSEL, 0, -1);
                SetFocus(GetDlgItem(dialog, IDC_CONFIG_NAME));
                return TRUE;
            }
            r->name = name;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_HELP_BUTTON:
            if (r->helpFile && WinHelpW(dialog, r->helpFile, HELP_FINDER, 0))
                r->helpOpened = true;
            return TRUE;
        default:
            return FALSE;
        }
    case WM_DESTROY:
        if (r && r->helpOpened)
            WinHelpW(dialog, r->helpFile, HELP_QUIT, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

// ---- The page --------------------------------------------------------------------------------

constexpr std::int16_t kFeatures[] = {f::kConfigIdentity.id};
constexpr int kLocked[] = {IDC_CONFIG_LIST_LABEL, IDC_CONFIG_LIST,   IDC_CONFIG_LOAD,   IDC_CONFIG_SAVE_AS,
                           IDC_CONFIG_RENAME,     IDC_CONFIG_OVERWRITE, IDC_CONFIG_DELETE, IDC_CONFIG_RESERVED,
                           IDC_CONFIG_CURRENT_LABEL, IDC_CONFIG_CURRENT, IDC_CONFIG_GROUP, IDC_CONFIG_WIZARD};
const pages::HelpPair kHelp[] = {{IDC_CONFIG_LIST, 3001},   {IDC_CONFIG_LOAD, 3002},     {IDC_CONFIG_SAVE_AS, 3003},
                                 {IDC_CONFIG_RENAME, 3004}, {IDC_CONFIG_OVERWRITE, 3005}, {IDC_CONFIG_DELETE, 3006},
                                 {IDC_CONFIG_WIZARD, 3007}, {IDC_CONFIG_CURRENT, 3008},  {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, /*asksForSummary=*/true};

constexpr int kDefaultCandidates[] = {IDOK,           IDC_CONFIG_LOAD,   IDC_CONFIG_SAVE_AS, IDC_CONFIG_OVERWRITE,
                                      IDC_CONFIG_RENAME, IDC_CONFIG_DELETE, IDC_CONFIG_RESERVED, IDC_CONFIG_WIZARD};

class ConfigPage : public pages::Page {
public:
    ConfigPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}

    void Init() override
    {
        // The items are one line of the page's font, with a pixel above and below.
        if (const HDC dc = GetDC(Window())) {
            const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Window(), WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, old);
            ReleaseDC(Window(), dc);
            SendDlgItemMessageW(Window(), IDC_CONFIG_LIST, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
        }
    }

    void Fill() override
    {
        Rebuild();
        const ProfileLibrary library;
        libraryThere_ = bool(library);
        if (!libraryThere_) {
            Enable(IDC_CONFIG_SAVE_AS, false);
            Enable(IDC_CONFIG_WIZARD, false);
        } else if (!Selected() && MayChange()) {
            PostMessageW(Window(), WM_COMMAND, kSaveAsDefaultCommand, 0);
        }
    }

    bool Validate() override
    {
        if (!SelectedDiffersFromCurrent())
            return true;
        if (Ask(Window(), IDS_CONFIG_NOT_LOADED, SelectedName(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return true;
        MakeDefault(IDC_CONFIG_LOAD);
        return false;
    }

    void BeforeApply(bool) override {}

    bool Command(int id, int code, HWND) override
    {
        switch (id) {
        case IDC_CONFIG_LIST:
            if (code == LBN_SELCHANGE || code == LBN_SELCANCEL)
                UpdateButtons();
            return true;
        case IDC_CONFIG_LOAD: Load(); return true;
        case IDC_CONFIG_SAVE_AS: SaveAs(); return true;
        case IDC_CONFIG_RENAME: Rename(); return true;
        case IDC_CONFIG_OVERWRITE: Overwrite(); return true;
        case IDC_CONFIG_DELETE: Delete(); return true;
        case IDC_CONFIG_WIZARD: Wizard(); return true;
        case kSaveAsDefaultCommand: MakeDefault(IDC_CONFIG_SAVE_AS); return true;
        default: return false;
        }
    }

    bool Message(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override
    {
        if (message != WM_DRAWITEM)
            return false;
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlID != IDC_CONFIG_LIST)
            return false;
        DrawItem(*item);
        result = TRUE;
        return true;
    }

    // The enumeration's callback: every configuration the driver library reports.
    static DWORD WINAPI EnumPersProfCallback(void* argument, const profiles::ConfigEntry* entry)
    {
        auto* page = static_cast<ConfigPage*>(argument);
        if (!page || !entry)
            return 0;
        std::wstring name;
        if (entry->kind & profiles::kKindBuiltIn) {
            if (entry->id.words[0] == profiles::kFactoryDefaults)
                name = String(IDS_FACTORY_DEFAULTS);
            else if (entry->id.words[0] == profiles::kInstalledDefaults)
                name = String(IDS_INSTALLED_DEFAULTS);
            else
                return 0;
        } else {
            name = Widen(entry->name);
        }
        if (name.empty())
            return 0;
        return page->AddEntry(name, Identity{entry->kind, entry->id}) ? 0 : 3;
    }

private:
    // ---- The list ----------------------------------------------------------------------------

    HWND List() const { return Control(IDC_CONFIG_LIST); }

    DWORD AccessOf(const Identity& i) const
    {
        if (i.BuiltIn())
            return kMayApply;
        if (!(i.kind & 0x08))
            return 0;
        if (i.kind == profiles::kKindShared && !Context().administrator)
            return kMayApply;
        return kMayApply | kMayOverwrite | kMayRename;
    }

    bool AddEntry(const std::wstring& name, const Identity& identity)
    {
        const LRESULT at = SendMessageW(List(), LB_ADDSTRING, 0, LPARAM(name.c_str()));
        if (at < 0)
            return false;
        pool_.push_back({AccessOf(identity), identity});
        SendMessageW(List(), LB_SETITEMDATA, WPARAM(at), LPARAM(pool_.size() - 1));
        return true;
    }

    const PoolEntry* EntryAt(LRESULT item) const
    {
        if (item < 0)
            return nullptr;
        const LRESULT index = SendMessageW(List(), LB_GETITEMDATA, WPARAM(item), 0);
        return index >= 0 && std::size_t(index) < pool_.size() ? &pool_[std::size_t(index)] : nullptr;
    }
    LRESULT SelectedItem() const { return SendMessageW(List(), LB_GETCURSEL, 0, 0); }
    const PoolEntry* Selected() const { return EntryAt(SelectedItem()); }
    std::wstring ItemText(LRESULT item) const
    {
        const LRESULT n = SendMessageW(List(), LB_GETTEXTLEN, WPARAM(item), 0);
        if (n <= 0)
            return {};
        std::wstring text(std::size_t(n) + 1, L'\0');
        SendMessageW(List(), LB_GETTEXT, WPARAM(item), LPARAM(text.data()));
        text.resize(wcslen(text.c_str()));
        return text;
    }
    std::wstring SelectedName() const
    {
        const LRESULT item = SelectedItem();
        return item >= 0 ? ItemText(item) : String(IDS_CONFIG_NONE);
    }
    LRESULT FindItem(const Identity& identity) const
    {
        const LRESULT n = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i)
            if (const PoolEntry* e = EntryAt(i); e && e->identity == identity)
                return i;
        return LB_ERR;
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        const LRESULT n = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i)
            names.push_back(ItemText(i));
        return names;
    }

    Identity Current() const
    {
        const pages::EntryView e = Entry(f::kConfigIdentity.id);
        Identity i;
        i.kind = e.Get<std::uint32_t>(f::identity::kCurrentIdentity);
        for (int w = 0; w < 4; ++w)
            i.id.words[w] = e.Get<std::uint32_t>(f::identity::kCurrentIdentity + 4 + 4 * std::size_t(w));
        return i;
    }
    void SetCurrent(const Identity& i)
    {
        pages::EntryView e = Entry(f::kConfigIdentity.id);
        e.Set<std::uint32_t>(f::identity::kCurrentIdentity, i.kind);
        for (int w = 0; w < 4; ++w)
            e.Set<std::uint32_t>(f::identity::kCurrentIdentity + 4 + 4 * std::size_t(w), i.id.words[w]);
    }
    bool SelectedDiffersFromCurrent() const
    {
        const PoolEntry* s = Selected();
        return s && !(s->identity == Current());
    }

    void Rebuild()
    {
        SendMessageW(List(), WM_SETREDRAW, FALSE, 0);
        SendMessageW(List(), LB_RESETCONTENT, 0, 0);
        pool_.clear();
        profiles::ConfigRequest request = Request({kEnumEverything, {}});
        ConfigEnumTarget target{0, 0, reinterpret_cast<void*>(&EnumPersProfCallback), this};
        if (const auto callBack = CallBackExport())
            callBack(&Context(), kCbEnumConfigs, &request, &target.result);
        SendMessageW(List(), LB_SETCURSEL, WPARAM(FindItem(Current())), 0);
        FitExtent();
        UpdateButtons();
        SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(List(), nullptr, TRUE);
    }

    void FitExtent()
    {
        const HDC dc = GetDC(List());
        if (!dc)
            return;
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(List(), WM_GETFONT, 0, 0)));
        int widest = 0;
        for (const std::wstring& name : Names()) {
            SIZE size{};
            GetTextExtentPoint32W(dc, name.c_str(), int(name.size()), &size);
            widest = std::max(widest, int(size.cx) + 8);
        }
        SelectObject(dc, old);
        ReleaseDC(List(), dc);
        SendMessageW(List(), LB_SETHORIZONTALEXTENT, WPARAM(widest), 0);
    }

    void UpdateButtons()
    {
        const PoolEntry* s = Selected();
        const bool differs = SelectedDiffersFromCurrent();
        const bool may = MayChange();
        SetButton(IDC_CONFIG_LOAD, may && differs && (s->access & kMayApply));
        SetButton(IDC_CONFIG_OVERWRITE, may && differs && (s->access & kMayOverwrite));
        SetButton(IDC_CONFIG_RENAME, may && s && (s->access & kMayRename));
        SetButton(IDC_CONFIG_DELETE, may && s && (s->access & kMayRename));
        const LRESULT current = FindItem(Current());
        SetText(IDC_CONFIG_CURRENT, current >= 0 && !Current().Empty() ? ItemText(current) : String(IDS_CONFIG_NONE));
    }

    void SetButton(int id, bool on)
    {
        Enable(id, on);
        if (!on)
            SendDlgItemMessageW(Window(), id, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }

    void MakeDefault(int id)
    {
        for (int other : kDefaultCandidates) {
            const HWND button = other == IDOK ? GetDlgItem(Frame(), IDOK) : Control(other);
            if (button)
                SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        if (!IsWindowEnabled(Control(id)))
            return;
        SendMessageW(Window(), DM_SETDEFID, WPARAM(id), 0);
        SendDlgItemMessageW(Window(), id, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        SetFocus(Control(id));
    }

    void DrawItem(const DRAWITEMSTRUCT& item)
    {
        if (item.itemID == UINT(-1) && !(item.itemAction & ODA_FOCUS))
            return;
        const PoolEntry* e = item.itemID == UINT(-1) ? nullptr : EntryAt(LRESULT(item.itemID));
        const bool red = e && (!(e->identity.kind & 0x08) || (e->identity.kind & 0x01));
        const COLORREF colour = red ? kBuiltInColour : kProfileColour;
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        RECT r = item.rcItem;
        if (const HBRUSH fill = CreateSolidBrush(selected ? colour : GetSysColor(COLOR_WINDOW))) {
            FillRect(item.hDC, &r, fill);
            DeleteObject(fill);
        }
        if (item.itemID != UINT(-1)) {
            const std::wstring text = ItemText(LRESULT(item.itemID));
            SetBkMode(item.hDC, TRANSPARENT);
            SetTextColor(item.hDC, selected ? RGB(255, 255, 255) : colour);
            RECT t = r;
            t.left += 2;
            DrawTextW(item.hDC, text.c_str(), int(text.size()), &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        const bool noSelection = SelectedItem() < 0;
        if ((item.itemState & ODS_FOCUS) && (selected || (noSelection && item.itemID == 0)))
            DrawFocusRect(item.hDC, &r);
    }

    // ---- Requests ----------------------------------------------------------------------------

    CallBackAccessFn CallBackExport() const
    {
        return Context().module ? reinterpret_cast<CallBackAccessFn>(GetProcAddress(Context().module, kCallBackAccessExport))
                                : nullptr;
    }

    profiles::ConfigRequest Request(const Identity& identity, const char* name = nullptr) const
    {
        profiles::ConfigRequest r{};
        r.size = sizeof r;
        r.devmode = Context().workingDevmode;
        r.kind = identity.kind;
        r.id = identity.id;
        r.name = name;
        return r;
    }

    // A request's 16-bit status: 0 is success; without the driver library's export, failure.
    WORD Send(DWORD type, profiles::ConfigRequest& request)
    {
        const CallBackAccessFn callBack = CallBackExport();
        if (!callBack)
            return 3;
        WORD result = 3;
        callBack(&Context(), type, &request, &result);
        return result;
    }

    void Load()
    {
        const PoolEntry* s = Selected();
        if (!s || !MayChange())
            return;
        const PoolEntry entry = *s;
        const std::wstring name = SelectedName();
        DWORD type = kCbFirstConfig + 2;  // a profile
        bool usable = true;
        if (entry.identity.BuiltIn()) {
            usable = entry.identity.id.words[0] == profiles::kFactoryDefaults ||
                     entry.identity.id.words[0] == profiles::kInstalledDefaults;
            type = entry.identity.id.words[0] == profiles::kFactoryDefaults ? kCbFirstConfig : kCbFirstConfig + 1;
        }
        profiles::ConfigRequest request = Request(entry.identity);
        if (usable && Send(type, request) == 0) {
            // The driver library loaded the settings into the entries; its identity is now current.
            SetCurrent(entry.identity);
            SendMessageW(Frame(), PSM_CHANGED, WPARAM(Window()), 0);
            SetFocus(List());
        } else {
            Ask(Window(), IDS_CONFIG_LOAD_FAILED, name, MB_OK | MB_ICONERROR);
            SendMessageW(List(), LB_DELETESTRING, WPARAM(SelectedItem()), 0);
        }
        UpdateButtons();
        RefreshSummary(0);
        RefillSummaryPreview();
    }

    void SaveAs()
    {
        if (!MayChange())
            return;
        const DWORD kind = Context().administrator ? profiles::kKindShared : profiles::kKindPersonal;
        if (MaximumReached(kind)) {
            Ask(Window(), kind & 0x01 ? IDS_CONFIG_SHARED_FULL : kind & 0x02 ? IDS_CONFIG_PERSONAL_FULL : IDS_CONFIG_FULL,
                L"", MB_OK | MB_ICONINFORMATION);
            Rebuild();
            return;
        }
        const std::optional<std::wstring> name = AskName(IDD_CONFIG_SAVE_AS, L"");
        if (!name)
            return;
        const std::string narrow = Narrow(*name);
        profiles::ConfigRequest request = Request({kind, {}}, narrow.c_str());
        if (Send(kCbFirstConfig + 3, request) == 0) {
            SetCurrent({kind, request.id});
            SendMessageW(Frame(), PSM_CHANGED, WPARAM(Window()), 0);
        } else {
            Ask(Window(), IDS_CONFIG_FAILED, *name, MB_OK | MB_ICONERROR);
        }
        Rebuild();
    }

    bool MaximumReached(DWORD kind) const
    {
        const ProfileLibrary library;
        const auto ask = library.Export<profiles::DoesMaxPerProfsExistProc>("DoesMaxPerProfsExist");
        if (!ask)
            return false;
        profiles::MaxProfilesRequest r{sizeof r, profiles::kMaxProfilesVersion, Context().printerNameA, kind, 0};
        return ask(&r, &r) == 0 && r.reached != 0;
    }

    std::optional<std::wstring> AskName(UINT templateId, const std::wstring& start)
    {
        const DLGTEMPLATE* form = dialogs::LoadDlTemplate(templateId);
        if (!form)
            return std::nullopt;
        NameDialogRecord r{Window(), IDS_CONFIG_NAME_INVALID, IDS_CONFIG_NAME_TAKEN, start, {}, Names(), Context().helpFile};
        if (DialogBoxIndirectParamW(dialogs::LanguageLibrary(), form, Window(), DlgCfg_EnterNameDlgProc, LPARAM(&r)) !=
            IDOK)
            return std::nullopt;
        return r.name;
    }

    void Rename()
    {
        const PoolEntry* s = Selected();
        if (!s || !(s->access & kMayRename) || !MayChange())
            return;
        const Identity identity = s->identity;
        const std::optional<std::wstring> name = AskName(IDD_CONFIG_RENAME, SelectedName());
        if (!name)
            return;
        const std::string narrow = Narrow(*name);
        profiles::ConfigRequest request = Request(identity, narrow.c_str());
        const bool done = Send(kCbLastConfig, request) == 0;
        if (!done)
            Ask(Window(), IDS_CONFIG_FAILED, *name, MB_OK | MB_ICONERROR);
        Rebuild();
        if (done)
            SendMessageW(List(), LB_SETCURSEL, WPARAM(FindItem(identity)), 0);
        UpdateButtons();
        SetFocus(List());
    }

    void Overwrite()
    {
        const PoolEntry* s = Selected();
        if (!s || !(s->access & kMayOverwrite) || !MayChange())
            return;
        const Identity identity = s->identity;
        const Identity before = Current();
        const std::wstring name = SelectedName();
        if (Ask(Window(), IDS_CONFIG_OVERWRITE, name, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        profiles::ConfigRequest request = Request(identity);
        if (Send(kCbFirstConfig + 4, request) == 0) {
            // The profile now holds the current settings.
            SetCurrent({identity.kind, request.id});
        } else {
            Ask(Window(), IDS_CONFIG_FAILED, name, MB_OK | MB_ICONERROR);
        }
        Rebuild();
        SendMessageW(List(), LB_SETCURSEL, WPARAM(FindItem(Current())), 0);
        UpdateButtons();
        if (!(Current() == before))
            SendMessageW(Frame(), PSM_CHANGED, WPARAM(Window()), 0);
    }

    void Delete()
    {
        const PoolEntry* s = Selected();
        if (!s || !(s->access & kMayRename) || !MayChange())
            return;
        const Identity identity = s->identity;
        const Identity before = Current();
        const LRESULT item = SelectedItem();
        const std::wstring name = SelectedName();
        if (Ask(Window(), IDS_CONFIG_DELETE, name, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        profiles::ConfigRequest request = Request(identity);
        if (Send(kCbFirstConfig + 5, request) == 0) {
            SendMessageW(List(), LB_DELETESTRING, WPARAM(item), 0);
            const LRESULT count = SendMessageW(List(), LB_GETCOUNT, 0, 0);
            SendMessageW(List(), LB_SETCURSEL, WPARAM(std::min(item, count - 1)), 0);
            if (identity == before)
                SetCurrent({});
            UpdateButtons();
            if (const PoolEntry* now = Selected(); now && now->identity.BuiltIn())
                SetFocus(List());
        } else {
            Ask(Window(), IDS_CONFIG_FAILED, name, MB_OK | MB_ICONERROR);
            Rebuild();
            SetFocus(List());
        }
        if (!(Current() == before))
            SendMessageW(Frame(), PSM_CHANGED, WPARAM(Window()), 0);
    }

    void Wizard()
    {
        if (SelectedDiffersFromCurrent() &&
            Ask(Window(), IDS_CONFIG_NOT_LOADED, SelectedName(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
            MakeDefault(IDC_CONFIG_LOAD);
            return;
        }
        const ProfileLibrary library;
        const auto wizard = library.Export<profiles::DrvProfileWizardProc>("DrvProfileWizard");
        devmode::Buffer copy{};
        if (!wizard || !DevmodeCopy(copy))
            return;
        const std::string help = Narrow(Context().helpFile ? Context().helpFile : L"");
        profiles::WizardRequest r{sizeof r,     profiles::kWizardVersion, Context().printerNameA, help.c_str(),
                                  Window(),     profiles::kWizardMode,   copy.data(),            DWORD(copy.size())};
        wizard(&r);
    }

    std::vector<PoolEntry> pool_;
    bool libraryThere_ = false;
};

}  // namespace

extern "C" INT_PTR CALLBACK CnfgDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<ConfigPage>(window, message, wParam, lParam);
}
