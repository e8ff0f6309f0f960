// Configuration data built from a devmode as an application could hand it in: byte 0 picks the
// model's environment (or none), the rest is the devmode, of any size.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "CfgEngine.h"
#include "ConfigData.h"
#include "FuzzCheck.h"
#include "ModelFixtures.h"

namespace {

// Elements at one level fill it exactly; a payload that parses as elements is walked too.
bool WellFormed(std::span<const std::uint8_t> data)
{
    std::size_t at = 0;
    while (at < data.size()) {
        const auto length = cfgdata::LoadU32(data, at + cfgdata::kLengthOffset);
        if (!length || *length < cfgdata::kHeaderSize || *length > data.size() - at)
            return false;
        at += *length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t modelIndex = data[0] & 3;
    using model::family::kModels;
    std::optional<fuzzfix::Environment> env;
    if (modelIndex < kModels.size())
        env = fuzzfix::ModelEnvironmentOf(kModels[modelIndex]);
    ConfigEnvironment* environment = env ? &*env : nullptr;

    const fuzzfix::Bytes devmode(data + 1, data + size);
    const fuzzfix::Bytes built = BuildConfigData(devmode, environment);
    if (built.empty())
        return 0;
    FUZZ_CHECK(WellFormed(built));

    // The data reads back into the devmode it came from. Finishing the read may bring the
    // devmode onto the model; after that, building and reading again changes nothing.
    fuzzfix::Bytes read = devmode;
    FUZZ_CHECK(ReadConfigData(built, read, 0, environment));
    const fuzzfix::Bytes rebuilt = BuildConfigData(read, environment);
    FUZZ_CHECK(!rebuilt.empty());
    fuzzfix::Bytes again = read;
    FUZZ_CHECK(ReadConfigData(rebuilt, again, 0, environment));
    FUZZ_CHECK(again == read);
    FUZZ_CHECK(BuildConfigData(again, environment) == rebuilt);
    return 0;
}
