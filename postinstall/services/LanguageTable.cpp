#include "LanguageTable.h"

#include <windows.h>

CStdStr UserLocaleTag()
{
    char language[16] = "", country[16] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, language, sizeof language);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, country, sizeof country);
    return CStdStr(language) + "_" + country;
}

unsigned LanguageWinCode(const CStdStr& iso)
{
    // The platform knows the tags; a tag it lacks in full is retried with its language alone.
    for (CStdStr tag : {iso, iso.substr(0, 2)}) {
        for (char& c : tag)
            if (c == '_')
                c = '-';
        wchar_t wide[LOCALE_NAME_MAX_LENGTH] = L"";
        if (tag.empty() || !MultiByteToWideChar(CP_ACP, 0, tag.c_str(), -1, wide, LOCALE_NAME_MAX_LENGTH))
            continue;
        LCID lcid = LocaleNameToLCID(wide, 0);
        if (lcid)
            return PRIMARYLANGID(LANGIDFROMLCID(lcid));
    }
    return 0;
}
