// TSpriteEngineComponent: the main window's sprite engine, bound to the display's back surface.
#pragma once

#include "base/surface.h"
#include "sprites/sprite_engine.h"

namespace trakvolt {

// Owns the root of the sprite tree for the whole run and follows the display: the form calls
// DisplayInitialized after the display has initialised and DisplayFinalizing before it
// finalises. Drawing happens only in between; moving always works.
class TSpriteEngineComponent {
 public:
  TSpriteEngineComponent() = default;
  TSpriteEngineComponent(const TSpriteEngineComponent&) = delete;
  TSpriteEngineComponent& operator=(const TSpriteEngineComponent&) = delete;

  TSpriteEngine& Engine() { return engine_; }
  const TSpriteEngine& Engine() const { return engine_; }

  // `back_surface` becomes the tree's surface; it must stay valid until DisplayFinalizing.
  void DisplayInitialized(const SurfaceView& back_surface) { engine_.SetSurface(back_surface); }
  void DisplayFinalizing() { engine_.SetSurface(SurfaceView{}); }
  bool HasSurface() const { return engine_.HasSurface(); }

  void Move(int move_count) { engine_.Move(move_count); }
  void Draw() {
    if (engine_.HasSurface()) engine_.Draw();
  }

 private:
  TSpriteEngine engine_;
};

}  // namespace trakvolt
