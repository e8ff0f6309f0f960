// The document-event tests' own set-up: a copy of QVTDX5DA.DLL in a directory of its own with the
// dialog library of these tests and the conversion library's stand-in beside it, its escapes to
// the rendering driver pointed at the scripted stand-in, and DrvDocumentEvent called with each
// event's arguments as the graphics system passes them.
#pragma once

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "ImportRedirect.h"
#include "TestSupport.h"

namespace doctest {

using Bytes = std::vector<std::uint8_t>;
using DocumentEventFn = int(WINAPI*)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
using ExtEscapeFn = int(WINAPI*)(HDC, int, int, LPCSTR, int, LPSTR);
using ScriptFn = void(WINAPI*)(const char*);
using RecordFn = int(WINAPI*)(char*, int);
using HoldFn = void(WINAPI*)(const void*, int);

inline std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), int(w.size()))));
    return w;
}

// build/win64/docdialogs: the dialog library of these tests.
inline std::string DocDialogsDir()
{
    std::string bin = qvtest::BinDir();
    return bin.substr(0, bin.find_last_of('\\') + 1) + "docdialogs";
}

// Names the computer and the user 41 characters long, for the stamping.
inline BOOL WINAPI LongComputerName(LPSTR buffer, LPDWORD size)
{
    const std::string name(41, 'C');
    if (*size <= name.size()) {
        *size = DWORD(name.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    lstrcpyA(buffer, name.c_str());
    *size = DWORD(name.size());
    return TRUE;
}
inline BOOL WINAPI LongUserName(LPSTR buffer, LPDWORD size)
{
    const std::string name(41, 'U');
    if (*size <= name.size()) {
        *size = DWORD(name.size() + 1);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    lstrcpyA(buffer, name.c_str());
    *size = DWORD(name.size() + 1);
    return TRUE;
}

// The scripted rendering driver (standins/renderer), loaded into the test process.
class FakeRenderer {
public:
    FakeRenderer() : module_(LoadLibraryA((qvtest::BinDir() + "\\qvfakerender.dll").c_str()))
    {
        escape = reinterpret_cast<ExtEscapeFn>(GetProcAddress(module_, "FakeExtEscape"));
        script_ = reinterpret_cast<ScriptFn>(GetProcAddress(module_, "FakeRendererScript"));
        record_ = reinterpret_cast<RecordFn>(GetProcAddress(module_, "FakeRendererRecord"));
        hold_ = reinterpret_cast<HoldFn>(GetProcAddress(module_, "FakeRendererHold"));
    }
    ~FakeRenderer()
    {
        if (module_)
            FreeLibrary(module_);
    }
    FakeRenderer(const FakeRenderer&) = delete;
    FakeRenderer& operator=(const FakeRenderer&) = delete;

    bool Ready() const { return escape && script_ && record_ && hold_; }
    void Script(const std::string& text) const { script_(text.c_str()); }
    std::vector<std::string> Record() const
    {
        std::string text(std::size_t(record_(nullptr, 0)) + 1, '\0');
        text.resize(std::size_t(record_(text.data(), int(text.size()))));
        std::vector<std::string> lines;
        for (std::size_t from = 0, end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
            lines.push_back(text.substr(from, end - from));
        return lines;
    }
    // The record without the QUERYESCSUPPORT lines.
    std::vector<std::string> Escapes() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : Record())
            if (line.rfind("query ", 0) != 0)
                lines.push_back(line);
        return lines;
    }
    // The devmode the driver holds for the job, as 5013 gives it.
    Bytes Devmode() const
    {
        Bytes d(devmode::kSize);
        escape(nullptr, 5013, 0, nullptr, int(d.size()), reinterpret_cast<LPSTR>(d.data()));
        return d;
    }
    // The devmode the driver holds as the job starts.
    void SetDevmode(const Bytes& d) const { hold_(d.data(), int(d.size())); }

    ExtEscapeFn escape = nullptr;

private:
    HMODULE module_;
    ScriptFn script_ = nullptr;
    RecordFn record_ = nullptr;
    HoldFn hold_ = nullptr;
};

// QVTDX5DA.DLL copied into a directory of its own with this test's dialog library and the
// conversion library beside it; its escapes go to the fake renderer unless realEscapes.
class DocEventLibrary {
public:
    explicit DocEventLibrary(const FakeRenderer* renderer, bool withDialogs = true)
    {
        dir_ = temp_.Path() + "\\";
        const std::string bin = qvtest::BinDir() + "\\";
        if (!CopyFileA((bin + "QVTDX5DA.DLL").c_str(), (dir_ + "QVTDX5DA.DLL").c_str(), FALSE) ||
            !CopyFileA((bin + "QVTDX5LU.DLL").c_str(), (dir_ + "QVTDX5LU.DLL").c_str(), FALSE))
            return;
        if (withDialogs &&
            !CopyFileA((DocDialogsDir() + "\\QVTDX5DU.DLL").c_str(), (dir_ + "QVTDX5DU.DLL").c_str(), FALSE))
            return;
        module_ = LoadLibraryA((dir_ + "QVTDX5DA.DLL").c_str());
        event_ = reinterpret_cast<DocumentEventFn>(GetProcAddress(module_, "DrvDocumentEvent"));
        if (renderer)
            redirected_ = qvtest::RedirectImport(module_, "ExtEscape", reinterpret_cast<void*>(renderer->escape));
    }
    ~DocEventLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    DocEventLibrary(const DocEventLibrary&) = delete;
    DocEventLibrary& operator=(const DocEventLibrary&) = delete;

    bool Ready() const { return event_ && redirected_; }
    bool ReadyWithoutRenderer() const { return event_ != nullptr; }
    HMODULE Module() const { return module_; }
    // With its trailing backslash.
    const std::string& Dir() const { return dir_; }

    void LongNames() const
    {
        qvtest::RedirectImport(module_, "GetComputerNameA", reinterpret_cast<void*>(&LongComputerName));
        qvtest::RedirectImport(module_, "GetUserNameA", reinterpret_cast<void*>(&LongUserName));
    }

    int Event(HANDLE printer, HDC dc, int event, ULONG inSize = 0, PVOID in = nullptr, ULONG outSize = 0,
              PVOID out = nullptr) const
    {
        return event_(printer, dc, event, inSize, in, outSize, out);
    }
    // Event 1 as CreateDC passes it: the device name and the application's devmode; the new
    // devmode's address comes back.
    int CreateDcPre(HANDLE printer, const std::string& device, const void* applicationDevmode, DEVMODEW*& made) const
    {
        std::wstring name = Wide(device);
        DOCEVENT_CREATEDCPRE pre{nullptr, name.data(), static_cast<PDEVMODEW>(const_cast<void*>(applicationDevmode)),
                                 FALSE};
        made = nullptr;
        return Event(printer, nullptr, DOCUMENTEVENT_CREATEDCPRE, sizeof pre, &pre, sizeof made, &made);
    }
    int CreateDcPost(HANDLE printer, HDC dc, DEVMODEW* made) const
    {
        return Event(printer, dc, DOCUMENTEVENT_CREATEDCPOST, sizeof made, &made);
    }
    int StartDoc(HANDLE printer, HDC dc, DOCINFOW* info) const
    {
        return Event(printer, dc, DOCUMENTEVENT_STARTDOC, sizeof info, &info);
    }
    int StartDocPost(HANDLE printer, HDC dc, DWORD job) const
    {
        return Event(printer, dc, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job);
    }
    int ApplicationEscape(HANDLE printer, HDC dc, int escape, const void* data, int size) const
    {
        DOCEVENT_ESCAPE e{escape, size, const_cast<void*>(data)};
        return Event(printer, dc, DOCUMENTEVENT_ESCAPE, sizeof e, &e);
    }

private:
    qvtest::TempDir temp_;
    std::string dir_;
    HMODULE module_ = nullptr;
    DocumentEventFn event_ = nullptr;
    void* redirected_ = nullptr;
};

// A full devmode of the printer's driver, as DrvConvertDevMode of the shipped library builds it.
inline Bytes PrinterDevmode(const std::string& printer)
{
    using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    HMODULE library = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str());
    auto convert = reinterpret_cast<ConvertFn>(GetProcAddress(library, "DrvConvertDevMode"));
    Bytes d(devmode::kSize);
    LONG size = LONG(d.size());
    std::wstring name = Wide(printer);
    const BOOL ok = convert && convert(name.data(), nullptr, reinterpret_cast<PDEVMODEW>(d.data()), &size, 4);
    FreeLibrary(library);
    return ok ? d : Bytes();
}

// A printer value as the spooler holds it; empty when missing.
inline Bytes PrinterValue(HANDLE printer, const char* name)
{
    DWORD type = 0, needed = 0;
    GetPrinterDataA(printer, const_cast<char*>(name), &type, nullptr, 0, &needed);
    Bytes data(needed + 1);
    if (GetPrinterDataA(printer, const_cast<char*>(name), &type, data.data(), DWORD(data.size()), &needed) !=
        ERROR_SUCCESS)
        return {};
    data.resize(needed);
    return data;
}

inline bool SetPrinterValue(HANDLE printer, const char* name, DWORD type, const void* data, DWORD size)
{
    return SetPrinterDataA(printer, const_cast<char*>(name), type, static_cast<BYTE*>(const_cast<void*>(data)), size) ==
           ERROR_SUCCESS;
}

inline bool SetPrinterDword(HANDLE printer, const char* name, DWORD value)
{
    return SetPrinterValue(printer, name, REG_DWORD, &value, sizeof value);
}

// Waits until the file has at least `lines` lines (a program started in the background writes
// it), up to the timeout; its lines.
inline std::vector<std::string> WaitForLines(const std::string& path, std::size_t lines, DWORD timeoutMs = 20000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const std::vector<std::string> got = qvtest::Lines(qvtest::ReadFile(path).value_or(""));
        if (got.size() >= lines || GetTickCount() - start > timeoutMs)
            return got;
        Sleep(50);
    }
}

}  // namespace doctest
