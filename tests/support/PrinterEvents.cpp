// The driver library in the spooler, and the spooler's part in its printer events.
#include "PrinterEvents.h"

#include <winddiui.h>
#include <winspool.h>

#include "TestSupport.h"

namespace qvtest {
namespace {

constexpr char kConfigFile[] = "QVTDX5DA.DLL";
constexpr char kDriverFile[] = "QVTDX5DD.DLL";
constexpr char kDataFile[] = "QVTDX5DD.DAT";

std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), int(w.size())));
    return w;
}

std::string OwnDriverDirectory()
{
    char dir[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return {};
    return dir;
}

std::vector<BYTE> DriverInfo3(const std::string& printer)
{
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &handle, &defaults))
        return {};
    DWORD needed = 0;
    std::vector<BYTE> info;
    if (!GetPrinterDriverA(handle, nullptr, 3, nullptr, 0, &needed) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        info.resize(needed);
        if (!GetPrinterDriverA(handle, nullptr, 3, info.data(), needed, &needed))
            info.clear();
    }
    ClosePrinter(handle);
    return info;
}

}  // namespace

bool InstallDriverPackage(const std::string& driverName, const std::vector<PackageFile>& files)
{
    const std::string dir = OwnDriverDirectory();
    if (dir.empty() || !CopyFileA((BinDir() + "\\" + kConfigFile).c_str(), (dir + "\\" + kConfigFile).c_str(), FALSE) ||
        !WriteFile(dir + "\\" + kDriverFile, "rendering driver placeholder\r\n") ||
        !WriteFile(dir + "\\" + kDataFile, "driver data placeholder\r\n"))
        return false;
    std::string dependents;
    for (const PackageFile& file : files) {
        if (!CopyFileA(file.source.c_str(), (dir + "\\" + file.name).c_str(), FALSE))
            return false;
        dependents += file.name + '\0';
    }
    dependents += '\0';

    DRIVER_INFO_6A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(driverName.c_str());
    info.pDriverPath = const_cast<char*>(kDriverFile);
    info.pDataFile = const_cast<char*>(kDataFile);
    info.pConfigFile = const_cast<char*>(kConfigFile);
    info.pDependentFiles = dependents.data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}

std::string ConfigDirectoryOf(const std::string& printer)
{
    const std::vector<BYTE> info = DriverInfo3(printer);
    if (info.empty())
        return {};
    const char* config = reinterpret_cast<const DRIVER_INFO_3A*>(info.data())->pConfigFile;
    const std::string path = config ? config : "";
    const std::size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

DWORD SpoolerEventFlags(SpoolerEvent event)
{
    switch (event) {
    case SpoolerEvent::Initialize:
    case SpoolerEvent::Delete:
    case SpoolerEvent::CacheRefresh:
        return PRINTER_EVENT_FLAG_NO_UI;
    case SpoolerEvent::AddConnection:
    case SpoolerEvent::DeleteConnection:
        return 0;
    }
    return 0;
}

std::optional<BOOL> PlayPrinterEvent(const std::string& printer, SpoolerEvent event)
{
    const std::vector<BYTE> info = DriverInfo3(printer);
    if (info.empty())
        return std::nullopt;
    const char* config = reinterpret_cast<const DRIVER_INFO_3A*>(info.data())->pConfigFile;
    const HMODULE library = config ? LoadLibraryA(config) : nullptr;
    if (!library)
        return std::nullopt;
    using PrinterEventFn = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    const auto call = reinterpret_cast<PrinterEventFn>(GetProcAddress(library, "DrvPrinterEvent"));
    std::optional<BOOL> answer;
    if (call) {
        std::wstring name = Wide(printer);
        answer = call(name.data(), INT(event), SpoolerEventFlags(event), 0);
    }
    FreeLibrary(library);
    return answer;
}

}  // namespace qvtest
