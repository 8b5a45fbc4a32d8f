// What each kind of track object does to the car when the car drives into it.
#include <cmath>

#include "race/player_car.h"
#include "race/track_object.h"

namespace trakvolt {

void TWallSprite::DoCollision(TSprite& other, bool&) {
  auto* car = dynamic_cast<TMyCarSprite*>(&other);
  if (car == nullptr) return;
  // Once the finish line has been crossed nothing reacts.
  if (world_.Race.LevelPhase > phase::FinishPlaced) return;
  // Only a deep overlap counts: grazing the outer tenth of the object does nothing.
  const double reach = 0.9 * Width;
  if (car->X - X > reach) return;
  if ((X + Width) - (car->X + car->Width) > reach) return;
  if (ShotDown) return;
  // The object reacts this once; the collision query ends here.
  CanCollide = false;
  React(*car);
}

void TWallSprite::Explode(const char* image_name) {
  SetImage(&world_.Images.Find(image_name));
  world_.PlaySound("CarExplosion");
  FrameCount = Image()->FrameCount();
  FrameLooped = false;
  FrameSpeed = world_.FramesPerStep(20);
  FramePos = 0;
  world_.Race.CrashSlot = Slot;
}

void TWallSprite::React(TMyCarSprite& car) {
  TRaceState& race = world_.Race;
  switch (Kind) {
    case kind::Wall05:
    case kind::Wall10:
      Explode(Kind == kind::Wall05 ? "ExplosionSmall" : "ExplosionBig");
      if (race.RoadSpeed > Speed14(150)) {
        car.Crash();
      } else {
        // Slow enough: the car stops dead against the wall.
        car.StunTime = 2;
        race.DriftActive = false;
        race.RoadSpeed = 0;
      }
      break;
    case kind::Spike10:
      world_.PlaySound("Spike");
      car.TargetSpeed = Speed14(50);
      car.StunTime = 10;
      car.DriveMode = DriveSlowing;
      race.DriftActive = true;
      break;
    case kind::Water10:
    case kind::Water05:
      ReactWater(car);
      break;
    case kind::Stone05:
      ReactSlowDown(car, Speed14(100), "Stone");
      break;
    case kind::StoneSmall05:
      ReactSlowDown(car, Speed14(40), nullptr);
      break;
    case kind::Crack:
      ReactSlowDown(car, Speed14(20), nullptr);
      break;
    case kind::Rabbit:
      world_.PlaySound("Rabbit");
      race.Score = race.Score < 100 ? 0 : race.Score - 100;
      Collected = true;
      break;
    case kind::FinishLine:
      break;
    default:
      if (IsTraffic(Kind)) {
        Explode("ExplosionBig");
        // The closing speed of the two cars decides.
        if (std::abs(-OwnSpeed - race.RoadSpeed) > Speed14(50)) car.Crash();
        if (race.RoadSpeed > Speed14(100)) race.RoadSpeed -= Speed14(100);
        OwnSpeed = 0;  // the wreck lies still on the road
      } else if (ObjectKind(Kind).Group == ObjectGroup::Bonus) {
        ReactBonus(car);
      }
      break;  // signs and roadside walls: scenery
  }
}

void TWallSprite::ReactWater(TMyCarSprite& car) {
  TRaceState& race = world_.Race;
  world_.PlaySound("Water");
  const int r = world_.Random.Next(2);
  car.TargetSpeed = race.RoadSpeed > Speed14(100) ? race.RoadSpeed - Speed14(100) : race.RoadSpeed;
  // Pushed away from the road's edge, or either way in the middle lanes, by one lane.
  const bool right = Lane == 1 || (Lane != 4 && r == 1);
  if (right) {
    car.DriveMode = DrivePushRight;
    car.SlideLeft = LaneEdges[Lane + 1] - LaneEdges[Lane];
  } else {
    car.DriveMode = DrivePushLeft;
    car.SlideLeft = LaneEdges[Lane] - LaneEdges[Lane - 1];
  }
}

void TWallSprite::ReactSlowDown(TMyCarSprite& car, double by, const char* sound) {
  TRaceState& race = world_.Race;
  if (sound != nullptr) world_.PlaySound(sound);
  // The hit takes `by` off the speed, and a car no faster than that is stopped: the same hit
  // always does the same, whatever target an earlier hit or the shoulder left behind.
  car.TargetSpeed = race.RoadSpeed > by ? race.RoadSpeed - by : 0;
  car.DriveMode = DriveSlowing;
}

void TWallSprite::ReactBonus(TMyCarSprite& car) {
  TRaceState& race = world_.Race;
  switch (Kind) {
    case kind::Bonus10:
    case kind::Bonus20:
    case kind::Bonus50:
    case kind::Bonus100: {
      constexpr int kPoints[] = {10, 20, 50, 100};
      race.Score += kPoints[Kind - kind::Bonus10];
      Collected = true;
      world_.PlaySound("ScoreGet");
      break;
    }
    case kind::BonusGun:
      world_.PlaySound("BonusGet");
      if (race.GunActive) {
        car.BonusTime = 10;
      } else {
        if (race.TurboActive) car.EndBonus();
        race.GunActive = true;
        car.StartBonus();
      }
      Collected = true;
      break;
    case kind::BonusTurbo:
      world_.PlaySound("BonusGet");
      if (race.TurboActive) {
        car.BonusTime = 10;
      } else {
        if (race.GunActive) car.EndBonus();
        race.TurboActive = true;
        car.MaxSpeed = car.Parameters().TurboMaxSpeed;
        car.Accel = car.Parameters().TurboAccel;
        car.BaseMaxSpeed = car.MaxSpeed;
        car.BaseAccel = car.Accel;
        car.StartBonus();
      }
      Collected = true;
      break;
    case kind::BonusLive:
      world_.PlaySound("ScoreGet");
      race.Lives += 1;
      Collected = true;
      break;
    default:
      break;
  }
}

}  // namespace trakvolt
