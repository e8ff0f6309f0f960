#include "CurrentDevmode.h"

#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

#include "ConfigApply.h"
#include "ConfigStore.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelSource.h"
#include "Settings.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace devmode {
namespace {

// The spooler's devmode inside the level-2 buffer; empty when it has none. Only the bytes from
// the devmode to the end of the spooler's buffer can be read.
std::span<const std::uint8_t> SpoolerDevmode(const std::vector<BYTE>& info)
{
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    const auto* dm = reinterpret_cast<const std::uint8_t*>(p->pDevMode);
    const std::uint8_t* begin = info.data();
    const std::uint8_t* end = begin + info.size();
    if (!dm || dm < begin || dm >= end)
        return {};
    return DeclaredBytes({dm, std::size_t(end - dm)});
}

std::optional<Buffer> ReadStoredDevmode(HANDLE printer, const wchar_t* valueName)
{
    Buffer stored{};
    DWORD type = 0, got = 0;
    const DWORD result = QelGetPrinterDataW(printer, const_cast<LPWSTR>(valueName), &type,
                                            stored.data(), DWORD(stored.size()), &got);
    if (result != ERROR_SUCCESS || got != kSize)
        return std::nullopt;
    return stored;
}

void StoreDevmode(HANDLE printer, const wchar_t* valueName, Buffer& d)
{
    UpdateChecksum(d);
    QelSetPrinterDataW(printer, const_cast<LPWSTR>(valueName), REG_BINARY, d.data(), DWORD(d.size()));
}

bool SameModelName(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    const std::string x(GetText(a, kModelName)), y(GetText(b, kModelName));
    return lstrcmpiA(x.c_str(), y.c_str()) == 0;
}

// A fresh default devmode for the printer with the driver configuration applied: the installed
// one, and the printer's configuration data when readData. Whether any configuration applied.
bool FreshDefaults(HANDLE printer, const Buffer& named, std::string_view driverName, Buffer& fresh,
                   bool readData)
{
    fresh = named;
    BuildDriverDefaults(fresh, driverName);
    bool applied = profiles::ApplyInstalledConfiguration(fresh, printer);
    if (readData) {
        model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), fresh);
        applied = LoadConfigData(printer, kDefDrvCfgDataValue, fresh, 0, &env) || applied;
    }
    return applied;
}

}  // namespace

bool BuildFreshDefaults(HANDLE printer, const wchar_t* driverName, const wchar_t* printerName, Buffer& fresh)
{
    Buffer named{};
    PutNames(named, driverName, printerName);
    const std::string printerText(GetText(named, kPrinterName));
    return FreshDefaults(printer, named, printerText, fresh, true);
}

bool BuildCurrentDevmode(HANDLE printer, Buffer& out, const wchar_t* driverName)
{
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return false;
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    if (!driverName)
        driverName = p->pDriverName;
    Buffer named{};
    PutNames(named, driverName, p->pPrinterName);
    const std::string driver = NarrowText(driverName);
    const ModuleResources resources(DriverModule());

    Buffer fresh;
    if (std::optional<Buffer> stored = ReadStoredDevmode(printer, kCurrentDevmodeValue);
        stored && IsDriverDevmode(*stored)) {
        FreshDefaults(printer, named, driver, fresh, true);
        CopyHardwareValues(*stored, fresh);
        ApplyFontSets(*stored, resources, CodePageSupported);
        UpdateChecksum(*stored);
        out = *stored;
        return true;
    }

    bool applied = FreshDefaults(printer, named, driver, fresh, false);
    StoreDevmode(printer, kCurrentDefaultDevmodeValue, fresh);
    if (!applied) {
        const Buffer before = fresh;
        model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), fresh);
        applied = LoadConfigData(printer, kDefDrvCfgDataValue, fresh, 0, &env);
        if (applied && !SettingsEqual(fresh, before))
            ClearConfigIdentity(fresh);
    }

    Buffer result = fresh;
    if (!applied) {
        const auto spooler = SpoolerDevmode(info);
        if (IsDriverDevmode(spooler) && SameModelName(spooler, fresh))
            std::copy_n(spooler.begin(), kSize, result.begin());
        else if (!spooler.empty())
            MergeOver(result, spooler);
    }

    CopyHardwareValues(result, fresh);
    StoreDevmode(printer, kCurrentDevmodeValue, result);
    model::ModelEnvironment env = model::LoadModelEnvironment(DriverModule(), result);
    StoreConfigData(printer, kDefDrvCfgDataValue, result, &env);
    ApplyFontSets(result, resources, CodePageSupported);
    UpdateChecksum(result);
    out = result;
    return true;
}

}  // namespace devmode
