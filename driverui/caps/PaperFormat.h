// The paper-format record of a paper code: its physical size and printable area in an orientation
// and class, from the built-in paper data, the model's paper set and the printer's forms. No
// platform headers; the Win32 edge reads the forms (PrinterForms.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ModelLayout.h"
#include "PaperFormatRecord.h"
#include "PaperTables.h"

namespace caps {

// A form of the printer's record lists: a user-defined form (512 to 519; 768 is the template of
// new ones) with its size, or a form association (640 to 671) with the paper it stands for.
struct StoredForm {
    std::int16_t code = 0;
    std::u16string name;
    std::uint16_t width = 0;  // 1/1200 inch
    std::uint16_t length = 0;
    std::optional<Quads> quads;  // as stored; from the size when absent
    std::int16_t base = 0;       // an association's paper; 0 or less: none
};

// A user form of the spooler, in thousandths of a millimetre.
struct SpoolerForm {
    std::u16string name;
    std::uint32_t width = 0;
    std::uint32_t length = 0;
};

// The forms a printer offers besides the built-in papers.
struct PrinterForms {
    std::vector<StoredForm> user;
    std::vector<StoredForm> associations;
    std::vector<SpoolerForm> spooler;  // paper code kFirstSpoolerForm + index
};
inline constexpr std::int16_t kFirstUserForm = 512;
inline constexpr std::int16_t kLastUserForm = 519;
inline constexpr std::int16_t kFirstAssociation = 640;
inline constexpr std::int16_t kLastAssociation = 671;
inline constexpr std::int16_t kFirstSpoolerForm = 896;
inline constexpr std::int16_t kUserDefinedPaper = 256;
// The paper an association without a usable base stands for.
inline constexpr std::int16_t kFallbackPaper = 1;

struct PaperFormatRequest {
    std::int32_t code = 0;
    std::int16_t orientation = 1;  // 2 landscape; any other value portrait
    std::uint8_t flag = 0;         // non-zero: the flagged class, and the orientation negated
    std::int16_t resolution = 1200;
    std::uint32_t mode = 0;
};

using PaperFormatRecord = std::array<std::uint8_t, paperformat::kSize>;

// The record for the request, by the devmode's model (paper set, word 354; user-defined size,
// dmPaperWidth and dmPaperLength, else the model's largest). Nothing for a code that names no
// paper of the driver and no form of the printer, or a user-defined size without one.
std::optional<PaperFormatRecord> ComputePaperFormat(std::span<const std::uint8_t> devmode,
                                                    const PaperFormatRequest& request,
                                                    const PrinterForms& forms,
                                                    const std::optional<model::PaperLimits>& limits);

inline std::uint16_t RecordWord(const PaperFormatRecord& r, std::size_t offset)
{
    return std::uint16_t(r[offset] | r[offset + 1] << 8);
}

// Conversions between the driver's 1/1200 inch and the platform's metric units, rounded.
inline constexpr std::int32_t TenthsOfMm(std::int32_t value1200)
{
    return (value1200 * 254 + 600) / 1200;
}
inline constexpr std::int32_t TenthsTo1200ths(std::int32_t tenthsMm)
{
    return (tenthsMm * 1200 + 127) / 254;
}
inline constexpr std::int64_t MicronsTo1200ths(std::int64_t microns)
{
    return (microns * 1200 + 12700) / 25400;
}
// The limits of a user-defined paper are compared with spooler forms in thousandths of a mm.
inline constexpr std::int64_t MicronsOf(std::int64_t value1200)
{
    return value1200 * 25400 / 1200;
}

}  // namespace caps
