// The model resources as the devmode builders read them: raw bytes by type and name from a
// source the caller chooses (the library's resources, or a test's own), parsed through the
// model layouts, which refuse a resource that does not hold what its counts say. No platform
// headers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "ModelLayout.h"

namespace devmode {

// The driver's resources by type and integer name; empty when absent.
class ModelResources {
public:
    virtual ~ModelResources() = default;
    virtual std::span<const std::uint8_t> Resource(int type, int name) const = 0;
    // The resource a description word selects: name = word + 1.
    std::span<const std::uint8_t> Selected(int type, std::uint16_t word) const
    {
        return Resource(type, model::SelectedName(word));
    }
};

// The OR of the two masks of the font sets (type 276) whose code page passes the test; nothing
// when the model has no usable font-set list.
struct FontSetMasks {
    std::uint32_t firstMask = 0;
    std::uint32_t secondMask = 0;
};
std::optional<FontSetMasks> SupportedFontSets(std::span<const std::uint8_t> fontSetList,
                                              const std::function<bool(std::uint16_t)>& supported);

}  // namespace devmode
