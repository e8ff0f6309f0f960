// Configuration data built from devmodes and read back into them, through the real table.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "CfgEngine.h"
#include "CfgTestUtil.h"

using namespace cfgtest;

namespace {

// The data of one value element at the path, e.g. "1/BA/10000/1".
Bytes BlobForPath(const std::string& path, std::uint32_t value)
{
    const auto ids = ParsePath(path);
    Bytes b = Val(ids.back(), value);
    for (std::size_t i = ids.size() - 1; i-- > 0;)
        b = Raw(ids[i], b);
    return b;
}

// The top-level elements inside the root element.
std::vector<Bytes> TopLevelElements(const Bytes& data)
{
    std::vector<Bytes> out;
    std::size_t at = 8;
    while (at + 8 <= data.size()) {
        const std::uint32_t len = GetU32(data, at + 4);
        out.emplace_back(data.begin() + at, data.begin() + at + len);
        at += len;
    }
    return out;
}

Bytes Root(const std::vector<Bytes>& children)
{
    Bytes payload;
    for (const Bytes& c : children)
        payload.insert(payload.end(), c.begin(), c.end());
    return Raw(1, payload);
}

Bytes ReadInto(const Bytes& data, Bytes devmode = DefaultDevmode(), bool* ok = nullptr)
{
    const bool result = ReadConfigData(data, devmode, 0);
    if (ok)
        *ok = result;
    return devmode;
}

class FakeEnvironment : public ConfigEnvironment {
public:
    std::vector<TrayKey> trays;
    std::span<const TrayKey> Trays() const override { return trays; }
    std::string FormName(std::int32_t code) const override
    {
        return code == 512 ? "Letter Small" : code == 513 ? std::string(100, 'z') : std::string();
    }
    void FinishRead(std::span<std::uint8_t> devmode) override { ++finished; }
    int finished = 0;
};

// Every element written from the default devmode, in order.
const Leaf kDefaultLeaves[] = {
    {"1/100/1", 0xFFFFFFFF},  {"1/101/1", 0},          {"1/103/1", 0x800},
    {"1/102/1", 0x10},       {"1/104/1", 0},          {"1/105/1", 0},
    {"1/B/1", 1},            {"1/B/2", 2},            {"1/B/3", 2},
    {"1/1/1", 6},            {"1/1E/1", 0},           {"1/12/1", 1},
    {"1/2/1", 0x100},        {"1/3/1", 1},            {"1/5/1", 1},
    {"1/10/1", 0x258},       {"1/10/2", 0x258},       {"1/191/1", 2},
    {"1/C/1", 0x100},        {"1/C/3", 2},            {"1/C/2", 2},
    {"1/13/1", 1},           {"1/13/3", 0xB},         {"1/13/2", 1},
    {"1/1A0/1", 2},          {"1/1A3/1", 1},          {"1/1A2/1", 1},
    {"1/20202/2/2/1", 0xE},  {"1/D/1", 1},            {"1/B4/1", 0x100},
    {"1/20020/1", 3},        {"1/B1/1", 0},           {"1/190/2", 2},
    {"1/6/1", 0},            {"1/47/1", 2},           {"1/1F/1F", 1},
    {"1/80/2", 2},           {"1/20002/10000/4", 0x1B},  {"1/20002/10000/3/1", 0x12},
    {"1/20002/10000/4", 0x1B},  {"1/20002/10000/3/1", 0x13},  {"1/121/10001", 0},
    {"1/121/10002", 0},      {"1/1C0/1", 0},          {"1/1C0/2", 0},
    {"1/1C0/3", 0},          {"1/1C0/4", 0},          {"1/1C0/5", 0},
    {"1/1C0/6", 0},          {"1/1C0/7", 0},          {"1/1C0/8", 0},
    {"1/1C0/9", 0},          {"1/1C0/A", 0},          {"1/1C0/B", 0},
    {"1/1C0/C", 0},          {"1/B8", 0},             {"1/B3/1", 0},
    {"1/14/2", 1},           {"1/14/9", 1},           {"1/15/1", 0},
    {"1/16/1", 0},           {"1/4B/1", 2},           {"1/4B/2", 2},
    {"1/B5/1", 0},           {"1/C2/1", 0},           {"1/83/1", 2},
    {"1/17/1", 0x100},       {"1/20021/1", 1},        {"1/160/1", 2},
    {"1/BA/1", 0},           {"1/BA/10000/1", 0},     {"1/BA/10000/2", 0},
    {"1/BA/10000/3", 0},     {"1/BB/1", 0},           {"1/BF/1", 0},
    {"1/162/1", 0},          {"1/162/2", 0},          {"1/162/3", 0},
    {"1/162/4", 0xA},        {"1/163/1", 0},          {"1/163/2", 0},
    {"1/163/3", 0},          {"1/163/4", 0xA},        {"1/B2/1", 0x101},
    {"1/B2/3", 2},           {"1/C1/1/2", 0},         {"1/19/1", 2},
    {"1/4A/1", 2},           {"1/1A/1", 1},           {"1/1B/1", 0x100},
    {"1/1C/4", 0x10},        {"1/1C/3", 2},           {"1/1C/2", 2},
    {"1/1D/1", 1},           {"1/1D/2", 1},           {"1/1D/4", 2},
    {"1/1D/6", 0},           {"1/B7/1", 2},           {"1/165/1", 2},
    {"1/165/2", 0},          {"1/165/3", 0},          {"1/165/4", 0},
    {"1/165/5", 0xA},        {"1/1E1/1", 2},          {"1/1E2/1", 2},
    {"1/166/1", 0},
};

TEST(ConfigData, DefaultDevmodeWritesEveryMappedElementInTableOrder)
{
    const Bytes data = BuildConfigData(DefaultDevmode());
    const auto leaves = Leaves(data);
    EXPECT_EQ(leaves, std::vector<Leaf>(std::begin(kDefaultLeaves), std::end(kDefaultLeaves)));
    EXPECT_EQ(GetU32(data, 0), 1u);
    EXPECT_EQ(GetU32(data, 4), data.size());
}

TEST(ConfigData, CopiesAreElement12Child1)
{
    Bytes devmode = DefaultDevmode();
    Set(devmode, 86, -2, 5);
    const Bytes golden = {
        0x12, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,  //
        0x01, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00,  //
        0x05, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(FindElement(BuildConfigData(devmode), "1/12"), golden);
}

// One devmode value and its data value per entry: written at the path, and read back from data
// holding only that element (readBack where the map is not one-to-one).
struct FieldCase {
    const char* path;
    std::uint16_t offset;
    std::int16_t width;
    std::int32_t value;
    std::uint32_t data;
    std::int32_t readBack;
};

const FieldCase kFieldCases[] = {
    {"1/103/1", 434, 2, 3, 3072, 3},
    {"1/102/1", 459, 1, 1, 15, 3},
    {"1/104/1", 460, 1, 7, 7, 7},
    {"1/105/1", 461, 1, 9, 9, 9},
    {"1/B/1", 76, -2, 2, 2, 2},
    {"1/B/2", 453, 1, 0, 1, 0},
    {"1/B/3", 237, 1, 1, 1, 1},
    {"1/1/1", 78, -2, 5, 3, 5},
    {"1/1/1", 78, -2, 37, 0x10002, 37},
    {"1/1/1", 78, -2, 261, 30, 261},
    {"1/1/1", 78, -2, 512, 0x80000001u, 512},
    {"1/1/1", 78, -2, 300, 0x7FFFFF2Du, 300},
    {"1/1E/1", 1096, -2, 262, 31, 262},
    {"1/1E/1", 1096, -2, 300, 0x7FFFFF2Du, 0},  // the second paper size keeps no form
    {"1/12/1", 86, -2, 42, 42, 42},
    {"1/12/1", 86, -2, 9999, 9999, 9999},
    {"1/5/1", 458, 1, 1, 2, 1},
    {"1/10/1", 90, -2, 1200, 1200, 1200},
    {"1/10/2", 90, -2, 300, 300, 300},
    {"1/191/1", 232, 1, 4, 259, 4},
    {"1/C/1", 94, -2, 3, 258, 3},
    {"1/C/3", 1089, 1, 1, 1, 1},
    {"1/C/2", 1233, 1, 1, 1, 1},
    {"1/13/1", 605, 1, 7, 16, 7},
    {"1/13/3", 602, 1, 1, 12, 1},
    {"1/13/2", 603, 1, 0, 2, 0},
    {"1/1A0/1", 98, -2, 4, 3, 4},
    {"1/1A3/1", 225, 1, 0, 2, 0},
    {"1/1A2/1", 226, 1, 0, 2, 0},
    {"1/D/1", 100, -2, 0, 2, 0},
    {"1/B4/1", 200, 4, 2, 257, 2},
    {"1/20020/1", 229, 1, 6, 1, 6},
    {"1/B1/1", 231, 1, 5, 260, 5},
    {"1/6/1", 448, 1, 1, 256, 1},
    {"1/6/1", 448, 1, 200, 0x800000C7u, 200},
    {"1/47/1", 224, 1, 1, 1, 1},
    {"1/1F/1F", 1104, 1, 0, 2, 0},
    {"1/80/2", 1236, 1, 1, 1, 1},
    {"1/B8", 233, 1, 2, 1, 2},
    {"1/14/2", 650, 1, 5, 9, 5},
    {"1/14/9", 651, 1, 3, 6, 3},
    {"1/15/1", 450, 1, 2, 1, 2},
    {"1/16/1", 1228, 1, 2, 257, 2},
    {"1/4B/1", 1124, 1, 1, 1, 1},
    {"1/4B/2", 1237, 1, 1, 1, 1},
    {"1/B5/1", 653, 1, 1, 2, 1},
    {"1/C2/1", 1249, 1, 2, 1, 2},
    {"1/83/1", 652, 1, 1, 1, 1},
    {"1/17/1", 227, 1, 1, 257, 1},
    {"1/20021/1", 604, 1, 1, 2, 1},
    {"1/160/1", 92, -2, 2, 1, 2},
    {"1/BA/1", 655, 1, 5, 0x80000001u, 5},
    {"1/BA/10000/1", 1230, 1, 4, 263, 4},
    {"1/BA/10000/2", 1231, 1, 5, 266, 5},
    {"1/BA/10000/3", 1232, 1, 3, 256, 3},
    {"1/BB/1", 656, 1, 2, 257, 2},
    {"1/BF/1", 657, 1, 3, 256, 3},
    {"1/B2/1", 1078, 1, 2, 256, 2},
    {"1/B2/2", 1078, 1, 0, 7, 0},
    {"1/B2/3", 1094, 1, 1, 7, 1},
    {"1/C1/1/2", 1088, 1, 1, 34, 1},
    {"1/19/1", 1077, 1, 1, 1, 1},
    {"1/4A/1", 1080, 1, 1, 1, 1},
    {"1/1A/1", 1090, 1, 0, 2, 0},
    {"1/1B/1", 1081, 1, 3, 259, 3},
    {"1/1C/4", 1091, 1, 99, 99, 99},
    {"1/1C/3", 1234, 1, 1, 1, 1},
    {"1/1C/2", 1235, 1, 1, 1, 1},
    {"1/1D/1", 1082, 1, 3, 4, 3},
    {"1/1D/2", 1082, 1, 2, 3, 2},
    {"1/1D/4", 1083, 1, 1, 1, 1},
    {"1/1D/6", 1084, 4, 65535, 65535, 65535},
    {"1/B7/1", 1226, 1, 1, 1, 1},
    {"1/165/1", 1243, 1, 1, 1, 1},
    {"1/1E1/1", 1238, 1, 1, 1, 1},
    {"1/1E2/1", 1239, 1, 1, 1, 1},
    {"1/166/1", 1248, 1, 2, 1, 2},
    // Values of the feature handlers that a plain build writes; a signed value keeps its sign.
    {"1/100/1", 462, -2, 0x0F, 0x0F, 0x0F},
    {"1/100/1", 462, -2, -1, 0xFFFFFFFFu, -1},
    {"1/101/1", 464, -2, 1, 1, 1},
    {"1/3/1", 196, 4, 258, 258, 258},
    {"1/20202/2/2/1", 1227, 1, 1, 13, 1},
    {"1/190/2", 230, 1, 9, 9, 9},
    {"1/121/10001", 188, 4, 2, 2, 2},
    {"1/121/10002", 192, 4, 4, 4, 4},
    {"1/1C0/1", 236, 1, 3, 3, 3},
    {"1/1C0/2", 306, 1, 1, 1, 1},
    {"1/1C0/3", 449, 1, 1, 1, 1},
    {"1/1C0/4", 451, 1, 1, 1, 1},
    {"1/1C0/5", 669, -1, -7, 0xFFFFFFF9u, -7},
    {"1/1C0/6", 670, 1, 0x25, 0x25, 0x25},
    {"1/1C0/7", 671, 1, 5, 5, 5},
    {"1/1C0/8", 672, 1, 1, 1, 1},
    {"1/1C0/9", 673, 1, 7, 7, 7},
    {"1/1C0/A", 674, 1, 8, 8, 8},
    {"1/1C0/B", 1079, 1, 1, 1, 1},
    {"1/1C0/C", 1229, 1, 2, 2, 2},
    {"1/B3/1", 234, 1, 3, 3, 3},
    {"1/162/1", 654, 1, 2, 2, 2},
    {"1/162/2", 658, -1, -100, 0xFFFFFF9Cu, -100},
    {"1/162/3", 659, -1, 100, 100, 100},
    {"1/162/4", 660, -1, 40, 40, 40},
    {"1/163/1", 661, 1, 1, 1, 1},
    {"1/163/2", 662, -1, -1, 0xFFFFFFFFu, -1},
    {"1/163/3", 663, -1, 50, 50, 50},
    {"1/163/4", 664, -1, 0, 0, 0},
    {"1/165/2", 665, 1, 2, 2, 2},
    {"1/165/3", 666, -1, -50, 0xFFFFFFCEu, -50},
    {"1/165/4", 667, -1, 7, 7, 7},
    {"1/165/5", 668, -1, 39, 39, 39},
};

TEST(ConfigData, EachFieldIsWrittenAtItsPath)
{
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(::testing::Message() << c.path << " devmode " << c.value);
        Bytes devmode = DefaultDevmode();
        Set(devmode, c.offset, c.width, c.value);
        const auto leaves = Leaves(BuildConfigData(devmode));
        const Leaf* leaf = FindLeaf(leaves, c.path);
        ASSERT_NE(leaf, nullptr);
        EXPECT_EQ(leaf->value, c.data);
    }
}

TEST(ConfigData, EachFieldIsReadFromItsPath)
{
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(::testing::Message() << c.path << " data " << c.data);
        bool ok = false;
        const Bytes devmode = ReadInto(BlobForPath(c.path, c.data), DefaultDevmode(), &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Get(devmode, c.offset, c.width), c.readBack);
    }
}

// Every field changed at once comes back into a default devmode byte for byte.
TEST(ConfigData, RoundTripRestoresEveryMappedField)
{
    Bytes devmode = DefaultDevmode();
    std::set<std::uint16_t> seen;
    for (const FieldCase& c : kFieldCases)
        if (c.readBack == c.value && seen.insert(c.offset).second)
            Set(devmode, c.offset, c.width, c.value);
    bool ok = false;
    const Bytes back = ReadInto(BuildConfigData(devmode), DefaultDevmode(), &ok);
    EXPECT_TRUE(ok);
    for (std::size_t i = 0; i < devmode.size(); ++i)
        EXPECT_EQ(back[i], devmode[i]) << "offset " << i;
}

TEST(ConfigData, AValueMissingFromItsMapWritesNothing)
{
    Bytes devmode = DefaultDevmode();
    Set(devmode, 76, -2, 3);
    auto leaves = Leaves(BuildConfigData(devmode));
    EXPECT_EQ(FindLeaf(leaves, "1/B/1"), nullptr);
    EXPECT_NE(FindLeaf(leaves, "1/B/2"), nullptr) << "the container stays for its other children";

    Set(devmode, 453, 1, 5);
    Set(devmode, 237, 1, 5);
    const Bytes data = BuildConfigData(devmode);
    EXPECT_TRUE(FindElement(data, "1/B").empty()) << "no child wrote: the container is abandoned";
    EXPECT_FALSE(FindElement(data, "1/12").empty());

    // A negative paper size is neither in the map nor a form.
    Set(devmode, 78, -2, -5);
    EXPECT_TRUE(FindElement(BuildConfigData(devmode), "1/1").empty());
}

TEST(ConfigData, ValuesOutOfRangeBecomeTheFallback)
{
    struct Case {
        const char* path;
        std::uint32_t data;
        std::uint16_t offset;
        std::int16_t width;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"1/12/1", 0, 86, -2, 1},
        {"1/12/1", 10000, 86, -2, 1},
        {"1/12/1", 0x12345, 86, -2, 1},
        {"1/12/1", 0xFFFFFFFFu, 86, -2, 1},
        {"1/1C/4", 100, 1091, 1, 16},
        // Within the entry's range but not within the byte: the fall-back, never 300 cut to 44.
        {"1/104/1", 300, 460, 1, 0},
        {"1/105/1", 0x12345, 461, 1, 0},
        {"1/1D/6", 0x12345, 1084, 4, 0},
    };
    // Nothing here holds its fall-back already.
    Bytes base = DefaultDevmode();
    Set(base, 86, -2, 7);
    Set(base, 1091, 1, 50);
    Set(base, 460, 1, 5);
    Set(base, 461, 1, 5);
    Set(base, 1084, 4, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.path << " data " << c.data);
        bool ok = false;
        const Bytes devmode = ReadInto(BlobForPath(c.path, c.data), base, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Get(devmode, c.offset, c.width), c.expected);
    }
}

// Values that would not fit their field leave it as it was.
TEST(ConfigData, ValuesTooWideForTheirFieldAreNotStored)
{
    struct Case {
        const char* path;
        std::uint32_t data;
    };
    const Case cases[] = {
        {"1/103/1", 0x12345678},                  // 434 is 16 bits: 0x48D15 after scaling
        {"1/103/1", 0xFFFFFC00u},                 // negative after scaling
        {"1/1/1", 0x7FFFFE01u + 0x12345},         // a form code beyond 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.path << " data " << std::hex << c.data);
        const Bytes after = ReadInto(BlobForPath(c.path, c.data));
        EXPECT_EQ(Get(after, 434, 2), 2);
        EXPECT_EQ(Get(after, 78, -2), 9);
    }
    EXPECT_EQ(Get(ReadInto(BlobForPath("1/103/1", 0x12345)), 434, 2), 0x12345 / 1024);
}

TEST(ConfigData, ReadingSkipsUnknownElementsAndNeedsSomethingStored)
{
    bool ok = false;
    Bytes devmode = ReadInto(Root({Val(0x7777, 1), Elem(0x12, {Val(1, 3)}), Elem(0x8888, {})}),
                             DefaultDevmode(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Get(devmode, 86, -2), 3);

    const Bytes nothingKnown[] = {
        {},
        Root({Val(0x7777, 1)}),
        Root({}),
        Val(2, 1),                          // not the root
        Root({Elem(0xB, {Val(1, 3)})}),     // orientation 3 is not in the map
        Root({Elem(0x12, {Raw(1, {})})}),   // no value bytes
    };
    for (const Bytes& data : nothingKnown) {
        devmode = ReadInto(data, DefaultDevmode(), &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(devmode, DefaultDevmode());
    }
}

// A run takes only the entries of its operation mask: element 0x47 (byte 224) is an entry of bit 1,
// copies one of bit 0.
TEST(ConfigData, OperationMaskSelectsTheEntries)
{
    const Bytes devmode = DefaultDevmode();
    EXPECT_FALSE(FindElement(BuildConfigData(devmode), "1/47").empty());
    const Bytes documentOnly = BuildConfigData(devmode, nullptr, 1);
    EXPECT_TRUE(FindElement(documentOnly, "1/47").empty());
    EXPECT_FALSE(FindElement(documentOnly, "1/12").empty());
    EXPECT_TRUE(BuildConfigData(devmode, nullptr, 0).empty());

    const Bytes data = Root({Elem(0x47, {Val(1, 1)}), Elem(0x12, {Val(1, 3)})});
    Bytes read = DefaultDevmode();
    ASSERT_TRUE(ReadConfigData(data, read, 0, nullptr, 1));
    EXPECT_EQ(Get(read, 224, 1), 0);
    EXPECT_EQ(Get(read, 86, -2), 3);
    read = DefaultDevmode();
    ASSERT_TRUE(ReadConfigData(data, read, 0));
    EXPECT_EQ(Get(read, 224, 1), 1);
    read = DefaultDevmode();
    EXPECT_FALSE(ReadConfigData(Root({Elem(0x47, {Val(1, 1)})}), read, 0, nullptr, 1));
    EXPECT_EQ(read, DefaultDevmode());
}

// Whatever the order of the top-level elements, the devmode read is the same.
TEST(ConfigData, ElementOrderDoesNotMatter)
{
    Bytes source = DefaultDevmode();
    for (const FieldCase& c : kFieldCases)
        Set(source, c.offset, c.width, c.value);
    const Bytes data = BuildConfigData(source);
    const Bytes expected = ReadInto(data);
    std::vector<Bytes> elements = TopLevelElements(data);
    ASSERT_GT(elements.size(), 50u);

    std::vector<Bytes> reversed(elements.rbegin(), elements.rend());
    EXPECT_EQ(ReadInto(Root(reversed)), expected);
    for (std::size_t shift : {1u, 7u, 23u}) {
        std::vector<Bytes> rotated = elements;
        std::rotate(rotated.begin(), rotated.begin() + shift, rotated.end());
        EXPECT_EQ(ReadInto(Root(rotated)), expected) << "rotated by " << shift;
    }
}

TEST(ConfigData, TruncatedDataReadsOnlyWhatIsWhole)
{
    Bytes source = DefaultDevmode();
    Set(source, 86, -2, 77);
    Set(source, 76, -2, 2);
    Set(source, 1248, 1, 2);
    const Bytes data = BuildConfigData(source);
    const std::vector<Bytes> elements = TopLevelElements(data);

    for (std::size_t cut = 0; cut < data.size(); ++cut) {
        SCOPED_TRACE(::testing::Message() << "cut at " << cut);
        const Bytes cutData(data.begin(), data.begin() + cut);
        // The root's own length now overruns the data: nothing is read.
        bool ok = true;
        EXPECT_EQ(ReadInto(cutData, DefaultDevmode(), &ok), DefaultDevmode());
        EXPECT_FALSE(ok);

        // With the root cut to fit, the whole elements before the cut are read and the one it
        // splits ends the reading.
        if (cut < 8)
            continue;
        Bytes fitted = cutData;
        fitted[4] = std::uint8_t(cut);
        fitted[5] = std::uint8_t(cut >> 8);
        std::vector<Bytes> whole;
        std::size_t end = 8;
        for (const Bytes& e : elements) {
            if (end + e.size() > cut)
                break;
            whole.push_back(e);
            end += e.size();
        }
        EXPECT_EQ(ReadInto(fitted), ReadInto(Root(whole)));
    }
}

TEST(ConfigData, MalformedLengthsEndTheirContainer)
{
    auto withLength = [](Bytes element, std::uint32_t len) {
        for (int i = 0; i < 4; ++i)
            element[4 + i] = std::uint8_t(len >> (8 * i));
        return element;
    };
    const Bytes copies = Elem(0x12, {Val(1, 3)});
    const Bytes collate = Elem(0xD, {Val(1, 2)});
    const Bytes bad[] = {
        withLength(Elem(0xB, {Val(1, 2)}), 0),
        withLength(Elem(0xB, {Val(1, 2)}), 7),
        withLength(Elem(0xB, {Val(1, 2)}), 1000),
        withLength(Elem(0xB, {Val(1, 2)}), 0xFFFFFFFFu),
    };
    for (const Bytes& b : bad) {
        SCOPED_TRACE(::testing::Message() << "length " << GetU32(b, 4));
        bool ok = false;
        const Bytes devmode = ReadInto(Root({copies, b, collate}), DefaultDevmode(), &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Get(devmode, 86, -2), 3) << "before the bad element";
        EXPECT_EQ(Get(devmode, 76, -2), 1) << "the bad element";
        EXPECT_EQ(Get(devmode, 100, -2), 1) << "after it, in the same container";
    }

    // Inside a child container only that container's reading ends.
    bool ok = false;
    const Bytes devmode = ReadInto(
        Root({Elem(0xC, {Val(1, 258), withLength(Val(3, 1), 0), Val(2, 1)}), collate}),
        DefaultDevmode(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Get(devmode, 94, -2), 3);
    EXPECT_EQ(Get(devmode, 1233, 1), 0);
    EXPECT_EQ(Get(devmode, 100, -2), 0);
}

TEST(ConfigData, DeepNestingIsReadWithoutHarm)
{
    // 0xC1 { 1 { 1 { ... { 2 = 34 } } } }, 10000 levels of element 1.
    const std::size_t levels = 10000;
    Bytes deep;
    for (std::size_t i = 0; i < levels; ++i) {
        PutU32(deep, 1);
        PutU32(deep, std::uint32_t((levels - i) * 8 + 12));
    }
    const Bytes leaf = Val(2, 34);
    deep.insert(deep.end(), leaf.begin(), leaf.end());
    bool ok = false;
    const Bytes devmode =
        ReadInto(Root({Raw(0xC1, deep), Elem(0x12, {Val(1, 4)})}), DefaultDevmode(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Get(devmode, 86, -2), 4);
    EXPECT_EQ(Get(devmode, 1088, 1), 0) << "only 0xC1/1/2 is a value";
}

// Mutated data: every read ends, and a failed read leaves the devmode alone.
TEST(ConfigData, MutatedDataNeverEscapesItsBuffer)
{
    const Bytes data = BuildConfigData(DefaultDevmode());
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        Bytes mutated = data;
        const int edits = 1 + int(next() % 6);
        for (int i = 0; i < edits; ++i) {
            const std::size_t at = next() % mutated.size();
            // Favour the header bytes: lengths and identifiers.
            mutated[at & ~std::size_t(next() % 2 ? 0 : 3)] = std::uint8_t(next());
        }
        mutated.resize(mutated.size() - next() % 16);
        bool ok = false;
        const Bytes devmode = ReadInto(mutated, DefaultDevmode(), &ok);
        if (!ok) {
            ASSERT_EQ(devmode, DefaultDevmode()) << "round " << round;
        }
    }
}

TEST(ConfigData, BuildReadsOnlyTheDevmodeItIsGiven)
{
    const Bytes full = DefaultDevmode();
    const Bytes publicPart(full.begin(), full.begin() + dm::kPublicSize);
    const auto leaves = Leaves(BuildConfigData(publicPart));
    EXPECT_NE(FindLeaf(leaves, "1/12/1"), nullptr);
    EXPECT_NE(FindLeaf(leaves, "1/B4/1"), nullptr);
    EXPECT_EQ(FindLeaf(leaves, "1/B/2"), nullptr);
    EXPECT_EQ(FindLeaf(leaves, "1/103/1"), nullptr);
    EXPECT_TRUE(BuildConfigData({}).empty());

    // A devmode cut after the copies: only the fields inside it are stored.
    Bytes small(88, 0);
    EXPECT_TRUE(ReadConfigData(BuildConfigData(full), small, 0));
    EXPECT_EQ(Get(small, 86, -2), 1);
    EXPECT_EQ(Get(small, 76, -2), 1);
}

TEST(ConfigData, PaperSourceGoesThroughTheTrayList)
{
    FakeEnvironment env;
    env.trays = {{15, 0}, {258, 3}, {4, 14}, {259, 3}};
    struct Case {
        std::int32_t source;
        std::uint32_t data;
    };
    const Case forward[] = {{258, 288}, {259, 288}, {4, 290}, {15, 257}, {99, 256}};
    for (const Case& c : forward) {
        Bytes devmode = DefaultDevmode();
        Set(devmode, 88, -2, c.source);
        const auto leaves = Leaves(BuildConfigData(devmode, &env));
        const Leaf* leaf = FindLeaf(leaves, "1/2/1");
        ASSERT_NE(leaf, nullptr) << c.source;
        EXPECT_EQ(leaf->value, c.data) << c.source;
    }
    FakeEnvironment none;
    const auto leaves = Leaves(BuildConfigData(DefaultDevmode(), &none));
    ASSERT_NE(FindLeaf(leaves, "1/2/1"), nullptr);
    EXPECT_EQ(FindLeaf(leaves, "1/2/1")->value, 256u) << "an empty list gives the key 7";

    const Case reverse[] = {{258, 288}, {4, 290}, {15, 257}, {7, 262}, {7, 0x80000001u}};
    for (const Case& c : reverse) {
        Bytes devmode = DefaultDevmode();
        ReadConfigData(BlobForPath("1/2/1", c.data), devmode, 0, &env);
        EXPECT_EQ(Get(devmode, 88, -2), c.source) << c.data;
    }
}

TEST(ConfigData, FormNamesUseTheStringElementForm)
{
    FakeEnvironment env;
    Bytes devmode = DefaultDevmode();
    Set(devmode, 78, -2, 512);
    const Bytes text = {'L', 'e', 't', 't', 'e', 'r', ' ', 'S', 'm', 'a', 'l', 'l'};
    EXPECT_EQ(FindElement(BuildConfigData(devmode, &env), "1/1/4"),
              Elem(4, {Elem(1, {Raw(1, text), Val(2, 0)})}));
    EXPECT_TRUE(FindElement(BuildConfigData(devmode), "1/1/4").empty()) << "no record lists";
    Set(devmode, 78, -2, 520);
    EXPECT_TRUE(FindElement(BuildConfigData(devmode, &env), "1/1/4").empty()) << "not a named form";
    Set(devmode, 78, -2, 513);
    EXPECT_EQ(FindElement(BuildConfigData(devmode, &env), "1/1/4"),
              Elem(4, {Elem(1, {Raw(1, Bytes(63, 'z')), Val(2, 0)})}))
        << "no longer than a read keeps";

    struct Case {
        Bytes element;
        std::string name;
    };
    const Case cases[] = {
        {Elem(4, {Elem(1, {Raw(1, text), Val(2, 0)})}), "Letter Small"},
        {Elem(4, {Elem(1, {Val(2, 0), Raw(1, text)})}), "Letter Small"},
        {Raw(4, text), "Letter Small"},
        {Raw(4, {'A', '5', 0, 'x'}), "A5"},
        {Raw(4, Bytes(100, 'y')), std::string(63, 'y')},
    };
    for (const Case& c : cases) {
        ElementCursor cursor(Root({Elem(0x1E, {c.element})}));
        Bytes copy = DefaultDevmode();
        CfgWork work;
        work.devmode = copy;
        work.opMask = kOpRead;
        work.cursor = &cursor;
        EXPECT_EQ(ReadCfgTable(RootCfgTable(), work), kCfgDone);
        EXPECT_EQ(work.formName[1], c.name);
        EXPECT_EQ(work.formName[0], "");
    }
}

TEST(ConfigData, FinishingResolvesPaperSizesAndPrintQuality)
{
    struct Case {
        Bytes data;
        std::uint16_t offset;
        std::int64_t expected;
    };
    const Case cases[] = {
        // The first paper size replaces dmPaperSize; the second goes to 1096 below 263.
        {Root({Elem(1, {Val(1, 0x7FFFFE01u + 640)})}), 78, 640},
        {Root({Elem(0x1E, {Val(1, 0)})}), 1096, 0},
        {Root({Elem(0x1E, {Val(1, 19)})}), 1096, 256},
        {Root({Elem(0x1E, {Val(1, 0x7FFFFE01u + 263)})}), 1096, 0},
        // Print quality not on the resolution list: the default resolution.
        {Root({Elem(0x10, {Val(1, 7)})}), 90, 600},
        {Root({Elem(0x10, {Val(1, 1200)})}), 90, 1200},
    };
    Bytes base = DefaultDevmode();
    Set(base, 1096, -2, 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "offset " << c.offset << " expected " << c.expected);
        EXPECT_EQ(Get(ReadInto(c.data, base), c.offset, -2), c.expected);
    }

    Bytes devmode = DefaultDevmode();
    Set(devmode, 90, -2, 450);  // not on the list
    Set(devmode, 1096, -2, 5);
    FakeEnvironment env;
    EXPECT_TRUE(ReadConfigData(Root({Elem(0x12, {Val(1, 2)})}), devmode, 0, &env));
    EXPECT_EQ(Get(devmode, 90, -2), 600);
    EXPECT_EQ(Get(devmode, 1096, -2), 5) << "no second paper size was read";
    EXPECT_EQ(env.finished, 1);
}

}  // namespace
