// Builders and a walker for configuration data written by hand in the tests, independent of the
// cursor under test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DevmodeAccess.h"

namespace cfgtest {

using Bytes = std::vector<std::uint8_t>;

inline void PutU32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

inline std::uint32_t GetU32(const Bytes& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

// An element with a raw payload.
inline Bytes Raw(std::uint32_t id, const Bytes& payload)
{
    Bytes b;
    PutU32(b, id);
    PutU32(b, std::uint32_t(8 + payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A value element of 4 bytes.
inline Bytes Val(std::uint32_t id, std::uint32_t value)
{
    Bytes payload;
    PutU32(payload, value);
    return Raw(id, payload);
}

// A container of the given elements.
inline Bytes Elem(std::uint32_t id, std::initializer_list<Bytes> children)
{
    Bytes payload;
    for (const Bytes& c : children)
        payload.insert(payload.end(), c.begin(), c.end());
    return Raw(id, payload);
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// One leaf of a data tree: "1/B/2" (identifiers in hexadecimal) and its value. A payload shorter
// than a header is a value (the engine's values are 1 to 4 bytes); longer payloads are walked as
// elements.
struct Leaf {
    std::string path;
    std::uint32_t value;
    bool operator==(const Leaf&) const = default;
};

inline std::string Hex(std::uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", unsigned(v));
    return text;
}

inline bool Flatten(const Bytes& b, std::size_t begin, std::size_t end, const std::string& prefix,
                    std::vector<Leaf>& out)
{
    std::size_t at = begin;
    while (at < end) {
        if (end - at < 8)
            return false;
        const std::uint32_t id = GetU32(b, at);
        const std::uint32_t len = GetU32(b, at + 4);
        if (len < 8 || len > end - at)
            return false;
        const std::string path = prefix.empty() ? Hex(id) : prefix + "/" + Hex(id);
        if (len - 8 < 8) {
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < len - 8; ++i)
                v |= std::uint32_t(b[at + 8 + i]) << (8 * i);
            out.push_back({path, v});
        } else if (!Flatten(b, at + 8, at + len, path, out)) {
            return false;
        }
        at += len;
    }
    return true;
}

inline std::vector<Leaf> Leaves(const Bytes& b)
{
    std::vector<Leaf> out;
    if (!Flatten(b, 0, b.size(), "", out))
        out.push_back({"<malformed>", 0});
    return out;
}

inline const Leaf* FindLeaf(const std::vector<Leaf>& leaves, const std::string& path)
{
    for (const Leaf& l : leaves)
        if (l.path == path)
            return &l;
    return nullptr;
}

inline std::vector<std::uint32_t> ParsePath(const std::string& path)
{
    std::vector<std::uint32_t> ids;
    std::stringstream in(path);
    std::string part;
    while (std::getline(in, part, '/'))
        ids.push_back(std::uint32_t(std::stoul(part, nullptr, 16)));
    return ids;
}

// The first element (header included) at the path, e.g. "1/14/4", or nothing. With classes, a
// path identifier whose low word is 0 (such as 10000) stands for any member of its class.
inline Bytes FindElement(const Bytes& data, const std::string& path, bool classes = false)
{
    const auto matches = [classes](std::uint32_t id, std::uint32_t want) {
        if (id == want)
            return true;
        return classes && (want & 0xFFFF) == 0 && (want >> 16) != 0 && (id & 0xFFFF0000u) == want;
    };
    std::size_t begin = 0, end = data.size();
    Bytes found;
    for (std::uint32_t id : ParsePath(path)) {
        std::size_t at = begin;
        bool hit = false;
        while (end - at >= 8) {
            const std::uint32_t len = GetU32(data, at + 4);
            if (len < 8 || len > end - at)
                return {};
            if (matches(GetU32(data, at), id)) {
                found.assign(data.begin() + at, data.begin() + at + len);
                begin = at + 8;
                end = at + len;
                hit = true;
                break;
            }
            at += len;
        }
        if (!hit)
            return {};
    }
    return found;
}

inline void Set(Bytes& devmode, std::size_t offset, std::int16_t width, std::int64_t value)
{
    if (!dm::WriteDevmodeValue(devmode, offset, width, value))
        std::abort();
}

inline std::int64_t Get(const Bytes& devmode, std::size_t offset, std::int16_t width)
{
    return dm::ReadDevmodeValue(devmode, offset, width).value_or(INT64_MIN);
}

// A devmode of a monochrome model as the default builder would leave it: public defaults, the
// resolution list 300/600/1200 and the private bytes that are not zero by default.
inline Bytes DefaultDevmode()
{
    Bytes d(dm::kSize, 0);
    Set(d, 64, 2, 0x0401);
    Set(d, 66, 2, 0x1400);
    Set(d, 68, 2, 220);
    Set(d, 70, 2, 1036);
    Set(d, 72, 4, 0x04007703 | 0x8000);
    Set(d, 76, -2, 1);    // portrait
    Set(d, 78, -2, 9);    // A4
    Set(d, 86, -2, 1);    // copies
    Set(d, 88, -2, 7);    // tray code
    Set(d, 90, -2, 600);  // print quality
    Set(d, 92, -2, 1);    // monochrome
    Set(d, 94, -2, 1);    // simplex
    Set(d, 96, -2, 600);
    Set(d, 98, -2, 2);  // download TrueType
    Set(d, 100, -2, 1);
    Set(d, 196, 4, 1);
    Set(d, 200, 4, 3);
    Set(d, 220, 4, std::int32_t(0xBC97A4E2u));
    Set(d, 225, 1, 1);
    Set(d, 226, 1, 1);
    Set(d, 227, 1, 2);
    Set(d, 228, 1, 255);
    Set(d, 230, 1, 2);
    Set(d, 304, 2, 566);
    Set(d, 424, 4, std::int32_t(0xBC97A4E2u));
    Set(d, 432, 1, 255);
    Set(d, 434, 2, 2);
    Set(d, 436, 2, 300);
    Set(d, 438, 2, 600);
    Set(d, 440, 2, 1200);
    Set(d, 442, 2, 1200);
    Set(d, 444, 2, 1200);
    Set(d, 446, 2, 600);
    Set(d, 453, 1, 1);
    Set(d, 462, -2, -1);
    Set(d, 603, 1, 1);
    Set(d, 660, -1, 10);
    Set(d, 664, -1, 10);
    Set(d, 668, -1, 10);
    Set(d, 816, 4, std::int32_t(0x80000001u));
    Set(d, 1078, 1, 1);
    Set(d, 1090, 1, 1);
    Set(d, 1091, 1, 16);
    Set(d, 1093, 1, 1);
    Set(d, 1100, 4, 4);
    Set(d, 1104, 1, 1);
    Set(d, 1108, 4, 1);
    Set(d, 1252, 4, std::int32_t(0xBC97A4E2u));
    return d;
}

}  // namespace cfgtest
