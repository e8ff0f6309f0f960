// QVToolKitFeedBack: the toolkit's report of what it downloaded to or removed from a printer.
#pragma once

#include <windows.h>

#include <cstdint>

namespace fontfiles {

inline constexpr std::uint32_t kStatusDone = 0;
inline constexpr std::uint32_t kStatusRefused = 2;

// Low 32 bits the command's result, high 32 bits the status.
std::uint64_t ToolKitFeedBack(void* reserved, const void* message);

}  // namespace fontfiles
