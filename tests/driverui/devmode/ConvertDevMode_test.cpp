// DrvConvertDevMode and ConvertTagListToDevmode as exports of QVTDX5DA.DLL, on printers of the
// driver's three models in Wine's spooler, which also holds the printer values the builders
// read and write.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "DriverLibraryFixture.h"
#include "PrinterFixture.h"
#include "DrvUiDecls.h"
#include "TestSupport.h"

using namespace devmode;

namespace {

using Bytes = std::vector<std::uint8_t>;
using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using ConvertTagListFn = LONG(WINAPI*)(DWORD, LPSTR, LPVOID, PDEVMODEW);

constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
constexpr char kColour[] = "Qelbrin QV-5c PCL";

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class DevmodeExports : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        if (!library_)
            return;
        convert_ = reinterpret_cast<ConvertDevModeFn>(GetProcAddress(library_, "DrvConvertDevMode"));
        tagList_ = reinterpret_cast<ConvertTagListFn>(GetProcAddress(library_, "ConvertTagListToDevmode"));
        driversReady_ = true;
        for (const char* driver : {kDesktop, kWorkgroup, kColour})
            driversReady_ = qvtest::InstallTestDriver(driver) && driversReady_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load";
        ASSERT_TRUE(convert_ && tagList_) << "an export is missing";
        ASSERT_TRUE(driversReady_) << "the test drivers could not be installed";
    }
    // A new printer of the driver for this test; its name ends with the suffix.
    std::string AddPrinter(const std::string& driver, const std::string& suffix = "")
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return printers_.Add(driver, std::string("QV ") + info->name() + suffix);
    }
    HANDLE Open(const std::string& printer) { return printers_.Open(printer); }
    // A printer value as the spooler holds it; nothing when missing.
    std::optional<Bytes> Value(const std::string& printer, const wchar_t* name)
    {
        HANDLE h = Open(printer);
        DWORD type = 0, needed = 0;
        GetPrinterDataW(h, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
        Bytes data(needed);
        if (GetPrinterDataW(h, const_cast<LPWSTR>(name), &type, data.data(), needed, &needed) !=
            ERROR_SUCCESS)
            return std::nullopt;
        data.resize(needed);
        return data;
    }
    void SetValue(const std::string& printer, const wchar_t* name, const Bytes& data)
    {
        HANDLE h = Open(printer);
        ASSERT_EQ(SetPrinterDataW(h, const_cast<LPWSTR>(name), REG_BINARY,
                                  const_cast<BYTE*>(data.data()), DWORD(data.size())),
                  DWORD(ERROR_SUCCESS));
    }

    // The printer's current devmode through CDM_DRIVER_DEFAULT.
    Buffer DriverDefault(const std::string& printer)
    {
        Buffer out{};
        LONG size = LONG(out.size());
        std::wstring name = Wide(printer);
        EXPECT_TRUE(convert_(name.data(), nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size,
                             CDM_DRIVER_DEFAULT))
            << printer << ": error " << GetLastError();
        EXPECT_EQ(size, LONG(kSize));
        return out;
    }

    static inline ConvertDevModeFn convert_ = nullptr;
    static inline ConvertTagListFn tagList_ = nullptr;
    static inline bool driversReady_ = false;
    qvtest::TestPrinters printers_;
};

TEST_F(DevmodeExports, ArgumentsAndModesThatFail)
{
    Buffer out{};
    auto* dm = reinterpret_cast<DEVMODEW*>(out.data());
    std::wstring name = Wide(AddPrinter(kDesktop));

    SetLastError(0);
    EXPECT_FALSE(convert_(name.data(), nullptr, dm, nullptr, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(convert_(name.data(), dm, dm, nullptr, CDM_CONVERT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    for (const DWORD mode : {0u, 2u, 3u, 8u, 0x100u}) {
        LONG size = LONG(kSize);
        EXPECT_FALSE(convert_(name.data(), nullptr, dm, &size, mode)) << "mode " << mode;
        EXPECT_EQ(size, LONG(kSize)) << "mode " << mode;
    }
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](auto b) { return b == 0; }));

    // A printer that does not exist.
    std::wstring missing = L"QV No Such Printer";
    LONG size = LONG(kSize);
    EXPECT_FALSE(convert_(missing.data(), nullptr, dm, &size, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
    size = LONG(kSize);
    EXPECT_FALSE(convert_(nullptr, nullptr, dm, &size, CDM_DRIVER_DEFAULT));
}

TEST_F(DevmodeExports, DriverDefaultReportsTheSizeItNeeds)
{
    std::wstring name = Wide(AddPrinter(kDesktop));
    Bytes out(kSize, 0xAB);
    auto* dm = reinterpret_cast<DEVMODEW*>(out.data());
    const struct {
        const char* what;
        LONG size;
        DEVMODEW* output;
    } cases[] = {
        {"one byte short", LONG(kSize) - 1, dm},
        {"no size", 0, dm},
        {"no output", LONG(kSize), nullptr},
        {"no output, any size", 100000, nullptr},
    };
    for (const auto& c : cases) {
        LONG size = c.size;
        SetLastError(0);
        EXPECT_FALSE(convert_(name.data(), nullptr, c.output, &size, CDM_DRIVER_DEFAULT)) << c.what;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER)) << c.what;
        EXPECT_EQ(size, LONG(kSize)) << c.what;
    }
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](auto b) { return b == 0xAB; }));
}

TEST_F(DevmodeExports, DriverDefaultBuildsAndStoresTheCurrentDevmode)
{
    const std::string printer = AddPrinter(kDesktop);
    Bytes out(kSize + 16, 0xAB);
    LONG size = LONG(out.size());
    std::wstring name = Wide(printer);
    ASSERT_TRUE(convert_(name.data(), nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size,
                         CDM_DRIVER_DEFAULT))
        << GetLastError();
    EXPECT_EQ(size, LONG(kSize));
    EXPECT_EQ(out[kSize], 0xAB) << "written beyond the devmode";
    const auto dm = std::span<const std::uint8_t>(out).first(kSize);

    EXPECT_TRUE(IsDriverDevmode(dm));
    EXPECT_TRUE(ChecksumMatches(dm));
    EXPECT_EQ(Get(dm, dmDriverVersion), kDriverVersionValue);
    EXPECT_EQ(GetWideText(dm, dmDeviceName), u"Qelbrin QV-5 PCL");
    EXPECT_EQ(GetText(dm, kModelName), kDesktop);
    EXPECT_EQ(GetText(dm, kPrinterName), printer.substr(0, 31)) << "cut to its field";
    EXPECT_EQ(GetText(dm, kModelDisplayName), kDesktop);

    // The printer keeps it, with the defaults it was built from and its configuration data.
    const auto stored = Value(printer, L"CurrentDevmode");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(std::equal(dm.begin(), dm.end(), stored->begin(), stored->end()));
    const auto defaults = Value(printer, L"CurrentDefaultDevMode");
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->size(), kSize);
    EXPECT_TRUE(IsDriverDevmode(*defaults));
    const auto data = Value(printer, L"DefDrvCfgData");
    ASSERT_TRUE(data);
    EXPECT_GT(data->size(), 8u);
}

// A stored devmode any user could have written: anything but a valid devmode of exactly 1256
// bytes is rebuilt.
TEST_F(DevmodeExports, DamagedStoredDevmodeIsRebuilt)
{
    const std::string printer = AddPrinter(kDesktop);
    const Buffer good = DriverDefault(printer);
    ASSERT_TRUE(IsDriverDevmode(good));

    Bytes wrongSignature(good.begin(), good.end());
    Set(wrongSignature, kSignature3, 0u);
    Set(wrongSignature, dmCopies, 77);
    Bytes wrongVersion(good.begin(), good.end());
    Set(wrongVersion, kLayoutVersion, std::uint16_t(565));
    Set(wrongVersion, dmCopies, 77);
    Bytes longer(kSize + 40, 0x5A);
    std::copy(good.begin(), good.end(), longer.begin());
    Set(longer, dmCopies, 77);
    Bytes shorter(good.begin(), good.begin() + kSize - 1);
    const struct {
        const char* what;
        Bytes value;
    } cases[] = {
        {"a broken signature", wrongSignature},
        {"another layout version", wrongVersion},
        {"longer than a devmode", longer},
        {"one byte short", shorter},
        {"a single byte", Bytes(1, 0)},
        {"noise", Bytes(kSize, 0xC3)},
    };
    for (const auto& c : cases) {
        SetValue(printer, L"CurrentDevmode", c.value);
        const Buffer rebuilt = DriverDefault(printer);
        EXPECT_TRUE(IsDriverDevmode(rebuilt)) << c.what;
        EXPECT_TRUE(ChecksumMatches(rebuilt)) << c.what;
        EXPECT_EQ(Get(rebuilt, dmCopies), 1) << c.what << ": nothing of it is used";
        const auto stored = Value(printer, L"CurrentDevmode");
        ASSERT_TRUE(stored) << c.what;
        EXPECT_EQ(stored->size(), kSize) << c.what;
        EXPECT_TRUE(IsDriverDevmode(*stored)) << c.what;
    }
}

TEST_F(DevmodeExports, ValidStoredDevmodeKeepsItsSettingsAndFollowsTheHardware)
{
    const std::string printer = AddPrinter(kWorkgroup);
    DriverDefault(printer);
    // Built again from what the first build stored: the hardware values as they stay.
    Buffer stored = DriverDefault(printer);
    const std::int16_t installedTrays = Get(stored, kInstalledTrays);
    const std::uint8_t finishing = Get(stored, kFinishing);
    Set(stored, dmCopies, 7);
    Set(stored, dmOrientation, 2);
    Set(stored, kInstalledTrays, std::int16_t(installedTrays ^ 0x70));
    Set(stored, kFinishing, std::uint8_t(Get(stored, kFinishing) ^ 3));
    Set(stored, kChecksum, std::uint16_t(0x1111));  // not part of the validity test
    SetValue(printer, L"CurrentDevmode", Bytes(stored.begin(), stored.end()));

    const Buffer current = DriverDefault(printer);
    EXPECT_EQ(Get(current, dmCopies), 7);
    EXPECT_EQ(Get(current, dmOrientation), 2);
    EXPECT_EQ(Get(current, kInstalledTrays), installedTrays) << "the installed trays are the printer's";
    EXPECT_EQ(Get(current, kFinishing), finishing);
    EXPECT_TRUE(ChecksumMatches(current));
}

TEST_F(DevmodeExports, ConvertsAnOlderLayoutIntoTheFullOne)
{
    const std::string printer = AddPrinter(kDesktop);
    const Buffer current = DriverDefault(printer);

    // An older devmode: 212 public bytes, then this driver's private part.
    Bytes old(kOldPublicSize + kPrivateSize, 0);
    std::copy_n(current.begin(), kOldPublicSize, old.begin());
    std::copy_n(current.data() + kPublicSize, kPrivateSize, old.data() + kOldPublicSize);
    Set(old, dmSize, std::uint16_t(kOldPublicSize));
    Set(old, dmSpecVersion, kOldSpecVersionValue);
    Set(old, dmCopies, 12);

    Bytes out(kSize, 0xEE);
    Set(out, dmSize, std::uint16_t(kPublicSize));
    Set(out, dmDriverExtra, std::uint16_t(kPrivateSize));
    Set(out, dmSpecVersion, kSpecVersionValue);
    Set(out, dmDriverVersion, kDriverVersionValue);
    LONG size = LONG(out.size());
    std::wstring name = Wide(printer);
    ASSERT_TRUE(convert_(name.data(), reinterpret_cast<DEVMODEW*>(old.data()),
                         reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT))
        << GetLastError();
    EXPECT_EQ(size, LONG(kSize));
    EXPECT_EQ(Get(out, dmSize), kPublicSize);
    EXPECT_EQ(Get(out, dmSpecVersion), kSpecVersionValue);
    EXPECT_EQ(Get(out, dmCopies), 12);
    // The ICM and panning fields the old layout lacks keep the output's bytes.
    EXPECT_EQ(out[kOldPublicSize], 0xEE);
    EXPECT_EQ(out[kPublicSize - 1], 0xEE);
    EXPECT_TRUE(std::equal(out.begin() + kPublicSize, out.end(), current.begin() + kPublicSize));

    // The output's own layout must fit the size the caller gives.
    size = LONG(kSize) - 1;
    SetLastError(0);
    EXPECT_FALSE(convert_(name.data(), reinterpret_cast<DEVMODEW*>(old.data()),
                          reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // No input.
    size = LONG(kSize);
    EXPECT_FALSE(convert_(name.data(), nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size,
                          CDM_CONVERT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(DevmodeExports, ConvertIntoAPublicOnlyLayout)
{
    const Buffer current = DriverDefault(AddPrinter(kDesktop));
    Bytes out(kPublicSize + 8, 0xEE);
    Set(out, dmSize, std::uint16_t(kPublicSize));
    Set(out, dmDriverExtra, 0);
    LONG size = LONG(out.size());
    std::wstring name = L"unused";
    Buffer input = current;
    ASSERT_TRUE(convert_(name.data(), reinterpret_cast<DEVMODEW*>(input.data()),
                         reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT));
    EXPECT_EQ(size, LONG(kPublicSize));
    EXPECT_EQ(Get(out, dmDriverExtra), 0);
    EXPECT_TRUE(std::equal(out.begin() + 72, out.begin() + kPublicSize, current.begin() + 72));
    EXPECT_EQ(out[kPublicSize], 0xEE);
}

// No stored devmode and no configuration data: the spooler's devmode of the printer is merged
// over the driver defaults. Each case sets it on a new printer and reads what the merge kept.
TEST_F(DevmodeExports, SpoolerDevmodeMergedOverTheDefaults)
{
    const Buffer defaults = DriverDefault(AddPrinter(kDesktop, " defaults"));
    const auto publicOnly = [](std::uint32_t fields, I16 at, std::int16_t value) {
        Bytes dm(kPublicSize, 0);
        Set(dm, dmSpecVersion, kSpecVersionValue);
        Set(dm, dmSize, std::uint16_t(kPublicSize));
        Set(dm, dmFields, fields);
        Set(dm, at, value);
        return dm;
    };
    // This driver's layout under a foreign signature: its public settings only.
    Bytes foreign(defaults.begin(), defaults.end());
    Set(foreign, kSignature2, 0x12345678u);
    Set(foreign, dmCopies, 5);
    Set(foreign, kSoftwareEnable, 1);
    Set(foreign, kFeature87, 0);
    struct Case {
        const char* what;
        Bytes devmode;
        I16 at;
        std::int16_t expected;
    };
    const Case cases[] = {
        {"copies", publicOnly(kFieldCopies, dmCopies, 3), dmCopies, 3},
        {"copies 0", publicOnly(kFieldCopies, dmCopies, 0), dmCopies, 1},
        {"copies 10000", publicOnly(kFieldCopies, dmCopies, 10000), dmCopies, 1},
        {"copies not in its fields", publicOnly(kFieldOrientation, dmCopies, 50), dmCopies, 1},
        {"landscape", publicOnly(kFieldOrientation, dmOrientation, 2), dmOrientation, 2},
        {"orientation 3", publicOnly(kFieldOrientation, dmOrientation, 3), dmOrientation, 1},
        {"a tray the model lacks", publicOnly(kFieldDefaultSource, dmDefaultSource, 257),
         dmDefaultSource, 7},
        {"the manual feed", publicOnly(kFieldDefaultSource, dmDefaultSource, 4), dmDefaultSource, 4},
        {"an unlisted resolution", publicOnly(kFieldPrintQuality, dmPrintQuality, 450),
         dmPrintQuality, 600},
        {"draft resolution", publicOnly(kFieldPrintQuality, dmPrintQuality, -4), dmPrintQuality, 300},
        {"foreign devmode's copies", foreign, dmCopies, 5},
    };
    int n = 0;
    const auto withSpoolerDevmode = [&](Bytes devmode) {
        const std::string printer = AddPrinter(kDesktop, " " + std::to_string(++n));
        HANDLE h = Open(printer);
        DWORD needed = 0;
        GetPrinterW(h, 2, nullptr, 0, &needed);
        std::vector<BYTE> info(needed);
        EXPECT_TRUE(GetPrinterW(h, 2, info.data(), needed, &needed)) << GetLastError();
        auto* p = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
        p->pDevMode = reinterpret_cast<DEVMODEW*>(devmode.data());
        p->pSecurityDescriptor = nullptr;
        EXPECT_TRUE(SetPrinterW(h, 2, info.data(), 0)) << GetLastError();
        return DriverDefault(printer);
    };
    for (const Case& c : cases) {
        const Buffer current = withSpoolerDevmode(c.devmode);
        EXPECT_EQ(Get(current, c.at), c.expected) << c.what;
        EXPECT_TRUE(IsDriverDevmode(current)) << c.what;
        // Nothing of a foreign private part is taken.
        EXPECT_EQ(Get(current, kSoftwareEnable), Get(defaults, kSoftwareEnable)) << c.what;
        EXPECT_EQ(Get(current, kFeature87), Get(defaults, kFeature87)) << c.what;
    }

    // A valid devmode of this model is the printer's as it is, private part and all (so the
    // spooler keeps the private bytes the foreign case offered).
    Bytes valid(defaults.begin(), defaults.end());
    Set(valid, dmCopies, 9);
    Set(valid, kSoftwareEnable, 1);
    Set(valid, kFeature87, 0);
    const Buffer taken = withSpoolerDevmode(valid);
    EXPECT_EQ(Get(taken, dmCopies), 9);
    EXPECT_EQ(Get(taken, kSoftwareEnable), 1);
    EXPECT_EQ(Get(taken, kFeature87), 0);
}

TEST_F(DevmodeExports, ThreeModelsHaveTheirOwnDefaults)
{
    const struct {
        const char* driver;
        std::int16_t color;
        bool colorField;
        std::int16_t collate;
        std::uint8_t finishing;
        std::array<std::uint16_t, 5> resolutions;
    } cases[] = {
        {kDesktop, 1, false, 0, 0, {300, 600, 1200, 0, 0}},
        {kWorkgroup, 1, false, 1, 1, {300, 600, 1200, 0, 0}},
        {kColour, 2, true, 1, 1, {600, 1200, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const Buffer dm = DriverDefault(AddPrinter(c.driver, std::string(" ") + c.driver));
        SCOPED_TRACE(c.driver);
        EXPECT_TRUE(IsDriverDevmode(dm));
        EXPECT_EQ(GetText(dm, kModelDisplayName), c.driver);
        EXPECT_EQ(GetText(dm, kModelName), c.driver);
        EXPECT_EQ(Get(dm, dmColor), c.color);
        EXPECT_EQ((Get(dm, dmFields) & kFieldColor) != 0, c.colorField);
        EXPECT_EQ(Get(dm, dmCollate), c.collate);
        EXPECT_EQ((Get(dm, dmFields) & kFieldCollate) != 0, c.collate == 1);
        EXPECT_EQ(Get(dm, kFinishing), c.finishing);
        // Every model starts on automatic tray selection with its standard trays installed.
        EXPECT_EQ(Get(dm, dmDefaultSource), 7);
        EXPECT_EQ(Get(dm, kInstalledTrays), 7);
        for (std::size_t i = 0; i < kResolutionCount; ++i)
            EXPECT_EQ(Get(dm, U16{std::uint16_t(kResolutionList.offset + 2 * i)}), c.resolutions[i])
                << "resolution " << i;
        EXPECT_EQ(Get(dm, dmPrintQuality), 600);
        EXPECT_EQ(Get(dm, dmYResolution), 600);
    }
}

TEST_F(DevmodeExports, TagListToDevmode)
{
    // The size query needs no printer.
    EXPECT_EQ(tagList_(0, const_cast<char*>("QV No Such Printer"), nullptr, nullptr), LONG(kSize));

    Bytes out(kSize, 0xAB);
    auto* dm = reinterpret_cast<DEVMODEW*>(out.data());
    SetLastError(0);
    EXPECT_EQ(tagList_(0, const_cast<char*>("QV No Such Printer"), nullptr, dm), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(tagList_(0, nullptr, nullptr, dm), 0);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](auto b) { return b == 0xAB; }));

    const std::string printer = AddPrinter(kColour);
    ASSERT_EQ(tagList_(0, const_cast<char*>(printer.c_str()), nullptr, dm), 1);
    EXPECT_TRUE(IsDriverDevmode(out));
    EXPECT_TRUE(ChecksumMatches(out));
    EXPECT_EQ(Get(out, kTagListMark), 128);
    EXPECT_EQ(GetText(out, kPrinterName), printer);
    EXPECT_EQ(GetText(out, kModelName), kColour);
    EXPECT_EQ(Get(out, dmColor), 2);
}

}  // namespace
