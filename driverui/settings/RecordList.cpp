#include "RecordList.h"

#include <algorithm>

namespace recordlist {

namespace {

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::size_t RecordLength(std::span<const Field> fields)
{
    std::size_t length = kEmptyRecord;
    for (const Field& f : fields) {
        if (f.data.size() > 0xFFFF - kFieldOverhead)
            return 0;
        length += f.data.size() + kFieldOverhead;
        if (length > 0xFFFF)
            return 0;
    }
    return length;
}

RecordList::RecordList(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes))
{
    std::size_t pos = 0;
    for (std::size_t length; pos < bytes_.size() && (length = recordAt(pos)) != 0;)
        pos += length;
    if (pos < bytes_.size()) {
        bytes_.resize(pos);
        truncated_ = true;
    }
}

std::size_t RecordList::recordAt(std::size_t pos) const
{
    if (pos > bytes_.size() || bytes_.size() - pos < kEmptyRecord)
        return 0;
    const std::size_t length = U16(bytes_, pos);
    if (length < kEmptyRecord || length > bytes_.size() - pos)
        return 0;
    return length;
}

bool RecordList::Rewind()
{
    current_ = 0;
    return recordAt(0) != 0;
}

bool RecordList::Next()
{
    const std::size_t length = recordAt(current_);
    if (length == 0)
        return false;
    if (recordAt(current_ + length) == 0)
        return false;
    current_ += length;
    return true;
}

std::optional<std::span<const std::uint8_t>> RecordList::FieldData(std::int16_t key) const
{
    const std::size_t length = recordAt(current_);
    if (length == 0 || key == 0)
        return std::nullopt;
    const std::size_t end = current_ + length;
    for (std::size_t pos = current_ + kRecordHeader; end - pos >= kFieldHeader;) {
        const auto fieldKey = static_cast<std::int16_t>(U16(bytes_, pos));
        const std::size_t fieldLength = U16(bytes_, pos + 2);
        if (fieldKey == 0 || fieldLength < kFieldOverhead || fieldLength > end - pos)
            break;
        if (fieldKey == key)
            return std::span<const std::uint8_t>(bytes_.data() + pos + kFieldHeader, fieldLength - kFieldOverhead);
        pos += fieldLength;
    }
    return std::nullopt;
}

std::optional<std::int16_t> RecordList::FieldInt16(std::int16_t key) const
{
    const auto value = FieldUInt16(key);
    return value ? std::optional<std::int16_t>(static_cast<std::int16_t>(*value)) : std::nullopt;
}

std::optional<std::uint16_t> RecordList::FieldUInt16(std::int16_t key) const
{
    const auto data = FieldData(key);
    if (!data || data->size() < 2)
        return std::nullopt;
    return static_cast<std::uint16_t>((*data)[0] | ((*data)[1] << 8));
}

std::optional<std::uint32_t> RecordList::FieldUInt32(std::int16_t key) const
{
    const auto data = FieldData(key);
    if (!data || data->size() < 4)
        return std::nullopt;
    return static_cast<std::uint32_t>((*data)[0] | ((*data)[1] << 8) | ((*data)[2] << 16)) |
           (static_cast<std::uint32_t>((*data)[3]) << 24);
}

std::optional<std::string> RecordList::FieldText(std::int16_t key) const
{
    const auto data = FieldData(key);
    if (!data)
        return std::nullopt;
    const auto nul = std::find(data->begin(), data->end(), std::uint8_t(0));
    return std::string(data->begin(), nul);
}

void RecordList::DeleteCurrent()
{
    const std::size_t length = recordAt(current_);
    if (length == 0)
        return;
    bytes_.erase(bytes_.begin() + std::ptrdiff_t(current_), bytes_.begin() + std::ptrdiff_t(current_ + length));
    if (bytes_.empty())
        bytes_.shrink_to_fit();
    changed_ = true;
}

void RecordList::Clear()
{
    if (!bytes_.empty())
        changed_ = true;
    bytes_.clear();
    bytes_.shrink_to_fit();
    current_ = 0;
}

bool RecordList::Append(std::span<const Field> fields)
{
    const std::size_t length = RecordLength(fields);
    if (length == 0)
        return false;
    for (const Field& f : fields)
        if (f.key == 0)
            return false;
    const std::size_t start = bytes_.size();
    bytes_.resize(start + length, 0);
    PutU16(bytes_, start, static_cast<std::uint16_t>(length));
    std::size_t pos = start + kRecordHeader;
    for (const Field& f : fields) {
        PutU16(bytes_, pos, static_cast<std::uint16_t>(f.key));
        PutU16(bytes_, pos + 2, static_cast<std::uint16_t>(f.data.size() + kFieldOverhead));
        std::copy(f.data.begin(), f.data.end(), bytes_.begin() + std::ptrdiff_t(pos + kFieldHeader));
        pos += f.data.size() + kFieldOverhead;
    }
    PutU16(bytes_, pos, 0);
    PutU16(bytes_, pos + 2, static_cast<std::uint16_t>(kFieldOverhead));
    current_ = start;
    changed_ = true;
    return true;
}

std::vector<std::uint8_t> Int16Data(std::int16_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
}

std::vector<std::uint8_t> UInt32Data(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> TextData(const std::string& text)
{
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

std::string HexText(std::span<const std::uint8_t> bytes, std::size_t maxBytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < maxBytes; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    return text;
}

}  // namespace recordlist
