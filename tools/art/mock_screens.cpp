// Screen mock-ups: sprites and bitmap text placed as the screens place them, drawn once.
#include "mock_screens.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "archive/image_list.h"
#include "base/cp1251.h"
#include "base/png_file.h"
#include "screens/bitmap_text.h"
#include "sprites/image_sprite.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite_engine.h"

namespace trakvolt::art {
namespace {

struct Lists {
  TImageList menu, race;
};

// One screen being composed: an engine over an 800 x 600 surface and the text drawer.
class Screen {
 public:
  explicit Screen(const TImageList& images) : images_(images), surface_(800, 600) {
    engine_.SetSurface(surface_.View());
  }

  void Background(const TImageList& list, const char* name, double y = 0, double x = 0) {
    auto& bg = engine_.Add<TScrollBackground>(list, name, no_speed_);
    bg.X = x;
    bg.Y = y;
  }
  TImageSprite& Picture(const TImageList& list, const char* name, double x, double y, int z,
                        int frame = 0) {
    auto& s = engine_.Add<TImageSprite>(&list.Find(name));
    s.X = x;
    s.Y = y;
    s.SetZ(z);
    s.FramePos = frame;
    s.FrameCount = list.Find(name).FrameCount();
    return s;
  }
  TImageSprite& Picture(const char* name, double x, double y, int z, int frame = 0) {
    return Picture(images_, name, x, y, z, frame);
  }
  // Draws the sprites; text comes after, as in the game.
  void DrawSprites() {
    Fill(surface_.View(), 0);
    engine_.Draw();
  }
  void Text(int font, const std::string& utf8, int x, int y) {
    text_.SelectFont(font);
    text_.DrawText(images_, surface_.View(), Utf8ToCp1251(utf8), x, y);
  }
  const TImageList& Menu() const { return images_; }
  int LastTextEndX() const { return text_.LastTextEndX(); }
  SurfaceView View() { return surface_.View(); }
  void Save(const std::filesystem::path& path) const { WritePng(path.string(), surface_); }

 private:
  const TImageList& images_;
  Surface surface_;
  TSpriteEngine engine_;
  BitmapText text_;
  double no_speed_ = 0;
};

// The main menu as it rests after its intro, with `lit` (1..6) highlighted.
void MainMenu(Screen& s, int lit, const char* caption) {
  s.Background(s.Menu(), "MainMenuBackground");
  if (caption != nullptr) s.Picture(caption, 30, 190, 3);
  s.Picture("UpPanel", 0, 0, 3);
  s.Picture("DownPanel", 0, 500, 3);
  const int ys[] = {115, 175, 238, 300, 362};
  for (int i = 0; i < 5; ++i)
    s.Picture(lit == i + 1 ? "MainMenuButtons_Active" : "MainMenuButtons_Inactive", 555, ys[i], 4,
              i);
  s.Picture(lit == 6 ? "MainMenu_ExitActive" : "MainMenu_ExitInactive", 555, 424, 4);
}

void MainMenuScreen(Screen& s) {
  MainMenu(s, 1, "StartCaption");
  s.DrawSprites();
}

void OptionsScreen(Screen& s) {
  MainMenu(s, 2, nullptr);
  s.Picture("OptionsBackground", 14, 115, 2);
  const int rows[] = {140, 188, 236, 284};
  for (int i = 0; i < 4; ++i)
    s.Picture(i == 3 ? "OptionButton_Active" : "OptionButton_Inactive", 22, rows[i], 4);
  auto& cursor = s.Picture("Cursor", 264, 312, 3);
  cursor.Visible = false;
  s.DrawSprites();
  s.Text(4, "ЭКРАН:", 35, 145);
  s.Text(4, "МУЗЫКА:", 35, 193);
  s.Text(4, "ЗВУК:", 35, 241);
  s.Text(3, "ОКНО", 265, 145);
  s.Text(2, "/", 329, 145);
  s.Text(2, "ПОЛНЫЙ ЭКРАН", 343, 145);
  s.Text(3, "ВКЛ", 265, 193);
  s.Text(2, "/", 313, 193);
  s.Text(2, "ВЫКЛ", 327, 193);
  s.Text(2, "ВКЛ", 265, 241);
  s.Text(2, "/", 313, 241);
  s.Text(3, "ВЫКЛ", 327, 241);
  s.Text(4, "ВАША СТРАНА:", 35, 289);
  s.Text(4, "РОССИЯ", 265, 289);
  // The cursor is a sprite placed after the text of the previous frame: show it there.
  cursor.X = s.LastTextEndX();
  cursor.Visible = true;
  cursor.Draw();
}

void HighScoresScreen(Screen& s) {
  MainMenu(s, 3, nullptr);
  s.Picture("HighScoresBackground", 14, 115, 2);
  s.Picture("ClearHighScores", 27, 412, 4, 0);
  s.Picture("ViewHighScores", 283, 412, 4, 1);
  s.DrawSprites();
  const char* names[] = {"ЧЕМПИОН", "ТУРБ", "ЩУКА ЖИВАЯ", "ТУРБ", "MAXIMUS",
                         "ТУРБ",    "ТУРБ", "ТУРБ",       "ТУРБ", "ТУРБ"};
  const int scores[] = {12450, 2000, 1800, 1600, 1400, 1200, 1000, 800, 600, 400};
  for (int i = 0; i < 10; ++i) {
    const int y = 152 + 26 * i;
    s.Text(3, std::to_string(i + 1), 60, y);
    s.Text(3, names[i], 126, y);
    s.Text(3, std::to_string(scores[i]), 400, y);
  }
}

void CarSelectionScreen(Screen& s) {
  MainMenu(s, 1, nullptr);
  s.Picture("StartGameBackground", 14, 115, 2);
  const int xs[] = {41, 162, 282, 406};
  for (int i = 0; i < 4; ++i) {
    const std::string name = "Car" + std::to_string(i + 1) + (i == 1 ? "_Active" : "");
    s.Picture(name.c_str(), xs[i], 161, 4);
  }
  s.DrawSprites();
}

void HelpScreen(Screen& s, int page) {
  MainMenu(s, 4, nullptr);
  const std::string name = "Help" + std::to_string(page);
  s.Picture(name.c_str(), 14, 115, 2);
  s.Picture("Previous", 36, 428, 4, 0);
  s.Picture("Next", 462, 428, 4, 1);
  s.DrawSprites();
}

void NameEntryScreen(Screen& s) {
  s.Background(s.Menu(), "MainMenuBackground");
  s.Picture("EnterYourName", 200, 160, 3);
  auto& cursor = s.Picture("Cursor", 398, 265, 5);
  cursor.Visible = false;
  s.DrawSprites();
  s.Text(4, "NONAMEЖ", 400, 243);
  cursor.X = std::max(s.LastTextEndX(), 398);
  cursor.Visible = true;
  cursor.Draw();
}

void SendResultsScreen(Screen& s) {
  s.Background(s.Menu(), "MainMenuBackground");
  s.Picture("SendResults", 200, 160, 3);
  s.Picture("OkButton2", 235, 305, 4, 1);
  s.Picture("CancelButton2", 405, 305, 4, 0);
  s.DrawSprites();
}

// A race frame: the road scrolled part-way (so the tile joins show), objects in the lanes,
// the player's car with the turbo, and the HUD.
void RaceScreen(Screen& s, const Lists& lists) {
  const TImageList& race = lists.race;
  s.Background(race, "GroundLeft", 173, 124);
  const int lanes[] = {170, 283, 392, 502, 615};
  auto in_lane = [&](const char* name, int lane, double y, int frame = 0) {
    const int w = race.Find(name).FrameWidth();
    s.Picture(race, name, lanes[lane - 1] + ((lanes[lane] - lanes[lane - 1]) - w) / 2, y, 2, frame);
  };
  in_lane("Wall10", 2, 40);
  in_lane("Bonus50", 3, 150, 1);
  in_lane("Water05", 4, 90);
  in_lane("Spike10", 4, 250);
  in_lane("Rabbit", 2, 230, 2);
  in_lane("Crack", 3, 20);
  {
    const int w = race.Find("Car7").FrameWidth();
    s.Picture(race, "Car7", lanes[1] + ((lanes[2] - lanes[1]) - w) / 2, 320, 3);
  }
  s.Picture(race, "SignLeftBlue", 140, 60, 2);
  s.Picture(race, "WallRight", 630, 200, 2);
  s.Picture(race, "SignRightRed", 630, 420, 2);
  const auto& car = race.Find("Car1");
  const double car_x = lanes[2] + ((lanes[3] - lanes[2]) - car.FrameWidth()) / 2.0;
  const double car_y = 600 - car.FrameHeight() - 35;
  s.Picture(race, "Car1", car_x, car_y, 4);
  const auto& icon = race.Find("TurboRed");
  const double icon_x = car_x + (car.FrameWidth() - icon.FrameWidth()) / 2.0;
  s.Picture(race, "TurboRed", icon_x, car_y + car.FrameHeight() - 0.9 * icon.FrameHeight(), 5);
  s.Picture(race, "TurboFire", icon_x + 2, car_y + car.FrameHeight() + 0.1 * icon.FrameHeight(), 5,
            1);
  s.Picture(race, "LeftPanel", 0, 0, 3);
  s.Picture(race, "RightPanel", 799 - race.Find("RightPanel").FrameWidth(), 0, 3);
  s.Picture(race, "CarSmall", 734 - race.Find("CarSmall").FrameWidth() / 2, 180, 4);
  const auto& turbo_small = race.Find("TurboSmall");
  s.Picture(race, "TurboSmall", 715 - turbo_small.FrameWidth() / 2,
            440 - turbo_small.FrameHeight() / 2, 4);
  s.DrawSprites();
  // The needle at 150 km/h: angle trunc(speed * 10) with speed = 150 / 14.
  const auto& needle = race.FindItem("Pointer");
  needle.DrawRotated(s.View(), 736, 537, needle.FrameWidth(), needle.FrameHeight(), 0, 20.0 / 23,
                     4.0 / 39, static_cast<int>(150.0 / 14 * 10));
  s.Text(1, "3", 55, 90);
  s.Text(1, "1250", 55 - 10 * 2, 180);
  s.Text(1, "0", 35, 270);
  s.Text(1, "1", 50, 270);
  s.Text(1, ":", 65, 270);
  s.Text(1, "3", 75, 270);
  s.Text(1, "7", 90, 270);
  s.Text(1, "3", 55, 360);
  s.Text(1, "8", 764, 430);
  s.Text(4, "УРОВЕНЬ 3", 300, 270);
}

}  // namespace

int WriteMockScreens(const std::filesystem::path& res_dir, const std::filesystem::path& outdir) {
  Lists lists;
  lists.menu.LoadArchive((res_dir / "Res1.dxg").string());
  lists.race.LoadArchive((res_dir / "Res3.dxg").string());
  lists.menu.Initialize();
  lists.race.Initialize();
  std::filesystem::create_directories(outdir);

  const std::vector<std::pair<std::string, std::function<void(Screen&)>>> screens{
      {"main_menu", MainMenuScreen},
      {"options", OptionsScreen},
      {"high_scores", HighScoresScreen},
      {"car_selection", CarSelectionScreen},
      {"help1", [](Screen& s) { HelpScreen(s, 1); }},
      {"help2", [](Screen& s) { HelpScreen(s, 2); }},
      {"help3", [](Screen& s) { HelpScreen(s, 3); }},
      {"help4", [](Screen& s) { HelpScreen(s, 4); }},
      {"name_entry", NameEntryScreen},
      {"send_results", SendResultsScreen},
  };
  for (const auto& [name, compose] : screens) {
    Screen screen(lists.menu);
    compose(screen);
    screen.Save(outdir / (name + ".png"));
  }
  // The race draws its text from the menu list too (all fonts live there).
  Screen race(lists.menu);
  RaceScreen(race, lists);
  race.Save(outdir / "race.png");
  return static_cast<int>(screens.size()) + 1;
}

}  // namespace trakvolt::art
