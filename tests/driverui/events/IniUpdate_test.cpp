// The update of QVTDX5DD.INI in the Windows directory from the QVTDX5D$.INI beside a copy of the
// library, run by DrvUpgradePrinter on real files: each kind of rule, rules of two groups, bad
// rules with their notice, and unchanged versions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BoxWatcher.h"
#include "CallRecord.h"
#include "EventTestUtil.h"
#include "TestSupport.h"

namespace {

constexpr char kDriver[] = "Qelbrin QV-5 PCL";
constexpr char kPrinter[] = "QV Ini Update";
constexpr char kAbsent[] = "(absent)";

// The installed configuration: version 1, two fonts.
constexpr char kInstalled[] = "[QVTDX5DD]\r\nQV5=1\r\n[Fonts]\r\nCourier=old\r\nArial=keep\r\n";
constexpr char kInstalledWithoutCourier[] = "[QVTDX5DD]\r\nQV5=1\r\n[Fonts]\r\nArial=keep\r\n";

std::string UpdateFile(const std::string& rules, const std::string& more = "")
{
    return "[QVTDX5DD]\r\ntag=QV5\r\nver=2\r\n[UpdateControl]\r\n" + rules + more;
}

struct Expect {
    const char* section;
    const char* key;
    const char* value;  // kAbsent for a key that must not be there
};

struct Case {
    const char* what;
    std::string installed;
    std::string update;
    std::vector<Expect> expected;
    bool notice;
};

class IniUpdateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ready_ = qvtest::InstallTestDriver(kDriver) &&
                 (qvtest::AddTestPrinter(kPrinter, kDriver) || GetLastError() == ERROR_PRINTER_ALREADY_EXISTS);
    }
    static void TearDownTestSuite() { qvtest::DeleteTestPrinter(kPrinter); }
    void SetUp() override
    {
        ASSERT_TRUE(ready_);
        ASSERT_TRUE(library_.Ready());
    }
    void TearDown() override { DeleteFileA(config_.c_str()); }

    std::string Value(const std::string& section, const std::string& key) const
    {
        char value[256] = "";
        GetPrivateProfileStringA(section.c_str(), key.c_str(), kAbsent, value, sizeof value, config_.c_str());
        return value;
    }
    // Runs the update once; the notices it showed.
    std::vector<qvtest::SeenBox> Run(const std::string& installed, const std::string& update)
    {
        EXPECT_TRUE(qvtest::WriteFile(config_, installed));
        EXPECT_TRUE(qvtest::WriteFile(library_.Dir() + "QVTDX5D$.INI", update));
        qvtest::BoxWatcher watcher({kPrinter});
        EXPECT_TRUE(library_.Upgrade(kPrinter)) << "the devmode was not built";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return watcher.Seen();
    }

    static inline bool ready_ = false;
    eventtest::LibraryCopy library_;
    const std::string config_ = eventtest::WindowsFile("QVTDX5DD.INI");
};

TEST_F(IniUpdateTest, RulesActWhenTheirConditionsHold)
{
    const std::string courier = "|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n";
    const std::string exist = "|EXIST|0|QVTDX5DD.INI|Fonts|Courier=new\r\n";
    const std::string notExist = "|NOTEXIST|0|QVTDX5DD.INI|Fonts|Courier=new\r\n";
    const std::string both = "~NOTEXIST~0~QVTDX5DD.INI~Fonts~Arial~REPLACE~7~QVTDX5DD.INI~Other~Key=both\r\n";
    const std::vector<Case> cases = {
        {"REPLACE over a value", kInstalled, UpdateFile(courier), {{"Fonts", "Courier", "new"}, {"QVTDX5DD", "QV5", "2"}}, false},
        {"REPLACE of a missing key", kInstalledWithoutCourier, UpdateFile(courier), {{"Fonts", "Courier", "new"}}, false},
        {"EXIST writes a missing key", kInstalledWithoutCourier, UpdateFile(exist), {{"Fonts", "Courier", "new"}}, false},
        {"EXIST keeps a present key", kInstalled, UpdateFile(exist), {{"Fonts", "Courier", "old"}, {"QVTDX5DD", "QV5", "2"}}, false},
        {"NOTEXIST writes a present key", kInstalled, UpdateFile(notExist), {{"Fonts", "Courier", "new"}}, false},
        {"NOTEXIST leaves a missing key", kInstalledWithoutCourier, UpdateFile(notExist), {{"Fonts", "Courier", kAbsent}}, false},
        {"REMOVE of a key", kInstalled, UpdateFile("|REMOVE|0|QVTDX5DD.INI|Fonts|Courier=\r\n"),
         {{"Fonts", "Courier", kAbsent}, {"Fonts", "Arial", "keep"}}, false},
        {"REMOVE of a section", kInstalled, UpdateFile("|REMOVE|0|QVTDX5DD.INI|Fonts|*=\r\n"),
         {{"Fonts", "Courier", kAbsent}, {"Fonts", "Arial", kAbsent}, {"QVTDX5DD", "QV5", "2"}}, false},
        {"a whole section copied", kInstalled,
         UpdateFile("|REPLACE|0|QVTDX5DD.INI|Fonts|*=\r\n", "[QVTDX5DD.INI|Fonts]\r\nCourier=c2\r\nTimes=t2\r\n"),
         {{"Fonts", "Courier", "c2"}, {"Fonts", "Times", "t2"}, {"Fonts", "Arial", "keep"}}, false},
        {"EXIST copies a section that is missing", kInstalled,
         UpdateFile("|EXIST|0|QVTDX5DD.INI|Paper|*=\r\n", "[QVTDX5DD.INI|Paper]\r\nA4=on\r\n"),
         {{"Paper", "A4", "on"}}, false},
        {"two groups that pass act as the second", kInstalled, UpdateFile(both),
         {{"Other", "Key", "both"}, {"Fonts", "Arial", "keep"}}, false},
        {"two groups, the first failing", kInstalledWithoutCourier,
         UpdateFile("~NOTEXIST~0~QVTDX5DD.INI~Fonts~Courier~REPLACE~7~QVTDX5DD.INI~Other~Key=both\r\n"),
         {{"Other", "Key", kAbsent}, {"QVTDX5DD", "QV5", "2"}}, false},
        {"font files are joined to the library's directory", kInstalled,
         UpdateFile("|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n", "[AdditionalFonts]\r\nF1=QVSANS.FNT\r\n"),
         {{"AdditionalFonts", "F1", nullptr}, {"QVTDX5DD", "QV5", "2"}}, false},
    };
    for (const Case& c : cases) {
        const std::vector<qvtest::SeenBox> seen = Run(c.installed, c.update);
        EXPECT_EQ(seen.size(), std::size_t(c.notice)) << c.what;
        for (const Expect& e : c.expected) {
            const std::string expected = e.value ? e.value : library_.Dir() + "QVSANS.FNT";
            EXPECT_EQ(Value(e.section, e.key), expected) << c.what << ": [" << e.section << "] " << e.key;
        }
    }
}

TEST_F(IniUpdateTest, BadRulesStopTheUpdateWithANotice)
{
    const std::string later = "|REPLACE|0|QVTDX5DD.INI|Fonts|Later=new\r\n";
    const std::vector<Case> cases = {
        {"an unknown condition", kInstalled,
         UpdateFile("|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=first\r\n|MOVE|0|QVTDX5DD.INI|Fonts|Arial=x\r\n" + later), {}, true},
        {"a missing field", kInstalled, UpdateFile("|REPLACE||QVTDX5DD.INI|Fonts|Courier=first\r\n" + later), {}, true},
        {"a group cut short", kInstalled,
         UpdateFile("|REPLACE|0|QVTDX5DD.INI|Fonts|Courier|REPLACE|0|QVTDX5DD.INI=first\r\n" + later), {}, true},
        {"no rules at all", kInstalled, UpdateFile("", "[Other]\r\nx=y\r\n"), {}, true},
    };
    for (const Case& c : cases) {
        const std::vector<qvtest::SeenBox> seen = Run(c.installed, c.update);
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_EQ(seen[0].title, kPrinter) << c.what;
        EXPECT_EQ(seen[0].text, "Failed to update initialization files.") << c.what;
        // Nothing after the bad rule, and the version stays for the next attempt.
        EXPECT_EQ(Value("Fonts", "Later"), kAbsent) << c.what;
        EXPECT_EQ(Value("QVTDX5DD", "QV5"), "1") << c.what;
    }
    // Rules before the bad one have run.
    Run(kInstalled, cases[0].update);
    EXPECT_EQ(Value("Fonts", "Courier"), "first");
}

TEST_F(IniUpdateTest, UnchangedVersionOrNoUpdateFileLeavesTheFileAlone)
{
    const std::string rules = "|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n|MOVE|0|x|y|z=bad\r\n";
    const struct {
        const char* what;
        std::string installed;
        std::string update;  // empty: no update file
    } cases[] = {
        {"equal versions", kInstalled, "[QVTDX5DD]\r\ntag=QV5\r\nver=1\r\n[UpdateControl]\r\n" + rules},
        {"equal versions, written differently", kInstalled, "[QVTDX5DD]\r\ntag=QV5\r\nver=01\r\n[UpdateControl]\r\n" + rules},
        {"no tag to record a version under", kInstalled, "[QVTDX5DD]\r\nver=5\r\n[UpdateControl]\r\n" + rules},
        {"no update file", kInstalled, ""},
        {"no update file, no configuration file", "", ""},
    };
    for (const auto& c : cases) {
        DeleteFileA(config_.c_str());
        if (!c.installed.empty()) {
            ASSERT_TRUE(qvtest::WriteFile(config_, c.installed));
        }
        DeleteFileA((library_.Dir() + "QVTDX5D$.INI").c_str());
        if (!c.update.empty()) {
            ASSERT_TRUE(qvtest::WriteFile(library_.Dir() + "QVTDX5D$.INI", c.update));
        }
        std::vector<qvtest::SeenBox> seen;
        {
            qvtest::BoxWatcher watcher({kPrinter});
            EXPECT_TRUE(library_.Upgrade(kPrinter)) << c.what;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            seen = watcher.Seen();
        }
        EXPECT_THAT(seen, ::testing::IsEmpty()) << c.what;
        if (c.installed.empty()) {
            EXPECT_FALSE(qvtest::ReadFile(config_)) << c.what;
        } else {
            EXPECT_EQ(qvtest::ReadFile(config_).value_or(""), c.installed) << c.what;
        }
    }
}

TEST_F(IniUpdateTest, UpdatedFileIsRegisteredWithTheInstallLog)
{
    eventtest::SystemInstallLog log;
    ASSERT_TRUE(log.Placed());
    qvtest::TempDir dir;
    qvtest::CallRecord calls("QELLOG_RECORD", dir.File("qellog.txt"));
    Run(kInstalled, UpdateFile("|REPLACE|0|QVTDX5DD.INI|Fonts|Courier=new\r\n"));
    EXPECT_THAT(calls.Calls(), ::testing::ElementsAre("FindLogFile\tQelbrin\t2", "AddFile\tDrivers\t" + config_));
}

}  // namespace
