// Records each call as one line, the function name and its arguments separated by tabs, appended
// to the file that QELLOG_RECORD names; without that variable it records nothing. FindLogFile
// answers the number in QELLOG_FINDLOGFILE (0, the log is open, without it).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "InstallLogApi.h"
#include "QelLogApi.h"

namespace {

std::string Text(const char* s) { return s ? s : "(null)"; }

void Record(const std::string& line)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("QELLOG_RECORD", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

int FindLogFileAnswer()
{
    char text[32];
    DWORD n = GetEnvironmentVariableA("QELLOG_FINDLOGFILE", text, sizeof text);
    return n == 0 || n >= sizeof text ? 0 : std::atoi(text);
}

}  // namespace

extern "C" int __stdcall AddAnyItem(const char* component, const char* item, int type, const char* qualifier)
try {
    Record("AddAnyItem\t" + Text(component) + "\t" + Text(item) + "\t" + std::to_string(type) + "\t" +
           Text(qualifier));
    return 1;
} catch (...) {
    return 0;
}

extern "C" int __stdcall AddDriverNameEx(const char* driverName, const char* qualifier, int networkLevel)
try {
    Record("AddDriverNameEx\t" + Text(driverName) + "\t" + Text(qualifier) + "\t" + std::to_string(networkLevel));
    return 1;
} catch (...) {
    return 0;
}

extern "C" int __stdcall FindLogFile(const char* component, int mode)
try {
    Record("FindLogFile\t" + Text(component) + "\t" + std::to_string(mode));
    return FindLogFileAnswer();
} catch (...) {
    return 1;
}

extern "C" int __stdcall AddFile(const char* section, const char* file)
try {
    Record("AddFile\t" + Text(section) + "\t" + Text(file));
    return 1;
} catch (...) {
    return 0;
}

extern "C" int __stdcall AddRegistry(const char* section, const char* line)
try {
    Record("AddRegistry\t" + Text(section) + "\t" + Text(line));
    return 1;
} catch (...) {
    return 0;
}

static_assert(std::is_same_v<decltype(&AddAnyItem), qellog::AddAnyItemProc>);
static_assert(std::is_same_v<decltype(&AddDriverNameEx), qellog::AddDriverNameExProc>);
static_assert(std::is_same_v<decltype(&FindLogFile), installlog::FindLogFileProc>);
static_assert(std::is_same_v<decltype(&AddFile), installlog::AddFileProc>);
static_assert(std::is_same_v<decltype(&AddRegistry), installlog::AddRegistryProc>);
