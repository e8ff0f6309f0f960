// The byte-level parts of the document events: the rendering driver's replies, the job's devmode
// fields and stamping, the acceptance of an application's devmode, and the command lines after a
// job.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "EscapeReplies.h"
#include "JobDevmode.h"
#include "LaunchCommands.h"
#include "WatermarkLayout.h"

namespace {

using namespace docevents;
using Bytes = std::vector<std::uint8_t>;

Bytes Words32(std::initializer_list<std::uint32_t> words)
{
    Bytes b;
    for (const std::uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            b.push_back(std::uint8_t(w >> (8 * i)));
    return b;
}

// A devmode of this driver as far as the validity test looks.
devmode::Buffer DriverDevmode()
{
    devmode::Buffer d{};
    devmode::Set(d, devmode::dmSpecVersion, devmode::kSpecVersionValue);
    devmode::Set(d, devmode::dmSize, std::uint16_t(devmode::kPublicSize));
    devmode::Set(d, devmode::dmDriverExtra, std::uint16_t(devmode::kPrivateSize));
    for (const devmode::U32 s : {devmode::kSignature1, devmode::kSignature2, devmode::kSignature3})
        devmode::Set(d, s, devmode::kSignatureValue);
    devmode::Set(d, devmode::kLayoutVersion, devmode::kLayoutVersionValue);
    devmode::Set(d, devmode::dmCopies, 3);
    devmode::UpdateChecksum(d);
    return d;
}

TEST(RendererVersion, OlderThan560OrAnsweringBelowOneOrLackingTheCapabilityForMode4)
{
    const struct {
        int answer;
        std::uint32_t version;
        std::uint8_t mode;
        bool capability;
        bool old;
    } cases[] = {
        {1, 559, 1, true, true},  {1, 560, 1, true, false}, {1, 566, 1, false, false}, {0, 566, 1, true, true},
        {-1, 566, 1, true, true}, {1, 566, 4, false, true}, {1, 566, 4, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RendererTooOld(c.answer, c.version, c.mode, c.capability), c.old)
            << "answer " << c.answer << ", version " << c.version << ", mode " << int(c.mode);
}

TEST(WatermarkRequest, NumberAndPageOnlyWhenTheReplyDescribesOne)
{
    const struct {
        const char* what;
        Bytes reply;
        std::uint16_t number;
        bool page;
    } cases[] = {
        {"a page of 300 dpi", Words32({7, 0, 0, 300, 10, 20, 2410, 3320, 0}), 7, true},
        {"the number in the low 16 bits", Words32({0xABCD0003, 0, 0, 300, 0, 0, 100, 100}), 3, true},
        {"no watermark", Words32({0, 0, 0, 300, 0, 0, 100, 100}), 0, false},
        {"past the list's last number", Words32({256, 0, 0, 300, 0, 0, 100, 100}), 256, false},
        {"resolution 0", Words32({7, 0, 0, 0, 0, 0, 100, 100}), 7, false},
        {"resolution past 9600", Words32({7, 0, 0, 9601, 0, 0, 100, 100}), 7, false},
        {"an empty area", Words32({7, 0, 0, 300, 50, 50, 50, 90}), 7, false},
        {"an area turned inside out", Words32({7, 0, 0, 300, 100, 0, 0, 100}), 7, false},
        {"a side of two million dots", Words32({7, 0, 0, 300, std::uint32_t(-2000000), 0, 2000000, 100}), 7, false},
        {"a reply cut after the number", Words32({7}), 7, false},
        {"an empty reply", {}, 0, false},
    };
    for (const auto& c : cases) {
        const WatermarkRequest r = ParseWatermarkRequest(c.reply);
        EXPECT_EQ(r.number, c.number) << c.what;
        EXPECT_EQ(r.page.has_value(), c.page) << c.what;
    }
    const auto page = *ParseWatermarkRequest(Words32({7, 0, 0, 300, 10, 20, 2410, 3320})).page;
    EXPECT_EQ(page.resolution, 300);
    EXPECT_EQ(page.left, 10);
    EXPECT_EQ(page.top, 20);
    EXPECT_EQ(page.right, 2410);
    EXPECT_EQ(page.bottom, 3320);
}

TEST(JobState, ManualDuplexVariantByFlagsVariantByteAndMarker)
{
    const struct {
        std::uint32_t flags;
        std::uint8_t variantByte;
        std::uint8_t marker;
        int variant;
    } cases[] = {
        {0x21, 0, 0x80, 3}, {0x05, 2, 0x80, 2}, {0x05, 0, 0x80, 1}, {0x03, 0, 0x80, 0},
        {0x21, 2, 0x80, 3}, {0x04, 0, 0x80, 0}, {0x05, 0, 0x01, 0}, {0x25, 2, 0x80, 3},
    };
    for (const auto& c : cases) {
        Bytes job(kJobStateSize, 0);
        devmode::Set(job, kJobFlags, c.flags);
        devmode::Set(job, kJobVariant, c.variantByte);
        EXPECT_EQ(ManualDuplexVariant(ParseJobState(job), c.marker), c.variant)
            << "flags " << c.flags << ", variant byte " << int(c.variantByte) << ", marker " << int(c.marker);
    }
}

TEST(JobState, FieldsAtTheirOffsetsAndZeroInAShortReply)
{
    Bytes job(kJobStateSize, 0);
    job[280] = 2;
    job[686] = 0x34;
    job[687] = 0x12;
    job[709] = 1;
    job[2060] = 0x21;
    const JobState s = ParseJobState(job);
    EXPECT_EQ(s.variant, 2);
    EXPECT_EQ(s.pagesDone, 0x1234);
    EXPECT_TRUE(s.stamped);
    EXPECT_EQ(s.flags, 0x21u);

    const JobState cut = ParseJobState(Bytes(700, 0xFF));
    EXPECT_EQ(cut.pagesDone, 0xFFFF);
    EXPECT_FALSE(cut.stamped);
    EXPECT_EQ(cut.flags, 0u);
}

TEST(EndResources, FirstResourceByTheAnswerSecondAlways)
{
    const struct {
        int answer;
        Bytes values;
        std::optional<std::uint16_t> first;
        bool page;
    } cases[] = {
        {2, Words32({600, 4800, 6600, 1}), kFirstResourceA2, true},
        {3, Words32({600, 4800, 6600, 1}), kFirstResourceA3, true},
        {5, Words32({600, 4800, 6600, 1}), std::nullopt, false},
        {2, Words32({600, 4800, 6600, 0}), std::nullopt, false},
        {3, Words32({0, 4800, 6600, 1}), kFirstResourceA3, false},
        {3, Words32({600, 0, 6600, 1}), kFirstResourceA3, false},
        {2, Words32({600}), std::nullopt, false},
    };
    for (const auto& c : cases) {
        const EndResources r = ParseEndResources(c.answer, c.values);
        EXPECT_EQ(r.firstResource, c.first) << "answer " << c.answer;
        EXPECT_EQ(r.page.has_value(), c.page) << "answer " << c.answer;
    }
}

TEST(ApplicationDevmode, OnlyAWholeDevmodeOfThisDriver)
{
    const devmode::Buffer good = DriverDevmode();
    EXPECT_TRUE(AcceptsApplicationDevmode(good));
    Bytes longer(good.begin(), good.end());
    longer.resize(2000, 0xEE);
    EXPECT_TRUE(AcceptsApplicationDevmode(longer));
    EXPECT_FALSE(AcceptsApplicationDevmode(std::span(good).first(1255)));

    const struct {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    } spoilt[] = {
        {"version field", 64, 0x00},   {"public size", 68, 212},      {"private size", 70, 0},
        {"first signature", 220, 0},  {"second signature", 424, 0},  {"third signature", 1252, 0},
        {"layout version 565", 304, 0x35},
    };
    for (const auto& s : spoilt) {
        devmode::Buffer d = good;
        d[s.offset] = s.value;
        EXPECT_FALSE(AcceptsApplicationDevmode(d)) << s.what;
    }
}

TEST(Stamping, LongNamesAndIdsStopShortOfTheNextFieldAndTheChecksum)
{
    devmode::Buffer d = DriverDevmode();
    d[1182] = 0x5A;  // the bytes between and after the fields
    d[1223] = 0x5B;
    const std::uint16_t checksum = devmode::Get(d, devmode::kChecksum);
    const std::string name41(41, 'N'), user41(41, 'U'), id17 = "12345678901234567";

    StampAccount(d, id17);
    StampNames(d, name41, user41);

    EXPECT_EQ(devmode::GetText(d, kAccountId), "1234567890123456");
    EXPECT_EQ(devmode::GetText(d, kComputerName), std::string(39, 'N'));
    EXPECT_EQ(devmode::GetText(d, kUserName), std::string(39, 'U'));
    EXPECT_EQ(d[1141], 0);
    EXPECT_EQ(d[1181], 0);
    EXPECT_EQ(d[1182], 0x5A);
    EXPECT_EQ(d[1222], 0);
    EXPECT_EQ(d[1223], 0x5B);
    EXPECT_EQ(devmode::Get(d, devmode::kChecksum), checksum);
    EXPECT_TRUE(devmode::ChecksumMatches(d));

    StampNames(d, "PC", "");
    EXPECT_EQ(devmode::GetText(d, kComputerName), "PC");
    EXPECT_EQ(d[1144], 0);  // the old name's rest is gone
    EXPECT_EQ(devmode::GetText(d, kUserName), "");
}

TEST(JobFields, DefaultedFieldsMissingChoicesMarkerAndMemory)
{
    devmode::Buffer d = DriverDevmode();
    d[228] = 0xFF;
    d[432] = 7;  // not defaulted: stays
    devmode::Set(d, kFirstPageWatermark, 3);
    devmode::Set(d, kOtherPagesWatermark, 9);
    devmode::SetWideText(d, devmode::kFirstPageOverlay, u"Letterhead");
    devmode::SetWideText(d, devmode::kOtherPagesOverlay, u"Gone");
    JobChoices c;
    c.defaulted1 = 5;
    c.defaulted2 = 6;
    c.availableMemory = 3ull << 30;
    c.watermarkExists = [](std::uint16_t n) { return n == 3; };
    c.overlayExists = [](std::u16string_view name) { return name == u"Letterhead"; };
    FillJobFields(d, c);

    EXPECT_EQ(d[228], 5);
    EXPECT_EQ(d[432], 7);
    EXPECT_EQ(devmode::Get(d, kFirstPageWatermark), 3);
    EXPECT_EQ(devmode::Get(d, kOtherPagesWatermark), 0);
    EXPECT_EQ(devmode::GetWideText(d, devmode::kFirstPageOverlay), u"Letterhead");
    EXPECT_EQ(devmode::GetWideText(d, devmode::kOtherPagesOverlay), u"");
    EXPECT_EQ(devmode::Get(d, kManualDuplexMarker), 1);
    EXPECT_EQ(devmode::Get(d, kJobMemory), 3072);
    EXPECT_TRUE(devmode::ChecksumMatches(d));

    devmode::Set(d, kManualDuplexMarker, kManualDuplexOn);
    FillJobFields(d, {});
    EXPECT_EQ(devmode::Get(d, kManualDuplexMarker), kManualDuplexOn);
    EXPECT_EQ(devmode::Get(d, kFirstPageWatermark), 0);  // no list: no watermark is there
}

TEST(JobFields, DefaultedValuesAreSmallDecimals)
{
    EXPECT_EQ(DefaultedValue("0"), 0);
    EXPECT_EQ(DefaultedValue("254"), 254);
    EXPECT_EQ(DefaultedValue("255"), std::nullopt);
    EXPECT_EQ(DefaultedValue("-1"), std::nullopt);
    EXPECT_EQ(DefaultedValue("1000"), std::nullopt);
    EXPECT_EQ(DefaultedValue(""), std::nullopt);
    EXPECT_EQ(DefaultedValue("1x"), std::nullopt);
}

TEST(JobFields, ShortDevmodesAreNeverWrittenPastTheirEnd)
{
    Bytes shortOne(700, 0xFF);
    JobChoices c;
    c.defaulted1 = c.defaulted2 = 1;
    FillJobFields(shortOne, c);
    StampAccount(shortOne, "1");
    StampNames(shortOne, std::string(60, 'x'), std::string(60, 'y'));
    EXPECT_EQ(shortOne.size(), 700u);
    EXPECT_EQ(shortOne[673], 0);  // inside: no list, cleared
}

TEST(LaunchCommands, StatusMonitorAndCompanionAsTheProgramsReadThem)
{
    const std::string dir = "C:\\windows\\system32\\spool\\drivers\\w32x86\\3\\";
    EXPECT_EQ(StatusMonitorCommand(dir, "Office Printer", "LPT1:"),
              dir + "QVTDSTAT.EXE Office Printer;LPT1:;PP;");
    EXPECT_EQ(CompanionCommand(dir, "Office Printer", "Report.doc", "Qelbrin QV-5 PCL", "LPT1:"),
              dir + "QVTDX0AA.EXE Office Printer;Report.doc;Qelbrin QV-5 PCL;LPT1:;PP;");
    EXPECT_EQ(CompanionCommand(dir, "Office Printer", std::nullopt, "Qelbrin QV-5 PCL", "LPT1:"),
              dir + "QVTDX0AA.EXE Office Printer; ;Qelbrin QV-5 PCL;LPT1:;PP;");
    EXPECT_EQ(DirectoryOf(std::string_view("C:\\drv\\3\\qvtdx5dd.dll")), "C:\\drv\\3\\");
    EXPECT_EQ(DirectoryOf(std::string_view("qvtdx5dd.dll")), "");
    EXPECT_EQ(FirstPort("LPT1:,LPT2:"), "LPT1:");
    EXPECT_EQ(FirstPort("IP_10.0.0.5"), "IP_10.0.0.5");
    EXPECT_EQ(FirstPort(""), "");
    EXPECT_EQ(FirstPort(",LPT2:"), "");
}

TEST(LaunchCommands, ConversionAndManualDuplexLines)
{
    const std::wstring args = ConversionArguments(L"Report", L"Office", L"C:\\temp\\QVJ1.tmp", L"");
    EXPECT_EQ(args, std::wstring(L"Report\x01Office\x01") + L"C:\\temp\\QVJ1.tmp\x01");
    EXPECT_EQ(ConversionCommand(args), L"rundll32.exe QVTDX5LU.DLL,runConvert " + args);
    EXPECT_EQ(ManualDuplexCommand(L"C:\\drv\\QVTDX5DU.DLL", 3),
              L"rundll32.exe C:\\drv\\QVTDX5DU.DLL,showManualDuplexDlg 3 QVTDX5B1.DLL");
    EXPECT_EQ(ManualDuplexText(2, L"C:\\drv"), L"2 C:\\drv\\QVTDX5B1.DLL");
}

TEST(LaunchCommands, JobsCountAsLocalUnlessAnotherComputerPrintedToThisOnesPrinter)
{
    const struct {
        const char* what;
        const char* machine;
        const char* server;
        bool local;
    } cases[] = {
        {"this computer's job, any case and decoration", "\\\\office-pc  ", "", true},
        {"this computer's job to a connection", "\\\\OFFICE-PC", "\\\\PRINTSRV", true},
        {"another computer's job to this computer's printer", "\\\\LAPTOP", "", false},
        {"another computer's job to this computer's shared printer, by name", "\\\\LAPTOP", "\\\\Office-PC", false},
        {"a client's job as a connection's server names it", "\\\\10.0.0.7", "\\\\PRINTSRV", true},
        {"a job without a machine name", "", "", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsLocalJob(c.machine, c.server, "OFFICE-PC"), c.local) << c.what;
}

TEST(WatermarkLayout, ColourHeightAndDiagonal)
{
    EXPECT_EQ(LightenedColour(0x000000, 0), 0x000000u);
    EXPECT_EQ(LightenedColour(0x000000, 100), 0xFFFFFFu);
    EXPECT_EQ(LightenedColour(0x0000FF, 50), 0x7F7FFFu);  // red: blue and green half way
    EXPECT_EQ(LightenedColour(0x204060, 250), 0xFFFFFFu);  // the percentage stops at 100
    EXPECT_EQ(LightenedColour(0x204060, -5), 0x204060u);
    EXPECT_EQ(DotsOf(-1440, 300), -300);  // 72 points is an inch
    EXPECT_EQ(DotsOf(1440, 600), 600);
    EXPECT_EQ(DotsOf(0x7FFFFFFF, 9600), 1 << 20);
    EXPECT_EQ(DiagonalAngle(100, 100), 450);
    EXPECT_EQ(DiagonalAngle(2400, 3300), 540);
    EXPECT_EQ(DiagonalAngle(0, 100), 0);
    const TextOrigin level = CentredOrigin(500, 500, 0, 40, 10);
    EXPECT_EQ(level.x, 500);
    EXPECT_EQ(level.y, 515);
    const TextOrigin upright = CentredOrigin(500, 500, 900, 40, 10);
    EXPECT_EQ(upright.x, 515);
    EXPECT_EQ(upright.y, 500);
}

}  // namespace
