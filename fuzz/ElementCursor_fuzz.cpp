// A program of cursor operations over stored data or an empty buffer, checked against a model of
// the elements written: whenever no written element is open, the data is the stored bytes and
// then every element closed so far, each with its final length.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ConfigData.h"
#include "ElementCursor.h"
#include "FuzzCheck.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Open {
    bool write;
    std::uint32_t id;
    Bytes payload;
};

void AppendElement(Bytes& out, const Open& e)
{
    const std::size_t at = out.size();
    out.resize(at + cfgdata::kHeaderSize);
    cfgdata::StoreU32(out, at + cfgdata::kIdOffset, e.id);
    cfgdata::StoreU32(out, at + cfgdata::kLengthOffset, std::uint32_t(cfgdata::kHeaderSize + e.payload.size()));
    out.insert(out.end(), e.payload.begin(), e.payload.end());
}

// Every element of a level, and of the levels inside it, as the reader sees them.
void Walk(ElementCursor& c, int depth)
{
    std::uint32_t id = 0;
    while (c.NextElement(id)) {
        std::uint8_t value[4];
        FUZZ_CHECK(c.ReadValue(value) <= sizeof value);
        FUZZ_CHECK(c.Rewind());
        if (depth < 64)
            Walk(c, depth + 1);
        FUZZ_CHECK(c.EndElement());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool stored = in.ConsumeBool();
    Bytes initial;
    std::unique_ptr<ElementCursor> cursor;
    if (stored) {
        initial = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 2048));
        cursor = std::make_unique<ElementCursor>(initial);
    } else {
        // A small cap reaches the allocation failure paths.
        const bool capped = in.ConsumeBool();
        cursor = std::make_unique<ElementCursor>(capped ? in.ConsumeIntegralInRange<std::size_t>(0, 256)
                                                        : std::size_t(0xFFFFFFFFu));
    }
    ElementCursor& c = *cursor;

    std::vector<Open> stack;
    Bytes closed;
    while (in.remaining_bytes() > 0) {
        const bool failed = c.error() != ElementCursor::ErrNone;
        const bool topWrite = !stack.empty() && stack.back().write;
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            const std::uint32_t id = in.ConsumeIntegral<std::uint32_t>();
            const bool ok = c.BeginElement(id);
            FUZZ_CHECK(!ok || !failed);
            if (ok)
                stack.push_back({true, id, {}});
            break;
        }
        case 1: {
            const Bytes bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 16));
            const bool ok = c.WriteValue(bytes);
            FUZZ_CHECK(!ok || (!failed && topWrite));
            FUZZ_CHECK(ok || failed || !topWrite || !bytes.empty());
            if (ok)
                stack.back().payload.insert(stack.back().payload.end(), bytes.begin(), bytes.end());
            break;
        }
        case 2: {
            const bool ok = c.EndElement();
            FUZZ_CHECK(ok == (!failed && !stack.empty()));
            if (ok) {
                const Open top = std::move(stack.back());
                stack.pop_back();
                if (top.write)
                    AppendElement(!stack.empty() && stack.back().write ? stack.back().payload : closed, top);
            }
            break;
        }
        case 3: {
            const bool ok = c.AbandonElement();
            FUZZ_CHECK(ok == (!failed && topWrite));
            if (ok)
                stack.pop_back();
            break;
        }
        case 4: {
            std::uint32_t id = 0;
            const bool ok = c.NextElement(id);
            FUZZ_CHECK(!ok || (!failed && !topWrite));
            if (ok)
                stack.push_back({false, id, {}});
            break;
        }
        case 5: {
            std::uint8_t out[16];
            const std::size_t want = in.ConsumeIntegralInRange<std::size_t>(0, sizeof out);
            const std::size_t got = c.ReadValue(std::span(out, want));
            FUZZ_CHECK(got <= want);
            FUZZ_CHECK(got == 0 || (!failed && !topWrite));
            break;
        }
        case 6: {
            const bool ok = c.Rewind();
            FUZZ_CHECK(!ok || (!failed && !topWrite));
            break;
        }
        }
        // Errors stick.
        FUZZ_CHECK(!failed || c.error() != ElementCursor::ErrNone);
        FUZZ_CHECK(c.depth() == stack.size());
        FUZZ_CHECK(c.depth() <= c.slotCapacity() && c.slotCapacity() <= ElementCursor::kMaxSlots);
        FUZZ_CHECK(c.data().size() <= c.capacity());

        const bool writeOpen = !stack.empty() && stack.back().write;
        if (!writeOpen && c.error() == ElementCursor::ErrNone) {
            Bytes expected = initial;
            expected.insert(expected.end(), closed.begin(), closed.end());
            FUZZ_CHECK(c.data().size() == expected.size());
            FUZZ_CHECK(std::equal(expected.begin(), expected.end(), c.data().begin()));
        }
    }

    // Whatever was written reads back as a tree.
    if (c.error() == ElementCursor::ErrNone) {
        ElementCursor reader(c.data());
        Walk(reader, 0);
        FUZZ_CHECK(reader.depth() == 0 && reader.error() == ElementCursor::ErrNone);
    }
    return 0;
}
