#include "Bridge.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "FeatureBindings.h"

namespace bridge {
namespace {

using settingsui::Attribute;
using settingsui::Node;
using settingsui::Request;
using settingsui::Tree;
using settingsui::Value;
using settingsui::kFailed;
using settingsui::kSucceeded;

constexpr std::int16_t kFlagFeature = 59;
constexpr std::size_t kFlagWord = 8;
constexpr std::int16_t kWatermarkFeature = 62;
constexpr std::int16_t kHoldFeature = 77;
constexpr std::size_t kHoldNameBytes = 24;  // and its terminator
constexpr std::size_t kTextChars = 261;

constexpr Simple kSimple[] = {
    {100, Kind::Number, 3},       {110, Kind::Boolean, 8},      {120, Kind::Option, 1},
    {130, Kind::Option, 6},       {140, Kind::Option, 2},       {150, Kind::ByteOption, 4},
    {1020, Kind::Boolean, 68},    {1030, Kind::Boolean, 19},    {1040, Kind::Boolean, 109},
    {1070, Kind::Boolean, 71},    {1090, Kind::ByteOption, 57}, {1100, Kind::ByteOption, 78},
    {1110, Kind::ByteOption, 58}, {1120, Kind::ByteOption, 101}, {1170, Kind::Option, 90},
    {1180, Kind::Boolean, 110},   {1190, Kind::Option, 111},    {1230, Kind::ByteOption, 124},
    {1235, Kind::ByteOption, 85}, {1250, Kind::Boolean, 83},    {1390, Kind::Option, 91},
    {1470, Kind::ByteOption, 42}, {1480, Kind::ByteOption, 106}, {1490, Kind::ByteOption, 104},
    {1500, Kind::ByteOption, 105}, {1530, Kind::ByteOption, 119}, {1540, Kind::Number, 120},
    {1550, Kind::Number, 121},    {1560, Kind::Number, 122},    {1570, Kind::Number, 123},
    {1600, Kind::ByteOption, 77}, {1630, Kind::Boolean, 95},    {1670, Kind::Option, 13},
    {1680, Kind::Option, 87},     {1690, Kind::Boolean, 88},    {1700, Kind::Number, 14},
    {1701, Kind::Number, 117},    {1702, Kind::Number, 116},    {1703, Kind::Boolean, 114},
    {1704, Kind::Boolean, 115},   {1705, Kind::ByteOption, 125}, {1710, Kind::Option, 10},
    {1720, Kind::Number, 31},     {1730, Kind::Number, 32},     {1740, Kind::Number, 33},
    {1750, Kind::Number, 35},     {1760, Kind::Number, 36},     {1770, Kind::Number, 37},
    {1780, Kind::Number, 39},     {1790, Kind::Number, 40},     {1800, Kind::Number, 41},
    {1807, Kind::Boolean, 112},   {2070, Kind::ByteOption, 7},  {2072, Kind::Boolean, 12},
    {2078, Kind::Boolean, 60},    {2080, Kind::Flag, kFlagFeature, 1}, {2081, Kind::Flag, kFlagFeature, 2},
    {2082, Kind::Flag, kFlagFeature, 4}, {2083, Kind::Flag, kFlagFeature, 8}, {2084, Kind::Flag, kFlagFeature, 16},
    {2085, Kind::Flag, kFlagFeature, 128}, {2095, Kind::Boolean, 113}, {2100, Kind::Boolean, 11},
    {2110, Kind::Boolean, 108},
};

// The watermark page choices, by the watermark entry's placement.
constexpr const wchar_t* kWatermarkPages[] = {L"None", L"AllPages", L"OddEven", L"FirstOther"};

// ---- Entry values ----------------------------------------------------------------------------
// Reads outside an entry give 0 and writes outside it do nothing.

std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 2 <= b.size() ? std::uint16_t(b[at] | b[at + 1] << 8) : 0;
}
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 4 <= b.size() ? std::uint32_t(Get16(b, at)) | std::uint32_t(Get16(b, at + 2)) << 16 : 0;
}
void Set8(std::span<std::uint8_t> b, std::size_t at, std::uint8_t v)
{
    if (at < b.size())
        b[at] = v;
}
void Set16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v)
{
    if (at + 2 <= b.size()) {
        b[at] = std::uint8_t(v);
        b[at + 1] = std::uint8_t(v >> 8);
    }
}
void Set32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v)
{
    if (at + 4 <= b.size()) {
        Set16(b, at, std::uint16_t(v));
        Set16(b, at + 2, std::uint16_t(v >> 16));
    }
}

bool NumberEntry(int id)
{
    const feature::Binding* b = feature::Find(id);
    return b && b->type == feature::kNumberEntry;
}

std::optional<std::int32_t> ReadEntry(std::span<const std::uint8_t> e, const Simple& s)
{
    switch (s.kind) {
    case Kind::ByteOption:
        return e.size() > feature::kCurrent ? std::optional<std::int32_t>(e[feature::kCurrent]) : std::nullopt;
    case Kind::Flag:
        return e.size() >= kFlagWord + 2 ? std::optional<std::int32_t>(Get16(e, kFlagWord)) : std::nullopt;
    default:
        if (NumberEntry(s.feature))
            return e.size() >= feature::number::kValue + 4
                       ? std::optional<std::int32_t>(std::int32_t(Get32(e, feature::number::kValue)))
                       : std::nullopt;
        return e.size() >= feature::kCurrent + 2
                   ? std::optional<std::int32_t>(std::int16_t(Get16(e, feature::kCurrent)))
                   : std::nullopt;
    }
}

void WriteEntry(std::span<std::uint8_t> e, const Simple& s, std::int32_t value)
{
    switch (s.kind) {
    case Kind::ByteOption:
        Set8(e, feature::kCurrent, std::uint8_t(value));
        return;
    case Kind::Flag:
        Set16(e, kFlagWord, std::uint16_t(value));
        return;
    default:
        if (NumberEntry(s.feature))
            Set32(e, feature::number::kValue, std::uint32_t(value));
        else
            Set16(e, feature::kCurrent, std::uint16_t(value));
    }
}

// ---- Tree helpers ----------------------------------------------------------------------------

Value* ValueAt(Tree& tree, const wchar_t* path)
{
    Node* node = tree.FindNode(path);
    return node ? node->OwnValue() : nullptr;
}

std::optional<std::wstring> TextOf(Value* value)
{
    std::array<wchar_t, kTextChars> text{};
    if (!value || !value->GetText(text.data(), std::uint32_t(text.size())))
        return std::nullopt;
    text.back() = 0;
    return std::wstring(text.data());
}

Node* FirstChild(Node* node)
{
    settingsui::Children* children = node ? node->EnumChildren() : nullptr;
    if (!children)
        return nullptr;
    children->Reset();
    Node* first = children->HasCurrent() ? children->Current() : nullptr;
    children->Release();
    return first;
}

// The option to select for a value: by "pclid", else the one "Options\Default" names, else the
// first.
Node* OptionFor(Tree& tree, std::int32_t value)
{
    if (Node* n = tree.FindChildWithAttribute(L".\\Options", L"pclid", Attribute{settingsui::kIntegerAttribute, value}))
        return n;
    if (const std::optional<std::wstring> name = TextOf(ValueAt(tree, L".\\Options\\Default")); name && !name->empty())
        if (Node* n = tree.FindNode((L".\\Options\\" + *name).c_str()))
            return n;
    return FirstChild(tree.FindNode(L".\\Options"));
}

std::uint32_t PublishText(Tree& tree, const std::wstring& text)
{
    Value* v = tree.CurrentValue();
    return v && v->SetText(text.c_str()) ? kSucceeded : kFailed;
}

std::uint32_t PublishFlags(Tree& tree, std::uint32_t flags)
{
    Value* v = tree.CurrentValue();
    return v && v->SetFlags(flags) ? kSucceeded : kFailed;
}

// ---- Requests --------------------------------------------------------------------------------

std::uint32_t SimpleConversion(const Request& r, const Simple& s, Entries& entries)
{
    const std::span<std::uint8_t> e = entries.Current(s.feature);
    const std::optional<std::int32_t> value = ReadEntry(e, s);
    Value* v = r.tree->CurrentValue();
    if (!value || !v)
        return kFailed;
    if (r.direction == settingsui::kPublish) {
        switch (s.kind) {
        case Kind::Boolean:
            return v->SetBool(*value != 0) ? kSucceeded : kFailed;
        case Kind::Number:
            return v->SetInt16(std::int16_t(*value)) ? kSucceeded : kFailed;
        case Kind::Flag:
            return v->SetBool((*value & s.bit) != 0) ? kSucceeded : kFailed;
        case Kind::Option:
        case Kind::ByteOption: {
            Node* option = OptionFor(*r.tree, *value);
            return option && v->SetSelected(option) ? kSucceeded : kFailed;
        }
        }
        return kFailed;
    }
    switch (s.kind) {
    case Kind::Boolean: {
        std::uint8_t b = 0;
        if (!v->GetBool(&b))
            return kFailed;
        WriteEntry(e, s, b);
        return kSucceeded;
    }
    case Kind::Number: {
        std::int16_t n = 0;
        if (!v->GetInt16(&n))
            return kFailed;
        WriteEntry(e, s, n);
        return kSucceeded;
    }
    case Kind::Flag: {
        std::uint8_t b = 0;
        if (!v->GetBool(&b))
            return kFailed;
        WriteEntry(e, s, b ? (*value | s.bit) : (*value & ~std::int32_t(s.bit)));
        return kSucceeded;
    }
    case Kind::Option:
    case Kind::ByteOption: {
        Node* selected = v->GetSelected();
        Value* sv = selected ? selected->OwnValue() : nullptr;
        std::int16_t n = 0;
        if (!sv || !sv->GetInt16(&n))
            return kFailed;
        WriteEntry(e, s, n);
        return kSucceeded;
    }
    }
    return kFailed;
}

std::uint32_t Fixed(const Request& r, Driver& driver)
{
    // These only publish the driver's facts; there is nothing to take.
    if (r.direction == settingsui::kTake)
        return kSucceeded;
    switch (r.code) {
    case 0:
        return PublishText(*r.tree, WithExtension(driver.DataFile(), L".XML"));
    case 1:
        return PublishText(*r.tree, L"Printer1");
    case 2:
        return PublishText(*r.tree, driver.DeviceSheet() ? L"PrintProps" : L"DocProps");
    case 3:
        return PublishText(*r.tree, driver.ScriptPath());
    case 4:
        return PublishText(*r.tree, WithExtension(driver.DataFile(), L".RES"));
    case 5:
        return PublishFlags(*r.tree, std::uint32_t(driver.PrinterHandle()));
    case 20:
        return PublishFlags(*r.tree, 2);
    case 30:
        return PublishFlags(*r.tree, DataFileFlag(driver.DataFile()));
    case 40:
        return PublishFlags(*r.tree, CodePageFlag(driver.AnsiCodePage()));
    case 50:
        return PublishFlags(*r.tree, 1);
    default:
        return kFailed;
    }
}

// 1620: the print-and-hold user name, shown only to the user it belongs to.
std::uint32_t HoldUserName(const Request& r, Entries& entries, Driver& driver)
{
    const std::span<std::uint8_t> e = entries.Current(kHoldFeature);
    const std::size_t at = feature::hold::kUserName;
    if (e.size() < at + kHoldNameBytes + 1)
        return kFailed;
    Value* v = r.tree->CurrentValue();
    if (!v)
        return kFailed;
    if (r.direction == settingsui::kPublish) {
        const std::optional<std::wstring> owner = TextOf(ValueAt(*r.tree, L"\\PrivateDevmode\\PrintHold\\UserName"));
        const std::string user = driver.UserName();
        std::wstring shown;
        if (owner && std::equal(owner->begin(), owner->end(), user.begin(), user.end(),
                                [](wchar_t a, char b) { return a == wchar_t(static_cast<unsigned char>(b)); })) {
            for (std::size_t i = 0; i < kHoldNameBytes && e[at + i]; ++i)
                shown += wchar_t(e[at + i]);
        }
        return v->SetText(shown.c_str()) ? kSucceeded : kFailed;
    }
    const std::optional<std::wstring> text = TextOf(v);
    if (!text)
        return kFailed;
    for (std::size_t i = 0; i <= kHoldNameBytes; ++i)
        e[at + i] = i < text->size() && i < kHoldNameBytes ? std::uint8_t((*text)[i] < 256 ? (*text)[i] : '?') : 0;
    return kSucceeded;
}

// 1810: the pages a watermark goes on, by the watermark entry's placement.
std::uint32_t WatermarkPages(const Request& r, Entries& entries)
{
    const std::span<std::uint8_t> e = entries.Current(kWatermarkFeature);
    Value* v = ValueAt(*r.tree, L"\\PrivateDevmode\\Watermarks");
    if (e.size() < feature::watermark::kPlacement + 4 || !v)
        return kFailed;
    if (r.direction == settingsui::kPublish) {
        const std::uint32_t placement = Get32(e, feature::watermark::kPlacement);
        return placement < std::size(kWatermarkPages) && v->SetText(kWatermarkPages[placement]) ? kSucceeded : kFailed;
    }
    const std::optional<std::wstring> text = TextOf(v);
    if (!text)
        return kFailed;
    for (std::size_t i = 0; i < std::size(kWatermarkPages); ++i)
        if (*text == kWatermarkPages[i]) {
            Set32(e, feature::watermark::kPlacement, std::uint32_t(i));
            return kSucceeded;
        }
    return kFailed;
}

// 1820 and 1830: the first and the second watermark, selected in the list by "pclid".
std::uint32_t WatermarkChoice(const Request& r, Entries& entries, std::size_t offset, const wchar_t* path)
{
    const std::span<std::uint8_t> e = entries.Current(kWatermarkFeature);
    Value* v = ValueAt(*r.tree, path);
    if (e.size() < offset + 2 || !v)
        return kFailed;
    if (r.direction == settingsui::kPublish) {
        const Attribute number{settingsui::kIntegerAttribute, std::int16_t(Get16(e, offset))};
        Node* n = r.tree->FindChildWithAttribute(L"\\PrinterSpec\\Watermarks", L"pclid", number);
        return n && v->SetSelected(n) ? kSucceeded : kFailed;
    }
    Node* selected = v->GetSelected();
    Attribute number;
    if (!selected || !selected->GetAttribute(L"pclid", &number))
        return kFailed;
    Set16(e, offset, std::uint16_t(number.integer));
    return kSucceeded;
}

// 2030: the printer's watermark list published as entries of "\PrinterSpec\Watermarks".
std::uint32_t WatermarkList(const Request& r, Driver& driver)
{
    if (r.direction == settingsui::kTake)
        return kSucceeded;
    for (const auto& [number, name] : driver.Watermarks()) {
        if (r.tree->FindChildWithAttribute(L"\\PrinterSpec\\Watermarks", L"pclid",
                                           Attribute{settingsui::kIntegerAttribute, number}))
            continue;
        Node* n = AppendListEntry(*r.tree, L"\\PrinterSpec\\Watermarks", L"\\Templates\\Watermark",
                                  L"\\PrivateDevmode\\Watermarks\\NextId", number);
        Value* v = n ? n->OwnValue() : nullptr;
        if (!v || !v->SetText(name.c_str()))
            return kFailed;
    }
    return kSucceeded;
}

std::uint32_t Dedicated(const Request& r, Entries& entries, Driver& driver)
{
    switch (r.code) {
    case 1620:
        return HoldUserName(r, entries, driver);
    case 1810:
        return WatermarkPages(r, entries);
    case 1820:
        return WatermarkChoice(r, entries, feature::watermark::kFirstPage, L"\\PrivateDevmode\\Watermarks\\Watermark1");
    case 1830:
        return WatermarkChoice(r, entries, feature::watermark::kOtherPages, L"\\PrivateDevmode\\Watermarks\\Watermark2");
    case 2030:
        return WatermarkList(r, driver);
    default:
        return kFailed;
    }
}

bool FixedCode(std::uint32_t code)
{
    return code <= 5 || code == 20 || code == 30 || code == 40 || code == 50;
}

}  // namespace

std::uint32_t CodePageFlag(std::uint32_t codePage)
{
    switch (codePage) {
    case 932: return 64;
    case 936: return 512;
    case 949: return 128;
    case 950: return 256;
    case 1250: return 2;
    case 1251: return 4;
    case 1253: return 8;
    case 1254: return 16;
    case 1257: return 32;
    default: return 1;
    }
}

std::uint32_t DataFileFlag(std::wstring_view dataFile)
{
    const std::size_t slash = dataFile.find_last_of(L"\\/:");
    std::wstring_view name = slash == std::wstring_view::npos ? dataFile : dataFile.substr(slash + 1);
    if (const std::size_t dot = name.find_last_of(L'.'); dot != std::wstring_view::npos)
        name = name.substr(0, dot);
    std::size_t start = name.size();
    while (start > 0 && name[start - 1] >= L'0' && name[start - 1] <= L'9')
        --start;
    std::uint32_t n = 0;
    for (std::size_t i = start; i < name.size() && n <= 32; ++i)
        n = n * 10 + std::uint32_t(name[i] - L'0');
    return n >= 1 && n <= 32 ? 1u << (n - 1) : 1u;
}

std::wstring WithExtension(std::wstring_view path, std::wstring_view extension)
{
    const std::size_t slash = path.find_last_of(L"\\/:");
    const std::size_t dot = path.find_last_of(L'.');
    std::wstring out(path.substr(0, dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash)
                                        ? dot
                                        : path.size()));
    out += extension;
    return out;
}

std::optional<Simple> SimpleRequest(std::uint32_t code)
{
    for (const Simple& s : kSimple)
        if (s.code == code)
            return s;
    return std::nullopt;
}

bool AnyChanged(Entries& entries)
{
    for (int id = feature::kFirstId; id <= feature::kLastId; ++id) {
        const std::span<const std::uint8_t> now = entries.Current(id);
        const std::span<const std::uint8_t> saved = entries.Saved(id);
        if (now.size() != saved.size() || !std::equal(now.begin(), now.end(), saved.begin()))
            return true;
    }
    return false;
}

Node* AppendListEntry(Tree& tree, const wchar_t* listPath, const wchar_t* templatePath, const wchar_t* nextIdPath,
                      std::int32_t pclid)
{
    Node* list = tree.FindNode(listPath);
    Node* templ = tree.FindNode(templatePath);
    Value* next = ValueAt(tree, nextIdPath);
    std::int16_t id = 0;
    if (!list || !templ || !next || !next->GetInt16(&id))
        return nullptr;
    Node* entry = templ->Clone();
    if (!entry || !next->SetInt16(std::int16_t(id + 1)) || !entry->Rename(std::to_wstring(id).c_str()) ||
        !list->AppendChild(entry))
        return nullptr;
    list->NotifyChanged();
    entry->SetAttribute(L"pclid", Attribute{settingsui::kIntegerAttribute, pclid});
    return entry;
}

Outcome Handle(const Request& r, Entries& entries, Driver& driver)
{
    Outcome out;
    if (r.direction != settingsui::kPublish && r.direction != settingsui::kTake) {
        out.result = settingsui::kInvalidArgument;
        return out;
    }
    if (!r.tree) {
        out.result = kFailed;
        return out;
    }
    if (const std::optional<Simple> s = SimpleRequest(r.code))
        out.result = SimpleConversion(r, *s, entries);
    else if (FixedCode(r.code))
        out.result = Fixed(r, driver);
    else
        out.result = Dedicated(r, entries, driver);
    if (r.direction == settingsui::kTake) {
        out.settingsChanged = AnyChanged(entries);
        if (Value* v = ValueAt(*r.tree, kSettingsChangedPath))
            v->SetBool(*out.settingsChanged);
    }
    return out;
}

}  // namespace bridge
