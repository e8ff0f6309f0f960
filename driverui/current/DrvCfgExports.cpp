#include "DrvCfgExports.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ConfigApply.h"
#include "ConfigStore.h"
#include "CurrentDevmode.h"
#include "DevmodeLayout.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelResources.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace profiles {
namespace {

constexpr char kOwnBrand[] = "Qelbrin";
// Capability words of a model whose description cannot be loaded, and the masks of the others.
constexpr DWORD kUnknownCapability420 = 318;
constexpr DWORD kUnknownCapability418 = 65;
constexpr std::uint16_t kCapability420Mask = 0x13E;
constexpr std::uint16_t kCapability418Mask = 0x65;
constexpr std::uint16_t kNoConfigAccessBit = 0x8;  // model flag word 394
constexpr DWORD kAccessConfigurable = 2;
constexpr DWORD kAccessAdministrator = 1;
constexpr DWORD kForceMode = 1;

// A record field lies within the size the record declares.
template <class Record, class Field>
bool Within(const Record& r, const Field& field)
{
    const auto end = reinterpret_cast<const BYTE*>(&field) + sizeof field - reinterpret_cast<const BYTE*>(&r);
    return r.size >= DWORD(end);
}

bool EqualWithoutCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()),
                                                  b.data(), int(b.size())) == CSTR_EQUAL;
}

std::string_view Text(const char* s)
{
    return s ? std::string_view(s) : std::string_view();
}


// The devmode bytes a record vouches for: its declared layout, within the bytes the caller gives.
std::span<const std::uint8_t> RecordDevmode(const BYTE* devmode, DWORD size)
{
    if (!devmode || size < devmode::kHeaderSize)
        return {};
    return devmode::DeclaredBytes({devmode, size});
}

// Makes the devmode the printer's own in the spooler (level 2).
bool InstallPrinterDevmode(HANDLE printer, devmode::Buffer& d)
{
    DWORD needed = 0;
    if (QelGetPrinterW(printer, 2, nullptr, 0, &needed) || needed < sizeof(PRINTER_INFO_2W))
        return false;
    std::vector<BYTE> info(needed);
    if (!QelGetPrinterW(printer, 2, info.data(), needed, &needed))
        return false;
    auto* p = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    p->pDevMode = reinterpret_cast<DEVMODEW*>(d.data());
    // Unchanged, and setting it would need the right to change the printer's security.
    p->pSecurityDescriptor = nullptr;
    return QelSetPrinterW(printer, 2, info.data(), 0);
}

DWORD Force(const DcdForceRecord& r)
{
    if (r.size < sizeof r || !r.printerName || !r.data || r.dataSize == 0)
        return kResultBadRecord;
    const std::span<const std::uint8_t> input = RecordDevmode(r.devmode, r.devmodeSize);
    if (r.devmode && input.empty())
        return kResultBadRecord;

    const OpenedPrinter printer(r.printerName, PrinterAccess::FullElseDefault);
    if (!printer.get())
        return kResultNoDevmode;
    devmode::Buffer current{};
    if (!devmode::BuildCurrentDevmode(printer.get(), current, nullptr))
        return kResultNoDevmode;
    if (!input.empty())
        devmode::MergeOver(current, input);

    std::vector<std::uint8_t> data;
    try {
        data.assign(r.data, r.data + r.dataSize);
    } catch (const std::bad_alloc&) {
        return kResultNoMemory;
    }

    const std::string_view profile = Text(r.profileName);
    if (!HasContentFlags(r.contentFlags) ||
        !EqualWithoutCase(Text(r.modelName), devmode::GetText(current, devmode::kModelName)) ||
        !(profile.empty() || EqualWithoutCase(profile, devmode::GetText(current, devmode::kModelDisplayName))))
        return kResultBadRecord;

    devmode::Buffer applied = current;
    if (!ApplyData(applied, data, r.opMask, printer.get(), kForceMode))
        return kResultFailed;
    devmode::Buffer result{};
    if (!devmode::BuildCurrentDevmode(printer.get(), result, nullptr))
        return kResultNoDevmode;
    devmode::MergeOver(result, applied);
    devmode::UpdateChecksum(result);
    QelSetPrinterDataW(printer.get(), const_cast<LPWSTR>(devmode::kCurrentDevmodeValue), REG_BINARY,
                       result.data(), DWORD(result.size()));
    InstallPrinterDevmode(printer.get(), result);
    model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), result);
    StoreConfigData(printer.get(), kDefDrvCfgDataValue, result, &env);
    return kResultOk;
}

DWORD Convert(DcdConvertRecord& r)
{
    if (r.size < sizeof r || !r.flag || r.devmodeSize < devmode::kSize || !r.devmode)
        return kResultBadRecord;
    const std::span<const std::uint8_t> d(r.devmode, devmode::kSize);
    if (!devmode::IsDriverDevmode(d))
        return kResultBadRecord;
    r.flag = 1;
    r.version = kConvertVersion;
    const std::string_view record = devmode::GetText(d, devmode::kModelDisplayName);
    std::memset(r.modelRecordName, 0, sizeof r.modelRecordName);
    std::memcpy(r.modelRecordName, record.data(), std::min(record.size(), sizeof r.modelRecordName - 1));
    FillIdentBlock(r.ident);
    std::memset(r.reserved, 0, sizeof r.reserved);
    return BuildDataGlobal(d, r.opMask, nullptr, r.data, r.dataSize);
}

DWORD Support(DrvCfgSupportRecord& r)
{
    if (!Within(r, r.ident))
        return kResultBadRecord;
    FillIdentBlock(r.ident);

    const HMODULE module = DriverModule();
    const std::string_view name = Text(r.modelName);
    const std::optional<int> number = model::FindModelNumber(module, name);
    const std::optional<model::ModelDescription> description =
        number ? model::ParseDescription(model::LoadDescriptionBytes(module, *number)) : std::nullopt;

    if (r.version > 2) {
        if (Within(r, r.capability420))
            r.capability420 = description ? description->configCapabilities1 & kCapability420Mask : kUnknownCapability420;
        if (Within(r, r.capability418))
            r.capability418 = description ? description->configCapabilities2 & kCapability418Mask : kUnknownCapability418;
        if (Within(r, r.brand))
            r.brand = name.empty() ? kBrandNone : name.find(kOwnBrand) != name.npos ? kBrandOwn : kBrandOther;
    }
    if (r.version > 1 && !Text(r.printerName).empty() && Within(r, r.printerAccess)) {
        if (description && (description->optionFlags & kNoConfigAccessBit)) {
            r.printerAccess = 0;
        } else {
            const OpenedPrinter printer(r.printerName, PrinterAccess::FullOnly);
            r.printerAccess = kAccessConfigurable + (printer.get() ? kAccessAdministrator : 0);
        }
    }
    return kResultOk;
}

}  // namespace

DWORD ConvertPrtIntoDcd(DcdConvertRecord* record)
try {
    return record ? Convert(*record) : kResultBadRecord;
} catch (...) {
    return kResultFailed;
}

DWORD ForceDcdIntoPrinter(DcdForceRecord* record)
try {
    return record ? Force(*record) : kResultBadRecord;
} catch (const std::bad_alloc&) {
    return kResultNoMemory;
} catch (...) {
    return kResultFailed;
}

DWORD ReportSupport(DrvCfgSupportRecord* record)
try {
    return record ? Support(*record) : kResultBadRecord;
} catch (...) {
    return kResultFailed;
}

DWORD EnumSpecificDrvCfg(DrvCfgSearchRecord* search, const ConfigEntry* entry)
try {
    if (!search || search->size < sizeof *search || !entry || entry->size < sizeof *entry)
        return 0;
    if (!search->devmode || search->devmodeSize < devmode::kSize || !HasContentFlags(entry->contentFlags) ||
        !entry->data || entry->dataSize == 0)
        return 0;
    const std::span<const std::uint8_t> d(search->devmode, devmode::kSize);
    if (EqualWithoutCase(Text(entry->modelName), devmode::GetText(d, devmode::kModelName)) &&
        EqualWithoutCase(Text(entry->modelRecordName), devmode::GetText(d, devmode::kModelDisplayName)))
        search->dataSize = entry->dataSize;
    return 0;
} catch (...) {
    return 0;
}

}  // namespace profiles
