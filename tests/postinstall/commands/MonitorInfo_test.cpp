#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "commands/MonitorInfo.h"
#include "services/MonitorAction.h"

namespace {

using printertest::HasLine;

// Wine's spooler always has this monitor.
const char* const kMonitor = "Local Port";

TEST(MonitorAction, NamesMatchExactly)
{
    enginetest::LogCapture log;
    EXPECT_TRUE(MonitorAction::MonitorExists(kMonitor));
    EXPECT_FALSE(MonitorAction::MonitorExists("local port"));
    EXPECT_FALSE(MonitorAction::MonitorExists("Local Port "));
    EXPECT_FALSE(MonitorAction::MonitorExists(""));
}

class MonitorInfoTest : public printertest::EngineFixture {
protected:
    void SetUp() override
    {
        driver_ = printertest::Unique("Qel Monitor Driver");
        printerName_ = printertest::Unique("Qel Monitor Printer");
        ASSERT_TRUE(printertest::InstallDriverWithDependents(driver_, {"qelmon_a.dat"}));
        ASSERT_TRUE(qvtest::AddTestPrinter(printerName_, driver_));
        LoadScript({driver_}, "");
        snapshot_ = printertest::ReadDriver(driver_);
        printer_ = printertest::ReadPrinter(printerName_);
        ASSERT_TRUE(snapshot_.info && printer_.info);
        ASSERT_EQ(0u, printer_.info->Attributes & 0x800);
    }
    DriverRecord Record() { return DriverRecord{reinterpret_cast<DRIVER_INFO_3A*>(snapshot_.info), 6}; }

    std::string driver_, printerName_;
    printertest::DriverSnapshot snapshot_;
    printertest::PrinterSnapshot printer_;
};

TEST_F(MonitorInfoTest, ReRegistersTheDriverWithTheMonitorAndSwitchesOnBidi)
{
    MonitorInfo handler(&engine_, printer_.info, Record());
    EXPECT_TRUE(handler.HandleCommand({kMonitor, "1"})) << log_.Text();
    EXPECT_STREQ(kMonitor, snapshot_.info->pMonitorName);
    EXPECT_STREQ(kMonitor, printertest::ReadDriver(driver_).info->pMonitorName);
    EXPECT_TRUE(HasLine(log_.Text(), "MonitorInfo::HandleCommand: Printer " + printerName_ + " needs an update!"));
    EXPECT_EQ(0x800u, printertest::ReadPrinter(printerName_).info->Attributes & 0x800);
    EXPECT_EQ(0x800u, printer_.info->Attributes & 0x800);
}

// A record already naming the monitor is not added again (a driver of an unknown name would
// appear in the spooler if it were), and a printer that has bidi is not opened.
TEST_F(MonitorInfoTest, NothingToChangeTouchesNothing)
{
    const std::string unregistered = printertest::Unique("Qel Never Added");
    snapshot_.info->pName = const_cast<char*>(unregistered.c_str());
    snapshot_.info->pMonitorName = const_cast<char*>(kMonitor);
    const std::string gone = printertest::Unique("Qel Never Opened");
    printer_.info->pPrinterName = const_cast<char*>(gone.c_str());
    printer_.info->Attributes |= 0x800;

    MonitorInfo handler(&engine_, printer_.info, Record());
    EXPECT_TRUE(handler.HandleCommand({kMonitor, "1"})) << log_.Text();
    EXPECT_FALSE(printertest::ReadDriver(unregistered).info);
    EXPECT_EQ(log_.Text().find("needs an update"), std::string::npos) << log_.Text();
    EXPECT_EQ(log_.Text().find("OpenPrinter"), std::string::npos) << log_.Text();
}

TEST_F(MonitorInfoTest, FailuresStopBeforeTheBidiStep)
{
    struct Case {
        CStdStringList arguments;
        bool withDriver;
        std::string line;
    };
    const Case cases[] = {
        {{kMonitor}, true, "MonitorInfo::HandleCommand: not enough arguments!"},
        {{kMonitor, "1"}, false, "MonitorInfo::HandleCommand: bad parameters"},
        {{"local port", "1"}, true, "MonitorInfo::HandleCommand: local port does not exist."},
    };
    for (const Case& c : cases) {
        MonitorInfo handler(&engine_, printer_.info, c.withDriver ? Record() : DriverRecord{});
        EXPECT_FALSE(handler.HandleCommand(c.arguments)) << c.line;
        EXPECT_TRUE(HasLine(log_.Text(), c.line)) << log_.Text();
    }

    // A dependent file that cannot be staged fails the re-registration.
    std::string missing = std::string("qelmon_nowhere.dat") + '\0' + '\0';
    snapshot_.info->pDependentFiles = missing.data();
    MonitorInfo handler(&engine_, printer_.info, Record());
    EXPECT_FALSE(handler.HandleCommand({kMonitor, "1"}));
    const std::vector<std::string> lines = printertest::Lines(log_.Text());
    auto at = std::find(lines.begin(), lines.end(), "MonitorInfo::HandleCommand: unable to update driver.");
    ASSERT_NE(lines.end(), at) << log_.Text();
    ASSERT_GE(lines.end() - at, 3);
    EXPECT_EQ("\tDriver name: " + driver_, at[1]);
    EXPECT_EQ(std::string("\tMonitor name: ") + kMonitor, at[2]);
    EXPECT_EQ(0u, printertest::ReadPrinter(printerName_).info->Attributes & 0x800);
}

}  // namespace
