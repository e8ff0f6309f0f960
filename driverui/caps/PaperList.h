// The papers a printer offers, in the order the device-capability answers list them: the built-in
// papers of the model's paper set, the user-defined forms, the form associations and the spooler
// forms that fit the model. No platform headers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ModelLayout.h"
#include "PaperFormat.h"

namespace caps {

struct PaperListEntry {
    std::int16_t code = 0;
    std::uint16_t logicalName = 0;  // a built-in paper's name; 0 for a form, which has its own
    std::u16string name;
    std::int32_t width = 0;  // tenths of a millimetre, in the devmode's orientation
    std::int32_t length = 0;
};

// Built-in codes are tried in this order: 1 to 68, then 256 to 262.
std::vector<PaperListEntry> BuildPaperList(std::span<const std::uint8_t> devmode, const PrinterForms& forms,
                                           const std::optional<model::PaperLimits>& limits);

// Whether the devmode's model offers forms: the paper set has the forms bit and the mode byte 229
// is not 2, unless the model flag byte 397 has bit 7.
bool OffersForms(std::span<const std::uint8_t> devmode);

}  // namespace caps
