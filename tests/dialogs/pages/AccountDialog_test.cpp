// The account-ID dialog of the dialog library, as the document events open it: the user's history
// of IDs (most recent first, a chosen one moving to the end, the oldest dropped at capacity, a
// capacity of 0 taken as 1), the refusal of an ID that is not all digits, and Cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DocEventApi.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

using pagetest::Sheet;

constexpr char kHistoryKey[] = "Software\\Qelbrin\\Printers";

class AccountDialogTest : public pagetest::SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, kHistoryKey);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kHistoryKey);
        SheetTest::TearDown();
    }
    static void StoreHistory(DWORD capacity, const std::vector<std::string>& ids)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kHistoryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
        const DWORD n = DWORD(ids.size());
        RegSetValueExA(key, "Number of Account IDs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
        RegSetValueExA(key, "Maximum Account ID Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&capacity),
                       sizeof capacity);
        for (std::size_t i = 0; i < ids.size(); ++i)
            RegSetValueExA(key, ("Account ID" + std::to_string(i + 1)).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(ids[i].c_str()), DWORD(ids[i].size() + 1));
        RegCloseKey(key);
    }
    static std::vector<std::string> History()
    {
        std::vector<std::string> ids;
        DWORD n = 0, size = sizeof n;
        if (RegGetValueA(HKEY_CURRENT_USER, kHistoryKey, "Number of Account IDs", RRF_RT_REG_DWORD, nullptr, &n, &size))
            return ids;
        for (DWORD i = 1; i <= n; ++i) {
            char id[64] = {};
            DWORD length = sizeof id;
            RegGetValueA(HKEY_CURRENT_USER, kHistoryKey, ("Account ID" + std::to_string(i)).c_str(), RRF_RT_REG_SZ,
                         nullptr, id, &length);
            ids.push_back(id);
        }
        return ids;
    }

    // The account dialog over the sheet, answered by `answer`; the export's answer and the ID.
    struct Result {
        int answer = -1;
        std::string id;
        std::vector<std::wstring> offered;  // the combo box's items as the dialog opened
    };
    Result Ask(const std::function<void(HWND)>& answer)
    {
        Result r;
        SettingsState state{};
        OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
            const HMODULE dialogs = GetModuleHandleA((LibraryDir() + "\\QVTDX5DU.DLL").c_str());
            const auto ask = reinterpret_cast<GetAcctTrackFn>(GetProcAddress(dialogs, kGetAcctTrackExport));
            ASSERT_TRUE(ask);
            // The settings state carries at most 63 characters of the printer's name.
            const std::wstring caption = pagetest::LanguageString(LibraryDir(), IDS_ACCOUNT_CAPTION) + L" : " +
                                         PrinterName().substr(0, sizeof state.printerName - 1);
            Answer(caption, [&](HWND dialog) {
                const HWND combo = GetDlgItem(dialog, IDC_ACCOUNT_ID);
                for (LRESULT i = 0, n = SendMessageW(combo, CB_GETCOUNT, 0, 0); i < n; ++i) {
                    wchar_t text[64] = {};
                    SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
                    r.offered.push_back(text);
                }
                answer(dialog);
            });
            state.size = sizeof state;
            state.printer = s.Context().printer;
            const std::wstring wide = PrinterName();
            const std::string name(wide.begin(), wide.end());
            name.copy(state.printerName, sizeof state.printerName - 1);
            r.answer = ask(s.Frame(), 0, 0, &state);
            r.id.assign(state.accountId, strnlen(state.accountId, sizeof state.accountId));
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan());
        return r;
    }
    static std::function<void(HWND)> Type(const std::wstring& id)
    {
        return [id](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_ACCOUNT_ID, id.c_str());
            PostMessageW(dialog, WM_COMMAND, IDC_ACCOUNT_OK, 0);
        };
    }
};

TEST_F(AccountDialogTest, HistoryKeepsTheMostRecentLastAndDropsTheOldestAtCapacity)
{
    const struct {
        std::vector<std::string> stored;
        DWORD capacity;
        std::wstring chosen;
        std::vector<std::string> after;
    } cases[] = {
        {{"111", "222", "333"}, 3, L"222", {"111", "333", "222"}},
        {{"111", "222", "333"}, 3, L"444", {"222", "333", "444"}},
        {{"111", "222", "333", "444", "555"}, 2, L"666", {"555", "666"}},
        {{"111", "222"}, 0, L"777", {"777"}},
        {{}, 0, L"888", {"888"}},
    };
    for (const auto& c : cases) {
        StoreHistory(c.capacity, c.stored);
        const Result r = Ask(Type(c.chosen));
        EXPECT_EQ(r.answer, 1);
        EXPECT_EQ(r.id, std::string(c.chosen.begin(), c.chosen.end()));
        EXPECT_EQ(History(), c.after) << "capacity " << c.capacity;
    }
}

TEST_F(AccountDialogTest, OffersTheMostRecentFirst)
{
    StoreHistory(5, {"111", "222", "333"});
    const Result r = Ask([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDC_ACCOUNT_OK, 0); });
    EXPECT_EQ(r.offered, (std::vector<std::wstring>{L"333", L"222", L"111"}));
    EXPECT_EQ(r.id, "333") << "the first item is chosen";
}

TEST_F(AccountDialogTest, AnIdWithALetterIsRefusedAndCancelCancels)
{
    StoreHistory(3, {"111"});
    std::vector<pagetest::SeenDialog> seen;
    std::wstring refusal;
    const Result r = Ask([&](HWND dialog) {
        refusal = pagetest::LanguageString(LibraryDir(), IDS_ACCOUNT_DIGITS_ONLY);
        SetDlgItemTextW(dialog, IDC_ACCOUNT_ID, L"12a4");
        Answer(pagetest::LanguageString(LibraryDir(), IDS_ACCOUNT_ERROR_CAPTION), IDOK);
        SendMessageW(dialog, WM_COMMAND, IDC_ACCOUNT_OK, 0);
        EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
        seen = DialogsSeen();
        PostMessageW(dialog, WM_COMMAND, IDC_ACCOUNT_CANCEL, 0);
    });
    EXPECT_EQ(r.answer, 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().text, refusal);
    EXPECT_EQ(History(), (std::vector<std::string>{"111"}));
}

}  // namespace
