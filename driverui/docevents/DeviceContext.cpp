#include "DeviceContext.h"

#include <winspool.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "BuildNotice.h"
#include "ConfigStore.h"
#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "DeviceCapabilities.h"
#include "DialogLibrary.h"
#include "EscapeReplies.h"
#include "JobDevmode.h"
#include "JobSettings.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ListRecords.h"
#include "ModelSource.h"
#include "PaperFormatRecord.h"
#include "PrinterAccess.h"
#include "PrinterList.h"
#include "RenderingDriver.h"

namespace docevents {
namespace {

constexpr std::uint16_t kVersionText = 21;     // logical strings of the dialog library
constexpr std::uint16_t kVersionCaption = 22;
constexpr std::size_t kMessageChars = 512;
constexpr std::size_t kFaceBytes = 64;         // 32 wide characters a family
constexpr std::size_t kMaxFamilies = 4096;
constexpr std::int16_t kFirstAssociation = 640;
constexpr std::int16_t kLastAssociation = 671;

// The devmodes events 1 and 3 handed out and events 2 and 4 have not freed yet: only these are
// ever freed.
std::mutex g_devmodesLock;
std::set<void*>& Devmodes()
{
    static std::set<void*> devmodes;
    return devmodes;
}

void* NewDevmode()
{
    void* d = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, devmode::kSize);
    if (d) {
        std::lock_guard lock(g_devmodesLock);
        Devmodes().insert(d);
    }
    return d;
}

bool FreeDevmode(void* d)
{
    {
        std::lock_guard lock(g_devmodesLock);
        if (!Devmodes().erase(d))
            return false;
    }
    HeapFree(GetProcessHeap(), 0, d);
    return true;
}

// A caller's devmode carries no buffer size: its own header says how far it goes.
std::span<const std::uint8_t> InputBytes(const DEVMODEW* input)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input);
    return devmode::DeclaredBytes({bytes, devmode::DeclaredSize({bytes, devmode::kHeaderSize})});
}

std::wstring Wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

// Every name and number of one of the printer's lists.
struct ListEntries {
    std::set<std::int16_t> numbers;
    std::set<std::wstring> names;  // upper case
};
ListEntries ReadListEntries(HANDLE printer, const wchar_t* valueName)
{
    ListEntries entries;
    const auto bytes = ReadPrinterBytes(printer, valueName);
    if (!bytes)
        return entries;
    recordlist::RecordList list(*bytes);
    for (bool more = list.Rewind(); more; more = list.Next()) {
        if (const auto number = list.FieldInt16(kKeyNumber))
            entries.numbers.insert(*number);
        if (const auto name = list.FieldText(kKeyName)) {
            const int n = MultiByteToWideChar(CP_ACP, 0, name->data(), int(name->size()), nullptr, 0);
            std::wstring wide(std::size_t(std::max(n, 0)), L'\0');
            MultiByteToWideChar(CP_ACP, 0, name->data(), int(name->size()), wide.data(), n);
            CharUpperBuffW(wide.data(), DWORD(wide.size()));
            entries.names.insert(wide);
        }
    }
    return entries;
}

std::optional<std::uint8_t> DefaultedString(std::uint16_t id)
{
    char text[16] = "";
    const int n = LoadStringA(DriverModule(), id, text, sizeof text);
    return n > 0 ? DefaultedValue({text, std::size_t(n)}) : std::nullopt;
}

// A form association the printer no longer has gives way to the locale's default paper, so that
// the job has a paper at all.
void FixUpAssociation(devmode::Buffer& d, const ListEntries& associations)
{
    const std::int16_t paper = devmode::Get(d, devmode::dmPaperSize);
    if (paper >= kFirstAssociation && paper <= kLastAssociation && !associations.numbers.count(paper))
        devmode::Set(d, devmode::dmPaperSize, std::int16_t(devmode::IsUsaLocale() ? DMPAPER_LETTER : DMPAPER_A4));
}

using Record = std::array<std::uint8_t, paperformat::kSize>;

std::optional<Record> Geometry(HANDLE printer, devmode::Buffer& d, std::int16_t paper, std::int16_t orientation)
{
    const std::int16_t quality = devmode::Get(d, devmode::dmPrintQuality);
    const std::uint16_t resolution = quality > 0 ? std::uint16_t(quality) : devmode::Get(d, devmode::kDefaultResolution);
    Record r{};
    if (!caps::PaperFormat(nullptr, printer, r.data(), reinterpret_cast<const DEVMODEW*>(d.data()), WORD(paper),
                           WORD(orientation), devmode::Get(d, devmode::kFeature19), resolution, 0))
        return std::nullopt;
    return r;
}

std::uint16_t Word(const Record& r, std::size_t offset)
{
    return std::uint16_t(r[offset] | r[offset + 1] << 8);
}

bool Landscape(const Record& r)
{
    return Word(r, paperformat::kPhysicalWidth) > Word(r, paperformat::kPhysicalLength);
}

void Store(devmode::Buffer& d, std::size_t slot, const Record& r)
{
    std::copy(r.begin(), r.end(), devmode::MutableSlice(d, devmode::kPaperFormat[slot]).begin());
}

// The four paper-format records: the page in its orientation and in the other, the form the
// first resolved to, and the output-size form (1096): with several pages per sheet (605) both
// of its orientations take the last two records, else the last takes the one shaped like the page.
bool ComputeGeometry(HANDLE printer, devmode::Buffer& d)
{
    const std::int16_t orientation = devmode::Get(d, devmode::dmOrientation) == DMORIENT_LANDSCAPE ? 2 : 1;
    const std::int16_t other = orientation == 2 ? 1 : 2;
    const std::int16_t paper = devmode::Get(d, devmode::dmPaperSize);
    const auto page = Geometry(printer, d, paper, orientation);
    const auto turned = Geometry(printer, d, paper, other);
    const auto resolved = page ? Geometry(printer, d, std::int16_t(Word(*page, paperformat::kResolvedCode)), orientation)
                               : std::nullopt;
    if (!page || !turned || !resolved)
        return false;
    Store(d, 0, *page);
    Store(d, 1, *turned);
    Store(d, 2, *resolved);
    const std::int16_t output = devmode::Get(d, devmode::kSecondPaperSize);
    if (output == 0)
        return true;
    const auto outputPage = Geometry(printer, d, output, orientation);
    const auto outputTurned = Geometry(printer, d, output, other);
    if (!outputPage || !outputTurned)
        return false;
    if (devmode::Get(d, devmode::kFeature47Low) != 0) {
        Store(d, 2, *outputPage);
        Store(d, 3, *outputTurned);
    } else {
        Store(d, 3, Landscape(*outputPage) == Landscape(*page) ? *outputPage : *outputTurned);
    }
    return true;
}

int FailPreparation(void* d, DEVMODEW** output)
{
    FreeDevmode(d);
    *output = nullptr;
    SetLastError(ERROR_INVALID_DATA);
    return -1;
}

std::string FormatWithName(const std::string& format, const std::string& name)
{
    // Only the first %s is a field: a text from the resource library is no format of its own.
    const std::size_t at = format.find("%s");
    return at == std::string::npos ? format : format.substr(0, at) + name + format.substr(at + 2);
}

void VersionMessage(HANDLE printer)
{
    const siblings::DialogLibrary dialogs;
    const auto text = dialogs.String(kVersionText, false, kMessageChars);
    const auto caption = dialogs.String(kVersionCaption, false, kMessageChars);
    if (!text || !caption)
        return;
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::string name =
        info.empty() ? std::string() : NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
    notices::NoticeBox(*caption, FormatWithName(*text, name), MB_OK);
}

struct Families {
    std::size_t limit;
    std::vector<std::uint8_t> faces;
    std::size_t count = 0;
};

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM parameter)
{
    auto& families = *reinterpret_cast<Families*>(parameter);
    if ((type & DEVICE_FONTTYPE) && !(type & TRUETYPE_FONTTYPE))
        return 1;
    if (families.count == families.limit)
        return 0;
    if (!families.faces.empty()) {
        std::uint8_t* slot = families.faces.data() + families.count * kFaceBytes;
        std::memcpy(slot, font->lfFaceName, std::min(sizeof font->lfFaceName, kFaceBytes));
        slot[kFaceBytes - 2] = slot[kFaceBytes - 1] = 0;
    }
    ++families.count;
    return 1;
}

void SendFontFamilies(const RenderingDriver& driver)
{
    if (!driver.Supports(kRendererCapability) || !driver.Supports(kFontFamilies))
        return;
    std::uint32_t capability = 0;
    if (driver.Send(kRendererCapability, {}, {reinterpret_cast<std::uint8_t*>(&capability), sizeof capability}) <= 0 ||
        capability == 0)
        return;
    Families counted{kMaxFamilies, {}};
    EnumFontFamiliesW(driver.Dc(), nullptr, CollectFamily, reinterpret_cast<LPARAM>(&counted));
    Families listed{counted.count, std::vector<std::uint8_t>(counted.count * kFaceBytes)};
    if (listed.limit)
        EnumFontFamiliesW(driver.Dc(), nullptr, CollectFamily, reinterpret_cast<LPARAM>(&listed));
    listed.faces.resize(listed.count * kFaceBytes);
    driver.Send(kFontFamilies, listed.faces);
}

}  // namespace

int PrepareJobDevmode(HANDLE printer, const wchar_t* deviceName, const DEVMODEW* input, DEVMODEW** output)
{
    void* made = NewDevmode();
    *output = static_cast<DEVMODEW*>(made);
    if (!made) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const OpenedPrinter opened(printer ? nullptr : deviceName, PrinterAccess::Default);
    if (!printer)
        printer = opened.get();
    devmode::Buffer d{};
    if (!printer || !devmode::BuildCurrentDevmode(printer, d, nullptr))
        return FailPreparation(made, output);
    if (input && !devmode::MergeOver(d, InputBytes(input)))
        return FailPreparation(made, output);

    const ListEntries associations = ReadListEntries(printer, L"UserAssocForms");
    FixUpAssociation(d, associations);
    if (!ComputeGeometry(printer, d))
        return FailPreparation(made, output);

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    const ListEntries watermarks = ReadListEntries(printer, L"Watermark");
    const ListEntries overlays = ReadListEntries(printer, L"Macro");
    JobChoices choices;
    choices.defaulted1 = DefaultedString(kDefaultedString1);
    choices.defaulted2 = DefaultedString(kDefaultedString2);
    choices.availableMemory = memory.ullAvailPhys;
    choices.watermarkExists = [&](std::uint16_t n) { return watermarks.numbers.count(std::int16_t(n)) != 0; };
    choices.overlayExists = [&](std::u16string_view name) {
        std::wstring upper = Wide(name);
        CharUpperBuffW(upper.data(), DWORD(upper.size()));
        return overlays.names.count(upper) != 0;
    };
    FillJobFields(d, choices);
    devmode::UpdateChecksum(d);
    std::memcpy(made, d.data(), d.size());
    return 1;
}

int FinishJobDevmode(HANDLE printer, HDC dc, DEVMODEW* devmode, bool reset)
{
    devmode::Buffer d{};
    {
        std::lock_guard lock(g_devmodesLock);
        if (!devmode || !Devmodes().count(devmode))
            return -1;
        std::memcpy(d.data(), devmode, d.size());
    }
    const RenderingDriver driver(dc);
    bool deleted = false;
    if (driver.Supports(kRendererVersion)) {
        const bool capability = driver.Supports(kRendererCapability);
        std::uint32_t version = 0;
        const int answer = driver.Send(kRendererVersion, {}, {reinterpret_cast<std::uint8_t*>(&version), sizeof version});
        if (RendererTooOld(answer, version, devmode::Get(d, devmode::kGraphicsMode), capability)) {
            VersionMessage(printer);
            DeleteDC(dc);
            deleted = true;
        }
    }
    if (!deleted) {
        SendFontFamilies(driver);
        if (reset)
            SendSettings(driver, *BuildSettingsState(printer, d), true);
    }
    FreeDevmode(devmode);
    return 1;
}

}  // namespace docevents
