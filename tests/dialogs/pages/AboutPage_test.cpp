// The About page's library lines against the files themselves: each version shown is the
// "FileVersion" of the file's own version resource, read here independently of the page.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "SheetHarness.h"

namespace {

using pagetest::Sheet;

class AboutPageVersionsTest : public pagetest::SheetTest {};

std::optional<std::wstring> VersionResource(const std::wstring& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    WORD* translation = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return std::nullopt;
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&text), &length) || !text)
        return std::nullopt;
    return std::wstring(text, wcsnlen(text, length));
}

// A file without a version resource shows the line's fallback: "1.0" for the driver library,
// the template's text for the rendering driver and the language library, an empty line (label
// too) for the others.
TEST_F(AboutPageVersionsTest, TheVersionsShownAreTheFilesVersionResources)
{
    struct Line {
        const wchar_t* file;
        int label;
        int value;
        const wchar_t* fallback;  // null: the template's text stays
    };
    const Line lines[] = {{L"QVTDX5DA.DLL", IDC_ABOUT_DA_LABEL, IDC_ABOUT_DA_VERSION, L"1.0"},
                          {L"QVTDX5DL.DLL", IDC_ABOUT_DL_LABEL, IDC_ABOUT_DL_VERSION, nullptr},
                          {L"QVTDX5DD.DLL", 0, IDC_ABOUT_DD_VERSION, nullptr},
                          {L"QVTDX5TD.DLL", IDC_ABOUT_TD_LABEL, IDC_ABOUT_TD_VERSION, L""},
                          {L"QVTDX5TE.DLL", IDC_ABOUT_TE_LABEL, IDC_ABOUT_TE_VERSION, L""},
                          {L"QVTDX5TF.DLL", IDC_ABOUT_TF_LABEL, IDC_ABOUT_TF_VERSION, L""},
                          {L"QVTDX5BJ.DLL", IDC_ABOUT_BJ_LABEL, IDC_ABOUT_BJ_VERSION, L""}};
    const std::string dir = LibraryDir();
    OpenDeviceSheet(Printer(pagetest::kColour), [&](Sheet& s) {
        const HWND about = s.Page(IDD_ABOUT);
        ASSERT_TRUE(about);
        int versions = 0, fallbacks = 0;
        for (const Line& line : lines) {
            const std::wstring path = std::wstring(dir.begin(), dir.end()) + L"\\" + line.file;
            if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;  // maybe in the system directory: the existing tests cover the missing ones
            const std::wstring name(line.file);
            if (const std::optional<std::wstring> version = VersionResource(path)) {
                EXPECT_EQ(s.Text(about, line.value), *version) << std::string(name.begin(), name.end());
                ++versions;
            } else if (line.fallback) {
                EXPECT_EQ(s.Text(about, line.value), line.fallback) << std::string(name.begin(), name.end());
                if (*line.fallback == 0 && line.label)
                    EXPECT_EQ(s.Text(about, line.label), L"") << std::string(name.begin(), name.end());
                ++fallbacks;
            }
        }
        EXPECT_GE(versions, 2) << "the driver library and the language library at least";
        EXPECT_GE(fallbacks, 1) << "the toolkit stand-in has no version resource";
        s.Cancel();
    });
    EXPECT_TRUE(ScriptRan());
}

}  // namespace
