// Registration of what the driver libraries create with the install log, so that uninstalling
// the driver removes it: a file, or a registry entry, in the log section of the driver or of one
// printer. Both libraries compile this one routine.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace installlog {

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

// The log texts are handed over in buffers of 260 characters, terminator included: a longer text
// is not recorded rather than recorded cut (a cut path names another file).
inline constexpr std::size_t kLogBufferChars = 260;
inline constexpr std::size_t kLogTextChars = kLogBufferChars - 1;

// Loads the install log from the system directory for the call. Does nothing without the
// library or one of its entry points, without a printer, when the printer's information cannot
// be read, or when the log cannot be opened. The printer name may be empty; the spooler's name
// is taken then.
void RegisterWithInstallLog(HANDLE printer, const std::string& printerName, LogKind kind, const LogEntry& entry);

// A wide text in the ANSI code page, as the log takes it; empty for null.
std::string Narrow(const wchar_t* text);

}  // namespace installlog
