// The serialised spooler wrappers against Wine's spooler; a second process (qvmutexholder) holds
// or abandons the named mutexes.
#include "PrinterFixture.h"
#include "SpoolLock.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kDriver[] = "QV Spool Lock Driver";
constexpr char kPrinter[] = "QV Spool Lock Printer";

// A wait that timed out took the full 200 ms; timers may fire a little early.
constexpr double kDelayedMs = 180;
// A call that did not wait: well below the time-out even on a loaded machine, as the best of
// several tries.
constexpr double kUndelayedMs = 150;
// A call that waited for the holder to let go would take the holder's whole time.
constexpr DWORD kHoldMs = 20000;
constexpr double kProceededMs = 5000;

std::string Narrow(const wchar_t* s)
{
    if (!s)
        return "<null>";
    const int n = WideCharToMultiByte(CP_ACP, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, s, -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

template <class Call>
double ElapsedMs(Call&& call)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    call();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <class Call>
double BestOfThreeMs(Call&& call)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i)
        best = std::min(best, ElapsedMs(call));
    return best;
}

// qvmutexholder in a process of its own: owns the named mutexes from Start() until Stop() (or
// kHoldMs); in "abandon" mode it exits still owning them.
class MutexHolder {
public:
    MutexHolder()
    {
        static std::atomic<unsigned> counter{0};
        base_ = "qvholder-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, (base_ + "-ready").c_str());
        stop_ = CreateEventA(nullptr, TRUE, FALSE, (base_ + "-stop").c_str());
    }
    ~MutexHolder()
    {
        Stop();
        WaitExit();
        CloseHandle(ready_);
        CloseHandle(stop_);
        if (process_)
            CloseHandle(process_);
    }
    MutexHolder(const MutexHolder&) = delete;
    MutexHolder& operator=(const MutexHolder&) = delete;

    // True once the holder owns every mutex.
    bool Start(const char* mode, DWORD ms, const std::vector<std::string>& mutexes)
    {
        char exe[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string line(exe, n);
        line.erase(line.find_last_of('\\') + 1);
        line = "\"" + line + "qvmutexholder.exe\" " + base_ + " " + std::to_string(ms) + " " + mode;
        for (const std::string& name : mutexes)
            line += " " + name;

        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!ready_ || !stop_ ||
            !CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return false;
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        const HANDLE waits[] = {ready_, process_};
        return WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
    void Stop() { SetEvent(stop_); }
    // The holder's exit code, or -1 when it does not end in time.
    int WaitExit()
    {
        DWORD code = 0;
        if (!process_ || WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_, &code))
            return -1;
        return static_cast<int>(code);
    }

private:
    std::string base_;
    HANDLE ready_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE process_ = nullptr;
};

class SpoolLockTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    // A full level-2 record, fetched without the wrappers.
    std::vector<BYTE> PrinterInfo2W()
    {
        DWORD needed = 0;
        GetPrinterW(printer_, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (!GetPrinterW(printer_, 2, buffer.data(), needed, &needed))
            buffer.clear();
        return buffer;
    }
};

using GetPrinterCall = BOOL (*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);

struct GetPrinterForm {
    const char* label;
    GetPrinterCall call;
    bool wide;
};

constexpr GetPrinterForm kGetPrinterForms[] = {
    {"LockedGetPrinterA", LockedGetPrinterA, false},
    {"LockedGetPrinterW", LockedGetPrinterW, true},
    {"QelGetPrinterW", QelGetPrinterW, true},
};

// The printer (level 2) or "" for records that do not name it.
std::string PrinterNameOf(const std::vector<BYTE>& buffer, DWORD level, bool wide)
{
    if (level != 2)
        return "";
    return wide ? Narrow(reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())->pPrinterName)
                : reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())->pPrinterName;
}

TEST_F(SpoolLockTest, GetPrinterReportsTheSizeWith122ThenFills)
{
    for (const GetPrinterForm& form : kGetPrinterForms) {
        for (DWORD level : {2u, 9u}) {
            SCOPED_TRACE(std::string(form.label) + " level " + std::to_string(level));
            DWORD needed = 0;
            SetLastError(0);
            EXPECT_FALSE(form.call(printer_, level, nullptr, 0, &needed));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
            ASSERT_GT(needed, 0u);

            std::vector<BYTE> buffer(needed);
            ASSERT_TRUE(form.call(printer_, level, buffer.data(), needed, &needed))
                << "error " << GetLastError();
            if (level == 2) {
                EXPECT_EQ(PrinterNameOf(buffer, level, form.wide), kPrinter);
                const std::string driver =
                    form.wide ? Narrow(reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDriverName)
                              : reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())->pDriverName;
                EXPECT_EQ(driver, kDriver);
            }
        }
    }
}

TEST_F(SpoolLockTest, GetPrinterDriverLevel3NamesThePrintersDriver)
{
    using Call = BOOL (*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    const struct {
        const char* label;
        Call call;
        bool wide;
    } forms[] = {
        {"LockedGetPrinterDriverA",
         [](HANDLE p, DWORD l, LPBYTE b, DWORD s, LPDWORD n) { return LockedGetPrinterDriverA(p, nullptr, l, b, s, n); },
         false},
        {"LockedGetPrinterDriverW",
         [](HANDLE p, DWORD l, LPBYTE b, DWORD s, LPDWORD n) { return LockedGetPrinterDriverW(p, nullptr, l, b, s, n); },
         true},
        {"QelGetPrinterDriverW",
         [](HANDLE p, DWORD l, LPBYTE b, DWORD s, LPDWORD n) { return QelGetPrinterDriverW(p, nullptr, l, b, s, n); },
         true},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.label);
        DWORD needed = 0;
        EXPECT_FALSE(form.call(printer_, 3, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        std::vector<BYTE> buffer(needed);
        ASSERT_TRUE(form.call(printer_, 3, buffer.data(), needed, &needed)) << "error " << GetLastError();
        EXPECT_EQ(form.wide ? Narrow(reinterpret_cast<DRIVER_INFO_3W*>(buffer.data())->pName)
                            : std::string(reinterpret_cast<DRIVER_INFO_3A*>(buffer.data())->pName),
                  kDriver);
    }
}

// The printer-data wrappers of one form, over narrow value names.
struct DataForm {
    const char* label;
    DWORD (*set)(HANDLE, const std::string&, DWORD, const std::string&);
    DWORD (*get)(HANDLE, const std::string&, DWORD*, BYTE*, DWORD, DWORD*);
    bool wide;
};

const DataForm kDataForms[] = {
    {"A",
     [](HANDLE p, const std::string& name, DWORD type, const std::string& bytes) {
         std::string n = name, b = bytes;
         return LockedSetPrinterDataA(p, n.data(), type, reinterpret_cast<BYTE*>(b.data()),
                                      static_cast<DWORD>(b.size()));
     },
     [](HANDLE p, const std::string& name, DWORD* type, BYTE* data, DWORD size, DWORD* needed) {
         std::string n = name;
         return LockedGetPrinterDataA(p, n.data(), type, data, size, needed);
     },
     false},
    {"W",
     [](HANDLE p, const std::string& name, DWORD type, const std::string& bytes) {
         std::wstring n = Wide(name);
         std::string b = bytes;
         return LockedSetPrinterDataW(p, n.data(), type, reinterpret_cast<BYTE*>(b.data()),
                                      static_cast<DWORD>(b.size()));
     },
     [](HANDLE p, const std::string& name, DWORD* type, BYTE* data, DWORD size, DWORD* needed) {
         std::wstring n = Wide(name);
         return LockedGetPrinterDataW(p, n.data(), type, data, size, needed);
     },
     true},
    {"Qel W",
     [](HANDLE p, const std::string& name, DWORD type, const std::string& bytes) {
         std::wstring n = Wide(name);
         std::string b = bytes;
         return QelSetPrinterDataW(p, n.data(), type, reinterpret_cast<BYTE*>(b.data()),
                                   static_cast<DWORD>(b.size()));
     },
     [](HANDLE p, const std::string& name, DWORD* type, BYTE* data, DWORD size, DWORD* needed) {
         std::wstring n = Wide(name);
         return QelGetPrinterDataW(p, n.data(), type, data, size, needed);
     },
     true},
};

std::string TextBytes(const std::string& text, bool wide)
{
    if (!wide)
        return text + '\0';
    const std::wstring w = Wide(text) + L'\0';
    return std::string(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
}

TEST_F(SpoolLockTest, PrinterDataRoundTripsWithTheSizeQueryProtocol)
{
    for (const DataForm& form : kDataForms) {
        const struct {
            DWORD type;
            std::string bytes;
        } values[] = {
            {REG_BINARY, std::string("\0\x01\xff\x80\0", 5)},
            {REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
            {REG_SZ, TextBytes("Qelbrin QV-5", form.wide)},
        };
        for (const auto& value : values) {
            const std::string name = std::string("Lock ") + form.label + " " + std::to_string(value.type);
            SCOPED_TRACE(name);
            ASSERT_EQ(form.set(printer_, name, value.type, value.bytes), static_cast<DWORD>(ERROR_SUCCESS));

            DWORD type = 0, needed = 0;
            EXPECT_EQ(form.get(printer_, name, &type, nullptr, 0, &needed), static_cast<DWORD>(ERROR_MORE_DATA));
            EXPECT_EQ(needed, value.bytes.size());

            std::string read(needed, '?');
            type = 0;
            ASSERT_EQ(form.get(printer_, name, &type, reinterpret_cast<BYTE*>(read.data()), needed, &needed),
                      static_cast<DWORD>(ERROR_SUCCESS));
            EXPECT_EQ(type, value.type);
            EXPECT_EQ(read, value.bytes);
        }
        DWORD type = 0, needed = 0;
        BYTE data[16];
        EXPECT_EQ(form.get(printer_, "Lock missing value", &type, data, sizeof(data), &needed),
                  static_cast<DWORD>(ERROR_FILE_NOT_FOUND))
            << form.label;
    }
}

TEST_F(SpoolLockTest, SetPrinterLevel2ChangesThePrinter)
{
    std::vector<BYTE> info = PrinterInfo2W();
    ASSERT_FALSE(info.empty());
    auto* record = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    const std::string port = Narrow(record->pPortName);
    wchar_t otherPort[] = L"LPT2:";
    record->pPortName = otherPort;
    ASSERT_TRUE(QelSetPrinterW(printer_, 2, info.data(), 0)) << "error " << GetLastError();

    std::vector<BYTE> changed = PrinterInfo2W();
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(Narrow(reinterpret_cast<PRINTER_INFO_2W*>(changed.data())->pPortName), "LPT2:");

    std::wstring original = Wide(port);
    record->pPortName = original.data();
    EXPECT_TRUE(LockedSetPrinterW(printer_, 2, info.data(), 0)) << "error " << GetLastError();
}

// Level 7 bypasses the lock, but its answer is the spooler's, failure included.
TEST_F(SpoolLockTest, SetPrinterLevel7ReturnsTheSpoolersAnswer)
{
    PRINTER_INFO_7W publish{nullptr, DSPRINT_PUBLISH};
    for (HANDLE printer : {printer_, HANDLE(nullptr)}) {
        SetLastError(0);
        const BOOL direct = SetPrinterW(printer, 7, reinterpret_cast<BYTE*>(&publish), 0);
        const DWORD directError = GetLastError();
        SetLastError(0);
        const BOOL wrapped = LockedSetPrinterW(printer, 7, reinterpret_cast<BYTE*>(&publish), 0);
        const DWORD wrappedError = GetLastError();
        EXPECT_EQ(wrapped, direct) << (printer ? "open printer" : "null handle");
        if (!direct) {
            EXPECT_EQ(wrappedError, directError) << (printer ? "open printer" : "null handle");
        }
    }
    EXPECT_FALSE(QelSetPrinterW(nullptr, 7, reinterpret_cast<BYTE*>(&publish), 0));
}

// What a call under contention did: whether its result was right, and how long it took.
struct Timed {
    bool ok;
    double ms;
};

template <class Call>
Timed TimedCall(Call&& call)
{
    bool ok = false;
    const double ms = ElapsedMs([&] { ok = call(); });
    return {ok, ms};
}

TEST_F(SpoolLockTest, HeldMutexDelaysItsOperationThenTheCallIsMadeUnlocked)
{
    // Values for the reads, written before the peer takes the locks.
    DWORD seed = 0x5EED;
    ASSERT_EQ(SetPrinterDataA(printer_, const_cast<char*>("Lock contended"), REG_DWORD,
                              reinterpret_cast<BYTE*>(&seed), sizeof(seed)),
              static_cast<DWORD>(ERROR_SUCCESS));
    std::vector<BYTE> info2 = PrinterInfo2W();
    ASSERT_FALSE(info2.empty());

    MutexHolder holder;
    ASSERT_TRUE(holder.Start("hold", kHoldMs,
                             {"QelGetPrinterMutex_2", "QelGetPrinterDataMutex", "QelSetPrinterDataMutex",
                              "QelGetPrinterDriverMutex_3", "QelSetPrinterMutex_2"}));

    std::vector<BYTE> buffer(16384);
    const DWORD size = static_cast<DWORD>(buffer.size());
    DWORD needed = 0, type = 0, value = 0;
    const auto readValue = [&](DWORD result) { return result == ERROR_SUCCESS && type == REG_DWORD && value == seed; };
    char nameA[] = "Lock contended";
    wchar_t nameW[] = L"Lock contended";

    const struct {
        const char* label;
        std::function<bool()> call;
    } cases[] = {
        {"GetPrinter 2 A",
         [&] {
             return LockedGetPrinterA(printer_, 2, buffer.data(), size, &needed) &&
                    PrinterNameOf(buffer, 2, false) == kPrinter;
         }},
        {"GetPrinter 2 W outer",
         [&] {
             return QelGetPrinterW(printer_, 2, buffer.data(), size, &needed) &&
                    PrinterNameOf(buffer, 2, true) == kPrinter;
         }},
        // The spooler's 122 survives the time-out.
        {"GetPrinter 2 W size query",
         [&] {
             return !LockedGetPrinterW(printer_, 2, nullptr, 0, &needed) &&
                    GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 0;
         }},
        {"GetPrinterData A",
         [&] { return readValue(LockedGetPrinterDataA(printer_, nameA, &type, reinterpret_cast<BYTE*>(&value), 4, &needed)); }},
        {"GetPrinterData W outer",
         [&] { return readValue(QelGetPrinterDataW(printer_, nameW, &type, reinterpret_cast<BYTE*>(&value), 4, &needed)); }},
        {"GetPrinterData W size query",
         [&] { return LockedGetPrinterDataW(printer_, nameW, &type, nullptr, 0, &needed) == ERROR_MORE_DATA && needed == 4; }},
        {"SetPrinterData A",
         [&] {
             DWORD data = 0xA;
             return LockedSetPrinterDataA(printer_, nameA, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4) == ERROR_SUCCESS;
         }},
        {"SetPrinterData W outer",
         [&] {
             DWORD data = 0xB;
             return QelSetPrinterDataW(printer_, nameW, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4) == ERROR_SUCCESS;
         }},
        {"GetPrinterDriver 3 A",
         [&] {
             return LockedGetPrinterDriverA(printer_, nullptr, 3, buffer.data(), size, &needed) &&
                    std::string(reinterpret_cast<DRIVER_INFO_3A*>(buffer.data())->pName) == kDriver;
         }},
        {"GetPrinterDriver 3 W outer",
         [&] {
             return QelGetPrinterDriverW(printer_, nullptr, 3, buffer.data(), size, &needed) &&
                    Narrow(reinterpret_cast<DRIVER_INFO_3W*>(buffer.data())->pName) == kDriver;
         }},
        {"SetPrinter 2 W outer", [&] { return QelSetPrinterW(printer_, 2, info2.data(), 0) != FALSE; }},
    };
    for (const auto& c : cases) {
        const Timed t = TimedCall(c.call);
        EXPECT_TRUE(t.ok) << c.label;
        EXPECT_GE(t.ms, kDelayedMs) << c.label;
        EXPECT_LT(t.ms, kProceededMs) << c.label;
    }
    // The last write went through unlocked all the same.
    DWORD written = 0;
    EXPECT_EQ(GetPrinterDataA(printer_, nameA, &type, reinterpret_cast<BYTE*>(&written), 4, &needed),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(written, 0xBu);

    holder.Stop();
    EXPECT_EQ(holder.WaitExit(), 0);
}

TEST_F(SpoolLockTest, HeldMutexDoesNotDelayOtherLevels)
{
    MutexHolder holder;
    ASSERT_TRUE(holder.Start("hold", kHoldMs,
                             {"QelGetPrinterMutex_2", "QelGetPrinterDriverMutex_3", "QelSetPrinterMutex_7"}));

    std::vector<BYTE> buffer(16384);
    const DWORD size = static_cast<DWORD>(buffer.size());
    DWORD needed = 0;
    PRINTER_INFO_7W publish{nullptr, DSPRINT_PUBLISH};
    const struct {
        const char* label;
        std::function<void()> call;
    } cases[] = {
        {"GetPrinter 9 A", [&] { LockedGetPrinterA(printer_, 9, buffer.data(), size, &needed); }},
        {"GetPrinter 9 W", [&] { QelGetPrinterW(printer_, 9, buffer.data(), size, &needed); }},
        {"GetPrinterDriver 6 W", [&] { QelGetPrinterDriverW(printer_, nullptr, 6, buffer.data(), size, &needed); }},
        {"SetPrinter 7 W", [&] { QelSetPrinterW(printer_, 7, reinterpret_cast<BYTE*>(&publish), 0); }},
    };
    for (const auto& c : cases)
        EXPECT_LT(BestOfThreeMs(c.call), kUndelayedMs) << c.label;

    holder.Stop();
    EXPECT_EQ(holder.WaitExit(), 0);
}

TEST_F(SpoolLockTest, AbandonedMutexIsTakenAndReleased)
{
    // Our own handle keeps the mutex alive after its owner dies, as any other printing process
    // would.
    const HANDLE kept = CreateMutexA(nullptr, FALSE, "QelGetPrinterMutex_2");
    ASSERT_TRUE(kept);
    const std::string probeName = "qvtest-abandon-probe-" + std::to_string(GetCurrentProcessId());
    const HANDLE probe = CreateMutexA(nullptr, FALSE, probeName.c_str());
    ASSERT_TRUE(probe);

    MutexHolder holder;
    ASSERT_TRUE(holder.Start("abandon", 0, {"QelGetPrinterMutex_2", probeName}));
    ASSERT_EQ(holder.WaitExit(), 0);
    // The premise: the platform reports the dead owner.
    ASSERT_EQ(WaitForSingleObject(probe, 0), static_cast<DWORD>(WAIT_ABANDONED));
    ReleaseMutex(probe);

    std::vector<BYTE> buffer(16384);
    const DWORD size = static_cast<DWORD>(buffer.size());
    DWORD needed = 0;
    ASSERT_TRUE(LockedGetPrinterW(printer_, 2, buffer.data(), size, &needed)) << "error " << GetLastError();
    EXPECT_EQ(PrinterNameOf(buffer, 2, true), kPrinter);

    // Another thread, as any peer, finds the mutex free and the wrapper undelayed.
    DWORD peerWait = WAIT_FAILED;
    double peerMs = 0;
    std::thread peer([&] {
        peerWait = WaitForSingleObject(kept, 0);
        if (peerWait == WAIT_OBJECT_0)
            ReleaseMutex(kept);
        std::vector<BYTE> own(16384);
        DWORD ownNeeded = 0;
        peerMs = BestOfThreeMs([&] { LockedGetPrinterW(printer_, 2, own.data(), size, &ownNeeded); });
    });
    peer.join();
    EXPECT_EQ(peerWait, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_LT(peerMs, kUndelayedMs);

    CloseHandle(probe);
    CloseHandle(kept);
}

}  // namespace
