#include "PrinterFiles.h"

#include <winspool.h>

#include <vector>

#include "FontFileNames.h"
#include "PrinterAccess.h"
#include "SpoolLock.h"

namespace fontfiles {
namespace {

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

// The path when the system resolves it to a file of the directory itself.
std::string Inside(const std::string& directory, const std::string& path)
{
    if (!StaysInside(directory, path))
        return {};
    char full[MAX_PATH];
    char* part = nullptr;
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, &part);
    if (n == 0 || n >= MAX_PATH || !part)
        return {};
    const std::string resolvedDir(full, std::size_t(part - full));
    char dirFull[MAX_PATH];
    const DWORD d = GetFullPathNameA(directory.c_str(), MAX_PATH, dirFull, nullptr);
    if (d == 0 || d >= MAX_PATH || lstrcmpiA(resolvedDir.c_str(), dirFull) != 0)
        return {};
    return path;
}

}  // namespace

PrinterFiles FontFilesIn(const std::string& directory, const std::string& printerName)
{
    PrinterFiles files;
    files.directory = directory;
    files.fontList = Inside(directory, DownloadFileName(directory, printerName, kFontListExtension));
    files.metricList = Inside(directory, DownloadFileName(directory, printerName, kMetricListExtension));
    files.fontCache = Inside(directory, DownloadFileName(directory, printerName, kFontCacheExtension));
    return files;
}

PrinterFiles PrinterFontFiles(HANDLE printer)
{
    const std::string dir = DriverFilesDirectory(printer);
    if (dir.empty())
        return {};
    const std::vector<BYTE> info = PrinterInfo2(printer);
    const std::string name =
        info.empty() ? std::string() : NarrowText(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName);
    return FontFilesIn(dir, name);
}

}  // namespace fontfiles
