// Helpers for the test programs and the printer set-up tool: the test printer driver and printers
// in the spooler, files, the HKLM registry and child processes. Paths are Windows paths in the
// ANSI code page, as the post-install utility uses them. On failure a helper returns false (or an
// empty value) with the failing call's error in GetLastError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvtest {

// build/win64/bin (no trailing separator), found from the running program: <exe dir>\..\bin.
std::string BinDir();

// ---- Spooler -------------------------------------------------------------------------------

inline constexpr const char* kDefaultHelpFile = "qvtest.hlp";

// Registers the test driver (configuration file qvtestcfg.dll from BinDir(), version 3) for
// "Windows NT x86", which the utility asks about and where a 32-bit program's AddPrinter looks,
// and in the 64-bit build also for "Windows x64", where its AddPrinter looks, under distinct file
// names per environment. Driver and data files are placeholders; an empty helpFile registers none.
bool InstallTestDriver(const std::string& driverName, const std::string& helpFile = kDefaultHelpFile);
// A local printer on the test driver, print processor "winprint".
bool AddTestPrinter(const std::string& printerName, const std::string& driverName,
                    const std::string& port = "LPT1:");
bool DeleteTestPrinter(const std::string& printerName);
// The directory of the printer's driver files (its driver path less the file name, with the
// trailing separator); empty when the printer or its driver cannot be read.
std::string DriverDirectoryOf(const std::string& printerName);

struct PrinterEntry {
    std::string name;
    std::string driver;
    std::string port;
};
struct DriverEntry {
    std::string name;
    std::uint32_t version = 0;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
};
// Local and connected printers (EnumPrinters level 2); nullopt when the call fails.
std::optional<std::vector<PrinterEntry>> ListPrinters();
// The drivers of one environment (EnumPrinterDrivers level 6); nullopt when the call fails.
std::optional<std::vector<DriverEntry>> ListDrivers(const std::string& environment);

// ---- Files ---------------------------------------------------------------------------------

// A new, unique, empty directory under the temporary directory, removed with its contents at
// destruction. Path() is empty when it could not be made.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + "\" + name.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The system's temporary folder as GetTempPathA gives it, with its trailing '\'; empty when it
// cannot be read.
std::string TempFolder();
// Removes a directory and everything in it (read-only files too).
bool RemoveTree(const std::string& path);
// The whole file as bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);
// Creates or replaces the file with exactly these bytes.
bool WriteFile(const std::string& path, std::string_view bytes);
// The lines of a text, without their '\n'; a last line without one counts too.
std::vector<std::string> Lines(const std::string& text);

// ---- Registry (HKEY_LOCAL_MACHINE, the native view) ----------------------------------------

bool SetHklmString(const std::string& subkey, const std::string& value, const std::string& text);
bool SetHklmDword(const std::string& subkey, const std::string& value, std::uint32_t data);
std::optional<std::string> GetHklmString(const std::string& subkey, const std::string& value);
std::optional<std::uint32_t> GetHklmDword(const std::string& subkey, const std::string& value);
// True when the value (or key) is gone afterwards, also when it never existed.
bool DeleteHklmValue(const std::string& subkey, const std::string& value);
bool DeleteHklmTree(const std::string& subkey);

// ---- Processes -----------------------------------------------------------------------------

// Runs a command line (the working directory is inherited when empty) and waits for it. The exit
// code, or -1 when it cannot start or outlives the timeout (it is then terminated).
int RunProcess(const std::string& commandLine, const std::string& workingDir = "",
               std::uint32_t timeoutMs = 60000);

}  // namespace qvtest
