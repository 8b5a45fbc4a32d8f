// The built image lists hold every picture the game asks for, in sizes the screens can use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/image_list.h"
#include "support/built_data.h"

namespace trakvolt {
namespace {

const std::filesystem::path kRes = testing_support::BuiltData() / "Res";

// Loaded once for the whole suite: the archives are large and read-only here.
class Catalogue : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (auto [list, file] : {std::pair{&menu_, "Res1.dxg"}, std::pair{&race_, "Res3.dxg"}}) {
      const auto path = kRes / file;
      if (!std::filesystem::exists(path)) {
        missing_ += path.string() + " ";
        continue;
      }
      list->LoadArchive(path.string());
    }
  }
  void SetUp() override {
    testing_support::RequireGameData();
    ASSERT_TRUE(missing_.empty()) << "image archives not built: " << missing_
                                  << "(build the game_data target first)";
  }

  static const TImageCollectionItem& Menu(const char* name) { return menu_.FindItem(name); }
  static const TImageCollectionItem& Race(const char* name) { return race_.FindItem(name); }

  static std::vector<std::string> Missing(const TImageList& list,
                                          const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const auto& n : names)
      if (list.Items.Find(n) == nullptr) out.push_back(n);
    return out;
  }

  static inline TImageList menu_, race_;
  static inline std::string missing_;
};

std::string Join(const std::vector<std::string>& names) {
  std::string s;
  for (const auto& n : names) s += n + " ";
  return s;
}

TEST_F(Catalogue, EveryMenuPictureIsInRes1) {
  const std::vector<std::string> names{"MainMenuBackground",
                                       "UpPanel",
                                       "DownPanel",
                                       "NullCaption",
                                       "StartCaption",
                                       "OptionsCaption",
                                       "HighScoresCaption",
                                       "HelpCaption",
                                       "VisitWWWCaption",
                                       "ExitCaption",
                                       "MainMenuButtons_Inactive",
                                       "MainMenuButtons_Active",
                                       "MainMenu_ExitInactive",
                                       "MainMenu_ExitActive",
                                       "OptionsBackground",
                                       "HighScoresBackground",
                                       "StartGameBackground",
                                       "Help1",
                                       "Help2",
                                       "Help3",
                                       "Help4",
                                       "OptionButton_Inactive",
                                       "OptionButton_Active",
                                       "Cursor",
                                       "Previous",
                                       "Next",
                                       "ClearHighScores",
                                       "ViewHighScores",
                                       "Car1",
                                       "Car2",
                                       "Car3",
                                       "Car4",
                                       "Car1_Active",
                                       "Car2_Active",
                                       "Car3_Active",
                                       "Car4_Active",
                                       "EnterYourName",
                                       "SendResults",
                                       "OkButton2",
                                       "CancelButton2",
                                       "Font_small",
                                       "Font_medium_inactive",
                                       "Font_medium_Active",
                                       "Font_big"};
  EXPECT_EQ(Join(Missing(menu_, names)), "");
}

TEST_F(Catalogue, EveryRacePictureIsInRes3) {
  std::vector<std::string> names{
      "GroundLeft",   "LeftPanel",      "RightPanel",   "CarSmall",    "Pointer",
      "GunSmall",     "TurboSmall",     "None",         "Drifting",    "TimeIsOverNB",
      "GameOverNB",   "Wall05",         "Wall10",       "Spike10",     "Water10",
      "Water05",      "Stone05",        "StoneSmall05", "Crack",       "Rabbit",
      "Bonus10",      "Bonus20",        "Bonus50",      "Bonus100",    "BonusGun",
      "BonusTurbo",   "BonusLive",      "SignLeftBlue", "SignLeftRed", "SignRightBlue",
      "SignRightRed", "WallLeft",       "WallRight",    "FinishLine",  "ExplosionSmall",
      "ExplosionBig", "ExplosionMicro", "Gun",          "GunFire",     "TurboBlue",
      "TurboRed",     "TurboYellow",    "TurboFire"};
  for (int car = 1; car <= 10; ++car) names.push_back("Car" + std::to_string(car));
  for (int car = 5; car <= 10; ++car) names.push_back("Car" + std::to_string(car) + "_Inv");
  EXPECT_EQ(Join(Missing(race_, names)), "");
}

struct ButtonCase {
  const char* active;
  const char* inactive;
  int active_frame, inactive_frame;
};

// Every menu button: the two looks must share a frame size, and both frames must exist in the
// inactive image (the button's frame count comes from it).
TEST_F(Catalogue, ButtonLooksShareOneFrameSize) {
  const ButtonCase cases[] = {
      {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 0, 0},
      {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 4, 4},
      {"MainMenu_ExitActive", "MainMenu_ExitInactive", 0, 0},
      {"OptionButton_Active", "OptionButton_Inactive", 0, 0},
      {"Previous", "Previous", 1, 0},
      {"Next", "Next", 1, 0},
      {"ClearHighScores", "ClearHighScores", 1, 0},
      {"ViewHighScores", "ViewHighScores", 1, 0},
      {"OkButton2", "OkButton2", 1, 0},
      {"CancelButton2", "CancelButton2", 1, 0},
      {"Car1_Active", "Car1", 0, 0},
      {"Car2_Active", "Car2", 0, 0},
      {"Car3_Active", "Car3", 0, 0},
      {"Car4_Active", "Car4", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.active);
    const auto& active = Menu(c.active);
    const auto& inactive = Menu(c.inactive);
    EXPECT_EQ(active.FrameWidth(), inactive.FrameWidth());
    EXPECT_EQ(active.FrameHeight(), inactive.FrameHeight());
    EXPECT_LT(c.active_frame, inactive.FrameCount());
    EXPECT_LT(c.active_frame, active.FrameCount());
    EXPECT_LT(c.inactive_frame, inactive.FrameCount());
  }
  EXPECT_EQ(Menu("MainMenuButtons_Inactive").FrameCount(), 5);
  EXPECT_EQ(Menu("MainMenuButtons_Active").FrameCount(), 5);
}

TEST_F(Catalogue, DescriptionCaptionsMatchTheEmptyOne) {
  const auto& null_caption = Menu("NullCaption");
  for (const char* name : {"StartCaption", "OptionsCaption", "HighScoresCaption", "HelpCaption",
                           "VisitWWWCaption", "ExitCaption"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Menu(name).FrameWidth(), null_caption.FrameWidth());
    EXPECT_EQ(Menu(name).FrameHeight(), null_caption.FrameHeight());
  }
  // The empty caption shows nothing: every pixel is the colour key.
  const Surface& pixels = null_caption.Picture();
  ASSERT_TRUE(null_caption.Transparent());
  int opaque = 0;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) opaque += pixels.At(x, y) != null_caption.KeyColor();
  EXPECT_EQ(opaque, 0);
}

TEST_F(Catalogue, FontsHave76GlyphsOfTheirCellWidth) {
  const std::pair<const char*, int> fonts[] = {{"Font_small", 24},
                                               {"Font_medium_inactive", 24},
                                               {"Font_medium_Active", 24},
                                               {"Font_big", 40}};
  for (auto [name, cell] : fonts) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Menu(name).FrameCount(), 76);
    EXPECT_EQ(Menu(name).FrameWidth(), cell);
    EXPECT_TRUE(Menu(name).Transparent());
  }
  // Rows of the high-score table are 26 pixels apart.
  EXPECT_LE(Menu("Font_medium_Active").FrameHeight(), 26);
}

// Pictures placed at fixed spots must fit where the screens put them.
struct Fit {
  const char* name;
  int max_w, max_h;
};

template <std::size_t N, typename Lookup>
void CheckFits(const Fit (&fits)[N], Lookup find) {
  for (const auto& f : fits) {
    SCOPED_TRACE(f.name);
    EXPECT_LE(find(f.name).FrameWidth(), f.max_w);
    EXPECT_LE(find(f.name).FrameHeight(), f.max_h);
  }
}

TEST_F(Catalogue, PicturesFitTheirPlaces) {
  const int down_panel_top = 600 - Menu("DownPanel").FrameHeight();
  const Fit fits[] = {
      {"UpPanel", 800, 110},
      {"DownPanel", 800, 110},
      {"MainMenuButtons_Inactive", 245, 58},
      {"MainMenu_ExitInactive", 245, 58},
      {"OptionsBackground", 535, down_panel_top - 115},
      {"HighScoresBackground", 535, down_panel_top - 115},
      {"StartGameBackground", 535, down_panel_top - 115},
      {"Help1", 535, down_panel_top - 115},
      {"Help2", 535, down_panel_top - 115},
      {"Help3", 535, down_panel_top - 115},
      {"Help4", 535, down_panel_top - 115},
      {"ClearHighScores", 250, 50},
      {"ViewHighScores", 250, 50},
      {"Car1", 120, 300},
      {"Car4", 120, 300},
  };
  CheckFits(fits, Menu);
  EXPECT_EQ(Menu("MainMenuBackground").FrameWidth(), 800);
  EXPECT_EQ(Menu("MainMenuBackground").FrameHeight(), 600);
  EXPECT_FALSE(Menu("MainMenuBackground").Transparent());

  // The race screen: panels beside the road, roadside things off the road, the finish line
  // across exactly the asphalt (x 283 to 615).
  const Fit race_fits[] = {
      {"LeftPanel", 124, 600},  {"RightPanel", 140, 600},   {"SignLeftBlue", 30, 600},
      {"SignLeftRed", 30, 600}, {"SignRightBlue", 30, 600}, {"SignRightRed", 30, 600},
      {"WallLeft", 30, 600},    {"WallRight", 30, 600},     {"Wall10", 108, 600},
      {"Spike10", 108, 600},    {"Water10", 108, 600},      {"TimeIsOverNB", 400, 160},
      {"GameOverNB", 400, 160},
  };
  CheckFits(race_fits, Race);
  EXPECT_EQ(Race("FinishLine").FrameWidth(), 332);
}

// The road scrolls by 512 and repeats the tile: its height must divide 512 and its last row
// must join its first as smoothly as its own rows join each other.
TEST_F(Catalogue, GroundTilesWithoutASeam) {
  const auto& ground = Race("GroundLeft");
  ASSERT_GT(ground.FrameHeight(), 0);
  EXPECT_EQ(512 % ground.FrameHeight(), 0) << "height " << ground.FrameHeight();
  const Surface& p = ground.Picture();
  ASSERT_GE(p.Height(), ground.FrameHeight());
  auto row_step = [&](int a, int b) {
    long sum = 0;
    for (int x = 0; x < ground.FrameWidth(); ++x) {
      const Pixel565 u = p.At(x, a), v = p.At(x, b);
      sum += std::abs((u >> 11) - (v >> 11)) + std::abs(((u >> 5) & 63) - ((v >> 5) & 63)) / 2 +
             std::abs((u & 31) - (v & 31));
    }
    return sum;
  };
  long roughest = 0;
  for (int y = 1; y < ground.FrameHeight(); ++y) roughest = std::max(roughest, row_step(y - 1, y));
  EXPECT_LE(row_step(ground.FrameHeight() - 1, 0), roughest);
}

}  // namespace
}  // namespace trakvolt
