// The uninstaller command with packages built here around the install-engine stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CallRecord.h"
#include "FileFixtures.h"

#include <windows.h>

#include <string>

#include "../services/ZipWriter.h"
#include "PrinterCommandFixture.h"
#include "commands/UninstallInfo.h"
#include "services/SystemPath.h"

namespace {

using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::WriteBytes;
using printertest::HasLine;
using ::testing::ElementsAre;

int CountLines(const std::string& log, const std::string& line)
{
    int n = 0;
    for (const std::string& l : printertest::Lines(log))
        n += l == line;
    return n;
}

const char kFlushLine[] = "OstrafelEngine::flushLogOps: logging operations...";

class UninstallTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        LoadScript({"Qel Uninstall Driver"}, "");
        // Something for the log library to receive, so each flush shows in the log.
        engine_.AddLogOp(LogOp::File, "C:\\qv\\file.dll", "Uninstaller", true);
    }
    // A package holding the given engine library as Install\x86\Engine.dll.
    std::string Package(const std::string& name, const std::string& engineFile)
    {
        const std::string engine = ReadBytes(qvtest::BinDir() + "\\" + engineFile);
        EXPECT_FALSE(engine.empty());
        const std::string path = dir_.File(name);
        EXPECT_TRUE(WriteBytes(path, ziptest::BuildZip({ziptest::Deflated("Install/x86/Engine.dll", engine),
                                                         ziptest::Stored("Uninst.txt", "uninstaller")})));
        return path;
    }
    static std::string Extracted(const std::string& packageName)
    {
        return SystemPath(22).directory() + "\\" + packageName + "_Extracted";
    }

    TempDir dir_;
    qvtest::CallRecord engineCalls_{"QVENGINE_RECORD", dir_.File("engine.txt")};
};

TEST_F(UninstallTest, TheEngineGetsItsFolderLanguageAndScriptAndTheFolderGoesAfterwards)
{
    const std::string package = Package("Unst.zip", "Engine.dll");
    SetEnvironmentVariableA("QVENGINE_ERROR", "17");
    UninstallInfo handler(&engine_);
    EXPECT_TRUE(handler.HandleCommand({package, "QV5"}));
    SetEnvironmentVariableA("QVENGINE_ERROR", nullptr);

    const std::string extracted = Extracted("Unst.zip");
    const std::string script = extracted + "\\Temp.isf";
    EXPECT_THAT(engineCalls_.Calls(),
                ElementsAre("SetWorkingDirA\t" + extracted + "\\Install\\x86",
                            "SetLanguageA\t" + engine_.LanguageIso(),
                            "DoInstallA\t" + script + "\t\t\t[Install]\\r\\nUninstaller=1\\r\\n\\r\\n",
                            "GetErrorCode"));
    EXPECT_TRUE(HasLine(log_.Text(), "UninstallerInfo::HandleCommand: installation returned code 17"));
    EXPECT_FALSE(qvtest::IsThere(extracted));
    EXPECT_EQ(1, CountLines(log_.Text(), kFlushLine));
}

TEST_F(UninstallTest, EveryLineFlushesAlsoWhenTheEngineCannotRun)
{
    UninstallInfo handler(&engine_);
    // A damaged archive: nothing for the engine, the partial folder removed all the same.
    const std::string damaged = dir_.File("Broken.zip");
    ziptest::Entry bad = ziptest::Stored("Install/x86/Engine.dll", "not really a library");
    bad.crc = 1;
    ASSERT_TRUE(WriteBytes(damaged, ziptest::BuildZip({ziptest::Stored("first.txt", "ok"), bad})));
    EXPECT_TRUE(handler.HandleCommand({damaged}));
    EXPECT_TRUE(HasLine(log_.Text(), "UninstallerInfo::HandleCommand: could not extract " + damaged + " to " +
                                         Extracted("Broken.zip")));
    EXPECT_FALSE(qvtest::IsThere(Extracted("Broken.zip")));

    // A package without the engine: the load fails and every call says the library is missing.
    const std::string empty = dir_.File("Empty.zip");
    ASSERT_TRUE(WriteBytes(empty, ziptest::BuildZip({ziptest::Stored("readme.txt", "no engine")})));
    EXPECT_TRUE(handler.HandleCommand({empty}));
    const std::string log = log_.Text();
    EXPECT_NE(std::string::npos, log.find("InstallEngine::loadTheDll: could not load " + Extracted("Empty.zip") +
                                          "\\Install\\x86\\Engine.dll (error code: "));
    EXPECT_EQ(4, CountLines(log, "InstallEngine::ourGetProcAddress: DLL has not been loaded."));
    EXPECT_TRUE(HasLine(log, "UninstallerInfo::HandleCommand: installation returned code 0"));

    // An engine without GetErrorCode reads as code 0.
    EXPECT_TRUE(handler.HandleCommand({Package("NoCode.zip", "EngineNoCode.dll")}));
    EXPECT_EQ(2, CountLines(log_.Text(), "UninstallerInfo::HandleCommand: installation returned code 0"));

    EXPECT_TRUE(engineCalls_.Calls().size() == 3u);
    EXPECT_EQ(3, CountLines(log_.Text(), kFlushLine));

    EXPECT_FALSE(handler.HandleCommand({}));
    EXPECT_TRUE(HasLine(log_.Text(), "UninstallInfo::HandleCommand: not enough arguments!"));
    EXPECT_EQ(3, CountLines(log_.Text(), kFlushLine));
}

TEST_F(UninstallTest, TheInstallFolderSettingInItsSectionIsNotACommand)
{
    UninstallInfo handler(&engine_);
    EXPECT_TRUE(handler.ParseCommand("QelInstallDir=2500,Qelbrin\\QV5"));
    EXPECT_TRUE(handler.ParseCommand(" qelinstalldir = 2500"));
    EXPECT_EQ(0, CountLines(log_.Text(), kFlushLine));
    EXPECT_FALSE(handler.ParseCommand("Other=1,2"));
}

}  // namespace
