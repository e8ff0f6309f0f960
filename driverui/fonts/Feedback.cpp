#include "Feedback.h"

#include <algorithm>
#include <bitset>
#include <memory>

namespace feedback {
namespace {

using recordlist::Field;
using recordlist::RecordList;

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

std::string Text(std::span<const std::uint8_t> data)
{
    const auto end = std::find(data.begin(), data.end(), 0);
    return std::string(data.begin(), end);
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
               return up(x) == up(y);
           });
}

// The tag's slot in a group: the three kind tags share one.
int Slot(std::uint16_t tag)
{
    switch (tag) {
    case kTagKind3:
    case kTagKind4:
        return kTagKind1;
    default:
        return tag;
    }
}

// Moves to the first record whose name field equals name (any case) and, with text, whose key-3
// text equals it; false when there is none.
bool FindNamed(RecordList& list, const std::string& name, const std::optional<std::string>& text)
{
    for (bool more = list.Rewind(); more; more = list.Next()) {
        const std::optional<std::string> n = list.FieldText(kKeyName);
        if (n && SameText(*n, name) && (!text || list.FieldText(kKeyText).value_or("") == *text))
            return true;
    }
    return false;
}

bool DeleteNamed(RecordList& list, const std::string& name, const std::optional<std::string>& text)
{
    bool removed = false;
    while (!name.empty() && FindNamed(list, name, text)) {
        list.DeleteCurrent();
        removed = true;
    }
    return removed;
}

}  // namespace

std::size_t Extent(const std::uint8_t* message, std::size_t limit)
{
    std::size_t at = 0;
    if (!message)
        return 0;
    while (limit - at >= kItemHeader) {
        const std::uint16_t tag = Get16(message + at);
        const std::uint16_t length = Get16(message + at + 2);
        if (tag == kTagEnd)
            return at + kItemHeader;
        if (length < kItemHeader || length > limit - at)
            return 0;
        at += length;
    }
    return 0;
}

Message Parse(std::span<const std::uint8_t> bytes)
{
    Message message;
    std::bitset<65536> seen;
    Group group;
    bool any = false;
    std::size_t at = 0;
    while (bytes.size() - at >= kItemHeader) {
        const std::uint16_t tag = Get16(bytes.data() + at);
        const std::uint16_t length = Get16(bytes.data() + at + 2);
        if (tag == kTagEnd) {
            message.complete = true;
            break;
        }
        if (length < kItemHeader || length > bytes.size() - at)
            break;
        const std::span<const std::uint8_t> data = bytes.subspan(at + kItemHeader, length - kItemHeader);
        at += length;
        const int slot = Slot(tag);
        if (seen[std::size_t(slot)]) {
            message.groups.push_back(std::move(group));
            group = Group{};
            seen.reset();
        }
        seen[std::size_t(slot)] = true;
        any = true;
        const bool word = data.size() >= 2;
        const std::uint16_t value = word ? Get16(data.data()) : 0;
        switch (tag) {
        case kTagCommand:
            if (word) group.command = value;
            break;
        case kTagProtocol:
            if (word) group.protocol = value;
            break;
        case kTagPrinterName:
            group.printerName = Text(data);
            break;
        case kTagReplyWord:
            // An address as wide as the caller's pointers.
            if (data.size() == 4 || data.size() == 8) {
                std::uint64_t address = 0;
                for (std::size_t i = 0; i < data.size(); ++i)
                    address |= std::uint64_t(data[i]) << (8 * i);
                group.replyWord = address;
            }
            break;
        case kTagMacroNumber:
            if (word) group.macroNumber = std::int16_t(value);
            break;
        case kTagMacroName:
            group.macroName = Text(data);
            break;
        case kTagKind1:
        case kTagKind3:
        case kTagKind4:
            if (!group.kind)
                group.kind = tag == kTagKind1 ? 1 : tag == kTagKind3 ? 3 : 4;
            break;
        case kTagFontName:
            group.fontName = Text(data);
            break;
        case kTagFontText:
            group.fontText = Text(data);
            break;
        case kTagMetricName:
            group.metricName = Text(data);
            break;
        default:
            break;
        }
    }
    if (any)
        message.groups.push_back(std::move(group));
    return message;
}

bool Accepted(std::uint16_t protocol)
{
    return protocol == 4 || protocol == 5 || protocol == 6;
}

std::optional<std::uint16_t> AddFont(RecordList& list, const std::string& name, const std::optional<std::string>& text)
{
    if (name.empty())
        return std::nullopt;
    DeleteNamed(list, name, std::nullopt);
    auto taken = std::make_unique<std::bitset<65536>>();
    taken->set(0);
    for (bool more = list.Rewind(); more; more = list.Next())
        if (const auto n = list.FieldUInt16(kKeyNumber))
            taken->set(*n);
    std::size_t number = 1;
    while (number < taken->size() && (*taken)[number])
        ++number;
    if (number >= taken->size())
        return std::nullopt;
    const std::vector<std::uint8_t> n = recordlist::Int16Data(std::int16_t(number));
    const std::vector<std::uint8_t> t = recordlist::TextData(name);
    const std::vector<std::uint8_t> x = recordlist::TextData(text.value_or(""));
    std::vector<Field> fields{{kKeyNumber, n}, {kKeyName, t}};
    if (text)
        fields.push_back({kKeyText, x});
    if (!list.Append(fields))
        return std::nullopt;
    return std::uint16_t(number);
}

bool RemoveFonts(std::span<const Group> groups, RecordList& fonts, RecordList& metrics)
{
    bool removed = false;
    for (const Group& g : groups) {
        if (g.fontName)
            removed |= DeleteNamed(fonts, *g.fontName, g.fontText);
        if (g.metricName)
            removed |= DeleteNamed(metrics, *g.metricName, std::nullopt);
    }
    return removed;
}

bool AddFonts(std::span<const Group> groups, RecordList& fonts, RecordList& metrics)
{
    bool added = false;
    for (const Group& g : groups) {
        if (g.fontName)
            added |= AddFont(fonts, *g.fontName, g.fontText).has_value();
        if (g.metricName)
            added |= AddFont(metrics, *g.metricName, std::nullopt).has_value();
    }
    return added;
}

bool RemoveMacros(std::span<const Group> groups, RecordList& macros)
{
    bool removed = false;
    for (const Group& g : groups) {
        if (!g.macroNumber)
            continue;
        macros.Rewind();
        while (macros.HasCurrent()) {
            const std::optional<recordlist::Macro> m = recordlist::ReadMacro(macros);
            if (m && m->number == *g.macroNumber && (!g.macroName || SameText(m->name, *g.macroName)) &&
                (!g.kind || m->kind == *g.kind)) {
                macros.DeleteCurrent();
                removed = true;
                continue;
            }
            if (!macros.Next())
                break;
        }
    }
    return removed;
}

bool AddMacro(RecordList& macros, const recordlist::Macro& macro)
{
    if (macro.number <= 0 || macro.name.empty())
        return false;
    macros.Rewind();
    while (macros.HasCurrent()) {
        const std::optional<recordlist::Macro> m = recordlist::ReadMacro(macros);
        if (m && (m->number == macro.number || (SameText(m->name, macro.name) && m->kind == macro.kind))) {
            macros.DeleteCurrent();
            continue;
        }
        if (!macros.Next())
            break;
    }
    return recordlist::AppendMacro(macros, macro);
}

bool AddMacros(std::span<const Group> groups, RecordList& macros, std::uint16_t protocol)
{
    bool added = false;
    for (const Group& g : groups) {
        if (!g.macroName || g.macroName->empty())
            continue;
        recordlist::Macro m;
        m.name = *g.macroName;
        m.kind = g.kind.value_or(kDefaultMacroKind);
        if (g.macroNumber && *g.macroNumber > 0)
            m.number = *g.macroNumber;
        else if (!g.macroNumber && protocol == 6)
            m.number = AllocateMacroNumber(macros, 0, m.name, m.kind);
        if (m.number > 0)
            added |= AddMacro(macros, m);
    }
    return added;
}

std::int16_t AllocateMacroNumber(const RecordList& macros, std::int16_t requested, const std::string& name,
                                 std::uint16_t kind)
{
    if (name.empty())
        return 0;
    RecordList list(macros.Bytes());
    std::bitset<32768> taken;
    taken.set(0);
    for (bool more = list.Rewind(); more; more = list.Next())
        if (const std::optional<recordlist::Macro> m = recordlist::ReadMacro(list)) {
            if (SameText(m->name, name) && m->kind == kind)
                return 0;
            if (m->number > 0)
                taken.set(std::size_t(m->number));
        }
    if (requested > 0 && !taken[std::size_t(requested)])
        return requested;
    for (std::size_t n = 1; n < taken.size(); ++n)
        if (!taken[n])
            return std::int16_t(n);
    return 0;
}

std::vector<std::uint8_t> ReplyRecord(std::uint16_t command, std::uint16_t protocol)
{
    std::vector<std::uint8_t> r(kReplySize, 0);
    std::uint32_t flags = 0;
    if (command == 15) {
        flags = protocol < 32 ? 1u << protocol : 0;
        if (protocol == 5)
            flags += 1;
    }
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        r[at] = std::uint8_t(v);
        r[at + 1] = std::uint8_t(v >> 8);
    };
    put16(0, kReplySize);
    put16(2, command);
    put16(4, flags);
    put16(6, flags >> 16);
    put16(8, protocol);
    return r;
}

}  // namespace feedback
