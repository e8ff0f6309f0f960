// The engine's rules on small tables of its own: operation bits, passes, claiming, containers,
// hard failures.
#include <gtest/gtest.h>

#include "CfgEngine.h"
#include "CfgTestUtil.h"

using namespace cfgtest;

namespace {

constexpr std::uint32_t kAllBits = 0xFFFFFFFFu;

const MapPair kSmallPairs[] = {{1, 1}, {2, 2}, {3, 3}};
const ValueMap kSmallMap{kSmallPairs};
const MapParam kField300{{300, 1}, 4, &kSmallMap};
const MapParam kField301{{301, 1}, 4, &kSmallMap};

CfgEntry MapEntry(std::uint32_t id, const MapParam& p, std::uint32_t pass = 7, std::uint32_t op = 1,
                  std::uint32_t mask = kAllBits)
{
    return {id, mask, pass, op, ConvKind::Map, ConvParam{.map = &p}};
}

struct EngineRun {
    Bytes devmode = Bytes(dm::kSize, 0);
    ElementCursor cursor;
    CfgWork work;

    explicit EngineRun(std::uint32_t opMask, Bytes data = {}) : cursor(std::span<const std::uint8_t>(data))
    {
        work.devmode = devmode;
        work.opMask = opMask;
        work.cursor = &cursor;
    }
    EngineRun(std::uint32_t opMask, std::size_t maxBytes) : cursor(maxBytes)
    {
        work.devmode = devmode;
        work.opMask = opMask;
        work.cursor = &cursor;
    }
    Bytes Data() const { return {cursor.data().begin(), cursor.data().end()}; }
};

TEST(CfgEngine, OperationBitOfAnEntry)
{
    struct Case {
        std::uint32_t entryOp;
        std::uint32_t runOp;
        std::uint16_t flags394;
        std::uint32_t bit;
    };
    const Case cases[] = {
        {1, 3, 0, 1},
        {2, 3, 0, 2},
        {4, 3, 0, 0},
        {0x100, kOpAll, 0, 0x100},
        {kOpAll, 1, 4, 1},  // all bits: never remapped
        {kOpAll, 2, 0, 2},
        // Both bits 0 and 1: one of them, chosen by bit 2 of the model flag word at 394.
        {3, 3, 0, 1},
        {3, 3, 4, 2},
        {3, 1, 4, 0},
        {3, 2, 0, 0},
        {3, 2, 0xFFFB, 0},
        {7, 4, 4, 4},
        {7, 3, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "entry op " << c.entryOp << " run op " << c.runOp
                                          << " flags " << c.flags394);
        const CfgEntry e = MapEntry(1, kField300, 7, c.entryOp);
        EXPECT_EQ(EntryOperationBit(e, c.runOp, c.flags394), c.bit);
    }
}

// Two entries store the same byte; the one of the later pass wins whatever the data's order.
TEST(CfgEngine, ReadingConvertsByPassNotByDataOrder)
{
    const CfgEntry entries[] = {
        MapEntry(0x21, kField300, 4),
        MapEntry(0x22, kField300, 1),
        MapEntry(0x23, kField300, 2),
    };
    const CfgTable table{entries};
    const Bytes orders[] = {
        Cat({Val(0x21, 1), Val(0x22, 2), Val(0x23, 3)}),
        Cat({Val(0x23, 3), Val(0x21, 1), Val(0x22, 2)}),
        Cat({Val(0x22, 2), Val(0x23, 3), Val(0x21, 1)}),
    };
    for (const Bytes& data : orders) {
        EngineRun run(kOpRead, data);
        EXPECT_EQ(ReadCfgTable(table, run.work), kCfgDone);
        EXPECT_EQ(run.devmode[300], 1);
    }
}

TEST(CfgEngine, FirstClaimingEntryTakesTheElement)
{
    const CfgEntry entries[] = {
        MapEntry(0x10000, kField301, 7, 4, 0xFFFF0000u),  // not in this run's operation
        MapEntry(0x10000, kField300, 7, 1, 0xFFFF0000u),  // the class of 0x10000
        MapEntry(0x10005, kField301),
    };
    const CfgTable table{entries};
    struct Case {
        std::uint32_t id;
        int byte300;
        int byte301;
    };
    const Case cases[] = {{0x10005, 2, 0}, {0x10000, 2, 0}, {0x1FFFF, 2, 0}, {0x20005, 0, 0}, {5, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.id));
        EngineRun run(1, Val(c.id, 2));
        ReadCfgTable(table, run.work);
        EXPECT_EQ(run.devmode[300], c.byte300);
        EXPECT_EQ(run.devmode[301], c.byte301);
    }
}

TEST(CfgEngine, AnUnclaimedElementIsSkipped)
{
    const CfgEntry entries[] = {MapEntry(0x21, kField300)};
    const CfgTable table{entries};
    EngineRun run(kOpRead, Cat({Elem(0x99, {Val(0x21, 3)}), Val(0x21, 2)}));
    EXPECT_EQ(ReadCfgTable(table, run.work), kCfgDone);
    EXPECT_EQ(run.devmode[300], 2);
}

TEST(CfgEngine, AContainerIsKeptOnlyWhenAChildWrote)
{
    const CfgEntry childrenA[] = {MapEntry(1, kField300), MapEntry(2, kField301)};
    const CfgTable tableA{childrenA};
    const CfgEntry childrenB[] = {MapEntry(1, kField301, 7, 4)};
    const CfgTable tableB{childrenB};
    const CfgEntry top[] = {
        {0x30, kAllBits, 4, 1, ConvKind::Container, ConvParam{.table = &tableA}},
        {0x31, kAllBits, 4, 1, ConvKind::Container, ConvParam{.table = &tableB}},
        {0x32, kAllBits, 4, 4, ConvKind::Container, ConvParam{.table = &tableA}},
    };
    const CfgTable table{top};

    EngineRun run(kOpBuild, std::size_t(0xFFFF));
    run.devmode[301] = 3;  // 300 holds 0: not in the map
    EXPECT_EQ(WriteCfgTable(table, run.work, kPassAll), kCfgDone);
    EXPECT_EQ(run.Data(), Elem(0x30, {Val(2, 3)}));

    EngineRun none(kOpBuild, std::size_t(0xFFFF));
    EXPECT_EQ(WriteCfgTable(table, none.work, kPassAll), kCfgNothing);
    EXPECT_TRUE(none.Data().empty());
}

int g_keyCalls = 0;
bool CountingKey(const CfgWork&, std::int32_t& key)
{
    ++g_keyCalls;
    key = 1;
    return true;
}

TEST(CfgEngine, AHardFailureStopsTheTable)
{
    const CallbackMapParam counted{CountingKey, nullptr, 4, &kSmallMap};
    const CfgEntry top[] = {
        MapEntry(0x21, kField300),
        MapEntry(0x22, kField300),
        {0x23, kAllBits, 7, 1, ConvKind::CallbackMap, ConvParam{.callbackMap = &counted}},
    };
    const CfgTable table{top};

    g_keyCalls = 0;
    EngineRun roomy(kOpBuild, std::size_t(36));
    roomy.devmode[300] = 1;
    EXPECT_EQ(WriteCfgTable(table, roomy.work, kPassAll), kCfgDone);
    EXPECT_EQ(roomy.Data(), Cat({Val(0x21, 1), Val(0x22, 1), Val(0x23, 1)}));
    EXPECT_EQ(g_keyCalls, 1);

    g_keyCalls = 0;
    EngineRun run(kOpBuild, std::size_t(20));  // room for one value element of 12 bytes
    run.devmode[300] = 1;
    EXPECT_LT(WriteCfgTable(table, run.work, kPassAll), 0);
    EXPECT_EQ(run.cursor.error(), ElementCursor::ErrMemory);
    EXPECT_EQ(g_keyCalls, 0) << "the entry after the failure ran";
}

}  // namespace
