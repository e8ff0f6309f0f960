// The Paper page, second of the document sheet: paper size, source or type, the output size the
// job is scaled to, the output bin and three paper-handling options, with a picture of the paper
// in its orientation and, when the job is scaled, of the paper it is printed on.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "Drawing.h"
#include "NameTables.h"
#include "Page.h"
#include "PagePictures.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "Summary.h"

namespace {

namespace f = feature;

constexpr std::size_t kPrinterNameBytes = 64;
constexpr char kBrandPrefix[] = "Qelbrin";
constexpr LPARAM kNoChange = -1;

// Paper-handling flags: one selector shown at a time.
constexpr int kOneSelector = 0x08;
constexpr std::size_t kMaxBins = 17;
constexpr std::size_t kHandlingNames = 3;

// Installed output options that show the handling options.
constexpr int kHandlingAlways = 0x20;
constexpr int kHandlingByModel = 0x10;
constexpr int kHandlingUnits = 0x3800 | 0x80;
constexpr std::uint16_t kModelWithOption3 = 14;

// The printer configuration word with the tray (low half) and bin (high half) pictures, and the
// one with the picture flags.
constexpr std::size_t kPictureWord = 5;
constexpr std::size_t kPictureFlagsWord = 6;
constexpr std::uint32_t kLowerTrayFlag = 0x08;

constexpr std::int16_t kFeatures[] = {f::kPaperTypes.id,       f::kPaperSource.id,     f::kPaperSize.id,
                                      f::kOutputSize.id,       f::kHandlingOption1.id, f::kSelectBy.id,
                                      f::kHandlingOption2.id,  f::kOutputBin.id,       f::kHandlingOption3.id};
constexpr int kLocked[] = {IDC_PAPER_TYPE_LABEL, IDC_PAPER_TYPE,        IDC_PAPER_SIZE_LABEL, IDC_PAPER_SIZE,
                           IDC_OUTPUT_SIZE_LABEL, IDC_OUTPUT_SIZE,      IDC_PAPER_SOURCE_LABEL, IDC_PAPER_SOURCE,
                           IDC_OUTPUT_BIN_LABEL, IDC_OUTPUT_BIN,        IDC_SELECT_BY_TYPE,   IDC_SELECT_BY_SOURCE,
                           IDC_DEFAULTS,         IDC_HANDLING1_LABEL,   IDC_HANDLING1,        IDC_HANDLING2_LABEL,
                           IDC_HANDLING2,        IDC_HANDLING3_LABEL,   IDC_HANDLING3,        IDC_SELECT_BY_GROUP};
const pages::HelpPair kHelp[] = {
    {IDC_PAPER_SIZE_LABEL, 1100}, {IDC_PAPER_SIZE, 1100},      {IDC_PAPER_TYPE_LABEL, 1102},
    {IDC_PAPER_TYPE, 1102},       {IDC_PAPER_SOURCE_LABEL, 1101}, {IDC_PAPER_SOURCE, 1101},
    {IDC_OUTPUT_SIZE_LABEL, 1150}, {IDC_OUTPUT_SIZE, 1150},    {IDC_DEFAULTS, 1011},
    {IDC_SELECT_BY_GROUP, 1103},  {IDC_SELECT_BY_TYPE, 1103},  {IDC_SELECT_BY_SOURCE, 1103},
    {IDC_OUTPUT_BIN_LABEL, 1107}, {IDC_OUTPUT_BIN, 1107},      {IDC_HANDLING1_LABEL, 1104},
    {IDC_HANDLING1, 1104},        {IDC_HANDLING1_NOTE, 1104},  {IDC_HANDLING2_LABEL, 1112},
    {IDC_HANDLING2, 1112},        {IDC_OUTPUT_BIN_LABEL, 1105}, {IDC_OUTPUT_BIN, 1105},
    {IDC_FINISHING_GROUP, 1123},  {IDC_OUTPUT_GROUP, 1108},    {IDC_HANDLING3_LABEL, 1113},
    {IDC_HANDLING3, 1113},        {IDC_PAPER_PICTURE, pages::kNoHelp}, {IDC_OUTPUT_PICTURE, pages::kNoHelp},
    {IDC_OUTPUT_ARROW, pages::kNoHelp}, {IDC_PAPER_PICTURE_LABEL, pages::kNoHelp},
    {IDC_OUTPUT_PICTURE_LABEL, pages::kNoHelp}, {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, /*asksForSummary=*/true};

constexpr int kHandlingControls[] = {IDC_FINISHING_GROUP, IDC_HANDLING1_LABEL, IDC_HANDLING1, IDC_HANDLING1_NOTE,
                                     IDC_HANDLING2_LABEL, IDC_HANDLING2,       IDC_HANDLING3_LABEL, IDC_HANDLING3};

// Handling option names: option 1 by name index, options 2 and 3 by value.
constexpr std::array<UINT, 8> kHandling1Names = {IDS_PRINTER_DEFAULT, IDS_NONE,             IDS_STAPLE_TOP_LEFT,
                                                 IDS_STAPLE_TOP_RIGHT, IDS_STAPLE_TWO_LEFT, IDS_STAPLE_TWO_TOP,
                                                 IDS_STAPLE_TWO_RIGHT, IDS_STAPLE_SADDLE};
constexpr std::array<UINT, kHandlingNames> kHandling2Names = {IDS_PRINTER_DEFAULT, IDS_OFF, IDS_ON};
constexpr std::array<UINT, kHandlingNames> kHandling3Names = {IDS_PRINTER_DEFAULT, IDS_OFF, IDS_PUNCH_TWO_HOLES};

// Bin names by name index, with the key of the user's name for the bin (0: none).
struct BinName {
    UINT id;
    SHORT key;
};
constexpr std::size_t kBinNames = 20;
constexpr std::array<BinName, kBinNames> MakeBinNames()
{
    std::array<BinName, kBinNames> names{};
    names[0] = {IDS_PRINTER_DEFAULT, 0};
    names[1] = {IDS_BIN_STANDARD, 0};
    names[2] = {IDS_BIN_FACE_UP, 0};
    for (int i = 0; i < 16; ++i)
        names[std::size_t(3 + i)] = {UINT(IDS_BIN_MAILBOX_1 + i), SHORT(1 + i)};
    names[19] = {IDS_BIN_JOB_SEPARATOR, 2};
    return names;
}
constexpr std::array<BinName, kBinNames> kBinNameTable = MakeBinNames();
static_assert(kBinNameTable[18].id == IDS_BIN_MAILBOX_16);

// Paper pictures by form code, landscape first and portrait the next bitmap.
struct PaperPicture {
    int code;
    UINT landscape;
};
constexpr PaperPicture kPaperPictures[] = {
    {DMPAPER_LETTER, IDB_PAPER_LETTER_LANDSCAPE},       {DMPAPER_LEGAL, IDB_PAPER_LEGAL_LANDSCAPE},
    {DMPAPER_EXECUTIVE, IDB_PAPER_EXECUTIVE_LANDSCAPE}, {DMPAPER_A4, IDB_PAPER_A4_LANDSCAPE},
    {DMPAPER_A5, IDB_PAPER_A5_LANDSCAPE},               {DMPAPER_B5, IDB_PAPER_B5_LANDSCAPE},
    {DMPAPER_ENV_9, IDB_PAPER_ENV_9_LANDSCAPE},         {DMPAPER_ENV_10, IDB_PAPER_ENV_10_LANDSCAPE},
    {DMPAPER_ENV_DL, IDB_PAPER_ENV_DL_LANDSCAPE},       {DMPAPER_ENV_C5, IDB_PAPER_ENV_C5_LANDSCAPE},
    {DMPAPER_ENV_B5, IDB_PAPER_ENV_B5_LANDSCAPE},       {DMPAPER_ENV_MONARCH, IDB_PAPER_MONARCH_LANDSCAPE},
    {262, IDB_PAPER_OFICIO_LANDSCAPE}};

UINT PaperBitmap(int code, bool portrait)
{
    UINT landscape = IDB_PAPER_OTHER_LANDSCAPE;
    for (const PaperPicture& p : kPaperPictures)
        if (p.code == code)
            landscape = p.landscape;
    return portrait ? landscape + 1 : landscape;
}

bool FamilyIn(std::uint16_t family, std::initializer_list<std::uint16_t> list, std::initializer_list<std::pair<int, int>> ranges = {})
{
    for (std::uint16_t f : list)
        if (f == family)
            return true;
    for (const auto& [from, to] : ranges)
        if (family >= from && family <= to)
            return true;
    return false;
}

// Families whose last user paper type reads as rough paper, and whose lower trays set a flag of
// the printer picture.
bool RoughFamily(std::uint16_t family)
{
    return FamilyIn(family, {28, 29, 63, 64}, {{37, 43}, {53, 59}});
}
bool LowerTrayFamily(std::uint16_t family)
{
    return FamilyIn(family, {28, 29, 46, 47, 63, 64}, {{37, 43}, {53, 59}});
}

// A narrow name of a fixed field: up to its terminator or the field's end, without a lead byte
// that a cut at the field's end left alone under a double-byte code page.
std::wstring Widen(const char* text, std::size_t maxBytes)
{
    const std::size_t bytes = strnlen(text, maxBytes);
    std::size_t n = 0;
    while (n < bytes) {
        const std::size_t step = IsDBCSLeadByte(BYTE(text[n])) ? 2 : 1;
        if (n + step > bytes)
            break;
        n += step;
    }
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    out.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, text, int(n), out.data(), int(n))));
    return out;
}

// The wide text in the ANSI code page, in a buffer of `bytes` with its terminator.
void NarrowInto(const std::wstring& text, char* buffer, std::size_t bytes)
{
    std::memset(buffer, 0, bytes);
    std::wstring t = text;
    while (!t.empty()) {
        const int n = WideCharToMultiByte(CP_ACP, 0, t.data(), int(t.size()), nullptr, 0, nullptr, nullptr);
        if (n > 0 && std::size_t(n) < bytes) {
            WideCharToMultiByte(CP_ACP, 0, t.data(), int(t.size()), buffer, n, nullptr, nullptr);
            return;
        }
        t.pop_back();
        if (!t.empty() && t.back() >= 0xD800 && t.back() <= 0xDBFF)
            t.pop_back();
    }
}

class PaperPage : public pages::Page {
public:
    PaperPage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}
    ~PaperPage() override
    {
        if (brand_)
            DeleteObject(brand_);
    }

    void Init() override
    {
        // The maker's picture belongs to this page alone: another sheet of the process has its own.
        char name[kPrinterNameBytes];
        NarrowInto(Context().printerName ? Context().printerName : L"", name, sizeof name);
        const int n = int(sizeof kBrandPrefix - 1);
        if (strnlen(name, sizeof name) >= std::size_t(n) &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, n, kBrandPrefix, n) == CSTR_EQUAL)
            brand_ = dialogs::LoadDlBitmap(IDB_BRAND);
        for (int id : {IDC_PAPER_PICTURE, IDC_OUTPUT_ARROW, IDC_OUTPUT_PICTURE})
            Show(id, false);
    }

    void Fill() override
    {
        FillSources();
        FillPaperSizes();
        FillPaperTypes();
        FillSelectBy();
        FillOutputSizes();
        FillBins();
        FillHandling1();
        FillHandlingChoice(IDC_HANDLING2, f::kHandlingOption2.id, kHandling2Names);
        FillHandlingChoice(IDC_HANDLING3, f::kHandlingOption3.id, kHandling3Names);
    }

    void UpdateStates() override
    {
        const pages::EntryView selectBy = Entry(f::kSelectBy.id);
        if (Entry(f::kPaperHandlingFlags.id).Current() & kOneSelector) {
            const bool byType = selectBy.Current() == f::kSelectByType;
            for (int id : {IDC_PAPER_TYPE, IDC_PAPER_TYPE_LABEL})
                Show(id, byType);
            for (int id : {IDC_PAPER_SOURCE, IDC_PAPER_SOURCE_LABEL})
                Show(id, !byType);
        }
        for (int id : {IDC_SELECT_BY_GROUP, IDC_SELECT_BY_TYPE, IDC_SELECT_BY_SOURCE})
            Enable(id, bool(selectBy));
        Enable(IDC_PAPER_TYPE, typeChoices_ >= 2);
        Enable(IDC_PAPER_TYPE_LABEL, typeChoices_ >= 2);
        const bool handling = HandlingShown();
        for (int id : kHandlingControls)
            Show(id, handling);
        if (handling || Context().modelFamily == kModelWithOption3)
            for (int id : {IDC_HANDLING3_LABEL, IDC_HANDLING3})
                Show(id, bool(Entry(f::kHandlingOption3.id)));
        for (const auto& [label, combo, id] : {std::tuple{IDC_HANDLING1_LABEL, IDC_HANDLING1, f::kHandlingOption1.id},
                                               std::tuple{IDC_HANDLING2_LABEL, IDC_HANDLING2, f::kHandlingOption2.id}})
            if (!Entry(id)) {
                Show(label, false);
                Show(combo, false);
            }
        if (!Entry(f::kHandlingOption1.id))
            Show(IDC_HANDLING1_NOTE, false);
        // A list with nothing to offer is no choice.
        for (const auto& [label, combo] : {std::pair{IDC_OUTPUT_BIN_LABEL, IDC_OUTPUT_BIN},
                                           std::pair{IDC_OUTPUT_SIZE_LABEL, IDC_OUTPUT_SIZE},
                                           std::pair{IDC_PAPER_SOURCE_LABEL, IDC_PAPER_SOURCE},
                                           std::pair{IDC_PAPER_SIZE_LABEL, IDC_PAPER_SIZE}}) {
            const bool offered = SendDlgItemMessageW(Window(), combo, CB_GETCOUNT, 0, 0) > 0;
            Enable(label, offered);
            Enable(combo, offered);
        }
        Show(IDC_OUTPUT_PICTURE_LABEL, Scaled());
        RepaintPictures();
    }

    bool Command(int id, int code, HWND) override
    {
        const bool combo = id == IDC_PAPER_TYPE || id == IDC_PAPER_SIZE || id == IDC_PAPER_SOURCE ||
                           id == IDC_HANDLING1 || id == IDC_OUTPUT_BIN || id == IDC_HANDLING2 || id == IDC_HANDLING3 ||
                           id == IDC_OUTPUT_SIZE;
        if (combo) {
            if (code == CBN_SELCHANGE)
                ComboChanged(id);
            return code == CBN_SELCHANGE;
        }
        if ((id == IDC_SELECT_BY_TYPE || id == IDC_SELECT_BY_SOURCE) && code == BN_CLICKED) {
            if (Checked(id))
                SelectBy(id == IDC_SELECT_BY_TYPE);
            return true;
        }
        return false;
    }

    bool Message(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) override
    {
        if (pages::PaintMessage(Window(), message, wParam, [this](HDC dc) { Paint(dc); })) {
            result = TRUE;
            return true;
        }
        if (message == WM_DESTROY) {
            summary::Close(&Context());
            return false;
        }
        return false;
    }

private:
    bool HasPrinterPicture() const
    {
        const SheetContext& c = Context();
        return c.pictureLibrary && c.paintPrinter && c.managePalette;
    }

    // ---- Lists -------------------------------------------------------------------------------

    // The papers of a list (CallBackAccess 34): their codes and names.
    std::vector<std::pair<int, std::wstring>> Papers(WORD selector, const pages::EntryView& entry)
    {
        const pages::EntryView mode = Entry(f::kGraphicsMode.id);
        PaperListRequest r{};
        r.size = sizeof r;
        r.mode = mode ? WORD(mode.Current()) : 1;
        r.selector = selector;
        r.entry = entry.Address();
        CallBack(kCbPaperList, &r);
        if (r.count == 0)
            return {};
        const std::size_t capacity = r.count;
        std::vector<std::uint8_t> buffer(capacity * kPaperListEntryBytes);
        r.buffer = buffer.data();
        r.capacity = DWORD(capacity);
        r.count = 0;
        CallBack(kCbPaperList, &r);
        std::vector<std::pair<int, std::wstring>> papers;
        for (std::size_t i = 0; i < r.count && i < capacity; ++i) {
            std::uint16_t code;
            std::memcpy(&code, buffer.data() + 2 * i, 2);
            const auto* name = reinterpret_cast<const char*>(buffer.data() + 2 * capacity + i * kRecordNameBytes);
            papers.emplace_back(code, Widen(name, kRecordNameBytes));
        }
        return papers;
    }

    // The user's name for a value of a named list, else the default.
    std::wstring UserName(const char* list, int number, const std::wstring& fallback)
    {
        char name[kRecordNameBytes];
        NarrowInto(fallback, name, sizeof name);
        NamedLookup lookup{list, SHORT(number), WORD(sizeof name), name, 0};
        CallBack(kCbFindNamedRecord, &lookup);
        name[sizeof name - 1] = '\0';
        if (lookup.replaced && name[0])
            return Widen(name, sizeof name);
        return fallback;
    }

    std::wstring PaperTypeName(int value, int nameIndex)
    {
        UINT id = pages::NameOf(pages::kPaperTypeNames, nameIndex);
        if (id == IDS_TYPE_USER_6 && RoughFamily(Context().modelFamily))
            id = IDS_TYPE_ROUGH;
        return UserName("PType", value, id ? String(id) : std::wstring());
    }

    void FillSources()
    {
        namespace s = f::paper_source;
        const pages::EntryView source = Entry(f::kPaperSource.id);
        ComboClear(IDC_PAPER_SOURCE);
        trayItems_.clear();
        if (!source)
            return;
        const auto installed = std::uint16_t(Entry(f::kInstalledSources.id).Current());
        std::optional<std::int16_t> fallback;
        for (std::size_t i = 0; i < s::kMaxTrays; ++i) {
            const std::size_t tray = s::kTrays + i * s::kTraySize;
            const auto mask = source.Get<std::uint16_t>(tray + s::kTrayMask);
            if (mask == 0 || !source.Bytes(tray, s::kTraySize))
                break;
            if (!(mask & installed))
                continue;
            const auto code = source.Get<std::int16_t>(tray + s::kTrayCode);
            const UINT nameId = dialogs::TrayId(source.Get<std::uint16_t>(tray + s::kTrayNumber));
            const std::wstring name = nameId ? String(nameId) : std::wstring();
            if (name.empty())
                continue;
            const int item = ComboAdd(IDC_PAPER_SOURCE, name, code);
            if (item < 0)
                continue;
            trayItems_.resize(std::max<std::size_t>(trayItems_.size(), std::size_t(item) + 1));
            trayItems_[std::size_t(item)] = nameId;
            if (!fallback || code == f::kAutomaticSource)
                fallback = code;
        }
        if (!ComboSelect(IDC_PAPER_SOURCE, source.Current()) && fallback) {
            Settle(f::kPaperSource.id, *fallback);
            ComboSelect(IDC_PAPER_SOURCE, *fallback);
        }
        if (HasPrinterPicture())
            SetTrayPicture();
    }

    // The tray picture of the selected source's tray name.
    void SetTrayPicture()
    {
        const auto item = SendDlgItemMessageW(Window(), IDC_PAPER_SOURCE, CB_GETCURSEL, 0, 0);
        const UINT name = item >= 0 && std::size_t(item) < trayItems_.size() ? trayItems_[std::size_t(item)] : 0;
        const std::uint16_t family = Context().modelFamily;
        std::uint32_t picture = 0;
        switch (name) {
        case IDS_TRAY_7: picture = 1; break;
        case IDS_TRAY_8: picture = 2; break;
        case IDS_TRAY_9: picture = 3; break;
        case IDS_TRAY_10: picture = 4; break;
        case IDS_TRAY_11: picture = 5; break;
        case IDS_TRAY_4:
        case IDS_TRAY_5:
            picture = family == 35 || family == 62 ? 1 : 6;
            if (LowerTrayFamily(family))
                Context().printerConfig[kPictureFlagsWord] |= kLowerTrayFlag;
            break;
        case IDS_TRAY_MANUAL: picture = 7; break;
        case IDS_TRAY_6: picture = 8; break;
        default: break;
        }
        std::uint32_t& word = Context().printerConfig[kPictureWord];
        word = (word & 0xFFFF0000u) | picture;
    }

    void FillPaperSizes()
    {
        const pages::EntryView paper = Entry(f::kPaperSize.id);
        ComboClear(IDC_PAPER_SIZE);
        if (!paper)
            return;
        for (const auto& [code, name] : Papers(0, paper))
            ComboAdd(IDC_PAPER_SIZE, name, code);
        // A stored paper the list does not offer stays stored.
        if (!ComboSelect(IDC_PAPER_SIZE, std::uint16_t(paper.Current())))
            SendDlgItemMessageW(Window(), IDC_PAPER_SIZE, CB_SETCURSEL, 0, 0);
    }

    // The paper-type group of the current source: its offset in the entry, or nothing.
    std::optional<std::size_t> TypeGroup() const
    {
        namespace t = f::paper_type;
        const pages::EntryView types = Entry(f::kPaperTypes.id);
        const auto source = std::uint16_t(Entry(f::kPaperSource.id).Current());
        for (std::size_t g = 0; g < t::kGroupCount; ++g) {
            const std::size_t group = t::kGroups + g * t::kGroupSize;
            if (!types.Bytes(group, t::kGroupSize))
                break;
            const auto code = types.Get<std::uint16_t>(group + t::kSource);
            if (code == 0)
                break;
            if (code == source)
                return group;
        }
        return std::nullopt;
    }

    void FillPaperTypes()
    {
        namespace t = f::paper_type;
        pages::EntryView types = Entry(f::kPaperTypes.id);
        ComboClear(IDC_PAPER_TYPE);
        typeChoices_ = 0;
        const std::optional<std::size_t> group = types ? TypeGroup() : std::nullopt;
        if (!group)
            return;
        for (std::size_t i = 0; i < t::kMaxTypes; ++i) {
            const std::size_t triple = *group + t::kTypes + i * t::kTypeSize;
            const auto value = types.Get<std::uint16_t>(triple);
            if (value == f::kListEnd || !types.Bytes(triple, t::kTypeSize))
                break;
            if (ComboAdd(IDC_PAPER_TYPE, PaperTypeName(value, types.Get<std::uint16_t>(triple + 2)), value) >= 0)
                ++typeChoices_;
        }
        if (typeChoices_ == 0)
            return;
        if (!ComboSelect(IDC_PAPER_TYPE, types.Get<std::uint16_t>(*group + t::kChosen))) {
            SendDlgItemMessageW(Window(), IDC_PAPER_TYPE, CB_SETCURSEL, 0, 0);
            types.Set<std::uint16_t>(*group + t::kChosen, std::uint16_t(ComboSelection(IDC_PAPER_TYPE).value_or(0)));
        }
        // A single type is no choice: choosing it is never a change.
        if (typeChoices_ < 2)
            SendDlgItemMessageW(Window(), IDC_PAPER_TYPE, CB_SETITEMDATA, 0, kNoChange);
    }

    void FillSelectBy()
    {
        const pages::EntryView selectBy = Entry(f::kSelectBy.id);
        if (!selectBy)
            return;
        CheckRadioButton(Window(), IDC_SELECT_BY_TYPE, IDC_SELECT_BY_SOURCE,
                         selectBy.Current() == f::kSelectByType ? IDC_SELECT_BY_TYPE : IDC_SELECT_BY_SOURCE);
    }

    void FillOutputSizes()
    {
        const pages::EntryView output = Entry(f::kOutputSize.id);
        ComboClear(IDC_OUTPUT_SIZE);
        if (!output)
            return;
        const std::wstring same = String(IDS_SAME_AS_PAPER_SIZE);
        ComboAdd(IDC_OUTPUT_SIZE, same.empty() ? L"Selected Form Size" : same, 0);
        for (const auto& [code, name] : Papers(1, output))
            ComboAdd(IDC_OUTPUT_SIZE, name, code);
        if (ComboSelect(IDC_OUTPUT_SIZE, std::uint16_t(output.Current())))
            return;
        // Not offered: the fall-back paper, or the selected form's size (R23).
        const auto fallback = std::uint16_t(output.Default());
        const bool offered = fallback != 0 && ComboSelect(IDC_OUTPUT_SIZE, fallback);
        Settle(f::kOutputSize.id, offered ? std::int16_t(fallback) : 0);
        ComboSelect(IDC_OUTPUT_SIZE, std::uint16_t(Entry(f::kOutputSize.id).Current()));
    }

    void FillBins()
    {
        namespace l = f::list;
        const pages::EntryView bin = Entry(f::kOutputBin.id);
        ComboClear(IDC_OUTPUT_BIN);
        binItems_.clear();
        if (!bin)
            return;
        const auto installed = std::uint16_t(Entry(f::kInstalledOutputs.id).Current());
        for (std::size_t i = 0; i < kMaxBins; ++i) {
            const std::size_t triple = l::kOptions + i * l::kOptionSize;
            const auto value = bin.Get<std::uint16_t>(triple);
            if (value == f::kListEnd || !bin.Bytes(triple, l::kOptionSize))
                break;
            const auto mask = bin.Get<std::int16_t>(triple + 4);
            if (mask >= 0 && !(std::uint16_t(mask) & installed))
                continue;
            const auto index = bin.Get<std::uint16_t>(triple + 2);
            const BinName name = index < kBinNames ? kBinNameTable[index] : BinName{0, 0};
            const std::wstring own = name.id ? String(name.id) : std::wstring();
            const std::wstring shown = name.key ? UserName("Bin", name.key, own) : own;
            const int item = ComboAdd(IDC_OUTPUT_BIN, shown, value);
            if (item < 0)
                continue;
            binItems_.resize(std::max<std::size_t>(binItems_.size(), std::size_t(item) + 1));
            binItems_[std::size_t(item)] = name.id;
        }
        if (!ComboSelect(IDC_OUTPUT_BIN, std::uint16_t(bin.Current())))
            SendDlgItemMessageW(Window(), IDC_OUTPUT_BIN, CB_SETCURSEL, 0, 0);
        if (HasPrinterPicture())
            SetBinPicture();
    }

    void SetBinPicture()
    {
        const auto item = SendDlgItemMessageW(Window(), IDC_OUTPUT_BIN, CB_GETCURSEL, 0, 0);
        const UINT name = item >= 0 && std::size_t(item) < binItems_.size() ? binItems_[std::size_t(item)] : 0;
        std::uint32_t picture = 0;
        if (name == IDS_BIN_JOB_SEPARATOR)
            picture = 2;
        else if (name >= IDS_BIN_MAILBOX_1 && name <= IDS_BIN_MAILBOX_16)
            picture = name - IDS_BIN_MAILBOX_1 + 1;
        std::uint32_t& word = Context().printerConfig[kPictureWord];
        word = (word & 0xFFFFu) | picture << 16;
    }

    void FillHandling1()
    {
        namespace l = f::list;
        const pages::EntryView option = Entry(f::kHandlingOption1.id);
        ComboClear(IDC_HANDLING1);
        if (!option)
            return;
        for (std::size_t i = 0; i < l::kMaxOptions; ++i) {
            const std::size_t triple = l::kOptions + i * l::kOptionSize;
            const auto value = option.Get<std::uint16_t>(triple);
            if (value == f::kListEnd || !option.Bytes(triple, l::kOptionSize))
                break;
            const auto index = option.Get<std::uint16_t>(triple + 2);
            const UINT id = index < kHandling1Names.size() ? kHandling1Names[index] : 0;
            if (id)
                ComboAdd(IDC_HANDLING1, String(id), value);
        }
        if (ComboSelect(IDC_HANDLING1, std::uint16_t(option.Current())))
            return;
        // Not offered: the default, or the first choice when the default is not offered either.
        std::optional<LPARAM> v;
        if (ComboSelect(IDC_HANDLING1, std::uint16_t(option.Default())))
            v = std::uint16_t(option.Default());
        else if (SendDlgItemMessageW(Window(), IDC_HANDLING1, CB_SETCURSEL, 0, 0) >= 0)
            v = ComboSelection(IDC_HANDLING1);
        if (v)
            Settle(f::kHandlingOption1.id, std::int16_t(*v));
    }

    void FillHandlingChoice(int combo, int id, const std::array<UINT, kHandlingNames>& names)
    {
        const pages::EntryView option = Entry(id);
        ComboClear(combo);
        if (!option)
            return;
        for (std::size_t v = 0; v < names.size(); ++v) {
            const std::wstring name = String(names[v]);
            if (!name.empty())
                ComboAdd(combo, name, LPARAM(v));
        }
        if (!ComboSelect(combo, option.Current()))
            SendDlgItemMessageW(Window(), combo, CB_SETCURSEL, 0, 0);
    }

    bool HandlingShown() const
    {
        const pages::EntryView outputs = Entry(f::kInstalledOutputs.id);
        if (!outputs)
            return false;
        const int flags = std::uint16_t(outputs.Current());
        if (flags & kHandlingAlways)
            return true;
        if (flags & kHandlingByModel)
            return !FamilyIn(Context().modelFamily, {11, 16, 18, 20, 21, 27, 30, 35, 36, 60, 61, 62}) ||
                   (flags & kHandlingUnits);
        return (flags & kHandlingUnits) != 0;
    }

    // ---- Changes -------------------------------------------------------------------------------

    void ComboChanged(int id)
    {
        if (SendDlgItemMessageW(Window(), id, CB_GETCURSEL, 0, 0) < 0)
            SendDlgItemMessageW(Window(), id, CB_SETCURSEL, 0, 0);
        const std::optional<LPARAM> data = ComboSelection(id);
        if (!data || *data == kNoChange)
            return;
        const auto v = std::int16_t(*data);
        switch (id) {
        case IDC_PAPER_TYPE: {
            namespace t = f::paper_type;
            pages::EntryView types = Entry(f::kPaperTypes.id);
            const std::optional<std::size_t> group = TypeGroup();
            if (!group || types.Get<std::int16_t>(*group + t::kChosen) == v)
                return;
            types.Set<std::int16_t>(*group + t::kChosen, v);
            Changed(f::kPaperTypes.id, 2);
            return;
        }
        case IDC_PAPER_SIZE:
            RepaintPictures();
            if (Changed(f::kPaperSize.id, v, 1))
                RefillSummaryPreview();
            return;
        case IDC_PAPER_SOURCE:
            if (Changed(f::kPaperSource.id, v, -1))
                RepaintSummaryPicture();
            return;
        case IDC_OUTPUT_BIN:
            if (Changed(f::kOutputBin.id, v, -1))
                RepaintSummaryPicture();
            return;
        case IDC_OUTPUT_SIZE:
            RepaintPictures();
            Changed(f::kOutputSize.id, v, -1);
            return;
        case IDC_HANDLING1: Changed(f::kHandlingOption1.id, v, -1); return;
        case IDC_HANDLING2: Changed(f::kHandlingOption2.id, v, -1); return;
        case IDC_HANDLING3: Changed(f::kHandlingOption3.id, v, -1); return;
        default: return;
        }
    }

    void SelectBy(bool byType)
    {
        const pages::EntryView selectBy = Entry(f::kSelectBy.id);
        const std::int16_t v = byType ? f::kSelectByType : 0;
        if (!selectBy || selectBy.Current() == v)
            return;
        // Selection by type takes paper from the automatic source.
        if (byType)
            Entry(f::kPaperSource.id).SetCurrent(f::kAutomaticSource);
        Changed(f::kSelectBy.id, v, 2);
        RepaintSummaryPicture();
    }

    // Stores a new value; an entry without constraints refills the page itself, as the refresh
    // would. False when nothing changed.
    bool Changed(int id, std::int16_t v, int summaryRow)
    {
        const bool constrained = Entry(id).Constrained();
        if (!Store(id, v, summaryRow))
            return false;
        if (!constrained)
            Refill();
        return true;
    }
    void Changed(int id, int summaryRow)
    {
        ValueChanged(id, summaryRow);
        if (!Entry(id).Constrained())
            Refill();
    }

    // ---- Pictures ----------------------------------------------------------------------------

    bool Scaled() const { return Entry(f::kOutputSize.id).Current() != 0; }

    void RepaintPictures()
    {
        for (int id : {IDC_PAPER_PICTURE, IDC_OUTPUT_ARROW, IDC_OUTPUT_PICTURE}) {
            RECT r = pages::ControlRect(Window(), id);
            InflateRect(&r, 2, 2);
            InvalidateRect(Window(), &r, TRUE);
        }
    }

    // A paper picture at the placeholder's top-left corner, framed by a sunken edge.
    void DrawPaper(HDC dc, int placeholder, int code, bool portrait)
    {
        const RECT at = pages::ControlRect(Window(), placeholder);
        const SIZE size = pictures_.Draw(dc, PaperBitmap(code, portrait), at.left, at.top);
        if (size.cx <= 0)
            return;
        RECT frame{at.left, at.top, at.left + size.cx, at.top + size.cy};
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }

    void Paint(HDC dc)
    {
        const bool portrait = Entry(f::kOrientation.id).Current() != DMORIENT_LANDSCAPE;
        DrawPaper(dc, IDC_PAPER_PICTURE, Entry(f::kPaperSize.id).Current(), portrait);
        if (!Scaled())
            return;
        const RECT arrow = pages::ControlRect(Window(), IDC_OUTPUT_ARROW);
        const SIZE size = dialogs::BitmapSize(pictures_.Get(IDB_OUTPUT_ARROW));
        pictures_.Draw(dc, IDB_OUTPUT_ARROW, arrow.left + (arrow.right - arrow.left - size.cx) / 2, arrow.top);
        DrawPaper(dc, IDC_OUTPUT_PICTURE, Entry(f::kOutputSize.id).Current(), portrait);
    }

    pages::PagePictures pictures_;
    HBITMAP brand_ = nullptr;
    int typeChoices_ = 0;
    std::vector<UINT> trayItems_;  // the tray name of each source item
    std::vector<UINT> binItems_;   // the bin name of each bin item
};

}  // namespace

extern "C" INT_PTR CALLBACK PaperDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pages::PageProcedure<PaperPage>(window, message, wParam, lParam);
}
