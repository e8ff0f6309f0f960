// The loaders the pages and controls take their resources from, and the transparent drawing of
// their pictures. The test carries its own copy of the library's code, attached as the library
// attaches from the library's own path, so it reads the language library beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "DialogTestUtil.h"
#include "Drawing.h"
#include "Library.h"
#include "ResourceIds.h"
#include "Resources.h"

namespace {

class Loaders : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(dialogtest::DialogLibrary());
        attached_ = dialogs::DllInitialize(dialogtest::DialogLibrary(), DLL_PROCESS_ATTACH, nullptr);
    }
    static inline BOOL attached_ = FALSE;
};

TEST_F(Loaders, StringsComeWholeFromTheLanguageLibrary)
{
    ASSERT_TRUE(attached_);
    EXPECT_EQ(dialogs::LanguageLibrary(), dialogtest::LanguageLibrary());
    EXPECT_EQ(dialogs::LoadDlString(IDS_TRAY_MULTIPURPOSE), L"Multipurpose Tray");
    EXPECT_EQ(dialogs::LoadDlString(IDS_ABOUT_COPYRIGHT), L"Copyright \u00A9 2026 Qelbrin");
    EXPECT_GT(dialogs::LoadDlString(IDS_UPDATE_QUESTION).size(), 100u) << "no buffer cuts a long text";
    EXPECT_TRUE(dialogs::LoadDlString(6013).empty());
    EXPECT_TRUE(dialogs::LoadDlString(0).empty());
}

TEST_F(Loaders, PicturesAndTemplates)
{
    ASSERT_TRUE(attached_);
    const HBITMAP brand = dialogs::LoadDlBitmap(IDB_BRAND);
    ASSERT_TRUE(brand);
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectW(brand, sizeof dib, &dib), int(sizeof dib)) << "a device-independent section";
    const SIZE size = dialogs::BitmapSize(brand);
    EXPECT_EQ(size.cx, 116);
    EXPECT_EQ(size.cy, 28);
    EXPECT_FALSE(dialogs::LoadDlBitmap(4999));

    for (int side : {16, 32}) {
        const HICON icon = dialogs::LoadDlIcon(IDI_DUPLEX_LONG_PORTRAIT, side);
        ASSERT_TRUE(icon) << side;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_EQ(dialogs::BitmapSize(info.hbmColor).cx, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_FALSE(dialogs::LoadDlIcon(4999, 32));

    const DLGTEMPLATE* setup = dialogs::LoadDlTemplate(IDD_SETUP);
    ASSERT_TRUE(setup);
    WORD head[2];
    std::memcpy(head, setup, sizeof head);
    EXPECT_EQ(head[0], 1) << "an extended template";
    EXPECT_EQ(head[1], 0xFFFF);
    EXPECT_FALSE(dialogs::LoadDlTemplate(4999));
    DeleteObject(brand);
}

// The key's pixels leave the target as it was; every other pixel is the picture's.
TEST_F(Loaders, TransparentDrawingLeavesTheKeyOut)
{
    ASSERT_TRUE(attached_);
    const HBITMAP arrow = dialogs::LoadDlBitmap(IDB_OUTPUT_ARROW);
    ASSERT_TRUE(arrow);
    const SIZE size = dialogs::BitmapSize(arrow);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 2 * size.cx, -2 * size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, target);
    const RECT all{0, 0, 2 * size.cx, 2 * size.cy};
    const HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, magenta);
    ASSERT_TRUE(dialogs::DrawTransparent(dc, arrow, 0, 0));
    ASSERT_TRUE(dialogs::DrawTransparent(dc, arrow, RECT{size.cx, size.cy, 2 * size.cx, 2 * size.cy}));
    GdiFlush();

    HDC source = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldSource = SelectObject(source, arrow);
    int key = 0, green = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF want = GetPixel(source, x, y);
            for (const POINT at : {POINT{x, y}, POINT{size.cx + x, size.cy + y}}) {
                const COLORREF got = GetPixel(dc, at.x, at.y);
                if (want == RGB(0, 255, 0)) {
                    ++key;
                    EXPECT_EQ(got, RGB(255, 0, 255)) << x << "," << y;
                } else {
                    EXPECT_EQ(got, want) << x << "," << y;
                }
                green += got == RGB(0, 255, 0);
            }
        }
    EXPECT_GT(key, 0);
    EXPECT_EQ(green, 0);
    EXPECT_FALSE(dialogs::DrawTransparent(dc, nullptr, 0, 0));

    SelectObject(source, oldSource);
    DeleteDC(source);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(magenta);
    DeleteObject(target);
    DeleteObject(arrow);
}

}  // namespace
