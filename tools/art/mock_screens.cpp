// Screen mock-ups taken from the game itself: a tour of the screens on the headless machine, so
// every picture shows the layout the game really draws and nothing here repeats a coordinate.
#include "mock_screens.h"

#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "base/png_file.h"
#include "input/input_device.h"
#include "platform/headless/headless_platform.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "shell/form.h"

namespace trakvolt::art {
namespace {

namespace fs = std::filesystem;

// A throw-away game folder whose Data/Res is RES_DIR (and Data/Music the music beside it, when
// there is any), made the current directory while the game runs in it.
class TourFolder {
 public:
  explicit TourFolder(const fs::path& res_dir) : previous_(fs::current_path()) {
    if (!fs::exists(res_dir / "Res1.dxg") || !fs::exists(res_dir / "Res3.dxg"))
      throw std::runtime_error(res_dir.string() + " holds no Res1.dxg and Res3.dxg");
    std::string pattern = (fs::temp_directory_path() / "trakvolt-mock-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a temporary folder: " +
                               std::error_code(errno, std::generic_category()).message());
    path_ = pattern;
    fs::create_directories(path_ / "Data");
    const fs::path res = fs::absolute(res_dir);
    fs::create_directory_symlink(res, path_ / "Data" / "Res");
    if (fs::exists(res.parent_path() / "Music"))
      fs::create_directory_symlink(res.parent_path() / "Music", path_ / "Data" / "Music");
    fs::current_path(path_);
  }
  ~TourFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
  }
  TourFolder(const TourFolder&) = delete;
  TourFolder& operator=(const TourFolder&) = delete;

 private:
  fs::path previous_;
  fs::path path_;
};

// The game and the player's hands. A step that does not reach the screen it should is an error:
// the tour follows the game's own ways between screens, so a changed way shows here.
class Tour {
 public:
  Tour(const fs::path& res_dir, const fs::path& outdir)
      : folder_(res_dir), outdir_(fs::absolute(outdir)), form_(machine_, Settings()) {}

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      machine_.events.Advance(30);
      form_.Pump();
    }
  }
  void UntilMenuReady() {
    for (int i = 0; i < 300 && !MenuReady(); ++i) Tick();
    if (!MenuReady()) throw std::runtime_error("the main menu did not come in");
  }
  // A key pressed for a frame and let go, with its character where it has one.
  void Press(int vk, unsigned char ch = 0) {
    machine_.input.SetKey(vk, true);
    Push(platform::Event::Kind::KeyDown, vk);
    if (ch != 0) Push(platform::Event::Kind::KeyPress, 0, ch);
    Tick();
    machine_.input.SetKey(vk, false);
    Push(platform::Event::Kind::KeyUp, vk);
    Tick();
  }
  // A key held down for `ticks` frames (the race reads the keys it polls).
  void Hold(int vk, int ticks) {
    machine_.input.SetKey(vk, true);
    Tick(ticks);
    machine_.input.SetKey(vk, false);
  }
  void Type(unsigned char ch) { Push(platform::Event::Kind::KeyPress, 0, ch); }
  // Main-menu button `i` pointed at and clicked, then the screen it opens given time to come in.
  void Choose(int i, int wanted_state) {
    const TMenuButton* b = form_.Menus.Button(i);
    if (b == nullptr) throw std::runtime_error("no main-menu button " + std::to_string(i));
    form_.MDisplayMouseMove(static_cast<int>(b->X) + b->Width / 2,
                            static_cast<int>(b->Y) + b->Height / 2);
    Tick(2);
    form_.MDisplayClick();
    Until(wanted_state);
  }
  void Until(int wanted_state, int ticks = 30) {
    for (int i = 0; i < 400 && form_.GameState != wanted_state; ++i) Tick();
    if (form_.GameState != wanted_state)
      throw std::runtime_error("the game is on screen " + std::to_string(form_.GameState) +
                               ", not " + std::to_string(wanted_state));
    Tick(ticks);
  }
  void Back() {
    Press(vk::Escape, key_char::Escape);
    Until(state::MainMenu);
    UntilMenuReady();
  }
  void Shot(const std::string& name) {
    WritePng((outdir_ / (name + ".png")).string(), machine_.display.Shown());
    ++shots_;
  }

  TMForm& Form() { return form_; }
  int Shots() const { return shots_; }

 private:
  static FormSettings Settings() {
    FormSettings s;
    s.seed = 11;  // the same road every time
    return s;
  }
  bool MenuReady() const {
    return form_.GameState == state::MainMenu && form_.Menus.MenuPhase == menu_phase::Interactive;
  }
  void Push(platform::Event::Kind kind, int key = 0, unsigned char ch = 0) {
    platform::Event e;
    e.kind = kind;
    e.key = key;
    e.ch = ch;
    machine_.events.Push(e);
  }

  TourFolder folder_;
  fs::path outdir_;
  platform::HeadlessPlatform machine_;
  TMForm form_;
  int shots_ = 0;
};

}  // namespace

int WriteMockScreens(const fs::path& res_dir, const fs::path& outdir) {
  fs::create_directories(outdir);
  Tour tour(res_dir, outdir);
  tour.UntilMenuReady();
  tour.Shot("main_menu");

  tour.Choose(button::Options, state::Options);
  tour.Shot("options");
  tour.Back();
  tour.Choose(button::HighScores, state::HighScores);
  tour.Shot("high_scores");
  tour.Back();
  tour.Choose(button::Help, state::Help);
  for (int page = 1; page <= 4; ++page) {
    if (page > 1) {
      tour.Press(vk::Right);
      tour.Tick(10);
    }
    tour.Shot("help" + std::to_string(page));
  }
  tour.Back();

  // The end of a run good enough for the table: the name typed over "NONAME", then the
  // question whether to send it.
  TearDownMainMenu(tour.Form().Screens);
  tour.Form().RaceState.Score = 4321;
  ShowRunResult(tour.Form().Screens);
  tour.Until(state::NameEntry, 5);
  for (int i = 0; i < 6; ++i) tour.Type(key_char::Backspace);
  for (const char c : std::string("\xC8\xC3\xD0\xCE\xCA"))  // "ИГРОК"
    tour.Type(static_cast<unsigned char>(c));
  tour.Tick(5);
  tour.Shot("name_entry");
  tour.Type(key_char::Enter);
  tour.Until(state::SendResults, 5);
  tour.Shot("send_results");
  tour.Press(vk::Escape, key_char::Escape);
  tour.Until(state::HighScores);
  tour.Back();

  // The car selection, then the race started from it: the countdown, and driving on.
  tour.Choose(button::Start, state::CarSelection);
  tour.Press(vk::Right);
  tour.Tick(4);
  tour.Shot("car_selection");
  tour.Press(vk::Enter, key_char::Enter);
  tour.Tick(20);
  tour.Shot("race_countdown");
  tour.Until(state::Race, 80);  // the countdown over
  tour.Hold(vk::Up, 90);
  tour.Shot("race");
  return tour.Shots();
}

}  // namespace trakvolt::art
