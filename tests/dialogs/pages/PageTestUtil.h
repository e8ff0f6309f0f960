// Small helpers of the page tests on the real sheets: the language library the sheets use (its
// strings and dialog captions, English or pseudo-localised), a page switch that makes a page
// fill again from the entries, and a page's painting read back pixel by pixel.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "SheetHarness.h"

namespace pagetest {

// Before a sheet has loaded it, the test loads it (once, for the program): the module the dialog
// library then loads is the same one.
inline HMODULE SheetLanguage(const std::string& libraryDir)
{
    const std::string path = libraryDir + "\\QVTDX5DL.DLL";
    const HMODULE loaded = GetModuleHandleA(path.c_str());
    return loaded ? loaded : LoadLibraryA(path.c_str());
}

// A string of the language library loaded from libraryDir.
inline std::wstring LanguageString(const std::string& libraryDir, UINT id)
{
    const wchar_t* text = nullptr;
    const HMODULE language = SheetLanguage(libraryDir);
    const int n = language ? LoadStringW(language, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
    return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
}

// The caption of a dialog template (DIALOGEX) of the language library: the title its window
// gets, for Answer.
inline std::wstring TemplateCaption(const std::string& libraryDir, UINT id)
{
    const HMODULE language = SheetLanguage(libraryDir);
    const HRSRC found = language ? FindResourceW(language, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG)) : nullptr;
    const auto* p = found ? static_cast<const WORD*>(LockResource(LoadResource(language, found))) : nullptr;
    if (!p || p[1] != 0xFFFF)
        return {};
    p += 13;  // version, signature, help ID, extended style, style, items, x, y, cx, cy
    for (int field = 0; field < 2; ++field) {  // menu, class: 0, 0xFFFF and an ordinal, or a string
        if (*p == 0xFFFF)
            p += 2;
        else
            while (*p++) {
            }
    }
    return reinterpret_cast<const wchar_t*>(p);
}

// The format with its "%s" filled and each "%%" made "%", as the pages' messages show it.
inline std::wstring Filled(const std::wstring& format, const std::wstring& value)
{
    std::wstring out;
    bool filled = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%') {
            out += L'%';
            ++i;
        } else if (!filled && format.compare(i, 2, L"%s") == 0) {
            out += value;
            filled = true;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

inline std::wstring WithoutAmpersands(std::wstring text)
{
    std::erase(text, L'&');
    return text;
}

// Another page and back: the page fills again from the entries (PSN_SETACTIVE).
inline HWND Reactivate(Sheet& s, int templateId, int otherTemplate)
{
    s.Page(otherTemplate);
    return s.Page(templateId);
}

// What a window paints for WM_PRINTCLIENT onto black, 0x00RRGGBB per pixel.
using Painting = dialogtest::Picture;
inline Painting PaintingOf(HWND window)
{
    return dialogtest::Capture(window);
}

// A control's rectangle in its page's client coordinates.
inline RECT RectIn(HWND page, int id)
{
    RECT r{};
    GetWindowRect(GetDlgItem(page, id), &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace pagetest
