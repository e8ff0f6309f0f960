#include "PrtDrvDataInfo.h"

#include <cstdint>

#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"
#include "services/DriverComponent.h"
#include "services/PrinterHandle.h"

namespace {

constexpr DWORD kNoClobber = 0x2;

// Whether the line still has to write: a no-clobber line leaves a value of the same type alone.
bool MustWrite(HANDLE printer, const CStdStr& name, DWORD type, long flags)
{
    if (!(flags & kNoClobber))
        return true;
    BYTE existing[260];
    DWORD existingType = 0, needed = 0;
    DWORD error = GetPrinterDataA(printer, const_cast<char*>(name.c_str()), &existingType, existing,
                                  sizeof existing, &needed);
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA)
        return true;
    return existingType != type;
}

}  // namespace

PrtDrvDataInfo::PrtDrvDataInfo(OstrafelEngine* engine, const PRINTER_INFO_2A* printer)
    : GenericInfo(engine, "QelPrtDrvData", printer && printer->pDriverName ? printer->pDriverName : ""),
      printerName_(printer && printer->pPrinterName ? printer->pPrinterName : "")
{
}

DWORD PrtDrvDataInfo::TypeOf(const CStdStr& word)
{
    if (EqualNoCase(word, "NUMBER"))
        return REG_DWORD;
    if (EqualNoCase(word, "BINARY"))
        return REG_BINARY;
    return REG_SZ;
}

bool PrtDrvDataInfo::HandleCommand(const CStdStringList& arguments)
{
    if (arguments.size() < 3) {
        DebugLog << "PrtDrvDataInfo::HandleCommand: not enough arguments!" << '\n';
        return false;
    }
    const DWORD type = TypeOf(arguments[0]);
    const CStdStr name = engine_->DecodeMacros(arguments[1]);
    const CStdStr data = engine_->DecodeMacros(arguments[2]);
    const long flags = arguments.size() > 3 ? ParseDecimal(arguments[3]) : 0;
    if (printerName_.empty()) {
        DebugLog << "PrtDrvDataInfo::HandleCommand: No printer name!" << '\n';
        return false;
    }

    bool ok = false;
    PrinterHandle printer;
    if (!printer.Open(printerName_)) {
        DebugLog << "PrtDrvDataInfo::HandleCommand: OpenPrinter failed with code " << GetLastError() << '\n';
    } else if (!MustWrite(printer.get(), name, type, flags)) {
        ok = true;
    } else {
        CStdStr bytes;
        if (type == REG_SZ) {
            bytes.assign(data.c_str(), data.size() + 1);
        } else if (type == REG_BINARY || type == REG_DWORD) {
            const std::uint32_t number = ParseNumberText(data);
            bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
        }
        if (bytes.empty()) {
            DebugLog << "PrtDrvDataInfo::HandleCommand: Invalid data" << '\n';
        } else {
            DWORD error = SetPrinterDataA(printer.get(), const_cast<char*>(name.c_str()), type,
                                          reinterpret_cast<BYTE*>(bytes.data()), DWORD(bytes.size()));
            if (error != ERROR_SUCCESS)
                DebugLog << "PrtDrvDataInfo::HandleCommand: SetPrinterData returned " << error << '\n';
            ok = error == ERROR_SUCCESS;
        }
    }
    printer.Close();
    if (ok)
        return true;
    DebugLog << "\tPrinter: " << printerName_ << '\n';
    DebugLog << "\tValue name: " << name << '\n';
    DebugLog << "\tData: " << data << '\n';
    return false;
}
