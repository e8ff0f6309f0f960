// The dialog library's platform-neutral parts: its maps, the language library's path, the text
// formatting and fitting, and the previews' geometry.
#include <gtest/gtest.h>

#include <string>

#include "CodePages.h"
#include "TextFit.h"
#include "TextFormat.h"
#include "XlatedMaps.h"
#include "controls/PaperPreview.h"

namespace {

TEST(XlatedMaps, LogicalNumbersFollowTheTables)
{
    struct Case {
        std::uint32_t logical;
        std::uint16_t string;
    };
    const Case strings[] = {
        {1, 6007},    {12, 6020},   {13, 6081},  {23, 6006},  {1000, 6104}, {1005, 6109},
        {1024, 6766},  // between 1005 and 1006 in the table
        {1006, 6110}, {1014, 6120}, {1015, 6118}, {3000, 6780}, {3001, 6781}, {3002, 6782},
        {3003, 6628}, {3004, 6629}, {0, 0},      {999, 0},    {24, 0},      {2999, 0},
        {3005, 0},    {0x10000 + 1000, 0},  // compared with the whole number, not its low half
    };
    for (const Case& c : strings)
        EXPECT_EQ(xlated::StringIdOf(c.logical), c.string) << c.logical;

    EXPECT_EQ(xlated::ResourceIdOf(10000), 6601);
    EXPECT_EQ(xlated::ResourceIdOf(10002), 6603);
    EXPECT_EQ(xlated::ResourceIdOf(10003), 0);
    EXPECT_EQ(xlated::ResourceIdOf(6601), 0);
}

TEST(XlatedMaps, TrayIdsEndAfterFifteenTrays)
{
    const std::uint16_t expected[] = {6090, 6091, 6092, 6094, 6095, 6093, 6097, 6096,
                                      6098, 6099, 6100, 6101, 6102, 6103, 6257};
    for (std::uint32_t i = 0; i < 15; ++i)
        EXPECT_EQ(xlated::TrayStringId(i), expected[i]) << i;
    for (std::uint32_t past : {15u, 16u, 255u, 65535u})
        EXPECT_EQ(xlated::TrayStringId(past), 0) << past;
}

TEST(XlatedMaps, LanguageLibraryIsLookedForBesideTheModule)
{
    const std::u16string dir115(115, u'd');  // with "\\QVTDX5DL.DLL" exactly the limit
    struct Case {
        std::u16string module;
        std::optional<std::u16string> expected;
    };
    const Case cases[] = {
        {u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\QVTDX5DU.DLL",
         u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\QVTDX5DL.DLL"},
        {u"C:QVTDX5DU.DLL", u"C:QVTDX5DL.DLL"},
        {u"\\\\server\\print$\\QVTDX5DU.DLL", u"\\\\server\\print$\\QVTDX5DL.DLL"},
        {u"QVTDX5DU.DLL", u"QVTDX5DL.DLL"},
        {u"", std::nullopt},
        {dir115 + u"\\QVTDX5DU.DLL", dir115 + u"\\QVTDX5DL.DLL"},
        {dir115 + u"d\\QVTDX5DU.DLL", std::nullopt},  // a longer own path is a cut one
        {dir115 + u"d\\DU.DLL", std::nullopt},        // the result would pass the limit
    };
    for (const Case& c : cases)
        EXPECT_EQ(xlated::LanguageLibraryPath(c.module), c.expected) << c.module.size();
}

// Formats come from a replaceable file: exactly one "%s" is filled and nothing else is read.
TEST(TextFormat, OnlyTheFirstTextConversionIsFilled)
{
    struct Case {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"Delete \"%s\"?", "Delete \"Office\"?"},
        {"%s", "Office"},
        {"%s and %s", "Office and %s"},
        {"100%% of %s", "100% of Office"},
        {"%d %x %n %08X %s", "%d %x %n %08X Office"},
        {"%%s is %s", "%s is Office"},
        {"no conversion, 100%%", "no conversion, 100%%"},  // used as it stands
        {"%d %n", "%d %n"},
        {"ends with %", "ends with %"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::FormatOne<char>(c.format, "Office", 256), c.expected) << c.format;
    EXPECT_EQ(text::FormatOne<wchar_t>(L"Lösche \u201E%s\u201C?", L"Büro", 256), L"Lösche \u201EBüro\u201C?");
}

TEST(TextFormat, ResultsAreBoundedLikeTheirBuffers)
{
    EXPECT_EQ(text::FormatOne<char>("Delete %s now", "Office", 10), "Delete Of");
    EXPECT_EQ(text::FormatOne<char>("Delete %s now", "Office", 8), "Delete ");
    EXPECT_EQ(text::FormatOne<char>("no conversion", "x", 4), "no ");
    EXPECT_EQ(text::FormatOne<char>("%s", "Office", 1), "");
    EXPECT_EQ(text::FormatOne<char>("%s", "Office", 0), "");

    char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(text::CopyBounded<char>("Letter", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "Lett");
    EXPECT_EQ(text::CopyBounded<char>("Letter", buffer, 0), 0u);
    EXPECT_EQ(text::CopyBounded<char>("Letter", nullptr, 5), 0u);
}

TEST(TextFormat, MessagesQuoteLabelsWithoutAnyAmpersand)
{
    EXPECT_EQ(text::WithoutMnemonics<char>("&Copies:"), "Copies:");
    EXPECT_EQ(text::WithoutMnemonics<char>("Print && &Fax:"), "Print  Fax:");
    EXPECT_EQ(text::WithoutMnemonics<wchar_t>(L"S&heets per set:"), L"Sheets per set:");
}

// One pixel per character stands in for a font.
int Chars(std::wstring_view s)
{
    return int(s.size());
}

TEST(CodePages, OnlyTheEastAsianDoubleBytePagesCount)
{
    for (std::uint32_t page : {932u, 936u, 949u, 950u})
        EXPECT_EQ(text::DoubleByteCodePage(page), page);
    for (std::uint32_t page : {0u, 437u, 1252u, 1361u, 54936u, 65001u})
        EXPECT_EQ(text::DoubleByteCodePage(page), 0u) << page;
}

TEST(TextFit, LongTextsEndInThreeDots)
{
    struct Case {
        const wchar_t* text;
        int width;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Letter", 6, L"Letter"},
        {L"Letter", 10, L"Letter"},
        {L"Envelope Monarch", 10, L"Envelop..."},
        {L"Envelope Monarch", 3, L"..."},
        {L"Envelope Monarch", 0, L"..."},
        {L"", 0, L""},
        {L"ab\U0001D11Ecd", 5, L"ab..."},  // a surrogate pair comes off whole
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::FitWithEllipsis(c.text, c.width, Chars), c.expected) << c.text << " in " << c.width;
}

TEST(PaperPreview, LayoutsGiveTheirGridTurnedForLandscape)
{
    struct Case {
        int index;
        bool portrait;
        int columns, rows;
    };
    const Case cases[] = {
        {0, true, 1, 1},  {1, true, 1, 2},  {1, false, 2, 1}, {4, true, 2, 3}, {4, false, 3, 2},
        {6, true, 3, 4},  {7, true, 4, 4},  {8, true, 4, 4},  // past the table: its last layout
        {255, false, 4, 4}, {-1, true, 1, 1},
    };
    for (const Case& c : cases) {
        const preview::Grid g = preview::LayoutGrid(c.index, c.portrait);
        EXPECT_EQ(g.columns, c.columns) << c.index << (c.portrait ? " portrait" : " landscape");
        EXPECT_EQ(g.rows, c.rows) << c.index << (c.portrait ? " portrait" : " landscape");
    }
}

TEST(PaperPreview, FitsThePaperShapeInsideItsFrame)
{
    const preview::Rect frame{10, 20, 10 + 140, 20 + 200};
    EXPECT_FALSE(preview::FitPaperPreview(frame, 2159, 0)) << "a paper height of 0 keeps the place";
    EXPECT_FALSE(preview::FitPaperPreview(frame, 0, 2794));
    EXPECT_FALSE(preview::FitPaperPreview(frame, -5, 2794));
    EXPECT_FALSE(preview::FitPaperPreview({0, 0, 40, 40}, 2159, 2794)) << "no room inside the margins";

    for (const auto& [w, h] : {std::pair{2159, 2794}, std::pair{2794, 2159}, std::pair{1000, 1000},
                               std::pair{1000, 4000}, std::pair{4000, 1000}}) {
        const auto place = preview::FitPaperPreview(frame, w, h);
        ASSERT_TRUE(place) << w << "x" << h;
        // The paper lies 6 pixels in from the control's top-left corner, inside the frame's margins.
        const preview::Rect paper{place->left + 6, place->top + 6, place->right, place->bottom};
        EXPECT_GE(paper.left, frame.left + 20) << w << "x" << h;
        EXPECT_GE(paper.top, frame.top + 20) << w << "x" << h;
        EXPECT_LE(paper.right, frame.right - 20) << w << "x" << h;
        EXPECT_LE(paper.bottom, frame.bottom - 20) << w << "x" << h;
        // The paper's shape, to a pixel.
        EXPECT_LE(std::abs(paper.Width() * h - paper.Height() * w), std::max(w, h)) << w << "x" << h;
        const bool fillsWidth = paper.Width() == frame.Width() - 40;
        const bool fillsHeight = paper.Height() == frame.Height() - 40;
        EXPECT_TRUE(fillsWidth || fillsHeight) << w << "x" << h;
    }

    const auto text = preview::FitTextPreview(frame, 2794, 2159);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Width(), frame.Width() - 10);
    EXPECT_EQ((text->left - frame.left) * 2, frame.Width() - text->Width()) << "centred";
    EXPECT_FALSE(preview::FitTextPreview(frame, 2794, 0));
}

TEST(PaperPreview, CellMetricsStayInTheirRanges)
{
    const preview::CellMetrics tiny = preview::MetricsOf(10, 10, true);
    EXPECT_EQ(tiny.margin, 3);
    EXPECT_EQ(tiny.indent, 5);
    EXPECT_EQ(tiny.pitch, 2);
    const preview::CellMetrics large = preview::MetricsOf(400, 300, true);
    EXPECT_EQ(large.margin, 10);
    EXPECT_EQ(large.indent, 15);
    EXPECT_EQ(large.pitch, 4);
    EXPECT_EQ(preview::MetricsOf(39, 400, false).pitch, 4) << "landscape lines follow the cell height";
    EXPECT_EQ(preview::MetricsOf(39, 400, true).pitch, 3);

    EXPECT_FALSE(preview::ShowsSimulatedText(8, 100));
    EXPECT_FALSE(preview::ShowsSimulatedText(100, 8));
    EXPECT_TRUE(preview::ShowsSimulatedText(9, 9));
}

TEST(PaperPreview, WatermarkAnglesFollowOrientationAndReversal)
{
    struct Case {
        int escapement;
        bool portrait, reversed;
        int angle;
    };
    const Case fixed[] = {
        {0, true, false, 0},      {0, false, false, 900},   {0, true, true, 1800},  {0, false, true, 2700},
        {900, true, false, 900},  {900, false, false, 1800}, {900, true, true, 2700}, {900, false, true, 0},
    };
    for (const Case& c : fixed)
        EXPECT_EQ(preview::WatermarkAngle(c.escapement, c.portrait, c.reversed, 40, 60), c.angle)
            << c.escapement << " " << c.portrait << " " << c.reversed;

    // A free angle: the record's own in portrait, half a turn more reversed; the cell's diagonal
    // turned a quarter in landscape, whatever the record says.
    EXPECT_NEAR(preview::WatermarkAngle(450, true, false, 40, 60), 450, 1);
    EXPECT_NEAR(preview::WatermarkAngle(450, true, true, 40, 60), 2250, 2);
    EXPECT_NEAR(preview::WatermarkAngle(1800, true, false, 40, 60), 1800, 2);
    EXPECT_EQ(preview::WatermarkAngle(450, false, false, 40, 60), preview::WatermarkAngle(300, false, false, 60, 40));
    EXPECT_NEAR(preview::WatermarkAngle(450, false, false, 40, 40), 450 + 900, 2);
}

TEST(PaperPreview, FontHeightsSurviveAPaperOfNoHeight)
{
    EXPECT_EQ(preview::PaperPreviewFontHeight(1440, 100, 96, 0), -3);
    EXPECT_EQ(preview::PaperPreviewFontHeight(1440, 100, 96, -20), -3);
    EXPECT_EQ(preview::PaperPreviewFontHeight(1440, 100, 96, 110), -(1440 * 100 * 96 / (110 * 144)));
    EXPECT_EQ(preview::PaperPreviewFontHeight(-1440, 100, 96, 110), preview::PaperPreviewFontHeight(1440, 100, 96, 110));
    EXPECT_EQ(preview::PaperPreviewFontHeight(20, 10, 96, 110), -3) << "never below 3 pixels";

    EXPECT_EQ(preview::TextPreviewFontHeight(-72, 96, 200, 0), -3);
    EXPECT_EQ(preview::TextPreviewFontHeight(-72, 96, 528, 1056), -48);
    EXPECT_EQ(preview::TextPreviewFontHeight(-1, 96, 100, 1056), -3);
}

TEST(PaperPreview, BlackIsBlackOnThePageAndGreyAsText)
{
    EXPECT_EQ(preview::PaperPreviewColour(0x000000, 30), 0x000000u);
    EXPECT_EQ(preview::TextPreviewColour(0x000000, 30), 0x4C4C4Cu) << "grey 76";
    EXPECT_EQ(preview::PaperPreviewColour(0x0000FF, 30), 0x4C4CFFu) << "red lifted by the intensity";
    EXPECT_EQ(preview::TextPreviewColour(0x0000FF, 30), 0x4C4CFFu);
    EXPECT_EQ(preview::PaperPreviewColour(0x00FF00, 100), 0xFFFFFFu);
    EXPECT_EQ(preview::PaperPreviewColour(0xFF00FF, 250), 0xFFFFFFu) << "intensity past 100 stays white";
    EXPECT_EQ(preview::TextPreviewColour(0x000000, -5), 0u);
}

TEST(PaperPreview, CellsFillInThePageOrder)
{
    EXPECT_EQ(preview::CellOrder({2, 2}, 0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(preview::CellOrder({2, 2}, 1), (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(preview::CellOrder({3, 2}, 1), (std::vector<int>{0, 3, 1, 4, 2, 5}));
    EXPECT_EQ(preview::CellOrder({2, 2}, 7), (std::vector<int>{0, 1, 2, 3})) << "an unknown order counts as 0";
}

TEST(PaperPreview, DiagonalOfThePaper)
{
    EXPECT_NEAR(preview::DiagonalAngle(100, 100), 450, 1);
    EXPECT_NEAR(preview::DiagonalAngle(2159, 2794), 523, 2);
    EXPECT_EQ(preview::DiagonalAngle(0, 100), 450);
}

}  // namespace
