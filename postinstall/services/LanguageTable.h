// Languages: a fixed table of ISO codes with their Windows and Macintosh codes and code pages,
// the locale tag of a Windows language id, and the user's own locale tag.
#pragma once

#include "../engine/StdStr.h"

namespace LanguageTable {

enum Column { Language = 0, IsoCode = 1, WinCode = 2, MacCode = 3, CodePage = 4 };

// The column's text in the first row whose ISO code matches (without regard to case); a code of
// three or more characters that matches no row is retried with its first two (de_CH finds de).
// Empty text for no row or a column outside 0 to 4.
CStdStr Lookup(const CStdStr& code, int column);

}  // namespace LanguageTable

// The user's locale as language_COUNTRY (en_US), from the platform; LangIdToLocale of the user's
// language id when the platform cannot name the country.
CStdStr UserLocaleTag();
// The locale tag of a Windows language id (1031 gives de_DE); en_US for ids not in the table.
CStdStr LangIdToLocale(unsigned languageId);
