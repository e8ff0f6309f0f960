// The run-program command with the launch test program, and its driver keywords.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PrinterCommandFixture.h"
#include "ProgramStarts.h"
#include "commands/RunExeInfo.h"
#include "services/OSInfo.h"

namespace {

using printertest::HasLine;
using qvtest::StartLog;
using qvtest::TestProgramPath;

class RunExeTest : public printertest::EngineFixture {
protected:
    void SetUp() override { LoadScript({"Qel Run Driver"}, ""); }
    StartLog starts_;
};

TEST_F(RunExeTest, AProgramPathAloneRunsWithoutActivationAndIsWaitedFor)
{
    RunExeInfo handler(&engine_, 0);
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath()}));
    const auto starts = starts_.Starts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(SW_SHOWNA, starts[0].show);
    // The program's own folder is current while it starts.
    EXPECT_TRUE(EqualNoCase(qvtest::BinDir(), starts[0].directory)) << starts[0].directory;
    EXPECT_TRUE(HasLine(log_.Text(), "RunProgramInfo: " + TestProgramPath() + "  returned 0 (error code 0)"));
}

TEST_F(RunExeTest, ExitAndErrorCodesAreLoggedButNeverFailTheCommand)
{
    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath(), "--exit=7 100%done", "1", "1", "WIN32"}));
    EXPECT_TRUE(
        HasLine(log_.Text(), "RunProgramInfo: " + TestProgramPath() + " --exit=7 100%done returned 7 (error code 0)"));
    const auto starts = starts_.Starts();
    ASSERT_EQ(1u, starts.size());
    // Parameters are passed as written: no macro expansion touches the percent sign.
    EXPECT_EQ("\"" + TestProgramPath() + "\" --exit=7 100%done", starts[0].commandLine);
    EXPECT_EQ(SW_SHOWNORMAL, starts[0].show);

    const std::string missing = qvtest::BinDir() + "\\no such program.exe";
    EXPECT_TRUE(handler.HandleCommand({missing, "/q"}));
    EXPECT_TRUE(HasLine(log_.Text(), "RunProgramInfo: " + missing + " /q returned 0 (error code 2)"));
    // The driver keywords count only in capitals; in lower case they are a program name.
    EXPECT_TRUE(handler.HandleCommand({"driver_doc_prop"}));
    EXPECT_TRUE(HasLine(log_.Text(), "RunProgramInfo: driver_doc_prop  returned 0 (error code 2)"));
}

TEST_F(RunExeTest, APathWithBlanksRunsThatProgramWhateverLiesBeforeTheBlank)
{
    qvtest::TempDir dir;
    const std::string folder = dir.Path() + "\\Some Tools";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(TestProgramPath().c_str(), (folder + "\\prog.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(TestProgramPath().c_str(), (dir.Path() + "\\Some.exe").c_str(), FALSE));

    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({folder + "\\prog.exe", "--exit=4"}));
    const auto starts = starts_.Starts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_TRUE(EqualNoCase(folder + "\\prog.exe", starts[0].program)) << starts[0].program;
    EXPECT_TRUE(HasLine(log_.Text(), "RunProgramInfo: " + folder + "\\prog.exe --exit=4 returned 4 (error code 0)"));
}

TEST_F(RunExeTest, NotWaitingLogsThatTheProgramRan)
{
    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath(), "--exit=3", "0", "0"}));
    EXPECT_TRUE(HasLine(log_.Text(), "RunProgramInfo: " + TestProgramPath() + " --exit=3 ran.  (Error code 0)"));
    for (int i = 0; i < 100 && starts_.Starts().empty(); ++i)
        Sleep(50);
    EXPECT_EQ(1u, starts_.Starts().size());
}

TEST_F(RunExeTest, UnattendedRunsOnlyLinesMeantForIt)
{
    engine_.parseCommandLine("-s");
    ASSERT_TRUE(engine_.IsUnattended());
    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath(), "--exit=1", "0", "1", "", "0"}));
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath(), "--exit=2", "0", "1", "", "1"}));
    EXPECT_TRUE(handler.HandleCommand({TestProgramPath(), "--exit=3"}));
    const auto starts = starts_.Starts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_NE(std::string::npos, starts[0].commandLine.find("--exit=2"));
    EXPECT_NE(std::string::npos, starts[1].commandLine.find("--exit=3"));
}

TEST_F(RunExeTest, ProgramTypesSelectCreationFlags)
{
    const std::pair<const char*, unsigned long> cases[] = {
        {"DOS", 0x800}, {"dos", 0x800}, {"Win16", 0x800}, {"WIN32", 0x28}, {"OS/2", 0x28}, {"", 0x28}};
    for (const auto& [type, flags] : cases)
        EXPECT_EQ(flags, RunExeInfo::CreationFlagsFor(type)) << type;
}

TEST_F(RunExeTest, MissingProgramFails)
{
    RunExeInfo handler(&engine_, 0);
    EXPECT_FALSE(handler.HandleCommand({}));
    EXPECT_TRUE(HasLine(log_.Text(), "RunAppInfo::HandleCommand: Not enough arguments!"));
}

// Records the dialog call instead of showing the modal dialog.
std::string gDialogPrinter;
int gDialogCalls = 0;
long FakeDocumentProperties(void* printer, const CStdStr& name)
{
    ++gDialogCalls;
    gDialogPrinter = printer ? name : "(no handle)";
    return 1;
}

class DriverKeywordTest : public RunExeTest {
protected:
    void SetUp() override
    {
        RunExeTest::SetUp();
        printer_ = printertest::Unique("Qel Run Printer");
        ASSERT_TRUE(qvtest::InstallTestDriver("Qel Run Driver"));
        ASSERT_TRUE(qvtest::AddTestPrinter(printer_, "Qel Run Driver"));
        engine_.parseCommandLine("-n \"" + printer_ + "\"");
        ASSERT_EQ(printer_, engine_.PrintObjectName());
        gDialogCalls = 0;
        gDialogPrinter.clear();
        previous_ = RunExeInfo::DocumentPropertiesFn;
        RunExeInfo::DocumentPropertiesFn = &FakeDocumentProperties;
    }
    void TearDown() override
    {
        RunExeInfo::DocumentPropertiesFn = previous_;
        qvtest::DeleteTestPrinter(printer_);
    }
    std::string printer_;
    RunExeInfo::DocumentPropertiesHook previous_ = nullptr;
};

TEST_F(DriverKeywordTest, DocumentPropertiesOpenForThePrinterOnNtOnly)
{
    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({"DRIVER_DOC_PROP"}));
    EXPECT_EQ(1, gDialogCalls);
    EXPECT_EQ(printer_, gDialogPrinter);
    // The other keywords open the printer but show nothing; none starts a program.
    EXPECT_TRUE(handler.HandleCommand({"DRIVER_ADV_DOC_PROP"}));
    EXPECT_TRUE(handler.HandleCommand({"DRIVER_PTR_PROP"}));
    EXPECT_EQ(1, gDialogCalls);
    EXPECT_TRUE(starts_.Starts().empty());

    OSInfo::ScopedOverride win98(OSInfo::Win98);
    EXPECT_TRUE(handler.HandleCommand({"DRIVER_DOC_PROP"}));
    EXPECT_EQ(1, gDialogCalls);
}

TEST_F(DriverKeywordTest, APrinterThatCannotBeOpenedIsLoggedAndTheCommandStillSucceeds)
{
    engine_.parseCommandLine("-n \"No Such Qel Printer\"");
    RunExeInfo handler(&engine_, 1);
    EXPECT_TRUE(handler.HandleCommand({"DRIVER_DOC_PROP"}));
    EXPECT_EQ(0, gDialogCalls);
    const std::string log = log_.Text();
    EXPECT_NE(std::string::npos,
              log.find("RunAppInfo::runDriver: OpenPrinter of No Such Qel Printer failed with code "));
}

}  // namespace
