// The printer's record lists as the page tests seed and inspect them: straight in the printer
// values, in the stored record format, so a test sees what a page made the driver library store.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SheetHarness.h"

namespace pagetest {

// One stored record: its fields by key.
struct StoredRecord {
    std::map<std::int16_t, std::vector<std::uint8_t>> fields;

    std::int16_t Number() const { return Int16(1).value_or(0); }
    std::string Name() const { return Text(2); }
    std::optional<std::int16_t> Int16(std::int16_t key) const;
    std::string Text(std::int16_t key) const;
};

// A record of a number and a name, with further fields.
StoredRecord NamedRecord(std::int16_t number, const std::string& name);
void SetInt16(StoredRecord& record, std::int16_t key, std::int16_t value);
void SetText(StoredRecord& record, std::int16_t key, const std::string& text);

// The stored bytes of records; garbage appended makes a damaged list.
std::vector<std::uint8_t> ListBytes(const std::vector<StoredRecord>& records);
// Writes a list value, and reads one back as far as it is whole.
void StoreList(HANDLE printer, const char* valueName, const std::vector<std::uint8_t>& bytes);
std::vector<StoredRecord> ReadList(HANDLE printer, const char* valueName);
std::vector<std::int16_t> NumbersOf(const std::vector<StoredRecord>& records);

// A user paper size record (keys 3 to 7: width, length, flags, reserved, four areas).
StoredRecord UserSize(std::int16_t number, const std::string& name, std::uint16_t width, std::uint16_t length,
                      std::uint16_t flags = 0, std::uint16_t margin = 0);

// The fixture of the list tests: the sheets' own strings, to find their dialogs by title.
class ListsTest : public SheetTest {
protected:
    static std::wstring LibraryString(UINT id)
    {
        const HMODULE language = GetModuleHandleA((LibraryDir() + "\\QVTDX5DL.DLL").c_str());
        const wchar_t* text = nullptr;
        const int n = language ? LoadStringW(language, id, reinterpret_cast<LPWSTR>(&text), 0) : 0;
        return n > 0 ? std::wstring(text, std::size_t(n)) : std::wstring();
    }
    // The caption of a dialog template of the language library the sheets use.
    static std::wstring DialogCaption(UINT templateId)
    {
        const HMODULE language = GetModuleHandleA((LibraryDir() + "\\QVTDX5DL.DLL").c_str());
        HRSRC found = language ? FindResourceW(language, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5)) : nullptr;
        const auto* at = found ? static_cast<const WORD*>(LockResource(LoadResource(language, found))) : nullptr;
        if (!at || at[1] != 0xFFFF)
            return {};
        at += 13;  // the extended header up to the menu
        for (int field = 0; field < 2; ++field) {  // menu and class
            if (*at == 0xFFFF)
                at += 2;
            else
                while (*at++) {
                }
        }
        return reinterpret_cast<const wchar_t*>(at);
    }
    static std::wstring WithoutMnemonics(std::wstring text)
    {
        std::erase(text, L'&');
        return text;
    }
};

}  // namespace pagetest
