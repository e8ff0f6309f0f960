// Finishing a read of configuration data from a printer value with the model's environment built
// from QVTDX5DA's own resources, against Wine's spooler.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <optional>
#include <string>

#include "CfgTestUtil.h"
#include "ConfigStore.h"
#include "DriverLibraryFixture.h"
#include "ModelResources.h"
#include "TestSupport.h"

using namespace cfgtest;
using namespace model;

namespace {

constexpr char kDriver[] = "Qelbrin QV-5n PCL";
constexpr char kPrinter[] = "QV Model Finish Printer";

class ModelFinishTest : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        ready_ = qvtest::InstallTestDriver(kDriver) &&
                 (qvtest::AddTestPrinter(kPrinter, kDriver) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load: " << GetLastError();
        ASSERT_TRUE(ready_) << "test printer could not be set up";
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterA(const_cast<char*>(kPrinter), &printer_, &defaults)) << GetLastError();
    }
    void TearDown() override
    {
        if (printer_)
            ClosePrinter(printer_);
    }

    // A devmode of the installed driver's model: its name and description, as the default
    // builder leaves them, over the engine tests' defaults.
    static Bytes ModelDevmode()
    {
        Bytes d = DefaultDevmode();
        const auto model = FindModelNumber(library_, kDriver);
        const auto description = model ? LoadDescriptionBytes(library_, *model)
                                       : std::span<const std::uint8_t>();
        if (description.empty())
            return {};
        std::copy_n(kDriver, sizeof kDriver - 1, d.begin() + dm::kModelName);
        std::copy(description.begin(), description.end(), d.begin() + kDevmodeDescription);
        return d;
    }

    std::optional<Bytes> Value(const wchar_t* name)
    {
        DWORD needed = 0, type = 0;
        GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
        Bytes data(needed);
        if (GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, data.data(), needed, &needed) !=
            ERROR_SUCCESS)
            return std::nullopt;
        data.resize(needed);
        return data;
    }

    static inline bool ready_ = false;
    HANDLE printer_ = nullptr;
};

// The workgroup model's print modes: 233 = 2 (photo) is listed with 234 = 2 up to 600 dpi only.
TEST_F(ModelFinishTest, ReadingStoredDataFinishesOnTheModelsLists)
{
    const struct {
        const wchar_t* value;
        int quality;
        int want233, want234;
    } cases[] = {
        {L"ModelFinish.600", 600, 2, 2},    // 234 reconciled within 233's group
        {L"ModelFinish.1200", 1200, 1, 1},  // no photo mode at 1200: reset from the first record
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quality);
        Bytes source = ModelDevmode();
        ASSERT_FALSE(source.empty()) << "no model for " << kDriver;
        Set(source, 88, -2, 258);  // optional tray 4
        Set(source, 90, -2, c.quality);
        Set(source, 233, 1, 2);
        Set(source, 652, 1, 1);
        ModelEnvironment writer = LoadModelEnvironment(library_, source);
        ASSERT_TRUE(StoreConfigData(printer_, c.value, source, &writer)) << GetLastError();

        Bytes devmode = ModelDevmode();
        Set(devmode, 233, 1, 1);
        Set(devmode, 234, 1, 3);
        ModelEnvironment reader = LoadModelEnvironment(library_, devmode);
        ASSERT_FALSE(reader.Trays().empty());
        ASSERT_TRUE(LoadConfigData(printer_, c.value, devmode, 0, &reader));
        EXPECT_EQ(Get(devmode, 88, -2), 258) << "the tray found by its number in the model's list";
        EXPECT_EQ(Get(devmode, 90, -2), c.quality);
        EXPECT_EQ(Get(devmode, 233, 1), c.want233);
        EXPECT_EQ(Get(devmode, 234, 1), c.want234);
        EXPECT_EQ(Value(kSWEnableValue), Bytes{1});
    }
}

TEST_F(ModelFinishTest, ADevmodeWithoutADescriptionGetsAnEmptyEnvironment)
{
    const ModelEnvironment none = LoadModelEnvironment(library_, Bytes(300, 0));
    EXPECT_TRUE(none.Trays().empty());
    EXPECT_TRUE(none.PrintModes().empty());

    // Description words naming resources that do not exist.
    Bytes devmode = ModelDevmode();
    ASSERT_FALSE(devmode.empty());
    Set(devmode, 356, 2, 40);
    Set(devmode, 364, 2, 40);
    const ModelEnvironment missing = LoadModelEnvironment(library_, devmode);
    EXPECT_TRUE(missing.Trays().empty());
    EXPECT_TRUE(missing.PrintModes().empty());
}

}  // namespace
