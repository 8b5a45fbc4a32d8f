// A race scene drawn headless and written to a PNG for people to look at: the car with the
// turbo flame, walls, water, a pick-up, traffic, a sign, and explosions.
#include <filesystem>

#include "base/png_file.h"
#include "race_fixture.h"

namespace trakvolt::testing_support {
namespace {

using RaceScene = RaceWorldTest;

TEST_F(RaceScene, DrawsTheRoadWithEverythingOnIt) {
  BuildBusyRoad();
  ASSERT_TRUE(car->BonusFlame->Visible);

  form.BeginFrame(0, false);
  form.EndFrame();
  const Surface picture = machine.display.Shown();
  const std::string path =
      (std::filesystem::temp_directory_path() / "trakvolt_race_scene.png").string();
  WritePng(path, picture);
  EXPECT_TRUE(std::filesystem::exists(path));

  // The car is drawn over the road: hiding it changes the pixel at its centre.
  const int cx = static_cast<int>(car->X) + car->Width / 2;
  const int cy = static_cast<int>(car->Y) + car->Height / 2;
  car->Visible = false;
  form.BeginFrame(0, false);
  form.EndFrame();
  EXPECT_NE(machine.display.Shown().At(cx, cy), picture.At(cx, cy));
}

}  // namespace
}  // namespace trakvolt::testing_support
