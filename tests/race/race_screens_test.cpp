// Level 1 driven headless by a simple driver (throttle held, steering round what comes), with
// pictures of the countdown, live driving, a crash, the level-complete banner and the
// time-bonus count written as PNGs for people to look at.
#include <cmath>
#include <filesystem>

#include "base/png_file.h"
#include "race_run_fixture.h"

namespace trakvolt::testing_support {
namespace {

class RaceScreens : public RaceRunTest {
 protected:
  void Shot(const char* name) {
    const auto path =
        std::filesystem::temp_directory_path() / (std::string("trakvolt_race_") + name + ".png");
    WritePng(path.string(), machine.display.Shown());
  }
  // Holds the throttle and moves to a lane with nothing close ahead.
  void Drive() {
    Hold(vk::Up);
    if (race.PlayerCar == nullptr) return;
    const TMyCarSprite& car = Car();
    auto blocked = [&](double left, double right) {
      for (int i = 1; i <= kTrackSlotCount; ++i) {
        const TWallSprite* o = race.TrackSlots[i].Object;
        if (!race.TrackSlots[i].InUse || o == nullptr || o->Kind == kind::FinishLine) continue;
        if (o->Kind >= kind::Bonus10 && o->Kind <= kind::BonusLive) continue;
        const bool ahead = o->Y + o->Height > car.Y - 260 && o->Y < car.Y + car.Height;
        if (ahead && o->X < right && o->X + o->Width > left) return true;
      }
      return false;
    };
    double target = car.X;
    if (blocked(car.X - 4, car.X + car.Width + 4)) {
      for (int lane = 2; lane <= 4; ++lane) {
        const double x =
            LaneEdges[lane] + (LaneEdges[lane + 1] - LaneEdges[lane] - car.Width) / 2.0;
        if (!blocked(x - 4, x + car.Width + 4)) {
          target = x;
          break;
        }
      }
    }
    Release(vk::Left);
    Release(vk::Right);
    if (target < car.X - 3) Hold(vk::Left);
    if (target > car.X + 3) Hold(vk::Right);
  }
  int ObjectsOnScreen() const {
    int n = 0;
    for (int i = 1; i <= kTrackSlotCount; ++i)
      n += race.TrackSlots[i].InUse && race.TrackSlots[i].Object->Y > 0 ? 1 : 0;
    return n;
  }
};

TEST_F(RaceScreens, LevelOneFromCountdownToTheTimeBonus) {
  Ticks(20);
  Shot("countdown");
  SkipCountdown();
  race.Lives = 9;  // the driver is no expert; the pictures want the end of the level
  int frames = 0;
  for (; frames < 3000 && ObjectsOnScreen() < 4 && race.PlayerCar != nullptr; ++frames) {
    Drive();
    Tick();
  }
  Shot("driving");
  ASSERT_GE(ObjectsOnScreen(), 4);

  // A wall dropped in front of the car at speed.
  race.RoadSpeed = std::max(race.RoadSpeed, 12.0);
  Place(kind::Wall10, Car().Y - 20);
  Release(vk::Left);
  Release(vk::Right);
  Tick();
  ASSERT_TRUE(race.RespawnPending);
  Ticks(6);
  Shot("crash");
  race.TimeLeft += 20;  // the crash cost the time a careful driver would have had

  for (frames = 0;
       frames < 6000 && race.LevelPhase != phase::LevelDone && race.PlayerCar != nullptr;
       ++frames) {
    Drive();
    Tick();
  }
  ASSERT_EQ(race.LevelPhase, phase::LevelDone);
  Ticks(3);
  Shot("level_done");
  for (frames = 0; frames < 200 && race.LevelPhase != phase::TimeBonus; ++frames) Tick();
  ASSERT_EQ(race.LevelPhase, phase::TimeBonus);
  const std::int32_t seconds = race.TimeLeft, score = race.Score;
  for (frames = 0; frames < 200 && race.TimeLeft > seconds - 4; ++frames) Tick();
  Shot("time_bonus");
  EXPECT_EQ(race.Score, score + 5 * (seconds - race.TimeLeft));
}

}  // namespace
}  // namespace trakvolt::testing_support
