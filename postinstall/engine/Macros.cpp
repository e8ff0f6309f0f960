// Directory codes and the language strings of the script.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "../services/LanguageTable.h"
#include "../services/SystemPath.h"
#include "../services/Registry.h"
#include "DebugLog.h"
#include "MacroText.h"
#include "OstrafelEngine.h"
#include "Tokenizer.h"

PathObject OstrafelEngine::LookupDir(long code) const
{
    switch (code) {
    case 1:
        return SystemPath(2);
    case 2:
        return SystemPath(22);
    case 3:
        return SystemPath(10);
    case 10:
        return SystemPath(23);
    case 11:
        return SystemPath(19);
    case 51:
        return SystemPath(16);
    case 52:
        return SystemPath(17);
    case 777:
        return installDir_;
    case 2500:
        return SystemPath(14);
    case 5000:
    case 10000:
        return SystemPath(12);
    case 66000:
        return SystemPath(11);
    case 66001:
        return SystemPath(13);
    default:
        DebugLog << "LookupDir: could not get directory for code " << code << '\n';
        return PathObject();
    }
}

CStdStr OstrafelEngine::DecodeMacros(const CStdStr& text)
{
    return ExpandMacros(text, macros_, [this](long code) { return LookupDir(code).FullPath(); });
}

void OstrafelEngine::getStrings()
{
    Registry reg;
    CStdStr iso = reg.ReadString("HKLM", "SOFTWARE\\Qelbrin", "InstallLanguageISO");
    unsigned id;
    if (!iso.empty()) {
        languageIso_ = iso;
        // Mostly a primary language id ("0x07"); a code the table lacks gives 0.
        id = unsigned(std::strtoul(LanguageTable::Lookup(iso, LanguageTable::WinCode).c_str(), nullptr, 16));
    } else {
        languageIso_ = UserLocaleTag();
        id = GetUserDefaultLangID();
    }
    char full[16], low[16];
    std::snprintf(full, sizeof full, "%04x", id & 0xffff);
    std::snprintf(low, sizeof low, "%04x", id & 0xff);

    DebugLog << "OstrafelEngine::getStrings: Language Codes Found" << '\n';
    DebugLog << "\tHex Country code: " << full << '\n';
    DebugLog << "\tHex Language code: " << low << '\n';
    DebugLog << "\tISO code: " << languageIso_ << '\n';

    // The most specific section wins.
    loadStrings("Strings");
    loadStrings(CStdStr("Strings.") + low);
    loadStrings(CStdStr("Strings.") + full);

    macros_["lang_hex"] = CStdStr("0x") + full;
    macros_["lang"] = languageIso_;
    macros_["device"] = driverName_;
    macros_["port"] = port_;
}

void OstrafelEngine::loadStrings(const CStdStr& section)
{
    const CStdStringList* lines = FindSection(section);
    if (!lines)
        return;
    for (const CStdStr& line : *lines) {
        CStdStr key, value;
        if (SplitKeyValue(line, key, value))
            macros_[ToLower(key)] = value;
    }
}
