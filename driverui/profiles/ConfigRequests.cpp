#include "ConfigRequests.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "ConfigApply.h"
#include "ConfigStore.h"
#include "DevmodeBuild.h"
#include "DevmodeLayout.h"
#include "DialogStrings.h"

namespace profiles {
namespace {

using devmode::Get;
using devmode::Set;

// Duplex units (model flag byte 397, bits 3 and 4); without one, duplex needs a finishing option.
constexpr std::uint8_t kDuplexUnitBits = 0x18;
constexpr std::int16_t kSimplex = 1;
constexpr std::int16_t kDuplexLong = 2;
constexpr std::int16_t kDuplexShort = 3;
constexpr std::uint8_t kFinishingLong = 0x2;
constexpr std::uint8_t kFinishingShort = 0x1;

// Profiles are stored as the printer's own data is.
constexpr std::uint32_t kOpProfile = 3;

bool Usable(const ConfigTarget& t)
{
    return t.devmode.size() >= devmode::kSize && t.printer;
}

// A copy of the working devmode with the feature entries written into it.
devmode::Buffer WorkingCopy(const ConfigTarget& t)
{
    devmode::Buffer copy{};
    std::copy_n(t.devmode.begin(), devmode::kSize, copy.begin());
    if (t.writeEntries)
        t.writeEntries(copy);
    return copy;
}

void Commit(ConfigTarget& t, const devmode::Buffer& result)
{
    std::copy(result.begin(), result.end(), t.devmode.begin());
    if (t.loadEntries)
        t.loadEntries(t.devmode.first(devmode::kSize));
}

void SetIdentity(std::span<std::uint8_t> d, DWORD kind, const ConfigId& id)
{
    Set(d, devmode::kConfigKind, kind);
    for (std::size_t i = 0; i < devmode::kConfigIdWords; ++i)
        Set(d, devmode::U32{std::uint16_t(devmode::kConfigId.offset + 4 * i)}, id.words[i]);
}

// A model without a duplex unit keeps a duplex setting only where its finishing option allows it.
void FitDuplex(std::span<std::uint8_t> d)
{
    if (Get(d, devmode::kPaperHandlingFlagsHigh) & kDuplexUnitBits)
        return;
    const std::int16_t duplex = Get(d, devmode::dmDuplex);
    const std::uint8_t finishing = Get(d, devmode::kFinishing);
    const bool allowed = duplex == kSimplex || (duplex == kDuplexLong && (finishing & kFinishingLong)) ||
                         (duplex == kDuplexShort && (finishing & kFinishingShort));
    if (!allowed)
        Set(d, devmode::dmDuplex, kSimplex);
}

DWORD StatusOf(CallStatus status)
{
    switch (status) {
    case CallStatus::Done: return kResultOk;
    case CallStatus::Missing: return kResultNoLibrary;
    case CallStatus::Refused: break;
    }
    return kResultFailed;
}

bool IsZero(const ConfigId& id)
{
    return std::all_of(std::begin(id.words), std::end(id.words), [](DWORD w) { return w == 0; });
}

// The model's names as the devmode carries them, kept alive for a request's pointers.
struct ModelNames {
    explicit ModelNames(std::span<const std::uint8_t> d)
        : model(devmode::GetText(d, devmode::kModelName)), record(devmode::GetText(d, devmode::kModelDisplayName))
    {
    }
    std::string model;
    std::string record;
};

// What a store and an overwrite both send: the printer, the name, the model and the data, which
// must outlive the request.
template <class Request>
void FillProfile(Request& r, const ConfigTarget& t, const ConfigRequest& request, const ModelNames& names,
                 const std::vector<std::uint8_t>& data)
{
    r.kind = request.kind;
    r.printerName = t.printerName.c_str();
    r.name = request.name;
    r.modelName = names.model.c_str();
    r.modelRecordName = names.record.c_str();
    r.data = data.data();
    r.dataSize = DWORD(data.size());
    std::copy(std::begin(kContentFlags), std::end(kContentFlags), r.contentFlags);
}

}  // namespace

DWORD ResetToDefaults(ConfigTarget& t, ConfigRequest&)
{
    if (!Usable(t))
        return kResultBadRecord;
    devmode::Buffer copy = WorkingCopy(t);
    const std::uint8_t enabled = Get(copy, devmode::kSoftwareEnable);
    devmode::BuildDriverDefaults(copy, t.printerName);
    if (Get(copy, devmode::kSoftwareEnable) != enabled && t.changeCount)
        *t.changeCount = 1;
    Commit(t, copy);
    return kResultOk;
}

DWORD ApplyInstalledDefaults(ConfigTarget& t, ConfigRequest&)
{
    if (!Usable(t))
        return kResultBadRecord;
    // A value that cannot be read stays as it is: a passing read failure must not lose the
    // printer's installed defaults for good.
    const std::optional<std::vector<std::uint8_t>> data = ReadPrinterBytes(t.printer, kInstalledDocDefaultsValue);
    if (!data)
        return kResultFailed;
    devmode::Buffer copy = WorkingCopy(t);
    if (!ApplyData(copy, *data, kOpDocDefaults, t.printer, 0))
        return kResultFailed;
    SetInstalledIdentity(copy);
    Commit(t, copy);
    return kResultOk;
}

DWORD ApplyProfile(ConfigTarget& t, ConfigRequest& request)
{
    if (!Usable(t))
        return kResultBadRecord;
    GetPerProfRequest ask{};
    ask.id = request.id;
    ask.kind = request.kind;
    ask.printerName = t.printerName.c_str();
    const DataReply reply = t.library.GetProfile(t.printerName, ask);
    if (reply.status != CallStatus::Done)
        return StatusOf(reply.status);
    devmode::Buffer copy = WorkingCopy(t);
    if (!ApplyData(copy, reply.data, kOpEverything, t.printer, 0))
        return kResultFailed;
    SetIdentity(copy, request.kind, request.id);
    FitDuplex(copy);
    Commit(t, copy);
    return kResultOk;
}

DWORD StoreProfile(ConfigTarget& t, ConfigRequest& request)
{
    if (!Usable(t))
        return kResultBadRecord;
    const devmode::Buffer copy = WorkingCopy(t);
    const std::vector<std::uint8_t> data = BuildData(copy, kOpProfile, t.printer);
    if (data.empty())
        return kResultNothingBuilt;
    const ModelNames names(copy);
    WritePerProfileRequest store{};
    FillProfile(store, t, request, names, data);
    const CallStatus status = t.library.WriteProfile(t.printerName, store);
    if (status != CallStatus::Done)
        return StatusOf(status);
    request.id = store.id;
    SetIdentity(t.devmode, request.kind, store.id);
    return kResultOk;
}

DWORD OverwriteProfile(ConfigTarget& t, ConfigRequest& request)
{
    if (!Usable(t))
        return kResultBadRecord;
    const devmode::Buffer copy = WorkingCopy(t);
    const std::vector<std::uint8_t> data = BuildData(copy, kOpProfile, t.printer);
    if (data.empty())
        return kResultNothingBuilt;
    const ModelNames names(copy);
    ChangePerProfRequest change{};
    FillProfile(change, t, request, names, data);
    change.id = request.id;
    change.newId = request.id;
    change.changes = kChangeData | (request.name ? kChangeName : 0);
    const CallStatus status = t.library.ChangeProfile(t.printerName, change);
    if (status != CallStatus::Done)
        return StatusOf(status);
    request.id = change.newId;
    SetIdentity(t.devmode, request.kind, change.newId);
    return kResultOk;
}

DWORD DeleteProfile(ConfigTarget& t, ConfigRequest& request)
{
    if (!Usable(t))
        return kResultBadRecord;
    DeletePerProfRequest remove{};
    remove.id = request.id;
    remove.kind = request.kind;
    remove.printerName = t.printerName.c_str();
    return StatusOf(t.library.DeleteProfile(t.printerName, remove));
}

DWORD EnumConfigurations(ConfigTarget& t, ConfigRequest& request, ConfigEnumProc callback, void* argument)
{
    if (!Usable(t) || !callback)
        return kResultBadRecord;
    if (request.kind & kEnumBuiltIn) {
        const std::string factory = DialogString(kFactoryNameString).value_or(kFactoryNameFallback);
        const std::string installed = DialogString(kInstalledNameString).value_or(kInstalledNameFallback);
        const bool hasInstalled = ReadPrinterBytes(t.printer, kInstalledDocDefaultsValue).has_value();
        for (const DWORD subKind : {kFactoryDefaults, kInstalledDefaults}) {
            if (subKind == kInstalledDefaults && !hasInstalled)
                continue;
            ConfigEntry entry{};
            entry.size = sizeof entry;
            FillIdentBlock(entry.ident);
            entry.kind = kKindBuiltIn;
            entry.id.words[0] = subKind;
            entry.name = subKind == kFactoryDefaults ? factory.c_str() : installed.c_str();
            entry.printerName = t.printerName.c_str();
            if (callback(argument, &entry) != 0)
                return kResultOk;
        }
    }
    for (const auto& [bit, kind] : {std::pair{kEnumShared, kKindShared}, std::pair{kEnumPersonal, kKindPersonal}}) {
        if (!(request.kind & bit))
            continue;
        CallStatus status;
        if (IsZero(request.id)) {
            EnumPerProfsRequest list{};
            list.printerName = t.printerName.c_str();
            list.kind = kind;
            list.callback = callback;
            list.argument = argument;
            status = t.library.EnumProfiles(t.printerName, list);
        } else {
            EnumSpecificPerProfRequest list{};
            list.kind = kind;
            list.id = request.id;
            list.printerName = t.printerName.c_str();
            list.callback = callback;
            list.argument = argument;
            status = t.library.EnumSpecificProfiles(t.printerName, list);
        }
        if (status != CallStatus::Done)
            return StatusOf(status);
    }
    return kResultOk;
}

DWORD RenameProfile(ConfigTarget& t, ConfigRequest& request)
{
    if (!Usable(t) || !request.name)
        return kResultBadRecord;
    const ModelNames names(t.devmode);
    ChangePerProfRequest change{};
    change.kind = request.kind;
    change.id = request.id;
    change.newId = request.id;
    change.printerName = t.printerName.c_str();
    change.name = request.name;
    change.modelName = names.model.c_str();
    change.modelRecordName = names.record.c_str();
    change.changes = kChangeName;
    return StatusOf(t.library.ChangeProfile(t.printerName, change));
}

DWORD ConfigAccess(int type, ConfigTarget& t, ConfigRequest* request, ConfigEnumProc callback, void* argument)
{
    if (!request || request->size < sizeof(ConfigRequest))
        return kResultBadRecord;
    switch (type) {
    case kRequestResetDefaults: return ResetToDefaults(t, *request);
    case kRequestInstalledDefaults: return ApplyInstalledDefaults(t, *request);
    case kRequestApplyProfile: return ApplyProfile(t, *request);
    case kRequestStoreProfile: return StoreProfile(t, *request);
    case kRequestOverwriteProfile: return OverwriteProfile(t, *request);
    case kRequestDeleteProfile: return DeleteProfile(t, *request);
    case kRequestEnumConfigs: return EnumConfigurations(t, *request, callback, argument);
    case kRequestRenameProfile: return RenameProfile(t, *request);
    default: return kResultBadRecord;
    }
}

}  // namespace profiles
