// What the spooler answered, kept between calls into the library while nothing it stores can
// have changed, so that a print dialog's run of queries does not read the same printer values
// again and again.
//
// Whether anything changed is told by registry change notifications on the spooler's own key
// (its printers with their values, drivers and forms) and on the maker's key (the installed
// configuration's hand-off): armed before anything is read, looked at in one wait when a call
// into the library starts, and armed again once they fired. A write through the serialised
// wrappers makes everything read before it stale at once. Printers this machine does not keep
// (connections, "\\server\printer") are never answered from memory.
//
// Only inside a CallScope is anything kept or answered from memory; elsewhere every call goes
// to the spooler. Inside a scope a printer handle the caller passed is asked its printer's name
// once; a handle opened by name (OpenedPrinter) is known by that name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace spoolcache {

// For the length of one call into the library (the entry points open one). Nested scopes are
// one scope.
class CallScope {
public:
    CallScope();
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    friend struct Scopes;
    bool outermost_ = false;
    std::vector<std::function<void()>> atEnd_;
    // The printers the handles refer to (an empty name: not kept).
    std::vector<std::pair<HANDLE, std::wstring>> printers_;
};

// The store's generation: it changes whenever what the spooler stores may have changed. 0 outside
// a scope, or where the store cannot be watched: then nothing is kept.
std::uint64_t Generation();
// Looks at the notifications now, arming them again if they fired, and returns the generation.
std::uint64_t Refresh();
// A number of the current outermost scope, new for every one; 0 outside a scope.
std::uint64_t ScopeSerial();

// How the cache writes a printer's name (the spooler compares names without case).
std::wstring PrinterKey(const std::wstring& name);

// The name of the printer a handle refers to; empty outside a scope, when the spooler cannot
// tell, or for a printer this machine does not keep.
std::wstring PrinterOf(HANDLE printer);
// OpenedPrinter's handles: known by the name they were opened by until they are closed.
void Opened(HANDLE printer, const std::wstring& name);
void Closed(HANDLE printer);

// The outer calls of SpoolLock.h answer through these: from memory when the same question was
// answered in this generation, else through the locked wrapper. GetPrinter is kept at level 2
// and GetPrinterDriver at level 3 only; the status and job count of a kept level-2 answer are
// those of the read that was kept.
DWORD GetPrinterDataW(HANDLE printer, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size, LPDWORD needed);
BOOL GetPrinterW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
BOOL GetPrinterDriverW(HANDLE printer, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
                       LPDWORD needed);

// What the locked wrappers tell the cache: every read the spooler answered, and every write
// (which makes everything kept stale).
void SawValue(HANDLE printer, const std::wstring& valueName, DWORD result, DWORD type, const BYTE* data,
              DWORD size, DWORD needed);
void SawPrinterInfo2(HANDLE printer, BOOL result, const BYTE* buffer, DWORD size);
void SawOtherRead();
void Wrote(HANDLE printer, const std::wstring& valueName, DWORD type, const BYTE* data, DWORD size, DWORD result);
void WroteOther();

// What a piece of work read and wrote through the wrappers: the printer values (by printer and
// value name) and the printers' names, drivers and devmodes. A result built from those alone can
// be kept for as long as they hold.
class Observed {
public:
    // Whether every value holds now, read again from the spooler, what the work last saw of it:
    // what it read, or what it wrote (written or refused). False when the work read something
    // this cannot check again, read a value only in part, or changed a value it had read.
    bool StillHolds() const;
    // Whether the work saw the printer value (read it, there or not, or wrote it); present tells
    // whether it was there.
    bool Saw(const std::wstring& valueName, bool* present = nullptr) const;

    struct Seen {
        bool read = false;     // read in full before any write
        bool partial = false;  // only its size was read
        DWORD result = 0;      // what the read found
        DWORD type = 0;
        std::vector<BYTE> bytes;
        bool wrote = false;    // what the work wrote last
        DWORD writtenType = 0;
        std::vector<BYTE> written;
    };

private:
    friend struct Recorder;
    std::map<std::pair<std::wstring, std::wstring>, Seen> seen_;
    bool unknown_ = false;
};

// Notes what the calls of this thread read and write through the wrappers while it lives (or
// until Take).
class Footprint {
public:
    Footprint();
    ~Footprint();
    Footprint(const Footprint&) = delete;
    Footprint& operator=(const Footprint&) = delete;
    Observed Take();

private:
    friend struct Recorder;
    void Stop();
    Observed observed_;
    Footprint* outer_ = nullptr;
    bool noting_ = true;
};

// Runs when the outermost scope ends, after the store was looked at once more: for what can only
// be judged once the call's own writes are done. Runs at once outside a scope.
void WhenCallEnds(std::function<void()> action);

}  // namespace spoolcache
