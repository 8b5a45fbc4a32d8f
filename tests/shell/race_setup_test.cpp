// A race that cannot be built: the error is shown once, nothing of the race stays, and the
// game answers from the main menu.
#include <gtest/gtest.h>

#include "game_folder.h"
#include "input/input_device.h"
#include "picture_removed.h"
#include "platform/headless/headless_platform.h"
#include "screens/car_selection.h"
#include "shell/form.h"

using namespace trakvolt;

namespace {

class RaceSetUpFailure : public ::testing::Test {
 protected:
  RaceSetUpFailure() { testing_support::RemovePicture(folder, "Res3.dxg", "Car1"); }

  void Send(platform::Event e) {
    machine.events.Push(e);
    form->Pump();
  }
  void Key(int vk, bool alt = false) {
    platform::Event e;
    e.kind = platform::Event::Kind::KeyDown;
    e.key = vk;
    e.shift.alt = alt;
    Send(e);
    e.kind = platform::Event::Kind::KeyUp;
    Send(e);
  }
  void Enter() {
    platform::Event e;
    e.kind = platform::Event::Kind::KeyPress;
    e.ch = 13;
    Send(e);
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      machine.events.Advance(30);
      form->Pump();
    }
  }

  testing_support::GameFolder folder;
  platform::HeadlessPlatform machine;
  std::unique_ptr<TMForm> form;
};

TEST_F(RaceSetUpFailure, ShowsTheErrorOnceAndTheMenuAnswersAgain) {
  form = std::make_unique<TMForm>(machine);
  ASSERT_TRUE(machine.desktop.Boxes().empty());
  const int sprites_before = form->MSpriteEngine.Engine().Count();
  Tick(120);  // the menu's intro
  OpenCarSelection(form->Screens);
  Tick();
  ASSERT_EQ(form->GameState, state::CarSelection);
  ASSERT_EQ(form->Menus.HoveredButton, 7);  // car 1
  Enter();
  ASSERT_EQ(machine.desktop.Boxes().size(), 1u);
  EXPECT_EQ(machine.desktop.Boxes()[0].text, "Image 'Car1' not found.");
  // Nothing of the race is left, and the menu runs on its timer again.
  EXPECT_EQ(form->GameState, state::MainMenu);
  EXPECT_EQ(form->RaceState.PlayerCar, nullptr);
  EXPECT_EQ(form->RaceState.LeftPanel, nullptr);
  EXPECT_EQ(form->RaceState.NeedleHolder, nullptr);
  EXPECT_TRUE(form->MFrameTimer.Enabled());
  EXPECT_EQ(machine.window.CursorCount(), 0);
  Tick(120);
  EXPECT_EQ(form->Menus.MenuPhase, menu_phase::Interactive);
  EXPECT_EQ(form->MSpriteEngine.Engine().Count(), sprites_before);
  // The keys answer: the highlight moves, and Alt+Enter switches the screen mode both ways.
  const int hovered = form->Menus.HoveredButton;
  machine.input.SetKey(vk::Down, true);
  Tick();
  machine.input.SetKey(vk::Down, false);
  Tick();
  EXPECT_NE(form->Menus.HoveredButton, hovered);
  Key(vk::Enter, true);
  Tick(3);
  Key(vk::Enter, true);
  Tick(3);
  EXPECT_EQ(form->GameState, state::MainMenu);
  EXPECT_EQ(machine.desktop.Boxes().size(), 1u);
}

}  // namespace
