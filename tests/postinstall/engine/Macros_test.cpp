#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "EngineTestUtil.h"
#include "TestSupport.h"
#include "engine/MacroText.h"
#include "engine/OstrafelEngine.h"

namespace {

std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

const char* const kScript =
    "[Install]\n"
    "[Strings]\n"
    "Group=\"Qelbrin QV-5\"\n"
    "Ten=\n"
    "Only=base\n"
    "Lang=overridden by the run\n"
    "[Strings.0007]\n"
    "Group=Qelbrin QV-5 Drucker\n"
    "[Strings.0009]\n"
    "Only=english\n"
    "[Strings.0409]\n"
    "Only=us english\n";

class MacrosTest : public ::testing::Test {
protected:
    void SetUp() override { qvtest::DeleteHklmValue("SOFTWARE\\Qelbrin", "InstallLanguageISO"); }
    void TearDown() override { qvtest::DeleteHklmValue("SOFTWARE\\Qelbrin", "InstallLanguageISO"); }

    void Load(const char* iso = nullptr)
    {
        if (iso) {
            ASSERT_TRUE(qvtest::SetHklmString("SOFTWARE\\Qelbrin", "InstallLanguageISO", iso));
        }
        auto inf = std::make_unique<InfFile>();
        inf->LoadFromText(kScript);
        engine_.SetScript(std::move(inf), "Install", false);
        engine_.getStrings();
    }
    enginetest::LogCapture log_;
    OstrafelEngine engine_;
};

TEST_F(MacrosTest, ExpandsDirectoryCodesAndVariables)
{
    Load("de_DE");
    const std::string windows = WindowsDir();
    struct Case {
        const char* text;
        std::string expanded;
        std::string log;
    } cases[] = {
        {"$10$\\Fonts", windows + "\\Fonts", ""},
        {"%10%", windows, ""},
        {"%GROUP% and %group%", "Qelbrin QV-5 Drucker and Qelbrin QV-5 Drucker", ""},
        {"%lang%/%LANG_HEX%", "de_DE/0x0007", ""},
        {"%ten%", "", ""},  // an empty variable named like no number gives nothing
        {"%%", "", ""},
        {"%unknown%x", "x", ""},
        {"$abc$", "$abc$", "OstrafelEngine::DecodeMacros: invalid macro: abc\n"},
        {"$4$", "", "LookupDir: could not get directory for code 4\n"},
        {"$777$", "", ""},
        {"100%", "100%", "OstrafelEngine::DecodeMacros: Runaway macro in string 100%\n"},
        {"50% off 60%", "50", ""},
        {"a$b%c$d", "a$b%c$d",
         "OstrafelEngine::DecodeMacros: invalid macro: b%c\n"},
        {"$10", "$10", "OstrafelEngine::DecodeMacros: Runaway macro in string $10\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        enginetest::LogCapture log;
        EXPECT_EQ(c.expanded, engine_.DecodeMacros(c.text));
        EXPECT_EQ(c.log, log.Text());
    }
}

TEST(ExpandMacros, DirectoriesComeFromTheCallerByCode)
{
    std::map<CStdStr, CStdStr> variables{{"set", "value"}, {"12", "twelve"}};
    std::vector<long> asked;
    const DirectoryOf directory = [&](long code) {
        asked.push_back(code);
        return "<" + std::to_string(code) + ">";
    };
    struct Case {
        const char* text;
        const char* expanded;
        std::vector<long> asked;
    } cases[] = {
        {"$10$\\x", "<10>\\x", {10}},
        {"$ -3tail$", "<-3>", {-3}},  // blanks, a sign and trailing text, as the C library reads
        {"%66000%", "<66000>", {66000}},
        {"%12%", "twelve", {}},  // a variable named by a number wins over the directory
        {"%SET%", "value", {}},
        {"%none%", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        asked.clear();
        EXPECT_EQ(c.expanded, ExpandMacros(c.text, variables, directory));
        EXPECT_EQ(c.asked, asked);
    }
    // A name the table lacks is entered into it empty.
    EXPECT_EQ(1u, variables.count("none"));
    EXPECT_EQ("", variables["none"]);
}

TEST_F(MacrosTest, TheInstallLanguagePicksTheStringsSections)
{
    Load("de_DE");
    EXPECT_EQ("OstrafelEngine::getStrings: Language Codes Found\n"
              "\tHex Country code: 0007\n"
              "\tHex Language code: 0007\n"
              "\tISO code: de_DE\n",
              log_.Text());
    EXPECT_EQ("base", engine_.DecodeMacros("%only%"));
    // The run's own values win over a Strings line of the same name.
    EXPECT_EQ("de_DE", engine_.DecodeMacros("%Lang%"));
}

TEST_F(MacrosTest, ALanguageOnlyKnownByItsFirstTwoLettersStillSelects)
{
    Load("de_CH");
    EXPECT_EQ("Qelbrin QV-5 Drucker", engine_.DecodeMacros("%group%"));
    EXPECT_EQ("0x0007", engine_.DecodeMacros("%lang_hex%"));
}

TEST_F(MacrosTest, WithoutAnInstallLanguageTheUsersLanguageSelects)
{
    Load();
    LANGID id = GetUserDefaultLangID();
    char full[8];
    snprintf(full, sizeof full, "%04x", id);
    EXPECT_EQ(std::string("0x") + full, engine_.DecodeMacros("%lang_hex%"));
    if (id == 0x0409) {
        EXPECT_EQ("us english", engine_.DecodeMacros("%only%"));
    }
}

}  // namespace
