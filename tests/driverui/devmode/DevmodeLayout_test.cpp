// The devmode's checksum, validity test and bounded field access.
#include <gtest/gtest.h>

#include <string_view>

#include "DevmodeLayout.h"
#include "DevmodeTestUtil.h"

using namespace devmode;

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(DevmodeChecksum, CrcVectors)
{
    const struct {
        std::string_view text;
        std::uint16_t crc;
    } cases[] = {
        {"", 0x0000},
        {"abc", 0x1EE4},
        {"123456789", 0xBEEF},
        {std::string_view("\0\0\0", 3), 0x0000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Crc16(AsBytes(c.text)), c.crc) << '"' << c.text << '"';
}

TEST(DevmodeChecksum, CoversThePublicBytesFromTheSpecVersionOn)
{
    Buffer d{};
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = std::uint8_t(i * 7);
    UpdateChecksum(d);
    ASSERT_TRUE(ChecksumMatches(d));
    EXPECT_EQ(Get(d, kChecksum), Crc16(std::span(d).subspan(64, 156)));

    for (const std::size_t at : {0, 63, 220, 1223, 1226, 1255}) {
        Buffer changed = d;
        changed[at] ^= 0xFF;
        EXPECT_TRUE(ChecksumMatches(changed)) << "byte " << at << " is outside the checksum";
    }
    for (const std::size_t at : {64, 72, 219}) {
        Buffer changed = d;
        changed[at] ^= 0xFF;
        EXPECT_FALSE(ChecksumMatches(changed)) << "byte " << at << " is inside the checksum";
    }
    EXPECT_FALSE(ChecksumMatches(std::span(d).first(1225)));
}

Buffer ValidDevmode()
{
    Buffer d{};
    Set(d, dmSpecVersion, kSpecVersionValue);
    Set(d, dmSize, std::uint16_t(kPublicSize));
    Set(d, dmDriverExtra, std::uint16_t(kPrivateSize));
    Set(d, kSignature1, kSignatureValue);
    Set(d, kSignature2, kSignatureValue);
    Set(d, kSignature3, kSignatureValue);
    Set(d, kLayoutVersion, kLayoutVersionValue);
    return d;
}

TEST(DevmodeValidity, EveryMarkMustHold)
{
    ASSERT_TRUE(IsDriverDevmode(ValidDevmode()));
    const struct {
        const char* what;
        std::size_t offset;
        std::uint8_t xorMask;
    } breaks[] = {
        {"dmSpecVersion", 64, 0x01},  {"size", 68, 0x08},           {"driver extra", 70, 0x01},
        {"first signature", 220, 1}, {"second signature", 427, 1}, {"third signature", 1255, 0x80},
        {"layout version", 304, 1},
    };
    for (const auto& b : breaks) {
        Buffer d = ValidDevmode();
        d[b.offset] ^= b.xorMask;
        EXPECT_FALSE(IsDriverDevmode(d)) << b.what;
    }
    // The driver version and the checksum are not part of the test.
    Buffer d = ValidDevmode();
    Set(d, dmDriverVersion, std::uint16_t(0x0100));
    Set(d, kChecksum, std::uint16_t(0x1234));
    EXPECT_TRUE(IsDriverDevmode(d));
    // The marks at the end must be inside the buffer.
    const Buffer valid = ValidDevmode();
    EXPECT_FALSE(IsDriverDevmode(std::span(valid).first(kSize - 1)));
}

TEST(DevmodeFields, ReadsAndWritesStayInsideTheBuffer)
{
    std::uint8_t storage[80] = {};
    std::fill(std::begin(storage), std::end(storage), 0xAB);
    const std::span<std::uint8_t> d(storage, 72);
    EXPECT_EQ(Get(d, dmDriverExtra), 0xABAB);
    EXPECT_EQ(Get(d, dmFields), 0u) << "dmFields ends at 76, beyond the buffer";
    Set(d, dmFields, 0u);
    EXPECT_EQ(storage[72], 0xAB);
    Set(d, dmDriverExtra, std::uint16_t(0x1234));
    EXPECT_EQ(storage[70], 0x34);
    EXPECT_EQ(storage[71], 0x12);
    EXPECT_EQ(Get(d, I16{70}), 0x1234);
    Set(d, I16{68}, -2);
    EXPECT_EQ(Get(d, I16{68}), -2);
    EXPECT_EQ(Get(d, U16{68}), 0xFFFE);
}

TEST(DevmodeFields, TextsAreBoundedByTheirFields)
{
    Buffer d{};
    d.fill(0x55);
    SetText(d, kHoldNumber, "1234567");
    EXPECT_EQ(GetText(d, kHoldNumber), "1234") << "cut to leave the terminator";
    EXPECT_EQ(d[kHoldNumber.end()], 0x55) << "the next field is untouched";

    // A field without a terminator reads to its end and no further.
    std::fill_n(d.begin() + kModelName.offset, kModelName.size, 'M');
    EXPECT_EQ(GetText(d, kModelName), std::string(32, 'M'));

    SetWideText(d, kFirstPageOverlay, u"Watermark text longer than the thirty-two characters");
    EXPECT_EQ(GetWideText(d, kFirstPageOverlay).size(), 31u);
    EXPECT_EQ(d[kFirstPageOverlay.end()], 0x55);

    // Fields beyond a short buffer read as empty.
    EXPECT_EQ(GetText(std::span(d).first(250), kPrinterName), "");
    EXPECT_EQ(GetText(std::span(d).first(245), kModelName), "MMMMMM");
}

}  // namespace
