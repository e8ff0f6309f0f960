// The dialog library QVTDX5DU.DLL as this library asks it for texts: loaded from QVTDX5DA's
// directory for one use (a run of strings, a set of names) and freed again, its string loader
// and tray-name exports found by their names in DialogLibraryApi.h. The one loader of the dialog
// library on this side: the display names of the capabilities and the texts of the
// configuration notices both go through it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DialogLibraryApi.h"

namespace siblings {

class DialogLibrary {
public:
    DialogLibrary();
    ~DialogLibrary();
    DialogLibrary(const DialogLibrary&) = delete;
    DialogLibrary& operator=(const DialogLibrary&) = delete;

    // Whether the library and its string loader could be had.
    bool HasStrings() const { return load_ != nullptr; }

    // The narrow text of a string, cut to bufferSize - 1 bytes: a logical string number, or with
    // direct a string ID of the resource library. Nothing when the library or its loader is
    // missing or the loader copied nothing. The text ends at the first NUL or where the loader
    // says it stopped, whichever comes first: the count it reports is never trusted past the
    // buffer.
    std::optional<std::string> String(std::uint16_t number, bool direct, std::size_t bufferSize) const;

    // The string ID of the display name of tray number `tray`; nothing when the export is missing
    // or the number is past the last one it names.
    std::optional<std::uint16_t> TrayStringId(std::uint16_t tray) const;

    // Whether the library itself could be loaded.
    bool Loaded() const { return module_ != nullptr; }

    // The bytes of a translated resource (a logical resource number, or with direct a resource
    // name of the resource library) of an integer type. Nothing when the library, its resource
    // exports or the resource are missing, or the size it reports passes maxBytes.
    std::optional<std::vector<std::uint8_t>> Resource(std::uint16_t number, std::uint16_t type, bool direct,
                                                      std::size_t maxBytes) const;

    // Any other export of the library by name; null when it or the library is missing.
    template <class F>
    F Export(const char* name) const
    {
        return module_ ? reinterpret_cast<F>(GetProcAddress(module_, name)) : nullptr;
    }

private:
    HMODULE module_;
    LoadXlatedStringFn load_ = nullptr;
    GetTrayIDFn trayId_ = nullptr;
};

}  // namespace siblings
