// Languages: the user's locale as an ISO tag, and the language code of an ISO tag.
#pragma once

#include "../engine/StdStr.h"

// The user's locale as language_COUNTRY, e.g. en_US.
CStdStr UserLocaleTag();
// The primary language identifier of an ISO tag such as de_DE (0x07); 0 when unknown.
unsigned LanguageWinCode(const CStdStr& iso);
