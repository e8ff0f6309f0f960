#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/QuickIni.h"

namespace {

using enginetest::LogCapture;
using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::Utf16File;
using enginetest::WriteBytes;

struct EditCase {
    const char* name;
    const char* before;
    int kind;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const EditCase kEditCases[] = {
    {"write replaces the value", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", QuickWrite, "A", "k", "9",
     "[A]\r\nk=9\r\n[B]\r\nk=2\r\n"},
    {"write replaces the first occurrence only", "[A]\r\nk=1\r\nk=2\r\n", QuickWrite, "A", "k", "9",
     "[A]\r\nk=9\r\nk=2\r\n"},
    {"write keeps the line's own key", "[a]\r\n\"K\" = 1\r\n", QuickWrite, "A", "k", "x y",
     "[a]\r\nK=x y\r\n"},
    {"write adds the key before the next header", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", QuickWrite,
     "A", "k", "9", "[A]\r\nx=1\r\n\r\nk=9\r\n[B]\r\ny=2\r\n"},
    {"write adds the key to the last section without a second header", "[B]\r\n[A]\r\nx=1\r\n",
     QuickWrite, "A", "k", "9", "[B]\r\n[A]\r\nx=1\r\nk=9\r\n"},
    {"write adds a missing section at the end", "[B]\r\nk=1\r\n", QuickWrite, "A", "k", "9",
     "[B]\r\nk=1\r\n[A]\r\nk=9\r\n"},
    {"write into an empty file", "", QuickWrite, "A", "k", "9", "[A]\r\nk=9\r\n"},
    {"a header with blanks is another section", "[ A ]\r\nk=1\r\n", QuickWrite, "A", "k", "9",
     "[ A ]\r\nk=1\r\n[A]\r\nk=9\r\n"},
    {"comments never match", "[A]\r\n;k=1\r\n#k=2\r\n", QuickWrite, "A", "k", "9",
     "[A]\r\n;k=1\r\n#k=2\r\nk=9\r\n"},
    {"lines before any section never match", "k=1\r\n[A]\r\n", QuickWrite, "A", "k", "9",
     "k=1\r\n[A]\r\nk=9\r\n"},
    {"copied lines are trimmed and end in CR LF", "  ; c  \n\t[A] \n  x = 1  \n  k=1\n  y =  2 \n",
     QuickWrite, "A", "k", "9", "; c\r\n[A]\r\nx = 1\r\nk=9\r\ny =  2\r\n"},
    {"delete with no value drops the first occurrence", "[A]\r\nk=1\r\nk=2\r\n", QuickDelete, "A",
     "k", "", "[A]\r\nk=2\r\n"},
    {"delete with a matching value, any case", "[A]\r\nk=Yes\r\nz=1\r\n", QuickDelete, "a", "K",
     "yes", "[A]\r\nz=1\r\n"},
    // The first occurrence decides: a mismatch keeps it and ends the search.
    {"delete with another value keeps the line", "[A]\r\nk=1\r\nk=2\r\n", QuickDelete, "A", "k",
     "2", "[A]\r\nk=1\r\nk=2\r\n"},
    {"delete of a missing key adds nothing", "[A]\r\nx=1\r\n[B]\r\n", QuickDelete, "A", "k", "",
     "[A]\r\nx=1\r\n[B]\r\n"},
    {"delete in a missing section adds nothing", "[B]\r\nk=1\r\n", QuickDelete, "A", "k", "",
     "[B]\r\nk=1\r\n"},
};

TEST(QuickIni, EditsOneKeyInPlace)
{
    for (const EditCase& c : kEditCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        CStdStr path = dir.File("edit.ini");
        ASSERT_TRUE(WriteBytes(path, c.before));
        LogCapture log;
        bool ok = c.kind == QuickWrite ? QuickWriteIniString(path, c.section, c.key, c.value)
                                       : QuickDeleteIniString(path, c.section, c.key, c.value);
        EXPECT_TRUE(ok);
        EXPECT_EQ(ReadBytes(path), c.after);
        // The temporary copy became the file: nothing else is left beside it.
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"edit.ini"});
        EXPECT_EQ(log.Text(), "");
    }
}

TEST(QuickIni, Utf16FileStaysUtf16)
{
    TempDir dir;
    CStdStr path = dir.File("wide.ini");
    ASSERT_TRUE(WriteBytes(path, Utf16File("[A]\r\nk=1\r\nj=2\r\n")));
    EXPECT_TRUE(QuickWriteIniString(path, "A", "k", "9"));
    EXPECT_EQ(ReadBytes(path), Utf16File("[A]\r\nk=9\r\nj=2\r\n"));
    EXPECT_TRUE(QuickDeleteIniString(path, "A", "j", ""));
    EXPECT_EQ(ReadBytes(path), Utf16File("[A]\r\nk=9\r\n"));
}

TEST(QuickIni, EmptyArgumentsFailSilently)
{
    TempDir dir;
    CStdStr path = dir.File("edit.ini");
    ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=1\r\n"));
    struct Args {
        CStdStr file, section, key;
    };
    const Args cases[] = {{"", "A", "k"}, {path, "", "k"}, {path, "A", ""}};
    LogCapture log;
    for (const Args& a : cases) {
        SCOPED_TRACE(::testing::Message() << "[" << a.file << "] [" << a.section << "] [" << a.key << "]");
        EXPECT_FALSE(QuickWriteIniString(a.file, a.section, a.key, "9"));
        EXPECT_FALSE(QuickDeleteIniString(a.file, a.section, a.key, ""));
    }
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
}

TEST(QuickIni, MissingFileIsReported)
{
    TempDir dir;
    CStdStr path = dir.File("missing.ini");
    LogCapture log;
    EXPECT_FALSE(QuickWriteIniString(path, "A", "k", "9"));
    EXPECT_EQ(log.Text(), "quick_write_helper: could not open file " + path + " for reading.\n");
    EXPECT_TRUE(dir.Names().empty());
}

// A file held open without delete sharing can be read but not replaced: the edit fails and
// leaves it as it was.
TEST(QuickIni, FailedReplacementKeepsTheOriginal)
{
    TempDir dir;
    CStdStr path = dir.File("locked.ini");
    ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=1\r\n"));
    struct Holder {
        HANDLE handle;
        ~Holder() { CloseHandle(handle); }
    } holder{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr)};
    ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);

    LogCapture log;
    EXPECT_FALSE(QuickWriteIniString(path, "A", "k", "9"));
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"locked.ini"});

    // The error code and the temporary name are the system's choice; the rest is fixed.
    std::string text = log.Text();
    const std::string head = "quick_write_helper: could not copy temp file to destination (error ";
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
    size_t afterCode = text.find_first_not_of("0123456789", head.size());
    EXPECT_GT(afterCode, head.size()) << text;
    EXPECT_NE(text[head.size()], '0') << text;
    const std::string middle = ").\n\tTemp file: " + dir.path() + "\\";
    ASSERT_EQ(text.compare(afterCode, middle.size(), middle), 0) << text;
    size_t end = text.find('\n', afterCode + middle.size());
    ASSERT_NE(end, std::string::npos) << text;
    EXPECT_EQ(text.substr(end), "\nDestination: " + path + "\n");
}

}  // namespace
