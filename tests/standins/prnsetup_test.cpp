// qvprnsetup, the set-up tool scripts and the demo use, run as they run it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvtest;

namespace {

std::string Tool()
{
    std::string tool = BinDir();
    tool.insert(tool.begin(), '"');  // in steps: GCC 12 warns falsely on "x" + a temporary
    return tool + "\\qvprnsetup.exe\"";
}

// Runs the tool through cmd so its output lands in files.
int RunTool(const std::string& arguments, const TempDir& dir, std::string* out, std::string* err)
{
    const int code = RunProcess("cmd /c \"" + Tool() + " " + arguments + " >out.txt 2>err.txt\"", dir.Path());
    *out = ReadFile(dir.File("out.txt")).value_or("<none>");
    *err = ReadFile(dir.File("err.txt")).value_or("<none>");
    return code;
}

TEST(Qvprnsetup, InstallsADriverAndAPrinterAndListsThem)
{
    TempDir dir;
    std::string out, err;
    ASSERT_EQ(RunTool("driver \"QV Tool Driver\"", dir, &out, &err), 0) << err;
    ASSERT_EQ(RunTool("printer \"QV Tool Printer\" \"QV Tool Driver\" FILE:", dir, &out, &err), 0) << err;
    ASSERT_EQ(RunTool("list", dir, &out, &err), 0) << err;

    EXPECT_NE(out.find("printer\tQV Tool Printer\tQV Tool Driver\tFILE:\n"), std::string::npos) << out;
    const size_t driver = out.find("driver\tQV Tool Driver\t3\t");
    ASSERT_NE(driver, std::string::npos) << out;
    const std::string line = out.substr(driver, out.find('\n', driver) - driver);
    EXPECT_NE(line.find("qvtestcfg32.dll\t"), std::string::npos) << line;
    EXPECT_NE(line.find(kDefaultHelpFile), std::string::npos) << line;
    DeleteTestPrinter("QV Tool Printer");
}

TEST(Qvprnsetup, RefusesBadUseWithAMessage)
{
    struct Case {
        const char* arguments;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"", 2, "usage:"},
        {"bogus", 2, "usage:"},
        {"driver", 2, "usage:"},
        {"printer \"QV Tool Orphan\"", 2, "usage:"},
        {"list extra", 2, "usage:"},
        {"printer \"QV Tool Orphan\" \"QV Tool no such driver\"", 1, "error 1797"},
        {"event", 2, "usage:"},
        {"event init", 2, "usage:"},
        {"event bogus \"QV Tool Printer\"", 2, "usage:"},
        {"event init \"QV Tool no such printer\"", 3, "cannot call the configuration file"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(RunTool(c.arguments, dir, &out, &err), c.code) << c.arguments;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.arguments << ": " << err;
    }
}

}  // namespace
