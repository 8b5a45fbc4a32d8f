// Track spawning: the per-frame trial, the slot search and the placement tests.
#include "race/spawning.h"

#include <cmath>

#include "race/object_kinds.h"
#include "race/track_object.h"

namespace trakvolt {
namespace {

// Whether a value lies in lo..hi, ends included.
bool Within(double v, double lo, double hi) { return lo <= v && v <= hi; }

}  // namespace

void SpawnStep(TRaceWorld& world) {
  const TRaceState& race = world.Race;
  if (!(race.RoadSpeed > 0) || race.LevelPhase != phase::Driving) return;
  const double f = race.RoadSpeed / 600;
  // Traffic levels (every third) draw from bonuses, scenery and cars.
  const bool traffic = race.Level % 3 == 0;
  const int first = traffic ? kind::Bonus10 : kind::Wall05;
  const int last = traffic ? kind::LastCar : kind::WallRight;
  for (int k = first; k <= last; ++k) {
    const int r = world.Random.Next(32768);
    if (f * race.SpawnChance[k] > r / 32768.0) SpawnObject(world, k);
  }
}

TWallSprite* SpawnObject(TRaceWorld& world, int kind) {
  ObjectKind(kind);  // an unknown kind raises, even when no slot is free
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    TTrackSlot& slot = world.Race.TrackSlots[i];
    if (slot.InUse) continue;
    TWallSprite& object = world.Sprites.Add<TWallSprite>(world, i, kind);
    slot.Object = &object;
    if (object.Placed) {
      slot.InUse = true;
      return &object;
    }
    object.Free();  // frees the slot again
  }
  return nullptr;
}

bool IsAreaBlocked(const TRaceWorld& world, double x, double y, int w, int h, double mx,
                   double my) {
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    const TTrackSlot& slot = world.Race.TrackSlots[i];
    if (!slot.InUse || slot.Object == nullptr) continue;
    const TWallSprite& o = *slot.Object;
    const double ox = o.X, oy = o.Y, ow = o.Width, oh = o.Height;
    if (std::abs(x - ox) <= mx) return true;
    if (std::abs(y - oy) <= my) return true;
    if (IsRoadside(o.Kind)) return true;
    if ((Within(x, ox, ox + ow) || Within(x + w, ox, ox + ow)) &&
        (Within(y, oy, oy + oh) || Within(y + h, oy, oy + oh)))
      return true;
    if ((Within(ox, x, x + w) || Within(ox + ow, x, x + w)) &&
        (Within(oy, y, y + h) || Within(oy + oh, y, y + h)))
      return true;
  }
  return false;
}

bool LaneHasTraffic(const TRaceWorld& world, int lane) {
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    const TTrackSlot& slot = world.Race.TrackSlots[i];
    if (slot.InUse && slot.Object != nullptr && slot.Object->Moving && slot.Object->Lane == lane)
      return true;
  }
  return false;
}

}  // namespace trakvolt
