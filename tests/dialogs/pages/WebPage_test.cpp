// The Web page: the address the web library gives for each model and link reaches the browser
// through the redirection page, started by a command in which the page's path is quoted; an
// address that is not a web address is refused; the second file name when the first cannot be
// made; the settings dialog writes the configuration file into the manufacturer's key.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CallRecord.h"
#include "DrvUiDecls.h"
#include "ImportRedirect.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"

namespace {

using pagetest::Sheet;

constexpr char kWebKey[] = "SOFTWARE\\Qelbrin\\Web_Access\\Other OEMs";
constexpr wchar_t kBrowserClass[] = L"QvPagesTestHtml";

std::vector<std::string> g_started;
UINT WINAPI RecordStart(LPCSTR command, UINT)
{
    g_started.push_back(command ? command : "");
    return 33;
}

class WebPageTest : public pagetest::SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        g_started.clear();
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kWebKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
        RegSetValueExW(key, L"IsSupported", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 4);
        RegSetValueExW(key, L"ConfigurationFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 2);
        RegCloseKey(key);
        // A browser: any program that exists.
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring command = L"\"" + std::wstring(system) + L"\\notepad.exe\" %1";
        // Wine's class root is the machine's: the prefix's own class of ".htm" is put back after.
        wchar_t previous[MAX_PATH] = {};
        DWORD size = sizeof previous - sizeof(wchar_t);
        hadHtm_ = RegGetValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, RRF_RT_REG_SZ, nullptr, previous, &size) == 0;
        previousHtm_ = previous;
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, REG_SZ, L"QvPagesTestHtml", 32);
        RegSetKeyValueW(HKEY_CLASSES_ROOT, (std::wstring(kBrowserClass) + L"\\shell\\open\\command").c_str(), nullptr,
                        REG_SZ, command.c_str(), DWORD((command.size() + 1) * 2));
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kWebKey);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kBrowserClass);
        if (hadHtm_)
            RegSetKeyValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, REG_SZ, previousHtm_.c_str(),
                            DWORD((previousHtm_.size() + 1) * 2));
        else
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".htm");
        SetEnvironmentVariableA("QVTDX5TD_ANSWER", nullptr);
        SheetTest::TearDown();
    }
    // Clicks the link on the Web page with the start of programs recorded.
    void ClickLink(Sheet& s, int button)
    {
        const HWND page = s.Page(IDD_WEB);
        ASSERT_TRUE(page) << "the Web page is shown";
        const HMODULE dialogs = GetModuleHandleA((LibraryDir() + "\\QVTDX5DU.DLL").c_str());
        void* previous = qvtest::RedirectImport(dialogs, "WinExec", reinterpret_cast<void*>(&RecordStart));
        ASSERT_TRUE(previous) << "the dialog library starts programs with WinExec";
        s.Click(page, button);
        qvtest::RedirectImport(dialogs, "WinExec", previous);
    }
    bool hadHtm_ = false;
    std::wstring previousHtm_;
    // What the page said, for a failure's message.
    std::string Seen() const
    {
        std::string out;
        for (const pagetest::SeenDialog& d : DialogsSeen())
            out += "; " + std::string(d.title.begin(), d.title.end()) + ": " + std::string(d.text.begin(), d.text.end());
        return out;
    }
    // The redirection page the recorded command opens, and its path.
    static std::string PagePath(const std::string& command)
    {
        const std::string prefix = "cmd.exe /c start \"\" \"";
        if (command.rfind(prefix, 0) != 0 || command.back() != '"')
            return {};
        return command.substr(prefix.size(), command.size() - prefix.size() - 1);
    }
};

TEST_F(WebPageTest, EachModelsAddressReachesTheBrowserThroughTheRedirectionPage)
{
    const struct {
        const char* model;
        int button;
        std::string address;
    } cases[] = {
        {pagetest::kWorkgroup, IDC_WEB_HOME, "http://www.qelbrin.example/family7/page1/lang"},
        {pagetest::kColour, IDC_WEB_DRIVERS, "http://www.qelbrin.example/family5/page6/lang"},
        {pagetest::kDesktop, IDC_WEB_REGISTER, "http://www.qelbrin.example/family255/page8/lang"},
    };
    for (const auto& c : cases) {
        g_started.clear();
        OpenDocumentSheet(Printer(c.model), [&](Sheet& s) {
            ClickLink(s, c.button);
            s.Cancel();
        });
        ASSERT_TRUE(ScriptRan());
        ASSERT_EQ(g_started.size(), 1u) << c.model << Seen();
        const std::string path = PagePath(g_started[0]);
        ASSERT_FALSE(path.empty()) << g_started[0];
        const std::optional<std::string> page = qvtest::ReadFile(path);
        ASSERT_TRUE(page) << path;
        EXPECT_EQ(page->rfind("<HTML><HEAD><TITLE>Redirection HTML page</TITLE></HEAD><BODY><b>", 0), 0u);
        const std::string url = "<meta http-equiv=\"refresh\" content=\"1;url=" + c.address;
        EXPECT_NE(page->find(url), std::string::npos) << *page;
        EXPECT_NE(page->find("\"></BODY></HTML>"), std::string::npos) << *page;
    }
}

TEST_F(WebPageTest, OnlyWebAddressesAreStartedAndTheirQuotesCannotLeaveTheAttribute)
{
    const struct {
        const char* answer;
        bool started;
    } cases[] = {{"file:///C:/windows/system32/calc.exe", false},
                 {"javascript:alert(1)", false},
                 {"http://a.example/\"><script>x</script>", true}};
    for (const auto& c : cases) {
        g_started.clear();
        SetEnvironmentVariableA("QVTDX5TD_ANSWER", c.answer);
        std::wstring failure;
        OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
            failure = pagetest::LanguageString(LibraryDir(), IDS_MESSAGE_CAPTION);
            Answer(failure, IDOK);
            ClickLink(s, IDC_WEB_SUPPORT);
            s.Cancel();
        });
        ASSERT_TRUE(ScriptRan());
        ASSERT_EQ(g_started.size(), c.started ? 1u : 0u) << c.answer << Seen();
        if (!c.started)
            continue;
        const std::optional<std::string> page = qvtest::ReadFile(PagePath(g_started[0]));
        ASSERT_TRUE(page);
        EXPECT_EQ(page->find("<script>"), std::string::npos) << *page;
        EXPECT_NE(page->find("url=http://a.example/&quot;&gt;&lt;script&gt;"), std::string::npos) << *page;
    }
}

TEST_F(WebPageTest, SecondNameWhenTheFirstPageCannotBeMade)
{
    const std::string blocked = qvtest::TempFolder() + "QxReDir.htm";
    DeleteFileA(blocked.c_str());
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        ClickLink(s, IDC_WEB_HOME);
        s.Cancel();
    });
    RemoveDirectoryA(blocked.c_str());
    ASSERT_EQ(g_started.size(), 1u);
    const std::string path = PagePath(g_started[0]);
    EXPECT_EQ(path, qvtest::TempFolder() + "QxReDir1.html");
}

TEST_F(WebPageTest, SettingsDialogStoresTheConfigurationFile)
{
    OpenDocumentSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_WEB);
        ASSERT_TRUE(page);
        Answer(pagetest::TemplateCaption(LibraryDir(), IDD_WEB_ADDRESS), [](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_WEB_CONFIG_FILE, L"C:\\qv\\web.ini");
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        s.Click(page, IDC_WEB_SETTINGS);
        s.Cancel();
    });
    ASSERT_TRUE(ScriptRan());
    EXPECT_EQ(qvtest::GetHklmString(kWebKey, "ConfigurationFile"), "C:\\qv\\web.ini");
}

TEST_F(WebPageTest, WithoutPermissionTheLinksAreDisabled)
{
    OpenDocumentSheet(
        Printer(pagetest::kWorkgroup),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_WEB);
            ASSERT_TRUE(page);
            for (int id : {IDC_WEB_HOME, IDC_WEB_DRIVERS, IDC_WEB_SUPPLIES, IDC_WEB_SUPPORT, IDC_WEB_REGISTER,
                           IDC_WEB_SETTINGS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        DM_PROMPT | DM_COPY | DM_NOPERMISSION);
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
