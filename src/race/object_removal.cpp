// The sweep of finished track objects and the clearing of the road.
#include "race/object_removal.h"

#include "race/track_object.h"

namespace trakvolt {
namespace {

bool Finished(const TWallSprite& o) {
  const double last = o.FrameCount - 1;
  // A wall or traffic car whose explosion stopped on its last frame.
  if (o.FramePos == last && o.FramePos > 0 && !o.CanCollide) return true;
  // Below the screen, or a traffic car that drove away ahead.
  if (o.Y > 600 || o.Y < -600) return true;
  if (o.Collected) return true;
  return o.ShotDown && o.FramePos == last;
}

}  // namespace

void SweepObjects(TRaceWorld& world) {
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    const TTrackSlot& slot = world.Race.TrackSlots[i];
    if (slot.InUse && slot.Object != nullptr && Finished(*slot.Object)) slot.Object->Free();
  }
}

void RemoveAllObjects(TRaceWorld& world) {
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    TTrackSlot& slot = world.Race.TrackSlots[i];
    if (slot.Object != nullptr) slot.Object->Free();
    slot = TTrackSlot{};
  }
}

}  // namespace trakvolt
