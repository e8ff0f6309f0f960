// The test configuration DLL as Wine's spooler loads it, and the helpers that install it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

// The spooler lives for the whole run: every test names its own driver and printer.
std::string TestName()
{
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                 static_cast<int>(w.size())));
    return w;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

short LocalePaper()
{
    DWORD paper = 0;
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPWSTR>(&paper), sizeof(paper) / sizeof(WCHAR));
    return paper == 9 ? DMPAPER_A4 : DMPAPER_LETTER;
}

constexpr DWORD kStandinFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;

// A devmode's device name holds at most CCHDEVICENAME - 1 characters.
std::wstring DeviceName(const std::string& printer)
{
    return Wide(printer).substr(0, CCHDEVICENAME - 1);
}

std::optional<DriverEntry> FindDriver(const std::string& environment, const std::string& name)
{
    const auto drivers = ListDrivers(environment);
    if (!drivers)
        return std::nullopt;
    for (const DriverEntry& d : *drivers)
        if (d.name == name)
            return d;
    return std::nullopt;
}

// A test driver and a printer on it, as the utility finds them after installation.
class StandinPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver_ = "QV Standin Driver " + TestName();
        printer_ = "QV " + TestName();
        ASSERT_TRUE(InstallTestDriver(driver_)) << "error " << GetLastError();
        ASSERT_TRUE(AddTestPrinter(printer_, driver_)) << "error " << GetLastError();
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE | READ_CONTROL};
        ASSERT_TRUE(OpenPrinterA(printer_.data(), &handle_, &defaults)) << "error " << GetLastError();
    }

    void TearDown() override
    {
        if (handle_)
            ClosePrinter(handle_);
        DeleteTestPrinter(printer_);
    }

    std::vector<BYTE> PrinterInfo2()
    {
        DWORD needed = 0;
        GetPrinterA(handle_, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (needed == 0 || !GetPrinterA(handle_, 2, buffer.data(), needed, &needed))
            buffer.clear();
        return buffer;
    }

    // DocumentPropertiesW into a zeroed buffer of the size the driver asks for.
    std::vector<BYTE> DocumentDevmode(DEVMODEW* input, DWORD mode, LONG* result)
    {
        const LONG size = DocumentPropertiesW(nullptr, handle_, nullptr, nullptr, nullptr, 0);
        std::vector<BYTE> buffer(size > 0 ? size : 0);
        *result = buffer.empty() ? size
                                 : DocumentPropertiesW(nullptr, handle_, nullptr,
                                                       reinterpret_cast<DEVMODEW*>(buffer.data()), input, mode);
        return buffer;
    }

    std::string driver_;
    std::string printer_;
    HANDLE handle_ = nullptr;
};

TEST_F(StandinPrinter, GetPrinterLevel2GivesItsDriverPortAndProcessor)
{
    const std::vector<BYTE> buffer = PrinterInfo2();
    ASSERT_FALSE(buffer.empty()) << "error " << GetLastError();
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    EXPECT_STREQ(info->pPrinterName, printer_.c_str());
    EXPECT_STREQ(info->pDriverName, driver_.c_str());
    EXPECT_STREQ(info->pPortName, "LPT1:");
    EXPECT_STREQ(info->pPrintProcessor, "winprint");
}

TEST_F(StandinPrinter, AddPrinterStoresTheStandinsDefaultDevmode)
{
    const std::vector<BYTE> buffer = PrinterInfo2();
    ASSERT_FALSE(buffer.empty()) << "error " << GetLastError();
    const DEVMODEA* dm = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())->pDevMode;
    ASSERT_NE(dm, nullptr);
    // Wine's made-up devmode for a driver that gave none has no fields.
    EXPECT_EQ(dm->dmFields, kStandinFields);
    EXPECT_EQ(dm->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(dm->dmPaperSize, LocalePaper());
    EXPECT_EQ(dm->dmCopies, 1);
}

TEST_F(StandinPrinter, EnumPrintersListsIt)
{
    const auto printers = ListPrinters();
    ASSERT_TRUE(printers) << "error " << GetLastError();
    const auto found = std::find_if(printers->begin(), printers->end(),
                                    [&](const PrinterEntry& p) { return p.name == printer_; });
    ASSERT_NE(found, printers->end());
    EXPECT_EQ(found->driver, driver_);
    EXPECT_EQ(found->port, "LPT1:");
}

TEST_F(StandinPrinter, DocumentPropertiesSizeIsTheStandinsDevmode)
{
    EXPECT_EQ(DocumentPropertiesW(nullptr, handle_, nullptr, nullptr, nullptr, 0),
              static_cast<LONG>(sizeof(DEVMODEW)));
}

TEST_F(StandinPrinter, DocumentPropertiesFillsTheDefaultDevmode)
{
    LONG result = 0;
    const std::vector<BYTE> buffer = DocumentDevmode(nullptr, DM_OUT_BUFFER, &result);
    ASSERT_EQ(result, IDOK);
    const auto* dm = reinterpret_cast<const DEVMODEW*>(buffer.data());
    EXPECT_EQ(std::wstring(dm->dmDeviceName), DeviceName(printer_));
    EXPECT_EQ(dm->dmSpecVersion, DM_SPECVERSION);
    EXPECT_EQ(dm->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(dm->dmDriverExtra, 0);
    EXPECT_EQ(dm->dmFields, kStandinFields);
    EXPECT_EQ(dm->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(dm->dmPaperSize, LocalePaper());
    EXPECT_EQ(dm->dmCopies, 1);
}

// The utility's entry: Wine converts the driver's devmode, through an uninitialised buffer.
TEST_F(StandinPrinter, DocumentPropertiesAGivesTheAnsiDevmode)
{
    const LONG size = DocumentPropertiesA(nullptr, handle_, printer_.data(), nullptr, nullptr, 0);
    ASSERT_EQ(size, static_cast<LONG>(sizeof(DEVMODEA)));
    std::vector<BYTE> buffer(size);
    auto* dm = reinterpret_cast<DEVMODEA*>(buffer.data());
    ASSERT_EQ(DocumentPropertiesA(nullptr, handle_, printer_.data(), dm, nullptr, DM_OUT_BUFFER), IDOK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dm->dmDeviceName)), printer_.substr(0, CCHDEVICENAME - 1));
    EXPECT_EQ(dm->dmSize, sizeof(DEVMODEA));
    EXPECT_EQ(dm->dmFields, kStandinFields);
    EXPECT_EQ(dm->dmPaperSize, LocalePaper());
}

TEST_F(StandinPrinter, DocumentPropertiesKeepsOnlySupportedInputSettings)
{
    struct Case {
        const char* what;
        std::function<void(DEVMODEW&)> change;
        short orientation;
        short paper;  // 0: the locale's
        short copies;
    };
    const Case cases[] = {
        {"supported values",
         [](DEVMODEW& in) {
             in.dmOrientation = DMORIENT_LANDSCAPE;
             in.dmPaperSize = DMPAPER_A4;
             in.dmCopies = 3;
         },
         DMORIENT_LANDSCAPE, DMPAPER_A4, 3},
        {"a paper the stand-in lacks", [](DEVMODEW& in) { in.dmPaperSize = DMPAPER_LEGAL; },
         DMORIENT_PORTRAIT, 0, 1},
        {"no copies", [](DEVMODEW& in) { in.dmCopies = 0; }, DMORIENT_PORTRAIT, 0, 1},
        {"fields not flagged",
         [](DEVMODEW& in) {
             in.dmOrientation = DMORIENT_LANDSCAPE;
             in.dmCopies = 5;
             in.dmFields = 0;
         },
         DMORIENT_PORTRAIT, 0, 1},
        {"a devmode too short to hold them",
         [](DEVMODEW& in) {
             in.dmOrientation = DMORIENT_LANDSCAPE;
             in.dmSize = offsetof(DEVMODEW, dmOrientation);
         },
         DMORIENT_PORTRAIT, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DEVMODEW in{};
        in.dmSize = sizeof(in);
        in.dmSpecVersion = DM_SPECVERSION;
        in.dmFields = kStandinFields;
        in.dmOrientation = DMORIENT_PORTRAIT;
        in.dmPaperSize = LocalePaper();
        in.dmCopies = 1;
        c.change(in);
        LONG result = 0;
        const std::vector<BYTE> buffer = DocumentDevmode(&in, DM_IN_BUFFER | DM_OUT_BUFFER, &result);
        ASSERT_EQ(result, IDOK);
        const auto* dm = reinterpret_cast<const DEVMODEW*>(buffer.data());
        EXPECT_EQ(dm->dmOrientation, c.orientation);
        EXPECT_EQ(dm->dmPaperSize, c.paper ? c.paper : LocalePaper());
        EXPECT_EQ(dm->dmCopies, c.copies);
    }
}

TEST_F(StandinPrinter, DeviceCapabilitiesDescribesTheStandinsDevmodeAndPapers)
{
    const std::wstring device = Wide(printer_);
    struct Case {
        WORD capability;
        int expected;
    };
    const Case scalars[] = {
        {DC_SIZE, static_cast<int>(sizeof(DEVMODEW))},
        {DC_EXTRA, 0},
        {DC_VERSION, DM_SPECVERSION},
        {DC_FIELDS, static_cast<int>(kStandinFields)},
        {DC_BINS, 0},
        {DC_MINEXTENT, -1},
    };
    for (const Case& c : scalars)
        EXPECT_EQ(DeviceCapabilitiesW(device.c_str(), L"LPT1:", c.capability, nullptr, nullptr), c.expected)
            << "capability " << c.capability;

    const int count = DeviceCapabilitiesW(device.c_str(), L"LPT1:", DC_PAPERS, nullptr, nullptr);
    ASSERT_EQ(count, 2);
    std::vector<WORD> papers(count);
    ASSERT_EQ(DeviceCapabilitiesW(device.c_str(), L"LPT1:", DC_PAPERS,
                                  reinterpret_cast<LPWSTR>(papers.data()), nullptr),
              count);
    EXPECT_EQ(papers, (std::vector<WORD>{DMPAPER_LETTER, DMPAPER_A4}));

    // The ANSI entry converts the driver's names.
    std::vector<char> names(count * 64);
    ASSERT_EQ(DeviceCapabilitiesA(printer_.c_str(), "LPT1:", DC_PAPERNAMES, names.data(), nullptr), count);
    EXPECT_STREQ(names.data(), "Letter");
    EXPECT_STREQ(names.data() + 64, "A4");
}

TEST(StandinDevmode, LongPrinterNameIsCutToTheDeviceNameField)
{
    const std::string driver = "QV Standin Driver long name";
    const std::string printer = "QV Standin printer whose name is longer than a devmode holds";
    ASSERT_TRUE(InstallTestDriver(driver)) << "error " << GetLastError();
    ASSERT_TRUE(AddTestPrinter(printer, driver)) << "error " << GetLastError();

    const std::wstring wide = Wide(printer);
    const LONG size = DocumentPropertiesW(nullptr, nullptr, const_cast<LPWSTR>(wide.c_str()), nullptr, nullptr, 0);
    ASSERT_EQ(size, static_cast<LONG>(sizeof(DEVMODEW)));
    std::vector<BYTE> buffer(size, 0xCC);
    auto* dm = reinterpret_cast<DEVMODEW*>(buffer.data());
    dm->dmSize = 0;
    ASSERT_EQ(DocumentPropertiesW(nullptr, nullptr, const_cast<LPWSTR>(wide.c_str()), dm, nullptr, DM_OUT_BUFFER),
              IDOK);
    EXPECT_EQ(std::wstring(dm->dmDeviceName, wcsnlen(dm->dmDeviceName, CCHDEVICENAME)), DeviceName(printer));
    EXPECT_EQ(dm->dmDeviceName[CCHDEVICENAME - 1], L'\0');
    DeleteTestPrinter(printer);
}

TEST(StandinDriver, IsRegisteredForTheRunsEnvironmentsWithVersion3)
{
    const std::string driver = "QV Standin Driver " + TestName();
    ASSERT_TRUE(InstallTestDriver(driver)) << "error " << GetLastError();
    struct Case {
        const char* environment;
        const char* configFile;  // nullptr: not registered there
    };
    const Case cases[] = {
#ifdef _WIN64
        {"Windows x64", "\\qvtestcfg.dll"},
#else
        {"Windows x64", nullptr},
#endif
        {"Windows NT x86", "\\qvtestcfg32.dll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment);
        const auto found = FindDriver(c.environment, driver);
        if (!c.configFile) {
            EXPECT_FALSE(found) << found->configFile;
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(found->version, 3u);
        EXPECT_TRUE(EndsWith(found->configFile, c.configFile)) << found->configFile;
        EXPECT_TRUE(EndsWith(found->helpFile, std::string("\\") + kDefaultHelpFile)) << found->helpFile;
        for (const std::string& file : {found->driverPath, found->dataFile, found->configFile, found->helpFile})
            EXPECT_TRUE(FileExists(file)) << file;
    }
}

TEST(StandinDriver, HelpFileIsRegisteredAsGiven)
{
    struct Case {
        const char* helpFile;
        const char* expectedTail;  // "" for none
    };
    const Case cases[] = {
        {"custom.hlp", "\\custom.hlp"},
        {"", ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("help file \"") + c.helpFile + "\"");
        const std::string driver = "QV Standin Driver help " + std::to_string(index++);
        ASSERT_TRUE(InstallTestDriver(driver, c.helpFile)) << "error " << GetLastError();
        const auto found = FindDriver("Windows NT x86", driver);
        ASSERT_TRUE(found);
        if (*c.expectedTail)
            EXPECT_TRUE(EndsWith(found->helpFile, c.expectedTail)) << found->helpFile;
        else
            EXPECT_EQ(found->helpFile, "");
    }
}

TEST(StandinPrinterSetup, AddPrinterReportsAnUnknownDriver)
{
    EXPECT_FALSE(AddTestPrinter("QV Standin orphan", "QV Standin no such driver"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));
}

// Wine's spooler never calls these entry points; a caller that does must find them.
class StandinExports : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryA((BinDir() + "\\qvtestcfg.dll").c_str());
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }
    template <class F>
    F* Export(const char* name)
    {
        return reinterpret_cast<F*>(GetProcAddress(module_, name));
    }
    HMODULE module_ = nullptr;
};

TEST_F(StandinExports, AllEntryPointsExist)
{
    for (const char* name : {"DrvDocumentPropertySheets", "DrvDevicePropertySheets", "DrvDeviceCapabilities",
                             "DrvDriverEvent", "DrvPrinterEvent", "DrvConvertDevMode", "DrvDocumentEvent",
                             "DevQueryPrintEx", "DrvUpgradePrinter"})
        EXPECT_NE(GetProcAddress(module_, name), nullptr) << name;
}

// The header as the driver-kit documents it; the stand-in's own declaration stays private.
struct DocumentPropertyHeader {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
};
using DocumentPropertySheetsFn = LONG WINAPI(void*, LPARAM);

TEST_F(StandinExports, DocumentPropertySheetsWithoutUiFollowsTheSizeProtocol)
{
    auto* sheets = Export<DocumentPropertySheetsFn>("DrvDocumentPropertySheets");
    ASSERT_NE(sheets, nullptr);
    wchar_t name[] = L"Direct";
    DocumentPropertyHeader header{sizeof(header), 0, nullptr, name, nullptr, nullptr, 0, 0};

    EXPECT_EQ(sheets(nullptr, 0), -1) << "no header";
    header.cbSize = sizeof(header) - 1;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), -1) << "short header";

    header.cbSize = sizeof(header);
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), static_cast<LONG>(sizeof(DEVMODEW)));
    EXPECT_EQ(header.cbOut, sizeof(DEVMODEW));

    // cbOut is no buffer size: Wine may pass anything there.
    DEVMODEW out{};
    header.pdmOut = &out;
    header.cbOut = 1;
    header.fMode = DM_OUT_BUFFER;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_STREQ(out.dmDeviceName, L"Direct");
}

using ConvertDevModeFn = BOOL WINAPI(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

TEST_F(StandinExports, ConvertDevModeGivesTheDefaultAfterASizeQuery)
{
    auto* convert = Export<ConvertDevModeFn>("DrvConvertDevMode");
    ASSERT_NE(convert, nullptr);
    wchar_t name[] = L"Converted";
    constexpr DWORD kDriverDefault = 0x04;
    LONG needed = 0;
    EXPECT_FALSE(convert(name, nullptr, nullptr, &needed, kDriverDefault));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_EQ(needed, static_cast<LONG>(sizeof(DEVMODEW)));

    DEVMODEW out{};
    EXPECT_TRUE(convert(name, nullptr, &out, &needed, kDriverDefault));
    EXPECT_STREQ(out.dmDeviceName, L"Converted");
    EXPECT_EQ(out.dmFields, kStandinFields);

    constexpr DWORD kConvert = 0x01;
    EXPECT_FALSE(convert(name, &out, &out, &needed, kConvert));
}

}  // namespace
