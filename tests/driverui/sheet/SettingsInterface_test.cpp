// A sheet on the settings-interface library: the stand-in QVTDX5UI.DLL copied beside the suite's
// driver library, asked for its interface, given the callback, sent the sheet's reasons, and
// released with the sheet; a library that cannot add its pages leaves the driver's own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"
#include "SheetFixture.h"

namespace sheettest {
namespace {

using ::testing::Contains;
using ::testing::IsSupersetOf;

class SettingsInterfaceTest : public SheetLibraryTest {
protected:
    void SetUp() override
    {
        SheetLibraryTest::SetUp();
        ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\optional\\QVTDX5UI.DLL").c_str(),
                              Dir().File("QVTDX5UI.DLL").c_str(), FALSE));
        SetEnvironmentVariableA("QVSIBLING_RECORD", record_.c_str());
        SetEnvironmentVariableA("QVSETTINGS_INTERFACE", "1");
        SetEnvironmentVariableA("QVSETTINGS_REQUESTS", "2:0,100:0,100:1,7:2");
    }
    void TearDown() override
    {
        for (const char* name : {"QVSIBLING_RECORD", "QVSETTINGS_INTERFACE", "QVSETTINGS_REQUESTS", "QVSETTINGS_ADD_FAILS"})
            SetEnvironmentVariableA(name, nullptr);
        DeleteFileA(Dir().File("QVTDX5UI.DLL").c_str());
        DeleteFileA(record_.c_str());
        SheetLibraryTest::TearDown();
    }
    std::vector<std::string> Recorded() const { return qvtest::Lines(qvtest::ReadFile(record_).value_or("")); }

    const std::string record_ = Dir().File("settings-record.txt");
};

TEST_F(SettingsInterfaceTest, TheInterfaceAddsThePagesAndTheBridgeAnswersItsRequests)
{
    HANDLE printer = Printer(kDesktop);
    Sheet sheet(documentSheets_, printer, Name());
    EXPECT_EQ(sheet.Init(), 1);
    EXPECT_EQ(service_.pages, 0);
    EXPECT_EQ(sheet.Info().Result, 0);
    ASSERT_TRUE(sheet.Context());
    EXPECT_EQ(sheet.Reason(PROPSHEETUI_REASON_GET_INFO_HEADER), 1);
    EXPECT_EQ(sheet.Destroy(), 1);
    EXPECT_THAT(Recorded(), IsSupersetOf({std::string("attach QVTDX5UI.DLL"), std::string("SetCallback"),
                                          std::string("AddDocumentPages 0"),
                                          std::string("request 2 0 -> 0 text \"DocProps\""),
                                          std::string("request 100 0 -> 0 int16 1"),
                                          std::string("request 100 1 -> 0 int16 1"),
                                          std::string("SettingsChanged bool 0"),
                                          std::string("request 7 2 -> 2147942487 none"),
                                          std::string("AddDocumentPages 1"), std::string("AddDocumentPages 2"),
                                          std::string("Release"), std::string("detach QVTDX5UI.DLL")}));
}

TEST_F(SettingsInterfaceTest, ADeviceSheetAsksForTheDevicePages)
{
    SetEnvironmentVariableA("QVSETTINGS_REQUESTS", "2:0");
    HANDLE printer = Printer(kDesktop);
    Sheet sheet(deviceSheets_, printer, Name());
    sheet.AsDevice();
    EXPECT_EQ(sheet.Init(), 1);
    EXPECT_EQ(sheet.Destroy(), 1);
    EXPECT_THAT(Recorded(), IsSupersetOf({std::string("AddDevicePages 0"),
                                          std::string("request 2 0 -> 0 text \"PrintProps\""),
                                          std::string("AddDevicePages 2"), std::string("Release")}));
}

TEST_F(SettingsInterfaceTest, PagesTheInterfaceCannotAddAreTheDriversOwn)
{
    SetEnvironmentVariableA("QVSETTINGS_ADD_FAILS", "1");
    HANDLE printer = Printer(kDesktop);
    Sheet sheet(documentSheets_, printer, Name());
    EXPECT_EQ(sheet.Init(), 1);
    EXPECT_GT(service_.pages, 0);
    EXPECT_EQ(sheet.Destroy(), 1);
    const std::vector<std::string> lines = Recorded();
    EXPECT_THAT(lines, Contains("Release"));
    EXPECT_THAT(lines, Contains("detach QVTDX5UI.DLL"));
    EXPECT_THAT(lines, ::testing::Not(Contains("AddDocumentPages 2")));
}

}  // namespace
}  // namespace sheettest
