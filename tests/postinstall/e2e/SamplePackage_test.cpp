// The sample driver package installed as the driver starts the utility: unattended, from the
// package folder, with the language set to German. Every file, program, INI, shortcut and
// uninstaller command of the sample script shows its effect on the machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CallRecord.h"
#include "FileFixtures.h"
#include "LinkFixtures.h"
#include "ProgramStarts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const char kSwitchKey[] = "SOFTWARE\\Qelbrin";
const char kDriver[] = "Qelbrin QV-5 PCL";

std::string ShellFolder(int id)
{
    char path[MAX_PATH] = "";
    return SHGetSpecialFolderPathA(nullptr, path, id, FALSE) ? path : "";
}

using qvtest::Lines;

bool CopyFolder(const std::string& from, const std::string& to)
{
    if (!CreateDirectoryA(to.c_str(), nullptr))
        return false;
    for (const std::string& name : qvtest::NamesIn(from))
        if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            return false;
    return true;
}

// The local write time of a file, as the archive that carried it states it.
SYSTEMTIME LocalWriteTime(const std::string& path)
{
    SYSTEMTIME time{};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return time;
    FILETIME written{}, local{};
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToSystemTime(&local, &time);
    return time;
}

class SamplePackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        printer_ = "Qelbrin QV-5 Sample " + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        ASSERT_TRUE(qvtest::AddTestPrinter(printer_, kDriver, "LPT1:"));
        package_ = dir_.Path() + "\\QV5PKG";
        ASSERT_TRUE(CopyFolder(qvtest::BinDir() + "\\..\\package", package_));
        log_ = dir_.Path() + "\\pi.log";
        ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", log_));
        ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "InstallLanguageISO", "de_DE"));
        qvtest::DeleteHklmValue(kSwitchKey, "Running");
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelUpdateAllPrinters");
        qvtest::ClearPendingMoves();
        installDir_ = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Qelbrin\\QV5";
        group_ = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Qelbrin QV-5 Drucker";
    }
    void TearDown() override
    {
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug");
        qvtest::DeleteHklmValue(kSwitchKey, "InstallLanguageISO");
        qvtest::ClearPendingMoves();
        qvtest::RemoveTree(group_);
        qvtest::RemoveTree(installDir_);
        qvtest::DeleteTestPrinter(printer_);
        CoUninitialize();
    }
    int Run()
    {
        return qvtest::RunProcess("\"" + qvtest::BinDir() + "\\QVTDX5PI.EXE\" -s -i qv5setup.inf -d QVTDX5DA.DLL "
                                  "-p LPT1: -n \"" + printer_ + "\"",
                                  package_);
    }

    qvtest::TempDir dir_;
    std::string printer_, package_, log_, installDir_, group_;
};

TEST_F(SamplePackage, EveryCommandLeavesItsMark)
{
    qvtest::StartLog programs;
    qvtest::CallRecord engine("QVENGINE_RECORD", dir_.Path() + "\\engine.txt");
    qvtest::CallRecord logLibrary("QELLOG_RECORD", dir_.Path() + "\\qellog.txt");
    ASSERT_EQ(0, Run());
    const std::vector<std::string> log = Lines(qvtest::ReadFile(log_).value_or(""));

    // Archives: unpacked with their entry times; the hostile entry refused, its neighbour kept.
    const SYSTEMTIME font = LocalWriteTime(installDir_ + "\\fonts\\QVSANS.FNT");
    EXPECT_EQ(2021, font.wYear);
    EXPECT_EQ(6, font.wMonth);
    EXPECT_EQ(15, font.wDay);
    EXPECT_EQ(10, font.wHour);
    EXPECT_EQ(20, font.wMinute);
    EXPECT_EQ(30, font.wSecond);
    EXPECT_TRUE(qvtest::IsThere(installDir_ + "\\fonts\\readme.txt"));
    const std::string temp = qvtest::TempFolder();
    EXPECT_THAT(log, Contains("ZipListContents: refusing entry outside the target: ..\\QVEVIL.TXT"));
    EXPECT_FALSE(qvtest::IsThere(std::string(temp) + "QVEVIL.TXT"));
    EXPECT_TRUE(qvtest::IsThere(std::string(temp) + "QVBAD\\GOOD.TXT"));
    qvtest::RemoveTree(std::string(temp) + "QVBAD");

    // Programs: the preparation line meant for interactive runs is skipped; exit codes logged.
    const auto starts = programs.Starts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ("\"" + package_ + "\\QVPREP.EXE\" --exit=3", starts[0].commandLine);
    EXPECT_EQ("\"" + installDir_ + "\\QVSTAT.EXE\" /install", starts[1].commandLine);
    EXPECT_THAT(log, Contains("RunProgramInfo: " + package_ + "\\QVPREP.EXE --exit=3 returned 3 (error code 0)"));
    EXPECT_THAT(log,
                Contains("RunProgramInfo: " + installDir_ + "\\QVSTAT.EXE /install returned 0 (error code 0)"));

    // Deletions: now, and at the next restart.
    EXPECT_FALSE(qvtest::IsThere(package_ + "\\QVTDX5.HL_"));
    EXPECT_TRUE(qvtest::IsThere(package_ + "\\QVPREP.EXE"));
    EXPECT_THAT(qvtest::PendingMoves(), Contains(qvtest::PendingMove{package_ + "\\QVPREP.EXE", "", false}));

    // INI files.
    char value[64] = "";
    GetProfileStringA("Qelbrin", "Version", "", value, sizeof value);
    EXPECT_STREQ("5.0", value);
    GetPrivateProfileStringA("Status", "Command", "", value, sizeof value, (installDir_ + "\\qv5.ini").c_str());
    EXPECT_STREQ("QVSTAT.EXE /tray=on", value);

    // Shortcuts in the all-users programs menu, named in the script's German strings.
    qvtest::LinkContents status, notes;
    ASSERT_TRUE(qvtest::ReadLink(group_ + "\\QV-5 Statusmonitor.LNK", status));
    EXPECT_EQ(0, _stricmp((installDir_ + "\\QVSTAT.EXE").c_str(), status.path.c_str())) << status.path;
    ASSERT_TRUE(qvtest::ReadLink(group_ + "\\QV-5 Schrifthinweise.LNK", notes));
    EXPECT_EQ(installDir_ + "\\fonts\\readme.txt", notes.arguments);

    // The uninstaller: its engine ran in the unpacked package, in German, and the folder is gone.
    const std::string extracted = std::string(temp) + "QVUNINST.ZIP_Extracted";
    EXPECT_THAT(engine.Calls(),
                ElementsAre("SetWorkingDirA\t" + extracted + "\\Install\\x86", "SetLanguageA\tde_DE",
                            "DoInstallA\t" + extracted + "\\Temp.isf\t\t\t[Install]\\r\\nUninstaller=1\\r\\n\\r\\n",
                            "GetErrorCode"));
    EXPECT_FALSE(qvtest::IsThere(extracted));
    const auto handedOver = logLibrary.Calls();
    ASSERT_FALSE(handedOver.empty());
    EXPECT_EQ(std::string("AddDriverNameEx\t") + kDriver + "\tQV5\t2", handedOver.back());
    EXPECT_THAT(handedOver, Contains(HasSubstr("QVSTAT.EXE")));
}

TEST_F(SamplePackage, ACustomInstallerSkipsTheUninstallerButStillHandsOverTheLog)
{
    ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "Running", "1"));
    qvtest::CallRecord engine("QVENGINE_RECORD", dir_.Path() + "\\engine.txt");
    qvtest::CallRecord logLibrary("QELLOG_RECORD", dir_.Path() + "\\qellog.txt");
    const int status = Run();
    qvtest::DeleteHklmValue(kSwitchKey, "Running");
    ASSERT_EQ(0, status);
    const std::vector<std::string> log = Lines(qvtest::ReadFile(log_).value_or(""));
    EXPECT_THAT(log, Contains("UninstallInfo::HandleCommand: Skipping - custom installer is running."));
    EXPECT_FALSE(engine.Exists());
    EXPECT_FALSE(logLibrary.Calls().empty());
}

}  // namespace
