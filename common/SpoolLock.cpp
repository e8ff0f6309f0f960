#include "SpoolLock.h"

#include <string>

#include "SpoolerCache.h"

namespace {

constexpr int kNoLevel = -1;

// Every account that prints must be able to open the mutexes: a present but empty (null) DACL.
// Null when it cannot be set up; the mutexes then get default security.
PSECURITY_DESCRIPTOR SharedDescriptor()
{
    static SECURITY_DESCRIPTOR descriptor;
    static const bool ready = InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                              SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    return ready ? &descriptor : nullptr;
}

// Makes the call while holding the operation's mutex, or without it once the wait runs out.
template <class Call>
auto Serialised(const wchar_t* operation, int level, Call call)
{
    wchar_t name[64];
    if (level == kNoLevel)
        wsprintfW(name, L"%sQel%sMutex", L"", operation);
    else
        wsprintfW(name, L"%sQel%sMutex_%d", L"", operation, level);

    SECURITY_ATTRIBUTES attributes{sizeof(attributes), SharedDescriptor(), TRUE};
    const HANDLE mutex =
        CreateMutexW(attributes.lpSecurityDescriptor ? &attributes : nullptr, FALSE, name);
    const DWORD wait = mutex ? WaitForSingleObject(mutex, kSpoolLockWaitMs) : WAIT_FAILED;
    // An abandoned mutex is ours all the same; kept, it would stall every peer from now on.
    const bool owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;

    const auto result = call();
    const DWORD error = GetLastError();
    if (owned)
        ReleaseMutex(mutex);
    if (mutex)
        CloseHandle(mutex);
    SetLastError(error);
    return result;
}

int Level(DWORD level)
{
    return static_cast<int>(level);
}

std::wstring Widened(LPCSTR text)
{
    std::wstring wide;
    for (; text && *text; ++text)
        wide.push_back(wchar_t(static_cast<unsigned char>(*text)));
    return wide;
}

}  // namespace

// Every read tells the cache what it saw and every write that the printer changed (SpoolerCache.h).

BOOL LockedGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    spoolcache::SawOtherRead();
    return Serialised(L"GetPrinter", Level(level),
                      [&] { return GetPrinterA(printer, level, buffer, size, needed); });
}

BOOL LockedGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    const BOOL result = Serialised(L"GetPrinter", Level(level),
                                   [&] { return GetPrinterW(printer, level, buffer, size, needed); });
    const DWORD error = GetLastError();
    if (level == 2)
        spoolcache::SawPrinterInfo2(printer, result, buffer, needed ? *needed : 0);
    else
        spoolcache::SawOtherRead();
    SetLastError(error);
    return result;
}

BOOL LockedSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command)
{
    if (level == 7)
        return SetPrinterW(printer, level, info, command);
    const BOOL result = Serialised(L"SetPrinter", Level(level),
                                   [&] { return SetPrinterW(printer, level, info, command); });
    const DWORD error = GetLastError();
    spoolcache::WroteOther();
    SetLastError(error);
    return result;
}

DWORD LockedGetPrinterDataA(HANDLE printer, LPSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed)
{
    // Narrow texts are not what a footprint compares.
    spoolcache::SawOtherRead();
    return Serialised(L"GetPrinterData", kNoLevel,
                      [&] { return GetPrinterDataA(printer, valueName, type, data, size, needed); });
}

DWORD LockedGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed)
{
    DWORD t = 0;
    const DWORD result = Serialised(L"GetPrinterData", kNoLevel, [&] {
        return GetPrinterDataW(printer, valueName, type ? type : &t, data, size, needed);
    });
    const DWORD error = GetLastError();
    if (valueName && needed)
        spoolcache::SawValue(printer, valueName, result, type ? *type : t, data, size, *needed);
    else
        spoolcache::SawOtherRead();
    SetLastError(error);
    return result;
}

DWORD LockedSetPrinterDataA(HANDLE printer, LPSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    const DWORD result = Serialised(L"SetPrinterData", kNoLevel,
                                    [&] { return SetPrinterDataA(printer, valueName, type, data, size); });
    const DWORD error = GetLastError();
    // Stored as the wide value: binary data keeps its bytes, texts do not.
    if (type == REG_BINARY && valueName)
        spoolcache::Wrote(printer, Widened(valueName), type, data, size, result);
    else
        spoolcache::WroteOther();
    SetLastError(error);
    return result;
}

DWORD LockedSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    const DWORD result = Serialised(L"SetPrinterData", kNoLevel,
                                    [&] { return SetPrinterDataW(printer, valueName, type, data, size); });
    const DWORD error = GetLastError();
    if (valueName)
        spoolcache::Wrote(printer, valueName, type, data, size, result);
    else
        spoolcache::WroteOther();
    SetLastError(error);
    return result;
}

BOOL LockedGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed)
{
    spoolcache::SawOtherRead();
    return Serialised(L"GetPrinterDriver", Level(level), [&] {
        return GetPrinterDriverA(printer, environment, level, buffer, size, needed);
    });
}

BOOL LockedGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed)
{
    spoolcache::SawOtherRead();
    return Serialised(L"GetPrinterDriver", Level(level), [&] {
        return GetPrinterDriverW(printer, environment, level, buffer, size, needed);
    });
}

// The outer calls make a single attempt: the lock's own bounded wait is the only retry there is.
// Inside a call scope they answer from what was read before while nothing changed.

BOOL QelGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return spoolcache::GetPrinterW(printer, level, buffer, size, needed);
}

BOOL QelSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command)
{
    return LockedSetPrinterW(printer, level, info, command);
}

DWORD QelGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                         LPDWORD needed)
{
    return spoolcache::GetPrinterDataW(printer, valueName, type, data, size, needed);
}

DWORD QelSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    return LockedSetPrinterDataW(printer, valueName, type, data, size);
}

BOOL QelGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed)
{
    return spoolcache::GetPrinterDriverW(printer, environment, level, buffer, size, needed);
}
