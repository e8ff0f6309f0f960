#include "DeviceCapabilities.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "Capabilities.h"
#include "ConfigStore.h"
#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "DialogNames.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelResources.h"
#include "ModelSource.h"
#include "PaperList.h"
#include "PrinterForms.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace caps {
namespace {

void Append(std::vector<std::uint8_t>& key, const void* bytes, std::size_t size)
{
    const auto n = std::uint32_t(size);
    key.insert(key.end(), reinterpret_cast<const std::uint8_t*>(&n), reinterpret_cast<const std::uint8_t*>(&n) + 4);
    key.insert(key.end(), static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size);
}

// ---- The printer's current devmode, kept between calls.
//
// Building it reads the model's names, resources and configuration data each time; a print
// dialog asks for a dozen capabilities in a row. The result depends on the printer's name and
// driver, its stored devmode and its configuration data: while those read the same, the devmode
// built last is the answer.

struct KeptDevmode {
    std::vector<std::uint8_t> key;
    devmode::Buffer devmode;
};
constexpr std::size_t kKeptDevmodes = 8;
SRWLOCK g_keptLock = SRWLOCK_INIT;

std::vector<KeptDevmode>& Kept()
{
    static std::vector<KeptDevmode> kept;
    return kept;
}

std::vector<std::uint8_t> DevmodeKey(HANDLE printer)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return {};
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    std::vector<std::uint8_t> key;
    for (const wchar_t* text : {p->pPrinterName, p->pDriverName})
        Append(key, text ? text : L"", (text ? wcslen(text) : 0) * sizeof(wchar_t));
    for (const wchar_t* value : {devmode::kCurrentDevmodeValue, kDefDrvCfgDataValue}) {
        const std::vector<std::uint8_t> bytes = ReadPrinterBytes(printer, value).value_or(std::vector<std::uint8_t>{});
        Append(key, bytes.data(), bytes.size());
    }
    return key;
}

bool CurrentDevmode(HANDLE printer, devmode::Buffer& out)
{
    const std::vector<std::uint8_t> key = DevmodeKey(printer);
    if (key.empty())
        return false;
    AcquireSRWLockShared(&g_keptLock);
    const auto& kept = Kept();
    const auto hit = std::find_if(kept.begin(), kept.end(), [&](const KeptDevmode& k) { return k.key == key; });
    const bool found = hit != kept.end();
    if (found)
        out = hit->devmode;
    ReleaseSRWLockShared(&g_keptLock);
    if (found)
        return true;

    if (!devmode::BuildCurrentDevmode(printer, out, nullptr))
        return false;
    // Building may have stored the devmode and its data: key it by what the next call reads.
    KeptDevmode fresh{DevmodeKey(printer), out};
    if (fresh.key.empty())
        return true;
    AcquireSRWLockExclusive(&g_keptLock);
    auto& all = Kept();
    std::erase_if(all, [&](const KeptDevmode& k) { return k.key == fresh.key; });
    if (all.size() == kKeptDevmodes)
        all.pop_back();
    all.insert(all.begin(), std::move(fresh));
    ReleaseSRWLockExclusive(&g_keptLock);
    return true;
}

// ---- Model resources by the devmode's description words.

std::optional<model::PaperLimits> PaperLimitsOf(std::span<const std::uint8_t> d)
{
    return model::ParsePaperLimits(model::LoadSelectedResource(DriverModule(), model::kPaperLimitsType,
                                                               devmode::Get(d, devmode::kPaperLimitNumber)));
}

std::optional<model::TrayList> TraysOf(std::span<const std::uint8_t> d)
{
    return model::ParseTrayList(model::LoadSelectedResource(DriverModule(), model::kTrayListType,
                                                            devmode::Get(d, devmode::kTrayListNumber)));
}

// ---- Writing the answers.

template <class T>
void PutAt(void* output, std::size_t index, T value)
{
    std::memcpy(static_cast<std::uint8_t*>(output) + index * sizeof(T), &value, sizeof(T));
}

// A name cut to chars - 1 characters, terminated, the rest of its slot zero.
void PutName(void* output, std::size_t index, std::size_t chars, const std::u16string& name)
{
    auto* slot = static_cast<std::uint8_t*>(output) + index * chars * sizeof(wchar_t);
    std::memset(slot, 0, chars * sizeof(wchar_t));
    const std::size_t n = std::min(name.size(), chars - 1);
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = wchar_t(name[i]);
        std::memcpy(slot + i * sizeof(wchar_t), &c, sizeof c);
    }
}

DWORD Papers(HANDLE printer, const std::string& printerName, WORD index, void* output,
             std::span<const std::uint8_t> d)
{
    const PrinterForms forms = LoadPrinterForms(printer, printerName, OffersForms(d));
    const std::vector<PaperListEntry> list = BuildPaperList(d, forms, PaperLimitsOf(d));
    if (!output)
        return DWORD(list.size());
    std::optional<std::vector<std::u16string>> names;
    if (index == kCapPaperNames) {
        std::vector<NameKey> keys;
        for (const PaperListEntry& e : list)
            if (e.logicalName)
                keys.push_back({NameKey::Paper, e.logicalName});
        names = DialogNames(keys);
    }
    std::size_t named = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const PaperListEntry& e = list[i];
        switch (index) {
        case kCapPapers:
            PutAt<WORD>(output, i, WORD(e.code));
            break;
        case kCapPaperSize:
            PutAt<POINT>(output, i, POINT{LONG(e.width), LONG(e.length)});
            break;
        default: {
            std::u16string name = e.name;
            if (e.logicalName) {
                if (names && named < names->size())
                    name = (*names)[named];
                ++named;
            }
            PutName(output, i, kPaperNameChars, name);
        }
        }
    }
    return DWORD(list.size());
}

DWORD Bins(WORD index, void* output, std::span<const std::uint8_t> d)
{
    const std::optional<model::TrayList> trays = TraysOf(d);
    if (!trays)
        return kCapFailed;
    const std::vector<model::TrayEntry> kept = InstalledTrays(*trays, devmode::Get(d, devmode::kInstalledTrays));
    if (!output)
        return DWORD(kept.size());
    if (index == kCapBins) {
        for (std::size_t i = 0; i < kept.size(); ++i)
            PutAt<WORD>(output, i, WORD(kept[i].code));
        return DWORD(kept.size());
    }
    std::vector<NameKey> keys;
    for (const model::TrayEntry& t : kept)
        keys.push_back({NameKey::Tray, t.number});
    // Without the dialog library the names stay empty rather than unwritten.
    const auto names = DialogNames(keys);
    for (std::size_t i = 0; i < kept.size(); ++i)
        PutName(output, i, kBinNameChars, names ? (*names)[i] : std::u16string());
    return DWORD(kept.size());
}

DWORD Resolutions(void* output, std::span<const std::uint8_t> d)
{
    const std::vector<std::int32_t> list = EnumResolutions(d);
    if (output)
        for (std::size_t i = 0; i < list.size(); ++i) {
            PutAt<LONG>(output, 2 * i, list[i]);
            PutAt<LONG>(output, 2 * i + 1, list[i]);
        }
    return DWORD(list.size());
}


std::string PrinterNameOf(HANDLE printer)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return {};
    return NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
}

std::span<const std::uint8_t> DeclaredInput(const DEVMODEW* input)
{
    if (!input)
        return {};
    const std::size_t declared = std::size_t(input->dmSize) + input->dmDriverExtra;
    return devmode::DeclaredBytes({reinterpret_cast<const std::uint8_t*>(input), declared});
}

}  // namespace

DWORD DeviceCapabilities(HANDLE printer, const wchar_t* deviceName, WORD index, void* output,
                         const DEVMODEW* input)
{
    if (index == kCapVersion)
        return kCapVersionAnswer;
    // The spooler may pass no handle; the device name is there.
    OpenedPrinter opened(printer ? nullptr : deviceName, PrinterAccess::Default);
    if (!printer)
        printer = opened.get();
    devmode::Buffer d{};
    if (!printer || !CurrentDevmode(printer, d))
        return kCapFailed;
    if (input && !devmode::MergeOver(d, DeclaredInput(input)))
        return kCapFailed;

    switch (index) {
    case kCapFields: return devmode::Get(d, devmode::dmFields);
    case kCapSize: return devmode::Get(d, devmode::dmSize);
    case kCapExtra: return devmode::Get(d, devmode::dmDriverExtra);
    case kCapDriver: return devmode::Get(d, devmode::dmDriverVersion);
    case kCapDuplex: return DuplexAnswer(d);
    case kCapTrueType: return kTrueTypeAnswer;
    case kCapOrientation: return kOrientationAnswer;
    case kCapCopies: return kCopiesAnswer;
    case kCapBinAdjust: return BinAdjustAnswer(d);
    case kCapMinExtent: return ExtentAnswer(PaperLimitsOf(d), false);
    case kCapMaxExtent: return ExtentAnswer(PaperLimitsOf(d), true);
    case kCapEnumResolutions: return Resolutions(output, d);
    case kCapFileDependencies:
        if (output)
            PutAt<wchar_t>(output, 0, L'\0');
        return 0;
    case kCapBins:
    case kCapBinNames: return Bins(index, output, d);
    case kCapPapers:
    case kCapPaperSize:
    case kCapPaperNames: {
        const std::string name = deviceName ? NarrowText(deviceName) : PrinterNameOf(printer);
        return Papers(printer, name, index, output, d);
    }
    default: return kCapFailed;
    }
}

BOOL PaperFormat(const char* modelName, HANDLE printer, void* record, const DEVMODEW* devmode,
                 WORD paperCode, WORD orientation, BYTE flag, WORD resolution, DWORD mode)
{
    const std::optional<devmode::Buffer> d = devmode ? devmode::Widen(DeclaredInput(devmode)) : std::nullopt;
    if (!record || !d) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string printerName =
        printer ? PrinterNameOf(printer) : std::string(devmode::GetText(*d, devmode::kPrinterName));
    PaperFormatRequest request;
    request.code = std::int16_t(paperCode);
    request.orientation = std::int16_t(orientation);
    request.flag = flag;
    request.resolution = std::int16_t(resolution);
    request.mode = mode;
    const PrinterForms forms = LoadPrinterForms(printer, printerName, request.code >= kFirstSpoolerForm);
    const auto result = ComputePaperFormat(*d, request, forms, PaperLimitsOf(*d));
    if (!result) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memcpy(record, result->data(), result->size());
    return TRUE;
}

int IsUsa()
{
    return devmode::IsUsaLocale() ? 1 : 0;
}

}  // namespace caps
