// The rendering driver QVTDX5DD.DLL as the document events reach it: private escapes on the job's
// device context, each asked about with QUERYESCSUPPORT first. The one place that calls
// ExtEscape; the replies it hands back are the caller's buffers, never longer than asked for.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace docevents {

class RenderingDriver {
public:
    explicit RenderingDriver(HDC dc) : dc_(dc) {}

    HDC Dc() const { return dc_; }

    // Whether the driver answers QUERYESCSUPPORT for the escape with non-zero.
    bool Supports(int escape) const;

    // The escape with its input and output buffers; its answer (0 or below: failed).
    int Send(int escape, std::span<const std::uint8_t> input = {}, std::span<std::uint8_t> output = {}) const;

    // Supports, then Send: nothing when the escape is not supported.
    std::optional<int> SendIfSupported(int escape, std::span<const std::uint8_t> input = {},
                                       std::span<std::uint8_t> output = {}) const;

    // A 4-byte reply of a supported escape that answered above 0.
    std::optional<std::uint32_t> ReadValue(int escape) const;

private:
    HDC dc_;
};

// Bytes of a value as an escape input.
template <class T>
std::span<const std::uint8_t> BytesOf(const T& value)
{
    return {reinterpret_cast<const std::uint8_t*>(&value), sizeof value};
}

}  // namespace docevents
