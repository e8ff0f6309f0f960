// A record list as one printer value stores it: records of keyed fields, little-endian.
//
//   record:     u16 length (bytes, itself included), fields..., terminator
//   field:      i16 key (non-zero), u16 length (= data length + 5), data, one spare byte
//   terminator: i16 0, u16 5; five bytes counted, the fifth a spare byte
//
// so a record with fields of data lengths d1..dn is 7 + sum(di + 5) bytes. Stored values come
// from any process that can write printer data: every walk is bounded by the record and the
// list, and a malformed record ends the list there. No platform headers: this is fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace recordlist {

inline constexpr std::size_t kRecordHeader = 2;
inline constexpr std::size_t kFieldHeader = 4;
inline constexpr std::size_t kFieldOverhead = 5;  // header and spare byte
inline constexpr std::size_t kEmptyRecord = kRecordHeader + kFieldOverhead;
static_assert(kEmptyRecord == 7);

struct Field {
    std::int16_t key;
    std::span<const std::uint8_t> data;
};

// The record's length for fields of these data lengths; 0 when it does not fit the u16 length.
std::size_t RecordLength(std::span<const Field> fields);

class RecordList {
public:
    RecordList() = default;
    // Only the well-formed records at the start of bytes are kept: the list ends at the first
    // record whose length is below 7 or runs past the end.
    explicit RecordList(std::vector<std::uint8_t> bytes);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    bool Empty() const { return bytes_.empty(); }
    bool Changed() const { return changed_; }
    // True when the stored bytes held more than the well-formed records kept.
    bool Truncated() const { return truncated_; }

    // To the first record; true when there is one.
    bool Rewind();
    // To the next record; true while one remains. A list that was rewound and is empty, or
    // whose current record is the last, answers false and stays put.
    bool Next();
    bool HasCurrent() const { return current_ < bytes_.size(); }

    // The data of the current record's first field with that key.
    std::optional<std::span<const std::uint8_t>> FieldData(std::int16_t key) const;
    std::optional<std::int16_t> FieldInt16(std::int16_t key) const;
    std::optional<std::uint16_t> FieldUInt16(std::int16_t key) const;
    std::optional<std::uint32_t> FieldUInt32(std::int16_t key) const;
    // Narrow text up to its NUL or the field's end.
    std::optional<std::string> FieldText(std::int16_t key) const;

    // Removes the current record; the next one (if any) becomes current.
    void DeleteCurrent();
    void Clear();
    // Adds a record at the end and makes it current. False, with the list unchanged, for a key
    // of 0 or a record that would not fit its u16 length.
    bool Append(std::span<const Field> fields);

private:
    // The length of the record at pos when it is well formed and inside the list, else 0.
    std::size_t recordAt(std::size_t pos) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t current_ = 0;
    bool changed_ = false;
    bool truncated_ = false;
};

// Field data helpers for Append.
std::vector<std::uint8_t> Int16Data(std::int16_t value);
std::vector<std::uint8_t> UInt32Data(std::uint32_t value);
// The text with its NUL.
std::vector<std::uint8_t> TextData(const std::string& text);
// Bytes as upper-case hexadecimal text, two characters a byte, at most maxBytes bytes.
std::string HexText(std::span<const std::uint8_t> bytes, std::size_t maxBytes);

}  // namespace recordlist
