// The summary window of the built library beside a frame of the test's own: its rows from the
// entries, following the frame, and the frame procedure before and after the window goes. The
// context has no driver library, so the rows that ask the driver stay hidden.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "FeatureBindings.h"
#include "ResourceIds.h"
#include "SheetContext.h"
#include "Summary.h"

namespace {

using SummaryProcFn = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using SubclassFn = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

constexpr UINT kProbe = WM_APP + 7;
std::vector<UINT> g_frameMessages;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        g_frameMessages.push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeFrame()
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvSummaryTestFrame";
        return RegisterClassW(&wc);
    }();
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(ULONG_PTR(atom)), L"frame", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Type-1 entries of a small block, one per identifier.
struct Block {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(1024, 0);
    std::size_t used = 0;
    void Add(SheetContext& c, std::int16_t id, std::int16_t value)
    {
        std::uint8_t* e = bytes.data() + used;
        const std::uint16_t size = 14;
        std::memcpy(e, &size, 2);
        std::memcpy(e + 2, &id, 2);
        std::memcpy(e + feature::kCurrent, &value, 2);
        c.featureEntries[id] = e;
        used += size;
    }
};

class SummaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        proc_ = dialogtest::Export<SummaryProcFn>("SummaryWindowProc");
        subclass_ = dialogtest::Export<SubclassFn>("MySubclassProc");
        ASSERT_TRUE(proc_ && subclass_);
        context_.self = context_.selfAgain = &context_;
        context_.opened = 1;
        frame_ = MakeFrame();
        ASSERT_TRUE(frame_);
        g_frameMessages.clear();
    }
    void TearDown() override
    {
        if (IsWindow(frame_))
            DestroyWindow(frame_);
    }
    HWND Open()
    {
        HWND s = CreateDialogParamW(dialogtest::LanguageLibrary(), MAKEINTRESOURCEW(IDD_SUMMARY), frame_, proc_,
                                    LPARAM(&context_));
        EXPECT_TRUE(s);
        return s;
    }
    std::wstring Text(HWND s, int id)
    {
        wchar_t text[128] = L"";
        GetDlgItemTextW(s, id, text, 128);
        return text;
    }
    bool Shown(HWND s, int id) { return GetWindowLongW(GetDlgItem(s, id), GWL_STYLE) & WS_VISIBLE; }

    SummaryProcFn proc_ = nullptr;
    SubclassFn subclass_ = nullptr;
    SheetContext context_{};
    Block block_;
    HWND frame_ = nullptr;
};

TEST_F(SummaryTest, RowsShowTheEntriesAndRowsWithoutAValueAreHidden)
{
    block_.Add(context_, feature::kCopies.id, 3);
    block_.Add(context_, feature::kCollate.id, 1);
    block_.Add(context_, feature::kDuplex.id, 3);
    HWND s = Open();
    EXPECT_EQ(context_.summaryWindow, s);
    EXPECT_EQ(Text(s, IDC_SUMMARY_COPIES), L"3");
    EXPECT_EQ(Text(s, IDC_SUMMARY_COLLATE), dialogtest::String(IDS_ON));
    EXPECT_EQ(Text(s, IDC_SUMMARY_DUPLEX), dialogtest::String(IDS_DUPLEX_SHORT_EDGE));
    EXPECT_EQ(Text(s, IDC_SUMMARY_DUPLEX_CAPTION), dialogtest::String(IDS_SUMMARY_DUPLEX));
    for (int id : {IDC_SUMMARY_COPIES, IDC_SUMMARY_COPIES_CAPTION, IDC_SUMMARY_DUPLEX})
        EXPECT_TRUE(Shown(s, id)) << id;
    for (int id : {IDC_SUMMARY_FORM, IDC_SUMMARY_MEDIA, IDC_SUMMARY_MEDIA_CAPTION, IDC_SUMMARY_QUALITY,
                   IDC_SUMMARY_QUALITY_CAPTION, IDC_SUMMARY_PREVIEW_FRAME})
        EXPECT_FALSE(Shown(s, id)) << id;

    // A row again after its entry changed: the other rows keep what they showed.
    std::memcpy(static_cast<std::uint8_t*>(context_.featureEntries[feature::kDuplex.id]) + feature::kCurrent,
                "\x02\x00", 2);
    std::memcpy(static_cast<std::uint8_t*>(context_.featureEntries[feature::kCopies.id]) + feature::kCurrent,
                "\x07\x00", 2);
    SendMessageW(s, summary::kRefresh, 6, 0);
    EXPECT_EQ(Text(s, IDC_SUMMARY_DUPLEX), dialogtest::String(IDS_DUPLEX_LONG_EDGE));
    EXPECT_EQ(Text(s, IDC_SUMMARY_COPIES), L"3");
    DestroyWindow(s);
}

TEST_F(SummaryTest, TheWindowFollowsTheFrame)
{
    HWND s = Open();
    SetWindowPos(frame_, nullptr, 40, 60, 500, 350, SWP_NOZORDER);
    RECT f{}, r{};
    GetWindowRect(frame_, &f);
    GetWindowRect(s, &r);
    EXPECT_EQ(r.left, f.right);
    EXPECT_EQ(r.top, f.top);
    EXPECT_EQ(r.bottom - r.top, f.bottom - f.top);
    DestroyWindow(s);
}

TEST_F(SummaryTest, AfterTheWindowGoesTheFrameHasItsOwnProcedureAgain)
{
    const LONG_PTR original = GetWindowLongPtrW(frame_, GWLP_WNDPROC);
    HWND s = Open();
    EXPECT_EQ(GetWindowLongPtrW(frame_, GWLP_WNDPROC), LONG_PTR(subclass_));
    EXPECT_EQ(LONG_PTR(context_.savedFrameProc), original);
    SendMessageW(frame_, kProbe, 0, 0);
    EXPECT_EQ(g_frameMessages.size(), 1u) << "forwarded while subclassed";
    DestroyWindow(s);
    EXPECT_EQ(GetWindowLongPtrW(frame_, GWLP_WNDPROC), original);
    EXPECT_EQ(context_.summaryWindow, nullptr);
    // A caller that still holds the frame procedure reaches the frame's own, not a freed slot.
    context_.savedFrameProc = nullptr;
    subclass_(frame_, kProbe, 0, 0);
    EXPECT_EQ(g_frameMessages.size(), 2u);
}

TEST_F(SummaryTest, ASubclassOnTopKeepsForwardingThroughOurs)
{
    HWND s = Open();
    // Another subclass over ours: ours must not unhook it, and must still forward.
    const LONG_PTR ours = SetWindowLongPtrW(frame_, GWLP_WNDPROC, LONG_PTR(FrameProc));
    DestroyWindow(s);
    EXPECT_EQ(GetWindowLongPtrW(frame_, GWLP_WNDPROC), LONG_PTR(FrameProc));
    CallWindowProcW(reinterpret_cast<WNDPROC>(ours), frame_, kProbe, 0, 0);
    EXPECT_EQ(g_frameMessages.size(), 1u);
}

TEST_F(SummaryTest, TheFrameTableHoldsSixteenSheets)
{
    std::vector<HWND> frames;
    while (subclass_(frame_, summary::kHasFreeSlot, 0, 0)) {
        HWND f = MakeFrame();
        ASSERT_EQ(subclass_(f, summary::kRegister, 0, LPARAM(&context_)), 1);
        frames.push_back(f);
        ASSERT_LE(frames.size(), std::size_t(summary::kFrameSlots));
    }
    EXPECT_EQ(frames.size(), std::size_t(summary::kFrameSlots));
    EXPECT_EQ(subclass_(frame_, summary::kRegister, 0, 0), 0) << "full";
    subclass_(frames[3], summary::kUnregister, 0, 0);
    EXPECT_EQ(subclass_(frame_, summary::kHasFreeSlot, 0, 0), 1);
    for (HWND f : frames) {
        subclass_(f, summary::kUnregister, 0, 0);
        DestroyWindow(f);
    }
}

}  // namespace
