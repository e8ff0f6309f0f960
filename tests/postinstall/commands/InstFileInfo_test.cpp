#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "commands/InstFileInfo.h"
#include "engine/OstrafelEngine.h"
#include "services/FileOp.h"
#include "services/OSInfo.h"

namespace {

using enginetest::LogCapture;
using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

class TestEngine : public OstrafelEngine {
public:
    void SetDriverName(const CStdStr& name) { driverName_ = name; }
};

using qvtest::Lines;

// Noon of the day: the times of these tests.
bool SetWriteTime(const std::string& path, int day)
{
    return qvtest::SetWriteDay(path, day, 12);
}

constexpr DWORD kRunningProgram = FILE_SHARE_READ | FILE_SHARE_DELETE;

// The platform's list of moves at restart, as "from -> to" texts ("to" empty for a deletion).
std::vector<std::string> PendingMoves()
{
    std::vector<std::string> texts;
    for (const qvtest::PendingMove& move : qvtest::PendingMoves())
        texts.push_back(move.Text());
    return texts;
}

using qvtest::ClearPendingMoves;

using enginetest::SavedFile;

class InstFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.path().empty());
        ClearPendingMoves();
        auto inf = std::make_unique<InfFile>();
        inf->LoadFromText("[Install]\n[Strings]\ndir=" + dir_.path() + "\none=1\n");
        engine_.SetScript(std::move(inf), "Install", false);
        engine_.SetDriverName("Office Laser");
        {
            LogCapture quiet;
            engine_.getStrings();
        }
        RestartLog();
        ASSERT_TRUE(WriteBytes(source_, "NEW"));
        ASSERT_TRUE(SetWriteTime(source_, 5));
    }
    void TearDown() override { ClearPendingMoves(); }

    // An older file already in place.
    void PlaceOldDestination()
    {
        ASSERT_TRUE(WriteBytes(destination_, "OLD"));
        ASSERT_TRUE(SetWriteTime(destination_, 1));
    }

    // A capture restores the log file it found, so the old one goes before the new one starts.
    void RestartLog()
    {
        log_.reset();
        log_ = std::make_unique<LogCapture>();
    }

    bool Run(const CStdStringList& arguments) { return handler_.HandleCommand(arguments); }

    // What the run queued for the uninstall log from the given position on, one text per operation.
    std::vector<std::string> Recorded(size_t from = 0) const
    {
        std::vector<std::string> ops;
        const std::vector<LogOp>& all = engine_.LogOps();
        for (size_t i = from; i < all.size(); ++i) {
            const LogOp& op = all[i];
            ops.push_back(std::to_string(op.type) + " " + op.item + " | " + op.component + " | " +
                          (op.useQualifier ? "qualifier" : "no qualifier"));
        }
        return ops;
    }

    std::vector<std::string> LogLines() const { return Lines(log_->Text()); }

    TempDir dir_;
    TestEngine engine_;
    InstFileInfo handler_{&engine_};
    std::unique_ptr<LogCapture> log_;
    const std::string source_ = dir_.File("src.txt");
    const std::string destination_ = dir_.File("dest.txt");
    const std::string temp_ = dir_.File("dest.old");
    // The same three as the script writes them.
    const CStdStringList args_ = {"%dir%\\dest.txt", "%dir%\\src.txt", "%dir%\\dest.old", "%one%", "1"};
};

TEST_F(InstFileInfoTest, LinesItCannotCarryOutAreReportedAndChangeNothing)
{
    ASSERT_TRUE(WriteBytes(dir_.File("blocker"), "a file where a directory should be"));
    struct Case {
        CStdStringList arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"%dir%\\dest.txt", "%dir%\\src.txt"}, "InstFileInfo::HandleCommand: not enough arguments!"},
        {{"%dir%\\dest.txt", "%dir%\\missing.txt", "%dir%\\dest.old", "1", "1"},
         "InstFileInfo::HandleCommand: file " + dir_.File("missing.txt") + " does not exist!"},
        {{"%dir%\\blocker\\sub\\dest.txt", "%dir%\\src.txt", "%dir%\\dest.old", "1", "1"},
         "InstFileInfo::HandleCommand: dest dir " + dir_.File("blocker\\sub") +
             " does not exist and cannot be created"},
        {{"%dir%\\dest.txt", "%dir%\\src.txt", "%dir%\\blocker\\sub\\dest.old", "1", "1"},
         "InstFileInfo::HandleCommand: temp dir " + dir_.File("blocker\\sub") +
             " does not exist and cannot be created"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        RestartLog();
        EXPECT_FALSE(Run(c.arguments));
        std::vector<std::string> lines = LogLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(c.message, lines.back());
    }
    EXPECT_THAT(Recorded(), IsEmpty());
    EXPECT_FALSE(qvtest::IsThere(destination_));
    EXPECT_TRUE(qvtest::IsThere(source_));
}

TEST_F(InstFileInfoTest, InstallsIntoNewDirectoriesDeletesTheSourceAndRecordsTheFile)
{
    const std::string destination = dir_.File("out\\sub\\dest.txt");
    EXPECT_TRUE(Run({"%dir%\\out\\sub\\dest.txt", "%dir%\\src.txt", "%dir%\\tmp\\dest.old", "%one%", "%one%"}));

    EXPECT_EQ("NEW", ReadBytes(destination));
    EXPECT_FALSE(qvtest::IsThere(source_));
    EXPECT_TRUE(qvtest::IsThere(dir_.File("tmp")));
    EXPECT_THAT(qvtest::NamesIn(dir_.File("tmp")), IsEmpty());
    // Nothing of the copy is left beside the file.
    EXPECT_THAT(qvtest::NamesIn(dir_.File("out\\sub")), ElementsAre("dest.txt"));
    EXPECT_THAT(Recorded(), ElementsAre("1 " + destination + " | Uninstaller | qualifier"));
    EXPECT_EQ("InstFileInfo::HandleCommand: wrote file " + destination + " log section Uninstaller\n", log_->Text());
}

TEST_F(InstFileInfoTest, ExpandsACompressedSourceAlsoFromAPathLongerThanOldStyleFileNames)
{
    const std::string expected = ReadBytes(qvtest::FixturePath("sample.txt"));
    ASSERT_FALSE(expected.empty());
    ASSERT_NE(expected, ReadBytes(qvtest::FixturePath("sample.tx_")));
    // The old-style open of a file takes paths of up to 128 characters.
    const std::string longDir(130, 'd');
    ASSERT_TRUE(CreateDirectoryA(dir_.File(longDir).c_str(), nullptr));
    for (const std::string& sub : {std::string("short"), longDir}) {
        SCOPED_TRACE(sub);
        CreateDirectoryA(dir_.File(sub).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(qvtest::FixturePath("sample.tx_").c_str(), dir_.File(sub + "\\sample.tx_").c_str(), FALSE));
        DeleteFileA(dir_.File("sample.txt").c_str());
        EXPECT_TRUE(Run({"%dir%\\sample.txt", "%dir%\\" + sub + "\\sample.tx_", "%dir%\\sample.old"}));
        EXPECT_EQ(expected, ReadBytes(dir_.File("sample.txt")));
    }
    EXPECT_EQ("", log_->Text());
}

TEST_F(InstFileInfoTest, ReplacesOnlyByNewerVersionThenNewerTime)
{
    struct Case {
        const char* source;
        const char* destination;
        int sourceDay;
        int destinationDay;
        bool replaced;
    };
    const Case cases[] = {
        {"ver_1_2_0_0.dll", "ver_1_2_0_0.dll", 1, 5, false},  // same version, older
        {"ver_1_2_0_0.dll", "ver_1_2_0_0.dll", 3, 3, false},  // same version, same time
        {"ver_1_2_0_0.dll", "ver_1_2_0_0.dll", 5, 1, true},   // same version, newer
        {"ver_2_0_0_0.dll", "ver_1_2_0_0.dll", 1, 5, true},   // a newer version wins over time
        {"ver_1_0_0_1.dll", "ver_1_2_0_0.dll", 5, 1, false},  // an older version loses over time
        {"ver_none.dll", "ver_none.dll", 5, 1, true},         // no versions: time decides
        {"ver_none.dll", "ver_none.dll", 1, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " of day " + std::to_string(c.sourceDay) + " over " + c.destination +
                     " of day " + std::to_string(c.destinationDay));
        // Bytes after the image keep its version readable and tell the old file from the new.
        const std::string sourceBytes = ReadBytes(qvtest::FixturePath(c.source));
        const std::string oldBytes = ReadBytes(qvtest::FixturePath(c.destination)) + "OLD";
        ASSERT_TRUE(WriteBytes(source_, sourceBytes));
        ASSERT_TRUE(WriteBytes(destination_, oldBytes));
        ASSERT_TRUE(SetWriteTime(source_, c.sourceDay));
        ASSERT_TRUE(SetWriteTime(destination_, c.destinationDay));
        const size_t before = engine_.LogOps().size();

        // Either way the package's file is in place: the source goes and the file is recorded.
        EXPECT_TRUE(Run({destination_, source_, temp_, "1", "1"}));
        EXPECT_EQ(c.replaced ? sourceBytes : oldBytes, ReadBytes(destination_));
        EXPECT_FALSE(qvtest::IsThere(source_));
        EXPECT_THAT(Recorded(before), ElementsAre("1 " + destination_ + " | Uninstaller | qualifier"));
    }
}

TEST_F(InstFileInfoTest, AFailedCopyKeepsTheOldFileAndTheSourceAndRecordsNothing)
{
    const std::string failed = "InstFileInfo::ourLZCopy: LZCopy failed:  unknown code 0";
    for (bool oldInPlace : {false, true}) {
        SCOPED_TRACE(oldInPlace ? "over an older file" : "no file in place");
        RestartLog();
        DeleteFileA(destination_.c_str());
        if (oldInPlace)
            PlaceOldDestination();
        // An empty source copies nothing.
        ASSERT_TRUE(WriteBytes(source_, ""));
        ASSERT_TRUE(SetWriteTime(source_, 5));

        EXPECT_FALSE(Run(args_));
        std::vector<std::string> lines = LogLines();
        // Over a file in place the in-use path tries again after moving it aside, then puts it back.
        EXPECT_EQ(oldInPlace ? 2 : 1, std::count(lines.begin(), lines.end(), failed)) << log_->Text();
        EXPECT_EQ(lines.size(), size_t(std::count(lines.begin(), lines.end(), failed))) << log_->Text();
        if (oldInPlace)
            EXPECT_EQ("OLD", ReadBytes(destination_));
        else
            EXPECT_FALSE(qvtest::IsThere(destination_));
        EXPECT_TRUE(qvtest::IsThere(source_));
        std::vector<std::string> expectedNames = {"src.txt"};
        if (oldInPlace)
            expectedNames.push_back("dest.txt");
        EXPECT_THAT(dir_.Names(), UnorderedElementsAreArray(expectedNames));
        EXPECT_THAT(Recorded(), IsEmpty());
        EXPECT_THAT(PendingMoves(), IsEmpty());
    }
}

TEST_F(InstFileInfoTest, OnNTAFileInUseIsMovedAsideAndDeletedAtRestart)
{
    PlaceOldDestination();
    qvtest::HeldFile held(destination_, kRunningProgram);
    ASSERT_TRUE(held.IsOpen());

    EXPECT_TRUE(Run(args_));
    held.Close();
    EXPECT_EQ("NEW", ReadBytes(destination_));
    EXPECT_EQ("OLD", ReadBytes(temp_));
    EXPECT_FALSE(qvtest::IsThere(source_));
    EXPECT_THAT(PendingMoves(), ElementsAre(temp_ + " -> "));
    EXPECT_THAT(Recorded(), ElementsAre("1 " + destination_ + " | Uninstaller | qualifier"));
    EXPECT_THAT(LogLines(), ElementsAre("Attempting to move " + temp_ + " to NULL on reboot.",
                                        "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; "
                                        "MoveFileEx call.",
                                        "InstFileInfo::HandleCommand: wrote file " + destination_ +
                                            " log section Uninstaller"));
}

TEST_F(InstFileInfoTest, OnNTAFileThatCannotEvenBeRenamedIsNotInstalled)
{
    PlaceOldDestination();
    qvtest::HeldFile held(destination_, 0);
    ASSERT_TRUE(held.IsOpen());

    EXPECT_FALSE(Run(args_));
    held.Close();
    EXPECT_EQ("OLD", ReadBytes(destination_));
    // Nothing was made beside it either: no file under the compressed-style name, no leftovers.
    EXPECT_THAT(dir_.Names(), UnorderedElementsAre("dest.txt", "src.txt"));
    EXPECT_THAT(Recorded(), IsEmpty());
    EXPECT_THAT(PendingMoves(), IsEmpty());
    EXPECT_EQ("InstFileInfo::HandleCommand: could not move " + destination_ + " to " + temp_ +
                  " (Error code: 32)\n",
              log_->Text());
}

// The copy of every FileOp::Copy attempt: the destination reports a locked region.
std::string g_lockedFile;
unsigned long LockedCopy(const CStdStr& source, const CStdStr& destination)
{
    if (EqualNoCase(destination, g_lockedFile))
        return ERROR_LOCK_VIOLATION;
    return FileOp::PlatformCopyFile(source, destination);
}

TEST_F(InstFileInfoTest, On9xAFileInUseIsReplacedFromTheTemporaryFile)
{
    OSInfo::ScopedOverride as98(OSInfo::Win98);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    SavedFile savedIni(std::string(windows) + "\\wininit.ini");
    PlaceOldDestination();
    qvtest::HeldFile held(destination_, 0);
    ASSERT_TRUE(held.IsOpen());

    // A sharing violation is no lock: the copy fails and the file stays as it was.
    EXPECT_FALSE(Run(args_));
    EXPECT_THAT(LogLines(), ElementsAre("FileOp::Copy: CopyFile failed with code 32"));
    EXPECT_THAT(Recorded(), IsEmpty());
    EXPECT_TRUE(qvtest::IsThere(source_));
    EXPECT_FALSE(qvtest::IsThere(temp_));

    // A locked file is replaced at the next restart from a copy of the expanded file.
    g_lockedFile = destination_;
    FileOp::CopyFileHook previous = FileOp::CopyFileFn;
    FileOp::CopyFileFn = LockedCopy;
    const size_t renames = FileOp::RebootRenameList().size();
    bool installed = Run(args_);
    FileOp::CopyFileFn = previous;
    EXPECT_TRUE(installed);
    held.Close();
    EXPECT_EQ("OLD", ReadBytes(destination_));
    EXPECT_EQ(renames + 1, FileOp::RebootRenameList().size());
    EXPECT_FALSE(qvtest::IsThere(temp_));
    EXPECT_FALSE(qvtest::IsThere(source_));
    EXPECT_THAT(Recorded(), ElementsAre("1 " + destination_ + " | Uninstaller | qualifier"));
    EXPECT_THAT(PendingMoves(), IsEmpty());
}

TEST_F(InstFileInfoTest, RecordsTheComponentTheLastArgumentNames)
{
    struct Case {
        CStdStringList extra;
        std::string recorded;  // empty: nothing
        std::string component;
    };
    const Case cases[] = {
        {{}, "", ""},
        {{"0"}, "", ""},
        {{"0", "0"}, "", ""},
        {{"0", "7"}, "", ""},
        {{"0", "1"}, " | Uninstaller | qualifier", "Uninstaller"},
        {{"0", "2"}, " | Driver Office Laser | no qualifier", "Driver Office Laser"},
        {{"0", " 2 copies"}, " | Driver Office Laser | no qualifier", "Driver Office Laser"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extra.empty() ? std::string("three arguments") : c.extra.back());
        RestartLog();
        DeleteFileA(destination_.c_str());
        const size_t before = engine_.LogOps().size();
        CStdStringList arguments = {"%dir%\\dest.txt", "%dir%\\src.txt", "%dir%\\dest.old"};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());

        EXPECT_TRUE(Run(arguments));
        EXPECT_EQ("NEW", ReadBytes(destination_));
        if (c.recorded.empty()) {
            EXPECT_THAT(Recorded(before), IsEmpty());
            EXPECT_EQ("", log_->Text());
        } else {
            EXPECT_THAT(Recorded(before), ElementsAre("1 " + destination_ + c.recorded));
            EXPECT_EQ("InstFileInfo::HandleCommand: wrote file " + destination_ + " log section " + c.component +
                          "\n",
                      log_->Text());
        }
    }
}

}  // namespace
