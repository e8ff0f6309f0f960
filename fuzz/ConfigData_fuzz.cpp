// Stored configuration data read into the devmode of one of the family's models. Byte 0 picks
// the model (or none) and the read mode; the rest is the data.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "CfgEngine.h"
#include "FuzzCheck.h"
#include "ModelFixtures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t modelIndex = data[0] & 3;
    const std::uint32_t mode = data[0] >> 2;
    const std::span<const std::uint8_t> stored(data + 1, size - 1);

    using model::family::kModels;
    std::optional<fuzzfix::Environment> env;
    fuzzfix::Bytes devmode = fuzzfix::DevmodeOf(kModels[modelIndex < kModels.size() ? modelIndex : 0]);
    if (modelIndex < kModels.size())
        env = fuzzfix::ModelEnvironmentOf(kModels[modelIndex]);
    ConfigEnvironment* environment = env ? &*env : nullptr;

    const fuzzfix::Bytes before = devmode;
    if (!ReadConfigData(stored, devmode, mode, environment)) {
        FUZZ_CHECK(devmode == before);
        return 0;
    }

    // What the read left builds data that reads back and builds the same data again. (Not the
    // same devmode: a map may give several devmode values one data value, as the finishing
    // flags do, and the read gives back the first.)
    const fuzzfix::Bytes built = BuildConfigData(devmode, environment);
    if (built.empty())
        return 0;
    fuzzfix::Bytes again = devmode;
    FUZZ_CHECK(ReadConfigData(built, again, mode, environment));
    FUZZ_CHECK(BuildConfigData(again, environment) == built);
    return 0;
}
