// The Paper page on the real document sheet: the source list and its fall-back, paper types per
// source, selection by type, the output size and its picture, a stored value no list offers,
// greying without permission, and the paper picture of a second sheet in the same process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
namespace ps = feature::paper_source;
namespace pt = feature::paper_type;
using pagetest::Sheet;

std::vector<LPARAM> ItemData(HWND page, int id)
{
    std::vector<LPARAM> data;
    const HWND combo = GetDlgItem(page, id);
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i)
        data.push_back(SendMessageW(combo, CB_GETITEMDATA, WPARAM(i), 0));
    return data;
}

LPARAM SelectedData(HWND page, int id)
{
    const LRESULT i = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
    return i < 0 ? LPARAM(-2) : SendDlgItemMessageW(page, id, CB_GETITEMDATA, WPARAM(i), 0);
}

struct Tray {
    std::uint16_t mask, code, number;
};

// The source entry's tray records, ended by a zero mask.
void SetTrays(pages::EntryView source, const std::vector<Tray>& trays)
{
    std::size_t i = 0;
    for (const Tray& t : trays) {
        const std::size_t at = ps::kTrays + i++ * ps::kTraySize;
        source.Set<std::uint16_t>(at + ps::kTrayMask, t.mask);
        source.Set<std::uint16_t>(at + ps::kTrayCode, t.code);
        source.Set<std::uint16_t>(at + ps::kTrayNumber, t.number);
    }
    source.Set<std::uint16_t>(ps::kTrays + i * ps::kTraySize + ps::kTrayMask, 0);
}

// The paper-type group of a source; its offset in the entry.
std::size_t GroupOf(const pages::EntryView& types, std::uint16_t source)
{
    for (std::size_t g = 0; g < pt::kGroupCount; ++g) {
        const std::size_t at = pt::kGroups + g * pt::kGroupSize;
        if (types.Get<std::uint16_t>(at + pt::kSource) == source)
            return at;
    }
    return 0;
}

int Drawn(const pagetest::Painting& p, const RECT& r)
{
    return (r.right - r.left) * (r.bottom - r.top) - p.CountIn(r, 0);
}

class PaperPageTest : public pagetest::SheetTest {};

TEST_F(PaperPageTest, TheSourceListOffersInstalledTraysAndFallsBackToTheAutomaticOne)
{
    struct Case {
        const char* what;
        std::vector<Tray> trays;
        int installed, current;
        std::vector<LPARAM> listed;
        int stored;
    };
    const Case cases[] = {
        {"1 and 7 listed, 4 stored", {{1, 1, 0}, {2, 7, 7}}, 3, 4, {1, 7}, 7},
        {"7 listed first", {{1, 7, 7}, {2, 1, 0}}, 3, 4, {7, 1}, 7},
        {"without 7 the first", {{1, 2, 1}, {2, 1, 0}}, 3, 4, {2, 1}, 2},
        {"a listed value stays", {{1, 1, 0}, {2, 7, 7}}, 3, 1, {1, 7}, 1},
        {"nothing installed", {{1, 1, 0}, {2, 7, 7}}, 0, 4, {}, 4},
        {"an uninstalled tray is left out", {{1, 1, 0}, {2, 7, 7}}, 1, 4, {1}, 1},
    };
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_PAPER));
        for (const Case& c : cases) {
            SetTrays(s.Entry(f::kPaperSource.id), c.trays);
            s.Entry(f::kInstalledSources.id).SetCurrent(std::int16_t(c.installed));
            s.Entry(f::kPaperSource.id).SetCurrent(std::int16_t(c.current));
            const HWND page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
            EXPECT_EQ(ItemData(page, IDC_PAPER_SOURCE), c.listed) << c.what;
            EXPECT_EQ(s.Entry(f::kPaperSource.id).Current(), c.stored) << c.what;
            if (!c.listed.empty()) {
                EXPECT_EQ(SelectedData(page, IDC_PAPER_SOURCE), c.stored) << c.what;
            }
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, ASingleTypeIsNoChoiceAndAnUnlistedTypeTakesTheFirst)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        HWND page = s.Page(IDD_PAPER);
        ASSERT_TRUE(page);
        pages::EntryView types = s.Entry(f::kPaperTypes.id);
        const std::size_t group = GroupOf(types, std::uint16_t(s.Entry(f::kPaperSource.id).Current()));
        ASSERT_NE(group, 0u) << "the current source has a group";
        const std::uint16_t first = types.Get<std::uint16_t>(group + pt::kTypes);
        const std::uint16_t second = types.Get<std::uint16_t>(group + pt::kTypes + pt::kTypeSize);
        ASSERT_NE(second, f::kListEnd) << "the model gives the source several types";
        // A chosen type the list does not hold: the first is chosen.
        types.Set<std::uint16_t>(group + pt::kChosen, 0x7777);
        page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        EXPECT_EQ(types.Get<std::uint16_t>(group + pt::kChosen), first);
        EXPECT_TRUE(s.Enabled(page, IDC_PAPER_TYPE));
        EXPECT_EQ(SelectedData(page, IDC_PAPER_TYPE), first);

        types.Set<std::uint16_t>(group + pt::kTypes + pt::kTypeSize, f::kListEnd);
        page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        EXPECT_FALSE(s.Enabled(page, IDC_PAPER_TYPE));
        EXPECT_EQ(ItemData(page, IDC_PAPER_TYPE), std::vector<LPARAM>{-1});
        s.Choose(page, IDC_PAPER_TYPE, 0);
        EXPECT_EQ(types.Get<std::uint16_t>(group + pt::kChosen), first) << "choosing it is no change";
        EXPECT_FALSE(s.ApplyEnabled());
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, ChoosingSelectionByTypeTakesTheAutomaticSource)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_PAPER));
        s.Entry(f::kSelectBy.id).SetCurrent(0);
        s.Entry(f::kPaperSource.id).SetCurrent(DMBIN_UPPER);
        HWND page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        ASSERT_EQ(s.Entry(f::kPaperSource.id).Current(), DMBIN_UPPER);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_SELECT_BY_SOURCE), BST_CHECKED);
        s.Click(page, IDC_SELECT_BY_TYPE);
        EXPECT_EQ(s.Entry(f::kSelectBy.id).Current(), 1);
        EXPECT_EQ(s.Entry(f::kPaperSource.id).Current(), DMBIN_AUTO);
        EXPECT_EQ(SelectedData(page, IDC_PAPER_SOURCE), DMBIN_AUTO);
        EXPECT_TRUE(s.ApplyEnabled());
        // With one selector at a time, selection by type shows the type list alone.
        s.Entry(f::kPaperHandlingFlags.id).SetCurrent(std::int16_t(s.Entry(f::kPaperHandlingFlags.id).Current() | 0x08));
        page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        EXPECT_TRUE(s.Visible(page, IDC_PAPER_TYPE));
        EXPECT_FALSE(s.Visible(page, IDC_PAPER_SOURCE));
        s.Click(page, IDC_SELECT_BY_SOURCE);
        EXPECT_FALSE(s.Visible(page, IDC_PAPER_TYPE));
        EXPECT_TRUE(s.Visible(page, IDC_PAPER_SOURCE));
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, AnOutputSizeShowsTheSecondPicture)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [&](Sheet& s) {
        const HWND page = s.Page(IDD_PAPER);
        ASSERT_TRUE(page);
        const std::vector<LPARAM> sizes = ItemData(page, IDC_OUTPUT_SIZE);
        ASSERT_GE(sizes.size(), 2u);
        EXPECT_EQ(sizes[0], 0) << "the selected form's own size first";
        EXPECT_FALSE(s.Visible(page, IDC_OUTPUT_PICTURE_LABEL));
        const RECT output = pagetest::RectIn(page, IDC_OUTPUT_PICTURE);
        EXPECT_EQ(Drawn(pagetest::PaintingOf(page), output), 0);

        s.ChooseData(page, IDC_OUTPUT_SIZE, sizes[1]);
        EXPECT_EQ(s.Entry(f::kOutputSize.id).Current(), sizes[1]);
        EXPECT_TRUE(s.Visible(page, IDC_OUTPUT_PICTURE_LABEL));
        const pagetest::Painting scaled = pagetest::PaintingOf(page);
        EXPECT_GT(Drawn(scaled, output), 100);
        EXPECT_GT(Drawn(scaled, pagetest::RectIn(page, IDC_OUTPUT_ARROW)), 10);
        EXPECT_EQ(devmode::Get(s.Devmode(), devmode::kSecondPaperSize), sizes[1]);

        s.ChooseData(page, IDC_OUTPUT_SIZE, 0);
        EXPECT_FALSE(s.Visible(page, IDC_OUTPUT_PICTURE_LABEL));
        // An output size no list offers: the fall-back, here the selected form's size.
        s.Entry(f::kOutputSize.id).SetCurrent(0x7000);
        pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        EXPECT_EQ(s.Entry(f::kOutputSize.id).Current(), s.Entry(f::kOutputSize.id).Default());
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, TheUserSizeReachesTheDevmodeWithTheModelsLimits)
{
    OpenDocumentSheet(Printer(pagetest::kColour), [&](Sheet& s) {
        const HWND page = s.Page(IDD_PAPER);
        ASSERT_TRUE(page);
        ASSERT_TRUE(s.ChooseData(page, IDC_PAPER_SIZE, 256)) << "the model offers a user size";
        EXPECT_EQ(s.Entry(f::kPaperSize.id).Current(), 256);
        const pagetest::Bytes d = s.Devmode();
        EXPECT_EQ(devmode::Get(d, devmode::dmPaperSize), 256);
        // The model's largest user paper, 8.5 by 14 inches in 1/1200 inch, in tenths of a millimetre.
        EXPECT_EQ(devmode::Get(d, devmode::dmPaperLength), 16800 * 254 / 1200);
        EXPECT_EQ(devmode::Get(d, devmode::dmPaperWidth), 10200 * 254 / 1200);
        s.Ok();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(devmode::Get(Out(), devmode::dmPaperSize), 256);
}

TEST_F(PaperPageTest, AHandlingOptionWhoseDefaultIsNotOfferedEitherTakesTheFirst)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        ASSERT_TRUE(s.Page(IDD_PAPER));
        pages::EntryView option = s.Entry(f::kHandlingOption1.id);
        ASSERT_TRUE(option);
        ASSERT_TRUE(option.Constrained());
        const std::uint16_t first = option.Get<std::uint16_t>(f::list::kOptions);
        option.SetCurrent(0x5555);
        option.Set<std::int16_t>(f::kDefault, 0x5556);
        const HWND page = pagetest::Reactivate(s, IDD_PAPER, IDD_SETUP);
        EXPECT_EQ(std::uint16_t(option.Current()), first);
        EXPECT_EQ(SelectedData(page, IDC_HANDLING1), first);
        EXPECT_FALSE(option.Changed()) << "the refresh ran";
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, WithoutPermissionTheSettingsAreGreyed)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [&](Sheet& s) {
            const HWND page = s.Page(IDD_PAPER);
            ASSERT_TRUE(page);
            for (int id : {IDC_PAPER_TYPE_LABEL, IDC_PAPER_TYPE, IDC_PAPER_SIZE_LABEL, IDC_PAPER_SIZE,
                           IDC_OUTPUT_SIZE_LABEL, IDC_OUTPUT_SIZE, IDC_PAPER_SOURCE_LABEL, IDC_PAPER_SOURCE,
                           IDC_OUTPUT_BIN_LABEL, IDC_OUTPUT_BIN, IDC_SELECT_BY_TYPE, IDC_SELECT_BY_SOURCE, IDC_DEFAULTS,
                           IDC_SELECT_BY_GROUP, IDC_HANDLING1, IDC_HANDLING2, IDC_HANDLING3})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    ASSERT_TRUE(ScriptRan());
}

TEST_F(PaperPageTest, ASecondSheetInTheSameProcessPaintsThePaper)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    for (int sheet = 0; sheet < 2; ++sheet) {
        OpenDocumentSheet(printer, [&](Sheet& s) {
            const HWND page = s.Page(IDD_PAPER);
            ASSERT_TRUE(page);
            const pagetest::Painting p = pagetest::PaintingOf(page);
            const RECT paper = pagetest::RectIn(page, IDC_PAPER_PICTURE);
            EXPECT_GT(Drawn(p, paper), 500) << "sheet " << sheet;
            const RECT whole{0, 0, p.width, p.height};
            EXPECT_EQ(p.CountIn(whole, 0x00FF00), 0) << "no key-coloured pixel, sheet " << sheet;
            s.Cancel();
        });
        ASSERT_TRUE(ScriptRan());
    }
}

}  // namespace
