// What the player sees, pixel for pixel: menu and race pictures taken on the headless machine,
// each compared with its reference in tests/pictures/reference. A change to the drawing code must
// leave every one of them as it is; scripts/renew_screen_guard.sh renews them when a change is
// meant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/png_file.h"
#include "pictures/picture_check.h"
#include "race/hud.h"
#include "race/race_fixture.h"
#include "race/race_run_fixture.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/screen_fixture.h"
#include "shell/replay_script.h"
#include "support/built_data.h"

namespace trakvolt::testing_support {
namespace {

// Set TRAKVOLT_GUARD_PNG to a folder to keep every picture of the set there for looking.
void Keep(const std::string& name, const Surface& picture) {
  if (const char* dir = std::getenv("TRAKVOLT_GUARD_PNG")) {
    std::filesystem::create_directories(dir);
    WritePng((std::filesystem::path(dir) / (name + ".png")).string(), picture);
  }
}

// The guard over the references in the tree; a failure leaves its pictures in build/screen-guard.
PictureGuard ScreenGuard() {
  return PictureGuard(
      {TRAKVOLT_GUARD_REFERENCE, std::filesystem::path(TRAKVOLT_BUILD_DIR) / "screen-guard",
       BuiltData() / "Res", TRAKVOLT_GUARD_RENEW_COMMAND},
      std::getenv("TRAKVOLT_GUARD_RENEW"));
}

void ExpectPicture(PictureGuard& guard, const std::string& name, const Surface& picture) {
  Keep(name, picture);
  EXPECT_TRUE(guard.Check(name, picture));
}

// Plays `script` (whose screenshot lines name the shots NAME.png) and compares each shot.
void ExpectShots(const std::string& script, const std::vector<std::string>& shots) {
  PictureGuard guard = ScreenGuard();
  GameFolder folder;
  std::istringstream in(script);
  const ReplayResult r = RunReplay(in);
  ASSERT_TRUE(r.ok) << r.error;
  for (const std::string& shot : shots)
    ExpectPicture(guard, shot, ToSurface565(ReadPng((folder.Path() / (shot + ".png")).string())));
}

// The menu from its intro to every screen over it, then a race started from it: the countdown,
// driving with traffic and hazards, the gun, a lost life, and the pause.
TEST(ScreenGuard, MenusAndARace) {
  ExpectShots(
      "seed 11\n"
      "run 4\n"
      "screenshot menu_intro.png\n"
      "run 12\n"
      "screenshot menu_buttons_sliding.png\n"
      "run 80\n"
      "screenshot menu_ready.png\n"
      "mouse 650 200\n"
      "run 2\n"
      "expect HoveredButton 2\n"
      "screenshot menu_options_highlighted.png\n"
      "click\n"
      "run 30\n"
      "expect GameState 2\n"
      "screenshot options.png\n"
      "down Escape\n"
      "run 1\n"
      "up Escape\n"
      "run 30\n"
      "expect GameState 0\n"
      "mouse 650 265\n"
      "run 2\n"
      "click\n"
      "run 30\n"
      "expect GameState 3\n"
      "screenshot high_scores.png\n"
      "down Escape\n"
      "run 1\n"
      "up Escape\n"
      "run 30\n"
      "mouse 650 325\n"
      "run 2\n"
      "click\n"
      "run 30\n"
      "expect GameState 4\n"
      "screenshot help_page1.png\n"
      "down Right\n"
      "run 1\n"
      "up Right\n"
      "run 10\n"
      "expect HelpPage 2\n"
      "screenshot help_page2.png\n"
      "down Escape\n"
      "run 1\n"
      "up Escape\n"
      "run 30\n"
      "mouse 650 140\n"
      "run 2\n"
      "click\n"
      "run 30\n"
      "expect GameState 8\n"
      "screenshot car_selection.png\n"
      "down Right\n"
      "run 1\n"
      "up Right\n"
      "run 4\n"
      "screenshot car_selection_second.png\n"
      "down Enter\n"
      "run 1\n"
      "up Enter\n"
      "run 20\n"
      "screenshot race_countdown.png\n"
      "run 80\n"
      "expect GameState 1\n"
      "screenshot race_start.png\n"
      "down Up\n"
      "run 60\n"
      "screenshot race_driving.png\n"
      "down Left\n"
      "run 10\n"
      "up Left\n"
      "run 60\n"
      "screenshot race_later.png\n"
      "down Space\n"
      "run 90\n"
      "screenshot race_much_later.png\n"
      "up Space\n"
      "down Right\n"
      "run 15\n"
      "up Right\n"
      "run 120\n"
      "screenshot race_far.png\n"
      "down P\n"
      "run 1\n"
      "up P\n"
      "run 3\n"
      "screenshot race_paused.png\n",
      {
          "menu_intro",
          "menu_buttons_sliding",
          "menu_ready",
          "menu_options_highlighted",
          "options",
          "high_scores",
          "help_page1",
          "help_page2",
          "car_selection",
          "car_selection_second",
          "race_countdown",
          "race_start",
          "race_driving",
          "race_later",
          "race_much_later",
          "race_far",
          "race_paused",
      });
}

// The busy road of the race tests with a spike strip, a stone and the big explosion added,
// and the HUD's numbers; then a crash into a wall.
class RaceGuard : public RaceWorldTest {
 protected:
  void ExpectFrame(const std::string& name) {
    form.BeginFrame(0, false);
    DrawHud(form.RaceHost);
    form.EndFrame();
    ExpectPicture(guard, name, machine.display.Shown());
  }
  PictureGuard guard = ScreenGuard();
};

TEST_F(RaceGuard, EverythingOnTheRoad) {
  race.Score = 12345;
  race.TimeLeft = 75;
  BuildBusyRoad();
  Place(kind::Spike10, 1, 380);
  Place(kind::Stone05, 4, 470);
  race.BigExplosion->Visible = true;
  race.BigExplosion->X = 250;
  race.BigExplosion->Y = 420;
  ExpectFrame("scene_everything");
  race.RoadSpeed = 11;  // the road moves on under it
  Frames(6);
  ExpectFrame("scene_six_frames_on");
}

TEST_F(RaceGuard, CrashIntoAWall) {
  PutCarInLane(2);
  race.RoadSpeed = 9;
  PlaceOnCar(kind::Wall10);
  Frames(3);
  ExpectFrame("scene_crash");
  Frames(10);
  ExpectFrame("scene_crash_later");
}

// The run's end: the name entry with a name typed over "NONAME", then the question whether to
// send the result.
class ResultsGuard : public ScreenTest {
 protected:
  void ExpectShown(const std::string& name) { ExpectPicture(guard, name, machine.display.Shown()); }
  PictureGuard guard = ScreenGuard();
};

TEST_F(ResultsGuard, NameEntryAndTheQuestion) {
  UntilInteractive();
  TearDownMainMenu(form.Screens);
  form.RaceState.Score = 4321;
  ShowRunResult(form.Screens);
  ASSERT_EQ(form.GameState, state::NameEntry);
  for (int i = 0; i < 6; ++i) Type(8);
  for (const char c : std::string("zed \xDF\xCA"))  // "ZED ЯК"
    Type(static_cast<unsigned char>(c));
  Tick(5);
  ASSERT_TRUE(form.Menus.CursorSprite->Visible);
  ExpectShown("name_entry");
  Type(13);
  Tick(5);
  ASSERT_EQ(form.GameState, state::SendResults);
  ExpectShown("send_results");
}

// The gun taken from the road and fired at a wall ahead: the gun on the car with its muzzle
// flash, the hit marker on the wall, and the HUD's gun icon with the bonus seconds.
class GunGuard : public RaceRunTest {
 protected:
  PictureGuard guard = ScreenGuard();
};

TEST_F(GunGuard, TheGunFiring) {
  SkipCountdown();
  Place(kind::BonusGun, Car().Y - 10);
  Tick();
  ASSERT_TRUE(race.GunActive);
  Place(kind::Wall05, 150);
  Hold(vk::Space);
  Ticks(2);
  ASSERT_NE(Car().BonusFlame, nullptr);
  ASSERT_TRUE(Car().BonusFlame->Visible);
  ASSERT_TRUE(race.MicroExplosion->Visible);
  ExpectPicture(guard, "race_gun", machine.display.Shown());
}

}  // namespace
}  // namespace trakvolt::testing_support
