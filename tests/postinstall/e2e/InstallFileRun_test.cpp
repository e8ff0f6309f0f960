// The install-file command and the uninstall-log hand-off in a real run of the utility: files
// copied, skipped, expanded and replaced while in use by another process, and what the log
// library stand-in beside the utility receives at the uninstaller command.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const kSwitchKey = "SOFTWARE\\Qelbrin";

// The lines a handler wrote between its Processing line and its Finished line.
std::vector<std::string> HandlerLines(const std::vector<std::string>& log, const std::string& keyword)
{
    auto begin = std::find(log.begin(), log.end(), "GenericInfo::Process: Processing " + keyword);
    if (begin == log.end())
        return {"(no Processing line for " + keyword + ")"};
    auto end = std::find_if(begin, log.end(), [](const std::string& line) {
        return line.rfind("GenericInfo::Process: Finished.", 0) == 0;
    });
    return std::vector<std::string>(begin + 1, end);
}

std::vector<std::string> FailedLine(const std::string& keyword, const std::string& line)
{
    return {"GenericInfo::ReadINF: Error parsing command:", "\t\tSection: Drv_Install",
            "\t\tCommand Name: " + keyword, "\t\tCommand: " + line};
}

// The platform's list of moves at restart holds a deletion of the path.
bool DeletionPending(const std::string& path)
{
    const qvtest::PendingMove deletion{path, "", false};
    for (const qvtest::PendingMove& move : qvtest::PendingMoves())
        if (move == deletion)
            return true;
    return false;
}

class InstallFileRun : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        ASSERT_TRUE(qvtest::AddTestPrinter(kPrinter, kDriver, "LPT1:"));
    }

    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        log_ = dir_.File("pi.log");
        record_ = dir_.File("qellog.txt");
        ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", log_));
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelUpdateAllPrinters");
        qvtest::DeleteHklmValue(kSwitchKey, "Running");
        qvtest::ClearPendingMoves();
        SetEnvironmentVariableA("QELLOG_RECORD", record_.c_str());
        for (const char* sub : {"src", "out"})
            ASSERT_TRUE(CreateDirectoryA(dir_.File(sub).c_str(), nullptr));
    }

    void TearDown() override
    {
        SetEnvironmentVariableA("QELLOG_RECORD", nullptr);
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug");
        qvtest::ClearPendingMoves();
    }

    int Run(const std::string& script)
    {
        const std::string path = dir_.File("setup.inf");
        if (!qvtest::WriteFile(path, script))
            return -1;
        return qvtest::RunProcess("\"" + qvtest::BinDir() + "\\QVTDX5PI.EXE\" -i \"" + path + "\" -n \"" + kPrinter +
                                  "\"");
    }

    // The script of one driver; the lines go into its install section.
    std::string Script(const std::string& install, const std::string& sections) const
    {
        return "[Manufacturer]\n"
               "\"Qelbrin\"=QelbrinModels\n"
               "[QelbrinModels]\n"
               "\"" + std::string(kDriver) + "\"=Drv_Install, QVTDX5DA.DLL\n"
               "[Drv_Install]\n" + install +
               "[Strings]\n"
               "dir=" + dir_.Path() + "\n"
               "qual=Office Suite\n" + sections;
    }

    void Put(const std::string& name, const std::string& bytes, int day)
    {
        ASSERT_TRUE(qvtest::WriteFile(dir_.File(name), bytes));
        ASSERT_TRUE(qvtest::SetWriteDay(dir_.File(name), day));
    }
    std::string Read(const std::string& name) const { return qvtest::ReadFile(dir_.File(name)).value_or("(none)"); }
    std::vector<std::string> Log() const { return qvtest::Lines(qvtest::ReadFile(log_).value_or("")); }
    std::vector<std::string> Calls() const { return qvtest::Lines(qvtest::ReadFile(record_).value_or("")); }

    static constexpr const char* kDriver = "Qelbrin E2E Files PCL";
    static constexpr const char* kPrinter = "Qelbrin E2E Files";

    qvtest::TempDir dir_;
    std::string log_;
    std::string record_;
};

TEST_F(InstallFileRun, InstallsRecordsAndHandsTheRecordToTheLogLibrary)
{
    Put("src\\new.txt", "new file", 20);
    Put("src\\kept.txt", "older source", 1);
    Put("out\\kept.txt", "newer file in place", 9);
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath("sample.tx_").c_str(), dir_.File("src\\sample.tx_").c_str(), FALSE));
    Put("src\\busy.dll", "new busy", 20);
    Put("out\\busy.dll", "old busy", 1);
    Put("src\\locked.dll", "new locked", 20);
    Put("out\\locked.dll", "old locked", 1);
    Put("src\\plain.txt", "plain", 20);

    const std::string locked = "locked,3,%dir%\\out\\locked.dll,%dir%\\src\\locked.dll,%dir%\\tmp\\locked.old,1,1";
    const std::string files = "[Files]\n"
                              "new,3,%dir%\\out\\new.txt,%dir%\\src\\new.txt,%dir%\\tmp\\new.old,1,1\n"
                              "not newer,3,%dir%\\out\\kept.txt,%dir%\\src\\kept.txt,%dir%\\tmp\\kept.old,1,2\n"
                              "compressed,3,%dir%\\out\\sample.txt,%dir%\\src\\sample.tx_,%dir%\\tmp\\sample.old,0,1\n"
                              "in use,3,%dir%\\out\\busy.dll,%dir%\\src\\busy.dll,%dir%\\tmp\\busy.old,1,1\n" +
                              locked + "\n" +
                              "unlogged,3,%dir%\\out\\plain.txt,%dir%\\src\\plain.txt,%dir%\\tmp\\plain.old\n";
    const std::string uninstall = "u,3,unst.zip,%qual%";
    // busy.dll is in use as a running program's file is (it can be renamed, not written);
    // locked.dll is held without any sharing.
    qvtest::HeldFile busy(dir_.File("out\\busy.dll"), FILE_SHARE_READ | FILE_SHARE_DELETE);
    qvtest::HeldFile held(dir_.File("out\\locked.dll"), 0);
    ASSERT_TRUE(busy.IsOpen());
    ASSERT_TRUE(held.IsOpen());

    ASSERT_EQ(0, Run(Script("QV_DRV_NETSUPPORT=2\nQelInstallFile=Files\nQelUninstall=Uninstall\n",
                            files + "[Uninstall]\n" + uninstall + "\n")));
    busy.Close();
    held.Close();

    const std::string out = dir_.File("out\\");
    const std::string driverComponent = std::string("Driver ") + kDriver;
    std::vector<std::string> expectedLines = {
        "InstFileInfo::HandleCommand: wrote file " + out + "new.txt log section Uninstaller",
        "InstFileInfo::HandleCommand: wrote file " + out + "kept.txt log section " + driverComponent,
        "InstFileInfo::HandleCommand: wrote file " + out + "sample.txt log section Uninstaller",
        "Attempting to move " + dir_.File("tmp\\busy.old") + " to NULL on reboot.",
        "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; MoveFileEx call.",
        "InstFileInfo::HandleCommand: wrote file " + out + "busy.dll log section Uninstaller",
        "InstFileInfo::HandleCommand: could not move " + out + "locked.dll to " + dir_.File("tmp\\locked.old") +
            " (Error code: 32)",
    };
    for (const std::string& line : FailedLine("QelInstallFile", locked))
        expectedLines.push_back(line);
    const std::vector<std::string> log = Log();
    EXPECT_THAT(HandlerLines(log, "QelInstallFile"), ElementsAreArray(expectedLines));

    // No package here: the uninstaller cannot be unpacked, but the log still goes to the library.
    const std::string temp = qvtest::TempFolder();
    EXPECT_THAT(HandlerLines(log, "QelUninstall"),
                ElementsAre("ZipListContents: could not open zip file unst.zip",
                            "UninstallerInfo::HandleCommand: could not extract unst.zip to " + std::string(temp) +
                                "unst.zip_Extracted",
                            "OstrafelEngine::flushLogOps: logging operations..."));

    // The installed files in recording order, then the driver; nothing for the file not installed,
    // and a driver component without the qualifier.
    EXPECT_THAT(Calls(), ElementsAre("AddAnyItem\tUninstaller\t" + out + "new.txt\t1\tOffice Suite",
                                     "AddAnyItem\t" + driverComponent + "\t" + out + "kept.txt\t1\t",
                                     "AddAnyItem\tUninstaller\t" + out + "sample.txt\t1\tOffice Suite",
                                     "AddAnyItem\tUninstaller\t" + out + "busy.dll\t1\tOffice Suite",
                                     std::string("AddDriverNameEx\t") + kDriver + "\tOffice Suite\t2"));

    EXPECT_EQ("new file", Read("out\\new.txt"));
    EXPECT_FALSE(qvtest::IsThere(dir_.File("src\\new.txt")));
    // Not newer: left alone, and the source still goes.
    EXPECT_EQ("newer file in place", Read("out\\kept.txt"));
    EXPECT_FALSE(qvtest::IsThere(dir_.File("src\\kept.txt")));
    EXPECT_EQ(qvtest::ReadFile(qvtest::FixturePath("sample.txt")).value_or("?"), Read("out\\sample.txt"));
    EXPECT_TRUE(qvtest::IsThere(dir_.File("src\\sample.tx_")));
    EXPECT_EQ("new busy", Read("out\\busy.dll"));
    EXPECT_EQ("old busy", Read("tmp\\busy.old"));
    EXPECT_TRUE(DeletionPending(dir_.File("tmp\\busy.old")));
    // Not installed: the old file stays, nothing is made beside it, and the source is kept.
    EXPECT_EQ("old locked", Read("out\\locked.dll"));
    EXPECT_FALSE(qvtest::IsThere(dir_.File("out\\locked.tx_")));
    EXPECT_FALSE(qvtest::IsThere(dir_.File("out\\locked.dl_")));
    EXPECT_EQ("new locked", Read("src\\locked.dll"));
    EXPECT_EQ("plain", Read("out\\plain.txt"));
}

TEST_F(InstallFileRun, ARunThatRecordedNothingLoadsNoLogLibrary)
{
    Put("src\\plain.txt", "plain", 20);
    ASSERT_EQ(0, Run(Script("QelInstallFile=Files\nQelUninstall=Uninstall\n",
                            "[Files]\nunlogged,3,%dir%\\out\\plain.txt,%dir%\\src\\plain.txt,%dir%\\plain.old\n"
                            "[Uninstall]\nu,3,unst.zip,%qual%\n")));
    EXPECT_EQ("plain", Read("out\\plain.txt"));
    EXPECT_FALSE(qvtest::IsThere(record_));
    EXPECT_THAT(HandlerLines(Log(), "QelUninstall"),
                testing::Contains("OstrafelEngine::flushLogOps: logging operations..."));
}

}  // namespace
