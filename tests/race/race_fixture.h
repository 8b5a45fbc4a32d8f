// A race world over the headless machine with the built race pictures: the player's car and
// the two explosions as the race sets them up, objects placed where a case needs them, input
// states held down, and frames run in the race frame's order.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../shell/game_folder.h"
#include "platform/headless/headless_platform.h"
#include "race/explosion.h"
#include "race/gun.h"
#include "race/object_removal.h"
#include "race/player_car.h"
#include "race/spawning.h"
#include "race/track_object.h"
#include "screens/main_menu.h"
#include "shell/form.h"

namespace trakvolt::testing_support {

class RaceWorldTest : public ::testing::Test {
 protected:
  explicit RaceWorldTest(std::uint32_t seed = 20240601)
      : form(machine, FormSettings{seed}), world(form.RaceWorld), race(form.RaceState) {
    TearDownMainMenu(form.Screens);  // the race starts from a torn-down menu, as it does in play
    form.GameState = state::Race;
    form.ScrollBackground->SetImage(&form.MImageList3.Find("GroundLeft"));
    form.ScrollBackground->X = 124;
    race.Level = 1;
    race.Lives = 3;
    race.SelectedCar = 1;
    race.RaceActive = true;
    BuildSpawnChance(race, 1);
    car = &Sprites().Add<TMyCarSprite>(world, race.SelectedCar);
    race.PlayerCar = car;
    car->Controllable = true;
    car->SetZ(4);
    race.MicroExplosion = &Sprites().Add<TExplosion>(world, 400, 300, "ExplosionMicro");
    race.BigExplosion = &Sprites().Add<TExplosion>(world, 400, 300, "ExplosionBig");
    race.BigExplosion->SetZ(6);
    // Every sound the race asks for, in order, and still played.
    world.PlaySound = [this, play = world.PlaySound](std::string_view name) {
      sounds.emplace_back(name);
      play(name);
    };
  }

  TSpriteEngine& Sprites() { return form.MSpriteEngine.Engine(); }

  void Hold(int key) { machine.input.SetKey(key, true); }
  void Release(int key) { machine.input.SetKey(key, false); }

  // One race frame as far as the world goes: the tick polls the input, normal driving makes
  // the car controllable, every sprite moves (the car first), finished objects are swept,
  // new ones spawned (when `spawning`), and the gun fires while Space or Ctrl is held.
  void Frame(int lag = 1) {
    form.MInput.Update();
    if (race.LevelPhase == phase::Driving) car->Controllable = true;
    form.MSpriteEngine.Move(lag);
    SweepObjects(world);
    if (spawning) SpawnStep(world);
    FireGun(world, form.MInput.IsOn(InputState::Button8) || form.CtrlHeld);
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }

  // The x at which a sprite of `width` is centred in `lane`, as the game centres things.
  static double LaneX(int lane, int width) {
    return LaneEdges[lane] + ((LaneEdges[lane + 1] - LaneEdges[lane]) - width) / 2.0;
  }
  void PutCarInLane(int lane) {
    car->Lane = lane;
    car->X = LaneX(lane, car->Width);
  }

  // An object of `kind` in the first free slot, centred in `lane` with its top at `y`, as if
  // the spawn had placed it there (traffic keeps the speed it drew; set OwnSpeed to choose).
  TWallSprite& Place(int kind, int lane, double y) {
    int slot = 1;
    while (race.TrackSlots[slot].InUse) ++slot;
    TWallSprite& o = Sprites().Add<TWallSprite>(world, slot, kind);
    o.Lane = lane;
    if (!IsRoadside(kind)) o.X = LaneX(lane, o.Width);
    o.Y = y;
    race.TrackSlots[slot] = TTrackSlot{&o, true};
    return o;
  }
  // An object in the car's lane, overlapping the car: it reacts in the next frame.
  TWallSprite& PlaceOnCar(int kind) { return Place(kind, car->Lane, car->Y - 10); }
  // Drives slowly into a pick-up of `kind`.
  void TakeBonus(int kind) {
    race.RoadSpeed = 5;
    PlaceOnCar(kind);
    Frame();
  }

  // The road with one of everything: the car in lane 3 with the turbo flame, a wall, water, a
  // pick-up, a sign, traffic both ways standing still, and a wall blowing up under the small
  // explosion.
  void BuildBusyRoad() {
    PutCarInLane(3);
    TakeBonus(kind::BonusTurbo);
    Place(kind::Wall05, 2, 60);
    Place(kind::Water10, 4, 140);
    Place(kind::Bonus50, 3, 230);
    Place(kind::SignLeftBlue, 2, 20);
    Place(kind::FirstCar + 4, 4, 300).OwnSpeed = 0;
    Place(kind::FirstOncomingCar + 1, 2, 250).OwnSpeed = 0;
    TWallSprite& shot = Place(kind::Wall10, 3, 120);
    shot.BlowUp();
    race.MicroExplosion->Visible = true;
    race.MicroExplosion->X = car->X + car->Width / 2.0;
    race.MicroExplosion->Y = 140;
    race.RoadSpeed = 0;
    Hold(vk::Up);
    car->StunTime = 1;  // the flame shows without the car speeding off
    race.TurboActive = true;
    for (int i = 0; i < 4; ++i) Frame();
    car->SetTurboFlameVisible(true);
  }

  int UsedSlots() const {
    int n = 0;
    for (int i = 1; i <= kTrackSlotCount; ++i) n += race.TrackSlots[i].InUse ? 1 : 0;
    return n;
  }
  bool Played(const std::string& name) const {
    for (const std::string& s : sounds)
      if (s == name) return true;
    return false;
  }

  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form;
  TRaceWorld& world;
  TRaceState& race;
  TMyCarSprite* car = nullptr;
  bool spawning = false;
  std::vector<std::string> sounds;
};

}  // namespace trakvolt::testing_support
