// The delete-files and unzip commands on scratch folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"

#include <windows.h>

#include <string>

#include "../services/ZipWriter.h"
#include "PrinterCommandFixture.h"
#include "commands/DeleteFileInfo.h"
#include "commands/UnzipFileInfo.h"

namespace {

using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::WriteBytes;
using printertest::HasLine;
using qvtest::IsThere;
using qvtest::PendingMove;
using ::testing::Contains;
using ::testing::Not;

class FileCommandTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        LoadScript({"Qel File Driver"}, "");
        qvtest::ClearPendingMoves();
    }
    void TearDown() override { qvtest::ClearPendingMoves(); }
    TempDir dir_;
};

TEST_F(FileCommandTest, DeleteFlagsChooseNowRestartOrBoth)
{
    struct Case {
        const char* flag;  // nullptr: no second argument
        bool held;         // the file is open without sharing, so it cannot go now
        bool result;
        bool gone;
        bool scheduled;
        bool invalidLine;
    };
    const Case cases[] = {
        {nullptr, false, true, true, false, false},
        {nullptr, true, true, false, true, false},  // default 1: now, else at restart
        {"0", false, true, true, false, false},
        {"0", true, false, false, false, false},  // now only: no fall-back
        {"1", true, true, false, true, false},
        {"2", false, true, false, true, false},   // restart only, even when it could go now
        {"7", true, true, false, true, true},     // out of range: taken as 1
        {"-1", true, true, false, true, true},
        {"x", true, false, false, false, false},  // not a number reads as 0
    };
    int i = 0;
    for (const Case& c : cases) {
        const std::string file = dir_.File("victim" + std::to_string(i++) + ".txt");
        SCOPED_TRACE(file + " flag " + (c.flag ? c.flag : "(none)"));
        ASSERT_TRUE(WriteBytes(file, "x"));
        enginetest::LogCapture log;
        qvtest::HeldFile held(file, c.held ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (!c.held)
            held.Close();
        DeleteFileInfo handler(&engine_);
        CStdStringList arguments{file};
        if (c.flag)
            arguments.push_back(c.flag);
        EXPECT_EQ(c.result, handler.HandleCommand(arguments));
        held.Close();
        EXPECT_EQ(c.gone, !IsThere(file));
        if (c.scheduled)
            EXPECT_THAT(qvtest::PendingMoves(), Contains(PendingMove{file, "", false}));
        else
            EXPECT_THAT(qvtest::PendingMoves(), Not(Contains(PendingMove{file, "", false})));
        EXPECT_EQ(c.invalidLine, HasLine(log.Text(), std::string("DeleteFilesInfo::HandleCommand: invalid flag: ") +
                                                         (c.flag ? c.flag : "")));
    }
}

TEST_F(FileCommandTest, DeleteRemovesEmptyDirectoriesButNeverTrees)
{
    const std::string empty = dir_.File("empty");
    const std::string full = dir_.File("full");
    ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(full.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(full + "\\keep.txt", "k"));

    DeleteFileInfo handler(&engine_);
    // Written without the closing separator: still the directory, not a file named "empty".
    EXPECT_TRUE(handler.HandleCommand({empty, "0"}));
    EXPECT_FALSE(IsThere(empty));
    handler.HandleCommand({full + "\\", "0"});
    EXPECT_TRUE(IsThere(full + "\\keep.txt"));
    EXPECT_THAT(qvtest::PendingMoves(), Not(Contains(PendingMove{full, "", false})));
}

TEST_F(FileCommandTest, CommandsWithoutArgumentsFail)
{
    EXPECT_FALSE(DeleteFileInfo(&engine_).HandleCommand({}));
    EXPECT_FALSE(UnzipFileInfo(&engine_).HandleCommand({}));
    EXPECT_TRUE(HasLine(log_.Text(), "DeleteFileInfo::HandleCommand: not enough arguments!"));
    EXPECT_TRUE(HasLine(log_.Text(), "UnZipInfo::HandleCommand: not enough arguments!"));
}

TEST_F(FileCommandTest, UnzipGoesNextToTheArchiveUnlessToldOtherwise)
{
    const std::string archive = dir_.File("pack.zip");
    ziptest::Entry entry = ziptest::Stored("sub/file.txt", "zipped text");
    entry.time = {2019, 3, 4, 5, 6, 8};
    ASSERT_TRUE(WriteBytes(archive, ziptest::BuildZip({entry, ziptest::Deflated("top.txt", "top")})));

    UnzipFileInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({archive}));
    EXPECT_EQ("zipped text", ReadBytes(dir_.File("sub\\file.txt")));
    EXPECT_EQ("top", ReadBytes(dir_.File("top.txt")));

    // An explicit target folder is made with its whole chain.
    const std::string target = dir_.File("elsewhere\\deeper");
    EXPECT_TRUE(handler.HandleCommand({archive, target}));
    EXPECT_EQ("zipped text", ReadBytes(target + "\\sub\\file.txt"));

    HANDLE file = CreateFileA((target + "\\sub\\file.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToSystemTime(&local, &time);
    EXPECT_EQ(2019, time.wYear);
    EXPECT_EQ(4, time.wDay);
    EXPECT_EQ(6, time.wMinute);
}

TEST_F(FileCommandTest, UnzipRefusesEntriesThatLeaveTheTargetAndReportsFailure)
{
    const std::string archive = dir_.File("hostile.zip");
    const std::string target = dir_.File("target");
    ASSERT_TRUE(WriteBytes(
        archive, ziptest::BuildZip({ziptest::Stored("../escaped.txt", "bad"), ziptest::Stored("fine.txt", "good")})));
    UnzipFileInfo handler(&engine_);
    EXPECT_FALSE(handler.HandleCommand({archive, target}));
    EXPECT_FALSE(IsThere(dir_.File("escaped.txt")));
    EXPECT_EQ("good", ReadBytes(target + "\\fine.txt"));
    EXPECT_TRUE(HasLine(log_.Text(), "ZipListContents: refusing entry outside the target: ..\\escaped.txt"));

    EXPECT_FALSE(handler.HandleCommand({dir_.File("missing.zip")}));
}

}  // namespace
