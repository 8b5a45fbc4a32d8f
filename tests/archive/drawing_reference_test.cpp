// Keyed and rotated drawing of image items checked against plain per-pixel reference routines
// over many pictures, patterns, positions, sizes, angles and clip rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "archive/image_list.h"

using namespace trakvolt;

namespace {

struct Lcg {
  std::uint32_t state;
  int Next(int below) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(below));
  }
};

// A picture of discs and bars on black, the key colour, with some rows wholly keyed and some
// wholly opaque, so the runs start and end everywhere.
RgbImage TestPicture(int w, int h, Lcg& rnd) {
  RgbImage img = MakeRgbImage(w, h);
  const int cx = rnd.Next(w), cy = rnd.Next(h), radius = 1 + rnd.Next(std::max(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool disc = (x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius;
      const bool bar = y % 7 == 3 || x % 5 == 1;
      if (!(disc || bar) || y % 11 == 6 || rnd.Next(9) == 0) continue;
      std::uint8_t* p = img.At(x, y);
      p[0] = static_cast<std::uint8_t>(8 + rnd.Next(240));
      p[1] = static_cast<std::uint8_t>(x * 4);
      p[2] = static_cast<std::uint8_t>(y * 4);
    }
  return img;
}

// The colour-keyed blit pixel by pixel.
void ReferenceKeyed(const SurfaceView& dst, int x, int y, const Surface& src, Rect s,
                    Pixel565 key) {
  const Rect clip = dst.clip.Intersect(Rect{0, 0, dst.width, dst.height});
  s = s.Intersect(Rect{0, 0, src.Width(), src.Height()});
  for (int sy = s.top; sy < s.bottom; ++sy)
    for (int sx = s.left; sx < s.right; ++sx) {
      const int tx = x + sx - s.left, ty = y + sy - s.top;
      if (tx < clip.left || tx >= clip.right || ty < clip.top || ty >= clip.bottom) continue;
      if (src.At(sx, sy) != key) dst.At(tx, ty) = src.At(sx, sy);
    }
}

// The rotated drawing as first written: every target pixel of the clipped bounding box steps
// the source position and tests it against the pattern.
double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  if (d < 0.5) return f;
  if (d > 0.5) return f + 1;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}
std::int64_t ToFixed(double v) { return static_cast<std::int64_t>(RoundHalfEven(v * 65536.0)); }
std::int64_t ClampedPixel(double v) {
  return static_cast<std::int64_t>(std::clamp(RoundHalfEven(v), -1e9, 1e9));
}

void ReferenceRotated(const TImageCollectionItem& item, const SurfaceView& dst, int x, int y,
                      int width, int height, int index, double center_x, double center_y,
                      int angle) {
  const Rect src = item.PatternRect(index);
  if (src.Empty() || width <= 0 || height <= 0) return;
  const auto turn = [](int a) {
    return std::cos(static_cast<double>(a & 255) * 2.0 * std::numbers::pi / 256.0);
  };
  const double c = turn(angle), s = turn((angle & 255) + 192);
  const double ox = center_x * width, oy = center_y * height;
  std::int64_t min_x = INT64_MAX, max_x = INT64_MIN, min_y = INT64_MAX, max_y = INT64_MIN;
  for (const double du : {-ox, width - ox})
    for (const double dv : {-oy, height - oy}) {
      const std::int64_t tx = x + ClampedPixel(du * c - dv * s);
      const std::int64_t ty = y + ClampedPixel(du * s + dv * c);
      min_x = std::min(min_x, tx);
      max_x = std::max(max_x, tx);
      min_y = std::min(min_y, ty);
      max_y = std::max(max_y, ty);
    }
  const Rect clip = dst.clip.Intersect(Rect{0, 0, dst.width, dst.height});
  min_x = std::max<std::int64_t>(min_x, clip.left);
  max_x = std::min<std::int64_t>(max_x, clip.right);
  min_y = std::max<std::int64_t>(min_y, clip.top);
  max_y = std::min<std::int64_t>(max_y, clip.bottom);
  if (min_x >= max_x || min_y >= max_y) return;
  const int pw = src.Width(), ph = src.Height();
  const double kx = static_cast<double>(pw) / width, ky = static_cast<double>(ph) / height;
  const std::int64_t ax = ToFixed(c * kx), ay = ToFixed(-s * ky);
  const std::int64_t bx = ToFixed(s * kx), by = ToFixed(c * ky);
  const std::int64_t sx0 = ToFixed(ox * kx), sy0 = ToFixed(oy * ky);
  for (std::int64_t py = min_y; py < max_y; ++py) {
    const std::int64_t hx = 2 * (min_x - x) + 1, hy = 2 * (py - y) + 1;
    std::int64_t sx = sx0 + ((hx * ax + hy * bx) >> 1);
    std::int64_t sy = sy0 + ((hx * ay + hy * by) >> 1);
    Pixel565* out = &dst.At(static_cast<int>(min_x), static_cast<int>(py));
    for (std::int64_t px = min_x; px < max_x; ++px, ++out, sx += ax, sy += ay) {
      if (sx < 0 || sy < 0) continue;
      const std::int64_t ix = sx >> 16, iy = sy >> 16;
      if (ix >= pw || iy >= ph) continue;
      const Pixel565 p =
          item.Picture().At(src.left + static_cast<int>(ix), src.top + static_cast<int>(iy));
      if (item.Transparent() && p == item.KeyColor()) continue;
      *out = p;
    }
  }
}

// A target with a background that no picture pixel has, and a clip rectangle.
Surface Target(int w, int h) { return Surface(w, h, 0x1234); }
SurfaceView Clipped(Surface& s, const Rect& clip) {
  SurfaceView v = s.View();
  v.clip = clip;
  return v;
}

struct Picture {
  int w, h, pattern_w, pattern_h;
};
constexpr Picture kPictures[] = {{1, 1, 0, 0},     {7, 5, 0, 0},      {40, 64, 0, 0},
                                 {96, 32, 24, 32}, {150, 40, 30, 20}, {33, 100, 11, 25}};
const Rect kClips[] = {Rect{0, 0, 120, 90}, Rect{13, 7, 101, 66}, Rect{50, 40, 51, 41},
                       Rect{-10, -10, 300, 300}};

// Keyed on black (which the picture has), keyed on white (which it never has), or opaque.
enum class Keying { Black, White, None };
constexpr Keying kKeyings[] = {Keying::Black, Keying::White, Keying::None};

// Calls check(item, picture, keying, clip) for every picture, keying and clip rectangle.
template <typename Check>
void ForEachCase(Lcg& rnd, Check&& check) {
  for (const Picture& p : kPictures)
    for (const Keying keying : kKeyings) {
      TImageCollection c;
      c.Initialize();
      TImageCollectionItem& item = c.Add();
      item.SetPicture(TestPicture(p.w, p.h, rnd));
      item.SetPatternWidth(p.pattern_w);
      item.SetPatternHeight(p.pattern_h);
      item.SetTransparent(keying != Keying::None);
      item.SetTransparentColor(keying == Keying::White ? 0x00FFFFFFu : 0u);
      for (const Rect& clip : kClips) check(item, p, keying, clip);
    }
}

}  // namespace

TEST(DrawingReference, KeyedPatternsMatchThePixelByPixelBlit) {
  Lcg rnd{7};
  ForEachCase(rnd, [&](const TImageCollectionItem& item, const Picture& p, Keying keying,
                       const Rect& clip) {
    for (int n = 0; n < 40; ++n) {
      const int index = rnd.Next(item.CountPatterns());
      const int x = rnd.Next(200) - 60, y = rnd.Next(160) - 50;
      Surface got = Target(120, 90), want = Target(120, 90);
      item.Draw(Clipped(got, clip), x, y, index);
      const Rect r = item.PatternRect(index);
      // An opaque picture draws every pixel: no pixel has the target's background colour.
      ReferenceKeyed(Clipped(want, clip), x, y, item.Picture(), r,
                     keying == Keying::None ? Pixel565{0x1234} : item.KeyColor());
      ASSERT_TRUE(std::equal(got.Pixels(), got.Pixels() + 120 * 90, want.Pixels()))
          << p.w << "x" << p.h << " pattern " << index << " at " << x << "," << y;
    }
  });
}

TEST(DrawingReference, RotatedMatchesTheFirstAlgorithm) {
  Lcg rnd{99};
  ForEachCase(
      rnd, [&](const TImageCollectionItem& item, const Picture& p, Keying, const Rect& clip) {
        for (int angle = -300; angle < 300; angle += 1 + rnd.Next(9)) {
          const int index = rnd.Next(item.CountPatterns());
          const int x = rnd.Next(200) - 40, y = rnd.Next(160) - 30;
          const int w = 1 + rnd.Next(3 * p.w + 20), h = 1 + rnd.Next(3 * p.h + 20);
          const double cx = (rnd.Next(41) - 10) / 20.0, cy = (rnd.Next(41) - 10) / 20.0;
          Surface got = Target(120, 90), want = Target(120, 90);
          item.DrawRotated(Clipped(got, clip), x, y, w, h, index, cx, cy, angle);
          ReferenceRotated(item, Clipped(want, clip), x, y, w, h, index, cx, cy, angle);
          ASSERT_TRUE(std::equal(got.Pixels(), got.Pixels() + 120 * 90, want.Pixels()))
              << p.w << "x" << p.h << " pattern " << index << " at " << x << "," << y << " size "
              << w << "x" << h << " centre " << cx << "," << cy << " angle " << angle;
        }
      });
}

TEST(DrawingReference, ANewPictureOrKeyAfterDrawingDrawsTheNewOne) {
  TImageCollection c;
  c.Initialize();
  TImageCollectionItem& item = c.Add();
  Lcg rnd{3};
  item.SetPicture(TestPicture(20, 10, rnd));
  Surface first = Target(30, 20);
  item.Draw(first.View(), 2, 3, 0);
  for (int step = 0; step < 2; ++step) {
    if (step == 0)
      item.SetPicture(TestPicture(20, 10, rnd));
    else
      item.SetTransparentColor(0x00FFFFFF);
    Surface got = Target(30, 20), want = Target(30, 20);
    item.Draw(got.View(), 2, 3, 0);
    ReferenceKeyed(want.View(), 2, 3, item.Picture(), item.PatternRect(0), item.KeyColor());
    EXPECT_TRUE(std::equal(got.Pixels(), got.Pixels() + 600, want.Pixels())) << step;
  }
}
