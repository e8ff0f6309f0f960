// A rendering driver as far as the document events reach it: FakeExtEscape has the call shape of
// ExtEscape and answers QUERYESCSUPPORT and the private escapes from a script; every escape it is
// sent is recorded. The tests point the driver library's import of ExtEscape at it.
//
// Script (FakeRendererScript, one setting a line, numbers decimal or 0x hexadecimal):
//   supports N...            escapes that QUERYESCSUPPORT answers 1 for (none by default)
//   version V [ANSWER]       5008: the version (566) and the escape's answer (1)
//   capability V             5010: the value (1)
//   jobflags F               job state flags at 2060 (0)
//   jobvariant V             job state byte 280 (0)
//   stamped 0|1              job state byte 709 before any devmode is written (0)
//   second N                 the second watermark's number at the start of a page (0)
//   endwatermarks N M        the numbers asked at the end of a page (0 0)
//   page RES L T R B         the watermark requests' resolution and area (300 0 0 2400 3300)
//   endanswer A V1 V2 V3 V4  0x7FFFFFF8: the answer and its four values (0)
//   conversion bogus         5018 answers an address it was never given
// Job state: byte 686 counts the pages whose end (5002) was asked; 709 is set once a devmode is
// written with 5013 while no page has ended. The first watermark at the start of a page is the
// held devmode's first-page number (673) on the first page and its other-pages number (674) after.
//
// FakeRendererHold sets the held devmode as the job's start would.
// Record (FakeRendererRecord): one line an escape, "ESCAPE in=N out=N", with "query ESCAPE" for
// QUERYESCSUPPORT; 5013 writes add the checksum word and whether it matches, 5014 and 5017 their
// value, 5011 the family count, 5015 the account ID of the data.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DevmodeLayout.h"
#include "EscapeReplies.h"

namespace {

using namespace docevents;

struct State {
    std::set<long long> supported;
    std::uint32_t version = 566;
    int versionAnswer = 1;
    std::uint32_t capability = 1;
    std::uint32_t jobFlags = 0;
    std::uint8_t jobVariant = 0;
    bool stamped = false;
    std::uint16_t second = 0;
    std::uint16_t endFirst = 0, endSecond = 0;
    std::int32_t page[5] = {300, 0, 0, 2400, 3300};
    int endAnswer = 0;
    std::uint32_t endValues[4] = {};
    bool bogusConversion = false;
    std::uint16_t pagesDone = 0;
    std::vector<std::uint8_t> devmode = std::vector<std::uint8_t>(devmode::kSize, 0);
    std::uintptr_t conversion = 0;
    std::string record;
};
State g_state;

long long Number(const std::string& text)
{
    return std::stoll(text, nullptr, 0);
}

void Line(const std::string& line)
{
    g_state.record += line + "\n";
}

void Put32(LPSTR out, int size, std::size_t at, std::uint32_t value)
{
    if (out && std::size_t(size) >= at + 4)
        std::memcpy(out + at, &value, 4);
}

int WatermarkAnswer(int escape, LPSTR out, int outSize)
{
    std::uint16_t number = 0;
    switch (escape) {
    case kFirstWatermarkAtStart:
        number = devmode::Get(g_state.devmode, devmode::U8{g_state.pagesDone == 0 ? std::uint16_t(673) : std::uint16_t(674)});
        break;
    case kSecondWatermarkAtStart: number = g_state.second; break;
    case kFirstWatermarkAtEnd: number = g_state.endFirst; ++g_state.pagesDone; break;
    case kSecondWatermarkAtEnd: number = g_state.endSecond; break;
    }
    if (out && outSize > 0)
        std::memset(out, 0, std::size_t(outSize));
    Put32(out, outSize, 0, number);
    Put32(out, outSize, 12, std::uint32_t(g_state.page[0]));
    for (int i = 0; i < 4; ++i)
        Put32(out, outSize, 16 + 4 * std::size_t(i), std::uint32_t(g_state.page[1 + i]));
    return 1;
}

}  // namespace

extern "C" int __stdcall FakeExtEscape(HDC, int escape, int inSize, LPCSTR in, int outSize, LPSTR out)
try {
    const auto* input = reinterpret_cast<const std::uint8_t*>(in);
    const std::size_t inBytes = in && inSize > 0 ? std::size_t(inSize) : 0;
    if (escape == kQueryEscSupport) {
        std::int32_t asked = 0;
        if (inBytes >= 4)
            std::memcpy(&asked, input, 4);
        Line("query " + std::to_string(asked));
        return g_state.supported.count(asked) ? 1 : 0;
    }
    std::ostringstream line;
    line << escape << " in=" << inBytes << " out=" << (out && outSize > 0 ? outSize : 0);
    int answer = 1;
    switch (escape) {
    case kRendererVersion:
        Put32(out, outSize, 0, g_state.version);
        answer = g_state.versionAnswer;
        break;
    case kRendererCapability:
    case kDocumentQuery:
        Put32(out, outSize, 0, escape == kRendererCapability ? g_state.capability : 0);
        break;
    case kFontFamilies:
        line << " families=" << inBytes / 64;
        break;
    case kJobStateEscape:
        if (out && outSize >= int(kJobStateSize)) {
            std::vector<std::uint8_t> job(kJobStateSize, 0);
            devmode::Set(job, kJobVariant, g_state.jobVariant);
            devmode::Set(job, kJobPagesDone, g_state.pagesDone);
            devmode::Set(job, kJobStamped, g_state.stamped ? 1 : 0);
            devmode::Set(job, kJobFlags, g_state.jobFlags);
            std::memcpy(out, job.data(), job.size());
        }
        break;
    case kJobDevmode:
        if (inBytes >= devmode::kSize) {
            std::copy_n(input, devmode::kSize, g_state.devmode.begin());
            if (g_state.pagesDone == 0)
                g_state.stamped = true;
            line << " checksum=" << devmode::Get(g_state.devmode, devmode::kChecksum)
                 << (devmode::ChecksumMatches(g_state.devmode) ? " matches" : " differs");
        } else if (out && outSize >= int(devmode::kSize)) {
            std::memcpy(out, g_state.devmode.data(), devmode::kSize);
        }
        break;
    case kCancelJob:
    case kRegisterConversion:
        if (inBytes >= 4) {
            std::uint32_t value = 0;
            std::memcpy(&value, input, 4);
            line << (escape == kCancelJob ? " value=" : " registered=") << (escape == kCancelJob ? value : 1);
        }
        if (escape == kRegisterConversion) {
            g_state.conversion = 0;
            if (inBytes >= sizeof(std::uintptr_t))
                std::memcpy(&g_state.conversion, input, sizeof(std::uintptr_t));
        }
        break;
    case kReadConversion: {
        const std::uintptr_t reported = g_state.bogusConversion ? std::uintptr_t(0x12345670) : g_state.conversion;
        if (out && std::size_t(outSize) >= sizeof reported)
            std::memcpy(out, &reported, sizeof reported);
        break;
    }
    case kSettingsData:
        if (inBytes >= devmode::kSize)
            line << " account=" << devmode::GetText({input, devmode::kSize}, devmode::Block{1125, 17});
        break;
    case kEndResourcesWanted:
        for (int i = 0; i < 4; ++i)
            Put32(out, outSize, 4 * std::size_t(i), g_state.endValues[i]);
        answer = g_state.endAnswer;
        break;
    case kFirstEndResource:
    case kSecondEndResource:
        if (inBytes)
            line << " first=" << std::string(reinterpret_cast<const char*>(input), std::min<std::size_t>(inBytes, 12));
        break;
    case kFirstWatermarkAtStart:
    case kSecondWatermarkAtStart:
    case kFirstWatermarkAtEnd:
    case kSecondWatermarkAtEnd:
        answer = WatermarkAnswer(escape, out, outSize);
        break;
    default:
        break;
    }
    Line(line.str());
    return answer;
} catch (...) {
    return -1;
}

// A new script: every setting back to its default, the held devmode and the record cleared.
extern "C" void __stdcall FakeRendererScript(const char* script)
try {
    g_state = State{};
    std::istringstream lines(script ? script : "");
    for (std::string text; std::getline(lines, text);) {
        std::istringstream words(text);
        std::string key;
        std::vector<std::string> v;
        words >> key;
        for (std::string w; words >> w;)
            v.push_back(w);
        const auto at = [&](std::size_t i, long long fallback) { return i < v.size() ? Number(v[i]) : fallback; };
        if (key == "supports")
            for (const std::string& w : v)
                g_state.supported.insert(Number(w));
        else if (key == "version") {
            g_state.version = std::uint32_t(at(0, 566));
            g_state.versionAnswer = int(at(1, 1));
        } else if (key == "capability")
            g_state.capability = std::uint32_t(at(0, 1));
        else if (key == "jobflags")
            g_state.jobFlags = std::uint32_t(at(0, 0));
        else if (key == "jobvariant")
            g_state.jobVariant = std::uint8_t(at(0, 0));
        else if (key == "stamped")
            g_state.stamped = at(0, 0) != 0;
        else if (key == "second")
            g_state.second = std::uint16_t(at(0, 0));
        else if (key == "endwatermarks") {
            g_state.endFirst = std::uint16_t(at(0, 0));
            g_state.endSecond = std::uint16_t(at(1, 0));
        } else if (key == "page")
            for (std::size_t i = 0; i < 5; ++i)
                g_state.page[i] = std::int32_t(at(i, g_state.page[i]));
        else if (key == "endanswer") {
            g_state.endAnswer = int(at(0, 0));
            for (std::size_t i = 0; i < 4; ++i)
                g_state.endValues[i] = std::uint32_t(at(i + 1, 0));
        } else if (key == "conversion")
            g_state.bogusConversion = !v.empty() && v[0] == "bogus";
    }
} catch (...) {
}

// The devmode the driver holds for the job, set as the job starts (no 5013 write: nothing is
// stamped by it).
extern "C" void __stdcall FakeRendererHold(const void* devmode, int size)
{
    if (devmode && size > 0)
        std::memcpy(g_state.devmode.data(), devmode, std::min<std::size_t>(std::size_t(size), g_state.devmode.size()));
}

// The record so far: its length, and as much of it as fits (zero-terminated) when there is room.
extern "C" int __stdcall FakeRendererRecord(char* buffer, int size)
{
    if (buffer && size > 0) {
        const std::size_t n = std::min(g_state.record.size(), std::size_t(size - 1));
        std::memcpy(buffer, g_state.record.data(), n);
        buffer[n] = '\0';
    }
    return int(g_state.record.size());
}
