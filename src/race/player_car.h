// TMyCarSprite: the player's car and its driving model, bonuses and crash.
#pragma once

#include "race/car_parameters.h"
#include "race/race_world.h"
#include "screens/caption_sprite.h"
#include "sprites/image_sprite.h"

namespace trakvolt {

// Drive modes: free driving, braking down to TargetSpeed, pushed sideways by water.
constexpr int DriveFree = 0, DriveSlowing = -3, DrivePushRight = 2, DrivePushLeft = -2;

// The car never moves vertically; the road scrolls under it at RoadSpeed. Every step of its
// move happens once per frame, whatever the move count; only its animation uses the count.
class TMyCarSprite : public TImageSprite {
 public:
  // The car of `car_number` (1..4) placed in a random lane near the bottom of the screen, Z 3.
  // Controllable stays false until the race sets it.
  TMyCarSprite(ParentLink parent, TRaceWorld& world, int car_number);
  // Clears the race's reference to the car.
  ~TMyCarSprite() override;

  int CarNumber() const { return car_number_; }
  const TCarParameters& Parameters() const { return CarParameters(car_number_); }

  // The car part of a level start: TargetSpeed 0, DriveFree, no stun, a new lane, Z 4.
  void LevelReset();
  // A random asphalt lane (2..4), the car centred in it.
  void PlaceInLane();
  void Accelerate();
  // The step is 0.05 on the shoulder without the brake pressed, else BrakeDecel; below 0.1
  // the car stops dead.
  void Brake(bool pressing, bool on_shoulder);
  void SteerLeft();
  void SteerRight();
  // More than a third of the car is on the dirt lane.
  bool IsOnShoulder() const;
  void SetTurboFlameVisible(bool visible);
  // Moves the bonus icon and flame onto the car.
  void PlaceBonusOverlays();
  // Called after GunActive or TurboActive was set: the overlays and ten seconds of bonus.
  void StartBonus();
  // Ends the gun, the turbo and the drift.
  void EndBonus();
  // Loses a life (none left: nothing) and starts the crash explosion.
  void Crash();

  // The per-frame step: steering, throttle, shoulder, pushes, slowing, stun clock, road bounds,
  // overlays.
  void DoMove(int move_count) override;

  int Lane = 2;
  bool Controllable = false;
  int BonusTime = 0;  // seconds of gun or turbo left
  double Accel = 0;
  double BrakeDecel = 0;
  double SteerDivisor = 1;
  double SteerMax = 0;
  double MaxSpeed = 0;
  double BaseMaxSpeed = 0;  // top speed off the shoulder
  double BaseAccel = 0;     // acceleration off the shoulder
  int DriveMode = DriveFree;
  double SlideLeft = 0;    // pixels of push still to go
  double StunTime = 0;     // seconds in which Up and Down are ignored
  double TargetSpeed = 0;  // where slowing and pushes stop braking

  // The bonus overlays while a gun or turbo runs, else none.
  TCaptionSprite* BonusIcon = nullptr;
  TCaptionSprite* BonusFlame = nullptr;

  // The road bounds of the car's x.
  static constexpr double kLeftBound = 166;
  static constexpr double kRightEdge = 615;

 private:
  void FreeBonusOverlays();
  TCaptionSprite& AddOverlay(const char* image_name);
  // One push step toward `direction` (+1 right, -1 left).
  void PushStep(int direction);

  TRaceWorld& world_;
  int car_number_;
};

}  // namespace trakvolt
