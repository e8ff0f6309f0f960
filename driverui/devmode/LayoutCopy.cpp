#include "LayoutCopy.h"

#include <algorithm>

namespace devmode {
namespace {

struct Sizes {
    std::size_t publicSize;
    std::size_t privateSize;
};

Sizes DeclaredSizes(std::span<const std::uint8_t> d)
{
    return {Get(d, dmSize), Get(d, dmDriverExtra)};
}

// The private bytes after the public part, as far as the span holds them.
std::size_t PrivateAvailable(std::span<const std::uint8_t> d, Sizes s)
{
    return d.size() > s.publicSize ? std::min(s.privateSize, d.size() - s.publicSize) : 0;
}

}  // namespace

std::uint16_t EffectiveVersion(std::span<const std::uint8_t> d)
{
    if (d.size() < kHeaderSize)
        return 0;
    switch (Get(d, dmSize)) {
    case kOldPublicSize:
        return kOldSpecVersionValue;
    case kPublicSize:
        return kSpecVersionValue;
    default:
        return Get(d, dmSpecVersion);
    }
}

std::size_t DeclaredSize(std::span<const std::uint8_t> d)
{
    if (d.size() < kHeaderSize)
        return 0;
    const Sizes s = DeclaredSizes(d);
    return s.publicSize + s.privateSize;
}

std::span<const std::uint8_t> DeclaredBytes(std::span<const std::uint8_t> d)
{
    if (d.size() < kHeaderSize || Get(d, dmSize) < kHeaderSize)
        return {};
    return d.first(std::min(d.size(), DeclaredSize(d)));
}

int LayoutCopy(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination)
{
    const std::uint16_t sourceVersion = EffectiveVersion(source);
    const std::uint16_t destinationVersion = EffectiveVersion(destination);
    const auto s = DeclaredBytes(source);
    const auto declared = DeclaredBytes(destination);
    if (sourceVersion == 0 || destinationVersion == 0 || s.empty() || declared.empty())
        return -1;
    const std::span<std::uint8_t> d = destination.first(declared.size());
    const Sizes ss = DeclaredSizes(s);
    const Sizes ds = DeclaredSizes(d);

    const std::uint16_t ownSize = Get(d, dmSize);
    const std::uint16_t ownExtra = Get(d, dmDriverExtra);
    const std::uint16_t ownDriverVersion = Get(d, dmDriverVersion);
    const std::size_t publicBytes =
        std::min({ss.publicSize, ds.publicSize, s.size(), d.size()});
    std::copy_n(s.begin(), publicBytes, d.begin());
    Set(d, dmSize, ownSize);
    Set(d, dmDriverExtra, ownExtra);
    Set(d, dmDriverVersion, ownDriverVersion);
    Set(d, dmSpecVersion, destinationVersion);

    const std::size_t privateBytes =
        std::min(PrivateAvailable(s, ss), PrivateAvailable(d, ds));
    std::copy_n(s.begin() + ss.publicSize, privateBytes, d.begin() + ds.publicSize);
    return static_cast<int>(publicBytes + privateBytes);
}

std::optional<Buffer> Widen(std::span<const std::uint8_t> input)
{
    if (DeclaredBytes(input).empty())
        return std::nullopt;
    Buffer wide{};
    Set(wide, dmSpecVersion, kSpecVersionValue);
    Set(wide, dmDriverVersion, Get(input, dmDriverVersion));
    Set(wide, dmSize, std::uint16_t(kPublicSize));
    Set(wide, dmDriverExtra, std::uint16_t(kPrivateSize));
    if (LayoutCopy(input, wide) < 0)
        return std::nullopt;
    return wide;
}

int CopyForCaller(std::span<const std::uint8_t> working, std::span<const std::uint8_t> input,
                  std::span<std::uint8_t> output)
{
    const std::size_t whole = DeclaredBytes(working).size();
    if (whole == 0 || whole != DeclaredSize(working))
        return -1;
    if (EffectiveVersion(input) == 0 || DeclaredBytes(input).empty()) {
        if (output.size() < whole)
            return -1;
        std::copy_n(working.begin(), whole, output.begin());
        return static_cast<int>(whole);
    }
    if (output.size() < kHeaderSize)
        return -1;
    const bool inputPublicSmaller = Get(input, dmSize) < Get(working, dmSize);
    const bool inputPrivateSmaller = Get(input, dmDriverExtra) < Get(working, dmDriverExtra);
    const auto& sizeFrom = inputPublicSmaller ? input : working;
    const auto& extraFrom = inputPrivateSmaller ? input : working;
    const std::size_t needed = std::size_t(Get(sizeFrom, dmSize)) + Get(extraFrom, dmDriverExtra);
    if (output.size() < needed)
        return -1;
    Set(output, dmSpecVersion, Get(sizeFrom, dmSpecVersion));
    Set(output, dmSize, Get(sizeFrom, dmSize));
    Set(output, dmDriverVersion, Get(extraFrom, dmDriverVersion));
    Set(output, dmDriverExtra, Get(extraFrom, dmDriverExtra));
    return LayoutCopy(working, output);
}

}  // namespace devmode
