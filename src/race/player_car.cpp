// The player's car: placement and the per-frame driving step.
#include "race/player_car.h"

#include <algorithm>

#include "race/explosion.h"

namespace trakvolt {

TMyCarSprite::TMyCarSprite(ParentLink parent, TRaceWorld& world, int car_number)
    : TImageSprite(parent, &world.Images.Find(CarParameters(car_number).Image)),
      world_(world),
      car_number_(car_number) {
  FramePos = 0;
  FirstFrame = 0;
  FrameCount = Image()->FrameCount();
  FrameLooped = false;
  FrameSpeed = 0;
  const TCarParameters& p = Parameters();
  MaxSpeed = p.MaxSpeed;
  Accel = p.Accel;
  BrakeDecel = p.BrakeDecel;
  SteerDivisor = p.SteerDivisor;
  SteerMax = p.SteerMax;
  BaseMaxSpeed = MaxSpeed;
  BaseAccel = Accel;
  DriveMode = DriveFree;
  SlideLeft = 0;
  StunTime = 0;
  TargetSpeed = 0;
  PlaceInLane();
  Y = 600 - Height - 35;
  SetZ(3);
}

TMyCarSprite::~TMyCarSprite() {
  if (world_.Race.PlayerCar == this) world_.Race.PlayerCar = nullptr;
}

void TMyCarSprite::LevelReset() {
  TargetSpeed = 0;
  DriveMode = DriveFree;
  StunTime = 0;
  PlaceInLane();
  SetZ(4);
}

void TMyCarSprite::PlaceInLane() {
  Lane = 2 + world_.Random.Next(3);
  X = LaneEdges[Lane] + ((LaneEdges[Lane + 1] - LaneEdges[Lane]) - Width) / 2.0;
}

void TMyCarSprite::Accelerate() {
  double& speed = world_.Race.RoadSpeed;
  // May end up to one step above the top speed.
  if (Controllable && speed < MaxSpeed) speed += Accel;
}

void TMyCarSprite::Brake(bool pressing, bool on_shoulder) {
  // On the dirt the car rolls out slowly; the brake pedal brakes fully.
  const double step = on_shoulder && !pressing ? 0.05 : BrakeDecel;
  if (!Controllable) return;
  double& speed = world_.Race.RoadSpeed;
  // A braking car stops; it never rolls backwards (from 0.15 a full step would leave -0.05).
  if (speed < 0.1)
    speed = 0;
  else
    speed = std::max(0.0, speed - step);
}

void TMyCarSprite::SteerLeft() {
  if (Controllable) X -= std::min(world_.Race.RoadSpeed / SteerDivisor, SteerMax);
}

void TMyCarSprite::SteerRight() {
  if (Controllable) X += std::min(world_.Race.RoadSpeed / SteerDivisor, SteerMax);
}

bool TMyCarSprite::IsOnShoulder() const { return X + Width / 3.0 < LaneEdges[2]; }

void TMyCarSprite::PushStep(int direction) {
  TRaceState& race = world_.Race;
  if (race.RoadSpeed == 0) DriveMode = DriveFree;
  SlideLeft -= race.RoadSpeed / SteerDivisor;
  if (direction > 0)
    SteerRight();
  else
    SteerLeft();
  if (race.RoadSpeed > TargetSpeed)
    Brake(false, IsOnShoulder());
  else
    DriveMode = DriveFree;
}

void TMyCarSprite::DoMove(int move_count) {
  TImageSprite::DoMove(move_count);
  // The tick has just polled the input; the car reads those states.
  TRaceState& race = world_.Race;
  const bool up = world_.IsDown(InputState::Up);
  const bool down = world_.IsDown(InputState::Down);
  const bool left = world_.IsDown(InputState::Left);
  const bool right = world_.IsDown(InputState::Right);

  // Steering; Left wins when both are held. A push steers by itself.
  if (DriveMode == DriveFree || DriveMode == DriveSlowing) {
    if (left && race.RaceActive)
      SteerLeft();
    else if (right && race.RaceActive)
      SteerRight();
  }

  // Throttle and brake; releasing both keeps the speed (no rolling friction).
  if (DriveMode == DriveFree) {
    if (!(race.RoadSpeed > MaxSpeed)) SetTurboFlameVisible(false);
    if (race.RoadSpeed > Parameters().MaxSpeed) SetTurboFlameVisible(true);
    if (StunTime == 0) {
      if (up && race.RaceActive) {
        Accelerate();
        SetTurboFlameVisible(true);
      }
      if (down && race.RaceActive) Brake(true, IsOnShoulder());
    }
  }

  // The dirt shoulder halves top speed and acceleration; leaving it gives them back.
  if (race.LevelPhase == phase::Driving && IsOnShoulder() && !race.DriftActive) {
    if (MaxSpeed == BaseMaxSpeed && Accel == BaseAccel) {
      MaxSpeed = BaseMaxSpeed / 2;
      Accel = BaseAccel / 2;
    }
    if (race.RoadSpeed > MaxSpeed) {
      DriveMode = DriveSlowing;
      TargetSpeed = MaxSpeed;
    }
  } else if (MaxSpeed != BaseMaxSpeed && Accel != BaseAccel) {
    MaxSpeed = BaseMaxSpeed;
    Accel = BaseAccel;
    if (DriveMode == DriveSlowing && race.LevelPhase == phase::Driving) {
      DriveMode = DriveFree;
      TargetSpeed = MaxSpeed;
    }
  }

  if (DriveMode == DrivePushRight) PushStep(+1);
  if (DriveMode == DrivePushLeft) PushStep(-1);
  if (SlideLeft < 0) {
    DriveMode = DriveFree;
    SlideLeft = 0;
  }

  // Slowing: the brake pedal brakes harder, the throttle does nothing.
  if (DriveMode == DriveSlowing) {
    SetTurboFlameVisible(false);
    if (race.RoadSpeed > TargetSpeed) Brake(down, IsOnShoulder());
    if (!(race.RoadSpeed > TargetSpeed)) DriveMode = DriveFree;
    if (race.RoadSpeed < 0) race.RoadSpeed = 0;
  }

  // The stun clock runs only in free driving.
  if (DriveMode == DriveFree && StunTime > 0) {
    StunTime -= world_.Interval() / 1000.0;
    if (!(StunTime > 0)) StunTime = 0;
  }

  if (X < kLeftBound) X = kLeftBound;
  if (X > kRightEdge - Width) X = kRightEdge - Width;

  if (race.TurboActive || race.GunActive) PlaceBonusOverlays();
}

}  // namespace trakvolt
