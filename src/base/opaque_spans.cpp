// Finding a keyed picture's opaque runs and drawing through them.
#include "base/opaque_spans.h"

#include <algorithm>
#include <cstring>

namespace trakvolt {

namespace {

// Copies a run of n pixels. Many runs of the game's pictures are short, where a call to
// memcpy costs more than the copy: below 32 pixels they go in two fixed-size moves that compile
// to plain loads and stores, the second overlapping the first (rewriting the same pixels).
template <std::size_t kPixels>
void Move(Pixel565* out, const Pixel565* in, std::size_t at) {
  std::memcpy(out + at, in + at, kPixels * sizeof(Pixel565));
}

[[gnu::always_inline]] inline void CopyRun(Pixel565* out, const Pixel565* in, std::size_t n) {
  if (n >= 32) {
    std::memcpy(out, in, n * sizeof(Pixel565));
  } else if (n >= 16) {
    Move<16>(out, in, 0);
    Move<16>(out, in, n - 16);
  } else if (n >= 8) {
    Move<8>(out, in, 0);
    Move<8>(out, in, n - 8);
  } else if (n >= 4) {
    Move<4>(out, in, 0);
    Move<4>(out, in, n - 4);
  } else if (n >= 2) {
    Move<2>(out, in, 0);
    Move<2>(out, in, n - 2);
  } else if (n == 1) {
    *out = *in;
  }
}

}  // namespace

OpaqueSpans::OpaqueSpans(const SurfaceView& picture, Pixel565 key)
    : key_(key), width_(picture.width), height_(picture.height) {
  if (!picture.Valid()) return;
  row_runs_.reserve(static_cast<std::size_t>(height_) + 1);
  for (int y = 0; y < height_; ++y) {
    row_runs_.push_back(static_cast<std::uint32_t>(runs_.size()));
    const Pixel565* row = &picture.At(0, y);
    int x = 0;
    while (x < width_) {
      while (x < width_ && row[x] == key) ++x;
      const int begin = x;
      while (x < width_ && row[x] != key) ++x;
      if (x > begin) runs_.push_back(Run{begin, x});
    }
  }
  row_runs_.push_back(static_cast<std::uint32_t>(runs_.size()));
  // One run per row covering the whole width: nothing has the key colour.
  solid_ = runs_.size() == static_cast<std::size_t>(height_) &&
           std::all_of(runs_.begin(), runs_.end(),
                       [&](const Run& r) { return r.begin == 0 && r.end == width_; });
  if (solid_) {
    runs_.clear();
    row_runs_.clear();
  }
  runs_.shrink_to_fit();
}

void OpaqueSpans::Blit(const SurfaceView& dst, int x, int y, const SurfaceView& picture,
                       const Rect& src_rect) const {
  if (!Fits(picture, key_)) return BlitKeyed(dst, x, y, picture, src_rect, key_);
  Rect s = src_rect;
  if (!ClipBlit(dst, x, y, picture, s)) return;
  if (solid_) {
    for (int row = s.top; row < s.bottom; ++row)
      CopyRun(&dst.At(x, y + (row - s.top)), &picture.At(s.left, row),
              static_cast<std::size_t>(s.Width()));
    return;
  }
  const Run* const runs = runs_.data();
  if (s.left == 0 && s.right == width_) {  // whole rows: no run needs cutting
    for (int row = s.top; row < s.bottom; ++row) {
      const Pixel565* in = &picture.At(0, row);
      Pixel565* out = &dst.At(x, y + (row - s.top));
      const Run* end = runs + row_runs_[static_cast<std::size_t>(row) + 1];
      for (const Run* run = runs + row_runs_[static_cast<std::size_t>(row)]; run != end; ++run)
        CopyRun(out + run->begin, in + run->begin, static_cast<std::size_t>(run->end - run->begin));
    }
    return;
  }
  for (int row = s.top; row < s.bottom; ++row) {
    const Run* run = runs + row_runs_[static_cast<std::size_t>(row)];
    const Run* end = runs + row_runs_[static_cast<std::size_t>(row) + 1];
    // A pattern of a wide strip starts past most of its row's runs.
    run = std::partition_point(run, end, [&](const Run& r) { return r.end <= s.left; });
    const Pixel565* in = &picture.At(0, row);
    Pixel565* out = &dst.At(x, y + (row - s.top));
    for (; run != end && run->begin < s.right; ++run) {
      const int b = std::max<int>(run->begin, s.left), e = std::min<int>(run->end, s.right);
      CopyRun(out + (b - s.left), in + b, static_cast<std::size_t>(e - b));
    }
  }
}

}  // namespace trakvolt
