// Removing track objects: the per-frame sweep and the clearing of the road.
#pragma once

#include "race/race_world.h"

namespace trakvolt {

// Once per frame, outside the sprite walks: frees every object whose explosion has played
// out, that has left the screen, was collected, or was shot down and has burnt out.
void SweepObjects(TRaceWorld& world);

// Frees every object and every slot (level start, restart and leaving the race).
void RemoveAllObjects(TRaceWorld& world);

}  // namespace trakvolt
