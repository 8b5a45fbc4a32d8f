// What the sprite engine and the text drawer need of a picture in an image list.
#pragma once

#include <string_view>

#include "base/surface.h"

namespace trakvolt {

// A named picture cut into equally sized patterns (animation frames).
class TImage {
 public:
  virtual ~TImage() = default;
  virtual int FrameWidth() const = 0;
  virtual int FrameHeight() const = 0;
  virtual int FrameCount() const = 0;
  // Draws pattern `frame` with its top-left at (x, y), colour-keyed when the picture is
  // transparent, clipped to the target. A frame outside 0..FrameCount()-1 draws nothing.
  virtual void Draw(const SurfaceView& dst, int x, int y, int frame) const = 0;
};

// Looks pictures up by name (case-insensitively). A missing name raises GameError
// "Image '%s' not found".
class TImageSource {
 public:
  virtual ~TImageSource() = default;
  virtual const TImage& Find(std::string_view name) const = 0;
};

}  // namespace trakvolt
