// Looks summaries up in one cache file many times, as a process printing document after document
// does: qvcachehammer <file> <count> <first quality>. Exit 0 when every answer was the summary of
// its own devmode, 1 when one was not, 2 on bad use.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "CacheFile.h"
#include "CacheFixture.h"

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const int count = std::atoi(argv[2]);
    const int first = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        const std::uint16_t quality = std::uint16_t(first + i % 9);
        const auto outcome = fontcache::CachedSummary(
            argv[1], cachetest::Devmode(quality), [&] { return std::optional(cachetest::SummaryFor(quality)); }, {});
        if (!outcome || outcome->summary != cachetest::SummaryFor(quality)) {
            std::fprintf(stderr, "start %d: wrong summary for quality %u\n", i, quality);
            return 1;
        }
    }
    return 0;
}
