// Race rules around the bonuses and the drift: how a bonus ends, what the bonus display shows
// while the car drifts, when a push ends, when the turbo flame burns and how fast the flames
// play.
#include <cmath>
#include <string>
#include <vector>

#include "race/hud.h"
#include "race_fixture.h"
#include "race_run_fixture.h"

namespace trakvolt::testing_support {
namespace {

using RuleTest = RaceWorldTest;

TEST_F(RuleTest, EndingABonusEndsTheDriftAndItsThrottleLockButNoOtherStun) {
  struct Case {
    bool drifting, gun;
    double stun, stun_after;
  } cases[] = {
      {true, false, 7.5, 0},
      {true, true, 4, 0},
      {false, false, 2, 2},  // stopped dead against a wall: the stun stays
      {false, true, 2, 2},
  };
  for (const Case& c : cases) {
    if (c.gun) {
      race.GunActive = true;
      car->StartBonus();
    }
    race.DriftActive = c.drifting;
    car->StunTime = c.stun;
    car->EndBonus();
    EXPECT_EQ(car->StunTime, c.stun_after) << c.drifting << c.gun;
    EXPECT_FALSE(race.DriftActive);
    EXPECT_FALSE(race.GunActive);
    EXPECT_EQ(car->BonusIcon, nullptr);
  }
}

// A standing car is not pushed: the push ends whatever speed it was to brake down to.
TEST_F(RuleTest, APushEndsWhenTheCarStands) {
  for (const int mode : {DrivePushRight, DrivePushLeft}) {
    PutCarInLane(3);
    race.RoadSpeed = 0;
    car->DriveMode = mode;
    car->SlideLeft = 50;
    car->TargetSpeed = -1;
    const double x0 = car->X;
    Frame();
    EXPECT_EQ(car->DriveMode, DriveFree) << mode;
    EXPECT_EQ(car->X, x0) << mode;
    EXPECT_EQ(car->SlideLeft, 50) << mode;
    EXPECT_EQ(race.RoadSpeed, 0) << mode;
  }
}

// With the turbo the flame burns while the car is faster than its normal top speed, throttle
// or not, stunned or not.
TEST_F(RuleTest, TheTurboFlameBurnsAboveTheNormalTopSpeed) {
  PutCarInLane(3);
  TakeBonus(kind::BonusTurbo);
  ASSERT_TRUE(race.TurboActive);
  struct Case {
    double speed;
    bool up;
    double stun;
    bool burning;
  } cases[] = {
      {260.0 / 14, false, 0, true},                        // coasting on the turbo
      {std::nextafter(250.0 / 14, 99.0), false, 0, true},  // just above the normal top
      {260.0 / 14, false, 1, true},                        // the throttle locked
      {250.0 / 14, false, 0, false},                       // at the normal top speed
      {200.0 / 14, false, 0, false},
      {200.0 / 14, true, 0, true},  // under throttle
  };
  for (const Case& c : cases) {
    race.RoadSpeed = c.speed;
    car->DriveMode = DriveFree;
    car->StunTime = c.stun;
    if (c.up)
      Hold(vk::Up);
    else
      Release(vk::Up);
    car->BonusFlame->Visible = !c.burning;
    Frame();
    EXPECT_EQ(car->BonusFlame->Visible, c.burning) << c.speed * 14 << " up " << c.up;
  }
}

// The muzzle flash plays at 35 frames per second and the exhaust flame at 15, both over and
// over.
TEST_F(RuleTest, TheBonusFlamesLoopAtTheirOwnSpeeds) {
  struct Case {
    int bonus;
    const char* flame;
    double per_second;
  } cases[] = {{kind::BonusGun, "GunFire", 35}, {kind::BonusTurbo, "TurboFire", 15}};
  for (const Case& c : cases) {
    PutCarInLane(3);
    TakeBonus(c.bonus);
    const TCaptionSprite& flame = *car->BonusFlame;
    ASSERT_EQ(flame.Image(), &form.MImageList3.Find(c.flame));
    ASSERT_EQ(flame.FramePos, 0) << c.flame;
    const double step = 0.03 * c.per_second;
    EXPECT_DOUBLE_EQ(flame.FrameSpeed, step) << c.flame;
    // Past the last picture it starts again from the first.
    const int frames = static_cast<int>(std::ceil(flame.FrameCount / step)) + 1;
    race.RoadSpeed = 0;
    Frames(frames);
    EXPECT_NEAR(flame.FramePos, std::fmod(frames * step, flame.FrameCount), 1e-9) << c.flame;
    EXPECT_LT(flame.FramePos, flame.FrameCount);
  }
}

// Forwards to the form's race host and keeps every text drawn.
class TextRecorder final : public TRaceHost {
 public:
  struct Text {
    std::string text;
    int x, y;
  };
  explicit TextRecorder(TRaceHost& host) : host_(host) {}

  TRaceWorld& World() override { return host_.World(); }
  int& State() override { return host_.State(); }
  void ClearButtons() override { host_.ClearButtons(); }
  TScrollBackground& Background() override { return host_.Background(); }
  TFrameTimer& FrameTimer() override { return host_.FrameTimer(); }
  bool CtrlHeld() override { return host_.CtrlHeld(); }
  void StartMusicForState() override { host_.StartMusicForState(); }
  void StopMusic() override { host_.StopMusic(); }
  void ShowMouseCursor() override { host_.ShowMouseCursor(); }
  void HideMouseCursor() override { host_.HideMouseCursor(); }
  void BeginFrame(int move_count, bool move) override { host_.BeginFrame(move_count, move); }
  void EndFrame() override { host_.EndFrame(); }
  void SelectFont(int font_number) override { host_.SelectFont(font_number); }
  void DrawText(std::string_view text, int x, int y) override {
    texts.push_back({std::string(text), x, y});
    host_.DrawText(text, x, y);
  }
  void DrawRotated(std::string_view image_name, int x, int y, int width, int height, int frame,
                   double center_x, double center_y, int angle) override {
    host_.DrawRotated(image_name, x, y, width, height, frame, center_x, center_y, angle);
  }
  void OpenNameEntryOrMenu() override { host_.OpenNameEntryOrMenu(); }

  std::vector<Text> texts;
  // The texts drawn in the bonus slot's window.
  std::vector<std::string> InBonusSlot() const {
    std::vector<std::string> found;
    for (const Text& t : texts)
      if (t.x == 764 && t.y == 430) found.push_back(t.text);
    return found;
  }

 private:
  TRaceHost& host_;
};

using BonusHud = RaceRunTest;

// While the car drifts the bonus slot shows the drift and its whole seconds of stun, over any
// bonus; the drift ends at the drawing that finds the stun run out.
TEST_F(BonusHud, ShowsTheDriftWithItsWholeSecondsUntilTheStunRunsOut) {
  struct Case {
    bool gun;
    double stun;
    const char* shown;
    bool drifting_after;
  } cases[] = {
      {false, 7.9, "7", true},
      {true, 2.5, "2", true},
      {false, 0.97, "0", true},
      {false, 0, "0", false},
  };
  for (const Case& c : cases) {
    race.GunActive = c.gun;
    race.DriftActive = true;
    Car().StunTime = c.stun;
    TextRecorder host(form.RaceHost);
    DrawHud(host);
    EXPECT_EQ(host.InBonusSlot(), std::vector<std::string>{c.shown}) << c.stun;
    EXPECT_TRUE(race.DriftIcon->Visible) << c.stun;
    EXPECT_FALSE(race.GunIcon->Visible) << c.stun;
    EXPECT_FALSE(race.TurboIcon->Visible) << c.stun;
    EXPECT_FALSE(race.NoBonusIcon->Visible) << c.stun;
    EXPECT_EQ(race.DriftActive, c.drifting_after) << c.stun;
  }
  // The next drawing shows the empty slot again.
  race.GunActive = false;
  TextRecorder host(form.RaceHost);
  DrawHud(host);
  EXPECT_TRUE(host.InBonusSlot().empty());
  EXPECT_FALSE(race.DriftIcon->Visible);
  EXPECT_TRUE(race.NoBonusIcon->Visible);
}

// Through the race frames: the spikes' stun runs down in free driving and the drift ends in the
// frame in which it reaches 0.
TEST_F(BonusHud, TheDriftEndsInTheFrameTheStunRunsOut) {
  SkipCountdown();
  race.DriftActive = true;
  Car().StunTime = 0.05;  // two more frames of 30 ms
  Tick();
  EXPECT_TRUE(race.DriftActive);
  EXPECT_TRUE(race.DriftIcon->Visible);
  Tick();
  EXPECT_EQ(Car().StunTime, 0);
  EXPECT_FALSE(race.DriftActive);
  Tick();
  EXPECT_FALSE(race.DriftIcon->Visible);
  EXPECT_TRUE(race.NoBonusIcon->Visible);
}

}  // namespace
}  // namespace trakvolt::testing_support
