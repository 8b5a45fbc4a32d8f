// RGB565 surfaces and the clipped fill and blit routines.
#include "base/surface.h"

#include <algorithm>
#include <cstring>

namespace trakvolt {

Rect Rect::Intersect(const Rect& o) const {
  Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
         std::min(bottom, o.bottom)};
  if (r.Empty()) return Rect{};
  return r;
}

Rect Bounds(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }

Surface::Surface(int width, int height, Pixel565 fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

SurfaceView Surface::View() {
  return SurfaceView{pixels_.data(), width_, width_, height_, Rect{0, 0, width_, height_}};
}

const SurfaceView Surface::ConstView() const {
  return SurfaceView{const_cast<Pixel565*>(pixels_.data()), width_, width_, height_,
                     Rect{0, 0, width_, height_}};
}

namespace {

Rect ViewClip(const SurfaceView& v) { return v.clip.Intersect(Rect{0, 0, v.width, v.height}); }

}  // namespace

bool ClipBlit(const SurfaceView& dst, int& x, int& y, const SurfaceView& src, Rect& s) {
  if (!dst.Valid() || !src.Valid()) return false;
  s = s.Intersect(Rect{0, 0, src.width, src.height});
  if (s.Empty()) return false;
  const Rect clip = ViewClip(dst);
  if (x < clip.left) {
    s.left += clip.left - x;
    x = clip.left;
  }
  if (y < clip.top) {
    s.top += clip.top - y;
    y = clip.top;
  }
  if (x + s.Width() > clip.right) s.right = s.left + (clip.right - x);
  if (y + s.Height() > clip.bottom) s.bottom = s.top + (clip.bottom - y);
  return !s.Empty();
}

// memset is the fastest writer the C library has, so a colour whose two bytes are equal goes
// through it; any other colour is written into the first row once and copied from there with
// memcpy, which runs at nearly the same speed.
void Fill(const SurfaceView& dst, const Rect& area, Pixel565 color) {
  if (!dst.Valid()) return;
  const Rect r = area.Intersect(ViewClip(dst));
  if (r.Empty()) return;
  const auto row_bytes = static_cast<std::size_t>(r.Width()) * sizeof(Pixel565);
  const auto low = static_cast<unsigned char>(color & 0xFFu);
  if (low == color >> 8) {
    if (r.Width() == dst.pitch)  // whole rows lie end to end
      std::memset(&dst.At(r.left, r.top), low, row_bytes * static_cast<std::size_t>(r.Height()));
    else
      for (int y = r.top; y < r.bottom; ++y) std::memset(&dst.At(r.left, y), low, row_bytes);
    return;
  }
  Pixel565* first = &dst.At(r.left, r.top);
  std::fill_n(first, r.Width(), color);
  if (r.Width() == dst.pitch) {
    // Rows end to end: the head is doubled up to a block that stays in the first-level cache,
    // then copied onto the rest piece by piece, so that the copies read from the cache.
    constexpr std::size_t kHead = 16384;
    const std::size_t total = row_bytes * static_cast<std::size_t>(r.Height());
    auto* bytes = reinterpret_cast<unsigned char*>(first);
    std::size_t done = row_bytes;
    for (; done < std::min(total, kHead); done *= 2)
      std::memcpy(bytes + done, bytes, std::min(done, total - done));
    for (const std::size_t head = done; done < total; done += head)
      std::memcpy(bytes + done, bytes, std::min(head, total - done));
    return;
  }
  for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(&dst.At(r.left, y), first, row_bytes);
}

void Fill(const SurfaceView& dst, Pixel565 color) {
  Fill(dst, Rect{0, 0, dst.width, dst.height}, color);
}

void Blit(const SurfaceView& dst, int x, int y, const SurfaceView& src, const Rect& src_rect) {
  Rect s = src_rect;
  if (!ClipBlit(dst, x, y, src, s)) return;
  const auto row_bytes = static_cast<std::size_t>(s.Width()) * sizeof(Pixel565);
  for (int row = 0; row < s.Height(); ++row)
    std::memmove(&dst.At(x, y + row), &src.At(s.left, s.top + row), row_bytes);
}

void BlitKeyed(const SurfaceView& dst, int x, int y, const SurfaceView& src, const Rect& src_rect,
               Pixel565 key) {
  Rect s = src_rect;
  if (!ClipBlit(dst, x, y, src, s)) return;
  const int w = s.Width();
  for (int row = 0; row < s.Height(); ++row) {
    const Pixel565* in = &src.At(s.left, s.top + row);
    Pixel565* out = &dst.At(x, y + row);
    for (int i = 0; i < w; ++i)
      if (in[i] != key) out[i] = in[i];
  }
}

}  // namespace trakvolt
