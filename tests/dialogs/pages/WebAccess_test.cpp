// The web-access check and the manufacturer it is made for: registry values and printer data
// that are stored without a terminator are read as far as they go, never further.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PrinterFixture.h"
#include "TestSupport.h"
#include "WebAccess.h"

namespace {

constexpr char kDriver[] = "QV web access test driver";

class WebAccessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ready_ = qvtest::InstallTestDriver(kDriver); }
    void SetUp() override { ASSERT_TRUE(ready_); }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Qelbrin\\Web_Access"); }

    // The manufacturer's key with the given values (null: left out).
    void Key(const std::wstring& manufacturer, const std::wstring* file, DWORD type, const void* supported,
             DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (pages::kWebAccessKey + manufacturer).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (file)
            RegSetValueExW(key, L"ConfigurationFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(file->c_str()),
                           DWORD((file->size() + 1) * 2));
        if (supported)
            RegSetValueExW(key, L"IsSupported", 0, type, static_cast<const BYTE*>(supported), bytes);
        RegCloseKey(key);
    }
    std::wstring Config(const char* text)
    {
        const std::string path = dir_.File("web.ini");
        qvtest::WriteFile(path, text);
        return std::wstring(path.begin(), path.end());
    }

    static inline bool ready_ = false;
    qvtest::TempDir dir_;
    qvtest::TestPrinters printers_;
};

TEST_F(WebAccessTest, SupportedByKeyUnlessTheConfigurationFileSaysNo)
{
    const struct {
        const char* config;
        bool allowed;
    } cases[] = {
        {"[CONFIGURE]\r\nWEB_SUPPORT=1\r\n", true},
        {"[CONFIGURE]\r\nOTHER=0\r\n", true},
        {"", true},
        {"[CONFIGURE]\r\nWEB_SUPPORT=0\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        const std::wstring file = Config(c.config);
        Key(L"Acme", &file, REG_SZ, L"1", 4);
        EXPECT_EQ(pages::WebAccessAllowed(L"Acme"), c.allowed);
    }
}

TEST_F(WebAccessTest, AMissingKeyOrValueOrAnotherAnswerFails)
{
    EXPECT_FALSE(pages::WebAccessAllowed(L"Acme")) << "no key";
    const std::wstring file = Config("");
    Key(L"Acme", nullptr, REG_SZ, L"1", 4);
    EXPECT_FALSE(pages::WebAccessAllowed(L"Acme")) << "no configuration file value";
    Key(L"Other", &file, REG_SZ, nullptr, 0);
    EXPECT_FALSE(pages::WebAccessAllowed(L"Other")) << "no IsSupported";
    Key(L"Zero", &file, REG_SZ, L"0", 4);
    EXPECT_FALSE(pages::WebAccessAllowed(L"Zero"));
}

TEST_F(WebAccessTest, IsSupportedWithoutATerminatorIsReadAsFarAsItGoes)
{
    const std::wstring file = Config("");
    Key(L"One", &file, REG_BINARY, L"1", 2);
    EXPECT_TRUE(pages::WebAccessAllowed(L"One")) << "\"1\" without its terminator";
    Key(L"Eleven", &file, REG_BINARY, L"11", 4);
    EXPECT_FALSE(pages::WebAccessAllowed(L"Eleven")) << "\"11\" fills the 4 bytes";
    Key(L"Long", &file, REG_BINARY, L"1xyz", 8);
    EXPECT_FALSE(pages::WebAccessAllowed(L"Long")) << "longer than 4 bytes";
}

TEST_F(WebAccessTest, AnEmptyManufacturerIsTheMakersOwn)
{
    const std::wstring file = Config("");
    Key(L"Qelbrin", &file, REG_SZ, L"1", 4);
    EXPECT_TRUE(pages::WebAccessAllowed(L""));
}

TEST_F(WebAccessTest, TheManufacturerComesFromThePrinterData)
{
    HANDLE printer = printers_.Open(printers_.Add(kDriver, "QV web access printer"));
    ASSERT_TRUE(printer);
    EXPECT_EQ(pages::PrinterManufacturer(printer), pages::kOtherManufacturers) << "no data";
    EXPECT_EQ(pages::PrinterManufacturer(nullptr), pages::kOtherManufacturers);
    const struct {
        DWORD type;
        std::wstring stored;
        DWORD bytes;
        std::wstring read;
    } cases[] = {
        {REG_SZ, L"Acme", 10, L"Acme"},
        {REG_BINARY, L"ABCDEFGHIJKL", 24, L"ABCDEFGHIJKL"},  // twelve characters, no terminator
        {REG_SZ, L"ABCDEFGHIJKLMN", 30, pages::kOtherManufacturers},  // does not fit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored.begin(), c.stored.end()));
        ASSERT_EQ(SetPrinterDataW(printer, const_cast<LPWSTR>(L"Manufacturer"), c.type,
                                  reinterpret_cast<BYTE*>(const_cast<wchar_t*>(c.stored.c_str())), c.bytes),
                  DWORD(ERROR_SUCCESS));
        EXPECT_EQ(pages::PrinterManufacturer(printer), c.read);
    }
}

}  // namespace
