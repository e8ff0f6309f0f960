// The manual-duplex instructions: the template each variant of the command text selects, the
// animation of the instructions library (its first picture and step), a table without entries, a
// library path with blanks in it, and the texts that show nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DocEventApi.h"
#include "PageTestUtil.h"
#include "ResourceIds.h"
#include "SheetHarness.h"
#include "TestSupport.h"

namespace {

using pagetest::Sheet;

class ManualDuplexTest : public pagetest::SheetTest {
protected:
    struct Shown {
        int answer = -1;
        bool seen = false;
        bool picture = false;
        int width = 0;
    };
    // The instructions for the command text, over a sheet so that the harness sees the dialog.
    Shown Show(const std::wstring& command)
    {
        Shown r;
        OpenDocumentSheet(Printer(pagetest::kDesktop), [&](Sheet& s) {
            const HMODULE dialogs = GetModuleHandleA((LibraryDir() + "\\QVTDX5DU.DLL").c_str());
            const auto show = reinterpret_cast<ShowManualDuplexDlgWFn>(GetProcAddress(dialogs, kShowManualDuplexDlgWExport));
            ASSERT_TRUE(show);
            Answer(pagetest::TemplateCaption(LibraryDir(), IDD_MANUAL_DUPLEX_1), [&](HWND dialog) {
                r.seen = true;
                r.picture = GetDlgItem(dialog, IDC_MD_PICTURE) != nullptr;
                RECT client{0, 0, 100, 100};
                MapDialogRect(dialog, &client);
                RECT own{};
                GetClientRect(dialog, &own);
                r.width = MulDiv(own.right, 100, client.right);  // in dialog units
                PostMessageW(dialog, WM_COMMAND, IDC_MD_CLOSE, 0);
            });
            std::wstring text = command;
            r.answer = show(s.Frame(), nullptr, text.data(), SW_SHOW);
            s.Cancel();
        });
        EXPECT_TRUE(ScriptRan());
        return r;
    }
    static std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
    std::wstring Instructions() const { return Wide(qvtest::BinDir() + "\\QVTDX5B1.DLL"); }
};

TEST_F(ManualDuplexTest, EachVariantShowsItsTemplate)
{
    const struct {
        std::wstring separator;
        int variant;
        bool picture;
        int width;
    } cases[] = {{L" ", 1, true, 260}, {L",", 2, true, 260}, {L"\t", 3, false, 220}, {L"\n", 2, true, 260}};
    for (const auto& c : cases) {
        const Shown r = Show(std::to_wstring(c.variant) + c.separator + Instructions());
        EXPECT_TRUE(r.seen) << c.variant;
        EXPECT_EQ(r.picture, c.picture) << c.variant;
        EXPECT_NEAR(r.width, c.width, 2) << c.variant;
    }
}

TEST_F(ManualDuplexTest, TextsThatShowNothing)
{
    const std::wstring tooLong = L"1 " + std::wstring(300, L'x');
    const struct {
        std::wstring command;
        int answer;
    } cases[] = {{L"0 " + Instructions(), 0},
                 {L"1", 0},
                 {L"4 " + Instructions(), 0},
                 {L"1 C:\\nowhere\\QVTDX5B1.DLL", 0},
                 {tooLong, int(tooLong.size())}};
    for (const auto& c : cases) {
        const Shown r = Show(c.command);
        EXPECT_FALSE(r.seen) << std::string(c.command.begin(), c.command.end());
        EXPECT_EQ(r.answer, c.answer);
    }
}

TEST_F(ManualDuplexTest, LibraryPathWithBlanksLoads)
{
    qvtest::TempDir dir;
    const std::string folder = dir.File("with two blanks");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QVTDX5B1.DLL").c_str(), (folder + "\\QVTDX5B1.DLL").c_str(), FALSE));
    const Shown r = Show(L"2 " + Wide(folder) + L"\\QVTDX5B1.DLL");
    EXPECT_TRUE(r.seen);
    EXPECT_TRUE(r.picture);
}

TEST_F(ManualDuplexTest, TableWithoutEntriesShowsTheStaticDialog)
{
    qvtest::TempDir dir;
    const std::string copy = dir.File("QVTDX5B1.DLL");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QVTDX5B1.DLL").c_str(), copy.c_str(), FALSE));
    // A table shorter than one entry.
    const HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_TRUE(update);
    BYTE four[4] = {101, 0, 100, 0};
    ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(300), MAKEINTRESOURCEA(1), 0, four, sizeof four));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    const Shown r = Show(L"1 " + Wide(copy));
    EXPECT_TRUE(r.seen);
}

}  // namespace
