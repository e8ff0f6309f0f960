// The driver-configuration exports of QVTDX5DA.DLL, called as a configuration tool calls them, on
// printers of the driver's models in Wine's spooler.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "DriverLibraryFixture.h"
#include "DrvCfgRecords.h"
#include "ProfileTestUtil.h"
#include "Settings.h"
#include "TestSupport.h"

using namespace proftest;
using namespace profiles;

namespace {

using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using ConvertFn = DWORD(WINAPI*)(DcdConvertRecord*);
using ForceFn = DWORD(WINAPI*)(DcdForceRecord*);
using SupportFn = DWORD(WINAPI*)(DrvCfgSupportRecord*);
using SearchFn = DWORD(WINAPI*)(DrvCfgSearchRecord*, const ConfigEntry*);

class DrvCfgExports : public qvtest::DriverLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        DriverLibraryTest::SetUpTestSuite();
        if (!library_)
            return;
        convertDevMode_ = reinterpret_cast<ConvertDevModeFn>(GetProcAddress(library_, "DrvConvertDevMode"));
        convert_ = reinterpret_cast<ConvertFn>(GetProcAddress(library_, "ConvertPrtIntoDCD"));
        force_ = reinterpret_cast<ForceFn>(GetProcAddress(library_, "Cfi2DrvForceDCDIntoPrtObj"));
        support_ = reinterpret_cast<SupportFn>(GetProcAddress(library_, "EnumDrvCfgSupport"));
        search_ = reinterpret_cast<SearchFn>(GetProcAddress(library_, "EnumSpecificDrvCfgCallBack"));
        driversReady_ = qvtest::InstallTestDriver(kDesktop) && qvtest::InstallTestDriver(kWorkgroup);
    }
    void SetUp() override
    {
        ASSERT_TRUE(library_) << "QVTDX5DA.DLL did not load";
        ASSERT_TRUE(convertDevMode_ && convert_ && force_ && support_ && search_) << "an export is missing";
        ASSERT_TRUE(driversReady_) << "the test drivers could not be installed";
    }

    // The printer's current devmode, as the driver builds it.
    devmode::Buffer Current(const std::string& printer) { return CurrentDevmode(convertDevMode_, printer); }
    // A printer whose current devmode differs from the defaults in print settings the data carries.
    devmode::Buffer Customise(const std::string& printer)
    {
        devmode::Buffer d = Current(printer);
        devmode::Set(d, devmode::dmOrientation, 2);
        devmode::Set(d, devmode::dmCopies, 3);
        devmode::Set(d, devmode::dmDuplex, 2);
        devmode::Set(d, devmode::dmCollate, 0);
        devmode::UpdateChecksum(d);
        SetPrinterValue(printers_.Open(printer), L"CurrentDevmode", REG_BINARY, d.data(), DWORD(d.size()));
        return Current(printer);
    }
    static DcdConvertRecord ConvertRecord(const devmode::Buffer& d, DWORD opMask = 3)
    {
        DcdConvertRecord r{};
        r.size = sizeof r;
        r.flag = 1;
        r.opMask = opMask;
        r.devmode = d.data();
        r.devmodeSize = DWORD(d.size());
        return r;
    }
    static Bytes Data(const DcdConvertRecord& r)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(r.data));
        Bytes data(bytes, bytes + r.dataSize);
        GlobalUnlock(r.data);
        return data;
    }
    static DcdForceRecord ForceRecord(const std::string& printer, const char* model, const Bytes& data)
    {
        DcdForceRecord r{};
        r.size = sizeof r;
        FillIdentBlock(r.ident);
        r.printerName = printer.c_str();
        r.modelName = model;
        r.opMask = 0x3FF;
        std::copy(std::begin(kContentFlags), std::end(kContentFlags), r.contentFlags);
        r.data = data.data();
        r.dataSize = DWORD(data.size());
        return r;
    }

    static inline ConvertDevModeFn convertDevMode_ = nullptr;
    static inline ConvertFn convert_ = nullptr;
    static inline ForceFn force_ = nullptr;
    static inline SupportFn support_ = nullptr;
    static inline SearchFn search_ = nullptr;
    static inline bool driversReady_ = false;
    TestPrinters printers_;
};

TEST_F(DrvCfgExports, ConvertFillsTheRecordWithTheDevmodesData)
{
    const std::string printer = printers_.Add(kWorkgroup, "QV Convert");
    const devmode::Buffer d = Current(printer);
    DcdConvertRecord r = ConvertRecord(d);
    r.flag = 7;
    std::memset(r.modelRecordName, 'x', sizeof r.modelRecordName);
    ASSERT_EQ(convert_(&r), 0u);
    EXPECT_EQ(r.flag, 1u);
    EXPECT_EQ(r.version, 0x00010001u);
    EXPECT_TRUE(IsIdentBlock(r.ident));
    EXPECT_STREQ(r.modelRecordName, kWorkgroup);
    EXPECT_EQ(std::count(std::begin(r.modelRecordName), std::end(r.modelRecordName), 0),
              std::ptrdiff_t(sizeof r.modelRecordName - std::strlen(kWorkgroup)))
        << "the name is not zero-filled";
    ASSERT_TRUE(r.data);
    ASSERT_GE(r.dataSize, 8u);
    EXPECT_EQ(GlobalSize(r.data), SIZE_T(r.dataSize));
    // The whole block is the root element.
    const Bytes data = Data(r);
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(std::uint32_t(data[4] | data[5] << 8 | data[6] << 16 | data[7] << 24), r.dataSize);
    GlobalFree(r.data);
}

TEST_F(DrvCfgExports, ConvertRefusesRecordsItCannotUse)
{
    const std::string printer = printers_.Add(kDesktop, "QV Convert Refused");
    const devmode::Buffer good = Current(printer);
    devmode::Buffer foreign = good;
    devmode::Set(foreign, devmode::kSignature2, 0u);

    struct Case {
        const char* what;
        void (*spoil)(DcdConvertRecord&, const devmode::Buffer&);
    };
    const Case cases[] = {
        // 1723 bytes in the shipped 32-bit build.
        {"record one byte short", [](DcdConvertRecord& r, const devmode::Buffer&) { r.size = sizeof r - 1; }},
        {"flag not set", [](DcdConvertRecord& r, const devmode::Buffer&) { r.flag = 0; }},
        {"no devmode", [](DcdConvertRecord& r, const devmode::Buffer&) { r.devmode = nullptr; }},
        {"devmode of 1255 bytes", [](DcdConvertRecord& r, const devmode::Buffer&) { r.devmodeSize = 1255; }},
        {"another driver's devmode",
         [](DcdConvertRecord& r, const devmode::Buffer& other) { r.devmode = other.data(); }},
    };
    for (const Case& c : cases) {
        DcdConvertRecord r = ConvertRecord(good);
        c.spoil(r, foreign);
        const DWORD flag = r.flag;
        EXPECT_EQ(convert_(&r), 1u) << c.what;
        EXPECT_EQ(r.flag, flag) << c.what;
        EXPECT_EQ(r.data, nullptr) << c.what;
        EXPECT_EQ(r.version, 0u) << c.what;
    }
    EXPECT_EQ(convert_(nullptr), 1u);
}

TEST_F(DrvCfgExports, ConvertWithAnOperationMaskThatSelectsNothingBuildsNothing)
{
    const std::string printer = printers_.Add(kDesktop, "QV Convert Empty");
    const devmode::Buffer d = Current(printer);
    DcdConvertRecord r = ConvertRecord(d, 0);
    EXPECT_EQ(convert_(&r), 24u);
    EXPECT_EQ(r.data, nullptr);
    EXPECT_EQ(r.dataSize, 0u);
}

TEST_F(DrvCfgExports, DataOfOnePrinterForcedOntoAnotherOfTheModelGivesItTheSameSettings)
{
    const std::string source = printers_.Add(kWorkgroup, "QV Force Source");
    const std::string target = printers_.Add(kWorkgroup, "QV Force Target");
    const devmode::Buffer custom = Customise(source);
    ASSERT_EQ(devmode::Get(custom, devmode::dmOrientation), 2);
    ASSERT_FALSE(devmode::SettingsEqual(custom, Current(target))) << "the printers start alike";

    DcdConvertRecord converted = ConvertRecord(custom);
    ASSERT_EQ(convert_(&converted), 0u);
    const Bytes data = Data(converted);
    GlobalFree(converted.data);

    DcdForceRecord r = ForceRecord(target, kWorkgroup, data);
    r.profileName = kWorkgroup;
    ASSERT_EQ(force_(&r), 0u);

    const devmode::Buffer result = Current(target);
    EXPECT_TRUE(devmode::SettingsEqual(custom, result));
    EXPECT_EQ(devmode::Get(result, devmode::dmCopies), 3);
    EXPECT_EQ(devmode::Get(result, devmode::dmDuplex), 2);
    EXPECT_EQ(devmode::GetText(result, devmode::kPrinterName), target);

    // Stored as the printer's devmode in the spooler, and as its configuration data.
    const HANDLE h = printers_.Open(target);
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    ASSERT_TRUE(GetPrinterW(h, 2, info.data(), needed, &needed));
    const DEVMODEW* spooler = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode;
    ASSERT_TRUE(spooler);
    EXPECT_EQ(spooler->dmOrientation, 2);
    EXPECT_EQ(spooler->dmDriverExtra, devmode::kPrivateSize);
    EXPECT_TRUE(PrinterValue(h, L"DefDrvCfgData"));
}

// The data sets what it carries; the rest comes from the given devmode.
TEST_F(DrvCfgExports, ForceMergesTheGivenDevmodeFirst)
{
    const std::string target = printers_.Add(kWorkgroup, "QV Force Merged");
    devmode::Buffer landscape = Current(target);
    devmode::Set(landscape, devmode::dmOrientation, 2);
    DcdConvertRecord converted = ConvertRecord(landscape);
    ASSERT_EQ(convert_(&converted), 0u);
    const Bytes data = Data(converted);
    GlobalFree(converted.data);
    // A print-and-hold user name: the data carries none.
    devmode::Buffer input = Current(target);
    devmode::SetText(input, devmode::kHoldUserName, "alice");
    devmode::UpdateChecksum(input);

    DcdForceRecord r = ForceRecord(target, kWorkgroup, data);
    r.devmode = input.data();
    r.devmodeSize = DWORD(input.size());
    ASSERT_EQ(force_(&r), 0u);
    const devmode::Buffer result = Current(target);
    EXPECT_EQ(devmode::Get(result, devmode::dmOrientation), 2);
    EXPECT_EQ(devmode::GetText(result, devmode::kHoldUserName), "alice");
}

TEST_F(DrvCfgExports, ForceLeavesThePrinterAloneWhenTheDataDoesNotApply)
{
    const std::string source = printers_.Add(kWorkgroup, "QV Force Other");
    const std::string target = printers_.Add(kWorkgroup, "QV Force Kept");
    const devmode::Buffer custom = Customise(source);
    DcdConvertRecord converted = ConvertRecord(custom);
    ASSERT_EQ(convert_(&converted), 0u);
    const Bytes data = Data(converted);
    GlobalFree(converted.data);
    const std::string missing = "QV No Such Printer";

    struct Case {
        const char* what;
        DWORD result;
        void (*spoil)(DcdForceRecord&);
    };
    const Case cases[] = {
        {"first content word without bit 7", 1, [](DcdForceRecord& r) { r.contentFlags[0] = 0x7F; }},
        {"second content word without bit 0", 1, [](DcdForceRecord& r) { r.contentFlags[1] = 0; }},
        {"third content word without bit 1", 1, [](DcdForceRecord& r) { r.contentFlags[2] = 1; }},
        {"another model", 1, [](DcdForceRecord& r) { r.modelName = kDesktop; }},
        {"another model record", 1, [](DcdForceRecord& r) { r.profileName = "Qelbrin QV-5c PCL"; }},
        {"no data", 1, [](DcdForceRecord& r) { r.dataSize = 0; }},
        {"record one byte short", 1, [](DcdForceRecord& r) { r.size = sizeof r - 1; }},
        {"devmode too short to read", 1,
         [](DcdForceRecord& r) {
             static const BYTE shortDevmode[16] = {};
             r.devmode = shortDevmode;
             r.devmodeSize = sizeof shortDevmode;
         }},
        {"data that converts to nothing", 3,
         [](DcdForceRecord& r) {
             static const Bytes bad(64, 0xAB);
             r.data = bad.data();
             r.dataSize = DWORD(bad.size());
         }},
    };
    const devmode::Buffer before = Current(target);
    for (const Case& c : cases) {
        DcdForceRecord r = ForceRecord(target, kWorkgroup, data);
        c.spoil(r);
        EXPECT_EQ(force_(&r), c.result) << c.what;
        EXPECT_TRUE(devmode::SettingsEqual(before, Current(target))) << c.what;
    }
    DcdForceRecord r = ForceRecord(missing, kWorkgroup, data);
    EXPECT_EQ(force_(&r), 14u) << "a printer that cannot be opened";
    EXPECT_EQ(force_(nullptr), 1u);
}

TEST_F(DrvCfgExports, SupportReportsTheModelsCapabilitiesAndBrand)
{
    const std::string printer = printers_.Add(kDesktop, "QV Support");
    constexpr DWORD kUntouched = 0xEEEEEEEE;
    struct Case {
        const char* model;
        DWORD version;
        const char* printer;
        DWORD access, capability420, capability418, brand;
    };
    const Case cases[] = {
        // The family's descriptions leave both capability words 0.
        {kDesktop, 3, nullptr, kUntouched, 0, 0, 2},
        {"", 3, nullptr, kUntouched, 318, 65, 1},
        {"Other Vendor LaserJet", 3, nullptr, kUntouched, 318, 65, 3},
        {"Laser by Qelbrin", 3, nullptr, kUntouched, 318, 65, 2},
        // A printer that opens with full access is administered by the caller.
        {kDesktop, 2, printer.c_str(), 3, kUntouched, kUntouched, kUntouched},
        {kDesktop, 3, printer.c_str(), 3, 0, 0, 2},
        {kDesktop, 2, "", kUntouched, kUntouched, kUntouched, kUntouched},
        {kDesktop, 1, printer.c_str(), kUntouched, kUntouched, kUntouched, kUntouched},
    };
    for (const Case& c : cases) {
        DrvCfgSupportRecord r{};
        r.size = sizeof r;
        r.version = c.version;
        r.modelName = c.model;
        r.printerName = c.printer;
        r.printerAccess = r.capability420 = r.capability418 = r.brand = kUntouched;
        const std::string what = std::string(c.model) + " v" + std::to_string(c.version) + (c.printer ? " printer" : "");
        ASSERT_EQ(support_(&r), 0u) << what;
        EXPECT_TRUE(IsIdentBlock(r.ident)) << what;
        EXPECT_EQ(r.printerAccess, c.access) << what;
        EXPECT_EQ(r.capability420, c.capability420) << what;
        EXPECT_EQ(r.capability418, c.capability418) << what;
        EXPECT_EQ(r.brand, c.brand) << what;
    }
}

TEST_F(DrvCfgExports, SupportWritesNothingBeyondTheRecordsSize)
{
    struct Padded {
        DrvCfgSupportRecord record;
        DWORD guard;
    } p{};
    p.record.size = offsetof(DrvCfgSupportRecord, brand);
    p.record.version = 3;
    p.record.modelName = kDesktop;
    p.record.brand = 0xEEEEEEEE;
    p.guard = 0xEEEEEEEE;
    ASSERT_EQ(support_(&p.record), 0u);
    EXPECT_EQ(p.record.capability418, 0u);
    EXPECT_EQ(p.record.brand, 0xEEEEEEEEu);
    EXPECT_EQ(p.guard, 0xEEEEEEEEu);

    DrvCfgSupportRecord tiny{};
    tiny.size = offsetof(DrvCfgSupportRecord, ident) + sizeof(IdentBlock) - 1;
    EXPECT_EQ(support_(&tiny), 1u);
    EXPECT_EQ(tiny.ident.words[0], 0u);
    EXPECT_EQ(support_(nullptr), 1u);
}

TEST_F(DrvCfgExports, SearchCallbackTakesTheSizeOfDataForTheDevmodesModel)
{
    const std::string printer = printers_.Add(kWorkgroup, "QV Search");
    const devmode::Buffer d = Current(printer);
    const BYTE data[40] = {};

    struct Case {
        const char* what;
        const char* model;
        const char* record;
        DWORD flags[3];
        DWORD dataSize;
        DWORD found;
    };
    const Case cases[] = {
        {"same model and record", kWorkgroup, kWorkgroup, {0x80, 1, 2}, 40, 40},
        {"names compared without case", "QELBRIN qv-5N pcl", "qelbrin QV-5n PCL", {0xFF, 0xFF, 0xFF}, 40, 40},
        {"another model", kDesktop, kWorkgroup, {0x80, 1, 2}, 40, 0},
        {"another model record", kWorkgroup, kDesktop, {0x80, 1, 2}, 40, 0},
        {"not a whole set of settings", kWorkgroup, kWorkgroup, {0x80, 1, 0}, 40, 0},
        {"no data", kWorkgroup, kWorkgroup, {0x80, 1, 2}, 0, 0},
    };
    for (const Case& c : cases) {
        DrvCfgSearchRecord search{sizeof search, d.data(), DWORD(d.size()), 0};
        ConfigEntry entry{};
        entry.size = sizeof entry;
        FillIdentBlock(entry.ident);
        entry.modelName = c.model;
        entry.modelRecordName = c.record;
        std::copy(std::begin(c.flags), std::end(c.flags), entry.contentFlags);
        entry.data = data;
        entry.dataSize = c.dataSize;
        EXPECT_EQ(search_(&search, &entry), 0u) << c.what;
        EXPECT_EQ(search.dataSize, c.found) << c.what;
    }
    EXPECT_EQ(search_(nullptr, nullptr), 0u);
}

// The callback as a tool uses it: handed to the profile library's enumeration.
TEST_F(DrvCfgExports, SearchCallbackFindsAStoredProfileThroughTheProfileLibrary)
{
    qvtest::TempDir store;
    SetEnvironmentVariableA("QVTDX5PU_STORE", store.Path().c_str());
    const HMODULE profilesLibrary = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5PU.DLL").c_str());
    ASSERT_TRUE(profilesLibrary);
    const auto write = reinterpret_cast<WritePerProfileProc>(GetProcAddress(profilesLibrary, "WritePerProfile"));
    const auto enumSpecific =
        reinterpret_cast<EnumSpecificPerProfProc>(GetProcAddress(profilesLibrary, "EnumSpecificPerProf"));
    ASSERT_TRUE(write && enumSpecific);

    const std::string printer = printers_.Add(kWorkgroup, "QV Search Library");
    const devmode::Buffer d = Current(printer);
    const Bytes data(123, 1);
    WritePerProfileRequest w{};
    w.size = sizeof w;
    w.version = 1;
    w.kind = kKindPersonal;
    FillIdentBlock(w.ident);
    w.printerName = printer.c_str();
    w.name = "Tool profile";
    w.modelName = kWorkgroup;
    w.modelRecordName = kWorkgroup;
    w.data = data.data();
    w.dataSize = DWORD(data.size());
    std::copy(std::begin(kContentFlags), std::end(kContentFlags), w.contentFlags);
    ASSERT_EQ(write(&w), 0u);

    DrvCfgSearchRecord search{sizeof search, d.data(), DWORD(d.size()), 0};
    EnumSpecificPerProfRequest e{};
    e.size = sizeof e;
    e.version = 1;
    e.id = w.id;
    e.printerName = printer.c_str();
    e.callback = reinterpret_cast<ConfigEnumProc>(search_);
    e.argument = &search;
    ASSERT_EQ(enumSpecific(&e), 0u);
    EXPECT_EQ(search.dataSize, 123u);

    FreeLibrary(profilesLibrary);
    SetEnvironmentVariableA("QVTDX5PU_STORE", nullptr);
}

}  // namespace
