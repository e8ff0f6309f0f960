#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "services/LanguageTable.h"

namespace {

struct LookupCase {
    const char* code;
    int column;
    const char* expected;
};

TEST(LanguageTable, LookupFindsTheColumnOfTheFirstMatchingRow)
{
    const LookupCase cases[] = {
        // Rows given in full.
        {"en", LanguageTable::Language, "English"},
        {"en", LanguageTable::WinCode, "0x09"},
        {"en", LanguageTable::MacCode, "0"},
        {"de", LanguageTable::IsoCode, "de"},
        {"de", LanguageTable::WinCode, "0x07"},
        {"fr", LanguageTable::CodePage, "1252"},
        {"ja", LanguageTable::CodePage, "932"},
        {"zh", LanguageTable::WinCode, "0x0804"},
        {"zh", LanguageTable::MacCode, "33"},
        {"zh_TW", LanguageTable::Language, "Chinese (Traditional)"},
        {"zh_TW", LanguageTable::WinCode, "0x0404"},
        {"pt_BR", LanguageTable::MacCode, "8"},
        {"pt_BR", LanguageTable::WinCode, "0x416"},
        {"th", LanguageTable::CodePage, "874"},
        {"ts", LanguageTable::CodePage, "431"},
        {"ts", LanguageTable::MacCode, "-1"},
        {"zu", LanguageTable::WinCode, "0x35 "},
        {"zu", LanguageTable::CodePage, "-1"},
        // Repeated keys: the first row wins.
        {"sr", LanguageTable::Language, "Serbian"},
        {"sr", LanguageTable::WinCode, "0x0c1a"},
        {"sr", LanguageTable::CodePage, "1251"},
        {"el", LanguageTable::MacCode, "14"},
        {"az", LanguageTable::CodePage, "1254"},
        // Without regard to case.
        {"PT_br", LanguageTable::MacCode, "8"},
        {"JA", LanguageTable::Language, "Japanese"},
        // A longer code is retried with its language alone.
        {"de_AT", LanguageTable::CodePage, "1252"},
        {"de_CH", LanguageTable::Language, "German"},
        {"zh_CN", LanguageTable::WinCode, "0x0804"},
        {"eng", LanguageTable::Language, "English"},
        {"sr_Latn", LanguageTable::Language, "Serbian"},
        // A full match comes before the retry.
        {"zh_HK", LanguageTable::CodePage, "950"},
        {"pt_PT", LanguageTable::WinCode, "0x0816"},
        // Nothing found.
        {"x", LanguageTable::IsoCode, ""},
        {"", LanguageTable::Language, ""},
        {"q", LanguageTable::Language, ""},
        {"qq_DE", LanguageTable::Language, ""},
        {"d", LanguageTable::Language, ""},
        // The header is not a row: its column name is retried as "IS".
        {"ISO Code", LanguageTable::Language, "Icelandic"},
        // Columns outside the table.
        {"en", 5, ""},
        {"en", -1, ""},
        {"de_AT", 5, ""},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " column " + std::to_string(c.column));
        EXPECT_EQ(c.expected, LanguageTable::Lookup(c.code, c.column));
    }
}

TEST(LanguageTable, WinCodeNamesTheLanguageThePlatformKnows)
{
    // The primary language of each Win Code is the one the platform gives for the ISO code.
    // The platform's code pages are today's, so languages whose page has since changed are left out.
    const char* const keys[] = {"af", "sq", "am", "ar", "hy", "az", "eu", "bn", "bg", "be", "ca", "zh", "hr",
                                "cs", "da", "nl", "en", "et", "fo", "fa", "fi", "fr", "gl", "ka", "de", "el",
                                "gu", "he", "hi", "hu", "is", "id", "it", "ja", "kn", "ky", "ko", "lo", "lv",
                                "lt", "mk", "ms", "ml", "mr", "ne", "pl", "pt", "ro", "ru", "sk", "sl", "es",
                                "sw", "sv", "ta", "tt", "te", "th", "tr", "uk", "ur", "uz", "vi", "cy"};
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        wchar_t name[16] = L"";
        MultiByteToWideChar(CP_ACP, 0, key, -1, name, 16);
        LCID lcid = LocaleNameToLCID(name, 0);
        ASSERT_NE(0u, lcid);
        unsigned code = unsigned(std::strtoul(LanguageTable::Lookup(key, LanguageTable::WinCode).c_str(), nullptr, 16));
        EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(lcid)), PRIMARYLANGID(code));
        char page[16] = "";
        GetLocaleInfoA(lcid, LOCALE_IDEFAULTANSICODEPAGE, page, sizeof page);
        EXPECT_EQ(page, LanguageTable::Lookup(key, LanguageTable::CodePage));
    }
}

struct LocaleCase {
    unsigned id;
    const char* tag;
};

TEST(LangIdToLocale, MapsKnownIdsAndFallsBackToUsEnglish)
{
    const LocaleCase cases[] = {
        {1031, "de_DE"}, {3082, "es_ES"}, {1034, "es_ES"}, {2057, "en_UK"}, {1057, "in"},    {1027, "ca_AD"},
        {2074, "sr_YU"}, {3098, "sr_YU"}, {9225, "en_JM"}, {20490, "es_PR"}, {1025, "ar_SA"}, {2052, "zh_CN"},
        {1033, "en_US"}, {0, "en_US"},    {1047, "en_US"}, {0x10407, "en_US"}, {20491, "en_US"},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.tag, LangIdToLocale(c.id));
    }
}

TEST(UserLocaleTag, IsThePlatformsLanguageAndCountry)
{
    char language[20] = "", country[20] = "";
    LCID user = MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT);
    ASSERT_NE(0, GetLocaleInfoA(user, LOCALE_SISO639LANGNAME, language, sizeof language));
    ASSERT_NE(0, GetLocaleInfoA(user, LOCALE_SISO3166CTRYNAME, country, sizeof country));

    std::string tag = UserLocaleTag();
    size_t bar = tag.find('_');
    ASSERT_NE(std::string::npos, bar) << tag;
    std::string lang = tag.substr(0, bar), ctry = tag.substr(bar + 1);
    EXPECT_TRUE(EqualNoCase(language, lang)) << tag;
    EXPECT_TRUE(EqualNoCase(country, ctry)) << tag;
    for (char c : lang)
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(c))) << tag;
    for (char c : ctry)
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)))
            << tag;
}

}  // namespace
