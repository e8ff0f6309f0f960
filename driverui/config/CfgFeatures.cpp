// The feature handlers. Elements that carry several devmode values are groups: the handler's
// element holds one 4-byte value element per value, numbered from 1. In the data a signed value
// keeps its sign (-5 is 0xFFFFFFFB); reading stores a value only when it fits its field whole.
//
//   0x100     1: installed-tray mask (i16 462)
//   0x101     1: installed output options (i16 464)
//   0x120     1: 452, 2: 454, 3: u16 456
//   0x20001   1: account ID (1125), 2: computer name (1142), 3: user name (1183), as texts
//   9/0x10000 1 to 11: the font-group words (u32 at 606, 610, ... 646)
//   9/0x20000 1: font-set mask 816, 2: font-set mask 820
//   0x18      1: tray byte 1092, 2: 1093
//   0x20201   1: i8 1240, 2: 1241, 3: 1242, 4 to 7: i8 1244 to 1247
//   3/1       dmMediaType
//   0xB3/1    the print-mode byte (PrintModeByteOffset)
//   0x121     0x10001: dmICMMethod, 0x10002: dmICMIntent
//   0x1C0     1: 236, 2: 306, 3: 449, 4: 451, 5: i8 669, 6 to 10: 670 to 674, 11: 1079, 12: 1229
//   0xF       1: dmPaperWidth, 2: dmPaperLength, written for a user-defined paper size
//   0x162     1: 654, 2 to 4: i8 658 to 660 (text)
//   0x163     1: 661, 2 to 4: i8 662 to 664 (graphics)
//   0x165     2: 665, 3 to 5: i8 666 to 668 (photos)
#include "CfgFeatures.h"

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "CfgElements.h"

using namespace cfgelem;

namespace {

constexpr std::uint16_t kV = 4;  // every value element carries 4 bytes

struct GroupField {
    std::uint32_t child;
    dm::Field field;
    std::int32_t minimum = INT32_MIN;  // below it a read value is not stored
};

constexpr dm::Field U8(std::uint16_t offset) { return {offset, 1}; }
constexpr dm::Field I8(std::uint16_t offset) { return {offset, -1}; }

constexpr GroupField kInstalledTrays[] = {{1, {462, -2}}};
constexpr GroupField kOutputOptions[] = {{1, {464, -2}}};
constexpr GroupField kPrivateBytes[] = {{1, U8(452)}, {2, U8(454)}, {3, {456, 2}}};

constexpr std::size_t kFontGroupWords = 11;
constexpr std::array<GroupField, kFontGroupWords> MakeFontGroups()
{
    std::array<GroupField, kFontGroupWords> fields{};
    for (std::size_t i = 0; i < kFontGroupWords; ++i)
        fields[i] = {std::uint32_t(i + 1), {std::uint16_t(606 + 4 * i), 4}};
    return fields;
}
constexpr auto kFontGroups = MakeFontGroups();
static_assert(kFontGroups.back().field.offset + 4 == 650);

constexpr GroupField kFontSetMasks[] = {{1, {816, 4}}, {2, {820, 4}}};
constexpr GroupField kTrayBytes[] = {{1, U8(1092)}, {2, U8(1093)}};
constexpr GroupField kColourTuning[] = {
    {1, I8(1240)}, {2, U8(1241)}, {3, U8(1242)}, {4, I8(1244)},
    {5, I8(1245)}, {6, I8(1246)}, {7, I8(1247)},
};
constexpr GroupField kSetupBytes[] = {
    {1, U8(236)},  {2, U8(306)},  {3, U8(449)},  {4, U8(451)},   {5, I8(669)},   {6, U8(670)},
    {7, U8(671)},  {8, U8(672)},  {9, U8(673)},  {10, U8(674)},  {11, U8(1079)}, {12, U8(1229)},
};
// A size of 0 or less is no size.
constexpr GroupField kUserPaperSize[] = {{1, dm::kPaperWidth, 1}, {2, dm::kPaperLength, 1}};
constexpr GroupField kTextAdjustments[] = {{1, U8(654)}, {2, I8(658)}, {3, I8(659)}, {4, I8(660)}};
constexpr GroupField kGraphicsAdjustments[] = {{1, U8(661)}, {2, I8(662)}, {3, I8(663)}, {4, I8(664)}};

// The photo group's values are children of their own in 0x165; the entry's argument is the
// offset: the choice is a byte, the adjustments are signed.
dm::Field PhotoField(const SpecialParam& p)
{
    return {std::uint16_t(p.argument), std::int16_t(p.id == SpecialId::PhotoChoice ? 1 : -1)};
}

CfgResult CursorState(const ElementCursor& c)
{
    return c.error() != ElementCursor::ErrNone ? kCfgFailed : kCfgNothing;
}

// Ends the element opened at `depth` when something was written into it, else removes it.
CfgResult Close(ElementCursor& c, std::size_t depth, bool wrote)
{
    if (wrote)
        return c.EndElement() ? kCfgDone : kCfgFailed;
    const CfgResult r = AbandonTo(c, depth);
    return r < 0 ? r : kCfgNothing;
}

CfgResult Fail(ElementCursor& c, std::size_t depth)
{
    AbandonTo(c, depth);
    return kCfgFailed;
}

// ---- Groups of values.

CfgResult ForwardGroup(std::uint32_t id, std::span<const GroupField> fields, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    if (!c.BeginElement(id))
        return kCfgFailed;
    bool wrote = false;
    for (const GroupField& f : fields) {
        const auto value = dm::Read(w.devmode, f.field);
        if (!value)
            continue;
        if (WriteValueElement(w, f.child, *value, kV) < 0)
            return Fail(c, depth);
        wrote = true;
    }
    return Close(c, depth, wrote);
}

CfgResult StoreValue(CfgWork& w, dm::Field field, std::optional<std::int32_t> value,
                     std::int32_t minimum = INT32_MIN)
{
    return value && *value >= minimum && dm::Write(w.devmode, field, *value) ? kCfgDone : kCfgNothing;
}

CfgResult ReverseGroup(std::span<const GroupField> fields, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    bool stored = false;
    std::uint32_t id = 0;
    while (c.NextElement(id)) {
        const auto f = std::find_if(fields.begin(), fields.end(),
                                    [id](const GroupField& g) { return g.child == id; });
        if (f != fields.end() && StoreValue(w, f->field, ReadExactValue(c), f->minimum) > 0)
            stored = true;
        if (!c.EndElement())
            return kCfgFailed;
    }
    if (c.error() != ElementCursor::ErrNone)
        return kCfgFailed;
    return stored ? kCfgDone : kCfgNothing;
}

// ---- Single values.

CfgResult ForwardValue(std::uint32_t id, dm::Field field, CfgWork& w)
{
    const auto value = dm::Read(w.devmode, field);
    return value ? WriteValueElement(w, id, *value, kV) : kCfgNothing;
}

CfgResult ForwardByte230(const CfgEntry& e, CfgWork& w)
{
    return ForwardValue(e.id, U8(std::uint16_t(e.param.special->argument)), w);
}

// Any value of 1 to 4 bytes; its low byte is the setting.
CfgResult ReverseByte230(const CfgEntry& e, CfgWork& w)
{
    const auto value = ReadExactValue(*w.cursor);
    if (!value)
        return kCfgNothing;
    return StoreValue(w, U8(std::uint16_t(e.param.special->argument)), *value & 0xFF);
}

// ---- Texts.

// The narrow text of a field: the bytes before its terminator, at most size - 1 of them, so that
// what is written always fits back with a terminator.
std::vector<std::uint8_t> FieldText(std::span<const std::uint8_t> devmode, std::size_t offset,
                                    std::size_t size)
{
    if (offset > devmode.size() || devmode.size() - offset < size || size == 0)
        return {};
    const auto begin = devmode.begin() + std::ptrdiff_t(offset);
    const auto end = std::find(begin, begin + std::ptrdiff_t(size - 1), std::uint8_t(0));
    return {begin, end};
}

// Clears the field and stores the text's bytes before its first zero, cut to size - 1: the field
// always ends in a terminator.
bool StoreFieldText(std::span<std::uint8_t> devmode, std::size_t offset, std::size_t size,
                    std::span<const std::uint8_t> text)
{
    if (offset > devmode.size() || devmode.size() - offset < size || size == 0)
        return false;
    const auto field = devmode.subspan(offset, size);
    std::fill(field.begin(), field.end(), std::uint8_t(0));
    const auto end = std::find(text.begin(), text.end(), std::uint8_t(0));
    const std::size_t n = std::min<std::size_t>(std::size_t(end - text.begin()), size - 1);
    std::copy_n(text.begin(), n, field.begin());
    return true;
}

// Wide texts travel as their UTF-16LE bytes without the terminator, at most chars - 1 characters.
std::vector<std::uint8_t> WideFieldText(std::span<const std::uint8_t> devmode, std::size_t offset,
                                        std::size_t chars)
{
    std::vector<std::uint8_t> bytes;
    if (offset > devmode.size() || (devmode.size() - offset) / 2 < chars)
        return bytes;
    for (std::size_t i = 0; i + 1 < chars; ++i) {
        const std::uint8_t lo = devmode[offset + 2 * i], hi = devmode[offset + 2 * i + 1];
        if (lo == 0 && hi == 0)
            break;
        bytes.push_back(lo);
        bytes.push_back(hi);
    }
    return bytes;
}

bool StoreWideFieldText(std::span<std::uint8_t> devmode, std::size_t offset, std::size_t chars,
                        std::span<const std::uint8_t> text)
{
    if (offset > devmode.size() || (devmode.size() - offset) / 2 < chars || chars == 0)
        return false;
    const auto field = devmode.subspan(offset, 2 * chars);
    std::fill(field.begin(), field.end(), std::uint8_t(0));
    for (std::size_t i = 0; i + 1 < chars && 2 * i + 1 < text.size(); ++i) {
        if (text[2 * i] == 0 && text[2 * i + 1] == 0)
            break;
        field[2 * i] = text[2 * i];
        field[2 * i + 1] = text[2 * i + 1];
    }
    return true;
}

struct TextField {
    std::uint32_t child;
    std::size_t offset;
    std::size_t size;
};
// The account ID takes up to 16 digits; each name keeps its 40 bytes, the byte after it apart.
constexpr TextField kAccountTexts[] = {{1, 1125, 17}, {2, 1142, 40}, {3, 1183, 40}};
static_assert(1183 + 40 < 1224);

CfgResult ForwardTexts(std::uint32_t id, std::span<const TextField> fields, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    if (!c.BeginElement(id))
        return kCfgFailed;
    bool wrote = false;
    for (const TextField& f : fields) {
        const CfgResult r = WriteStringElement(w, f.child, FieldText(w.devmode, f.offset, f.size));
        if (r < 0)
            return Fail(c, depth);
        wrote = wrote || r > 0;
    }
    return Close(c, depth, wrote);
}

CfgResult ReverseTexts(std::span<const TextField> fields, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    bool stored = false;
    std::uint32_t id = 0;
    while (c.NextElement(id)) {
        for (const TextField& f : fields)
            if (f.child == id) {
                const auto text = ReadStringElement(c, f.size - 1);
                stored = StoreFieldText(w.devmode, f.offset, f.size, text) || stored;
            }
        if (!c.EndElement())
            return kCfgFailed;
    }
    if (c.error() != ElementCursor::ErrNone)
        return kCfgFailed;
    return stored ? kCfgDone : kCfgNothing;
}

// The user name is written only in runs whose mode asks for it; the personal number always.
CfgResult ForwardHoldText(const CfgEntry& e, CfgWork& w, std::size_t size)
{
    if (e.param.special->id == SpecialId::PrintHoldUser && w.mode == 0)
        return kCfgNothing;
    return WriteStringElement(w, e.id, FieldText(w.devmode, std::size_t(e.param.special->argument), size));
}

CfgResult ReverseHoldText(const CfgEntry& e, CfgWork& w, std::size_t size)
{
    const auto text = ReadStringElement(*w.cursor, size - 1);
    if (w.cursor->error() != ElementCursor::ErrNone)
        return kCfgFailed;
    return StoreFieldText(w.devmode, std::size_t(e.param.special->argument), size, text) ? kCfgDone
                                                                                          : kCfgNothing;
}

// ---- The text pair: a text, the flag byte 466 and the option byte 467, in one element whose
// kind says which text it is.

constexpr std::size_t kTextFlag = 466;
constexpr std::size_t kTextOption = 467;
constexpr std::int32_t kOptionBase = 26;  // + 1 when the option byte is 0

struct TextPairKind {
    std::size_t text;
    std::int32_t plain;    // the flag byte clear
    std::int32_t flagged;  // the flag byte set
};
constexpr TextPairKind kTextPairs[] = {{468, 18, 20}, {532, 19, 21}};

CfgResult ForwardTextPair(const CfgEntry& e, CfgWork& w)
{
    const std::int32_t which = e.param.special->argument;
    if (which != 1 && which != 2)
        return kCfgNothing;
    const TextPairKind& kind = kTextPairs[which - 1];
    const auto flag = dm::ReadDevmodeValue(w.devmode, kTextFlag, 1);
    const auto option = dm::ReadDevmodeValue(w.devmode, kTextOption, 1);
    if (!flag || !option || w.devmode.size() < kind.text + 2 * kTextPairChars)
        return kCfgNothing;

    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    if (!c.BeginElement(e.id))
        return kCfgFailed;
    if (WriteStringElement(w, 1, WideFieldText(w.devmode, kind.text, kTextPairChars)) < 0 ||
        WriteValueElement(w, 4, kOptionBase + (*option == 0 ? 1 : 0), kV) < 0 || !c.BeginElement(3) ||
        WriteValueElement(w, 1, *flag ? kind.flagged : kind.plain, kV) < 0 || !c.EndElement() ||
        !c.EndElement())
        return Fail(c, depth);
    return kCfgDone;
}

// Both entries claim the whole class, so the first one reads every member and the kind decides
// the text. Without a known kind nothing is stored.
CfgResult ReverseTextPair(CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    std::vector<std::uint8_t> text;
    std::optional<std::int32_t> option, kindValue;
    std::uint32_t id = 0;
    while (c.NextElement(id)) {
        if (id == 1) {
            text = ReadStringElement(c, 2 * (kTextPairChars - 1));
        } else if (id == 4) {
            option = ReadExactValue(c);
        } else if (id == 3) {
            std::uint32_t inner = 0;
            while (c.NextElement(inner)) {
                if (inner == 1 && !kindValue)
                    kindValue = ReadExactValue(c);
                c.EndElement();
            }
        }
        if (!c.EndElement())
            return kCfgFailed;
    }
    if (c.error() != ElementCursor::ErrNone)
        return kCfgFailed;
    if (!kindValue)
        return kCfgNothing;
    for (const TextPairKind& kind : kTextPairs) {
        if (*kindValue != kind.plain && *kindValue != kind.flagged)
            continue;
        if (!StoreWideFieldText(w.devmode, kind.text, kTextPairChars, text))
            return kCfgNothing;
        dm::WriteDevmodeValue(w.devmode, kTextFlag, 1, *kindValue == kind.flagged ? 1 : 0);
        if (option == kOptionBase || option == kOptionBase + 1)
            dm::WriteDevmodeValue(w.devmode, kTextOption, 1, *option == kOptionBase ? 1 : 0);
        return kCfgDone;
    }
    return kCfgNothing;
}

// ---- The East-Asian font flag: element 2 { element by code page { 1: 13 on, 14 off } }.

constexpr std::int32_t kFlagOn = 13;
constexpr std::int32_t kFlagOff = 14;

CfgResult ForwardEastAsian(const CfgEntry& e, CfgWork& w)
{
    const auto flag = dm::ReadDevmodeValue(w.devmode, std::size_t(e.param.special->argument), 1);
    if (!flag)
        return kCfgNothing;
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    if (!c.BeginElement(e.id) || !c.BeginElement(EastAsianInnerId(w.codePage)) ||
        WriteValueElement(w, 1, *flag ? kFlagOn : kFlagOff, kV) < 0 || !c.EndElement() || !c.EndElement())
        return Fail(c, depth);
    return kCfgDone;
}

// The first inner element counts, whatever code page wrote it.
CfgResult ReverseEastAsian(const CfgEntry& e, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    std::uint32_t inner = 0;
    if (!c.NextElement(inner))
        return CursorState(c);
    std::optional<std::int32_t> value;
    std::uint32_t id = 0;
    while (c.NextElement(id)) {
        if (id == 1 && !value)
            value = ReadExactValue(c);
        if (!c.EndElement())
            return kCfgFailed;
    }
    if (!c.EndElement())
        return kCfgFailed;
    const std::size_t offset = std::size_t(e.param.special->argument);
    if (value == kFlagOn)
        return dm::WriteDevmodeValue(w.devmode, offset, 1, 1) ? kCfgDone : kCfgNothing;
    if (value == kFlagOff)
        return dm::WriteDevmodeValue(w.devmode, offset, 1, 0) ? kCfgDone : kCfgNothing;
    return kCfgNothing;
}

// ---- Colour management: the two class members, 0x10001 and 0x10002.

constexpr std::uint32_t kClassMember = 0xFFFF;

dm::Field IcmField(std::int32_t member)
{
    return member == 1 ? dm::kIcmMethod : dm::kIcmIntent;
}

CfgResult ReverseIcm(std::uint32_t elementId, CfgWork& w)
{
    const std::uint32_t member = elementId & kClassMember;
    if (member != 1 && member != 2)
        return kCfgNothing;
    return StoreValue(w, IcmField(std::int32_t(member)), ReadExactValue(*w.cursor));
}

CfgResult ForwardUserPaperSize(const CfgEntry& e, CfgWork& w)
{
    if (dm::Read(w.devmode, dm::kPaperSize) != dm::kUserDefinedPaper)
        return kCfgNothing;
    return ForwardGroup(e.id, kUserPaperSize, w);
}

// The media type: a positive media number.
CfgResult ReverseMediaType(CfgWork& w)
{
    return StoreValue(w, dm::kMediaType, ReadExactValue(*w.cursor), 1);
}

}  // namespace

std::uint32_t EastAsianInnerId(std::uint32_t codePage)
{
    switch (codePage) {
    case 932: return 1;
    case 936:
    case 950: return 3;
    case 949: return 4;
    default: return 2;
    }
}

std::size_t PrintModeByteOffset(std::span<const std::uint8_t> devmode)
{
    constexpr std::uint16_t kColourModel = 0x0008;
    constexpr std::uint16_t kBit11 = 0x0800;
    const auto flags400 = dm::Read(devmode, dm::kColourFlags).value_or(0);
    const auto word362 = dm::Read(devmode, dm::kGraphicsG1ListNumber).value_or(0);
    const bool colourOnly = (flags400 & kColourModel) && !(flags400 & kBit11);
    return colourOnly || word362 == 3 ? 235 : 234;
}

CfgResult ForwardSpecial(const CfgEntry& e, CfgWork& w)
{
    const SpecialParam& p = *e.param.special;
    switch (p.id) {
    case SpecialId::InstalledTrays: return ForwardGroup(e.id, kInstalledTrays, w);
    case SpecialId::OutputOptions: return ForwardGroup(e.id, kOutputOptions, w);
    case SpecialId::PrivateBytes: return ForwardGroup(e.id, kPrivateBytes, w);
    case SpecialId::AccountTexts: return ForwardTexts(e.id, kAccountTexts, w);
    case SpecialId::FontGroups: return ForwardGroup(e.id, kFontGroups, w);
    case SpecialId::FontSetMasks: return ForwardGroup(e.id, kFontSetMasks, w);
    case SpecialId::TrayBytes: return ForwardGroup(e.id, kTrayBytes, w);
    case SpecialId::ColourTuning: return ForwardGroup(e.id, kColourTuning, w);
    case SpecialId::MediaType: return ForwardValue(e.id, dm::kMediaType, w);
    case SpecialId::EastAsianFont: return ForwardEastAsian(e, w);
    case SpecialId::Byte230: return ForwardByte230(e, w);
    case SpecialId::TextPair1:
    case SpecialId::TextPair2: return ForwardTextPair(e, w);
    case SpecialId::IcmMethod:
    case SpecialId::IcmIntent:
        return ForwardValue(e.id | std::uint32_t(p.argument), IcmField(p.argument), w);
    case SpecialId::SetupBytes: return ForwardGroup(e.id, kSetupBytes, w);
    case SpecialId::PrintModeByte: return ForwardValue(e.id, U8(std::uint16_t(PrintModeByteOffset(w.devmode))), w);
    case SpecialId::PrintHoldUser: return ForwardHoldText(e, w, kHoldUserSize);
    case SpecialId::PrintHoldNumber: return ForwardHoldText(e, w, kHoldNumberSize);
    case SpecialId::UserPaperSize: return ForwardUserPaperSize(e, w);
    case SpecialId::TextAdjustments: return ForwardGroup(e.id, kTextAdjustments, w);
    case SpecialId::GraphicsAdjustments: return ForwardGroup(e.id, kGraphicsAdjustments, w);
    case SpecialId::PhotoChoice:
    case SpecialId::PhotoAdjustA:
    case SpecialId::PhotoAdjustB:
    case SpecialId::PhotoAdjustC: return ForwardValue(e.id, PhotoField(p), w);
    }
    return kCfgNothing;
}

CfgResult ReverseSpecial(const CfgEntry& e, std::uint32_t elementId, CfgWork& w)
{
    const SpecialParam& p = *e.param.special;
    switch (p.id) {
    case SpecialId::InstalledTrays: return ReverseGroup(kInstalledTrays, w);
    case SpecialId::OutputOptions: return ReverseGroup(kOutputOptions, w);
    case SpecialId::PrivateBytes: return ReverseGroup(kPrivateBytes, w);
    case SpecialId::AccountTexts: return ReverseTexts(kAccountTexts, w);
    case SpecialId::FontGroups: return ReverseGroup(kFontGroups, w);
    case SpecialId::FontSetMasks: return ReverseGroup(kFontSetMasks, w);
    case SpecialId::TrayBytes: return ReverseGroup(kTrayBytes, w);
    case SpecialId::ColourTuning: return ReverseGroup(kColourTuning, w);
    case SpecialId::MediaType: return ReverseMediaType(w);
    case SpecialId::EastAsianFont: return ReverseEastAsian(e, w);
    case SpecialId::Byte230: return ReverseByte230(e, w);
    case SpecialId::TextPair1:
    case SpecialId::TextPair2: return ReverseTextPair(w);
    case SpecialId::IcmMethod:
    case SpecialId::IcmIntent: return ReverseIcm(elementId, w);
    case SpecialId::SetupBytes: return ReverseGroup(kSetupBytes, w);
    case SpecialId::PrintModeByte:
        return StoreValue(w, U8(std::uint16_t(PrintModeByteOffset(w.devmode))), ReadExactValue(*w.cursor));
    case SpecialId::PrintHoldUser: return ReverseHoldText(e, w, kHoldUserSize);
    case SpecialId::PrintHoldNumber: return ReverseHoldText(e, w, kHoldNumberSize);
    case SpecialId::UserPaperSize: return ReverseGroup(kUserPaperSize, w);
    case SpecialId::TextAdjustments: return ReverseGroup(kTextAdjustments, w);
    case SpecialId::GraphicsAdjustments: return ReverseGroup(kGraphicsAdjustments, w);
    case SpecialId::PhotoChoice:
    case SpecialId::PhotoAdjustA:
    case SpecialId::PhotoAdjustB:
    case SpecialId::PhotoAdjustC: return StoreValue(w, PhotoField(p), ReadExactValue(*w.cursor));
    }
    return kCfgNothing;
}
