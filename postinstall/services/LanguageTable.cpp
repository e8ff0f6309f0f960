// The language tables. Platform-neutral so that they build natively too; the user's own locale
// is asked of the platform in UserLocaleTag.cpp.
#include "LanguageTable.h"

#include <array>
#include <cstddef>

namespace {

using Row = std::array<const char*, 5>;

// Row 0 names the columns and is never matched. Where an ISO code repeats, the first row wins.
constexpr Row kLanguages[] = {
    {"Language", "ISO Code", "Win Code", "Mac Code", "CodePage"},
    {"Afrikaans",                                   "af",    "0x36",   "141", "1252"},
    {"Albanian",                                    "sq",    "0x1c",   "36",  "1250"},
    {"Amharic",                                     "am",    "0x5e",   "85",  "0"},
    {"Arabic",                                      "ar",    "0x01",   "12",  "1256"},
    {"Armenian",                                    "hy",    "0x2b",   "51",  "0"},
    {"Assamese",                                    "as",    "0x4d",   "68",  "0"},
    {"Azeri (Latin)",                               "az",    "0x2c",   "150", "1254"},
    {"Azeri (Cyrillic)",                            "az",    "0x082c", "49",  "1251"},
    {"Basque",                                      "eu",    "0x2d",   "129", "1252"},
    {"Bengali",                                     "bn",    "0x45",   "67",  "0"},
    {"Bulgarian",                                   "bg",    "0x02",   "44",  "1251"},
    {"Burmese",                                     "my",    "0x55",   "77",  "0"},
    {"Belarusian",                                  "be",    "0x23",   "46",  "1251"},
    {"Khmer",                                       "km",    "0x53",   "78",  "0"},
    {"Catalan",                                     "ca",    "0x03",   "130", "1252"},
    {"Chinese (Simplified)",                        "zh",    "0x0804", "33",  "936"},
    {"Chinese (Hong Kong)",                         "zh_HK", "0x0c04", "19",  "950"},
    {"Chinese (Traditional)",                       "zh_TW", "0x0404", "19",  "950"},
    {"Croatian",                                    "hr",    "0x1a",   "18",  "1250"},
    {"Czech",                                       "cs",    "0x05",   "38",  "1250"},
    {"Danish",                                      "da",    "0x06",   "7",   "1252"},
    {"Dutch",                                       "nl",    "0x13",   "4",   "1252"},
    {"English",                                     "en",    "0x09",   "0",   "1252"},
    {"Estonian",                                    "et",    "0x25",   "27",  "1257"},
    {"Faroese",                                     "fo",    "0x38",   "30",  "1252"},
    {"Farsi",                                       "fa",    "0x29",   "31",  "1256"},
    {"Finnish",                                     "fi",    "0x0b",   "13",  "1252"},
    {"French",                                      "fr",    "0x0c",   "1",   "1252"},
    {"Frisian",                                     "fy",    "0x62",   "-1",  "1252"},
    {"Galician",                                    "gl",    "0x56",   "140", "1252"},
    {"Scottish Gaelic",                             "gd",    "0x91",   "144", "1252"},
    {"Gaelic (Scotland)",                           "gd",    "0x3c",   "144", "1252"},
    {"Georgian",                                    "ka",    "0x37",   "52",  "0"},
    {"German",                                      "de",    "0x07",   "2",   "1252"},
    {"Greek",                                       "el",    "0x08",   "14",  "1253"},
    {"Greek (Polytonic)",                           "el",    "0x08",   "148", "1253"},
    {"Guarani",                                     "gn",    "0x74",   "133", "1252"},
    {"Gujarati",                                    "gu",    "0x47",   "69",  "0"},
    {"Hausa",                                       "ha",    "0x68",   "-1",  "1252"},
    {"Hebrew",                                      "he",    "0x0d",   "10",  "1255"},
    {"Hebrew",                                      "iw",    "0x0d",   "10",  "1255"},
    {"Hindi",                                       "hi",    "0x39",   "21",  "0"},
    {"Hungarian",                                   "hu",    "0x0e",   "26",  "1250"},
    {"Icelandic",                                   "is",    "0x0f",   "15",  "1252"},
    {"Indonesian",                                  "id",    "0x21",   "81",  "1252"},
    {"Indonesian",                                  "in",    "0x21",   "81",  "1252"},
    {"Inuktitut",                                   "iu",    "0x5d",   "143", "0"},
    {"Irish",                                       "ga",    "0x3c",   "35",  "1252"},
    {"Gaelic (Ireland)",                            "ga",    "0x083c", "35",  "1252"},
    {"Italian",                                     "it",    "0x10",   "3",   "1252"},
    {"Japanese",                                    "ja",    "0x11",   "11",  "932"},
    {"Kannada",                                     "kn",    "0x4b",   "73",  "0"},
    {"Kashmiri",                                    "ks",    "0x60",   "61",  "0"},
    {"Kazakh",                                      "kk",    "0x3f",   "48",  "1251"},
    {"Kyrgyz",                                      "ky",    "0x40",   "54",  "1251"},
    {"Korean",                                      "ko",    "0x12",   "23",  "949"},
    {"Lao",                                         "lo",    "0x54",   "79",  "0"},
    {"Latin",                                       "la",    "0x00",   "131", "1252"},
    {"Latvian",                                     "lv",    "0x26",   "28",  "1257"},
    {"Lithuanian",                                  "lt",    "0x27",   "24",  "1257"},
    {"Macedonian",                                  "mk",    "0x2f",   "43",  "1251"},
    {"Malay (Malaysia)",                            "ms",    "0x3e",   "83",  "1252"},
    {"Malay (Brunei Darussalam)",                   "ms",    "0x083e", "83",  "1252"},
    {"Malayalam",                                   "ml",    "0x4c",   "72",  "0"},
    {"Maltese",                                     "mt",    "0x3a",   "16",  "0"},
    {"Marathi",                                     "mr",    "0x4e",   "66",  "0"},
    {"Mongolian (Cyrillic)",                        "mn",    "0x50",   "58",  "1251"},
    {"Mongolian (Traditional)",                     "mn",    "0x0850", "57",  "0"},
    {"Nepali",                                      "ne",    "0x61",   "64",  "0"},
    {"Norwegian",                                   "no",    "0x14",   "9",   "1252"},
    {"Oriya",                                       "or",    "0x48",   "71",  "0"},
    {"Oromo",                                       "om",    "0x72",   "87",  "0"},
    {"Pashto",                                      "ps",    "0x63",   "59",  "0"},
    {"Polish",                                      "pl",    "0x15",   "25",  "1250"},
    {"Portuguese",                                  "pt",    "0x16",   "8",   "1252"},
    {"Portuguese (Brazil)",                         "pt_BR", "0x416",  "8",   "1252"},
    {"Portuguese (Portugal)",                       "pt_PT", "0x0816", "8",   "1252"},
    {"Punjabi",                                     "pa",    "0x46",   "70",  "0"},
    {"Romansh",                                     "rm",    "0x17",   "-1",  "1252"},
    {"Romanian",                                    "ro",    "0x18",   "37",  "1250"},
    {"Russian",                                     "ru",    "0x19",   "32",  "1251"},
    {"Sanskrit",                                    "sa",    "0x4f",   "65",  "0"},
    {"Serbian",                                     "sr",    "0x0c1a", "42",  "1251"},
    {"Serbian (Latin)",                             "sr",    "0x081a", "42",  "1250"},
    {"Serbian (Cyrillic, Bosnia and Herzegovina)",  "sr",    "0x1c1a", "42",  "1251"},
    {"Sindhi",                                      "sd",    "0x59",   "62",  "1256"},
    {"Sinhalese",                                   "si",    "0x5b",   "76",  "0"},
    {"Slovak",                                      "sk",    "0x1b",   "39",  "1250"},
    {"Slovenian",                                   "sl",    "0x24",   "40",  "1250"},
    {"Somali",                                      "so",    "0x77",   "88",  "0"},
    {"Spanish",                                     "es",    "0x0a",   "6",   "1252"},
    {"Swahili",                                     "sw",    "0x41",   "89",  "1252"},
    {"Swedish",                                     "sv",    "0x1d",   "5",   "1252"},
    {"Tagalog",                                     "tl",    "0x64",   "82",  "1252"},
    {"Tajik",                                       "tg",    "0x28",   "55",  "1251"},
    {"Tamil",                                       "ta",    "0x49",   "74",  "0"},
    {"Tatar",                                       "tt",    "0x44",   "135", "1251"},
    {"Telugu",                                      "te",    "0x4a",   "75",  "0"},
    {"Thai",                                        "th",    "0x1e",   "22",  "874"},
    {"Tibetan",                                     "bo",    "0x51",   "63",  "0"},
    {"Tigrinya",                                    "ti",    "0x73",   "86",  "0"},
    {"Tsonga",                                      "ts",    "0x31",   "-1",  "431"},
    {"Turkish",                                     "tr",    "0x1f",   "17",  "1254"},
    {"Turkmen",                                     "tk",    "0x42",   "56",  "1250"},
    {"Ukrainian",                                   "uk",    "0x22",   "45",  "1251"},
    {"Urdu",                                        "ur",    "0x20",   "20",  "1256"},
    {"Uzbek",                                       "uz",    "0x43",   "47",  "1254"},
    {"Vietnamese",                                  "vi",    "0x2a",   "80",  "1258"},
    {"Welsh",                                       "cy",    "0x52",   "128", "1252"},
    {"Xhosa",                                       "xh",    "0x34",   "-1",  "1252"},
    {"Yiddish",                                     "yi",    "0x3d",   "41",  "0"},
    {"Yiddish",                                     "ji",    "0x3d",   "41",  "0"},
    {"Yoruba",                                      "yo",    "0x6a",   "-1",  "1252"},
    {"Zulu",                                        "zu",    "0x35 ",  "-1",  "-1"},
};
static_assert(std::size(kLanguages) == 1 + 114);

const Row* FindRow(const CStdStr& iso)
{
    for (std::size_t i = 1; i < std::size(kLanguages); ++i)
        if (EqualNoCase(iso, kLanguages[i][LanguageTable::IsoCode]))
            return &kLanguages[i];
    return nullptr;
}

struct LocaleTag {
    unsigned id;
    const char* tag;
};

constexpr LocaleTag kLocaleTags[] = {
    {1025, "ar_SA"},  {1026, "bg_BG"},  {1027, "ca_AD"},  {1028, "zh_TW"},  {1029, "cs_CZ"},
    {1030, "da_DK"},  {1031, "de_DE"},  {1032, "el_GR"},  {1034, "es_ES"},  {3082, "es_ES"},
    {1035, "fi_FI"},  {1036, "fr_FR"},  {1037, "he_IL"},  {1038, "hu_HU"},  {1039, "is_IS"},
    {1040, "it_IT"},  {1041, "ja_JP"},  {1042, "ko_KR"},  {2066, "ko_KR"},  {1043, "nl_NL"},
    {1044, "no_NO"},  {2068, "no_NO"},  {1045, "pl_PL"},  {1046, "pt_BR"},  {1048, "ro_RO"},
    {1049, "ru_RU"},  {1050, "hr_HR"},  {1051, "sk_SK"},  {1052, "sq_AL"},  {1053, "sv_SE"},
    {1054, "th_TH"},  {1055, "tr_TR"},  {1057, "in"},     {1058, "uk_UA"},  {1059, "be_BY"},
    {1060, "sl_SI"},  {1061, "et_EE"},  {1062, "lv_LV"},  {1063, "lt_LT"},  {1066, "vi_VN"},
    {1069, "eu_ES"},  {1078, "af_ZA"},  {1080, "fo_FO"},  {2052, "zh_CN"},  {2055, "de_CH"},
    {2057, "en_UK"},  {2058, "es_MX"},  {2060, "fr_BE"},  {2064, "it_CH"},  {2067, "nl_BE"},
    {2070, "pt_PT"},  {2074, "sr_YU"},  {3098, "sr_YU"},  {2077, "sv_FI"},  {3076, "zh_HK"},
    {3079, "de_AT"},  {3081, "en_AU"},  {3084, "fr_CA"},  {4100, "zh_SG"},  {4103, "de_LU"},
    {4105, "en_CA"},  {4106, "es_GT"},  {4108, "fr_CH"},  {5127, "de_LI"},  {5129, "en_NZ"},
    {5130, "es_CR"},  {5132, "fr_LU"},  {6153, "en_IE"},  {6154, "es_PA"},  {7177, "en_ZA"},
    {7178, "es_DO"},  {8201, "en_JM"},  {9225, "en_JM"},  {8202, "es_VE"},  {9226, "es_CO"},
    {10249, "en_BZ"}, {10250, "es_PE"}, {11273, "en_TT"}, {11274, "es_AR"}, {12298, "es_EC"},
    {13322, "es_CL"}, {14346, "es_UY"}, {15370, "es_PY"}, {16394, "es_BO"}, {17418, "es_SV"},
    {18442, "es_HN"}, {19466, "es_NI"}, {20490, "es_PR"},
};

}  // namespace

CStdStr LanguageTable::Lookup(const CStdStr& code, int column)
{
    if (column < Language || column > CodePage)
        return CStdStr();
    const Row* row = FindRow(code);
    if (!row && code.size() >= 3)
        row = FindRow(code.substr(0, 2));
    return row ? CStdStr((*row)[column]) : CStdStr();
}

CStdStr LangIdToLocale(unsigned languageId)
{
    for (const LocaleTag& entry : kLocaleTags)
        if (entry.id == languageId)
            return entry.tag;
    return "en_US";
}
