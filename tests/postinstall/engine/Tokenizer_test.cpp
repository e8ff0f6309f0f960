#include <gtest/gtest.h>

#include "engine/Tokenizer.h"

namespace {

struct SplitCase {
    const char* text;
    char separator;
    unsigned options;
    CStdStringList fields;
};

const SplitCase kSplitCases[] = {
    {"a,,b", ',', 0, {"a", "", "b"}},
    {"a,", ',', 0, {"a"}},
    {",a", ',', 0, {"", "a"}},
    {",a,", ',', 0, {"", "a"}},
    {"", ',', 0, {}},
    {"a , b", ',', 0, {"a", "b"}},
    // Only a field cut at a separator loses trailing blanks; the last one is the bare remainder.
    {"a ,b ", ',', 0, {"a", "b "}},
    {"  a,b", ',', 0, {"  a", "b"}},
    {"  a,b", ',', TokTrimLeft, {"a", "b"}},
    {"5.0.12.3", '.', 0, {"5", "0", "12", "3"}},
    {"\"a,b\",c", ',', 0, {"\"a", "b\"", "c"}},
    {"\"a,b\",c", ',', TokQuotes, {"a,b", "c"}},
    {"'a,b',c", ',', TokQuotes, {"a,b", "c"}},
    {"\"a 'x' b\" , c", ',', TokQuotes, {"a 'x' b", "c"}},
    // An unclosed quote protects nothing and is kept.
    {"\"a,b", ',', TokQuotes, {"\"a", "b"}},
    // Quotes are dropped only in pairs of the opening character, around the whole field.
    {"'a\",b", ',', TokQuotes, {"'a\"", "b"}},
    {"\"a\"x,b", ',', TokQuotes, {"\"a\"x", "b"}},
    {"a\"b\",c", ',', TokQuotes, {"a\"b\"", "c"}},
    {"\",b", ',', TokQuotes, {"\"", "b"}},
    {"\"\",b", ',', TokQuotes, {"", "b"}},
    // The command line: blank separated, quoted paths with blanks.
    {"  /i \"C:\\My Files\\x.inf\"   /p 'Office Printer'", ' ', TokQuotes | TokTrimLeft,
     {"/i", "C:\\My Files\\x.inf", "/p", "Office Printer"}},
};

TEST(Tokenizer, SplitAllFields)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(::testing::Message() << "text [" << c.text << "] options " << c.options);
        Tokenizer tokenizer(c.text, c.separator, c.options);
        CStdStringList fields{"stale"};
        tokenizer.SplitAll(fields);
        EXPECT_EQ(fields, c.fields);
        EXPECT_FALSE(tokenizer.HasMore());
    }
}

TEST(Tokenizer, NextAfterTheLastFieldIsFalseAndEmpty)
{
    Tokenizer tokenizer;
    tokenizer.set("x,", ',', 0);
    CStdStr field;
    EXPECT_TRUE(tokenizer.HasMore());
    EXPECT_TRUE(tokenizer.Next(field));
    EXPECT_EQ(field, "x");
    EXPECT_FALSE(tokenizer.HasMore());
    field = "stale";
    EXPECT_FALSE(tokenizer.Next(field));
    EXPECT_EQ(field, "");
}

TEST(Tokenizer, SetStartsAgain)
{
    Tokenizer tokenizer("a,b", ',');
    CStdStr field;
    tokenizer.Next(field);
    tokenizer.set("1.2", '.');
    CStdStringList fields;
    tokenizer.SplitAll(fields);
    EXPECT_EQ(fields, (CStdStringList{"1", "2"}));
}

struct KeyValueCase {
    const char* line;
    bool ok;
    const char* key;
    const char* value;
};

const KeyValueCase kKeyValueCases[] = {
    {"Key=Value", true, "Key", "Value"},
    {"  Key  =  Value  ", true, "Key", "Value"},
    {"Key", true, "Key", ""},
    {"Key=", true, "Key", ""},
    {"=Value", false, "", ""},
    {"=", false, "", ""},
    {"Key=a=b", true, "Key", "a=b"},
    // Double quotes go and keep what they enclose; single quotes stay.
    {"Key=\"a, b  c \"", true, "Key", "a, b  c "},
    {"Key = 'a b'", true, "Key", "'a b'"},
    {"\"My Key\"=x", true, "My Key", "x"},
    {"Key=\"\"", true, "Key", ""},
    {"Key=\"", true, "Key", "\""},
    {"Key=\"a'", true, "Key", "\"a'"},
    {"Key=\"\"a\"\"", true, "Key", "\"a\""},
    {"Key=x \"y\"", true, "Key", "x \"y\""},
};

TEST(SplitKeyValue, Cases)
{
    for (const KeyValueCase& c : kKeyValueCases) {
        SCOPED_TRACE(::testing::Message() << "line [" << c.line << "]");
        CStdStr key = "stale", value = "stale";
        EXPECT_EQ(SplitKeyValue(c.line, key, value), c.ok);
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(value, c.value);
    }
}

}  // namespace
