// The font summary cache file as bytes: a 28-byte header, the dialog library's texts, then the
// records (the devmode a summary was built for, its length, the summary), most recently used
// first. The file lies beside the driver files where every process that prints can write, so it
// is read as untrusted: every count and length is bounded by the file, and a file that does not
// parse is rebuilt, never used in part. No platform headers: fuzzed natively.
//
//   0  char[18] "Version 1.0.0.0 f" and a zero
//  18  u16      devmode size of the records (1256)
//  20  u16      number of records
//  22  u16      zero
//  24  u32      offset of the first record
//  28           texts, up to the first record
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fontcache {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kHeaderSize = 28;
inline constexpr std::size_t kVersionSize = 18;
inline constexpr char kVersionText[kVersionSize] = "Version 1.0.0.0 f";  // and its zero
inline constexpr std::size_t kDevmodeSize = 1256;
inline constexpr std::size_t kRecordHead = kDevmodeSize + 4;
// Records and summaries together stay within this.
inline constexpr std::size_t kRecordAreaCap = 102400;
// The texts between the header and the first record.
inline constexpr std::size_t kMaxTextBytes = 8192;
inline constexpr std::size_t kMaxFileSize = kHeaderSize + kMaxTextBytes + kRecordAreaCap;

struct Record {
    Bytes devmode;  // kDevmodeSize bytes
    Bytes summary;
    std::size_t Size() const { return kRecordHead + summary.size(); }
};

struct CacheImage {
    Bytes texts;
    std::vector<Record> records;  // most recently used first
};

// Whether a cached devmode answers for a document's devmode: device names (wide, any case), the
// four version and size words, print quality (both with DM_PRINTQUALITY), the private layout
// version, byte 605 both zero or both set, the model record name (narrow, any case) and the words
// at 352, 358 and 392. Devmodes shorter than kDevmodeSize never match.
bool KeyMatches(std::span<const std::uint8_t> cached, std::span<const std::uint8_t> document);

// The file's contents; nothing when the header, a count, an offset or a length does not fit the
// bytes or the caps, or bytes are left over after the last record.
std::optional<CacheImage> Parse(std::span<const std::uint8_t> file);

// The file for an image: header (the record count and first offset from it), texts, records.
Bytes Serialize(const CacheImage& image);

// A new image without records, holding the texts (each without its terminator), cut at
// kMaxTextBytes.
CacheImage NewImage(std::span<const Bytes> texts);

// The index of the first record that matches the devmode.
std::optional<std::size_t> Find(const CacheImage& image, std::span<const std::uint8_t> devmode);

// The record at index moves to the front; the others keep their order.
void MoveToFront(CacheImage& image, std::size_t index);

// Puts the summary for the devmode at the front, keeping the records before it in order while
// they fit the cap with it, and dropping the rest. False, with the image unchanged, when the
// record alone passes the cap or the devmode is not kDevmodeSize bytes.
bool Store(CacheImage& image, std::span<const std::uint8_t> devmode, std::span<const std::uint8_t> summary);

}  // namespace fontcache
