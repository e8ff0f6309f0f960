// How the builder and the write-back reach an entry's devmode values: one reading and one writing
// rule per binding, so every value round-trips at its own width. Internal to the feature block.
#pragma once

#include <cstdint>
#include <span>

#include "DevmodeLayout.h"
#include "FeatureBindings.h"
#include "ModelLayout.h"

namespace feature {

// Graphics mode (devmode 229) whose resolution list keeps only the enhanced 600-dpi choices.
inline constexpr std::uint8_t kEnhancedOnlyMode = 5;
// Feature 79 keeps devmode 231's values moved up by this (R27).
inline constexpr std::int16_t kOffsetListShift = 5;

// The binding's devmode value for this devmode's model (feature 17 may move to 235).
inline DevmodeValue ValueOf(const Binding& b, std::span<const std::uint8_t> d)
{
    if (b.id != kPairSecond.id)
        return b.value;
    const std::uint16_t flags400 = devmode::Get(d, devmode::kColourFlags);
    const bool colour = flags400 & model::kFlags400Colour;
    if ((colour && !(flags400 & kColourKeepsPairApart)) || devmode::Get(d, devmode::kGraphicsG1ListNumber) == kPairApartListWord)
        return kPairSecondAlt;
    return b.value;
}

// The value as an entry holds it; `current` tells the fixed value's two sides apart.
inline std::int32_t ReadValue(std::span<const std::uint8_t> d, DevmodeValue v, bool current)
{
    namespace dm = devmode;
    switch (v.width) {
    case Width::U8: return dm::Get(d, dm::U8{v.offset});
    case Width::I8: return dm::Get(d, dm::I8{v.offset});
    case Width::U16: return std::int16_t(dm::Get(d, dm::U16{v.offset}));
    case Width::I16: return dm::Get(d, dm::I16{v.offset});
    case Width::U32: return std::int16_t(dm::Get(d, dm::U32{v.offset}));
    case Width::Pair47:
        return std::int16_t(dm::Get(d, dm::kFeature47High) << 8 | dm::Get(d, dm::kFeature47Low));
    case Width::Bit: return (dm::Get(d, dm::U8{v.offset}) >> v.bit) & 1;
    case Width::Fixed: return current ? 1 : 0;
    case Width::None: return 0;
    }
    return 0;
}

// Stores an entry's value at the devmode value's own width.
inline void WriteValue(std::span<std::uint8_t> d, DevmodeValue v, std::int16_t value)
{
    namespace dm = devmode;
    switch (v.width) {
    case Width::U8: dm::Set(d, dm::U8{v.offset}, std::uint8_t(value)); return;
    case Width::I8: dm::Set(d, dm::I8{v.offset}, std::int8_t(value)); return;
    case Width::U16: dm::Set(d, dm::U16{v.offset}, std::uint16_t(value)); return;
    case Width::I16: dm::Set(d, dm::I16{v.offset}, value); return;
    case Width::U32: dm::Set(d, dm::U32{v.offset}, std::uint32_t(std::uint16_t(value))); return;
    case Width::Pair47:
        dm::Set(d, dm::kFeature47High, std::uint8_t(std::uint16_t(value) >> 8));
        dm::Set(d, dm::kFeature47Low, std::uint8_t(value));
        return;
    case Width::Bit: {
        const auto mask = std::uint8_t(1u << v.bit);
        const std::uint8_t byte = dm::Get(d, dm::U8{v.offset});
        dm::Set(d, dm::U8{v.offset}, std::uint8_t(value & 1 ? byte | mask : byte & ~mask));
        return;
    }
    case Width::Fixed:
    case Width::None: return;
    }
}

// The overlay name a text entry carries: 468 for feature 27, else 532.
inline devmode::WideText TextFieldOf(int id)
{
    return id == kFirstPageOverlay.id ? devmode::kFirstPageOverlay : devmode::kOtherPagesOverlay;
}

// Where a list entry's options come from.
struct ListSource {
    enum Kind : std::uint8_t { None, Pairs, Defaulted, Modes, Bins, Range } kind = None;
    int type = 0;
    devmode::U16 word{0};
};
inline ListSource ListSourceOf(int id)
{
    namespace dm = devmode;
    switch (id) {
    case kGraphicsMode.id: return {ListSource::Modes, model::kGraphicsModeListType, dm::kGraphicsModeListNumber};
    case kG1.id: return {ListSource::Defaulted, model::kGraphicsG1ListType, dm::kGraphicsG1ListNumber};
    case kG1Offset.id: return {ListSource::Defaulted, model::kGraphicsG1AltListType, dm::kGraphicsG1ListNumber};
    case kC3.id: return {ListSource::Pairs, model::kColourC3ListType, dm::kColourC3ListNumber};
    case kOutputBin.id: return {ListSource::Bins, model::kOutputBinListType, dm::kOutputBinListNumber};
    case kHandlingOption1.id: return {ListSource::Pairs, model::kHandlingOptionListType, dm::kHandlingOptionListNumber};
    case kSecondList1.id:
    case kSecondList2.id:
    case kSecondList3.id: return {ListSource::Pairs, model::kColourOptionListType, dm::kColourOptionListNumber};
    case kFeature119.id: return {ListSource::Range};
    default: return {};
    }
}

// A list entry's value: its binding's byte; feature 79 shows a non-zero 231 moved up by 5 (R27).
inline std::int16_t ReadListValue(int id, std::span<const std::uint8_t> d)
{
    const Binding* b = Find(id);
    if (!b || b->type != kListEntry)
        return 0;
    const auto v = std::int16_t(ReadValue(d, b->value, true));
    return id == kG1Offset.id && v != 0 ? std::int16_t(v + kOffsetListShift) : v;
}
inline void WriteListValue(int id, std::span<std::uint8_t> d, std::int16_t value)
{
    const Binding* b = Find(id);
    if (!b || b->type != kListEntry)
        return;
    if (id == kG1Offset.id && value > kOffsetListShift)
        value = std::int16_t(value - kOffsetListShift);
    WriteValue(d, b->value, value);
}

// A short list's value: 654, 661 or 665 for features 30, 34 and 38.
inline DevmodeValue ShortListValueOf(int id)
{
    const Binding* b = Find(id);
    return b && b->type == kShortListEntry ? b->value : kNoValue;
}

// The resolution choice a devmode holds: the triple of its print quality (negative qualities
// mapped through its resolution list) and flag byte 232, else the first of that resolution, else 0.
std::uint16_t ChoiceOf(std::span<const std::uint8_t> entry, std::span<const std::uint8_t> d);

}  // namespace feature
