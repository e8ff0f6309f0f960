#include "FontSummary.h"

#include <algorithm>

namespace fontsummary {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 2 <= b.size() ? std::uint16_t(b[at] | b[at + 1] << 8) : 0;
}

}  // namespace

bool Builder::Add(const Entry& e)
{
    if (Full() || e.name.empty())
        return false;
    const std::size_t start = entries_.size();
    for (std::uint16_t v : {std::uint16_t(e.source), e.number, e.typeface, e.symbolSet, e.weight, e.flags,
                            e.pointSize, e.pitch})
        Put16(entries_, v);
    const std::size_t n = std::min(e.name.size(), kNameBytes - 1);
    entries_.insert(entries_.end(), e.name.begin(), e.name.begin() + std::ptrdiff_t(n));
    entries_.resize(start + kEntrySize, 0);
    ++count_;
    return true;
}

std::vector<std::uint8_t> Builder::Finish() const
{
    std::vector<std::uint8_t> out;
    out.reserve(kSummaryHeader + entries_.size());
    Put16(out, std::uint16_t(count_));
    Put16(out, std::uint16_t(kEntrySize));
    out.insert(out.end(), entries_.begin(), entries_.end());
    return out;
}

Entry FromResident(const model::ResidentFont& font, std::uint16_t number)
{
    Entry e;
    e.source = Source::Resident;
    e.number = number;
    e.typeface = font.typeface;
    e.symbolSet = font.symbolSet;
    e.weight = font.weight;
    e.flags = font.flags;
    e.pointSize = font.pointSize;
    e.pitch = font.pitch;
    const auto end = std::find(font.faceName.begin(), font.faceName.end(), '\0');
    e.name.assign(font.faceName.begin(), end);
    return e;
}

bool InFontSets(std::span<const std::uint8_t> devmode, std::uint16_t bit)
{
    if (bit >= 64)
        return false;
    const std::size_t at = 816 + (bit / 32) * 4 + (bit % 32) / 8;
    return at < devmode.size() && (devmode[at] >> (bit % 8)) & 1;
}

std::vector<std::string> SplitList(std::string_view text, std::string_view separators)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view item = text.substr(start, end - start);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
            item.remove_prefix(1);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
            item.remove_suffix(1);
        if (!item.empty())
            items.emplace_back(item);
        start = end + 1;
    }
    return items;
}

std::optional<std::vector<Entry>> Read(std::span<const std::uint8_t> summary)
{
    if (summary.size() < kSummaryHeader || Get16(summary, 2) != kEntrySize)
        return std::nullopt;
    const std::size_t count = Get16(summary, 0);
    if (count > kMaxFonts || (summary.size() - kSummaryHeader) != count * kEntrySize)
        return std::nullopt;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kSummaryHeader + i * kEntrySize;
        Entry e;
        e.source = Source(Get16(summary, at));
        e.number = Get16(summary, at + 2);
        e.typeface = Get16(summary, at + 4);
        e.symbolSet = Get16(summary, at + 6);
        e.weight = Get16(summary, at + 8);
        e.flags = Get16(summary, at + 10);
        e.pointSize = Get16(summary, at + 12);
        e.pitch = Get16(summary, at + 14);
        const auto name = summary.subspan(at + 16, kNameBytes);
        e.name.assign(name.begin(), std::find(name.begin(), name.end(), 0));
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace fontsummary
