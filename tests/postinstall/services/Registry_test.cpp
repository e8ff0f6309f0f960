#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../engine/EngineTestUtil.h"
#include "services/Registry.h"

namespace {

const char kTestRoot[] = "Software\\QelbrinTest";

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

// Each test works below its own key HKCU\Software\QelbrinTest\<test>, made fresh and removed.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key_ = std::string(kTestRoot) + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &h, nullptr));
        RegCloseKey(h);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);  // only once empty
    }

    std::string Sub(const std::string& path) const { return key_ + "\\" + path; }

    static void MakeKey(const std::string& path)
    {
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &h, nullptr));
        RegCloseKey(h);
    }
    static bool Exists(const std::string& path)
    {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }
    // Stores exactly these bytes, terminators or not.
    void SetRaw(const std::string& name, DWORD type, const std::string& bytes, const std::string& path = "")
    {
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (path.empty() ? key_ : path).c_str(), 0,
                                               KEY_SET_VALUE, &h));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(h, name.c_str(), 0, type,
                                                reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size())));
        RegCloseKey(h);
    }
    std::optional<RawValue> GetRaw(const std::string& name) const
    {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return std::nullopt;
        RawValue raw;
        DWORD size = 0;
        std::optional<RawValue> result;
        if (RegQueryValueExA(h, name.c_str(), nullptr, &raw.type, nullptr, &size) == ERROR_SUCCESS) {
            raw.bytes.assign(size, '\0');
            if (RegQueryValueExA(h, name.c_str(), nullptr, &raw.type, reinterpret_cast<BYTE*>(raw.bytes.data()),
                                 &size) == ERROR_SUCCESS) {
                raw.bytes.resize(size);
                result = raw;
            }
        }
        RegCloseKey(h);
        return result;
    }

    enginetest::LogCapture log_;
    Registry reg_;
    std::string key_;
};

RegValue Number(std::uint32_t n)
{
    RegValue v;
    v.kind = RegValue::Number;
    v.number = n;
    return v;
}

RegValue TextOf(int kind, const std::string& text)
{
    RegValue v;
    v.kind = kind;
    v.text = text;
    return v;
}

// The access list of a key as (type, flags, mask, SID text) per entry.
std::vector<std::string> AccessList(HKEY key)
{
    std::vector<std::string> entries;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD rc = GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                               &descriptor);
    if (rc != ERROR_SUCCESS) {
        entries.push_back("GetSecurityInfo error " + std::to_string(rc));
        return entries;
    }
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)))
            break;
        std::string entry = "type " + std::to_string(header->AceType) + " flags " + std::to_string(header->AceFlags);
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            char* sid = nullptr;
            ConvertSidToStringSidA(&ace->SidStart, &sid);
            entry += " mask " + std::to_string(ace->Mask) + " " + (sid ? sid : "?");
            LocalFree(sid);
        }
        entries.push_back(entry);
    }
    LocalFree(descriptor);
    return entries;
}

std::vector<std::string> AccessListOf(const std::string& path)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return {"missing " + path};
    std::vector<std::string> entries = AccessList(h);
    RegCloseKey(h);
    return entries;
}

// Puts a list no key gets by default on the key: Everyone all access, Local System read.
void SetDistinctAccess(const std::string& path)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &h));
    PSID everyone = nullptr;
    PSID system = nullptr;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system));
    std::vector<DWORD> buffer(256);
    ACL* acl = reinterpret_cast<ACL*>(buffer.data());
    ASSERT_TRUE(InitializeAcl(acl, DWORD(buffer.size() * sizeof(DWORD)), ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, system));
    SECURITY_DESCRIPTOR sd;
    ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd));
    FreeSid(everyone);
    FreeSid(system);
    RegCloseKey(h);
}

TEST_F(RegistryTest, RootNamesIgnoreCaseAndRejectOthersByName)
{
    EXPECT_EQ(HKEY_LOCAL_MACHINE, reg_.getRootKey("HKLM"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, reg_.getRootKey("hklm"));
    EXPECT_EQ(HKEY_CURRENT_USER, reg_.getRootKey("hkCU"));
    EXPECT_EQ(HKEY_USERS, reg_.getRootKey("HKU"));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, reg_.getRootKey("HKCC"));
    HKEY classes = reg_.getRootKey("hkcr");
    EXPECT_NE(nullptr, classes);
    EXPECT_NE(HKEY_CLASSES_ROOT, classes);
    reg_.releaseKey(classes);
    EXPECT_EQ("", log_.Text());

    for (const char* root : {"HKEY_LOCAL_MACHINE", "", "HKLM ", "HKCRX"}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(nullptr, reg_.getRootKey(root));
    }
    EXPECT_EQ("Registry::getRootKey: invalid root key HKEY_LOCAL_MACHINE\n"
              "Registry::getRootKey: invalid root key \n"
              "Registry::getRootKey: invalid root key HKLM \n"
              "Registry::getRootKey: invalid root key HKCRX\n",
              log_.Text());
}

// HKCR is the machine's Software\Classes, whatever the user's view of classes holds.
TEST_F(RegistryTest, ClassesRootIsTheMachineClassesKey)
{
    const std::string name = "QelbrinTestClass";
    ASSERT_TRUE(reg_.CreateKey("HKCR", name, true));
    EXPECT_TRUE(reg_.KeyExists("HKLM", "Software\\Classes\\" + name));
    EXPECT_TRUE(reg_.WriteValue("HKCR", name, "", TextOf(RegValue::Text, "doc")));
    EXPECT_EQ("doc", reg_.ReadString("HKLM", "Software\\Classes\\" + name, ""));
    reg_.DeleteTree("HKCR", name);
    EXPECT_FALSE(reg_.KeyExists("HKLM", "Software\\Classes\\" + name));
    EXPECT_EQ("", log_.Text());
}

struct RoundTrip {
    RegValue value;
    DWORD type;
    std::string bytes;
};

TEST_F(RegistryTest, WritesEachKindAsItsPlatformTypeAndReadsItBack)
{
    const RoundTrip cases[] = {
        {Number(0x12345678), REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
        {Number(0), REG_DWORD, std::string(4, '\0')},
        {TextOf(RegValue::Text, "hello"), REG_SZ, std::string("hello\0", 6)},
        {TextOf(RegValue::Text, ""), REG_SZ, std::string("\0", 1)},
        {TextOf(RegValue::ExpandText, "%SystemRoot%\\x"), REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15)},
    };
    int n = 0;
    for (const RoundTrip& c : cases) {
        const std::string name = "v" + std::to_string(n++);
        SCOPED_TRACE(name);
        ASSERT_TRUE(reg_.WriteValue("HKCU", key_, name, c.value));
        std::optional<RawValue> raw = GetRaw(name);
        ASSERT_TRUE(raw);
        EXPECT_EQ(c.type, raw->type);
        EXPECT_EQ(c.bytes, raw->bytes);

        RegValue back;
        back.list = {"stale"};
        ASSERT_TRUE(reg_.ReadValue("HKCU", key_, name, back));
        EXPECT_EQ(c.value.kind, back.kind);
        EXPECT_EQ(c.value.number, back.number);
        EXPECT_EQ(c.value.text, back.text);
        EXPECT_TRUE(back.list.empty());
    }
    EXPECT_EQ("", log_.Text());
}

TEST_F(RegistryTest, WritesHexadecimalTextAsBytesPaddingAnOddLength)
{
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"ABC", std::string("\xAB\xC0", 2)},
        {"00ff10", std::string("\x00\xFF\x10", 3)},
        {"7", std::string("\x70", 1)},
        {"", std::string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(reg_.WriteValue("HKCU", key_, "bin", TextOf(RegValue::Binary, c.text)));
        std::optional<RawValue> raw = GetRaw("bin");
        ASSERT_TRUE(raw);
        EXPECT_EQ(DWORD(REG_BINARY), raw->type);
        EXPECT_EQ(c.bytes, raw->bytes);
    }
    EXPECT_EQ("", log_.Text());

    // Binary data is written, never read back into the record.
    RegValue back;
    reg_.WriteValue("HKCU", key_, "bin", TextOf(RegValue::Binary, "01"));
    EXPECT_FALSE(reg_.ReadValue("HKCU", key_, "bin", back));
    EXPECT_EQ(RegValue::None, back.kind);
    EXPECT_EQ("", reg_.ReadString("HKCU", key_, "bin"));
    EXPECT_EQ("Registry::ReadValue: registry entry bin had unsupported data type 3\n"
              "Registry::ReadValue: registry entry bin had unsupported data type 3\n",
              log_.Text());
}

TEST_F(RegistryTest, RefusesKindsItCannotWriteAndWritesNothing)
{
    RegValue list;
    list.kind = RegValue::TextList;
    list.list = {"a", "b"};
    const struct {
        RegValue value;
        const char* line;
    } cases[] = {
        {list, "Registry::WriteValue: unsupported registry type Reg_Multi_String\n"},
        {TextOf(RegValue::None, "x"), "Registry::WriteValue: unsupported registry type 0\n"},
        {TextOf(7, "x"), "Registry::WriteValue: unsupported registry type 7\n"},
        {TextOf(-1, "x"), "Registry::WriteValue: unsupported registry type -1\n"},
        {TextOf(RegValue::Binary, "0G"), "Registry::WriteValue: invalid hexadecimal data 0G\n"},
        {TextOf(RegValue::Binary, "0x12"), "Registry::WriteValue: invalid hexadecimal data 0x12\n"},
        {TextOf(RegValue::Binary, "AB CD"), "Registry::WriteValue: invalid hexadecimal data AB CD\n"},
    };
    std::string expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_FALSE(reg_.WriteValue("HKCU", key_, "v", c.value));
        EXPECT_FALSE(GetRaw("v"));
        expected += c.line;
    }
    EXPECT_EQ(expected, log_.Text());
}

// Texts and lists stored without their terminators by other writers come back whole, and
// nothing past the stored data.
TEST_F(RegistryTest, ReadsTextsAndListsStoredWithoutTerminators)
{
    const struct {
        DWORD type;
        std::string bytes;
        int kind;
        std::string text;
        CStdStringList list;
    } cases[] = {
        {REG_SZ, "abc", RegValue::Text, "abc", {}},
        {REG_SZ, std::string("ab\0cd", 5), RegValue::Text, "ab", {}},
        {REG_SZ, std::string("\0", 1), RegValue::Text, "", {}},
        {REG_EXPAND_SZ, "%TEMP%", RegValue::ExpandText, "%TEMP%", {}},
        {REG_MULTI_SZ, std::string("one\0two\0\0", 9), RegValue::TextList, "", {"one", "two"}},
        {REG_MULTI_SZ, std::string("one\0two\0", 8), RegValue::TextList, "", {"one", "two"}},
        {REG_MULTI_SZ, std::string("one\0two", 7), RegValue::TextList, "", {"one", "two"}},
        {REG_MULTI_SZ, "one", RegValue::TextList, "", {"one"}},
        {REG_MULTI_SZ, std::string("a\0\0b\0\0", 6), RegValue::TextList, "", {"a"}},
        {REG_MULTI_SZ, std::string("\0\0", 2), RegValue::TextList, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + ": " + c.bytes);
        SetRaw("raw", c.type, c.bytes);
        RegValue value;
        ASSERT_TRUE(reg_.ReadValue("HKCU", key_, "raw", value));
        EXPECT_EQ(c.kind, value.kind);
        EXPECT_EQ(c.text, value.text);
        EXPECT_EQ(c.list, value.list);
    }
    EXPECT_EQ("", log_.Text());
}

// A REG_DWORD stored with fewer bytes is read as far as it goes, never past its data.
TEST_F(RegistryTest, ReadsANumberStoredShortOrLong)
{
    const struct {
        std::string bytes;
        std::uint32_t number;
    } cases[] = {
        {std::string("\x34\x12", 2), 0x1234},
        {std::string("\x01", 1), 1},
        {std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), 0x04030201},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        SetRaw("n", REG_DWORD, c.bytes);
        RegValue value;
        ASSERT_TRUE(reg_.ReadValue("HKCU", key_, "n", value));
        EXPECT_EQ(RegValue::Number, value.kind);
        EXPECT_EQ(c.number, value.number);
    }
}

TEST_F(RegistryTest, ReadsAsTextNumbersInSignedDecimal)
{
    reg_.WriteValue("HKCU", key_, "small", Number(42));
    reg_.WriteValue("HKCU", key_, "max", Number(0xFFFFFFFF));
    reg_.WriteValue("HKCU", key_, "text", TextOf(RegValue::Text, " 7 "));
    reg_.WriteValue("HKCU", key_, "expand", TextOf(RegValue::ExpandText, "%WINDIR%"));
    SetRaw("list", REG_MULTI_SZ, std::string("a\0\0", 3));
    SetRaw("empty", REG_SZ, "");
    EXPECT_EQ("42", reg_.ReadString("HKCU", key_, "small"));
    EXPECT_EQ("-1", reg_.ReadString("HKCU", key_, "max"));
    EXPECT_EQ(" 7 ", reg_.ReadString("HKCU", key_, "text"));
    EXPECT_EQ("%WINDIR%", reg_.ReadString("HKCU", key_, "expand"));
    EXPECT_EQ("", reg_.ReadString("HKCU", key_, "list"));
    EXPECT_EQ("", reg_.ReadString("HKCU", key_, "empty"));
    EXPECT_EQ("", reg_.ReadString("HKCU", key_, "missing"));
    EXPECT_EQ("", reg_.ReadString("HKCU", Sub("Missing"), "small"));
    EXPECT_EQ("", log_.Text());
}

TEST_F(RegistryTest, MissingKeysAndValuesFailSilently)
{
    RegValue value = Number(5);
    EXPECT_FALSE(reg_.ReadValue("HKCU", key_, "missing", value));
    EXPECT_FALSE(reg_.ReadValue("HKCU", Sub("Missing"), "v", value));
    EXPECT_EQ(RegValue::Number, value.kind);  // untouched
    EXPECT_EQ(5u, value.number);
    EXPECT_FALSE(reg_.KeyExists("HKCU", Sub("Missing")));
    EXPECT_FALSE(reg_.IsKeyEmpty("HKCU", Sub("Missing")));
    EXPECT_FALSE(reg_.ValueExists("HKCU", Sub("Missing"), "v"));
    EXPECT_FALSE(reg_.DeleteValue("HKCU", Sub("Missing"), "v"));
    EXPECT_EQ(nullptr, reg_.openKey("HKCU", Sub("Missing"), Registry::kRead));
    EXPECT_TRUE(reg_.KeyExists("HKCU", key_));
    EXPECT_EQ("", log_.Text());
}

TEST_F(RegistryTest, WritingToAMissingKeyFailsWithoutCreatingIt)
{
    EXPECT_FALSE(reg_.WriteValue("HKCU", Sub("Missing"), "v", Number(1)));
    EXPECT_FALSE(reg_.WriteValue("HKCU", Sub("Missing"), "v", TextOf(RegValue::TextList, "")));
    EXPECT_FALSE(Exists(Sub("Missing")));
    EXPECT_EQ("", log_.Text());
}

// A value far larger than anything the utility stores is refused rather than allocated.
TEST_F(RegistryTest, RefusesToReadAnOversizedValue)
{
    SetRaw("big", REG_SZ, std::string(2 << 20, 'x'));
    RegValue value;
    EXPECT_FALSE(reg_.ReadValue("HKCU", key_, "big", value));
    EXPECT_EQ("Registry::ReadValue: could not query value big (return code 8)\n", log_.Text());
}

TEST_F(RegistryTest, ValueExistsOnlyWithData)
{
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
        bool exists;
    } cases[] = {
        {"emptyText", REG_SZ, "", false},
        {"emptyBinary", REG_BINARY, "", false},
        {"text", REG_SZ, std::string("x\0", 2), true},
        {"terminatorOnly", REG_SZ, std::string("\0", 1), true},
        {"number", REG_DWORD, std::string(4, '\0'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetRaw(c.name, c.type, c.bytes);
        EXPECT_EQ(c.exists, reg_.ValueExists("HKCU", key_, c.name));
    }
    EXPECT_FALSE(reg_.ValueExists("HKCU", key_, "missing"));
}

TEST_F(RegistryTest, DeletesValues)
{
    reg_.WriteValue("HKCU", key_, "v", Number(1));
    EXPECT_TRUE(reg_.DeleteValue("HKCU", key_, "v"));
    EXPECT_FALSE(GetRaw("v"));
    EXPECT_FALSE(reg_.DeleteValue("HKCU", key_, "v"));
    EXPECT_EQ("Registry::DeleteValue: RegDeleteValue returned error code2\n", log_.Text());
}

TEST_F(RegistryTest, KeyIsEmptyWithNothingButADefaultValue)
{
    EXPECT_TRUE(reg_.IsKeyEmpty("HKCU", key_));
    SetRaw("", REG_SZ, std::string("default\0", 8));
    EXPECT_TRUE(reg_.IsKeyEmpty("HKCU", key_));
    SetRaw("n", REG_SZ, "");
    EXPECT_FALSE(reg_.IsKeyEmpty("HKCU", key_));
    reg_.DeleteValue("HKCU", key_, "");
    EXPECT_FALSE(reg_.IsKeyEmpty("HKCU", key_));
    reg_.DeleteValue("HKCU", key_, "n");
    EXPECT_TRUE(reg_.IsKeyEmpty("HKCU", key_));
    MakeKey(Sub("Child"));
    EXPECT_FALSE(reg_.IsKeyEmpty("HKCU", key_));
}

TEST_F(RegistryTest, CreatesAChainCopyingEachParentsAccessList)
{
    SetDistinctAccess(key_);
    const std::vector<std::string> parent = AccessListOf(key_);
    ASSERT_EQ(2u, parent.size());

    ASSERT_TRUE(reg_.CreateKey("HKCU", Sub("B\\C"), true));
    EXPECT_EQ(parent, AccessListOf(Sub("B")));
    EXPECT_EQ(parent, AccessListOf(Sub("B\\C")));

    // An existing key keeps its own list.
    const std::vector<std::string> before = AccessListOf(Sub("B"));
    ASSERT_TRUE(reg_.CreateKey("HKCU", Sub("B\\D"), true));
    EXPECT_EQ(before, AccessListOf(Sub("B")));
    EXPECT_EQ("", log_.Text());
}

// Wine 8 drops the security attributes of RegCreateKeyEx, so there a new key gets the default
// list whatever is asked; the key is compared with one made directly with the Everyone list,
// which is exactly that list where the platform honours it.
TEST_F(RegistryTest, CreatesAChainGivingEveryoneAllAccess)
{
    SetDistinctAccess(key_);
    ASSERT_TRUE(reg_.CreateKey("HKCU", Sub("B\\C"), false));
    EXPECT_EQ("", log_.Text());

    PSID everyone = nullptr;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    EXPLICIT_ACCESS_A entry = {};
    entry.grfAccessPermissions = KEY_ALL_ACCESS;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, SetEntriesInAclA(1, &entry, nullptr, &acl));
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
    HKEY control = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Sub("Control").c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, &sa, &control, nullptr));
    const std::vector<std::string> expected = AccessList(control);
    RegCloseKey(control);
    LocalFree(acl);
    FreeSid(everyone);

    EXPECT_NE(AccessListOf(key_), expected);  // else the test could not tell a copy
    EXPECT_EQ(expected, AccessListOf(Sub("B")));
    EXPECT_EQ(expected, AccessListOf(Sub("B\\C")));
}

TEST_F(RegistryTest, CreateKeyReportsThePartItCouldNotCreate)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Sub("Volatile").c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr));
    RegCloseKey(h);
    // Keys below a volatile key must be volatile too.
    EXPECT_FALSE(reg_.CreateKey("HKCU", Sub("Volatile\\B\\C"), true));
    EXPECT_FALSE(reg_.CreateKey("HKCU", Sub("Volatile\\D"), false));
    EXPECT_FALSE(Exists(Sub("Volatile\\B")));
    EXPECT_FALSE(reg_.CreateKey("HKXX", "A", true));
    EXPECT_EQ("Registry::CreateKey: RegCreteKeyEx of B failed with code 1021\n"
              "Registry::CreateKey: RegCreteKeyEx of D failed with code 1021\n"
              "Registry::getRootKey: invalid root key HKXX\n",
              log_.Text());
}

TEST_F(RegistryTest, DeletesAnEmptyKeyAndItsEmptyParents)
{
    const struct {
        bool parents;
        bool deleted;
        std::vector<const char*> kept;
        std::vector<const char*> gone;
    } cases[] = {
        {true, true, {"A"}, {"A\\B", "A\\B\\C"}},
        {false, true, {"A", "A\\B"}, {"A\\B\\C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parents);
        MakeKey(Sub("A\\B\\C"));
        SetRaw("keep", REG_SZ, "", Sub("A"));
        SetRaw("", REG_SZ, std::string("default\0", 8), Sub("A\\B\\C"));
        EXPECT_EQ(c.deleted, reg_.DeleteEmptyKey("HKCU", Sub("A\\B\\C"), c.parents));
        for (const char* k : c.kept)
            EXPECT_TRUE(Exists(Sub(k))) << k;
        for (const char* k : c.gone)
            EXPECT_FALSE(Exists(Sub(k))) << k;
        RegDeleteTreeA(HKEY_CURRENT_USER, Sub("A").c_str());
    }

    MakeKey(Sub("A\\B\\C"));
    SetRaw("keep", REG_SZ, "", Sub("A\\B\\C"));
    EXPECT_FALSE(reg_.DeleteEmptyKey("HKCU", Sub("A\\B\\C"), true));
    EXPECT_TRUE(Exists(Sub("A\\B\\C")));
    EXPECT_FALSE(reg_.DeleteEmptyKey("HKCU", Sub("Missing"), true));
    EXPECT_FALSE(reg_.DeleteEmptyKey("HKCU", "", true));
    EXPECT_EQ("", log_.Text());
}

TEST_F(RegistryTest, DeletesANestedTree)
{
    for (const char* k : {"T\\B1\\C1\\D", "T\\B1\\C2", "T\\B2", "Sibling"})
        MakeKey(Sub(k));
    SetRaw("v", REG_SZ, "x", Sub("T\\B1\\C1"));
    SetRaw("", REG_DWORD, std::string(4, '\1'), Sub("T"));
    reg_.DeleteTree("HKCU", Sub("T"));
    EXPECT_FALSE(Exists(Sub("T")));
    EXPECT_TRUE(Exists(Sub("Sibling")));
    reg_.DeleteTree("HKCU", Sub("T"));
    EXPECT_EQ("", log_.Text());
}

TEST_F(RegistryTest, RefusesToDeleteARootAsATree)
{
    reg_.DeleteTree("HKCU", "");
    reg_.DeleteTree("HKCU", "\\");
    EXPECT_TRUE(Exists(key_));
}

// Every key opened is closed again, also on the failure paths and for HKCR.
TEST_F(RegistryTest, LeavesNoKeyOpen)
{
    SetRaw("bin", REG_BINARY, "\x01");
    SetRaw("empty", REG_SZ, "");
    MakeKey(Sub("Child"));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Sub("Volatile").c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr));
    RegCloseKey(h);
    auto exercise = [&] {
        RegValue value;
        reg_.ReadValue("HKCU", key_, "bin", value);
        reg_.ReadValue("HKCU", key_, "empty", value);
        reg_.ReadValue("HKCU", key_, "missing", value);
        reg_.ReadString("HKCR", "Software\\QelbrinTestMissing", "x");
        reg_.KeyExists("HKCR", "QelbrinTestMissing");
        reg_.WriteValue("HKCU", key_, "v", TextOf(RegValue::TextList, ""));
        reg_.WriteValue("HKCU", key_, "v", TextOf(RegValue::Binary, "zz"));
        reg_.WriteValue("HKCU", key_, "v", TextOf(9, ""));
        reg_.WriteValue("HKCU", key_, "v", Number(3));
        reg_.ValueExists("HKCU", key_, "empty");
        reg_.IsKeyEmpty("HKCU", key_);
        reg_.DeleteValue("HKCU", key_, "missing");
        reg_.CreateKey("HKCU", Sub("Volatile\\X"), true);
        reg_.CreateKey("HKCU", Sub("Y\\Z"), false);
        reg_.DeleteEmptyKey("HKCU", Sub("Y\\Z"), true);
        reg_.DeleteTree("HKCU", Sub("X"));
    };
    // Wine reports no handle count, but gives out the lowest free handle: a key left open moves
    // the next one up.
    auto nextHandle = [] {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(event);
        return event;
    };
    exercise();  // the first round may open lasting handles of the system's own
    const HANDLE before = nextHandle();
    for (int i = 0; i < 5; ++i)
        exercise();
    EXPECT_EQ(before, nextHandle());
}

TEST_F(RegistryTest, AnotherComputerHasNoUserRootsAndFailsToConnect)
{
    Registry remote("NO-SUCH-HOST");
    EXPECT_EQ(nullptr, remote.getRootKey("HKCU"));
    EXPECT_EQ(nullptr, remote.getRootKey("HKCC"));
    EXPECT_EQ("", log_.Text());
    EXPECT_EQ(nullptr, remote.getRootKey("HKLM"));
    EXPECT_EQ("", remote.ReadString("HKU", ".DEFAULT", "x"));
    EXPECT_EQ("Registry::getRemoteKey: could not access computer NO-SUCH-HOST (error 53)\n"
              "Registry::getRemoteKey: could not access computer NO-SUCH-HOST (error 53)\n",
              log_.Text());

    // The same name in other case keeps the machine; an empty one is the local computer again.
    remote.SetMachine("no-such-host");
    EXPECT_EQ("NO-SUCH-HOST", remote.Machine());
    remote.SetMachine("");
    EXPECT_EQ(HKEY_CURRENT_USER, remote.getRootKey("HKCU"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, remote.getRootKey("HKLM"));
}

TEST_F(RegistryTest, ConnectsLocallyWithAnEmptyOrOwnName)
{
    HKEY local = reg_.getRemoteKey(HKEY_LOCAL_MACHINE);
    ASSERT_NE(nullptr, local);
    HKEY software = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(local, "Software", 0, KEY_READ, &software));
    RegCloseKey(software);
    RegCloseKey(local);

    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    Registry own(name);
    HKEY machine = own.getRootKey("HKLM");
    ASSERT_NE(nullptr, machine);
    EXPECT_EQ(machine, own.getRootKey("hklm"));  // connected once
    EXPECT_EQ(nullptr, own.getRootKey("HKCU"));
    EXPECT_NE("", own.ReadString("HKLM", "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion"));
    EXPECT_EQ("", log_.Text());
}
}  // namespace
