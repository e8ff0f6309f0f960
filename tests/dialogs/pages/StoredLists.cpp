#include "StoredLists.h"

#include <winspool.h>

#include "RecordList.h"

namespace pagetest {

std::optional<std::int16_t> StoredRecord::Int16(std::int16_t key) const
{
    const auto it = fields.find(key);
    if (it == fields.end() || it->second.size() != 2)
        return std::nullopt;
    return std::int16_t(it->second[0] | (it->second[1] << 8));
}

std::string StoredRecord::Text(std::int16_t key) const
{
    const auto it = fields.find(key);
    if (it == fields.end())
        return {};
    const std::string text(it->second.begin(), it->second.end());
    return text.substr(0, text.find('\0'));
}

void SetInt16(StoredRecord& record, std::int16_t key, std::int16_t value)
{
    record.fields[key] = recordlist::Int16Data(value);
}

void SetText(StoredRecord& record, std::int16_t key, const std::string& text)
{
    record.fields[key] = recordlist::TextData(text);
}

StoredRecord NamedRecord(std::int16_t number, const std::string& name)
{
    StoredRecord r;
    SetInt16(r, 1, number);
    SetText(r, 2, name);
    return r;
}

std::vector<std::uint8_t> ListBytes(const std::vector<StoredRecord>& records)
{
    recordlist::RecordList list;
    for (const StoredRecord& r : records) {
        std::vector<recordlist::Field> fields;
        for (const auto& [key, data] : r.fields)
            fields.push_back({key, data});
        list.Append(fields);
    }
    return list.Bytes();
}

void StoreList(HANDLE printer, const char* valueName, const std::vector<std::uint8_t>& bytes)
{
    SetPrinterDataA(printer, const_cast<char*>(valueName), REG_BINARY, const_cast<BYTE*>(bytes.data()),
                    DWORD(bytes.size()));
}

std::vector<StoredRecord> ReadList(HANDLE printer, const char* valueName)
{
    DWORD type = 0, needed = 0;
    GetPrinterDataA(printer, const_cast<char*>(valueName), &type, nullptr, 0, &needed);
    std::vector<std::uint8_t> bytes(needed);
    if (needed == 0 ||
        GetPrinterDataA(printer, const_cast<char*>(valueName), &type, bytes.data(), needed, &needed) != ERROR_SUCCESS)
        return {};
    bytes.resize(needed);
    recordlist::RecordList list(std::move(bytes));
    std::vector<StoredRecord> records;
    for (bool more = list.Rewind(); more; more = list.Next()) {
        StoredRecord r;
        for (std::int16_t key = 1; key <= 16; ++key)
            if (const auto data = list.FieldData(key))
                r.fields[key].assign(data->begin(), data->end());
        records.push_back(std::move(r));
    }
    return records;
}

std::vector<std::int16_t> NumbersOf(const std::vector<StoredRecord>& records)
{
    std::vector<std::int16_t> numbers;
    for (const auto& r : records)
        numbers.push_back(r.Number());
    return numbers;
}

StoredRecord UserSize(std::int16_t number, const std::string& name, std::uint16_t width, std::uint16_t length,
                      std::uint16_t flags, std::uint16_t margin)
{
    StoredRecord r = NamedRecord(number, name);
    SetInt16(r, 3, std::int16_t(width));
    SetInt16(r, 4, std::int16_t(length));
    SetInt16(r, 5, std::int16_t(flags));
    SetInt16(r, 6, 0);
    std::vector<std::uint8_t> areas(32, 0);
    for (int q = 0; q < 4; ++q) {
        areas[8 * q + 4] = std::uint8_t(margin);
        areas[8 * q + 5] = std::uint8_t(margin >> 8);
    }
    r.fields[7] = areas;
    return r;
}

}  // namespace pagetest
