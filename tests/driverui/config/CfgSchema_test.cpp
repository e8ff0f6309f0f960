// The device configuration table as data: what each entry may carry, and where the special entries
// (the feature handlers) sit.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "CfgTable.h"
#include "CfgTestUtil.h"

using namespace cfgtest;

namespace {

std::string PathText(const std::vector<std::uint32_t>& path)
{
    std::string text;
    for (std::uint32_t id : path)
        text += (text.empty() ? "" : "/") + Hex(id);
    return text;
}

// Calls f(entry, path, parent) for every entry below the top level's container.
void Walk(const CfgTable& table, std::vector<std::uint32_t>& path, const CfgEntry* parent,
          const std::function<void(const CfgEntry&, const std::string&, const CfgEntry*)>& f)
{
    for (const CfgEntry& e : table.entries) {
        path.push_back(e.id);
        f(e, PathText(path), parent);
        if (e.kind == ConvKind::Container)
            Walk(*e.param.table, path, &e, f);
        path.pop_back();
    }
}

void WalkAll(const std::function<void(const CfgEntry&, const std::string&, const CfgEntry*)>& f)
{
    std::vector<std::uint32_t> path;
    Walk(TopLevelCfgTable(), path, nullptr, f);
}

void ExpectFieldInside(dm::Field f)
{
    EXPECT_LE(f.offset + dm::WidthBytes(f.width), dm::kSize);
}

TEST(CfgSchema, RootIsOneContainerOfTheTopLevel)
{
    const CfgTable& root = RootCfgTable();
    ASSERT_EQ(root.entries.size(), 1u);
    const CfgEntry& e = root.entries[0];
    EXPECT_EQ(e.id, 1u);
    EXPECT_EQ(e.mask, 0xFFFFFFFFu);
    EXPECT_EQ(e.passMask, 7u);
    EXPECT_EQ(e.opMask, 0x3FFu);
    ASSERT_EQ(e.kind, ConvKind::Container);
    EXPECT_EQ(e.param.table, &TopLevelCfgTable());
    EXPECT_EQ(TopLevelCfgTable().entries.size(), 69u);
}

// Pass 1 carries the values others depend on, pass 2 the 0x18 group, pass 4 everything else.
TEST(CfgSchema, TopLevelPassesAndOperations)
{
    const std::set<std::uint32_t> pass1 = {0x100, 0x101, 0x102, 0x103, 0x104, 0x105,
                                           0x120, 0x20001, 9, 0x20201};
    struct Op {
        std::uint32_t id;
        std::uint32_t op;
    };
    const Op ops[] = {{0x100, 2}, {0x101, 2}, {0x120, 4}, {0x20001, 0x10}, {9, 0x20},
                      {0x18, 0x100}, {0x20201, 8}, {0x47, 2}, {0x1F, 2}, {0x80, 2},
                      {0x4B, 3}, {0x4A, 2}, {0x1A, 2}};
    for (const CfgEntry& e : TopLevelCfgTable().entries) {
        SCOPED_TRACE(Hex(e.id));
        const std::uint32_t pass = pass1.count(e.id) ? 1 : e.id == 0x18 ? 2 : 4;
        EXPECT_EQ(e.passMask, pass);
        std::uint32_t op = 1;
        for (const Op& o : ops)
            if (o.id == e.id)
                op = o.op;
        EXPECT_EQ(e.opMask, op);
        EXPECT_EQ(e.mask, 0xFFFFFFFFu);
    }
}

TEST(CfgSchema, ChildrenTakeEveryPassAndTheirContainersOperations)
{
    WalkAll([](const CfgEntry& e, const std::string& path, const CfgEntry* parent) {
        if (!parent)
            return;
        SCOPED_TRACE(path);
        EXPECT_EQ(e.passMask, 7u);
        EXPECT_EQ(e.opMask, parent->opMask);
    });
}

// A typo in an identifier shows as two entries claiming the same element; only the class entries
// of 0x20002 and 0x121 come in pairs.
TEST(CfgSchema, EachElementHasOneEntryPerTable)
{
    std::function<void(const CfgTable&, const std::string&)> check = [&](const CfgTable& t,
                                                                         const std::string& where) {
        std::multiset<std::uint32_t> ids;
        for (const CfgEntry& e : t.entries) {
            ids.insert(e.id);
            if (e.kind == ConvKind::Container)
                check(*e.param.table, where + "/" + Hex(e.id));
        }
        for (std::uint32_t id : ids) {
            const bool pair = id == 0x10000 && (where == "/20002" || where == "/121");
            EXPECT_EQ(ids.count(id), pair ? 2u : 1u) << where << "/" << Hex(id);
        }
    };
    check(TopLevelCfgTable(), "");
}

// Reading never has to narrow a map's value, and every value fits the 4 bytes of its element.
TEST(CfgSchema, ParametersFitTheirFields)
{
    WalkAll([](const CfgEntry& e, const std::string& path, const CfgEntry*) {
        SCOPED_TRACE(path);
        switch (e.kind) {
        case ConvKind::Map: {
            const MapParam& p = *e.param.map;
            ExpectFieldInside(p.field);
            EXPECT_EQ(p.valueSize, 4u);
            EXPECT_FALSE(p.map->pairs.empty());
            for (const MapPair& pair : p.map->pairs)
                EXPECT_TRUE(dm::FitsWidth(pair.devmode, p.field.width)) << pair.devmode;
            break;
        }
        case ConvKind::Number: {
            const NumberParam& p = *e.param.number;
            ExpectFieldInside(p.field);
            EXPECT_EQ(p.valueSize, 4u);
            EXPECT_LE(p.minimum, p.maximum);
            EXPECT_TRUE(dm::FitsWidth(p.fallback, p.field.width));
            break;
        }
        case ConvKind::Scaled: {
            const ScaledParam& p = *e.param.scaled;
            ExpectFieldInside(p.field);
            EXPECT_NE(p.multiplier, 0);
            EXPECT_NE(p.divisor, 0);
            break;
        }
        case ConvKind::PaperSize:
            ExpectFieldInside(e.param.paper->field);
            break;
        case ConvKind::Container:
            EXPECT_FALSE(e.param.table->entries.empty());
            break;
        default:
            break;
        }
    });
}

TEST(CfgSchema, SpecialEntriesAndWhereTheySit)
{
    struct Expected {
        SpecialId id;
        const char* path;
    };
    const Expected expected[] = {
        {SpecialId::InstalledTrays, "100"},
        {SpecialId::OutputOptions, "101"},
        {SpecialId::PrivateBytes, "120"},
        {SpecialId::AccountTexts, "20001"},
        {SpecialId::FontGroups, "9/10000"},
        {SpecialId::FontSetMasks, "9/20000"},
        {SpecialId::TrayBytes, "18"},
        {SpecialId::ColourTuning, "20201"},
        {SpecialId::MediaType, "3/1"},
        {SpecialId::EastAsianFont, "20202/2"},
        {SpecialId::Byte230, "190/2"},
        {SpecialId::TextPair1, "20002/10000"},
        {SpecialId::TextPair2, "20002/10000"},
        {SpecialId::IcmMethod, "121/10000"},
        {SpecialId::IcmIntent, "121/10000"},
        {SpecialId::SetupBytes, "1C0"},
        {SpecialId::PrintModeByte, "B3/1"},
        {SpecialId::PrintHoldUser, "14/4"},
        {SpecialId::PrintHoldNumber, "14/5"},
        {SpecialId::UserPaperSize, "F"},
        {SpecialId::TextAdjustments, "162"},
        {SpecialId::GraphicsAdjustments, "163"},
        {SpecialId::PhotoChoice, "165/2"},
        {SpecialId::PhotoAdjustA, "165/3"},
        {SpecialId::PhotoAdjustB, "165/4"},
        {SpecialId::PhotoAdjustC, "165/5"},
    };
    const auto specials = SpecialEntries();
    ASSERT_EQ(specials.size(), std::size(expected));
    for (std::size_t i = 0; i < specials.size(); ++i) {
        EXPECT_EQ(specials[i].id, expected[i].id) << SpecialIdName(specials[i].id);
        EXPECT_EQ(PathText(specials[i].path), expected[i].path) << SpecialIdName(specials[i].id);
    }
}

}  // namespace
