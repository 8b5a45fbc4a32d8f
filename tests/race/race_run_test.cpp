// The race run: set-up, countdown, level clock, time over and game over, the level-complete
// count, pause and the quit question, the crash sequence and the tear-down.
#include "race/hud.h"
#include "race_run_fixture.h"

namespace trakvolt::testing_support {
namespace {

class RaceRun : public RaceRunTest {
 protected:
  // Level 1 again, driving, with `lives` and `seconds` left.
  void DriveLevelOne(int lives, int seconds) {
    StartLevel(form.RaceHost, 1);
    SkipCountdown();
    race.Lives = lives;
    race.TimeLeft = seconds;
  }
};

TEST_F(RaceRun, SetUpBuildsTheRaceAndCountsDownWithTheWorldFrozen) {
  EXPECT_EQ(form.GameState, state::Race);
  EXPECT_EQ(form.Menus.ButtonCount, 0);
  EXPECT_EQ(machine.window.CursorCount(), -1);
  EXPECT_EQ(form.ScrollBackground->X, 124);
  EXPECT_EQ(race.Level, 1);
  EXPECT_EQ(race.Lives, 3);
  EXPECT_EQ(race.TimeLeft, 60);
  EXPECT_FALSE(race.NeedleHolder->Visible);
  EXPECT_FALSE(race.BigExplosion->Visible);
  EXPECT_EQ(race.BigExplosion->Z(), 6);
  EXPECT_EQ(race.RightPanel->X, 799 - race.RightPanel->Width);
  EXPECT_EQ(Count("EngineStart"), 1);

  // Every countdown frame flips its banner; the car stays where it is whatever is held, and
  // neither pause nor the quit question can start.
  const double car_x = Car().X;
  const int flips = Flips();
  Hold(vk::Left);
  Hold(vk::Up);
  Press('P');
  Press(vk::Escape);
  Ticks(10);
  EXPECT_EQ(Flips() - flips, 12);
  EXPECT_FALSE(race.Paused);
  EXPECT_FALSE(race.QuitAsked);
  EXPECT_EQ(Car().X, car_x);
  EXPECT_EQ(race.RoadSpeed, 0);
  SkipCountdown();
  EXPECT_TRUE(Car().Controllable);
  Ticks(10);
  EXPECT_GT(race.RoadSpeed, 0);
  EXPECT_LT(Car().X, car_x);
}

TEST_F(RaceRun, TheClockTicksTheLastElevenSecondsAndTakesALifeWhenTheCarStands) {
  SkipCountdown();
  race.TimeLeft = 12;
  int steps = 0;
  std::int32_t last = race.TimeLeft;
  while (race.TimeLeft > 0 && steps < 20) {
    Tick();
    if (race.TimeLeft != last) ++steps, last = race.TimeLeft;
  }
  EXPECT_EQ(steps, 12);
  EXPECT_EQ(Count("Tick"), 11);
  // The car stood all along: the life goes in the next live frame.
  EXPECT_EQ(race.Lives, 3);
  Tick();
  EXPECT_EQ(race.Lives, 2);
  EXPECT_TRUE(race.TimeOverShowing);
  EXPECT_TRUE(BannerIs("TimeIsOverNB"));
}

TEST_F(RaceRun, AtZeroTheCarRollsToAStopAtEveryClockStepAndLosesTheLifeWhenItStands) {
  SkipCountdown();
  race.TimeLeft = 1;
  race.SecondTimer = 0;
  race.RoadSpeed = 12;
  Tick();  // the step to 0
  EXPECT_EQ(race.TimeLeft, 0);
  EXPECT_EQ(Car().DriveMode, DriveSlowing);
  // Driving on after the clock ran out: the next clock step stops the car again.
  Car().DriveMode = DriveFree;
  Hold(vk::Up);
  race.SecondTimer = 0;
  Tick();
  EXPECT_EQ(Car().DriveMode, DriveSlowing);
  Release(vk::Up);
  int frames = 0;
  while (race.RoadSpeed > 0 && frames < 2000) {
    EXPECT_EQ(race.Lives, 3);
    Tick();
    ++frames;
  }
  // The frame in which the speed first reached exactly 0 took the life.
  EXPECT_EQ(race.RoadSpeed, 0);
  EXPECT_EQ(race.Lives, 2);
  EXPECT_TRUE(race.TimeOverShowing);
}

TEST_F(RaceRun, CrossingTheFinishBeforeTheCarStandsWinsTheLevel) {
  SkipCountdown();
  race.TimeLeft = 0;
  race.RoadSpeed = 12;
  race.LevelPhase = phase::FinishPlaced;
  race.Distance = LevelLength(1) - 5;
  int frames = 0;
  while (race.LevelPhase != phase::LevelDone && frames < 2000) {
    Tick();
    ++frames;
  }
  EXPECT_EQ(race.LevelPhase, phase::LevelDone);
  EXPECT_EQ(race.Lives, 3);
  EXPECT_FALSE(race.TimeOverShowing);
  EXPECT_EQ(Count("LevelFinish"), 1);
}

TEST_F(RaceRun, TimeOverWithOneLifeIsGameOverAndTheRunEndsAfterTwoSeconds) {
  SkipCountdown();
  race.Lives = 1;
  race.TimeLeft = 0;
  Tick();
  EXPECT_EQ(race.Lives, 0);
  EXPECT_TRUE(race.GameOverShowing);
  EXPECT_TRUE(BannerIs("GameOverNB"));
  EXPECT_EQ(Count("GameOver"), 1);
  // 2000 ms in frames of 30 ms: 67 banner frames, then the end.
  Ticks(67);
  EXPECT_EQ(form.GameState, state::Race);
  Tick();
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(race.PlayerCar, nullptr);
  EXPECT_EQ(race.Banner, nullptr);
  EXPECT_EQ(machine.window.CursorCount(), 0);
}

TEST_F(RaceRun, ARunThatEntersTheTableEndsInTheNameEntry) {
  SkipCountdown();
  race.Score = 1000;  // beats the default table's 800
  Press(vk::Escape);
  Press('Y');
  EXPECT_EQ(form.GameState, state::NameEntry);
  EXPECT_EQ(race.PlayerCar, nullptr);
}

TEST_F(RaceRun, ARunThatOnlyEqualsTheLastRowEndsInTheMenu) {
  SkipCountdown();
  race.Score = 200;  // the default table's last row: not better, so not entered
  Press(vk::Escape);
  Press('Y');
  EXPECT_EQ(form.GameState, state::MainMenu);
}

TEST_F(RaceRun, TimeOverWithTwoLivesRestartsTheLevelWithAFullClock) {
  SkipCountdown();
  race.Level = 2;
  race.Lives = 2;
  race.TimeLeft = 0;
  race.Distance = 5000;
  Tick();
  EXPECT_TRUE(BannerIs("TimeIsOverNB"));
  EXPECT_EQ(race.Lives, 1);
  Ticks(67);
  EXPECT_TRUE(race.TimeOverShowing);
  Tick();
  EXPECT_FALSE(race.TimeOverShowing);
  EXPECT_EQ(race.Banner, nullptr);
  EXPECT_EQ(race.Level, 2);
  EXPECT_EQ(race.TimeLeft, 61);
  EXPECT_EQ(race.Distance, 0);
  EXPECT_GT(race.StartCountdown, 0);
  EXPECT_EQ(form.GameState, state::Race);
}

TEST_F(RaceRun, SeventeenSecondsLeftGiveNinetyPointsAndLevelTwoStartsWithSixty) {
  SkipCountdown();
  race.TimeLeft = 17;
  race.LevelPhase = phase::FinishCrossed;
  Tick();
  EXPECT_EQ(race.LevelPhase, phase::LevelDone);
  EXPECT_FALSE(Car().Controllable);
  const int ticks_before = Count("Tick");
  int frames = 0;
  while (race.Level == 1 && frames < 500) {
    Tick();
    ++frames;
  }
  EXPECT_EQ(race.Score, 90);
  EXPECT_EQ(race.TimeLeft, 60);
  // One tick per step: 17 seconds counted, and the step that starts level 2.
  EXPECT_EQ(Count("Tick") - ticks_before, 18);
  EXPECT_EQ(race.LevelPhase, phase::Driving);
  EXPECT_GT(race.StartCountdown, 0);
}

TEST_F(RaceRun, ABonusLastsTenClockStepsAndWaitsWhileTheClockStands) {
  SkipCountdown();
  race.GunActive = true;
  Car().StartBonus();
  int steps = 0;
  std::int32_t last = race.TimeLeft;
  while (race.GunActive && steps < 12) {
    Tick();
    if (race.TimeLeft != last) {
      ++steps;
      last = race.TimeLeft;
      EXPECT_EQ(Count("BonusLost"), steps == 10 ? 1 : 0) << steps;
    }
  }
  EXPECT_EQ(steps, 10);
  EXPECT_FALSE(race.GunActive);

  // Past the finish the clock stands, and so does the bonus.
  race.TurboActive = true;
  Car().StartBonus();
  race.LevelPhase = phase::FinishCrossed;
  for (int i = 0; i < 150 && race.Level == 1; ++i) {
    Tick();
    EXPECT_EQ(Car().BonusTime, 10);
  }
  EXPECT_TRUE(race.TurboActive);
}

TEST_F(RaceRun, PauseAndTheQuitQuestionShutEachOtherOut) {
  SkipCountdown();
  Press('P');
  EXPECT_TRUE(race.Paused);
  EXPECT_FALSE(race.RaceActive);
  // Paused, the picture with the message stays: no further flips.
  const int flips = Flips();
  Press(vk::Escape);
  Ticks(5);
  EXPECT_EQ(Flips(), flips);
  EXPECT_FALSE(race.QuitAsked);
  EXPECT_TRUE(race.Paused);
  Press('P');
  EXPECT_FALSE(race.Paused);
  EXPECT_TRUE(race.RaceActive);

  Press(vk::Escape);
  EXPECT_TRUE(race.QuitAsked);
  Press('P');
  EXPECT_FALSE(race.Paused);
  EXPECT_TRUE(race.QuitAsked);
  Press('N');
  EXPECT_FALSE(race.QuitAsked);
  EXPECT_TRUE(race.RaceActive);
  Press(vk::Escape);
  Press('Y');
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(race.PlayerCar, nullptr);
}

TEST_F(RaceRun, TheProgressMarkerRestsAtTheTop) {
  SkipCountdown();
  race.Distance = LevelLength(1) - 100;
  race.LevelPhase = phase::FinishCrossed;  // no finish line, the car keeps going
  race.RoadSpeed = 12;
  Car().DriveMode = DriveFree;
  Hold(vk::Up);
  while (race.Distance < LevelLength(1)) Tick();
  const double rest = race.ProgressMarker->Y;
  EXPECT_LE(rest, 41);
  EXPECT_GT(rest, 41 - 1);
  Ticks(5);
  EXPECT_GT(race.Distance, LevelLength(1) + 30);
  EXPECT_EQ(race.ProgressMarker->Y, rest);
}

TEST_F(RaceRun, TheCarComesBackAfterTheCrashExplosion) {
  SkipCountdown();
  race.RoadSpeed = 12;
  Place(kind::Wall05, Car().Y - 10);
  Tick();
  ASSERT_TRUE(race.RespawnPending);
  EXPECT_EQ(race.Lives, 2);
  EXPECT_TRUE(race.BigExplosion->Visible);
  EXPECT_FALSE(Car().Controllable && race.RoadSpeed > 0);
  int frames = 0;
  while (race.RespawnPending && frames < 500) {
    Tick();
    ++frames;
  }
  EXPECT_FALSE(race.RespawnPending);
  EXPECT_FALSE(race.BigExplosion->Visible);
  EXPECT_EQ(race.BigExplosion->FrameSteps, 0);
  EXPECT_EQ(race.CrashSlot, 0);
  EXPECT_TRUE(Car().Controllable);
  EXPECT_EQ(Car().Image(), &form.MImageList3.Find("Car1"));
  EXPECT_EQ(Car().Z(), 4);
  // Two plays of the explosion, at 20 frames per second.
  const int frame_count = race.BigExplosion->FrameCount;
  EXPECT_NEAR(frames, 2 * frame_count / 0.6, 3);
}

// A fatal crash hides what crashed; an object that took the slot since stays on the road.
TEST_F(RaceRun, AfterTheLastCrashOnlyTheCrashedObjectIsHidden) {
  SkipCountdown();
  race.Lives = 1;
  race.RoadSpeed = 12;
  TWallSprite& wall = Place(kind::Wall05, Car().Y - 10);
  const int slot = wall.Slot;
  Tick();
  ASSERT_EQ(race.Lives, 0);
  ASSERT_EQ(race.CrashSlot, slot);
  // The wreck is swept and a new object takes its slot before the next frame.
  wall.Free();
  TWallSprite& next = Place(kind::Stone05, 0);
  ASSERT_EQ(next.Slot, slot);
  Tick();
  EXPECT_TRUE(race.GameOverShowing);
  EXPECT_FALSE(race.BigExplosion->Visible);
  EXPECT_TRUE(next.Visible);
}

TEST_F(RaceRun, AFatalCrashHidesTheObjectItHit) {
  SkipCountdown();
  race.Lives = 1;
  race.RoadSpeed = 12;
  TWallSprite& wall = Place(kind::Wall05, Car().Y - 10);
  Tick();
  ASSERT_EQ(race.Lives, 0);
  Tick();
  EXPECT_TRUE(race.GameOverShowing);
  EXPECT_FALSE(wall.Visible);
}

// A crash holds the car for its two seconds even when it came while drifting after spikes:
// from the crash on, Up held gives the same speeds as after any other crash.
TEST_F(RaceRun, ACrashWhileDriftingHoldsTheCarAsLongAsAnyCrash) {
  SkipCountdown();
  auto speeds_after_crash = [this](bool drifting) {
    StartLevel(form.RaceHost, 1);
    SkipCountdown();
    race.RoadSpeed = 250.0 / 14;
    if (drifting) {
      // What spikes leave: slowing to 50/14, the throttle locked for 10 s, the drift icon.
      Car().DriveMode = DriveSlowing;
      Car().TargetSpeed = 50.0 / 14;
      Car().StunTime = 10;
      race.DriftActive = true;
    }
    Place(kind::Wall10, Car().Y - 10);
    Hold(vk::Up);
    Tick();
    EXPECT_TRUE(race.RespawnPending) << drifting;
    std::vector<double> speeds;
    for (int i = 0; i < 150; ++i) {
      Tick();
      speeds.push_back(race.RoadSpeed);
    }
    Release(vk::Up);
    return speeds;
  };
  const std::vector<double> plain = speeds_after_crash(false);
  const std::vector<double> drifting = speeds_after_crash(true);
  EXPECT_EQ(plain[60], 0);     // still held well after the crash
  EXPECT_GT(plain.back(), 0);  // and driving again at the end
  EXPECT_EQ(drifting, plain);
}

// The clock runs out as the car crashes: the crash takes one life, the time-over banner follows
// with the lives left, and the last life always ends in the game-over banner.
TEST_F(RaceRun, ACrashAsTheClockRunsOutCostsOneLife) {
  for (const int lives : {3, 1}) {  // the run ends with the last
    DriveLevelOne(lives, 1);
    race.SecondTimer = 0;
    race.RoadSpeed = 200.0 / 14;
    Place(kind::Wall10, Car().Y - 10);
    Tick();  // the crash, and the clock step to 0
    ASSERT_TRUE(race.RespawnPending) << lives;
    ASSERT_EQ(race.TimeLeft, 0) << lives;
    Ticks(2);
    EXPECT_EQ(race.Lives, lives - 1) << lives;
    if (lives == 1) {
      EXPECT_TRUE(race.GameOverShowing);
      EXPECT_TRUE(BannerIs("GameOverNB"));
      EXPECT_FALSE(race.BigExplosion->Visible);
      Ticks(65);  // with the two above, all 67 frames of the banner
      EXPECT_EQ(form.GameState, state::Race);
      Tick();
      EXPECT_EQ(form.GameState, state::MainMenu);
    } else {
      EXPECT_TRUE(race.TimeOverShowing);
      EXPECT_TRUE(BannerIs("TimeIsOverNB"));
      Ticks(70);
      EXPECT_EQ(race.Lives, lives - 1);
      EXPECT_EQ(race.TimeLeft, LevelTime(1));  // the level again, and the wreck gone
      EXPECT_FALSE(race.BigExplosion->Visible);
      EXPECT_FALSE(race.RespawnPending);
    }
  }
}

// Traffic can still hit the standing car while the time-over banner shows.
TEST_F(RaceRun, ACrashDuringTheTimeOverBanner) {
  for (const int lives : {3, 2}) {  // the run ends with the last
    DriveLevelOne(lives, 0);
    Tick();
    ASSERT_TRUE(race.TimeOverShowing) << lives;
    ASSERT_EQ(race.Lives, lives - 1);
    Ticks(20);
    TWallSprite& oncoming = Place(kind::FirstOncomingCar, Car().Y - 10);
    oncoming.OwnSpeed = 60.0 / 14;
    Tick();  // the hit
    ASSERT_EQ(race.Lives, lives - 2) << lives;
    if (race.Lives == 0) {
      // The last life: the game-over banner at once, for its whole 2000 ms.
      EXPECT_FALSE(race.TimeOverShowing);
      EXPECT_TRUE(BannerIs("GameOverNB"));
      Ticks(66);  // with the hit's frame, all 67 frames of the banner
      EXPECT_EQ(form.GameState, state::Race);
      Tick();
      EXPECT_EQ(form.GameState, state::MainMenu);
    } else {
      // Lives left: the level starts again without the wreck's explosion on the car.
      for (int i = 0; i < 100 && race.TimeOverShowing; ++i) Tick();
      ASSERT_FALSE(race.TimeOverShowing);
      EXPECT_GT(race.StartCountdown, 0);
      EXPECT_FALSE(race.BigExplosion->Visible);
      EXPECT_EQ(race.BigExplosion->FrameSteps, 0);
      EXPECT_EQ(race.BigExplosion->FramePos, 0);
    }
  }
}

class RaceTeardownTest : public RaceRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(RaceTeardownTest, LeavesNothingOfTheRaceWhateverBonusRuns) {
  SkipCountdown();
  if (GetParam() == 1) race.GunActive = true;
  if (GetParam() == 2) race.TurboActive = true;
  Car().StartBonus();
  race.RoadSpeed = 12;
  Place(kind::Wall10, 100);
  RaceTeardown(form.RaceHost);
  // Only the background is left, back at the top left.
  EXPECT_EQ(form.MSpriteEngine.Engine().Count(), 1);
  EXPECT_EQ(form.ScrollBackground->X, 0);
  for (int i = 1; i <= kTrackSlotCount; ++i) EXPECT_FALSE(race.TrackSlots[i].InUse);
  EXPECT_EQ(race.PlayerCar, nullptr);
  EXPECT_EQ(race.BigExplosion, nullptr);
  EXPECT_EQ(race.MicroExplosion, nullptr);
  EXPECT_EQ(race.GunIcon, nullptr);
  EXPECT_FALSE(race.GunActive || race.TurboActive);
  EXPECT_EQ(race.RoadSpeed, 0);
  EXPECT_FALSE(form.MFrameTimer.Enabled());
}
INSTANTIATE_TEST_SUITE_P(NoneGunTurbo, RaceTeardownTest, ::testing::Values(0, 1, 2));

TEST(RaceHud, NumbersMoveLeftPerLimitPassed) {
  struct {
    std::int32_t value;
    int shift;
  } cases[] = {{0, 0},     {99, 0},    {100, 10},   {999, 10},
               {1000, 20}, {9999, 20}, {10000, 30}, {123456, 30}};
  for (const auto& c : cases) EXPECT_EQ(HudShift(c.value), c.shift) << c.value;
}

}  // namespace
}  // namespace trakvolt::testing_support
