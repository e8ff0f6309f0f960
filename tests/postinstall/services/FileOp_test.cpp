#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileFixtures.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "services/FileOp.h"
#include "services/OSInfo.h"

namespace {

using enginetest::LogCapture;
using enginetest::ReadBytes;
using enginetest::TempDir;
using enginetest::WriteBytes;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

using qvtest::Lines;

bool IsDirectory(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

using qvtest::ClearPendingMoves;
using qvtest::PendingMove;
using qvtest::PendingMoves;

FILETIME MakeTime(int day)
{
    SYSTEMTIME st = {};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = WORD(day);
    st.wHour = 12;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SetWriteTime(const std::string& path, int day)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft = MakeTime(day);
    bool ok = SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok;
}

// The names beside the destination that the escalation made.
std::vector<std::string> TempNames(const TempDir& dir)
{
    std::vector<std::string> temps;
    for (const std::string& name : dir.Names())
        if (name.rfind("tmp", 0) == 0)
            temps.push_back(name);
    return temps;
}

// Every Copy attempt goes through the hook; each scripted result is used once, in order, and
// kReal (or an exhausted script) makes the real copy.
constexpr unsigned long kReal = ~0ul;
std::vector<unsigned long> g_copyResults;
size_t g_copyCalls = 0;

unsigned long ScriptedCopy(const CStdStr& source, const CStdStr& destination)
{
    unsigned long result = g_copyCalls < g_copyResults.size() ? g_copyResults[g_copyCalls] : kReal;
    ++g_copyCalls;
    return result == kReal ? FileOp::PlatformCopyFile(source, destination) : result;
}

class ScopedCopyScript {
public:
    explicit ScopedCopyScript(std::vector<unsigned long> results) : previous_(FileOp::CopyFileFn)
    {
        g_copyResults = std::move(results);
        g_copyCalls = 0;
        FileOp::CopyFileFn = ScriptedCopy;
    }
    ~ScopedCopyScript() { FileOp::CopyFileFn = previous_; }

private:
    FileOp::CopyFileHook previous_;
};

class FileOpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.path().empty());
        ClearPendingMoves();
    }
    void TearDown() override { ClearPendingMoves(); }

    TempDir dir;
    LogCapture log;
};

// ---- Directories --------------------------------------------------------------------------

TEST_F(FileOpTest, MakePathCreatesTheChainAndStopsAtTheFirstFailure)
{
    ASSERT_TRUE(WriteBytes(dir.File("file.txt"), "x"));
    ASSERT_TRUE(CreateDirectoryA(dir.File("old").c_str(), nullptr));
    const std::string stray = "qv_makepath_" + std::to_string(GetCurrentProcessId());

    struct Case {
        std::string directory;  // with a trailing separator, so all of it is the directory part
        bool result;
        std::string created;    // must exist afterwards, or
        std::string absent;     // must not
        std::string logged;     // a line that must be logged (none: nothing may be)
    };
    const Case cases[] = {
        {dir.File("a\\b\\c\\"), true, dir.File("a\\b\\c"), "", ""},
        {dir.File("old\\"), true, dir.File("old"), "", ""},
        // Relative pieces stay relative to the starting directory all the way down, also past
        // a piece that exists.
        {"old\\rel\\two\\", true, dir.File("old\\rel\\two"), "", ""},
        {"\\\\?\\" + dir.File("long\\x\\"), true, dir.File("long\\x"), "", ""},
        {dir.File("x,y\\z\\"), false, "", dir.File("x,y"),
         "FileOp::MakePath: Invalid MakePath request with either comma(,) or a prefixed period(.) "
         "in path"},
        {dir.File("p\\q,r\\"), false, "", dir.File("p"),
         "FileOp::MakePath: Invalid MakePath request with either comma(,) or a prefixed period(.) "
         "in path"},
        // A network root is entered whole: the first place tried is \\server\share\.
        {"\\\\qvnosuchhost\\share\\new\\", false, "", "",
         "FileOp::MakePath: tried to create directory \\\\qvnosuchhost\\share\\ but failed.  "
         "(Error code: 3)"},
        // A leading separator with no root after it is refused before anything is made.
        {"\\" + stray + "\\", false, "", "C:\\" + stray, "FileOp::MakePath: no root in path \\" + stray},
        {dir.File("file.txt\\sub\\"), false, "", dir.File("file.txt\\sub"), ""},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
        LogCapture caseLog;
        EXPECT_EQ(FileOp::MakePath(PathObject(c.directory)), c.result);
        char cwd[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, cwd);
        EXPECT_EQ(std::string(cwd), dir.path());
        if (!c.created.empty()) {
            EXPECT_TRUE(IsDirectory(c.created));
        }
        if (!c.absent.empty()) {
            EXPECT_FALSE(qvtest::IsThere(c.absent));
        }
        std::vector<std::string> lines = Lines(caseLog.Text());
        if (c.result) {
            EXPECT_TRUE(lines.empty()) << caseLog.Text();
        } else if (!c.logged.empty()) {
            EXPECT_EQ(lines, std::vector<std::string>{c.logged});
        } else {
            EXPECT_EQ(lines.size(), 1u) << caseLog.Text();
        }
    }
    RemoveDirectoryA(("C:\\" + stray).c_str());
    const std::string temp = qvtest::TempFolder();
    SetCurrentDirectoryA(temp.c_str());
}

TEST_F(FileOpTest, DirectoryExistsCreatesOnlyWhenAsked)
{
    EXPECT_FALSE(FileOp::DirectoryExists(PathObject("name.txt"), true));
    EXPECT_TRUE(FileOp::DirectoryExists(PathObject(dir.File("any.txt")), false));
    EXPECT_FALSE(FileOp::DirectoryExists(PathObject(dir.File("new\\deeper\\f.txt")), false));
    EXPECT_FALSE(qvtest::IsThere(dir.File("new")));
    EXPECT_TRUE(FileOp::DirectoryExists(PathObject(dir.File("new\\deeper\\f.txt")), true));
    EXPECT_TRUE(IsDirectory(dir.File("new\\deeper")));
    // A file where the directory should be.
    ASSERT_TRUE(WriteBytes(dir.File("plain"), "x"));
    EXPECT_FALSE(FileOp::DirectoryExists(PathObject(dir.File("plain\\f.txt")), false));
}

// ---- Copy ---------------------------------------------------------------------------------

TEST_F(FileOpTest, CopyDecidesByVersionAndTime)
{
    // ver_de_1_2_0_0 has the version text of ver_1_2_0_0 in other bytes, so an equal version
    // still shows whether the file was copied.
    struct Case {
        const char* name;
        unsigned options;
        const char* source;
        int sourceDay;
        const char* destination;  // nullptr: missing
        int destinationDay;
        bool copies;
    };
    const Case cases[] = {
        {"no checks always copies", 0, "ver_1_2_0_0.dll", 5, "ver_de_1_2_0_0.dll", 5, true},
        {"missing destination", 3, "ver_1_2_0_0.dll", 5, nullptr, 0, true},
        {"same version and time", 3, "ver_1_2_0_0.dll", 5, "ver_de_1_2_0_0.dll", 5, false},
        {"newer version", 3, "ver_2_0_0_0.dll", 5, "ver_1_2_0_0.dll", 5, true},
        {"older version", 3, "ver_1_0_0_1.dll", 5, "ver_1_2_0_0.dll", 5, true},
        {"later time", 3, "ver_1_2_0_0.dll", 6, "ver_de_1_2_0_0.dll", 5, true},
        {"earlier time", 3, "ver_1_2_0_0.dll", 4, "ver_de_1_2_0_0.dll", 5, true},
        {"version only ignores time", 1, "ver_1_2_0_0.dll", 6, "ver_de_1_2_0_0.dll", 5, false},
        {"version only sees version", 1, "ver_2_0_0_0.dll", 5, "ver_1_2_0_0.dll", 5, true},
        {"time only ignores version", 2, "ver_2_0_0_0.dll", 5, "ver_1_2_0_0.dll", 5, false},
        {"time only sees time", 2, "ver_1_2_0_0.dll", 4, "ver_de_1_2_0_0.dll", 5, true},
        {"the other bits are no checks", 12, "ver_1_2_0_0.dll", 5, "ver_de_1_2_0_0.dll", 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = dir.File("source.dll");
        const std::string destination = dir.File("destination.dll");
        DeleteFileA(destination.c_str());
        ASSERT_TRUE(CopyFileA(qvtest::FixturePath(c.source).c_str(), source.c_str(), FALSE));
        ASSERT_TRUE(SetWriteTime(source, c.sourceDay));
        std::string before;
        if (c.destination) {
            ASSERT_TRUE(CopyFileA(qvtest::FixturePath(c.destination).c_str(), destination.c_str(), FALSE));
            ASSERT_TRUE(SetWriteTime(destination, c.destinationDay));
            before = ReadBytes(destination);
        }
        EXPECT_EQ(FileOp::ShouldCopy(PathObject(source), PathObject(destination), c.options), c.copies);
        EXPECT_TRUE(FileOp::Copy(PathObject(source), PathObject(destination), c.options));
        EXPECT_EQ(ReadBytes(destination), c.copies ? ReadBytes(source) : before);
    }
    EXPECT_EQ(log.Text(), "");
}

TEST_F(FileOpTest, CopyFailureOutsideTheEscalationIsLogged)
{
    const std::string source = dir.File("new.txt");
    const std::string destination = dir.File("old.txt");
    ASSERT_TRUE(WriteBytes(source, "new"));
    ASSERT_TRUE(WriteBytes(destination, "old"));
    {
        // A sharing violation without CopyRenameIfShared is a plain failure.
        qvtest::HeldFile holder(destination, 0);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_FALSE(FileOp::Copy(PathObject(source), PathObject(destination), FileOp::CopyRecheckIfLocked));
    }
    EXPECT_FALSE(FileOp::Copy(PathObject(dir.File("missing.txt")), PathObject(destination), 0));
    EXPECT_EQ(Lines(log.Text()), (std::vector<std::string>{"FileOp::Copy: CopyFile failed with code 32",
                                                            "FileOp::Copy: CopyFile failed with code 2"}));
    EXPECT_EQ(ReadBytes(destination), "old");
    EXPECT_TRUE(TempNames(dir).empty());
    EXPECT_TRUE(PendingMoves().empty());
}

TEST_F(FileOpTest, CopyRenamesADestinationInUseAndCopiesAgain)
{
    const std::string source = dir.File("new.txt");
    const std::string destination = dir.File("old.txt");
    ASSERT_TRUE(WriteBytes(source, "new"));
    ASSERT_TRUE(WriteBytes(destination, "old"));
    {
        // Like a loaded program: it may be renamed, not overwritten.
        qvtest::HeldFile holder(destination, FILE_SHARE_READ | FILE_SHARE_DELETE);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_TRUE(FileOp::Copy(PathObject(source), PathObject(destination), FileOp::CopyRenameIfShared));
        EXPECT_EQ(ReadBytes(destination), "new");
    }
    EXPECT_EQ(Lines(log.Text()),
              std::vector<std::string>{"FileOp::Copy: destination file " + destination +
                                       " is in use.  Trying to rename it..."});
    EXPECT_TRUE(TempNames(dir).empty());
}

TEST_F(FileOpTest, CopyOntoALockedDestinationReplacesItAtRestart)
{
    const std::string source = dir.File("new.txt");
    const std::string destination = dir.File("old.txt");
    ASSERT_TRUE(WriteBytes(source, "new"));
    ASSERT_TRUE(WriteBytes(destination, "old"));
    qvtest::HeldFile holder(destination, 0);
    ASSERT_TRUE(holder.IsOpen());

    EXPECT_TRUE(FileOp::Copy(PathObject(source), PathObject(destination), FileOp::CopyRenameIfShared));

    std::vector<std::string> temps = TempNames(dir);
    ASSERT_EQ(temps.size(), 1u);
    const std::string temp = dir.File(temps[0]);
    EXPECT_EQ(ReadBytes(temp), "new");
    EXPECT_EQ(PendingMoves(), (std::vector<PendingMove>{{temp, destination, true}}));
    EXPECT_EQ(Lines(log.Text()),
              (std::vector<std::string>{
                  "FileOp::Copy: destination file " + destination + " is in use.  Trying to rename it...",
                  "FileOp::Copy: that sucker just won't budge.  Replacing " + destination + " with " +
                      temp + " after reboot.",
                  "Attempting to move " + temp + " to " + destination + " on reboot.",
                  "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; MoveFileEx call.",
                  "! Reboot Required: To replace locked file. Inside FileOp::Copy.",
              }));
    holder.Close();
    EXPECT_EQ(ReadBytes(destination), "old");
}

// The platform gives a lock violation (33) only for locked byte ranges, never to a copy here:
// those paths run with scripted copy results.
TEST_F(FileOpTest, LockViolationEscalationKeepsAFileUnderTheDestinationName)
{
    const std::string source = dir.File("new.txt");
    const std::string destination = dir.File("old.txt");
    const std::string inUse =
        "FileOp::Copy: destination file " + destination + " is in use.  Trying to rename it...";

    struct Case {
        const char* name;
        std::vector<unsigned long> copies;
        bool result;
        const char* destinationAfter;
        const char* tempAfter;  // nullptr: no temporary file is left
        std::vector<std::string> logged;  // "$T" stands for the temporary file
    };
    const Case cases[] = {
        {"second copy succeeds", {33, kReal}, true, "new", nullptr, {inUse}},
        {"second copy fails: the old file goes back",
         {33, 112, kReal},
         true,
         "old",
         "new",
         {inUse, "FileOp::Copy: second CopyFile try failed with code 112",
          "FileOp::Copy: that sucker just won't budge.  Replacing " + destination +
              " with $T after reboot.",
          "Attempting to move $T to " + destination + " on reboot.",
          "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; MoveFileEx call.",
          "! Reboot Required: To replace locked file. Inside FileOp::Copy."}},
        {"third copy fails too",
         {33, 112, 39},
         false,
         "old",
         nullptr,
         {inUse, "FileOp::Copy: second CopyFile try failed with code 112",
          "FileOp::Copy: that sucker just won't budge.  Replacing " + destination +
              " with $T after reboot.",
          "FileOp::Copy: third CopyFile try failed with code 39"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPendingMoves();
        ASSERT_TRUE(WriteBytes(source, "new"));
        ASSERT_TRUE(WriteBytes(destination, "old"));
        LogCapture caseLog;
        ScopedCopyScript script(c.copies);

        EXPECT_EQ(FileOp::Copy(PathObject(source), PathObject(destination), 0), c.result);
        EXPECT_EQ(g_copyCalls, c.copies.size());
        EXPECT_EQ(ReadBytes(destination), c.destinationAfter);

        std::vector<std::string> temps = TempNames(dir);
        std::string temp;
        if (c.tempAfter) {
            ASSERT_EQ(temps.size(), 1u);
            temp = dir.File(temps[0]);
            EXPECT_EQ(ReadBytes(temp), c.tempAfter);
            EXPECT_EQ(PendingMoves(), (std::vector<PendingMove>{{temp, destination, true}}));
        } else {
            EXPECT_TRUE(temps.empty());
            EXPECT_TRUE(PendingMoves().empty());
        }
        // The name of T appears in the log even when T is gone again.
        std::vector<std::string> lines = Lines(caseLog.Text());
        if (temp.empty() && lines.size() > 2) {
            const std::string& sucker = lines[2];
            size_t at = sucker.find(" with ");
            size_t end = sucker.find(" after reboot.");
            if (at != std::string::npos && end != std::string::npos)
                temp = sucker.substr(at + 6, end - at - 6);
        }
        std::vector<std::string> expected = c.logged;
        for (std::string& line : expected)
            for (size_t at; (at = line.find("$T")) != std::string::npos;)
                line.replace(at, 2, temp);
        EXPECT_EQ(lines, expected);
        for (const std::string& name : temps)
            DeleteFileA(dir.File(name).c_str());
    }
}

TEST_F(FileOpTest, LockedDestinationThatNeedsNoCopyIsLeftAlone)
{
    const std::string source = dir.File("new.dll");
    const std::string destination = dir.File("old.dll");
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath("ver_1_2_0_0.dll").c_str(), source.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath("ver_de_1_2_0_0.dll").c_str(), destination.c_str(), FALSE));
    ASSERT_TRUE(SetWriteTime(source, 5));
    ASSERT_TRUE(SetWriteTime(destination, 5));
    const std::string before = ReadBytes(destination);

    ScopedCopyScript script({33, 33, 33});
    EXPECT_TRUE(FileOp::Copy(PathObject(source), PathObject(destination), FileOp::CopyRecheckIfLocked));
    EXPECT_EQ(g_copyCalls, 1u);
    EXPECT_EQ(ReadBytes(destination), before);
    EXPECT_EQ(log.Text(), "");

    // Without the recheck the same lock starts the escalation.
    ASSERT_TRUE(SetWriteTime(source, 6));
    EXPECT_TRUE(FileOp::Copy(PathObject(source), PathObject(destination), FileOp::CopyRecheckIfLocked));
    EXPECT_THAT(log.Text(), HasSubstr("is in use.  Trying to rename it..."));
}

// ---- Remove -------------------------------------------------------------------------------

TEST_F(FileOpTest, RemoveModes)
{
    enum Setup { Plain, ReadOnly, Missing, Locked };
    struct Case {
        const char* name;
        Setup setup;
        int mode;
        bool result;
        bool fileStays;
        bool scheduled;
    };
    const Case cases[] = {
        {"0 deletes now", Plain, 0, true, false, false},
        {"1 deletes now", Plain, 1, true, false, false},
        {"2 only schedules", Plain, 2, true, true, true},
        {"read-only is cleared", ReadOnly, 1, true, false, false},
        {"read-only at restart", ReadOnly, 2, true, true, true},
        {"0 of a missing file", Missing, 0, false, false, false},
        {"1 of a missing file", Missing, 1, false, false, false},
        {"2 of a missing file", Missing, 2, true, false, true},
        {"0 of a file in use falls back", Locked, 0, true, true, true},
        {"1 of a file in use fails", Locked, 1, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPendingMoves();
        const std::string file = dir.File("victim.txt");
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
        if (c.setup != Missing) {
            ASSERT_TRUE(WriteBytes(file, "x"));
        }
        if (c.setup == ReadOnly) {
            ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        qvtest::HeldFile holder(file, 0);
        if (c.setup != Locked)
            holder.Close();

        EXPECT_EQ(FileOp::Remove(PathObject(file), c.mode), c.result);
        EXPECT_EQ(qvtest::IsThere(file), c.fileStays);
        if (c.setup == ReadOnly && c.fileStays) {
            EXPECT_FALSE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY);
        }
        std::vector<PendingMove> scheduled;
        if (c.scheduled)
            scheduled.push_back({file, "", false});
        EXPECT_EQ(PendingMoves(), scheduled);
    }
}

TEST_F(FileOpTest, RemoveOfADirectoryOrNothing)
{
    ASSERT_TRUE(CreateDirectoryA(dir.File("empty").c_str(), nullptr));
    EXPECT_TRUE(FileOp::Remove(PathObject(dir.File("empty\\")), FileOp::RemoveNoReboot));
    EXPECT_FALSE(qvtest::IsThere(dir.File("empty")));
    EXPECT_FALSE(FileOp::Remove(PathObject(""), 0));
    EXPECT_EQ(Lines(log.Text()), std::vector<std::string>{"FileOp::Remove: nothin' from nothin' leaves nothin'!"});
}

TEST_F(FileOpTest, DeleteDirRemovesNowOrAtRestart)
{
    ASSERT_TRUE(CreateDirectoryA(dir.File("empty").c_str(), nullptr));
    EXPECT_TRUE(deleteDir(PathObject(dir.File("empty\\"))));
    EXPECT_FALSE(qvtest::IsThere(dir.File("empty")));
    EXPECT_TRUE(deleteDir(PathObject(dir.File("never\\"))));
    EXPECT_TRUE(PendingMoves().empty());

    ASSERT_TRUE(CreateDirectoryA(dir.File("full").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(dir.File("full\\f.txt"), "x"));
    EXPECT_TRUE(deleteDir(PathObject(dir.File("full\\"))));
    EXPECT_TRUE(IsDirectory(dir.File("full")));
    EXPECT_EQ(PendingMoves(), (std::vector<PendingMove>{{dir.File("full\\"), "", false}}));
}

// ---- Trees --------------------------------------------------------------------------------

TEST_F(FileOpTest, WipeOutDirectoryRemovesANestedTree)
{
    const std::string root = dir.File("tree");
    ASSERT_TRUE(FileOp::MakePath(PathObject(root + "\\a\\b\\c\\")));
    ASSERT_TRUE(CreateDirectoryA((root + "\\empty").c_str(), nullptr));
    for (const char* name : {"\\top.txt", "\\a\\one.txt", "\\a\\b\\two.txt", "\\a\\b\\c\\three.txt"})
        ASSERT_TRUE(WriteBytes(root + name, name));
    ASSERT_TRUE(SetFileAttributesA((root + "\\a\\b\\two.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(WipeOutDirectory(PathObject(root + "\\")));
    EXPECT_FALSE(qvtest::IsThere(root));
    EXPECT_TRUE(PendingMoves().empty());
    EXPECT_EQ(log.Text(), "");

    EXPECT_FALSE(WipeOutDirectory(PathObject(dir.File("some.txt"))));
    EXPECT_EQ(Lines(log.Text()), std::vector<std::string>{"WipeOutDirectory: the parameter must be a "
                                                          "directory!  Passed: " +
                                                          dir.File("some.txt")});
}

TEST_F(FileOpTest, WipeOutDirectoryLeavesFilesInUseForRestart)
{
    const std::string root = dir.File("tree");
    ASSERT_TRUE(FileOp::MakePath(PathObject(root + "\\a\\b\\")));
    for (const char* name : {"\\top.txt", "\\a\\held.txt", "\\a\\b\\two.txt"})
        ASSERT_TRUE(WriteBytes(root + name, name));
    qvtest::HeldFile holder(root + "\\a\\held.txt", 0);
    ASSERT_TRUE(holder.IsOpen());

    EXPECT_TRUE(WipeOutDirectory(PathObject(root + "\\")));
    EXPECT_FALSE(qvtest::IsThere(root + "\\top.txt"));
    EXPECT_FALSE(qvtest::IsThere(root + "\\a\\b"));
    EXPECT_TRUE(qvtest::IsThere(root + "\\a\\held.txt"));
    EXPECT_EQ(PendingMoves(), (std::vector<PendingMove>{{root + "\\a\\held.txt", "", false},
                                                        {root + "\\a\\", "", false},
                                                        {root + "\\", "", false}}));
}

// The Windows name's Unix counterpart, from Wine's own export; empty elsewhere.
std::string UnixName(const std::string& path)
{
    using ToUnix = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix)
        return "";
    std::wstring wide(path.begin(), path.end());
    char* name = toUnix(wide.c_str());
    if (!name)
        return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

bool IsReparsePoint(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A directory link. Wine 8 makes none itself (CreateSymbolicLinkA reports success and creates
// nothing; setting a mount point fails with 50) but shows a Unix symbolic link to a directory as
// one, so under Wine the link is made by the Unix ln.
bool MakeDirectoryLink(const std::string& link, const std::string& target)
{
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        IsReparsePoint(link))
        return true;
    std::string unixTarget = UnixName(target);
    std::string unixLink = UnixName(link);
    if (unixTarget.empty() || unixLink.empty())
        return false;
    qvtest::RunProcess("/bin/ln -s \"" + unixTarget + "\" \"" + unixLink + "\"");
    // Wine may report a Unix program finished before it has run.
    for (int wait = 0; wait < 50 && !IsReparsePoint(link); ++wait)
        Sleep(100);
    return IsReparsePoint(link);
}

void RemoveDirectoryLink(const std::string& link)
{
    if (!RemoveDirectoryA(link.c_str()) && IsReparsePoint(link) && !UnixName(link).empty()) {
        qvtest::RunProcess("/bin/rm -f \"" + UnixName(link) + "\"");
        for (int wait = 0; wait < 50 && IsReparsePoint(link); ++wait)
            Sleep(100);
    }
}

TEST_F(FileOpTest, WipeOutDirectoryDoesNotFollowLinks)
{
    TempDir outside;
    ASSERT_TRUE(WriteBytes(outside.File("keep.txt"), "keep"));
    const std::string root = dir.File("tree");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(root + "\\own.txt", "x"));
    if (!MakeDirectoryLink(root + "\\link", outside.path()) ||
        !MakeDirectoryLink(dir.File("toplink"), outside.path()))
        GTEST_SKIP() << "no directory links on this platform";

    EXPECT_TRUE(WipeOutDirectory(PathObject(root + "\\")));
    EXPECT_TRUE(WipeOutDirectory(PathObject(dir.File("toplink\\"))));
    EXPECT_FALSE(qvtest::IsThere(root + "\\own.txt"));
    EXPECT_EQ(ReadBytes(outside.File("keep.txt")), "keep");

    RemoveDirectoryLink(root + "\\link");
    RemoveDirectoryLink(dir.File("toplink"));
}

// ---- Temporary names ----------------------------------------------------------------------

TEST_F(FileOpTest, TempNamesAreNewEmptyFiles)
{
    PathObject first = get_temp_name(PathObject(dir.File("anything.dll")));
    PathObject second = get_temp_name(PathObject(dir.File("")));
    for (const PathObject& p : {first, second}) {
        SCOPED_TRACE(p.FullPath());
        EXPECT_TRUE(EqualNoCase(p.directory(), dir.path()));
        EXPECT_EQ(ToLower(p.name()).rfind("tmp", 0), 0u);
        EXPECT_TRUE(qvtest::IsThere(p.FullPath()));
        EXPECT_EQ(ReadBytes(p.FullPath()), "");
    }
    EXPECT_NE(first.name(), second.name());

    PathObject system = get_temp_name();
    EXPECT_TRUE(qvtest::IsThere(system.FullPath()));
    const std::string temp = qvtest::TempFolder();
    EXPECT_TRUE(EqualNoCase(system.directory() + "\\", temp));
    DeleteFileA(system.FullPath().c_str());
    EXPECT_EQ(log.Text(), "");

    EXPECT_TRUE(get_temp_name(PathObject(dir.File("missing\\x.txt"))).IsEmpty());
    EXPECT_THAT(Lines(log.Text()),
                Contains(HasSubstr("get_temp_name: GetTempFileName in directory " + dir.File("missing") +
                                   " failed with code ")));
}

// ---- Versions and times -------------------------------------------------------------------

TEST_F(FileOpTest, GetFileVersionReadsTheTranslatedBlock)
{
    ASSERT_TRUE(WriteBytes(dir.File("text.dll"), "not a program"));
    struct Case {
        std::string path;
        const char* version;
    };
    const Case cases[] = {
        {qvtest::FixturePath("ver_1_0_0_1.dll"), "1.0.0.1"},
        {qvtest::FixturePath("ver_2_0_0_0.dll"), "2.0.0.0"},
        {qvtest::FixturePath("ver_1_2_0_5_commas.dll"), "1. 2. 0. 5"},
        // German block named by the translation; an English block in front of it says 9.9.9.9.
        {qvtest::FixturePath("ver_de_1_2_0_0.dll"), "1.2.0.0"},
        {qvtest::FixturePath("ver_none.dll"), ""},
        {dir.File("text.dll"), ""},
        {dir.File("missing.dll"), ""},
        {qvtest::FixturePath(""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileOp::GetFileVersion(PathObject(c.path)), c.version);
    }
}

TEST_F(FileOpTest, CompareVersionByNumericParts)
{
    struct Case {
        const char* source;
        const char* destination;
        int result;
    };
    const Case texts[] = {
        {"1.2", "1.2.0", -1},       {"1.2.0", "1.2", 1},     {"1.10", "1.9", 1},
        {"1.9", "1.10", -1},        {"1. 2. 0. 5", "1.2.0.5", 0}, {"", "", 0},
        {"", "1", -1},              {"1", "", 1},            {"2.0", "10.0", -1},
        {"1.2a.3", "1.2.3", 0},     {"01.002", "1.2", 0},    {"1.2.", "1.2", 0},
    };
    for (const Case& c : texts) {
        SCOPED_TRACE(std::string(c.source) + " vs " + c.destination);
        EXPECT_EQ(FileOp::CompareVersionText(c.source, c.destination), c.result);
    }

    const Case files[] = {
        {"ver_1_0_0_1.dll", "ver_1_2_0_0.dll", -1},
        {"ver_2_0_0_0.dll", "ver_1_2_0_0.dll", 1},
        {"ver_1_2_0_0.dll", "ver_de_1_2_0_0.dll", 0},
        {"ver_1_2_0_5_commas.dll", "ver_1_2_0_5.dll", 0},
        {"ver_none.dll", "ver_none.dll", 0},
        {"ver_none.dll", "ver_1_0_0_1.dll", -1},
        {"ver_1_0_0_1.dll", "ver_none.dll", 1},
    };
    for (const Case& c : files) {
        SCOPED_TRACE(std::string(c.source) + " vs " + c.destination);
        EXPECT_EQ(FileOp::CompareVersion(PathObject(qvtest::FixturePath(c.source)),
                                         PathObject(qvtest::FixturePath(c.destination))),
                  c.result);
    }
}

TEST_F(FileOpTest, IsNewerTimeComparesLastWriteTimes)
{
    const std::string a = dir.File("a.txt");
    const std::string b = dir.File("b.txt");
    ASSERT_TRUE(WriteBytes(a, "a"));
    ASSERT_TRUE(WriteBytes(b, "b"));
    const struct {
        int aDay, bDay, result;
    } cases[] = {{4, 5, -1}, {5, 5, 0}, {6, 5, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.aDay);
        ASSERT_TRUE(SetWriteTime(a, c.aDay));
        ASSERT_TRUE(SetWriteTime(b, c.bDay));
        EXPECT_EQ(FileOp::IsNewerTime(PathObject(a), PathObject(b)), c.result);
    }
    // A destination held open without sharing still has a time to compare.
    {
        qvtest::HeldFile holder(b, 0);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_EQ(FileOp::IsNewerTime(PathObject(a), PathObject(b)), 1);
    }
    EXPECT_EQ(log.Text(), "");

    EXPECT_EQ(FileOp::IsNewerTime(PathObject(a), PathObject(dir.File("gone.txt"))), 0);
    EXPECT_EQ(Lines(log.Text()),
              std::vector<std::string>{"FileOp::IsNewerTime: could not get file time for " +
                                       dir.File("gone.txt")});
}

// ---- Work at restart ----------------------------------------------------------------------

using enginetest::SavedFile;

std::string WindowsDir()
{
    char d[MAX_PATH] = "";
    GetWindowsDirectoryA(d, MAX_PATH);
    return d;
}

std::string SystemDir()
{
    char d[MAX_PATH] = "";
    GetSystemDirectoryA(d, MAX_PATH);
    return d;
}

std::string ShortName(const std::string& path)
{
    char s[MAX_PATH] = "";
    DWORD n = GetShortPathNameA(path.c_str(), s, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(s, n) : path;
}

std::vector<std::string> RenameSection(const std::string& ini)
{
    std::vector<char> buffer(65536);
    DWORD n = GetPrivateProfileSectionA("rename", buffer.data(), DWORD(buffer.size()), ini.c_str());
    std::vector<std::string> lines;
    for (DWORD at = 0; at < n && buffer[at];) {
        lines.emplace_back(&buffer[at]);
        at += DWORD(lines.back().size()) + 1;
    }
    return lines;
}

size_t CountNoCase(const std::vector<std::string>& lines, const std::string& line)
{
    size_t n = 0;
    for (const std::string& l : lines)
        n += EqualNoCase(l, line);
    return n;
}

const char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

TEST_F(FileOpTest, ReplaceOnRebootSchedulesTheMoveWithReplace)
{
    const std::string existing = dir.File("fresh.dll");
    const std::string target = dir.File("driver.dll");
    ASSERT_TRUE(WriteBytes(existing, "new"));
    ASSERT_TRUE(WriteBytes(target, "old"));

    EXPECT_FALSE(FileOp::replaceOnReboot(""));
    EXPECT_TRUE(FileOp::replaceOnReboot(existing, target));
    EXPECT_TRUE(FileOp::replaceOnReboot(target));
    EXPECT_EQ(PendingMoves(), (std::vector<PendingMove>{{existing, target, true}, {target, "", false}}));
    EXPECT_EQ(Lines(log.Text()),
              (std::vector<std::string>{
                  "Attempting to move " + existing + " to " + target + " on reboot.",
                  "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; MoveFileEx call.",
                  "Attempting to move " + target + " to NULL on reboot.",
                  "! Reboot Required: To replace locked file. Inside FileOp::replaceOnReboot; MoveFileEx call.",
              }));
}

TEST_F(FileOpTest, On9xRenamesAtRestartAreStoredInWininit)
{
    OSInfo::ScopedOverride as98(OSInfo::Win98);
    const std::string ini = WindowsDir() + "\\wininit.ini";
    SavedFile savedIni(ini);
    ASSERT_TRUE(WriteBytes(ini, "[rename]\r\nNUL=C:\\OTHER.TMP\r\n"));

    const std::string existing = dir.File("New Driver File.dll");
    const std::string target = dir.File("Driver In Use.dll");
    const std::string gone1 = dir.File("first leftover.txt");
    const std::string gone2 = dir.File("second leftover.txt");
    for (const std::string& f : {existing, target, gone1, gone2})
        ASSERT_TRUE(WriteBytes(f, "x"));
    const std::string rename = ShortName(target) + "=" + ShortName(existing);
    ASSERT_NE(rename, target + "=" + existing);
    const size_t listBefore = FileOp::RebootRenameList().size();

    EXPECT_TRUE(FileOp::replaceOnReboot(existing, target));
    EXPECT_TRUE(FileOp::replaceOnReboot(existing, target));
    EXPECT_TRUE(FileOp::replaceOnReboot(gone1));
    EXPECT_TRUE(FileOp::replaceOnReboot(gone2));

    const std::vector<std::string> expectedNew = {rename, "NUL=" + ShortName(gone1), "NUL=" + ShortName(gone2)};
    const CStdStringList& list = FileOp::RebootRenameList();
    ASSERT_EQ(list.size(), listBefore + 3);
    EXPECT_EQ(std::vector<std::string>(list.end() - 3, list.end()), expectedNew);
    // One rename per line, deletions included, after what was there.
    std::vector<std::string> section = RenameSection(ini);
    ASSERT_EQ(section.size(), 4u);
    EXPECT_EQ(section[0], "NUL=C:\\OTHER.TMP");
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(CountNoCase(section, expectedNew[i]), 1u) << expectedNew[i];
    EXPECT_TRUE(PendingMoves().empty());
    EXPECT_THAT(Lines(log.Text()),
                Contains("! Reboot Required: To replace file on reboot. Inside FileOp::replaceOnReboot; "
                         "wininit.ini change."));
    EXPECT_THAT(log.Text(), Not(HasSubstr("MoveFileEx call")));
}

TEST_F(FileOpTest, RebootBatchFileAccumulatesDirectoriesAndRunsOnce)
{
    const std::string temp = qvtest::TempFolder();
    const std::string batch = std::string(temp) + "unsttmp0.bat";
    SavedFile savedBatch(batch);
    DeleteFileA(batch.c_str());
    std::optional<std::string> savedRunOnce = qvtest::GetHklmString(kRunOnce, "QelTmpDelBat");

    EXPECT_TRUE(addToRebootBatFile("C:\\Qv Dir One"));
    EXPECT_TRUE(addToRebootBatFile("C:\\Qv\\Two"));
    EXPECT_EQ(ReadBytes(batch), "rmdir \"C:\\Qv Dir One\"\r\nrmdir \"C:\\Qv\\Two\"\r\ndel \"" + batch + "\"\r\n");
    // NT keeps its interpreter in the system directory.
    EXPECT_EQ(qvtest::GetHklmString(kRunOnce, "QelTmpDelBat"),
              SystemDir() + "\\cmd.exe /C \"" + batch + "\"");

    {
        OSInfo::ScopedOverride as98(OSInfo::Win98);
        // A directory scheduled on 9x goes into the same batch file.
        EXPECT_TRUE(FileOp::replaceOnReboot("C:\\Qv\\Three\\"));
        EXPECT_EQ(qvtest::GetHklmString(kRunOnce, "QelTmpDelBat"),
                  WindowsDir() + "\\command.com /C \"" + batch + "\"");
    }
    EXPECT_EQ(ReadBytes(batch), "rmdir \"C:\\Qv Dir One\"\r\nrmdir \"C:\\Qv\\Two\"\r\n"
                                "rmdir \"C:\\Qv\\Three\"\r\ndel \"" + batch + "\"\r\n");
    EXPECT_EQ(Lines(log.Text()),
              (std::vector<std::string>{"Attempting to move C:\\Qv\\Three\\ to NULL on reboot.",
                                        "! Reboot Required: To replace file on reboot. Inside "
                                        "FileOp::replaceOnReboot; wininit.ini change."}));

    if (savedRunOnce)
        qvtest::SetHklmString(kRunOnce, "QelTmpDelBat", *savedRunOnce);
    else
        qvtest::DeleteHklmValue(kRunOnce, "QelTmpDelBat");
}

}  // namespace
