// How long the race's timed steps last, in frames: the level-start countdown, the level clock,
// the level-complete banner, the time-bonus count and the time-over banner. Each counts one
// frame per tick however many intervals the tick catches up; only the pictures' animation
// takes the lag.
#include "race_run_fixture.h"

namespace trakvolt::testing_support {
namespace {

class RaceTiming : public RaceRunTest, public ::testing::WithParamInterface<int> {
 protected:
  int Lag() const { return GetParam(); }
  void LagTick() { Tick(Lag()); }
  void LagTicks(int n) {
    for (int i = 0; i < n; ++i) LagTick();
  }
  // Through the countdown, counting its frames.
  void Countdown() {
    LagTicks(67);
    ASSERT_FALSE(race.RaceActive);
    LagTick();
    ASSERT_TRUE(race.RaceActive);
  }
};

// Two seconds of 30 ms frames: 67 frames with the level number, the world frozen, then the car
// drives.
TEST_P(RaceTiming, TheLevelStartCountdownLastsSixtySevenFrames) {
  Hold(vk::Up);
  const double car_x = Car().X;
  for (int i = 1; i <= 67; ++i) {
    const int flips = Flips();
    LagTick();
    ASSERT_EQ(Flips(), flips + 1) << i;
    ASSERT_FALSE(race.RaceActive) << i;
    ASSERT_EQ(race.RoadSpeed, 0) << i;
  }
  LagTick();
  EXPECT_TRUE(race.RaceActive);
  EXPECT_EQ(race.StartCountdown, 0);
  EXPECT_DOUBLE_EQ(race.RoadSpeed, 0.1);  // one step of throttle
  EXPECT_EQ(Car().X, car_x);
}

// A second of 30 ms frames: the clock steps every 35th frame.
TEST_P(RaceTiming, TheClockStepsEveryThirtyFiveFrames) {
  Countdown();
  // The frame that ended the countdown was the first of the second.
  LagTicks(33);
  for (int step = 1; step <= 3; ++step) {
    EXPECT_EQ(race.TimeLeft, 60 - step + 1) << step;
    LagTick();
    EXPECT_EQ(race.TimeLeft, 60 - step) << step;
    LagTicks(34);
  }
}

// The level-complete banner shows for 34 frames; the count of the seconds left then takes one
// step every 3 frames, and the step after the last second starts the next level.
TEST_P(RaceTiming, TheLevelDoneBannerLastsThirtyFourFramesAndTheCountStepsEveryThird) {
  Countdown();
  race.TimeLeft = 3;
  race.LevelPhase = phase::FinishCrossed;
  LagTick();
  ASSERT_EQ(race.LevelPhase, phase::LevelDone);
  for (int i = 1; i <= 34; ++i) {
    const int flips = Flips();
    LagTick();
    ASSERT_EQ(race.LevelPhase, phase::LevelDone) << i;
    ASSERT_EQ(Flips(), flips + 1) << i;
  }
  LagTick();
  EXPECT_EQ(race.LevelPhase, phase::TimeBonus);
  // The clock stood with the time of its last second left: the first step comes when that
  // time has run out.
  int frames = 0;
  while (race.TimeLeft == 3 && frames < 40) {
    LagTick();
    ++frames;
  }
  ASSERT_EQ(race.TimeLeft, 2);
  for (const int left : {1, 0}) {
    LagTicks(2);
    EXPECT_EQ(race.TimeLeft, left + 1);
    LagTick();
    EXPECT_EQ(race.TimeLeft, left);
  }
  EXPECT_EQ(race.Score, 15);
  LagTicks(2);
  EXPECT_EQ(race.Level, 1);
  LagTick();
  EXPECT_EQ(race.Level, 2);
  EXPECT_EQ(race.TimeLeft, 60);
  EXPECT_EQ(race.Score, 20);
}

// Two seconds of banner: 67 frames, then the level again.
TEST_P(RaceTiming, TheTimeOverBannerLastsSixtySevenFrames) {
  Countdown();
  race.TimeLeft = 0;
  LagTick();
  ASSERT_TRUE(race.TimeOverShowing);
  LagTicks(67);
  EXPECT_TRUE(race.TimeOverShowing);
  LagTick();
  EXPECT_FALSE(race.TimeOverShowing);
  EXPECT_EQ(race.TimeLeft, 60);
  EXPECT_GT(race.StartCountdown, 0);
}

// In a live frame the road and every timer take one step; the animation takes one per interval.
TEST_P(RaceTiming, OnlyTheAnimationTakesTheLag) {
  Countdown();
  race.RoadSpeed = 10;
  const double distance = race.Distance;
  const std::int32_t second = race.SecondTimer;
  TWallSprite& coin = Place(kind::Bonus10, 50);
  const double step = coin.FrameSpeed;
  LagTick();
  EXPECT_EQ(coin.Y, 60);
  EXPECT_EQ(race.Distance, distance + 10);
  EXPECT_EQ(race.SecondTimer, second - 30);
  EXPECT_NEAR(coin.FramePos, Lag() * step, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Lag, RaceTiming, ::testing::Values(1, 3),
                         [](const ::testing::TestParamInfo<int>& p) {
                           return "Lag" + std::to_string(p.param);
                         });

}  // namespace
}  // namespace trakvolt::testing_support
