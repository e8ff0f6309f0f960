// Stored configuration data read into the devmode of one of the family's models. Byte 0 selects
// the model (or none), the mode and the code page; the rest is the data.
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
    const fuzzfix::Selector selected = fuzzfix::Select(data[0]);
    const std::uint32_t mode = selected.mode;
    const std::span<const std::uint8_t> stored(data + 1, size - 1);

    using model::family::kModels;
    std::optional<model::ModelEnvironment> env;
    fuzzfix::Bytes devmode = fuzzfix::DevmodeOf(kModels[selected.model < kModels.size() ? selected.model : 0]);
    if (selected.model < kModels.size())
        env = fuzzfix::ModelEnvironmentOf(kModels[selected.model], selected.codePage);
    ConfigEnvironment* environment = env ? &*env : nullptr;

    const fuzzfix::Bytes before = devmode;
    if (!ReadConfigData(stored, devmode, mode, environment)) {
        FUZZ_CHECK(devmode == before);
        return 0;
    }

    // What the read left builds data that reads back and builds the same data again. (Not the
    // same devmode: a map may give several devmode values one data value, as the finishing
    // flags do, and the read gives back the first.)
    const fuzzfix::Bytes built = BuildConfigData(devmode, environment, kOpBuild, mode);
    if (built.empty())
        return 0;
    fuzzfix::Bytes again = devmode;
    FUZZ_CHECK(ReadConfigData(built, again, mode, environment));
    FUZZ_CHECK(BuildConfigData(again, environment, kOpBuild, mode) == built);
    return 0;
}
