// PNG files of screen captures, for the screenshot tools: 8-bit RGB, no filtering.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dialogtest {

// Pixels as 0x00RRGGBB, rows top down; false when the file could not be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace dialogtest
