#include "OstrafelApp.h"

#include <vector>

#include "../services/OSInfo.h"
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

    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ACCESS_USE | READ_CONTROL};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printObjectName_.c_str()), &printer, &defaults)) {
        DebugLog << "OstrafelApp::getPrinterInfo: OpenPrinter of " << printObjectName_
                 << " failed with error code " << GetLastError() << '\n';
        return false;
    }
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed == 0) {
        DebugLog << "OstrafelApp::getPrinterInfo: GetPrinter of " << printObjectName_ << " provided no data."
                 << '\n';
        ClosePrinter(printer);
        return false;
    }
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterA(printer, 2, buffer.data(), needed, &needed)) {
        DebugLog << "OstrafelApp::getPrinterInfo: GetPrinter of " << printObjectName_
                 << " failed with error code " << GetLastError() << '\n';
        ClosePrinter(printer);
        return false;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    printObjectName_ = info->pPrinterName ? info->pPrinterName : "";
    driverName_ = info->pDriverName ? info->pDriverName : "";
    pointAndPrint_ = IsRemotePrinter(*info);
    ClosePrinter(printer);
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
