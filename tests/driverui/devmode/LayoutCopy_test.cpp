// Copies between devmode layouts: what is copied, what each side keeps, and that nothing is read
// beyond what a devmode declares or a caller's buffer holds.
#include <gtest/gtest.h>

#include <numeric>

#include "DevmodeTestUtil.h"
#include "LayoutCopy.h"

using namespace devmode;
using dmtest::Bytes;

namespace {

// A devmode of the given sizes in a larger buffer whose bytes beyond it are 0xEE, so that a
// read past the devmode would carry 0xEE into the copy.
Bytes Devmode(std::uint16_t publicSize, std::uint16_t extra, std::uint16_t specVersion,
              std::uint8_t fill, std::size_t slack = 64)
{
    Bytes b(std::size_t(publicSize) + extra + slack, 0xEE);
    std::fill_n(b.begin(), publicSize + extra, fill);
    Set(b, dmSpecVersion, specVersion);
    Set(b, dmDriverVersion, std::uint16_t(0x0200));
    Set(b, dmSize, publicSize);
    Set(b, dmDriverExtra, extra);
    return b;
}

TEST(LayoutCopy, EffectiveVersionBySize)
{
    const struct {
        std::uint16_t size;
        std::uint16_t declared;
        std::uint16_t effective;
    } cases[] = {
        {212, 0x0000, 0x0400}, {212, 0x0401, 0x0400}, {220, 0x0300, 0x0401},
        {156, 0x0320, 0x0320}, {300, 0x0500, 0x0500}, {156, 0x0000, 0x0000},
    };
    for (const auto& c : cases) {
        const Bytes d = Devmode(c.size, 0, c.declared, 0);
        EXPECT_EQ(EffectiveVersion(d), c.effective) << "size " << c.size << " declared " << c.declared;
    }
    const Bytes d = Devmode(220, 0, 0x401, 0);
    EXPECT_EQ(EffectiveVersion(std::span(d).first(71)), 0);
}

TEST(LayoutCopy, OlderLayoutCopiesItsPublicBytesAndThePrivatePart)
{
    const Bytes old = Devmode(212, kPrivateSize, 0x0400, 0x11);
    Bytes out = Devmode(220, kPrivateSize, 0x0401, 0x00, 0);
    Set(out, dmDriverVersion, kDriverVersionValue);

    ASSERT_EQ(LayoutCopy(std::span(old).first(212 + kPrivateSize), out), int(212 + kPrivateSize));
    // Public bytes 0 to 211 come across; 212 to 219 stay the destination's.
    EXPECT_EQ(out[100], 0x11);
    EXPECT_EQ(out[211], 0x11);
    EXPECT_EQ(out[212], 0x00);
    EXPECT_EQ(out[219], 0x00);
    // The destination keeps its own sizes and driver version and carries its own dmSpecVersion.
    EXPECT_EQ(Get(out, dmSize), 220);
    EXPECT_EQ(Get(out, dmDriverExtra), kPrivateSize);
    EXPECT_EQ(Get(out, dmDriverVersion), kDriverVersionValue);
    EXPECT_EQ(Get(out, dmSpecVersion), kSpecVersionValue);
    // The private part follows each side's public part.
    EXPECT_EQ(out[220], 0x11);
    EXPECT_EQ(out[kSize - 1], 0x11);
}

TEST(LayoutCopy, CopiesTheSmallerOfEachPart)
{
    const struct {
        std::uint16_t sourceSize, sourceExtra, destSize, destExtra;
        int copied;
    } cases[] = {
        {220, 1036, 220, 1036, 1256},
        {220, 1036, 220, 0, 220},    // public-only destination
        {220, 100, 220, 1036, 320},  // smaller private part
        {212, 0, 220, 1036, 212},    // foreign public-only devmode
        {220, 1036, 212, 500, 712},  // into an older layout
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sourceSize << "+" << c.sourceExtra << " -> "
                                          << c.destSize << "+" << c.destExtra);
        const Bytes source = Devmode(c.sourceSize, c.sourceExtra, 0x0401, 0x22);
        Bytes dest = Devmode(c.destSize, c.destExtra, 0x0401, 0x00);
        ASSERT_EQ(LayoutCopy(source, dest), c.copied);
        const std::size_t destEnd = std::size_t(c.destSize) + c.destExtra;
        // Nothing beyond the source's declared end was read, nothing beyond the destination's
        // declared end written.
        EXPECT_EQ(std::count(dest.begin(), dest.begin() + destEnd, 0xEE), 0);
        EXPECT_TRUE(std::all_of(dest.begin() + destEnd, dest.end(), [](auto b) { return b == 0xEE; }));
        const std::size_t privateCopied = std::min(c.sourceExtra, c.destExtra);
        if (privateCopied != 0) {
            EXPECT_EQ(dest[c.destSize], 0x22);
            EXPECT_EQ(dest[c.destSize + privateCopied - 1], 0x22);
        }
        if (c.destExtra > privateCopied) {
            EXPECT_EQ(dest[c.destSize + privateCopied], 0x00);
        }
    }
}

TEST(LayoutCopy, ReadsNoFurtherThanTheCallersBuffer)
{
    // The source claims its whole layout, but its owner vouches for 300 bytes only.
    Bytes source = Devmode(220, kPrivateSize, 0x0401, 0x33);
    std::fill(source.begin() + 300, source.end(), 0xEE);
    Bytes dest = Devmode(220, kPrivateSize, 0x0401, 0x00, 0);
    ASSERT_EQ(LayoutCopy(std::span(source).first(300), dest), 300);
    EXPECT_EQ(dest[299], 0x33);
    EXPECT_EQ(dest[300], 0x00);
    EXPECT_EQ(std::count(dest.begin(), dest.end(), 0xEE), 0);
}

TEST(LayoutCopy, RefusesWhatItCannotDescribe)
{
    const Bytes good = Devmode(220, 0, 0x0401, 0x44);
    const struct {
        const char* what;
        Bytes source;
        Bytes dest;
    } cases[] = {
        {"source of version 0", Devmode(156, 0, 0, 0x44), Devmode(220, 0, 0x0401, 0)},
        {"destination of version 0", good, Devmode(156, 0, 0, 0)},
        {"source shorter than its size fields", Bytes(good.begin(), good.begin() + 70),
         Devmode(220, 0, 0x0401, 0)},
        {"source whose size cannot hold its own fields", Devmode(40, 0, 0x0401, 0x44),
         Devmode(220, 0, 0x0401, 0)},
    };
    for (const auto& c : cases) {
        Bytes dest = c.dest;
        EXPECT_EQ(LayoutCopy(c.source, dest), -1) << c.what;
        EXPECT_EQ(dest, c.dest) << c.what << ": destination untouched";
    }
}

TEST(LayoutCopy, WidenedInputReadsAsZerosBeyondItsEnd)
{
    Bytes old = Devmode(212, 0, 0x0400, 0x55);
    const auto wide = Widen(std::span(old).first(212));
    ASSERT_TRUE(wide);
    EXPECT_EQ(Get(*wide, dmSize), kPublicSize);
    EXPECT_EQ(Get(*wide, dmDriverExtra), kPrivateSize);
    EXPECT_EQ(Get(*wide, dmSpecVersion), kSpecVersionValue);
    EXPECT_EQ(Get(*wide, dmDriverVersion), 0x0200);
    EXPECT_EQ((*wide)[211], 0x55);
    EXPECT_TRUE(std::all_of(wide->begin() + 212, wide->end(), [](auto b) { return b == 0; }));
    EXPECT_FALSE(Widen(std::span(old).first(60)));
}

TEST(LayoutCopy, CallerGetsTheSizesOfTheSmallerLayout)
{
    Bytes working = Devmode(220, kPrivateSize, 0x0401, 0x66, 0);
    Set(working, dmDriverVersion, kDriverVersionValue);

    // An older, public-only input: the output takes 212 public bytes and no private part.
    const Bytes input = Devmode(212, 0, 0x0400, 0);
    Bytes output(kSize + 8, 0xEE);
    ASSERT_EQ(CopyForCaller(working, input, output), 212);
    EXPECT_EQ(Get(output, dmSize), 212);
    EXPECT_EQ(Get(output, dmDriverExtra), 0);
    EXPECT_EQ(Get(output, dmSpecVersion), kOldSpecVersionValue);
    EXPECT_EQ(Get(output, dmDriverVersion), 0x0200);
    EXPECT_EQ(output[211], 0x66);
    EXPECT_EQ(output[212], 0xEE);

    // No input: the whole working devmode.
    std::fill(output.begin(), output.end(), 0xEE);
    ASSERT_EQ(CopyForCaller(working, {}, output), int(kSize));
    EXPECT_TRUE(std::equal(working.begin(), working.end(), output.begin()));
    EXPECT_EQ(output[kSize], 0xEE);

    // An output too small for the layout it would get.
    Bytes small(kSize - 1, 0);
    EXPECT_EQ(CopyForCaller(working, {}, small), -1);
}

}  // namespace
