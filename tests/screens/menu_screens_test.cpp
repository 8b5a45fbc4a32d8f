// The main menu's intro and exit, the car selection and the help pages.
#include <gtest/gtest.h>

#include <filesystem>

#include "race/race_run.h"
#include "screen_fixture.h"
#include "screens/main_menu.h"

using namespace trakvolt;

namespace {

class MainMenu : public testing_support::ScreenTest {};

TEST_F(MainMenu, PanelsThenButtonsSlideInOneStepPerFrame) {
  TMenus& m = form.Menus;
  ASSERT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(m.HoveredButton, button::Start);
  EXPECT_EQ(m.MenuPhase, menu_phase::Panels);
  EXPECT_EQ(m.UpPanelSprite->Y, -100);
  EXPECT_EQ(m.DownPanelSprite->Y, 600);
  EXPECT_EQ(m.Buttons[button::Exit]->X, 800);
  // A late tick (lag 5) still moves one step.
  machine.events.Advance(150);
  form.Pump();
  EXPECT_EQ(m.UpPanelSprite->Y, -97);
  EXPECT_EQ(m.DownPanelSprite->Y, 598);
  int frames = 1;
  while (m.MenuPhase == menu_phase::Panels) {
    Tick();
    ++frames;
  }
  // The bottom panel needs 50 steps; the top one has stopped 2 pixels low, uncorrected.
  EXPECT_EQ(frames, 50);
  EXPECT_EQ(m.UpPanelSprite->Y, 2);
  EXPECT_EQ(m.DownPanelSprite->Y, 500);
  EXPECT_EQ(m.Buttons[button::Start]->X, 793);  // the last panel frame moved the buttons too
  while (m.MenuPhase != menu_phase::Interactive) Tick();
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(m.Buttons[static_cast<std::size_t>(i)]->X, 555);
  Tick();
  EXPECT_TRUE(m.Buttons[button::Start]->Highlighted);
  EXPECT_EQ(m.MenuCaption->Image(), &form.MImageList.Find("StartCaption"));
  EXPECT_EQ(m.MenuCaption->X, 30);
}

TEST_F(MainMenu, TheCaptionFollowsTheHighlight) {
  UntilInteractive();
  Press(vk::Down);
  EXPECT_EQ(form.Menus.MenuCaption->Image(), &form.MImageList.Find("OptionsCaption"));
  PointAt(button::Exit);
  Tick();
  EXPECT_EQ(form.Menus.MenuCaption->Image(), &form.MImageList.Find("ExitCaption"));
  EXPECT_FALSE(form.Menus.Buttons[button::Options]->Highlighted);
}

TEST_F(MainMenu, ExitTearsTheMenuDownSavesAndQuits) {
  UntilInteractive();
  form.GameOptions.Country = "XY";
  PointAt(button::Exit);
  form.MDisplayClick();
  EXPECT_TRUE(form.Terminated());
  EXPECT_EQ(form.Menus.ButtonCount, 0);
  EXPECT_EQ(form.Menus.MenuCaption, nullptr);
  EXPECT_EQ(form.MSpriteEngine.Engine().Count(), 1);  // the background alone
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Data/Save/options"));
}

TEST_F(MainMenu, TheWebsiteButtonOpensTheShortcut) {
  OpenFromMenu(button::Website);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(machine.desktop.Opened(), std::vector<std::string>{"website.url"});
}

TEST_F(MainMenu, TheHighScoreButtonOpensTheTableOverTheMenu) {
  OpenFromMenu(button::HighScores);
  EXPECT_EQ(form.GameState, state::HighScores);
  EXPECT_EQ(form.Menus.ButtonCount, 8);
  EXPECT_NE(form.Menus.Buttons[button::Exit], nullptr);  // the menu stays under it
}

class CarSelection : public testing_support::ScreenTest {
 protected:
  void SetUp() override {
    OpenFromMenu(button::Start);
    ASSERT_EQ(form.GameState, state::CarSelection);
  }
};

TEST_F(CarSelection, EnterOrSpaceRightAwayChoosesCarOneAndNoMenuSpriteStays) {
  for (int key : {13, 32}) {
    SCOPED_TRACE(key);
    form.RaceState.SelectedCar = 0;
    Type(static_cast<unsigned char>(key));
    EXPECT_EQ(form.RaceState.SelectedCar, 1);
    EXPECT_EQ(form.GameState, state::Race);
    EXPECT_EQ(form.Menus.ButtonCount, 0);
    EXPECT_EQ(form.Menus.MenuCaption, nullptr);
    EXPECT_EQ(form.Menus.StartGameBackgroundSprite, nullptr);
    // The race's countdown draws every frame.
    const int flips = machine.display.FlipCount();
    Tick(2);
    EXPECT_EQ(machine.display.FlipCount(), flips + 2);
    // Without the race's own sprites only the background is left.
    RaceTeardown(form.RaceHost);
    EXPECT_EQ(form.MSpriteEngine.Engine().Count(), 1);
    // The next menu is built anew.
    BuildMainMenu(form.Screens, true, 0);
    OpenFromMenu(button::Start);
  }
}

TEST_F(CarSelection, LeftAndRightWrapRoundTheCars) {
  Press(vk::Left);
  EXPECT_EQ(form.Menus.HoveredButton, 10);
  EXPECT_TRUE(form.Menus.Buttons[10]->Highlighted);
  Press(vk::Right);
  EXPECT_EQ(form.Menus.HoveredButton, 7);
  Press(vk::Right);
  Press(vk::Right);
  EXPECT_EQ(form.Menus.HoveredButton, 9);
  form.MDisplayClick();
  EXPECT_EQ(form.RaceState.SelectedCar, 3);
}

TEST_F(CarSelection, EscapeAndTheStartButtonCloseWithoutARace) {
  Type(27);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.HoveredButton, button::Start);
  EXPECT_EQ(form.Menus.Buttons[7], nullptr);
  EXPECT_EQ(form.Menus.ButtonCount, 6);
  Tick();
  EXPECT_TRUE(form.Menus.MenuCaption->Visible);
  OpenFromMenu(button::Start);
  PointAt(button::Start);
  form.MDisplayClick();
  EXPECT_EQ(form.GameState, state::MainMenu);
}

class Help : public testing_support::ScreenTest {
 protected:
  void SetUp() override {
    OpenFromMenu(button::Help);
    ASSERT_EQ(form.GameState, state::Help);
  }
  const TImage* Page(int n) { return &form.MImageList.Find("Help" + std::to_string(n)); }
};

TEST_F(Help, ArrowKeysMoveToTheArrowsAndTurnPagesAtTheEdges) {
  TMenus& m = form.Menus;
  EXPECT_EQ(m.HoveredButton, 8);
  EXPECT_EQ(m.HelpPage, 1);
  Press(vk::Left);  // onto "Previous"
  EXPECT_EQ(m.HoveredButton, 7);
  EXPECT_EQ(m.HelpPage, 1);
  Press(vk::Right);  // Right on "Previous" moves to "Next"
  EXPECT_EQ(m.HoveredButton, 8);
  EXPECT_EQ(m.HelpPage, 1);
  for (int page : {2, 3, 4, 1}) {  // each further Right turns a page; 4 is followed by 1
    Press(vk::Right);
    EXPECT_EQ(m.HelpPage, page);
    EXPECT_EQ(m.HelpPageSprite->Image(), Page(page));
  }
  Press(vk::Left);
  Press(vk::Left);  // Left on "Previous" turns back, 1 wraps to 4
  EXPECT_EQ(m.HelpPage, 4);
  EXPECT_EQ(m.HelpPageSprite->X, 14);
  EXPECT_EQ(m.HelpPageSprite->Y, 115);
  EXPECT_EQ(form.GameState, state::Help);
}

TEST_F(Help, ClicksTurnPagesAndEscapeCloses) {
  PointAt(7);
  form.MDisplayClick();
  EXPECT_EQ(form.Menus.HelpPage, 4);
  PointAt(8);
  form.MDisplayClick();
  form.MDisplayClick();
  EXPECT_EQ(form.Menus.HelpPage, 2);
  Type(27);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.HoveredButton, button::Help);
  EXPECT_EQ(form.Menus.HelpPageSprite, nullptr);
}

// The pointer arrives on another main button and Left is pressed in the same frame: the step
// is refused at the edge, which clicks that button and closes the screen, and the highlight
// is outside the screen's range too. The screen closes once, and the click is not taken by
// the menu as well.
TEST_F(Help, APointerOnAnotherMainButtonWithAnArrowInTheSameFrameClosesOnce) {
  const struct {
    int pointed;
    int state_after_click;  // what a later click on the same button opens
  } cases[] = {
      {button::Start, state::CarSelection},    {button::Options, state::Options},
      {button::HighScores, state::HighScores}, {button::Website, state::MainMenu},
      {button::Exit, state::MainMenu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pointed);
    if (form.GameState != state::Help) OpenFromMenu(button::Help);
    ASSERT_EQ(form.GameState, state::Help);
    const int sprites = form.MSpriteEngine.Engine().Count();
    const std::size_t opened = machine.desktop.Opened().size();
    form.StopSoundByName("Button_Pressed");
    PointAt(c.pointed);
    machine.input.SetKey(vk::Left, true);
    Tick();
    EXPECT_TRUE(Playing("Button_Pressed"));  // the click at the edge
    EXPECT_EQ(form.GameState, state::MainMenu);
    EXPECT_EQ(form.Menus.HoveredButton, c.pointed);
    EXPECT_EQ(form.Menus.ButtonCount, 6);
    EXPECT_EQ(form.Menus.HelpPageSprite, nullptr);
    EXPECT_EQ(form.Menus.Buttons[7], nullptr);
    EXPECT_EQ(form.Menus.Buttons[8], nullptr);
    EXPECT_EQ(form.MSpriteEngine.Engine().Count(), sprites - 3);  // the page and two arrows
    EXPECT_EQ(machine.desktop.Opened().size(), opened);
    EXPECT_FALSE(form.Terminated());
    machine.input.SetKey(vk::Left, false);
    const int flips = machine.display.FlipCount();
    Tick(3);
    EXPECT_EQ(form.GameState, state::MainMenu);
    EXPECT_EQ(machine.display.FlipCount(), flips + 3);
    EXPECT_TRUE(form.Menus.MenuCaption->Visible);
    // The menu answers again: the next click on the button is its own.
    if (c.pointed == button::Exit) continue;  // would end the game; the last case
    form.MDisplayClick();
    EXPECT_EQ(form.GameState, c.state_after_click);
    if (c.pointed == button::Website) {
      EXPECT_EQ(machine.desktop.Opened().size(), opened + 1);
    }
    if (form.GameState != state::MainMenu) Type(27);
    Tick();
  }
}

TEST_F(Help, ALeftStepFromTheOwnButtonClicksItAndClosesOnce) {
  PointAt(button::Help);
  Tick();
  // From 4, below the arrows' range, Left is refused at the edge: a click on button 4.
  Press(vk::Left);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.HelpPageSprite, nullptr);
  Tick(3);
  EXPECT_EQ(form.GameState, state::MainMenu);
}

}  // namespace
