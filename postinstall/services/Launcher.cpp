#include "Launcher.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "../engine/DebugLog.h"
#include "OSInfo.h"
#include "SystemPath.h"
#include "PathObject.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsExistingFile(const CStdStr& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The first blank-separated token, a double-quoted one without its quotes, and the text after it.
// widened: an unquoted path was taken past its first blank, because only the longer text names
// an existing file. The platform would instead try each blank-cut prefix with ".exe" added and
// run the first it finds: "C:\Program Files\x.exe" runs C:\Program.exe when that exists.
bool SplitFirstToken(const CStdStr& line, CStdStr& token, CStdStr& tail, bool& widened)
{
    widened = false;
    size_t begin = 0;
    while (begin < line.size() && IsBlank(line[begin]))
        ++begin;
    size_t end = begin;
    if (begin < line.size() && line[begin] == '"') {
        size_t close = line.find('"', begin + 1);
        if (close == CStdStr::npos) {
            token = line.substr(begin + 1);
            end = line.size();
        } else {
            token = line.substr(begin + 1, close - begin - 1);
            end = close + 1;
        }
        tail = line.substr(end);
        return !token.empty();
    }
    auto wordEnd = [&](size_t from) {
        while (from < line.size() && !IsBlank(line[from]))
            ++from;
        return from;
    };
    end = wordEnd(begin);
    token = line.substr(begin, end - begin);
    tail = line.substr(end);
    if (token.empty() || !PathObject(token).HasDirectory() || IsExistingFile(token))
        return !token.empty();
    for (size_t next = end; next < line.size();) {
        while (next < line.size() && IsBlank(line[next]))
            ++next;
        if (next == line.size())
            break;
        next = wordEnd(next);
        if (IsExistingFile(line.substr(begin, next - begin))) {
            token = line.substr(begin, next - begin);
            tail = line.substr(next);
            widened = true;
            break;
        }
    }
    return true;
}

bool IsBatchFile(const CStdStr& token)
{
    return token.size() >= 4 && EqualNoCase(token.substr(token.size() - 4), ".BAT");
}

// "X:\..." or "\\server\...": names one file, with nothing to search.
bool IsFullyQualified(const CStdStr& path)
{
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
        return true;
    return path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
}

CStdStr FolderFile(int code, const char* name)
{
    SystemPath path(code);
    path.SetName(name);
    return path.FullPath();
}

// "%s /C %s" on the 9x family, "%s /C \"%s\"" elsewhere.
CStdStr InterpreterCommand(const CStdStr& commandLine)
{
    if (OSInfo().Is9x())
        return FolderFile(23, "Command.com") + " /C " + commandLine;
    return FolderFile(19, "cmd.exe") + " /C \"" + commandLine + "\"";
}

CStdStr CurrentDirectory()
{
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (!size)
        return CStdStr();
    std::vector<char> buffer(size + 1, 0);
    DWORD n = GetCurrentDirectoryA(DWORD(buffer.size()), buffer.data());
    return n && n < buffer.size() ? CStdStr(buffer.data(), n) : CStdStr();
}

}  // namespace

void Launcher::LaunchProgram(const CStdStr& commandLine, bool wait, bool pumpMessages, bool changeDirectory,
                             void* userToken, int showMode, unsigned long creationFlags,
                             unsigned long& errorCode, unsigned long& exitCode, bool paintOnly)
{
    errorCode = 0;
    exitCode = 0;
    if (commandLine.empty()) {
        errorCode = ERROR_INVALID_PARAMETER;
        return;
    }
    CStdStr token, tail;
    bool widened = false;
    if (!SplitFirstToken(commandLine, token, tail, widened)) {
        errorCode = ERROR_FILE_NOT_FOUND;
        return;
    }
    PathObject program(token);
    CStdStr quotedLine = "\"" + token + "\"" + tail;
    bool batch = IsBatchFile(token);
    CStdStr interpreter = batch ? InterpreterCommand(widened ? quotedLine : commandLine) : CStdStr();

    CStdStr previousDirectory;
    bool changed = false;
    if (changeDirectory && program.HasDirectory()) {
        previousDirectory = CurrentDirectory();
        if (SetCurrentDirectoryA(program.directory().c_str())) {
            changed = true;
        } else {
            DWORD error = GetLastError();
            DebugLog << "Launch:LaunchProgram: could not change dirs to " << program.directory() << '\n';
            DebugLog << "\tError code " << error << '\n';
        }
    }

    if (batch) {
        exitCode = static_cast<unsigned long>(std::system(interpreter.c_str()));
    } else {
        // A fully qualified path is passed as the application name, so that file and no other
        // runs. A bare name or a relative path is left to the platform's own program search
        // (SearchPath's order and default extension differ from it), which takes the quoted
        // token whole.
        CStdStr application = IsFullyQualified(token) ? token : CStdStr();
        if (!application.empty() && program.name().find('.') == CStdStr::npos)
            application += ".exe";
        errorCode = createAndWait(application, quotedLine, wait, pumpMessages, userToken, showMode,
                                  creationFlags, exitCode, paintOnly);
    }

    if (changed)
        SetCurrentDirectoryA(previousDirectory.c_str());
}

unsigned long Launcher::createAndWait(const CStdStr& application, const CStdStr& commandLine, bool wait,
                                      bool pumpMessages, void* userToken, int showMode,
                                      unsigned long creationFlags, unsigned long& exitCode, bool paintOnly)
{
    CStdStr line = commandLine;  // the platform may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(showMode ? showMode : SW_SHOWNA);
    PROCESS_INFORMATION process{};
    const char* app = application.empty() ? nullptr : application.c_str();
    BOOL created = userToken ? CreateProcessAsUserA(userToken, app, line.data(), nullptr, nullptr, FALSE,
                                                    creationFlags, nullptr, nullptr, &startup, &process)
                             : CreateProcessA(app, line.data(), nullptr, nullptr, FALSE, creationFlags,
                                              nullptr, nullptr, &startup, &process);
    if (!created)
        return GetLastError();

    if (wait) {
        if (!pumpMessages) {
            WaitForSingleObject(process.hProcess, INFINITE);
        } else {
            while (WaitForSingleObject(process.hProcess, 1000) == WAIT_TIMEOUT) {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    if (paintOnly && msg.message != WM_PAINT)
                        continue;
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
                OnIdle();
            }
        }
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            exitCode = code;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

unsigned long Launcher::LaunchNoWait(const CStdStr& commandLine, bool changeDirectory, void* userToken,
                                     int showMode, unsigned long creationFlags)
{
    unsigned long error = 0, exitCode = 0;
    LaunchProgram(commandLine, false, false, changeDirectory, userToken, showMode, creationFlags, error,
                  exitCode);
    return error;
}

unsigned long Launcher::LaunchAndWait(const CStdStr& commandLine, bool pumpMessages, unsigned long& exitCode,
                                      bool changeDirectory, void* userToken, int showMode,
                                      unsigned long creationFlags, bool paintOnly)
{
    unsigned long error = 0;
    LaunchProgram(commandLine, true, pumpMessages, changeDirectory, userToken, showMode, creationFlags, error,
                  exitCode, paintOnly);
    return error;
}
