// Opening a printer for the length of a call, its level-2 information, and narrow copies of the
// spooler's wide texts: what every entry point that starts from a printer name needs.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <string>
#include <vector>

#include "SpoolLock.h"
#include "SpoolerCache.h"

enum class PrinterAccess {
    Default,          // the caller's default access
    FullElseDefault,  // full access when granted, else the default
    FullOnly,         // full access or nothing (for writes)
};

class OpenedPrinter {
public:
    OpenedPrinter(const wchar_t* name, PrinterAccess access)
    {
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        LPWSTR n = const_cast<LPWSTR>(name);
        if (!name)
            return;
        if ((access != PrinterAccess::Default && OpenPrinterW(n, &handle_, &all)) ||
            (access != PrinterAccess::FullOnly && OpenPrinterW(n, &handle_, nullptr)))
            spoolcache::Opened(handle_, name);
        else
            handle_ = nullptr;
    }
    OpenedPrinter(const char* name, PrinterAccess access)
    {
        PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        LPSTR n = const_cast<LPSTR>(name);
        if (!name)
            return;
        if ((access != PrinterAccess::Default && OpenPrinterA(n, &handle_, &all)) ||
            (access != PrinterAccess::FullOnly && OpenPrinterA(n, &handle_, nullptr)))
            spoolcache::Opened(handle_, Widened(name));
        else
            handle_ = nullptr;
    }
    ~OpenedPrinter()
    {
        if (handle_) {
            spoolcache::Closed(handle_);
            ClosePrinter(handle_);
        }
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;
    HANDLE get() const { return handle_; }

private:
    static std::wstring Widened(const char* text)
    {
        const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        std::wstring wide(std::size_t(n > 0 ? n : 1), L'\0');
        if (n > 0)
            MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
        wide.resize(wide.size() - 1);
        return wide;
    }

    HANDLE handle_ = nullptr;
};

// The printer's information at `level` through the serialised wrappers, at least `least` bytes;
// empty when it cannot be read.
inline std::vector<BYTE> PrinterInfo(HANDLE printer, DWORD level, std::size_t least)
{
    DWORD needed = 0;
    if (QelGetPrinterW(printer, level, nullptr, 0, &needed) || needed < least)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!QelGetPrinterW(printer, level, buffer.data(), needed, &needed))
        return {};
    return buffer;
}

inline std::vector<BYTE> PrinterInfo2(HANDLE printer)
{
    return PrinterInfo(printer, 2, sizeof(PRINTER_INFO_2W));
}

// The printer's name as the spooler knows it (level 4); empty when it cannot be read.
inline std::wstring SpoolerPrinterName(HANDLE printer)
{
    const std::vector<BYTE> info = PrinterInfo(printer, 4, sizeof(PRINTER_INFO_4W));
    if (info.empty())
        return {};
    const wchar_t* name = reinterpret_cast<const PRINTER_INFO_4W*>(info.data())->pPrinterName;
    return name ? name : L"";
}

// A wide text in the ANSI code page; empty for null.
inline std::string NarrowText(const wchar_t* text)
{
    if (!text)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(std::size_t(n - 1));
    return out;
}
