// The notices of a library without its model resources: message boxes in an interactive
// program, none inside the spooler's process, where nobody could dismiss them.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace {

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr const char* kNoticeTitles[] = {"LoadString failed", "GetPrtrInfo failed"};

struct Notice {
    std::string title;
    std::string text;
    DWORD process;
};

// Watches the desktop for the notices' message boxes, records them and presses OK.
class NoticeWatcher {
public:
    NoticeWatcher() : thread_([this] { Run(); }) {}
    ~NoticeWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    std::vector<Notice> Seen()
    {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    void Run()
    {
        while (!stop_) {
            EnumWindows(
                [](HWND window, LPARAM self) {
                    reinterpret_cast<NoticeWatcher*>(self)->Look(window);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    void Look(HWND window)
    {
        char title[64] = "";
        GetWindowTextA(window, title, sizeof title);
        for (const char* wanted : kNoticeTitles) {
            if (std::string(title) != wanted || !IsWindowVisible(window))
                continue;
            Notice n{title, LongestStatic(window), 0};
            GetWindowThreadProcessId(window, &n.process);
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(n);
            }
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            // Wait for it to go, so that it is recorded once.
            for (int i = 0; i < 100 && IsWindow(window) && IsWindowVisible(window); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    static std::string LongestStatic(HWND window)
    {
        std::string longest;
        EnumChildWindows(
            window,
            [](HWND child, LPARAM out) {
                char cls[16] = "", text[256] = "";
                GetClassNameA(child, cls, sizeof cls);
                GetWindowTextA(child, text, sizeof text);
                auto& s = *reinterpret_cast<std::string*>(out);
                if (lstrcmpiA(cls, "Static") == 0 && std::string(text).size() > s.size())
                    s = text;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&longest));
        return longest;
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Notice> seen_;
    std::thread thread_;
};

class BuildNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        ASSERT_TRUE(qvtest::AddTestPrinter(printer_, kDriver) ||
                    GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
        // A copy of the library without any resources: no model strings, no descriptions.
        library_ = dir_.File("QVNORES.DLL");
        ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str(), library_.c_str(), FALSE));
        const HANDLE update = BeginUpdateResourceA(library_.c_str(), TRUE);
        ASSERT_TRUE(update) << GetLastError();
        ASSERT_TRUE(EndUpdateResourceA(update, FALSE)) << GetLastError();
        const HMODULE data = LoadLibraryExA(library_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(data);
        char name[64];
        EXPECT_EQ(LoadStringA(data, 10000, name, sizeof name), 0) << "the copy still has strings";
        FreeLibrary(data);
    }
    void TearDown() override { qvtest::DeleteTestPrinter(printer_); }

    qvtest::TempDir dir_;
    std::string library_;
    std::string printer_ = "QV Notice Printer";
};

TEST_F(BuildNoticeTest, InteractiveProgramSeesBoxesAndTheBuildGoesOn)
{
    const HMODULE library = LoadLibraryA(library_.c_str());
    ASSERT_TRUE(library) << GetLastError();
    using ConvertTagList = LONG(WINAPI*)(DWORD, LPSTR, LPVOID, PDEVMODEW);
    const auto convert =
        reinterpret_cast<ConvertTagList>(GetProcAddress(library, "ConvertTagListToDevmode"));
    ASSERT_TRUE(convert);

    std::vector<BYTE> devmode(1256);
    std::vector<Notice> seen;
    {
        NoticeWatcher watcher;
        EXPECT_EQ(convert(0, printer_.data(), nullptr, reinterpret_cast<PDEVMODEW>(devmode.data())), 1);
        seen = watcher.Seen();
    }
    char loadString[64];
    const auto handle = unsigned(reinterpret_cast<std::uintptr_t>(library));
    std::snprintf(loadString, sizeof loadString, "hInst=%X(%X), resId=%d", handle, handle, 10000);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "LoadString failed");
    EXPECT_EQ(seen[0].text, loadString);
    EXPECT_EQ(seen[1].title, "GetPrtrInfo failed");
    EXPECT_EQ(seen[1].text, std::string(kDriver) + " (0)");
    // The build went on with an empty model record.
    EXPECT_EQ(devmode[308], 0);
    EXPECT_EQ(devmode[1076], 128);
    FreeLibrary(library);
}

TEST_F(BuildNoticeTest, SpoolerProcessShowsNoBox)
{
    // The same call from a process whose program is named like the spooler's.
    const std::string spooler = dir_.File("spoolsv.exe");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\tests\\qvtaglistcall.exe").c_str(),
                          spooler.c_str(), FALSE));
    NoticeWatcher watcher;
    const int result =
        qvtest::RunProcess("\"" + spooler + "\" \"" + library_ + "\" \"" + printer_ + "\"", "", 20000);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(watcher.Seen().empty()) << watcher.Seen().front().title;
}

}  // namespace
