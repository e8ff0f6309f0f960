// Configuration data as a printer value, against Wine's spooler.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "CfgTestUtil.h"
#include "ConfigStore.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

using namespace cfgtest;

namespace {

constexpr char kDriver[] = "QV Config Data Driver";
constexpr char kPrinter[] = "QV Config Data Printer";

class ConfigStoreTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    void SetUp() override
    {
        TestPrinterTest::SetUp();
        if (HasFatalFailure())
            return;
        // Wine has no DeletePrinterData: each test stores under a name of its own, and
        // "SWEnable" starts from a byte that finishing a read never writes.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("CfgTest.") + info->name();
        valueName_.assign(name.begin(), name.end());
        SetValue(kSWEnableValue, kUntouched);
    }
    // The value as the spooler holds it, read without the wrappers; nothing when missing.
    std::optional<Bytes> Value(const wchar_t* name, DWORD* type = nullptr)
    {
        DWORD needed = 0, kind = 0;
        GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &kind, nullptr, 0, &needed);
        Bytes data(needed);
        if (GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &kind, data.data(), needed, &needed) !=
            ERROR_SUCCESS)
            return std::nullopt;
        if (type)
            *type = kind;
        data.resize(needed);
        return data;
    }
    void SetValue(const wchar_t* name, const Bytes& data)
    {
        ASSERT_EQ(SetPrinterDataW(printer_, const_cast<LPWSTR>(name), REG_BINARY,
                                  const_cast<BYTE*>(data.data()), DWORD(data.size())),
                  DWORD(ERROR_SUCCESS));
    }

    const wchar_t* Name() const { return valueName_.c_str(); }

    static inline const Bytes kUntouched{0xEE};
    std::wstring valueName_;
};

void SetModelName(Bytes& devmode, const std::string& name)
{
    std::fill(devmode.begin() + dm::kModelName, devmode.begin() + dm::kModelName + 32, 0);
    std::copy(name.begin(), name.end(), devmode.begin() + dm::kModelName);
}

TEST_F(ConfigStoreTest, StoresTheBuiltDataAsABinaryValue)
{
    Bytes devmode = DefaultDevmode();
    Set(devmode, 86, -2, 5);
    ASSERT_TRUE(StoreConfigData(printer_, Name(), devmode)) << GetLastError();
    DWORD type = 0;
    const auto stored = Value(Name(), &type);
    ASSERT_TRUE(stored);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(*stored, BuildConfigData(devmode));
}

TEST_F(ConfigStoreTest, NothingWrittenStoresNothing)
{
    EXPECT_FALSE(StoreConfigData(printer_, Name(), {}));
    EXPECT_FALSE(Value(Name()));
    EXPECT_FALSE(StoreConfigData(nullptr, Name(), DefaultDevmode()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(ConfigStoreTest, LoadsIntoTheDevmodeAndStoresSoftwareEnable)
{
    Bytes source = DefaultDevmode();
    Set(source, 86, -2, 12);
    Set(source, 76, -2, 2);
    Set(source, 652, 1, 1);
    ASSERT_TRUE(StoreConfigData(printer_, Name(), source));

    Bytes devmode = DefaultDevmode();
    SetModelName(devmode, "QV LaserModel 12");
    ASSERT_TRUE(LoadConfigData(printer_, Name(), devmode, 0));
    EXPECT_EQ(Get(devmode, 86, -2), 12);
    EXPECT_EQ(Get(devmode, 76, -2), 2);
    EXPECT_EQ(Value(kSWEnableValue), Bytes{1});

    // The default value name is the one the driver uses.
    ASSERT_TRUE(StoreConfigData(printer_, kDefDrvCfgDataValue, source));
    EXPECT_EQ(Value(L"DefDrvCfgData"), BuildConfigData(source));
}

TEST_F(ConfigStoreTest, BrandModelsKeepTheirSoftwareEnableValue)
{
    ASSERT_TRUE(StoreConfigData(printer_, Name(), DefaultDevmode()));
    for (const char* model : {"Brevik 4100", "BREVIK", "brevikx"}) {
        SCOPED_TRACE(model);
        Bytes devmode = DefaultDevmode();
        SetModelName(devmode, model);
        ASSERT_TRUE(LoadConfigData(printer_, Name(), devmode, 0));
        EXPECT_EQ(Value(kSWEnableValue), kUntouched);
    }
}

TEST_F(ConfigStoreTest, MissingOrUnusableValuesReadNothing)
{
    Bytes devmode = DefaultDevmode();
    Set(devmode, 86, -2, 3);
    const Bytes before = devmode;
    EXPECT_FALSE(LoadConfigData(printer_, Name(), devmode, 0));
    EXPECT_FALSE(LoadConfigData(printer_, L"NoSuchConfigData", devmode, 0));

    const Bytes built = BuildConfigData(DefaultDevmode());
    const Bytes unusable[] = {
        Bytes{1, 0, 0, 0},
        Elem(1, {Val(0x12, 5)}),  // a value where a container belongs
        Bytes(built.begin(), built.begin() + 100),
    };
    for (const Bytes& data : unusable) {
        SetValue(Name(), data);
        EXPECT_FALSE(LoadConfigData(printer_, Name(), devmode, 0));
    }
    EXPECT_EQ(devmode, before);
    EXPECT_EQ(Value(kSWEnableValue), kUntouched);
}

}  // namespace
