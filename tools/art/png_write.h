// Writes 8-bit RGB PNG files with libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trakvolt::art {

// Writes RGB565 pixels (width * height, row-major) expanded to 8-bit RGB.
// Throws std::runtime_error naming the file on failure.
void WritePng565(const std::string& path, int width, int height, const std::vector<std::uint16_t>& pixels);

}  // namespace trakvolt::art
