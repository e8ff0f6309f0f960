#include <gtest/gtest.h>

#include "CfgTestUtil.h"
#include "ElementCursor.h"

using namespace cfgtest;

namespace {

const Bytes kFive = {5, 0, 0, 0};

// 1 { 0x12 { 1 = 5 } }
const Bytes kCopiesGolden = {
    0x01, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00,  //
    0x12, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,  //
    0x01, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00,  //
    0x05, 0x00, 0x00, 0x00,
};

Bytes Data(const ElementCursor& c)
{
    const auto d = c.data();
    return {d.begin(), d.end()};
}

TEST(ElementCursor, WritingStoresEachElementsFinalLength)
{
    ElementCursor c;
    EXPECT_TRUE(c.BeginElement(1));
    EXPECT_TRUE(c.BeginElement(0x12));
    EXPECT_TRUE(c.BeginElement(1));
    EXPECT_TRUE(c.WriteValue(kFive));
    EXPECT_TRUE(c.EndElement());
    EXPECT_TRUE(c.EndElement());
    EXPECT_TRUE(c.EndElement());
    EXPECT_EQ(Data(c), kCopiesGolden);
    EXPECT_EQ(c.depth(), 0u);
    EXPECT_FALSE(c.EndElement()) << "nothing is open";
    EXPECT_EQ(c.error(), ElementCursor::ErrNone);
}

TEST(ElementCursor, AbandonRemovesTheElementWithItsChildren)
{
    ElementCursor c;
    c.BeginElement(1);
    c.BeginElement(0x12);
    c.BeginElement(1);
    c.WriteValue(kFive);
    c.EndElement();
    c.EndElement();
    c.BeginElement(0xB);
    c.BeginElement(2);
    c.WriteValue(kFive);
    c.EndElement();
    EXPECT_TRUE(c.AbandonElement());  // 0xB with its child 2
    c.EndElement();
    EXPECT_EQ(Data(c), kCopiesGolden);
}

TEST(ElementCursor, WritingOperationsNeedAnElementBeingWritten)
{
    ElementCursor c(kCopiesGolden);
    std::uint32_t id = 0;
    ASSERT_TRUE(c.NextElement(id));
    EXPECT_FALSE(c.WriteValue(kFive));
    EXPECT_FALSE(c.AbandonElement());
    EXPECT_EQ(Data(c), kCopiesGolden);

    ElementCursor empty;
    EXPECT_FALSE(empty.WriteValue(kFive)) << "no element open";
    EXPECT_FALSE(empty.AbandonElement());
    EXPECT_EQ(empty.error(), ElementCursor::ErrNone);
}

TEST(ElementCursor, BufferIsAllocatedOnceAndGrownByAtLeastAPage)
{
    ElementCursor c;
    EXPECT_EQ(c.capacity(), 0u);
    c.BeginElement(1);
    EXPECT_EQ(c.capacity(), ElementCursor::kFirstBytes);
    // Fill to exactly the first allocation: no growth yet.
    Bytes block(ElementCursor::kFirstBytes - 8, 0xAB);
    EXPECT_TRUE(c.WriteValue(block));
    EXPECT_EQ(c.capacity(), ElementCursor::kFirstBytes);
    EXPECT_TRUE(c.WriteValue(kFive));
    EXPECT_EQ(c.capacity(), ElementCursor::kFirstBytes + ElementCursor::kGrowBytes);
    // A write larger than a page grows by what it needs.
    const std::size_t before = c.capacity();
    const std::size_t used = c.data().size();
    Bytes big(10000, 0xCD);
    EXPECT_TRUE(c.WriteValue(big));
    EXPECT_EQ(c.capacity(), before + (used + big.size() - before));
    EXPECT_TRUE(c.EndElement());
    EXPECT_EQ(GetU32(Data(c), 4), c.data().size());
}

TEST(ElementCursor, AFailedAllocationFailsEveryLaterOperation)
{
    ElementCursor c(64);
    ASSERT_TRUE(c.BeginElement(1));
    EXPECT_TRUE(c.WriteValue(Bytes(56, 1)));
    EXPECT_FALSE(c.WriteValue(kFive));
    EXPECT_EQ(c.error(), ElementCursor::ErrMemory);
    EXPECT_FALSE(c.EndElement());
    EXPECT_FALSE(c.AbandonElement());
    EXPECT_FALSE(c.BeginElement(2));
    std::uint32_t id = 0;
    EXPECT_FALSE(c.NextElement(id));
    EXPECT_FALSE(c.Rewind());
    EXPECT_EQ(c.data().size(), 64u);
}

TEST(ElementCursor, SlotsGrowBySixUpToTheBlockLimit)
{
    ElementCursor c;
    EXPECT_EQ(c.slotCapacity(), 6u);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(c.BeginElement(1));
    EXPECT_EQ(c.slotCapacity(), 6u);
    ASSERT_TRUE(c.BeginElement(1));
    EXPECT_EQ(c.slotCapacity(), 12u);
    while (c.depth() < ElementCursor::kMaxSlots)
        ASSERT_TRUE(c.BeginElement(1)) << "depth " << c.depth();
    EXPECT_LT(ElementCursor::kSlotHeaderBytes + ElementCursor::kSlotBytes * c.slotCapacity(), 65535u);
    EXPECT_FALSE(c.BeginElement(1));
    EXPECT_EQ(c.error(), ElementCursor::ErrSlots);
    EXPECT_EQ(c.depth(), ElementCursor::kMaxSlots);
    EXPECT_FALSE(c.EndElement());
}

TEST(ElementCursor, ReadingWalksTheTreeAndRewinds)
{
    const Bytes data = Elem(1, {Val(0x12, 5), Raw(0xB, {1, 2}), Val(0xD, 0x01020304)});
    ElementCursor c(data);
    std::uint32_t id = 0;
    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 1u);

    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 0x12u);
    std::uint8_t two[2] = {};
    EXPECT_EQ(c.ReadValue(two), 2u);
    EXPECT_EQ(two[0], 5);
    std::uint8_t eight[8] = {};
    EXPECT_EQ(c.ReadValue(eight), 2u) << "only what is left of the element";
    EXPECT_EQ(c.ReadValue(eight), 0u);
    EXPECT_TRUE(c.EndElement());

    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 0xBu);
    EXPECT_TRUE(c.EndElement()) << "ending skips what was not read";
    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 0xDu);
    EXPECT_TRUE(c.EndElement());
    EXPECT_FALSE(c.NextElement(id)) << "the end of element 1";

    EXPECT_TRUE(c.Rewind());
    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 0x12u);
    EXPECT_TRUE(c.EndElement());
    EXPECT_TRUE(c.EndElement());
    EXPECT_FALSE(c.NextElement(id)) << "the end of the data";
    EXPECT_TRUE(c.Rewind());
    ASSERT_TRUE(c.NextElement(id));
    EXPECT_EQ(id, 1u);
}

// An element that cannot be read ends the reading of its container, and only of it: the
// container's next sibling is still read.
TEST(ElementCursor, AMalformedElementEndsItsContainerOnly)
{
    struct Case {
        const char* name;
        Bytes inside;
    };
    Bytes overrun = Val(2, 7);
    overrun[4] = 13;  // one byte past the container
    Bytes zero = Val(2, 7);
    zero[4] = 0;
    Bytes seven = Val(2, 7);
    seven[4] = 7;
    Bytes huge = Val(2, 7);
    huge[7] = 0xFF;
    const Case cases[] = {
        {"length 0", zero},
        {"length 7", seven},
        {"overrun by one", overrun},
        {"length near 4 GB", huge},
        {"header cut", Bytes{2, 0, 0, 0, 12, 0, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Bytes data = Cat({Raw(1, Cat({Val(3, 9), k.inside})), Val(4, 1)});
        ElementCursor c(data);
        std::uint32_t id = 0;
        ASSERT_TRUE(c.NextElement(id));
        ASSERT_TRUE(c.NextElement(id));
        EXPECT_EQ(id, 3u);
        EXPECT_TRUE(c.EndElement());
        EXPECT_FALSE(c.NextElement(id));
        EXPECT_FALSE(c.NextElement(id)) << "fails again, does not step";
        EXPECT_EQ(c.depth(), 1u);
        EXPECT_EQ(c.error(), ElementCursor::ErrNone);
        EXPECT_TRUE(c.EndElement());
        ASSERT_TRUE(c.NextElement(id));
        EXPECT_EQ(id, 4u);
    }
}

TEST(ElementCursor, DeepNestingStopsAtTheSlotLimit)
{
    const std::size_t depth = ElementCursor::kMaxSlots + 100;
    Bytes data(depth * 8);
    for (std::size_t i = 0; i < depth; ++i) {
        data[i * 8] = 0xC1;
        const auto len = std::uint32_t((depth - i) * 8);
        for (int b = 0; b < 4; ++b)
            data[i * 8 + 4 + b] = std::uint8_t(len >> (8 * b));
    }
    ElementCursor c(data);
    std::uint32_t id = 0;
    std::size_t opened = 0;
    while (c.NextElement(id))
        ++opened;
    EXPECT_EQ(opened, ElementCursor::kMaxSlots);
    EXPECT_EQ(c.error(), ElementCursor::ErrSlots);
}

}  // namespace
