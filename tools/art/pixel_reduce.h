// Turns rendered RGBA into the archive's RGB565 pixels: colour key for coverage, ordered dither.
#pragma once

#include <cstdint>

#include "base/surface.h"
#include "rgba_image.h"

namespace trakvolt::art {

struct ReduceOptions {
  bool transparent = true;       // uncovered pixels become the key colour
  std::uint32_t key = 0xFF00FF;  // 0xRRGGBB
  bool dither = true;            // 8x8 Bayer dither instead of rounding
};

// The picture in RGB565. A pixel at least half covered is opaque (its colour is taken
// un-premultiplied, so edges carry no dark or key-coloured fringe); the others are the key.
// An opaque pixel that lands on the key's RGB565 value is moved to a neighbouring green so it
// is not punched out. Without transparency everything is composited over black.
Surface ReduceTo565(const RgbaImage& image, const ReduceOptions& options);

std::uint16_t KeyTo565(std::uint32_t rgb);

}  // namespace trakvolt::art
