// The feature handlers through the real table: what each writes, what it reads back, and the
// texts, flags and model-dependent bytes whose conversion is not a plain value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CfgEngine.h"
#include "CfgFeatures.h"
#include "CfgTestUtil.h"

using namespace cfgtest;

namespace {

class Env : public ConfigEnvironment {
public:
    explicit Env(std::uint32_t codePage = 0) : codePage_(codePage) {}
    std::uint32_t AnsiCodePage() const override { return codePage_; }

private:
    std::uint32_t codePage_;
};

Bytes Root(std::initializer_list<Bytes> children)
{
    return Elem(1, children);
}

Bytes Text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes Wide(const std::string& s)
{
    Bytes b;
    for (char ch : s) {
        b.push_back(std::uint8_t(ch));
        b.push_back(0);
    }
    return b;
}

// The string element form as the handlers write it.
Bytes StringElement(std::uint32_t id, const Bytes& text)
{
    return Elem(id, {Elem(1, {Raw(1, text), Val(2, 0)})});
}

void PutText(Bytes& devmode, std::size_t offset, const Bytes& text)
{
    std::copy(text.begin(), text.end(), devmode.begin() + std::ptrdiff_t(offset));
}

Bytes Field(const Bytes& devmode, std::size_t offset, std::size_t size)
{
    return Bytes(devmode.begin() + std::ptrdiff_t(offset), devmode.begin() + std::ptrdiff_t(offset + size));
}

// size bytes: the text, then zeros.
Bytes Padded(const Bytes& text, std::size_t size)
{
    Bytes b = text;
    b.resize(size, 0);
    return b;
}

Bytes ReadInto(const Bytes& data, Bytes devmode, bool* ok = nullptr, ConfigEnvironment* env = nullptr)
{
    const bool result = ReadConfigData(data, devmode, 0, env);
    if (ok)
        *ok = result;
    return devmode;
}

std::string PathOf(const SpecialEntryInfo& s)
{
    std::string path = "1";
    for (std::uint32_t id : s.path)
        path += "/" + Hex(id);
    return path;
}

// A devmode in which every value a feature handler carries differs from the defaults.
Bytes EverySpecialValueChanged()
{
    Bytes d = DefaultDevmode();
    struct Value {
        std::uint16_t offset;
        std::int16_t width;
        std::int64_t value;
    };
    const Value values[] = {
        {462, -2, 0x0B},   {464, -2, 1},      {452, 1, 3},       {454, 1, 4},
        {456, 2, 0x1234},  {816, 4, 0x0F},    {820, 4, 0x100},   {1092, 1, 2},
        {1093, 1, 0},      {1240, -1, -20},   {1241, 1, 3},      {1242, 1, 4},
        {1244, -1, -1},    {1245, -1, 5},     {1246, -1, -6},    {1247, -1, 7},
        {196, 4, 257},     {1227, 1, 1},      {230, 1, 4},       {466, 1, 1},
        {467, 1, 0},       {188, 4, 2},       {192, 4, 3},       {236, 1, 1},
        {306, 1, 1},       {449, 1, 1},       {451, 1, 1},       {669, -1, -3},
        {670, 1, 0x41},    {671, 1, 1},       {672, 1, 2},       {673, 1, 3},
        {674, 1, 4},       {1079, 1, 1},      {1229, 1, 1},      {234, 1, 2},
        {78, -2, 256},     {82, -2, 1500},    {80, -2, 2500},    {654, 1, 2},
        {658, -1, -100},   {659, -1, 100},    {660, -1, 40},     {661, 1, 1},
        {662, -1, 9},      {663, -1, -9},     {664, -1, 0},      {665, 1, 3},
        {666, -1, 11},     {667, -1, -11},    {668, -1, 33},
    };
    for (const Value& v : values)
        Set(d, v.offset, v.width, v.value);
    for (std::size_t i = 0; i < 11; ++i)
        Set(d, 606 + 4 * i, 4, std::int64_t(0x01000000) * std::int64_t(i + 1) + 7);
    PutText(d, 1125, Text("4711"));
    PutText(d, 1142, Text("WORKSTATION-12"));
    PutText(d, 1183, Text("j.doe"));
    PutText(d, 824, Text("j.doe"));
    PutText(d, 849, Text("0042"));
    PutText(d, 468, Wide("Confidential"));
    PutText(d, 532, Wide("Draft"));
    return d;
}

TEST(CfgFeatures, EverySpecialEntryRoundTripsItsDevmodeValues)
{
    const Bytes source = EverySpecialValueChanged();
    for (std::uint32_t codePage : {0u, 932u, 949u}) {
        SCOPED_TRACE(codePage);
        Env env(codePage);
        const Bytes data = BuildConfigData(source, &env, kOpAll, 1);
        for (const SpecialEntryInfo& s : SpecialEntries())
            EXPECT_FALSE(FindElement(data, PathOf(s), true).empty()) << SpecialIdName(s.id) << " at " << PathOf(s);

        bool ok = false;
        const Bytes back = ReadInto(data, DefaultDevmode(), &ok, &env);
        EXPECT_TRUE(ok);
        for (std::size_t i = 0; i < back.size(); ++i)
            EXPECT_EQ(back[i], source[i]) << "offset " << i;
    }
}

// Elements of the operations 4, 8, 0x10, 0x20 and 0x100 are read always but written only when a
// build asks for them.
TEST(CfgFeatures, OperationsOutsideAPlainBuildAreWrittenOnRequest)
{
    const Bytes source = EverySpecialValueChanged();
    const Bytes plain = BuildConfigData(source);
    const Bytes all = BuildConfigData(source, nullptr, kOpAll);
    for (const char* path : {"1/120", "1/20001", "1/9", "1/18", "1/20201"}) {
        EXPECT_TRUE(FindElement(plain, path).empty()) << path;
        EXPECT_FALSE(FindElement(all, path).empty()) << path;
    }
    for (const char* path : {"1/100", "1/101", "1/1C0", "1/162"})
        EXPECT_FALSE(FindElement(plain, path).empty()) << path;
}

TEST(CfgFeatures, PrintAndHoldUserNameNeedsAModeAndAName)
{
    Bytes devmode = DefaultDevmode();
    PutText(devmode, 824, Text("ann"));
    EXPECT_EQ(FindElement(BuildConfigData(devmode, nullptr, kOpBuild, 1), "1/14/4"),
              StringElement(4, Text("ann")));
    EXPECT_TRUE(FindElement(BuildConfigData(devmode), "1/14/4").empty()) << "mode 0";

    const Bytes empty = BuildConfigData(DefaultDevmode(), nullptr, kOpBuild, 1);
    EXPECT_TRUE(FindElement(empty, "1/14/4").empty()) << "an empty name";
    EXPECT_TRUE(FindElement(empty, "1/14/5").empty()) << "an empty personal number";
    EXPECT_FALSE(FindElement(empty, "1/14/2").empty()) << "the container stays for the mode";

    // A name that fills its field without a terminator is written as far as it fits back.
    PutText(devmode, 824, Bytes(25, 'n'));
    PutText(devmode, 849, Text("98765"));
    const Bytes full = BuildConfigData(devmode, nullptr, kOpBuild, 1);
    EXPECT_EQ(FindElement(full, "1/14/4"), StringElement(4, Bytes(24, 'n')));
    EXPECT_EQ(FindElement(full, "1/14/5"), StringElement(5, Text("9876")));
}

// Reading clears the field and always leaves it terminated inside itself.
TEST(CfgFeatures, TextsAreTerminatedInTheirFields)
{
    struct Case {
        const char* what;
        Bytes element;
        std::size_t offset;
        Bytes expected;  // the whole field
    };
    const Case cases[] = {
        {"name", Elem(0x14, {StringElement(4, Text("bob"))}), 824, Padded(Text("bob"), 25)},
        {"raw name", Elem(0x14, {Raw(4, Text("eve"))}), 824, Padded(Text("eve"), 25)},
        {"long name", Elem(0x14, {StringElement(4, Bytes(40, 'x'))}), 824, Padded(Bytes(24, 'x'), 25)},
        {"name with a zero", Elem(0x14, {Raw(4, {'a', 0, 'b'})}), 824, Padded(Text("a"), 25)},
        {"number", Elem(0x14, {StringElement(5, Text("12"))}), 849, Padded(Text("12"), 5)},
        {"long number", Elem(0x14, {StringElement(5, Text("123456"))}), 849, Padded(Text("1234"), 5)},
        {"account ID", Elem(0x20001, {StringElement(1, Text("12345678901234567890"))}), 1125,
         Padded(Text("1234567890123456"), 17)},
        {"computer name", Elem(0x20001, {StringElement(2, Bytes(50, 'c'))}), 1142, Padded(Bytes(39, 'c'), 41)},
        {"user name", Elem(0x20001, {Raw(3, Text("u"))}), 1183, Padded(Text("u"), 41)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes before = DefaultDevmode();
        PutText(before, 824, Bytes(25, 'o'));  // old, unterminated
        PutText(before, 849, Bytes(5, 'o'));
        PutText(before, 1125, Bytes(17, 'o'));
        PutText(before, 1142, Bytes(40, 'o'));
        PutText(before, 1183, Bytes(40, 'o'));
        bool ok = false;
        const Bytes after = ReadInto(Root({c.element}), before, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Field(after, c.offset, c.expected.size()), c.expected);
        EXPECT_EQ(after[854], 0) << "the paper-format record after the number";
        EXPECT_EQ(Get(after, 1224, 2), 0) << "the checksum after the account texts";
    }
}

TEST(CfgFeatures, EastAsianFlagIsWrittenUnderTheCodePagesIdentifier)
{
    struct Case {
        std::uint32_t codePage;
        std::uint32_t inner;
    };
    const Case cases[] = {{932, 1}, {936, 3}, {950, 3}, {949, 4}, {1252, 2}, {0, 2}, {1250, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(EastAsianInnerId(c.codePage), c.inner);
        Env env(c.codePage);
        Bytes devmode = DefaultDevmode();
        Set(devmode, 1227, 1, 1);
        EXPECT_EQ(FindElement(BuildConfigData(devmode, &env), "1/20202"),
                  Elem(0x20202, {Elem(2, {Elem(c.inner, {Val(1, 13)})})}));
    }
    Env korean(949);
    EXPECT_EQ(FindElement(BuildConfigData(DefaultDevmode(), &korean), "1/20202/2/4/1"), Val(1, 14));
}

TEST(CfgFeatures, EastAsianFlagIsReadFromAnyInnerElement)
{
    struct Case {
        Bytes element2;
        int expected;  // 1227 after reading into a devmode holding 5
        bool stored;
    };
    const Case cases[] = {
        {Elem(2, {Elem(4, {Val(1, 13)})}), 1, true},
        {Elem(2, {Elem(77, {Val(1, 14)})}), 0, true},
        {Elem(2, {Elem(1, {Val(3, 13), Val(1, 14)})}), 0, true},
        {Elem(2, {Elem(2, {Val(1, 15)})}), 5, false},
        {Elem(2, {Elem(2, {Raw(1, {13, 0, 0, 0, 0})})}), 5, false},  // not a value
        {Elem(2, {Elem(3, {}), Elem(4, {Val(1, 13)})}), 5, false},  // only the first inner element
        {Elem(2, {}), 5, false},
    };
    for (const Case& c : cases) {
        Bytes before = DefaultDevmode();
        Set(before, 1227, 1, 5);
        bool ok = false;
        const Bytes after = ReadInto(Root({Elem(0x20202, {c.element2})}), before, &ok);
        EXPECT_EQ(ok, c.stored);
        EXPECT_EQ(after[1227], c.expected);
    }
}

TEST(CfgFeatures, Byte230TakesTheLowByteOfAValue)
{
    struct Case {
        Bytes payload;
        int expected;  // 230 after reading into a devmode holding 2
    };
    const Case cases[] = {
        {{0x34, 0x12, 0, 0}, 0x34},
        {{5, 0}, 5},
        {{7}, 7},
        {{}, 2},
        {{1, 0, 0, 0, 0}, 2},  // longer than a value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload.size());
        const Bytes after = ReadInto(Root({Elem(0x190, {Raw(2, c.payload)})}), DefaultDevmode());
        EXPECT_EQ(after[230], c.expected);
    }
    Bytes devmode = DefaultDevmode();
    Set(devmode, 230, 1, 0xC8);
    EXPECT_EQ(FindElement(BuildConfigData(devmode), "1/190/2"), Val(2, 0xC8));
}

TEST(CfgFeatures, TextPairWritesTextOptionAndKind)
{
    struct Case {
        int flag466, option467;
        std::uint32_t kind1, kind2, option;
    };
    const Case cases[] = {{0, 0, 18, 19, 27}, {1, 0, 20, 21, 27}, {0, 1, 18, 19, 26}, {1, 3, 20, 21, 26}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.flag466 << "/" << c.option467);
        Bytes devmode = DefaultDevmode();
        Set(devmode, 466, 1, c.flag466);
        Set(devmode, 467, 1, c.option467);
        PutText(devmode, 468, Wide("Ab"));
        EXPECT_EQ(FindElement(BuildConfigData(devmode), "1/20002"),
                  Elem(0x20002, {Elem(0x10000, {StringElement(1, Wide("Ab")), Val(4, c.option),
                                                Elem(3, {Val(1, c.kind1)})}),
                                 Elem(0x10000, {Val(4, c.option), Elem(3, {Val(1, c.kind2)})})}));
    }
}

TEST(CfgFeatures, TextPairKindChoosesTheText)
{
    const Bytes oldText = Padded(Wide("old"), 64);
    struct Case {
        const char* what;
        Bytes member;
        Bytes text468, text532;
        int flag466, option467;
        bool stored;
    };
    const Case cases[] = {
        {"first, flagged", Elem(0x10000, {StringElement(1, Wide("Hi")), Val(4, 27), Elem(3, {Val(1, 20)})}),
         Padded(Wide("Hi"), 64), oldText, 1, 0, true},
        {"second, plain", Elem(0x10005, {StringElement(1, Wide("Yo")), Val(4, 26), Elem(3, {Val(1, 19)})}),
         oldText, Padded(Wide("Yo"), 64), 0, 1, true},
        {"no text clears it", Elem(0x10000, {Elem(3, {Val(1, 18)}), Val(4, 26)}), Padded({}, 64), oldText, 0, 1,
         true},
        {"long text", Elem(0x10000, {StringElement(1, Wide(std::string(40, 'w'))), Elem(3, {Val(1, 18)})}),
         Padded(Wide(std::string(31, 'w')), 64), oldText, 0, 9, true},
        {"unknown option kept", Elem(0x10000, {Val(4, 30), Elem(3, {Val(1, 21)})}), oldText, Padded({}, 64), 1,
         9, true},
        {"unknown kind", Elem(0x10000, {StringElement(1, Wide("No")), Val(4, 27), Elem(3, {Val(1, 22)})}),
         oldText, oldText, 7, 9, false},
        {"no kind", Elem(0x10000, {StringElement(1, Wide("No")), Val(4, 27)}), oldText, oldText, 7, 9, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes before = DefaultDevmode();
        PutText(before, 468, oldText);
        PutText(before, 532, oldText);
        Set(before, 466, 1, 7);
        Set(before, 467, 1, 9);
        bool ok = false;
        const Bytes after = ReadInto(Root({Elem(0x20002, {c.member})}), before, &ok);
        EXPECT_EQ(ok, c.stored);
        EXPECT_EQ(Field(after, 468, 64), c.text468);
        EXPECT_EQ(Field(after, 532, 64), c.text532);
        EXPECT_EQ(after[466], c.flag466);
        EXPECT_EQ(after[467], c.option467);
    }
}

TEST(CfgFeatures, PrintModeByteDependsOnTheModel)
{
    struct Case {
        std::uint16_t flags400;
        std::uint16_t word362;
        std::size_t offset;
    };
    const Case cases[] = {
        {0, 0, 234}, {0x0008, 0, 235}, {0x0808, 0, 234}, {0x0800, 0, 234}, {0, 3, 235}, {0x0808, 3, 235},
        {0, 2, 234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.flags400 << " " << c.word362);
        Bytes devmode = DefaultDevmode();
        Set(devmode, 400, 2, c.flags400);
        Set(devmode, 362, 2, c.word362);
        EXPECT_EQ(PrintModeByteOffset(devmode), c.offset);
        const std::size_t other = c.offset == 234 ? 235 : 234;
        Set(devmode, c.offset, 1, 3);
        Set(devmode, other, 1, 4);
        EXPECT_EQ(FindElement(BuildConfigData(devmode), "1/B3/1"), Val(1, 3));

        const Bytes after = ReadInto(Root({Elem(0xB3, {Val(1, 2)})}), devmode);
        EXPECT_EQ(after[c.offset], 2);
        EXPECT_EQ(after[other], 4);
    }
}

TEST(CfgFeatures, UserPaperSizeTravelsWithAUserDefinedPaper)
{
    Bytes devmode = DefaultDevmode();
    Set(devmode, 82, -2, 1000);
    Set(devmode, 80, -2, 2000);
    EXPECT_TRUE(FindElement(BuildConfigData(devmode), "1/F").empty()) << "A4 has no size of its own";
    Set(devmode, 78, -2, 256);
    EXPECT_EQ(FindElement(BuildConfigData(devmode), "1/F"), Elem(0xF, {Val(1, 1000), Val(2, 2000)}));

    struct Case {
        std::uint32_t width, length;
        std::int64_t expectedWidth, expectedLength;
    };
    const Case cases[] = {
        {1200, 1700, 1200, 1700},
        {0, 1700, 5, 1700},           // no width
        {0xFFFFFFFFu, 0, 5, 6},       // negative and none
        {40000, 32767, 5, 32767},     // too wide for the field
    };
    for (const Case& c : cases) {
        Bytes before = DefaultDevmode();
        Set(before, 82, -2, 5);
        Set(before, 80, -2, 6);
        const Bytes after = ReadInto(Root({Elem(0xF, {Val(1, c.width), Val(2, c.length)})}), before);
        EXPECT_EQ(Get(after, 82, -2), c.expectedWidth) << c.width;
        EXPECT_EQ(Get(after, 80, -2), c.expectedLength) << c.length;
    }
}

// A value is stored only when its element holds 1 to 4 bytes and it fits the field whole.
TEST(CfgFeatures, GroupValuesOfAnUnexpectedSizeOrRangeAreNotStored)
{
    struct Case {
        const char* what;
        Bytes data;
    };
    const Case cases[] = {
        {"five bytes", Root({Elem(0x1C0, {Raw(2, {1, 0, 0, 0, 0})})})},
        {"no bytes", Root({Elem(0x1C0, {Raw(2, {})})})},
        {"too big for a byte", Root({Elem(0x1C0, {Val(2, 300)})})},
        {"too small for a signed byte", Root({Elem(0x162, {Val(2, 0xFFFFFF7Fu)})})},
        {"too big for a signed byte", Root({Elem(0x162, {Val(2, 128)})})},
        {"a child of no field", Root({Elem(0x1C0, {Val(13, 1)})})},
        {"a media type of 0", Root({Elem(3, {Val(1, 0)})})},
        {"a class member of no field", Root({Elem(0x121, {Val(0x10003, 1)})})},
        {"not a member of the class", Root({Elem(0x121, {Val(0x20001, 1)})})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool ok = true;
        EXPECT_EQ(ReadInto(c.data, DefaultDevmode(), &ok), DefaultDevmode());
        EXPECT_FALSE(ok);
    }
}

// A handler that cannot finish its element reports a hard failure, never a success over a partial
// element.
TEST(CfgFeatures, AnElementThatCannotBeWrittenIsAFailure)
{
    Bytes devmode = EverySpecialValueChanged();
    const auto& entries = TopLevelCfgTable().entries;
    for (std::uint32_t top : {0x20002u, 0x1C0u, 0x14u, 0x20202u, 0x20001u, 0xFu}) {
        const auto e = std::find_if(entries.begin(), entries.end(), [top](const CfgEntry& x) { return x.id == top; });
        ASSERT_NE(e, entries.end());
        const CfgTable table{std::span(&*e, 1)};
        for (std::size_t room = 0; room <= 200; room += 4) {
            SCOPED_TRACE(::testing::Message() << Hex(top) << " in " << room << " bytes");
            ElementCursor cursor(room);
            Bytes copy = devmode;
            CfgWork work;
            work.devmode = copy;
            work.opMask = kOpAll;
            work.mode = 1;
            work.cursor = &cursor;
            const CfgResult r = WriteCfgTable(table, work, kPassAll);
            if (cursor.error() != ElementCursor::ErrNone) {
                EXPECT_LT(r, 0);
                continue;
            }
            EXPECT_GT(r, 0);
            const Bytes data(cursor.data().begin(), cursor.data().end());
            EXPECT_EQ(cursor.depth(), 0u);
            EXPECT_EQ(GetU32(data, 4), data.size());
        }
    }
}

}  // namespace
