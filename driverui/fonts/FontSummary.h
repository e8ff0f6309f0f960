// The font summary the rendering driver reads at the start of a document: a count, the entry size
// and one fixed-size entry per font the printer can use with the job's settings.
//
//   summary: u16 count, u16 entry size (72), entries
//   entry:   u16 source, u16 number, u16 typeface, u16 symbol set, u16 weight, u16 flags,
//            u16 point size, u16 pitch, char[56] name (narrow, zero-padded, at most 55 bytes)
//
// No platform headers: built and read back natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ModelLayout.h"

namespace fontsummary {

inline constexpr std::size_t kMaxFonts = 450;
inline constexpr std::size_t kEntrySize = 72;
inline constexpr std::size_t kNameBytes = 56;
inline constexpr std::size_t kSummaryHeader = 4;

enum class Source : std::uint16_t { Resident = 1, Additional = 2, Downloaded = 3, EastAsian = 4 };

struct Entry {
    Source source = Source::Resident;
    std::uint16_t number = 0;
    std::uint16_t typeface = 0;
    std::uint16_t symbolSet = 0;
    std::uint16_t weight = 400;
    std::uint16_t flags = 0;
    std::uint16_t pointSize = 0;
    std::uint16_t pitch = 0;
    std::string name;
};

class Builder {
public:
    // False once kMaxFonts entries are held, or for an entry without a name.
    bool Add(const Entry& entry);
    bool Full() const { return count_ >= kMaxFonts; }
    std::size_t Count() const { return count_; }
    std::vector<std::uint8_t> Finish() const;

private:
    std::vector<std::uint8_t> entries_;
    std::size_t count_ = 0;
};

// A resident font as an entry.
Entry FromResident(const model::ResidentFont& font, std::uint16_t number);

// Whether the font-set bit is set in the devmode's masks (bits 0-31 at 816, 32-63 at 820).
bool InFontSets(std::span<const std::uint8_t> devmode, std::uint16_t bit);

// The non-empty items of a stored list, separated by any of the separators, each trimmed of
// blanks.
std::vector<std::string> SplitList(std::string_view text, std::string_view separators);

// The entries of a summary; nothing when its count or entry size does not fit its bytes.
std::optional<std::vector<Entry>> Read(std::span<const std::uint8_t> summary);

}  // namespace fontsummary
