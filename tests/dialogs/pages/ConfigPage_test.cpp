// The configurations page: the list of the printer's configurations, the buttons the selection
// allows, a personal profile saved, renamed, loaded and deleted through the profile library's
// stand-in, the factory defaults, the names the name dialog refuses and the profile maximum.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "DrvUiDecls.h"
#include "FeatureBindings.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"

namespace {

using pagetest::Sheet;
namespace f = feature;

class ConfigPageTest : public pagetest::SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        SetEnvironmentVariableA("QVTDX5PU_STORE", store_.Path().c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QVTDX5PU_STORE", nullptr);
        SetEnvironmentVariableA("QVTDX5PU_MAX", nullptr);
        SheetTest::TearDown();
    }
    static std::wstring S(UINT id) { return pagetest::LanguageString(LibraryDir(), id); }
    static std::wstring Caption(UINT id) { return pagetest::TemplateCaption(LibraryDir(), id); }

    static std::vector<std::wstring> Items(HWND page)
    {
        std::vector<std::wstring> items;
        const LRESULT n = SendDlgItemMessageW(page, IDC_CONFIG_LIST, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t text[256] = {};
            SendDlgItemMessageW(page, IDC_CONFIG_LIST, LB_GETTEXT, WPARAM(i), LPARAM(text));
            items.push_back(text);
        }
        return items;
    }
    static bool Select(HWND page, const std::wstring& name)
    {
        const LRESULT at = SendDlgItemMessageW(page, IDC_CONFIG_LIST, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name.c_str()));
        if (at < 0)
            return false;
        SendDlgItemMessageW(page, IDC_CONFIG_LIST, LB_SETCURSEL, WPARAM(at), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CONFIG_LIST, LBN_SELCHANGE), LPARAM(GetDlgItem(page, IDC_CONFIG_LIST)));
        return true;
    }
    static std::uint32_t Kind(Sheet& s) { return s.Entry(f::kConfigIdentity.id).Get<std::uint32_t>(f::identity::kCurrentIdentity); }
    // The name dialog, answered with a typed name and OK.
    void AnswerName(UINT templateId, const std::wstring& name)
    {
        Answer(Caption(templateId), [name](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_CONFIG_NAME, name.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
    }
    static bool Recorded(const std::vector<std::string>& calls, const std::string& call)
    {
        return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(call, 0) == 0; });
    }

    qvtest::TempDir store_;
    qvtest::TempDir records_;
};

TEST_F(ConfigPageTest, FactoryDefaultsLoadTheModelDefaultsAndTheCurrentEntryGreysLoadAndOverwrite)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_CONFIGURATIONS);
        ASSERT_TRUE(page);
        // A new printer's settings are its factory defaults, selected as the current entry.
        EXPECT_EQ(Kind(s), 4u);
        EXPECT_EQ(s.Text(page, IDC_CONFIG_CURRENT), S(IDS_FACTORY_DEFAULTS));
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_LOAD)) << "the selected entry is the current one";
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_OVERWRITE));
        // Settings changed since: no entry is current any more.
        s.Entry(f::kConfigIdentity.id).Set<std::uint32_t>(f::identity::kCurrentIdentity, 0);
        ASSERT_TRUE(Select(page, S(IDS_FACTORY_DEFAULTS))) << ::testing::PrintToString(Items(page));
        EXPECT_TRUE(s.Enabled(page, IDC_CONFIG_LOAD));
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_OVERWRITE)) << "built-in entries are applied only";
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_DELETE));
        s.Entry(f::kCopies.id).SetCurrent(7);
        s.Click(page, IDC_CONFIG_LOAD);
        EXPECT_EQ(s.Entry(f::kCopies.id).Current(), 1) << "the model's default";
        EXPECT_EQ(Kind(s), 4u);
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_LOAD)) << "the selected entry is the current one";
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_OVERWRITE));
        EXPECT_EQ(s.Text(page, IDC_CONFIG_CURRENT), S(IDS_FACTORY_DEFAULTS));
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(ConfigPageTest, PersonalProfileRoundTripsThroughTheProfileLibrary)
{
    qvtest::CallRecord record("QVTDX5PU_RECORD", records_.File("pu.txt"));
    OpenDocumentSheet(Printer(pagetest::kColour), [&](Sheet& s) {
        const HWND page = s.Page(IDD_CONFIGURATIONS);
        ASSERT_TRUE(page);
        s.Entry(f::kCopies.id).SetCurrent(3);
        AnswerName(IDD_CONFIG_SAVE_AS, L"  Office  ");
        s.Click(page, IDC_CONFIG_SAVE_AS);
        ASSERT_TRUE(Select(page, L"Office")) << "saved, its name trimmed";
        const std::uint32_t kind = Kind(s);
        EXPECT_TRUE(kind == 9 || kind == 10) << kind;
        EXPECT_EQ(s.Text(page, IDC_CONFIG_CURRENT), L"Office");
        EXPECT_TRUE(s.Enabled(page, IDC_CONFIG_RENAME));
        EXPECT_FALSE(s.Enabled(page, IDC_CONFIG_LOAD));

        AnswerName(IDD_CONFIG_RENAME, L"Office 2");
        s.Click(page, IDC_CONFIG_RENAME);
        const std::vector<std::wstring> items = Items(page);
        EXPECT_EQ(std::count(items.begin(), items.end(), L"Office 2"), 1);
        EXPECT_EQ(std::count(items.begin(), items.end(), L"Office"), 0);

        ASSERT_TRUE(Select(page, S(IDS_FACTORY_DEFAULTS)));
        s.Click(page, IDC_CONFIG_LOAD);
        EXPECT_EQ(s.Entry(f::kCopies.id).Current(), 1);
        ASSERT_TRUE(Select(page, L"Office 2"));
        EXPECT_TRUE(s.Enabled(page, IDC_CONFIG_LOAD));
        s.Click(page, IDC_CONFIG_LOAD);
        EXPECT_EQ(s.Entry(f::kCopies.id).Current(), 3) << "the profile's settings";
        EXPECT_EQ(Kind(s), kind);

        Answer(S(IDS_CONFIG_CAPTION), IDYES);
        s.Click(page, IDC_CONFIG_DELETE);
        EXPECT_FALSE(Select(page, L"Office 2"));
        EXPECT_EQ(Kind(s), 0u) << "the deleted profile was the current one";
        EXPECT_EQ(s.Text(page, IDC_CONFIG_CURRENT), S(IDS_CONFIG_NONE));
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    const std::vector<std::string> calls = record.Calls();
    for (const char* call : {"DoesMaxPerProfsExist", "WritePerProfile", "ChangePerProf", "GetPerProf", "DeletePerProf"})
        EXPECT_TRUE(Recorded(calls, call)) << call;
}

TEST_F(ConfigPageTest, NameDialogRefusesBlankQuotedAndTakenNames)
{
    const struct {
        const wchar_t* name;
        UINT message;
    } refused[] = {{L"   ", IDS_CONFIG_NAME_INVALID}, {L"My \"best\"", IDS_CONFIG_NAME_INVALID}};
    for (const auto& c : refused) {
        OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
            const HWND page = s.Page(IDD_CONFIGURATIONS);
            ASSERT_TRUE(page);
            const std::size_t before = Items(page).size();
            Answer(Caption(IDD_CONFIG_SAVE_AS), [&](HWND dialog) {
                SetDlgItemTextW(dialog, IDC_CONFIG_NAME, c.name);
                Answer(S(IDS_CONFIG_CAPTION), IDOK);
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            s.Click(page, IDC_CONFIG_SAVE_AS);
            EXPECT_EQ(Items(page).size(), before);
            const auto seen = DialogsSeen();
            EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const pagetest::SeenDialog& d) {
                return d.title == S(IDS_CONFIG_CAPTION) && d.text.find(S(IDS_CONFIG_NAME_INVALID).substr(0, 10)) != std::wstring::npos;
            })) << "the refusal";
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan());
    }
}

TEST_F(ConfigPageTest, SavingAtTheProfileMaximumStoresNothing)
{
    qvtest::CallRecord record("QVTDX5PU_RECORD", records_.File("max.txt"));
    SetEnvironmentVariableA("QVTDX5PU_MAX", "0");
    std::wstring caption;
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_CONFIGURATIONS);
        ASSERT_TRUE(page);
        caption = S(IDS_CONFIG_CAPTION);
        Answer(caption, IDOK);
        s.Click(page, IDC_CONFIG_SAVE_AS);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    const auto seen = DialogsSeen();
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [&](const pagetest::SeenDialog& d) { return d.title == caption; }),
              1) << "the class's message";
    EXPECT_FALSE(Recorded(record.Calls(), "WritePerProfile"));
}

TEST_F(ConfigPageTest, WithoutPermissionTheListIsReadOnly)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_CONFIGURATIONS);
            ASSERT_TRUE(page);
            for (int id : {IDC_CONFIG_LIST, IDC_CONFIG_LOAD, IDC_CONFIG_SAVE_AS, IDC_CONFIG_RENAME, IDC_CONFIG_OVERWRITE,
                           IDC_CONFIG_DELETE, IDC_CONFIG_WIZARD})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
