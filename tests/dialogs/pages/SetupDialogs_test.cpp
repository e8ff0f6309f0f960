// The Setup page's dialogs on the real document sheet: the job hold dialog (hold modes, the
// owner's name, the PIN and its option) and the options dialog (the number of sheets, the
// switches, the status window without the status monitor).
#include <gtest/gtest.h>

#include <windows.h>
#include <lmcons.h>

#include <cstring>
#include <functional>
#include <string>

#include "FeatureBindings.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

namespace f = feature;
namespace h = feature::hold;
using pagetest::Sheet;

std::string EntryText(const pages::EntryView& e, std::size_t offset, std::size_t bytes)
{
    const std::uint8_t* p = e.Bytes(offset, bytes);
    return p ? std::string(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), bytes)) : "";
}

void PutEntryText(pages::EntryView e, std::size_t offset, std::size_t bytes, const std::string& text)
{
    std::uint8_t* p = e.Bytes(offset, bytes);
    ASSERT_TRUE(p);
    std::memset(p, 0, bytes);
    std::memcpy(p, text.data(), std::min(text.size(), bytes - 1));
}

std::string LoggedOnUser()
{
    char name[UNLEN + 1] = "";
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

class SetupDialogsTest : public pagetest::SheetTest {
protected:
    std::wstring LibraryString(UINT id) const { return pagetest::LanguageString(LibraryDir(), id); }
    std::wstring Caption(UINT templateId) const { return pagetest::TemplateCaption(LibraryDir(), templateId); }

    // The Setup page of a workgroup printer with a disk, so the job hold button is there.
    static HWND SetupWithDisk(Sheet& s, bool pinTemplate)
    {
        s.Entry(f::kDiskCapacity.id).SetCurrent(1);
        if (pinTemplate)
            s.Context().devmodeCopies[1] |= 0x8000;
        else
            s.Context().devmodeCopies[1] &= 0x7FFF;
        const HWND page = pagetest::Reactivate(s, IDD_SETUP, IDD_PAPER);
        EXPECT_TRUE(s.Enabled(page, IDC_JOB_HOLD_BUTTON));
        return page;
    }
};

// ---- Job hold --------------------------------------------------------------------------------

TEST_F(SetupDialogsTest, APinMustBeFourDigitsForAPrivateJob)
{
    const std::wstring hold = Caption(IDD_JOB_HOLD_PIN);
    const std::wstring message = LibraryString(IDS_MESSAGE_CAPTION);
    ASSERT_FALSE(hold.empty());
    struct Case {
        const wchar_t* pin;
        bool accepted;
    };
    const Case cases[] = {{L"123", false}, {L"12a4", false}, {L"", false}, {L"4711", true}};
    bool stayedOpen[std::size(cases)] = {};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case c = cases[i];
        if (!c.accepted)
            Answer(message, IDOK);
        Answer(hold, [c, i, &stayedOpen](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_HOLD_MODE_2, BM_CLICK, 0, 0);
            SetDlgItemTextW(dialog, IDC_HOLD_USER, L"alice");
            SetDlgItemTextW(dialog, IDC_HOLD_PIN, c.pin);
            CheckDlgButton(dialog, IDC_HOLD_PIN_OPTION, BST_CHECKED);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            stayedOpen[i] = IsWindow(dialog) && IsWindowEnabled(dialog);
            if (!c.accepted)
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    }
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = SetupWithDisk(s, true);
        for (const Case& c : cases) {
            const pages::EntryView e = s.Entry(f::kHold.id);
            const std::int16_t modeBefore = e.Current();
            s.Click(page, IDC_JOB_HOLD_BUTTON);
            if (c.accepted) {
                EXPECT_EQ(e.Current(), 2);
                EXPECT_EQ(EntryText(e, h::kPin, 5), "4711");
                EXPECT_EQ(EntryText(e, h::kUserName, 25), "alice");
                EXPECT_EQ(e.Get<std::uint8_t>(h::kOption), 1);
                EXPECT_TRUE(s.ApplyEnabled());
            } else {
                EXPECT_EQ(e.Current(), modeBefore) << "nothing stored for a refused PIN";
                EXPECT_EQ(EntryText(e, h::kPin, 5), "");
                EXPECT_EQ(e.Get<std::uint8_t>(h::kOption), 0);
            }
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    for (std::size_t i = 0; i + 1 < std::size(cases); ++i)
        EXPECT_TRUE(stayedOpen[i]) << "PIN " << std::string(cases[i].pin, cases[i].pin + wcslen(cases[i].pin));
    std::size_t refusals = 0;
    for (const pagetest::SeenDialog& d : DialogsSeen())
        if (d.title == message) {
            EXPECT_EQ(d.text, pagetest::Filled(LibraryString(IDS_HOLD_PIN_INVALID), cases[refusals].pin));
            ++refusals;
        }
    EXPECT_EQ(refusals, 3u);
}

TEST_F(SetupDialogsTest, TheUserNameIsCutToItsFieldAndAnEmptyPinIsStoredForAnotherMode)
{
    const std::wstring hold = Caption(IDD_JOB_HOLD);
    const std::wstring longName(30, L'n');
    Answer(hold, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_HOLD_MODE_1, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_HOLD_USER)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_HOLD_PIN)));
        SetDlgItemTextW(dialog, IDC_HOLD_USER, longName.c_str());
        SetDlgItemTextW(dialog, IDC_HOLD_PIN, L"");
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        pages::EntryView e = s.Entry(f::kHold.id);
        ASSERT_TRUE(e);
        PutEntryText(e, h::kPin, 5, "1234");
        const HWND page = SetupWithDisk(s, false);
        s.Click(page, IDC_JOB_HOLD_BUTTON);
        EXPECT_EQ(e.Current(), 1);
        EXPECT_EQ(EntryText(e, h::kUserName, 25), std::string(24, 'n')) << "24 characters and the zero";
        EXPECT_EQ(e.Get<std::uint8_t>(h::kUserName + 24), 0);
        EXPECT_EQ(EntryText(e, h::kPin, 5), "") << "the earlier PIN cleared";
        s.Apply();
        const pagetest::Bytes d = s.Devmode();
        EXPECT_EQ(devmode::Get(d, devmode::kHoldMode), 1);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + devmode::kHoldUserName.offset)), std::string(24, 'n'));
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    const std::vector<pagetest::SeenDialog> seen = DialogsSeen();
    EXPECT_TRUE(std::none_of(seen.begin(), seen.end(),
                             [&](const pagetest::SeenDialog& d) { return d.title == LibraryString(IDS_MESSAGE_CAPTION); }));
}

TEST_F(SetupDialogsTest, TheDialogShowsTheStoredModeAndThePinOnlyToItsOwner)
{
    const std::wstring hold = Caption(IDD_JOB_HOLD);
    const std::string user = LoggedOnUser();
    ASSERT_FALSE(user.empty());
    struct Case {
        int mode;
        std::string owner;
        int checked;
        const wchar_t* pinShown;
        bool nameEnabled;
        int answer;  // a private job without its owner's PIN cannot be confirmed
    };
    const Case cases[] = {
        {5, user, IDC_HOLD_MODE_4, L"2468", true, IDOK},               // 4 and 5 share the last button
        {2, "someone-else", IDC_HOLD_MODE_2, L"", true, IDCANCEL},     // another user's PIN stays hidden
        {0, "", IDC_HOLD_MODE_0, L"", false, IDOK},                    // no name stored: the logged-on user
    };
    for (const Case& c : cases)
        Answer(hold, [c, user](HWND dialog) {
            EXPECT_EQ(IsDlgButtonChecked(dialog, c.checked), BST_CHECKED) << c.mode;
            EXPECT_EQ(ItemText(dialog, IDC_HOLD_PIN), c.pinShown) << c.mode;
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_HOLD_USER)) != FALSE, c.nameEnabled) << c.mode;
            const std::wstring name = ItemText(dialog, IDC_HOLD_USER);
            const std::string expected = c.owner.empty() ? user.substr(0, 24) : c.owner;
            EXPECT_EQ(std::string(name.begin(), name.end()), expected) << c.mode;
            SendMessageW(dialog, WM_COMMAND, WPARAM(c.answer), 0);  // without a change
        });
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = SetupWithDisk(s, false);
        pages::EntryView e = s.Entry(f::kHold.id);
        for (const Case& c : cases) {
            e.SetCurrent(std::int16_t(c.mode));
            PutEntryText(e, h::kUserName, 25, c.owner);
            PutEntryText(e, h::kPin, 5, "2468");
            s.Click(page, IDC_JOB_HOLD_BUTTON);
            EXPECT_EQ(e.Current(), c.mode) << "a mode the user did not change stays";
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

// ---- Options ---------------------------------------------------------------------------------

TEST_F(SetupDialogsTest, TheNumberIsBoundToOneToThirtyTwo)
{
    const std::wstring options = Caption(IDD_OPTIONS);
    const std::wstring message = LibraryString(IDS_MESSAGE_CAPTION);
    struct Case {
        const wchar_t* typed;
        bool accepted;
    };
    const Case cases[] = {{L"0", false}, {L"33", false}, {L"", false}, {L"32", true}, {L"1", true}};
    std::wstring label;
    for (const Case& c : cases) {
        if (!c.accepted)
            Answer(message, IDOK);
        Answer(options, [c, &label](HWND dialog) {
            label = ItemText(dialog, IDC_OPT_NUMBER_LABEL);
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_STATUS_WINDOW))) << "no status monitor here";
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_STATUS_START)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_OPT_PICTURE)));
            const std::wstring before = ItemText(dialog, IDC_OPT_NUMBER);
            CheckDlgButton(dialog, IDC_OPT_SWITCH, BST_CHECKED);
            SetDlgItemTextW(dialog, IDC_OPT_NUMBER, c.typed);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            if (!c.accepted) {
                EXPECT_EQ(ItemText(dialog, IDC_OPT_NUMBER), before) << "the stored number shown again";
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
    }
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        const std::int16_t start = s.Entry(f::kOptionsNumber.id).Current();
        for (const Case& c : cases) {
            s.Click(page, IDC_OPTIONS_BUTTON);
            if (c.accepted) {
                EXPECT_EQ(s.Entry(f::kOptionsNumber.id).Current(), _wtoi(c.typed));
                EXPECT_EQ(s.Entry(f::kNumberSwitch.id).Current(), 1);
            } else {
                EXPECT_EQ(s.Entry(f::kOptionsNumber.id).Current(), start) << "nothing stored";
            }
        }
        s.Apply();
        EXPECT_EQ(devmode::Get(s.Devmode(), devmode::kFeature90), 1);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    int refusals = 0;
    for (const pagetest::SeenDialog& d : DialogsSeen())
        if (d.title == message) {
            EXPECT_EQ(d.text,
                      pagetest::Filled(LibraryString(IDS_NOT_A_NUMBER), pagetest::WithoutAmpersands(label).substr(0, 48)));
            ++refusals;
        }
    EXPECT_EQ(refusals, 3);
}

TEST_F(SetupDialogsTest, TheNumberGroupNeedsADuplexUnitAndPermission)
{
    const std::wstring status = Caption(IDD_OPTIONS_STATUS);
    struct Case {
        int unit, handling;
        bool enabled;
    };
    // The unit counts as installed with either edge.
    const Case cases[] = {{0x02, 0, true}, {0x01, 0, true}, {0, 0x1000, true}, {0, 0, false}};
    for (const Case& c : cases)
        Answer(status, [c](HWND dialog) {
            for (int id : {IDC_OPT_SWITCH_GROUP, IDC_OPT_SWITCH, IDC_OPT_NUMBER_LABEL, IDC_OPT_NUMBER})
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE, c.enabled) << c.unit << " " << id;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_SETUP);
        ASSERT_TRUE(page);
        const std::int16_t handling = s.Entry(f::kPaperHandlingFlags.id).Current();
        for (const Case& c : cases) {
            s.Entry(f::kDuplexUnit.id).SetCurrent(std::int16_t(c.unit));
            s.Entry(f::kPaperHandlingFlags.id).SetCurrent(std::int16_t((handling & ~0x1800) | c.handling));
            s.Click(page, IDC_STATUS_BUTTON);
        }
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
}

}  // namespace
