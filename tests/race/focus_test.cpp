// The window going behind another one: silence on every screen, a running race paused as by
// the pause key, and everything back when the window returns.
#include <algorithm>

#include "race_run_fixture.h"

namespace trakvolt::testing_support {
namespace {

class Focus : public RaceRunTest {
 protected:
  void Send(platform::Event::Kind kind) {
    machine.window.SetForeground(kind == platform::Event::Kind::Activate);
    platform::Event e;
    e.kind = kind;
    machine.events.Push(e);
    form.Pump();
  }
  void Lose() { Send(platform::Event::Kind::Deactivate); }
  void Regain() { Send(platform::Event::Kind::Activate); }
  // Whether a tenth of a second of the mix holds any sound.
  bool Audible() {
    const std::vector<std::int16_t> mix = machine.audio.Pull(4410);
    return std::any_of(mix.begin(), mix.end(), [](std::int16_t s) { return s != 0; });
  }
};

TEST_F(Focus, ARunningRaceIsPausedAndThePauseKeyContinuesIt) {
  SkipCountdown();
  machine.audio.Pull(3 * 44100);  // the start's one-shot sounds play out; music and engine go on
  ASSERT_TRUE(Audible());
  Lose();
  EXPECT_TRUE(race.Paused);
  EXPECT_FALSE(race.RaceActive);
  EXPECT_FALSE(Audible());
  Regain();
  // Paused as by the key: music and engine stay off, and the first frame shows the message.
  EXPECT_FALSE(Audible());
  const int flips = Flips();
  Tick();
  EXPECT_EQ(Flips(), flips + 1);
  Ticks(3);
  EXPECT_EQ(Flips(), flips + 1);
  EXPECT_TRUE(race.Paused);
  Press('P');
  EXPECT_FALSE(race.Paused);
  EXPECT_TRUE(race.RaceActive);
  EXPECT_TRUE(Audible());
}

TEST_F(Focus, TheCountdownIsSilentUntilTheWindowReturnsAndIsNotPaused) {
  Ticks(3);
  ASSERT_GT(race.StartCountdown, 0);
  ASSERT_TRUE(Audible());
  Lose();
  EXPECT_FALSE(Audible());
  EXPECT_FALSE(race.Paused);
  Regain();
  EXPECT_TRUE(Audible());
  SkipCountdown();
  EXPECT_FALSE(race.Paused);
}

TEST_F(Focus, TheMenuMusicStopsAndComesBack) {
  RaceTeardown(form.RaceHost);
  BuildMainMenu(form.Screens, true, 0);
  Ticks(3);
  ASSERT_TRUE(Audible());
  Lose();
  EXPECT_FALSE(Audible());
  Regain();
  EXPECT_TRUE(Audible());
}

}  // namespace
}  // namespace trakvolt::testing_support
