// The Fonts page on the real document sheet: the handling choice against its availability bytes,
// the on/off settings and the option bytes, the font-set mask through its boxes (all eight) and
// its list, and a user without permission.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
namespace fs = feature::font_source;
using pagetest::Sheet;

class FontPageTest : public pagetest::SheetTest {};

constexpr std::array<int, 8> kBoxes = {IDC_FONT_SOURCE_0, IDC_FONT_SOURCE_1, IDC_FONT_SOURCE_2, IDC_FONT_SOURCE_3,
                                       IDC_FONT_SOURCE_4, IDC_FONT_SOURCE_5, IDC_FONT_SOURCE_6, IDC_FONT_SOURCE_7};

HWND Reopen(Sheet& s)
{
    s.Page(IDD_ABOUT);
    return s.Page(IDD_FONTS);
}

std::uint32_t Mask(Sheet& s)
{
    return s.Entry(f::kFontSources.id).Get<std::uint32_t>(fs::kMask);
}

// Selects exactly the list items of these bit numbers, as a user's clicks would, and reports it.
void SelectSets(HWND page, std::initializer_list<int> bits)
{
    const HWND list = GetDlgItem(page, IDC_FONT_SOURCE_LIST);
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const int bit = int(SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0) >> 16) & 0x1F;
        const bool on = std::find(bits.begin(), bits.end(), bit) != bits.end();
        SendMessageW(list, LB_SETSEL, on, i);
    }
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_FONT_SOURCE_LIST, LBN_SELCHANGE), LPARAM(list));
}

TEST_F(FontPageTest, TheHandlingChoiceFollowsItsAvailability)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_FONTS));
        pages::EntryView e = s.Entry(f::kFontHandling.id);
        struct Case {
            std::int16_t stored;
            std::uint8_t available1, available2, available4;
            std::int16_t shown;
        };
        const Case cases[] = {{1, 0, 1, 1, 2}, {1, 0, 0, 1, 4}, {2, 1, 0, 0, 2}, {4, 1, 1, 0, 2}, {1, 1, 1, 1, 1}};
        for (const Case& c : cases) {
            e.SetCurrent(c.stored);
            e.Set<std::uint8_t>(f::truetype::kChoice1, c.available1);
            e.Set<std::uint8_t>(f::truetype::kChoice2, c.available2);
            e.Set<std::uint8_t>(f::truetype::kChoice4, c.available4);
            const HWND page = Reopen(s);
            EXPECT_EQ(e.Current(), c.shown) << "stored " << c.stored;
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_FONT_HANDLING_BITMAP), c.shown == 2) << "stored " << c.stored;
            EXPECT_EQ(s.Enabled(page, IDC_FONT_HANDLING_GRAPHICS), c.available1 != 0);
            EXPECT_EQ(s.Enabled(page, IDC_FONT_HANDLING_BITMAP), c.available2 != 0);
            EXPECT_EQ(s.Enabled(page, IDC_FONT_HANDLING_OUTLINE), c.available4 != 0);
        }
        const HWND page = s.Page(IDD_FONTS);
        s.Click(page, IDC_FONT_HANDLING_OUTLINE);
        EXPECT_EQ(e.Current(), 4);
        EXPECT_EQ(e.Get<std::uint8_t>(f::truetype::kMarker), 0);
        s.Click(page, IDC_FONT_HANDLING_GRAPHICS);
        EXPECT_EQ(e.Current(), 1);
        EXPECT_EQ(e.Get<std::uint8_t>(f::truetype::kMarker), 1);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmTTOption), 1);
}

TEST_F(FontPageTest, TheSettingsAndTheOptionBytes)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        HWND page = s.Page(IDD_FONTS);
        ASSERT_TRUE(page);
        EXPECT_FALSE(s.Visible(page, IDC_F3)) << "a single-byte code page";
        const bool f1 = s.Entry(f::kF1.id).Current() != 0;
        s.Click(page, IDC_F1);
        EXPECT_EQ(s.Entry(f::kF1.id).Current() != 0, !f1);
        s.Context().devmodeCopies[1] |= 0x0400;  // option byte B, bit 0x04
        page = Reopen(s);
        for (int id : {IDC_F1, IDC_F2, IDC_F3})
            EXPECT_FALSE(s.Enabled(page, id)) << id;
        EXPECT_TRUE(s.Enabled(page, IDC_FONT_HANDLING_GRAPHICS));
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(FontPageTest, ListItemsOfBitsZeroAndThreeGiveTheMaskNine)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_FONTS));
        ASSERT_EQ(s.Context().fontSetMasks[0] & 0x0F, 0x0Fu) << "the model offers sets 0 to 3";
        s.Entry(f::kFontSources.id).Set<std::uint32_t>(fs::kMask, 0x00000002);
        HWND page = Reopen(s);
        EXPECT_TRUE(IsDlgButtonChecked(page, IDC_FONT_SOURCE_1));
        SelectSets(page, {0, 3});
        EXPECT_EQ(Mask(s), 9u);
        for (int bit = 0; bit < 4; ++bit)
            EXPECT_EQ(IsDlgButtonChecked(page, kBoxes[std::size_t(bit)]) == BST_CHECKED, bit == 0 || bit == 3) << bit;
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_FONT_SOURCE_LIST, LB_GETTOPINDEX, 0, 0), 0);
        // A set the list does not show keeps its bit.
        s.Entry(f::kFontSources.id).Set<std::uint32_t>(fs::kMask, 0x80000009);
        page = Reopen(s);
        SelectSets(page, {1});
        EXPECT_EQ(Mask(s), 0x80000002u);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::kFontSetMask1), 0x80000002u);
}

// Boxes 5185 and 5186 set bits 5 and 6 as the other boxes set theirs, and show them again from
// the devmode the sheet gave back.
TEST_F(FontPageTest, EveryBoxOfAnOfferedSetRoundTrips)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDocumentSheet(printer, [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_FONTS));
        s.Context().fontSetMasks[0] |= 0xFF;
        s.Entry(f::kFontSources.id).Set<std::uint32_t>(fs::kMask, 0);
        const HWND page = Reopen(s);
        for (std::size_t bit = 0; bit < kBoxes.size(); ++bit) {
            EXPECT_TRUE(s.Enabled(page, kBoxes[bit])) << bit;
            s.Click(page, kBoxes[bit]);
            EXPECT_EQ(Mask(s), (2u << bit) - 1) << "box " << kBoxes[bit];
        }
        s.Click(page, IDC_FONT_SOURCE_1);
        EXPECT_EQ(Mask(s), 0xFDu);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    const pagetest::Bytes out = Out();
    ASSERT_EQ(devmode::Get(out, devmode::kFontSetMask1) & 0xFF, 0xFDu);
    OpenDocumentSheet(
        printer,
        [](Sheet& s) {
            ASSERT_EQ(Mask(s) & 0xFF, 0xFDu);
            s.Context().fontSetMasks[0] |= 0xFF;
            const HWND page = Reopen(s);
            for (std::size_t bit = 0; bit < kBoxes.size(); ++bit)
                EXPECT_EQ(IsDlgButtonChecked(page, kBoxes[bit]) == BST_CHECKED, bit != 1) << "box " << kBoxes[bit];
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_IN_BUFFER, &out);
    EXPECT_TRUE(ScriptRan());
}

TEST_F(FontPageTest, ABoxOfASetThePrinterDoesNotOfferIsGreyed)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_FONTS));
        s.Context().fontSetMasks[0] = 0x00000001;
        s.Entry(f::kFontSources.id).Set<std::uint32_t>(fs::kMask, 0x21);
        const HWND page = Reopen(s);
        EXPECT_TRUE(s.Enabled(page, IDC_FONT_SOURCE_0));
        EXPECT_TRUE(IsDlgButtonChecked(page, IDC_FONT_SOURCE_0));
        EXPECT_FALSE(s.Enabled(page, IDC_FONT_SOURCE_5));
        EXPECT_FALSE(IsDlgButtonChecked(page, IDC_FONT_SOURCE_5)) << "only an offered set shows its bit";
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_FONT_SOURCE_LIST, LB_GETCOUNT, 0, 0), 1);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(FontPageTest, WithoutPermissionNothingOnThePageChanges)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_FONTS);
            ASSERT_TRUE(page);
            for (int id : {IDC_FONT_HANDLING_GRAPHICS, IDC_FONT_HANDLING_BITMAP, IDC_FONT_HANDLING_OUTLINE, IDC_F1,
                           IDC_F2, IDC_FONT_SOURCE_LIST, IDC_DEFAULTS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            for (int id : kBoxes)
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
