// QVTDX5DA.DLL as the configuration file of printers in Wine's spooler, with the real post-install
// utility and the sample package's script beside it in the driver directory. Wine's spooler
// sends no printer events, so the test plays the spooler: the initialisation in a process of
// its own, the connection in the user's process. The printer gets what the script installs, and
// the utility reads every name as it is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "EventTestUtil.h"
#include "FileFixtures.h"
#include "PrinterEvents.h"
#include "TestSupport.h"

namespace {

using ::testing::Contains;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kSwitchKey[] = "SOFTWARE\\Qelbrin";
constexpr char kUpdate[] =
    "[QVTDX5DD]\r\ntag=QV5\r\nver=3\r\n"
    "[UpdateControl]\r\n|REPLACE|0|QVTDX5DD.INI|FontSubstitutes|Helv=Arial\r\n"
    "[AdditionalFonts]\r\nF1=QVSANS.FNT\r\n";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string ShellFolder(int id)
{
    char path[MAX_PATH] = "";
    return SHGetSpecialFolderPathA(nullptr, path, id, FALSE) ? path : "";
}

class SpoolerPath : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        work_ = std::make_unique<qvtest::TempDir>();
        package_ = work_->File("QV5PKG");
        const std::string source = qvtest::BinDir() + "\\..\\package";
        ready_ = CreateDirectoryA(package_.c_str(), nullptr) && qvtest::WriteFile(work_->File("QVTDX5D$.INI"), kUpdate);
        for (const std::string& name : qvtest::NamesIn(source))
            ready_ = ready_ && CopyFileA((source + "\\" + name).c_str(), (package_ + "\\" + name).c_str(), FALSE);
        ready_ = ready_ && qvtest::InstallDriverPackage(kDriver, {{qvtest::BinDir() + "\\QVTDX5PI.EXE", "QVTDX5PI.EXE"},
                                                                  {source + "\\qv5setup.inf", "QVTDX5DA.ALL"},
                                                                  {work_->File("QVTDX5D$.INI"), "QVTDX5D$.INI"},
                                                                  {qvtest::BinDir() + "\\QELLOG.DLL", "QELLOG.DLL"}});
    }
    static void TearDownTestSuite()
    {
        qvtest::RemoveTree(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Qelbrin\\QV5");
        qvtest::RemoveTree(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Qelbrin QV-5");
        qvtest::DeleteHklmTree("SOFTWARE\\Qelbrin\\QV5");
        qvtest::ClearPendingMoves();
        work_.reset();
    }
    void SetUp() override
    {
        ASSERT_TRUE(ready_) << "the driver package could not be installed";
        ASSERT_TRUE(log_.Placed());
        DeleteFileA(config_.c_str());
    }
    void TearDown() override
    {
        for (const std::string& name : printers_)
            qvtest::DeleteTestPrinter(name);
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug");
        DeleteFileA(config_.c_str());
    }

    std::string AddPrinter(const std::string& name, const std::string& port = "LPT1:")
    {
        EXPECT_TRUE(qvtest::AddTestPrinter(name, kDriver, port)) << name << ": error " << GetLastError();
        printers_.push_back(name);
        return name;
    }
    // A fresh flight-recorder log for the next run of the utility.
    std::string FreshLog()
    {
        const std::string log = dir_.File("pi" + std::to_string(logs_++) + ".log");
        EXPECT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", log));
        return log;
    }
    std::string ConfigValue(const std::string& section, const std::string& key) const
    {
        char value[MAX_PATH] = "";
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "(absent)", value, sizeof value, config_.c_str());
        return value;
    }

    static inline std::unique_ptr<qvtest::TempDir> work_;
    static inline std::string package_;
    static inline bool ready_ = false;
    eventtest::SystemInstallLog log_;
    qvtest::TempDir dir_;
    const std::string config_ = eventtest::WindowsFile("QVTDX5DD.INI");
    std::vector<std::string> printers_;
    int logs_ = 0;
};

TEST_F(SpoolerPath, InitialisedPrinterGetsItsFilesValuesAndWhatTheScriptInstalls)
{
    const std::string printer = AddPrinter("QV Spooler Path");
    const std::string dir = qvtest::ConfigDirectoryOf(printer);
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(qvtest::IsThere(dir + "QVTDX5DA.DLL")) << dir;
    const std::string log = FreshLog();
    ASSERT_TRUE(qvtest::SetHklmDword("SOFTWARE\\Qelbrin\\DriverSetup\\" + printer, "SilentInstall", 1));
    qvtest::CallRecord calls("QELLOG_RECORD", dir_.File("qellog.txt"));

    // The spooler's own process, in the package's folder, which the script calls $1$.
    EXPECT_EQ(qvtest::RunProcess("\"" + qvtest::BinDir() + "\\qvprnsetup.exe\" event init \"" + printer + "\"", package_),
              0);

    const std::vector<std::string> lines = Lines(qvtest::ReadFile(log).value_or(""));
    EXPECT_THAT(lines, Contains("Command line: -s -i \"" + dir + "QVTDX5DA.ALL\" -d QVTDX5DD.DLL -p \"LPT1:\" -n \"" +
                                printer + "\""));
    EXPECT_THAT(lines, Contains("Print Object Name: " + printer));
    EXPECT_FALSE(qvtest::GetHklmDword("SOFTWARE\\Qelbrin\\DriverSetup\\" + printer, "SilentInstall"));

    // The configuration file was brought up to the package's version, and its fonts went into
    // the printer's data.
    EXPECT_EQ(ConfigValue("QVTDX5DD", "QV5"), "3");
    EXPECT_EQ(ConfigValue("FontSubstitutes", "Helv"), "Arial");
    EXPECT_EQ(ConfigValue("AdditionalFonts", "F1"), dir + "QVSANS.FNT");
    EXPECT_EQ(eventtest::Text(eventtest::PrinterValue(printer, "FontSubstitutes")), "Helv=Arial;");
    EXPECT_EQ(eventtest::Text(eventtest::PrinterValue(printer, "AdditionalFonts")), dir + "QVSANS.FNT;");
    EXPECT_EQ(eventtest::PrinterValue(printer, "CurrentDevmode").value_or(eventtest::Bytes()).size(), 1256u);
    // What the script's printer-data command writes.
    EXPECT_TRUE(eventtest::PrinterValue(printer, "DefaultPaper"));
    EXPECT_TRUE(qvtest::IsThere(ShellFolder(CSIDL_PROGRAM_FILES) + "\\Qelbrin\\QV5\\QVSTAT.EXE"));

    const std::vector<std::string> recorded = calls.Calls();
    EXPECT_THAT(recorded, Contains("AddFile\tDrivers\t" + config_));
    EXPECT_THAT(recorded, Contains("AddFile\tPrinter " + printer + "\t" + dir + "qel" + printer + ".PFM"));
    EXPECT_THAT(recorded, Contains(std::string("AddDriverNameEx\t") + kDriver + "\tQV5\t2"));
}

// What the utility itself reads: its log names the printer exactly and its command line splits
// into the options the driver meant; a name it could not be given safely starts no run.
TEST_F(SpoolerPath, UtilityReadsEveryNameItIsGivenAsItIs)
{
    const struct {
        const char* printer;
        const char* port;
        bool runs;
    } cases[] = {
        {"QV \"Quoted\" -n Other", "LPT1:", true},
        {"QV O'Brien", "LPT1:\" -i \"C:\\evil.inf", true},
        {" -I C:\\x.inf ", "LPT1:", true},
        {"-N QV Dash", "LPT1:", true},
        {"QV Trailing\\", "LPT1:", true},
        {"QV Both \" and '", "LPT1:", false},
    };
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(package_.c_str());
    for (const auto& c : cases) {
        const std::string printer = AddPrinter(c.printer, c.port);
        const std::string log = FreshLog();
        EXPECT_EQ(qvtest::PlayPrinterEvent(printer, qvtest::SpoolerEvent::AddConnection), TRUE) << printer;
        const std::vector<std::string> lines = Lines(qvtest::ReadFile(log).value_or(""));
        if (!c.runs) {
            EXPECT_FALSE(qvtest::IsThere(log)) << printer;
            continue;
        }
        EXPECT_THAT(lines, Contains("Print Object Name: " + printer)) << printer;
        const std::string prefix = "Command line: ";
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        ASSERT_NE(line, lines.end()) << printer;
        const std::vector<std::string> fields = eventtest::UtilityFields(line->substr(prefix.size()));
        ASSERT_EQ(fields.size(), 8u) << *line;
        EXPECT_EQ(fields[5], c.port) << *line;
        EXPECT_EQ(fields[7], printer) << *line;
    }
    SetCurrentDirectoryA(previous);
}

}  // namespace
