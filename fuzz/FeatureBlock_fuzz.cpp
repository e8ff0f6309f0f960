// The feature block over hostile layouts, resources and pages: a layout (or one of the model's
// resources) from the input goes through the builder, the page edits that follow it are written
// into the block, and the block goes through the write-back and the refresh procedure.
//
// Byte 0: bits 0-1 the model (3: the first), bit 2 damages a resource the builder reads instead of
// replacing the layout, bits 3-4 the model flag words the refresh reads. Bytes 1-2: the length
// of the layout or resource that follows (byte 1 also picks the damaged resource). The rest:
// edits of three bytes each, a 16-bit offset into the block (from its end with the top bit set)
// and the byte stored there.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "DevmodeLayout.h"
#include "FeatureBlock.h"
#include "FuzzCheck.h"
#include "ModelFixtures.h"

using namespace feature;

namespace {

class Damaged final : public devmode::ModelResources {
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

// The sizes and identifiers of the records a walk meets, in order.
std::vector<std::uint32_t> Walk(std::span<const std::uint8_t> block)
{
    std::vector<std::uint32_t> records;
    std::size_t at = 0;
    while (at + kRecordHead <= block.size()) {
        const std::size_t size = Get16(block, at);
        if (size < kRecordHead || size > block.size() - at)
            break;
        records.push_back(std::uint32_t(size) << 16 | Get16(block, at + kRecordId));
        at += size;
    }
    return records;
}

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::size_t from, std::size_t to)
{
    return std::equal(a.begin() + from, a.begin() + to, b.begin() + from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const auto& m = model::family::kModels[(data[0] & 3) % model::family::kModels.size()];
    const bool damage = data[0] & 4;
    const std::size_t length = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
    const std::span<const std::uint8_t> part(data + 3, length);
    const std::span<const std::uint8_t> edits(data + 3 + length, size - 3 - length);

    const auto& read = fuzzfix::kFeatureResources[data[1] % std::size(fuzzfix::kFeatureResources)];
    const Damaged damaged(damage ? read.type : 0, model::SelectedName(m.description.*read.word), part);
    const devmode::ModelResources& resources = damage ? static_cast<const devmode::ModelResources&>(damaged)
                                                      : fuzzfix::Family();
    const auto layoutBytes =
        damage ? fuzzfix::Family().Selected(model::kFeatureLayoutType, m.description.featureLayout) : part;
    const auto items = ReadLayout(layoutBytes);
    if (!items)
        return 0;
    for (const model::FeatureItem& item : *items) {
        FUZZ_CHECK(item.feature >= kFirstId && item.feature <= kLastId && item.feature != kHeaderId);
        FUZZ_CHECK(item.type >= kFirstType && item.type <= kLastType);
    }

    const fuzzfix::Bytes working = fuzzfix::DevmodeOf(m);
    BuildSource source;
    source.working = working;
    source.defaults = working;
    source.resources = &resources;
    source.userName = "fuzz user name longer than the field";
    const std::size_t blockSize = BlockSize(*items);
    fuzzfix::Bytes small(blockSize - 1);
    FUZZ_CHECK(!BuildBlock(small, *items, source));
    fuzzfix::Bytes block(blockSize);
    FUZZ_CHECK(BuildBlock(block, *items, source));
    fuzzfix::Bytes again(blockSize);
    BuildBlock(again, *items, source);
    FUZZ_CHECK(block == again);

    // The header, every item in layout order (no entry wrote over the next one's head), the end
    // record.
    std::vector<std::uint32_t> expected{std::uint32_t(kHeaderSize) << 16 | std::uint32_t(kHeaderId)};
    std::size_t at = kHeaderSize;
    for (const model::FeatureItem& item : *items)
        if (const std::size_t n = EntrySize(item.type)) {
            expected.push_back(std::uint32_t(n) << 16 | std::uint32_t(item.feature));
            at += n;
        }
    FUZZ_CHECK(Walk(block) == expected);
    FUZZ_CHECK(at + kBlockSlack == blockSize && Get16(block, at) == 0);

    // What the pages did to it.
    // An offset with its top bit set counts from the block's end, where the end record is.
    for (std::size_t i = 0; i + 3 <= edits.size(); i += 3) {
        const std::size_t raw = std::size_t(edits[i] | edits[i + 1] << 8);
        const std::size_t offset = (raw & 0x8000) ? blockSize - 1 - (raw & 0x7FFF) % blockSize : raw % blockSize;
        block[offset] = edits[i + 2];
    }

    fuzzfix::Bytes written = working;
    WriteBack(block, written, resources);
    namespace dm = devmode;
    // The write-back keeps the devmode's frame: version, sizes, signatures, names and the model
    // record but for the two toolkit words.
    FUZZ_CHECK(SameBytes(written, working, dm::dmSpecVersion.offset, dm::dmFields.offset));
    FUZZ_CHECK(SameBytes(written, working, dm::kSignature1.offset, dm::kSignature1.end()));
    FUZZ_CHECK(SameBytes(written, working, dm::kModelName.offset, dm::kLayoutVersion.end()));
    FUZZ_CHECK(SameBytes(written, working, dm::kModelRecord.offset, dm::kToolkitOption1.offset));
    FUZZ_CHECK(SameBytes(written, working, dm::kToolkitOption2.end(), dm::kSignature2.end()));
    FUZZ_CHECK(SameBytes(written, working, dm::kSignature3.offset, dm::kSignature3.end()));

    const std::vector<std::uint32_t> before = Walk(block);
    const RefreshModel model{std::uint16_t(data[0] & 8 ? kFontHandling4Allowed : 0),
                             std::uint16_t(data[0] & 16 ? kAccountKeepsIdentity : 0)};
    Refresh(block, model);
    FUZZ_CHECK(Walk(block) == before);
    at = 0;
    for (const std::uint32_t record : before) {
        if ((record & 0xFFFF) != kHeaderId && (record >> 16) > kChanged)
            FUZZ_CHECK(block[at + kChanged] == 0);
        at += record >> 16;
    }
    return 0;
}
