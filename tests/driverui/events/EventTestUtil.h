// Helpers of the printer-event tests: a copy of the driver library of the test's own, the
// install-log stand-in where the library looks for it, the utility's reading of its command
// line, printer values.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "engine/Tokenizer.h"

namespace eventtest {

using Bytes = std::vector<std::uint8_t>;
using PrinterEventFn = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
using UpgradePrinterFn = BOOL(WINAPI*)(DWORD, LPBYTE);
using RenameFn = BOOL(WINAPI*)(void*);

inline std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), int(w.size())));
    return w;
}

// QVTDX5DA.DLL copied into a directory of its own, with the launch test program beside it as the
// post-install utility, loaded as a module of its own.
class LibraryCopy {
public:
    LibraryCopy()
    {
        dir_ = temp_.Path() + "\\";
        if (!CopyFileA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str(), (dir_ + "QVTDX5DA.DLL").c_str(), FALSE) ||
            !CopyFileA((qvtest::BinDir() + "\\qvtestprog.exe").c_str(), (dir_ + "QVTDX5PI.EXE").c_str(), FALSE))
            return;
        module_ = LoadLibraryA((dir_ + "QVTDX5DA.DLL").c_str());
        if (!module_)
            return;
        event = reinterpret_cast<PrinterEventFn>(GetProcAddress(module_, "DrvPrinterEvent"));
        upgrade = reinterpret_cast<UpgradePrinterFn>(GetProcAddress(module_, "DrvUpgradePrinter"));
        rename = reinterpret_cast<RenameFn>(GetProcAddress(module_, "Rename"));
    }
    ~LibraryCopy()
    {
        if (module_)
            FreeLibrary(module_);
    }
    LibraryCopy(const LibraryCopy&) = delete;
    LibraryCopy& operator=(const LibraryCopy&) = delete;

    bool Ready() const { return event && upgrade && rename; }
    // With its trailing backslash.
    const std::string& Dir() const { return dir_; }

    BOOL Event(const std::string& printer, int event, DWORD flags) const
    {
        std::wstring name = Wide(printer);
        return this->event(name.data(), event, flags, 0);
    }
    BOOL Upgrade(const std::string& printer) const
    {
        std::wstring name = Wide(printer);
        DRIVER_UPGRADE_INFO_1W info{name.data(), nullptr};
        return upgrade(1, reinterpret_cast<LPBYTE>(&info));
    }

    PrinterEventFn event = nullptr;
    UpgradePrinterFn upgrade = nullptr;
    RenameFn rename = nullptr;

private:
    // DRIVER_UPGRADE_INFO_1 as the platform lays it out.
    struct DRIVER_UPGRADE_INFO_1W {
        LPWSTR pPrinterName;
        LPWSTR pOldDriverDirectory;
    };

    qvtest::TempDir temp_;
    std::string dir_;
    HMODULE module_ = nullptr;
};

inline std::string SystemDirectory()
{
    char dir[MAX_PATH] = "";
    const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir, n < MAX_PATH ? n : 0);
}

inline std::string WindowsFile(const std::string& name)
{
    char dir[MAX_PATH] = "";
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, n < MAX_PATH ? n : 0) + "\\" + name;
}

// The install-log stand-in in the system directory, where the driver library loads it from.
class SystemInstallLog {
public:
    SystemInstallLog()
        : path_(SystemDirectory() + "\\QELLOG.DLL"),
          placed_(CopyFileA((qvtest::BinDir() + "\\QELLOG.DLL").c_str(), path_.c_str(), FALSE) != FALSE)
    {
    }
    ~SystemInstallLog() { DeleteFileA(path_.c_str()); }
    SystemInstallLog(const SystemInstallLog&) = delete;
    SystemInstallLog& operator=(const SystemInstallLog&) = delete;
    bool Placed() const { return placed_; }

private:
    std::string path_;
    bool placed_;
};

// What the utility's start-up code hands its entry point: the text after the program's name
// (a quoted name runs to its closing quote) and the blanks after it.
inline std::string ArgumentsOf(const std::string& commandLine)
{
    std::size_t i = 0;
    bool quoted = false;
    while (i < commandLine.size() && (static_cast<unsigned char>(commandLine[i]) > ' ' || quoted)) {
        if (commandLine[i] == '"')
            quoted = !quoted;
        ++i;
    }
    while (i < commandLine.size() && static_cast<unsigned char>(commandLine[i]) <= ' ')
        ++i;
    return commandLine.substr(i);
}

// The fields as the utility splits its arguments: at blanks, with quotes, empty fields dropped.
inline std::vector<std::string> UtilityFields(const std::string& arguments)
{
    Tokenizer tokenizer(arguments, ' ', TokQuotes | TokTrimLeft);
    std::vector<std::string> fields;
    CStdStr field;
    while (tokenizer.Next(field))
        if (!field.empty())
            fields.push_back(field);
    return fields;
}

// A printer value as the spooler holds it; nothing when missing.
inline std::optional<Bytes> PrinterValue(const std::string& printer, const std::string& name)
{
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, nullptr))
        return std::nullopt;
    DWORD type = 0, needed = 0;
    GetPrinterDataA(h, const_cast<char*>(name.c_str()), &type, nullptr, 0, &needed);
    Bytes data(needed + 1);
    const DWORD status = GetPrinterDataA(h, const_cast<char*>(name.c_str()), &type, data.data(), DWORD(data.size()),
                                         &needed);
    ClosePrinter(h);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(needed);
    return data;
}

inline bool SetPrinterValue(const std::string& printer, const std::string& name, const Bytes& data)
{
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &defaults))
        return false;
    const DWORD status = SetPrinterDataA(h, const_cast<char*>(name.c_str()), REG_BINARY,
                                         const_cast<BYTE*>(data.data()), DWORD(data.size()));
    ClosePrinter(h);
    return status == ERROR_SUCCESS;
}

inline std::string Text(const std::optional<Bytes>& value)
{
    if (!value)
        return "(missing)";
    std::string s(value->begin(), value->end());
    if (!s.empty() && s.back() == '\0')
        s.pop_back();
    return s;
}

}  // namespace eventtest
