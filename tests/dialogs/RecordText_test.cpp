// The dialog library's platform-neutral readers of what users type and of what the driver
// library answers from stored lists: paper sizes in inches and millimetres, and list answers
// that another user's values may have damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ListAnswer.h"
#include "PaperUnits.h"

namespace {

using paperunits::Unit;

TEST(PaperUnits, ParseRoundsToTheDisplayUnit)
{
    const struct {
        const char* text;
        Unit unit;
        std::optional<std::int32_t> display;
    } cases[] = {
        {"8.5", Unit::Inch, 85},       {"8", Unit::Inch, 80},         {"8.", Unit::Inch, 80},
        {"8.55", Unit::Inch, 86},      {"8.549", Unit::Inch, 85},     {"8.555", Unit::Inch, 86},
        {"8.5555", Unit::Inch, std::nullopt},                          {"210", Unit::Millimetre, 210},
        {"210.5", Unit::Millimetre, 211}, {"210.45", Unit::Millimetre, 210}, {".5", Unit::Inch, 5},
        {"", Unit::Inch, std::nullopt}, {".", Unit::Inch, std::nullopt}, {"8,5", Unit::Inch, std::nullopt},
        {"-1", Unit::Millimetre, std::nullopt}, {"1.2.3", Unit::Inch, std::nullopt}, {" 8", Unit::Inch, std::nullopt},
        {"32767", Unit::Millimetre, 32767}, {"32768", Unit::Millimetre, std::nullopt},
        {"3276.7", Unit::Inch, 32767},  {"3276.8", Unit::Inch, std::nullopt},
        {"214748364", Unit::Millimetre, std::nullopt}, {"2147483650", Unit::Millimetre, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paperunits::Parse(c.text, c.unit), c.display) << '"' << c.text << '"';
}

TEST(PaperUnits, StoredUnitsAreTwelveHundredthsOfAnInch)
{
    EXPECT_EQ(paperunits::ToStored(85, Unit::Inch), 10200);
    EXPECT_EQ(paperunits::ToStored(210, Unit::Millimetre), 9921);
    EXPECT_EQ(paperunits::ToDisplay(9921, Unit::Millimetre), 210);
    EXPECT_EQ(paperunits::ToDisplay(10200, Unit::Inch), 85);
    EXPECT_EQ(paperunits::ToDisplay(10259, Unit::Inch), 85);
    EXPECT_EQ(paperunits::ToDisplay(10260, Unit::Inch), 86);
    EXPECT_EQ(paperunits::Format(85, Unit::Inch), "8.5");
    EXPECT_EQ(paperunits::Format(210, Unit::Millimetre), "210");
    EXPECT_EQ(paperunits::FormatRange(30, 85, Unit::Inch), "(3.0 - 8.5)");
    EXPECT_EQ(paperunits::FormatRange(76, 216, Unit::Millimetre), "(76 - 216)");
}

TEST(PaperUnits, PrintableExtentIsAMultipleOfFour)
{
    EXPECT_EQ(paperunits::Printable(9921, 2411), 5096);  // 5099
    EXPECT_EQ(paperunits::Printable(10200, 100), 10000);
    EXPECT_EQ(paperunits::Printable(100, 60), 0);
}

// A list answer as the driver library lays it out.
struct Answer {
    std::vector<std::uint8_t> numbers;
    std::vector<char> names;
    void Add(std::int16_t number, const std::string& name)
    {
        numbers.push_back(std::uint8_t(number));
        numbers.push_back(std::uint8_t(std::uint16_t(number) >> 8));
        names.insert(names.end(), name.begin(), name.end());
        names.push_back('\0');
    }
    std::vector<listanswer::Item> Read(std::size_t count) const
    {
        return listanswer::Read(numbers, names, count, 512, 519);
    }
};

std::vector<std::string> NamesOf(const std::vector<listanswer::Item>& items)
{
    std::vector<std::string> names;
    for (const auto& item : items)
        names.push_back(std::to_string(item.number) + " " + item.name);
    return names;
}

TEST(ListAnswer, ReadsAsFarAsTheAnswerIsWhole)
{
    Answer a;
    a.Add(512, "A4 wide");
    a.Add(900, "out of range");
    a.Add(513, "Card");
    a.Add(512, "again");
    a.Add(514, std::string(80, 'x'));
    a.names.push_back('\0');
    using V = std::vector<std::string>;
    EXPECT_EQ(NamesOf(a.Read(5)), (V{"512 A4 wide", "513 Card", "514 " + std::string(63, 'x')}));
    // A count beyond the numbers block, and a names block that ends inside a name.
    Answer b;
    b.Add(512, "one");
    b.Add(513, "two");
    b.names.resize(b.names.size() - 2);
    EXPECT_EQ(NamesOf(b.Read(40)), V{"512 one"});
    // An empty name ends the list; no blocks at all give nothing.
    Answer c;
    c.Add(512, "one");
    c.Add(513, "");
    c.Add(514, "three");
    EXPECT_EQ(NamesOf(c.Read(3)), V{"512 one"});
    EXPECT_TRUE(listanswer::Read({}, {}, 3, 512, 519).empty());
}

TEST(ListAnswer, NamesAndNumbers)
{
    const std::int16_t used[] = {1, 2, 4};
    EXPECT_EQ(listanswer::SmallestFree(used, 1, 255), 3);
    const std::int16_t full[] = {512, 513, 514, 515, 516, 517, 518, 519};
    EXPECT_EQ(listanswer::SmallestFree(full, 512, 519), std::nullopt);
    EXPECT_EQ(listanswer::Trimmed("  Draft copy "), "Draft copy");
    EXPECT_EQ(listanswer::Trimmed("   "), "");
    const struct {
        const char* name;
        bool form, watermark;
    } names[] = {{"Draft", true, true},    {"", false, false},      {"a,b", false, false}, {"a\tb", false, false},
                 {"!Draft", true, false},  {"No #1", true, false},  {"Caf\xe9", true, true}};
    for (const auto& n : names) {
        EXPECT_EQ(listanswer::IsFormName(n.name), n.form) << n.name;
        EXPECT_EQ(listanswer::IsWatermarkName(n.name), n.watermark) << n.name;
    }
    char field[8];
    std::memset(field, 'z', sizeof field);
    listanswer::PutField(field, sizeof field, "overlong name");
    EXPECT_EQ(std::string(field), "overlon");
    EXPECT_EQ(listanswer::FieldText("abc", 2), "ab");
}

}  // namespace
