// Where a loaded library's time goes: its import table pointed at wrappers that count and time
// each call of the platform functions listed below, without changing the library. What the
// library spends outside them is its own code (and the functions not listed, which are cheap).
// The calls it makes to itself and to its sibling libraries are not seen.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace bench {

struct ImportStat {
    const char* name = "";
    long calls = 0;
    double micros = 0;
};

namespace detail {

// Calls are always counted; timed only while a profile is taken, so that the timed runs do not
// carry the timer's cost.
inline bool g_timing = false;

inline double Now()
{
    static const double perMicro = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / perMicro;
}

// One wrapped import: the original function and its figures, one instance per Tag.
template <class Tag, class Fn>
struct Slot {
    static inline Fn original = nullptr;
    static inline ImportStat stat;
};

template <class Tag, class Fn>
struct Wrapper;
template <class Tag, class R, class... A>
struct Wrapper<Tag, R(WINAPI*)(A...)> {
    using Fn = R(WINAPI*)(A...);
    static R WINAPI Call(A... a)
    {
        ImportStat& s = Slot<Tag, Fn>::stat;
        ++s.calls;
        if (!g_timing)
            return Slot<Tag, Fn>::original(a...);
        const double start = Now();
        if constexpr (std::is_void_v<R>) {
            Slot<Tag, Fn>::original(a...);
            s.micros += Now() - start;
        } else {
            R r = Slot<Tag, Fn>::original(a...);
            // The platform call's own last error, not the timer's.
            const DWORD error = GetLastError();
            s.micros += Now() - start;
            SetLastError(error);
            return r;
        }
    }
};

struct Entry {
    const char* name;
    void* replacement;
    ImportStat* stat;
};

template <class Tag, class Fn>
Entry Make(const char* name, Fn function)
{
    Slot<Tag, Fn>::original = function;
    Slot<Tag, Fn>::stat.name = name;
    return {name, reinterpret_cast<void*>(&Wrapper<Tag, Fn>::Call), &Slot<Tag, Fn>::stat};
}

#define QV_PROFILED(fn) ::bench::detail::Make<struct Tag_##fn, decltype(&fn)>(#fn, &fn)

inline const std::vector<Entry>& Entries()
{
    static const std::vector<Entry> entries = {
        // spooler
        QV_PROFILED(OpenPrinterW), QV_PROFILED(OpenPrinterA), QV_PROFILED(ClosePrinter),
        QV_PROFILED(GetPrinterW), QV_PROFILED(GetPrinterA), QV_PROFILED(SetPrinterW),
        QV_PROFILED(GetPrinterDataW), QV_PROFILED(GetPrinterDataA), QV_PROFILED(GetPrinterDataExW),
        QV_PROFILED(EnumPrinterDataExW), QV_PROFILED(SetPrinterDataW), QV_PROFILED(SetPrinterDataA),
        QV_PROFILED(GetPrinterDriverW), QV_PROFILED(GetPrinterDriverA), QV_PROFILED(EnumFormsW),
        // the serialising mutexes and waits
        QV_PROFILED(CreateMutexW), QV_PROFILED(WaitForSingleObject), QV_PROFILED(WaitForMultipleObjects),
        QV_PROFILED(ReleaseMutex), QV_PROFILED(CloseHandle), QV_PROFILED(CreateEventW),
        // registry
        QV_PROFILED(RegOpenKeyExA), QV_PROFILED(RegOpenKeyExW), QV_PROFILED(RegQueryValueExA),
        QV_PROFILED(RegQueryValueExW), QV_PROFILED(RegCloseKey), QV_PROFILED(RegCreateKeyExA),
        QV_PROFILED(RegSetValueExA), QV_PROFILED(RegDeleteKeyA), QV_PROFILED(RegEnumValueA),
        QV_PROFILED(RegQueryInfoKeyA), QV_PROFILED(RegNotifyChangeKeyValue),
        // files, libraries, resources, locale
        QV_PROFILED(GetPrivateProfileStringA), QV_PROFILED(GetFileAttributesA), QV_PROFILED(GetFileAttributesExW),
        QV_PROFILED(LoadLibraryA), QV_PROFILED(LoadLibraryW), QV_PROFILED(LoadLibraryExA),
        QV_PROFILED(LoadLibraryExW), QV_PROFILED(FreeLibrary), QV_PROFILED(GetProcAddress),
        QV_PROFILED(FindResourceW), QV_PROFILED(LoadResource), QV_PROFILED(SizeofResource),
        QV_PROFILED(LoadStringA), QV_PROFILED(LoadStringW), QV_PROFILED(HeapCreate), QV_PROFILED(HeapDestroy),
        QV_PROFILED(GetLocaleInfoW), QV_PROFILED(IsValidCodePage), QV_PROFILED(MultiByteToWideChar),
        QV_PROFILED(WideCharToMultiByte), QV_PROFILED(GetModuleFileNameW), QV_PROFILED(GetSystemDirectoryA),
        QV_PROFILED(GetWindowsDirectoryA), QV_PROFILED(GetWindowsDirectoryW),
        // windows and pictures (what a page's start does besides reading the printer)
        QV_PROFILED(SendMessageW), QV_PROFILED(SendDlgItemMessageW), QV_PROFILED(SetWindowTextW),
        QV_PROFILED(SetDlgItemTextW), QV_PROFILED(EnableWindow), QV_PROFILED(ShowWindow),
        QV_PROFILED(SetWindowPos), QV_PROFILED(MoveWindow), QV_PROFILED(InvalidateRect),
        QV_PROFILED(CreateWindowExW), QV_PROFILED(CreateDialogIndirectParamW), QV_PROFILED(LoadImageW),
        QV_PROFILED(LoadBitmapW), QV_PROFILED(LoadIconW), QV_PROFILED(CreateDIBSection), QV_PROFILED(GetDIBits),
        QV_PROFILED(CreateCompatibleDC), QV_PROFILED(CreateCompatibleBitmap), QV_PROFILED(BitBlt),
        QV_PROFILED(StretchBlt), QV_PROFILED(CreateFontIndirectW), QV_PROFILED(GetDC), QV_PROFILED(ReleaseDC),
        QV_PROFILED(DeleteObject), QV_PROFILED(DeleteDC),
    };
    return entries;
}

#undef QV_PROFILED

inline const Entry* Find(const char* name)
{
    for (const Entry& e : Entries())
        if (std::strcmp(e.name, name) == 0)
            return &e;
    return nullptr;
}

}  // namespace detail

// Points the module's imports of the profiled functions at their wrappers; the number redirected.
inline int ProfileImports(HMODULE module)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return 0;
    int redirected = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk
                                                                                           : imp->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const detail::Entry* entry = detail::Find(reinterpret_cast<const char*>(byName->Name));
            if (!entry)
                continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(entry->replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
            ++redirected;
        }
    }
    return redirected;
}

// Times the profiled calls while it lives.
class ImportTiming {
public:
    ImportTiming() { detail::g_timing = true; }
    ~ImportTiming() { detail::g_timing = false; }
    ImportTiming(const ImportTiming&) = delete;
    ImportTiming& operator=(const ImportTiming&) = delete;
};

// Every profiled function's figures so far.
struct ImportSnapshot {
    std::vector<ImportStat> stats;

    static ImportSnapshot Take()
    {
        ImportSnapshot s;
        for (const detail::Entry& e : detail::Entries())
            s.stats.push_back(*e.stat);
        return s;
    }
    // What happened between an earlier snapshot and this one.
    ImportSnapshot Since(const ImportSnapshot& earlier) const
    {
        ImportSnapshot d = *this;
        for (std::size_t i = 0; i < d.stats.size(); ++i) {
            d.stats[i].calls -= earlier.stats[i].calls;
            d.stats[i].micros -= earlier.stats[i].micros;
        }
        return d;
    }
    long Calls(std::initializer_list<const char*> names) const
    {
        long n = 0;
        for (const ImportStat& s : stats)
            for (const char* name : names)
                if (std::strcmp(s.name, name) == 0)
                    n += s.calls;
        return n;
    }
    long LibraryLoads() const { return Calls({"LoadLibraryA", "LoadLibraryW", "LoadLibraryExA", "LoadLibraryExW"}); }
    // A read of one or of all of a printer's values.
    long PrinterValueReads() const
    {
        return Calls({"GetPrinterDataA", "GetPrinterDataW", "GetPrinterDataExW", "EnumPrinterDataExW"});
    }
    double Micros() const
    {
        double t = 0;
        for (const ImportStat& s : stats)
            t += s.micros;
        return t;
    }
};

// The profile of `calls` calls that took `totalMicros` in all: per call, each profiled function
// that was called, by time, and the rest as the library's own.
inline void PrintProfile(const ImportSnapshot& d, long calls, double totalMicros)
{
    std::vector<ImportStat> used;
    for (const ImportStat& s : d.stats)
        if (s.calls > 0)
            used.push_back(s);
    std::sort(used.begin(), used.end(), [](const ImportStat& a, const ImportStat& b) { return a.micros > b.micros; });
    const double n = double(calls);
    std::printf("    profile, per call (mean of %ld): %.1f us\n", calls, totalMicros / n);
    for (const ImportStat& s : used)
        std::printf("      %-28s %7.2f calls %9.1f us\n", s.name, double(s.calls) / n, s.micros / n);
    std::printf("      %-28s %7s       %9.1f us\n", "(own code and the rest)", "", (totalMicros - d.Micros()) / n);
    std::fflush(stdout);
}

}  // namespace bench
