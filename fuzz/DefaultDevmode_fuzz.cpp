// The default builder over a model whose library carries one damaged resource: byte 0 picks the
// model and the resource type, the rest replaces the resource the model's description selects
// (for type 260, the description itself).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "DefaultDevmode.h"
#include "DevmodeLayout.h"
#include "FuzzCheck.h"
#include "ModelFixtures.h"

using namespace devmode;

namespace {

// The family's resources with one replaced.
class Damaged final : public ModelResources {
public:
    Damaged(int type, int name, std::span<const std::uint8_t> bytes) : type_(type), name_(name), bytes_(bytes) {}
    std::span<const std::uint8_t> Resource(int type, int name) const override
    {
        return type == type_ && name == name_ ? bytes_ : fuzzfix::Family().Resource(type, name);
    }

private:
    int type_;
    int name_;
    std::span<const std::uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    using model::family::kModels;
    const std::size_t number = (data[0] & 3) % kModels.size();
    const auto& m = kModels[number];
    const auto& damaged = fuzzfix::kBuilderResources[(data[0] >> 2) % std::size(fuzzfix::kBuilderResources)];
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);

    const Damaged resources(damaged.type, fuzzfix::ResourceName(damaged, number), bytes);
    fuzzfix::Bytes description;
    model::AppendRecord(description, m.description);

    Buffer d{};
    SetText(d, kModelName, m.name);
    SetWideText(d, dmDeviceName, u"Qelbrin");
    SetText(d, kPrinterName, "Office");
    DefaultsInput in;
    in.displayName = m.name;
    in.description = damaged.word ? std::span<const std::uint8_t>(description) : bytes;
    in.codePage = 1252;
    in.name = m.name;
    in.codePageSupported = fuzzfix::Supports1252;
    BuildDefaultDevmode(d, in, resources);

    // Whatever the resources hold, the result is a devmode of this driver with its checksum, the
    // names the caller put in, and a print quality its Y resolution repeats.
    FUZZ_CHECK(IsDriverDevmode(d));
    FUZZ_CHECK(ChecksumMatches(d));
    FUZZ_CHECK(GetText(d, kModelName) == m.name && GetText(d, kPrinterName) == "Office" &&
               GetWideText(d, dmDeviceName) == u"Qelbrin");
    FUZZ_CHECK(Get(d, dmYResolution) == Get(d, dmPrintQuality));
    // Built again over itself, it comes out the same.
    Buffer again = d;
    BuildDefaultDevmode(again, in, resources);
    FUZZ_CHECK(again == d);
    return 0;
}
