#include <gtest/gtest.h>

#include "CfgTestUtil.h"
#include "DevmodeAccess.h"

using namespace cfgtest;

namespace {

struct WidthCase {
    std::int16_t width;
    Bytes stored;  // at offset 2 of a 6-byte buffer
    std::int64_t value;
};

const WidthCase kWidthCases[] = {
    {1, {0xFF}, 255},
    {-1, {0xFF}, -1},
    {-1, {0x7F}, 127},
    {2, {0xFF, 0xFF}, 65535},
    {-2, {0xFF, 0xFF}, -1},
    {-2, {0x00, 0x80}, -32768},
    {4, {0xE2, 0xA4, 0x97, 0xBC}, std::int32_t(0xBC97A4E2u)},
    {-4, {0x01, 0x00, 0x00, 0x80}, std::int32_t(0x80000001u)},
    {4, {0x00, 0x00, 0x01, 0x00}, 0x10000},
    // Any other code is one unsigned byte.
    {3, {0xFE}, 254},
    {0, {0x80}, 128},
};

TEST(DevmodeAccess, ReadsAndWritesEachWidthLittleEndian)
{
    for (const WidthCase& c : kWidthCases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << " value " << c.value);
        Bytes buf(6, 0x55);
        std::copy(c.stored.begin(), c.stored.end(), buf.begin() + 2);
        EXPECT_EQ(dm::ReadDevmodeValue(buf, 2, c.width), c.value);

        Bytes written(6, 0x55);
        ASSERT_TRUE(dm::WriteDevmodeValue(written, 2, c.width, c.value));
        EXPECT_EQ(written, buf) << "only the field's bytes change";
    }
}

TEST(DevmodeAccess, NeverTouchesBytesOutsideTheBuffer)
{
    Bytes buf(4, 0x11);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, 3, 2), std::nullopt);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, 1, 4), std::nullopt);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, 4, 1), std::nullopt);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, SIZE_MAX, 1), std::nullopt);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, SIZE_MAX - 1, 4), std::nullopt);
    EXPECT_EQ(dm::ReadDevmodeValue(buf, 0, 4), 0x11111111);
    EXPECT_FALSE(dm::WriteDevmodeValue(buf, 3, -2, 1));
    EXPECT_FALSE(dm::WriteDevmodeValue(buf, SIZE_MAX - 1, 4, 1));
    EXPECT_FALSE(dm::WriteDevmodeValue(std::span<std::uint8_t>(), 0, 1, 1));
    EXPECT_EQ(buf, Bytes(4, 0x11));
}

TEST(DevmodeAccess, RefusesValuesThatWouldBeCut)
{
    struct Case {
        std::int16_t width;
        std::int64_t value;
        bool fits;
    };
    const Case cases[] = {
        {1, 255, true},         {1, 256, false},         {1, -1, false},
        {-1, -128, true},       {-1, 128, false},        {2, 0xFFFF, true},
        {2, 0x12345, false},    {2, -1, false},          {-2, -32768, true},
        {-2, 0x12345, false},   {-2, 32768, false},      {4, 0xFFFFFFFFLL, true},
        {-4, INT32_MIN, true},  {4, 0x100000000LL, false}, {7, 300, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << " value " << c.value);
        EXPECT_EQ(dm::FitsWidth(c.value, c.width), c.fits);
        Bytes buf(4, 0x22);
        EXPECT_EQ(dm::WriteDevmodeValue(buf, 0, c.width, c.value), c.fits);
        if (!c.fits) {
            EXPECT_EQ(buf, Bytes(4, 0x22));
        }
    }
}

}  // namespace
