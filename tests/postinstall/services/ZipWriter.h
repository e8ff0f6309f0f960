// Small zip archives built in memory for the tests: stored or deflated entries with chosen names
// and times, and ways to damage them (CRC, stated size, data, local header, entry count).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

struct DosDateTime {
    int year = 2021;
    int month = 6;  // 1 to 12
    int day = 15;
    int hour = 10;
    int minute = 20;
    int second = 30;  // even: the format keeps two-second steps
};

struct Entry {
    std::string name;
    std::string data;
    bool deflate = false;
    DosDateTime time;
    bool zeroDate = false;  // a DOS date of 0, which names no day
    // Damage.
    std::optional<std::uint32_t> crc;         // stated instead of the data's CRC
    std::optional<std::uint32_t> size;        // stated uncompressed size instead of the real one
    std::optional<std::string> compressed;    // stored as the entry's data as it is
    bool badLocalHeader = false;              // the local header's signature is wrong
};

// Undamaged entries with the default time.
inline Entry Stored(std::string name, std::string data)
{
    Entry e;
    e.name = std::move(name);
    e.data = std::move(data);
    return e;
}

inline Entry Deflated(std::string name, std::string data)
{
    Entry e = Stored(std::move(name), std::move(data));
    e.deflate = true;
    return e;
}

inline void Put16(std::string& out, unsigned v)
{
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

inline void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline std::string RawDeflate(const std::string& data)
{
    z_stream z = {};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// The archive's bytes. statedCount, when given, is the entry count of the end record.
inline std::string BuildZip(const std::vector<Entry>& entries, std::optional<unsigned> statedCount = {})
{
    std::string out;
    std::string directory;
    for (const Entry& e : entries) {
        const std::uint32_t offset = std::uint32_t(out.size());
        const std::string packed = e.compressed ? *e.compressed : e.deflate ? RawDeflate(e.data) : e.data;
        const std::uint32_t crc =
            e.crc ? *e.crc : std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), uInt(e.data.size())));
        const std::uint32_t size = e.size ? *e.size : std::uint32_t(e.data.size());
        const unsigned method = e.deflate ? 8 : 0;
        const unsigned time = unsigned(e.time.hour << 11 | e.time.minute << 5 | e.time.second / 2);
        const unsigned date = e.zeroDate ? 0 : unsigned((e.time.year - 1980) << 9 | e.time.month << 5 | e.time.day);

        auto common = [&](std::string& h) {
            Put16(h, 20);  // version needed
            Put16(h, 0);   // flags
            Put16(h, method);
            Put16(h, time);
            Put16(h, date);
            Put32(h, crc);
            Put32(h, std::uint32_t(packed.size()));
            Put32(h, size);
            Put16(h, unsigned(e.name.size()));
            Put16(h, 0);  // extra field
        };
        Put32(out, e.badLocalHeader ? 0x04034b51 : 0x04034b50);
        common(out);
        out += e.name;
        out += packed;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);  // made by
        common(directory);
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, !e.name.empty() && e.name.back() == '/' ? 0x10 : 0);
        Put32(directory, offset);
        directory += e.name;
    }
    const std::uint32_t directoryOffset = std::uint32_t(out.size());
    out += directory;
    const unsigned count = statedCount ? *statedCount : unsigned(entries.size());
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, count);
    Put16(out, count);
    Put32(out, std::uint32_t(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);  // comment
    return out;
}

}  // namespace ziptest
