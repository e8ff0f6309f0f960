// The INI-update and start-menu commands, on scratch files and the shell's real folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"
#include "LinkFixtures.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "PrinterCommandFixture.h"
#include "commands/StartMenuInfo.h"
#include "commands/UpdateIniInfo.h"
#include "services/OSInfo.h"

namespace {

using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::WriteBytes;
using printertest::HasLine;

class IniCommandTest : public printertest::EngineFixture {
protected:
    void SetUp() override { LoadScript({"Qel Ini Driver"}, ""); }
    TempDir dir_;
};

TEST_F(IniCommandTest, WritingIntoAMissingFileCreatesItWithTheSection)
{
    const std::string file = dir_.File("new.ini");
    UpdateIniInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({file, "Setup", "", "Ver=2"}));
    EXPECT_EQ("[Setup]\r\nVer=2\r\n", ReadBytes(file));
}

TEST_F(IniCommandTest, DeleteComesBeforeWriteAndValuesKeepTheirEqualsSigns)
{
    const std::string file = dir_.File("edit.ini");
    ASSERT_TRUE(WriteBytes(file, "[Run]\r\nCmd=old\r\nKeep=1\r\n"));
    UpdateIniInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({file, "Run", "Cmd=OLD", "Cmd = a=b"}));
    EXPECT_EQ("[Run]\r\nKeep=1\r\nCmd=a=b\r\n", ReadBytes(file));

    // A delete whose value does not match leaves the key; the command still counts as done.
    EXPECT_TRUE(handler.HandleCommand({file, "Run", "Keep=2"}));
    EXPECT_NE(std::string::npos, ReadBytes(file).find("Keep=1"));
    EXPECT_TRUE(handler.HandleCommand({file, "Run", "Keep="}));
    EXPECT_EQ(std::string::npos, ReadBytes(file).find("Keep"));
}

TEST_F(IniCommandTest, AFailedWriteIsLoggedWithItsFields)
{
    const std::string file = dir_.File("no such folder\\x.ini");
    UpdateIniInfo handler(&engine_);
    EXPECT_FALSE(handler.HandleCommand({file, "S", "", "K=V"}));
    const std::string log = log_.Text();
    EXPECT_TRUE(HasLine(log, "UpdateIniInfo::HandleCommand: QuickWriteIniString failed."));
    EXPECT_TRUE(HasLine(log, "\tFile = " + file));
    EXPECT_TRUE(HasLine(log, "\tSection = S"));
    EXPECT_TRUE(HasLine(log, "\tKey Name = K"));
    EXPECT_TRUE(HasLine(log, "\tValue = V"));

    EXPECT_FALSE(handler.HandleCommand({file, "S"}));
    EXPECT_TRUE(HasLine(log_.Text(), "UpdateIniInfo::HandleCommand: not enough arguments!"));
}

TEST(StartMenuFolders, NamesSelectShellFoldersAndUnknownNamesTheProgramsMenu)
{
    EXPECT_EQ(CSIDL_PROGRAMS, StartMenuInfo::FolderId("programs"));
    EXPECT_EQ(CSIDL_COMMON_STARTUP, StartMenuInfo::FolderId("Common_Startup"));
    EXPECT_EQ(CSIDL_PRINTHOOD, StartMenuInfo::FolderId("PRINTHOOD"));
    EXPECT_EQ(CSIDL_COMMON_PROGRAMS, StartMenuInfo::FolderId("2"));
    OSInfo::ScopedOverride win98(OSInfo::Win98);
    EXPECT_EQ(CSIDL_PROGRAMS, StartMenuInfo::FolderId("Programmes"));
}

class StartMenuTest : public IniCommandTest {
protected:
    void SetUp() override
    {
        IniCommandTest::SetUp();
        CoInitialize(nullptr);
        group_ = printertest::Unique("Qel Group");
        programs_ = StartMenuInfo::FolderPath(CSIDL_PROGRAMS);
        ASSERT_FALSE(programs_.empty());
    }
    void TearDown() override
    {
        const std::string folder = programs_ + "\\" + group_;
        for (const std::string& name : qvtest::NamesIn(folder))
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
        CoUninitialize();
    }
    std::string group_;
    std::string programs_;
};

TEST_F(StartMenuTest, ALinkIsMadeInTheGroupAndPointsAtItsTarget)
{
    const std::string target = dir_.File("tool.exe");
    ASSERT_TRUE(WriteBytes(target, "MZ"));
    StartMenuInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({"PROGRAMS", group_ + "\\Tools", "QV Tool", target, "/tray"}));
    qvtest::LinkContents link;
    ASSERT_TRUE(qvtest::ReadLink(programs_ + "\\" + group_ + "\\Tools\\QV Tool.LNK", link));
    EXPECT_TRUE(EqualNoCase(target, link.path)) << link.path;
    EXPECT_EQ("/tray", link.arguments);
    DeleteFileA((programs_ + "\\" + group_ + "\\Tools\\QV Tool.LNK").c_str());
    RemoveDirectoryA((programs_ + "\\" + group_ + "\\Tools").c_str());
}

TEST_F(StartMenuTest, FoldersWithoutAPathAndShortLinesMakeNoLink)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    StartMenuInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({"PRINTERS", "", "Nowhere", "C:\\x.exe"}));
    EXPECT_FALSE(qvtest::IsThere(std::string(current) + "\\Nowhere.LNK"));
    const std::string log = log_.Text();
    EXPECT_TRUE(HasLine(log, "StartMenuInfo::HandleCommand: folder PRINTERS has no file-system path."));
    EXPECT_TRUE(HasLine(log, "StartMenuInfo::HandleCommand: failed to create link."));
    EXPECT_TRUE(HasLine(log, "\tItem name: Nowhere"));
    EXPECT_TRUE(HasLine(log, "\tTarget file: C:\\x.exe"));

    for (const char* folder : {"DRIVES", "NETWORK", "CONTROLS"})
        EXPECT_TRUE(StartMenuInfo::FolderPath(StartMenuInfo::FolderId(folder)).empty()) << folder;

    EXPECT_FALSE(handler.HandleCommand({"PROGRAMS", group_, "Item"}));
    EXPECT_TRUE(HasLine(log_.Text(), "StartMenuInfo::HandleCommand: not enough arguments!"));
}

}  // namespace
