// Stand-in for the profile library QVTDX5PU.DLL. Profiles are files in the directory that
// QVTDX5PU_STORE names (the temporary directory's "qvtdx5pu" without it), one per profile;
// "GetDCD" reads the configuration file it is given. Each call is recorded as one line, the
// export's name and its arguments separated by tabs, appended to the file that QVTDX5PU_RECORD
// names. A request whose size, version or identification block is not the one QVTDX5DA sends is
// refused with ERROR_INVALID_PARAMETER.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <type_traits>
#include <string>
#include <vector>

#include "ProfileApi.h"

using namespace profiles;

namespace {

constexpr DWORD kMagic = 0x55505651;  // "QVPU"

// The identification block as the library writes and checks it: the interface's words and text.
void PutIdent(IdentBlock& block)
{
    std::memset(&block, 0, sizeof block);
    std::memcpy(block.words, kIdentWords, sizeof block.words);
    std::memcpy(block.text, kIdentText, sizeof kIdentText);
}

bool IdentMatches(const IdentBlock& block)
{
    IdentBlock expected;
    PutIdent(expected);
    return std::memcmp(block.words, expected.words, sizeof block.words) == 0 &&
           std::memcmp(block.text, expected.text, sizeof kIdentText) == 0;
}

std::string Env(const char* name)
{
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

std::string Text(const char* s)
{
    return s ? s : "(null)";
}

std::string Hex(const ConfigId& id)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08lX%08lX%08lX%08lX", static_cast<unsigned long>(id.words[0]),
                  static_cast<unsigned long>(id.words[1]), static_cast<unsigned long>(id.words[2]),
                  static_cast<unsigned long>(id.words[3]));
    return text;
}

void Record(const std::string& line)
{
    const std::string path = Env("QVTDX5PU_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

std::string StoreDir()
{
    std::string dir = Env("QVTDX5PU_STORE");
    if (dir.empty()) {
        char temp[MAX_PATH];
        const DWORD n = GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp, n < MAX_PATH ? n : 0) + "qvtdx5pu";
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::optional<std::string> ReadWhole(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

bool WriteWhole(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// One stored profile.
struct Profile {
    DWORD kind = 0;
    ConfigId id{};
    DWORD contentFlags[3] = {};
    std::string printer, name, model, record, data;

    std::string Encode() const
    {
        std::string out;
        const auto word = [&](DWORD w) { out.append(reinterpret_cast<const char*>(&w), sizeof w); };
        const auto text = [&](const std::string& s) {
            word(DWORD(s.size()));
            out += s;
        };
        word(kMagic);
        word(kind);
        for (DWORD w : id.words)
            word(w);
        for (DWORD w : contentFlags)
            word(w);
        for (const std::string* s : {&printer, &name, &model, &record, &data})
            text(*s);
        return out;
    }
    static std::optional<Profile> Decode(const std::string& bytes)
    {
        Profile p;
        std::size_t at = 0;
        const auto word = [&](DWORD& w) {
            if (bytes.size() - at < sizeof w)
                return false;
            std::memcpy(&w, bytes.data() + at, sizeof w);
            at += sizeof w;
            return true;
        };
        const auto text = [&](std::string& s) {
            DWORD n = 0;
            if (!word(n) || bytes.size() - at < n)
                return false;
            s.assign(bytes, at, n);
            at += n;
            return true;
        };
        DWORD magic = 0;
        if (!word(magic) || magic != kMagic || !word(p.kind))
            return std::nullopt;
        for (DWORD& w : p.id.words)
            if (!word(w))
                return std::nullopt;
        for (DWORD& w : p.contentFlags)
            if (!word(w))
                return std::nullopt;
        for (std::string* s : {&p.printer, &p.name, &p.model, &p.record, &p.data})
            if (!text(*s))
                return std::nullopt;
        return p;
    }
    std::string Path() const { return StoreDir() + "\\" + Hex(id) + ".prf"; }
};

std::vector<Profile> AllProfiles()
{
    std::vector<Profile> all;
    WIN32_FIND_DATAA found;
    const std::string dir = StoreDir();
    const HANDLE search = FindFirstFileA((dir + "\\*.prf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return all;
    do {
        if (const auto bytes = ReadWhole(dir + "\\" + found.cFileName))
            if (auto p = Profile::Decode(*bytes))
                all.push_back(std::move(*p));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return all;
}

std::optional<Profile> FindProfile(const std::string& printer, const ConfigId& id)
{
    for (Profile& p : AllProfiles())
        if (p.printer == printer && std::memcmp(&p.id, &id, sizeof id) == 0)
            return p;
    return std::nullopt;
}

ConfigId NewId()
{
    DWORD highest = 0;
    for (const Profile& p : AllProfiles())
        highest = p.id.words[1] > highest ? p.id.words[1] : highest;
    return ConfigId{{0x50, highest + 1, GetCurrentProcessId(), GetTickCount()}};
}

// The two-call protocol onto a request's data fields.
template <class Request>
DWORD Deliver(Request* r, const std::string& bytes)
{
    if (!r->data) {
        r->dataSize = DWORD(bytes.size());
        return 0;
    }
    if (r->dataSize < bytes.size())
        return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(r->data, bytes.data(), bytes.size());
    r->dataSize = DWORD(bytes.size());
    return 0;
}

template <class Request>
bool Valid(const Request* r)
{
    return r && r->size == sizeof *r && r->version == kRequestVersion;
}

DWORD ReportEntry(const Profile& p, ConfigEnumProc callback, void* argument)
{
    ConfigEntry e{};
    e.size = sizeof e;
    PutIdent(e.ident);
    e.kind = p.kind;
    e.id = p.id;
    e.name = p.name.c_str();
    std::memcpy(e.contentFlags, p.contentFlags, sizeof e.contentFlags);
    e.modelName = p.model.c_str();
    e.modelRecordName = p.record.c_str();
    e.data = reinterpret_cast<const BYTE*>(p.data.data());
    e.dataSize = DWORD(p.data.size());
    e.printerName = p.printer.c_str();
    return callback(argument, &e);
}

}  // namespace

extern "C" DWORD WINAPI GetDCD(GetDcdRequest* r)
try {
    if (!Valid(r))
        return ERROR_INVALID_PARAMETER;
    Record("GetDCD\t" + Text(r->configFile) + "\t" + Text(r->shortDesc) + "\t" + std::to_string(r->remoteInstall) +
           "\t" + (r->data ? "data" : "size"));
    const std::optional<std::string> bytes = r->configFile ? ReadWhole(r->configFile) : std::nullopt;
    if (!bytes)
        return ERROR_FILE_NOT_FOUND;
    return Deliver(r, *bytes);
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI GetPerProf(GetPerProfRequest* r)
try {
    if (!Valid(r))
        return ERROR_INVALID_PARAMETER;
    Record("GetPerProf\t" + Text(r->printerName) + "\t" + std::to_string(r->kind) + "\t" + Hex(r->id) + "\t" +
           (r->data ? "data" : "size"));
    const std::optional<Profile> p = FindProfile(Text(r->printerName), r->id);
    if (!p)
        return ERROR_FILE_NOT_FOUND;
    return Deliver(r, p->data);
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI WritePerProfile(WritePerProfileRequest* r)
try {
    if (!Valid(r) || !IdentMatches(r->ident))
        return ERROR_INVALID_PARAMETER;
    Profile p;
    p.kind = r->kind;
    p.id = NewId();
    std::memcpy(p.contentFlags, r->contentFlags, sizeof p.contentFlags);
    p.printer = Text(r->printerName);
    p.name = r->name ? r->name : "";
    p.model = Text(r->modelName);
    p.record = Text(r->modelRecordName);
    if (r->data)
        p.data.assign(reinterpret_cast<const char*>(r->data), r->dataSize);
    Record("WritePerProfile\t" + p.printer + "\t" + std::to_string(p.kind) + "\t" + p.name + "\t" + p.model + "\t" +
           p.record + "\t" + std::to_string(p.data.size()) + "\t" + Hex(p.id));
    if (!WriteWhole(p.Path(), p.Encode()))
        return ERROR_WRITE_FAULT;
    r->id = p.id;
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI ChangePerProf(ChangePerProfRequest* r)
try {
    if (!Valid(r) || !IdentMatches(r->ident))
        return ERROR_INVALID_PARAMETER;
    Record("ChangePerProf\t" + Text(r->printerName) + "\t" + Hex(r->id) + "\t" + Text(r->name) + "\t" +
           Text(r->modelName) + "\t" + Text(r->modelRecordName) + "\t" + std::to_string(r->changes) + "\t" +
           std::to_string(r->data ? r->dataSize : 0));
    std::optional<Profile> p = FindProfile(Text(r->printerName), r->id);
    if (!p)
        return ERROR_FILE_NOT_FOUND;
    p->model = Text(r->modelName);
    p->record = Text(r->modelRecordName);
    if (r->changes & kChangeName)
        p->name = Text(r->name);
    if ((r->changes & kChangeData) && r->data) {
        p->data.assign(reinterpret_cast<const char*>(r->data), r->dataSize);
        std::memcpy(p->contentFlags, r->contentFlags, sizeof p->contentFlags);
    }
    if (!WriteWhole(p->Path(), p->Encode()))
        return ERROR_WRITE_FAULT;
    r->newId = p->id;
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI EnumPerProfs(EnumPerProfsRequest* r)
try {
    if (!Valid(r) || !r->callback)
        return ERROR_INVALID_PARAMETER;
    Record("EnumPerProfs\t" + Text(r->printerName) + "\t" + std::to_string(r->kind));
    for (const Profile& p : AllProfiles())
        if (p.printer == Text(r->printerName) && p.kind == r->kind && ReportEntry(p, r->callback, r->argument) != 0)
            break;
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI EnumSpecificPerProf(EnumSpecificPerProfRequest* r)
try {
    if (!Valid(r) || !r->callback)
        return ERROR_INVALID_PARAMETER;
    Record("EnumSpecificPerProf\t" + Text(r->printerName) + "\t" + std::to_string(r->kind) + "\t" + Hex(r->id));
    for (const Profile& p : AllProfiles())
        if (p.printer == Text(r->printerName) && (r->kind == 0 || p.kind == r->kind) &&
            std::memcmp(&p.id, &r->id, sizeof p.id) == 0 && ReportEntry(p, r->callback, r->argument) != 0)
            break;
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

extern "C" DWORD WINAPI DeletePerProf(DeletePerProfRequest* r)
try {
    if (!Valid(r) || r->target != kDeleteTargetProfile)
        return ERROR_INVALID_PARAMETER;
    Record("DeletePerProf\t" + Text(r->printerName) + "\t" + std::to_string(r->kind) + "\t" + Hex(r->id));
    const std::optional<Profile> p = FindProfile(Text(r->printerName), r->id);
    if (!p)
        return ERROR_FILE_NOT_FOUND;
    return DeleteFileA(p->Path().c_str()) ? 0 : GetLastError();
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

// The most profiles of a kind a printer may hold: QVTDX5PU_MAX (no limit without it).
extern "C" DWORD WINAPI DoesMaxPerProfsExist(MaxProfilesRequest* r, MaxProfilesRequest* again)
try {
    if (!r || r != again || r->size != sizeof *r || r->version != kMaxProfilesVersion)
        return ERROR_INVALID_PARAMETER;
    std::size_t held = 0;
    for (const Profile& p : AllProfiles())
        held += p.printer == Text(r->printerName) && p.kind == r->kind ? 1 : 0;
    const std::string max = Env("QVTDX5PU_MAX");
    r->reached = !max.empty() && held >= std::size_t(std::strtoul(max.c_str(), nullptr, 10)) ? 1 : 0;
    Record("DoesMaxPerProfsExist\t" + Text(r->printerName) + "\t" + std::to_string(r->kind) + "\t" +
           std::to_string(held) + "\t" + std::to_string(r->reached));
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

// The wizard itself is the library's; the stand-in records what it was handed.
extern "C" DWORD WINAPI DrvProfileWizard(WizardRequest* r)
try {
    if (!r || r->size != sizeof *r || r->version != kWizardVersion)
        return ERROR_INVALID_PARAMETER;
    Record("DrvProfileWizard\t" + Text(r->printerName) + "\t" + Text(r->helpFile) + "\t" + std::to_string(r->mode) +
           "\t" + std::to_string(r->devmodeSize) + "\t" + (r->owner ? "owner" : "no owner"));
    return 0;
} catch (...) {
    return ERROR_OUTOFMEMORY;
}

static_assert(std::is_same_v<decltype(&DoesMaxPerProfsExist), DoesMaxPerProfsExistProc>);
static_assert(std::is_same_v<decltype(&DrvProfileWizard), DrvProfileWizardProc>);
static_assert(std::is_same_v<decltype(&GetDCD), GetDcdProc>);
static_assert(std::is_same_v<decltype(&GetPerProf), GetPerProfProc>);
static_assert(std::is_same_v<decltype(&WritePerProfile), WritePerProfileProc>);
static_assert(std::is_same_v<decltype(&ChangePerProf), ChangePerProfProc>);
static_assert(std::is_same_v<decltype(&EnumPerProfs), EnumPerProfsProc>);
static_assert(std::is_same_v<decltype(&EnumSpecificPerProf), EnumSpecificPerProfProc>);
static_assert(std::is_same_v<decltype(&DeletePerProf), DeletePerProfProc>);
