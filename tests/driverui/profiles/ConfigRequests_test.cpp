// The configurations page's requests (CallBackAccess types 26 to 33) on a printer's working
// devmode, with the profile library stand-in keeping the profiles in a directory of the test's.
// The program carries the driver's model resources and stands in for QVTDX5DA as the library's
// module; the sheet's feature entries are simulated by two settings.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "CallRecord.h"
#include "ConfigApply.h"
#include "ConfigRequests.h"
#include "CurrentDevmode.h"
#include "DialogStrings.h"
#include "Library.h"
#include "ProfileTestUtil.h"
#include "TestSupport.h"

using namespace proftest;
using namespace profiles;

namespace {

// The feature entries of a sheet, reduced to two settings.
struct Entries {
    std::int16_t orientation = 1;
    std::int16_t copies = 1;
    int loads = 0;
};

// A configuration as the page's enumeration callback sees it.
struct Listed {
    DWORD kind;
    DWORD id0;
    std::string name;
    bool whole;
    std::string model;
    DWORD dataSize;
    bool operator==(const Listed&) const = default;
};

DWORD WINAPI Collect(void* argument, const ConfigEntry* e)
{
    auto& list = *static_cast<std::vector<Listed>*>(argument);
    list.push_back({e->kind, e->id.words[0], e->name ? e->name : "", HasContentFlags(e->contentFlags),
                    e->modelName ? e->modelName : "", e->dataSize});
    return 0;
}

DWORD WINAPI StopAtFirst(void* argument, const ConfigEntry*)
{
    ++*static_cast<int*>(argument);
    return 3;
}

class ConfigRequests : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LibraryInitialize(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH);
        driversReady_ = qvtest::InstallTestDriver(kDesktop) && qvtest::InstallTestDriver(kWorkgroup);
    }
    void SetUp() override
    {
        ASSERT_TRUE(driversReady_) << "the test drivers could not be installed";
        SetEnvironmentVariableA("QVTDX5PU_STORE", store_.Path().c_str());
        Target(kWorkgroup, "QV Requests");
    }
    void TearDown() override { SetEnvironmentVariableA("QVTDX5PU_STORE", nullptr); }

    // The target: a new printer of the model, its current devmode as the working devmode, the
    // stand-in library.
    void Target(const char* model, const std::string& name)
    {
        printer_ = printers_.Add(model, name);
        const HANDLE h = printers_.Open(printer_);
        devmode::Buffer current{};
        ASSERT_TRUE(devmode::BuildCurrentDevmode(h, current, nullptr));
        working_.assign(current.begin(), current.end());
        working_.push_back(0);  // the sheet's working devmode has one byte more
        target_.devmode = working_;
        target_.printer = h;
        target_.printerName = printer_;
        target_.writeEntries = [this](std::span<std::uint8_t> d) {
            devmode::Set(d, devmode::dmOrientation, entries_.orientation);
            devmode::Set(d, devmode::dmCopies, entries_.copies);
        };
        target_.loadEntries = [this](std::span<const std::uint8_t> d) {
            entries_.orientation = devmode::Get(d, devmode::dmOrientation);
            entries_.copies = devmode::Get(d, devmode::dmCopies);
            ++entries_.loads;
        };
        target_.changeCount = &changeCount_;
        target_.library = ProfileLibrary(Wide(qvtest::BinDir() + "\\QVTDX5PU.DLL"));
    }

    ConfigRequest Request(DWORD kind, ConfigId id = {}, const char* name = nullptr)
    {
        ConfigRequest r{};
        r.size = sizeof r;
        r.devmode = working_.data();
        r.kind = kind;
        r.id = id;
        r.name = name;
        return r;
    }
    std::vector<Listed> List(ConfigId id = {})
    {
        std::vector<Listed> list;
        ConfigRequest r = Request(kEnumShared | kEnumPersonal | kEnumBuiltIn, id);
        EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, Collect, &list), 0u);
        return list;
    }
    std::vector<std::string> Calls(const std::string& function) const
    {
        std::vector<std::string> calls;
        for (const std::string& line : record_.Calls())
            if (line.rfind(function + "\t", 0) == 0)
                calls.push_back(line);
        return calls;
    }
    devmode::Buffer Working() const
    {
        devmode::Buffer d{};
        std::copy_n(working_.begin(), d.size(), d.begin());
        return d;
    }

    static inline bool driversReady_ = false;
    qvtest::TempDir store_;
    qvtest::TempDir files_;
    qvtest::CallRecord record_{"QVTDX5PU_RECORD", files_.File("calls.txt")};
    TestPrinters printers_;
    std::string printer_;
    std::vector<std::uint8_t> working_;
    Entries entries_;
    std::uint16_t changeCount_ = 0;
    ConfigTarget target_;
};

TEST_F(ConfigRequests, ProfilesRoundTripThroughTheProfileLibrary)
{
    const Listed factory{kKindBuiltIn, kFactoryDefaults, " Factory Defaults", false, "", 0};

    // Store the current settings (with the entries written back) as a profile of the user.
    entries_ = {2, 5};
    ConfigRequest store = Request(kKindPersonal, {}, "Draft");
    ASSERT_EQ(ConfigAccess(kRequestStoreProfile, target_, &store, nullptr, nullptr), 0u);
    const ConfigId id = store.id;
    ASSERT_NE(id.words[1], 0u) << "no identifier came back";
    EXPECT_EQ(Identity(Working()), "10: " + std::to_string(id.words[0]) + " " + std::to_string(id.words[1]) + " " +
                                       std::to_string(id.words[2]) + " " + std::to_string(id.words[3]));
    const std::vector<std::string> writes = Calls("WritePerProfile");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].rfind("WritePerProfile\t" + printer_ + "\t10\tDraft\t" + kWorkgroup + "\t" + kWorkgroup + "\t", 0),
              0u)
        << writes[0];

    // Back to the factory defaults.
    ConfigRequest reset = Request(kKindBuiltIn, {{kFactoryDefaults}});
    ASSERT_EQ(ConfigAccess(kRequestResetDefaults, target_, &reset, nullptr, nullptr), 0u);
    EXPECT_EQ(entries_.orientation, 1);
    EXPECT_EQ(entries_.copies, 1);
    EXPECT_EQ(Identity(Working()), "4: 1 0 0 0");

    std::vector<Listed> list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], factory);
    EXPECT_EQ(list[1].kind, kKindPersonal);
    EXPECT_EQ(list[1].name, "Draft");
    EXPECT_TRUE(list[1].whole);
    EXPECT_EQ(list[1].model, kWorkgroup);
    EXPECT_GT(list[1].dataSize, 0u);

    // Apply it: the settings, and the profile's identity, come back; data by the two-call protocol.
    ConfigRequest apply = Request(kKindPersonal, id);
    const int loads = entries_.loads;
    ASSERT_EQ(ConfigAccess(kRequestApplyProfile, target_, &apply, nullptr, nullptr), 0u);
    EXPECT_EQ(entries_.orientation, 2);
    EXPECT_EQ(entries_.copies, 5);
    EXPECT_EQ(entries_.loads, loads + 1);
    EXPECT_EQ(ConfigIdWord(Working(), 1), id.words[1]);
    const std::vector<std::string> gets = Calls("GetPerProf");
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[0].substr(gets[0].size() - 5), "\tsize");
    EXPECT_EQ(gets[1].substr(gets[1].size() - 5), "\tdata");

    // Rename it, then overwrite it with other settings.
    ConfigRequest rename = Request(kKindPersonal, id, "Final");
    ASSERT_EQ(ConfigAccess(kRequestRenameProfile, target_, &rename, nullptr, nullptr), 0u);
    entries_.copies = 7;
    ConfigRequest overwrite = Request(kKindPersonal, id);
    ASSERT_EQ(ConfigAccess(kRequestOverwriteProfile, target_, &overwrite, nullptr, nullptr), 0u);
    entries_.copies = 1;
    ASSERT_EQ(ConfigAccess(kRequestApplyProfile, target_, &apply, nullptr, nullptr), 0u);
    EXPECT_EQ(entries_.copies, 7);
    list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].name, "Final");

    // Listed by its identifier: the specific enumeration.
    list = List(id);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].name, "Final");
    EXPECT_FALSE(Calls("EnumSpecificPerProf").empty());

    // Delete it.
    ConfigRequest remove = Request(kKindPersonal, id);
    ASSERT_EQ(ConfigAccess(kRequestDeleteProfile, target_, &remove, nullptr, nullptr), 0u);
    EXPECT_EQ(List(), std::vector<Listed>{factory});
    EXPECT_EQ(ConfigAccess(kRequestApplyProfile, target_, &apply, nullptr, nullptr), 3u);
}

TEST_F(ConfigRequests, ListingStopsWhenTheCallbackSaysSo)
{
    ConfigRequest store = Request(kKindShared, {}, "Shared");
    ASSERT_EQ(ConfigAccess(kRequestStoreProfile, target_, &store, nullptr, nullptr), 0u);
    int calls = 0;
    ConfigRequest r = Request(kEnumShared | kEnumBuiltIn);
    EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, StopAtFirst, &calls), 0u);
    EXPECT_EQ(calls, 1);
    // Only the kinds asked for.
    std::vector<Listed> list;
    r = Request(kEnumPersonal);
    EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, Collect, &list), 0u);
    EXPECT_TRUE(list.empty());
    r = Request(kEnumShared);
    EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, Collect, &list), 0u);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "Shared");
}

TEST_F(ConfigRequests, InstalledDefaultsApplyWithTheDocumentEntriesOnly)
{
    const HANDLE h = target_.printer;
    const devmode::Buffer before = Working();
    ConfigRequest r = Request(kKindBuiltIn, {{kInstalledDefaults}});
    EXPECT_EQ(ConfigAccess(kRequestInstalledDefaults, target_, &r, nullptr, nullptr), 3u) << "nothing installed";
    EXPECT_TRUE(std::equal(before.begin(), before.end(), working_.begin()));
    EXPECT_EQ(entries_.loads, 0);

    devmode::Buffer installed = Working();
    devmode::Set(installed, devmode::dmOrientation, 2);
    std::vector<std::uint8_t> data = BuildData(installed, kOpDocDefaults, h);
    ASSERT_FALSE(data.empty());
    SetPrinterValue(h, L"DCD_InstalledDocDefaults", REG_BINARY, data.data(), DWORD(data.size()));
    ASSERT_EQ(ConfigAccess(kRequestInstalledDefaults, target_, &r, nullptr, nullptr), 0u);
    EXPECT_EQ(entries_.orientation, 2);
    EXPECT_EQ(Identity(Working()), "4: 2 0 0 0");

    // Listed once it exists.
    const std::vector<Listed> list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], (Listed{kKindBuiltIn, kInstalledDefaults, " Installed Defaults", false, "", 0}));
}

TEST_F(ConfigRequests, InstalledDefaultsThatDoNotApplyAreKept)
{
    const HANDLE h = target_.printer;
    const Bytes unreadable(40, 0xAB);
    SetPrinterValue(h, L"DCD_InstalledDocDefaults", REG_BINARY, unreadable.data(), DWORD(unreadable.size()));
    ConfigRequest r = Request(kKindBuiltIn, {{kInstalledDefaults}});
    EXPECT_EQ(ConfigAccess(kRequestInstalledDefaults, target_, &r, nullptr, nullptr), 3u);
    EXPECT_EQ(PrinterValue(h, L"DCD_InstalledDocDefaults"), unreadable);
}

TEST_F(ConfigRequests, ResetCountsAChangeOfTheSoftwareEnableByte)
{
    // The workgroup model starts with the byte clear.
    for (const std::uint8_t enabled : {0, 1}) {
        devmode::Set(std::span<std::uint8_t>(working_), devmode::kSoftwareEnable, enabled);
        changeCount_ = 0;
        ConfigRequest r = Request(kKindBuiltIn, {{kFactoryDefaults}});
        ASSERT_EQ(ConfigAccess(kRequestResetDefaults, target_, &r, nullptr, nullptr), 0u);
        EXPECT_EQ(changeCount_, enabled) << int(enabled);
        EXPECT_EQ(devmode::Get(Working(), devmode::kSoftwareEnable), 0);
    }
}

// A model without a duplex unit keeps a profile's duplex only where its finishing byte allows.
TEST_F(ConfigRequests, ProfileDuplexFitsAModelWithoutADuplexUnit)
{
    Target(kDesktop, "QV Requests Desktop");
    ASSERT_EQ(devmode::Get(Working(), devmode::kPaperHandlingFlagsHigh) & 0x18, 0);
    struct Case {
        std::int16_t duplex;
        std::uint8_t finishing;  // as stored; the data keeps 0 or "some" (3)
        std::int16_t applied;
    };
    const Case cases[] = {{2, 0, 1}, {3, 0, 1}, {2, 2, 2}, {3, 1, 3}, {1, 3, 1}};
    for (const Case& c : cases) {
        target_.writeEntries = [&c](std::span<std::uint8_t> d) {
            devmode::Set(d, devmode::dmDuplex, c.duplex);
            devmode::Set(d, devmode::kFinishing, c.finishing);
        };
        ConfigRequest store = Request(kKindPersonal, {}, "Duplex");
        ASSERT_EQ(ConfigAccess(kRequestStoreProfile, target_, &store, nullptr, nullptr), 0u);
        target_.writeEntries = nullptr;
        ConfigRequest apply = Request(kKindPersonal, store.id);
        ASSERT_EQ(ConfigAccess(kRequestApplyProfile, target_, &apply, nullptr, nullptr), 0u);
        EXPECT_EQ(devmode::Get(Working(), devmode::dmDuplex), c.applied)
            << "duplex " << c.duplex << ", finishing " << int(c.finishing);
    }
}

TEST_F(ConfigRequests, RequestsThatAreNotOnesAreRefused)
{
    ConfigRequest r = Request(kKindPersonal, {}, "x");
    EXPECT_EQ(ConfigAccess(kRequestStoreProfile, target_, nullptr, nullptr, nullptr), 1u);
    r.size = sizeof r - 1;
    EXPECT_EQ(ConfigAccess(kRequestStoreProfile, target_, &r, nullptr, nullptr), 1u);
    r.size = sizeof r;
    EXPECT_EQ(ConfigAccess(25, target_, &r, nullptr, nullptr), 1u);
    EXPECT_EQ(ConfigAccess(34, target_, &r, nullptr, nullptr), 1u);
    EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, nullptr, nullptr), 1u) << "no callback";
    ConfigRequest unnamed = Request(kKindPersonal);
    EXPECT_EQ(ConfigAccess(kRequestRenameProfile, target_, &unnamed, nullptr, nullptr), 1u) << "no new name";
    EXPECT_TRUE(record_.Calls().empty());
}

// Every profile request needs the library: without it (or without its export) each shows the
// warning, reports 11 and leaves the working devmode alone.
TEST_F(ConfigRequests, MissingProfileLibraryIsReportedByEveryProfileRequest)
{
    qvtest::TempDir empty;
    qvtest::TempDir wrong;
    // A library of another kind under the profile library's name: no profile exports.
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QELLOG.DLL").c_str(), wrong.File("QVTDX5PU.DLL").c_str(), FALSE));
    const ConfigId someId{{0x50, 1, 2, 3}};
    struct Case {
        int type;
        ConfigId id;
        const char* exportCode;  // when only the export is missing
    };
    const Case cases[] = {
        {kRequestApplyProfile, someId, "4"},     {kRequestStoreProfile, {}, "5"},
        {kRequestOverwriteProfile, someId, "6"}, {kRequestRenameProfile, someId, "6"},
        {kRequestEnumConfigs, {}, "7"},          {kRequestEnumConfigs, someId, "8"},
        {kRequestDeleteProfile, someId, "9"},
    };
    const devmode::Buffer before = Working();
    for (const bool libraryThere : {false, true}) {
        target_.library = ProfileLibrary(Wide((libraryThere ? wrong : empty).File("QVTDX5PU.DLL")));
        for (const Case& c : cases) {
            const std::string what = std::to_string(c.type) + (libraryThere ? " without the export" : " without the library");
            std::vector<Listed> list;
            ConfigRequest r = Request(kEnumShared | kEnumPersonal | kKindPersonal, c.id, "Name");
            std::vector<qvtest::SeenBox> seen;
            {
                qvtest::BoxWatcher watcher({printer_});
                EXPECT_EQ(ConfigAccess(c.type, target_, &r, Collect, &list), 11u) << what;
                seen = watcher.Seen();
            }
            ASSERT_EQ(seen.size(), 1u) << what;
            EXPECT_EQ(seen[0].text, std::string(" (QVTDX5PU.DLL)") + (libraryThere ? c.exportCode : "1[0x0000]"))
                << what;
            EXPECT_TRUE(std::equal(before.begin(), before.end(), working_.begin())) << what;
        }
    }
    EXPECT_EQ(entries_.loads, 0);
}

// Resetting and the installed defaults never touch the library.
TEST_F(ConfigRequests, BuiltInConfigurationsNeedNoProfileLibrary)
{
    qvtest::TempDir empty;
    target_.library = ProfileLibrary(Wide(empty.File("QVTDX5PU.DLL")));
    std::vector<Listed> list;
    ConfigRequest r = Request(kEnumBuiltIn);
    {
        qvtest::BoxWatcher watcher({printer_});
        EXPECT_EQ(ConfigAccess(kRequestEnumConfigs, target_, &r, Collect, &list), 0u);
        ConfigRequest reset = Request(kKindBuiltIn, {{kFactoryDefaults}});
        EXPECT_EQ(ConfigAccess(kRequestResetDefaults, target_, &reset, nullptr, nullptr), 0u);
        EXPECT_TRUE(watcher.Seen().empty());
    }
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, " Factory Defaults");
}

// Message formats come from a resource library: only "%s" takes an argument, whatever else the
// text holds.
TEST(DialogStrings, FormatsTakeTextsOnly)
{
    struct Case {
        const char* format;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        {"Printer %s: file %s", {"Office", "a.dcd"}, "Printer Office: file a.dcd"},
        {"%s", {}, ""},
        {"%s and %s", {"one"}, "one and "},
        {"100%% of %s", {"x"}, "100% of x"},
        {"%d %x %n %08X", {"x"}, "%d %x %n %08X"},
        {"ends with %", {"x"}, "ends with %"},
        {"no arguments", {"x", "y"}, "no arguments"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTexts(c.format, c.args), c.expected) << c.format;
}

}  // namespace
