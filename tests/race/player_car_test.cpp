// The player's car: throttle, brake, steering, the shoulder, the drive modes, the stun clock
// and the crash, driven through race frames with the real pictures.
#include <cmath>

#include "race_fixture.h"

namespace trakvolt::testing_support {
namespace {

using CarTest = RaceWorldTest;

TEST_F(CarTest, IsBuiltFromItsPictureAndTheTable) {
  EXPECT_EQ(car->Image(), &form.MImageList3.Find("Car1"));
  EXPECT_EQ(car->Width, car->Image()->FrameWidth());
  EXPECT_EQ(car->Y, 600 - car->Height - 35);
  EXPECT_GE(car->Lane, 2);
  EXPECT_LE(car->Lane, 4);
  EXPECT_EQ(car->X, LaneX(car->Lane, car->Width));
  EXPECT_EQ(car->MaxSpeed, 250.0 / 14);
  EXPECT_EQ(car->BaseAccel, 0.1);
  EXPECT_THROW(Sprites().Add<TMyCarSprite>(world, 5), GameError);
}

TEST_F(CarTest, HoldingUpReachesTopSpeedIn179FramesWithTheLastStepOvershooting) {
  PutCarInLane(3);
  Hold(vk::Up);
  Frames(178);
  EXPECT_LT(race.RoadSpeed, 250.0 / 14);
  Frame();
  EXPECT_NEAR(race.RoadSpeed, 17.9, 1e-9);
  const double top = race.RoadSpeed;
  Frames(50);
  EXPECT_EQ(race.RoadSpeed, top);
}

TEST_F(CarTest, ReleasedKeysKeepTheSpeedAndSmallSpeedsBrakeToExactlyZero) {
  PutCarInLane(3);
  race.RoadSpeed = 12.5;
  Frames(300);
  EXPECT_EQ(race.RoadSpeed, 12.5);  // no rolling friction

  Hold(vk::Down);
  Frame();
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 12.3);
  race.RoadSpeed = 0.0999;
  Frame();
  EXPECT_EQ(race.RoadSpeed, 0.0);

  // Three taps of throttle on the dirt make 0.15; a full brake step stops the car there
  // instead of sending the road backwards.
  race.RoadSpeed = 0.15;
  TWallSprite& crack = Place(kind::Crack, 2, 100);
  Frame();
  EXPECT_EQ(race.RoadSpeed, 0.0);
  Release(vk::Down);
  Frames(10);
  EXPECT_EQ(crack.Y, 100);
}

TEST_F(CarTest, SteeringStepIsSpeedOverDivisorCappedAt12AndLeftWinsOverRight) {
  struct Case {
    double speed;
    bool left, right;
    double dx;
  } cases[] = {
      {250.0 / 14, false, true, 250.0 / 14 / 1.8},  // 9.92 at full speed
      {250.0 / 14, true, false, -250.0 / 14 / 1.8},
      {250.0 / 14, true, true, -250.0 / 14 / 1.8},  // both held: left
      {300.0 / 14, false, true, 300.0 / 14 / 1.8},  // 11.9 with the turbo
      {25.0, false, true, 12.0},                    // never more than 12
      {0.0, true, false, 0.0},                      // a standing car does not slide
  };
  for (const Case& c : cases) {
    PutCarInLane(3);
    car->MaxSpeed = car->BaseMaxSpeed = 30;  // keep the throttle out of it
    race.RoadSpeed = c.speed;
    machine.input.SetKey(vk::Left, c.left);
    machine.input.SetKey(vk::Right, c.right);
    const double x0 = car->X;
    Frame();
    EXPECT_NEAR(car->X - x0, c.dx, 1e-9) << c.speed << " " << c.left << c.right;
  }
  EXPECT_NEAR(250.0 / 14 / 1.8, 9.92, 0.001);
}

TEST_F(CarTest, NothingMovesTheCarWhileTheRaceStandsStill) {
  PutCarInLane(3);
  race.RaceActive = false;
  race.RoadSpeed = 10;
  Hold(vk::Up);
  Hold(vk::Left);
  const double x0 = car->X;
  Frame();
  EXPECT_EQ(car->X, x0);
  EXPECT_EQ(race.RoadSpeed, 10);
}

TEST_F(CarTest, RoadBoundsHoldTheCarBetween166AndTheRightEdge) {
  race.RoadSpeed = 10;
  Hold(vk::Left);
  Frames(150);
  EXPECT_EQ(car->X, 166);
  Release(vk::Left);
  Hold(vk::Right);
  Frames(150);
  EXPECT_EQ(car->X, 615 - car->Width);
}

TEST_F(CarTest, TheShoulderHalvesTopSpeedAndAccelerationAndBrakesDownToIt) {
  // x + width/3 just below 283: more than a third of the car is on the dirt.
  car->X = 283 - car->Width / 3.0 - 0.01;
  race.RoadSpeed = 250.0 / 14;
  Frame();
  EXPECT_TRUE(car->IsOnShoulder());
  EXPECT_EQ(car->MaxSpeed, 125.0 / 14);
  EXPECT_EQ(car->Accel, 0.05);
  EXPECT_EQ(car->DriveMode, DriveSlowing);
  EXPECT_EQ(car->TargetSpeed, 125.0 / 14);
  EXPECT_NEAR(race.RoadSpeed, 250.0 / 14 - 0.05, 1e-9);  // rolling out on the dirt

  Hold(vk::Down);
  Frame();
  EXPECT_NEAR(race.RoadSpeed, 250.0 / 14 - 0.25, 1e-9);  // the pedal brakes fully
  Release(vk::Down);
  Hold(vk::Up);  // ignored while slowing
  int frames = 0;
  while (car->DriveMode == DriveSlowing && frames < 1000) {
    Frame();
    ++frames;
  }
  EXPECT_LE(race.RoadSpeed, 125.0 / 14);
  EXPECT_GT(race.RoadSpeed, 125.0 / 14 - 0.05);
  EXPECT_EQ(frames, static_cast<int>(std::ceil((125.0 / 14 - 0.25) / 0.05)));

  // Back on the asphalt both values return.
  Release(vk::Up);
  car->X = 283 - car->Width / 3.0;
  Frame();
  EXPECT_FALSE(car->IsOnShoulder());
  EXPECT_EQ(car->MaxSpeed, 250.0 / 14);
  EXPECT_EQ(car->Accel, 0.1);
}

TEST_F(CarTest, LeavingTheShoulderWhileSlowingDrivesFreeAgain) {
  car->X = 250;
  race.RoadSpeed = 250.0 / 14;
  Frame();
  ASSERT_EQ(car->DriveMode, DriveSlowing);
  car->X = 300;
  Frame();
  EXPECT_EQ(car->DriveMode, DriveFree);
  EXPECT_EQ(car->TargetSpeed, 250.0 / 14);
}

TEST_F(CarTest, UpDoesNothingWhileSlowing) {
  PutCarInLane(3);
  race.RoadSpeed = 10;
  car->DriveMode = DriveSlowing;
  car->TargetSpeed = 5;
  Hold(vk::Up);
  Frame();
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 9.8);
}

TEST_F(CarTest, APushSteersByItselfAndIgnoresLeftAndRight) {
  PutCarInLane(3);
  race.RoadSpeed = 18;
  car->DriveMode = DrivePushLeft;
  car->SlideLeft = 110;
  car->TargetSpeed = 10;
  Hold(vk::Right);
  Hold(vk::Up);
  const double x0 = car->X;
  Frame();
  EXPECT_NEAR(car->X, x0 - 10, 1e-9);  // 18 / 1.8 to the left, Right ignored
  EXPECT_NEAR(car->SlideLeft, 100, 1e-9);
  EXPECT_NEAR(race.RoadSpeed, 17.8, 1e-9);  // braking, Up ignored
}

TEST_F(CarTest, CrashCostsALifeAndTheStunKeepsTheThrottleLockedForTwoSeconds) {
  PutCarInLane(3);
  race.RoadSpeed = 15;
  car->Crash();
  EXPECT_EQ(race.Lives, 2);
  EXPECT_EQ(race.RoadSpeed, 0);
  EXPECT_FALSE(car->Controllable);
  EXPECT_TRUE(race.RespawnPending);
  EXPECT_EQ(car->StunTime, 2);
  EXPECT_TRUE(race.BigExplosion->Visible);
  EXPECT_EQ(race.BigExplosion->X, car->X);
  EXPECT_EQ(race.BigExplosion->Y, car->Y);
  EXPECT_DOUBLE_EQ(race.BigExplosion->FrameSpeed, 0.6);

  // Each frame of driving makes the car controllable again; the stun clock still holds the
  // throttle for 2 s (67 frames of 30 ms), while steering works.
  Hold(vk::Up);
  Frames(67);
  EXPECT_TRUE(car->Controllable);
  EXPECT_EQ(race.RoadSpeed, 0);
  EXPECT_EQ(car->StunTime, 0);
  Frame();
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 0.1);
}

TEST_F(CarTest, CrashWithNoLivesLeftDoesNothing) {
  race.Lives = 0;
  race.RoadSpeed = 15;
  car->Crash();
  EXPECT_EQ(race.Lives, 0);
  EXPECT_EQ(race.RoadSpeed, 15);
  EXPECT_TRUE(car->Controllable);
  EXPECT_FALSE(race.RespawnPending);
  EXPECT_FALSE(race.BigExplosion->Visible);
}

TEST_F(CarTest, EveryStepRunsOncePerFrameWhateverTheLag) {
  PutCarInLane(3);
  TWallSprite& coin = Place(kind::Bonus10, 2, 100);  // four pictures, animated
  race.RoadSpeed = 10;
  car->StunTime = 1;
  Frame(3);
  EXPECT_EQ(race.RoadSpeed, 10);              // no throttle: stunned
  EXPECT_DOUBLE_EQ(car->StunTime, 0.97);      // one interval off
  EXPECT_EQ(coin.Y, 110);                     // one scroll step
  EXPECT_DOUBLE_EQ(coin.FramePos, 3 * 0.15);  // the animation alone takes the lag
  car->StunTime = 0;
  Hold(vk::Up);
  Frame(4);
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 10.1);
}

TEST_F(CarTest, LevelResetPlacesTheCarAgainAndDrivesFree) {
  car->DriveMode = DrivePushLeft;
  car->StunTime = 5;
  car->TargetSpeed = 3;
  car->LevelReset();
  EXPECT_EQ(car->DriveMode, DriveFree);
  EXPECT_EQ(car->StunTime, 0);
  EXPECT_EQ(car->TargetSpeed, 0);
  EXPECT_EQ(car->Z(), 4);
  EXPECT_EQ(car->X, LaneX(car->Lane, car->Width));
}

}  // namespace
}  // namespace trakvolt::testing_support
