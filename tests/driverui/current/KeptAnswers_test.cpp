// Answers the library keeps between calls (capability queries, the document defaults, the driver
// default) follow every change another process makes to what they are built from: the stored
// devmode, the configuration data, the printer's record lists, its driver, the printer itself,
// the model file, and the installed configuration's hand-off. Each change is made by
// qvstorechange between two rounds of queries; the answers after it are those of a copy of the
// library that has kept nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "DrvUiDecls.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using PropertiesFn = LONG(WINAPI*)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);

constexpr char kDesktop[] = "Qelbrin QV-5 PCL";
constexpr char kWorkgroup[] = "Qelbrin QV-5n PCL";
constexpr char kColour[] = "Qelbrin QV-5c PCL";
constexpr char kHandOffPrefix[] = "SOFTWARE\\Qelbrin\\DrvCfg\\";

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string Hex(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

// What a round of queries answers for a printer.
struct Answers {
    Bytes documentDefaults;  // DrvDocumentProperties DM_COPY on an opened printer
    Bytes driverDefault;     // DrvConvertDevMode CDM_DRIVER_DEFAULT
    std::vector<WORD> papers;
    std::vector<WORD> bins;
    std::vector<LONG> resolutions;
    DWORD fields = 0;
    DWORD duplex = 0;
    bool operator==(const Answers&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answers& a)
{
    const auto list = [&](const char* what, const auto& values) {
        out << what << " {";
        for (const auto& v : values)
            out << " " << v;
        out << " } ";
    };
    list("papers", a.papers);
    list("bins", a.bins);
    list("resolutions", a.resolutions);
    out << "fields 0x" << std::hex << a.fields << std::dec << " duplex " << a.duplex << " orientation "
        << (a.documentDefaults.empty() ? -1 : devmode::Get(a.documentDefaults, devmode::dmOrientation))
        << " device " << (a.driverDefault.empty() ? "?" : std::string(devmode::GetText(a.driverDefault, devmode::kModelName)));
    return out;
}

// A loaded driver library and its exports.
class Library {
public:
    explicit Library(const std::string& path) : module_(LoadLibraryA(path.c_str()))
    {
        if (!module_)
            return;
        caps_ = reinterpret_cast<CapsFn>(GetProcAddress(module_, "DrvDeviceCapabilities"));
        convert_ = reinterpret_cast<ConvertFn>(GetProcAddress(module_, "DrvConvertDevMode"));
        properties_ = reinterpret_cast<PropertiesFn>(GetProcAddress(module_, "DrvDocumentProperties"));
    }
    ~Library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Ready() const { return caps_ && convert_ && properties_; }

    // By the printer's name, as the spooler asks, except the document defaults (an opened printer).
    Answers Of(const std::string& printer) const
    {
        std::wstring name = Wide(printer);
        Answers a;
        a.papers.resize(caps_(nullptr, name.data(), DC_PAPERS, nullptr, nullptr) & 0xFFFF);
        caps_(nullptr, name.data(), DC_PAPERS, a.papers.data(), nullptr);
        a.bins.resize(caps_(nullptr, name.data(), DC_BINS, nullptr, nullptr) & 0xFFFF);
        caps_(nullptr, name.data(), DC_BINS, a.bins.data(), nullptr);
        a.resolutions.resize(2 * (caps_(nullptr, name.data(), DC_ENUMRESOLUTIONS, nullptr, nullptr) & 0xFFFF));
        caps_(nullptr, name.data(), DC_ENUMRESOLUTIONS, a.resolutions.data(), nullptr);
        a.fields = caps_(nullptr, name.data(), DC_FIELDS, nullptr, nullptr);
        a.duplex = caps_(nullptr, name.data(), DC_DUPLEX, nullptr, nullptr);
        a.driverDefault.assign(devmode::kSize, 0);
        LONG size = LONG(devmode::kSize);
        if (!convert_(name.data(), nullptr, reinterpret_cast<PDEVMODEW>(a.driverDefault.data()), &size,
                      CDM_DRIVER_DEFAULT))
            a.driverDefault.clear();
        HANDLE h = nullptr;
        if (OpenPrinterW(name.data(), &h, nullptr)) {
            a.documentDefaults.assign(devmode::kSize, 0);
            if (properties_(nullptr, h, name.data(), reinterpret_cast<PDEVMODEW>(a.documentDefaults.data()), nullptr,
                            DM_COPY) != IDOK)
                a.documentDefaults.clear();
            ClosePrinter(h);
        }
        return a;
    }

private:
    HMODULE module_;
    CapsFn caps_ = nullptr;
    ConvertFn convert_ = nullptr;
    PropertiesFn properties_ = nullptr;
};

// The answers of a copy of the library, with its dialog and language libraries, loaded for them
// alone.
Answers Unkept(const std::string& printer)
{
    qvtest::TempDir dir;
    for (const char* file : {"QVTDX5DA.DLL", "QVTDX5DU.DLL", "QVTDX5DL.DLL"})
        EXPECT_TRUE(CopyFileA((qvtest::BinDir() + "\\" + file).c_str(), dir.File(file).c_str(), FALSE)) << file;
    const Library copy(dir.File("QVTDX5DA.DLL"));
    EXPECT_TRUE(copy.Ready());
    return copy.Ready() ? copy.Of(printer) : Answers{};
}

// The change, made by a process of its own.
int Change(const std::string& arguments)
{
    char exe[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe, n);
    dir.erase(dir.find_last_of('\\') + 1);
    return qvtest::RunProcess("\"" + dir + "qvstorechange.exe\" " + arguments);
}

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

class KeptAnswers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        driversReady_ = qvtest::InstallTestDriver(kDesktop) && qvtest::InstallTestDriver(kWorkgroup);
        library_ = new Library(qvtest::BinDir() + "\\QVTDX5DA.DLL");
    }
    static void TearDownTestSuite()
    {
        delete library_;
        library_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(driversReady_) << "the test drivers could not be installed";
        ASSERT_TRUE(library_->Ready()) << "QVTDX5DA.DLL did not load: " << GetLastError();
    }

    // A printer of its own for the test (Wine cannot delete printer values).
    std::string Printer(const char* driver, const std::string& name)
    {
        qvtest::DeleteTestPrinter(name);
        return printers_.Add(driver, name);
    }

    // Two rounds, so that the second is answered from what the first kept.
    static Answers Kept(const std::string& printer)
    {
        library_->Of(printer);
        return library_->Of(printer);
    }

    static inline bool driversReady_ = false;
    static inline Library* library_ = nullptr;
    qvtest::TestPrinters printers_;
};

// One change to what the answers are built from, and what it must show.
struct StoreChange {
    const char* what;
    const char* driver;
    bool withoutData;  // the printer's configuration data made unreadable first
    std::function<std::string(const std::string& printer, const Answers& before)> arguments;
    std::function<void(const Answers& after)> shows;
    std::function<void()> undo;
};

// The tray-3 configuration data of the workgroup model (element 0x100: the installed trays).
const Bytes kTrayThreeData = {0x01, 0, 0, 0, 0x1C, 0, 0, 0, 0x00, 0x01, 0, 0, 0x14, 0, 0, 0,
                              0x01, 0, 0, 0, 0x0C, 0, 0, 0, 0x0F, 0, 0, 0};

const StoreChange kChanges[] = {
    {"the stored devmode", kDesktop, false,
     [](const std::string& p, const Answers& before) {
         Bytes d = before.driverDefault;
         devmode::Set(d, devmode::dmOrientation, 2);
         devmode::Set(d, devmode::dmCopies, 3);
         devmode::UpdateChecksum(d);
         return "value " + Quoted(p) + " CurrentDevmode " + Hex(d);
     },
     [](const Answers& a) {
         ASSERT_FALSE(a.documentDefaults.empty());
         EXPECT_EQ(devmode::Get(a.documentDefaults, devmode::dmOrientation), 2);
         EXPECT_EQ(devmode::Get(a.documentDefaults, devmode::dmCopies), 3);
     },
     nullptr},
    {"the configuration data", kWorkgroup, false,
     [](const std::string& p, const Answers&) { return "value " + Quoted(p) + " DefDrvCfgData " + Hex(kTrayThreeData); },
     [](const Answers& a) { EXPECT_EQ(a.bins, (std::vector<WORD>{7, 1, 2, 257, 4})) << "tray 3 installed"; },
     nullptr},
    {"a user-defined form", kWorkgroup, false,
     [](const std::string& p, const Answers&) { return "form " + Quoted(p) + " 515 \"Label 4x6\" 4800 7200"; },
     [](const Answers& a) { EXPECT_EQ(std::count(a.papers.begin(), a.papers.end(), 515), 1); },
     nullptr},
    {"a form association", kDesktop, false,
     [](const std::string& p, const Answers&) { return "association " + Quoted(p) + " 645 \"Plain A4\""; },
     [](const Answers& a) {
         ASSERT_FALSE(a.papers.empty());
         EXPECT_EQ(a.papers.back(), 645);
     },
     nullptr},
    // The stored devmode keeps its model; without configuration data the values that follow the
    // hardware come from the driver's defaults: the colour model's memory and duplex unit.
    {"the printer's driver", kDesktop, true,
     [](const std::string& p, const Answers&) { return "driver " + Quoted(p) + " " + Quoted(kColour); },
     [](const Answers& a) {
         ASSERT_FALSE(a.documentDefaults.empty());
         EXPECT_EQ(devmode::Get(a.documentDefaults, devmode::kInstalledMemory), 1);
         EXPECT_EQ(a.duplex, 1u);
     },
     nullptr},
    {"the printer, added again on another driver", kDesktop, false,
     [](const std::string& p, const Answers&) { return "readd " + Quoted(p) + " " + Quoted(kWorkgroup); },
     [](const Answers& a) { EXPECT_EQ(a.bins, (std::vector<WORD>{7, 1, 2, 4})); },
     nullptr},
    {"the model file", kDesktop, true,
     [](const std::string&, const Answers&) { return "ini " + Quoted(kDesktop) + " Model " + Quoted(kColour); },
     [](const Answers& a) {
         ASSERT_FALSE(a.documentDefaults.empty());
         EXPECT_EQ(devmode::Get(a.documentDefaults, devmode::kInstalledMemory), 1) << "the colour model's memory";
     },
     [] { EXPECT_EQ(Change("ini " + Quoted(kDesktop) + " Model -"), 0); }},
};

TEST_F(KeptAnswers, FollowEveryChangeAnotherProcessMakes)
{
    int n = 0;
    for (const StoreChange& c : kChanges) {
        SCOPED_TRACE(c.what);
        const std::string printer = Printer(c.driver, "QV Kept " + std::to_string(++n));
        if (c.withoutData) {
            library_->Of(printer);
            BYTE unreadable = 0;
            SetPrinterDataW(printers_.Open(printer), const_cast<LPWSTR>(L"DefDrvCfgData"), REG_BINARY, &unreadable, 1);
        }
        const Answers before = Kept(printer);
        ASSERT_EQ(before, Unkept(printer)) << "kept answers before any change";

        ASSERT_EQ(Change(c.arguments(printer, before)), 0) << "the second process could not make the change";
        const Answers after = library_->Of(printer);
        EXPECT_EQ(after, Unkept(printer));
        if (c.undo)
            c.undo();
        EXPECT_NE(after, before) << "the change shows in the answers";
        c.shows(after);
    }
}

// A value the build writes (the software-enable byte) that another process changed is written
// again by the next build, as without anything kept.
TEST_F(KeptAnswers, AValueTheBuildWritesIsWrittenAgainAfterAnotherProcessChangedIt)
{
    const std::string printer = Printer(kDesktop, "QV Kept SWEnable");
    Kept(printer);
    HANDLE h = printers_.Open(printer);
    BYTE enable = 0x77;
    DWORD type = 0, got = 0;
    ASSERT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(L"SWEnable"), &type, &enable, 1, &got), DWORD(ERROR_SUCCESS));
    const BYTE written = enable;

    ASSERT_EQ(Change("value " + Quoted(printer) + " SWEnable 5A"), 0);
    library_->Of(printer);
    ASSERT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(L"SWEnable"), &type, &enable, 1, &got), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(enable, written);
}

// The printer configuration that the document defaults keep for a model of a family (first word
// 1) is written again when another process damaged it.
TEST_F(KeptAnswers, ADamagedPrinterConfigurationIsWrittenAgain)
{
    const std::string printer = Printer(kWorkgroup, "QV Kept Config");
    Kept(printer);
    ASSERT_EQ(Change("value " + Quoted(printer) + " PrinterConfig " + std::string(64, '0')), 0);
    library_->Of(printer);
    HANDLE h = printers_.Open(printer);
    Bytes config(32, 0);
    DWORD type = 0, got = 0;
    ASSERT_EQ(GetPrinterDataW(h, const_cast<LPWSTR>(L"PrinterConfig"), &type, config.data(), 32, &got),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(config[0], 1) << "the block is marked as stored again";
}

// The installed configuration's hand-off that another process leaves for the printer is taken at
// the next query: its key is deleted once its texts are in the printer's values.
TEST_F(KeptAnswers, AHandOffLeftByAnotherProcessIsTakenAtTheNextQuery)
{
    const std::string printer = Printer(kDesktop, "QV Kept Hand-off");
    Kept(printer);
    const std::string key = kHandOffPrefix + printer;
    ASSERT_EQ(Change("key " + Quoted(key) + " DCDConfigFile " + Quoted("C:\\qv-kept.dcd")), 0);
    library_->Of(printer);
    HKEY opened = nullptr;
    const bool left = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
    if (left)
        RegCloseKey(opened);
    EXPECT_FALSE(left) << "the hand-off was not taken";
    qvtest::DeleteHklmTree(key);
}

}  // namespace
