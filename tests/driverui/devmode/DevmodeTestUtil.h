// A small model of the tests' own (description and resources) and helpers for devmode bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "DefaultDevmode.h"
#include "DevmodeLayout.h"
#include "ResourceTables.h"

namespace dmtest {

using Bytes = std::vector<std::uint8_t>;

inline void PutWord(Bytes& b, std::uint16_t w)
{
    b.push_back(std::uint8_t(w));
    b.push_back(std::uint8_t(w >> 8));
}
inline void PutLong(Bytes& b, std::uint32_t v)
{
    PutWord(b, std::uint16_t(v));
    PutWord(b, std::uint16_t(v >> 16));
}
inline Bytes Words(std::initializer_list<std::uint16_t> words)
{
    Bytes b;
    for (const std::uint16_t w : words)
        PutWord(b, w);
    return b;
}

// Resources held in a map by (type, name).
class FakeResources final : public devmode::ModelResources {
public:
    void Add(std::uint16_t type, std::uint16_t name, Bytes bytes) { map_[{type, name}] = std::move(bytes); }
    void Remove(std::uint16_t type, std::uint16_t name) { map_.erase({type, name}); }
    std::span<const std::uint8_t> Resource(std::uint16_t type, std::uint16_t name) const override
    {
        const auto it = map_.find({type, name});
        return it == map_.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }

private:
    std::map<std::pair<std::uint16_t, std::uint16_t>, Bytes> map_;
};

// The 82-byte description of the driver's first model, word by word (word n at devmode 340 + 2n).
inline Bytes FirstModelDescription()
{
    Bytes d(devmode::kModelDescriptionSize, 0);
    const auto word = [&](std::uint16_t offset, std::uint16_t value) {
        d[offset - 340] = std::uint8_t(value);
        d[offset - 339] = std::uint8_t(value >> 8);
    };
    word(340, 2);
    word(342, 64);
    word(350, 12);
    for (const std::uint16_t at : {356, 358, 360, 364, 380, 382})
        word(at, 1);
    word(392, 1);
    word(394, 1);
    word(396, 3);
    word(402, 1);
    word(404, 1);
    word(408, 255);
    word(410, 2);
    return d;
}

// Trays (mask, code, number); installed mask 0x3: the third tray is not installed.
inline const devmode::TrayEntry kTrays[] = {{0x1, 15, 7}, {0x2, 2, 1}, {0x4, 3, 2}};
inline constexpr std::uint16_t kInstalledTrayMask = 0x3;
// Resolutions: default index 1 (600 dpi, flag 1); the third entry repeats the second.
inline const devmode::ResolutionEntry kResolutions[] = {
    {300, 0, 0}, {600, 0, 1}, {600, 0, 1}, {1200, 0, 4}, {150, 0, 0}};
// User paper in 1/1200 inch: widths 3 to 8.5 in, lengths 5 to 14 in.
inline constexpr devmode::PaperLimits kLimits{10200, 3600, 16800, 6000};

// The resources the first model's words select (name = word + 1).
inline FakeResources FirstModelResources()
{
    FakeResources r;
    Bytes trays = Words({3, 1});
    for (const auto& t : kTrays) {
        Bytes entry(24, 0);
        entry[4] = std::uint8_t(t.mask);
        entry[6] = std::uint8_t(t.code);
        entry[8] = std::uint8_t(t.number);
        entry[20] = 9;
        trays.insert(trays.end(), entry.begin(), entry.end());
    }
    r.Add(devmode::kTrayListType, 2, trays);
    Bytes resolutions = Words({1});
    for (const auto& e : kResolutions) {
        PutWord(resolutions, std::uint16_t(e.dpi));
        PutWord(resolutions, e.word);
        resolutions.push_back(e.flag);
        resolutions.insert(resolutions.end(), 3, 0);
    }
    r.Add(devmode::kResolutionListType, 2, resolutions);
    r.Add(devmode::kType262, 2, Bytes{0, 0, 6, 0, 7, 0});
    r.Add(devmode::kType263, 1, Bytes{3});
    r.Add(devmode::kType264, 2, Bytes{1, 2});
    r.Add(devmode::kType277, 2, Words({0, kInstalledTrayMask}));
    r.Add(devmode::kType278, 1, Words({0, 5}));
    r.Add(devmode::kPaperLimitType, 1,
          Words({kLimits.maxWidth, kLimits.minWidth, kLimits.maxLength, kLimits.minLength}));
    Bytes fontSets = Words({2});
    for (const auto& [cp, m1, m2] : {std::tuple{1252u, 0x80000003u, 0x10u}, std::tuple{37u, 0x7u, 0xF00u}}) {
        PutWord(fontSets, std::uint16_t(cp));
        PutWord(fontSets, 1);
        PutLong(fontSets, m1);
        PutLong(fontSets, m2);
    }
    r.Add(devmode::kFontSetListType, 2, fontSets);
    return r;
}

inline bool Supports1252(std::uint16_t cp)
{
    return cp == 1252;
}

// The first model's defaults, with the three names a caller puts in first.
inline devmode::Buffer FirstModelDefaults(const FakeResources& resources, devmode::DefaultsInput in = {})
{
    static const Bytes description = FirstModelDescription();
    devmode::Buffer d{};
    devmode::SetText(d, devmode::kModelName, "Qelbrin QV-5 PCL");
    devmode::SetWideText(d, devmode::dmDeviceName, u"Qelbrin QV-5 PCL");
    devmode::SetText(d, devmode::kPrinterName, "Office");
    if (!in.displayName)
        in.displayName = "Qelbrin QV-5 PCL";
    if (in.description.empty())
        in.description = description;
    if (in.codePage == 0)
        in.codePage = 1252;
    if (!in.codePageSupported)
        in.codePageSupported = Supports1252;
    devmode::BuildDefaultDevmode(d, in, resources);
    return d;
}

}  // namespace dmtest
