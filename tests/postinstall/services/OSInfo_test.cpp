#include <windows.h>

#include <gtest/gtest.h>

#include "../engine/EngineTestUtil.h"
#include "services/OSInfo.h"

namespace {

// The prefix is a 64-bit one: the i686 build runs under its 32-bit emulation, the x86_64 build
// natively.
#ifdef _WIN64
constexpr bool kThisProcessEmulated = false;
#else
constexpr bool kThisProcessEmulated = true;
#endif

struct ClassifyCase {
    const char* versionNumber;
    const char* subVersionNumber;
    const char* currentVersion;
    const char* csdVersion;
    int code;
    int major;
    int minor;
    int servicePack;
    const char* log;  // the whole log the classification writes
};

TEST(OSInfo, ClassifiesVersionTexts)
{
    const ClassifyCase cases[] = {
        {"4.10.2222", " A ", "", "", OSInfo::Win98SE, 4, 10, 0, ""},
        {"4.10", "a", "", "", OSInfo::Win98SE, 4, 10, 0, ""},
        {"4.10", "", "", "", OSInfo::Win98, 4, 10, 0, ""},
        {"4.10", " B ", "", "", OSInfo::Win98, 4, 10, 0, ""},
        {"4.90", "", "", "", OSInfo::WinMe, 4, 90, 0, ""},
        {"4.00", "", "", "", OSInfo::Win95, 4, 0, 0, ""},
        {"5.10", "", "", "", OSInfo::Unknown, 5, 10, 0,
         "OSInfo::initialize: invalid 9X version (major: 5, minor: 10)\n"},
        // The 9x value is asked first.
        {"4.10", "", "5.1", "", OSInfo::Win98, 4, 10, 0, ""},
        {"", "", "4.0", "Service Pack 6", OSInfo::NT4, 4, 0, 6, ""},
        {"", "", "5.0", "Service Pack 2", OSInfo::Win2000, 5, 0, 2, ""},
        {"", "", "5.1", "Service Pack 3, v.3311", OSInfo::WinXP, 5, 1, 3, ""},
        {"", "", "5.2", "", OSInfo::Server2003, 5, 2, 0, ""},
        {"", "", "6.0", "Service Pack 2", OSInfo::Vista, 6, 0, 2, ""},
        {"", "", "6.1", "Service Pack 1", OSInfo::Vista, 6, 1, 1, ""},
        {"", "", "5.3", "", OSInfo::Unknown, 5, 3, 0, ""},
        {"", "", "7.0", "Service Pack 1", OSInfo::Unknown, 0, 0, 0,
         "OSInfo::initialize: invalid NT version (major: 7, minor 0)\n"},
        {"", "", "", "Service Pack 1", OSInfo::Unknown, 0, 0, 0,
         "OSInfo::initialize: could not locate version info in the registry!\n"},
    };
    for (const ClassifyCase& c : cases) {
        SCOPED_TRACE(std::string(c.versionNumber) + "|" + c.subVersionNumber + "|" + c.currentVersion + "|" +
                     c.csdVersion);
        OSInfo::VersionTexts texts;
        texts.versionNumber = c.versionNumber;
        texts.subVersionNumber = c.subVersionNumber;
        texts.currentVersion = c.currentVersion;
        texts.csdVersion = c.csdVersion;
        enginetest::LogCapture log;
        OSInfo os(texts);
        EXPECT_EQ(os.GetOSCode(), c.code);
        EXPECT_EQ(os.Major(), c.major);
        EXPECT_EQ(os.Minor(), c.minor);
        EXPECT_EQ(os.ServicePack(), c.servicePack);
        EXPECT_EQ(log.Text(), c.log);
    }
}

struct FamilyCase {
    OSInfo::Code code;
    bool is9x, isNT, isNT5OrLater, isVista, is64Bit;
};

// Every platform seeded as 64-bit: the flag counts only from NT 5 on.
TEST(OSInfo, DerivedTestsFollowTheCode)
{
    const FamilyCase cases[] = {
        {OSInfo::Win95, true, false, false, false, false},
        {OSInfo::Win98, true, false, false, false, false},
        {OSInfo::Win98SE, true, false, false, false, false},
        {OSInfo::WinMe, true, false, false, false, false},
        {OSInfo::NT4, false, true, false, false, false},
        {OSInfo::Win2000, false, true, true, false, true},
        {OSInfo::Server2003, false, true, true, false, true},
        {OSInfo::WinXP, false, true, true, false, true},
        {OSInfo::Vista, false, true, true, true, true},
        {OSInfo::Unknown, false, false, false, false, false},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.code);
        enginetest::LogCapture log;
        OSInfo os(OSInfo::TextsOf(c.code, true));
        EXPECT_EQ(os.GetOSCode(), c.code);
        EXPECT_EQ(os.Is9x(), c.is9x);
        EXPECT_EQ(os.IsNT(), c.isNT);
        EXPECT_EQ(os.IsNT5OrLater(), c.isNT5OrLater);
        EXPECT_EQ(os.IsVista(), c.isVista);
        EXPECT_EQ(os.Is64Bit(), c.is64Bit);
    }
}

TEST(OSInfo, UnknownNTMinorIsNot64Bit)
{
    OSInfo::VersionTexts texts;
    texts.currentVersion = "5.3";
    texts.is64Bit = true;
    EXPECT_FALSE(OSInfo(texts).Is64Bit());
}

// Wine reports Windows 7 SP1.
TEST(OSInfo, ReadsThisComputer)
{
    enginetest::LogCapture log;
    OSInfo os;
    EXPECT_EQ(os.GetOSCode(), OSInfo::Vista);
    EXPECT_EQ(os.Major(), 6);
    EXPECT_EQ(os.Minor(), 1);
    EXPECT_EQ(os.ServicePack(), 1);
    EXPECT_EQ(os.Is64Bit(), kThisProcessEmulated);
    EXPECT_EQ(OSInfo("").GetOSCode(), OSInfo::Vista);
    EXPECT_EQ(log.Text(), "");
}

// For a named computer the flag comes from its registry, not from this process. Wine connects
// to its own name locally. A prefix made with Wine's 32-bit half has the key already; one made
// without it lacks the key, which the test then adds for the second half.
TEST(OSInfo, NamedComputerIs64BitWhenItHasThe32BitInstallerKey)
{
    const char* installer = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Installer";
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    HKEY key;
    const bool present = RegOpenKeyExA(HKEY_LOCAL_MACHINE, installer, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (present) {
        RegCloseKey(key);
    } else {
        OSInfo without(name);
        EXPECT_EQ(without.Machine(), name);
        EXPECT_EQ(without.GetOSCode(), OSInfo::Vista);
        EXPECT_FALSE(without.Is64Bit());
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, installer, 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    OSInfo with(name);
    if (!present)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, installer);
    EXPECT_EQ(with.Machine(), name);
    EXPECT_EQ(with.GetOSCode(), OSInfo::Vista);
    EXPECT_TRUE(with.Is64Bit());
}

TEST(OSInfo, UnreachableComputerIsUnknown)
{
    enginetest::LogCapture log;
    OSInfo os("QVNOSUCHHOST");
    EXPECT_EQ(os.GetOSCode(), OSInfo::Unknown);
    EXPECT_FALSE(os.IsNT());
    EXPECT_NE(log.Text().find("OSInfo::initialize: could not locate version info in the registry!\n"),
              std::string::npos)
        << log.Text();
}

TEST(OSInfo, ScopedOverrideSeedsEveryNewObjectAndNests)
{
    {
        OSInfo::ScopedOverride nt4(OSInfo::NT4);
        EXPECT_EQ(OSInfo().GetOSCode(), OSInfo::NT4);
        EXPECT_EQ(OSInfo().ServicePack(), 6);
        EXPECT_EQ(OSInfo("QVNOSUCHHOST").GetOSCode(), OSInfo::NT4);
        {
            OSInfo::ScopedOverride win98(OSInfo::Win98);
            EXPECT_TRUE(OSInfo().Is9x());
        }
        EXPECT_EQ(OSInfo().GetOSCode(), OSInfo::NT4);
        OSInfo::ScopedOverride xp64(OSInfo::WinXP, true);
        EXPECT_TRUE(OSInfo().Is64Bit());
    }
    OSInfo real;
    EXPECT_EQ(real.GetOSCode(), OSInfo::Vista);
    EXPECT_EQ(real.Is64Bit(), kThisProcessEmulated);
}

}  // namespace
