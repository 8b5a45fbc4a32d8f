// A live race frame as the game runs it, on the headless machine with the built race pictures:
// the frozen and the live scene drawn, about 30 track objects of mixed kinds moving and testing
// for the car, the HUD with the rotated needle, and the flip; and its parts on their own.
#include <benchmark/benchmark.h>

#include "live_race.h"
#include "race/hud.h"

namespace trakvolt {
namespace {

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
