// Colour keying, ordered dithering and the key-collision nudge for RGB565 output.
#include "pixel_reduce.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace trakvolt::art {
namespace {

// Classic recursive 8x8 Bayer matrix, values 0..63.
constexpr std::array<std::array<int, 8>, 8> kBayer{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

// The 8-bit value a level of a `bits`-wide channel shows as (bit replication).
unsigned Expand(unsigned level, unsigned bits) {
  return (level << (8 - bits)) | (level >> (2 * bits - 8));
}

// Picks the level at or below `value` or the one above it: the fraction of the way to the next
// level is compared with the dither threshold, so a colour that is exactly a level stays put
// and colours between two levels mix them in proportion.
unsigned Quantise(unsigned value, unsigned bits, double threshold) {
  const unsigned top = (1u << bits) - 1;
  unsigned level = value >> (8 - bits);
  if (Expand(level, bits) > value) --level;
  if (level >= top) return top;
  const unsigned lo = Expand(level, bits), hi = Expand(level + 1, bits);
  const double fraction = static_cast<double>(value - lo) / static_cast<double>(hi - lo);
  return fraction >= threshold ? level + 1 : level;
}

}  // namespace

std::uint16_t KeyTo565(std::uint32_t rgb) {
  return Rgb565((rgb >> 16) & 0xFFu, (rgb >> 8) & 0xFFu, rgb & 0xFFu);
}

Surface ReduceTo565(const RgbaImage& image, const ReduceOptions& options) {
  const std::uint16_t key = KeyTo565(options.key);
  Surface out(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgba& p = image.At(x, y);
      Pixel565& dst = out.At(x, y);
      unsigned r = p.r, g = p.g, b = p.b;
      if (options.transparent) {
        if (p.a < 128) {
          dst = key;
          continue;
        }
      } else {
        r = (r * p.a + 127) / 255;
        g = (g * p.a + 127) / 255;
        b = (b * p.a + 127) / 255;
      }
      const double t = options.dither ? (kBayer[y & 7][x & 7] + 0.5) / 64.0 : 0.5;
      dst = static_cast<std::uint16_t>((Quantise(r, 5, t) << 11) | (Quantise(g, 6, t) << 5) |
                                       Quantise(b, 5, t));
      if (options.transparent && dst == key) dst ^= 1u << 5;  // flip the lowest green bit
    }
  }
  return out;
}

}  // namespace trakvolt::art
