// Clicks, keys and the keyboard cursor across the screens.
#include <gtest/gtest.h>

#include "screen_fixture.h"

using namespace trakvolt;
using K = platform::Event::Kind;

namespace {

class Dispatch : public testing_support::ScreenTest {};

TEST_F(Dispatch, PointerOffEveryButtonKeepsTheHighlightAndEnterClicksIt) {
  UntilInteractive();
  PointAt(button::Help);
  Tick();
  form.MDisplayMouseMove(5, 5);  // over no button
  Tick();
  EXPECT_EQ(form.Menus.HoveredButton, button::Help);
  EXPECT_TRUE(form.Menus.Buttons[button::Help]->Highlighted);
  Type(13);
  EXPECT_EQ(form.GameState, state::Help);
}

TEST_F(Dispatch, HitTestIncludesTheEdges) {
  UntilInteractive();
  const TMenuButton& b = *form.Menus.Buttons[button::Exit];
  form.MDisplayMouseMove(static_cast<int>(b.X) + b.Width, static_cast<int>(b.Y) + b.Height);
  EXPECT_EQ(form.Menus.HoveredButton, button::Exit);
  form.MDisplayMouseMove(static_cast<int>(b.X) - 1, static_cast<int>(b.Y));
  EXPECT_EQ(form.Menus.HoveredButton, button::Exit);  // just outside: kept, not moved
}

TEST_F(Dispatch, DuringTheIntroClicksAndKeysOnlyClick) {
  Tick(3);
  ASSERT_NE(form.Menus.MenuPhase, menu_phase::Interactive);
  // The pointer rests where the options button will stop: no highlight yet.
  form.MDisplayMouseMove(600, 200);
  Tick();
  EXPECT_FALSE(form.Menus.Buttons[button::Options]->Highlighted);
  form.StopSoundByName("Button_Pressed");
  Send(K::Click, 600, 200);
  Type(13);
  Type('x');
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.ButtonCount, 6);
  EXPECT_TRUE(Playing("Button_Pressed"));
}

TEST_F(Dispatch, EscapeDoesNothingOnTheMainMenuAndOtherKeysClick) {
  UntilInteractive();
  form.StopSoundByName("Button_Pressed");
  Type(27);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_FALSE(Playing("Button_Pressed"));
  Type('q');  // the highlight rests on start
  EXPECT_EQ(form.GameState, state::CarSelection);
}

TEST_F(Dispatch, AClickActsOnTheHighlightAsItStands) {
  UntilInteractive();
  PointAt(button::HighScores);
  Tick();
  Press(vk::Down);  // the arrow keys move the highlight on to help
  ASSERT_EQ(form.Menus.HoveredButton, button::Help);
  const TMenuButton& scores = *form.Menus.Buttons[button::HighScores];
  Send(K::Click, static_cast<int>(scores.X) + 5, static_cast<int>(scores.Y) + 5);
  EXPECT_EQ(form.GameState, state::Help);
}

TEST_F(Dispatch, ArrowKeysStepOncePerPressAndWrapOnTheMainMenu) {
  UntilInteractive();
  machine.input.SetKey(vk::Up, true);
  Tick(5);  // held: one step only
  EXPECT_EQ(form.Menus.HoveredButton, button::Exit);
  machine.input.SetKey(vk::Up, false);
  Tick();
  Press(vk::Down);
  EXPECT_EQ(form.Menus.HoveredButton, button::Start);
}

TEST_F(Dispatch, LeftAndRightTogetherMoveForwardOnce) {
  OpenFromMenu(button::Start);
  machine.input.SetKey(vk::Left, true);
  machine.input.SetKey(vk::Right, true);
  Tick(3);
  EXPECT_EQ(form.Menus.HoveredButton, 8);
}

// Each screen over the menu: its own main button keeps it open, another main button, reached by
// the pointer or by a cursor step out of the screen's range, closes it into the menu.
struct SubScreenCase {
  int opened_by;
  int state;
  int step_key;  // a cursor step from the own button lands on another main button
  int landing;
};

TEST_F(Dispatch, TheHighlightOnAnotherMainButtonClosesTheScreen) {
  const SubScreenCase cases[] = {
      {button::Options, state::Options, vk::Down, button::HighScores},
      {button::Help, state::Help, vk::Right, button::Website},
      {button::Start, state::CarSelection, vk::Right, button::Options},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    OpenFromMenu(c.opened_by);
    ASSERT_EQ(form.GameState, c.state);
    const int sprites = form.MSpriteEngine.Engine().Count();
    PointAt(c.opened_by);
    Tick(2);
    EXPECT_EQ(form.GameState, c.state);
    // The own button is lit but not highlighted until the highlight arrives on it.
    EXPECT_TRUE(form.Menus.Buttons[static_cast<std::size_t>(c.opened_by)]->Highlighted);
    Press(c.step_key);
    EXPECT_EQ(form.GameState, state::MainMenu);
    EXPECT_EQ(form.Menus.HoveredButton, c.landing);
    EXPECT_EQ(form.Menus.Buttons[7], nullptr);
    EXPECT_LT(form.MSpriteEngine.Engine().Count(), sprites);
    EXPECT_TRUE(form.Menus.MenuCaption->Visible);
    // Pointing at a main button closes it too.
    OpenFromMenu(c.opened_by);
    PointAt(button::Exit);
    Tick();
    EXPECT_EQ(form.GameState, state::MainMenu);
    EXPECT_EQ(form.Menus.HoveredButton, button::Exit);
  }
}

TEST_F(Dispatch, TheOwnButtonSoundsWhenTheHighlightArrivesThoughItWasLit) {
  OpenFromMenu(button::Options);
  Tick(2);
  ASSERT_FALSE(form.Menus.Buttons[button::Options]->Highlighted);
  form.StopSoundByName("Button_Activated");
  PointAt(button::Options);
  Tick();
  EXPECT_TRUE(Playing("Button_Activated"));
  form.StopSoundByName("Button_Activated");
  Tick(3);  // once per arrival, not every frame
  EXPECT_FALSE(Playing("Button_Activated"));
}

TEST_F(Dispatch, AltEnterSwitchesTheModeInEveryScreenWithoutLeavingIt) {
  const int openers[] = {0, button::Options, button::Help, button::Start};
  for (int opener : openers) {
    SCOPED_TRACE(opener);
    if (opener == 0)
      UntilInteractive();
    else
      OpenFromMenu(opener);
    const int before = form.GameState;
    const bool full = form.GameOptions.FullScreen;
    platform::Event e;
    e.kind = K::KeyDown;
    e.key = vk::Enter;
    e.shift.alt = true;
    machine.events.Push(e);
    form.Pump();
    Tick(2);
    EXPECT_EQ(form.GameState, before);
    EXPECT_NE(form.GameOptions.FullScreen, full);
    EXPECT_EQ(machine.display.FullScreenOption(), form.GameOptions.FullScreen);
    if (opener != 0) Type(27);  // back to the menu for the next screen
  }
}

TEST_F(Dispatch, AltEnterDuringTheRaceSetUpKeepsItToo) {
  form.GameState = state::RaceSetup;
  form.FormKeyDown(vk::Enter, platform::ShiftState{false, true, false});
  EXPECT_TRUE(form.GameOptions.FullScreen);
  EXPECT_EQ(form.GameState, state::RaceSetup);
}

}  // namespace
