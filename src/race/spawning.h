// Track spawning: the level's chance table, the per-frame trial, the slot search and the
// placement tests.
#pragma once

#include "race/race_world.h"

namespace trakvolt {

class TWallSprite;

// Fills SpawnChance for `level`: base x growth ^ (level div 3), from the ordinary tables, or
// from the traffic tables on every third level.
void BuildSpawnChance(TRaceState& race, int level);

// Once per frame while the car drives before the finish line is placed: one random draw per
// kind of the level, in kind order, each kind placed with its chance per 600 px of road.
void SpawnStep(TRaceWorld& world);

// Places one object of `kind` (1..35) in the first free slot that accepts it, trying every free
// slot with its own random lane; returns it, or none when no place was found.
TWallSprite* SpawnObject(TRaceWorld& world, int kind);

// Whether the area at (x, y) of size w x h is crowded by a live object (within the margins
// mx, my, next to a roadside sign or wall, or overlapping).
bool IsAreaBlocked(const TRaceWorld& world, double x, double y, int w, int h, double mx, double my);

// Whether a traffic car drives in `lane`.
bool LaneHasTraffic(const TRaceWorld& world, int lane);

}  // namespace trakvolt
