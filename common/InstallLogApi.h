// The install log's entry points as the driver libraries call them to have files and registry
// entries they create removed at uninstall, and as the test stand-in exports them: narrow texts
// in the ANSI code page, integers as int, stdcall. The library lives in the system directory.
#pragma once

namespace installlog {

inline constexpr const char* kLibraryName = "QELLOG.DLL";
inline constexpr const char* kFindLogFileName = "FindLogFile";
inline constexpr const char* kAddFileName = "AddFile";
inline constexpr const char* kAddRegistryName = "AddRegistry";

// Opens the component's log; non-zero when it cannot, and nothing is recorded then.
using FindLogFileProc = int(__stdcall*)(const char* component, int mode);
// A file to remove, in a section of the log ("Drivers", or "Printer " and the printer's name).
using AddFileProc = int(__stdcall*)(const char* section, const char* file);
// A registry entry to remove: root, the key in double quotes, optionally the value name.
using AddRegistryProc = int(__stdcall*)(const char* section, const char* line);

}  // namespace installlog
