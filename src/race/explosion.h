// TExplosion: the gun's hit marker and the player's crash explosion.
#pragma once

#include <string_view>

#include "race/race_world.h"
#include "sprites/image_sprite.h"

namespace trakvolt {

class TExplosion : public TImageSprite {
 public:
  // The named race picture at (x, y), hidden, Z 4, looped over its frames but standing still
  // (FrameSpeed 0) until the race starts it.
  TExplosion(ParentLink parent, TRaceWorld& world, double x, double y, std::string_view image_name);
  // Clears the race's reference to it (BigExplosion or MicroExplosion).
  ~TExplosion() override;

  int LastFrame = 0;   // whole frame seen at the last check of the crash sequence
  int FrameSteps = 0;  // frame changes counted by the crash sequence

 private:
  TRaceState& race_;
};

}  // namespace trakvolt
