#include "SpoolLock.h"

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

}  // namespace

BOOL LockedGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return Serialised(L"GetPrinter", Level(level),
                      [&] { return GetPrinterA(printer, level, buffer, size, needed); });
}

BOOL LockedGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return Serialised(L"GetPrinter", Level(level),
                      [&] { return GetPrinterW(printer, level, buffer, size, needed); });
}

BOOL LockedSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command)
{
    if (level == 7)
        return SetPrinterW(printer, level, info, command);
    return Serialised(L"SetPrinter", Level(level),
                      [&] { return SetPrinterW(printer, level, info, command); });
}

DWORD LockedGetPrinterDataA(HANDLE printer, LPSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed)
{
    return Serialised(L"GetPrinterData", kNoLevel,
                      [&] { return GetPrinterDataA(printer, valueName, type, data, size, needed); });
}

DWORD LockedGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed)
{
    return Serialised(L"GetPrinterData", kNoLevel,
                      [&] { return GetPrinterDataW(printer, valueName, type, data, size, needed); });
}

DWORD LockedSetPrinterDataA(HANDLE printer, LPSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    return Serialised(L"SetPrinterData", kNoLevel,
                      [&] { return SetPrinterDataA(printer, valueName, type, data, size); });
}

DWORD LockedSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    return Serialised(L"SetPrinterData", kNoLevel,
                      [&] { return SetPrinterDataW(printer, valueName, type, data, size); });
}

BOOL LockedGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed)
{
    return Serialised(L"GetPrinterDriver", Level(level), [&] {
        return GetPrinterDriverA(printer, environment, level, buffer, size, needed);
    });
}

BOOL LockedGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed)
{
    return Serialised(L"GetPrinterDriver", Level(level), [&] {
        return GetPrinterDriverW(printer, environment, level, buffer, size, needed);
    });
}

// The outer calls make a single attempt: the lock's own bounded wait is the only retry there is.

BOOL QelGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return LockedGetPrinterW(printer, level, buffer, size, needed);
}

BOOL QelSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command)
{
    return LockedSetPrinterW(printer, level, info, command);
}

DWORD QelGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                         LPDWORD needed)
{
    return LockedGetPrinterDataW(printer, valueName, type, data, size, needed);
}

DWORD QelSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size)
{
    return LockedSetPrinterDataW(printer, valueName, type, data, size);
}

BOOL QelGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed)
{
    return LockedGetPrinterDriverW(printer, environment, level, buffer, size, needed);
}
