#include "MonitorInfo.h"

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/MonitorAction.h"
#include "services/PrinterHandle.h"

namespace {

constexpr DWORD kBidi = 0x800;

CStdStr Text(const char* s) { return s ? CStdStr(s) : CStdStr(); }

}  // namespace

MonitorInfo::MonitorInfo(OstrafelEngine* engine, PRINTER_INFO_2A* printer, DriverRecord driver)
    : GenericInfo(engine, "QelAssociateMonitor"), printer_(printer), driver_(driver)
{
}

bool MonitorInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 2) {
        DebugLog << "MonitorInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    if (!driver_ || !printer_) {
        DebugLog << "MonitorInfo::HandleCommand: bad parameters" << '\n';
        return false;
    }
    const CStdStr& monitor = arguments[0];
    const long flag = ParseDecimal(arguments[1]);
    if (!MonitorAction::MonitorExists(monitor)) {
        DebugLog << "MonitorInfo::HandleCommand: " << monitor << " does not exist." << '\n';
        return false;
    }

    DRIVER_INFO_3A& record = *driver_.info;
    if (!record.pMonitorName || monitor != record.pMonitorName) {
        record.pMonitorName = engine_->KeepText(monitor);
        if (!DriverComponent::UpdatePrinterDriver(&record, driver_.level)) {
            DebugLog << "MonitorInfo::HandleCommand: unable to update driver." << '\n';
            DebugLog << "\tDriver name: " << Text(record.pName) << '\n';
            DebugLog << "\tMonitor name: " << monitor << '\n';
            return false;
        }
    }

    if (flag == 1 && !(printer_->Attributes & kBidi)) {
        const CStdStr name = Text(printer_->pPrinterName);
        DebugLog << "MonitorInfo::HandleCommand: Printer " << name << " needs an update!" << '\n';
        PrinterHandle printer;
        if (!printer.Open(name)) {
            DebugLog << "MonitorInfo::HandleCommand: OpenPrinter of printer " << name << " failed with code "
                     << GetLastError() << '\n';
        } else {
            printer_->Attributes |= kBidi;
            if (!SetPrinterA(printer.get(), 2, reinterpret_cast<BYTE*>(printer_), 0))
                DebugLog << "MonitorInfo::HandleCommand: SetPrinter of printer " << name << " failed with code "
                         << GetLastError() << '\n';
        }
    }
    return true;
}
