#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "engine/Tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CStdStr line(reinterpret_cast<const char*>(data), size);
    CStdStr key = "stale", value = "stale";
    const bool ok = SplitKeyValue(line, key, value);
    const size_t eq = line.find('=');
    if (eq == CStdStr::npos) {
        FUZZ_CHECK(ok && key == line && value.empty());
    } else if (eq == 0) {
        FUZZ_CHECK(!ok && key.empty() && value.empty());
    } else {
        FUZZ_CHECK(ok);
        FUZZ_CHECK(key.find('=') == CStdStr::npos);
        FUZZ_CHECK(key.size() + value.size() < line.size());
        FUZZ_CHECK(line.find(key) < eq && line.find(value, eq) != CStdStr::npos);
    }
    return 0;
}
