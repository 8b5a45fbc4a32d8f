// RGB565 to 32-bit window pixels, plain and letterboxed.
#include "platform/screen_convert.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/present_choice.h"

namespace trakvolt::platform {

namespace {

// A channel mask covering exactly one byte gives that byte's shift.
std::optional<int> ByteShift(std::uint32_t mask) {
  if (mask == 0) return std::nullopt;
  const int shift = std::countr_zero(mask);
  if (shift % 8 != 0 || (mask >> shift) != 0xFFu) return std::nullopt;
  return shift;
}

// Kept free of branches so the compiler turns it into vector code.
void ConvertRow(const Pixel565* __restrict src, std::uint32_t* __restrict dst, int count,
                PixelLayout32 layout) {
  for (int i = 0; i < count; ++i) dst[i] = To32(src[i], layout);
}

}  // namespace

std::optional<PixelLayout32> LayoutFromMasks(std::uint32_t red, std::uint32_t green,
                                             std::uint32_t blue) {
  const auto r = ByteShift(red), g = ByteShift(green), b = ByteShift(blue);
  if (!r || !g || !b || *r == *g || *g == *b || *r == *b) return std::nullopt;
  return PixelLayout32{*r, *g, *b, ~(red | green | blue)};
}

void PresentInto(const SurfaceView& picture, const WindowPixels& window,
                 const PixelLayout32& layout) {
  if (picture.width <= 0 || picture.height <= 0 || window.width <= 0 || window.height <= 0) return;
  const auto row_of = [&](int y) {
    return window.pixels + static_cast<std::ptrdiff_t>(y) * window.pitch;
  };
  if (window.width == picture.width && window.height == picture.height) {
    for (int y = 0; y < picture.height; ++y)
      ConvertRow(picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.pitch, row_of(y),
                 picture.width, layout);
    return;
  }
  const Letterbox box = LetterboxIn(window.width, window.height, picture.width, picture.height);
  const std::uint32_t black = layout.fill;
  // Source column of each letterbox column, worked out once per frame.
  std::vector<int> columns(static_cast<std::size_t>(box.w));
  for (int x = 0; x < box.w; ++x)
    columns[static_cast<std::size_t>(x)] =
        static_cast<int>(std::int64_t{x} * picture.width / box.w);
  int last_sy = -1;
  for (int y = 0; y < window.height; ++y) {
    std::uint32_t* out = row_of(y);
    if (y < box.y || y >= box.y + box.h) {
      std::fill(out, out + window.width, black);
      continue;
    }
    const int sy = static_cast<int>(std::int64_t{y - box.y} * picture.height / box.h);
    std::fill(out, out + box.x, black);
    if (sy == last_sy) {
      // Enlarged, most picture rows cover two window rows or more: copy the one above.
      std::copy(row_of(y - 1) + box.x, row_of(y - 1) + box.x + box.w, out + box.x);
    } else {
      const Pixel565* src = picture.pixels + static_cast<std::ptrdiff_t>(sy) * picture.pitch;
      for (int x = 0; x < box.w; ++x)
        out[box.x + x] = To32(src[columns[static_cast<std::size_t>(x)]], layout);
    }
    last_sy = sy;
    std::fill(out + box.x + box.w, out + window.width, black);
  }
}

}  // namespace trakvolt::platform
