// Sibling libraries are looked for in the directory of the library that loads them.
#include "SiblingNames.h"
#include "SiblingPath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring Widened(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// A module path whose directory part (up to and including its last '\') has this length.
std::string ModuleInDirOfLength(std::size_t dirLength)
{
    return "C:\\" + std::string(dirLength - 4, 'd') + "\\QVTDX5DA.DLL";
}

struct SiblingCase {
    std::string modulePath;
    std::string expected;
};

TEST(SiblingPath, IsTheModulePathCutAfterItsLastBackslashOrColonPlusTheName)
{
    const std::string longDir260 = ModuleInDirOfLength(248);
    const std::string longDir261 = ModuleInDirOfLength(249);
    const SiblingCase cases[] = {
        {"C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\QVTDX5DA.DLL",
         "C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\QVTDX5DU.DLL"},
        {"\\\\server\\print$\\QVTDX5DA.DLL", "\\\\server\\print$\\QVTDX5DU.DLL"},
        {"C:QVTDX5DA.DLL", "C:QVTDX5DU.DLL"},
        {"C:\\dir\\", "C:\\dir\\QVTDX5DU.DLL"},
        // A forward slash is no separator.
        {"C:/dir/QVTDX5DA.DLL", "C:QVTDX5DU.DLL"},
        {"QVTDX5DA.DLL", "QVTDX5DU.DLL"},
        {"", "QVTDX5DU.DLL"},
        // 248 + 12 = 260 characters still fit; one more falls back to the bare name.
        {longDir260, longDir260.substr(0, 248) + "QVTDX5DU.DLL"},
        {longDir261, "QVTDX5DU.DLL"},
    };
    for (const SiblingCase& c : cases) {
        EXPECT_EQ(SiblingPathFrom(c.modulePath, kDialogLibrary.narrow), c.expected) << c.modulePath;
        EXPECT_EQ(SiblingPathFrom(Widened(c.modulePath), kDialogLibrary.wide), Widened(c.expected))
            << c.modulePath;
    }
    ASSERT_EQ(SiblingPathFrom(longDir260, kDialogLibrary.narrow).size(), kMaxSiblingPath);
}

TEST(SiblingPath, OfALoadedModuleIsInItsDirectory)
{
    const std::string bin = qvtest::BinDir();
    const HMODULE library = LoadLibraryA((bin + "\\QVTDX5DA.DLL").c_str());
    ASSERT_TRUE(library) << "error " << GetLastError();

    EXPECT_STRCASEEQ(SiblingPathA(library, kSettingsLibrary.narrow).c_str(),
                     (bin + "\\QVTDX5UI.DLL").c_str());
    EXPECT_EQ(_wcsicmp(SiblingPathW(library, kSettingsLibrary.wide).c_str(),
                       (Widened(bin) + L"\\QVTDX5UI.DLL").c_str()),
              0);

    // The program itself (null module) is in build\...\tests, beside bin.
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string exeDir(exe, length);
    exeDir.erase(exeDir.find_last_of('\\') + 1);
    EXPECT_EQ(SiblingPathA(nullptr, kPostInstallProgram.narrow), exeDir + "QVTDX5PI.EXE");

    FreeLibrary(library);
}

}  // namespace
