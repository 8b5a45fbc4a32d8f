// The gun: target choice, hits and the hit marker.
#include "race/gun.h"

#include "race/explosion.h"
#include "race/player_car.h"
#include "race/track_object.h"

namespace trakvolt {
namespace {

void HideMarker(TRaceWorld& world) {
  if (world.Race.MicroExplosion != nullptr) world.Race.MicroExplosion->Visible = false;
}

}  // namespace

TWallSprite* GunTarget(const TRaceWorld& world) {
  const TMyCarSprite* car = world.Race.PlayerCar;
  if (car == nullptr) return nullptr;
  const double aim_x = car->X + car->Width / 2.0;
  TWallSprite* target = nullptr;
  double best = 0;
  for (int i = 1; i <= kTrackSlotCount; ++i) {
    const TTrackSlot& slot = world.Race.TrackSlots[i];
    if (!slot.InUse || slot.Object == nullptr) continue;
    TWallSprite& o = *slot.Object;
    // A wall or traffic car that has already exploded against the car is a wreck, not a
    // target: shooting it must not pay.
    if (o.GunProof || o.ShotDown || !o.CanCollide) continue;
    const double d = car->Y - o.Y;
    if (d < 0 || aim_x < o.X || aim_x > o.X + o.Width) continue;
    if (target == nullptr || d <= best) {
      target = &o;
      best = d;
    }
  }
  return target;
}

void FireGun(TRaceWorld& world, bool fire) {
  TRaceState& race = world.Race;
  if (!race.GunActive || race.PlayerCar == nullptr) {
    HideMarker(world);
    world.StopSound("Shot");
    return;
  }
  TCaptionSprite* flash = race.PlayerCar->BonusFlame;
  if (flash != nullptr) {
    if (!flash->Visible && fire) world.PlaySound("Shot");
    flash->Visible = fire;
  }
  if (!fire) {
    HideMarker(world);
    world.StopSound("Shot");
    return;
  }
  TWallSprite* target = GunTarget(world);
  if (target == nullptr) {
    HideMarker(world);
    return;
  }
  TExplosion* marker = race.MicroExplosion;
  if (marker != nullptr) {
    marker->X = race.PlayerCar->X + race.PlayerCar->Width / 2.0;
    marker->Y = target->Y;
  }
  target->Hits += 1;
  if (target->Hits == 3) {
    target->BlowUp();
    if (IsTraffic(target->Kind))
      race.Score += 20;
    else if (target->Kind == kind::Wall05 || target->Kind == kind::Wall10)
      race.Score += 10;
  }
  if (marker != nullptr) marker->Visible = true;
}

}  // namespace trakvolt
