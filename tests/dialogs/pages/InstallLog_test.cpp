// The install-log registration both driver libraries share, against the install-log stand-in in
// the system directory: the section, the component, the registry line, and the 260-character
// buffers every text passes through (a text that does not fit is left out, never cut).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CallRecord.h"
#include "InstallLog.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

namespace {

using ::testing::ElementsAre;
constexpr char kDriver[] = "Qelbrin install log test driver";

class InstallLogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ready_ = qvtest::InstallTestDriver(kDriver); }
    void SetUp() override
    {
        ASSERT_TRUE(ready_);
        char dir[MAX_PATH] = "";
        GetSystemDirectoryA(dir, MAX_PATH);
        placed_ = std::string(dir) + "\\QELLOG.DLL";
        ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QELLOG.DLL").c_str(), placed_.c_str(), FALSE));
        printer_ = printers_.Open(printers_.Add(kDriver, "QV install log printer"));
        ASSERT_TRUE(printer_);
    }
    void TearDown() override { DeleteFileA(placed_.c_str()); }

    static inline bool ready_ = false;
    std::string placed_;
    qvtest::TempDir dir_;
    qvtest::CallRecord record_{"QELLOG_RECORD", dir_.File("log.txt")};
    qvtest::TestPrinters printers_;
    HANDLE printer_ = nullptr;
};

TEST_F(InstallLogTest, AFileAndARegistryEntryOfThePrinter)
{
    installlog::RegisterWithInstallLog(printer_, "", installlog::LogKind::Printer,
                                       {"C:\\qv\\fonts.pcl", "hkcu", "Software\\Qelbrin\\QV", std::string("Fonts")});
    EXPECT_THAT(record_.Calls(),
                ElementsAre("FindLogFile\tQelbrin\t2", "AddFile\tPrinter QV install log printer\tC:\\qv\\fonts.pcl",
                            "AddRegistry\tPrinter QV install log printer\thkcu, \"Software\\Qelbrin\\QV\", Fonts"));
}

TEST_F(InstallLogTest, TextsAreBoundedByTheirBuffers)
{
    const std::string fits = "C:\\" + std::string(256, 'f');  // 259 characters and the terminator
    const std::string over = fits + "g";
    installlog::RegisterWithInstallLog(printer_, "P", installlog::LogKind::Printer, {fits, {}, {}, {}});
    installlog::RegisterWithInstallLog(printer_, "P", installlog::LogKind::Printer, {over, {}, {}, {}});
    installlog::RegisterWithInstallLog(printer_, std::string(260, 'p'), installlog::LogKind::Printer,
                                       {"C:\\a", {}, {}, {}});
    installlog::RegisterWithInstallLog(printer_, "P", installlog::LogKind::Printer,
                                       {{}, "hkcu", std::string(250, 'k'), std::string("value")});
    EXPECT_THAT(record_.Calls(), ElementsAre("FindLogFile\tQelbrin\t2", "AddFile\tPrinter P\t" + fits,
                                             "FindLogFile\tQelbrin\t2", "FindLogFile\tQelbrin\t2"))
        << "the longer file, the longer section and the longer line are left out";
}

TEST_F(InstallLogTest, WideTextsInTheAnsiCodePage)
{
    EXPECT_EQ(installlog::Narrow(L"Printer \u00e9"), "Printer \xe9");
    EXPECT_EQ(installlog::Narrow(nullptr), "");
    EXPECT_EQ(installlog::Narrow(L""), "");
}

TEST_F(InstallLogTest, NothingWithoutAPrinterOrForAnotherKind)
{
    installlog::RegisterWithInstallLog(nullptr, "P", installlog::LogKind::Driver, {"C:\\a", {}, {}, {}});
    installlog::RegisterWithInstallLog(printer_, "P", installlog::LogKind(3), {"C:\\a", {}, {}, {}});
    EXPECT_TRUE(record_.Calls().empty());
}

}  // namespace
