// QVTDX5DA.DLL as the configuration file of a driver in Wine's spooler, registered for the
// environment of this build's architecture: the spooler loads it in this process and calls its
// exports as the platform's own callers do, which in the i686 build proves their calling
// convention and the 32-bit records they are handed.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "TestSupport.h"

namespace {

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV Spooled Driver";
#ifdef _WIN64
constexpr char kEnvironment[] = "Windows x64";
#else
constexpr char kEnvironment[] = "Windows NT x86";
#endif

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string Narrow(const wchar_t* s, std::size_t max)
{
    std::string out;
    for (std::size_t i = 0; i < max && s[i]; ++i)
        out.push_back(char(s[i]));
    return out;
}

// Full paths with APD_COPY_FROM_DIRECTORY: Wine copies the files into the driver directory and
// calls no driver event, which the library does not export. The dialog library and its language
// library go beside it for the tray names.
bool RegisterLibrary(const std::string& dataFile)
{
    std::string library = qvtest::BinDir() + "\\QVTDX5DA.DLL";
    std::string dependents = qvtest::BinDir() + "\\QVTDX5DU.DLL" + '\0' + qvtest::BinDir() + "\\QVTDX5DL.DLL" + '\0' + '\0';
    DRIVER_INFO_6A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(kDriver);
    info.pEnvironment = const_cast<char*>(kEnvironment);
    info.pDriverPath = library.data();
    info.pConfigFile = library.data();
    info.pDataFile = const_cast<char*>(dataFile.c_str());
    info.pDependentFiles = dependents.data();
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 6, reinterpret_cast<BYTE*>(&info),
                               APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
}

class SpooledDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qvtest::TempDir dir;
        ready_ = qvtest::WriteFile(dir.File("qv5.dat"), "data\r\n") && RegisterLibrary(dir.File("qv5.dat")) &&
                 qvtest::AddTestPrinter(kPrinter, kDriver, "FILE:");
    }
    static void TearDownTestSuite()
    {
        qvtest::DeleteTestPrinter(kPrinter);
        // Later programs in the prefix find the test driver under the model's name again.
        qvtest::InstallTestDriver(kDriver);
    }
    void SetUp() override { ASSERT_TRUE(ready_) << "the driver or its printer could not be added: " << GetLastError(); }

    static inline bool ready_ = false;
};

TEST_F(SpooledDriver, IsRegisteredWithTheLibraryAsItsConfigurationFile)
{
    const auto drivers = qvtest::ListDrivers(kEnvironment);
    ASSERT_TRUE(drivers);
    bool found = false;
    for (const qvtest::DriverEntry& d : *drivers) {
        if (d.name != kDriver)
            continue;
        found = true;
        EXPECT_TRUE(d.configFile.ends_with("\\QVTDX5DA.DLL")) << d.configFile;
    }
    EXPECT_TRUE(found);
}

// DocumentProperties on an opened printer hands the library the printer's handle: it answers
// the size of its devmode and fills one. (AddPrinter passes a null handle, which the library
// refuses, so Wine stores its own devmode for the printer.)
TEST_F(SpooledDriver, DocumentPropertiesGiveTheLibrarysDevmode)
{
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(kPrinter), &printer, nullptr));
    std::wstring name = Wide(kPrinter);
    EXPECT_EQ(LONG(devmode::kSize), DocumentPropertiesW(nullptr, printer, name.data(), nullptr, nullptr, 0));
    std::vector<BYTE> out(devmode::kSize, 0);
    auto* copy = reinterpret_cast<DEVMODEW*>(out.data());
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, name.data(), copy, nullptr, DM_OUT_BUFFER));
    EXPECT_EQ(copy->dmSize, devmode::kPublicSize);
    EXPECT_EQ(copy->dmDriverExtra, devmode::kPrivateSize);
    EXPECT_EQ(copy->dmDriverVersion, devmode::kDriverVersionValue);
    EXPECT_EQ(Narrow(copy->dmDeviceName, CCHDEVICENAME), kDriver);
    ClosePrinter(printer);
}

// Wine's print dialogs ask for the document defaults by the printer's name alone, with no handle;
// without an answer they stop before any capability query.
TEST_F(SpooledDriver, DocumentPropertiesByNameAloneGiveTheLibrarysDevmode)
{
    std::wstring name = Wide(kPrinter);
    EXPECT_EQ(LONG(devmode::kSize), DocumentPropertiesW(nullptr, nullptr, name.data(), nullptr, nullptr, 0));
    std::vector<BYTE> out(devmode::kSize, 0);
    auto* copy = reinterpret_cast<DEVMODEW*>(out.data());
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, nullptr, name.data(), copy, nullptr, DM_OUT_BUFFER));
    EXPECT_EQ(copy->dmDriverExtra, devmode::kPrivateSize);
    EXPECT_EQ(copy->dmDriverVersion, devmode::kDriverVersionValue);
}

// DeviceCapabilities reaches the library with the device name alone.
TEST_F(SpooledDriver, AnswersDeviceCapabilities)
{
    const std::wstring name = Wide(kPrinter);
    const std::vector<WORD> bins{7, 1, 4};
    std::vector<WORD> got(DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_BINS, nullptr, nullptr));
    DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_BINS, reinterpret_cast<LPWSTR>(got.data()), nullptr);
    EXPECT_EQ(got, bins);

    std::vector<wchar_t> names(bins.size() * 24, L'?');
    ASSERT_EQ(int(bins.size()), DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_BINNAMES, names.data(), nullptr));
    EXPECT_EQ(Narrow(&names[0], 24), "Automatically Select");
    EXPECT_EQ(Narrow(&names[24], 24), "Tray 1");
    EXPECT_EQ(Narrow(&names[48], 24), "Manual Feed");

    EXPECT_EQ(18, DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_PAPERS, nullptr, nullptr));
}

}  // namespace
