// The test driver and printers in the spooler.
#include "TestSupport.h"

#include <windows.h>
#include <winspool.h>

namespace qvtest {
namespace {

struct EnvironmentFiles {
    const char* environment;
    const char* configFile;
    const char* driverFile;
    const char* dataFile;
};

// A 32-bit program adds printers on drivers of "Windows NT x86", which the post-install utility
// asks about too: the i686 build registers that environment alone, with its own files. The 64-bit
// build needs "Windows x64" for its printers and still answers the utility's question about
// "Windows NT x86", with its x64 files under other names (Wine checks no architecture).
constexpr EnvironmentFiles kEnvironments[] = {
#ifdef _WIN64
    {"Windows x64", "qvtestcfg.dll", "qvtestdrv.dll", "qvtest.dat"},
#endif
    {"Windows NT x86", "qvtestcfg32.dll", "qvtestdrv32.dll", "qvtest32.dat"},
};

char* Str(const std::string& s)
{
    return const_cast<char*>(s.c_str());
}

std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                 static_cast<int>(w.size())));
    return w;
}

std::string OrEmpty(const char* s)
{
    return s ? s : "";
}

// Runs a spooler enumeration with its size-query protocol: the records, and their count.
template <class Enumerate>
std::optional<std::vector<BYTE>> Enumerated(Enumerate enumerate, DWORD& count)
{
    DWORD needed = 0;
    count = 0;
    if (enumerate(nullptr, 0, &needed, &count))
        return std::vector<BYTE>();
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return std::nullopt;
    std::vector<BYTE> buffer(needed);
    if (!enumerate(buffer.data(), needed, &needed, &count))
        return std::nullopt;
    return buffer;
}

std::optional<std::string> DriverDirectory(const char* environment)
{
    char dir[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                    reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return std::nullopt;
    return std::string(dir);
}

// Puts the environment's files into its driver directory, where the spooler takes bare names
// from when APD_COPY_FROM_DIRECTORY is not given.
bool StageFiles(const EnvironmentFiles& files, const std::string& dir, const std::string& helpFile)
{
    const std::string standin = BinDir() + "\\qvtestcfg.dll";
    return CopyFileA(standin.c_str(), (dir + "\\" + files.configFile).c_str(), FALSE) &&
           CopyFileA(standin.c_str(), (dir + "\\" + files.driverFile).c_str(), FALSE) &&
           WriteFile(dir + "\\" + files.dataFile, "test driver data\r\n") &&
           (helpFile.empty() || WriteFile(dir + "\\" + helpFile, "test driver help\r\n"));
}

bool RegisterDriver(const EnvironmentFiles& files, const std::string& driverName,
                    const std::string& helpFile)
{
    const std::optional<std::string> dir = DriverDirectory(files.environment);
    if (!dir || !StageFiles(files, *dir, helpFile))
        return false;

    DRIVER_INFO_6A info{};
    info.cVersion = 3;
    info.pName = Str(driverName);
    info.pEnvironment = const_cast<char*>(files.environment);
    info.pDriverPath = const_cast<char*>(files.driverFile);
    info.pDataFile = const_cast<char*>(files.dataFile);
    info.pConfigFile = const_cast<char*>(files.configFile);
    info.pHelpFile = helpFile.empty() ? nullptr : Str(helpFile);
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}

}  // namespace

bool InstallTestDriver(const std::string& driverName, const std::string& helpFile)
{
    for (const EnvironmentFiles& files : kEnvironments)
        if (!RegisterDriver(files, driverName, helpFile))
            return false;
    return true;
}

bool AddTestPrinter(const std::string& printerName, const std::string& driverName, const std::string& port)
{
    std::wstring name = Wide(printerName), driver = Wide(driverName), portName = Wide(port);
    wchar_t printProcessor[] = L"winprint";  // Wine's spooler crashes on a null one
    wchar_t datatype[] = L"RAW";
    PRINTER_INFO_2W info{};
    info.pPrinterName = name.data();
    info.pPortName = portName.data();
    info.pDriverName = driver.data();
    info.pPrintProcessor = printProcessor;
    info.pDatatype = datatype;
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    // The wide entry: Wine 8's AddPrinterA reports an unknown driver as 87 instead of 1797.
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return false;
    ClosePrinter(printer);
    return true;
}

std::string DriverDirectoryOf(const std::string& printerName)
{
    HANDLE h = nullptr;
    if (!OpenPrinterA(Str(printerName), &h, nullptr))
        return {};
    DWORD needed = 0;
    GetPrinterDriverA(h, nullptr, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed + 1);
    const BOOL ok = GetPrinterDriverA(h, nullptr, 2, info.data(), DWORD(info.size()), &needed);
    ClosePrinter(h);
    if (!ok)
        return {};
    const std::string path = reinterpret_cast<DRIVER_INFO_2A*>(info.data())->pDriverPath;
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool DeleteTestPrinter(const std::string& printerName)
{
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(Str(printerName), &printer, &defaults))
        return false;
    const BOOL deleted = DeletePrinter(printer);
    const DWORD error = GetLastError();
    ClosePrinter(printer);
    if (!deleted)
        SetLastError(error);
    return deleted;
}

std::optional<std::vector<PrinterEntry>> ListPrinters()
{
    DWORD count = 0;
    auto buffer = Enumerated(
        [](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
            return EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, buf, size,
                                 needed, returned);
        },
        count);
    if (!buffer)
        return std::nullopt;
    std::vector<PrinterEntry> printers;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer->data());
    for (DWORD i = 0; i < count; ++i)
        printers.push_back({OrEmpty(info[i].pPrinterName), OrEmpty(info[i].pDriverName),
                            OrEmpty(info[i].pPortName)});
    return printers;
}

std::optional<std::vector<DriverEntry>> ListDrivers(const std::string& environment)
{
    DWORD count = 0;
    auto buffer = Enumerated(
        [&](BYTE* buf, DWORD size, DWORD* needed, DWORD* returned) {
            return EnumPrinterDriversA(nullptr, Str(environment), 6, buf, size, needed, returned);
        },
        count);
    if (!buffer)
        return std::nullopt;
    std::vector<DriverEntry> drivers;
    const auto* info = reinterpret_cast<const DRIVER_INFO_6A*>(buffer->data());
    for (DWORD i = 0; i < count; ++i)
        drivers.push_back({OrEmpty(info[i].pName), info[i].cVersion, OrEmpty(info[i].pDriverPath),
                           OrEmpty(info[i].pDataFile), OrEmpty(info[i].pConfigFile),
                           OrEmpty(info[i].pHelpFile)});
    return drivers;
}

}  // namespace qvtest
