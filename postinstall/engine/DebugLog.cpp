#include "DebugLog.h"

#include <cstdio>
#include <ctime>

DebugBufLog DebugBuf;
std::ostream DebugLog(&DebugBuf);

namespace {
std::clock_t timerStart = 0;
}

void DebugBufLog::SetFile(const CStdStr& path)
{
    file_ = path;
}

void DebugBufLog::AppendLine()
{
    if (!file_.empty() && !line_.empty()) {
        // A line that cannot be written is dropped: the log must never disturb the run.
        if (std::FILE* f = std::fopen(file_.c_str(), "ab")) {
            std::fwrite(line_.data(), 1, line_.size(), f);
            std::fclose(f);
        }
    }
    line_.clear();
}

DebugBufLog::int_type DebugBufLog::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    line_.push_back(traits_type::to_char_type(c));
    if (c == '\n')
        AppendLine();
    return c;
}

std::streamsize DebugBufLog::xsputn(const char* s, std::streamsize n)
{
    for (std::streamsize i = 0; i < n; ++i)
        overflow(traits_type::to_int_type(s[i]));
    return n;
}

int DebugBufLog::sync()
{
    AppendLine();
    return 0;
}

void DebugLogStartTimer()
{
    timerStart = std::clock();
}

void DebugLogPrintTimer(const char* format)
{
    long ms = long((std::clock() - timerStart) * 1000L / CLOCKS_PER_SEC);
    float seconds = float(ms) * 0.001f;
    char text[512];
    std::snprintf(text, sizeof text, format, double(seconds));
    DebugLog << text << '\n';
}
