// The platform's side of the language lookups: the user's locale.
#include <windows.h>

#include <cstdio>

#include "LanguageTable.h"

CStdStr UserLocaleTag()
{
    LANGID id = GetUserDefaultLangID();
    LCID locale = MAKELCID(id, SORT_DEFAULT);
    char country[20] = "";
    char language[20] = "";
    int gotCountry = GetLocaleInfoA(locale, LOCALE_SISO3166CTRYNAME, country, sizeof country);
    GetLocaleInfoA(locale, LOCALE_SISO639LANGNAME, language, sizeof language);
    if (!gotCountry)
        return LangIdToLocale(id);
    country[sizeof country - 1] = '\0';
    language[sizeof language - 1] = '\0';
    for (char& c : language)
        c = ToLowerC(c);
    for (char& c : country)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    char tag[sizeof language + sizeof country + 1] = "";
    std::snprintf(tag, sizeof tag, "%s_%s", language, country);
    return tag;
}
