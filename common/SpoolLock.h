// Spooler calls on printer objects, serialised across every process on the machine by one named
// mutex per operation (and level), so that one process's read-modify-write of a printer's
// settings does not interleave with another's. The narrow and wide forms of an operation share
// its mutex.
//
// Each wrapper takes the spooler function's arguments and returns its result. When a peer holds
// the mutex longer than kSpoolLockWaitMs the call is made without the lock; the time-out is not
// reported: the last error is always the spooler call's own, so size queries keep their 122 and
// 234 under contention.
#pragma once

#include <windows.h>
#include <winspool.h>

inline constexpr DWORD kSpoolLockWaitMs = 200;

BOOL LockedGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
BOOL LockedGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
// Level 7 (publishing) is not serialised.
BOOL LockedSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command);
DWORD LockedGetPrinterDataA(HANDLE printer, LPSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed);
DWORD LockedGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                            LPDWORD needed);
DWORD LockedSetPrinterDataA(HANDLE printer, LPSTR valueName, DWORD type, LPBYTE data, DWORD size);
DWORD LockedSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size);
BOOL LockedGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed);
BOOL LockedGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer,
                             DWORD size, LPDWORD needed);

// The calls most code uses for the wide forms: one attempt through the locked wrapper; a failed
// size query (122, 234) comes back at once so the caller can grow its buffer.
BOOL QelGetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
BOOL QelSetPrinterW(HANDLE printer, DWORD level, LPBYTE info, DWORD command);
DWORD QelGetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                         LPDWORD needed);
DWORD QelSetPrinterDataW(HANDLE printer, LPWSTR valueName, DWORD type, LPBYTE data, DWORD size);
BOOL QelGetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed);
