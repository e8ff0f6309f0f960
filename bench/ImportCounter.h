// Counts the calls a loaded library makes to some of its imports, by pointing its import
// table at counting wrappers: how many libraries it loads and how many printer values it reads,
// without changing the library.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstring>

namespace bench {

struct ImportCounts {
    long libraryLoads = 0;
    long printerValueReads = 0;
};

inline ImportCounts g_counts;

namespace detail {

inline decltype(&LoadLibraryA) g_loadA = LoadLibraryA;
inline decltype(&LoadLibraryW) g_loadW = LoadLibraryW;
inline decltype(&LoadLibraryExA) g_loadExA = LoadLibraryExA;
inline decltype(&LoadLibraryExW) g_loadExW = LoadLibraryExW;
inline decltype(&GetPrinterDataA) g_dataA = GetPrinterDataA;
inline decltype(&GetPrinterDataW) g_dataW = GetPrinterDataW;

inline HMODULE WINAPI CountLoadA(LPCSTR n) { ++g_counts.libraryLoads; return g_loadA(n); }
inline HMODULE WINAPI CountLoadW(LPCWSTR n) { ++g_counts.libraryLoads; return g_loadW(n); }
inline HMODULE WINAPI CountLoadExA(LPCSTR n, HANDLE f, DWORD x) { ++g_counts.libraryLoads; return g_loadExA(n, f, x); }
inline HMODULE WINAPI CountLoadExW(LPCWSTR n, HANDLE f, DWORD x) { ++g_counts.libraryLoads; return g_loadExW(n, f, x); }
inline DWORD WINAPI CountDataA(HANDLE p, LPSTR v, LPDWORD t, LPBYTE d, DWORD s, LPDWORD n)
{
    ++g_counts.printerValueReads;
    return g_dataA(p, v, t, d, s, n);
}
inline DWORD WINAPI CountDataW(HANDLE p, LPWSTR v, LPDWORD t, LPBYTE d, DWORD s, LPDWORD n)
{
    ++g_counts.printerValueReads;
    return g_dataW(p, v, t, d, s, n);
}

inline void* Replacement(const char* name)
{
    struct Entry {
        const char* name;
        void* function;
    };
    const Entry entries[] = {
        {"LoadLibraryA", reinterpret_cast<void*>(&CountLoadA)},
        {"LoadLibraryW", reinterpret_cast<void*>(&CountLoadW)},
        {"LoadLibraryExA", reinterpret_cast<void*>(&CountLoadExA)},
        {"LoadLibraryExW", reinterpret_cast<void*>(&CountLoadExW)},
        {"GetPrinterDataA", reinterpret_cast<void*>(&CountDataA)},
        {"GetPrinterDataW", reinterpret_cast<void*>(&CountDataW)},
    };
    for (const Entry& e : entries)
        if (std::strcmp(e.name, name) == 0)
            return e.function;
    return nullptr;
}

}  // namespace detail

// Redirects the module's imports of the counted functions; the number redirected.
inline int CountImports(HMODULE module)
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
            void* replacement = detail::Replacement(reinterpret_cast<const char*>(byName->Name));
            if (!replacement)
                continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
            ++redirected;
        }
    }
    return redirected;
}

}  // namespace bench
