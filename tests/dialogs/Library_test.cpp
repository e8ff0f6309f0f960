// QVTDX5DU.DLL as QVTDX5DA and the pages meet it: attach and detach with the language library,
// the translated-string and resource exports, tray IDs, and the language library's contents.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DialogLibraryApi.h"
#include "DialogTestUtil.h"
#include "ResourceIds.h"

namespace {

using dialogtest::DialogLibrary;
using dialogtest::Export;
using dialogtest::LanguageLibrary;

std::string ModulePath(HMODULE m)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(m, path, MAX_PATH);
    return path;
}

std::string DirectoryOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

TEST(DialogLibrary, AttachLoadsTheLanguageLibraryFromItsOwnDirectory)
{
    ASSERT_TRUE(DialogLibrary()) << GetLastError();
    ASSERT_TRUE(LanguageLibrary());
    EXPECT_EQ(lstrcmpiA(DirectoryOf(ModulePath(LanguageLibrary())).c_str(),
                        DirectoryOf(ModulePath(DialogLibrary())).c_str()),
              0)
        << ModulePath(LanguageLibrary());
}

TEST(DialogLibrary, ControlClassesBelongToTheLanguageLibrary)
{
    ASSERT_TRUE(DialogLibrary());
    struct Case {
        const char* name;
        const char* procedure;
        UINT style;
        int extra;
        bool buttonFace;
        bool wide;
    };
    constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;
    const Case cases[] = {
        {"QelPaper", "QelbrinPaperControl", kRedraw, 44, true, false},
        {"QelTab", "QelbrinTabControl", kRedraw | CS_OWNDC, 20, false, false},
        {"QELPCLPRTBMP", "QelbrinPclPrinterBmpControl", kRedraw, 20, false, false},
        {"QelPclBmp", "QelbrinPclBitmapControl", kRedraw, 4, true, true},
        {"QelSimpleText", "QelbrinSimpleTextControl", kRedraw, 4, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExA(LanguageLibrary(), c.name, &info));
        EXPECT_EQ(info.style, c.style);
        EXPECT_EQ(info.cbWndExtra, c.extra);
        EXPECT_EQ(info.hbrBackground, c.buttonFace ? reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1) : nullptr);
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        EXPECT_FALSE(GetClassInfoExA(GetModuleHandleW(nullptr), c.name, &info)) << "not the caller's class";

        HWND window = CreateWindowExA(0, c.name, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, LanguageLibrary(), nullptr);
        ASSERT_TRUE(window);
        EXPECT_EQ(IsWindowUnicode(window) != FALSE, c.wide);
        const LONG_PTR procedure =
            c.wide ? GetClassLongPtrW(window, GCLP_WNDPROC) : GetClassLongPtrA(window, GCLP_WNDPROC);
        EXPECT_EQ(reinterpret_cast<FARPROC>(procedure), GetProcAddress(DialogLibrary(), c.procedure));
        DestroyWindow(window);
    }
}

// A copy of the two libraries elsewhere runs as modules of their own.
class LibraryCopy {
public:
    explicit LibraryCopy(const std::string& subdirectory = {}, bool withLanguage = true)
    {
        dir_ = subdirectory.empty() ? temp_.Path() : temp_.File(subdirectory);
        if (!subdirectory.empty())
            CreateDirectoryA(dir_.c_str(), nullptr);
        ok_ = CopyFileA((qvtest::BinDir() + "\\QVTDX5DU.DLL").c_str(), (dir_ + "\\QVTDX5DU.DLL").c_str(), FALSE) &&
              (!withLanguage ||
               CopyFileA((qvtest::BinDir() + "\\QVTDX5DL.DLL").c_str(), (dir_ + "\\QVTDX5DL.DLL").c_str(), FALSE));
    }
    bool Ok() const { return ok_; }
    std::string Dialogs() const { return dir_ + "\\QVTDX5DU.DLL"; }
    std::string Language() const { return dir_ + "\\QVTDX5DL.DLL"; }

private:
    qvtest::TempDir temp_;
    std::string dir_;
    bool ok_ = false;
};

// A second pair of the libraries, loaded and freed in a process of its own (the death test's
// child), so that freeing it leaves the libraries of the other tests alone.
void LoadAndFreeACopy()
{
    const LibraryCopy copy;
    const HMODULE dialogs = copy.Ok() ? LoadLibraryA(copy.Dialogs().c_str()) : nullptr;
    const HMODULE language = GetModuleHandleA(copy.Language().c_str());
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    if (!dialogs || !language || !GetClassInfoExA(language, "QelTab", &info)) {
        std::fprintf(stderr, "the copy did not attach\n");
        std::exit(1);
    }
    if (!FreeLibrary(dialogs) || GetModuleHandleA(copy.Language().c_str())) {
        std::fprintf(stderr, "the language library stayed loaded\n");
        std::exit(2);
    }
    for (const char* name : {"QelPaper", "QelTab", "QELPCLPRTBMP", "QelSimpleText"})
        if (GetClassInfoExA(language, name, &info)) {
            std::fprintf(stderr, "%s stayed registered\n", name);
            std::exit(3);
        }
    WNDCLASSEXW wide{};
    wide.cbSize = sizeof wide;
    if (GetClassInfoExW(language, L"QelPclBmp", &wide)) {
        std::fprintf(stderr, "QelPclBmp stayed registered\n");
        std::exit(3);
    }
    std::exit(0);
}

TEST(DialogLibraryDeathTest, DetachUnregistersTheClassesAndFreesTheLanguageLibrary)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadAndFreeACopy(), ::testing::ExitedWithCode(0), "");
}

TEST(DialogLibrary, AttachFailsWithoutTheLanguageLibrary)
{
    const LibraryCopy alone({}, false);
    ASSERT_TRUE(alone.Ok());
    EXPECT_FALSE(LoadLibraryA(alone.Dialogs().c_str()));
}

TEST(DialogLibrary, AttachFailsFromADirectoryPastTheLanguageLibrarysLimit)
{
    const LibraryCopy deep(std::string(120, 'd'));
    ASSERT_TRUE(deep.Ok());
    ASSERT_GT(deep.Language().size(), 128u);
    EXPECT_FALSE(LoadLibraryA(deep.Dialogs().c_str()));
    EXPECT_FALSE(GetModuleHandleA(deep.Language().c_str()));
}

struct StringCase {
    std::uint32_t direct;
    std::uint16_t number;
    std::uint16_t length;
    int copied;
    const char* text;
};

TEST(TranslatedStrings, DirectAndLogicalNumbersAreCopiedAsNarrowText)
{
    const auto load = Export<LoadXlatedStringFn>(kLoadXlatedStringExport);
    ASSERT_TRUE(load);
    const StringCase cases[] = {
        {1, 6090, 64, 6, "Tray 1"},
        {0, 1000, 64, 6, "Letter"},
        {0, 1024, 64, 17, "Oficio 8.5 x 13.5"},
        {0, 1003, 64, 2, "A4"},
        {1, 6096, 64, 20, "Automatically Select"},
        {0, 999, 64, 0, ""},
        {1, 0, 64, 0, ""},     // a direct ID of 0 loads nothing
        {1, 4999, 64, 0, ""},  // an ID the library has no string for
        {0, 1000, 4, 3, "Let"},
        {0, 1000, 1, 0, ""},
    };
    for (const StringCase& c : cases) {
        char buffer[80];
        std::memset(buffer, '?', sizeof buffer);
        XlatedStringRequest r{};
        r.size = sizeof r;
        r.direct = c.direct;
        r.number = c.number;
        r.buffer = buffer;
        r.length = c.length;
        SCOPED_TRACE(::testing::Message() << (c.direct ? "ID " : "logical ") << c.number << " in " << c.length);
        EXPECT_EQ(load(&r), c.copied);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.length], '?') << "nothing past the buffer";
    }
}

TEST(TranslatedStrings, UnusableRequestsAreNotTouched)
{
    const auto load = Export<LoadXlatedStringFn>(kLoadXlatedStringExport);
    ASSERT_TRUE(load);
    char buffer[16] = "unchanged";
    XlatedStringRequest r{};
    r.size = sizeof r;
    r.number = 1000;
    r.buffer = buffer;
    r.length = 0;
    EXPECT_EQ(load(&r), 0) << "no room";
    r.length = sizeof buffer;
    r.buffer = nullptr;
    EXPECT_EQ(load(&r), 0) << "no buffer";
    r.buffer = buffer;
    r.size = sizeof r - 1;
    EXPECT_EQ(load(&r), 0) << "a record shorter than its layout";
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_EQ(load(nullptr), 0);
}

TEST(TranslatedStrings, EveryMappedLogicalStringExists)
{
    const auto load = Export<LoadXlatedStringFn>(kLoadXlatedStringExport);
    ASSERT_TRUE(load);
    auto Text = [&](std::uint16_t logical) {
        char buffer[1024] = {};
        XlatedStringRequest r{};
        r.size = sizeof r;
        r.number = logical;
        r.buffer = buffer;
        r.length = sizeof buffer;
        return load(&r) > 0 ? std::string(buffer) : std::string();
    };
    std::vector<std::uint16_t> present = {1, 2, 3, 4, 21, 22, 23, 3000, 3001, 3002, 3003, 3004};
    for (std::uint16_t n = 13; n <= 20; ++n)
        present.push_back(n);
    for (std::uint16_t n = 1000; n <= 1024; ++n)
        present.push_back(n);
    for (std::uint16_t n : present)
        EXPECT_FALSE(Text(n).empty()) << "logical string " << n;
    // The retry text is read as a run from logical string 3 that ends at the first missing one.
    for (std::uint16_t n = 5; n <= 12; ++n)
        EXPECT_TRUE(Text(n).empty()) << "logical string " << n << " would lengthen the run";
    // The texts a caller formats carry the conversions it fills.
    EXPECT_NE(Text(1).find("%s"), std::string::npos);
    EXPECT_NE(Text(3).find("%s"), std::string::npos);
    EXPECT_NE(Text(21).find("%s"), std::string::npos);
    EXPECT_EQ(Text(3003), " Factory Defaults");
    EXPECT_EQ(Text(3004), " Installed Defaults");
}

TEST(TranslatedResources, LogicalAndDirectResourcesLoadWithTheirSize)
{
    const auto load = Export<LoadXlatedResourceFn>(kLoadXlatedResourceExport);
    const auto size = Export<GetSizeofXlatedResourceFn>(kGetSizeofXlatedResourceExport);
    ASSERT_TRUE(load && size);
    struct Case {
        std::uint32_t direct;
        std::uint16_t number, type;
        bool found;
    };
    const Case cases[] = {
        {0, 10000, 2, true},  {0, 10001, 2, true},  {0, 10002, 2, true}, {1, 6601, 2, true},
        {0, 10003, 2, false}, {0, 6601, 2, false},  // not a logical number
        {1, 0, 2, false},     {0, 10000, 258, false},  // no such resource of that type
        {1, IDD_SETUP, 5, true},
    };
    for (const Case& c : cases) {
        XlatedResourceRequest r{};
        r.size = sizeof r;
        r.direct = c.direct;
        r.number = c.number;
        r.type = c.type;
        SCOPED_TRACE(::testing::Message() << (c.direct ? "ID " : "logical ") << c.number << " type " << c.type);
        const HGLOBAL h = load(&r);
        EXPECT_EQ(h != nullptr, c.found);
        EXPECT_EQ(size(&r) > 0, c.found);
        if (h && c.type == 2) {
            const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(h));
            ASSERT_TRUE(header);
            EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER));
            EXPECT_GE(size(&r), header->biSize);
        }
    }
    XlatedResourceRequest shortRecord{};
    shortRecord.size = 8;
    shortRecord.number = 10000;
    shortRecord.type = 2;
    EXPECT_FALSE(load(&shortRecord));
    EXPECT_EQ(size(&shortRecord), 0u);
    EXPECT_FALSE(load(nullptr));
}

TEST(TrayIds, IndexesPastTheTableHaveNoName)
{
    const auto tray = Export<GetTrayIDFn>(kGetTrayIdExport);
    ASSERT_TRUE(tray);
    EXPECT_EQ(tray(0), 6090);
    EXPECT_EQ(tray(3), 6094);
    EXPECT_EQ(tray(14), 6257);
    EXPECT_EQ(tray(15), 0);
    EXPECT_EQ(tray(0xFFFF), 0);
    for (WORD i = 0; i < 15; ++i) {
        wchar_t name[64] = {};
        EXPECT_GT(LoadStringW(LanguageLibrary(), tray(i), name, 64), 0) << "tray " << i;
    }
}

// Every template a page, the summary window or a dialog is made from, with the controls the
// dialog library's own code finds in it.
TEST(LanguageLibrary, EveryTemplateCreatesWithTheControlsTheLibraryUses)
{
    ASSERT_TRUE(LanguageLibrary());
    struct Case {
        int id;
        std::vector<int> controls;
    };
    const Case cases[] = {
        {IDD_SETUP, {IDC_COPIES, IDC_COPIES_SPIN, IDC_PAGES_PER_SHEET, IDC_DUPLEX_ICON, IDC_LAYOUT_PICTURE_PORTRAIT}},
        {IDD_PAPER, {IDC_PAPER_SIZE, IDC_PAPER_PICTURE, IDC_OUTPUT_ARROW, IDC_OUTPUT_PICTURE}},
        {IDD_GRAPHICS, {IDC_QUALITY, IDC_LEVEL, IDC_LEVEL_ICON}},
        {IDD_FONTS, {IDC_FONT_SOURCE_0, IDC_FONT_SOURCE_7, IDC_FONT_SOURCE_LIST}},
        {IDD_OVERLAY, {IDC_OVERLAY_TABS, IDC_OVERLAY_TAB, IDC_WATERMARK_TAB, IDC_OVERLAY_FIRST, IDC_WATERMARK_OTHER}},
        {IDD_COLOR, {IDC_COLOR_MODE, IDC_C8}},
        {IDD_ADVANCED_COLOR, {IDC_ADJUST(IDC_ADJUST_PHOTO, ADJUST_C_VALUE), IDC_PROFILE_PHOTO}},
        {IDD_CONFIGURATIONS, {IDC_CONFIG_LIST, IDC_CONFIG_RESERVED, IDC_CONFIG_CURRENT}},
        {IDD_WEB, {IDC_WEB_TITLE, IDC_WEB_REGISTER, IDC_WEB_REGISTER_PICTURE}},
        {IDD_ABOUT, {IDC_ABOUT_ICON, IDC_ABOUT_BJ_VERSION}},
        {IDD_DEVICE, {IDC_PRINTER_PICTURE, IDC_OPTION_TABS, IDC_INSTALL_TAB, IDC_REMOVE_TAB, IDC_BRAND_PICTURE}},
        {IDD_CUSTOMISE, {IDC_FORMS_GROUP, IDC_FORMS, IDC_TOOLKIT_MACROS}},
        {IDD_DEVICE_MEMORY, {IDC_MEMORY, IDC_MEMORY_SPIN}},
        {IDD_WATERMARK, {IDC_WM_PREVIEW_FRAME, IDC_WM_PREVIEW, IDC_WM_TEXT, IDC_WM_COLOR}},
        {IDD_WATERMARK_DELETE, {IDC_WMDEL_LIST, IDC_WMDEL_DELETE, IDC_WMDEL_CLOSE}},
        {IDD_USER_PAPER, {IDC_UPS_WIDTH, IDC_UPS_RESERVED_2}},
        {IDD_PAPER_ASSOCIATION, {IDC_PA_OVERLAY_BOTH, IDC_PA_WATERMARK_SECOND_1}},
        {IDD_WEB_ADDRESS, {IDC_WEB_CONFIG_FILE, IDC_WEB_BROWSE}},
        {IDD_JOB_HOLD, {IDC_HOLD_MODE_4, IDC_HOLD_PIN}},
        {IDD_JOB_HOLD_PIN, {IDC_HOLD_PIN_OPTION}},
        {IDD_CONFIG_SAVE_AS, {IDC_CONFIG_NAME}},
        {IDD_CONFIG_RENAME, {IDC_CONFIG_NAME}},
        {IDD_SUMMARY, {IDC_SUMMARY_PREVIEW_FRAME, IDC_SUMMARY_PREVIEW, IDC_PRINTER_PICTURE, IDC_SUMMARY_DUPLEX}},
        {IDD_ACCOUNT, {IDC_ACCOUNT_ID, IDC_ACCOUNT_OK, IDC_ACCOUNT_CANCEL}},
        {IDD_OPTIONS, {IDC_OPT_NUMBER, IDC_OPT_PICTURE, IDC_STATUS_START}},
        {IDD_OPTIONS_STATUS, {IDC_OPT_NUMBER, IDC_OPT_PICTURE, IDC_STATUS_START}},
        {IDD_MANUAL_DUPLEX_1, {IDC_MD_PICTURE, IDC_MD_STEP_3, IDC_MD_CLOSE}},
        {IDD_MANUAL_DUPLEX_2, {IDC_MD_PICTURE, IDC_MD_STEP_3, IDC_MD_CLOSE}},
        {IDD_MANUAL_DUPLEX_3, {IDC_MD_STEP_1, IDC_MD_CLOSE}},
    };
    dialogtest::Host host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const HRSRC found = FindResourceW(LanguageLibrary(), MAKEINTRESOURCEW(c.id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
        ASSERT_TRUE(found);
        // As a hidden child: pages, popups and modal dialogs alike.
        std::vector<BYTE> bytes(static_cast<const BYTE*>(LockResource(LoadResource(LanguageLibrary(), found))),
                                static_cast<const BYTE*>(LockResource(LoadResource(LanguageLibrary(), found))) +
                                    SizeofResource(LanguageLibrary(), found));
        ASSERT_GE(bytes.size(), 16u);
        DWORD style;
        std::memcpy(&style, bytes.data() + 12, sizeof style);  // DLGTEMPLATEEX style
        style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE)) | WS_CHILD;
        std::memcpy(bytes.data() + 12, &style, sizeof style);
        const HWND dialog = CreateDialogIndirectParamW(LanguageLibrary(), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                                       host.Window(), dialogtest::NoDialogLogic, 0);
        ASSERT_TRUE(dialog) << GetLastError();
        for (int id : c.controls)
            EXPECT_TRUE(GetDlgItem(dialog, id)) << "control " << id;
        DestroyWindow(dialog);
    }
}

// The pictures the pages draw with a mask: green only around the picture, never a pixel close to
// it that the mask would leave as a fringe.
TEST(LanguageLibrary, MaskedPicturesHaveCleanGreenKeys)
{
    std::vector<int> masked = {IDB_OUTPUT_ARROW, IDB_ORIENTATION_PORTRAIT, IDB_ORIENTATION_LANDSCAPE,
                               IDB_DUPLEX_LONG_EDGE, IDB_DUPLEX_SHORT_EDGE, IDB_COPIES_ONE, IDB_COPIES_UNCOLLATED,
                               IDB_COPIES_COLLATED, IDB_BRAND};
    for (int first = IDB_PAPER_A4_LANDSCAPE; first <= IDB_PAPER_ENV_DL_PORTRAIT; ++first)
        if (FindResourceW(LanguageLibrary(), MAKEINTRESOURCEW(first), reinterpret_cast<LPCWSTR>(RT_BITMAP)))
            masked.push_back(first);
    for (int first : {IDB_LAYOUT_2, IDB_LAYOUT_4, IDB_LAYOUT_6, IDB_LAYOUT_9, IDB_LAYOUT_16})
        for (int i = 0; i < 4; ++i)
            masked.push_back(first + i);
    EXPECT_EQ(masked.size(), 9u + 28u + 20u);
    for (int id : masked) {
        SCOPED_TRACE(id);
        const HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(LanguageLibrary(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_TRUE(bitmap);
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        int key = 0, nearKey = 0;
        for (int y = 0; y < info.bmHeight; ++y)
            for (int x = 0; x < info.bmWidth; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (c == RGB(0, 255, 0))
                    ++key;
                else if (GetGValue(c) > 160 && GetRValue(c) < 100 && GetBValue(c) < 100)
                    ++nearKey;
            }
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0)) << "the corner is the key";
        EXPECT_GT(key, 0);
        EXPECT_EQ(nearKey, 0);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST(LanguageLibrary, IconsComeInBothSizes)
{
    for (int id : {IDI_DUPLEX_NONE_PORTRAIT, IDI_DUPLEX_NONE_LANDSCAPE, IDI_DUPLEX_SHORT_PORTRAIT,
                   IDI_DUPLEX_SHORT_LANDSCAPE, IDI_DUPLEX_LONG_PORTRAIT, IDI_DUPLEX_LONG_LANDSCAPE, IDI_LEVEL,
                   IDI_PRINTER_DESKTOP, IDI_PRINTER_WORKGROUP, IDI_PRINTER_COLOR})
        for (int size : {16, 32}) {
            const HICON icon =
                static_cast<HICON>(LoadImageW(LanguageLibrary(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            EXPECT_TRUE(icon) << id << " at " << size;
            DestroyIcon(icon);
        }
}

}  // namespace
