// The file, registry and process helpers the test programs rely on.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace qvtest;

namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(TempDir, IsNewAndUniqueAndRemovedWithItsContents)
{
    std::string kept;
    {
        TempDir dir;
        TempDir other;
        ASSERT_FALSE(dir.Path().empty());
        EXPECT_NE(dir.Path(), other.Path());
        EXPECT_TRUE(GetFileAttributesA(dir.Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY);

        ASSERT_TRUE(CreateDirectoryA(dir.File("sub").c_str(), nullptr));
        ASSERT_TRUE(WriteFile(dir.File("sub\\deep.txt"), "x"));
        ASSERT_TRUE(WriteFile(dir.File("readonly.txt"), "x"));
        ASSERT_TRUE(SetFileAttributesA(dir.File("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        kept = dir.Path();
    }
    EXPECT_FALSE(Exists(kept));
}

TEST(Files, WriteThenReadGivesTheSameBytes)
{
    TempDir dir;
    const std::string cases[] = {
        std::string(),
        std::string("line\r\nnext\n", 11),
        std::string("\0\x01\xff\0tail", 8),
    };
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(WriteFile(dir.File("f.bin"), bytes));
        EXPECT_EQ(ReadFile(dir.File("f.bin")), bytes);
    }
}

TEST(Files, WriteReplacesALongerFile)
{
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.File("f.txt"), "a much longer first content"));
    ASSERT_TRUE(WriteFile(dir.File("f.txt"), "short"));
    EXPECT_EQ(ReadFile(dir.File("f.txt")), "short");
}

TEST(Files, ReadOfAMissingFileIsEmpty)
{
    TempDir dir;
    EXPECT_FALSE(ReadFile(dir.File("missing.txt")));
}

TEST(BinDir, HoldsTheStandinConfigurationDll)
{
    EXPECT_TRUE(Exists(BinDir() + "\\qvtestcfg.dll")) << BinDir();
}

class HklmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key_ = std::string("Software\\QV Tests\\") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { DeleteHklmTree(key_); }
    std::string key_;
};

TEST_F(HklmTest, ValuesReadBackAsWrittenAndOnlyAsTheirType)
{
    ASSERT_TRUE(SetHklmString(key_ + "\\Sub", "Text", "C:\\dir\\file.hlp"));
    ASSERT_TRUE(SetHklmString(key_, "Empty", ""));
    ASSERT_TRUE(SetHklmDword(key_, "Number", 0xFFFFFFFEu));
    EXPECT_EQ(GetHklmString(key_ + "\\Sub", "Text"), "C:\\dir\\file.hlp");
    EXPECT_EQ(GetHklmString(key_, "Empty"), "");
    EXPECT_EQ(GetHklmDword(key_, "Number"), 0xFFFFFFFEu);
    EXPECT_FALSE(GetHklmString(key_, "Number"));
    EXPECT_FALSE(GetHklmDword(key_ + "\\Sub", "Text"));
    EXPECT_FALSE(GetHklmString(key_, "Missing"));
}

TEST_F(HklmTest, DeletingLeavesNothingAndAcceptsWhatIsAlreadyGone)
{
    ASSERT_TRUE(SetHklmDword(key_, "Gone", 1));
    ASSERT_TRUE(SetHklmDword(key_ + "\\A\\B", "Deep", 2));

    EXPECT_TRUE(DeleteHklmValue(key_, "Gone"));
    EXPECT_FALSE(GetHklmDword(key_, "Gone"));
    EXPECT_TRUE(DeleteHklmValue(key_, "Gone"));
    EXPECT_TRUE(DeleteHklmValue(key_ + "\\No such key", "Gone"));

    EXPECT_TRUE(DeleteHklmTree(key_));
    EXPECT_FALSE(GetHklmDword(key_ + "\\A\\B", "Deep"));
    EXPECT_TRUE(DeleteHklmTree(key_));
}

TEST(RunProcess, GivesTheExitCodeOrMinusOne)
{
    struct Case {
        const char* commandLine;
        int expected;
    };
    const Case cases[] = {
        {"cmd /c exit 0", 0},
        {"cmd /c exit 7", 7},
        {"qv-no-such-program.exe", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunProcess(c.commandLine), c.expected) << c.commandLine;
}

TEST(RunProcess, RunsInTheGivenDirectory)
{
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.File("marker.txt"), "x"));
    EXPECT_EQ(RunProcess("cmd /c if exist marker.txt (exit 3) else (exit 4)", dir.Path()), 3);
}

TEST(RunProcess, StopsAChildThatOutlivesTheTimeout)
{
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunProcess("cmd /c for /l %i in (1,1,10000000) do @rem", "", 300), -1);
    EXPECT_LT(GetTickCount() - start, 10000u);
}

}  // namespace
