// The notices of a library without its model resources: message boxes in an interactive
// program, none inside the spooler's process, where nobody could dismiss them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "TestSupport.h"

namespace {

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
const std::vector<std::string> kNoticeTitles = {"LoadString failed", "GetPrtrInfo failed"};

class BuildNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        ASSERT_TRUE(qvtest::AddTestPrinter(printer_, kDriver) ||
                    GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
        // A copy of the library without any resources: no model strings, no descriptions.
        library_ = dir_.File("QVNORES.DLL");
        ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\QVTDX5DA.DLL").c_str(), library_.c_str(), FALSE));
        const HANDLE update = BeginUpdateResourceA(library_.c_str(), TRUE);
        ASSERT_TRUE(update) << GetLastError();
        ASSERT_TRUE(EndUpdateResourceA(update, FALSE)) << GetLastError();
        const HMODULE data = LoadLibraryExA(library_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(data);
        char name[64];
        EXPECT_EQ(LoadStringA(data, 10000, name, sizeof name), 0) << "the copy still has strings";
        FreeLibrary(data);
    }
    void TearDown() override { qvtest::DeleteTestPrinter(printer_); }

    qvtest::TempDir dir_;
    std::string library_;
    std::string printer_ = "QV Notice Printer";
};

TEST_F(BuildNoticeTest, InteractiveProgramSeesBoxesAndTheBuildGoesOn)
{
    const HMODULE library = LoadLibraryA(library_.c_str());
    ASSERT_TRUE(library) << GetLastError();
    using ConvertTagList = LONG(WINAPI*)(DWORD, LPSTR, LPVOID, PDEVMODEW);
    const auto convert =
        reinterpret_cast<ConvertTagList>(GetProcAddress(library, "ConvertTagListToDevmode"));
    ASSERT_TRUE(convert);

    std::vector<BYTE> devmode(1256);
    std::vector<qvtest::SeenBox> seen;
    {
        qvtest::BoxWatcher watcher(kNoticeTitles);
        EXPECT_EQ(convert(0, printer_.data(), nullptr, reinterpret_cast<PDEVMODEW>(devmode.data())), 1);
        seen = watcher.Seen();
    }
    char loadString[64];
    const auto handle = unsigned(reinterpret_cast<std::uintptr_t>(library));
    std::snprintf(loadString, sizeof loadString, "hInst=%X(%X), resId=%d", handle, handle, 10000);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "LoadString failed");
    EXPECT_EQ(seen[0].text, loadString);
    EXPECT_EQ(seen[1].title, "GetPrtrInfo failed");
    EXPECT_EQ(seen[1].text, std::string(kDriver) + " (0)");
    // The build went on with an empty model record.
    EXPECT_EQ(devmode[308], 0);
    EXPECT_EQ(devmode[1076], 128);
    FreeLibrary(library);
}

TEST_F(BuildNoticeTest, SpoolerProcessShowsNoBox)
{
    // The same call from a process whose program is named like the spooler's.
    const std::string spooler = dir_.File("spoolsv.exe");
    ASSERT_TRUE(CopyFileA((qvtest::BinDir() + "\\..\\tests\\qvtaglistcall.exe").c_str(),
                          spooler.c_str(), FALSE));
    qvtest::BoxWatcher watcher(kNoticeTitles);
    const int result =
        qvtest::RunProcess("\"" + spooler + "\" \"" + library_ + "\" \"" + printer_ + "\"", "", 20000);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(watcher.Seen().empty()) << watcher.Seen().front().title;
}

}  // namespace
