// What the document events do around a job, through a copy of QVTDX5DA.DLL with the scripted
// rendering driver: the redirection into a temporary file with its conversion record, the
// conversion after the job (in a rundll32 process or in the printing one), the manual-duplex
// instructions, and the status monitor and companion program after the document started.
#include <gtest/gtest.h>

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DocEventTestUtil.h"
#include "FileFixtures.h"
#include "FontCache.h"
#include "FontSummary.h"
#include "PrinterFixture.h"
#include "ProgramStarts.h"
#include "TestSupport.h"

namespace {

using doctest::Bytes;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV job launches";
constexpr char kRedirectScript[] = "supports 5010 5017 5018 5019\ncapability 1\n";

std::string Narrow(const wchar_t* text)
{
    if (!text)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 1 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

// Files the system's temporary-name service made with the redirection's prefix.
std::vector<std::string> RedirectionFiles()
{
    std::vector<std::string> found;
    for (const std::string& name : qvtest::NamesIn(qvtest::TempFolder().substr(0, qvtest::TempFolder().size() - 1)))
        if (name.rfind("QVJ", 0) == 0)
            found.push_back(name);
    return found;
}

class JobLaunchTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    void SetUp() override
    {
        TestPrinterTest::SetUp();
        ASSERT_TRUE(renderer_.Ready());
        ASSERT_TRUE(library_.Ready());
        renderer_.Script("");
        driverDir_ = DriverDirectory();
        ASSERT_FALSE(driverDir_.empty());
        for (const char* value : {"ConvertInOwnProcess", "ShowInstructionsInOwnProcess"})
            doctest::SetPrinterDword(printer_, value, 0);
    }
    void TearDown() override
    {
        for (const std::string& path : placed_)
            for (int i = 0; i < 100 && qvtest::IsThere(path) && !DeleteFileA(path.c_str()); ++i)
                Sleep(50);
        TestPrinterTest::TearDown();
    }

    std::string DriverDirectory() const
    {
        DWORD needed = 0;
        GetPrinterDriverA(printer_, nullptr, 2, nullptr, 0, &needed);
        std::vector<BYTE> info(needed + 1);
        if (!GetPrinterDriverA(printer_, nullptr, 2, info.data(), DWORD(info.size()), &needed))
            return {};
        const std::string path = reinterpret_cast<DRIVER_INFO_2A*>(info.data())->pDriverPath;
        return path.substr(0, path.find_last_of('\\') + 1);
    }
    // A file put into the driver directory for the test, removed after it.
    bool Place(const std::string& source, const std::string& name)
    {
        placed_.push_back(driverDir_ + name);
        return CopyFileA(source.c_str(), (driverDir_ + name).c_str(), FALSE) != FALSE;
    }
    // The rendering driver holds a devmode with manual duplex in force.
    void ManualDuplexDevmode()
    {
        Bytes d = doctest::PrinterDevmode(kPrinter);
        ASSERT_EQ(d.size(), devmode::kSize);
        d[1076] = 0x80;
        renderer_.SetDevmode(d);
    }

    doctest::FakeRenderer renderer_;
    doctest::DocEventLibrary library_{&renderer_};
    qvtest::TempDir dir_;
    std::string driverDir_;
    std::vector<std::string> placed_;
};

// The rendering driver finds the document's font summary through "FontSummaryFile".
TEST_F(JobLaunchTest, ADocumentStartKeepsTheJobsFontSummaryInTheCacheFile)
{
    const std::string cache = driverDir_ + "qel" + kPrinter + ".PCL";
    placed_.push_back(cache);
    DeleteFileA(cache.c_str());
    renderer_.Script("supports 5013");
    Bytes d = doctest::PrinterDevmode(kPrinter);
    ASSERT_EQ(d.size(), devmode::kSize);
    renderer_.SetDevmode(d);
    const auto records = [&] {
        const auto bytes = qvtest::ReadFile(cache);
        std::optional<fontcache::CacheImage> image;
        if (bytes)
            image = fontcache::Parse(Bytes(bytes->begin(), bytes->end()));
        return image;
    };

    DOCINFOW info{sizeof info, L"Letter", nullptr, nullptr, 0};
    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    auto image = records();
    ASSERT_TRUE(image) << cache;
    ASSERT_EQ(image->records.size(), 1u);
    const auto summary = fontsummary::Read(image->records[0].summary);
    ASSERT_TRUE(summary);
    EXPECT_FALSE(summary->empty()) << "the model's resident fonts";
    const Bytes value = doctest::PrinterValue(printer_, "FontSummaryFile");
    EXPECT_EQ(std::string(value.begin(), value.end()), cache + '\0');

    // Copies do not change the fonts; a new print quality does.
    d[86] = 3;
    renderer_.SetDevmode(d);
    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    EXPECT_EQ(records()->records.size(), 1u);
    d[90] = std::uint8_t(d[90] == 44 ? 88 : 44);
    renderer_.SetDevmode(d);
    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    EXPECT_EQ(records()->records.size(), 2u);
}

TEST_F(JobLaunchTest, RedirectedJobIsConvertedInThisProcessAndItsFileDeleted)
{
    qvtest::CallRecord conversion("QVTDX5LU_RECORD", dir_.File("conversion.log"));
    ASSERT_TRUE(doctest::SetPrinterDword(printer_, "ConvertInOwnProcess", 1));
    renderer_.Script(kRedirectScript);
    const std::wstring document = L"Quarterly report", output = L"C:\\out\\app.prn";
    DOCINFOW info{sizeof info, document.c_str(), output.c_str(), nullptr, 0};

    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    ASSERT_NE(info.lpszOutput, output.c_str());
    const std::string temp = Narrow(info.lpszOutput);
    EXPECT_EQ(temp.rfind(qvtest::TempFolder() + "QVJ", 0), 0u) << temp;
    EXPECT_TRUE(qvtest::IsThere(temp));
    const auto sent = renderer_.Escapes();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "5010 in=0 out=4");
    EXPECT_EQ(sent[1], "5019 in=0 out=4");
    EXPECT_EQ(sent[2], "5017 in=" + std::to_string(sizeof(void*)) + " out=0 registered=1");

    ASSERT_EQ(library_.StartDocPost(printer_, nullptr, 0), 1);
    EXPECT_EQ(info.lpszOutput, output.c_str()) << "the application's output name is back";

    ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);
    const auto calls = conversion.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].substr(0, calls[0].rfind('\t', calls[0].rfind('\t') - 1)),
              "runConvertW\tQuarterly report|" + std::string(kPrinter) + "|" + temp + "|C:\\out\\app.prn");
    EXPECT_EQ(calls[0].substr(calls[0].rfind('\t') + 1), "file") << "the file is there while it converts";
    EXPECT_FALSE(qvtest::IsThere(temp)) << "and gone after";
    EXPECT_EQ(renderer_.Escapes().back(), "5017 in=0 out=0") << "the registration is cleared";
}

TEST_F(JobLaunchTest, RedirectedJobIsConvertedByRundll32InTheDriverDirectory)
{
    qvtest::CallRecord conversion("QVTDX5LU_RECORD", dir_.File("conversion.log"));
    ASSERT_TRUE(Place(qvtest::BinDir() + "\\QVTDX5LU.DLL", "QVTDX5LU.DLL"));
    renderer_.Script(kRedirectScript);
    const std::wstring document = L"Letters";
    DOCINFOW info{sizeof info, document.c_str(), nullptr, nullptr, 0};
    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    const std::string temp = Narrow(info.lpszOutput);
    ASSERT_FALSE(temp.empty());
    ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);

    const auto calls = doctest::WaitForLines(dir_.File("conversion.log"), 1);
    ASSERT_EQ(calls.size(), 1u);
    std::string dir = driverDir_;
    dir.pop_back();
    EXPECT_EQ(calls[0], "runConvertW\tLetters|" + std::string(kPrinter) + "|" + temp + "|\t" + dir + "\tfile");
    EXPECT_TRUE(qvtest::IsThere(temp)) << "the conversion program owns the file";
    DeleteFileA(temp.c_str());
}

// A conversion library missing beside the driver library is not looked for elsewhere, here in
// the current directory: the job prints as the application asked.
TEST_F(JobLaunchTest, TheConversionLibraryIsLoadedFromBesideTheDriverOnly)
{
    qvtest::CallRecord conversion("QVTDX5LU_RECORD", dir_.File("conversion.log"));
    const std::string beside = library_.Dir() + "QVTDX5LU.DLL";
    ASSERT_TRUE(MoveFileA(beside.c_str(), (beside + ".kept").c_str()));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(qvtest::BinDir().c_str()));
    renderer_.Script(kRedirectScript);
    const std::wstring document = L"Planted";
    DOCINFOW info{sizeof info, document.c_str(), nullptr, nullptr, 0};
    EXPECT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(info.lpszOutput, nullptr) << "redirected through the copy in the current directory";
    library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST);
    EXPECT_FALSE(conversion.Exists());
    MoveFileA((beside + ".kept").c_str(), beside.c_str());
}

TEST_F(JobLaunchTest, NoRedirectionWithoutTheRegistrationOrTheCapability)
{
    const struct {
        const char* what;
        const char* script;
    } cases[] = {
        {"no registration escape", "supports 5010 5018\ncapability 1\n"},
        {"the capability answers 0", "supports 5010 5017 5018\ncapability 0\n"},
        {"no capability escape", "supports 5017 5018\n"},
    };
    const std::vector<std::string> before = RedirectionFiles();
    for (const auto& c : cases) {
        renderer_.Script(c.script);
        const std::wstring output = L"C:\\out\\kept.prn";
        DOCINFOW info{sizeof info, L"Kept", output.c_str(), nullptr, 0};
        ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1) << c.what;
        EXPECT_EQ(info.lpszOutput, output.c_str()) << c.what;
        EXPECT_EQ(RedirectionFiles(), before) << c.what << ": no temporary file is left";
    }
}

TEST_F(JobLaunchTest, AConversionRecordTheLibraryNeverMadeIsNotFollowed)
{
    qvtest::CallRecord conversion("QVTDX5LU_RECORD", dir_.File("conversion.log"));
    ASSERT_TRUE(doctest::SetPrinterDword(printer_, "ConvertInOwnProcess", 1));
    renderer_.Script(std::string(kRedirectScript) + "conversion bogus\n");
    const std::wstring output = L"C:\\out\\app.prn";
    DOCINFOW info{sizeof info, L"Bogus", output.c_str(), nullptr, 0};
    ASSERT_EQ(library_.StartDoc(printer_, nullptr, &info), 1);
    const std::string temp = Narrow(info.lpszOutput);
    EXPECT_EQ(library_.StartDocPost(printer_, nullptr, 0), 1);
    EXPECT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);
    EXPECT_FALSE(conversion.Exists()) << "nothing converted from a record at an unknown address";
    DeleteFileA(temp.c_str());
}

TEST_F(JobLaunchTest, ManualDuplexInstructionsByVariantThroughRundll32)
{
    const struct {
        std::uint32_t flags;
        int variantByte;
        int variant;  // 0: nothing starts
    } cases[] = {{0x21, 0, 3}, {0x05, 2, 2}, {0x05, 0, 1}, {0x03, 0, 0}};
    std::string dir = library_.Dir();
    dir.pop_back();
    for (const auto& c : cases) {
        const std::string log = dir_.File("duplex" + std::to_string(c.flags) + "-" + std::to_string(c.variantByte) + ".log");
        qvtest::CallRecord dialogs("QVDOCDIALOGS_RECORD", log);
        renderer_.Script("supports 5012 5013\njobflags " + std::to_string(c.flags) + "\njobvariant " +
                         std::to_string(c.variantByte));
        ManualDuplexDevmode();
        ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);
        const auto calls = doctest::WaitForLines(log, 1, c.variant ? 20000 : 2000);
        if (!c.variant) {
            EXPECT_TRUE(calls.empty()) << "flags " << c.flags;
            continue;
        }
        const std::string line = "rundll32.exe " + dir + "\\QVTDX5DU.DLL,showManualDuplexDlg " +
                                 std::to_string(c.variant) + " QVTDX5B1.DLL";
        ASSERT_EQ(calls.size(), 1u) << "flags " << c.flags;
        EXPECT_EQ(calls[0], "showManualDuplexDlgW\t" + std::to_string(c.variant) + " QVTDX5B1.DLL\t" + dir + "\t" + line)
            << "flags " << c.flags;
    }
}

TEST_F(JobLaunchTest, ManualDuplexInstructionsInThisProcess)
{
    qvtest::CallRecord dialogs("QVDOCDIALOGS_RECORD", dir_.File("dialogs.log"));
    ASSERT_TRUE(doctest::SetPrinterDword(printer_, "ShowInstructionsInOwnProcess", 1));
    renderer_.Script("supports 5012 5013\njobflags 0x05\njobvariant 2");
    ManualDuplexDevmode();
    ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);
    std::string dir = library_.Dir();
    dir.pop_back();
    const auto calls = dialogs.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].substr(0, calls[0].find('\t', calls[0].find('\t') + 1)),
              "showManualDuplexDlgW\t2 " + dir + "\\QVTDX5B1.DLL");
}

TEST_F(JobLaunchTest, NoInstructionsWithoutManualDuplexInTheDevmode)
{
    qvtest::CallRecord dialogs("QVDOCDIALOGS_RECORD", dir_.File("dialogs.log"));
    ASSERT_TRUE(doctest::SetPrinterDword(printer_, "ShowInstructionsInOwnProcess", 1));
    renderer_.Script("supports 5012 5013\njobflags 0x21");
    Bytes d = doctest::PrinterDevmode(kPrinter);
    d[1076] = 1;
    renderer_.SetDevmode(d);
    ASSERT_EQ(library_.Event(printer_, nullptr, DOCUMENTEVENT_ENDDOCPOST), 1);
    EXPECT_FALSE(dialogs.Exists());
}

TEST_F(JobLaunchTest, StatusMonitorAndCompanionStartForAJobOfThisComputer)
{
    ASSERT_TRUE(Place(qvtest::TestProgramPath(), "QVTDSTAT.EXE"));
    ASSERT_TRUE(Place(qvtest::TestProgramPath(), "QVTDX0AA.EXE"));
    qvtest::StartLog starts;
    const HDC dc = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
    ASSERT_TRUE(dc);
    const std::string output = qvtest::TempFolder() + "qv-launch.prn";
    DOCINFOA info{sizeof info, "Launch document", output.c_str(), nullptr, 0};
    const int job = StartDocA(dc, &info);
    ASSERT_GT(job, 0);
    EXPECT_EQ(library_.StartDocPost(printer_, dc, DWORD(job)), 1);
    EndDoc(dc);
    DeleteDC(dc);
    DeleteFileA(output.c_str());

    std::vector<qvtest::Start> started;
    for (int i = 0; i < 400 && started.size() < 2; ++i, Sleep(50))
        started = starts.Starts();
    ASSERT_EQ(started.size(), 2u);
    std::sort(started.begin(), started.end(), [](const auto& a, const auto& b) { return a.commandLine < b.commandLine; });
    EXPECT_EQ(started[0].commandLine, driverDir_ + "QVTDSTAT.EXE " + kPrinter + ";LPT1:;PP;");
    EXPECT_EQ(started[1].commandLine,
              driverDir_ + "QVTDX0AA.EXE " + kPrinter + ";Launch document;" + kDriver + ";LPT1:;PP;");
    EXPECT_EQ(started[0].show, SW_SHOW);
    EXPECT_EQ(started[1].show, SW_SHOW);
}

}  // namespace
