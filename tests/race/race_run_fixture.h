// A whole race run over the headless machine: the race built from a torn-down menu as the car
// selection builds it, ticks run through the form, keys pressed for one tick, and every sound
// the race asks for recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../shell/game_folder.h"
#include "platform/headless/headless_platform.h"
#include "race/explosion.h"
#include "race/player_car.h"
#include "race/race_run.h"
#include "race/track_object.h"
#include "screens/caption_sprite.h"
#include "screens/main_menu.h"
#include "shell/form.h"

namespace trakvolt::testing_support {

class RaceRunTest : public ::testing::Test {
 protected:
  RaceRunTest() : form(machine, FormSettings{20240601}), race(form.RaceState) {
    TearDownMainMenu(form.Screens);
    race.SelectedCar = 1;
    form.RaceWorld.PlaySound = [this, play = form.RaceWorld.PlaySound](std::string_view name) {
      sounds.emplace_back(name);
      play(name);
    };
    StartRace(form.RaceHost);
  }

  void Tick(int lag = 1) { form.MFrameTimerTimer(lag); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }
  // The key is down for one tick, then let go.
  void Press(int key) {
    machine.input.SetKey(key, true);
    Tick();
    machine.input.SetKey(key, false);
  }
  void Hold(int key) { machine.input.SetKey(key, true); }
  void Release(int key) { machine.input.SetKey(key, false); }
  // Ticks through the level-start countdown until the world moves.
  void SkipCountdown() {
    for (int i = 0; i < 200 && !(race.StartCountdown == 0 && race.RaceActive); ++i) Tick();
    ASSERT_TRUE(race.RaceActive);
  }
  TMyCarSprite& Car() { return *race.PlayerCar; }

  // An object of `kind` in the first free slot, in the car's lane with its top at `y`.
  TWallSprite& Place(int kind, double y) {
    int slot = 1;
    while (race.TrackSlots[slot].InUse) ++slot;
    TWallSprite& o = form.MSpriteEngine.Engine().Add<TWallSprite>(form.RaceWorld, slot, kind);
    o.Lane = Car().Lane;
    o.X = Car().X + (Car().Width - o.Width) / 2.0;
    o.Y = y;
    race.TrackSlots[slot] = TTrackSlot{&o, true};
    return o;
  }

  int Count(const std::string& name) const {
    int n = 0;
    for (const std::string& s : sounds) n += s == name ? 1 : 0;
    return n;
  }
  int Flips() const { return machine.display.FlipCount(); }
  bool BannerIs(const char* image) {
    return race.Banner != nullptr && race.Banner->Image() == &form.MImageList3.Find(image);
  }

  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form;
  TRaceState& race;
  std::vector<std::string> sounds;
};

}  // namespace trakvolt::testing_support
