// Whole runs played headless with random input (arrows, fire, pause, quit, yes, no and the
// window losing the foreground, at random moments): after every run no error box, no race
// sprite and no used slot remain, and the memory stays level. TRAKVOLT_SOAK_SECONDS sets how
// long it plays (default 60).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../shell/game_folder.h"
#include "platform/headless/headless_platform.h"
#include "race/race_state.h"
#include "shell/form.h"

#if defined(__SANITIZE_ADDRESS__)
#define TRAKVOLT_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRAKVOLT_SOAK_SANITIZED 1
#endif
#endif

namespace trakvolt::testing_support {
namespace {

constexpr int kKeys[] = {vk::Up, vk::Down, vk::Left, vk::Right, vk::Space};
constexpr int kTickMs = 30;

double SoakSeconds() {
  const char* text = std::getenv("TRAKVOLT_SOAK_SECONDS");
  return text != nullptr ? std::atof(text) : 60.0;
}

// Resident memory in bytes, from the kernel's page counts.
long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * 4096;
}

class Soak {
 public:
  Soak() : form_(machine_, FormSettings{20241210}), random_(7) {}

  // From the interactive main menu through the car selection into a race, then random play
  // until the run ends (the player gives up once the run has gone on long enough).
  void PlayOneRun() {
    ToInteractiveMenu();
    form_.MDisplayMouseMove(600, 140);  // over the start button, then Enter
    Type(13);
    ASSERT_EQ(form_.GameState, state::CarSelection);
    form_.Menus.HoveredButton = 7 + random_.Next(4);
    form_.MDisplayClick();
    ASSERT_EQ(form_.GameState, state::Race);
    for (int tick = 0; form_.GameState == state::Race; ++tick) {
      if (tick < kRandomTicks)
        RandomInput();
      else
        GiveUp(tick);
      Tick();
      ASSERT_LT(tick, kRandomTicks + 5000) << "the run does not end";
    }
    ReleaseAll();
  }

  // What must hold after every run.
  void CheckNothingOfTheRaceRemains(int menu_sprites) {
    EXPECT_TRUE(machine_.desktop.Boxes().empty())
        << (machine_.desktop.Boxes().empty() ? "" : machine_.desktop.Boxes()[0].text);
    const TRaceState& race = form_.RaceState;
    EXPECT_EQ(race.PlayerCar, nullptr);
    EXPECT_EQ(race.BigExplosion, nullptr);
    EXPECT_EQ(race.MicroExplosion, nullptr);
    for (const TCaptionSprite* s :
         {race.LeftPanel, race.RightPanel, race.ProgressMarker, race.NeedleHolder, race.GunIcon,
          race.TurboIcon, race.NoBonusIcon, race.DriftIcon, race.Banner})
      EXPECT_EQ(s, nullptr);
    for (int i = 1; i <= kTrackSlotCount; ++i) {
      EXPECT_FALSE(race.TrackSlots[i].InUse) << i;
      EXPECT_EQ(race.TrackSlots[i].Object, nullptr) << i;
    }
    EXPECT_EQ(race.RoadSpeed, 0);
    // Only the new menu and the background are left in the tree.
    EXPECT_EQ(form_.MSpriteEngine.Engine().Count(), menu_sprites);
    EXPECT_EQ(form_.GameState, state::MainMenu);
  }

  int MenuSprites() {
    ToInteractiveMenu();
    return form_.MSpriteEngine.Engine().Count();
  }

 private:
  static constexpr int kRandomTicks = 4000;

  void Tick() {
    machine_.events.Advance(kTickMs);
    form_.Pump();
  }
  void Type(unsigned char key) {
    platform::Event e;
    e.kind = platform::Event::Kind::KeyPress;
    e.ch = key;
    machine_.events.Push(e);
    Tick();
  }
  void Set(int key, bool down) { machine_.input.SetKey(key, down); }
  void ReleaseAll() {
    for (int key : kKeys) Set(key, false);
    for (int key : {int{'P'}, vk::Escape, int{'Y'}, int{'N'}}) Set(key, false);
    if (!machine_.window.IsForeground()) Focus(true);
  }
  void Focus(bool back) {
    machine_.window.SetForeground(back);
    platform::Event e;
    e.kind = back ? platform::Event::Kind::Activate : platform::Event::Kind::Deactivate;
    machine_.events.Push(e);
  }
  void ToInteractiveMenu() {
    for (int i = 0; i < 300 && form_.Menus.MenuPhase != menu_phase::Interactive; ++i) Tick();
    ASSERT_EQ(form_.Menus.MenuPhase, menu_phase::Interactive);
  }
  bool Chance(int per_thousand) { return random_.Next(1000) < per_thousand; }

  void RandomInput() {
    for (int key : kKeys)
      if (Chance(60)) Set(key, !machine_.input.KeyTable()[static_cast<std::size_t>(key)]);
    // The game keys are let go soon after they went down, so presses keep coming.
    const struct {
      int key, per_thousand;
    } kPresses[] = {{'P', 4}, {vk::Escape, 3}, {'Y', 8}, {'N', 15}};
    for (const auto& p : kPresses) Set(p.key, Chance(p.per_thousand));
    if (Chance(2)) Focus(!machine_.window.IsForeground());
  }
  // Back to the front, out of pause, then Escape and Yes until the run has ended.
  void GiveUp(int tick) {
    for (int key : kKeys) Set(key, false);
    if (!machine_.window.IsForeground()) Focus(true);
    const bool odd = tick % 2 == 1;
    Set('P', odd && form_.RaceState.Paused);
    Set(vk::Escape, odd && !form_.RaceState.Paused);
    Set('Y', !odd);
    Set('N', false);
  }

  GameFolder folder_;
  platform::HeadlessPlatform machine_;
  TMForm form_;
  TRandom random_;
};

TEST(RaceSoak, WholeRunsWithRandomInputLeaveNothingBehind) {
  Soak soak;
  const int menu_sprites = soak.MenuSprites();
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<long>(SoakSeconds() * 1000));
  long resident_after_fifth = 0;
  int runs = 0;
  while (runs < 2 || std::chrono::steady_clock::now() < until) {
    soak.PlayOneRun();
    ++runs;
    SCOPED_TRACE("run " + std::to_string(runs));
    soak.CheckNothingOfTheRaceRemains(menu_sprites);
    if (::testing::Test::HasFailure()) break;
#ifndef TRAKVOLT_SOAK_SANITIZED
    // The sanitizer build keeps freed memory in quarantine; it checks leaks itself instead.
    if (runs == 5) resident_after_fifth = ResidentBytes();
    if (runs > 5) {
      EXPECT_LE(ResidentBytes(), resident_after_fifth + resident_after_fifth / 10) << runs;
    }
#endif
  }
  RecordProperty("runs", runs);
  std::printf("%d runs\n", runs);
}

}  // namespace
}  // namespace trakvolt::testing_support
