// A live race on the headless machine with the built data, held still for measuring: the
// countdown over, about 30 track objects of mixed kinds standing on the road, a car that does
// not react to them, and a clock that never runs out.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/headless/headless_platform.h"
#include "race/player_car.h"
#include "race/race_run.h"
#include "race/track_object.h"
#include "screens/main_menu.h"
#include "shell/form.h"

namespace trakvolt {

class LiveRace {
 public:
  static constexpr int kObjects = 30;

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
    // Kinds of every sort: walls, hazards, pick-ups, signs, traffic both ways.
    constexpr int kKinds[] = {kind::Wall05,
                              kind::Wall10,
                              kind::Spike10,
                              kind::Water10,
                              kind::Stone05,
                              kind::Crack,
                              kind::Rabbit,
                              kind::Bonus20,
                              kind::BonusGun,
                              kind::SignLeftBlue,
                              kind::WallRight,
                              kind::FirstCar,
                              kind::FirstOncomingCar + 2};
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

}  // namespace trakvolt
