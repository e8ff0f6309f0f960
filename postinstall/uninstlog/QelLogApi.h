// The uninstall-log library's two entry points, as the utility calls them and as the test
// stand-in exports them: narrow texts in the ANSI code page, integers as int, the platform's
// calling convention for such libraries. The utility never uses their results.
#pragma once

namespace qellog {

inline constexpr const char* kLibraryName = "QELLOG.DLL";
inline constexpr const char* kAddAnyItemName = "AddAnyItem";
inline constexpr const char* kAddDriverNameExName = "AddDriverNameEx";

// One item: its component, its text (a full path or a registry entry), its type (LogOp's) and
// the uninstall qualifier ("" for none).
using AddAnyItemProc = int(__stdcall*)(const char* component, const char* item, int type, const char* qualifier);
// The driver that the run installed, with the qualifier and the network level.
using AddDriverNameExProc = int(__stdcall*)(const char* driverName, const char* qualifier, int networkLevel);

}  // namespace qellog
