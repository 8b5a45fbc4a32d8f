// Track objects: the factory that places a new object, its move step, and its removal.
#include "race/track_object.h"

#include "base/game_error.h"
#include "race/player_car.h"
#include "race/spawning.h"

namespace trakvolt {

TWallSprite::TWallSprite(ParentLink parent, TRaceWorld& world, int slot, int kind)
    : TImageSprite(parent),
      Slot(slot),
      Kind(kind),
      GunProof(ObjectKind(kind).GunProof),
      world_(world) {
  if (slot < 1 || slot > kTrackSlotCount)
    throw GameError(Format("There is no track slot %d", slot));
  // Lane first, then the traffic speed: the order of the random draws is part of a replay.
  Lane = 2 + world.Random.Next(3);
  Moving = IsTraffic(kind);
  if (ObjectKind(kind).Group == ObjectGroup::Traffic) {
    if (Lane != 3) Lane = 4;
    OwnSpeed = -(20 + world.Random.Next(180)) / 14.0;
  } else if (ObjectKind(kind).Group == ObjectGroup::OncomingTraffic) {
    if (Lane != 3) Lane = 2;
    OwnSpeed = (20 + world.Random.Next(40)) / 14.0;
  }
  SetImage(&world.Images.Find(ObjectKind(kind).Image));
  Y = -Height;  // just above the screen
  SetZ(Moving ? 3 : 2);
  switch (kind) {
    case kind::SignLeftBlue:
    case kind::SignLeftRed:
    case kind::WallLeft:
      X = 140;
      break;
    case kind::SignRightBlue:
    case kind::SignRightRed:
    case kind::WallRight:
      X = 630;
      break;
    case kind::FinishLine: {
      // 600 pixels above the car's top edge; the finish line is never refused.
      const TMyCarSprite* car = world.Race.PlayerCar;
      X = LaneEdges[2];
      Y = 600 - (car != nullptr ? car->Height : 0) - 35 - 600;
      Placed = true;
      break;
    }
    default:
      X = LaneEdges[Lane] + ((LaneEdges[Lane + 1] - LaneEdges[Lane]) - Width) / 2.0;
      break;
  }
  if (!Placed) Placed = !IsAreaBlocked(world, X, Y, Width, Height, 0, 10);
  // One traffic car per lane.
  if (Moving && LaneHasTraffic(world, Lane)) Placed = false;
  FrameCount = Image()->FrameCount();
  FrameLooped = true;
  FrameSpeed = world.FramesPerStep(5);
  FramePos = 0;
}

TWallSprite::~TWallSprite() {
  TTrackSlot& slot = world_.Race.TrackSlots[Slot];
  if (slot.Object == this) {
    slot.Object = nullptr;
    slot.InUse = false;
    // The object of the last crash is gone: a later object in its slot is not it.
    if (world_.Race.CrashSlot == Slot) world_.Race.CrashSlot = 0;
  }
}

void TWallSprite::DoMove(int move_count) {
  TImageSprite::DoMove(move_count);
  Collision();
  Y += world_.Race.RoadSpeed;
  if (Moving) Y += OwnSpeed;
}

void TWallSprite::BlowUp() {
  world_.PlaySound("WallExplosion");
  SetImage(&world_.Images.Find("ExplosionSmall"));
  FrameCount = Image()->FrameCount();
  FrameLooped = false;
  FrameSpeed = world_.FramesPerStep(10);
  FramePos = 0;
  OwnSpeed = 0;
  ShotDown = true;
}

}  // namespace trakvolt
