// The driver package through the spooler, as a setup program installs it: the files into the
// driver directory of this process's environment, one driver for each model with QVTDX5DA.DLL as
// its configuration file, one printer for each; then the spooler's part in the printer's
// initialisation, which Wine's spooler does not play.
#include <cstdio>

#include "Demo.h"
#include "PrinterEvents.h"
#include "TestSupport.h"

namespace demo {
namespace {

struct Model {
    const wchar_t* driver;
    const wchar_t* printer;
};
constexpr Model kModels[] = {
    {L"Qelbrin QV-5 PCL", L"Qelbrin QV-5"},
    {L"Qelbrin QV-5n PCL", L"Qelbrin QV-5n"},
    {L"Qelbrin QV-5c PCL", L"Qelbrin QV-5c"},
};

// The package's files: ours and the stand-ins of the libraries outside this system, from the
// build's bin; the post-install script and the update file as the package names them.
constexpr const char* kFromBin[] = {
    "QVTDX5DA.DLL", "QVTDX5DU.DLL", "QVTDX5DL.DLL", "QVTDX5PI.EXE", "QVTDX5BT.DLL",
    "QVTDX5B1.DLL", "QVTDX5TE.DLL", "QVTDX5PU.DLL", "QVTDX5LU.DLL", "QELLOG.DLL",
};
constexpr const char* kDependents[] = {
    "QVTDX5DU.DLL", "QVTDX5DL.DLL", "QVTDX5PI.EXE", "QVTDX5BT.DLL", "QVTDX5B1.DLL", "QVTDX5TE.DLL",
    "QVTDX5PU.DLL", "QVTDX5LU.DLL", "QELLOG.DLL",   "QVTDX5DA.ALL", "QVTDX5D$.INI",
};
// The rendering driver is outside this system and Wine never loads it: a placeholder file.
constexpr char kRenderingDriver[] = "QVTDX5DD.DLL";
constexpr char kDataFile[] = "QVTDX5DD.DAT";

std::wstring Environment()
{
#ifdef _WIN64
    return L"Windows x64";
#else
    return L"Windows NT x86";
#endif
}

std::string DriverDirectory()
{
    wchar_t dir[MAX_PATH] = L"";
    DWORD needed = 0;
    std::wstring environment = Environment();
    if (!GetPrinterDriverDirectoryW(nullptr, environment.data(), 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed))
        return {};
    return Utf8(dir);
}

bool Copy(const std::string& from, const std::string& to)
{
    if (CopyFileA(from.c_str(), to.c_str(), FALSE))
        return true;
    return Failed("copying the package's files", from + " -> " + to + ": error " + std::to_string(GetLastError()));
}

bool StageFiles(const std::string& dir, const std::string& script, const std::string& updateFile)
{
    const std::string bin = qvtest::BinDir();
    for (const char* name : kFromBin)
        if (!Copy(bin + "\\" + name, dir + "\\" + name))
            return false;
    if (!Copy(script, dir + "\\QVTDX5DA.ALL") || !Copy(updateFile, dir + "\\QVTDX5D$.INI"))
        return false;
    if (!qvtest::WriteFile(dir + "\\" + kRenderingDriver, "rendering driver placeholder\r\n") ||
        !qvtest::WriteFile(dir + "\\" + kDataFile, "driver data placeholder\r\n"))
        return Failed("copying the package's files", "cannot write the placeholders in " + dir);
    Say("staged in " + dir + ": QVTDX5DA.DLL (configuration file), " + kRenderingDriver +
        " and " + kDataFile + " (placeholders: the rendering driver is outside this system), and " +
        std::to_string(std::size(kDependents)) + " dependent files");
    return true;
}

bool AddDriver(const Model& model)
{
    std::wstring name = model.driver, environment = Environment();
    std::wstring config = L"QVTDX5DA.DLL", driver = Wide(kRenderingDriver), data = Wide(kDataFile), type = L"RAW";
    std::wstring dependents;
    for (const char* file : kDependents)
        dependents += Wide(file) + L'\0';
    dependents += L'\0';
    DRIVER_INFO_6W info{};
    info.cVersion = 3;
    info.pName = name.data();
    info.pEnvironment = environment.data();
    info.pDriverPath = driver.data();
    info.pDataFile = data.data();
    info.pConfigFile = config.data();
    info.pDependentFiles = dependents.data();
    info.pDefaultDataType = type.data();
    // Bare names: the spooler takes the files staged in the environment's directory and copies
    // them into the directory of the driver's version.
    if (!AddPrinterDriverExW(nullptr, 6, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
        return Failed("AddPrinterDriverExW", Utf8(name) + ": error " + std::to_string(GetLastError()));
    Say("AddPrinterDriverExW level 6, \"" + Utf8(name) + "\" for \"" + Utf8(environment) + "\", version 3: TRUE");
    return true;
}

bool AddPrinter(const Model& model, const std::string& port)
{
    std::wstring name = model.printer, driver = model.driver, portName = Wide(port);
    std::wstring processor = L"winprint", type = L"RAW";
    PRINTER_INFO_2W info{};
    info.pPrinterName = name.data();
    info.pPortName = portName.data();
    info.pDriverName = driver.data();
    info.pPrintProcessor = processor.data();
    info.pDatatype = type.data();
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return Failed("AddPrinterW", Utf8(name) + ": error " + std::to_string(GetLastError()));
    ClosePrinter(printer);
    Say("AddPrinterW level 2, \"" + Utf8(name) + "\" on \"" + Utf8(driver) + "\", port " + port);
    return true;
}

}  // namespace

int Install(const std::string& script, const std::string& updateFile, const std::string& port)
{
    const std::string dir = DriverDirectory();
    if (dir.empty())
        return Failed("GetPrinterDriverDirectoryW", "error " + std::to_string(GetLastError())), 1;
    if (!StageFiles(dir, script, updateFile))
        return 1;
    for (const Model& m : kModels)
        if (!AddDriver(m))
            return 1;
    for (const Model& m : kModels)
        if (!AddPrinter(m, port))
            return 1;
    return 0;
}

int PlayInitialise(const std::wstring& printer)
{
    const std::optional<BOOL> answer = qvtest::PlayPrinterEvent(Utf8(printer), qvtest::SpoolerEvent::Initialize);
    if (!answer)
        return Failed("the printer-initialise event", "the configuration file of \"" + Utf8(printer) +
                                                          "\" or its DrvPrinterEvent cannot be had"),
               1;
    Say("DrvPrinterEvent(\"" + Utf8(printer) + "\", PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI, 0): " +
        (*answer ? "TRUE" : "FALSE"));
    if (!*answer)
        return Failed("the printer-initialise event", "the driver answered FALSE"), 1;
    return 0;
}

}  // namespace demo
