// The art tool's mock-ups: a tour of the game's own screens over the built archives.
#include "mock_screens.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/png_file.h"
#include "support/built_data.h"

namespace trakvolt::art {
namespace {

namespace fs = std::filesystem;

const fs::path kRes = testing_support::BuiltData() / "Res";

// Named after the process too, so that two test runs on one machine keep apart.
fs::path ScratchDir(const char* name) {
  const fs::path dir = fs::temp_directory_path() / (name + ("-" + std::to_string(getpid())));
  fs::remove_all(dir);
  return dir;
}

// Every screen of the tour is a different picture of the whole screen: a step that did not
// reach its screen would repeat the one before.
TEST(MockScreens, EveryScreenOfTheTourIsItsOwnPicture) {
  testing_support::RequireGameData();
  const fs::path out = ScratchDir("trakvolt-mock-test");
  const fs::path before = fs::current_path();
  const int written = WriteMockScreens(kRes, out);
  EXPECT_EQ(fs::current_path(), before);
  std::vector<std::string> names;
  std::set<std::vector<Pixel565>> pictures;
  for (const auto& entry : fs::directory_iterator(out)) {
    names.push_back(entry.path().stem().string());
    const Surface s = ToSurface565(ReadPng(entry.path().string()));
    EXPECT_EQ(s.Width(), 800) << names.back();
    EXPECT_EQ(s.Height(), 600) << names.back();
    std::vector<Pixel565> pixels;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) pixels.push_back(s.At(x, y));
    pictures.insert(std::move(pixels));
  }
  EXPECT_EQ(static_cast<int>(names.size()), written);
  EXPECT_EQ(pictures.size(), names.size()) << "two screens of the tour look the same";
  for (const char* wanted : {"main_menu", "options", "high_scores", "help1", "help4", "name_entry",
                             "send_results", "car_selection", "race"})
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  fs::remove_all(out);
}

TEST(MockScreens, AFolderWithoutTheArchivesIsNamed) {
  const fs::path empty = ScratchDir("trakvolt-mock-empty");
  fs::create_directories(empty);
  const fs::path before = fs::current_path();
  try {
    WriteMockScreens(empty, empty / "out");
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(empty.string()), std::string::npos) << e.what();
  }
  EXPECT_EQ(fs::current_path(), before);
  fs::remove_all(empty);
}

}  // namespace
}  // namespace trakvolt::art
