// DrvPrinterEvent and DrvUpgradePrinter of a copy of QVTDX5DA.DLL whose post-install utility is
// the launch test program, on printers of the test driver in Wine's spooler: each event called
// with the flags the spooler passes, the utility's command line as the utility reads it, the
// wait for it, the values and files a printer gets and loses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BoxWatcher.h"
#include "CallRecord.h"
#include "EventTestUtil.h"
#include "FileFixtures.h"
#include "PrinterEvents.h"
#include "ProgramStarts.h"
#include "TestSupport.h"

namespace {

using eventtest::Bytes;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kSetupKey[] = "SOFTWARE\\Qelbrin\\DriverSetup";
constexpr char kFailedText[] = "Failed to update initialization files.";

class PrinterEventsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { driverReady_ = qvtest::InstallTestDriver(kDriver); }

    void SetUp() override
    {
        ASSERT_TRUE(driverReady_);
        ASSERT_TRUE(library_.Ready()) << "the library copy or its exports are missing";
        ASSERT_TRUE(log_.Placed()) << "the install log could not be put into the system directory";
        DeleteFileA(config_.c_str());
    }
    void TearDown() override
    {
        for (const std::string& name : printers_)
            qvtest::DeleteTestPrinter(name);
        DeleteFileA(config_.c_str());
        SetEnvironmentVariableA("QVTESTPROG_EXIT", nullptr);
        SetEnvironmentVariableA("QVTESTPROG_SLEEP", nullptr);
    }

    std::string AddPrinter(const std::string& name, const std::string& port = "LPT1:")
    {
        EXPECT_TRUE(qvtest::AddTestPrinter(name, kDriver, port)) << name << ": error " << GetLastError();
        printers_.push_back(name);
        return name;
    }
    std::string Name(const std::string& suffix = "") const
    {
        return std::string("QV ") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix;
    }
    std::string Expected(const std::string& options, const std::string& port, const std::string& printer) const
    {
        return "\"" + library_.Dir() + "QVTDX5PI.EXE\" " + options + "-i \"" + library_.Dir() +
               "QVTDX5DA.ALL\" -d QVTDX5DD.DLL -p " + port + " -n " + printer;
    }
    static inline bool driverReady_ = false;
    eventtest::LibraryCopy library_;
    eventtest::SystemInstallLog log_;
    qvtest::TempDir dir_;
    const std::string config_ = eventtest::WindowsFile("QVTDX5DD.INI");
    std::vector<std::string> printers_;
};

TEST_F(PrinterEventsTest, ConnectionAndInitialisationStartTheUtilityForThePrinter)
{
    const struct {
        const char* what;
        int event;
        bool silent;
    } cases[] = {
        {"connection", PRINTER_EVENT_ADD_CONNECTION, false},
        {"connection, silent", PRINTER_EVENT_ADD_CONNECTION, true},
        {"initialisation", PRINTER_EVENT_INITIALIZE, false},
        {"initialisation, silent", PRINTER_EVENT_INITIALIZE, true},
    };
    const std::string printer = AddPrinter(Name());
    const std::string key = std::string(kSetupKey) + "\\" + printer;
    for (const auto& c : cases) {
        if (c.silent) {
            ASSERT_TRUE(qvtest::SetHklmDword(key, "SilentInstall", 1));
        }
        qvtest::StartLog starts;
        const qvtest::SpoolerEvent played = c.event == PRINTER_EVENT_INITIALIZE ? qvtest::SpoolerEvent::Initialize
                                                                                 : qvtest::SpoolerEvent::AddConnection;
        EXPECT_TRUE(library_.Event(printer, c.event, qvtest::SpoolerEventFlags(played))) << c.what;

        const std::vector<qvtest::Start> seen = starts.Starts();
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_EQ(seen[0].commandLine, Expected(c.silent ? "-s " : "", "\"LPT1:\"", "\"" + printer + "\"")) << c.what;
        EXPECT_EQ(seen[0].show, SW_HIDE) << c.what;
        EXPECT_TRUE(_stricmp(seen[0].program.c_str(), (library_.Dir() + "QVTDX5PI.EXE").c_str()) == 0)
            << c.what << ": " << seen[0].program;
        // The request for a silent run is used up.
        EXPECT_FALSE(qvtest::GetHklmDword(key, "SilentInstall")) << c.what;
        HKEY gone = nullptr;
        EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS) << c.what;
    }
}

TEST_F(PrinterEventsTest, SilentInstallOtherThanOneIsAnOrdinaryRunAndGoesAllTheSame)
{
    const std::string printer = AddPrinter(Name());
    const std::string key = std::string(kSetupKey) + "\\" + printer;
    ASSERT_TRUE(qvtest::SetHklmDword(key, "SilentInstall", 2));
    qvtest::StartLog starts;
    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_ADD_CONNECTION, 0));
    ASSERT_EQ(starts.Starts().size(), 1u);
    EXPECT_EQ(starts.Starts()[0].commandLine, Expected("", "\"LPT1:\"", "\"" + printer + "\""));
    EXPECT_FALSE(qvtest::GetHklmDword(key, "SilentInstall"));
}

TEST_F(PrinterEventsTest, PrinterWithoutAPortGetsNoRun)
{
    const std::string printer = AddPrinter(Name(), "");
    qvtest::StartLog starts;
    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_ADD_CONNECTION, 0));
    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI));
    EXPECT_THAT(starts.Starts(), IsEmpty());
}

// Each name and port reaches the utility's parser as one field, whatever it holds; a text with
// both quote characters cannot, and the utility is not started for it.
TEST_F(PrinterEventsTest, HostileNamesAndPortsReachTheUtilityAsTheyAre)
{
    const struct {
        const char* printer;
        const char* port;
        bool passes;
    } cases[] = {
        {"QV \"Quoted\" -s", "LPT1:", true},
        {"QV O'Brien's", "LPT1:", true},
        {"QV -I C:\\x.inf -N Other", "LPT1:", true},
        {" -I C:\\x.inf ", "LPT1:", true},
        {"-N QV Dash", "LPT1:", true},
        {"QV Trailing\\", "LPT1:", true},
        {"QV Port", "LPT1:\" -i \"C:\\evil.inf", true},
        {"QV Ports", "LPT1:,FILE:", true},
        {"QV Both \" and '", "LPT1:", false},
        {"QV Port Both", "LPT1:\" -i 'C:\\evil.inf", false},
    };
    for (const auto& c : cases) {
        const std::string printer = AddPrinter(c.printer, c.port);
        qvtest::StartLog starts;
        EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_ADD_CONNECTION, 0)) << printer;
        const std::vector<qvtest::Start> seen = starts.Starts();
        if (!c.passes) {
            EXPECT_THAT(seen, IsEmpty()) << printer;
            continue;
        }
        ASSERT_EQ(seen.size(), 1u) << printer;
        const std::vector<std::string> fields = eventtest::UtilityFields(eventtest::ArgumentsOf(seen[0].commandLine));
        EXPECT_THAT(fields, ElementsAre("-i", library_.Dir() + "QVTDX5DA.ALL", "-d", "QVTDX5DD.DLL", "-p", c.port,
                                        "-n", printer))
            << seen[0].commandLine;
    }
}

// A character that the ANSI code page would turn into a quote, or lose, cannot be passed.
TEST_F(PrinterEventsTest, NamesTheCodePageCannotCarryStartNothing)
{
    const std::wstring names[] = {L"QV Wide \xFF02 -i C:\\evil.inf \xFF02", L"QV Wide \x4E2D"};
    for (const std::wstring& name : names) {
        std::wstring mutableName = name, port = L"LPT1:", driver = eventtest::Wide(kDriver);
        wchar_t processor[] = L"winprint", datatype[] = L"RAW";
        PRINTER_INFO_2W info{};
        info.pPrinterName = mutableName.data();
        info.pPortName = port.data();
        info.pDriverName = driver.data();
        info.pPrintProcessor = processor;
        info.pDatatype = datatype;
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        ASSERT_TRUE(added) << GetLastError();
        qvtest::StartLog starts;
        EXPECT_TRUE(library_.event(mutableName.data(), PRINTER_EVENT_ADD_CONNECTION, 0, 0));
        EXPECT_THAT(starts.Starts(), IsEmpty());
        DeletePrinter(added);
        ClosePrinter(added);
    }
}

// A window of the waiting thread, to see that the wait keeps answering messages sent to it.
LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_APP ? 42 : DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PrinterEventsTest, WaitEndsWithTheUtilityWhateverItsExitCodeAndKeepsAnsweringMessages)
{
    const std::string printer = AddPrinter(Name());
    SetEnvironmentVariableA("QVTESTPROG_EXIT", "259");  // what a poll for "still active" mistakes
    SetEnvironmentVariableA("QVTESTPROG_SLEEP", "1500");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Answer;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QvEventWaitProbe";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA("QvEventWaitProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
    ASSERT_TRUE(window);

    std::atomic<bool> returned{false};
    DWORD_PTR answer = 0;
    bool answeredInTime = false;
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        answeredInTime = SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_BLOCK, 800, &answer) && !returned;
        // A wait that never ends must not stall the suite.
        for (int i = 0; i < 600 && !returned; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!returned) {
            std::fputs("the event is still waiting for a utility that has ended\n", stderr);
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    });
    qvtest::StartLog starts;
    const auto start = std::chrono::steady_clock::now();
    const BOOL result = library_.Event(printer, PRINTER_EVENT_ADD_CONNECTION, 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    returned = true;
    sender.join();

    EXPECT_TRUE(result);
    EXPECT_EQ(starts.Starts().size(), 1u);
    EXPECT_GE(waited, std::chrono::milliseconds(1500)) << "the event did not wait for the utility";
    EXPECT_LT(waited, std::chrono::seconds(20));
    EXPECT_TRUE(answeredInTime) << "a message sent during the wait was not answered";
    EXPECT_EQ(answer, 42u);
    DestroyWindow(window);
}

// Nobody could answer a box where the spooler forbids one or where the process has no visible
// window station (a service's).
TEST_F(PrinterEventsTest, NoticeOfABadRuleOnlyWhereSomeoneCanAnswerIt)
{
    ASSERT_TRUE(qvtest::WriteFile(library_.Dir() + "QVTDX5D$.INI",
                                  "[QVTDX5DD]\r\ntag=QV5\r\nver=2\r\n[UpdateControl]\r\n|MOVE|0|QVTDX5DD.INI|Fonts|Courier=x\r\n"));
    const std::string printer = AddPrinter(Name());
    const struct {
        int event;
        DWORD flags;
        bool hiddenStation;
        std::size_t boxes;
    } cases[] = {
        {PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI, false, 0},
        {PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_FLAG_NO_UI, false, 0},
        {PRINTER_EVENT_ADD_CONNECTION, 0, true, 0},
        {PRINTER_EVENT_INITIALIZE, 0, true, 0},
        {PRINTER_EVENT_ADD_CONNECTION, 0, false, 1},
    };
    const HWINSTA own = GetProcessWindowStation();
    const HWINSTA hidden = CreateWindowStationW(L"QvEventsHidden", 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_TRUE(hidden);
    for (const auto& c : cases) {
        std::vector<qvtest::SeenBox> seen;
        {
            qvtest::BoxWatcher watcher({printer});
            if (c.hiddenStation) {
                ASSERT_TRUE(SetProcessWindowStation(hidden));
            }
            // The answer does not depend on the update.
            EXPECT_TRUE(library_.Event(printer, c.event, c.flags)) << c.event;
            SetProcessWindowStation(own);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            seen = watcher.Seen();
        }
        ASSERT_EQ(seen.size(), c.boxes) << "event " << c.event << ", flags " << c.flags << ", hidden " << c.hiddenStation;
        if (c.boxes) {
            EXPECT_EQ(seen[0].text, kFailedText);
        }
    }
    CloseWindowStation(hidden);
}

TEST_F(PrinterEventsTest, InitialisationGivesTheFontValuesTheDevmodeAndTheLogItsFiles)
{
    std::string many = "[FontSubstitutes]\r\n";
    for (int i = 0; i < 600; ++i)
        many += "Font" + std::to_string(i) + "=Substitute" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(qvtest::WriteFile(config_, "[ALIAS]\r\nArial=ArialSet\r\nNone=Missing\r\nTimes=TimesSet\r\n"
                                           "[ArialSet]\r\nBold=ArialBd\r\nItalic=ArialIt\r\n"
                                           "[TimesSet]\r\nRoman=TimesR\r\n"
                                           "[AdditionalFonts]\r\nA=x\r\n" +
                                               many));
    const std::string printer = AddPrinter(Name());
    qvtest::CallRecord calls("QELLOG_RECORD", dir_.File("qellog.txt"));
    ASSERT_TRUE(library_.Event(printer, PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI));

    EXPECT_EQ(eventtest::Text(eventtest::PrinterValue(printer, "ALIAS")),
              "Arial!Bold=ArialBd!Arial!Italic=ArialIt;Times!Roman=TimesR;");
    // "x;" is too short to be a list.
    EXPECT_FALSE(eventtest::PrinterValue(printer, "AdditionalFonts"));
    // A long section fills its list with whole entries only.
    const std::optional<Bytes> substitutes = eventtest::PrinterValue(printer, "FontSubstitutes");
    ASSERT_TRUE(substitutes);
    EXPECT_LE(substitutes->size(), 8192u);
    EXPECT_GT(substitutes->size(), 8192u - 40);
    EXPECT_EQ(substitutes->back(), 0);
    const std::string list = eventtest::Text(substitutes);
    EXPECT_EQ(list.substr(0, 36), "Font0=Substitute0;Font1=Substitute1;");
    EXPECT_EQ(list.back(), ';');
    const std::optional<Bytes> devmode = eventtest::PrinterValue(printer, "CurrentDevmode");
    ASSERT_TRUE(devmode);
    EXPECT_EQ(devmode->size(), 1256u);

    const std::string drivers = qvtest::DriverDirectoryOf(printer);
    const std::string section = "Printer " + printer;
    std::vector<std::string> expected = {"FindLogFile\tQelbrin\t2", "AddFile\tDrivers\t" + config_};
    for (const char* extension : {".PFM", ".PCM", ".PCL"}) {
        expected.push_back("FindLogFile\tQelbrin\t2");
        expected.push_back("AddFile\t" + section + "\t" + drivers + "qel" + printer + extension);
    }
    EXPECT_THAT(calls.Calls(), ElementsAreArray(expected));
}

TEST_F(PrinterEventsTest, InstallLogThatCannotOpenRecordsNothing)
{
    const std::string printer = AddPrinter(Name());
    qvtest::CallRecord calls("QELLOG_RECORD", dir_.File("qellog.txt"));
    SetEnvironmentVariableA("QELLOG_FINDLOGFILE", "1");
    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI));
    SetEnvironmentVariableA("QELLOG_FINDLOGFILE", nullptr);
    for (const std::string& call : calls.Calls())
        EXPECT_EQ(call.rfind("FindLogFile\t", 0), 0u) << call;
}

TEST_F(PrinterEventsTest, DeletionEmptiesTheDriversValuesAndRemovesTheSoftFontFile)
{
    const char* const values[] = {
        "FontSubstitutes", "CurrentDevmode", "PrinterDevmode", "FontSummaryFile", "ALIAS", "AdditionalFonts",
        "BitmapId", "PrinterConfig", "SWEnable", "DCDConfigFile", "DCDShortDesc", "PWConfigFlag", "PWConfigName",
        "PWConfigFile", "CurrentDefaultCONFIG", "DCD_InstalledDocDefaults", "CurrentDefaultDevmode",
        "DefDrvCfgData", "DCDPrtPropOK", "SoftFont", "Macro", "UserDefForms", "UserAssocForms", "Watermark",
        "Permission",
    };
    const std::string printer = AddPrinter(Name());
    for (const char* value : values)
        ASSERT_TRUE(eventtest::SetPrinterValue(printer, value, {1, 2, 3}));
    ASSERT_TRUE(eventtest::SetPrinterValue(printer, "QV Not The Drivers", {4, 5}));
    const std::string softFonts = qvtest::DriverDirectoryOf(printer) + "qel" + printer + ".PFM";
    ASSERT_TRUE(qvtest::WriteFile(softFonts, "font list"));

    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_DELETE, PRINTER_EVENT_FLAG_NO_UI));
    for (const char* value : values) {
        const std::optional<Bytes> now = eventtest::PrinterValue(printer, value);
        ASSERT_TRUE(now) << value;
        EXPECT_THAT(*now, IsEmpty()) << value;
    }
    EXPECT_EQ(eventtest::PrinterValue(printer, "QV Not The Drivers"), (Bytes{4, 5}));
    EXPECT_FALSE(qvtest::IsThere(softFonts));
}

// The soft-font file is a file of the driver directory whatever the printer's name holds.
TEST_F(PrinterEventsTest, DeletionRemovesNoFileOutsideTheDriverDirectory)
{
    const std::string printer = AddPrinter("QV/../../../QVVICTIM");
    const std::string drivers = qvtest::DriverDirectoryOf(printer);
    ASSERT_FALSE(drivers.empty());
    char victim[MAX_PATH];
    ASSERT_TRUE(GetFullPathNameA((drivers + "qel" + printer + ".PFM").c_str(), MAX_PATH, victim, nullptr));
    ASSERT_EQ(std::string(victim).rfind(drivers, 0), std::string::npos) << victim << " is inside " << drivers;
    ASSERT_TRUE(qvtest::WriteFile(victim, "not the printer's"));
    const std::string own = drivers + "qelQV__________QVVICTIM.PFM";
    ASSERT_TRUE(qvtest::WriteFile(own, "font list"));

    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_DELETE, PRINTER_EVENT_FLAG_NO_UI));
    EXPECT_TRUE(qvtest::IsThere(victim));
    EXPECT_FALSE(qvtest::IsThere(own));
    DeleteFileA(victim);
}

TEST_F(PrinterEventsTest, EventsAndUpgradesItCannotServeAnswerZero)
{
    const std::string printer = AddPrinter(Name());
    qvtest::StartLog starts;
    for (const int event : {0, PRINTER_EVENT_DELETE_CONNECTION, PRINTER_EVENT_CACHE_DELETE,
                            PRINTER_EVENT_ATTRIBUTES_CHANGED, 99})
        EXPECT_FALSE(library_.Event(printer, event, 0)) << event;
    EXPECT_TRUE(library_.Event(printer, PRINTER_EVENT_CACHE_REFRESH, PRINTER_EVENT_FLAG_NO_UI));
    EXPECT_THAT(starts.Starts(), IsEmpty());

    SetLastError(0);
    EXPECT_FALSE(library_.Event("QV No Such Printer", PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_FLAG_NO_UI));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    std::wstring name = eventtest::Wide(printer);
    LPWSTR info[2] = {name.data(), nullptr};
    LPWSTR noName[2] = {nullptr, nullptr};
    const struct {
        DWORD level;
        LPWSTR* info;
    } refused[] = {{2, info}, {0, info}, {1, nullptr}, {1, noName}};
    for (const auto& r : refused) {
        SetLastError(0);
        EXPECT_FALSE(library_.upgrade(r.level, reinterpret_cast<LPBYTE>(r.info))) << r.level;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << r.level;
    }
    EXPECT_FALSE(eventtest::PrinterValue(printer, "CurrentDevmode"));
    EXPECT_TRUE(library_.Upgrade(printer));
    EXPECT_EQ(eventtest::PrinterValue(printer, "CurrentDevmode").value_or(Bytes()).size(), 1256u);
}

}  // namespace
