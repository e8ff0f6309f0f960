// An open printer that is closed on every way out of the scope that opened it.
#pragma once

#include <windows.h>

#include "../engine/StdStr.h"

class PrinterHandle {
public:
    // Full printer access, no data type, no devmode: what every change of a printer asks for.
    static constexpr DWORD kFullAccess = 0xF000C;

    PrinterHandle() = default;
    ~PrinterHandle() { Close(); }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    // False with the platform's error in GetLastError.
    bool Open(const CStdStr& name, DWORD access = kFullAccess)
    {
        Close();
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, access};
        return OpenPrinterA(const_cast<char*>(name.c_str()), &handle_, &defaults) != FALSE;
    }
    void Close()
    {
        if (handle_)
            ClosePrinter(handle_);
        handle_ = nullptr;
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};
