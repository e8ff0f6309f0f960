#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/TextFile.h"

namespace {

using enginetest::LogCapture;
using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::Utf16File;
using enginetest::WriteBytes;

struct ReadCase {
    const char* name;
    std::string bytes;
    int encoding;
    CStdStringList lines;
};

const ReadCase kReadCases[] = {
    {"crlf", "a\r\nb\r\n", 1, {"a", "b"}},
    {"lf, no final line end", "a\nb", 1, {"a", "b"}},
    {"empty line inside", "a\n\nb\n", 1, {"a", "", "b"}},
    {"empty line at the end", "a\n\n", 1, {"a", ""}},
    {"empty file", "", 1, {}},
    {"only a line end", "\r\n", 1, {""}},
    {"cr without lf at the end", "a\r", 1, {"a"}},
    {"only the last cr goes", "a\r\r\n", 1, {"a\r"}},
    {"blanks are kept", "  a b \r\n", 1, {"  a b "}},
    {"nul ends the line", std::string("a\0b\r\nc\n", 7), 1, {"a", "c"}},
    {"one byte", "\xFF", 1, {"\xFF"}},
    {"big-endian marker is no marker", "\xFE\xFFx", 1, {"\xFE\xFFx"}},
    {"utf-16", Utf16File("a\r\nb c"), 2, {"a", "b c"}},
    {"utf-16 empty lines", Utf16File("\r\n\r\nx\r\n"), 2, {"", "", "x"}},
    {"utf-16 marker only", "\xFF\xFE", 2, {}},
    {"utf-16 nul ends the line", Utf16File(std::string("a\0b\nc", 5)), 2, {"a", "c"}},
    {"utf-16 odd byte at the end", Utf16File("ab") + "c", 2, {"ab"}},
};

TEST(TextFile, ReadsLinesWithDetectedEncoding)
{
    TempDir dir;
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        CStdStr path = dir.File("read.txt");
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_EQ(TextFile::DetectEncoding(path), c.encoding);

        TextFile file;
        ASSERT_TRUE(file.Open(path, TextFile::ModeRead));
        EXPECT_EQ(file.GetEncoding(), c.encoding);
        CStdStringList lines;
        CStdStr line;
        while (file.ReadString(line))
            lines.push_back(line);
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(file.Close());
    }
}

struct WriteCase {
    int encoding;
    CStdStr text;
    std::string bytes;
};

TEST(TextFile, WritesCrLfInEitherEncoding)
{
    const WriteCase cases[] = {
        {1, "a\nb\n", "a\r\nb\r\n"},
        {1, "", ""},
        {1, "no end", "no end"},
        {2, "a\nb c\n", Utf16File("a\r\nb c\r\n")},
        {2, "", "\xFF\xFE"},
    };
    TempDir dir;
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "encoding " << c.encoding << " text [" << c.text << "]");
        CStdStr path = dir.File("write.txt");
        TextFile file;
        ASSERT_TRUE(file.Open(path, TextFile::ModeWrite, c.encoding));
        EXPECT_TRUE(file.WriteString(c.text));
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
}

TEST(TextFile, WriteEmptiesAnExistingFile)
{
    TempDir dir;
    CStdStr path = dir.File("old.txt");
    ASSERT_TRUE(WriteBytes(path, "old content\r\n"));
    TextFile file;
    ASSERT_TRUE(file.Open(path, TextFile::ModeWrite, TextFile::EncAnsi));
    file.WriteString("new\n");
    file.Close();
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(TextFile, Utf16KeepsAnsiCodePageCharacters)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    TempDir dir;
    CStdStr path = dir.File("cafe.txt");
    TextFile out;
    ASSERT_TRUE(out.Open(path, TextFile::ModeWrite, TextFile::EncUtf16));
    out.WriteString("caf\xE9 \x80\n");
    out.Close();
    EXPECT_EQ(ReadBytes(path), std::string("\xFF\xFE" "c\0a\0f\0\xE9\0 \0\xAC\x20\r\0\n\0", 18));

    TextFile in;
    ASSERT_TRUE(in.Open(path, TextFile::ModeRead));
    CStdStr line;
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(line, "caf\xE9 \x80");
}

TEST(TextFile, OpenAnotherFileClosesTheFirst)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.File("a.txt"), "from a\n"));
    ASSERT_TRUE(WriteBytes(dir.File("b.txt"), Utf16File("from b\n")));
    TextFile file;
    ASSERT_TRUE(file.Open(dir.File("a.txt"), TextFile::ModeRead));
    ASSERT_TRUE(file.Open(dir.File("b.txt"), TextFile::ModeRead));
    CStdStr line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "from b");
    // The first file is no longer held open.
    EXPECT_TRUE(DeleteFileA(dir.File("a.txt").c_str()));
}

TEST(TextFile, GivenEncodingIsTrustedOverTheMarker)
{
    TempDir dir;
    CStdStr path = dir.File("marked.txt");
    ASSERT_TRUE(WriteBytes(path, "\xFF\xFEx\r\n"));
    TextFile file;
    ASSERT_TRUE(file.Open(path, TextFile::ModeRead, TextFile::EncAnsi));
    CStdStr line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "\xFF\xFEx");
}

struct OpenFailure {
    const char* name;
    CStdStr path;
    int mode;
    int encoding;
    std::string log;
};

TEST(TextFile, OpenFailures)
{
    TempDir dir;
    CStdStr missing = dir.File("missing.txt");
    CStdStr noDir = dir.File("no such dir\\x.txt");
    const OpenFailure cases[] = {
        {"empty path", "", 0, 0, ""},
        {"detection fails silently", missing, 0, 0, ""},
        {"detection fails for writing too", missing, 1, 0, ""},
        {"missing file, encoding given", missing, 0, 1,
         "TextFile::Open: open of " + missing + " failed.\n"},
        {"missing directory", noDir, 1, 2, "TextFile::Open: open of " + noDir + " failed.\n"},
    };
    for (const OpenFailure& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        TextFile file;
        EXPECT_FALSE(file.Open(c.path, c.mode, c.encoding));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(log.Text(), c.log);
    }
}

TEST(TextFile, UnsupportedEncodingIsReported)
{
    TempDir dir;
    CStdStr path = dir.File("x.txt");
    ASSERT_TRUE(WriteBytes(path, "x\r\n"));
    LogCapture log;
    CStdStr line = "stale";
    {
        TextFile file;
        ASSERT_TRUE(file.Open(path, TextFile::ModeRead, 3));
        EXPECT_FALSE(file.ReadString(line));
        EXPECT_EQ(line, "");
    }
    {
        TextFile file;
        ASSERT_TRUE(file.Open(path, TextFile::ModeWrite, 3));
        EXPECT_FALSE(file.WriteString("y\n"));
    }
    {
        TextFile never;
        EXPECT_FALSE(never.ReadString(line));
    }
    EXPECT_EQ(log.Text(), "TextFile::ReadString: unsupported encoding type!\n"
                          "TextFile::WriteString: unsupported encoding type!\n"
                          "TextFile::ReadString: unsupported encoding type!\n");
}

}  // namespace
