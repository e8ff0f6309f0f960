#include "PrinterValues.h"

#include <winspool.h>

#include "SpoolLock.h"

namespace docevents {

std::optional<DWORD> PrinterDword(HANDLE printer, const wchar_t* valueName)
{
    DWORD value = 0, type = 0, got = 0;
    const DWORD status = QelGetPrinterDataW(printer, const_cast<LPWSTR>(valueName), &type,
                                            reinterpret_cast<BYTE*>(&value), sizeof value, &got);
    if (status != ERROR_SUCCESS || got != sizeof value)
        return std::nullopt;
    return value;
}

std::vector<BYTE> PrinterDriverInfo2(HANDLE printer)
{
    DWORD needed = 0;
    if (QelGetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed) || needed < sizeof(DRIVER_INFO_2W))
        return {};
    std::vector<BYTE> info(needed);
    if (!QelGetPrinterDriverW(printer, nullptr, 2, info.data(), needed, &needed))
        return {};
    return info;
}

std::vector<BYTE> JobInfo1(HANDLE printer, DWORD jobId)
{
    DWORD needed = 0;
    if (GetJobW(printer, jobId, 1, nullptr, 0, &needed) || needed < sizeof(JOB_INFO_1W))
        return {};
    std::vector<BYTE> info(needed);
    if (!GetJobW(printer, jobId, 1, info.data(), needed, &needed))
        return {};
    return info;
}

}  // namespace docevents
