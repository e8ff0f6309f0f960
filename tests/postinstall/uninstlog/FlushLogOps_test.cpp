#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CallRecord.h"
#include "FileFixtures.h"

#include <windows.h>

#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "engine/OstrafelEngine.h"
#include "uninstlog/LogLibrary.h"

namespace {

using enginetest::LogCapture;
using enginetest::TempDir;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TestEngine : public OstrafelEngine {
public:
    void SetDriverName(const CStdStr& name) { driverName_ = name; }
};

// Makes the utility believe it runs from the given path while alive.
class ScopedModulePath {
public:
    explicit ScopedModulePath(const std::string& path) : previous_(uninstlog::ModulePathFn)
    {
        path_ = path;
        uninstlog::ModulePathFn = [] { return CStdStr(path_); };
    }
    ~ScopedModulePath() { uninstlog::ModulePathFn = previous_; }

private:
    static inline std::string path_;
    uninstlog::ModulePathHook previous_;
};

const char* const kFirstLine = "OstrafelEngine::flushLogOps: logging operations...\n";

class FlushLogOpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.path().empty());
        engine_.SetDriverName("Office Laser");
    }

    TempDir dir_;
    LogCapture log_;
    TestEngine engine_;
    qvtest::CallRecord recording_{"QELLOG_RECORD", dir_.File("calls.txt")};
};

TEST_F(FlushLogOpsTest, HandsOverEveryItemInOrderThenTheDriverFromBesideTheUtility)
{
    // The test program's own directory has no log library: it can only come from beside the
    // utility's path.
    ScopedModulePath utility(qvtest::BinDir() + "\\QVTDX5PI.EXE");
    engine_.AddLogOp(LogOp::File, "C:\\Windows\\System32\\qvtdx5ui.dll", "Uninstaller", true);
    engine_.AddLogOp(LogOp::Registry, "HKLM, \"SOFTWARE\\Qelbrin\", Running", "Uninstaller", true);
    engine_.AddLogOp(LogOp::File, "C:\\Windows\\System32\\qvtdx5dd.dll", "Driver Office Laser", false);

    engine_.FlushLogOps("Office");

    // A driver component goes without the qualifier.
    EXPECT_THAT(recording_.Calls(),
                ElementsAre("AddAnyItem\tUninstaller\tC:\\Windows\\System32\\qvtdx5ui.dll\t1\tOffice",
                            "AddAnyItem\tUninstaller\tHKLM, \"SOFTWARE\\Qelbrin\", Running\t3\tOffice",
                            "AddAnyItem\tDriver Office Laser\tC:\\Windows\\System32\\qvtdx5dd.dll\t1\t",
                            "AddDriverNameEx\tOffice Laser\tOffice\t0"));
    EXPECT_EQ(kFirstLine, log_.Text());
    EXPECT_EQ(nullptr, GetModuleHandleA("QELLOG.DLL"));
    EXPECT_EQ(3u, engine_.LogOps().size());
}

TEST_F(FlushLogOpsTest, AnEmptyQueueLoadsNothing)
{
    ScopedModulePath utility(qvtest::BinDir() + "\\QVTDX5PI.EXE");
    engine_.FlushLogOps("Office");
    EXPECT_FALSE(recording_.Exists());
    EXPECT_EQ(kFirstLine, log_.Text());
}

TEST_F(FlushLogOpsTest, AMissingLibraryOrItemEntryIsLoggedAndAMissingDriverEntryIsNot)
{
    TempDir withoutLibrary;
    TempDir withoutEntries;
    // A library of that name that exports nothing.
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath("ver_none.dll").c_str(), withoutEntries.File("QELLOG.DLL").c_str(), FALSE));
    struct Case {
        std::string directory;
        std::string line;
    };
    const Case cases[] = {
        {withoutLibrary.path(), "OstrafelEngine::FlushLogOps: Could not load QelLog, error code 126\n"},
        {withoutEntries.path(), "OstrafelEngine::FlushLogOps: could not get address of AddAnyItem\n"},
    };
    engine_.AddLogOp(LogOp::File, "C:\\x.dll", "Uninstaller", true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LogCapture log;
        ScopedModulePath utility(c.directory + "\\QVTDX5PI.EXE");
        engine_.FlushLogOps("Office");
        EXPECT_EQ(kFirstLine + c.line, log.Text());
    }
    EXPECT_FALSE(recording_.Exists());
}

TEST(SiblingPath, CutsAfterTheLastSeparatorAndFallsBackToTheBareNameBeyond260)
{
    const std::string name = "QELLOG.DLL";
    // A directory that, with the separator and the name, makes exactly 260 characters.
    const std::string longest = "C:\\" + std::string(260 - 3 - 1 - name.size(), 'd');
    struct Case {
        std::string module;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Qelbrin\\QVTDX5PI.EXE", "C:\\Program Files\\Qelbrin\\QELLOG.DLL"},
        {"C:QVTDX5PI.EXE", "C:QELLOG.DLL"},
        {"C:\\dir:stream\\x:QVTDX5PI.EXE", "C:\\dir:stream\\x:QELLOG.DLL"},
        {"QVTDX5PI.EXE", name},
        {"", name},
        {longest + "\\QVTDX5PI.EXE", longest + "\\" + name},
        {longest + "d\\QVTDX5PI.EXE", name},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, uninstlog::SiblingPath(c.module, name)) << c.module;
    ASSERT_EQ(260u, (longest + "\\" + name).size());
}

}  // namespace
