#include "SpoolerCache.h"

#include <winspool.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <cwctype>
#include <optional>
#include <type_traits>

#include "SpoolLock.h"

namespace spoolcache {
namespace {

// Where the spooler keeps its printers, their values, drivers and forms; its key for one
// printer; and the maker's key, which holds the installed configuration's hand-off.
constexpr wchar_t kSpoolerStore[] = L"System\\CurrentControlSet\\Control\\Print";
constexpr wchar_t kPrinterKeyPrefix[] = L"System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Qelbrin";
constexpr wchar_t kSoftwareKey[] = L"SOFTWARE";
constexpr DWORD kChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
// The footprint's name for a printer's own name, driver and devmode (level 2).
constexpr wchar_t kPrinterInfoSeen[] = L"\x01printer";

std::wstring Folded(std::wstring text)
{
    for (wchar_t& c : text)
        c = wchar_t(std::towlower(c));
    return text;
}

// ---- The notifications and the generation.

class StoreWatch {
public:
    ~StoreWatch()
    {
        Close();
        if (event_)
            CloseHandle(event_);
    }

    // Both notifications armed anew; false when the spooler's key or neither of the others can
    // be watched. Without the maker's key its creation is watched for.
    bool Arm()
    {
        Close();
        if (!event_)
            event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!event_)
            return false;
        ResetEvent(event_);
        if (!Watch(kSpoolerStore, true, store_))
            return false;
        return Watch(kMakerKey, true, maker_) || Watch(kSoftwareKey, false, maker_);
    }

    bool Fired() const { return !event_ || WaitForSingleObject(event_, 0) != WAIT_TIMEOUT; }

private:
    bool Watch(const wchar_t* path, bool subtree, HKEY& key)
    {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS) {
            key = nullptr;
            return false;
        }
        if (RegNotifyChangeKeyValue(key, subtree, kChanges, event_, TRUE) == ERROR_SUCCESS)
            return true;
        RegCloseKey(key);
        key = nullptr;
        return false;
    }

    void Close()
    {
        for (HKEY* key : {&store_, &maker_})
            if (*key) {
                RegCloseKey(*key);
                *key = nullptr;
            }
    }

    HANDLE event_ = nullptr;
    HKEY store_ = nullptr;
    HKEY maker_ = nullptr;
};

struct Kept {
    std::uint64_t generation = 0;
};

// An out-parameter the spooler left as it was (no type or size it ever reports).
constexpr DWORD kUntouched = 0xFFFFFFFFu;

// The spooler's answer to one question about a printer value that it did not answer with the
// value itself (missing, or a buffer too small or none); kUntouched where it left the caller's
// variable as it was.
struct Answer {
    bool buffer = false;  // the question: with a buffer, and its size
    DWORD size = 0;
    DWORD result = 0;
    DWORD type = kUntouched;
    DWORD needed = kUntouched;
};
struct KeptValue : Kept {
    std::vector<Answer> answers;
    bool full = false;  // the value itself
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

// A kept record with pointers into itself (PRINTER_INFO_2W, DRIVER_INFO_3W).
struct KeptRecord : Kept {
    std::vector<BYTE> bytes;
    std::uintptr_t base = 0;
};

using ValueKey = std::pair<std::wstring, std::wstring>;

struct State {
    SRWLOCK lock = SRWLOCK_INIT;
    // Never goes back, so that nothing kept under an old number passes for new; 0 is never used.
    std::atomic<std::uint64_t> generation{1};
    std::atomic<bool> armed{false};
    StoreWatch watch;
    std::map<ValueKey, KeptValue> values;
    std::map<std::wstring, KeptRecord> printers;
    std::map<ValueKey, KeptRecord> drivers;
    std::map<std::wstring, std::pair<std::uint64_t, bool>> here;
};

State& Shared()
{
    static State state;
    return state;
}

// Our own write: what was read before it is stale.
void Invalidate()
{
    ++Shared().generation;
}

// ---- The scope and the printers its handles refer to.

thread_local CallScope* t_scope = nullptr;
thread_local std::uint64_t t_scopeSerial = 0;
std::atomic<std::uint64_t> g_scopes{0};
// Set while the cache asks the spooler on its own account: nothing of that is recorded.
thread_local bool t_quiet = false;
thread_local Footprint* t_footprint = nullptr;

class Quiet {
public:
    Quiet() : was_(t_quiet) { t_quiet = true; }
    ~Quiet() { t_quiet = was_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    bool was_;
};

// A printer of this machine's own store: not a connection, and its key is there (which only a
// change of the store changes).
bool KeptHere(const std::wstring& name)
{
    if (name.empty() || name.rfind(L"\\\\", 0) == 0)
        return false;
    State& s = Shared();
    const std::wstring folded = Folded(name);
    const std::uint64_t g = s.generation.load();
    AcquireSRWLockShared(&s.lock);
    const auto known = s.here.find(folded);
    const std::optional<bool> answer =
        known != s.here.end() && known->second.first == g ? std::optional<bool>(known->second.second) : std::nullopt;
    ReleaseSRWLockShared(&s.lock);
    if (answer)
        return *answer;
    HKEY key = nullptr;
    const bool here = RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kPrinterKeyPrefix + name).c_str(), 0, KEY_QUERY_VALUE,
                                    &key) == ERROR_SUCCESS;
    if (here)
        RegCloseKey(key);
    AcquireSRWLockExclusive(&s.lock);
    s.here[folded] = {g, here};
    ReleaseSRWLockExclusive(&s.lock);
    return here;
}

// The printer's name as the spooler tells it for the handle (level 4: name and server only).
std::wstring AskName(HANDLE printer)
{
    const Quiet quiet;
    std::vector<BYTE> buffer(512);
    DWORD needed = 0;
    if (!LockedGetPrinterW(printer, 4, buffer.data(), DWORD(buffer.size()), &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(PRINTER_INFO_4W))
            return {};
        buffer.resize(needed);
        if (!LockedGetPrinterW(printer, 4, buffer.data(), needed, &needed))
            return {};
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    if (info->pServerName && *info->pServerName)
        return {};
    return info->pPrinterName ? info->pPrinterName : L"";
}

}  // namespace

struct Scopes {
    static std::wstring* Find(HANDLE printer)
    {
        if (!t_scope)
            return nullptr;
        for (auto& [handle, name] : t_scope->printers_)
            if (handle == printer)
                return &name;
        return nullptr;
    }
    static void Put(HANDLE printer, std::wstring name)
    {
        if (std::wstring* known = Find(printer))
            *known = std::move(name);
        else
            t_scope->printers_.emplace_back(printer, std::move(name));
    }
    static void AtEnd(std::function<void()> action) { t_scope->atEnd_.push_back(std::move(action)); }
    static void Drop(HANDLE printer)
    {
        auto& all = t_scope->printers_;
        std::erase_if(all, [&](const auto& p) { return p.first == printer; });
    }
};

CallScope::CallScope()
{
    if (t_scope)
        return;
    outermost_ = true;
    t_scope = this;
    t_scopeSerial = ++g_scopes;
    Refresh();
}

CallScope::~CallScope()
{
    if (!outermost_)
        return;
    if (!atEnd_.empty()) {
        Refresh();
        for (const auto& action : atEnd_)
            action();
    }
    t_scope = nullptr;
    t_scopeSerial = 0;
}

void WhenCallEnds(std::function<void()> action)
{
    if (t_scope)
        Scopes::AtEnd(std::move(action));
    else
        action();
}

std::uint64_t ScopeSerial()
{
    return t_scopeSerial;
}

std::wstring PrinterKey(const std::wstring& name)
{
    return Folded(name);
}

std::uint64_t Generation()
{
    const State& s = Shared();
    return t_scope && s.armed ? s.generation.load() : 0;
}

std::uint64_t Refresh()
{
    State& s = Shared();
    AcquireSRWLockExclusive(&s.lock);
    if (!s.armed || s.watch.Fired()) {
        // Armed before anything is read again: a change from now on fires it.
        s.armed = s.watch.Arm();
        s.values.clear();
        s.printers.clear();
        s.drivers.clear();
        s.here.clear();
        ++s.generation;
    }
    ReleaseSRWLockExclusive(&s.lock);
    return Generation();
}

std::wstring PrinterOf(HANDLE printer)
{
    if (!t_scope || !printer)
        return {};
    if (const std::wstring* known = Scopes::Find(printer))
        return *known;
    std::wstring name = AskName(printer);
    if (!KeptHere(name))
        name.clear();
    Scopes::Put(printer, Folded(name));
    return *Scopes::Find(printer);
}

void Opened(HANDLE printer, const std::wstring& name)
{
    if (!t_scope || !printer)
        return;
    Scopes::Put(printer, KeptHere(name) ? Folded(name) : std::wstring());
}

void Closed(HANDLE printer)
{
    if (t_scope && printer)
        Scopes::Drop(printer);
}

// ---- Footprints.

struct Recorder {
    static void Read(const std::wstring& printer, const std::wstring& value, DWORD result, DWORD type,
                     const BYTE* data, DWORD size, DWORD needed)
    {
        for (Footprint* f = t_footprint; f; f = f->outer_) {
            Observed& o = f->observed_;
            if (printer.empty()) {
                o.unknown_ = true;
                continue;
            }
            Observed::Seen& s = o.seen_[{printer, Folded(value)}];
            if (s.wrote || s.read)
                continue;
            const bool whole = (result == ERROR_SUCCESS && data && needed <= size) || result == ERROR_FILE_NOT_FOUND;
            if (!whole) {
                if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)
                    s.partial = true;
                else
                    o.unknown_ = true;
                continue;
            }
            s.read = true;
            s.partial = false;
            s.result = result;
            s.type = type;
            if (result == ERROR_SUCCESS)
                s.bytes.assign(data, data + needed);
        }
    }
    static void Write(const std::wstring& printer, const std::wstring& value, DWORD type, const BYTE* data,
                      DWORD size)
    {
        for (Footprint* f = t_footprint; f; f = f->outer_) {
            Observed& o = f->observed_;
            if (printer.empty()) {
                o.unknown_ = true;
                continue;
            }
            Observed::Seen& s = o.seen_[{printer, Folded(value)}];
            if ((s.partial && !s.read) || (s.read && (s.result != ERROR_SUCCESS || s.type != type ||
                                                      s.bytes != std::vector<BYTE>(data, data + size))))
                o.unknown_ = true;  // a value the work read and then changed
            s.wrote = true;
            s.writtenType = type;
            s.written.assign(data, data + size);
        }
    }
    static void Unknown()
    {
        for (Footprint* f = t_footprint; f; f = f->outer_)
            f->observed_.unknown_ = true;
    }
};

namespace {

// What of a level-2 record the work can depend on: name, driver and the spooler's devmode.
std::vector<BYTE> PrinterInfoSeen(const BYTE* buffer, DWORD size)
{
    std::vector<BYTE> seen;
    if (!buffer || size < sizeof(PRINTER_INFO_2W))
        return seen;
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(buffer);
    const auto put = [&](const void* bytes, std::size_t n) {
        const auto* b = static_cast<const BYTE*>(bytes);
        const std::uint32_t length = std::uint32_t(n);
        seen.insert(seen.end(), reinterpret_cast<const BYTE*>(&length), reinterpret_cast<const BYTE*>(&length) + 4);
        seen.insert(seen.end(), b, b + n);
    };
    for (const wchar_t* text : {p->pPrinterName, p->pDriverName})
        put(text ? text : L"", (text ? wcslen(text) : 0) * sizeof(wchar_t));
    const BYTE* dm = reinterpret_cast<const BYTE*>(p->pDevMode);
    if (dm && dm >= buffer && dm + sizeof(DEVMODEW) <= buffer + size) {
        const std::size_t declared = std::size_t(p->pDevMode->dmSize) + p->pDevMode->dmDriverExtra;
        put(dm, std::min<std::size_t>(declared, std::size_t(buffer + size - dm)));
    } else {
        put(nullptr, 0);
    }
    return seen;
}

}  // namespace

void SawValue(HANDLE printer, const std::wstring& valueName, DWORD result, DWORD type, const BYTE* data,
              DWORD size, DWORD needed)
{
    if (t_quiet || !t_footprint)
        return;
    Recorder::Read(PrinterOf(printer), valueName, result, type, data, size, needed);
}

void SawPrinterInfo2(HANDLE printer, BOOL result, const BYTE* buffer, DWORD size)
{
    if (t_quiet || !t_footprint)
        return;
    if (!result) {
        // A size query tells nothing the work could depend on.
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            Recorder::Unknown();
        return;
    }
    const std::vector<BYTE> seen = PrinterInfoSeen(buffer, size);
    Recorder::Read(PrinterOf(printer), kPrinterInfoSeen, ERROR_SUCCESS, REG_BINARY, seen.data(), DWORD(seen.size()),
                   DWORD(seen.size()));
}

void SawOtherRead()
{
    if (!t_quiet)
        Recorder::Unknown();
}

namespace {

// Whether the value is kept in this generation with exactly these bytes.
bool KeptAs(const std::wstring& printer, const std::wstring& valueName, DWORD type, const BYTE* data, DWORD size)
{
    const std::uint64_t g = Generation();
    if (!g || printer.empty())
        return false;
    State& s = Shared();
    AcquireSRWLockShared(&s.lock);
    const auto hit = s.values.find({printer, Folded(valueName)});
    const bool same = hit != s.values.end() && hit->second.generation == g && hit->second.full &&
                      hit->second.type == type && hit->second.bytes.size() == size &&
                      std::equal(hit->second.bytes.begin(), hit->second.bytes.end(), data);
    ReleaseSRWLockShared(&s.lock);
    return same;
}

}  // namespace

void Wrote(HANDLE printer, const std::wstring& valueName, DWORD type, const BYTE* data, DWORD size, DWORD result)
{
    const std::wstring name = t_scope ? PrinterOf(printer) : std::wstring();
    // A refused write changed nothing, nor did one of the bytes that were there.
    if (result == ERROR_SUCCESS && !KeptAs(name, valueName, type, data, size))
        Invalidate();
    if (t_quiet || !t_footprint)
        return;
    Recorder::Write(name, valueName, type, data, size);
}

void WroteOther()
{
    Invalidate();
    if (!t_quiet)
        Recorder::Unknown();
}

Footprint::Footprint() : outer_(t_footprint)
{
    t_footprint = this;
}

Footprint::~Footprint()
{
    Stop();
}

void Footprint::Stop()
{
    if (!noting_)
        return;
    noting_ = false;
    for (Footprint** f = &t_footprint; *f; f = &(*f)->outer_)
        if (*f == this) {
            *f = outer_;
            break;
        }
}

Observed Footprint::Take()
{
    Stop();
    return std::move(observed_);
}

bool Observed::Saw(const std::wstring& valueName, bool* present) const
{
    const std::wstring folded = Folded(valueName);
    for (const auto& [key, s] : seen_)
        if (key.second == folded) {
            if (present)
                *present = s.wrote || (s.read && s.result == ERROR_SUCCESS);
            return true;
        }
    return false;
}

namespace {

// What the printer holds now of what a work saw.
bool Holds(HANDLE printer, const std::wstring& valueName, const Observed::Seen& s)
{
    const bool wantPresent = s.wrote || s.result == ERROR_SUCCESS;
    const DWORD wantType = s.wrote ? s.writtenType : s.type;
    const std::vector<BYTE>& want = s.wrote ? s.written : s.bytes;
    std::vector<BYTE> now;
    bool present = false;
    DWORD type = 0;
    if (valueName == kPrinterInfoSeen) {
        DWORD needed = 0;
        GetPrinterW(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> info(needed);
        if (needed && GetPrinterW(printer, 2, info.data(), needed, &needed)) {
            now = PrinterInfoSeen(info.data(), needed);
            present = true;
            type = REG_BINARY;
        }
    } else {
        LPWSTR value = const_cast<LPWSTR>(valueName.c_str());
        DWORD needed = 0;
        const DWORD sized = GetPrinterDataW(printer, value, &type, nullptr, 0, &needed);
        if (sized == ERROR_SUCCESS || sized == ERROR_MORE_DATA) {
            now.resize(needed);
            DWORD got = 0;
            present = GetPrinterDataW(printer, value, &type, now.data(), needed, &got) == ERROR_SUCCESS &&
                      got == needed;
        } else if (sized != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    return present == wantPresent && (!present || (type == wantType && now == want));
}

}  // namespace

bool Observed::StillHolds() const
{
    if (unknown_ || seen_.empty())
        return false;
    // Read again through a handle of its own, not noted by any footprint.
    Footprint* const noting = t_footprint;
    t_footprint = nullptr;
    bool holds = true;
    std::wstring open;
    HANDLE printer = nullptr;
    for (const auto& [key, s] : seen_) {
        if (!s.read && !s.wrote) {
            holds = false;
            break;
        }
        if (!printer || key.first != open) {
            if (printer) {
                Closed(printer);
                ClosePrinter(printer);
                printer = nullptr;
            }
            open = key.first;
            if (!OpenPrinterW(const_cast<LPWSTR>(open.c_str()), &printer, nullptr)) {
                printer = nullptr;
                holds = false;
                break;
            }
            Opened(printer, open);
        }
        if (!Holds(printer, key.second, s)) {
            holds = false;
            break;
        }
    }
    if (printer) {
        Closed(printer);
        ClosePrinter(printer);
    }
    t_footprint = noting;
    return holds;
}

// ---- The cached reads.

namespace {

void Put(LPDWORD out, DWORD value)
{
    if (out && value != kUntouched)
        *out = value;
}

// The kept answer to the question, if there is one.
std::optional<DWORD> FromMemory(const KeptValue& v, LPDWORD type, LPBYTE data, DWORD size, LPDWORD needed)
{
    if (v.full && data && size >= v.bytes.size()) {
        std::memcpy(data, v.bytes.data(), v.bytes.size());
        Put(type, v.type);
        Put(needed, DWORD(v.bytes.size()));
        return DWORD(ERROR_SUCCESS);
    }
    for (const Answer& a : v.answers)
        if (a.buffer == (data != nullptr) && a.size == size) {
            Put(type, a.type);
            Put(needed, a.needed);
            return a.result;
        }
    return std::nullopt;
}

void Learn(KeptValue& v, DWORD result, DWORD type, const BYTE* data, DWORD size, DWORD needed)
{
    if (result == ERROR_SUCCESS && data && needed != kUntouched && needed <= size) {
        v.full = true;
        v.type = type;
        v.bytes.assign(data, data + needed);
    } else if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA || result == ERROR_FILE_NOT_FOUND) {
        std::erase_if(v.answers, [&](const Answer& a) { return a.buffer == (data != nullptr) && a.size == size; });
        v.answers.push_back({data != nullptr, size, result, type, needed});
    }
}

template <class Record, std::size_t N>
void Rebase(Record* record, std::uintptr_t from, std::size_t size, const std::array<LPWSTR Record::*, N>& fields)
{
    const std::uintptr_t to = reinterpret_cast<std::uintptr_t>(record);
    for (LPWSTR Record::*field : fields) {
        const auto p = reinterpret_cast<std::uintptr_t>(record->*field);
        if (p >= from && p < from + size)
            record->*field = reinterpret_cast<LPWSTR>(to + (p - from));
    }
}

void RebasePrinterInfo2(BYTE* buffer, std::uintptr_t from, std::size_t size)
{
    auto* p = reinterpret_cast<PRINTER_INFO_2W*>(buffer);
    Rebase(p, from, size,
           std::array<LPWSTR PRINTER_INFO_2W::*, 11>{
               &PRINTER_INFO_2W::pServerName, &PRINTER_INFO_2W::pPrinterName, &PRINTER_INFO_2W::pShareName,
               &PRINTER_INFO_2W::pPortName, &PRINTER_INFO_2W::pDriverName, &PRINTER_INFO_2W::pComment,
               &PRINTER_INFO_2W::pLocation, &PRINTER_INFO_2W::pSepFile, &PRINTER_INFO_2W::pPrintProcessor,
               &PRINTER_INFO_2W::pDatatype, &PRINTER_INFO_2W::pParameters});
    const std::uintptr_t to = reinterpret_cast<std::uintptr_t>(buffer);
    const auto move = [&](auto*& pointer) {
        const auto q = reinterpret_cast<std::uintptr_t>(pointer);
        if (q >= from && q < from + size)
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(to + (q - from));
    };
    move(p->pDevMode);
    move(p->pSecurityDescriptor);
}

void RebaseDriverInfo3(BYTE* buffer, std::uintptr_t from, std::size_t size)
{
    Rebase(reinterpret_cast<DRIVER_INFO_3W*>(buffer), from, size,
           std::array<LPWSTR DRIVER_INFO_3W::*, 9>{
               &DRIVER_INFO_3W::pName, &DRIVER_INFO_3W::pEnvironment, &DRIVER_INFO_3W::pDriverPath,
               &DRIVER_INFO_3W::pDataFile, &DRIVER_INFO_3W::pConfigFile, &DRIVER_INFO_3W::pHelpFile,
               &DRIVER_INFO_3W::pDependentFiles, &DRIVER_INFO_3W::pMonitorName,
               &DRIVER_INFO_3W::pDefaultDataType});
}

// A kept record into the caller's buffer, or the size it needs (FALSE with 122).
BOOL GiveRecord(const KeptRecord& r, LPBYTE buffer, DWORD size, LPDWORD needed,
                void (*rebase)(BYTE*, std::uintptr_t, std::size_t))
{
    const DWORD n = DWORD(r.bytes.size());
    Put(needed, n);
    if (!buffer || size < n) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, r.bytes.data(), n);
    rebase(buffer, r.base, n);
    return TRUE;
}

template <class Key, class Ask>
BOOL KeptRecordCall(std::map<Key, KeptRecord> State::*records, const Key& key, std::uint64_t g, LPBYTE buffer,
                    DWORD size, LPDWORD needed, void (*rebase)(BYTE*, std::uintptr_t, std::size_t), Ask ask)
{
    State& s = Shared();
    AcquireSRWLockShared(&s.lock);
    const auto& all = s.*records;
    const auto hit = all.find(key);
    if (hit != all.end() && hit->second.generation == g) {
        const KeptRecord copy = hit->second;
        ReleaseSRWLockShared(&s.lock);
        return GiveRecord(copy, buffer, size, needed, rebase);
    }
    ReleaseSRWLockShared(&s.lock);
    DWORD got = 0;
    const BOOL result = ask(buffer, size, &got);
    const DWORD error = GetLastError();
    Put(needed, got);
    if (result && buffer && got <= size) {
        KeptRecord r;
        r.generation = g;
        r.bytes.assign(buffer, buffer + got);
        r.base = reinterpret_cast<std::uintptr_t>(buffer);
        AcquireSRWLockExclusive(&s.lock);
        if (Generation() == g)
            (s.*records)[key] = std::move(r);
        ReleaseSRWLockExclusive(&s.lock);
    }
    SetLastError(error);
    return result;
}

}  // namespace

DWORD GetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size, LPDWORD needed)
{
    // Only the questions the spooler answers in full are answered from memory.
    const std::uint64_t g = valueName && needed ? Generation() : 0;
    const std::wstring name = g ? PrinterOf(printer) : std::wstring();
    if (name.empty())
        return LockedGetPrinterDataW(printer, valueName, type, data, size, needed);
    const ValueKey key{name, Folded(valueName)};
    State& s = Shared();
    AcquireSRWLockShared(&s.lock);
    std::optional<DWORD> kept;
    const auto hit = s.values.find(key);
    if (hit != s.values.end() && hit->second.generation == g)
        kept = FromMemory(hit->second, type, data, size, needed);
    ReleaseSRWLockShared(&s.lock);
    if (kept) {
        if (t_footprint && !t_quiet)
            Recorder::Read(name, valueName, *kept, type ? *type : 0, data, size, needed ? *needed : 0);
        return *kept;
    }

    DWORD t = kUntouched, n = kUntouched;
    const DWORD result = LockedGetPrinterDataW(printer, valueName, &t, data, size, &n);
    Put(type, t);
    Put(needed, n);
    AcquireSRWLockExclusive(&s.lock);
    if (Generation() == g) {
        KeptValue& v = s.values[key];
        if (v.generation != g)
            v = KeptValue{};
        v.generation = g;
        Learn(v, result, t, data, size, n);
    }
    ReleaseSRWLockExclusive(&s.lock);
    return result;
}

BOOL GetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    const std::uint64_t g = level == 2 && needed ? Generation() : 0;
    const std::wstring name = g ? PrinterOf(printer) : std::wstring();
    if (name.empty())
        return LockedGetPrinterW(printer, level, buffer, size, needed);
    const BOOL result = KeptRecordCall(&State::printers, name, g, buffer, size, needed, RebasePrinterInfo2,
                                       [&](LPBYTE b, DWORD n, LPDWORD got) {
                                           return LockedGetPrinterW(printer, level, b, n, got);
                                       });
    // A kept answer is a read all the same.
    if (result)
        SawPrinterInfo2(printer, result, buffer, needed ? *needed : size);
    return result;
}

BOOL GetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    const std::uint64_t g = level == 3 && needed ? Generation() : 0;
    const std::wstring name = g ? PrinterOf(printer) : std::wstring();
    if (name.empty())
        return LockedGetPrinterDriverW(printer, environment, level, buffer, size, needed);
    const ValueKey key{name, environment ? Folded(environment) : std::wstring()};
    SawOtherRead();
    const Quiet quiet;
    return KeptRecordCall(&State::drivers, key, g, buffer, size, needed, RebaseDriverInfo3,
                          [&](LPBYTE b, DWORD n, LPDWORD got) {
                              return LockedGetPrinterDriverW(printer, environment, level, b, n, got);
                          });
}

}  // namespace spoolcache
