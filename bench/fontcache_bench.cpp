// The font summary cache at the start of a document: a hit against a miss (the summary built and
// stored), each against a plain read of the same file in turns with it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "BenchUtil.h"
#include "CacheFile.h"
#include "FontSummary.h"

namespace {

fontcache::Bytes Devmode(std::uint16_t quality)
{
    fontcache::Bytes d(fontcache::kDevmodeSize, 0);
    const char16_t name[] = u"Qelbrin QV-5";
    std::memcpy(d.data(), name, sizeof name);
    d[73] = 0x04;
    d[90] = std::uint8_t(quality);
    d[91] = std::uint8_t(quality >> 8);
    return d;
}

// A summary of the full 450 fonts, as the builder lays it out.
std::optional<fontcache::Bytes> FullSummary()
{
    fontsummary::Builder b;
    fontsummary::Entry e;
    for (int i = 0; i < 450; ++i) {
        e.number = std::uint16_t(i + 1);
        e.name = "Font " + std::to_string(i);
        b.Add(e);
    }
    return b.Finish();
}

void PlainRead(const std::string& path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    static char buffer[fontcache::kMaxFileSize];
    DWORD got = 0;
    ReadFile(f, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(f);
}

}  // namespace

int main()
{
    const std::string path = bench::TempPath("qvbench.PCL");
    DeleteFileA(path.c_str());
    const auto noTexts = [] { return std::vector<fontcache::Bytes>{}; };
    // Three records, the hit's the last but one after each lookup moves it to the front.
    for (std::uint16_t q : {300, 600, 1200})
        fontcache::CachedSummary(path, Devmode(q), FullSummary, noTexts);

    std::printf("== font summary cache, 450-font summaries, 3 records\n");
    std::uint16_t hitQuality = 300;
    const bench::Paired hit = bench::MedianPair(
        201,
        [&] {
            // Alternate two records so every hit also moves one to the front.
            hitQuality = hitQuality == 300 ? 600 : 300;
            fontcache::CachedSummary(path, Devmode(hitQuality), FullSummary, noTexts);
        },
        [&] { PlainRead(path); });
    bench::Report("hit (found, moved to the front)", hit.micros, "read of the cache file", hit.baseMicros);

    std::uint16_t missQuality = 2000;
    const bench::Paired miss = bench::MedianPair(
        201, [&] { fontcache::CachedSummary(path, Devmode(++missQuality), FullSummary, noTexts); },
        [&] { PlainRead(path); });
    bench::Report("miss (built in memory, stored)", miss.micros, "read of the cache file", miss.baseMicros);
    std::printf("hit against miss: ratio %.2f\n", miss.micros > 0 ? hit.micros / miss.micros : 0.0);
    DeleteFileA(path.c_str());
    return 0;
}
