// DrvDocumentEvent of a copy of QVTDX5DA.DLL, called as the graphics system calls it (Wine never
// does), on printers of the test driver and on Wine's own device contexts of them: the event
// table, the devmode of a new device context, the rendering driver's version check, and an
// application's devmode by escape 5021. The escapes reach the scripted rendering driver, except
// where a test takes Wine's real path.
#include <gtest/gtest.h>

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "DevmodeLayout.h"
#include "DocEventTestUtil.h"
#include "PrinterFixture.h"
#include "TestSupport.h"

namespace {

using doctest::Bytes;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV document events";

class DocumentEventsTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    void SetUp() override
    {
        TestPrinterTest::SetUp();
        ASSERT_TRUE(renderer_.Ready()) << "the fake renderer or its exports are missing";
        ASSERT_TRUE(library_.Ready()) << "the library copy, its export or its ExtEscape import are missing";
        renderer_.Script("");
        // Each test starts from the driver's own settings: a stored devmode of another size is
        // rebuilt.
        const BYTE none = 0;
        doctest::SetPrinterValue(printer_, "CurrentDevmode", REG_BINARY, &none, 1);
    }
    void TearDown() override
    {
        for (HDC dc : dcs_)
            DeleteDC(dc);
        TestPrinterTest::TearDown();
    }
    HDC PrinterDc()
    {
        HDC dc = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
        EXPECT_TRUE(dc) << GetLastError();
        dcs_.push_back(dc);
        return dc;
    }

    doctest::FakeRenderer renderer_;
    doctest::DocEventLibrary library_{&renderer_};
    std::vector<HDC> dcs_;
};

TEST_F(DocumentEventsTest, EventsWithoutAHandlerAreNotSupported)
{
    const HDC dc = PrinterDc();
    const struct {
        int event;
        int answer;
    } cases[] = {
        {DOCUMENTEVENT_ABORTDOC, 0}, {DOCUMENTEVENT_QUERYFILTER, 0}, {0, 0}, {15, 0}, {-1, 0},
        {DOCUMENTEVENT_DELETEDC, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(library_.Event(printer_, dc, c.event), c.answer) << "event " << c.event;
    EXPECT_TRUE(renderer_.Record().empty());
}

TEST_F(DocumentEventsTest, AfterEventsRefuseAnAddressTheyDidNotHandOut)
{
    const HDC dc = PrinterDc();
    EXPECT_EQ(library_.Event(printer_, dc, DOCUMENTEVENT_CREATEDCPOST), -1);
    EXPECT_EQ(library_.Event(printer_, dc, DOCUMENTEVENT_RESETDCPOST), -1);
    DEVMODEW* none = nullptr;
    EXPECT_EQ(library_.CreateDcPost(printer_, dc, none), -1);
    Bytes foreign(devmode::kSize);
    EXPECT_EQ(library_.CreateDcPost(printer_, dc, reinterpret_cast<DEVMODEW*>(foreign.data())), -1);
    EXPECT_TRUE(renderer_.Record().empty()) << "a refused event asks the rendering driver nothing";
}

TEST_F(DocumentEventsTest, NewDeviceContextGetsTheApplicationsSettingsOverThePrintersAndTheJobFields)
{
    // An application's public devmode: landscape, three copies, and a duplex the merge takes.
    DEVMODEW app{};
    app.dmSize = sizeof app;
    app.dmSpecVersion = DM_SPECVERSION;
    app.dmFields = DM_ORIENTATION | DM_COPIES | DM_DUPLEX;
    app.dmOrientation = DMORIENT_LANDSCAPE;
    app.dmCopies = 3;
    app.dmDuplex = DMDUP_VERTICAL;
    DEVMODEW* made = nullptr;
    ASSERT_EQ(library_.CreateDcPre(printer_, kPrinter, &app, made), 1) << GetLastError();
    ASSERT_TRUE(made);
    const Bytes d(reinterpret_cast<const std::uint8_t*>(made), reinterpret_cast<const std::uint8_t*>(made) + devmode::kSize);
    EXPECT_TRUE(devmode::IsDriverDevmode(d));
    EXPECT_TRUE(devmode::ChecksumMatches(d));
    EXPECT_EQ(devmode::Get(d, devmode::dmOrientation), DMORIENT_LANDSCAPE);
    EXPECT_EQ(devmode::Get(d, devmode::dmCopies), 3);
    EXPECT_EQ(devmode::Get(d, devmode::dmDuplex), DMDUP_VERTICAL);
    EXPECT_EQ(d[1076], 1) << "manual-duplex marker";
    EXPECT_EQ(d[228], 0) << "defaulted from string 14000";
    EXPECT_EQ(d[432], 0) << "defaulted from string 14001";
    EXPECT_GT(devmode::Get(d, devmode::U16{456}), 0) << "available memory in megabytes";
    // The page in its orientation (landscape: wider than long) and in the other, and the form it
    // resolved to.
    const auto word = [&](std::size_t at) { return std::uint16_t(d[at] | d[at + 1] << 8); };
    EXPECT_EQ(word(854), devmode::Get(d, devmode::dmPaperSize));
    EXPECT_GT(word(854 + 28), word(854 + 30));
    EXPECT_LT(word(908 + 28), word(908 + 30));
    EXPECT_NE(word(962 + 28), 0);
    EXPECT_TRUE(renderer_.Record().empty()) << "event 1 has no device context to ask";

    const HDC dc = PrinterDc();
    EXPECT_EQ(library_.CreateDcPost(printer_, dc, made), 1);
    EXPECT_EQ(library_.CreateDcPost(printer_, dc, made), -1) << "the devmode is freed once";
}

TEST_F(DocumentEventsTest, DevmodeOfAResetDeviceContextAndTheSettingsAfterIt)
{
    DEVMODEW app{};
    app.dmSize = sizeof app;
    app.dmSpecVersion = DM_SPECVERSION;
    app.dmFields = DM_COPIES;
    app.dmCopies = 9;
    DEVMODEW* input = &app;
    DEVMODEW* made = nullptr;
    ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_RESETDCPRE, sizeof input, &input, sizeof made, &made), 1);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->dmCopies, 9);

    renderer_.Script("supports 5008 5010 5015 5016\nversion 566\ncapability 0");
    const HDC dc = PrinterDc();
    EXPECT_EQ(library_.Event(printer_, dc, DOCUMENTEVENT_RESETDCPOST, sizeof made, &made), 1);
    const std::vector<std::string> sent = renderer_.Escapes();
    EXPECT_EQ(sent, (std::vector<std::string>{"5008 in=0 out=4", "5015 in=1256 out=0 account=", "5016 in=0 out=0"}));
}

TEST_F(DocumentEventsTest, MergeFailureAnswersMinusOneWithInvalidData)
{
    // A devmode that cannot describe itself.
    Bytes broken(devmode::kHeaderSize, 0);
    DEVMODEW* made = reinterpret_cast<DEVMODEW*>(1);
    SetLastError(0);
    EXPECT_EQ(library_.CreateDcPre(printer_, kPrinter, broken.data(), made), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_DATA));
    EXPECT_EQ(made, nullptr) << "no devmode is left behind for the failed device context";
}

TEST_F(DocumentEventsTest, RenderingDriverOlderThan560GetsTheMessageAndLosesTheDeviceContext)
{
    const struct {
        const char* script;
        bool old;
    } cases[] = {
        {"supports 5008 5010\nversion 559", true},
        {"supports 5008 5010\nversion 566 0", true},
        {"supports 5008 5010\nversion 560", false},
        {"supports 5010\nversion 100", false},  // no version escape: nothing is checked
    };
    for (const auto& c : cases) {
        DEVMODEW* made = nullptr;
        ASSERT_EQ(library_.CreateDcPre(printer_, kPrinter, nullptr, made), 1);
        renderer_.Script(c.script);
        const HDC dc = PrinterDc();
        qvtest::BoxWatcher boxes({"Rendering driver version"});
        EXPECT_EQ(library_.CreateDcPost(printer_, dc, made), 1) << c.script;
        const auto seen = boxes.Seen();
        if (c.old) {
            ASSERT_EQ(seen.size(), 1u) << c.script;
            EXPECT_EQ(seen[0].text, std::string("The rendering driver of ") + kPrinter + " is too old for this driver.");
            EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0) << "the device context is deleted: " << c.script;
            dcs_.pop_back();
        } else {
            EXPECT_TRUE(seen.empty()) << c.script;
            EXPECT_GT(GetDeviceCaps(dc, LOGPIXELSX), 0) << c.script;
        }
    }
}

TEST_F(DocumentEventsTest, FontFamiliesGoToARenderingDriverThatTakesThem)
{
    DEVMODEW* made = nullptr;
    ASSERT_EQ(library_.CreateDcPre(printer_, kPrinter, nullptr, made), 1);
    renderer_.Script("supports 5008 5010 5011\ncapability 1");
    const HDC dc = PrinterDc();
    ASSERT_EQ(library_.CreateDcPost(printer_, dc, made), 1);
    const auto sent = renderer_.Escapes();
    const auto fonts = std::find_if(sent.begin(), sent.end(), [](const std::string& l) { return l.rfind("5011 ", 0) == 0; });
    ASSERT_NE(fonts, sent.end());
    EXPECT_EQ(fonts->find(" families=0"), std::string::npos) << *fonts;
    // The list is 64 bytes a family.
    const std::size_t in = std::stoul(fonts->substr(fonts->find("in=") + 3));
    EXPECT_EQ(in % 64, 0u);
    EXPECT_GT(in, 0u);
}

class ApplicationDevmodeTest : public DocumentEventsTest {
protected:
    Bytes Stored() { return doctest::PrinterValue(printer_, "CurrentDevmode"); }
    // A devmode of this printer's driver with seven copies.
    Bytes SevenCopies()
    {
        Bytes d = doctest::PrinterDevmode(kPrinter);
        EXPECT_EQ(d.size(), devmode::kSize);
        devmode::Set(d, devmode::dmCopies, 7);
        devmode::Set(d, devmode::dmFields, devmode::Get(d, devmode::dmFields) | DM_COPIES);
        devmode::UpdateChecksum(d);
        return d;
    }
};

TEST_F(ApplicationDevmodeTest, AWholeDevmodeOfTheDriverBecomesThePrintersSetting)
{
    const Bytes d = SevenCopies();
    SetPrinterDataA(printer_, const_cast<char*>("DefDrvCfgData"), REG_BINARY, nullptr, 0);
    EXPECT_EQ(library_.ApplicationEscape(printer_, PrinterDc(), 5021, d.data(), int(d.size())), 1);
    const Bytes stored = Stored();
    ASSERT_EQ(stored.size(), devmode::kSize);
    EXPECT_EQ(devmode::Get(stored, devmode::dmCopies), 7);
    EXPECT_TRUE(devmode::ChecksumMatches(stored));
    EXPECT_FALSE(doctest::PrinterValue(printer_, "DefDrvCfgData").empty()) << "the configuration data follows";
}

TEST_F(ApplicationDevmodeTest, AnythingElseIsIgnored)
{
    const Bytes good = SevenCopies();
    Bytes badSignature = good;
    badSignature[424] ^= 0xFF;
    Bytes otherVersion = good;
    otherVersion[304] = 0x35;
    const struct {
        const char* what;
        int escape;
        const Bytes* data;
        int size;
    } cases[] = {
        {"1255 bytes", 5021, &good, 1255},
        {"another escape", 5020, &good, int(devmode::kSize)},
        {"a broken signature", 5021, &badSignature, int(devmode::kSize)},
        {"private version 565", 5021, &otherVersion, int(devmode::kSize)},
        {"no data", 5021, nullptr, int(devmode::kSize)},
    };
    const HDC dc = PrinterDc();
    for (const auto& c : cases) {
        const Bytes before = Stored();
        EXPECT_EQ(library_.ApplicationEscape(printer_, dc, c.escape, c.data ? c.data->data() : nullptr, c.size), 1)
            << c.what;
        EXPECT_EQ(Stored(), before) << c.what;
    }
    EXPECT_EQ(library_.Event(printer_, dc, DOCUMENTEVENT_ESCAPE, 4, const_cast<std::uint8_t*>(good.data())), 1)
        << "an input shorter than the escape record";
}

TEST_F(ApplicationDevmodeTest, HostileSettingsInAValidDevmodeStopAtTheMerge)
{
    Bytes d = SevenCopies();
    devmode::Set(d, devmode::dmCopies, 0);           // no copies
    devmode::Set(d, devmode::dmOrientation, 9);      // no orientation
    devmode::Set(d, devmode::dmPaperSize, 31000);    // no paper
    devmode::Set(d, devmode::dmFields, 0xFFFFFFFFu);
    devmode::SetText(d, devmode::kModelName, "Another model entirely");
    devmode::UpdateChecksum(d);
    ASSERT_EQ(library_.ApplicationEscape(printer_, PrinterDc(), 5021, d.data(), int(d.size())), 1);
    const Bytes stored = Stored();
    ASSERT_EQ(stored.size(), devmode::kSize);
    EXPECT_GE(devmode::Get(stored, devmode::dmCopies), 1);
    EXPECT_TRUE(devmode::Get(stored, devmode::dmOrientation) == 1 || devmode::Get(stored, devmode::dmOrientation) == 2);
    EXPECT_NE(devmode::Get(stored, devmode::dmPaperSize), 31000);
    EXPECT_EQ(devmode::GetText(stored, devmode::kModelName), kDriver) << "the model stays the printer's";
}

// Wine's own path: no escape of ours reaches a driver, so every event goes on without one.
TEST_F(DocumentEventsTest, OnWinesDeviceContextTheEventsGoOnWithoutTheRenderingDriver)
{
    doctest::DocEventLibrary real(nullptr);
    ASSERT_TRUE(real.ReadyWithoutRenderer());
    DEVMODEW* made = nullptr;
    ASSERT_EQ(real.CreateDcPre(printer_, kPrinter, nullptr, made), 1);
    const HDC dc = CreateDCW(L"WINSPOOL", doctest::Wide(kPrinter).c_str(), nullptr, made);
    ASSERT_TRUE(dc);
    dcs_.push_back(dc);
    EXPECT_EQ(real.CreateDcPost(printer_, dc, made), 1);
    const std::wstring document = L"Real path";
    const std::wstring output = doctest::Wide(qvtest::TempFolder() + "qv-real-path.prn");
    DOCINFOW info{sizeof info, document.c_str(), output.c_str(), nullptr, 0};
    EXPECT_EQ(real.StartDoc(printer_, dc, &info), 1);
    EXPECT_EQ(info.lpszOutput, output.c_str()) << "no redirection without the rendering driver";
    const int job = StartDocW(dc, &info);
    EXPECT_GT(job, 0);
    EXPECT_EQ(real.StartDocPost(printer_, dc, DWORD(job)), 1);
    for (int page = 0; page < 2; ++page) {
        EXPECT_EQ(real.Event(printer_, dc, DOCUMENTEVENT_STARTPAGE), 1);
        EXPECT_EQ(real.Event(printer_, dc, DOCUMENTEVENT_ENDPAGE), 1);
    }
    EXPECT_EQ(real.Event(printer_, dc, DOCUMENTEVENT_ENDDOC), 0x7FFFFFF8);
    EndDoc(dc);
    EXPECT_EQ(real.Event(printer_, dc, DOCUMENTEVENT_ENDDOCPOST), 1);
    EXPECT_EQ(real.Event(printer_, dc, DOCUMENTEVENT_DELETEDC), 1);
    DeleteFileW(output.c_str());
}

}  // namespace
