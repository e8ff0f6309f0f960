// The default builder: a devmode holding the driver's defaults for a model, from the model's
// description and resources. Byte level, no platform headers: the model data, the code page and
// the locale come in from the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "DevmodeLayout.h"
#include "Merge.h"
#include "ResourceTables.h"

namespace devmode {

// The brand word whose models start with the software-enable byte set.
inline constexpr std::string_view kBrandWord = "Brevik";

struct DefaultsInput {
    // The model's display name (string 10000 + model number) and its 82-byte description
    // (resource type 260); a missing one leaves its part of the model record zero. A longer name
    // is cut to 31 characters.
    std::optional<std::string_view> displayName;
    std::span<const std::uint8_t> description;
    // The system's ANSI code page.
    std::uint32_t codePage = 0;
    // Letter rather than A4.
    bool usa = false;
    // The name the caller builds for (driver or printer name): only the software-enable default
    // depends on it.
    std::string_view name;
    // Whether the system supports a code page (for the model's font sets).
    std::function<bool(std::uint16_t)> codePageSupported;
};

// A printer name as the devmode keeps it: a name beginning with two backslashes (a connection)
// is cut to its last backslash-separated component.
std::string_view ReducePrinterName(std::string_view name);

// Whether a name begins with the brand word, without case.
bool BeginsWithBrandWord(std::string_view name);

// Fills the devmode with the defaults. It keeps the narrow model name (239), the wide device name
// (0) and the narrow printer name (271) already in it; every other byte is rebuilt. The
// checksum is updated.
void BuildDefaultDevmode(std::span<std::uint8_t> d, const DefaultsInput& in,
                         const ModelResources& resources);

// ANDs the devmode's two font-set masks with the font sets of the code pages the system
// supports; a model without a font-set list leaves them as they are.
void ApplyFontSets(std::span<std::uint8_t> d, const ModelResources& resources,
                   const std::function<bool(std::uint16_t)>& codePageSupported);

}  // namespace devmode
