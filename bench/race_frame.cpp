// A live race frame as the game runs it, on the headless machine with the built race pictures:
// the frozen and the live scene drawn, about 30 track objects of mixed kinds moving and testing
// for the car, the HUD with the rotated needle, and the flip; and its parts on their own.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/headless/headless_platform.h"
#include "race/hud.h"
#include "race/player_car.h"
#include "race/race_run.h"
#include "race/track_object.h"
#include "screens/main_menu.h"
#include "shell/form.h"

namespace trakvolt {
namespace {

// Kinds of every sort: walls, hazards, pick-ups, signs, traffic both ways.
constexpr int kKinds[] = {kind::Wall05,     kind::Wall10,       kind::Spike10,   kind::Water10,
                          kind::Stone05,    kind::Crack,        kind::Rabbit,    kind::Bonus20,
                          kind::BonusGun,   kind::SignLeftBlue, kind::WallRight, kind::FirstCar,
                          kind::FirstOncomingCar + 2};
constexpr int kObjects = 30;

class LiveRace {
 public:
  LiveRace() {
    std::filesystem::current_path(TRAKVOLT_BUILD_DIR);  // where Data/ is
    form_ = std::make_unique<TMForm>(machine_, FormSettings{99});
    TMForm& f = *form_;
    TearDownMainMenu(f.Screens);
    f.RaceState.SelectedCar = 2;
    StartRace(f.RaceHost);
    for (int i = 0; i < 80; ++i) f.MFrameTimerTimer(1);  // the countdown
    TRaceState& race = f.RaceState;
    // The car does not react: the scene stays the same from frame to frame.
    race.PlayerCar->CanCollide = false;
    for (int i = 0; i < kObjects; ++i) {
      const int slot = i + 1;
      TWallSprite& o = f.MSpriteEngine.Engine().Add<TWallSprite>(
          f.RaceWorld, slot, kKinds[static_cast<std::size_t>(i) % std::size(kKinds)]);
      o.Y = -40 + (i / 3) * 45;
      o.OwnSpeed = 0;
      race.TrackSlots[slot] = TTrackSlot{&o, true};
    }
  }
  TMForm& Form() { return *form_; }
  void Frame() {
    Form().RaceState.TimeLeft = 60;  // the clock never runs out here
    Form().MFrameTimerTimer(1);
  }

 private:
  platform::HeadlessPlatform machine_;
  std::unique_ptr<TMForm> form_;
};

void BM_RaceFrame(benchmark::State& state) {
  LiveRace race;
  if (!race.Form().RaceState.RaceActive) state.SkipWithError("the race is not running");
  for (auto _ : state) race.Frame();
}
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMicrosecond);

// The parts: one scene drawn (the frame draws two), the HUD, the needle alone.
void BM_SceneDraw(benchmark::State& state) {
  LiveRace race;
  for (auto _ : state) race.Form().BeginFrame(0, false);
}
BENCHMARK(BM_SceneDraw)->Unit(benchmark::kMicrosecond);

void BM_SpriteMove(benchmark::State& state) {
  LiveRace race;
  for (auto _ : state) race.Form().MSpriteEngine.Move(1);
}
BENCHMARK(BM_SpriteMove)->Unit(benchmark::kMicrosecond);

void BM_Hud(benchmark::State& state) {
  LiveRace race;
  for (auto _ : state) DrawHud(race.Form().RaceHost);
}
BENCHMARK(BM_Hud)->Unit(benchmark::kMicrosecond);

void BM_Needle(benchmark::State& state) {
  LiveRace race;
  for (auto _ : state) DrawNeedle(race.Form().RaceHost);
}
BENCHMARK(BM_Needle)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trakvolt
