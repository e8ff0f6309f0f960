#include "DevmodeLayout.h"

namespace devmode {
namespace {

constexpr std::array<std::uint16_t, 256> MakeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[i] = std::uint16_t(crc);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::string_view GetText(std::span<const std::uint8_t> d, Block b)
{
    const auto bytes = Slice(d, b);
    const auto* chars = reinterpret_cast<const char*>(bytes.data());
    std::size_t n = 0;
    while (n < bytes.size() && chars[n] != '\0')
        ++n;
    return {chars, n};
}

void SetText(std::span<std::uint8_t> d, Block b, std::string_view text)
{
    const auto bytes = MutableSlice(d, b);
    if (bytes.empty())
        return;
    const std::size_t n = std::min(text.size(), bytes.size() - 1);
    std::fill(bytes.begin(), bytes.end(), 0);
    std::copy_n(text.begin(), n, bytes.begin());
}

std::u16string GetWideText(std::span<const std::uint8_t> d, WideText t)
{
    std::u16string text;
    for (std::size_t i = 0; i < t.chars; ++i) {
        const std::size_t at = t.offset + 2 * i;
        if (at + 2 > d.size())
            break;
        const auto ch = char16_t(d[at] | d[at + 1] << 8);
        if (ch == 0)
            break;
        text.push_back(ch);
    }
    return text;
}

void SetWideText(std::span<std::uint8_t> d, WideText t, std::u16string_view text)
{
    if (t.end() > d.size() || t.chars == 0)
        return;
    const std::size_t n = std::min<std::size_t>(text.size(), t.chars - 1);
    for (std::size_t i = 0; i < t.chars; ++i) {
        const char16_t ch = i < n ? text[i] : u'\0';
        d[t.offset + 2 * i] = std::uint8_t(ch);
        d[t.offset + 2 * i + 1] = std::uint8_t(ch >> 8);
    }
}

bool IsDriverDevmode(std::span<const std::uint8_t> d)
{
    return d.size() >= kSize && Get(d, dmSpecVersion) == kSpecVersionValue &&
           Get(d, dmSize) == kPublicSize && Get(d, dmDriverExtra) == kPrivateSize &&
           Get(d, kSignature1) == kSignatureValue && Get(d, kSignature2) == kSignatureValue &&
           Get(d, kSignature3) == kSignatureValue && Get(d, kLayoutVersion) == kLayoutVersionValue;
}

std::uint16_t Crc16(std::span<const std::uint8_t> bytes)
{
    unsigned crc = 0;
    for (const std::uint8_t b : bytes) {
        const unsigned t = kCrcTable[crc >> 8];
        crc = (((crc & 0xFF) ^ (t >> 8)) << 8) | (b ^ (t & 0xFF));
    }
    return std::uint16_t(crc);
}

std::uint16_t ComputeChecksum(std::span<const std::uint8_t> d)
{
    if (d.size() < kChecksumEnd)
        return 0;
    return Crc16(d.subspan(kChecksumFirst, kChecksumEnd - kChecksumFirst));
}

void UpdateChecksum(std::span<std::uint8_t> d)
{
    Set(d, kChecksum, ComputeChecksum(d));
}

bool ChecksumMatches(std::span<const std::uint8_t> d)
{
    return d.size() >= kChecksum.end() && Get(d, kChecksum) == ComputeChecksum(d);
}

}  // namespace devmode
