// 8-bit RGB(A) pictures: PNG reading and writing, and conversion to RGB565 surfaces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/surface.h"

namespace trakvolt {

// An 8-bit picture. Pixels are always stored as RGBA, 4 bytes each, row by row from the top;
// `has_alpha` says whether the file carried an alpha channel (otherwise alpha is 255).
struct RgbImage {
  int width = 0, height = 0;
  bool has_alpha = false;
  std::vector<std::uint8_t> rgba;

  std::uint8_t* At(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
  const std::uint8_t* At(int x, int y) const {
    return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
  }
};

// Makes a width x height picture filled with one opaque colour.
RgbImage MakeRgbImage(int width, int height, std::uint8_t r = 0, std::uint8_t g = 0,
                      std::uint8_t b = 0, bool has_alpha = false);

// Reads any PNG libpng understands, converted to 8-bit RGBA. Raises GameError when the file
// is missing, unreadable, not a PNG, or larger than 16384 pixels on a side.
RgbImage ReadPng(const std::string& path);
// Decodes a PNG held in memory; same rules as ReadPng.
RgbImage DecodePng(const std::vector<std::uint8_t>& bytes);

// Writes RGB565 pixels expanded to 8 bits by bit replication (so 0xFFFF becomes white and the
// picture reads back to the same RGB565 values). Raises GameError when the file can't be written.
void WritePng(const std::string& path, const Surface& surface);
// Writes RGB, or RGBA when `has_alpha` is set.
void WritePng(const std::string& path, const RgbImage& image);

// The picture in RGB565 (channels truncated); alpha is ignored.
Surface ToSurface565(const RgbImage& image);

// RGB565 expanded to 8-bit channels by bit replication.
constexpr std::uint8_t Expand5(unsigned v) {
  return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
constexpr std::uint8_t Expand6(unsigned v) {
  return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

}  // namespace trakvolt
