// The page protocol on a property sheet of the test's own: probe pages built on the protocol's
// base class, in a real PropertySheetW, on a context whose entries are a small feature block and
// whose "driver library" is this program (it exports CallBackAccess and a refresh procedure that
// record their calls). Apply, OK, change detection, the constraint refresh, Defaults, permission
// greying and help, as every page gets them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <string>
#include <vector>

#include "Page.h"
#include "SheetHarness.h"

namespace {

using pagetest::Sheet;

// What this program's driver exports saw.
std::vector<DWORD> g_callBacks;
int g_refreshes = 0;

}  // namespace

extern "C" {
__declspec(dllexport) void WINAPI CallBackAccess(SheetContext*, DWORD type, void*, WORD* result)
{
    g_callBacks.push_back(type);
    if (result)
        *result = 0;
}
__declspec(dllexport) LONG WINAPI ProbeRefresh(void* block)
{
    ++g_refreshes;
    return 0;
}
}

namespace {

constexpr int kCopiesEdit = 100;
constexpr int kCollateBox = 101;
constexpr int kLockedText = 102;
constexpr std::int16_t kCopies = feature::kCopies.id;    // unconstrained here
constexpr std::int16_t kCollate = feature::kCollate.id;  // constrained here

constexpr std::int16_t kFeatures[] = {kCopies, kCollate};
constexpr int kLocked[] = {kCopiesEdit, kCollateBox, pages::kDefaultsButton};
const pages::HelpPair kHelp[] = {{kCopiesEdit, 1}, {0, 0}};
const pages::PageSpec kSpec{kFeatures, kLocked, kHelp, true};

// A page with a copies edit field and a collate check box.
class ProbePage : public pages::Page {
public:
    ProbePage(HWND window, SheetContext* context) : Page(window, context, kSpec) {}
    void Fill() override
    {
        SetText(kCopiesEdit, std::to_wstring(Entry(kCopies).Current()));
        SetCheck(kCollateBox, Entry(kCollate).Current() != 0);
    }
    bool Command(int id, int code, HWND) override
    {
        if (id == kCopiesEdit && code == EN_KILLFOCUS)
            Store(kCopies, std::int16_t(_wtoi(Text(kCopiesEdit).c_str())));
        else if (id == kCollateBox && code == BN_CLICKED)
            Store(kCollate, Checked(kCollateBox) ? 1 : 0);
        else
            return false;
        return true;
    }
};

INT_PTR CALLBACK ProbeProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return pages::PageProcedure<ProbePage>(w, m, wp, lp);
}

// A dialog template in memory: the page and its four controls.
class Template {
public:
    Template()
    {
        Dialog(DS_CONTROL | WS_CHILD | DS_SETFONT, 4, 200, 120);
        Item(kCopiesEdit, 0x0081, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, 10, 10, 40, 12, L"");
        Item(kCollateBox, 0x0080, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 30, 80, 12, L"Collate");
        Item(kLockedText, 0x0082, WS_CHILD | WS_VISIBLE, 10, 50, 80, 10, L"Text");
        Item(pages::kDefaultsButton, 0x0080, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 70, 60, 14, L"Defaults");
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Align()
    {
        if (words_.size() % 2)
            words_.push_back(0);
    }
    void Text(const wchar_t* s)
    {
        for (; *s; ++s)
            words_.push_back(WORD(*s));
        words_.push_back(0);
    }
    void Dialog(DWORD style, WORD items, short cx, short cy)
    {
        words_ = {LOWORD(style), HIWORD(style), 0, 0, items, 0, 0, WORD(cx), WORD(cy), 0, 0};
        Text(L"Probe");
        words_.push_back(8);
        Text(L"MS Shell Dlg");
    }
    void Item(WORD id, WORD cls, DWORD style, short x, short y, short cx, short cy, const wchar_t* text)
    {
        Align();
        words_.insert(words_.end(), {LOWORD(style), HIWORD(style), 0, 0, WORD(x), WORD(y), WORD(cx), WORD(cy), id,
                                     0xFFFF, cls});
        Text(text);
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};

// A feature block of two type-1 entries: copies (current 1, default 1) and collate (constrained,
// current 0, default 1), and its saved copy.
struct ProbeBlock {
    std::vector<std::uint8_t> current = std::vector<std::uint8_t>(64, 0);
    std::vector<std::uint8_t> saved;
    void Entry(std::size_t at, std::int16_t id, std::int16_t value, std::int16_t def, bool constrained)
    {
        const std::uint16_t size = 14;
        std::memcpy(&current[at], &size, 2);
        std::memcpy(&current[at + 2], &id, 2);
        current[at + feature::kConstrained] = constrained;
        std::memcpy(&current[at + feature::kCurrent], &value, 2);
        std::memcpy(&current[at + feature::kDefault], &def, 2);
    }
    ProbeBlock()
    {
        Entry(0, kCopies, 1, 1, false);
        Entry(14, kCollate, 0, 1, true);
        saved = current;
    }
};

class ProtocolSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_callBacks.clear();
        g_refreshes = 0;
        c_.self = c_.selfAgain = &c_;
        c_.permission = 1;
        c_.opened = 1;
        c_.module = GetModuleHandleW(nullptr);
        std::strcpy(c_.refreshProcName, "ProbeRefresh");
        c_.featureBlock = block_.current.data();
        c_.savedFeatureBlock = block_.saved.data();
        c_.featureBlockSize = DWORD(block_.current.size());
        Point();
    }
    void Point()
    {
        c_.featureEntries[kCopies] = &block_.current[0];
        c_.featureEntries[kCollate] = &block_.current[14];
        c_.savedFeatureEntries[kCopies] = &block_.saved[0];
        c_.savedFeatureEntries[kCollate] = &block_.saved[14];
    }
    // A sheet of `count` probe pages; the script runs once it shows.
    void Open(int count, const pagetest::Script& script)
    {
        std::vector<PROPSHEETPAGEW> records(static_cast<std::size_t>(count));
        for (PROPSHEETPAGEW& p : records) {
            p.dwSize = sizeof p;
            p.dwFlags = PSP_DLGINDIRECT;
            p.pResource = template_.Get();
            p.pfnDlgProc = ProbeProc;
            p.lParam = LPARAM(&c_);
        }
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE;
        header.pszCaption = L"Probe sheet";
        header.nPages = UINT(count);
        header.ppsp = records.data();
        pagetest::RunScript(script, [&] { return PropertySheetW(&header); });
    }
    int Commits() const { return int(std::count(g_callBacks.begin(), g_callBacks.end(), DWORD(kCbCommit))); }
    static std::vector<HWND> VisitAll(Sheet& s)
    {
        std::vector<HWND> windows;
        for (int i = 0; i < s.PageCount(); ++i) {
            SendMessageW(s.Frame(), PSM_SETCURSEL, WPARAM(i), 0);
            windows.push_back(s.CurrentPage());
        }
        return windows;
    }

    SheetContext c_{};
    ProbeBlock block_;
    Template template_;
};

TEST_F(ProtocolSheetTest, ApplyOnTenDocumentPagesCommitsOnceAfterTheLast)
{
    Open(10, [&](Sheet& s) {
        VisitAll(s);
        EXPECT_EQ(c_.pageBookkeeping[0], 10) << "document pages counted";
        s.Type(s.CurrentPage(), kCopiesEdit, L"4");
        s.Apply();
        EXPECT_EQ(Commits(), 1);
        EXPECT_EQ(c_.pageBookkeeping[1], 0) << "the apply count starts again";
        EXPECT_EQ(block_.saved, block_.current) << "the applied entries are the saved ones now";
        EXPECT_EQ(c_.okPressed[0], 1u);
        s.Type(s.CurrentPage(), kCopiesEdit, L"6");
        s.Apply();
        EXPECT_EQ(Commits(), 2) << "a second Apply commits again, once";
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, OkOnADocumentSheetSetsTheFlagsAndCommitsNothing)
{
    Open(3, [&](Sheet& s) {
        VisitAll(s);
        s.Type(s.CurrentPage(), kCopiesEdit, L"5");
        s.Ok();
        EXPECT_EQ(Commits(), 0);
        EXPECT_EQ(c_.okPressed[0], 1u);
        EXPECT_EQ(c_.okPressed[1], 1u);
        EXPECT_NE(block_.saved, block_.current) << "the driver library saves an OK'd document sheet itself";
    });
}

TEST_F(ProtocolSheetTest, ADeviceSheetCommitsOnOkAfterItsLastPage)
{
    c_.opened = 0;
    Open(3, [&](Sheet& s) {
        VisitAll(s);
        EXPECT_EQ(c_.pageBookkeeping[2], 3) << "device pages counted";
        EXPECT_EQ(c_.pageBookkeeping[0], 0);
        s.Ok();
        EXPECT_EQ(Commits(), 1);
        EXPECT_EQ(c_.pageBookkeeping[3], 0);
    });
}

TEST_F(ProtocolSheetTest, OnlyPagesThatOpenedCountTowardsTheCommit)
{
    Open(4, [&](Sheet& s) {
        SendMessageW(s.Frame(), PSM_SETCURSEL, 2, 0);  // pages 1 and 3 opened, 2 and 4 not
        s.Type(s.CurrentPage(), kCopiesEdit, L"2");
        s.Apply();
        EXPECT_EQ(Commits(), 1);
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, ChangedOnlyWhileAValueDiffersFromTheSavedEntry)
{
    Open(1, [&](Sheet& s) {
        const HWND page = s.CurrentPage();
        EXPECT_FALSE(s.ApplyEnabled());
        s.Type(page, kCopiesEdit, L"1");  // the saved value
        EXPECT_FALSE(s.ApplyEnabled()) << "an edit that changes nothing";
        s.Type(page, kCopiesEdit, L"2");
        EXPECT_TRUE(s.ApplyEnabled());
        s.Type(page, kCopiesEdit, L"1");
        EXPECT_FALSE(s.ApplyEnabled()) << "back to the saved value";
        s.Click(page, kCollateBox);
        EXPECT_TRUE(s.ApplyEnabled());
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, AConstrainedChangeRunsTheRefreshAndAnOtherDoesNot)
{
    Open(1, [&](Sheet& s) {
        const HWND page = s.CurrentPage();
        s.Type(page, kCopiesEdit, L"3");
        EXPECT_EQ(g_refreshes, 0) << "copies take no part in constraints here";
        EXPECT_EQ(s.Entry(kCopies).Changed(), false);
        s.Click(page, kCollateBox);
        EXPECT_EQ(g_refreshes, 1);
        EXPECT_TRUE(s.Entry(kCollate).Changed());
        EXPECT_EQ(s.Entry(kCollate).Current(), 1);
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, DefaultsRestoresTheListedEntries)
{
    Open(1, [&](Sheet& s) {
        const HWND page = s.CurrentPage();
        s.Type(page, kCopiesEdit, L"9");
        s.Click(page, pages::kDefaultsButton);
        EXPECT_EQ(s.Entry(kCopies).Current(), 1);
        EXPECT_EQ(s.Entry(kCollate).Current(), 1) << "collate's default";
        EXPECT_EQ(s.Text(page, kCopiesEdit), L"1") << "the controls filled again";
        EXPECT_TRUE(s.Text(page, kCollateBox).size());
        EXPECT_EQ(IsDlgButtonChecked(page, kCollateBox), BST_CHECKED);
        EXPECT_GE(g_refreshes, 1) << "collate is constrained";
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, WithoutPermissionTheListedControlsAreGreyed)
{
    for (std::uint32_t permission : {0u, 1u}) {
        SCOPED_TRACE(permission);
        c_.permission = permission;
        Open(2, [&](Sheet& s) {
            for (HWND page : VisitAll(s)) {
                for (int id : kLocked)
                    EXPECT_EQ(s.Enabled(page, id), permission != 0) << id;
                EXPECT_TRUE(s.Enabled(page, kLockedText)) << "not listed";
            }
            s.Cancel();
        });
    }
}

TEST_F(ProtocolSheetTest, HelpSetsTheContextsFlag)
{
    Open(1, [&](Sheet& s) {
        PSHNOTIFY n{};
        n.hdr.hwndFrom = s.Frame();
        n.hdr.code = UINT(PSN_HELP);
        SendMessageW(s.CurrentPage(), WM_NOTIFY, 0, LPARAM(&n));
        EXPECT_EQ(c_.helpRequested, 1u);
        s.Cancel();
    });
}

TEST_F(ProtocolSheetTest, APageRefusesAContextWithoutItsSelfReferences)
{
    c_.selfAgain = nullptr;
    Open(1, [&](Sheet& s) {
        EXPECT_EQ(GetWindowLongPtrW(s.CurrentPage(), DWLP_USER), 0);
        EXPECT_EQ(c_.pageBookkeeping[0], 0);
        EXPECT_EQ(s.Text(s.CurrentPage(), kCopiesEdit), L"");
        s.Cancel();
    });
}

}  // namespace
