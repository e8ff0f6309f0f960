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
#include "ModelLayout.h"
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
    void Add(int type, int name, Bytes bytes) { map_[{type, name}] = std::move(bytes); }
    std::span<const std::uint8_t> Resource(int type, int name) const override
    {
        const auto it = map_.find({type, name});
        return it == map_.end() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(it->second);
    }

private:
    std::map<std::pair<int, int>, Bytes> map_;
};

// The 82-byte description of the driver's first model, word by word (word n at devmode 340 + 2n).
inline Bytes FirstModelDescription()
{
    Bytes d(model::kDescriptionSize, 0);
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

inline model::TrayEntry Tray(std::uint16_t mask, std::int16_t code, std::uint16_t number)
{
    model::TrayEntry t{};
    t.mask = mask;
    t.code = code;
    t.number = number;
    t.trayByte = 9;
    return t;
}

// Trays (mask, code, number); installed mask 0x3: the third tray is not installed.
inline const model::TrayEntry kTrays[] = {Tray(0x1, 15, 7), Tray(0x2, 2, 1), Tray(0x4, 3, 2)};
inline constexpr std::uint16_t kInstalledTrayMask = 0x3;
// Resolutions: default index 1 (600 dpi, flag 1); the third entry repeats the second.
inline constexpr model::ResolutionList kResolutions{
    1, {{{300, 1, 0, 0, 0}, {600, 2, 1, 0, 0}, {600, 2, 1, 0, 0}, {1200, 3, 4, 0, 0}, {150, 4, 0, 0, 0}}}};
// User paper in 1/1200 inch: widths 3 to 8.5 in, lengths 5 to 14 in.
inline constexpr model::PaperLimits kLimits{10200, 3600, 16800, 6000};

template <class R>
Bytes Record(const R& r)
{
    Bytes b;
    model::AppendRecord(b, r);
    return b;
}

template <class H, class E = model::OptionPair>
Bytes Table(H header, std::initializer_list<E> entries = {})
{
    return model::EncodeTable<H, E>(header, std::span<const E>(entries.begin(), entries.size()));
}

// The resources the first model's words select (name = word + 1).
inline FakeResources FirstModelResources()
{
    FakeResources r;
    r.Add(model::kTrayListType, 2,
          model::EncodeTable(model::TrayListHeader{0, 1}, std::span<const model::TrayEntry>(kTrays)));
    r.Add(model::kResolutionListType, 2, Record(kResolutions));
    r.Add(model::kGraphicsModeListType, 2, Table(model::ModeListHeader{0, 6, 7}));
    r.Add(model::kGraphicsG1ListType, 1, Table(model::DefaultedHeader{0, 3}));
    r.Add(model::kPrintModeListType, 2,
          Table(model::CountHeader{}, {model::PrintModeEntry{1, 2, 1200, 0}, model::PrintModeEntry{2, 1, 600, 0}}));
    r.Add(model::kInputOptionsType, 2, Table(model::DefaultedHeader{0, kInstalledTrayMask}));
    r.Add(model::kOutputOptionsType, 1, Table(model::DefaultedHeader{0, 5}));
    r.Add(model::kPaperLimitsType, 1, Record(kLimits));
    r.Add(model::kFontSetListType, 2,
          Table(model::CountHeader{}, {model::FontSetEntry{1252, 1, 0x80000003u, 0x10u},
                                       model::FontSetEntry{37, 2, 0x7u, 0xF00u}}));
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
