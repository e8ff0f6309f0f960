// Configuration data built from a devmode as an application could hand it in: byte 0 selects the
// model's environment (or none), the mode and the code page; the rest is the devmode, of any size.
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
    const fuzzfix::Selector selected = fuzzfix::Select(data[0]);
    const std::uint32_t mode = selected.mode;
    using model::family::kModels;
    std::optional<model::ModelEnvironment> env;
    if (selected.model < kModels.size())
        env = fuzzfix::ModelEnvironmentOf(kModels[selected.model], selected.codePage);
    ConfigEnvironment* environment = env ? &*env : nullptr;

    const fuzzfix::Bytes devmode(data + 1, data + size);
    const fuzzfix::Bytes built = BuildConfigData(devmode, environment, kOpBuild, mode);
    if (built.empty())
        return 0;
    FUZZ_CHECK(WellFormed(built));

    // The data reads back into the devmode it came from. Finishing the read may bring the
    // devmode onto the model; after that, building and reading again changes nothing.
    fuzzfix::Bytes read = devmode;
    FUZZ_CHECK(ReadConfigData(built, read, mode, environment));
    const fuzzfix::Bytes rebuilt = BuildConfigData(read, environment, kOpBuild, mode);
    FUZZ_CHECK(!rebuilt.empty());
    fuzzfix::Bytes again = read;
    FUZZ_CHECK(ReadConfigData(rebuilt, again, mode, environment));
    FUZZ_CHECK(again == read);
    FUZZ_CHECK(BuildConfigData(again, environment, kOpBuild, mode) == rebuilt);
    return 0;
}
