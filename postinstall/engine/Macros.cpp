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
        return SystemPath(folders::kCurrentDirectory);
    case 2:
        return SystemPath(folders::kTempDirectory);
    case 3:
        return SystemPath(folders::kProgramDirectory);
    case 10:
        return SystemPath(folders::kWindowsDirectory);
    case 11:
        return SystemPath(folders::kSystemDirectory);
    case 51:
        return SystemPath(folders::kDriversGrandparent);
    case 52:
        return SystemPath(folders::kDriversParent);
    case 777:
        return installDir_;
    case 2500:
        return SystemPath(folders::kProgramFiles);
    case 5000:
    case 10000:
        return SystemPath(folders::kPrinterDriversVersion);
    case 66000:
        return SystemPath(folders::kPrinterDrivers);
    case 66001:
        return SystemPath(folders::kPrintProcessors);
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
