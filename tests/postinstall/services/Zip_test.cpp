#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "ZipWriter.h"
#include "services/OSInfo.h"
#include "services/Zip.h"
#include "services/ZipEntryName.h"

namespace {

using enginetest::LogCapture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ziptest::BuildZip;
using ziptest::Entry;

using qvtest::Lines;

bool IsDirectory(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

struct FileTimes {
    SYSTEMTIME creation = {}, access = {}, write = {};
};

bool ReadTimes(const std::string& path, FileTimes& times)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME c, a, w;
    bool ok = GetFileTime(h, &c, &a, &w) && FileTimeToSystemTime(&c, &times.creation) &&
              FileTimeToSystemTime(&a, &times.access) && FileTimeToSystemTime(&w, &times.write);
    CloseHandle(h);
    return ok;
}

std::string Text(const SYSTEMTIME& t)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

std::string Text(const ziptest::DosDateTime& t)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string Text(const ZipDate& t)
{
    return Text(ziptest::DosDateTime{t.year, t.month, t.day, t.hour, t.minute, t.second});
}

// Data that needs several extraction buffers, and compresses.
std::string LongText()
{
    std::string text;
    for (int i = 0; text.size() < 3 * kZipBufferSize + 123; ++i)
        text += "line " + std::to_string(i) + " of the long file\r\n";
    return text;
}

using ziptest::Deflated;
using ziptest::Stored;

class ZipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        out_ = dir_.File("out");
    }

    std::string Archive(const std::vector<Entry>& entries, std::optional<unsigned> statedCount = {})
    {
        std::string path = dir_.File("test.zip");
        EXPECT_TRUE(qvtest::WriteFile(path, BuildZip(entries, statedCount)));
        return path;
    }

    std::string Out(const std::string& name) const { return out_ + "\\" + name; }

    qvtest::TempDir dir_;
    std::string out_;
};

TEST_F(ZipTest, ListingGivesNamesInArchiveOrderAndCreatesNothing)
{
    std::string archive = Archive({Stored("readme.txt", "hello"), Deflated("docs/guide/intro.txt", LongText()),
                                   Stored("docs/empty/", "")});
    CStdStringList list = {"left over"};
    EXPECT_TRUE(ZipListContents(archive, ZipList, out_, &list));
    EXPECT_THAT(list, ElementsAre("readme.txt", "docs\\guide\\intro.txt", "docs\\empty\\"));
    EXPECT_THAT(qvtest::NamesIn(dir_.Path()), ElementsAre("test.zip"));

    // Extracting alone leaves a given list alone.
    CStdStringList untouched = {"kept"};
    EXPECT_TRUE(ZipListContents(archive, ZipExtract, out_, &untouched));
    EXPECT_THAT(untouched, ElementsAre("kept"));
}

TEST_F(ZipTest, ListingWithDetailsGivesSizesAndDates)
{
    Entry a = Stored("a.txt", "12345");
    a.time = {1999, 12, 31, 23, 59, 58};
    Entry b = Deflated("sub/b.bin", LongText());
    b.time = {2044, 1, 2, 3, 4, 6};
    std::string archive = Archive({a, b});

    std::vector<ZipEntryInfo> entries;
    ASSERT_TRUE(ZipListEntries(archive, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[0].size, 5u);
    EXPECT_EQ(Text(entries[0].date), Text(a.time));
    EXPECT_EQ(entries[1].name, "sub\\b.bin");
    EXPECT_EQ(entries[1].size, LongText().size());
    EXPECT_EQ(Text(entries[1].date), Text(b.time));
}

TEST_F(ZipTest, ListAndExtractTogether)
{
    std::string archive = Archive({Stored("one.txt", "1"), Deflated("two/two.txt", "22")});
    CStdStringList list;
    EXPECT_TRUE(ZipListContents(archive, ZipList | ZipExtract, out_, &list));
    EXPECT_THAT(list, ElementsAre("one.txt", "two\\two.txt"));
    EXPECT_EQ(qvtest::ReadFile(Out("one.txt")), "1");
    EXPECT_EQ(qvtest::ReadFile(Out("two\\two.txt")), "22");
}

TEST_F(ZipTest, ExtractCreatesNestedFoldersWithTheEntriesContents)
{
    const std::string longText = LongText();
    std::string archive = Archive({Stored("a/b.txt", "bee"), Deflated("a/c/d.txt", longText), Stored("e/", ""),
                                   Deflated("a\\c\\back.txt", "backslash separators")});
    PathObject destination;
    destination.SetDirectory(out_);
    EXPECT_TRUE(ExtractZip(PathObject(archive), destination));

    EXPECT_EQ(qvtest::ReadFile(Out("a\\b.txt")), "bee");
    EXPECT_EQ(qvtest::ReadFile(Out("a\\c\\d.txt")), longText);
    EXPECT_EQ(qvtest::ReadFile(Out("a\\c\\back.txt")), "backslash separators");
    EXPECT_TRUE(IsDirectory(Out("e")));
    EXPECT_THAT(qvtest::NamesIn(Out("e")), IsEmpty());
    EXPECT_THAT(qvtest::NamesIn(out_), UnorderedElementsAre("a", "e"));
}

TEST_F(ZipTest, ExtractReplacesAnExistingFile)
{
    ASSERT_TRUE(CreateDirectoryA(out_.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFile(Out("f.txt"), "an older and longer content"));
    EXPECT_TRUE(ZipListContents(Archive({Deflated("f.txt", "new")}), ZipExtract, out_));
    EXPECT_EQ(qvtest::ReadFile(Out("f.txt")), "new");
}

TEST_F(ZipTest, EntryTimesAreGivenToTheFilesOnBothFamilies)
{
    for (OSInfo::Code code : {OSInfo::WinXP, OSInfo::Win98}) {
        SCOPED_TRACE("OS code " + std::to_string(code));
        OSInfo::ScopedOverride os(code);
        Entry a = Stored("t/a.txt", "a");
        a.time = {2003, 4, 5, 6, 7, 8};
        Entry b = Deflated("b.txt", "b");
        b.time = {1985, 11, 30, 22, 0, 0};
        ASSERT_TRUE(ZipListContents(Archive({a, b}), ZipExtract, out_));

        for (const Entry& e : {a, b}) {
            FileTimes times;
            std::string path = Out(e.name);
            std::replace(path.begin(), path.end(), '/', '\\');
            ASSERT_TRUE(ReadTimes(path, times)) << path;
            // Taken as they are: no zone conversion on the way.
            EXPECT_EQ(Text(times.creation), Text(e.time)) << path;
            EXPECT_EQ(Text(times.access), Text(e.time)) << path;
            EXPECT_EQ(Text(times.write), Text(e.time)) << path;
        }
        ASSERT_TRUE(qvtest::RemoveTree(out_));
    }
}

TEST_F(ZipTest, AnEntryWithoutAValidDateIsExtractedAndLogged)
{
    LogCapture log;
    Entry e = Stored("nodate.txt", "x");
    e.zeroDate = true;
    EXPECT_TRUE(ZipListContents(Archive({e}), ZipExtract, out_));
    EXPECT_EQ(qvtest::ReadFile(Out("nodate.txt")), "x");
    EXPECT_THAT(Lines(log.Text()),
                ElementsAre("zip_extract_file: unable to call SystemTimeToFileTime for " + Out("nodate.txt") +
                            "(Error: 87)"));
}

TEST(ZipEntryNameTest, NamesThatLeaveTheTargetAreRecognised)
{
    struct Case {
        const char* name;
        bool inside;
    } cases[] = {
        {"a.txt", true},
        {"a/b/c.txt", true},
        {"a\\b\\c.txt", true},
        {"dir/", true},
        {"./a.txt", true},
        {"a/./b", true},
        {"..a", true},
        {"a..", true},
        {"a/..b/c..", true},
        {"a..b", true},
        {".hidden", true},
        {"", true},
        {"..", false},
        {"../x", false},
        {"..\\x", false},
        {"a/../../x", false},
        {"a/..", false},
        {"a\\..\\b", false},
        {"a/.../x", false},
        {"a/.. /x", false},
        {"a/ ../x", false},
        {"a/. ./x", false},
        {"/x", false},
        {"\\x", false},
        {"\\\\server\\share\\x", false},
        {"//server/share/x", false},
        {"C:\\x", false},
        {"C:/x", false},
        {"C:x", false},
        {"a/b.txt:stream", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZipEntryStaysInside(c.name), c.inside) << '"' << c.name << '"';
}

TEST_F(ZipTest, EntriesLeavingTheTargetAreRefusedWhileTheOthersExtract)
{
    // dir\out is the target; an escape would land in dir, in the drive's root or on a share.
    const char* names[] = {"..\\qv_slip.txt", "../qv_slip.txt", "a/../../qv_slip.txt", "a/.../qv_slip.txt",
                           "C:\\qv_slip.txt", "C:qv_slip.txt", "\\qv_slip.txt", "/qv_slip.txt",
                           "\\\\server\\share\\qv_slip.txt"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        LogCapture log;
        std::string shown = name;
        std::replace(shown.begin(), shown.end(), '/', '\\');
        std::string archive = Archive({Stored("first.txt", "1"), Stored(name, "escaped"), Deflated("last.txt", "2")});

        EXPECT_FALSE(ZipListContents(archive, ZipExtract, out_));
        EXPECT_THAT(Lines(log.Text()), ElementsAre("ZipListContents: refusing entry outside the target: " + shown));
        EXPECT_EQ(qvtest::ReadFile(Out("first.txt")), "1");
        EXPECT_EQ(qvtest::ReadFile(Out("last.txt")), "2");
        EXPECT_THAT(qvtest::NamesIn(out_), UnorderedElementsAre("first.txt", "last.txt"));
        EXPECT_THAT(qvtest::NamesIn(dir_.Path()), UnorderedElementsAre("out", "test.zip"));
        EXPECT_FALSE(qvtest::IsThere("C:\\qv_slip.txt"));
        ASSERT_TRUE(qvtest::RemoveTree(out_));
    }
}

TEST_F(ZipTest, WithoutADestinationEntriesCannotLeaveTheCurrentDirectory)
{
    // An empty destination means the current directory, where a rooted name really escapes.
    ASSERT_TRUE(CreateDirectoryA(out_.c_str(), nullptr));
    char saved[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(out_.c_str()));
    LogCapture log;
    std::string archive = Archive({Stored("\\qv_slip.txt", "root"), Stored("C:\\qv_slip.txt", "drive"),
                                   Stored("..\\qv_slip.txt", "parent"), Stored("here.txt", "here")});
    bool ok = ZipListContents(archive, ZipExtract, "");
    SetCurrentDirectoryA(saved);

    EXPECT_FALSE(ok);
    EXPECT_THAT(Lines(log.Text()), ElementsAre("ZipListContents: refusing entry outside the target: \\qv_slip.txt",
                                               "ZipListContents: refusing entry outside the target: C:\\qv_slip.txt",
                                               "ZipListContents: refusing entry outside the target: ..\\qv_slip.txt"));
    EXPECT_THAT(qvtest::NamesIn(out_), ElementsAre("here.txt"));
    EXPECT_THAT(qvtest::NamesIn(dir_.Path()), UnorderedElementsAre("out", "test.zip"));
    EXPECT_FALSE(qvtest::IsThere("C:\\qv_slip.txt"));
}

TEST_F(ZipTest, DamagedEntryDataFailsAndLeavesNoPartialFile)
{
    const std::string longText = LongText();
    struct Case {
        const char* what;
        Entry entry;
        std::string line;  // after "zip_extract_file: ", with {} for the output path
    };
    Entry storedCrc = Stored("bad.txt", longText);
    storedCrc.crc = 0x12345678;
    Entry deflatedCrc = Deflated("bad.txt", longText);
    deflatedCrc.crc = 0x12345678;
    Entry shortStream = Deflated("bad.txt", longText);
    shortStream.size = std::uint32_t(longText.size() + 100);
    Entry brokenStream = Deflated("bad.txt", longText);
    brokenStream.compressed = std::string(40, '\xFF');
    Entry badHeader = Stored("bad.txt", "data");
    badHeader.badLocalHeader = true;
    const Case cases[] = {
        {"stored, wrong CRC", storedCrc, "CRC error in {}"},
        {"deflated, wrong CRC", deflatedCrc, "CRC error in {}"},
        {"deflated stream shorter than stated",
         shortStream,
         "entry data ends after " + std::to_string(longText.size()) + " of " + std::to_string(longText.size() + 100) +
             " bytes for {}"},
        {"invalid deflate data", brokenStream, "could not read the archive entry for {} (Error: -3)"},
        {"bad local header", badHeader, "could not open the archive entry for {}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        std::string archive = Archive({Stored("good.txt", "good"), c.entry, Deflated("after.txt", "after")});
        EXPECT_FALSE(ZipListContents(archive, ZipExtract, out_));
        std::string line = "zip_extract_file: " + c.line;
        line.replace(line.find("{}"), 2, Out("bad.txt"));
        EXPECT_THAT(Lines(log.Text()), ElementsAre(line));
        EXPECT_FALSE(qvtest::IsThere(Out("bad.txt")));
        EXPECT_EQ(qvtest::ReadFile(Out("good.txt")), "good");
        EXPECT_EQ(qvtest::ReadFile(Out("after.txt")), "after");
        ASSERT_TRUE(qvtest::RemoveTree(out_));
    }
}

TEST_F(ZipTest, AnOutputThatCannotBeCreatedFailsAndIsNotWritten)
{
    std::string archive = Archive({Stored("busy.txt", "new content"), Stored("other.txt", "other")});

    // A file in use without sharing keeps its content.
    {
        LogCapture log;
        ASSERT_TRUE(CreateDirectoryA(out_.c_str(), nullptr));
        ASSERT_TRUE(qvtest::WriteFile(Out("busy.txt"), "old"));
        HANDLE busy = CreateFileA(Out("busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(busy, INVALID_HANDLE_VALUE);
        bool ok = ZipListContents(archive, ZipExtract, out_);
        CloseHandle(busy);
        EXPECT_FALSE(ok);
        EXPECT_THAT(Lines(log.Text()),
                    ElementsAre("zip_extract_file: could not create " + Out("busy.txt") + " (Error: 32)"));
        EXPECT_EQ(qvtest::ReadFile(Out("busy.txt")), "old");
        EXPECT_EQ(qvtest::ReadFile(Out("other.txt")), "other");
        ASSERT_TRUE(qvtest::RemoveTree(out_));
    }
    // A directory of the same name stays a directory.
    {
        LogCapture log;
        ASSERT_TRUE(CreateDirectoryA(out_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(Out("busy.txt").c_str(), nullptr));
        EXPECT_FALSE(ZipListContents(archive, ZipExtract, out_));
        EXPECT_THAT(Lines(log.Text()),
                    ElementsAre("zip_extract_file: could not create " + Out("busy.txt") + " (Error: 5)"));
        EXPECT_TRUE(IsDirectory(Out("busy.txt")));
        EXPECT_EQ(qvtest::ReadFile(Out("other.txt")), "other");
        ASSERT_TRUE(qvtest::RemoveTree(out_));
    }
    // A destination below a file cannot be made at all.
    {
        LogCapture log;
        ASSERT_TRUE(qvtest::WriteFile(dir_.File("plain"), "a file"));
        std::string below = dir_.File("plain\\out");
        EXPECT_FALSE(ZipListContents(archive, ZipExtract, below));
        EXPECT_THAT(log.Text(), HasSubstr("zip_extract_file: could not create " + below + "\\busy.txt (Error: "));
        EXPECT_THAT(log.Text(), HasSubstr("zip_extract_file: could not create " + below + "\\other.txt (Error: "));
        EXPECT_EQ(qvtest::ReadFile(dir_.File("plain")), "a file");
    }
}

TEST_F(ZipTest, AnArchiveThatCannotBeReadFailsWithALogLine)
{
    const std::string good = BuildZip({Stored("a.txt", "a"), Deflated("b.txt", LongText())});
    const std::string path = dir_.File("bad.zip");
    const std::string notOpened = "ZipListContents: could not open zip file " + path;
    struct Case {
        const char* what;
        std::string bytes;
        std::string line;
    } cases[] = {
        {"garbage", std::string(300, 'G'), notOpened},
        {"cut in half", good.substr(0, good.size() / 2), notOpened},
        {"empty file", "", notOpened},
        // minizip reads the missing end-record fields as zeros and opens it; the walk then fails.
        {"cut inside the end record", good.substr(0, good.size() - 10),
         "ZipListContents: damaged zip file " + path + " (Error: -103)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        ASSERT_TRUE(qvtest::WriteFile(path, c.bytes));
        CStdStringList list;
        EXPECT_FALSE(ZipListContents(path, ZipList | ZipExtract, out_, &list));
        EXPECT_THAT(Lines(log.Text()), ElementsAre(c.line));
        EXPECT_THAT(list, IsEmpty());
        EXPECT_FALSE(qvtest::IsThere(out_));
    }
    {
        LogCapture log;
        std::string missing = dir_.File("missing.zip");
        EXPECT_FALSE(ExtractZip(PathObject(missing), PathObject(out_)));
        EXPECT_THAT(Lines(log.Text()), ElementsAre("ZipListContents: could not open zip file " + missing));
    }
    EXPECT_FALSE(ZipListContents("", ZipExtract, out_));
}

TEST_F(ZipTest, ADirectoryThatEndsBeforeItsStatedCountFailsAfterTheEntriesItHas)
{
    LogCapture log;
    std::string archive = Archive({Stored("a.txt", "a"), Stored("b.txt", "b")}, 3);
    CStdStringList list;
    EXPECT_FALSE(ZipListContents(archive, ZipList | ZipExtract, out_, &list));
    EXPECT_THAT(list, ElementsAre("a.txt", "b.txt"));
    EXPECT_THAT(qvtest::NamesIn(out_), UnorderedElementsAre("a.txt", "b.txt"));
    EXPECT_THAT(Lines(log.Text()), ElementsAre("ZipListContents: damaged zip file " + archive + " (Error: -103)"));
}

TEST_F(ZipTest, AnEmptyArchiveSucceedsWithNothing)
{
    LogCapture log;
    std::string archive = Archive({});
    CStdStringList list = {"left over"};
    EXPECT_TRUE(ZipListContents(archive, ZipList | ZipExtract, out_, &list));
    EXPECT_THAT(list, IsEmpty());
    EXPECT_FALSE(qvtest::IsThere(out_));
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
