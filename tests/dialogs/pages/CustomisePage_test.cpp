// The customisation page of the device sheet: the printer's user sizes and associations as the
// stored lists hold them, New, Edit and Delete, the watermark dialogs and the toolkit calls.
// Every list operation is checked in the printer's stored values.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CallRecord.h"
#include "FeatureBindings.h"
#include "RecordList.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "StoredLists.h"
#include "TestSupport.h"

namespace {

using pagetest::Sheet;
using pagetest::StoredRecord;

constexpr char kSizes[] = "UserDefForms";
constexpr char kAssociations[] = "UserAssocForms";

std::vector<StoredRecord> Sizes(int n, std::int16_t first = 512)
{
    std::vector<StoredRecord> records;
    for (int i = 0; i < n; ++i)
        records.push_back(pagetest::UserSize(std::int16_t(first + i), "Size " + std::to_string(i + 1), 10200, 13200));
    return records;
}

std::vector<StoredRecord> Associations(int n)
{
    std::vector<StoredRecord> records;
    for (int i = 0; i < n; ++i)
        records.push_back(pagetest::NamedRecord(std::int16_t(640 + i), "Assoc " + std::to_string(i + 1)));
    return records;
}

class CustomisePageTest : public pagetest::ListsTest {};

TEST_F(CustomisePageTest, ButtonsFollowTheStoredLists)
{
    const struct {
        int sizes, associations;
        bool newSize, newAssociation, edit;
    } cases[] = {
        {0, 0, true, true, false},
        {8, 0, false, true, true},
        {1, 32, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.sizes) + " sizes, " + std::to_string(c.associations) + " associations");
        HANDLE printer = Printer(pagetest::kWorkgroup);
        pagetest::StoreList(printer, kSizes, pagetest::ListBytes(Sizes(c.sizes)));
        pagetest::StoreList(printer, kAssociations, pagetest::ListBytes(Associations(c.associations)));
        OpenDeviceSheet(printer, [&](Sheet& s) {
            const HWND page = s.Page(IDD_CUSTOMISE);
            ASSERT_TRUE(page);
            const auto items = s.Items(page, IDC_FORMS);
            ASSERT_EQ(items.size(), std::size_t(c.sizes + c.associations));
            if (!items.empty()) {
                EXPECT_EQ(items.front(), c.sizes ? L"Size 1" : L"Assoc 1");
                EXPECT_EQ(s.Selected(page, IDC_FORMS), 0);
            }
            EXPECT_EQ(s.Enabled(page, IDC_NEW_SIZE), c.newSize);
            EXPECT_EQ(s.Enabled(page, IDC_NEW_ASSOCIATION), c.newAssociation);
            EXPECT_EQ(s.Enabled(page, IDC_EDIT_FORM), c.edit);
            EXPECT_EQ(s.Enabled(page, IDC_DELETE_FORM), c.edit);
        });
        ASSERT_TRUE(ScriptRan());
    }
}

TEST_F(CustomisePageTest, DeleteRemovesExactlyTheChosenRecordOnYes)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    pagetest::StoreList(printer, kSizes, pagetest::ListBytes(Sizes(3)));
    pagetest::StoreList(printer, kAssociations, pagetest::ListBytes(Associations(2)));
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        const std::wstring caption = LibraryString(IDS_DELETE_CAPTION);
        s.Choose(page, IDC_FORMS, 1);
        Answer(caption, IDNO);
        s.Click(page, IDC_DELETE_FORM);
        EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kSizes)), (std::vector<std::int16_t>{512, 513, 514}));
        EXPECT_EQ(s.Items(page, IDC_FORMS).size(), 5u);

        Answer(caption, IDYES);
        s.Click(page, IDC_DELETE_FORM);
        EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kSizes)), (std::vector<std::int16_t>{512, 514}));
        EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kAssociations)),
                  (std::vector<std::int16_t>{640, 641}));
        EXPECT_EQ(s.Items(page, IDC_FORMS),
                  (std::vector<std::wstring>{L"Size 1", L"Size 3", L"Assoc 1", L"Assoc 2"}));

        s.Choose(page, IDC_FORMS, 3);
        Answer(caption, IDYES);
        s.Click(page, IDC_DELETE_FORM);
        EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kAssociations)), (std::vector<std::int16_t>{640}));
        EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kSizes)), (std::vector<std::int16_t>{512, 514}));
    });
    ASSERT_TRUE(ScriptRan());
    const auto seen = DialogsSeen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NE(seen[1].text.find(L"Size 2"), std::wstring::npos) << "the question names the item";
}

TEST_F(CustomisePageTest, ADamagedListShowsItsWholeRecordsAndIsStoredWhole)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    auto records = Sizes(2);
    records.push_back(pagetest::UserSize(900, "Not a user size", 100, 100));
    auto bytes = pagetest::ListBytes(records);
    // A record that claims more bytes than the value holds.
    const std::uint8_t torn[] = {0x40, 0x00, 0x01, 0x00, 0x07, 0x00, 0x02};
    bytes.insert(bytes.end(), std::begin(torn), std::end(torn));
    pagetest::StoreList(printer, kSizes, bytes);
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        const std::wstring caption = LibraryString(IDS_DELETE_CAPTION);
        EXPECT_EQ(s.Items(page, IDC_FORMS), (std::vector<std::wstring>{L"Size 1", L"Size 2"}));
        Answer(caption, IDYES);
        s.Click(page, IDC_DELETE_FORM);
        EXPECT_EQ(s.Items(page, IDC_FORMS), (std::vector<std::wstring>{L"Size 2"}));
    });
    ASSERT_TRUE(ScriptRan());
    const pagetest::Bytes stored = Value(printer, L"UserDefForms");
    EXPECT_FALSE(recordlist::RecordList(stored).Truncated()) << "stored back whole";
    EXPECT_EQ(pagetest::NumbersOf(pagetest::ReadList(printer, kSizes)), (std::vector<std::int16_t>{513, 900}));
}

TEST_F(CustomisePageTest, ToolkitButtonsCallTheToolkitWithTheirActions)
{
    HANDLE printer = Printer(pagetest::kDesktop);
    qvtest::TempDir dir;
    qvtest::CallRecord toolkit("QVTOOLKIT_RECORD", dir.File("toolkit.txt"));
    std::string macroMode;
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_CUSTOMISE);
        ASSERT_TRUE(page);
        macroMode = s.Entry(feature::kGraphicsMode.id).Current() == 2 ? "6" : "5";
        for (int id : {IDC_TOOLKIT_DOWNLOAD_FONTS, IDC_TOOLKIT_PRINTER_FONTS, IDC_TOOLKIT_DOWNLOAD_MACROS,
                       IDC_TOOLKIT_MACROS})
            if (s.Enabled(page, id))
                s.Click(page, id);
    });
    ASSERT_TRUE(ScriptRan());
    std::vector<std::string> actions;
    for (const std::string& line : toolkit.Calls()) {
        // command, argument and mode: fields 4 to 6
        std::vector<std::string> fields;
        for (std::size_t start = 0, end; start <= line.size(); start = end + 1) {
            end = line.find('\t', start);
            if (end == std::string::npos)
                end = line.size();
            fields.push_back(line.substr(start, end - start));
        }
        ASSERT_GE(fields.size(), 6u) << line;
        actions.push_back(fields[3] + " " + fields[4] + " " + fields[5]);
    }
    EXPECT_EQ(actions, (std::vector<std::string>{"4 0 5", "6 0 5", "2 0 " + macroMode, "3 0 " + macroMode}));
}

TEST_F(CustomisePageTest, WithoutPermissionEveryEditIsGreyed)
{
    HANDLE printer = Printer(pagetest::kColour);
    pagetest::StoreList(printer, kSizes, pagetest::ListBytes(Sizes(1)));
    OpenDeviceSheet(
        printer,
        [&](Sheet& s) {
            const HWND page = s.Page(IDD_CUSTOMISE);
            ASSERT_TRUE(page);
            for (int id : {IDC_FORMS, IDC_NEW_SIZE, IDC_NEW_ASSOCIATION, IDC_EDIT_FORM, IDC_DELETE_FORM,
                           IDC_EDIT_WATERMARKS, IDC_DELETE_WATERMARKS, IDC_TOOLKIT_DOWNLOAD_FONTS,
                           IDC_TOOLKIT_PRINTER_FONTS, IDC_TOOLKIT_DOWNLOAD_MACROS, IDC_TOOLKIT_MACROS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
        },
        false);
    ASSERT_TRUE(ScriptRan());
}

}  // namespace
