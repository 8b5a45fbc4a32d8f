// RGB565 pixel surfaces: an owning surface, a non-owning clipped view, fill and blits.
#pragma once

#include <cstdint>
#include <vector>

namespace trakvolt {

using Pixel565 = std::uint16_t;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom are exclusive

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  // Touching edges do not overlap.
  bool Overlaps(const Rect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  Rect Intersect(const Rect& o) const;
  bool operator==(const Rect&) const = default;
};

Rect Bounds(int x, int y, int w, int h);

// 8-bit channels to RGB565 by truncation.
constexpr Pixel565 Rgb565(unsigned r, unsigned g, unsigned b) {
  return static_cast<Pixel565>(((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3));
}
// A 0x00BBGGRR colour (red in the low byte) to RGB565.
constexpr Pixel565 ColorRefTo565(std::uint32_t c) {
  return Rgb565(c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
}

// A window onto pixels someone else owns. Drawing is clipped to `clip`.
struct SurfaceView {
  Pixel565* pixels = nullptr;
  int pitch = 0;  // pixels per row
  int width = 0, height = 0;
  Rect clip{};

  bool Valid() const { return pixels != nullptr && width > 0 && height > 0; }
  Pixel565& At(int x, int y) const { return pixels[y * pitch + x]; }
};

// An owned block of RGB565 pixels.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel565 fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Pixel565* Pixels() { return pixels_.data(); }
  const Pixel565* Pixels() const { return pixels_.data(); }
  Pixel565 At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  Pixel565& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  SurfaceView View();
  const SurfaceView ConstView() const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<Pixel565> pixels_;
};

// Fills `area` (clipped to the view) with one colour.
void Fill(const SurfaceView& dst, const Rect& area, Pixel565 color);
void Fill(const SurfaceView& dst, Pixel565 color);
// Cuts `src_rect` to the part of `src` that lands inside the destination's clip rectangle when
// its top-left is placed at (x, y), moving (x, y) with it. False when nothing is visible.
bool ClipBlit(const SurfaceView& dst, int& x, int& y, const SurfaceView& src, Rect& src_rect);
// Copies `src_rect` of `src` to (x, y) of `dst`, clipped to the destination's clip rectangle
// and the source's bounds.
void Blit(const SurfaceView& dst, int x, int y, const SurfaceView& src, const Rect& src_rect);
// The same, skipping every source pixel equal to `key`.
void BlitKeyed(const SurfaceView& dst, int x, int y, const SurfaceView& src, const Rect& src_rect,
               Pixel565 key);

}  // namespace trakvolt
