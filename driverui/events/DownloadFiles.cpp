#include "DownloadFiles.h"

#include <winspool.h>

#include <vector>

#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace events {
namespace {

// The directory of the driver files, from the level-2 driver information, with its separator.
std::string DriverFilesDirectory(HANDLE printer)
{
    DWORD needed = 0;
    if (QelGetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed) || needed < sizeof(DRIVER_INFO_2W))
        return {};
    std::vector<BYTE> info(needed);
    if (!QelGetPrinterDriverW(printer, nullptr, 2, info.data(), needed, &needed))
        return {};
    const std::string driverPath = NarrowText(reinterpret_cast<const DRIVER_INFO_2W*>(info.data())->pDriverPath);
    const std::size_t cut = driverPath.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : driverPath.substr(0, cut + 1);
}

}  // namespace

std::string DownloadFileName(std::string_view directory, std::string_view printerName, std::string_view extension)
{
    const std::size_t cut = printerName.find_last_of("\\/:");
    const std::string_view last = cut == std::string_view::npos ? printerName : printerName.substr(cut + 1);
    std::string name(directory);
    name += printerName.empty() ? std::string("LFS_NONE") : "qel" + std::string(last);
    name += extension;
    return name;
}

DownloadFiles PrinterDownloadFiles(HANDLE printer)
{
    const std::string dir = DriverFilesDirectory(printer);
    if (dir.empty())
        return {};
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::string name =
        info.empty() ? std::string() : NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
    return {DownloadFileName(dir, name, ".PFM"), DownloadFileName(dir, name, ".PCM"),
            DownloadFileName(dir, name, ".PCL")};
}

}  // namespace events
