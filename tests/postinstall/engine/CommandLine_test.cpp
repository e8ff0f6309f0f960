#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "engine/DebugLog.h"
#include "engine/OstrafelEngine.h"

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = qvtest::TempFolder() + "qv cmdline test";
        CreateDirectoryA(dir_.c_str(), nullptr);
        inf_ = dir_ + "\\setup.inf";
        std::ofstream(inf_) << "[Manufacturer]\nQelbrin\n";
        log_ = dir_ + "\\pi.log";
        DeleteFileA(log_.c_str());
        DebugBuf.SetFile(log_);
    }
    void TearDown() override
    {
        DebugBuf.SetFile("");
        DeleteFileA(log_.c_str());
        DeleteFileA(inf_.c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    std::string Log()
    {
        std::ifstream in(log_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir_, inf_, log_;
};

TEST_F(CommandLineTest, ReadsOptionValuePairs)
{
    struct Case {
        std::string line;
        bool ok;
        const char* printer;
        const char* port;
        bool unattended;
    };
    const std::string inf = "\"" + inf_ + "\"";
    const Case cases[] = {
        {"-S -I " + inf + " -N \"Office Laser\" -P LPT1:", true, "Office Laser", "LPT1:", true},
        {"-i " + inf + " -n 'Office Laser'", true, "Office Laser", "", false},
        // The driver library's own form: -d takes a value that is ignored.
        {"-s -i " + inf + " -d QVTDX5DA.DLL -p LPT1:,LPT2: -n P1", true, "P1", "LPT1:,LPT2:", true},
        // Unknown options consume their value; longer fields are not options.
        {"-X -N -NP1 junk -i " + inf + " -n P2", true, "P2", "", false},
        // A later option replaces an earlier value; a trailing -S still counts.
        {"-n First -i " + inf + " -n Second -s", true, "Second", "", true},
        // The field after -N is its value whatever it looks like.
        {"-i " + inf + " -n -p", true, "-p", "", false},
        {"   -i    " + inf + "    -n   P3   ", true, "P3", "", false},
        {"-i " + inf + " -N", false, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        OstrafelEngine engine;
        EXPECT_EQ(c.ok, engine.parseCommandLine(c.line));
        EXPECT_EQ(c.printer, engine.PrintObjectName());
        EXPECT_EQ(c.port, engine.Port());
        EXPECT_EQ(c.unattended, engine.IsUnattended());
    }
}

TEST_F(CommandLineTest, RejectsAMissingScriptOrPrinterWithBothMessages)
{
    struct Case {
        std::string line;
        std::string log;
    };
    const Case cases[] = {
        {"", "parseCommandLine: could not load INF: \nparseCommandLine: no printer name specified.\n"},
        {"-i \"" + dir_ + "\\missing.inf\" -n P",
         "parseCommandLine: could not load INF: " + dir_ + "\\missing.inf\n"},
        // A directory written with its trailing backslash has no file name.
        {"-i \"" + dir_ + "\\\" -n P", "parseCommandLine: could not load INF: " + dir_ + "\n"},
        {"-i \"" + inf_ + "\" -n", "parseCommandLine: no printer name specified.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DeleteFileA(log_.c_str());
        OstrafelEngine engine;
        EXPECT_FALSE(engine.parseCommandLine(c.line));
        EXPECT_EQ(c.log, Log());
    }
}

TEST_F(CommandLineTest, ADirectoryWithoutTrailingBackslashPassesAndLoadsAsEmptyScript)
{
    OstrafelEngine engine;
    EXPECT_TRUE(engine.parseCommandLine("-i \"" + dir_ + "\" -n P"));
    EXPECT_FALSE(engine.getManufacturers());
    EXPECT_EQ("OstrafelEngine::getManufacturers: could not find manufacturer section: Manufacturer\n", Log());
}

TEST(RemotePrinter, IsAServerNameOtherThanThisComputer)
{
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    std::string own = std::string("\\\\") + name;
    for (char& c : own)
        c = char(tolower((unsigned char)c));
    struct Case {
        const char* server;
        bool remote;
    } cases[] = {
        {nullptr, false},
        {"", false},
        {own.c_str(), false},
        {"\\\\SOME-OTHER-HOST", true},
        {name, true},  // without the leading backslashes it is not this computer's name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server ? c.server : "(null)");
        PRINTER_INFO_2A record = {};
        record.pServerName = const_cast<char*>(c.server);
        EXPECT_EQ(c.remote, OstrafelApp::IsRemotePrinter(record));
    }
}

}  // namespace
