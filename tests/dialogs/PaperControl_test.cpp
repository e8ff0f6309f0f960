// QelPaper, the page-layout preview: its messages, its layout and orientation choices, and
// what it survives. Pictures are read back through WM_PRINTCLIENT; the checks look at where
// things are drawn, not at pixel formulas.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "DialogTestUtil.h"
#include "WatermarkRecord.h"
#include "controls/Controls.h"

namespace {

using dialogtest::Capture;
using dialogtest::Picture;
using dialogtest::Rgb;
namespace paper = controls::paper;

constexpr std::uint32_t kRed = Rgb(255, 0, 0);
constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kTextGrey = Rgb(122, 122, 122);

class PaperControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialogtest::LanguageLibrary());
        frame_ = CreateWindowExA(0, "Static", "", WS_CHILD, 10, 10, 220, 280, host_.Window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(paper::kFrameControl)), nullptr, nullptr);
        preview_ = host_.AddControl(controls::kPaperClass, 5107, 40, 40, 120, 160);
        ASSERT_TRUE(preview_);
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) { return SendMessageA(preview_, message, wParam, lParam); }

    RECT Place() const
    {
        RECT r{};
        GetWindowRect(preview_, &r);
        MapWindowPoints(nullptr, host_.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    dialogtest::Host host_;
    HWND frame_ = nullptr;
    HWND preview_ = nullptr;
};

WatermarkRecord Watermark(const char* text, int escapement, COLORREF colour, int intensity)
{
    WatermarkRecord r{};
    r.size = kWatermarkRecordSize;
    r.number = 1;
    std::strcpy(r.name, "Test");
    std::strcpy(r.text, text);
    r.font.lfHeight = 1440;
    r.font.lfEscapement = escapement;
    r.font.lfWeight = FW_BOLD;
    std::strcpy(r.font.lfFaceName, "Arial");
    r.colour = colour;
    r.intensity = WORD(intensity);
    return r;
}

TEST_F(PaperControl, EveryPrivateMessageAnswersZero)
{
    const WatermarkRecord w = Watermark("DRAFT", 0, 0, 50);
    for (UINT m = paper::kLayout; m <= paper::kAlternate; ++m)
        EXPECT_EQ(Send(m, 1, reinterpret_cast<LPARAM>(&w)), 0) << m;
}

// Two pages per sheet lie one above the other in portrait and side by side in landscape: their
// numbers show where the cells are.
TEST_F(PaperControl, OrientationTurnsTheLayout)
{
    Send(paper::kLayout, 1);
    Send(paper::kOrientation, 1);
    Picture p = Capture(preview_);
    EXPECT_GT(p.CountIn(kRed, 0, 0, p.width, p.height / 2), 0) << "page 1 above";
    EXPECT_GT(p.CountIn(kRed, 0, p.height / 2, p.width, p.height), 0) << "page 2 below";
    EXPECT_EQ(p.CountIn(kRed, 0, 0, p.width / 4, p.height), 0) << "both in the middle column";

    Send(paper::kOrientation, 2);
    p = Capture(preview_);
    EXPECT_GT(p.CountIn(kRed, 0, 0, p.width / 2, p.height), 0) << "page 1 left";
    EXPECT_GT(p.CountIn(kRed, p.width / 2, 0, p.width, p.height), 0) << "page 2 right";
    EXPECT_EQ(p.CountIn(kRed, 0, 0, p.width, p.height / 4), 0) << "both in the middle row";
}

TEST_F(PaperControl, OneCellDrawsNoPageNumbers)
{
    Send(paper::kOrientation, 1);
    Send(paper::kLayout, 0);
    EXPECT_EQ(Capture(preview_).Count(kRed), 0);
    Send(paper::kLayout, 3);
    EXPECT_GT(Capture(preview_).Count(kRed), 0);
}

TEST_F(PaperControl, LayoutIndexesPastTheTableDrawTheLastLayout)
{
    Send(paper::kOrientation, 1);
    Send(paper::kLayout, 7);
    const Picture sixteen = Capture(preview_);
    for (WPARAM index : {8, 200, 0xFFFF}) {
        Send(paper::kLayout, index);
        EXPECT_EQ(Capture(preview_), sixteen) << index;
    }
}

TEST_F(PaperControl, BordersDrawTheGrid)
{
    Send(paper::kOrientation, 1);
    Send(paper::kLayout, 3);  // 2 x 2
    const Picture plain = Capture(preview_);
    Send(paper::kBorders, 1);
    const Picture framed = Capture(preview_);
    EXPECT_GT(framed.Count(kBlack), plain.Count(kBlack));
    // The grid's middle lines run through the centre of the sheet.
    const int midY = 6 + (framed.height - 12) / 2;
    EXPECT_GT(framed.CountIn(kBlack, 8, midY, framed.width - 2, midY + 1), framed.width / 2);
}

TEST_F(PaperControl, SmallCellsShowNoSimulatedText)
{
    Send(paper::kOrientation, 1);
    Send(paper::kLayout, 0);
    EXPECT_GT(Capture(preview_).Count(kTextGrey), 0);
    MoveWindow(preview_, 40, 40, 40, 46, FALSE);  // 16 cells of at most 8 pixels
    Send(paper::kLayout, 7);
    EXPECT_EQ(Capture(preview_).Count(kTextGrey), 0);
    Send(paper::kLayout, 0);
    EXPECT_GT(Capture(preview_).Count(kTextGrey), 0);
}

TEST_F(PaperControl, EnvelopeCellsAreDrawnTheirOwnWay)
{
    Send(paper::kOrientation, 2);
    Send(paper::kLayout, 0);
    const Picture text = Capture(preview_);
    Send(paper::kEnvelope, 1);
    const Picture envelope = Capture(preview_);
    EXPECT_GT(envelope.Count(kTextGrey), 0);
    EXPECT_LT(envelope.Count(kTextGrey), text.Count(kTextGrey));
}

TEST_F(PaperControl, APaperOfNoHeightKeepsThePreviewsPlace)
{
    const RECT before = Place();
    Send(paper::kPaperWidth, 0, 2159);
    Send(paper::kPaperHeight, 0, 0);
    SendMessageA(preview_, WM_SIZE, 0, 0);
    const RECT kept = Place();
    EXPECT_TRUE(EqualRect(&before, &kept));

    Send(paper::kPaperHeight, 0, 2794);
    SendMessageA(preview_, WM_SIZE, 0, 0);
    const RECT fitted = Place();
    EXPECT_FALSE(EqualRect(&before, &fitted));
    EXPECT_GE(fitted.left + 6, 10 + 20);
    EXPECT_LE(fitted.right, 10 + 220 - 20);
    EXPECT_LE(fitted.bottom, 10 + 280 - 20);
    const double shape = double(fitted.right - fitted.left - 6) / (fitted.bottom - fitted.top - 6);
    EXPECT_NEAR(shape, 2159.0 / 2794.0, 0.02);
}

// Watermark records: black stays black; every angle, the reversed page and a paper of no height
// are drawn without harm.
TEST_F(PaperControl, WatermarksAtEveryAngleAndPaper)
{
    Send(paper::kOrientation, 1);
    Send(paper::kLayout, 0);
    Send(paper::kPaperWidth, 0, 2159);
    Send(paper::kPaperHeight, 0, 2794);
    const Picture empty = Capture(preview_);
    WatermarkRecord black = Watermark("DRAFT", 0, RGB(0, 0, 0), 30);
    Send(paper::kFirstWatermark, 0, reinterpret_cast<LPARAM>(&black));
    const Picture marked = Capture(preview_);
    EXPECT_GT(marked.CountIn(kBlack, 12, 12, marked.width - 8, marked.height - 12),
              empty.CountIn(kBlack, 12, 12, empty.width - 8, empty.height - 12));

    WatermarkRecord red = Watermark("DRAFT", 0, RGB(255, 0, 0), 30);
    Send(paper::kFirstWatermark, 0, reinterpret_cast<LPARAM>(&red));
    EXPECT_GT(Capture(preview_).Count(Rgb(255, 76, 76)), 0) << "red lifted by the intensity";

    WatermarkRecord none = Watermark("DRAFT", 0, RGB(0, 0, 0), 30);
    none.number = 0;
    Send(paper::kFirstWatermark, 0, reinterpret_cast<LPARAM>(&none));
    EXPECT_EQ(Capture(preview_), empty) << "watermark number 0 is not drawn";

    for (int escapement : {0, 450, 900, 1800, 2700, 3150})
        for (WPARAM reversed : {0, 1})
            for (LPARAM height : {2794, 0}) {
                WatermarkRecord w = Watermark("DRAFT", escapement, RGB(0, 0, 255), 50);
                Send(paper::kFirstWatermark, 0, reinterpret_cast<LPARAM>(&w));
                Send(paper::kOtherWatermark, 0, reinterpret_cast<LPARAM>(&w));
                Send(paper::kReversed, reversed);
                Send(paper::kPaperHeight, 0, height);
                Send(paper::kLayout, 3);
                const Picture p = Capture(preview_);
                EXPECT_EQ(p.width, 120) << escapement;
            }
}

}  // namespace
