#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/InfFile.h"

namespace {

using enginetest::TempDir;
using enginetest::Utf16File;
using enginetest::WriteBytes;

// LF line ends; the loaders below turn it into each form a script can take.
const char kScript[] =
    "; leading comment\n"
    "Orphan=before any section\n"
    "[Main]\n"
    "Key=first\n"
    "# hash comment\n"
    "   Indented  =  yes   \n"
    "\n"
    "Key=second\n"
    "=hidden\n"
    "Text=\"a, b  c\"\n"
    "Single='x'\n"
    "Bare\n"
    "[ Main ]\n"
    "Key=blanks\n"
    "[main]\n"
    "Key=second section\n"
    "Other=only in the repeat\n"
    "[Empty]\n"
    "  [Spaced]  \n"
    "K=v\n";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

void ExpectScript(const InfFile& inf)
{
    const CStdStringList* main = inf.FindSection("main");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(*main, (CStdStringList{"Key=first", "Indented  =  yes", "Key=second", "=hidden",
                                     "Text=\"a, b  c\"", "Single='x'", "Bare"}));

    ASSERT_EQ(inf.Sections().size(), 5u);
    EXPECT_EQ(inf.Sections()[1].name, " Main ");
    EXPECT_EQ(inf.Sections()[4].name, "Spaced");

    const CStdStringList* blanks = inf.FindSection(" Main ");
    ASSERT_NE(blanks, nullptr);
    EXPECT_EQ(*blanks, CStdStringList{"Key=blanks"});

    const CStdStringList* empty = inf.FindSection("EMPTY");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(inf.FindSection("Missing"), nullptr);

    struct Lookup {
        const char* section;
        const char* key;
        bool found;
        const char* value;
    };
    const Lookup lookups[] = {
        {"Main", "Key", true, "first"},
        {"MAIN", "key", true, "first"},
        {"Main", "Indented", true, "yes"},
        {"Main", "Text", true, "a, b  c"},
        {"Main", "Single", true, "'x'"},
        {"Main", "Bare", true, ""},
        {"Main", "", false, ""},
        // Only the first of two equal names is ever seen.
        {"Main", "Other", false, ""},
        {" Main ", "Key", true, "blanks"},
        {"Main", "Orphan", false, ""},
        {"Missing", "Key", false, ""},
        {"Spaced", "K", true, "v"},
    };
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(::testing::Message() << "[" << l.section << "] " << l.key);
        CStdStr value = "stale";
        EXPECT_EQ(inf.GetValue(l.section, l.key, value), l.found);
        EXPECT_EQ(value, l.value);
    }
}

TEST(InfFile, ParsesTextInMemory)
{
    InfFile inf;
    inf.LoadFromText(kScript);
    ExpectScript(inf);
}

TEST(InfFile, LoadsEveryFileForm)
{
    struct Form {
        const char* name;
        std::string bytes;
    };
    const Form forms[] = {
        {"ansi lf", kScript},
        {"ansi crlf", WithCrLf(kScript)},
        {"utf-16", Utf16File(WithCrLf(kScript))},
    };
    TempDir dir;
    for (const Form& f : forms) {
        SCOPED_TRACE(f.name);
        CStdStr path = dir.File("script.inf");
        ASSERT_TRUE(WriteBytes(path, f.bytes));
        InfFile inf;
        EXPECT_TRUE(inf.Load(path));
        ExpectScript(inf);
    }
}

TEST(InfFile, MissingFileLeavesTheScriptEmpty)
{
    TempDir dir;
    InfFile inf;
    inf.LoadFromText("[Old]\nk=v\n");
    EXPECT_FALSE(inf.Load(dir.File("missing.inf")));
    EXPECT_TRUE(inf.Sections().empty());
    EXPECT_EQ(inf.FindSection("Old"), nullptr);
}

TEST(InfFile, MemoryTextIsSplitLikeAFile)
{
    InfFile inf;
    inf.LoadFromText(std::string("[A]\r\nk=v\0ignored\r\nlast=1", 24));
    const CStdStringList* a = inf.FindSection("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(*a, (CStdStringList{"k=v", "last=1"}));
}

TEST(InfFile, ValueInLinesTakesTheFirstMatch)
{
    const CStdStringList lines = {"=x", "a=1", "B = 2", "A=3"};
    CStdStr value;
    EXPECT_TRUE(InfFile::ValueInLines(lines, "A", value));
    EXPECT_EQ(value, "1");
    EXPECT_TRUE(InfFile::ValueInLines(lines, "b", value));
    EXPECT_EQ(value, "2");
    EXPECT_FALSE(InfFile::ValueInLines(lines, "c", value));
    EXPECT_EQ(value, "");
}

}  // namespace
