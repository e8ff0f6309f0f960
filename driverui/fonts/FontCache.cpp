#include "FontCache.h"

#include <algorithm>
#include <cstring>

namespace fontcache {
namespace {

constexpr std::uint32_t kPrintQualityField = 0x400;  // DM_PRINTQUALITY

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 2 <= b.size() ? std::uint16_t(b[at] | b[at + 1] << 8) : 0;
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at)
{
    return at + 4 <= b.size() ? std::uint32_t(U16(b, at)) | std::uint32_t(U16(b, at + 2)) << 16 : 0;
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    Put16(b, at, std::uint16_t(v));
    Put16(b, at + 2, std::uint16_t(v >> 16));
}

// Case folding of the device name's characters as the cache compares them: ASCII letters and the
// Latin-1 letters, which is what device names of this family hold.
std::uint16_t FoldWide(std::uint16_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return std::uint16_t(c - 32);
    return c;
}
std::uint8_t FoldNarrow(std::uint8_t c)
{
    return c >= 'a' && c <= 'z' ? std::uint8_t(c - 32) : c;
}

bool SameDeviceName(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint16_t x = U16(a, 2 * i), y = U16(b, 2 * i);
        if (FoldWide(x) != FoldWide(y))
            return false;
        if (x == 0)
            return true;
    }
    return true;
}

bool SameModelName(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    for (std::size_t i = 308; i < 308 + 32; ++i) {
        if (FoldNarrow(a[i]) != FoldNarrow(b[i]))
            return false;
        if (a[i] == 0)
            return true;
    }
    return true;
}

}  // namespace

bool KeyMatches(std::span<const std::uint8_t> cached, std::span<const std::uint8_t> document)
{
    if (cached.size() < kDevmodeSize || document.size() < kDevmodeSize)
        return false;
    // dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra: 64 to 71.
    for (std::size_t at : {64u, 66u, 68u, 70u})
        if (U16(cached, at) != U16(document, at))
            return false;
    // dmFields at 72, dmPrintQuality at 90.
    if (!(U32(cached, 72) & kPrintQualityField) || !(U32(document, 72) & kPrintQualityField) ||
        U16(cached, 90) != U16(document, 90))
        return false;
    if (U16(cached, 304) != U16(document, 304))
        return false;
    if ((cached[605] == 0) != (document[605] == 0))
        return false;
    for (std::size_t at : {352u, 358u, 392u})
        if (U16(cached, at) != U16(document, at))
            return false;
    return SameDeviceName(cached, document) && SameModelName(cached, document);
}

std::optional<CacheImage> Parse(std::span<const std::uint8_t> file)
{
    if (file.size() < kHeaderSize || file.size() > kMaxFileSize)
        return std::nullopt;
    if (std::memcmp(file.data(), kVersionText, kVersionSize) != 0 || U16(file, 18) != kDevmodeSize ||
        U16(file, 22) != 0)
        return std::nullopt;
    const std::size_t count = U16(file, 20);
    const std::size_t first = U32(file, 24);
    if (first < kHeaderSize || first > file.size() || first - kHeaderSize > kMaxTextBytes ||
        file.size() - first > kRecordAreaCap)
        return std::nullopt;
    CacheImage image;
    image.texts.assign(file.begin() + kHeaderSize, file.begin() + std::ptrdiff_t(first));
    std::size_t at = first;
    for (std::size_t i = 0; i < count; ++i) {
        if (file.size() - at < kRecordHead)
            return std::nullopt;
        const std::size_t length = U32(file, at + kDevmodeSize);
        if (length > file.size() - at - kRecordHead)
            return std::nullopt;
        Record r;
        r.devmode.assign(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + kDevmodeSize));
        r.summary.assign(file.begin() + std::ptrdiff_t(at + kRecordHead),
                         file.begin() + std::ptrdiff_t(at + kRecordHead + length));
        at += kRecordHead + length;
        image.records.push_back(std::move(r));
    }
    if (at != file.size())
        return std::nullopt;
    return image;
}

Bytes Serialize(const CacheImage& image)
{
    std::size_t total = kHeaderSize + image.texts.size();
    for (const Record& r : image.records)
        total += r.Size();
    Bytes out(kHeaderSize, 0);
    out.reserve(total);
    std::memcpy(out.data(), kVersionText, kVersionSize);
    Put16(out, 18, std::uint16_t(kDevmodeSize));
    Put16(out, 20, std::uint16_t(image.records.size()));
    Put32(out, 24, std::uint32_t(kHeaderSize + image.texts.size()));
    out.insert(out.end(), image.texts.begin(), image.texts.end());
    for (const Record& r : image.records) {
        out.insert(out.end(), r.devmode.begin(), r.devmode.end());
        const std::size_t at = out.size();
        out.resize(at + 4);
        Put32(out, at, std::uint32_t(r.summary.size()));
        out.insert(out.end(), r.summary.begin(), r.summary.end());
    }
    return out;
}

CacheImage NewImage(std::span<const Bytes> texts)
{
    CacheImage image;
    for (const Bytes& t : texts) {
        const std::size_t room = kMaxTextBytes - image.texts.size();
        image.texts.insert(image.texts.end(), t.begin(), t.begin() + std::ptrdiff_t(std::min(room, t.size())));
    }
    return image;
}

std::optional<std::size_t> Find(const CacheImage& image, std::span<const std::uint8_t> devmode)
{
    for (std::size_t i = 0; i < image.records.size(); ++i)
        if (KeyMatches(image.records[i].devmode, devmode))
            return i;
    return std::nullopt;
}

void MoveToFront(CacheImage& image, std::size_t index)
{
    if (index == 0 || index >= image.records.size())
        return;
    std::rotate(image.records.begin(), image.records.begin() + std::ptrdiff_t(index),
                image.records.begin() + std::ptrdiff_t(index + 1));
}

bool Store(CacheImage& image, std::span<const std::uint8_t> devmode, std::span<const std::uint8_t> summary)
{
    if (devmode.size() != kDevmodeSize || summary.size() > kRecordAreaCap - kRecordHead)
        return false;
    std::size_t used = kRecordHead + summary.size();
    std::size_t kept = 0;
    // The record count is a u16: the new record is one of them.
    while (kept < image.records.size() && kept + 1 < 0xFFFF && used + image.records[kept].Size() <= kRecordAreaCap)
        used += image.records[kept++].Size();
    image.records.resize(kept);
    Record r;
    r.devmode.assign(devmode.begin(), devmode.end());
    r.summary.assign(summary.begin(), summary.end());
    image.records.insert(image.records.begin(), std::move(r));
    return true;
}

}  // namespace fontcache
