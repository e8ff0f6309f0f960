#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ListRecords.h"
#include "RecordList.h"

namespace {

using recordlist::Field;
using recordlist::RecordList;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Bytes = std::vector<std::uint8_t>;

TEST(RecordList, AppendWritesTheStoredLayout)
{
    RecordList list;
    const Bytes number = recordlist::Int16Data(513);
    const Bytes name = recordlist::TextData("A5");
    const Field fields[] = {{1, number}, {2, name}};
    ASSERT_TRUE(list.Append(fields));
    // 7 + (2 + 5) + (3 + 5) = 22 bytes: length, two fields with a spare byte each, terminator, spare.
    EXPECT_THAT(list.Bytes(), ElementsAre(22, 0,                          //
                                          1, 0, 7, 0, 0x01, 0x02, 0,      //
                                          2, 0, 8, 0, 'A', '5', 0, 0,     //
                                          0, 0, 5, 0, 0));
    EXPECT_TRUE(list.Changed());
    EXPECT_EQ(513, list.FieldInt16(1));
    EXPECT_EQ("A5", list.FieldText(2));
    EXPECT_FALSE(list.FieldData(3));

    const Bytes ten(10, 0xAB);
    const Field one[] = {{4, ten}};
    ASSERT_TRUE(list.Append(one));
    EXPECT_EQ(22u + 22u, list.Bytes().size());
}

TEST(RecordList, WalksDeletesAndClears)
{
    RecordList list;
    for (std::int16_t n : {1, 2, 3}) {
        const Bytes data = recordlist::Int16Data(n);
        const Field fields[] = {{1, data}};
        ASSERT_TRUE(list.Append(fields));
    }
    RecordList stored(list.Bytes());
    EXPECT_FALSE(stored.Changed());
    std::vector<int> seen;
    for (bool more = stored.Rewind(); more; more = stored.Next())
        seen.push_back(*stored.FieldInt16(1));
    EXPECT_THAT(seen, ElementsAre(1, 2, 3));

    stored.Rewind();
    stored.Next();
    stored.DeleteCurrent();
    EXPECT_EQ(3, stored.FieldInt16(1));  // the next record moved into place
    EXPECT_TRUE(stored.Changed());
    stored.Clear();
    EXPECT_TRUE(stored.Bytes().empty());
    EXPECT_FALSE(stored.Rewind());
    EXPECT_FALSE(stored.FieldData(1));

    RecordList empty(Bytes{});
    EXPECT_FALSE(empty.Rewind());
    EXPECT_FALSE(empty.Next());
}

TEST(RecordList, RefusesRecordsThatCannotBeStored)
{
    RecordList list;
    const Bytes data = recordlist::Int16Data(1);
    const Field zeroKey[] = {{0, data}};
    EXPECT_FALSE(list.Append(zeroKey));
    const Bytes huge(0xFFFF, 1);
    const Field tooLong[] = {{1, huge}};
    EXPECT_FALSE(list.Append(tooLong));
    EXPECT_TRUE(list.Bytes().empty());
    EXPECT_FALSE(list.Changed());
}

// One good record, then damage: the list keeps the good record and never reads past the bytes.
TEST(RecordList, MalformedStoredBytesEndTheListAndFieldWalksStayInside)
{
    struct Case {
        const char* what;
        Bytes bytes;
        size_t kept;
    };
    RecordList one;
    const Bytes number = recordlist::Int16Data(7);
    const Field f[] = {{1, number}};
    one.Append(f);
    const Bytes record = one.Bytes();  // 14 bytes
    auto with = [&](Bytes tail) {
        Bytes b = record;
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    const Case cases[] = {
        {"length 0", with({0, 0, 1, 0, 7, 0, 1, 2, 0}), 14},
        {"length below a record", with({6, 0, 0, 0, 5, 0}), 14},
        {"length past the end", with({40, 0, 1, 0, 7, 0, 1}), 14},
        {"odd byte", with({1}), 14},
        {"clean", with({}), 14},
    };
    for (const Case& c : cases) {
        RecordList list(c.bytes);
        EXPECT_EQ(c.kept, list.Bytes().size()) << c.what;
        EXPECT_EQ(c.bytes.size() != c.kept, list.Truncated()) << c.what;
        EXPECT_FALSE(list.Changed()) << c.what;
        ASSERT_TRUE(list.Rewind()) << c.what;
        EXPECT_EQ(7, list.FieldInt16(1)) << c.what;
        EXPECT_FALSE(list.Next()) << c.what;
    }

    // Inside a record: a field whose length is 0, below its header, or past the record ends the
    // field walk; a name without NUL ends at its field.
    struct FieldCase {
        const char* what;
        Bytes bytes;
        bool found;
    };
    const FieldCase fields[] = {
        {"zero length", {13, 0, 3, 0, 0, 0, 2, 0, 5, 0, 0, 0, 0}, false},
        {"below header", {13, 0, 3, 0, 4, 0, 2, 0, 5, 0, 0, 0, 0}, false},
        {"past record", {13, 0, 3, 0, 40, 0, 2, 0, 5, 0, 0, 0, 0}, false},
        {"no terminator", {10, 0, 3, 0, 5, 0, 0, 2, 0, 7}, false},
    };
    for (const FieldCase& c : fields) {
        RecordList list(c.bytes);
        ASSERT_TRUE(list.Rewind()) << c.what;
        EXPECT_EQ(c.found, list.FieldData(2).has_value()) << c.what;
    }
    RecordList unterminated(Bytes{12, 0, 2, 0, 8, 0, 'a', 'b', 'c', 0, 0, 0});
    ASSERT_TRUE(unterminated.Rewind());
    EXPECT_EQ("abc", unterminated.FieldText(2));
}

TEST(RecordList, HexTextIsUpperCaseAndBounded)
{
    const Bytes bytes = {0x00, 0x1f, 0xA0, 0xff};
    EXPECT_EQ("001FA0FF", recordlist::HexText(bytes, 64));
    EXPECT_EQ("001F", recordlist::HexText(bytes, 2));
    const Bytes many(100, 0x5A);
    EXPECT_EQ(128u, recordlist::HexText(many, 64).size());
}

}  // namespace

namespace {

TEST(ListRecords, WatermarksMacrosAndAssociationsRoundTrip)
{
    recordlist::RecordList list;
    recordlist::Watermark w;
    w.number = 3;
    w.name = "Draft";
    w.text = "DRAFT - do not copy";
    w.layout[0] = 45;
    w.layout[14] = 0xFFFFFFFF;
    w.value = 0x00FF0000;
    w.words = {1, 2, 3, 65535};
    ASSERT_TRUE(recordlist::AppendWatermark(list, w));

    recordlist::Macro withoutText;
    withoutText.number = 9;
    withoutText.name = "Letterhead";
    withoutText.kind = 2;
    ASSERT_TRUE(recordlist::AppendMacro(list, withoutText));

    recordlist::FormAssociation a;
    a.number = 641;
    a.name = "Letter plain";
    a.values = {{3, {1, 0}}, {7, {'A', 'B', 0}}, {12, {}}};
    ASSERT_TRUE(recordlist::AppendFormAssociation(list, a));
    recordlist::FormAssociation badKey = a;
    badKey.values = {{13, {1}}};
    EXPECT_FALSE(recordlist::AppendFormAssociation(list, badKey));

    recordlist::RecordList stored(list.Bytes());
    ASSERT_TRUE(stored.Rewind());
    const auto wm = recordlist::ReadWatermark(stored);
    ASSERT_TRUE(wm);
    EXPECT_EQ("DRAFT - do not copy", wm->text);
    EXPECT_EQ(w.layout, wm->layout);
    EXPECT_EQ(w.value, wm->value);
    EXPECT_EQ(w.words, wm->words);
    ASSERT_TRUE(stored.Next());
    const auto macro = recordlist::ReadMacro(stored);
    ASSERT_TRUE(macro);
    EXPECT_FALSE(macro->text);
    EXPECT_EQ(2, macro->kind);
    ASSERT_TRUE(stored.Next());
    const auto assoc = recordlist::ReadFormAssociation(stored);
    ASSERT_TRUE(assoc);
    EXPECT_EQ(641, assoc->number);
    EXPECT_EQ(a.values, assoc->values);
    EXPECT_FALSE(stored.Next());
}

TEST(ListRecords, MissingOrShortFieldsReadAsDefaults)
{
    // A macro record with number and name only: its kind is 5.
    recordlist::RecordList list;
    const Bytes number = recordlist::Int16Data(4);
    const Bytes name = recordlist::TextData("Form 4");
    const Bytes shortBlock(12, 7);
    const Field macroFields[] = {{1, number}, {2, name}};
    ASSERT_TRUE(list.Append(macroFields));
    EXPECT_EQ(5, recordlist::ReadMacro(list)->kind);
    // A watermark whose layout block is not 60 bytes keeps a zero layout.
    const Field watermarkFields[] = {{1, number}, {2, name}, {4, shortBlock}};
    ASSERT_TRUE(list.Append(watermarkFields));
    EXPECT_EQ((std::array<std::uint32_t, 15>{}), recordlist::ReadWatermark(list)->layout);
    // Without a name a record is no entry of a list.
    const Field numberOnly[] = {{1, number}};
    ASSERT_TRUE(list.Append(numberOnly));
    EXPECT_FALSE(recordlist::ReadMacro(list));
}

}  // namespace
