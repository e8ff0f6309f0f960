#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "engine/DebugLog.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = qvtest::TempFolder() + "qv-debuglog-test.log";
        DeleteFileA(path_.c_str());
    }
    void TearDown() override
    {
        DebugBuf.SetFile("");
        DeleteFileA(path_.c_str());
    }
    std::string path_;
};

TEST_F(DebugLogTest, WritesCompletedLinesOnlyAndAppends)
{
    DebugBuf.SetFile(path_);
    DebugLog << "first " << 42 << '\n' << "partial";
    EXPECT_EQ("first 42\n", Slurp(path_));
    DebugLog << " line\n";
    EXPECT_EQ("first 42\npartial line\n", Slurp(path_));
}

TEST_F(DebugLogTest, FlushWritesAPartialLine)
{
    DebugBuf.SetFile(path_);
    DebugLog << "no line feed";
    DebugLog.flush();
    EXPECT_EQ("no line feed", Slurp(path_));
}

TEST_F(DebugLogTest, WithoutAFileNothingIsMadeAndTheBufferIsDropped)
{
    DebugBuf.SetFile("");
    DebugLog << "lost\n";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str()));
    DebugBuf.SetFile(path_);
    DebugLog << "kept\n";
    EXPECT_EQ("kept\n", Slurp(path_));
}

TEST_F(DebugLogTest, AnUnwritableFileLosesTheLineSilently)
{
    DebugBuf.SetFile(qvtest::TempFolder() + "no-such-dir\\x.log");
    DebugLog << "gone\n";
    DebugBuf.SetFile(path_);
    DebugLog << "next\n";
    EXPECT_EQ("next\n", Slurp(path_));
}

TEST_F(DebugLogTest, TimerPrintsElapsedSecondsWithSixDecimals)
{
    DebugBuf.SetFile(path_);
    DebugLogStartTimer();
    DebugLogPrintTimer("GenericInfo::Process: Finished.  (Elapsed time: %f seconds.)");
    std::string text = Slurp(path_);
    double seconds = -1;
    ASSERT_EQ(1, std::sscanf(text.c_str(), "GenericInfo::Process: Finished.  (Elapsed time: %lf seconds.)",
                             &seconds))
        << text;
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 5.0);
    EXPECT_NE(std::string::npos, text.find(".  (Elapsed time: 0.0")) << text;
    EXPECT_EQ('\n', text.back());
}

}  // namespace
