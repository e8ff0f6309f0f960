// Watches the desktop for message boxes with given titles, records each one (title, text, owning
// process) and answers it: with the next of the given answers, the last one repeating.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

struct SeenBox {
    std::string title;
    std::string text;
    DWORD process = 0;
};

class BoxWatcher {
public:
    explicit BoxWatcher(std::vector<std::string> titles, std::vector<int> answers = {IDOK})
        : titles_(std::move(titles)), answers_(std::move(answers)), thread_([this] { Run(); })
    {
    }
    ~BoxWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<SeenBox> Seen()
    {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    void Run()
    {
        while (!stop_) {
            EnumWindows(LookAt, reinterpret_cast<LPARAM>(this));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    void Look(HWND window)
    {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        for (const std::string& wanted : titles_) {
            if (wanted != title || !IsWindowVisible(window))
                continue;
            SeenBox box{title, LongestStatic(window), 0};
            GetWindowThreadProcessId(window, &box.process);
            std::size_t index;
            {
                std::lock_guard lock(mutex_);
                index = seen_.size();
                seen_.push_back(box);
            }
            const int answer = answers_.empty() ? IDOK : answers_[std::min(index, answers_.size() - 1)];
            PostMessageA(window, WM_COMMAND, answer, 0);
            // Wait for it to go, so that it is recorded once.
            for (int i = 0; i < 100 && IsWindow(window) && IsWindowVisible(window); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return;
        }
    }
    static std::string LongestStatic(HWND window)
    {
        std::string longest;
        EnumChildWindows(window, KeepLongerStatic, reinterpret_cast<LPARAM>(&longest));
        return longest;
    }
    // Enumeration callbacks are stdcall in the i686 build: no lambda converts to them.
    static BOOL CALLBACK LookAt(HWND window, LPARAM self)
    {
        reinterpret_cast<BoxWatcher*>(self)->Look(window);
        return TRUE;
    }
    static BOOL CALLBACK KeepLongerStatic(HWND child, LPARAM out)
    {
        char cls[16] = "", text[1024] = "";
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        auto& s = *reinterpret_cast<std::string*>(out);
        if (lstrcmpiA(cls, "Static") == 0 && std::string(text).size() > s.size())
            s = text;
        return TRUE;
    }

    const std::vector<std::string> titles_;
    const std::vector<int> answers_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

}  // namespace qvtest
