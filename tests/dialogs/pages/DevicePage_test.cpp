// The installable options page of the device sheet: the options move between the two lists, and
// what is installed reaches the entries, the printer configuration, the stored "PrinterConfig",
// the trays the device capabilities offer and the duplex the document sheet sees; memory stays in
// the model's range; Defaults and a user without permission.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"

namespace {

using pagetest::Bytes;
using pagetest::Sheet;
namespace f = feature;

constexpr WORD kTray4Code = 258;
constexpr std::uint16_t kTray4Mask = 0x0010;
constexpr std::uint16_t kMailboxMask = 0x0001;

class DevicePageTest : public pagetest::SheetTest {
protected:
    static std::wstring LibraryString(UINT id)
    {
        const HMODULE language = GetModuleHandleA((LibraryDir() + "\\QVTDX5DL.DLL").c_str());
        const wchar_t* text = nullptr;
        const int n = language ? LoadStringW(language, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
        return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
    }
    static std::vector<std::wstring> ListItems(HWND page, int id)
    {
        std::vector<std::wstring> items;
        const LRESULT n = SendDlgItemMessageW(page, id, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t text[256] = {};
            SendDlgItemMessageW(page, id, LB_GETTEXT, WPARAM(i), LPARAM(text));
            items.push_back(text);
        }
        return items;
    }
    static bool Has(const std::vector<std::wstring>& items, const std::wstring& item)
    {
        return std::find(items.begin(), items.end(), item) != items.end();
    }
    // Selects the item with this text as a click would, and presses the tab.
    static bool Move(Sheet& s, HWND page, int list, UINT name, int tab)
    {
        const LRESULT at = SendDlgItemMessageW(page, list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(LibraryString(name).c_str()));
        if (at < 0)
            return false;
        SendDlgItemMessageW(page, list, LB_SETCURSEL, WPARAM(at), 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), LPARAM(GetDlgItem(page, list)));
        if (!s.Enabled(page, tab))
            return false;
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(tab, BN_CLICKED), LPARAM(GetDlgItem(page, tab)));
        return true;
    }
    static std::uint32_t StoredWord(const Bytes& stored, std::size_t word)
    {
        std::uint32_t v = 0;
        if (stored.size() >= 4 + 4 * (word + 1))
            std::memcpy(&v, stored.data() + 4 + 4 * word, 4);
        return v;
    }
    std::vector<WORD> Bins(HANDLE printer)
    {
        using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
        const auto caps = reinterpret_cast<CapsFn>(GetProcAddress(Library(), "DrvDeviceCapabilities"));
        std::wstring name = PrinterName();
        const DWORD n = caps ? caps(printer, name.data(), DC_BINS, nullptr, nullptr) : 0;
        std::vector<WORD> bins(n == GDI_ERROR ? 0 : n);
        if (!bins.empty())
            caps(printer, name.data(), DC_BINS, bins.data(), nullptr);
        return bins;
    }
};

TEST_F(DevicePageTest, InstalledOptionsReachTheTraysTheDuplexAndThePrinterConfiguration)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    const std::vector<WORD> before = Bins(printer);
    EXPECT_EQ(std::count(before.begin(), before.end(), kTray4Code), 0) << "tray 4 is not installed yet";
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE);
        ASSERT_TRUE(page);
        const std::vector<std::wstring> available = ListItems(page, IDC_AVAILABLE);
        EXPECT_TRUE(Has(available, LibraryString(IDS_OPTION_TRAY_A)));
        EXPECT_TRUE(Has(available, LibraryString(IDS_OPTION_TRAY_B)));
        EXPECT_TRUE(Has(available, LibraryString(IDS_OPTION_OUTPUT)));
        // The workgroup model comes with its duplex unit: removed, it is offered again.
        ASSERT_TRUE(Move(s, page, IDC_INSTALLED, IDS_OPTION_DUPLEX, IDC_REMOVE_TAB));
        EXPECT_EQ(s.Entry(f::kDuplexUnit.id).Current() & 3, 0);
        EXPECT_TRUE(Has(ListItems(page, IDC_AVAILABLE), LibraryString(IDS_OPTION_DUPLEX)));
        EXPECT_FALSE(s.Enabled(page, IDC_INSTALL_TAB)) << "nothing selected yet";
        EXPECT_FALSE(s.Enabled(page, IDC_UPDATE_FROM_PRINTER)) << "no communication library here";

        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_TRAY_B, IDC_INSTALL_TAB));
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_OUTPUT, IDC_INSTALL_TAB));
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_DUPLEX, IDC_INSTALL_TAB));
        EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current() & kTray4Mask, kTray4Mask);
        EXPECT_EQ(s.Entry(f::kInstalledOutputs.id).Current() & kMailboxMask, kMailboxMask);
        EXPECT_NE(s.Entry(f::kDuplexUnit.id).Current() & 3, 0);
        EXPECT_EQ(s.Context().printerConfig[0] & kTray4Mask, kTray4Mask);
        const std::vector<std::wstring> installed = ListItems(page, IDC_INSTALLED);
        EXPECT_TRUE(Has(installed, LibraryString(IDS_OPTION_TRAY_B)));
        EXPECT_TRUE(Has(installed, LibraryString(IDS_OPTION_DUPLEX)));
        EXPECT_FALSE(Has(ListItems(page, IDC_AVAILABLE), LibraryString(IDS_OPTION_TRAY_B)));
        EXPECT_TRUE(s.ApplyEnabled());
        s.Ok();
        EXPECT_EQ(s.Commits(), 1);
        EXPECT_EQ(s.Context().printerConfig[0] & kTray4Mask, kTray4Mask);
    });
    ASSERT_TRUE(ScriptRan());
    const Bytes stored = Value(printer, L"PrinterConfig");
    ASSERT_EQ(stored.size(), 32u);
    EXPECT_EQ(StoredWord(stored, 0) & kTray4Mask, kTray4Mask);
    EXPECT_EQ(StoredWord(stored, 1) & kMailboxMask, kMailboxMask);
    const std::vector<WORD> after = Bins(printer);
    EXPECT_EQ(std::count(after.begin(), after.end(), kTray4Code), 1) << "the new tray is offered";
    // The document sheet's pages see the unit and the tray.
    OpenDocumentSheet(printer, [](Sheet& s) {
        EXPECT_NE(s.Entry(f::kDuplexUnit.id).Current() & 3, 0);
        EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current() & kTray4Mask, kTray4Mask);
        s.Cancel();
    });
}

TEST_F(DevicePageTest, RemovingAndDefaultsPutTheOptionsBack)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE);
        ASSERT_TRUE(page);
        const std::int16_t trays = s.Entry(f::kInstalledSources.id).Current();
        ASSERT_TRUE(Has(ListItems(page, IDC_INSTALLED), LibraryString(IDS_OPTION_NETWORK)));
        ASSERT_TRUE(Move(s, page, IDC_INSTALLED, IDS_OPTION_NETWORK, IDC_REMOVE_TAB));
        EXPECT_EQ(s.Entry(f::kOnOff6259.id).Current(), 0);
        EXPECT_TRUE(Has(ListItems(page, IDC_AVAILABLE), LibraryString(IDS_OPTION_NETWORK)));
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_TRAY_A, IDC_INSTALL_TAB));
        ASSERT_TRUE(Move(s, page, IDC_INSTALLED, IDS_OPTION_TRAY_A, IDC_REMOVE_TAB));
        EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current(), trays);
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_TRAY_B, IDC_INSTALL_TAB));
        s.Click(page, IDC_DEFAULTS);
        EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current(), s.Entry(f::kInstalledSources.id).Default());
        EXPECT_EQ(s.Entry(f::kOnOff6259.id).Current(), s.Entry(f::kOnOff6259.id).Default());
        EXPECT_EQ(s.Context().printerConfig[0], s.Context().defaultPrinterConfig[0]);
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(DevicePageTest, TrayPlacedBelowTheSelectedTrayStacksThere)
{
    HANDLE printer = Printer(pagetest::kWorkgroup);
    OpenDeviceSheet(printer, [&](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE);
        ASSERT_TRUE(page);
        if (!s.Visible(page, IDC_INSTALL_UNDER_TAB))
            GTEST_SKIP() << "no printer picture";
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_TRAY_A, IDC_INSTALL_TAB));
        // Tray 4 under the printer itself: above tray 3.
        const LRESULT base = SendDlgItemMessageW(page, IDC_INSTALLED, LB_FINDSTRINGEXACT, WPARAM(-1),
                                                 LPARAM(LibraryString(IDS_OPTION_BASE).c_str()));
        ASSERT_GE(base, 0);
        SendDlgItemMessageW(page, IDC_INSTALLED, LB_SETCURSEL, WPARAM(base), 0);
        ASSERT_TRUE(Move(s, page, IDC_AVAILABLE, IDS_OPTION_TRAY_B, IDC_INSTALL_UNDER_TAB));
        const std::vector<std::wstring> installed = ListItems(page, IDC_INSTALLED);
        const auto at = [&](UINT id) { return std::find(installed.begin(), installed.end(), LibraryString(id)) - installed.begin(); };
        EXPECT_LT(at(IDS_OPTION_TRAY_B), at(IDS_OPTION_TRAY_A));
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(DevicePageTest, MemoryStaysInTheModelsRange)
{
    OpenDeviceSheet(Printer(pagetest::kColour), [](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE);
        ASSERT_TRUE(page);
        const pages::EntryView memory = s.Entry(f::kMemory.id);
        const std::int16_t low = memory.Minimum(), high = memory.Maximum();
        ASSERT_LT(low, high);
        s.Type(page, IDC_MEMORY, L"9999");
        EXPECT_EQ(s.Entry(f::kMemory.id).Current(), high);
        EXPECT_EQ(s.Text(page, IDC_MEMORY), std::to_wstring(high));
        const struct {
            int code;
            int expected;
        } steps[] = {{SB_BOTTOM, low}, {SB_PAGEUP, low + 10}, {SB_LINEUP, low + 11}, {SB_LINEDOWN, low + 10},
                     {SB_PAGEDOWN, low}, {SB_LINEDOWN, low}, {SB_TOP, high}, {SB_LINEUP, high}};
        for (const auto& step : steps) {
            s.Scroll(page, IDC_MEMORY_SPIN, step.code);
            EXPECT_EQ(s.Entry(f::kMemory.id).Current(), std::clamp<int>(step.expected, low, high)) << step.code;
            EXPECT_EQ(s.Text(page, IDC_MEMORY), std::to_wstring(s.Entry(f::kMemory.id).Current()));
        }
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(DevicePageTest, WithoutPermissionNothingCanBeChanged)
{
    OpenDeviceSheet(
        Printer(pagetest::kWorkgroup),
        [](Sheet& s) {
            const HWND page = s.Page(IDD_DEVICE);
            ASSERT_TRUE(page);
            for (int id : {IDC_MEMORY, IDC_MEMORY_SPIN, IDC_DEVICE_DISK, IDC_DEVICE_STORAGE, IDC_AVAILABLE,
                           IDC_INSTALLED, IDC_INSTALL_TAB, IDC_INSTALL_UNDER_TAB, IDC_REMOVE_TAB, IDC_DEFAULTS})
                EXPECT_FALSE(s.Enabled(page, id)) << id;
            s.Cancel();
        },
        false);
    EXPECT_TRUE(ScriptRan());
}

TEST_F(DevicePageTest, ModelWithoutOptionsShowsMemoryOnly)
{
    OpenDeviceSheet(Printer(pagetest::kDesktop), [](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE_MEMORY);
        ASSERT_TRUE(page);
        s.Type(page, IDC_MEMORY, L"12");
        EXPECT_EQ(s.Entry(f::kMemory.id).Current(), 12);
        EXPECT_TRUE(s.ApplyEnabled());
        s.Ok();
    });
    EXPECT_TRUE(ScriptRan());
}

}  // namespace

namespace {

// The printer query: its communication library copied into the system directory for the test.
class PrinterQueryTest : public DevicePageTest {
protected:
    void SetUp() override
    {
        DevicePageTest::SetUp();
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);
        installed_ = std::string(system) + "\\QVTDCOMM.DLL";
        ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\optional\\QVTDCOMM.DLL").c_str(), installed_.c_str(), FALSE));
    }
    void TearDown() override
    {
        DeleteFileA(installed_.c_str());
        SetEnvironmentVariableA("QVTDX5BJ_REPLY", nullptr);
        DevicePageTest::TearDown();
    }
    // A reply text with an option's name in the printer's character set.
    static std::string Name(UINT id)
    {
        const std::wstring wide = LibraryString(id);
        char narrow[64] = {};
        WideCharToMultiByte(GetACP() == 1252 ? 850 : CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        return narrow;
    }
    std::string installed_;
};

TEST_F(PrinterQueryTest, TheReplySetsTheOptionsTheTraySizesAndTheMemory)
{
    const struct {
        int sheets;
        std::uint32_t size;
    } cases[] = {{200, 1}, {500, 2}, {600, 3}};
    for (const auto& c : cases) {
        OpenDeviceSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
            const HWND page = s.Page(IDD_DEVICE);
            ASSERT_TRUE(page);
            ASSERT_TRUE(s.Enabled(page, IDC_UPDATE_FROM_PRINTER));
            const std::string reply = "flags=2;memory=48;tray=" + Name(IDS_OPTION_TRAY_B) + ":" + std::to_string(c.sheets) +
                                      ";bin=" + Name(IDS_OPTION_OUTPUT) + ":7205;type=Glossy:17";
            SetEnvironmentVariableA("QVTDX5BJ_REPLY", reply.c_str());
            Answer(LibraryString(IDS_UPDATE_CAPTION), IDOK);
            s.Click(page, IDC_UPDATE_FROM_PRINTER);
            EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current() & kTray4Mask, kTray4Mask);
            EXPECT_EQ((s.Context().printerConfig[3] >> 2) & 3u, c.size) << c.sheets << " sheets";
            EXPECT_EQ(s.Entry(f::kInstalledOutputs.id).Current() & kMailboxMask, kMailboxMask);
            EXPECT_EQ(s.Entry(f::kOnOff6258.id).Current(), 0);
            EXPECT_EQ(s.Entry(f::kOnOff6259.id).Current(), 1);
            EXPECT_EQ(s.Entry(f::kMemory.id).Current(), 48);
            EXPECT_TRUE(Has(ListItems(page, IDC_INSTALLED), LibraryString(IDS_OPTION_TRAY_B)));
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan());
    }
}

TEST_F(PrinterQueryTest, CountsPastTheReplysArraysAreNotRead)
{
    SetEnvironmentVariableA("QVTDX5BJ_REPLY", "count=4000000000;memory=40");
    OpenDeviceSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
        const HWND page = s.Page(IDD_DEVICE);
        ASSERT_TRUE(page);
        Answer(LibraryString(IDS_UPDATE_CAPTION), IDOK);
        s.Click(page, IDC_UPDATE_FROM_PRINTER);
        EXPECT_EQ(s.Entry(f::kMemory.id).Current(), 40);
        EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current(), s.Entry(f::kInstalledSources.id).Default())
            << "no tray named";
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

TEST_F(PrinterQueryTest, ACancelledOrFailedQueryChangesNothing)
{
    for (const bool cancel : {true, false}) {
        SetEnvironmentVariableA("QVTDX5BJ_REPLY", cancel ? "memory=48;tray=x:500" : "fail510");
        OpenDeviceSheet(Printer(pagetest::kWorkgroup), [&](Sheet& s) {
            const HWND page = s.Page(IDD_DEVICE);
            ASSERT_TRUE(page);
            ASSERT_TRUE(s.Enabled(page, IDC_UPDATE_FROM_PRINTER));
            const std::int16_t memory = s.Entry(f::kMemory.id).Current();
            const std::int16_t trays = s.Entry(f::kInstalledSources.id).Current();
            const std::uint32_t block = s.Context().printerConfig[0];
            const std::wstring caption = LibraryString(IDS_UPDATE_CAPTION);
            const std::size_t before = DialogsSeen().size();
            Answer(caption, cancel ? IDCANCEL : IDOK);
            if (!cancel)
                Answer(caption, IDOK);
            s.Click(page, IDC_UPDATE_FROM_PRINTER);
            EXPECT_EQ(s.Entry(f::kMemory.id).Current(), memory);
            EXPECT_EQ(s.Entry(f::kInstalledSources.id).Current(), trays);
            EXPECT_EQ(s.Context().printerConfig[0], block);
            const auto seen = DialogsSeen();
            EXPECT_EQ(std::count_if(seen.begin() + std::ptrdiff_t(before), seen.end(), [&](const pagetest::SeenDialog& d) { return d.title == caption; }),
                      cancel ? 1 : 2);
            EXPECT_FALSE(s.ApplyEnabled());
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan());
    }
}

}  // namespace
