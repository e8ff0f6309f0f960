// The post-install utility as the driver starts it: a process with a command line, a script and
// the log switch in the registry, against printers and drivers in the real spooler.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

const char* const kSwitchKey = "SOFTWARE\\Qelbrin";

// The lines of the log that start with the given text, in order.
std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.compare(0, prefix.size(), prefix) == 0)
            found.push_back(line);
    return found;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A script for one driver; extra lines go into its install section.
std::string Script(const std::string& driver, const std::string& installExtra = "",
                   const std::string& tail = "")
{
    return "; test script\n"
           "[Manufacturer]\n"
           "\"Qelbrin\"=QelbrinModels\n"
           "Other\n"
           "[Other]\n"
           "Unrelated=Nothing\n"
           "[QelbrinModels]\n"
           "\"" + driver + "\"=Drv_Install, QVTDX5DA.DLL\n"
           "[Drv_Install]\n" + installExtra + tail;
}

// What each handler of the run list writes first: generic handlers their Processing line, the
// print-processor step its status line when the printer's driver has an install section. The
// dependent-files step has no line of its own.
const char* const kProcessorStep = "ProcessorInfo Status";

std::vector<std::string> ExpectedRunList(const std::string& driver, const std::string& printer, bool updateAll)
{
    auto generic = [](const char* keyword) { return std::string("GenericInfo::Process: Processing ") + keyword; };
    std::vector<std::string> lines = {generic("QelUnZipZipFile"), generic("QelUnZipEXEFile"),
                                      generic("QelInstallFile")};
    for (const qvtest::DriverEntry& d : qvtest::ListDrivers("Windows NT x86").value_or(std::vector<qvtest::DriverEntry>{})) {
        if (d.version != 3)
            continue;
        if (updateAll || d.name == driver) {
            lines.push_back(generic("DelReg"));
            lines.push_back(generic("AddReg"));
        }
    }
    for (const qvtest::PrinterEntry& p : qvtest::ListPrinters().value_or(std::vector<qvtest::PrinterEntry>{})) {
        if (!updateAll && p.name != printer)
            continue;
        lines.push_back(generic("QelPrtDrvData"));
        lines.push_back(generic("QelAssociateMonitor"));
        if (p.driver == driver)
            lines.push_back(kProcessorStep);
    }
    for (const char* k : {"UpdateInis", "QelAddGroup", "QelRunApps", "QelDelFiles", "QelUninstall"})
        lines.push_back(generic(k));
    return lines;
}

std::vector<std::string> RunListLines(const std::vector<std::string>& log)
{
    std::vector<std::string> found;
    for (const std::string& line : log)
        if (line.rfind("GenericInfo::Process: Processing ", 0) == 0 || line == kProcessorStep)
            found.push_back(line);
    return found;
}

class PostInstallRun : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        ASSERT_TRUE(qvtest::AddTestPrinter(kPrinter, kDriver, "LPT1:"));
        // A second driver and printer, which only update-all mode touches; its help file is empty.
        ASSERT_TRUE(qvtest::InstallTestDriver(kOtherDriver, ""));
        ASSERT_TRUE(qvtest::AddTestPrinter(kOtherPrinter, kOtherDriver, "LPT2:"));
    }

    void SetUp() override
    {
        log_ = dir_.Path() + "\\pi.log";
        script_ = dir_.Path() + "\\setup.inf";
        ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", log_));
        qvtest::DeleteHklmValue(kSwitchKey, "OstrafelUpdateAllPrinters");
        qvtest::DeleteHklmValue(kSwitchKey, "Running");
        qvtest::DeleteHklmValue(kSwitchKey, "InstallLanguageISO");
    }

    void TearDown() override { qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug"); }

    int Run(const std::string& arguments)
    {
        DeleteFileA(log_.c_str());
        return qvtest::RunProcess("\"" + qvtest::BinDir() + "\\QVTDX5PI.EXE\" " + arguments);
    }

    void WriteScript(const std::string& text) { ASSERT_TRUE(qvtest::WriteFile(script_, text)); }
    std::string ScriptArg() const { return "-i \"" + script_ + "\""; }
    std::vector<std::string> Log() const { return qvtest::Lines(qvtest::ReadFile(log_).value_or("")); }

    static constexpr const char* kDriver = "Qelbrin E2E PCL";
    static constexpr const char* kPrinter = "Qelbrin E2E Office";
    static constexpr const char* kOtherDriver = "Qelbrin E2E Other PCL";
    static constexpr const char* kOtherPrinter = "Qelbrin E2E Other";

    qvtest::TempDir dir_;
    std::string log_;
    std::string script_;
};

TEST_F(PostInstallRun, WritesHeaderSummaryAndProcessesTheRunListInOrder)
{
    WriteScript(Script(kDriver, "QV_DRV_NETSUPPORT=2\nQelInstallFile=Files\n"));
    const std::string args = "-s " + ScriptArg() + " -d QVTDX5DA.DLL -p LPT1: -n \"" + kPrinter + "\"";
    ASSERT_EQ(0, Run(args));

    std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ("---- Post install utility Flight Recorder ----", log[0]);
    EXPECT_TRUE(std::regex_match(log[1], std::regex("[A-Z][a-z]{2} [A-Z][a-z]{2} \\d\\d \\d\\d:\\d\\d:\\d\\d \\d{4}")))
        << log[1];
    EXPECT_EQ("", log[2]);
    EXPECT_EQ("Command line: " + args, log[3]);

    const std::vector<std::string> summary = {
        std::string("Driver name:       ") + kDriver,
        std::string("Print Object Name: ") + kPrinter,
        "Point and Print:   no",
        "Install section:   Drv_Install",
        "Update Mode:       no",
        "Custom install:    no",
        "Network level:\t\t2",
    };
    auto first = std::find(log.begin(), log.end(), summary[0]);
    ASSERT_NE(log.end(), first);
    EXPECT_EQ(summary, std::vector<std::string>(first, first + std::min<size_t>(summary.size(), log.end() - first)));

    EXPECT_EQ(ExpectedRunList(kDriver, kPrinter, false), RunListLines(log));
    EXPECT_TRUE(Contains(log, std::string(" Driver found: ") + kDriver));
    EXPECT_TRUE(Contains(log, std::string(" WARNING!! Missing RegKey: HelpFile is empty for: ") + kOtherDriver));
    EXPECT_FALSE(Contains(log, std::string(" WARNING!! Missing RegKey: HelpFile is empty for: ") + kDriver));
}

TEST_F(PostInstallRun, EveryHandlerReadsItsSectionsAndClaimsNothingItDidNotDo)
{
    const std::string install =
        "QelUnZipZipFile=Zips\nQelUnZipEXEFile=Exes\nQelInstallFile=Files\nAddReg=Regs\nDelReg=Regs\n"
        "QelPrtDrvData=Data\nQelAssociateMonitor=Monitors,NoSuchSection\nUpdateInis=Inis\nQelAddGroup=Groups\n"
        "QelRunApps=Apps\nQelDelFiles=Deletes\nQelUninstall=Uninstall\n";
    const std::string sections =
        "[Zips]\nz,3,a.zip\n[Exes]\ne,1,setup.exe,/q\n[Files]\nf,3,dest,src,tmp\nlocal only,2,x\n"
        "[Regs]\nHKLM,Software\\Q,Name\n[Data]\nd,3,1,Name,Data\n[Monitors]\nm,3,Port Monitor,1\n"
        "[Inis]\n" + dir_.Path() + "\\test.ini,Section,,Key=Value\n[Groups]\ng,3,2,Group\n[Apps]\na\n"
        "[Deletes]\nx,3,old.txt,1\n[Uninstall]\nu,3,unst.zip\n";
    WriteScript(Script(kDriver, install, sections));
    ASSERT_EQ(0, Run(ScriptArg() + " -n \"" + kPrinter + "\""));
    std::vector<std::string> log = Log();

    const std::string temp = qvtest::TempFolder();
    for (const std::string& line : std::vector<std::string>{
             "ZipListContents: could not open zip file a.zip",
             "RunProgramInfo: setup.exe /q returned 0 (error code 2)",
             "InstFileInfo::HandleCommand: file src does not exist!",
             "MonitorInfo::HandleCommand: Port Monitor does not exist.",
             "UpdateDepFilesInfo::Process: no inf dependent files found:",
             "GenericInfo::ReadINF: Section NoSuchSection not found",
             "StartMenuInfo::HandleCommand: not enough arguments!",
             "GenericInfo::ParseCommand: command a is invalid!",
             "\t\tCommand: x,3,old.txt,1",
             "ZipListContents: could not open zip file unst.zip",
             "UninstallerInfo::HandleCommand: could not extract unst.zip to " + std::string(temp) +
                 "unst.zip_Extracted",
             "OstrafelEngine::flushLogOps: logging operations...",
             "\tDriver name: " + std::string(kDriver),
         })
        EXPECT_TRUE(Contains(log, line)) << line;
    EXPECT_EQ("[Section]\r\nKey=Value\r\n", qvtest::ReadFile(dir_.Path() + "\\test.ini").value_or(""));

    // A generic line that did nothing is reported as failed, with the script's context; the line
    // for connections is skipped on a local printer and reported the same way.
    for (const char* command : {"f,3,dest,src,tmp", "local only,2,x"}) {
        auto at = std::find(log.begin(), log.end(), std::string("\t\tCommand: ") + command);
        ASSERT_NE(log.end(), at) << command;
        ASSERT_GE(at - log.begin(), 3);
        EXPECT_EQ("GenericInfo::ReadINF: Error parsing command:", *(at - 3));
        EXPECT_EQ("\t\tSection: Drv_Install", *(at - 2));
        EXPECT_EQ("\t\tCommand Name: QelInstallFile", *(at - 1));
    }
    // Lines of all-field commands are never reported as failed.
    EXPECT_FALSE(Contains(log, "\t\tCommand Name: AddReg"));
    EXPECT_FALSE(Contains(log, "\t\tCommand Name: UpdateInis"));
}

TEST_F(PostInstallRun, UpdateAllModeAndCustomInstallComeFromTheRegistry)
{
    ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelUpdateAllPrinters", "1"));
    ASSERT_TRUE(qvtest::SetHklmDword(kSwitchKey, "Running", 2));
    WriteScript(Script(kDriver));
    ASSERT_EQ(0, Run(ScriptArg() + " -n \"" + kPrinter + "\""));

    std::vector<std::string> log = Log();
    EXPECT_TRUE(Contains(log, "Update Mode:       yes"));
    EXPECT_TRUE(Contains(log, "Custom install:    yes"));
    EXPECT_TRUE(Contains(log, "Network level:\t\t0"));
    EXPECT_EQ(ExpectedRunList(kDriver, kPrinter, true), RunListLines(log));
}

TEST_F(PostInstallRun, PreparationFailuresEndWithTheirExitCodeBeforeAnyHandler)
{
    struct Case {
        const char* what;
        std::string script;
        std::string printer;
        int exitCode;
        std::string lastLine;
    };
    const Case cases[] = {
        {"no manufacturer section", "[Models]\nx=y\n", kPrinter, 3,
         "OstrafelEngine::getManufacturers: could not find manufacturer section: Manufacturer"},
        // The script is read before the printer: a missing printer still gives 3 here.
        {"no manufacturer, unknown printer", "[Models]\n", "No Such Printer", 3,
         "OstrafelEngine::getManufacturers: could not find manufacturer section: Manufacturer"},
        {"unknown printer", Script(kDriver), "No Such Printer", 2,
         "OstrafelApp::getPrinterInfo: OpenPrinter of No Such Printer failed with error code 1801"},
        {"driver in no models section", Script("Some Other Driver"), kPrinter, 4,
         "Command line: " + ScriptArg() + " -n \"" + kPrinter + "\""},
        // The value after the comma is part of the models section's name.
        {"models section with platform suffix",
         "[Manufacturer]\nQelbrin=QelbrinModels,NTx86\n[QelbrinModels]\n\"" + std::string(kDriver) +
             "\"=Drv_Install\n[Drv_Install]\n",
         kPrinter, 4, "Command line: " + ScriptArg() + " -n \"" + kPrinter + "\""},
        {"empty install-section field", "[Manufacturer]\nM\n[M]\n\"" + std::string(kDriver) + "\"=, x\n",
         kPrinter, 4, "Command line: " + ScriptArg() + " -n \"" + kPrinter + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteScript(c.script);
        EXPECT_EQ(c.exitCode, Run(ScriptArg() + " -n \"" + c.printer + "\""));
        std::vector<std::string> log = Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(c.lastLine, log.back());
        EXPECT_TRUE(LinesStartingWith(log, "GenericInfo::Process").empty());
    }
}

TEST_F(PostInstallRun, CommandLineRejectionsExitWithOne)
{
    WriteScript(Script(kDriver));
    struct Case {
        std::string args;
        std::vector<std::string> tail;
    };
    const Case cases[] = {
        {"-n \"" + std::string(kPrinter) + "\"", {"parseCommandLine: could not load INF: "}},
        {ScriptArg() + " -N", {"parseCommandLine: no printer name specified."}},
        {"-i \"" + dir_.Path() + "\\none.inf\" -n P",
         {"parseCommandLine: could not load INF: " + dir_.Path() + "\\none.inf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(1, Run(c.args));
        std::vector<std::string> log = Log();
        ASSERT_GE(log.size(), c.tail.size());
        EXPECT_EQ(c.tail, std::vector<std::string>(log.end() - c.tail.size(), log.end()));
    }
}

TEST_F(PostInstallRun, ALogFileIsMadeOnlyWhenTheSwitchNamesOne)
{
    WriteScript(Script(kDriver));
    qvtest::DeleteHklmValue(kSwitchKey, "OstrafelDebug");
    EXPECT_EQ(0, Run(ScriptArg() + " -n \"" + kPrinter + "\""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(log_.c_str()));

    ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "OstrafelDebug", ""));
    EXPECT_EQ(1, Run("-n x"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(log_.c_str()));
}

TEST_F(PostInstallRun, LanguageStringsFollowTheInstallLanguage)
{
    ASSERT_TRUE(qvtest::SetHklmString(kSwitchKey, "InstallLanguageISO", "de_DE"));
    WriteScript(Script(kDriver));
    ASSERT_EQ(0, Run(ScriptArg() + " -p LPT1: -n \"" + kPrinter + "\""));
    std::vector<std::string> log = Log();
    const std::vector<std::string> expected = {
        "OstrafelEngine::getStrings: Language Codes Found",
        "\tHex Country code: 0007",
        "\tHex Language code: 0007",
        "\tISO code: de_DE",
    };
    auto first = std::find(log.begin(), log.end(), expected[0]);
    ASSERT_NE(log.end(), first);
    EXPECT_EQ(expected, std::vector<std::string>(first, first + std::min<size_t>(4, log.end() - first)));
}

}  // namespace
