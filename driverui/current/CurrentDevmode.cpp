#include "CurrentDevmode.h"

#include <winspool.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BuildNotice.h"
#include "ConfigApply.h"
#include "ConfigStore.h"
#include "LayoutCopy.h"
#include "Library.h"
#include "ModelSource.h"
#include "Settings.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"
#include "SpoolerCache.h"

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

bool BuildFreshNow(HANDLE printer, const wchar_t* driverName, const wchar_t* printerName, Buffer& fresh)
{
    Buffer named{};
    PutNames(named, driverName, printerName);
    const std::string printerText(GetText(named, kPrinterName));
    return FreshDefaults(printer, named, printerText, fresh, true);
}

bool BuildCurrentNow(HANDLE printer, Buffer& out, const wchar_t* driverName)
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

// ---- Builds kept between calls.
//
// A print dialog asks for the current devmode with every capability query and every request for
// the document defaults. A build reads the printer's values and the model file and may write the
// software-enable value; while nothing the spooler stores has changed since (SpoolerCache.h), the
// model file names the same model and every value the build read or wrote still holds what it
// saw, building again would read the same and write nothing new, so the devmode built then is the
// answer. A build that showed a notice, applied an installed configuration (its file is read by
// the profile library), or read what its footprint cannot check again is not kept.

enum class BuildKind { Current, Fresh };

struct BuildKey {
    BuildKind kind = BuildKind::Current;
    std::wstring printer;  // the cache's name of the printer
    std::wstring driver;   // the driver name asked for; empty for the printer's own
    std::wstring named;    // the printer name asked for (fresh defaults)
    auto operator<=>(const BuildKey&) const = default;
};

struct KeptBuild {
    std::uint64_t generation = 0;
    std::string modelName;    // as the model file is asked about it
    std::string lookup;       // what the model file answered
    std::string printerName;  // as the installed configuration is asked about it
    spoolcache::Observed seen;
    Buffer devmode{};
};

constexpr std::size_t kKeptBuilds = 32;
SRWLOCK g_keptLock = SRWLOCK_INIT;

std::map<BuildKey, KeptBuild>& KeptBuilds()
{
    static std::map<BuildKey, KeptBuild> kept;
    return kept;
}

// The model file's answer for a model name, asked once a call.
std::string LookupThisCall(const std::string& modelName)
{
    thread_local std::uint64_t serial = 0;
    thread_local char model[128];
    thread_local char lookup[256];
    const std::uint64_t now = spoolcache::ScopeSerial();
    if (now && now == serial && modelName == model)
        return lookup;
    const std::string answer = ModelLookupName(modelName);
    if (now && modelName.size() < sizeof model && answer.size() < sizeof lookup) {
        serial = now;
        lstrcpynA(model, modelName.c_str(), sizeof model);
        lstrcpynA(lookup, answer.c_str(), sizeof lookup);
    }
    return answer;
}

// Whether the installed configuration's hand-off for the printer is waiting in the registry.
bool HandOffWaiting(const std::string& printerName)
{
    if (printerName.empty())
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (profiles::kHandOffKeyPrefix + printerName).c_str(), 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool FindKept(const BuildKey& key, std::uint64_t generation, Buffer& out)
{
    std::string modelName, lookup;
    bool found = false;
    AcquireSRWLockShared(&g_keptLock);
    const auto& kept = KeptBuilds();
    if (const auto hit = kept.find(key); hit != kept.end() && hit->second.generation == generation) {
        found = true;
        modelName = hit->second.modelName;
        lookup = hit->second.lookup;
        out = hit->second.devmode;
    }
    ReleaseSRWLockShared(&g_keptLock);
    return found && LookupThisCall(modelName) == lookup;
}

// Whether what the build saw holds now (the store looked at since): nothing it read or wrote has
// changed, the model file answers the same, and no hand-off waits.
bool StillValid(const KeptBuild& k)
{
    return !HandOffWaiting(k.printerName) && LookupThisCall(k.modelName) == k.lookup && k.seen.StillHolds();
}

// Keeps a build and takes again the others of the printer that the call's own writes made look
// stale but that still hold: a run that alternates between callers then settles.
void Keep(const BuildKey& key, KeptBuild build)
{
    const std::uint64_t now = spoolcache::Generation();
    if (!now || !StillValid(build))
        return;
    build.generation = now;
    std::vector<std::pair<BuildKey, KeptBuild>> older;
    AcquireSRWLockExclusive(&g_keptLock);
    auto& kept = KeptBuilds();
    if (kept.size() >= kKeptBuilds)
        kept.clear();
    kept[key] = std::move(build);
    for (const auto& [k, b] : kept)
        if (k.printer == key.printer && b.generation != now)
            older.emplace_back(k, b);
    ReleaseSRWLockExclusive(&g_keptLock);
    for (auto& [k, b] : older) {
        const bool holds = StillValid(b);
        AcquireSRWLockExclusive(&g_keptLock);
        const auto it = kept.find(k);
        if (it != kept.end() && it->second.generation == b.generation) {
            if (holds)
                it->second.generation = now;
            else
                kept.erase(it);
        }
        ReleaseSRWLockExclusive(&g_keptLock);
    }
}

// The build's result, kept or built; modelName and printerName are the names the build gives the
// model file and the installed configuration.
template <class Build>
bool Kept(BuildKey key, HANDLE printer, const std::string& modelName, const std::string& printerName, Buffer& out,
          Build build)
{
    const std::uint64_t generation = spoolcache::Generation();
    key.printer = generation ? spoolcache::PrinterOf(printer) : std::wstring();
    if (key.printer.empty())
        return build(out);
    if (FindKept(key, generation, out))
        return true;

    const std::string lookup = LookupThisCall(modelName);
    const unsigned notices = notices::NoticeCount();
    spoolcache::Footprint footprint;
    if (!build(out))
        return false;
    spoolcache::Observed seen = footprint.Take();
    bool named = false;
    if (notices::NoticeCount() != notices || (seen.Saw(profiles::kPwFlagValue, &named) && named) ||
        ModelLookupName(modelName) != lookup)
        return true;
    // Judged when the call's own writes are done: a later build in the same call may write what
    // this one read.
    spoolcache::WhenCallEnds([key = std::move(key), build = KeptBuild{0, modelName, lookup, printerName,
                                                                      std::move(seen), out}] {
        Keep(key, build);
    });
    return true;
}

}  // namespace

bool BuildFreshDefaults(HANDLE printer, const wchar_t* driverName, const wchar_t* printerName, Buffer& fresh)
{
    const BuildKey key{BuildKind::Fresh, {}, driverName ? driverName : L"", printerName ? printerName : L""};
    return Kept(key, printer, NarrowText(driverName), std::string(ReducePrinterName(NarrowText(printerName))), fresh,
                [&](Buffer& b) { return BuildFreshNow(printer, driverName, printerName, b); });
}

bool BuildCurrentDevmode(HANDLE printer, Buffer& out, const wchar_t* driverName)
{
    // Outside a call scope nothing is kept: no reason to ask the spooler twice.
    if (!spoolcache::Generation())
        return BuildCurrentNow(printer, out, driverName);
    const std::vector<BYTE> info = PrinterInfo2(printer);
    if (info.empty())
        return false;
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    // The printer's own driver named is the printer's own driver.
    if (driverName && p->pDriverName && wcscmp(driverName, p->pDriverName) == 0)
        driverName = nullptr;
    const BuildKey key{BuildKind::Current, {}, driverName ? driverName : L"", {}};
    return Kept(key, printer, NarrowText(driverName ? driverName : p->pDriverName),
                std::string(ReducePrinterName(NarrowText(p->pPrinterName))), out,
                [&](Buffer& b) { return BuildCurrentNow(printer, b, driverName); });
}

bool KeptCurrentDevmode(const wchar_t* printerName, Buffer& out)
{
    const std::uint64_t generation = spoolcache::Generation();
    if (!generation || !printerName)
        return false;
    return FindKept(BuildKey{BuildKind::Current, spoolcache::PrinterKey(printerName), L"", {}}, generation, out);
}

}  // namespace devmode
