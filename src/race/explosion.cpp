// The explosion sprites of the race.
#include "race/explosion.h"

namespace trakvolt {

TExplosion::TExplosion(ParentLink parent, TRaceWorld& world, double x, double y,
                       std::string_view image_name)
    : TImageSprite(parent, &world.Images.Find(image_name)), race_(world.Race) {
  X = x;
  Y = y;
  SetZ(4);
  Visible = false;
  FramePos = 0;
  FrameCount = Image()->FrameCount();
  FrameLooped = true;
  FrameSpeed = 0;
}

TExplosion::~TExplosion() {
  if (race_.BigExplosion == this) race_.BigExplosion = nullptr;
  if (race_.MicroExplosion == this) race_.MicroExplosion = nullptr;
}

}  // namespace trakvolt
