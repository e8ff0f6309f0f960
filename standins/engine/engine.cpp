// Stand-in for the install engine an uninstaller package carries. Each call is appended as one
// line, the function name and its arguments separated by tabs, to the file QVENGINE_RECORD names;
// DoInstallA also records the script it was handed, its line ends written as \r and \n.
// GetErrorCode answers the number in QVENGINE_ERROR (0 without it). Built a second time without
// GetErrorCode, for callers that must cope with an engine lacking it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Text(const char* s) { return s ? s : "(null)"; }

std::string Variable(const char* name)
{
    char value[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n && n < MAX_PATH ? std::string(value, n) : std::string();
}

void Record(const std::string& line)
{
    const std::string path = Variable("QVENGINE_RECORD");
    if (path.empty())
        return;
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

std::string FileContent(const char* path)
{
    std::string content;
    if (std::FILE* f = path ? std::fopen(path, "rb") : nullptr) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            content.append(buffer, n);
        std::fclose(f);
    }
    std::string escaped;
    for (char c : content)
        escaped += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return escaped;
}

}  // namespace

extern "C" void WINAPI SetWorkingDirA(const char* directory) { Record("SetWorkingDirA\t" + Text(directory)); }

extern "C" void WINAPI SetLanguageA(const char* language) { Record("SetLanguageA\t" + Text(language)); }

extern "C" BYTE WINAPI DoInstallA(const char* script, const char* second, const char* third)
{
    Record("DoInstallA\t" + Text(script) + "\t" + Text(second) + "\t" + Text(third) + "\t" + FileContent(script));
    return 1;
}

#ifndef QV_ENGINE_WITHOUT_ERROR_CODE
extern "C" LONG WINAPI GetErrorCode()
{
    Record("GetErrorCode");
    return std::strtol(Variable("QVENGINE_ERROR").c_str(), nullptr, 10);
}
#endif
