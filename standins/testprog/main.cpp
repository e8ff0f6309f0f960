// qvtestprog [--sleep=MS] [--exit=N] [anything else]
// QVTESTPROG_SLEEP and QVTESTPROG_EXIT give MS and N for a start whose command line the program
// does not choose; the options win over them.
// When QVTESTPROG_LOG names a file, appends one line to it, fields separated by tabs:
//   command line (as the process got it) <TAB> current directory <TAB> own program path
//   <TAB> show mode from the start-up information (-1 when none was given) <LF>
// then sleeps MS milliseconds and exits with N (default 0). Other arguments are ignored.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string CurrentDirectory()
{
    char dir[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    return n && n < sizeof dir ? std::string(dir, n) : std::string();
}

std::string ProgramPath()
{
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return n && n < sizeof path ? std::string(path, n) : std::string();
}

void AppendRecord(const char* logPath)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    std::string line = std::string(GetCommandLineA()) + "\t" + CurrentDirectory() + "\t" + ProgramPath() +
                       "\t" + std::to_string(show) + "\n";
    // Another instance may be appending at the same moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (std::FILE* f = std::fopen(logPath, "ab")) {
            std::fwrite(line.data(), 1, line.size(), f);
            std::fclose(f);
            return;
        }
        Sleep(20);
    }
}

long EnvironmentNumber(const char* name, long fallback)
{
    char text[32];
    DWORD n = GetEnvironmentVariableA(name, text, sizeof text);
    return n && n < sizeof text ? std::strtol(text, nullptr, 10) : fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned long sleepMs = static_cast<unsigned long>(EnvironmentNumber("QVTESTPROG_SLEEP", 0));
    int exitCode = int(EnvironmentNumber("QVTESTPROG_EXIT", 0));
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sleep=", 8) == 0)
            sleepMs = std::strtoul(argv[i] + 8, nullptr, 10);
        else if (std::strncmp(argv[i], "--exit=", 7) == 0)
            exitCode = int(std::strtol(argv[i] + 7, nullptr, 10));
    }
    char logPath[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA("QVTESTPROG_LOG", logPath, sizeof logPath);
    if (n && n < sizeof logPath)
        AppendRecord(logPath);
    if (sleepMs)
        Sleep(sleepMs);
    return exitCode;
}
