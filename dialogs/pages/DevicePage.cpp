// The installable options page, first of the device sheet: printer memory, two check boxes, and
// the options moved between the available and the installed list (optional trays and feeders,
// output options, the duplex unit, the network card). What is installed here decides which
// trays, bins and duplex modes the other pages and the device capabilities offer, and the
// printer picture is drawn from the printer configuration block kept in step with the lists.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "DevmodeLayout.h"
#include "Library.h"
#include "Page.h"
#include "PrinterQueryApi.h"
#include "ResourceIds.h"
#include "SiblingPath.h"
#include "SpoolLock.h"
#include "TextFormat.h"

namespace {

namespace f = feature;

constexpr std::uint16_t kNoFamily = 255;
constexpr int kMemoryChars = 4;
constexpr std::size_t kOptionNameChars = 60;
constexpr COLORREF kBrandKey = RGB(0, 255, 0);
constexpr char kBrandPrefix[] = "Qelbrin";

// Resource types of the driver library's option tables: count, default mask, then per option its
// bit and kind (named by the kinds below).
constexpr int kInputOptionsType = 277;
constexpr int kOutputOptionsType = 278;
constexpr std::size_t kMaxOptions = 16;
enum OptionKind : std::uint16_t {
    kFirstTray = 1,
    kSecondTray = 2,
    kThirdTray = 3,
    kFeederA = 4,
    kFeederB = 5,
    kOutput = 6,
    kEnvelope = 7,
};

// Duplex capability (entry 81): low bits the kind of duplex, 0x0800 and 0x1000 units that can be
// added.
constexpr std::uint16_t kDuplexKindMask = 0x0003;
constexpr std::uint16_t kDuplexUnitA = 0x0800;
constexpr std::uint16_t kDuplexUnitB = 0x1000;

// Words of the printer configuration block this page keeps: the installed input and output masks,
// the order the trays stack in (a nibble per position, the option's index + 1, top first), and
// the tray and bin picture numbers, cleared while the page is active.
constexpr std::size_t kInputWord = 0;
constexpr std::size_t kOutputWord = 1;
constexpr std::size_t kStackWord = 2;
constexpr std::size_t kTraySizesWord = 3;  // two bits per input option: 1 up to 250 sheets, 2, 3
constexpr std::size_t kPictureWord = 5;
constexpr int kStackSlots = 8;

// What a list item stands for, as its item data: the source in the high byte, the index in the
// low byte.
enum Source : int { kInput = 1, kOutputSource = 2, kDuplexUnit = 3, kNetwork = 4, kBase = 5 };
constexpr LPARAM ItemData(Source s, int index = 0) { return LPARAM(s << 8 | (index & 0xFF)); }
constexpr Source SourceOf(LPARAM data) { return Source((data >> 8) & 0xFF); }
constexpr int IndexOf(LPARAM data) { return int(data & 0xFF); }

// Models whose feeder and envelope options also stack under one another.
constexpr std::uint16_t kFeederStackModels[] = {11, 16, 18, 20, 21, 25, 27, 31, 35, 36, 46, 47, 52, 60, 61, 62, 66};
constexpr std::uint16_t kNoStackModel = 30;

struct Option {
    std::uint16_t mask;
    std::uint16_t kind;
};
struct OptionTable {
    std::uint16_t defaultMask = 0;
    std::vector<Option> options;
};

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

// The option table the devmode's model word selects (resource name = word + 1); empty when the
// model has none or the resource is short.
OptionTable LoadOptions(HMODULE module, int type, std::uint16_t word)
{
    OptionTable table;
    const HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(word + 1), MAKEINTRESOURCEW(type)) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size < 4)
        return table;
    const int count = std::int16_t(ReadU16(bytes));
    table.defaultMask = ReadU16(bytes + 2);
    for (int i = 0; i < count && std::size_t(i) < kMaxOptions && 4u + 4u * (i + 1) <= size; ++i)
        table.options.push_back({ReadU16(bytes + 4 + 4 * i), ReadU16(bytes + 6 + 4 * i)});
    return table;
}

bool Contains(std::span<const std::uint16_t> list, std::uint16_t v)
{
    return std::find(list.begin(), list.end(), v) != list.end();
}

// ---- The printer query -------------------------------------------------------------------------

constexpr wchar_t kCommunicationLibrary[] = L"QVTDCOMM.DLL";
constexpr wchar_t kQueryLibrary[] = L"QVTDX5BJ.DLL";
constexpr SHORT kJobSeparatorBin = 7204;
constexpr UINT kJobSeparatorString = 7014;  // the driver library's own

std::wstring SystemFile(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(dir) + L"\\" + name : std::wstring();
}

// The printer's communication library must be there; it is not used beyond that.
bool CommunicationThere()
{
    const std::wstring path = SystemFile(kCommunicationLibrary);
    const HMODULE library = path.empty() ? nullptr : LoadLibraryW(path.c_str());
    if (library)
        FreeLibrary(library);
    return library != nullptr;
}

// The text of the printer's port list before its first comma.
std::string FirstPort(HANDLE printer)
{
    DWORD needed = 0;
    LockedGetPrinterA(printer, 2, nullptr, 0, &needed);
    if (!needed)
        return {};
    std::vector<BYTE> info(needed);
    if (!LockedGetPrinterA(printer, 2, info.data(), needed, &needed))
        return {};
    const char* ports = reinterpret_cast<const PRINTER_INFO_2A*>(info.data())->pPortName;
    const std::string list = ports ? ports : "";
    return list.substr(0, list.find(','));
}

// The query library beside this library (the system directory's when this one's path cannot be
// used), for one query.
class QueryLibrary {
public:
    QueryLibrary()
    {
        std::wstring path = SiblingFullPathW(dialogs::DialogInstance(), kQueryLibrary);
        if (path.empty() || path.size() >= MAX_PATH)
            path = SystemFile(kQueryLibrary);
        module_ = path.empty() ? nullptr : LoadLibraryW(path.c_str());
        if (module_) {
            get_ = reinterpret_cast<printerquery::GetDrvNpaDataFn>(GetProcAddress(module_, printerquery::kGetExport));
            free_ = reinterpret_cast<printerquery::FreeDrvNpaDataFn>(GetProcAddress(module_, printerquery::kFreeExport));
        }
    }
    ~QueryLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    QueryLibrary(const QueryLibrary&) = delete;
    QueryLibrary& operator=(const QueryLibrary&) = delete;

    // Runs the request and hands a usable reply to `use`; false when the query failed.
    template <class Use>
    bool Ask(const SheetContext& c, const std::string& port, DWORD request, Use&& use) const
    {
        if (!get_ || !free_ || !c.printerNameA)
            return false;
        printerquery::Reply* reply = nullptr;
        if (get_(c.printerNameA, port.c_str(), request, &reply, printerquery::kReplyVersion) != 0 || !reply)
            return false;
        const bool usable = reply->size >= sizeof(printerquery::Reply);
        if (usable)
            use(*reply);
        free_(reply);
        return usable;
    }

private:
    HMODULE module_ = nullptr;
    printerquery::GetDrvNpaDataFn get_ = nullptr;
    printerquery::FreeDrvNpaDataFn free_ = nullptr;
};

// The printer's own character set for the computer's ANSI code page.
UINT PrinterCodePage()
{
    switch (GetACP()) {
    case 932:
    case 936:
    case 949:
    case 950: return CP_UTF8;
    case 1250: return 28592;
    case 1251: return 28595;
    default: return 850;
    }
}

std::wstring FromPrinter(const char (&text)[printerquery::kNameBytes])
{
    const int length = int(strnlen(text, sizeof text));
    if (length == 0)
        return {};
    std::wstring out(std::size_t(length), L'\0');
    const int n = MultiByteToWideChar(PrinterCodePage(), 0, text, length, out.data(), length);
    out.resize(std::size_t(std::max(n, 0)));
    return out;
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

constexpr std::int16_t kFeatures[] = {f::kMemory.id,           f::kDiskCapacity.id, f::kCheck6750.id,
                                      f::kInstalledSources.id, f::kInstalledOutputs.id, f::kDuplexUnit.id,
                                      f::kOnOff6258.id,        f::kOnOff6259.id};
constexpr int kLocked[] = {IDC_MEMORY_LABEL,  IDC_MEMORY,    IDC_MEMORY_SPIN,      IDC_DEVICE_DISK,
                           IDC_DEVICE_STORAGE, IDC_UPDATE_FROM_PRINTER, IDC_DEFAULTS, IDC_AVAILABLE_LABEL,
                           IDC_AVAILABLE,     IDC_INSTALLED_LABEL, IDC_INSTALLED, IDC_INSTALL_TAB,
                           IDC_INSTALL_UNDER_TAB, IDC_REMOVE_TAB};
const pages::HelpPair kHelp[] = {{IDC_MEMORY, 2001},     {IDC_MEMORY_SPIN, 2001},    {IDC_DEVICE_DISK, 2002},
                                 {IDC_DEVICE_STORAGE, 2003}, {IDC_UPDATE_FROM_PRINTER, 2004}, {IDC_AVAILABLE, 2005},
                                 {IDC_INSTALLED, 2006},  {IDC_INSTALL_TAB, 2007},    {IDC_INSTALL_UNDER_TAB, 2008},
                                 {IDC_REMOVE_TAB, 2009}, {IDC_DEFAULTS, 2010},       {IDC_PRINTER_PICTURE, pages::kNoHelp},
                                 {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, false};

class DevicePage : public pages::Page {
public:
    DevicePage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}

    void Init() override
    {
        SheetContext& c = Context();
        const std::span<const std::uint8_t> working(c.workingDevmode, devmode::kSize);
        inputs_ = LoadOptions(c.module, kInputOptionsType, devmode::Get(working, devmode::kInputOptionsNumber));
        outputs_ = LoadOptions(c.module, kOutputOptionsType, devmode::Get(working, devmode::kOutputOptionsNumber));
        picture_ = c.pictureLibrary && c.paintPrinter && c.managePalette;
        if (picture_)
            SendDlgItemMessageW(Window(), IDC_PRINTER_PICTURE, controls::printer::kContext, 0, LPARAM(&c));
        LoadNames();
        SendDlgItemMessageW(Window(), IDC_MEMORY, EM_LIMITTEXT, kMemoryChars, 0);
        AddTabs();
        if (c.printerNameA && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, c.printerNameA,
                                             int(strnlen(c.printerNameA, sizeof kBrandPrefix - 1)), kBrandPrefix,
                                             int(sizeof kBrandPrefix - 1)) == CSTR_EQUAL) {
            const HWND brand = Control(IDC_BRAND_PICTURE);
            SendMessageW(brand, controls::bitmap::kTransparent, 0, LPARAM(kBrandKey));
            SendMessageW(brand, controls::bitmap::kLoad, 0, LPARAM(MAKEINTRESOURCEW(IDB_BRAND)));
            SendMessageW(brand, controls::bitmap::kNaturalSize, 0, 1);
        } else {
            Show(IDC_BRAND_PICTURE, false);  // another brand's printer: no empty frame
        }
    }

    void Fill() override
    {
        // The printer picture shows no tray or bin while the options are edited.
        if (!picturesSaved_) {
            savedPictures_ = Context().printerConfig[kPictureWord];
            Context().printerConfig[kPictureWord] = 0;
            picturesSaved_ = true;
            RepaintPicture();
            // The page became active: can the printer be asked?
            updateAvailable_ = QueryAvailable();
        }
        ShowMemory();
        SetCheck(IDC_DEVICE_DISK, Entry(f::kDiskCapacity.id).Current() != 0);
        SetCheck(IDC_DEVICE_STORAGE, Entry(f::kCheck6750.id).Current() != 0);
        FillLists();
    }

    void UpdateStates() override
    {
        Enable(IDC_UPDATE_FROM_PRINTER, updateAvailable_ && !querying_);
        UpdateTabs();
    }

    bool Validate() override
    {
        RestorePictures();
        return true;
    }
    void BeforeApply(bool) override { RestorePictures(); }

    bool ChangedBeyondEntries() const override
    {
        const SheetContext& c = Context();
        for (std::size_t i = 0; i < std::size(c.printerConfig); ++i)
            if (i != kPictureWord && c.printerConfig[i] != c.savedPrinterConfig[i])
                return true;
        return false;
    }

    void RestoreOwnDefaults() override
    {
        SheetContext& c = Context();
        for (std::size_t i = 0; i < std::size(c.printerConfig); ++i)
            if (i != kPictureWord)
                c.printerConfig[i] = c.defaultPrinterConfig[i];
        RepaintPicture();
    }

    bool Command(int id, int code, HWND) override
    {
        switch (id) {
        case IDC_MEMORY:
            if (code == EN_KILLFOCUS)
                MemoryTyped();
            return true;
        case IDC_DEVICE_DISK:
        case IDC_DEVICE_STORAGE:
            if (code == BN_CLICKED)
                Store(id == IDC_DEVICE_DISK ? f::kDiskCapacity.id : f::kCheck6750.id,
                      Checked(id) ? 1 : 0, -1);
            return true;
        case IDC_AVAILABLE:
        case IDC_INSTALLED:
            if (code == LBN_SELCHANGE || code == LBN_SELCANCEL)
                UpdateTabs();
            if (code == LBN_DBLCLK)
                Move(id == IDC_AVAILABLE ? IDC_INSTALL_TAB : IDC_REMOVE_TAB);
            return true;
        case IDC_UPDATE_FROM_PRINTER:
            if (code == BN_CLICKED)
                UpdateFromPrinter();
            return true;
        case IDC_INSTALL_TAB:
        case IDC_INSTALL_UNDER_TAB:
        case IDC_REMOVE_TAB:
            if (code == BN_CLICKED)
                Move(id);
            return true;
        default:
            return false;
        }
    }

    bool Scroll(HWND bar, int code, int) override
    {
        if (bar != Control(IDC_MEMORY_SPIN) || code > SB_BOTTOM)
            return false;
        const pages::EntryView memory = Entry(f::kMemory.id);
        int v = memory.Current();
        switch (code) {
        case SB_LINEUP: v += 1; break;
        case SB_LINEDOWN: v -= 1; break;
        case SB_PAGEUP: v += 10; break;
        case SB_PAGEDOWN: v -= 10; break;
        case SB_TOP: v = memory.Maximum(); break;
        case SB_BOTTOM: v = memory.Minimum(); break;
        default: return true;
        }
        StoreMemory(v);
        return true;
    }

    bool Message(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override
    {
        if (message != WM_DRAWITEM)
            return false;
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item || (item->CtlID != IDC_INSTALL_TAB && item->CtlID != IDC_INSTALL_UNDER_TAB &&
                      item->CtlID != IDC_REMOVE_TAB))
            return false;
        DrawTabButton(*item);
        result = TRUE;
        return true;
    }

private:
    // ---- Names -------------------------------------------------------------------------------

    void LoadNames()
    {
        const std::uint16_t m = Context().modelFamily;
        auto pick = [m](std::initializer_list<std::pair<std::initializer_list<std::uint16_t>, UINT>> rules, UINT other) {
            for (const auto& [models, id] : rules)
                if (Contains({models.begin(), models.size()}, m))
                    return id;
            return other;
        };
        kindNames_[kFirstTray] = Name(pick({{{12}, IDS_OPTION_TRAY_A_250}, {{25, 31, 51, 52, 65, 66}, IDS_OPTION_TRAY_A_550}},
                                           IDS_OPTION_TRAY_A));
        kindNames_[kSecondTray] = Name(pick({{{2}, IDS_OPTION_TRAY_B_250}, {{14}, IDS_OPTION_TRAY_LARGE},
                                             {{21}, IDS_OPTION_TRAY_B_550}},
                                            IDS_OPTION_TRAY_B));
        kindNames_[kThirdTray] = Name(pick({{{10}, IDS_OPTION_TRAY_C_250}, {{16, 33}, IDS_OPTION_TRAY_LARGE}},
                                           IDS_OPTION_TRAY_C));
        kindNames_[kFeederA] = Name(IDS_OPTION_FEEDER_A);
        kindNames_[kFeederB] = Name(IDS_OPTION_FEEDER_B);
        kindNames_[kOutput] = Name(pick({{{10, 14, 19, 33, 34, 48}, IDS_OPTION_OUTPUT_5}}, IDS_OPTION_OUTPUT));
        kindNames_[kEnvelope] = Name(pick({{{10, 14}, IDS_OPTION_ENVELOPE_75},
                                           {{11, 16, 18, 25, 31, 52, 66}, IDS_OPTION_ENVELOPE_TRAY}},
                                          IDS_OPTION_ENVELOPE));
        baseName_ = Name(IDS_OPTION_BASE);
        duplexName_ = Name(IDS_OPTION_DUPLEX);
        networkName_ = Name(IDS_OPTION_NETWORK);
    }
    static std::wstring Name(UINT id) { return String(id).substr(0, kOptionNameChars); }

    std::wstring OptionName(const Option& o) const
    {
        return o.kind < kindNames_.size() ? kindNames_[o.kind] : std::wstring();
    }

    // ---- Memory ------------------------------------------------------------------------------

    void ShowMemory()
    {
        const pages::EntryView memory = Entry(f::kMemory.id);
        SetText(IDC_MEMORY, std::to_wstring(memory.Current()));
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL, memory.Minimum(), memory.Maximum(), 0,
                        memory.Current(), 0};
        SetScrollInfo(Control(IDC_MEMORY_SPIN), SB_CTL, &info, TRUE);
    }

    void MemoryTyped()
    {
        const std::wstring typed = Text(IDC_MEMORY);
        const bool digits = !typed.empty() && typed.size() <= kMemoryChars &&
                            std::all_of(typed.begin(), typed.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; });
        if (!digits) {
            const std::wstring label = text::WithoutMnemonics<wchar_t>(Text(IDC_MEMORY_LABEL));
            MessageBoxW(Window(), Format(IDS_NOT_A_NUMBER, label).c_str(), String(IDS_MESSAGE_CAPTION).c_str(),
                        MB_OK | MB_ICONWARNING);
            ShowMemory();
            return;
        }
        StoreMemory(_wtoi(typed.c_str()));
    }

    void StoreMemory(int v)
    {
        const pages::EntryView memory = Entry(f::kMemory.id);
        v = std::clamp(v, int(memory.Minimum()), std::max(int(memory.Minimum()), int(memory.Maximum())));
        Store(f::kMemory.id, std::int16_t(v), -1);
        ShowMemory();  // the field shows the clamped value
    }

    // ---- Lists -------------------------------------------------------------------------------

    std::uint16_t InputWord() const { return std::uint16_t(Entry(f::kInstalledSources.id).Current()); }
    std::uint16_t OutputWord() const { return std::uint16_t(Entry(f::kInstalledOutputs.id).Current()); }
    bool Installed(const OptionTable& t, int i, std::uint16_t word) const { return (t.options[i].mask & word) != 0; }
    std::uint16_t DuplexCapability() const { return std::uint16_t(Entry(f::kPaperHandlingFlags.id).Current()); }
    bool DuplexUnitOffered() const
    {
        return Entry(f::kDuplexUnit.id).Exists() && (DuplexCapability() & (kDuplexUnitA | kDuplexUnitB));
    }
    bool DuplexUnitInstalled() const { return (Entry(f::kDuplexUnit.id).Current() & kDuplexKindMask) != 0; }
    bool NetworkOffered() const { return Entry(f::kOnOff6259.id).Exists() && (!inputs_.options.empty() || !outputs_.options.empty()); }

    // Input options in the order they stack: those the stack word names first, then the rest.
    std::vector<int> StackedInputs() const
    {
        std::vector<int> order;
        const std::uint32_t stack = Context().printerConfig[kStackWord];
        for (int slot = 0; slot < kStackSlots; ++slot) {
            const int index = int((stack >> (4 * slot)) & 0xF) - 1;
            if (index >= 0 && std::size_t(index) < inputs_.options.size() && Installed(inputs_, index, InputWord()) &&
                std::find(order.begin(), order.end(), index) == order.end())
                order.push_back(index);
        }
        for (int i = 0; i < int(inputs_.options.size()); ++i)
            if (Installed(inputs_, i, InputWord()) && std::find(order.begin(), order.end(), i) == order.end())
                order.push_back(i);
        return order;
    }
    void StoreStack(const std::vector<int>& order)
    {
        std::uint32_t stack = 0;
        for (std::size_t slot = 0; slot < order.size() && slot < kStackSlots; ++slot)
            stack |= std::uint32_t(order[slot] + 1) << (4 * slot);
        Context().printerConfig[kStackWord] = stack;
    }

    void AddItem(int list, const std::wstring& text, LPARAM data)
    {
        const LRESULT at = SendDlgItemMessageW(Window(), list, LB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (at >= 0)
            SendDlgItemMessageW(Window(), list, LB_SETITEMDATA, WPARAM(at), data);
    }
    std::optional<LPARAM> SelectedData(int list) const
    {
        const LRESULT at = SendDlgItemMessageW(Window(), list, LB_GETCURSEL, 0, 0);
        if (at < 0)
            return std::nullopt;
        return LPARAM(SendDlgItemMessageW(Window(), list, LB_GETITEMDATA, WPARAM(at), 0));
    }
    void SelectData(int list, LPARAM data)
    {
        const LRESULT n = SendDlgItemMessageW(Window(), list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i)
            if (LPARAM(SendDlgItemMessageW(Window(), list, LB_GETITEMDATA, WPARAM(i), 0)) == data) {
                SendDlgItemMessageW(Window(), list, LB_SETCURSEL, WPARAM(i), 0);
                return;
            }
    }

    void FillLists()
    {
        if (!Control(IDC_AVAILABLE))
            return;
        const auto keepAvailable = SelectedData(IDC_AVAILABLE);
        const auto keepInstalled = SelectedData(IDC_INSTALLED);
        for (int list : {IDC_AVAILABLE, IDC_INSTALLED}) {
            SendDlgItemMessageW(Window(), list, WM_SETREDRAW, FALSE, 0);
            SendDlgItemMessageW(Window(), list, LB_RESETCONTENT, 0, 0);
        }
        if (picture_)
            AddItem(IDC_INSTALLED, baseName_, ItemData(kBase));
        for (int i : StackedInputs())
            AddItem(IDC_INSTALLED, OptionName(inputs_.options[i]), ItemData(kInput, i));
        for (int i = 0; i < int(inputs_.options.size()); ++i)
            if (!Installed(inputs_, i, InputWord()))
                AddItem(IDC_AVAILABLE, OptionName(inputs_.options[i]), ItemData(kInput, i));
        for (int i = 0; i < int(outputs_.options.size()); ++i)
            AddItem(Installed(outputs_, i, OutputWord()) ? IDC_INSTALLED : IDC_AVAILABLE,
                    OptionName(outputs_.options[i]), ItemData(kOutputSource, i));
        if (DuplexUnitOffered())
            AddItem(DuplexUnitInstalled() ? IDC_INSTALLED : IDC_AVAILABLE, duplexName_, ItemData(kDuplexUnit));
        if (NetworkOffered())
            AddItem(Entry(f::kOnOff6259.id).Current() ? IDC_INSTALLED : IDC_AVAILABLE, networkName_,
                    ItemData(kNetwork));
        if (keepAvailable)
            SelectData(IDC_AVAILABLE, *keepAvailable);
        if (keepInstalled)
            SelectData(IDC_INSTALLED, *keepInstalled);
        for (int list : {IDC_AVAILABLE, IDC_INSTALLED}) {
            SendDlgItemMessageW(Window(), list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(Control(list), nullptr, TRUE);
        }
    }

    // ---- Tabs --------------------------------------------------------------------------------

    void AddTabs()
    {
        const HWND strip = Control(IDC_OPTION_TABS);
        if (!strip)
            return;
        SendMessageW(strip, controls::tab::kAdd, IDC_INSTALL_TAB, 0);
        if (picture_)
            SendMessageW(strip, controls::tab::kAdd, IDC_INSTALL_UNDER_TAB, 0);
        else
            Show(IDC_INSTALL_UNDER_TAB, false);
        SendMessageW(strip, controls::tab::kAdd, IDC_REMOVE_TAB, 0);
        if (!picture_)
            Show(IDC_PRINTER_PICTURE, false);
    }

    bool Stackable(LPARAM item) const
    {
        const Source s = SourceOf(item);
        if (s == kBase)
            return true;
        if (s != kInput || std::size_t(IndexOf(item)) >= inputs_.options.size())
            return false;
        const std::uint16_t kind = inputs_.options[IndexOf(item)].kind;
        if (kind >= kFirstTray && kind <= kThirdTray)
            return true;
        return (kind == kFeederA || kind == kEnvelope) && Contains(kFeederStackModels, Context().modelFamily);
    }

    void EnableTab(int id, bool on)
    {
        Enable(id, on);
        SendDlgItemMessageW(Window(), IDC_OPTION_TABS, controls::tab::kEnable, WPARAM(id), on ? 1 : 0);
    }

    void UpdateTabs()
    {
        if (!Control(IDC_AVAILABLE))
            return;
        const auto available = SelectedData(IDC_AVAILABLE);
        const auto installed = SelectedData(IDC_INSTALLED);
        const bool may = MayChange();
        EnableTab(IDC_INSTALL_TAB, may && available.has_value());
        EnableTab(IDC_REMOVE_TAB, may && installed && SourceOf(*installed) != kBase);
        EnableTab(IDC_INSTALL_UNDER_TAB, may && picture_ && available && installed &&
                                             Context().modelFamily != kNoStackModel && SourceOf(*available) == kInput &&
                                             Stackable(*available) && Stackable(*installed));
    }

    void DrawTabButton(const DRAWITEMSTRUCT& item)
    {
        RECT r = item.rcItem;
        FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
        wchar_t label[64] = {};
        GetWindowTextW(item.hwndItem, label, int(std::size(label)));
        const bool disabled = (item.itemState & ODS_DISABLED) != 0;
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (item.itemState & ODS_NOACCEL)
            format |= DT_HIDEPREFIX;
        DrawTextW(item.hDC, label, -1, &r, format);
        SendDlgItemMessageW(Window(), IDC_OPTION_TABS,
                            (item.itemState & ODS_FOCUS) ? controls::tab::kShowFocus : controls::tab::kHideFocus,
                            WPARAM(item.CtlID), 0);
    }

    // ---- Install and remove ------------------------------------------------------------------

    void Move(int tab)
    {
        if (!MayChange())
            return;
        const int from = tab == IDC_REMOVE_TAB ? IDC_INSTALLED : IDC_AVAILABLE;
        const auto item = SelectedData(from);
        if (!item || (tab == IDC_INSTALL_UNDER_TAB && !IsWindowEnabled(Control(tab))))
            return;
        const bool install = tab != IDC_REMOVE_TAB;
        SheetContext& c = Context();
        const int index = IndexOf(*item);
        switch (SourceOf(*item)) {
        case kInput: {
            if (std::size_t(index) >= inputs_.options.size())
                return;
            const std::uint16_t mask = inputs_.options[index].mask;
            std::vector<int> order = StackedInputs();
            order.erase(std::remove(order.begin(), order.end(), index), order.end());
            std::uint16_t word = InputWord();
            if (install) {
                word |= mask;
                std::size_t at = order.size();
                if (tab == IDC_INSTALL_UNDER_TAB) {
                    // Directly under the selected item: the printer itself is above every tray.
                    const auto under = SelectedData(IDC_INSTALLED);
                    if (under && SourceOf(*under) == kBase)
                        at = 0;
                    else if (under)
                        at = std::size_t(std::find(order.begin(), order.end(), IndexOf(*under)) - order.begin()) + 1;
                    at = std::min(at, order.size());
                }
                order.insert(order.begin() + std::ptrdiff_t(at), index);
            } else {
                word &= std::uint16_t(~mask);
                c.printerConfig[kTraySizesWord] &= ~(3u << (2 * (index % 16)));
            }
            SetWord(f::kInstalledSources.id, word, kInputWord);
            StoreStack(order);
            break;
        }
        case kOutputSource: {
            if (std::size_t(index) >= outputs_.options.size())
                return;
            const std::uint16_t mask = outputs_.options[index].mask;
            SetWord(f::kInstalledOutputs.id, install ? OutputWord() | mask : OutputWord() & std::uint16_t(~mask),
                    kOutputWord);
            break;
        }
        case kDuplexUnit:
            Entry(f::kDuplexUnit.id).SetCurrent(install ? std::int16_t(DuplexKind()) : 0);
            break;
        case kNetwork:
            Entry(f::kOnOff6259.id).SetCurrent(install ? 1 : 0);
            break;
        default:
            return;
        }
        for (std::int16_t id : kFeatures)
            if (pages::EntryView e = Entry(id); e.Constrained() && !e.SameValue(SavedEntry(id)))
                e.MarkChanged();
        RunRefresh();
        RepaintPicture();
        DetectChanges();
        SetFocus(Control(from));
    }

    // The duplex kind an installed unit gives: the capability's own kind, else 1 for a unit of the
    // first sort with 2 added for the second.
    std::uint16_t DuplexKind() const
    {
        const std::uint16_t caps = DuplexCapability();
        std::uint16_t kind = caps & kDuplexKindMask;
        if (kind == 0)
            kind = std::uint16_t(((caps & kDuplexUnitA) ? 1 : 0) + ((caps & kDuplexUnitB) ? 2 : 0));
        return kind;
    }

    void SetWord(int id, std::uint16_t word, std::size_t blockWord)
    {
        Entry(id).SetCurrent(std::int16_t(word));
        Context().printerConfig[blockWord] = word;
    }

    // ---- Printer picture ---------------------------------------------------------------------

    void RepaintPicture()
    {
        if (picture_)
            InvalidateRect(Control(IDC_PRINTER_PICTURE), nullptr, TRUE);
    }
    void RestorePictures()
    {
        if (!picturesSaved_)
            return;
        Context().printerConfig[kPictureWord] = savedPictures_;
        picturesSaved_ = false;
    }

    // ---- Update from printer -----------------------------------------------------------------

    bool QueryAvailable() const
    {
        if (!CommunicationThere())
            return false;
        const std::string port = FirstPort(Context().printer);
        return !port.empty() && QueryLibrary().Ask(Context(), port, printerquery::kProbeRequest, [](const auto&) {});
    }

    void UpdateFromPrinter()
    {
        if (!updateAvailable_ || querying_ || !MayChange())
            return;
        if (MessageBoxW(Window(), String(IDS_UPDATE_QUESTION).c_str(), String(IDS_UPDATE_CAPTION).c_str(),
                        MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
        querying_ = true;
        Enable(IDC_UPDATE_FROM_PRINTER, false);
        const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
        const std::string port = CommunicationThere() ? FirstPort(Context().printer) : std::string();
        const bool answered = !port.empty() && QueryLibrary().Ask(Context(), port, printerquery::kOptionsRequest,
                                                                  [this](const printerquery::Reply& r) { TakeAnswer(r); });
        SetCursor(cursor);
        querying_ = false;
        if (!answered)
            MessageBoxW(Window(), String(IDS_UPDATE_FAILED).c_str(), String(IDS_UPDATE_CAPTION).c_str(),
                        MB_OK | MB_ICONWARNING);
        else
            for (std::int16_t id : kFeatures)
                if (pages::EntryView e = Entry(id); e.Constrained() && !e.SameValue(SavedEntry(id)))
                    e.MarkChanged();
        RunRefresh();
        RepaintPicture();
        DetectChanges();
    }

    void TakeAnswer(const printerquery::Reply& a)
    {
        SheetContext& c = Context();
        std::fill(std::begin(c.printerConfig), std::end(c.printerConfig), 0u);
        Entry(f::kOnOff6258.id).SetCurrent((a.flags & printerquery::kFirstOption) ? 1 : 0);
        Entry(f::kOnOff6259.id).SetCurrent((a.flags & printerquery::kSecondOption) ? 1 : 0);
        if (a.flags & printerquery::kDuplexUnit)
            Entry(f::kDuplexUnit.id).SetCurrent(std::int16_t(DuplexKind()));
        else if (!(DuplexCapability() & (kDuplexUnitA | kDuplexUnitB)))
            Entry(f::kDuplexUnit.id).SetCurrent(0);
        const pages::EntryView memory = Entry(f::kMemory.id);
        Entry(f::kMemory.id).SetCurrent(std::int16_t(std::clamp<long long>(a.memory, memory.Minimum(), memory.Maximum())));

        ClearNames("Ptype");
        for (DWORD i = 0; i < std::min<DWORD>(a.paperTypeCount, printerquery::kMaxPaperTypes); ++i)
            if (const std::wstring name = FromPrinter(a.paperTypes[i].name); !name.empty())
                AddName("Ptype", a.paperTypes[i].code, name);

        const DWORD trays = std::min<DWORD>(a.trayCount, printerquery::kMaxTrays);
        std::uint16_t inputs = inputs_.defaultMask;
        std::vector<int> order;
        for (int i = 0; i < int(inputs_.options.size()); ++i) {
            for (DWORD t = 0; t < trays; ++t) {
                if (!SameName(OptionName(inputs_.options[i]), FromPrinter(a.trays[t].name)))
                    continue;
                inputs |= inputs_.options[i].mask;
                order.push_back(i);
                const std::uint32_t size = a.trays[t].sheets > 550 ? 3 : a.trays[t].sheets > 250 ? 2 : 1;
                c.printerConfig[kTraySizesWord] |= size << (2 * (i % 16));
                break;
            }
        }
        SetWord(f::kInstalledSources.id, inputs, kInputWord);
        StoreStack(order);

        ClearNames("Bin");
        std::uint16_t outputs = 0;
        std::int16_t number = 1;
        for (DWORD b = 0; b < std::min<DWORD>(a.binCount, printerquery::kMaxBins); ++b) {
            std::wstring name = FromPrinter(a.bins[b].name);
            if (name.empty() && a.bins[b].code == kJobSeparatorBin)
                name = DriverString(kJobSeparatorString);
            AddName("Bin", number++, name);
            for (int i = 0; i < int(outputs_.options.size()); ++i)
                if (SameName(OptionName(outputs_.options[i]), name))
                    outputs |= outputs_.options[i].mask;
        }
        SetWord(f::kInstalledOutputs.id, outputs, kOutputWord);
        CallBack(kCbTrayWord, nullptr);
        savedPictures_ = c.printerConfig[kPictureWord];
        c.printerConfig[kPictureWord] = 0;
        picturesSaved_ = true;
    }

    std::wstring DriverString(UINT id) const
    {
        const wchar_t* text = nullptr;
        const int n = Context().module ? LoadStringW(Context().module, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
        return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
    }
    void ClearNames(const char* list) { CallBack(kCbClearList, const_cast<char*>(list)); }
    void AddName(const char* list, std::int16_t code, const std::wstring& name)
    {
        char narrow[kRecordNameBytes] = {};
        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, narrow, int(sizeof narrow) - 1, nullptr, nullptr);
        NamedRecord record{list, code, 0, narrow, nullptr, 0};
        CallBack(kCbAddNamedRecord, &record);
    }

    OptionTable inputs_;
    OptionTable outputs_;
    std::array<std::wstring, 8> kindNames_;
    std::wstring baseName_, duplexName_, networkName_;
    bool picture_ = false;
    bool picturesSaved_ = false;
    std::uint32_t savedPictures_ = 0;
    bool updateAvailable_ = false;
    bool querying_ = false;
};

}  // namespace

extern "C" INT_PTR CALLBACK DeviceDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<DevicePage>(window, message, wParam, lParam);
}
