#include "OstrafelApp.h"

#include <vector>

#include "../services/OSInfo.h"
#include "../services/PrinterHandle.h"
#include "DebugLog.h"

bool OstrafelApp::getPrinterInfo()
{
    OSInfo os;
    if (os.Is9x()) {
        // On the 9x family the -N value names the driver, and there is no print object.
        driverName_ = printObjectName_;
        printObjectName_.clear();
        pointAndPrint_ = false;
        return true;
    }

    PrinterHandle printer;
    if (!printer.Open(printObjectName_, PRINTER_ACCESS_USE | READ_CONTROL)) {
        DebugLog << "OstrafelApp::getPrinterInfo: OpenPrinter of " << printObjectName_
                 << " failed with error code " << GetLastError() << '\n';
        return false;
    }
    DWORD needed = 0;
    GetPrinterA(printer.get(), 2, nullptr, 0, &needed);
    if (needed == 0) {
        DebugLog << "OstrafelApp::getPrinterInfo: GetPrinter of " << printObjectName_ << " provided no data."
                 << '\n';
        return false;
    }
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterA(printer.get(), 2, buffer.data(), needed, &needed)) {
        DebugLog << "OstrafelApp::getPrinterInfo: GetPrinter of " << printObjectName_
                 << " failed with error code " << GetLastError() << '\n';
        return false;
    }
    // The record lies at the start of the buffer; a buffer too short for it holds no record.
    if (buffer.size() < sizeof(PRINTER_INFO_2A)) {
        DebugLog << "OstrafelApp::getPrinterInfo: GetPrinter of " << printObjectName_ << " provided no data."
                 << '\n';
        return false;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    printObjectName_ = info->pPrinterName ? info->pPrinterName : "";
    driverName_ = info->pDriverName ? info->pDriverName : "";
    pointAndPrint_ = IsRemotePrinter(*info);
    return true;
}

bool OstrafelApp::IsRemotePrinter(const PRINTER_INFO_2A& record)
{
    if (OSInfo().Is9x())
        return false;
    if (!record.pServerName || !*record.pServerName)
        return false;
    // Room for the longest computer name and its NUL: a name of the full length is still local.
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size))
        return false;
    return !EqualNoCase(CStdStr("\\\\") + name, record.pServerName);
}
