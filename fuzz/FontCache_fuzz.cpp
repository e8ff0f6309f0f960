// A font summary cache file as another process (or a damaged disk) left it. A file that parses is
// exactly what its image serialises to; storing into it keeps the records within the cap and
// leaves a file that parses, with the new record found first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FontCache.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    std::optional<fontcache::CacheImage> image = fontcache::Parse(file);
    if (!image)
        return 0;
    const fontcache::Bytes again = fontcache::Serialize(*image);
    FUZZ_CHECK(again.size() == size && std::equal(again.begin(), again.end(), data));

    // A devmode unlike any the input holds, with a summary sized from the input.
    fontcache::Bytes devmode(fontcache::kDevmodeSize, 0);
    devmode[73] = 0x04;
    devmode[90] = 0xA5;
    devmode[352] = 0x5A;
    devmode[605] = std::uint8_t(size);
    const fontcache::Bytes summary(size * 37 % (fontcache::kRecordAreaCap + 4096), 0x11);
    const std::size_t before = image->records.size();
    const bool stored = fontcache::Store(*image, devmode, summary);
    FUZZ_CHECK(stored == (summary.size() + fontcache::kRecordHead <= fontcache::kRecordAreaCap));
    if (!stored) {
        FUZZ_CHECK(image->records.size() == before);
        return 0;
    }
    std::size_t used = 0;
    for (const auto& r : image->records)
        used += r.Size();
    FUZZ_CHECK(used <= fontcache::kRecordAreaCap);
    const std::optional<fontcache::CacheImage> reread = fontcache::Parse(fontcache::Serialize(*image));
    FUZZ_CHECK(reread.has_value());
    const auto at = fontcache::Find(*reread, devmode);
    FUZZ_CHECK(at.has_value() && *at == 0);
    FUZZ_CHECK(reread->records[0].summary == summary);
    return 0;
}
