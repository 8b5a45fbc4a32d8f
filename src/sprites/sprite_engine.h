// TSpriteEngine: the root of the sprite tree, holding the surface every sprite draws on.
#pragma once

#include "base/surface.h"
#include "sprites/sprite.h"

namespace trakvolt {

class TSpriteEngine : public TSprite {
 public:
  TSpriteEngine() = default;
  // Frees every sprite of the tree while the engine part is still whole.
  ~TSpriteEngine() override;

  // The surface the tree draws on; a view that is not Valid() means none. SurfaceRect follows
  // it: (0, 0, width, height), or empty with no surface.
  void SetSurface(const SurfaceView& surface);
  bool HasSurface() const { return surface_.Valid(); }
  const SurfaceView& Surface() const { return surface_; }
  const Rect& SurfaceRect() const { return surface_rect_; }

 private:
  SurfaceView surface_{};
  Rect surface_rect_{};
};

}  // namespace trakvolt
