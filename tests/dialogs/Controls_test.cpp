// QelTab, QELPCLPRTBMP, QelPclBmp and QelSimpleText driven by their messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "DevmodeLayout.h"
#include "DialogTestUtil.h"
#include "ResourceIds.h"
#include "SheetContext.h"
#include "controls/Controls.h"

namespace {

using dialogtest::Capture;
using dialogtest::Picture;
using dialogtest::Rgb;
namespace tab = controls::tab;
namespace printer = controls::printer;
namespace bitmap = controls::bitmap;
namespace simpletext = controls::simpletext;

RECT RectIn(HWND control, HWND parent)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- QelTab ------------------------------------------------------------------------------------

class TabStrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialogtest::LanguageLibrary());
        for (int i = 0; i < 5; ++i)
            CreateWindowExA(0, "Static", i == 0 ? "&Overlays" : "Watermarks", WS_CHILD | WS_VISIBLE, 10, 100 + 20 * i,
                            60, 12, host_.Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirst + i)), nullptr,
                            nullptr);
        strip_ = host_.AddControl(controls::kTabClass, 99, 10, 10, 360, 40);
        ASSERT_TRUE(strip_);
    }
    HWND Item(int i) const { return GetDlgItem(host_.Window(), kFirst + i); }
    // A click in the middle of the control a tab carries.
    void Click(int i)
    {
        RECT r = RectIn(Item(i), strip_ ? host_.Window() : nullptr);
        MapWindowPoints(host_.Window(), strip_, reinterpret_cast<POINT*>(&r), 2);
        SendMessageA(strip_, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }

    static constexpr int kFirst = 200;
    dialogtest::Host host_;
    HWND strip_ = nullptr;
};

TEST_F(TabStrip, TabsCarryTheirControlsAlongTheStripsBottom)
{
    const WORD words[] = {2, 11, 12};
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst, reinterpret_cast<LPARAM>(words)), 1);
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst + 1, 0), 2);
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst + 1, 0), 0) << "a control has one tab";
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, 12345, 0), 0) << "no such control";

    const RECT strip = RectIn(strip_, host_.Window());
    const RECT first = RectIn(Item(0), host_.Window()), second = RectIn(Item(1), host_.Window());
    for (const RECT& r : {first, second}) {
        EXPECT_GE(r.left, strip.left);
        EXPECT_LE(r.right, strip.right);
        EXPECT_GE(r.top, strip.top);
        EXPECT_EQ(r.bottom, strip.bottom - 8) << "on the text area of a tab at the bottom";
    }
    EXPECT_EQ(first.left, strip.left + 8) << "the first tab at the left edge";
    EXPECT_EQ(second.left, first.right + 16) << "the next tab after it";

    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst + 2, 0), 3);
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst + 3, 0), 4);
    EXPECT_EQ(SendMessageA(strip_, tab::kAdd, kFirst + 4, 0), 0) << "four tabs at most";
}

TEST_F(TabStrip, ClickSendsTheCommandUnlessTheTabIsDisabled)
{
    SendMessageA(strip_, tab::kAdd, kFirst, 0);
    SendMessageA(strip_, tab::kAdd, kFirst + 1, 0);
    Click(1);
    ASSERT_EQ(host_.Commands().size(), 1u);
    EXPECT_EQ(LOWORD(host_.Commands()[0]), kFirst + 1);

    SendMessageA(strip_, tab::kEnable, kFirst + 1, 0);
    EXPECT_FALSE(IsWindowEnabled(Item(1))) << "the control is disabled with its tab";
    Click(1);
    EXPECT_EQ(host_.Commands().size(), 1u) << "a disabled tab selects but sends nothing";

    SendMessageA(strip_, tab::kEnable, kFirst + 1, 1);
    EXPECT_TRUE(IsWindowEnabled(Item(1)));
    Click(0);
    Click(1);
    ASSERT_EQ(host_.Commands().size(), 3u);
    EXPECT_EQ(LOWORD(host_.Commands()[1]), kFirst);
}

TEST_F(TabStrip, MovedTabsTakeTheirControlsAlong)
{
    SendMessageA(strip_, tab::kAdd, kFirst, 0);
    const RECT before = RectIn(Item(0), host_.Window());
    SendMessageA(strip_, tab::kMove, kFirst, MAKELPARAM(100, 2));
    const RECT after = RectIn(Item(0), host_.Window());
    EXPECT_EQ(after.left - before.left, 100);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(SendMessageA(strip_, WM_SYSKEYDOWN, VK_MENU, 0), 0);
    EXPECT_EQ(SendMessageA(strip_, WM_ERASEBKGND, 0, 0), 1) << "never erases";
}

// ---- QELPCLPRTBMP ------------------------------------------------------------------------------

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PrinterPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialogtest::LanguageLibrary());
        record_ = records_.File("calls.txt");
        SetEnvironmentVariableA("QVSIBLING_RECORD", record_.c_str());
        pictures_ = LoadLibraryA((qvtest::BinDir() + "\\QVTDX5BT.DLL").c_str());
        ASSERT_TRUE(pictures_);
        context_.self = context_.selfAgain = &context_;
        context_.pictureLibrary = pictures_;
        context_.paintPrinter = reinterpret_cast<void*>(GetProcAddress(pictures_, "PaintPrt"));
        context_.managePalette = reinterpret_cast<void*>(GetProcAddress(pictures_, "ManagePal"));
        context_.printerConfig[0] = kColour;
        control_ = host_.AddControl(controls::kPrinterPictureClass, printer::kPictureControl, 10, 10, 192, 128);
        ASSERT_TRUE(control_);
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QVSIBLING_RECORD", nullptr);
        if (pictures_)
            FreeLibrary(pictures_);
    }
    std::string Calls() const { return ReadAll(record_); }

    static constexpr std::uint32_t kColour = 0x00336699;  // COLORREF: red 0x99, green 0x66, blue 0x33
    qvtest::TempDir records_;
    std::string record_;
    HMODULE pictures_ = nullptr;
    SheetContext context_{};
    dialogtest::Host host_;
    HWND control_ = nullptr;
};

TEST_F(PrinterPicture, ThePictureLibraryDrawsFromTheConfigurationBlock)
{
    EXPECT_EQ(SendMessageA(control_, printer::kContext, 0, reinterpret_cast<LPARAM>(&context_)), 0);
    EXPECT_NE(Calls().find("ManagePal 783"), std::string::npos) << Calls();
    const Picture p = Capture(control_);
    EXPECT_GT(p.Count(Rgb(0x99, 0x66, 0x33)), 0);
    // The target is the framed area less a 64th and a 32nd of it each way.
    RECT client{};
    GetClientRect(control_, &client);
    TEXTMETRICW tm{};
    HDC dc = GetDC(control_);
    GetTextMetricsW(dc, &tm);
    ReleaseDC(control_, dc);
    const int w = client.right - 4, h = client.bottom - tm.tmHeight / 2 - 4;
    const std::string expected = "PaintPrt " + std::to_string(w - w / 64 - w / 32) + " " +
                                 std::to_string(h - h / 64 - h / 32) + " 100 128";
    EXPECT_NE(Calls().find(expected), std::string::npos) << Calls();

    DestroyWindow(control_);
    EXPECT_NE(Calls().find("ManagePal 2"), std::string::npos) << Calls();
}

TEST_F(PrinterPicture, NothingIsDrawnWithoutTheWholeContext)
{
    SheetContext noPalette = context_;
    noPalette.self = noPalette.selfAgain = &noPalette;
    noPalette.managePalette = nullptr;
    SheetContext broken = context_;
    broken.self = &broken;
    broken.selfAgain = nullptr;
    for (SheetContext* c : {&noPalette, &broken}) {
        SendMessageA(control_, printer::kContext, 0, reinterpret_cast<LPARAM>(c));
        EXPECT_EQ(Capture(control_).Count(Rgb(0x99, 0x66, 0x33)), 0);
    }
    EXPECT_EQ(Calls().find("PaintPrt"), std::string::npos) << Calls();
}

// ---- QelPclBmp ---------------------------------------------------------------------------------

class BitmapPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialogtest::LanguageLibrary());
        control_ = host_.AddControlW(controls::kBitmapClass, 5261, 10, 10, 120, 40);
        ASSERT_TRUE(control_);
    }
    LRESULT Send(UINT message, LPARAM lParam) { return SendMessageW(control_, message, 0, lParam); }

    dialogtest::Host host_;
    HWND control_ = nullptr;
};

constexpr std::uint32_t kKey = Rgb(0, 255, 0);

TEST_F(BitmapPicture, LoadsFromTheLanguageLibraryAndLeavesTheKeyOutWhenAsked)
{
    EXPECT_TRUE(Send(bitmap::kLoad, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDB_BRAND))));
    const Picture opaque = Capture(control_);
    EXPECT_GT(opaque.Count(kKey), 0);
    EXPECT_TRUE(SendMessageW(control_, WM_QUERYNEWPALETTE, 0, 0)) << "a colour-table bitmap has a palette";

    Send(bitmap::kTransparent, RGB(0, 255, 0));
    const Picture clear = Capture(control_);
    EXPECT_EQ(clear.Count(kKey), 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(clear.Count(Rgb(GetRValue(face), GetGValue(face), GetBValue(face))), 0);
    EXPECT_EQ(Capture(control_).Count(Rgb(0, 84, 166)), opaque.Count(Rgb(0, 84, 166))) << "the picture itself stays";

    Send(bitmap::kOpaque, 0);
    EXPECT_EQ(Capture(control_), opaque);
}

TEST_F(BitmapPicture, BitmapsComeFromTheModuleItWasGiven)
{
    EXPECT_TRUE(SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDB_OUTPUT_ARROW))));
    Send(bitmap::kModule, reinterpret_cast<LPARAM>(GetModuleHandleW(nullptr)));
    EXPECT_FALSE(Send(bitmap::kLoad, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDB_BRAND))));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Picture p = Capture(control_);
    EXPECT_EQ(p.Count(Rgb(GetRValue(face), GetGValue(face), GetBValue(face))), p.width * p.height)
        << "nothing is drawn without a bitmap";
    EXPECT_FALSE(SendMessageW(control_, WM_QUERYNEWPALETTE, 0, 0));
    Send(bitmap::kModule, 0);
    EXPECT_TRUE(Send(bitmap::kLoad, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDB_BRAND))));
}

// ---- QelSimpleText -----------------------------------------------------------------------------

class TextPreview : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialogtest::LanguageLibrary());
        CreateWindowExA(0, "Static", "", WS_CHILD, 10, 10, 240, 160, host_.Window(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(simpletext::kFrameControl)), nullptr, nullptr);
        CreateWindowExA(0, "Edit", "", WS_CHILD, 260, 10, 100, 20, host_.Window(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(simpletext::kTextControl)), nullptr, nullptr);
        control_ = host_.AddControl(controls::kSimpleTextClass, 5133, 20, 20, 100, 100);
        ASSERT_TRUE(control_);
        record_.paperWidth = 215900;
        record_.paperHeight = 279400;
        std::strcpy(record_.text, "CONFIDENTIAL");
        record_.font.lfHeight = -48;
        record_.font.lfWeight = FW_BOLD;
        std::strcpy(record_.font.lfFaceName, "Arial");
        record_.colour = RGB(0, 0, 0);
        record_.intensity = 30;
        SendMessageA(control_, simpletext::kRecord, 0, reinterpret_cast<LPARAM>(&record_));
    }

    dialogtest::Host host_;
    HWND control_ = nullptr;
    controls::SimpleTextRecord record_{};
};

TEST_F(TextPreview, BlackIsShownAsTheGreyOfItsIntensity)
{
    const Picture p = Capture(control_);
    EXPECT_GT(p.Count(Rgb(76, 76, 76)), 0);
    EXPECT_EQ(p.Count(Rgb(0, 0, 0)), 0);
}

TEST_F(TextPreview, FitsThePaperOfTheSheetsOrientationIntoItsFrame)
{
    SendMessageA(control_, simpletext::kRefit, 0, 0);
    RECT r = RectIn(control_, host_.Window());
    EXPECT_NEAR(double(r.right - r.left + 10) / (r.bottom - r.top + 10), 2159.0 / 2794.0, 0.02) << "portrait";
    EXPECT_EQ(r.bottom - r.top, 160 - 10);

    // A sheet whose devmode is landscape.
    std::vector<std::uint8_t> devmode(kWorkDevmodeBytes);
    devmode::Set(devmode, devmode::dmOrientation, 2);
    SheetContext context{};
    context.self = context.selfAgain = &context;
    context.workingDevmode = devmode.data();
    record_.context = &context;
    SendMessageA(control_, simpletext::kRefit, 0, 0);
    r = RectIn(control_, host_.Window());
    EXPECT_GT(r.right - r.left, r.bottom - r.top) << "landscape";

    record_.paperHeight = 0;
    const RECT before = RectIn(control_, host_.Window());
    SendMessageA(control_, simpletext::kRefit, 0, 0);
    const RECT kept = RectIn(control_, host_.Window());
    EXPECT_TRUE(EqualRect(&before, &kept));
    record_.font.lfEscapement = 450;
    EXPECT_EQ(Capture(control_).width, before.right - before.left) << "drawn without a paper height";
}

}  // namespace
