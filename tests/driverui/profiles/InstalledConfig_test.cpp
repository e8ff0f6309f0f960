// The installed configuration: the registry hand-off and the configuration that printer values
// name, applied when QVTDX5DA.DLL first builds a printer's devmode (DrvConvertDevMode for the
// driver default), with the profile library stand-in answering "GetDCD".
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DrvCfgRecords.h"
#include "ProfileTestUtil.h"
#include "TestSupport.h"

using namespace proftest;

namespace {

using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using ConvertFn = DWORD(WINAPI*)(profiles::DcdConvertRecord*);

constexpr char kKeyPrefix[] = "SOFTWARE\\Qelbrin\\DrvCfg\\";
constexpr int kNoBox = 0;

// A copy of the driver library in a directory of its own, with or without the profile library
// beside it, and without the dialog library, so that boxes show their fall-back texts.
class Package {
public:
    explicit Package(bool withProfileLibrary)
    {
        path_ = dir_.File("QVDA.DLL");
        ok_ = CopyFileA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str(), path_.c_str(), FALSE) &&
              (!withProfileLibrary || CopyFileA((qvtest::BinDir() + "\\QVTDX5PU.DLL").c_str(),
                                                dir_.File("QVTDX5PU.DLL").c_str(), FALSE));
    }
    bool Ok() const { return ok_; }
    const std::string& Library() const { return path_; }

private:
    qvtest::TempDir dir_;
    std::string path_;
    bool ok_ = false;
};

bool KeyExists(const std::string& printer)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kKeyPrefix + printer).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> CallsOf(const qvtest::CallRecord& record, const std::string& function)
{
    std::vector<std::string> calls;
    for (const std::string& line : record.Calls())
        if (line.rfind(function + "\t", 0) == 0)
            calls.push_back(line);
    return calls;
}

class InstalledConfig : public ::testing::Test {
protected:
    static void SetUpTestSuite() { driverReady_ = qvtest::InstallTestDriver(kDesktop); }
    void SetUp() override
    {
        ASSERT_TRUE(driverReady_) << "the test driver could not be installed";
        ASSERT_TRUE(Load((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str()));
    }
    void TearDown() override
    {
        if (library_)
            FreeLibrary(library_);
        for (const std::string& printer : keys_)
            qvtest::DeleteHklmTree(kKeyPrefix + printer);
    }
    bool Load(const char* path)
    {
        if (library_)
            FreeLibrary(library_);
        library_ = LoadLibraryA(path);
        convertDevMode_ =
            library_ ? reinterpret_cast<ConvertDevModeFn>(GetProcAddress(library_, "DrvConvertDevMode")) : nullptr;
        convert_ = library_ ? reinterpret_cast<ConvertFn>(GetProcAddress(library_, "ConvertPrtIntoDCD")) : nullptr;
        return convertDevMode_ && convert_;
    }

    devmode::Buffer Current(const std::string& printer) { return CurrentDevmode(convertDevMode_, printer); }

    // A configuration file: the data of a desktop printer set to landscape and four copies.
    std::string ConfigFile(const std::string& name)
    {
        const std::string maker = printers_.Add(kDesktop, "QV Cfg Maker");
        devmode::Buffer d = Current(maker);
        devmode::Set(d, devmode::dmOrientation, 2);
        devmode::Set(d, devmode::dmCopies, 4);
        profiles::DcdConvertRecord r{};
        r.size = sizeof r;
        r.flag = 1;
        r.opMask = 3;
        r.devmode = d.data();
        r.devmodeSize = DWORD(d.size());
        EXPECT_EQ(convert_(&r), 0u);
        const auto* bytes = static_cast<const char*>(GlobalLock(r.data));
        const std::string data(bytes, r.dataSize);
        GlobalUnlock(r.data);
        GlobalFree(r.data);
        const std::string path = files_.File(name);
        EXPECT_TRUE(qvtest::WriteFile(path, data));
        return path;
    }

    void HandOff(const std::string& printer, const char* file, const char* desc, std::uint32_t remote = 0)
    {
        keys_.push_back(printer);
        const std::string key = kKeyPrefix + printer;
        if (file) {
            ASSERT_TRUE(qvtest::SetHklmString(key, "DCDConfigFile", file));
        }
        if (desc) {
            ASSERT_TRUE(qvtest::SetHklmString(key, "DCDShortDesc", desc));
        }
        ASSERT_TRUE(qvtest::SetHklmDword(key, "DCDRemoteConfigInstall", remote));
    }

    static inline bool driverReady_ = false;
    HMODULE library_ = nullptr;
    ConvertDevModeFn convertDevMode_ = nullptr;
    ConvertFn convert_ = nullptr;
    qvtest::TempDir files_;
    qvtest::CallRecord record_{"QVTDX5PU_RECORD", files_.File("calls.txt")};
    std::vector<std::string> keys_;
    TestPrinters printers_;
};

TEST_F(InstalledConfig, KeyWithOnlyTheFileAppliesNothingAndIsDeleted)
{
    const std::string file = ConfigFile("only-file.dcd");
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Only File");
    HandOff(printer, file.c_str(), nullptr);

    const devmode::Buffer d = Current(printer);
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 1);
    EXPECT_NE(Identity(d), "4: 2 0 0 0");
    EXPECT_TRUE(CallsOf(record_, "GetDCD").empty());
    EXPECT_FALSE(KeyExists(printer));
    const HANDLE h = printers_.Open(printer);
    EXPECT_FALSE(PrinterText(h, L"DCDConfigFile"));
    EXPECT_FALSE(PrinterValue(h, L"DCD_InstalledDocDefaults"));
}

TEST_F(InstalledConfig, KeyWithBothTextsIsCopiedAppliedAndDeleted)
{
    const std::string file = ConfigFile("both.dcd");
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Both");
    HandOff(printer, file.c_str(), "Accounts floor", 1);

    const devmode::Buffer d = Current(printer);
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 2);
    EXPECT_EQ(devmode::Get(d, devmode::dmCopies), 4);
    EXPECT_EQ(Identity(d), "4: 2 0 0 0");
    // The two-call protocol: the size, then the data.
    EXPECT_EQ(CallsOf(record_, "GetDCD"),
              (std::vector<std::string>{"GetDCD\t" + file + "\tAccounts floor\t1\tsize",
                                        "GetDCD\t" + file + "\tAccounts floor\t1\tdata"}));
    EXPECT_FALSE(KeyExists(printer));
    const HANDLE h = printers_.Open(printer);
    EXPECT_EQ(PrinterText(h, L"DCDConfigFile"), file);
    EXPECT_EQ(PrinterText(h, L"DCDShortDesc"), "Accounts floor");
    EXPECT_TRUE(PrinterValue(h, L"DCD_InstalledDocDefaults"));

    // Handed over once: the next build keeps the settings without asking again.
    const devmode::Buffer again = Current(printer);
    EXPECT_EQ(devmode::Get(again, devmode::dmOrientation), 2);
    EXPECT_EQ(CallsOf(record_, "GetDCD").size(), 2u);
}

TEST_F(InstalledConfig, ConfigurationNamedByPrinterValuesIsFoundInTheSystemDirectory)
{
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string name = "qvpwtest.dcd";
    const std::string installed = std::string(system) + "\\" + name;
    ASSERT_TRUE(CopyFileA(ConfigFile("named.dcd").c_str(), installed.c_str(), FALSE));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Named");
    const HANDLE h = printers_.Open(printer);
    const DWORD flag = 1;
    SetPrinterValue(h, L"PWConfigFlag", REG_DWORD, &flag, sizeof flag);
    SetPrinterText(h, L"PWConfigName", "Office set");
    SetPrinterText(h, L"PWConfigFile", name);

    const devmode::Buffer d = Current(printer);
    DeleteFileA(installed.c_str());
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 2);
    EXPECT_EQ(Identity(d), "4: 2 0 0 0");
    const std::vector<std::string> calls = CallsOf(record_, "GetDCD");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(lstrcmpiA(calls[0].c_str(), ("GetDCD\t" + installed + "\tOffice set\t0\tsize").c_str()), 0)
        << calls[0];
    EXPECT_TRUE(PrinterValue(h, L"DCD_InstalledDocDefaults"));
}

TEST_F(InstalledConfig, NamedConfigurationThatCannotBeFoundIsReported)
{
    const Package package(true);
    ASSERT_TRUE(package.Ok());
    ASSERT_TRUE(Load(package.Library().c_str()));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Named Missing");
    const HANDLE h = printers_.Open(printer);
    const DWORD flag = 1;
    SetPrinterValue(h, L"PWConfigFlag", REG_DWORD, &flag, sizeof flag);
    SetPrinterText(h, L"PWConfigName", "Office set");
    SetPrinterText(h, L"PWConfigFile", "qvpw-no-such-file.dcd");

    std::vector<qvtest::SeenBox> seen;
    devmode::Buffer d;
    {
        qvtest::BoxWatcher watcher({printer});
        d = Current(printer);
        seen = watcher.Seen();
    }
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find("qvpw-no-such-file.dcd"), std::string::npos) << seen[0].text;
    EXPECT_NE(seen[0].text.find("Office set"), std::string::npos) << seen[0].text;
}

// An interactive user can retry a hand-off that failed; each retry asks the library again.
TEST_F(InstalledConfig, FailedHandOffIsRetriedWhileTheUserAsks)
{
    const Package package(true);
    ASSERT_TRUE(package.Ok());
    ASSERT_TRUE(Load(package.Library().c_str()));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Retry");
    const std::string file = files_.File("not-there.dcd");
    HandOff(printer, file.c_str(), "Lost");

    std::vector<qvtest::SeenBox> seen;
    devmode::Buffer d;
    {
        qvtest::BoxWatcher watcher({printer}, {IDRETRY, IDCANCEL});
        d = Current(printer);
        seen = watcher.Seen();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, printer);
    EXPECT_EQ(seen[0].process, GetCurrentProcessId());
    EXPECT_EQ(CallsOf(record_, "GetDCD").size(), 2u);
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 1);
    // The texts reached the printer, so the key is gone all the same.
    EXPECT_FALSE(KeyExists(printer));
    EXPECT_EQ(PrinterText(printers_.Open(printer), L"DCDShortDesc"), "Lost");
}

// The size the library announces is not trusted beyond the limit: nothing is fetched.
TEST_F(InstalledConfig, DataLargerThanTheLimitIsNotFetched)
{
    const Package package(true);
    ASSERT_TRUE(package.Ok());
    ASSERT_TRUE(Load(package.Library().c_str()));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Huge");
    const std::string file = files_.File("huge.dcd");
    ASSERT_TRUE(qvtest::WriteFile(file, std::string((1u << 20) + 1, '\x01')));
    HandOff(printer, file.c_str(), "Huge");

    std::vector<qvtest::SeenBox> seen;
    {
        qvtest::BoxWatcher watcher({printer}, {IDCANCEL});
        Current(printer);
        seen = watcher.Seen();
    }
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(CallsOf(record_, "GetDCD"), std::vector<std::string>{"GetDCD\t" + file + "\tHuge\t0\tsize"});
}

// Inside the spooler nobody can answer a box: the failure stands at once.
TEST_F(InstalledConfig, FailedHandOffInTheSpoolerShowsNoBoxAndIsNotRetried)
{
    const Package package(true);
    ASSERT_TRUE(package.Ok());
    qvtest::TempDir programs;
    const std::string spooler = programs.File("spoolsv.exe");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\tests\\qvdrvdefault.exe").c_str(), spooler.c_str(), FALSE));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Spooler");
    HandOff(printer, files_.File("not-there.dcd").c_str(), "Lost");

    qvtest::BoxWatcher watcher({printer}, {IDRETRY});
    const int result = qvtest::RunProcess("\"" + spooler + "\" \"" + package.Library() + "\" \"" + printer + "\"", "",
                                          30000);
    EXPECT_EQ(result, 1) << "the devmode is built without the configuration";
    for (const qvtest::SeenBox& box : watcher.Seen())
        ADD_FAILURE() << "a box was shown: " << box.title << ": " << box.text;
    EXPECT_EQ(CallsOf(record_, "GetDCD").size(), 1u);
    EXPECT_FALSE(KeyExists(printer));
}

TEST_F(InstalledConfig, MissingProfileLibraryIsReportedAndTheHandOffEnds)
{
    const std::string file = ConfigFile("unreachable.dcd");
    const Package package(false);
    ASSERT_TRUE(package.Ok());
    ASSERT_TRUE(Load(package.Library().c_str()));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg No Library");
    HandOff(printer, file.c_str(), "Unreachable");

    std::vector<qvtest::SeenBox> seen;
    devmode::Buffer d;
    {
        qvtest::BoxWatcher watcher({printer}, {IDOK});
        d = Current(printer);
        seen = watcher.Seen();
    }
    // The dialog library's string 23 is not in this package: the text is the library's name and
    // the code of a missing library alone. No retry is offered.
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, " (QVTDX5PU.DLL)1[0x0000]");
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), 1);
    EXPECT_TRUE(record_.Calls().empty());
    EXPECT_FALSE(KeyExists(printer));
}

TEST_F(InstalledConfig, MissingProfileLibraryInTheSpoolerShowsNoBox)
{
    const Package package(false);
    ASSERT_TRUE(package.Ok());
    qvtest::TempDir programs;
    const std::string spooler = programs.File("spoolsv.exe");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\tests\\qvdrvdefault.exe").c_str(), spooler.c_str(), FALSE));
    const std::string printer = printers_.Add(kDesktop, "QV Cfg Spooler No Lib");
    HandOff(printer, files_.File("whatever.dcd").c_str(), "Unreachable");

    qvtest::BoxWatcher watcher({printer});
    EXPECT_EQ(qvtest::RunProcess("\"" + spooler + "\" \"" + package.Library() + "\" \"" + printer + "\"", "", 30000),
              1);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_FALSE(KeyExists(printer));
}

}  // namespace
