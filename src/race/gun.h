// The player's gun: aiming along the car and shooting the nearest object ahead.
#pragma once

#include "race/race_world.h"

namespace trakvolt {

class TWallSprite;

// Once per race frame, with `fire` true while the fire control is held. A target in line is
// hit once per frame and blown up at the third hit (20 points for a traffic car, 10 for a
// wall); releasing fire keeps its hits.
void FireGun(TRaceWorld& world, bool fire);

// The object the gun would hit now, or none: the nearest object ahead of the car that spans
// the car's centre line and can still be shot (not gun-proof, not burning, and not already
// wrecked by the car). Equal distances: the higher slot.
TWallSprite* GunTarget(const TRaceWorld& world);

}  // namespace trakvolt
