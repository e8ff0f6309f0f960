#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "TestSupport.h"
#include "services/OSInfo.h"
#include "services/SystemPath.h"

namespace {

const char* const kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kDefaultShellFolders =
    ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string NoTrailingSlash(std::string dir)
{
    while (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    return dir;
}

std::string Up(std::string dir, int levels)
{
    for (int i = 0; i < levels; ++i)
        dir = dir.substr(0, dir.find_last_of('\\'));
    return dir;
}

std::string WindowsDir()
{
    char buffer[MAX_PATH] = "";
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return NoTrailingSlash(buffer);
}

std::string SystemDir()
{
    char buffer[MAX_PATH] = "";
    GetSystemDirectoryA(buffer, MAX_PATH);
    return NoTrailingSlash(buffer);
}

std::string TempDir()
{
    return NoTrailingSlash(qvtest::TempFolder());
}

std::string ExeDir()
{
    char buffer[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return Up(buffer, 1);
}

std::string DriverDir()
{
    char buffer[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer), sizeof buffer, &needed);
    return NoTrailingSlash(buffer);
}

std::string ProcessorDir()
{
    char buffer[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer), sizeof buffer, &needed);
    return NoTrailingSlash(buffer);
}

std::string DocumentsDir()
{
    char buffer[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buffer);
    return NoTrailingSlash(buffer);
}

// The stored text, unexpanded; empty when missing.
std::string RegText(HKEY root, const char* key, const char* name)
{
    char buffer[1024] = "";
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
        return std::string();
    return NoTrailingSlash(buffer);
}

// Replaces one registry value (or removes it, for REG_NONE) while alive, then puts back what was
// there before.
class ScopedRegValue {
public:
    ScopedRegValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& text = "")
        : name_(name)
    {
        if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
            old_.resize(size);
            had_ = RegQueryValueExA(key_, name, nullptr, &oldType_, old_.data(), &size) == ERROR_SUCCESS;
            old_.resize(size);
        }
        if (type == REG_NONE) {
            LONG rc = RegDeleteValueA(key_, name);
            ok_ = rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
        } else {
            ok_ = RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 DWORD(text.size() + 1)) == ERROR_SUCCESS;
        }
    }
    ~ScopedRegValue()
    {
        if (!key_)
            return;
        if (had_)
            RegSetValueExA(key_, name_.c_str(), 0, oldType_, old_.data(), DWORD(old_.size()));
        else
            RegDeleteValueA(key_, name_.c_str());
        RegCloseKey(key_);
    }
    ScopedRegValue(const ScopedRegValue&) = delete;
    ScopedRegValue& operator=(const ScopedRegValue&) = delete;

    bool ok() const { return ok_; }

private:
    HKEY key_ = nullptr;
    std::string name_;
    bool had_ = false;
    DWORD oldType_ = REG_NONE;
    std::vector<BYTE> old_;
    bool ok_ = false;
};

class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& dir)
    {
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(dir.c_str());
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryA(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    char previous_[MAX_PATH] = "";
};

// Makes the driver cabinet in one Driver Cache folder of the Windows directory while alive.
class ScopedCabinet {
public:
    explicit ScopedCabinet(const std::string& platform)
    {
        std::string cache = WindowsDir() + "\\Driver Cache";
        if (GetFileAttributesA(cache.c_str()) == INVALID_FILE_ATTRIBUTES && CreateDirectoryA(cache.c_str(), nullptr))
            made_ = cache;
        std::string dir = cache + "\\" + platform;
        if (GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES && CreateDirectoryA(dir.c_str(), nullptr) &&
            made_.empty())
            made_ = dir;
        file_ = dir + "\\driver.CAB";
        ok_ = qvtest::WriteFile(file_, "MSCF");
    }
    ~ScopedCabinet()
    {
        DeleteFileA(file_.c_str());
        if (!made_.empty())
            qvtest::RemoveTree(made_);
    }
    ScopedCabinet(const ScopedCabinet&) = delete;
    ScopedCabinet& operator=(const ScopedCabinet&) = delete;

    bool ok() const { return ok_; }

private:
    std::string file_;
    std::string made_;
    bool ok_ = false;
};

struct FolderCase {
    int code;
    std::string expected;
};

TEST(SystemPath, EveryCodeGivesTheFolderThePlatformReports)
{
    // An NT 5 platform that is not 64-bit, whatever Wine says; the current directory set apart
    // from the program's.
    OSInfo::ScopedOverride xp(OSInfo::WinXP);
    qvtest::TempDir cwd;
    ASSERT_FALSE(cwd.Path().empty());
    ScopedCurrentDirectory inCwd(cwd.Path());

    const std::string win = WindowsDir();
    const std::string drivers = DriverDir();
    const std::string shellFolders = kShellFolders;
    ASSERT_FALSE(win.empty());
    ASSERT_FALSE(drivers.empty());

    const FolderCase cases[] = {
        {0, Up(ExeDir(), 2)},
        {1, RegText(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir")},
        {2, NoTrailingSlash(cwd.Path())},
        {3, RegText(HKEY_CURRENT_USER, kShellFolders, "Desktop")},
        {5, win + "\\Driver Cache\\i386"},
        {6, win + "\\Driver Cache\\i386"},
        {7, win + "\\Driver Cache\\amd64"},
        {8, win + "\\Driver Cache\\x64"},
        {9, win + "\\Fonts"},
        {10, ExeDir()},
        {11, drivers},
        {12, drivers + "\\3"},
        {13, ProcessorDir()},
        {14, RegText(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir")},
        {15, RegText(HKEY_CURRENT_USER, kShellFolders, "SendTo")},
        {16, Up(drivers, 2)},
        {17, Up(drivers, 1)},
        {18, RegText(HKEY_CURRENT_USER, kShellFolders, "Programs")},
        {19, SystemDir()},
        {20, win + "\\Inf"},
        {21, win.substr(0, 2)},
        {22, TempDir()},
        {23, win},
        {24, Up(drivers, 1) + "\\Win40\\0"},
        {25, drivers + "\\3"},
        {26, drivers + "\\2"},
        {27, RegText(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData")},
        {28, Up(ExeDir(), 2)},
        {29, DocumentsDir()},
    };
    enginetest::LogCapture log;
    for (const FolderCase& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        SystemPath path(c.code);
        EXPECT_FALSE(c.expected.empty());
        EXPECT_EQ(c.expected, path.directory());
        EXPECT_EQ("", path.name());
        EXPECT_EQ(c.expected, path.FullPath());
    }
    EXPECT_EQ("", log.Text());
}

TEST(SystemPath, SpoolFoldersSitWhereWineKeepsThem)
{
    // Checks the relatives against the system directory rather than the driver directory itself.
    OSInfo::ScopedOverride xp(OSInfo::WinXP);
    const std::string spool = SystemDir() + "\\spool";
    EXPECT_TRUE(EqualNoCase(spool, SystemPath(16).directory())) << SystemPath(16).directory();
    EXPECT_TRUE(EqualNoCase(spool + "\\drivers", SystemPath(17).directory())) << SystemPath(17).directory();
    EXPECT_TRUE(EqualNoCase(spool + "\\drivers\\Win40\\0", SystemPath(24).directory()))
        << SystemPath(24).directory();
    EXPECT_EQ("C:", SystemPath(21).directory());
}

struct FamilyCase {
    OSInfo::Code os;
    const char* code12;  // appended to code 11
    bool ntRelatives;    // 16 and 17 above code 11
};

TEST(SystemPath, DriverFoldersFollowThePlatformFamily)
{
    const std::string drivers = DriverDir();
    const FamilyCase cases[] = {
        {OSInfo::Win95, "", false},       {OSInfo::Win98SE, "", false},   {OSInfo::WinMe, "", false},
        {OSInfo::NT4, "\\2", true},       {OSInfo::Win2000, "\\3", true}, {OSInfo::Vista, "\\3", true},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE("os " + std::to_string(c.os));
        OSInfo::ScopedOverride os(c.os);
        EXPECT_EQ(drivers, SystemPath(11).directory());
        EXPECT_EQ(drivers + c.code12, SystemPath(12).directory());
        EXPECT_EQ(c.ntRelatives ? Up(drivers, 2) : drivers, SystemPath(16).directory());
        EXPECT_EQ(c.ntRelatives ? Up(drivers, 1) : drivers, SystemPath(17).directory());
        // These do not depend on the family.
        EXPECT_EQ(drivers + "\\3", SystemPath(25).directory());
        EXPECT_EQ(drivers + "\\2", SystemPath(26).directory());
        EXPECT_EQ(Up(drivers, 1) + "\\Win40\\0", SystemPath(24).directory());
    }
}

struct ShellFolderCase {
    OSInfo::Code os;
    bool allUsers;
    int code;
    const char* expected;
};

TEST(SystemPath, AllUsersDesktopAndProgramsComeFromTheFamilysSharedFolders)
{
    // A distinct folder in each place, so that the answer shows where it was read.
    ScopedRegValue values[] = {
        {HKEY_CURRENT_USER, kShellFolders, "Desktop", REG_SZ, "C:\\qv\\user desktop"},
        {HKEY_CURRENT_USER, kShellFolders, "Programs", REG_SZ, "C:\\qv\\user programs\\"},
        {HKEY_USERS, kDefaultShellFolders, "Desktop", REG_SZ, "C:\\qv\\default desktop"},
        {HKEY_USERS, kDefaultShellFolders, "Programs", REG_SZ, "C:\\qv\\default programs"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop", REG_SZ, "C:\\qv\\common desktop"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", REG_SZ, "C:\\qv\\common programs"},
    };
    for (const ScopedRegValue& value : values)
        ASSERT_TRUE(value.ok());

    const ShellFolderCase cases[] = {
        {OSInfo::WinXP, false, 3, "C:\\qv\\user desktop"},
        {OSInfo::WinXP, true, 3, "C:\\qv\\common desktop"},
        {OSInfo::NT4, true, 3, "C:\\qv\\common desktop"},
        {OSInfo::Win98, false, 3, "C:\\qv\\user desktop"},
        {OSInfo::Win98, true, 3, "C:\\qv\\default desktop"},
        {OSInfo::WinXP, false, 18, "C:\\qv\\user programs"},
        {OSInfo::Vista, true, 18, "C:\\qv\\common programs"},
        {OSInfo::WinMe, false, 18, "C:\\qv\\user programs"},
        {OSInfo::WinMe, true, 18, "C:\\qv\\default programs"},
    };
    for (const ShellFolderCase& c : cases) {
        SCOPED_TRACE("os " + std::to_string(c.os) + " all users " + std::to_string(c.allUsers) + " code " +
                     std::to_string(c.code));
        OSInfo::ScopedOverride os(c.os);
        EXPECT_EQ(c.expected, SystemPath(c.code, c.allUsers).directory());
    }
    // Elsewhere the flag changes nothing.
    OSInfo::ScopedOverride xp(OSInfo::WinXP);
    EXPECT_EQ(SystemPath(15).directory(), SystemPath(15, true).directory());
    EXPECT_EQ(SystemPath(23).directory(), SystemPath(23, true).directory());
}

TEST(SystemPath, RegistryFoldersAreTakenAsStored)
{
    {
        ScopedRegValue missing(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir", REG_NONE);
        ASSERT_TRUE(missing.ok());
        enginetest::LogCapture log;
        SystemPath path(1);
        EXPECT_TRUE(path.IsEmpty()) << path.FullPath();
        EXPECT_EQ("", log.Text());
    }
    {
        ScopedRegValue expandable(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData", REG_EXPAND_SZ,
                                  "%ProgramData%\\qv");
        ASSERT_TRUE(expandable.ok());
        EXPECT_EQ("%ProgramData%\\qv", SystemPath(27).directory());
    }
}

struct CabinetCase {
    bool is64Bit;
    std::vector<const char*> present;  // Driver Cache folders holding driver.CAB
    const char* dir;                   // under Driver Cache
    const char* name;
};

TEST(SystemPath, DriverCabinetIsTheFirstThatExistsOn64BitPlatforms)
{
    const std::string cache = WindowsDir() + "\\Driver Cache\\";
    for (const char* platform : {"x64", "amd64"})
        ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((cache + platform + "\\driver.CAB").c_str()))
            << "the prefix already holds a cabinet";

    const CabinetCase cases[] = {
        {false, {}, "i386", "driver.CAB"},
        {false, {"x64", "amd64"}, "i386", "driver.CAB"},
        {true, {}, "i386", "driver32.CAB"},
        {true, {"amd64"}, "amd64", "driver.CAB"},
        {true, {"x64"}, "x64", "driver.CAB"},
        {true, {"amd64", "x64"}, "x64", "driver.CAB"},
    };
    for (const CabinetCase& c : cases) {
        SCOPED_TRACE(std::string(c.is64Bit ? "64-bit" : "32-bit") + ", " + std::to_string(c.present.size()) +
                     " present, expecting " + c.dir);
        std::vector<std::unique_ptr<ScopedCabinet>> cabinets;
        for (const char* platform : c.present) {
            cabinets.push_back(std::make_unique<ScopedCabinet>(platform));
            ASSERT_TRUE(cabinets.back()->ok());
        }
        OSInfo::ScopedOverride os(OSInfo::WinXP, c.is64Bit);
        SystemPath path(4);
        EXPECT_EQ(cache + c.dir, path.directory());
        EXPECT_EQ(c.name, path.name());
        EXPECT_EQ(cache + c.dir + "\\" + c.name, path.FullPath());
    }
}

TEST(SystemPath, DriverCacheFollowsTheWordSize)
{
    const std::string cache = WindowsDir() + "\\Driver Cache\\";
    {
        OSInfo::ScopedOverride os(OSInfo::WinXP, true);
        EXPECT_EQ(cache + "x64", SystemPath(5).directory());
    }
    {
        OSInfo::ScopedOverride os(OSInfo::WinXP, false);
        EXPECT_EQ(cache + "i386", SystemPath(5).directory());
    }
}

TEST(SystemPath, InvalidCodeIsLoggedAndGivesAnEmptyPath)
{
    for (int code : {-1, 30, 1000}) {
        SCOPED_TRACE(code);
        enginetest::LogCapture log;
        SystemPath path(code, true);
        EXPECT_TRUE(path.IsEmpty()) << path.FullPath();
        EXPECT_EQ("SystemPath::ctor: invalid path code " + std::to_string(code) + "\n", log.Text());
    }
}

}  // namespace
