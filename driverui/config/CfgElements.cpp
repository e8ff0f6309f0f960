#include "CfgElements.h"

#include <algorithm>
#include <array>

#include "ConfigData.h"

namespace cfgelem {

namespace {

CfgResult CursorResult(const ElementCursor& c)
{
    return c.error() != ElementCursor::ErrNone ? kCfgFailed : kCfgNothing;
}

}  // namespace

CfgResult AbandonTo(ElementCursor& c, std::size_t depth)
{
    while (c.depth() > depth)
        if (!c.AbandonElement())
            return kCfgFailed;
    return CursorResult(c);
}

CfgResult WriteValueElement(CfgWork& w, std::uint32_t id, std::int64_t value, std::uint16_t size)
{
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    const std::size_t n = std::clamp<std::size_t>(size, 1, cfgdata::kMaxValueSize);
    std::array<std::uint8_t, cfgdata::kMaxValueSize> bytes{};
    const auto raw = std::uint32_t(value);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = std::uint8_t(raw >> (8 * i));
    if (c.BeginElement(id) && c.WriteValue(std::span(bytes).first(n)) && c.EndElement())
        return kCfgDone;
    const CfgResult r = AbandonTo(c, depth);
    return r < 0 ? r : kCfgFailed;
}

CfgResult WriteStringElement(CfgWork& w, std::uint32_t id, std::span<const std::uint8_t> text,
                             std::uint32_t value)
{
    if (text.empty())
        return kCfgNothing;
    ElementCursor& c = *w.cursor;
    const std::size_t depth = c.depth();
    std::array<std::uint8_t, 4> valueBytes{};
    for (std::size_t i = 0; i < valueBytes.size(); ++i)
        valueBytes[i] = std::uint8_t(value >> (8 * i));
    if (c.BeginElement(id) && c.BeginElement(1) && c.BeginElement(1) && c.WriteValue(text) &&
        c.EndElement() && c.BeginElement(2) && c.WriteValue(valueBytes) && c.EndElement() &&
        c.EndElement() && c.EndElement())
        return kCfgDone;
    const CfgResult r = AbandonTo(c, depth);
    return r < 0 ? r : kCfgFailed;
}

std::optional<std::int32_t> ReadDataValue(ElementCursor& c)
{
    std::array<std::uint8_t, cfgdata::kMaxValueSize> bytes{};
    const std::size_t n = c.ReadValue(bytes);
    if (n == 0)
        return std::nullopt;
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < n; ++i)
        raw |= std::uint32_t(bytes[i]) << (8 * i);
    return std::int32_t(raw);
}

std::optional<std::int32_t> ReadExactValue(ElementCursor& c)
{
    // One byte more than a value may have tells a longer payload apart.
    std::array<std::uint8_t, cfgdata::kMaxValueSize + 1> bytes{};
    const std::size_t n = c.ReadValue(bytes);
    if (n == 0 || n > cfgdata::kMaxValueSize)
        return std::nullopt;
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < n; ++i)
        raw |= std::uint32_t(bytes[i]) << (8 * i);
    return std::int32_t(raw);
}

namespace {

std::vector<std::uint8_t> ReadRawBytes(ElementCursor& c, std::size_t maxBytes)
{
    std::vector<std::uint8_t> bytes(maxBytes);
    bytes.resize(c.ReadValue(bytes));
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> ReadStringElement(ElementCursor& c, std::size_t maxBytes)
{
    std::uint32_t id = 0;
    if (c.NextElement(id)) {
        if (id == 1) {
            std::vector<std::uint8_t> text;
            std::uint32_t inner = 0;
            while (c.NextElement(inner)) {
                if (inner == 1)
                    text = ReadRawBytes(c, maxBytes);
                c.EndElement();
            }
            c.EndElement();
            return text;
        }
        c.EndElement();
    }
    c.Rewind();
    return ReadRawBytes(c, maxBytes);
}

std::string NarrowText(std::span<const std::uint8_t> bytes)
{
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t(0));
    return std::string(bytes.begin(), end);
}

}  // namespace cfgelem
