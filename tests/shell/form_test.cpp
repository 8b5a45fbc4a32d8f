// The main form on the headless machine: start-up, screen modes, the error box, exit hook.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/game_error.h"
#include "platform/headless/headless_platform.h"
#include "shell/error_text.h"
#include "shell/form.h"

using namespace trakvolt;

TEST(ErrorBox, FullStopRule) {
  struct { const char* in; const char* out; } cases[] = {
      {"File not found", "File not found."},
      {"Invalid numeric input", "Invalid numeric input."},
      {"Index of the list exceeds the range. (7)", "Index of the list exceeds the range. (7)"},
      {"Done.", "Done."},
      {"Error 42", "Error 42."},
      {"Stop!", "Stop!"},
      {"", ""},
      {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0."},  // a cp1251 letter
  };
  for (auto c : cases) EXPECT_EQ(ErrorBoxText(c.in), c.out) << c.in;
}

TEST(Form, StartsWindowedWithTheTimerRunning) {
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  EXPECT_TRUE(machine.display.Initialized());
  EXPECT_FALSE(machine.display.FullScreenOption());
  EXPECT_TRUE(form.MFrameTimer.Enabled());
  EXPECT_TRUE(machine.desktop.Boxes().empty());
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
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  machine.window.SetPlacement({3, 4, false});
  const int centred = machine.window.CentredCount();
  form.SetWindowedMode();
  EXPECT_EQ(machine.window.CentredCount(), centred + 1);
  EXPECT_NE(machine.window.Placement(), (platform::WindowPlacement{3, 4, false}));
}

TEST(Form, CtrlHeldFollowsTheKey) {
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.FormKeyDown(17, {});
  EXPECT_TRUE(form.CtrlHeld);
  form.FormKeyUp(17, {});
  EXPECT_FALSE(form.CtrlHeld);
}

TEST(Form, CursorCountGoesUpAndDown) {
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.HideMouseCursor();
  EXPECT_EQ(machine.window.CursorCount(), -1);
  form.ShowMouseCursor();
  EXPECT_EQ(machine.window.CursorCount(), 0);
}

TEST(Form, UnknownStatesDrawNothingAndTicksFollowTheClock) {
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  form.GameState = 12345;
  machine.events.Advance(30);
  EXPECT_TRUE(form.Pump());
  EXPECT_EQ(machine.display.FlipCount(), 0);
  EXPECT_FALSE(form.Pump());  // not due again yet
  form.GameState = state::RaceSetup;  // a plain frame
  machine.events.Advance(30);
  EXPECT_TRUE(form.Pump());
  EXPECT_EQ(machine.display.FlipCount(), 1);
}

TEST(Form, NoTicksWhileInactive) {
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
  platform::HeadlessPlatform machine;
  TMForm form(machine);
  machine.events.Push({platform::Event::Kind::Quit});
  form.Run();
  EXPECT_TRUE(form.Terminated());
}

TEST(Form, ExitHookOpensTheCompanionOnlyWhenPresent) {
  namespace fs = std::filesystem;
  const fs::path old = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / "trakvolt_exit_hook";
  fs::remove_all(dir);
  fs::create_directories(dir / "fscommand");
  fs::current_path(dir);
  {
    platform::HeadlessPlatform machine;
    TMForm form(machine);
    form.RunExitHook();
    EXPECT_TRUE(machine.desktop.Launched().empty());
    std::ofstream(dir / "fscommand" / "wgame.exe") << "x";
    form.RunExitHook();
    EXPECT_EQ(machine.desktop.Launched(),
              std::vector<std::string>{"fscommand/wgame.exe target=_blank"});
  }
  fs::current_path(old);
  fs::remove_all(dir);
}
