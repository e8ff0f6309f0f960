// A stored record list, then a program of edits as the list settings make them. The list stays
// well formed throughout: stored again and read back, nothing of it is cut.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "RecordList.h"

namespace {

using recordlist::Field;
using recordlist::RecordList;
using Bytes = std::vector<std::uint8_t>;

void CheckWellFormed(const RecordList& list)
{
    RecordList reread(list.Bytes());
    FUZZ_CHECK(!reread.Truncated());
    FUZZ_CHECK(reread.Bytes() == list.Bytes());
    std::size_t total = 0;
    for (bool more = reread.Rewind(); more; more = reread.Next()) {
        const std::size_t length = std::size_t(list.Bytes()[total]) | std::size_t(list.Bytes()[total + 1]) << 8;
        FUZZ_CHECK(length >= recordlist::kEmptyRecord);
        total += length;
        for (std::int16_t key = -2; key <= 8; ++key) {
            const auto field = reread.FieldData(key);
            FUZZ_CHECK(!field || key != 0);
            if (field) {
                FUZZ_CHECK(field->data() >= reread.Bytes().data() + total - length);
                FUZZ_CHECK(field->data() + field->size() <= reread.Bytes().data() + total);
                FUZZ_CHECK(reread.FieldText(key)->size() <= field->size());
                FUZZ_CHECK(reread.FieldUInt16(key).has_value() == (field->size() >= 2));
                FUZZ_CHECK(reread.FieldUInt32(key).has_value() == (field->size() >= 4));
            }
        }
    }
    FUZZ_CHECK(total == list.Bytes().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    Bytes stored = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, size));
    RecordList list(stored);
    FUZZ_CHECK(list.Bytes().size() <= stored.size());
    FUZZ_CHECK(std::equal(list.Bytes().begin(), list.Bytes().end(), stored.begin()));
    FUZZ_CHECK(list.Truncated() == (list.Bytes().size() != stored.size()));
    FUZZ_CHECK(!list.Changed());
    CheckWellFormed(list);

    list.Rewind();
    // A few dozen edits reach every state; more only slow the run.
    for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
        const std::size_t sizeBefore = list.Bytes().size();
        switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0:
            list.Rewind();
            break;
        case 1:
            list.Next();
            break;
        case 2:
            list.DeleteCurrent();
            FUZZ_CHECK(list.Bytes().size() <= sizeBefore);
            break;
        case 3:
            list.Clear();
            FUZZ_CHECK(list.Empty() && !list.HasCurrent());
            break;
        case 4: {
            std::vector<Bytes> datas;
            std::vector<std::int16_t> keys;
            const int n = in.ConsumeIntegralInRange(0, 4);
            for (int i = 0; i < n; ++i) {
                keys.push_back(in.ConsumeIntegral<std::int16_t>());
                // Now and then a field too long for the record's length.
                const std::size_t length = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0xFFF0, 0x10010)
                                                            : in.ConsumeIntegralInRange<std::size_t>(0, 24);
                Bytes d = in.ConsumeBytes<std::uint8_t>(length);
                d.resize(length, 0x5A);
                datas.push_back(std::move(d));
            }
            std::vector<Field> fields;
            for (int i = 0; i < n; ++i)
                fields.push_back({keys[i], datas[i]});
            const std::size_t length = recordlist::RecordLength(fields);
            std::size_t expected = recordlist::kEmptyRecord;
            for (const Bytes& d : datas)
                expected += d.size() + recordlist::kFieldOverhead;
            FUZZ_CHECK(length == (expected <= 0xFFFF ? expected : 0));
            const bool keysOk = std::find(keys.begin(), keys.end(), 0) == keys.end();
            const bool ok = list.Append(fields);
            FUZZ_CHECK(ok == (keysOk && length != 0));
            if (!ok) {
                FUZZ_CHECK(list.Bytes().size() == sizeBefore);
                break;
            }
            FUZZ_CHECK(list.Changed() && list.HasCurrent());
            FUZZ_CHECK(list.Bytes().size() == sizeBefore + length);
            for (const Field& f : fields) {
                const auto first = std::find_if(fields.begin(), fields.end(), [&](const Field& g) { return g.key == f.key; });
                const auto got = list.FieldData(f.key);
                FUZZ_CHECK(got && std::equal(got->begin(), got->end(), first->data.begin(), first->data.end()));
            }
            break;
        }
        }
        CheckWellFormed(list);
    }
    return 0;
}
