// What the player sees, pixel for pixel: hashes of menu and race pictures taken on the headless
// machine. A change to the drawing code must leave every one of them as it is.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/png_file.h"
#include "race/hud.h"
#include "race/race_fixture.h"
#include "race/race_run_fixture.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/screen_fixture.h"
#include "shell/replay_script.h"

namespace trakvolt::testing_support {
namespace {

// FNV-1a over the RGB565 pixels, low byte first, row by row.
std::uint64_t PictureHash(const Surface& s) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      for (const unsigned byte : {s.At(x, y) & 0xFFu, unsigned{s.At(x, y)} >> 8u}) {
        h ^= byte;
        h *= 0x100000001b3ull;
      }
  return h;
}

std::string Hex(std::uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
  return text;
}

// Set TRAKVOLT_GUARD_PNG to a folder to keep every picture of the set there for looking.
void Keep(const std::string& name, const Surface& picture) {
  if (const char* dir = std::getenv("TRAKVOLT_GUARD_PNG")) {
    std::filesystem::create_directories(dir);
    WritePng((std::filesystem::path(dir) / (name + ".png")).string(), picture);
  }
}

struct Shot {
  const char* name;
  std::uint64_t hash;
};

// Plays `script` (whose screenshot lines name the shots NAME.png) and compares each shot.
void ExpectShots(const std::string& script, const std::vector<Shot>& shots) {
  GameFolder folder;
  std::istringstream in(script);
  const ReplayResult r = RunReplay(in);
  ASSERT_TRUE(r.ok) << r.error;
  for (const Shot& shot : shots) {
    const Surface picture =
        ToSurface565(ReadPng((folder.Path() / (std::string(shot.name) + ".png")).string()));
    Keep(shot.name, picture);
    EXPECT_EQ(Hex(PictureHash(picture)), Hex(shot.hash)) << shot.name;
  }
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
          {"menu_intro", 0xccb2a5d122a6bcc6ull},
          {"menu_buttons_sliding", 0x7d920e847bde634dull},
          {"menu_ready", 0xebd12a3b33fac324ull},
          {"menu_options_highlighted", 0x675429b14046e514ull},
          {"options", 0x19094c54593236daull},
          {"high_scores", 0x84a92f655f06b035ull},
          {"help_page1", 0x31379935ac37e6dcull},
          {"help_page2", 0x059f1f406faf72bdull},
          {"car_selection", 0xaf5549828461c09dull},
          {"car_selection_second", 0x8e075cc8ef274263ull},
          {"race_countdown", 0x1898727b96840692ull},
          {"race_start", 0x3071ab463c076123ull},
          {"race_driving", 0xff5a7259ad7ccecfull},
          {"race_later", 0x74037b3ed792a89full},
          {"race_much_later", 0x8fc9b442f3af984cull},
          {"race_far", 0x87446164e84573f3ull},
          {"race_paused", 0x26f21684f01d749bull},
      });
}

// The busy road of the race tests with a spike strip, a stone and the big explosion added,
// and the HUD's numbers; then a crash into a wall.
class RaceGuard : public RaceWorldTest {
 protected:
  void ExpectPicture(const std::string& name, std::uint64_t hash) {
    form.BeginFrame(0, false);
    DrawHud(form.RaceHost);
    form.EndFrame();
    Keep(name, machine.display.Shown());
    EXPECT_EQ(Hex(PictureHash(machine.display.Shown())), Hex(hash)) << name;
  }
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
  ExpectPicture("scene_everything", 0x4e7f377e4635f71cull);
  race.RoadSpeed = 11;  // the road moves on under it
  Frames(6);
  ExpectPicture("scene_six_frames_on", 0xe074fc3136c6532aull);
}

TEST_F(RaceGuard, CrashIntoAWall) {
  PutCarInLane(2);
  race.RoadSpeed = 9;
  PlaceOnCar(kind::Wall10);
  Frames(3);
  ExpectPicture("scene_crash", 0x142535ad3b222648ull);
  Frames(10);
  ExpectPicture("scene_crash_later", 0x51eff68a31d0d3e1ull);
}

// The run's end: the name entry with a name typed over "NONAME", then the question whether to
// send the result.
class ResultsGuard : public ScreenTest {
 protected:
  void ExpectShown(const std::string& name, std::uint64_t hash) {
    Keep(name, machine.display.Shown());
    EXPECT_EQ(Hex(PictureHash(machine.display.Shown())), Hex(hash)) << name;
  }
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
  ExpectShown("name_entry", 0x553fb3361d0d4df1ull);
  Type(13);
  Tick(5);
  ASSERT_EQ(form.GameState, state::SendResults);
  ExpectShown("send_results", 0x93743bbdbeeee133ull);
}

// The gun taken from the road and fired at a wall ahead: the gun on the car with its muzzle
// flash, the hit marker on the wall, and the HUD's gun icon with the bonus seconds.
class GunGuard : public RaceRunTest {};

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
  Keep("race_gun", machine.display.Shown());
  EXPECT_EQ(Hex(PictureHash(machine.display.Shown())), Hex(0x3ebeaeaf078d3818ull)) << "race_gun";
}

}  // namespace
}  // namespace trakvolt::testing_support
