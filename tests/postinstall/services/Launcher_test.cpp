#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "ProgramStarts.h"
#include "TestSupport.h"
#include "services/Launcher.h"
#include "services/OSInfo.h"

namespace {

std::string TestProg() { return qvtest::BinDir() + "\\qvtestprog.exe"; }

std::string CurrentDir()
{
    char dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, dir);
    return std::string(dir, n);
}

using qvtest::Start;
using qvtest::StartLog;

// Makes a directory current while alive.
class InDirectory {
public:
    explicit InDirectory(const std::string& dir) : previous_(CurrentDir())
    {
        SetCurrentDirectoryA(dir.c_str());
    }
    ~InDirectory() { SetCurrentDirectoryA(previous_.c_str()); }

private:
    std::string previous_;
};

class CountingLauncher : public Launcher {
public:
    int idles = 0;

protected:
    void OnIdle() override { ++idles; }
};

TEST(Launcher, WaitsForTheProgramAndGivesItsExitCode)
{
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token));
    struct Case {
        const char* what;
        bool pump;
        HANDLE token;
    };
    const Case cases[] = {
        {"plain wait", false, nullptr}, {"pumping wait", true, nullptr}, {"as a user", false, token}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CountingLauncher launcher;
        unsigned long exitCode = 99;
        EXPECT_EQ(launcher.LaunchAndWait(TestProg() + " --exit=3", c.pump, exitCode, false, c.token), 0ul);
        EXPECT_EQ(exitCode, 3ul);
        EXPECT_EQ(launcher.idles, 0);
    }
    CloseHandle(token);
}

TEST(Launcher, WithoutWaitReturnsAtOnce)
{
    StartLog log;
    Launcher launcher;
    unsigned long error = 99, exitCode = 99;
    auto begin = std::chrono::steady_clock::now();
    launcher.LaunchProgram(TestProg() + " --sleep=3000 --exit=5", false, true, false, nullptr, 0, 0, error,
                           exitCode);
    auto elapsed = std::chrono::steady_clock::now() - begin;
    EXPECT_EQ(error, 0ul);
    EXPECT_EQ(exitCode, 0ul);
    EXPECT_LT(elapsed, std::chrono::milliseconds(2000));
    // It did start.
    for (int i = 0; i < 100 && log.Starts().empty(); ++i)
        Sleep(50);
    EXPECT_EQ(log.Starts().size(), 1u);
}

TEST(Launcher, ReportsWhyNothingRan)
{
    qvtest::TempDir dir;
    ASSERT_TRUE(qvtest::WriteFile(dir.File("text.exe"), "not a program\r\n"));
    struct Case {
        std::string commandLine;
        unsigned long error;
    };
    const Case cases[] = {
        {"", 87},
        {"   ", 2},
        {"\"\" --exit=3", 2},
        {dir.File("missing.exe") + " --exit=3", 2},
        {dir.File("text.exe"), 193},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("[" + c.commandLine + "]");
        Launcher launcher;
        unsigned long error = 99, exitCode = 99;
        launcher.LaunchProgram(c.commandLine, true, false, false, nullptr, 0, 0, error, exitCode);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(exitCode, 0ul);
    }
}

// Batch files run to their end through the interpreter, waited for or not, and give its result.
TEST(Launcher, RunsBatchFilesThroughTheCommandInterpreter)
{
    qvtest::TempDir dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File("Some Tools").c_str(), nullptr));
    struct Case {
        const char* name;
        bool quoted;
        bool wait;
    };
    const Case cases[] = {
        {"run.bat", false, true},
        {"RUN2.BAT", false, false},
        {"Some Tools\\Run3.Bat", false, true},
        {"Some Tools\\run4.bat", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string batch = dir.File(c.name);
        std::string record = batch + ".txt";
        ASSERT_TRUE(qvtest::WriteFile(batch, "@echo %1 %2> \"" + record + "\"\r\n@exit /b 7\r\n"));
        std::string line = (c.quoted ? "\"" + batch + "\"" : batch) + " one two";
        Launcher launcher;
        unsigned long error = 99, exitCode = 0;
        launcher.LaunchProgram(line, c.wait, false, false, nullptr, 0, 0, error, exitCode);
        EXPECT_EQ(error, 0ul);
        EXPECT_EQ(exitCode, 7ul);
        EXPECT_EQ(qvtest::ReadFile(record).value_or(""), "one two\r\n");
    }
}

// On the 9x family the interpreter is Command.com in the Windows directory, and the command line
// goes unquoted. A test program stands in for it and records how it was called.
TEST(Launcher, RunsBatchFilesThroughCommandComOn9x)
{
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    std::string commandCom = std::string(windows) + "\\Command.com";
    if (GetFileAttributesA(commandCom.c_str()) != INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << commandCom << " exists";
    ASSERT_TRUE(CopyFileA(TestProg().c_str(), commandCom.c_str(), TRUE));

    qvtest::TempDir dir;
    StartLog log;
    std::string line = dir.File("setup.bat") + " --exit=4";
    unsigned long exitCode = 0;
    {
        OSInfo::ScopedOverride win98(OSInfo::Win98);
        Launcher launcher;
        EXPECT_EQ(launcher.LaunchAndWait(line, false, exitCode), 0ul);
    }
    DeleteFileA(commandCom.c_str());
    EXPECT_EQ(exitCode, 4ul);
    std::vector<Start> starts = log.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, commandCom);
    EXPECT_NE(starts[0].commandLine.find(commandCom + " /C " + line), std::string::npos)
        << starts[0].commandLine;
}

TEST(Launcher, ChangesToTheProgramDirectoryAndBack)
{
    qvtest::TempDir elsewhere;
    InDirectory in(elsewhere.Path());
    for (bool change : {false, true}) {
        SCOPED_TRACE(change);
        StartLog log;
        Launcher launcher;
        unsigned long exitCode = 0;
        EXPECT_EQ(launcher.LaunchAndWait(TestProg(), false, exitCode, change), 0ul);
        std::vector<Start> starts = log.Starts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_TRUE(EqualNoCase(starts[0].directory, change ? qvtest::BinDir() : elsewhere.Path()))
            << starts[0].directory;
        EXPECT_EQ(CurrentDir(), elsewhere.Path());
    }
}

TEST(Launcher, LogsADirectoryItCannotEnterAndGoesOn)
{
    qvtest::TempDir dir;
    std::string missing = dir.File("gone");
    SetCurrentDirectoryA(missing.c_str());
    const unsigned long expected = GetLastError();
    std::string before = CurrentDir();

    enginetest::LogCapture log;
    Launcher launcher;
    unsigned long error = 0, exitCode = 0;
    launcher.LaunchProgram(missing + "\\prog.exe", true, false, true, nullptr, 0, 0, error, exitCode);
    EXPECT_EQ(log.Text(), "Launch:LaunchProgram: could not change dirs to " + missing + "\n\tError code " +
                              std::to_string(expected) + "\n");
    // The creation was tried anyway: a missing directory there is 3, not 2.
    EXPECT_EQ(error, 3ul);
    EXPECT_EQ(CurrentDir(), before);
}

// The idle hook runs after each full second the program is still running: at 1, 2 and 3 s of a
// 3.5 s run. A child starts within about 200 ms here, far from the half second that would add a
// fourth.
TEST(Launcher, PumpingWaitCallsTheIdleHookEverySecond)
{
    CountingLauncher launcher;
    unsigned long exitCode = 99;
    EXPECT_EQ(launcher.LaunchAndWait(TestProg() + " --sleep=3500", true, exitCode), 0ul);
    EXPECT_EQ(exitCode, 0ul);
    EXPECT_EQ(launcher.idles, 3);
}

constexpr UINT kCustomMessage = WM_APP + 7;
int g_custom = 0;
int g_paints = 0;

LRESULT CALLBACK CountingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCustomMessage) {
        ++g_custom;
        return 0;
    }
    if (message == WM_PAINT) {
        ++g_paints;
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(Launcher, PaintOnlyWaitDispatchesOnlyPaintMessages)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvLauncherTestWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "launcher test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    UpdateWindow(hwnd);

    for (bool paintOnly : {false, true}) {
        SCOPED_TRACE(paintOnly);
        g_custom = g_paints = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        ASSERT_TRUE(PostMessageA(hwnd, kCustomMessage, 0, 0));
        Launcher launcher;
        unsigned long exitCode = 0;
        EXPECT_EQ(launcher.LaunchAndWait(TestProg() + " --sleep=1500", true, exitCode, false, nullptr, 0, 0,
                                         paintOnly),
                  0ul);
        EXPECT_EQ(g_custom, paintOnly ? 0 : 1);
        EXPECT_GE(g_paints, 1);
        // Dropped, not left waiting.
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, hwnd, kCustomMessage, kCustomMessage, PM_REMOVE));
    }
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

// Unquoted, "...\Some Tools\prog.exe" runs "...\Some.exe" when that exists.
TEST(Launcher, RunsTheNamedProgramWhenItsPathHasBlanks)
{
    qvtest::TempDir dir;
    std::string tools = dir.File("Some Tools");
    std::string prog = tools + "\\prog.exe";
    ASSERT_TRUE(CreateDirectoryA(tools.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(TestProg().c_str(), prog.c_str(), TRUE));
    ASSERT_TRUE(CopyFileA(TestProg().c_str(), dir.File("Some.exe").c_str(), TRUE));

    for (const std::string& line :
         {prog + " --exit=5  x", "\"" + prog + "\" --exit=5  x", "  " + prog + " --exit=5  x"}) {
        SCOPED_TRACE(line);
        StartLog log;
        Launcher launcher;
        unsigned long exitCode = 0;
        EXPECT_EQ(launcher.LaunchAndWait(line, false, exitCode, true), 0ul);
        EXPECT_EQ(exitCode, 5ul);
        std::vector<Start> starts = log.Starts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_TRUE(EqualNoCase(starts[0].program, prog)) << starts[0].program;
        EXPECT_EQ(starts[0].commandLine, "\"" + prog + "\" --exit=5  x");
        EXPECT_TRUE(EqualNoCase(starts[0].directory, tools)) << starts[0].directory;
    }
}

// Bare names are searched for and ".exe" is the default extension, also for a full path.
TEST(Launcher, FindsProgramsAsThePlatformDoes)
{
    std::string noExtension = TestProg().substr(0, TestProg().size() - 4);
    for (const std::string& line : {std::string("cmd.exe /c exit 4"), std::string("cmd /c exit 4"),
                                    std::string("\"cmd.exe\" /c exit 4"), noExtension + " --exit=4"}) {
        SCOPED_TRACE(line);
        Launcher launcher;
        unsigned long exitCode = 0;
        EXPECT_EQ(launcher.LaunchAndWait(line, false, exitCode), 0ul);
        EXPECT_EQ(exitCode, 4ul);
    }
}

TEST(Launcher, AsksForTheShowMode)
{
    struct Case {
        int showMode;
        int shown;
    };
    const Case cases[] = {
        {0, SW_SHOWNA}, {SW_SHOWNORMAL, SW_SHOWNORMAL}, {SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.showMode);
        StartLog log;
        Launcher launcher;
        unsigned long exitCode = 0;
        EXPECT_EQ(launcher.LaunchAndWait(TestProg(), false, exitCode, false, nullptr, c.showMode), 0ul);
        std::vector<Start> starts = log.Starts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].show, c.shown);
    }
}

}  // namespace
