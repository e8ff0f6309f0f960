#include "RenderingDriver.h"

#include <climits>

#include "EscapeReplies.h"

namespace docevents {
namespace {

int ClampedSize(std::size_t size)
{
    return size > std::size_t(INT_MAX) ? INT_MAX : int(size);
}

}  // namespace

bool RenderingDriver::Supports(int escape) const
{
    const std::int32_t number = escape;
    return ExtEscape(dc_, kQueryEscSupport, sizeof number, reinterpret_cast<LPCSTR>(&number), 0, nullptr) > 0;
}

int RenderingDriver::Send(int escape, std::span<const std::uint8_t> input, std::span<std::uint8_t> output) const
{
    return ExtEscape(dc_, escape, ClampedSize(input.size()), reinterpret_cast<LPCSTR>(input.data()),
                     ClampedSize(output.size()), reinterpret_cast<LPSTR>(output.data()));
}

std::optional<int> RenderingDriver::SendIfSupported(int escape, std::span<const std::uint8_t> input,
                                                    std::span<std::uint8_t> output) const
{
    if (!Supports(escape))
        return std::nullopt;
    return Send(escape, input, output);
}

std::optional<std::uint32_t> RenderingDriver::ReadValue(int escape) const
{
    std::uint32_t value = 0;
    const auto answer = SendIfSupported(escape, {}, {reinterpret_cast<std::uint8_t*>(&value), sizeof value});
    if (!answer || *answer <= 0)
        return std::nullopt;
    return value;
}

}  // namespace docevents
