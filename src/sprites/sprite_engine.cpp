// The sprite tree's root and its drawing surface.
#include "sprites/sprite_engine.h"

namespace trakvolt {

TSpriteEngine::~TSpriteEngine() { Clear(); }

void TSpriteEngine::SetSurface(const SurfaceView& surface) {
  if (surface.Valid()) {
    surface_ = surface;
    surface_rect_ = Rect{0, 0, surface.width, surface.height};
  } else {
    surface_ = SurfaceView{};
    surface_rect_ = Rect{};
  }
}

}  // namespace trakvolt
