// The main form on the headless machine: start-up, screen modes, the error box, exit hook.
#include "shell/form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "base/game_error.h"
#include "game_folder.h"
#include "picture_removed.h"
#include "platform/headless/headless_platform.h"
#include "shell/error_text.h"

using namespace trakvolt;
using testing_support::GameFolder;

TEST(ErrorBox, FullStopRule) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"File not found", "File not found."},
      {"Invalid numeric input", "Invalid numeric input."},
      {"Index of the list exceeds the range. (7)", "Index of the list exceeds the range. (7)"},
      {"Done.", "Done."},
      {"Error 42", "Error 42."},
      {"Stop!", "Stop!"},
      {"", ""},
      {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0."},  // a cp1251 letter
      {"Disk full\nhs could not be written (2)\n\nDone.",
       "Disk full.\nhs could not be written (2)\n\nDone."},
  };
  for (auto c : cases) EXPECT_EQ(ErrorBoxText(c.in), c.out) << c.in;
}

TEST(Form, FirstStartLoadsTheDataAndOpensAWindowWithTheTimerRunning) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  {
    TMForm form(machine);
    EXPECT_TRUE(machine.desktop.Boxes().empty());
    EXPECT_TRUE(machine.display.Initialized());
    EXPECT_FALSE(machine.display.FullScreenOption());
    EXPECT_TRUE(form.MFrameTimer.Enabled());
    ASSERT_NE(form.ScrollBackground, nullptr);
    EXPECT_EQ(form.ScrollBackground->Image(), &form.MImageList.Find("MainMenuBackground"));
    EXPECT_TRUE(form.MWaveList.Items.Count() > 0);
  }
  // Both save files are written at exit, into a save folder the game made itself.
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Data" / "Save" / "options"));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Data" / "Save" / "hs"));
}

TEST(Form, StartUpErrorIsShownOnceAndTheWindowStillOpens) {
  GameFolder folder(GameFolder::Data::None);
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  ASSERT_EQ(machine.desktop.Boxes().size(), 1u);
  EXPECT_EQ(machine.desktop.Boxes()[0].caption, "Гонкострель");
  EXPECT_NE(machine.desktop.Boxes()[0].text.find("\"Data\\Res\\Res1.dxg\""), std::string::npos);
  EXPECT_TRUE(machine.display.Initialized());
  EXPECT_EQ(form.ScrollBackground, nullptr);
  for (int i = 0; i < 10; ++i) {
    machine.events.Advance(30);
    form.Pump();
  }
  EXPECT_EQ(machine.desktop.Boxes().size(), 1u);  // no error on every tick
}

namespace {

// Records whether the timer was on at each display notification.
struct TimerWatch : platform::DisplayListener {
  TMForm* form = nullptr;
  std::vector<std::string> seen;
  void DisplayInitialized() override {
    seen.push_back(std::string("init, timer ") + (form->MFrameTimer.Enabled() ? "on" : "off"));
    form->DisplayInitialized();
  }
  void DisplayFinalizing() override {
    seen.push_back(std::string("fin, timer ") + (form->MFrameTimer.Enabled() ? "on" : "off"));
    form->DisplayFinalizing();
  }
};

}  // namespace

TEST(Form, AltEnterSwitchesModesWithTheTimerOffInBetween) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.GameState = 42;  // any screen: the switch does not change it
  TimerWatch watch;
  watch.form = &form;
  machine.display.SetListener(&watch);
  const auto before = machine.window.Placement();

  form.FormKeyDown(13, platform::ShiftState{false, true, false});
  EXPECT_TRUE(form.GameOptions.FullScreen);
  EXPECT_TRUE(machine.display.FullScreenOption());
  EXPECT_FALSE(machine.window.SingleBorder());
  machine.window.SetPlacement({0, 0, false});  // full screen moves the window

  form.FormKeyDown(13, platform::ShiftState{false, true, false});
  EXPECT_FALSE(form.GameOptions.FullScreen);
  EXPECT_TRUE(machine.window.SingleBorder());
  EXPECT_EQ(machine.window.Placement(), before);  // back where it was
  EXPECT_EQ(form.GameState, 42);
  EXPECT_EQ(watch.seen, (std::vector<std::string>{"fin, timer on", "init, timer off",
                                                  "fin, timer on", "init, timer off"}));
  EXPECT_TRUE(form.MFrameTimer.Enabled());

  // Enter without Alt does nothing to the mode.
  form.FormKeyDown(13, platform::ShiftState{});
  EXPECT_FALSE(form.GameOptions.FullScreen);
  machine.display.SetListener(&form);
}

TEST(Form, WindowedToWindowedOnlyRecentres) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  machine.window.SetPlacement({3, 4, false});
  const int centred = machine.window.CentredCount();
  form.SetWindowedMode();
  EXPECT_EQ(machine.window.CentredCount(), centred + 1);
  EXPECT_NE(machine.window.Placement(), (platform::WindowPlacement{3, 4, false}));
}

TEST(Form, CtrlHeldFollowsTheKey) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.FormKeyDown(17, {});
  EXPECT_TRUE(form.CtrlHeld);
  form.FormKeyUp(17, {});
  EXPECT_FALSE(form.CtrlHeld);
}

TEST(Form, CursorCountGoesUpAndDown) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.HideMouseCursor();
  EXPECT_EQ(machine.window.CursorCount(), -1);
  form.ShowMouseCursor();
  EXPECT_EQ(machine.window.CursorCount(), 0);
}

TEST(Form, UnknownStatesDrawNothingAndTicksFollowTheClock) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.GameState = 12345;
  machine.events.Advance(30);
  EXPECT_TRUE(form.Pump());
  EXPECT_EQ(machine.display.FlipCount(), 0);
  EXPECT_FALSE(form.Pump());          // not due again yet
  form.GameState = state::RaceSetup;  // a plain frame: the background, moved and drawn
  form.ScrollBackground->Y = 599.5;
  form.RaceState.RoadSpeed = 1.0;
  machine.events.Advance(30);
  EXPECT_TRUE(form.Pump());
  EXPECT_EQ(machine.display.FlipCount(), 1);
  EXPECT_DOUBLE_EQ(form.ScrollBackground->Y, 88.5);  // 600.5 is past the edge: back by 512
}

TEST(Form, NoTicksWhileInactive) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.GameState = state::RaceSetup;
  machine.events.Push({platform::Event::Kind::Deactivate});
  machine.events.Advance(300);
  EXPECT_FALSE(form.Pump());
  machine.events.Push({platform::Event::Kind::Activate});
  EXPECT_FALSE(form.Pump());  // fresh clocks: nothing is due at once
  machine.events.Advance(30);
  EXPECT_TRUE(form.Pump());
}

TEST(Form, ErrorsInATickAreShownWithTheTitleAndTheLoopGoesOn) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.MFrameTimer.SetOnTimer([](int) { throw GameError("Image 'Nope' not found"); });
  machine.events.Advance(30);
  form.Pump();
  machine.events.Advance(30);
  form.Pump();
  ASSERT_EQ(machine.desktop.Boxes().size(), 2u);  // a tick that fails again shows it again
  EXPECT_EQ(machine.desktop.Boxes()[0].caption, "Гонкострель");
  EXPECT_EQ(machine.desktop.Boxes()[0].text, "Image 'Nope' not found.");
}

TEST(Form, QuitEndsTheLoop) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  machine.events.Push({platform::Event::Kind::Quit});
  form.Run();
  EXPECT_TRUE(form.Terminated());
}

TEST(Form, ExitHookOpensTheCompanionOnlyWhenPresent) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.RunExitHook();
  EXPECT_TRUE(machine.desktop.Launched().empty());
  std::filesystem::create_directories(folder.Path() / "fscommand");
  std::ofstream(folder.Path() / "fscommand" / "wgame.exe") << "x";
  form.RunExitHook();
  EXPECT_EQ(machine.desktop.Launched(),
            std::vector<std::string>{"fscommand/wgame.exe target=_blank"});
}

TEST(Form, EffectsAndMusicReachTheAudioOutput) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  ASSERT_TRUE(machine.desktop.Boxes().empty());
  auto loudest = [&] {
    int peak = 0;
    for (std::int16_t s : machine.audio.Pull(4410)) peak = std::max(peak, std::abs(int{s}));
    return peak;
  };
  form.Audio.StopMusic();  // the main menu's song, started with the game
  EXPECT_EQ(loudest(), 0);
  form.PlaySoundByName("CarExplosion");
  EXPECT_GT(loudest(), 1000);
  form.StopSoundByName("CarExplosion");
  EXPECT_EQ(loudest(), 0);
  form.GameState = state::MainMenu;
  form.Audio.StartMusicForState();
  EXPECT_NE(form.Audio.CurrentSong, 0);
  EXPECT_GT(loudest(), 100);
  form.GameOptions.SoundOn = false;
  form.Audio.StopMusic();
  form.PlaySoundByName("CarExplosion");  // sound switched off: nothing plays
  EXPECT_EQ(loudest(), 0);
}

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(Form, AStartUpThatFailedBeforeTheSavesNeverWritesThem) {
  GameFolder folder(GameFolder::Data::None);  // no archives: start-up stops at the first one
  const auto save = folder.Path() / "Data" / "Save";
  WriteFile(save / "options", "1\r\n0\r\n1\r\nDE\r\nsomething\r\n");
  WriteFile(save / "hs", "the player's table\r\n");
  platform::HeadlessPlatform machine;
  {
    TMForm form(machine);
    form.SaveAndQuit();  // the exit button, then the shutdown's own save
    EXPECT_TRUE(form.FormDestroy());
  }
  EXPECT_EQ(ReadFile(save / "options"), "1\r\n0\r\n1\r\nDE\r\nsomething\r\n");
  EXPECT_EQ(ReadFile(save / "hs"), "the player's table\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(save), {}), 2);
}

TEST(Form, AFailedFinalSaveIsShownAndReported) {
  GameFolder folder;
  WriteFile(folder.Path() / "Data" / "Save", "a file where the save folder belongs");
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  const std::size_t boxes = machine.desktop.Boxes().size();
  EXPECT_FALSE(form.FormDestroy());
  ASSERT_EQ(machine.desktop.Boxes().size(), boxes + 1);
  EXPECT_NE(machine.desktop.Boxes().back().text.find("Data\\Save"), std::string::npos);
}

TEST(Form, TheExitButtonAndTheShutdownShowOneFailureOnce) {
  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  std::filesystem::create_directories(folder.Path() / "Data" / "Save" / "options" / "in the way");
  const std::size_t boxes = machine.desktop.Boxes().size();
  try {
    form.SaveAndQuit();  // the exit button, whose error the event loop shows
  } catch (const std::exception& e) {
    form.ShowError(e.what());
  }
  EXPECT_FALSE(form.FormDestroy());  // the shutdown tries again and fails the same way
  ASSERT_EQ(machine.desktop.Boxes().size(), boxes + 1);
  EXPECT_EQ(machine.desktop.Boxes().back().text,
            "File access denied.\nData\\Save\\options could not be replaced: nothing was saved.");
}

TEST(Form, ASecondGameOnTheSameSaveFolderSaysSoAndWritesNothing) {
  GameFolder folder;
  const auto save = folder.Path() / "Data" / "Save";
  platform::HeadlessPlatform first_machine, second_machine;
  auto first = std::make_unique<TMForm>(first_machine);
  {
    TMForm second(second_machine);
    ASSERT_EQ(second_machine.desktop.Boxes().size(), 1u);
    EXPECT_EQ(second_machine.desktop.Boxes()[0].text,
              "The save folder Data\\Save is in use by another game.\nThis game will not save its "
              "settings or scores.");
    AddResultToHighScores(second.HighScores, "BORIS", 6000);
    second.SaveScores();  // after the name entry
    EXPECT_FALSE(std::filesystem::exists(save / "hs"));
    EXPECT_FALSE(second.FormDestroy());
    EXPECT_NE(second_machine.desktop.Boxes().back().text.find("in use by another game"),
              std::string::npos);
  }
  EXPECT_TRUE(first_machine.desktop.Boxes().empty());
  AddResultToHighScores(first->HighScores, "ANNA", 5000);
  EXPECT_TRUE(first->FormDestroy());
  first.reset();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(save), {}), 2);

  // The next game has the folder and the first game's result.
  platform::HeadlessPlatform next_machine;
  TMForm next(next_machine);
  EXPECT_TRUE(next_machine.desktop.Boxes().empty());
  EXPECT_EQ(next.HighScores.Slot(1).Name, "ANNA");
}

TEST(Form, TwoStartsWithoutASeedRaceDifferently) {
  GameFolder folder;
  platform::HeadlessPlatform first_machine, second_machine;
  TMForm first(first_machine);
  TMForm second(second_machine);
  EXPECT_NE(first.Random.SeedValue(), second.Random.SeedValue());
}

TEST(Form, AMenuPictureMissingAtStartUpLeavesNoScreenRunning) {
  GameFolder folder;
  testing_support::RemovePicture(folder, "Res1.dxg", "UpPanel");  // the menu's top panel

  platform::HeadlessPlatform machine;
  TMForm form(machine);
  ASSERT_EQ(machine.desktop.Boxes().size(), 1u);
  EXPECT_EQ(machine.desktop.Boxes()[0].text, "Image 'UpPanel' not found.");
  EXPECT_EQ(form.GameState, state::None);
  for (int i = 0; i < 5; ++i) {
    machine.events.Advance(30);
    form.Pump();
  }
  EXPECT_EQ(machine.desktop.Boxes().size(), 1u);
}
