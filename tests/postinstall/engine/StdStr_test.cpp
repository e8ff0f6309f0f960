#include <gtest/gtest.h>

#include "engine/StdStr.h"

namespace {

TEST(ParseDecimal, ReadsLikeTheCLibrary)
{
    struct Case {
        const char* text;
        long value;
        bool digits;
    } cases[] = {
        {"2", 2, true},      {"  -1", -1, true},  {"+7abc", 7, true},    {"abc", 0, false},
        {"", 0, false},      {"0x10", 0, true},   {"\t 12 34", 12, true}, {"-", 0, false},
        {"99999999999999999999", LONG_MAX, true}, {"-99999999999999999999", LONG_MIN, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool digits = !c.digits;
        EXPECT_EQ(c.value, ParseDecimal(c.text, &digits));
        EXPECT_EQ(c.digits, digits);
    }
}

TEST(StdStr, ComparesWithoutRegardToCaseInTheClassicLocale)
{
    EXPECT_TRUE(EqualNoCase("QelInstallFile", "qelinstallfile"));
    EXPECT_FALSE(EqualNoCase("Files", "Files "));
    // Only ASCII letters fold: an accented letter is not touched.
    EXPECT_FALSE(EqualNoCase("\xC4", "\xE4"));
    EXPECT_EQ("a b", Trim(" \t a b \r\n"));
}

}  // namespace
