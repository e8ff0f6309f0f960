// The page and end-of-document events of a copy of QVTDX5DA.DLL with the scripted rendering
// driver: the first page's stamping (account dialog, computer and user names), the watermarks
// from the printer's list drawn where the rendering driver asks, and the resources and instruction
// text at the end of the document. Drawing goes to a memory device context whose pixels can be
// read.
#include <gtest/gtest.h>

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "DevmodeLayout.h"
#include "DocEventTestUtil.h"
#include "ListRecords.h"
#include "PrinterFixture.h"
#include "RecordList.h"
#include "TestSupport.h"

namespace {

using doctest::Bytes;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV page events";
constexpr int kWidth = 600, kHeight = 800;

// A white 24-bit page in a memory device context.
class Page {
public:
    Page()
    {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        Clear();
    }
    ~Page()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    HDC Dc() const { return dc_; }
    void Clear() { std::fill(pixels_, pixels_ + kWidth * kHeight, 0xFFFFFFu); }
    // Pixels that are no longer white, in the whole page or outside a rectangle of it.
    int Marked(RECT outside = {0, 0, 0, 0}) const
    {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((pixels_[y * kWidth + x] & 0xFFFFFF) != 0xFFFFFF && !(x >= outside.left && x < outside.right &&
                                                                         y >= outside.top && y < outside.bottom))
                    ++n;
        return n;
    }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

class PageEventsTest : public qvtest::TestPrinterTest<kDriver, kPrinter> {
protected:
    void SetUp() override
    {
        TestPrinterTest::SetUp();
        ASSERT_TRUE(renderer_.Ready());
        ASSERT_TRUE(library_.Ready());
        renderer_.Script("");
        ASSERT_TRUE(StoreWatermark(3, "DRAFT"));
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QVDOCDIALOGS_ACCOUNT", nullptr);
        TestPrinterTest::TearDown();
    }

    // The printer's watermark list with one watermark: black, no lightness, 24 points, level.
    bool StoreWatermark(std::int16_t number, const std::string& text)
    {
        recordlist::Watermark w;
        w.number = number;
        w.name = "Draft";
        w.text = text;
        LOGFONTA font{};
        font.lfHeight = -480;
        font.lfWeight = FW_BOLD;
        lstrcpyA(font.lfFaceName, "Arial");
        static_assert(sizeof font == sizeof w.layout);
        std::memcpy(w.layout.data(), &font, sizeof font);
        recordlist::RecordList list;
        recordlist::AppendWatermark(list, w);
        return doctest::SetPrinterValue(printer_, "Watermark", REG_BINARY, list.Bytes().data(), DWORD(list.Bytes().size()));
    }

    // The devmode of a new device context with these watermark numbers, as the rendering driver
    // would hold it.
    Bytes JobDevmode(std::uint8_t firstPage, std::uint8_t otherPages, std::uint8_t accountTracking = 0)
    {
        Bytes app = doctest::PrinterDevmode(kPrinter);
        EXPECT_EQ(app.size(), devmode::kSize);
        app[673] = firstPage;
        app[674] = otherPages;
        app[1124] = accountTracking;
        devmode::UpdateChecksum(app);
        DEVMODEW* made = nullptr;
        EXPECT_EQ(library_.CreateDcPre(printer_, kPrinter, app.data(), made), 1);
        const Bytes d(reinterpret_cast<std::uint8_t*>(made), reinterpret_cast<std::uint8_t*>(made) + devmode::kSize);
        library_.CreateDcPost(printer_, nullptr, made);
        return d;
    }

    static std::size_t Count(const std::vector<std::string>& lines, const std::string& start)
    {
        return std::size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
    }

    doctest::FakeRenderer renderer_;
    doctest::DocEventLibrary library_{&renderer_};
    qvtest::TempDir dir_;
};

constexpr char kPageScript[] =
    "supports 5000 5001 5002 5003 5004 5005 5006 5007 5012 5013 5015\n"
    "page 300 0 0 600 800\n";

TEST_F(PageEventsTest, WatermarksOnTheFirstPageOnlyOrOnEveryPageAsTheListSays)
{
    const struct {
        const char* what;
        std::uint8_t firstPage, otherPages;
        std::vector<bool> drawn;
    } cases[] = {
        {"first page only", 3, 0, {true, false, false}},
        {"every page", 3, 3, {true, true, true}},
        {"the other pages' watermark is not in the list", 3, 7, {true, false, false}},
        {"none", 0, 0, {false, false, false}},
    };
    for (const auto& c : cases) {
        const Bytes d = JobDevmode(c.firstPage, c.otherPages);
        renderer_.Script(kPageScript);
        renderer_.SetDevmode(d);
        Page page;
        for (std::size_t n = 0; n < c.drawn.size(); ++n) {
            page.Clear();
            const std::size_t reportsBefore = Count(renderer_.Record(), "5001 ");
            EXPECT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
            EXPECT_EQ(page.Marked() > 0, c.drawn[n]) << c.what << ", page " << n + 1;
            EXPECT_EQ(Count(renderer_.Record(), "5001 ") - reportsBefore, c.drawn[n] ? 1u : 0u) << c.what;
            EXPECT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDPAGE), 1);
        }
    }
}

TEST_F(PageEventsTest, DrawingLeavesTheDeviceContextAsItWas)
{
    const Bytes d = JobDevmode(3, 0);
    renderer_.Script(kPageScript);
    renderer_.SetDevmode(d);
    Page page;
    const HDC dc = page.Dc();
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    ASSERT_EQ(library_.Event(printer_, dc, DOCUMENTEVENT_STARTPAGE), 1);
    EXPECT_GT(page.Marked(), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextAlign(dc), UINT(TA_RIGHT | TA_BOTTOM));
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, clip), 0) << "no clipping region is left behind";
    DeleteObject(clip);
}

TEST_F(PageEventsTest, WatermarkStaysInsideTheRequestedArea)
{
    const Bytes d = JobDevmode(3, 0);
    // A corner of the page: the text centred on it is cut at its edges.
    renderer_.Script(std::string(kPageScript) + "page 300 0 0 120 90\n");
    renderer_.SetDevmode(d);
    Page page;
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    EXPECT_GT(page.Marked(), 0);
    EXPECT_EQ(page.Marked({0, 0, 120, 90}), 0);
}

TEST_F(PageEventsTest, FirstPageStampsTheJobOnceAndSendsItsSettings)
{
    library_.LongNames();
    const Bytes d = JobDevmode(0, 0);
    renderer_.Script(kPageScript);
    renderer_.SetDevmode(d);
    Page page;
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    const Bytes held = renderer_.Devmode();
    EXPECT_EQ(devmode::GetText(held, devmode::Block{1142, 40}), std::string(39, 'C'));
    EXPECT_EQ(devmode::GetText(held, devmode::Block{1183, 40}), std::string(39, 'U'));
    EXPECT_EQ(devmode::Get(held, devmode::kChecksum), devmode::Get(d, devmode::kChecksum)) << "41-character names";
    EXPECT_TRUE(devmode::ChecksumMatches(held));
    EXPECT_EQ(held[1182], d[1182]);
    EXPECT_EQ(held[1223], d[1223]);
    const auto sent = renderer_.Escapes();
    EXPECT_EQ(Count(sent, "5013 in=1256 out=0 checksum=" + std::to_string(devmode::Get(d, devmode::kChecksum)) +
                              " matches"),
              1u);
    EXPECT_EQ(Count(sent, "5015 in=1256"), 1u);

    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDPAGE), 1);
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    const auto later = renderer_.Escapes();
    EXPECT_EQ(Count(later, "5013 in=1256"), 1u) << "later pages stamp nothing";
    EXPECT_EQ(Count(later, "5015 "), 1u) << "nor send the settings again";
}

TEST_F(PageEventsTest, AccountIdFromTheDialogIsCutTo16Digits)
{
    qvtest::CallRecord dialogs("QVDOCDIALOGS_RECORD", dir_.File("dialogs.log"));
    SetEnvironmentVariableA("QVDOCDIALOGS_ACCOUNT", "12345678901234567890");
    const Bytes d = JobDevmode(0, 0, 1);
    renderer_.Script(kPageScript);
    renderer_.SetDevmode(d);
    Page page;
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    EXPECT_EQ(dialogs.Calls(), (std::vector<std::string>{std::string("fnGetAcctTrack\t") + kPrinter + "\thandle set"}));
    const Bytes held = renderer_.Devmode();
    EXPECT_EQ(devmode::GetText(held, devmode::Block{1125, 17}), "1234567890123456");
    EXPECT_TRUE(devmode::ChecksumMatches(held));
    EXPECT_EQ(Count(renderer_.Escapes(), "5015 in=1256 out=0 account=1234567890123456"), 1u);
}

TEST_F(PageEventsTest, CancelledAccountDialogCancelsTheJobWithoutWatermarks)
{
    qvtest::CallRecord dialogs("QVDOCDIALOGS_RECORD", dir_.File("dialogs.log"));
    SetEnvironmentVariableA("QVDOCDIALOGS_ACCOUNT", "cancel");
    const Bytes d = JobDevmode(3, 3, 1);
    renderer_.Script(std::string(kPageScript) + "supports 5014\n");
    renderer_.SetDevmode(d);
    Page page;
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    EXPECT_EQ(dialogs.Calls().size(), 1u);
    const auto sent = renderer_.Escapes();
    EXPECT_EQ(Count(sent, "5014 in=4 out=0 value=1"), 1u);
    EXPECT_EQ(Count(sent, "5013 in=1256"), 1u) << "the devmode is still written back";
    EXPECT_EQ(Count(sent, "5015 "), 1u) << "and the settings still sent";
    EXPECT_EQ(Count(sent, "5000 "), 0u);
    EXPECT_EQ(page.Marked(), 0);
    EXPECT_EQ(devmode::GetText(renderer_.Devmode(), devmode::Block{1142, 40}), "") << "nothing stamped";
}

TEST_F(PageEventsTest, EveryEscapeIsAskedAboutFirstAndSkippedWhenUnsupported)
{
    renderer_.Script("supports 5000 5001\npage 300 0 0 600 800\n");
    Page page;
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_STARTPAGE), 1);
    ASSERT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDPAGE), 1);
    const auto record = renderer_.Record();
    EXPECT_EQ(record, (std::vector<std::string>{"query 5012", "query 5013", "query 5000", "5000 in=0 out=36",
                                                "query 5004", "query 5002", "query 5006"}));
}

TEST_F(PageEventsTest, EndOfDocumentSendsTheResourcesTheRenderingDriverAsksFor)
{
    const struct {
        const char* what;
        const char* answer;
        std::vector<std::string> sent;
        bool text;
    } cases[] = {
        {"answer 2", "endanswer 2 100 600 800 1",
         {"2147483640 in=0 out=16", "2147483639 in=N out=0 first=QVBITMAP-A2 ", "2147483638 in=N out=0 first=QVBITMAP-SEC"},
         true},
        {"answer 3", "endanswer 3 100 600 800 1",
         {"2147483640 in=0 out=16", "2147483639 in=N out=0 first=QVBITMAP-A3 ", "2147483638 in=N out=0 first=QVBITMAP-SEC"},
         true},
        {"answer 5", "endanswer 5 100 600 800 1", {"2147483640 in=0 out=16", "2147483638 in=N out=0 first=QVBITMAP-SEC"}, false},
        {"no fourth value", "endanswer 2 100 600 800 0",
         {"2147483640 in=0 out=16", "2147483638 in=N out=0 first=QVBITMAP-SEC"}, false},
        {"answer 0", "endanswer 0 100 600 800 1", {"2147483640 in=0 out=16"}, false},
    };
    for (const auto& c : cases) {
        renderer_.Script(std::string("supports 2147483640 2147483639 2147483638\n") + c.answer);
        Page page;
        EXPECT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDDOC), 0x7FFFFFF8) << c.what;
        // A resource's size is the resource compiler's; its first bytes tell which it is.
        std::vector<std::string> sent = renderer_.Escapes();
        for (std::string& line : sent)
            line = std::regex_replace(line, std::regex("^(214748363[89]) in=[0-9]+"), "$1 in=N");
        EXPECT_EQ(sent, c.sent) << c.what;
        EXPECT_EQ(page.Marked() > 0, c.text) << c.what;
    }
    renderer_.Script("supports 2147483640 2147483639\nendanswer 2 100 600 800 1");
    Page page;
    EXPECT_EQ(library_.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDDOC), 0x7FFFFFF8);
    EXPECT_TRUE(renderer_.Escapes().empty()) << "all three escapes or none";
}

TEST_F(PageEventsTest, EndOfDocumentWithoutTheDialogLibraryAnswersTheLoadError)
{
    doctest::DocEventLibrary alone(&renderer_, false);
    ASSERT_TRUE(alone.Ready());
    renderer_.Script("supports 2147483640 2147483639 2147483638\nendanswer 2 100 600 800 1");
    Page page;
    EXPECT_EQ(alone.Event(printer_, page.Dc(), DOCUMENTEVENT_ENDDOC), ERROR_MOD_NOT_FOUND);
    EXPECT_TRUE(renderer_.Escapes().empty());
}

}  // namespace
