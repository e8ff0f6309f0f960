// The sheets through Wine's own property-sheet service: printers whose driver's configuration
// file is QVTDX5DA.DLL (in the spooler's driver directory, with the test dialog library beside it
// as QVTDX5DU.DLL), opened with DocumentPropertiesW and prompting, and the device sheet through
// PrinterProperties. The test page changes one entry and presses OK or Cancel; the printer's
// values show what the sheet saved.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

namespace dm = devmode;

namespace {

using ::testing::Contains;
using Bytes = std::vector<std::uint8_t>;
using PrinterPropertiesFn = BOOL(WINAPI*)(HWND, HANDLE);
using DocumentPropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);

#ifdef _WIN64
constexpr char kEnvironment[] = "Windows x64";
#else
constexpr char kEnvironment[] = "Windows NT x86";
#endif
// Drivers of their own, mapped onto the models by the rendering driver's INI file, so the test
// drivers other programs register under the models' names keep their configuration file.
constexpr struct {
    const char* driver;
    const char* model;
} kDrivers[] = {
    {"QV service desktop", "Qelbrin QV-5 PCL"},
    {"QV service workgroup", "Qelbrin QV-5n PCL"},
    {"QV service colour", "Qelbrin QV-5c PCL"},
};

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string DriverDirectory()
{
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(kEnvironment), 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                               &needed);
    return dir;
}

bool RegisterDriver(const std::string& name, const std::string& model)
{
    const std::string dir = DriverDirectory();
    const std::string bin = qvtest::BinDir();
    const bool staged =
        !dir.empty() && CopyFileA((bin + "\\QVTDX5DA.DLL").c_str(), (dir + "\\QVTDX5DA.DLL").c_str(), FALSE) &&
        CopyFileA((bin + "\\..\\testdialogs\\QVTDX5DU.DLL").c_str(), (dir + "\\QVTDX5DU.DLL").c_str(), FALSE) &&
        CopyFileA((bin + "\\QVTDX5BT.DLL").c_str(), (dir + "\\QVTDX5BT.DLL").c_str(), FALSE) &&
        CopyFileA((bin + "\\QVTDX5B1.DLL").c_str(), (dir + "\\QVTDX5B1.DLL").c_str(), FALSE) &&
        qvtest::WriteFile(dir + "\\qvservice.dat", "test driver data\r\n");
    if (!staged || !WritePrivateProfileStringA(name.c_str(), "Model", model.c_str(), "QVTDX5DD.INI"))
        return false;
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(name.c_str());
    info.pEnvironment = const_cast<char*>(kEnvironment);
    info.pDriverPath = const_cast<char*>("QVTDX5DA.DLL");
    info.pDataFile = const_cast<char*>("qvservice.dat");
    info.pConfigFile = const_cast<char*>("QVTDX5DA.DLL");
    // The spooler copies the driver's files, its dependent files among them, from the staging
    // directory into the directory of the driver's version, where it loads them.
    static const char dependent[] = "QVTDX5DU.DLL\0QVTDX5BT.DLL\0QVTDX5B1.DLL\0";
    info.pDependentFiles = const_cast<char*>(dependent);
    info.pDefaultDataType = const_cast<char*>("RAW");
    return AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES);
}

class SheetService : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ready_ = true;
        for (const auto& d : kDrivers)
            ready_ = RegisterDriver(d.driver, d.model) && ready_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(ready_) << "the drivers could not be registered: " << GetLastError();
        record_ = std::make_unique<qvtest::CallRecord>("QVTESTDIALOG_RECORD", dir_.File("pages.txt"));
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QVTESTDIALOG_FEATURE", nullptr);
        SetEnvironmentVariableA("QVTESTDIALOG_BUTTON", nullptr);
    }
    HANDLE Printer(const char* driver)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return printers_.Open(
            printers_.Add(driver, std::string("QV service ") + info->name() + " " + std::to_string(printers_.Count())));
    }
    static void Page(const char* feature, const char* button)
    {
        SetEnvironmentVariableA("QVTESTDIALOG_FEATURE", feature);
        SetEnvironmentVariableA("QVTESTDIALOG_BUTTON", button);
    }
    static Bytes Value(HANDLE printer, const wchar_t* name)
    {
        DWORD type = 0, needed = 0;
        GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
        Bytes bytes(needed);
        if (!needed ||
            GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, bytes.data(), needed, &needed) != ERROR_SUCCESS)
            return {};
        return bytes;
    }
    struct Saved {
        Bytes currentDevmode, printerConfig, config;
        bool operator==(const Saved&) const = default;
    };
    static Saved SavedValues(HANDLE printer)
    {
        return {Value(printer, L"CurrentDevmode"), Value(printer, L"PrinterConfig"), Value(printer, L"DefDrvCfgData")};
    }

    static inline bool ready_ = false;
    qvtest::TempDir dir_;
    std::unique_ptr<qvtest::CallRecord> record_;
    qvtest::TestPrinters printers_;
};

TEST_F(SheetService, OkSavesTheSheetAndHandsTheChangedDevmodeOut)
{
    for (const auto& d : kDrivers) {
        SCOPED_TRACE(d.driver);
        HANDLE printer = Printer(d.driver);
        std::wstring name = Wide(printers_.Last());
        const Saved before = SavedValues(printer);
        Page("3:5", "ok");
        Bytes out(dm::kSize, 0);
        const LONG answer = DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()),
                                                nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
        EXPECT_THAT(record_->Calls(), Contains("changed 3 to 5")) << "DocumentPropertiesW answered " << answer;
        EXPECT_THAT(record_->Calls(), Contains("apply ok")) << "the page saw OK";
        ASSERT_TRUE(dm::IsDriverDevmode(out));
        EXPECT_EQ(dm::Get(out, dm::dmCopies), 5);
        EXPECT_TRUE(dm::ChecksumMatches(out));

        const Saved after = SavedValues(printer);
        ASSERT_EQ(after.currentDevmode.size(), dm::kSize);
        EXPECT_EQ(dm::Get(after.currentDevmode, dm::dmCopies), 5);
        EXPECT_NE(after.config, before.config) << "DefDrvCfgData of five copies";
        EXPECT_FALSE(after.config.empty());
        if (std::string(d.model) != "Qelbrin QV-5 PCL") {
            ASSERT_EQ(after.printerConfig.size(), 32u);
            EXPECT_EQ(after.printerConfig[0], 1);
        }
        DeleteFileA(dir_.File("pages.txt").c_str());
    }
}

TEST_F(SheetService, CancelSavesNothing)
{
    HANDLE printer = Printer(kDrivers[1].driver);
    std::wstring name = Wide(printers_.Last());
    // The first request builds and stores the printer's current devmode: not the sheet's doing.
    Bytes current(dm::kSize, 0);
    ASSERT_GT(DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(current.data()), nullptr,
                                  DM_OUT_BUFFER),
              0);
    const Saved before = SavedValues(printer);
    ASSERT_EQ(before.currentDevmode.size(), dm::kSize);
    Page("3:6", "cancel");
    Bytes out(dm::kSize, 0xEE);
    DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()), nullptr,
                        DM_IN_PROMPT | DM_OUT_BUFFER);
    EXPECT_THAT(record_->Calls(), Contains("changed 3 to 6"));
    EXPECT_THAT(record_->Calls(), Contains("reset"));
    EXPECT_NE(dm::Get(out, dm::dmCopies), 6);
    EXPECT_TRUE(SavedValues(printer) == before);
}

TEST_F(SheetService, TheDeviceSheetRecordsOkAndCancel)
{
    HMODULE library = LoadLibraryA((DriverDirectory() + "\\QVTDX5DA.DLL").c_str());
    ASSERT_TRUE(library);
    const auto properties = reinterpret_cast<PrinterPropertiesFn>(GetProcAddress(library, "PrinterProperties"));
    ASSERT_TRUE(properties);
    HANDLE printer = Printer(kDrivers[1].driver);
    const struct {
        const char* button;
        const char* change;
        int memory;
        std::uint8_t recorded;
    } cases[] = {{"ok", "20:24", 24, 1}, {"cancel", "20:32", 32, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        Page(c.change, c.button);
        properties(nullptr, printer);
        EXPECT_THAT(record_->Calls(), Contains("frame " + printers_.Last() + " Properties")) << "titled by the printer";
        const Bytes ok = Value(printer, L"DCDPrtPropOK");
        ASSERT_EQ(ok.size(), 4u);
        EXPECT_EQ(ok[0], c.recorded);
        const Bytes current = Value(printer, L"CurrentDevmode");
        ASSERT_EQ(current.size(), dm::kSize);
        EXPECT_EQ(dm::Get(current, dm::kInstalledMemory) == c.memory, c.recorded == 1) << "the memory the page set";
    }
    // The "Permission" printer value marks the user's right to change the printer.
    const Bytes permission = Value(printer, L"Permission");
    ASSERT_EQ(permission.size(), 4u);
    EXPECT_EQ(permission[0], 1);
    FreeLibrary(library);
}

TEST_F(SheetService, TheLibrarysOwnPromptingCallOpensTheSameSheet)
{
    HMODULE library = LoadLibraryA((DriverDirectory() + "\\QVTDX5DA.DLL").c_str());
    ASSERT_TRUE(library);
    const auto properties = reinterpret_cast<DocumentPropertiesFn>(GetProcAddress(library, "DrvDocumentProperties"));
    ASSERT_TRUE(properties);
    HANDLE printer = Printer(kDrivers[2].driver);
    std::wstring name = Wide(printers_.Last());
    Page("1:2", "ok");
    Bytes out(dm::kSize, 0);
    properties(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_COPY | DM_PROMPT);
    EXPECT_THAT(record_->Calls(), Contains("changed 1 to 2"));
    EXPECT_EQ(dm::Get(out, dm::dmOrientation), 2);
    FreeLibrary(library);
}

}  // namespace
