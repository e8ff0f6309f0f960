#include "Toolkit.h"

#include <string>

#include "Library.h"
#include "PrinterAccess.h"
#include "SiblingNames.h"
#include "SiblingPath.h"
#include "ToolkitApi.h"

namespace sheet {
namespace {

constexpr char kDefaultPort[] = "LPT1";

bool CarriesValues(DWORD command)
{
    return command == 1 || command == 2 || command == 4;
}

}  // namespace

int ToolkitUtil(HWND window, LPSTR printerName, DWORD command, DWORD argument, WORD value1, WORD value2,
                DWORD flags)
{
    std::string port = kDefaultPort;
    {
        OpenedPrinter printer(printerName, PrinterAccess::FullElseDefault);
        if (printer.get()) {
            const std::vector<BYTE> info = PrinterInfo2(printer.get());
            if (!info.empty()) {
                const std::string named = NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPortName);
                if (!named.empty())
                    port = named;
            }
        }
    }
    return ToolkitCommon(window, printerName, port.data(), command, value1, value2, flags, argument);
}

int ToolkitCommon(HWND window, LPSTR printerName, LPSTR portName, DWORD command, WORD value1, WORD value2,
                  DWORD flags, DWORD argument)
{
    const std::wstring path = SiblingFullPathW(DriverModule(), kToolkitLibrary.wide);
    HMODULE library = path.empty() ? nullptr : LoadLibraryW(path.c_str());
    if (!library)
        return 0;
    int result = 0;
    if (const auto toolkit = reinterpret_cast<ToolkitProc>(GetProcAddress(library, kToolkitExport))) {
        ToolkitRequest request{};
        request.size = sizeof request;
        request.printerName = printerName;
        request.portName = portName;
        request.command = command;
        request.argument = argument;
        request.flags = flags;
        if (CarriesValues(command)) {
            request.transfer.set[0] = request.transfer.set[1] = request.transfer.set[2] = 1;
            request.transfer.value1 = value1;
            request.transfer.value2 = value2;
        }
        toolkit(window, DriverModule(), &request);
        result = request.reply != 0 ? 1 : 0;
    }
    FreeLibrary(library);
    return result;
}

}  // namespace sheet
