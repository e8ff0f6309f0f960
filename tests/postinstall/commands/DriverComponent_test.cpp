#include <gtest/gtest.h>

#include "PrinterCommandFixture.h"
#include "services/DriverComponent.h"
#include "services/OSInfo.h"
#include "services/SystemPath.h"

namespace {

using printertest::HasLine;

TEST(DriverFitsOS, VersionMustMatchThePlatformFamily)
{
    struct Case {
        OSInfo::Code os;
        DWORD version;
        bool fits;
    };
    const Case cases[] = {
        {OSInfo::Win95, 0, true}, {OSInfo::Win98, 3, true},  {OSInfo::WinMe, 2, true},
        {OSInfo::NT4, 2, true},   {OSInfo::NT4, 3, false},   {OSInfo::Win2000, 3, true},
        {OSInfo::WinXP, 2, false}, {OSInfo::Vista, 3, true}, {OSInfo::Unknown, 3, false},
    };
    for (const Case& c : cases) {
        OSInfo::ScopedOverride os(c.os);
        EXPECT_EQ(c.fits, DriverFitsOS(c.version)) << "os " << c.os << " version " << c.version;
    }
}

TEST(ParseNumberText, HexOnlyWithAnXInSecondPlace)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"0x10", 16}, {"0X00010001", 0x10001}, {"10", 10}, {" 7", 7}, {"0x", 0}, {"x10", 0}, {"abc", 0}, {"", 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(number, ParseNumberText(text)) << text;
}

class UpdatePrinterDriverTest : public printertest::EngineFixture {
protected:
    // A file in a directory that exists, with the given content.
    static std::string Put(const PathObject& dir, const std::string& name, const std::string& content)
    {
        CreateDirectoryA(dir.directory().c_str(), nullptr);
        PathObject file = dir;
        file.SetName(name);
        EXPECT_TRUE(qvtest::WriteFile(file.FullPath(), content));
        return file.FullPath();
    }
    static std::string At(const PathObject& dir, const std::string& name)
    {
        PathObject file = dir;
        file.SetName(name);
        return file.FullPath();
    }
};

TEST_F(UpdatePrinterDriverTest, DriverOfAnotherPlatformIsLeftAlone)
{
    const std::string name = printertest::Unique("Qel Alt Driver");
    DRIVER_INFO_6A record{};
    record.cVersion = 2;
    record.pName = const_cast<char*>(name.c_str());
    record.pEnvironment = const_cast<char*>("Windows NT x86");
    OSInfo::ScopedOverride os(OSInfo::WinXP);
    EXPECT_TRUE(DriverComponent::UpdatePrinterDriver(reinterpret_cast<DRIVER_INFO_3A*>(&record), 6));
    EXPECT_TRUE(HasLine(log_.Text(), "UpdatePrinterDriver: not updating alt driver " + name + " (version 2): wrong OS"));
    EXPECT_FALSE(printertest::ReadDriver(name).info);
}

// Windows 2000 and later: dependent files and then the four main files are staged into the
// printer-driver directory; one already there is kept, then the driver is added again.
TEST_F(UpdatePrinterDriverTest, StagesDependentAndMainFilesThenAddsTheDriverAgain)
{
    const std::string name = printertest::Unique("Qel Stage Driver");
    ASSERT_TRUE(printertest::InstallDriverWithDependents(name, {"qelstage_a.dat"}));
    OSInfo::ScopedOverride os(OSInfo::WinXP);
    const PathObject staged = SystemPath(11), versioned = SystemPath(12);
    const std::string fresh = "qs" + std::to_string(GetTickCount() % 100000) + ".dat";
    const std::string kept = "k" + fresh;
    Put(versioned, fresh, "new dependent");
    Put(versioned, kept, "versioned copy");
    Put(staged, kept, "already staged");

    printertest::DriverSnapshot driver = printertest::ReadDriver(name);
    ASSERT_TRUE(driver.info);
    std::string list = fresh + '\0' + At(versioned, kept) + '\0' + '\0';
    driver.info->pDependentFiles = list.data();
    ASSERT_TRUE(DriverComponent::UpdatePrinterDriver(reinterpret_cast<DRIVER_INFO_3A*>(driver.info), 6))
        << log_.Text();

    EXPECT_EQ("new dependent", qvtest::ReadFile(At(staged, fresh)).value_or(""));
    EXPECT_EQ("already staged", qvtest::ReadFile(At(staged, kept)).value_or(""));
    for (const char* main : {"qvtestcfg32.dll", "qvtestdrv32.dll", "qvtest32.dat", "qvtest.hlp"})
        EXPECT_TRUE(qvtest::ReadFile(At(staged, main))) << main;
    EXPECT_EQ((std::vector<std::string>{fresh, kept}), printertest::ReadDriver(name).DependentFileNames());
}

TEST_F(UpdatePrinterDriverTest, MissingDependentFileStopsTheUpdate)
{
    const std::string name = printertest::Unique("Qel Missing Dep Driver");
    ASSERT_TRUE(printertest::InstallDriverWithDependents(name, {"qelmissing_a.dat"}));
    OSInfo::ScopedOverride os(OSInfo::WinXP);
    printertest::DriverSnapshot driver = printertest::ReadDriver(name);
    ASSERT_TRUE(driver.info);
    std::string list = std::string("qel_nowhere.dat") + '\0' + '\0';
    driver.info->pDependentFiles = list.data();
    EXPECT_FALSE(DriverComponent::UpdatePrinterDriver(reinterpret_cast<DRIVER_INFO_3A*>(driver.info), 6));
    EXPECT_TRUE(HasLine(log_.Text(), "DriverComponent::UpdatePrinterDriver: dependent file not found: " +
                                         At(SystemPath(12), "qel_nowhere.dat")));
    EXPECT_EQ(std::vector<std::string>{"qelmissing_a.dat"}, printertest::ReadDriver(name).DependentFileNames());
}

// NT 4 (level 3, version 2): only the dependent files are staged, from the "\2" directory.
TEST_F(UpdatePrinterDriverTest, Nt4StagesOnlyDependentFiles)
{
    const std::string name = printertest::Unique("Qel NT4 Driver");
    OSInfo::ScopedOverride os(OSInfo::NT4);
    const PathObject staged = SystemPath(11), versioned = SystemPath(12);
    ASSERT_EQ(staged.directory() + "\\2", versioned.directory());
    const std::string dep = "qn" + std::to_string(GetTickCount() % 100000) + ".dat";
    Put(versioned, dep, "nt4 dependent");
    std::string list = dep + '\0' + '\0';
    DRIVER_INFO_3A record{};
    record.cVersion = 2;
    record.pName = const_cast<char*>(name.c_str());
    record.pEnvironment = const_cast<char*>("Windows NT x86");
    record.pDriverPath = const_cast<char*>("C:\\nowhere\\qeldrv.dll");  // never looked at on NT 4
    record.pDataFile = const_cast<char*>("C:\\nowhere\\qeldrv.dat");
    record.pConfigFile = const_cast<char*>("C:\\nowhere\\qelcfg.dll");
    record.pDependentFiles = list.data();
    EXPECT_TRUE(DriverComponent::UpdatePrinterDriver(&record, 3)) << log_.Text();
    EXPECT_EQ("nt4 dependent", qvtest::ReadFile(At(staged, dep)).value_or(""));
    EXPECT_TRUE(printertest::ReadDriver(name).info);
}

// The 9x family stages nothing: files missing everywhere do not stop the add.
TEST_F(UpdatePrinterDriverTest, Win9xStagesNothing)
{
    const std::string name = printertest::Unique("Qel 9x Driver");
    OSInfo::ScopedOverride os(OSInfo::Win98);
    std::string list = std::string("qel9x_nowhere.dat") + '\0' + '\0';
    DRIVER_INFO_3A record{};
    record.pName = const_cast<char*>(name.c_str());
    record.pEnvironment = const_cast<char*>("Windows 4.0");
    record.pDriverPath = const_cast<char*>("qel9x.drv");
    record.pDataFile = const_cast<char*>("qel9x.dat");
    record.pConfigFile = const_cast<char*>("qel9x.drv");
    record.pDependentFiles = list.data();
    EXPECT_TRUE(DriverComponent::UpdatePrinterDriver(&record, 3)) << log_.Text();
    EXPECT_TRUE(printertest::ReadDriver(name, "Windows 4.0", 3).info);
    EXPECT_FALSE(qvtest::ReadFile(At(SystemPath(11), "qel9x_nowhere.dat")));
}

// Vista uses the extended add; a spooler library or entry that cannot be had is a failure.
TEST_F(UpdatePrinterDriverTest, VistaAddsThroughTheExtendedEntry)
{
    const std::string name = printertest::Unique("Qel Vista Driver");
    ASSERT_TRUE(printertest::InstallDriverWithDependents(name, {"qelvista_a.dat"}));
    OSInfo::ScopedOverride os(OSInfo::Vista);
    printertest::DriverSnapshot driver = printertest::ReadDriver(name);
    ASSERT_TRUE(driver.info);
    auto* record = reinterpret_cast<DRIVER_INFO_3A*>(driver.info);
    EXPECT_TRUE(DriverComponent::UpdatePrinterDriver(record, 6)) << log_.Text();
    EXPECT_TRUE(HasLine(log_.Text(),
                        "DriverComponent::UpdatePrinterDriver: AddPrinterDriverEx succeded for Driver name: " + name));

    struct Case {
        const char* library;
        const char* line;
    };
    const Case cases[] = {
        {"qel_no_spooler.drv", "DriverComponent::UpdatePrinterDriver: unable to load qel_no_spooler.drv, code 126"},
        {"kernel32.dll", "DriverComponent::UpdatePrinterDriver: AddPrinterDriverExA not found in kernel32.dll, code 127"},
    };
    for (const Case& c : cases) {
        DriverComponent::ScopedSpoolerLibrary library(c.library);
        EXPECT_FALSE(DriverComponent::UpdatePrinterDriver(record, 6)) << c.library;
        EXPECT_TRUE(HasLine(log_.Text(), c.line)) << log_.Text();
        EXPECT_TRUE(HasLine(log_.Text(), "\tDriver name: " + name));
    }
}

TEST_F(UpdatePrinterDriverTest, FindDriverRecordIgnoresCaseAndTellsTheLevel)
{
    const std::string name = printertest::Unique("Qel Find Driver");
    ASSERT_TRUE(qvtest::InstallTestDriver(name));
    ASSERT_TRUE(engine_.LoadInstalledDrivers());
    DriverRecord found = engine_.FindDriverRecord(ToLower(name));
    ASSERT_TRUE(found);
    EXPECT_EQ(name, found.info->pName);
    EXPECT_EQ(6u, found.level);
    EXPECT_FALSE(engine_.FindDriverRecord(name + " missing"));
}

}  // namespace
