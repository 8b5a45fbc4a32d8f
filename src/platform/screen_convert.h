// The 800 x 600 RGB565 picture written into a window's 32-bit pixels: 1:1, or scaled into its
// letterbox in full screen.
#pragma once

#include <cstdint>
#include <optional>

#include "base/surface.h"

namespace trakvolt::platform {

// Where a 32-bit window pixel keeps its 8-bit red, green and blue; `fill` is every bit the
// three channels leave (alpha and padding), set in each pixel written.
struct PixelLayout32 {
  int red_shift = 16, green_shift = 8, blue_shift = 0;
  std::uint32_t fill = 0xFF000000u;
};

// The layout of a pixel format given by its channel masks; nothing unless red, green and blue
// are each one whole byte.
std::optional<PixelLayout32> LayoutFromMasks(std::uint32_t red, std::uint32_t green,
                                             std::uint32_t blue);

// One RGB565 pixel in the window's layout with the colours SDL gives it when it converts the
// texture for the renderer, so both paths show the same picture: red and blue v * 255 / 31
// rounded down, green from its top three bits the same way plus 4 for each of its low three.
// The multiply-and-shift forms give exactly those values and stay in 16 bits (vector code).
constexpr std::uint32_t To32(Pixel565 p, const PixelLayout32& layout) {
  const std::uint32_t r = p >> 11u, g = (p >> 5u) & 0x3Fu, b = p & 0x1Fu;
  const std::uint32_t r8 = (r * 1053u) >> 7u, b8 = (b * 1053u) >> 7u;
  const std::uint32_t g8 = (((g >> 3u) * 259u) >> 3u) + ((g & 7u) << 2u);
  return layout.fill | (r8 << layout.red_shift) | (g8 << layout.green_shift) |
         (b8 << layout.blue_shift);
}

// The window's pixels as this code sees them.
struct WindowPixels {
  std::uint32_t* pixels = nullptr;
  int pitch = 0;  // pixels per row
  int width = 0, height = 0;
};

// Writes the picture into the window: row by row when the sizes match, otherwise scaled to the
// letterbox (nearest pixel) with black bars around it.
void PresentInto(const SurfaceView& picture, const WindowPixels& window,
                 const PixelLayout32& layout);

}  // namespace trakvolt::platform
