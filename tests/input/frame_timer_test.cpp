// The frame timer on a virtual clock: cadence, LagCount, activation.
#include "input/frame_timer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace trakvolt;

namespace {

struct TimerRig {
  std::uint32_t now = 5000;
  std::vector<int> lags;
  TFrameTimer timer{[this] { return now; }};
  TimerRig() {
    timer.SetInterval(30);
    timer.SetOnTimer([this](int lag) { lags.push_back(lag); });
    timer.SetEnabled(true);
  }
  // Advances the clock by `ms` and runs idle processing once.
  void After(std::uint32_t ms) {
    now += ms;
    timer.Idle();
  }
};

}  // namespace

TEST(FrameTimer, TicksOnlyWhenAnIntervalHasPassed) {
  TimerRig r;
  r.After(29);
  EXPECT_TRUE(r.lags.empty());
  r.After(1);
  EXPECT_EQ(r.lags, std::vector<int>{1});
  EXPECT_EQ(r.timer.MillisecondsUntilDue(), 30);
}

struct LagCase {
  std::uint32_t gap;
  int lag;
};
class FrameTimerLag : public testing::TestWithParam<LagCase> {};

TEST_P(FrameTimerLag, LateTicksCarryTheWholeIntervalsThatPassed) {
  TimerRig r;
  r.After(GetParam().gap);
  ASSERT_EQ(r.lags.size(), 1u);  // one tick, never a queue of them
  EXPECT_EQ(r.lags[0], GetParam().lag);
}

INSTANTIATE_TEST_SUITE_P(Gaps, FrameTimerLag,
                         testing::Values(LagCase{30, 1}, LagCase{59, 1}, LagCase{65, 2},
                                         LagCase{100, 3}, LagCase{3000, 100}));

TEST(FrameTimer, LosingActivationStopsTicksAndComingBackStartsFreshClocks) {
  TimerRig r;
  r.timer.SetApplicationActive(false);
  EXPECT_FALSE(r.timer.Installed());
  EXPECT_EQ(r.timer.MillisecondsUntilDue(), -1);
  r.After(5000);
  EXPECT_TRUE(r.lags.empty());
  r.timer.SetApplicationActive(true);
  r.After(30);
  EXPECT_EQ(r.lags, std::vector<int>{1});
}

TEST(FrameTimer, DisabledOrNegativeInterval) {
  TimerRig r;
  r.timer.SetEnabled(false);
  r.After(100);
  EXPECT_TRUE(r.lags.empty());
  r.timer.SetInterval(-5);
  EXPECT_EQ(r.timer.Interval(), 0);
  r.timer.SetEnabled(true);
  r.After(7);  // interval 0: every idle pass ticks, lag counted per millisecond
  EXPECT_EQ(r.lags, std::vector<int>{7});
}

TEST(FrameTimer, MeasuresTheFrameRateOverAFullSecond) {
  TimerRig r;
  for (int i = 0; i < 40; ++i) r.After(30 + i % 2);  // 33 ticks in the first 1006 ms
  EXPECT_EQ(r.timer.FrameRate(), 33);
}
