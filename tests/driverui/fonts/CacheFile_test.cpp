// The cache file on disk: hits, misses, most-recently-used order, damaged files, the cap, list
// files replaced in one step, and two processes using one cache at once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CacheFile.h"
#include "CacheFixture.h"
#include "FileFixtures.h"
#include "FontLists.h"
#include "TestSupport.h"

namespace {

using cachetest::Bytes;
using cachetest::Devmode;
using cachetest::SummaryFor;

class CacheFileTest : public ::testing::Test {
protected:
    std::optional<fontcache::Outcome> Summary(const Bytes& devmode, std::uint16_t quality)
    {
        return fontcache::CachedSummary(
            path_, devmode,
            [&] {
                ++builds_;
                return std::optional(SummaryFor(quality));
            },
            [] { return std::vector<Bytes>{{'T', '1'}, {'T', '2'}}; });
    }
    std::optional<fontcache::CacheImage> Stored() const
    {
        const auto bytes = qvtest::ReadFile(path_);
        if (!bytes)
            return std::nullopt;
        return fontcache::Parse(Bytes(bytes->begin(), bytes->end()));
    }
    std::vector<std::uint16_t> Order() const
    {
        std::vector<std::uint16_t> qualities;
        if (const auto image = Stored())
            for (const auto& r : image->records)
                qualities.push_back(cachetest::QualityOf(r.devmode));
        return qualities;
    }

    qvtest::TempDir dir_;
    const std::string path_ = dir_.File("qelPrinter.PCL");
    int builds_ = 0;
};

TEST_F(CacheFileTest, ACopiesOnlyDifferenceReusesTheRecordAndAQualityChangeAddsOne)
{
    auto first = Summary(Devmode(600, 1), 600);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->hit);
    EXPECT_TRUE(first->created);
    EXPECT_TRUE(first->stored);

    auto copies = Summary(Devmode(600, 5), 600);
    ASSERT_TRUE(copies);
    EXPECT_TRUE(copies->hit);
    EXPECT_EQ(copies->summary, SummaryFor(600));
    EXPECT_EQ(builds_, 1);

    auto quality = Summary(Devmode(300), 300);
    ASSERT_TRUE(quality);
    EXPECT_FALSE(quality->hit);
    EXPECT_FALSE(quality->created);
    EXPECT_EQ(builds_, 2);
    EXPECT_THAT(Order(), ::testing::ElementsAre(300, 600));
    ASSERT_TRUE(Stored());
    EXPECT_EQ(Stored()->texts, (Bytes{'T', '1', 'T', '2'}));

    // A hit on the second record brings it to the front.
    EXPECT_TRUE(Summary(Devmode(600), 600)->hit);
    EXPECT_THAT(Order(), ::testing::ElementsAre(600, 300));
    EXPECT_EQ(builds_, 2);
}

TEST_F(CacheFileTest, DamagedOrForeignFilesAreRebuilt)
{
    ASSERT_TRUE(Summary(Devmode(600), 600));
    const std::string good = *qvtest::ReadFile(path_);
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        {"other version", [&] { std::string b = good; b[8] = '9'; return b; }()},
        // The texts "T1T2" put the first record at 32.
        {"count past the records", [&] { std::string b = good; b[20] = 7; return b; }()},
        {"huge summary length", [&] { std::string b = good; b[32 + 1256 + 3] = '\x7F'; return b; }()},
        {"cut short", good.substr(0, good.size() - 10)},
        {"empty", ""},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(qvtest::WriteFile(path_, f.bytes));
        builds_ = 0;
        auto outcome = Summary(Devmode(600), 600);
        ASSERT_TRUE(outcome) << f.what;
        EXPECT_FALSE(outcome->hit) << f.what;
        EXPECT_TRUE(outcome->created) << f.what;
        EXPECT_EQ(builds_, 1) << f.what;
        EXPECT_EQ(outcome->summary, SummaryFor(600)) << f.what;
        EXPECT_THAT(Order(), ::testing::ElementsAre(600)) << f.what;
    }
}

TEST_F(CacheFileTest, ASummaryOverTheCapIsReturnedButNotStored)
{
    ASSERT_TRUE(Summary(Devmode(600), 600));
    const auto big = fontcache::CachedSummary(
        path_, Devmode(1200), [] { return std::optional(Bytes(fontcache::kRecordAreaCap, 1)); }, {});
    ASSERT_TRUE(big);
    EXPECT_EQ(big->summary.size(), fontcache::kRecordAreaCap);
    EXPECT_FALSE(big->stored);
    EXPECT_THAT(Order(), ::testing::ElementsAre(600));
}

TEST_F(CacheFileTest, AFileThatCannotBeWrittenLeavesTheSummaryUncached)
{
    const std::string inMissingDir = dir_.File("none\\qel.PCL");
    const auto outcome = fontcache::CachedSummary(
        inMissingDir, Devmode(600), [] { return std::optional(SummaryFor(600)); }, {});
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->stored);
    EXPECT_EQ(outcome->summary, SummaryFor(600));
    EXPECT_FALSE(fontcache::CachedSummary(path_, Devmode(600), [] { return std::optional<Bytes>(); }, {}));
}

TEST_F(CacheFileTest, TwoProcessesStartingHundredDocumentsEachLeaveAFileThatParses)
{
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string dir(self, n);
    dir.resize(dir.find_last_of('\\') + 1);
    const std::string helper = "\"" + dir + "qvcachehammer.exe\" \"" + path_ + "\" 100 ";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi[2]{};
    for (int i = 0; i < 2; ++i) {
        std::string line = helper + std::to_string(100 + 4 * i);
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi[i]))
            << GetLastError();
    }
    for (auto& p : pi) {
        EXPECT_EQ(WaitForSingleObject(p.hProcess, 120000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeProcess(p.hProcess, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(p.hProcess);
        CloseHandle(p.hThread);
    }
    const auto image = Stored();
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->records.empty());
    for (const auto& r : image->records)
        EXPECT_EQ(r.summary, SummaryFor(cachetest::QualityOf(r.devmode)));
}

TEST_F(CacheFileTest, AFailedListWriteKeepsTheOldFile)
{
    const std::string list = dir_.File("qelPrinter.PFM");
    ASSERT_TRUE(qvtest::WriteFile(list, "old fonts"));
    // The temporary file cannot be made where a directory of its name stands.
    ASSERT_TRUE(CreateDirectoryA((list + ".new").c_str(), nullptr));
    EXPECT_FALSE(fontfiles::ReplaceFile(list, {1, 2, 3}));
    EXPECT_EQ(qvtest::ReadFile(list), "old fonts");
    RemoveDirectoryA((list + ".new").c_str());
    EXPECT_TRUE(fontfiles::ReplaceFile(list, {'n', 'e', 'w'}));
    EXPECT_EQ(qvtest::ReadFile(list), "new");
}

}  // namespace
