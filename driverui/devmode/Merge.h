// Merging a caller's devmode over the printer's: every setting of the input that the model
// accepts replaces the base's. Byte level, no platform headers; what the merge must know about
// the model comes through MergeModel.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "DevmodeLayout.h"
#include "ModelLayout.h"

namespace devmode {

// What the merge asks about the base devmode's model. Every default stands for "the model has
// none", which makes the merge keep the base's value.
class MergeModel {
public:
    virtual ~MergeModel() = default;
    // The paper bits the model accepts (its paper set).
    virtual std::uint32_t PaperSet() const { return 0; }
    // Whether a form's paper code names a form the printer has.
    virtual bool FormAccepted(std::int16_t /*paperCode*/) const { return false; }
    // Limits of a user-defined paper, in 1/1200 inch (resource type 279).
    virtual std::optional<model::PaperLimits> UserPaperLimits() const { return std::nullopt; }
    // The model's tray list (resource type 259).
    virtual std::span<const model::TrayEntry> Trays() const { return {}; }
    // The flag byte of the resolution list entry with this resolution.
    virtual std::optional<std::uint8_t> ResolutionFlag(std::int16_t /*dpi*/) const
    {
        return std::nullopt;
    }
};

// The paper bit of a paper code; 0 for a code no paper set can hold.
inline constexpr std::uint32_t kFormsBit = 0x80000000u;
std::uint32_t PaperBit(std::int32_t code);

// A paper length in 1/1200 inch in tenths of a millimetre.
inline constexpr std::int32_t TenthsMm(std::int32_t value1200)
{
    return value1200 * 254 / 1200;
}

// Print quality as the resolution rule maps it: 0 gives the default resolution; -1 the fourth
// list entry, else the third, second or first that is non-zero; -2 the third, else the second or
// first; -3 the second, else the first; any other negative value the first. Positive values
// are returned unchanged.
std::int16_t MapPrintQuality(std::span<const std::uint8_t> d, std::int16_t quality);

// The base with every acceptable setting of the input applied. The input is any caller's
// devmode: only its declared bytes inside the span are read, and a short or foreign layout is
// first copied into this driver's full layout. Nothing when the base is not a full devmode or the
// input has no usable header (the caller keeps the base then).
std::optional<Buffer> MergeDevmode(std::span<const std::uint8_t> base,
                                   std::span<const std::uint8_t> input, const MergeModel& rules);

}  // namespace devmode
