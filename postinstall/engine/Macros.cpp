// Directory codes and the language strings of the script.
#include <windows.h>

#include <cstdio>

#include "../services/LanguageTable.h"
#include "../services/OSInfo.h"
#include "../services/Registry.h"
#include "DebugLog.h"
#include "OstrafelEngine.h"
#include "Tokenizer.h"

namespace {

PathObject Directory(const CStdStr& text)
{
    PathObject path;
    path.SetDirectory(text);
    return path;
}

CStdStr Parent(const CStdStr& dir)
{
    size_t cut = dir.find_last_of('\\');
    return cut == CStdStr::npos ? CStdStr() : dir.substr(0, cut);
}

CStdStr DriverDirectory()
{
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed))
        return CStdStr();
    return dir;
}

}  // namespace

PathObject OstrafelEngine::LookupDir(long code) const
{
    char buffer[MAX_PATH] = "";
    OSInfo os;
    switch (code) {
    case 1:
        if (GetCurrentDirectoryA(MAX_PATH, buffer))
            return Directory(buffer);
        break;
    case 2:
        if (GetTempPathA(MAX_PATH, buffer))
            return Directory(buffer);
        break;
    case 3:
        if (GetModuleFileNameA(nullptr, buffer, MAX_PATH))
            return Directory(PathObject(CStdStr(buffer)).directory());
        break;
    case 10:
        if (GetWindowsDirectoryA(buffer, MAX_PATH))
            return Directory(buffer);
        break;
    case 11:
        if (GetSystemDirectoryA(buffer, MAX_PATH))
            return Directory(buffer);
        break;
    case 51:
        return Directory(os.Is9x() ? DriverDirectory() : Parent(Parent(DriverDirectory())));
    case 52:
        return Directory(os.Is9x() ? DriverDirectory() : Parent(DriverDirectory()));
    case 777:
        return installDir_;
    case 2500:
        if (GetEnvironmentVariableA("ProgramFiles", buffer, MAX_PATH))
            return Directory(buffer);
        break;
    case 5000:
    case 10000: {
        PathObject dir = Directory(DriverDirectory());
        if (os.IsNT5OrLater())
            dir.AppendSubDir("3");
        else if (os.GetOSCode() == OSInfo::NT4)
            dir.AppendSubDir("2");
        return dir;
    }
    case 66000:
        return Directory(DriverDirectory());
    case 66001: {
        DWORD needed = 0;
        if (GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer), sizeof buffer,
                                        &needed))
            return Directory(buffer);
        break;
    }
    default:
        break;
    }
    DebugLog << "LookupDir: could not get directory for code " << code << '\n';
    return PathObject();
}

void OstrafelEngine::getStrings()
{
    Registry reg;
    CStdStr iso = reg.ReadString("HKLM", "SOFTWARE\\Qelbrin", "InstallLanguageISO");
    unsigned id;
    if (!iso.empty()) {
        languageIso_ = iso;
        id = LanguageWinCode(iso);
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
