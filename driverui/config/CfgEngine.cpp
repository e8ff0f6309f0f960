#include "CfgEngine.h"

#include <algorithm>
#include <array>

#include "CfgElements.h"
#include "CfgFeatures.h"
#include "ConfigData.h"

using namespace cfgelem;

namespace {

// Forms are written as 0x7FFFFE01 + code; codes above the last built-in paper are forms.
constexpr std::uint32_t kFormBase = 0x7FFFFE01u;
constexpr std::int32_t kLastPaperCode = 262;
// The second paper size keeps built-in papers only.
constexpr std::int32_t kFirstFormCode = 263;
constexpr std::size_t kFormNameMax = 63;

bool IsNamedForm(std::int64_t code)
{
    return (code >= 512 && code <= 519) || (code >= 640 && code <= 671);
}

const MapPair* FindByDevmode(const ValueMap& map, std::int64_t value)
{
    for (const MapPair& p : map.pairs)
        if (p.devmode == value)
            return &p;
    return nullptr;
}

const MapPair* FindByData(const ValueMap& map, std::int32_t value)
{
    for (const MapPair& p : map.pairs)
        if (p.data == value)
            return &p;
    return nullptr;
}

bool FitsDataValue(std::int64_t v)
{
    return v >= INT32_MIN && v <= INT64_C(0xFFFFFFFF);
}

// ---- Forward conversions (devmode to data).

CfgResult ForwardContainer(const CfgEntry& e, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    if (!c.BeginElement(e.id))
        return kCfgFailed;
    const CfgResult r = WriteCfgTable(*e.param.table, w, kPassAll);
    if (r > 0)
        return c.EndElement() ? kCfgDone : kCfgFailed;
    const CfgResult abandoned = AbandonTo(c, depth);
    return r < 0 ? r : abandoned;
}

CfgResult ForwardMap(const CfgEntry& e, CfgWork& w)
{
    const MapParam& p = *e.param.map;
    const auto value = dm::Read(w.devmode, p.field);
    if (!value)
        return kCfgNothing;
    const MapPair* pair = FindByDevmode(*p.map, *value);
    return pair ? WriteValueElement(w, e.id, pair->data, p.valueSize) : kCfgNothing;
}

CfgResult ForwardNumber(const CfgEntry& e, CfgWork& w)
{
    const NumberParam& p = *e.param.number;
    const auto value = dm::Read(w.devmode, p.field);
    if (!value)
        return kCfgNothing;
    const bool inRange = *value >= p.minimum && *value <= p.maximum;
    return WriteValueElement(w, e.id, inRange ? *value : p.fallback, p.valueSize);
}

CfgResult ForwardScaled(const CfgEntry& e, CfgWork& w)
{
    const ScaledParam& p = *e.param.scaled;
    const auto value = dm::Read(w.devmode, p.field);
    if (!value || p.divisor == 0)
        return kCfgNothing;
    const std::int64_t scaled = *value * p.multiplier / p.divisor;
    return FitsDataValue(scaled) ? WriteValueElement(w, e.id, scaled, p.valueSize) : kCfgNothing;
}

CfgResult ForwardCallbackMap(const CfgEntry& e, CfgWork& w)
{
    const CallbackMapParam& p = *e.param.callbackMap;
    std::int32_t key = 0;
    if (!p.toKey || !p.toKey(w, key))
        return kCfgNothing;
    const MapPair* pair = FindByDevmode(*p.map, key);
    return pair ? WriteValueElement(w, e.id, pair->data, p.valueSize) : kCfgNothing;
}

CfgResult ForwardPaper(const CfgEntry& e, CfgWork& w)
{
    const PaperParam& p = *e.param.paper;
    const auto code = dm::Read(w.devmode, p.field);
    if (!code)
        return kCfgNothing;
    if (const MapPair* pair = FindByDevmode(*p.map, *code))
        return WriteValueElement(w, e.id, pair->data, p.valueSize);
    if (*code > kLastPaperCode)
        return WriteValueElement(w, e.id, kFormBase + std::uint32_t(*code), p.valueSize);
    if (p.slot == 1 && *code == 0)
        return WriteValueElement(w, e.id, 0, p.valueSize);
    return kCfgNothing;
}

CfgResult ForwardFormName(const CfgEntry& e, CfgWork& w)
{
    const FormNameParam& p = *e.param.formName;
    const auto code = dm::Read(w.devmode, p.paperField);
    if (!code || !IsNamedForm(*code) || !w.env)
        return kCfgNothing;
    // No longer than a read keeps.
    const std::string name = w.env->FormName(std::int32_t(*code)).substr(0, kFormNameMax);
    return WriteStringElement(w, e.id, std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
}

CfgResult Forward(const CfgEntry& e, CfgWork& w)
{
    switch (e.kind) {
    case ConvKind::Container: return ForwardContainer(e, w);
    case ConvKind::Map: return ForwardMap(e, w);
    case ConvKind::Number: return ForwardNumber(e, w);
    case ConvKind::Scaled: return ForwardScaled(e, w);
    case ConvKind::CallbackMap: return ForwardCallbackMap(e, w);
    case ConvKind::PaperSize: return ForwardPaper(e, w);
    case ConvKind::FormName: return ForwardFormName(e, w);
    case ConvKind::Special: return ForwardSpecial(e, w);
    }
    return kCfgNothing;
}

// ---- Reverse conversions (data to devmode). Each reads inside the element the engine opened
// for it and leaves that element open.

CfgResult Store(CfgWork& w, dm::Field f, std::int64_t value)
{
    // Never narrowed: a value that does not fit the field leaves it as it was.
    return dm::Write(w.devmode, f, value) ? kCfgDone : kCfgNothing;
}

CfgResult ReverseMap(const CfgEntry& e, CfgWork& w)
{
    const MapParam& p = *e.param.map;
    const auto value = ReadDataValue(*w.cursor);
    if (!value)
        return kCfgNothing;
    const MapPair* pair = FindByData(*p.map, *value);
    return pair ? Store(w, p.field, pair->devmode) : kCfgNothing;
}

CfgResult ReverseNumber(const CfgEntry& e, CfgWork& w)
{
    const NumberParam& p = *e.param.number;
    const auto value = ReadDataValue(*w.cursor);
    if (!value)
        return kCfgNothing;
    const bool ok = *value >= p.minimum && *value <= p.maximum && dm::FitsWidth(*value, p.field.width);
    return Store(w, p.field, ok ? *value : p.fallback);
}

CfgResult ReverseScaled(const CfgEntry& e, CfgWork& w)
{
    const ScaledParam& p = *e.param.scaled;
    const auto value = ReadDataValue(*w.cursor);
    if (!value || p.multiplier == 0)
        return kCfgNothing;
    return Store(w, p.field, std::int64_t(*value) * p.divisor / p.multiplier);
}

CfgResult ReverseCallbackMap(const CfgEntry& e, CfgWork& w)
{
    const CallbackMapParam& p = *e.param.callbackMap;
    const auto value = ReadDataValue(*w.cursor);
    if (!value || !p.fromKey)
        return kCfgNothing;
    const MapPair* pair = FindByData(*p.map, *value);
    return pair ? p.fromKey(w, pair->devmode) : kCfgNothing;
}

CfgResult ReversePaper(const CfgEntry& e, CfgWork& w)
{
    const PaperParam& p = *e.param.paper;
    const auto value = ReadDataValue(*w.cursor);
    if (!value)
        return kCfgNothing;
    std::int64_t code = 0;
    const auto raw = std::uint32_t(*value);
    if (const MapPair* pair = FindByData(*p.map, *value))
        code = pair->devmode;
    else if (raw >= kFormBase + std::uint32_t(kFirstFormCode))
        code = std::int64_t(raw) - kFormBase;
    else if (p.slot == 1 && raw == 0)
        code = 0;
    else
        return kCfgNothing;
    if (!dm::FitsWidth(code, p.field.width))
        return kCfgNothing;
    w.paperSize[p.slot] = std::int32_t(code);
    return kCfgDone;
}

CfgResult ReverseFormName(const CfgEntry& e, CfgWork& w)
{
    const FormNameParam& p = *e.param.formName;
    std::string name = NarrowText(ReadStringElement(*w.cursor, kFormNameMax));
    if (w.cursor->error() != ElementCursor::ErrNone)
        return kCfgFailed;
    if (name.empty())
        return kCfgNothing;
    w.formName[p.slot] = std::move(name);
    return kCfgDone;
}

CfgResult Reverse(const CfgEntry& e, std::uint32_t id, CfgWork& w)
{
    switch (e.kind) {
    case ConvKind::Container: return ReadCfgTable(*e.param.table, w);
    case ConvKind::Map: return ReverseMap(e, w);
    case ConvKind::Number: return ReverseNumber(e, w);
    case ConvKind::Scaled: return ReverseScaled(e, w);
    case ConvKind::CallbackMap: return ReverseCallbackMap(e, w);
    case ConvKind::PaperSize: return ReversePaper(e, w);
    case ConvKind::FormName: return ReverseFormName(e, w);
    case ConvKind::Special: return ReverseSpecial(e, id, w);
    }
    return kCfgNothing;
}

const CfgEntry* ClaimingEntry(const CfgTable& table, std::uint32_t id, std::uint32_t pass,
                              const CfgWork& w)
{
    for (const CfgEntry& e : table.entries)
        if ((e.mask & id) == e.id && (e.passMask & pass) &&
            EntryOperationBit(e, w.opMask, w.modelFlags394))
            return &e;
    return nullptr;
}

std::uint16_t ModelFlags394(std::span<const std::uint8_t> devmode)
{
    return std::uint16_t(dm::Read(devmode, dm::kOptionFlags).value_or(0));
}

}  // namespace

std::uint32_t EntryOperationBit(const CfgEntry& entry, std::uint32_t opMask,
                                std::uint16_t modelFlags394)
{
    std::uint32_t ops = entry.opMask;
    if (ops != kOpAll && (ops & 3) == 3)
        ops = (ops & ~3u) | ((modelFlags394 & dm::kOptionFlagsSecondOperation) ? 2u : 1u);
    return ops & opMask;
}

CfgResult WriteCfgTable(const CfgTable& table, CfgWork& w, std::uint32_t passMask)
{
    bool wrote = false;
    for (const CfgEntry& e : table.entries) {
        const std::uint32_t opBit = EntryOperationBit(e, w.opMask, w.modelFlags394);
        if (opBit == 0 || (e.passMask & passMask) == 0)
            continue;
        const CfgResult r = Forward(e, w);
        if (r < 0)
            return r;
        wrote = wrote || r > 0;
    }
    return wrote ? kCfgDone : kCfgNothing;
}

CfgResult ReadCfgTable(const CfgTable& table, CfgWork& w)
{
    ElementCursor& c = *w.cursor;
    bool stored = false;
    for (std::uint32_t pass = 1; pass <= 4; pass <<= 1) {
        std::uint32_t id = 0;
        // Each element read moves the position forward by at least its header, within the
        // level's fixed end, so the walk ends.
        while (c.NextElement(id)) {
            const CfgEntry* e = ClaimingEntry(table, id, pass, w);
            CfgResult r = e ? Reverse(*e, id, w) : kCfgNothing;
            if (!c.EndElement())
                r = kCfgFailed;
            if (r < 0)
                return r;
            stored = stored || r > 0;
        }
        if (c.error() != ElementCursor::ErrNone || !c.Rewind())
            return kCfgFailed;
    }
    return stored ? kCfgDone : kCfgNothing;
}

void FinishCfgRead(CfgWork& w)
{
    if (w.paperSize[0] && *w.paperSize[0] != 0)
        dm::Write(w.devmode, dm::kPaperSize, *w.paperSize[0]);
    if (w.paperSize[1])
        dm::Write(w.devmode, dm::kSecondPaperSize,
                  *w.paperSize[1] < kFirstFormCode ? *w.paperSize[1] : 0);

    if (const auto quality = dm::Read(w.devmode, dm::kPrintQuality)) {
        bool listed = false;
        for (std::size_t i = 0; i < dm::kResolutionCount; ++i) {
            const auto entry = dm::ReadDevmodeValue(w.devmode, dm::kResolutionList + 2 * i, 2);
            listed = listed || (entry && *entry == *quality);
        }
        if (const auto fallback = dm::Read(w.devmode, dm::kDefaultResolution); !listed && fallback)
            dm::Write(w.devmode, dm::kPrintQuality, *fallback);
    }

    if (w.env)
        w.env->FinishRead(w.devmode);
}

std::vector<std::uint8_t> BuildConfigData(std::span<const std::uint8_t> devmode,
                                          ConfigEnvironment* env, std::uint32_t opMask,
                                          std::uint32_t mode)
{
    std::vector<std::uint8_t> copy(devmode.begin(), devmode.end());
    ElementCursor cursor;
    CfgWork w;
    w.devmode = copy;
    w.opMask = opMask;
    w.mode = mode;
    w.modelFlags394 = ModelFlags394(copy);
    w.codePage = env ? env->AnsiCodePage() : 0;
    w.cursor = &cursor;
    w.env = env;
    const CfgResult r = WriteCfgTable(RootCfgTable(), w, kPassAll);
    if (r <= 0 || cursor.error() != ElementCursor::ErrNone)
        return {};
    const auto data = cursor.data();
    return {data.begin(), data.end()};
}

bool ReadConfigData(std::span<const std::uint8_t> data, std::span<std::uint8_t> devmode,
                    std::uint32_t mode, ConfigEnvironment* env, std::uint32_t opMask)
{
    if (data.empty())
        return false;
    std::vector<std::uint8_t> copy(devmode.begin(), devmode.end());
    ElementCursor cursor(data);
    CfgWork w;
    w.devmode = copy;
    w.opMask = opMask;
    w.mode = mode;
    w.modelFlags394 = ModelFlags394(copy);
    w.codePage = env ? env->AnsiCodePage() : 0;
    w.cursor = &cursor;
    w.env = env;
    const CfgResult r = ReadCfgTable(RootCfgTable(), w);
    if (r <= 0 || cursor.error() != ElementCursor::ErrNone)
        return false;
    FinishCfgRead(w);
    std::copy(copy.begin(), copy.end(), devmode.begin());
    return true;
}

bool StoresSoftwareEnable(std::span<const std::uint8_t> devmode)
{
    constexpr std::size_t n = sizeof kBrandWord - 1;
    static_assert(n <= dm::kModelNameSize);
    if (devmode.size() < dm::kModelName + n)
        return true;
    for (std::size_t i = 0; i < n; ++i) {
        const auto lower = [](unsigned char ch) { return ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch; };
        if (lower(devmode[dm::kModelName + i]) != lower(static_cast<unsigned char>(kBrandWord[i])))
            return true;
    }
    return false;
}

bool PaperSourceToKey(const CfgWork& w, std::int32_t& key)
{
    const auto source = dm::Read(w.devmode, dm::kDefaultSource);
    if (!source)
        return false;
    key = 7;  // the list is empty or has no such tray
    if (w.env)
        for (const TrayKey& t : w.env->Trays())
            if (t.code == *source) {
                key = t.number;
                break;
            }
    return true;
}

CfgResult PaperSourceFromKey(CfgWork& w, std::int32_t key)
{
    if (!w.env)
        return kCfgNothing;
    for (const TrayKey& t : w.env->Trays())
        if (t.number == key)
            return Store(w, dm::kDefaultSource, t.code);
    return kCfgNothing;
}
