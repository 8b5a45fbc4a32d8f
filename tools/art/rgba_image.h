// A straight (not premultiplied) RGBA picture in 8-bit channels: what the renderers produce.
#pragma once

#include <cstdint>
#include <vector>

namespace trakvolt::art {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct RgbaImage {
  int width = 0, height = 0;
  std::vector<Rgba> pixels;  // row-major, width * height

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
  Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Copies `src` into `dst` with its top-left at (x, y); the caller makes sure it fits.
inline void Paste(RgbaImage& dst, const RgbaImage& src, int x, int y) {
  for (int row = 0; row < src.height; ++row)
    for (int col = 0; col < src.width; ++col) dst.At(x + col, y + row) = src.At(col, row);
}

}  // namespace trakvolt::art
