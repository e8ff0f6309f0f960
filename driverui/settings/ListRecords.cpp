#include "ListRecords.h"

namespace recordlist {

namespace {

std::uint32_t U32At(std::span<const std::uint8_t> d, std::size_t at)
{
    return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8 | std::uint32_t(d[at + 2]) << 16 |
           std::uint32_t(d[at + 3]) << 24;
}

std::vector<std::uint8_t> U16Data(std::uint16_t v) { return Int16Data(static_cast<std::int16_t>(v)); }

// Number and name: what makes a record one of a list's entries.
bool ReadHead(const RecordList& list, std::int16_t& number, std::string& name)
{
    const auto n = list.FieldInt16(1);
    const auto text = list.FieldText(2);
    if (!n || !text)
        return false;
    number = *n;
    name = *text;
    return true;
}

}  // namespace

std::optional<Watermark> ReadWatermark(const RecordList& list)
{
    Watermark w;
    if (!ReadHead(list, w.number, w.name))
        return std::nullopt;
    w.text = list.FieldText(3).value_or("");
    if (const auto block = list.FieldData(4); block && block->size() == 60)
        for (std::size_t i = 0; i < w.layout.size(); ++i)
            w.layout[i] = U32At(*block, 4 * i);
    w.value = list.FieldUInt32(5).value_or(0);
    for (std::size_t i = 0; i < w.words.size(); ++i)
        w.words[i] = list.FieldUInt16(std::int16_t(6 + i)).value_or(0);
    return w;
}

std::optional<Macro> ReadMacro(const RecordList& list)
{
    Macro m;
    if (!ReadHead(list, m.number, m.name))
        return std::nullopt;
    m.text = list.FieldText(3);
    m.kind = list.FieldUInt16(4).value_or(5);
    return m;
}

std::optional<FormAssociation> ReadFormAssociation(const RecordList& list)
{
    FormAssociation a;
    if (!ReadHead(list, a.number, a.name))
        return std::nullopt;
    for (std::int16_t key = 3; key <= 12; ++key)
        if (const auto data = list.FieldData(key))
            a.values.emplace_back(key, std::vector<std::uint8_t>(data->begin(), data->end()));
    return a;
}

bool AppendWatermark(RecordList& list, const Watermark& w)
{
    std::vector<std::uint8_t> block;
    for (std::uint32_t word : w.layout) {
        const auto bytes = UInt32Data(word);
        block.insert(block.end(), bytes.begin(), bytes.end());
    }
    const auto number = Int16Data(w.number), name = TextData(w.name), text = TextData(w.text),
               value = UInt32Data(w.value), w6 = U16Data(w.words[0]), w7 = U16Data(w.words[1]),
               w8 = U16Data(w.words[2]), w9 = U16Data(w.words[3]);
    const Field fields[] = {{1, number}, {2, name}, {3, text}, {4, block}, {5, value},
                            {6, w6},     {7, w7},   {8, w8},   {9, w9}};
    return list.Append(fields);
}

bool AppendMacro(RecordList& list, const Macro& m)
{
    const auto number = Int16Data(m.number), name = TextData(m.name), kind = U16Data(m.kind);
    const auto text = m.text ? TextData(*m.text) : std::vector<std::uint8_t>();
    std::vector<Field> fields = {{1, number}, {2, name}};
    if (m.text)
        fields.push_back({3, text});
    fields.push_back({4, kind});
    return list.Append(fields);
}

bool AppendFormAssociation(RecordList& list, const FormAssociation& a)
{
    const auto number = Int16Data(a.number), name = TextData(a.name);
    std::vector<Field> fields = {{1, number}, {2, name}};
    for (const auto& [key, data] : a.values) {
        if (key < 3 || key > 12)
            return false;
        fields.push_back({key, data});
    }
    return list.Append(fields);
}

}  // namespace recordlist
