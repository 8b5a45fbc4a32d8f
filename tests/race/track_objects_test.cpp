// Track objects meeting the car: walls, traffic, hazards, bonuses and the overlap rule, with
// the real pictures.
#include <cmath>
#include <set>

#include "race_fixture.h"

namespace trakvolt::testing_support {
namespace {

using ObjectTest = RaceWorldTest;

struct HitCase {
  const char* name;
  int kind;
  double own_speed;  // traffic only
  double speed;      // the car's speed at the hit
  bool crash;
  double speed_after;
};

class HitTest : public RaceWorldTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, CrashOrSlowDownByTheSpeedAtTheHit) {
  const HitCase& c = GetParam();
  PutCarInLane(3);
  TWallSprite& o = PlaceOnCar(c.kind);
  o.OwnSpeed = c.own_speed;
  race.RoadSpeed = c.speed;
  Frame();
  EXPECT_FALSE(o.CanCollide);
  EXPECT_EQ(race.CrashSlot, o.Slot);
  EXPECT_TRUE(Played("CarExplosion"));
  EXPECT_EQ(o.FrameLooped, false);
  EXPECT_EQ(race.Lives, c.crash ? 2 : 3);
  EXPECT_EQ(race.RespawnPending, c.crash);
  EXPECT_EQ(race.BigExplosion->Visible, c.crash);
  EXPECT_NEAR(race.RoadSpeed, c.speed_after, 1e-12);
  if (o.Moving) {
    EXPECT_EQ(o.OwnSpeed, 0);  // the wreck lies still
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HitTest,
    ::testing::Values(
        HitCase{"WallAtExactly150Stops", kind::Wall05, 0, 150.0 / 14, false, 0},
        HitCase{"WallJustAbove150Crashes", kind::Wall10, 0, std::nextafter(150.0 / 14, 99.0), true,
                0},
        // Same direction at 80/14: closing at 30/14 when hit at 110/14, the car drops by 100/14.
        HitCase{"SlowTrafficClosingAt30", kind::FirstCar, -80.0 / 14, 110.0 / 14, false, 10.0 / 14},
        HitCase{"SlowTrafficClosingAt70", kind::FirstCar + 2, -80.0 / 14, 150.0 / 14, true, 0},
        // Oncoming at its slowest, 20/14: anything faster than 30/14 closes above 50/14.
        HitCase{"OncomingClosingAt49", kind::FirstOncomingCar, 20.0 / 14, 29.0 / 14, false,
                29.0 / 14},
        HitCase{"OncomingClosingAt51", kind::LastCar, 20.0 / 14, 31.0 / 14, true, 0}),
    [](const ::testing::TestParamInfo<HitCase>& c) { return std::string(c.param.name); });

TEST_F(ObjectTest, AWallStopDeadStunsAndEndsTheDrift) {
  PutCarInLane(3);
  race.DriftActive = true;
  TWallSprite& wall = PlaceOnCar(kind::Wall05);
  race.RoadSpeed = 5;
  Frame();
  EXPECT_EQ(race.RoadSpeed, 0);
  EXPECT_EQ(car->StunTime, 2);
  EXPECT_FALSE(race.DriftActive);
  EXPECT_EQ(wall.Image(), &form.MImageList3.Find("ExplosionSmall"));
  EXPECT_EQ(wall.Width, 64);
}

TEST_F(ObjectTest, NothingShieldsAStandingCarAfterACrash) {
  PutCarInLane(3);
  PlaceOnCar(kind::Wall10);
  race.RoadSpeed = 200.0 / 14;
  Frame();
  ASSERT_EQ(race.Lives, 2);
  ASSERT_EQ(race.RoadSpeed, 0);
  // An oncoming car faster than 50/14 reaches the wreck and the standing car.
  TWallSprite& oncoming = Place(kind::FirstOncomingCar, 3, car->Y - 120);
  oncoming.OwnSpeed = 60.0 / 14;
  for (int i = 0; i < 60 && race.Lives == 2; ++i) Frame();
  EXPECT_EQ(race.Lives, 1);
  EXPECT_EQ(race.CrashSlot, oncoming.Slot);
}

TEST_F(ObjectTest, HazardsSlowThePushAndTheRabbitTakesPoints) {
  PutCarInLane(3);
  race.RoadSpeed = 250.0 / 14;
  TWallSprite& spike = PlaceOnCar(kind::Spike10);
  Frame();
  EXPECT_TRUE(Played("Spike"));
  EXPECT_EQ(car->DriveMode, DriveSlowing);
  EXPECT_EQ(car->TargetSpeed, 50.0 / 14);
  EXPECT_EQ(car->StunTime, 10);
  EXPECT_TRUE(race.DriftActive);
  EXPECT_TRUE(race.TrackSlots[spike.Slot].InUse);  // hazards stay and scroll away
  Hold(vk::Up);
  Frames(100);
  EXPECT_LE(race.RoadSpeed, 50.0 / 14);  // no throttle while the spikes stun

  race.Score = 60;
  TWallSprite& rabbit = PlaceOnCar(kind::Rabbit);
  const int slot = rabbit.Slot;
  Frame();
  EXPECT_EQ(race.Score, 0);
  EXPECT_TRUE(Played("Rabbit"));
  EXPECT_FALSE(race.TrackSlots[slot].InUse);  // collected: gone at the sweep
}

TEST_F(ObjectTest, ABonusTakenAfterTheSpikesEndsTheThrottleLock) {
  PutCarInLane(3);
  race.RoadSpeed = 100.0 / 14;
  PlaceOnCar(kind::Spike10);
  Frame();
  ASSERT_EQ(car->StunTime, 10);
  Frames(30);  // slowing down to 50/14, then the stun clock runs
  TakeBonus(kind::BonusGun);
  EXPECT_EQ(car->StunTime, 0);
  Hold(vk::Up);
  Frame();
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 5.1);
}

TEST_F(ObjectTest, StonesAndCracksTakeTheirAmountOffAndStopASlowerCar) {
  // Each hazard takes its own amount off the speed; a car no faster than that is stopped, and
  // what an earlier hit or the shoulder left as the target makes no difference.
  struct Case {
    int kind;
    double by;
    const char* sound;
  } cases[] = {{kind::Stone05, 100.0 / 14, "Stone"},
               {kind::StoneSmall05, 40.0 / 14, nullptr},
               {kind::Crack, 20.0 / 14, nullptr}};
  for (const Case& c : cases) {
    for (const double speed : {250.0 / 14, 5.0, c.by + 0.01, c.by, c.by / 2}) {
      for (const double earlier_target : {0.0, 250.0 / 14}) {
        RemoveAllObjects(world);
        sounds.clear();
        PutCarInLane(3);
        car->DriveMode = DriveFree;
        car->TargetSpeed = earlier_target;
        race.RoadSpeed = speed;
        PlaceOnCar(c.kind);
        Frame();
        const double target = speed > c.by ? speed - c.by : 0;
        const std::string where = std::to_string(c.kind) + " at " + std::to_string(speed) +
                                  " after " + std::to_string(earlier_target);
        EXPECT_DOUBLE_EQ(car->TargetSpeed, target) << where;
        EXPECT_EQ(car->DriveMode, DriveSlowing) << where;
        EXPECT_EQ(Played("Stone"), c.sound != nullptr) << where;
        // The car brakes to the target and drives on from there.
        Frames(80);
        EXPECT_EQ(car->DriveMode, DriveFree) << where;
        EXPECT_LE(race.RoadSpeed, target) << where;
        EXPECT_GT(race.RoadSpeed, target - 0.2 - 1e-9) << where;
      }
    }
  }
}

TEST_F(ObjectTest, WaterInTheRightLanePushesLeftByAboutOneLane) {
  PutCarInLane(4);
  race.RoadSpeed = 250.0 / 14;
  PlaceOnCar(kind::Water10);
  Frame();
  EXPECT_TRUE(Played("Water"));
  EXPECT_EQ(car->DriveMode, DrivePushLeft);
  EXPECT_EQ(car->SlideLeft, 110);
  EXPECT_NEAR(car->TargetSpeed, 150.0 / 14, 1e-12);
  const double x0 = car->X;
  int frames = 0;
  while (car->DriveMode != DriveFree && frames < 100) {
    Frame();
    ++frames;
  }
  // The push ends once the slide is used up: 110 pixels and at most one step more.
  EXPECT_GE(x0 - car->X, 110);
  EXPECT_LT(x0 - car->X, 110 + 250.0 / 14 / 1.8);
  EXPECT_EQ(car->SlideLeft, 0);
}

TEST_F(ObjectTest, WaterInTheMiddleLanesPushesARandomWay) {
  std::set<int> seen;
  for (int trial = 0; trial < 12; ++trial) {
    const int lane = 2 + trial % 2;
    RemoveAllObjects(world);
    PutCarInLane(lane);
    car->DriveMode = DriveFree;
    race.RoadSpeed = 5;
    PlaceOnCar(trial % 4 < 2 ? kind::Water05 : kind::Water10);
    TRandom probe = form.Random;  // the reaction draws the next number
    const bool right = probe.Next(2) == 1;
    Frame();
    EXPECT_EQ(car->DriveMode, right ? DrivePushRight : DrivePushLeft);
    EXPECT_EQ(car->TargetSpeed, 5);  // slow: nothing to take off
    EXPECT_EQ(car->SlideLeft, right ? LaneEdges[lane + 1] - LaneEdges[lane]
                                    : LaneEdges[lane] - LaneEdges[lane - 1]);
    seen.insert(car->DriveMode);
  }
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(ObjectTest, GrazingTheOuterTenthDoesNothingDeeperReacts) {
  PutCarInLane(3);
  race.RoadSpeed = 5;
  TWallSprite& wall = Place(kind::Wall05, 3, car->Y - 10);
  const double reach = 0.9 * wall.Width;
  for (const double car_x :
       {wall.X + reach + 0.1, wall.X + wall.Width - car->Width - reach - 0.1}) {
    car->X = car_x;
    Frame();
    EXPECT_TRUE(wall.CanCollide) << car_x;
    EXPECT_EQ(race.RoadSpeed, 5) << car_x;
  }
  car->X = wall.X + reach - 0.1;
  Frame();
  EXPECT_FALSE(wall.CanCollide);
  EXPECT_EQ(race.RoadSpeed, 0);
}

TEST_F(ObjectTest, NothingReactsOnceTheFinishIsCrossed) {
  for (const int level_phase : {phase::FinishPlaced, phase::FinishCrossed, phase::TimeBonus}) {
    RemoveAllObjects(world);
    race.LevelPhase = level_phase;
    race.RoadSpeed = 200.0 / 14;
    race.Lives = 3;
    PutCarInLane(3);
    TWallSprite& wall = PlaceOnCar(kind::Wall05);
    Frame();
    EXPECT_EQ(wall.CanCollide, level_phase >= phase::FinishCrossed) << level_phase;
    EXPECT_EQ(race.Lives, level_phase >= phase::FinishCrossed ? 3 : 2) << level_phase;
  }
}

TEST_F(ObjectTest, BonusesGivePointsAndALife) {
  struct Case {
    int kind, points, lives;
  } cases[] = {{kind::Bonus10, 10, 0},
               {kind::Bonus20, 20, 0},
               {kind::Bonus50, 50, 0},
               {kind::Bonus100, 100, 0},
               {kind::BonusLive, 0, 1}};
  race.RoadSpeed = 5;
  for (const Case& c : cases) {
    race.Score = 1000;
    race.Lives = 3;
    sounds.clear();
    PlaceOnCar(c.kind);
    Frame();
    EXPECT_EQ(race.Score, 1000 + c.points) << c.kind;
    EXPECT_EQ(race.Lives, 3 + c.lives) << c.kind;
    EXPECT_TRUE(Played("ScoreGet")) << c.kind;
    EXPECT_EQ(UsedSlots(), 0) << c.kind;
  }
}

TEST_F(ObjectTest, TheGunAndTheTurboEndEachOther) {
  PutCarInLane(3);
  TakeBonus(kind::BonusGun);
  ASSERT_TRUE(race.GunActive);
  ASSERT_NE(car->BonusIcon, nullptr);
  EXPECT_EQ(car->BonusIcon->Image(), &form.MImageList3.Find("Gun"));
  EXPECT_EQ(car->BonusFlame->Image(), &form.MImageList3.Find("GunFire"));
  EXPECT_FALSE(car->BonusFlame->Visible);
  EXPECT_EQ(car->BonusTime, 10);
  const int sprites_with_gun = Sprites().Count();

  TakeBonus(kind::BonusTurbo);
  EXPECT_FALSE(race.GunActive);
  EXPECT_TRUE(race.TurboActive);
  EXPECT_EQ(car->BonusIcon->Image(), &form.MImageList3.Find("TurboRed"));  // car 1's colour
  EXPECT_EQ(car->BonusFlame->Image(), &form.MImageList3.Find("TurboFire"));
  EXPECT_EQ(car->MaxSpeed, 300.0 / 14);
  EXPECT_EQ(car->BaseAccel, 0.2);
  EXPECT_EQ(Sprites().Count(), sprites_with_gun);  // the gun's overlays are gone

  race.RoadSpeed = 280.0 / 14;
  PlaceOnCar(kind::BonusGun);
  Frame();
  EXPECT_TRUE(race.GunActive);
  EXPECT_FALSE(race.TurboActive);
  EXPECT_EQ(car->MaxSpeed, 250.0 / 14);
  EXPECT_EQ(car->BonusIcon->Image(), &form.MImageList3.Find("Gun"));
  EXPECT_EQ(Sprites().Count(), sprites_with_gun);
  // Faster than the normal top speed: the car coasts down to it.
  EXPECT_EQ(car->DriveMode, DriveSlowing);
  EXPECT_EQ(car->TargetSpeed, 250.0 / 14);
}

TEST_F(ObjectTest, TakingTheGunAgainOnlyRenewsItsTime) {
  TakeBonus(kind::BonusGun);
  car->BonusTime = 3;
  const TCaptionSprite* icon = car->BonusIcon;
  sounds.clear();
  TakeBonus(kind::BonusGun);
  EXPECT_EQ(car->BonusTime, 10);
  EXPECT_EQ(car->BonusIcon, icon);
  EXPECT_EQ(sounds, std::vector<std::string>{"BonusGet"});
}

TEST_F(ObjectTest, TheTurboOverlaysRideOnTheCarAndTheFlameShowsUnderThrottle) {
  PutCarInLane(3);
  TakeBonus(kind::BonusTurbo);
  ASSERT_TRUE(race.TurboActive);
  Hold(vk::Up);
  Hold(vk::Left);
  Frame();
  const TCaptionSprite& icon = *car->BonusIcon;
  const TCaptionSprite& flame = *car->BonusFlame;
  EXPECT_TRUE(flame.Visible);
  EXPECT_EQ(icon.X, car->X + (car->Width - icon.Width) / 2.0);
  EXPECT_EQ(flame.X, icon.X + 2);
  EXPECT_EQ(icon.Y, car->Y + car->Height - 0.9 * icon.Height);
  EXPECT_EQ(flame.Y, car->Y + car->Height + 0.1 * icon.Height);
  EXPECT_EQ(icon.Z(), car->Z() + 1);
  EXPECT_TRUE(flame.FrameLooped);
  EXPECT_DOUBLE_EQ(flame.FrameSpeed, 0.45);
  Release(vk::Up);
  Frame();
  EXPECT_FALSE(flame.Visible);  // off the throttle, below the normal top speed
}

TEST_F(ObjectTest, ScenerySignsAndTheFinishLineDoNothing) {
  PutCarInLane(3);
  race.RoadSpeed = 10;
  for (const int k : {kind::FinishLine, kind::SignLeftRed}) {
    TWallSprite& o = Place(k, 3, car->Y - 10);
    o.X = car->X;  // right under the car
    Frame();
    EXPECT_FALSE(o.CanCollide);
    EXPECT_EQ(race.RoadSpeed, 10);
    EXPECT_EQ(race.Lives, 3);
  }
}

}  // namespace
}  // namespace trakvolt::testing_support
