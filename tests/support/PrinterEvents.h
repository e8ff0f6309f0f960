// The driver library as a printer's configuration file in the spooler, and the printer events
// that Wine's spooler never sends, played the way the platform's spooler sends them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qvtest {

struct PackageFile {
    std::string source;  // a full path
    std::string name;    // its name in the driver directory
};

// Registers the driver for this process's own environment ("Windows x64" or "Windows NT x86")
// with QVTDX5DA.DLL from BinDir() as its configuration file and the given files as dependent
// files, staged in the environment's driver directory for the spooler to copy into its versioned
// one. Other environments keep what they had.
bool InstallDriverPackage(const std::string& driverName, const std::vector<PackageFile>& files);

// The directory of the printer's configuration file as the spooler reports it, with its
// trailing backslash; empty when it cannot be read.
std::string ConfigDirectoryOf(const std::string& printer);

enum class SpoolerEvent {
    AddConnection = 1,
    DeleteConnection = 2,
    Initialize = 3,
    Delete = 4,
    CacheRefresh = 5,
};

// The flags the spooler passes with an event: the events it raises in its own service process
// (initialise, delete, cache refresh) forbid any user interface; the connection events run in
// the user's process that made the connection and allow it.
DWORD SpoolerEventFlags(SpoolerEvent event);

// Loads the printer's configuration file from where the spooler keeps it and calls its
// DrvPrinterEvent with the printer's name, the event, its flags and a null parameter, in the
// calling process. The answer; nothing when the file or its export cannot be had.
std::optional<BOOL> PlayPrinterEvent(const std::string& printer, SpoolerEvent event);

}  // namespace qvtest
