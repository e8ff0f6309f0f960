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
#include "SpoolerCache.h"

namespace caps {
namespace {

// ---- What a run of queries asks again and again, kept while nothing changed.
//
// The current devmode is kept by its builder (CurrentDevmode.h); the printer's forms (its record
// lists and the spooler's forms) are kept here, by the printer and the store's generation
// (SpoolerCache.h), within a call into the library.

struct KeptForms {
    std::uint64_t generation = 0;
    std::wstring printer;
    bool spoolerForms = false;
    PrinterForms forms;
};
SRWLOCK g_formsLock = SRWLOCK_INIT;

KeptForms& Kept()
{
    static KeptForms kept;
    return kept;
}

// The printer's forms; printerKey is the cache's name of the printer, empty when nothing may be
// kept for it. The handle is asked for only when the forms must be read.
template <class Handle>
PrinterForms FormsOf(const std::wstring& printerKey, Handle handle, const std::string& printerName, bool spoolerForms)
{
    const std::uint64_t generation = printerKey.empty() ? 0 : spoolcache::Generation();
    if (generation) {
        std::optional<PrinterForms> found;
        AcquireSRWLockShared(&g_formsLock);
        const KeptForms& k = Kept();
        if (k.generation == generation && k.printer == printerKey && k.spoolerForms == spoolerForms)
            found = k.forms;
        ReleaseSRWLockShared(&g_formsLock);
        if (found)
            return *found;
    }
    PrinterForms forms = LoadPrinterForms(handle(), printerName, spoolerForms);
    if (generation && spoolcache::Generation() == generation) {
        AcquireSRWLockExclusive(&g_formsLock);
        Kept() = KeptForms{generation, printerKey, spoolerForms, forms};
        ReleaseSRWLockExclusive(&g_formsLock);
    }
    return forms;
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

template <class Handle>
DWORD Papers(const std::wstring& printerKey, Handle handle, const std::string& printerName, WORD index, void* output,
             std::span<const std::uint8_t> d)
{
    const PrinterForms forms = FormsOf(printerKey, handle, printerName, OffersForms(d));
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
    // The spooler may pass no handle; the device name is there. The printer is opened by it
    // only when the answer is not kept.
    std::optional<OpenedPrinter> opened;
    const auto handle = [&] {
        if (!printer && !opened)
            printer = opened.emplace(deviceName, PrinterAccess::Default).get();
        return printer;
    };
    devmode::Buffer d{};
    const bool kept = !printer && deviceName && devmode::KeptCurrentDevmode(deviceName, d);
    if (!kept && (!handle() || !devmode::BuildCurrentDevmode(printer, d, nullptr)))
        return kCapFailed;
    const std::wstring printerKey =
        kept ? spoolcache::PrinterKey(deviceName) : spoolcache::PrinterOf(printer);
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
        // The record lists are read by the device name: kept only when that is the printer's.
        const bool sameName = !deviceName || spoolcache::PrinterKey(deviceName) == printerKey;
        return Papers(sameName ? printerKey : std::wstring(), handle, name, index, output, d);
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
