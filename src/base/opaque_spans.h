// The opaque runs of a colour-keyed picture, found once, so that drawing it copies whole runs
// of pixels instead of comparing every pixel with the key.
#pragma once

#include <cstdint>
#include <vector>

#include "base/surface.h"

namespace trakvolt {

class OpaqueSpans {
 public:
  OpaqueSpans() = default;
  // Finds, row by row, the runs of `picture`'s pixels that differ from `key`.
  OpaqueSpans(const SurfaceView& picture, Pixel565 key);

  Pixel565 Key() const { return key_; }
  // No pixel has the key colour: the picture draws as plain row copies.
  bool Solid() const { return solid_; }
  // Whether these are the runs of a picture of this size and key.
  bool Fits(const SurfaceView& picture, Pixel565 key) const {
    return key == key_ && picture.width == width_ && picture.height == height_;
  }

  // Draws `src_rect` of the picture the runs were found in with its top-left at (x, y),
  // leaving key-coloured pixels out: what BlitKeyed draws, clipped the same way.
  void Blit(const SurfaceView& dst, int x, int y, const SurfaceView& picture,
            const Rect& src_rect) const;

 private:
  struct Run {
    std::int32_t begin, end;  // columns of the picture, end exclusive
  };
  Pixel565 key_ = 0;
  int width_ = 0, height_ = 0;
  bool solid_ = false;
  std::vector<std::uint32_t> row_runs_;  // the first run of each row, then the total
  std::vector<Run> runs_;
};

}  // namespace trakvolt
