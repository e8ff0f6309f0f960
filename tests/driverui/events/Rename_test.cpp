// The export Rename of a copy of QVTDX5DA.DLL: a printer's per-user settings move to its new name
// and its driver data is copied into the new printer's, and nothing else in the registry changes,
// whatever the names hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "EventTestUtil.h"
#include "TestSupport.h"

namespace {

using eventtest::Bytes;
using ::testing::ElementsAre;

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kOld[] = "QV Rename Old";
constexpr char kNew[] = "QV Rename New";
constexpr char kOther[] = "QV Rename Other";
constexpr char kUserKey[] = "Software\\Qelbrin\\Printers";

// As the caller lays it out.
struct RenameRecord {
    std::uint32_t reserved[2];
    const char* oldName;
    const char* newName;
};

// Every value under a key and its subkeys: "subkey\value" → type and data.
using Snapshot = std::map<std::string, std::pair<DWORD, Bytes>>;

void Collect(HKEY root, const std::string& path, Snapshot& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out[path + "\\"] = {};
    char name[512];
    BYTE data[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        out[path + "\\" + name] = {type, Bytes(data, data + size)};
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& sub : subkeys)
        Collect(root, path + "\\" + sub, out);
}

Snapshot Registry()
{
    Snapshot s;
    Collect(HKEY_CURRENT_USER, kUserKey, s);
    Collect(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print\\Printers", s);
    return s;
}

void SetUserValue(const std::string& printer, const std::string& name, DWORD type, const Bytes& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kUserKey) + "\\" + printer).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, type, data.data(), DWORD(data.size()));
    RegCloseKey(key);
}

std::optional<std::pair<DWORD, Bytes>> UserValue(const std::string& printer, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kUserKey) + "\\" + printer).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    BYTE data[256];
    DWORD type = 0, size = sizeof data;
    const LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return std::make_pair(type, Bytes(data, data + size));
}

class RenameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library_.Ready());
        ASSERT_TRUE(log_.Placed());
        ASSERT_TRUE(qvtest::InstallTestDriver(kDriver));
        for (const char* printer : {kOld, kNew, kOther})
            ASSERT_TRUE(qvtest::AddTestPrinter(printer, kDriver)) << printer << ": " << GetLastError();
        SetUserValue(kOld, "Layout", REG_SZ, {'2', '-', 'u', 'p', 0});
        SetUserValue(kOld, "Copies", REG_DWORD, {3, 0, 0, 0});
        SetUserValue(kOther, "Layout", REG_SZ, {'1', 0});
        ASSERT_TRUE(eventtest::SetPrinterValue(kOld, "Watermark", {1, 2, 3}));
        ASSERT_TRUE(eventtest::SetPrinterValue(kNew, "Macro", {9}));
        ASSERT_TRUE(eventtest::SetPrinterValue(kOther, "Watermark", {7}));
    }
    void TearDown() override
    {
        for (const char* printer : {kOld, kNew, kOther}) {
            qvtest::DeleteTestPrinter(printer);
            RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kUserKey) + "\\" + printer).c_str());
        }
    }
    BOOL Rename(const char* from, const char* to)
    {
        RenameRecord record{{0xAAAAAAAAu, 0x55555555u}, from, to};
        return library_.rename(&record);
    }

    eventtest::LibraryCopy library_;
    eventtest::SystemInstallLog log_;
    qvtest::TempDir dir_;
};

TEST_F(RenameTest, MovesThePrintersOwnDataOnly)
{
    const Snapshot before = Registry();
    qvtest::CallRecord calls("QELLOG_RECORD", dir_.File("qellog.txt"));
    EXPECT_TRUE(Rename(kOld, kNew));

    EXPECT_FALSE(UserValue(kOld, "Layout")) << "the old per-user key is still there";
    EXPECT_EQ(UserValue(kNew, "Layout"), std::make_pair(DWORD(REG_SZ), Bytes{'2', '-', 'u', 'p', 0}));
    EXPECT_EQ(UserValue(kNew, "Copies"), std::make_pair(DWORD(REG_DWORD), Bytes{3, 0, 0, 0}));
    // The driver data is copied, the new printer keeps its own, the old one keeps its copy.
    EXPECT_EQ(eventtest::PrinterValue(kNew, "Watermark"), (Bytes{1, 2, 3}));
    EXPECT_EQ(eventtest::PrinterValue(kNew, "Macro"), (Bytes{9}));
    EXPECT_EQ(eventtest::PrinterValue(kOld, "Watermark"), (Bytes{1, 2, 3}));

    // Everything else is as it was.
    const auto outside = [](Snapshot s) {
        std::erase_if(s, [](const auto& entry) {
            const std::string& path = entry.first;
            return path.find(kNew) != std::string::npos ||
                   (path.rfind(kUserKey, 0) == 0 && path.find(kOld) != std::string::npos);
        });
        return s;
    };
    EXPECT_EQ(outside(Registry()), outside(before));

    const std::string section = std::string("AddRegistry\tPrinter ") + kNew + "\thkcu, \"" + kUserKey + "\\" + kNew + "\"";
    std::vector<std::string> registered;
    for (const std::string& call : calls.Calls())
        if (call.rfind("AddRegistry", 0) == 0)
            registered.push_back(call);
    EXPECT_THAT(registered, ::testing::UnorderedElementsAre(section + ", Layout", section + ", Copies", section));
    EXPECT_EQ(registered.back(), section) << "the key itself comes last";
}

TEST_F(RenameTest, NamesThatCouldReachOtherKeysChangeNothing)
{
    const std::string unterminated(256, 'Q');
    const std::string longest(255, 'Q');
    const struct {
        const char* what;
        const char* from;
        const char* to;
    } cases[] = {
        {"no old name", nullptr, kNew},
        {"no new name", kOld, nullptr},
        {"empty old name", "", kNew},
        {"empty new name", kOld, ""},
        {"an old name of 256 bytes without its end", unterminated.c_str(), kNew},
        {"a new name of 256 bytes without its end", kOld, unterminated.c_str()},
        {"a new name reaching into another printer's key", kOld, "QV Rename Other\\PrinterDriverData"},
        {"an old name reaching into another printer's key", "QV Rename Other\\..", kNew},
        {"a new name of a printer the spooler does not have", kOld, longest.c_str()},
        {"a new name of a printer the spooler does not have", kOld, "QV Rename Nobody"},
    };
    const Snapshot before = Registry();
    for (const auto& c : cases) {
        EXPECT_FALSE(Rename(c.from, c.to)) << c.what;
        EXPECT_EQ(Registry(), before) << c.what;
    }
    EXPECT_FALSE(library_.rename(nullptr));
}

TEST_F(RenameTest, SameNameInAnyCaseHasNothingToMove)
{
    const Snapshot before = Registry();
    EXPECT_TRUE(Rename(kOld, "qv rename OLD"));
    EXPECT_EQ(Registry(), before);
}

}  // namespace
