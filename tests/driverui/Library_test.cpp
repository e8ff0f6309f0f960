// QVTDX5DA as a library: it loads, starts up as its entry point says, and carries its version.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string LibraryPath()
{
    return qvtest::BinDir() + "\\QVTDX5DA.DLL";
}

TEST(DriverUiLibrary, DllInitializeAnswersAsItsReasonAsks)
{
    const HMODULE library = LoadLibraryA(LibraryPath().c_str());
    ASSERT_TRUE(library) << "error " << GetLastError();
    using Initialize = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
    const auto initialize = reinterpret_cast<Initialize>(GetProcAddress(library, "DllInitialize"));
    ASSERT_TRUE(initialize);

    struct Step {
        DWORD reason;
        HINSTANCE module;
        BOOL expected;
    };
    // In order: the library ends attached again, with its own handle.
    const Step steps[] = {
        {DLL_THREAD_ATTACH, library, FALSE}, {DLL_THREAD_DETACH, library, FALSE},
        {DLL_PROCESS_DETACH, library, TRUE}, {DLL_PROCESS_ATTACH, nullptr, FALSE},
        {DLL_PROCESS_DETACH, library, TRUE}, {DLL_PROCESS_ATTACH, library, TRUE},
    };
    for (const Step& s : steps)
        EXPECT_EQ(initialize(s.module, s.reason, nullptr), s.expected)
            << "reason " << s.reason << (s.module ? "" : ", null module");
    EXPECT_TRUE(FreeLibrary(library));
}

std::string VersionString(const std::vector<char>& info, const char* name)
{
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return "<missing>";
    return text;
}

TEST(DriverUiLibrary, CarriesItsVersionResource)
{
    const std::string path = LibraryPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "error " << GetLastError();
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data())) << "error " << GetLastError();

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    EXPECT_EQ(VersionString(info, "OriginalFilename"), "QVTDX5DA.DLL");
    EXPECT_EQ(VersionString(info, "InternalName"), "QVTDX5DA.DLL");
    EXPECT_EQ(VersionString(info, "FileDescription"), "Printer driver user-interface library");
    EXPECT_EQ(VersionString(info, "CompanyName"), "Qelbrin");
}

}  // namespace
