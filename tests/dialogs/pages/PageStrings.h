// Texts of the language library the sheets use (English, or pseudo-localised with
// QVPAGES_LANGUAGE=pseudo), for tests that find items, titles and messages by what they say.
#pragma once

#include <windows.h>

#include <string>

#include "SheetHarness.h"

namespace pagetest {

inline HMODULE LanguageModule(const std::string& libraryDir)
{
    return GetModuleHandleA((libraryDir + "\\QVTDX5DL.DLL").c_str());
}

inline std::wstring LanguageString(const std::string& libraryDir, UINT id)
{
    const wchar_t* text = nullptr;
    const HMODULE language = LanguageModule(libraryDir);
    const int n = language ? LoadStringW(language, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
    return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
}

// The caption of a dialog template (DIALOGEX) of the language library: the title a dialog made
// from it has.
inline std::wstring TemplateCaption(const std::string& libraryDir, UINT id)
{
    const HMODULE language = LanguageModule(libraryDir);
    const HRSRC found = language ? FindResourceW(language, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)) : nullptr;
    const auto* words = found ? static_cast<const WORD*>(LockResource(LoadResource(language, found))) : nullptr;
    if (!words || words[1] != 0xFFFF)
        return {};
    const WORD* at = words + 13;  // past the fixed DLGTEMPLATEEX header
    for (int field = 0; field < 2; ++field) {  // menu, class
        if (*at == 0xFFFF)
            at += 2;
        else
            while (*at++) {
            }
    }
    return reinterpret_cast<const wchar_t*>(at);
}

}  // namespace pagetest
