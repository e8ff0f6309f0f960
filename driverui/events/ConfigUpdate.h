// The driver's configuration file QVTDX5DD.INI in the Windows directory, brought up to date from
// the update file QVTDX5D$.INI beside the library.
#pragma once

#include <windows.h>

#include <string>

namespace events {

inline constexpr char kConfigFile[] = "QVTDX5DD.INI";
inline constexpr char kUpdateFile[] = "QVTDX5D$.INI";

// The configuration file's full name for the install log; empty when it would pass 260
// characters.
std::string ConfigFileFullName();

// The update; a bad rule or an empty control section shows "Failed to update initialization
// files." captioned with the printer name, when a box may be shown. False when the update
// failed. A successful update registers the configuration file with the install log.
bool UpdateConfigFile(HANDLE printer, const std::string& printerName, bool mayShowBox);

// A string of the library's string table, or the fallback when it has none.
std::string DriverString(unsigned id, const char* fallback);

}  // namespace events
