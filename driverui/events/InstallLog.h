// Registration of what the driver library creates with the install log, so that uninstalling the
// driver removes it: a file, or a registry entry, in the log section of the driver or of one
// printer.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace events {

enum class LogKind {
    Driver = 1,   // section "Drivers"
    Printer = 2,  // section "Printer " and the printer's name
};

struct LogEntry {
    std::string file;       // recorded when not empty
    std::string key;        // with a value name: a registry entry (root such as "hkcu")
    std::string valueName;  // the key's path for a registry entry
    std::optional<std::string> value;
};

// The log texts are handed over in 260-character buffers: a longer text is not recorded rather
// than recorded cut.
inline constexpr std::size_t kLogTextChars = 259;

// Loads the install log from the system directory for the call. Does nothing without the
// library or one of its entry points, without a printer, when the printer's information cannot
// be read, or when the log cannot be opened. The printer name may be empty; the spooler's name
// is taken then.
void RegisterWithInstallLog(HANDLE printer, const std::string& printerName, LogKind kind, const LogEntry& entry);

}  // namespace events
