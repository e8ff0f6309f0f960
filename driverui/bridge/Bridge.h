// The bridge between the settings interface's tree and the sheet's feature entries: every request
// code the settings interface sends, publishing the driver's value into the tree (direction 0) or
// taking the tree's value into the entries (direction 1). No platform headers: the sheet context,
// the spooler and the user's name come in through Driver.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SettingsTree.h"

namespace bridge {

// The sheet's feature entries, current and saved, by identifier (1 to 125); empty where there is
// none. Each span is the whole entry, bounded by its own size.
class Entries {
public:
    virtual std::span<std::uint8_t> Current(int id) = 0;
    virtual std::span<const std::uint8_t> Saved(int id) = 0;

protected:
    ~Entries() = default;
};

// What the bridge asks of the driver beyond the entries.
class Driver {
public:
    // The driver's data file (the spooler's level-2 driver information); empty when unknown.
    virtual std::wstring DataFile() = 0;
    virtual std::uint64_t PrinterHandle() = 0;
    virtual bool DeviceSheet() = 0;
    virtual std::uint32_t AnsiCodePage() = 0;
    // QVTDX5UI.JS in QVTDX5DA's directory.
    virtual std::wstring ScriptPath() = 0;
    // The logged-on user, narrow.
    virtual std::string UserName() = 0;
    // The printer's watermark list: number and name.
    virtual std::vector<std::pair<std::int16_t, std::wstring>> Watermarks() = 0;

protected:
    ~Driver() = default;
};

struct Outcome {
    std::uint32_t result = settingsui::kSucceeded;
    // Set after every take: whether any entry differs from its saved copy.
    std::optional<bool> settingsChanged;
};

Outcome Handle(const settingsui::Request& request, Entries& entries, Driver& driver);

// ---- Tables --------------------------------------------------------------------------------

// Request 40: the flag of an ANSI code page.
std::uint32_t CodePageFlag(std::uint32_t codePage);
// Request 30: 1 << (n - 1) for the number n just before the data file name's extension; 1 when
// there is none, it is 0, or it is past 32.
std::uint32_t DataFileFlag(std::wstring_view dataFile);
// The path with the extension of its file name replaced (or added).
std::wstring WithExtension(std::wstring_view path, std::wstring_view extension);

enum class Kind : std::uint8_t { Boolean, Number, Option, ByteOption, Flag };
struct Simple {
    std::uint32_t code;
    Kind kind;
    std::int16_t feature;
    std::uint16_t bit = 0;  // Flag: the bit of feature 59's word at entry offset 8
};
// The request codes that convert one feature entry's value; nothing for any other code.
std::optional<Simple> SimpleRequest(std::uint32_t code);

// Whether any entry differs from its saved copy.
bool AnyChanged(Entries& entries);

// A new entry of a tree list: the template cloned, numbered from the family's "NextId" node
// (which is then incremented), named with that number in decimal, appended to the list, the tree
// notified, and its "pclid" set. Null when a node is missing.
settingsui::Node* AppendListEntry(settingsui::Tree& tree, const wchar_t* listPath, const wchar_t* templatePath,
                                  const wchar_t* nextIdPath, std::int32_t pclid);

inline constexpr wchar_t kSettingsChangedPath[] = L"\\DeviceContext\\SettingsChanged";

}  // namespace bridge
