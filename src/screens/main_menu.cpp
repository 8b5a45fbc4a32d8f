// The main menu: building, the intro animation, the highlight and its description, tearing down.
#include "screens/main_menu.h"

#include "screens/button_navigation.h"
#include "screens/high_scores_screen.h"
#include "screens/sub_screen.h"

namespace trakvolt {
namespace {

constexpr double kButtonsStartX = 800;
// The buttons slide while the first one is right of this, 7 pixels a frame: 35 steps to 555.
constexpr double kButtonsStopAfter = 558;
constexpr double kButtonStep = 7;
constexpr double kUpPanelStep = 3, kDownPanelStep = 2;

struct MainButton {
  const char* active;
  const char* inactive;
  int frame;
  double y;
  const char* caption;
};
constexpr MainButton kMainButtons[] = {
    {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 0, 115, "StartCaption"},
    {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 1, 175, "OptionsCaption"},
    {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 2, 238, "HighScoresCaption"},
    {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 3, 300, "HelpCaption"},
    {"MainMenuButtons_Active", "MainMenuButtons_Inactive", 4, 362, "VisitWWWCaption"},
    {"MainMenu_ExitActive", "MainMenu_ExitInactive", 0, 424, "ExitCaption"},
};

// Panels first: the top one slides down 3 pixels a frame, the bottom one up 2, each until it
// reaches or passes its resting line (the small overshoot stays).
void SlidePanels(TMenus& m) {
  TCaptionSprite& up = *m.UpPanelSprite;
  TCaptionSprite& down = *m.DownPanelSprite;
  const double down_rest = 600 - down.Height;
  if (up.Y < 0) up.Y += kUpPanelStep;
  if (down.Y > down_rest) down.Y -= kDownPanelStep;
  if (up.Y >= 0 && down.Y <= down_rest) m.MenuPhase = menu_phase::Buttons;
}

void SlideButtons(TMenus& m) {
  if (m.Buttons[button::Start]->X > kButtonsStopAfter) {
    for (int i = 1; i <= m.ButtonCount; ++i)
      if (TMenuButton* b = m.Button(i)) b->X -= kButtonStep;
  } else {
    m.MenuPhase = menu_phase::Interactive;
  }
}

}  // namespace

void BuildMainMenu(TScreenHost& host, bool rebuild, int return_code) {
  TMenus& m = host.Menus();
  host.State() = state::MainMenu;
  m.ButtonCount = 6;
  m.FirstNavButton = button::Start;
  m.LastNavButton = button::Exit;
  m.MenuReturnCode = return_code;
  if (rebuild) {
    host.StartMusicForState();
    m.HoveredButton = return_code == menu_return::HighScores ? button::HighScores : button::Start;
    m.MenuPhase = menu_phase::Panels;
    host.Background().SetImage(&host.MenuImages().Find("MainMenuBackground"));
    m.MenuCaption = &host.NewCaption("NullCaption");
    m.MenuCaption->X = 30;
    m.MenuCaption->Y = 190;
    m.UpPanelSprite = &host.NewCaption("UpPanel");
    m.UpPanelSprite->X = 0;
    m.UpPanelSprite->Y = -m.UpPanelSprite->Height;
    m.DownPanelSprite = &host.NewCaption("DownPanel");
    m.DownPanelSprite->X = 800 - m.DownPanelSprite->Width;
    m.DownPanelSprite->Y = 600;
    for (int i = 1; i <= 6; ++i) {
      const MainButton& b = kMainButtons[i - 1];
      m.Buttons[static_cast<std::size_t>(i)] =
          &host.NewButton(b.active, b.inactive, b.frame, b.frame, kButtonsStartX, b.y);
    }
  }
  if (m.MenuCaption != nullptr) m.MenuCaption->Visible = true;
  host.FrameTimer().SetEnabled(true);
}

void TearDownMainMenu(TScreenHost& host) {
  TMenus& m = host.Menus();
  FreeButtons(m, 1, m.ButtonCount);
  m.ButtonCount = 0;
  FreeCaption(m.MenuCaption);
  FreeCaption(m.UpPanelSprite);
  FreeCaption(m.DownPanelSprite);
  host.FrameTimer().SetEnabled(false);
}

void MainMenuFrame(TScreenHost& host, int lag_count) {
  TMenus& m = host.Menus();
  // The phases are tested in this order, so the frame that ends the panels' slide already
  // moves the buttons. Each phase steps once a frame: a late tick does not hurry the intro.
  if (m.MenuPhase == menu_phase::Interactive) {
    NavigateUpDown(host, true);
    UpdateButtonHighlight(host);
    if (m.HoveredButton >= button::Start && m.HoveredButton <= button::Exit) {
      m.MenuCaption->Visible = true;
      m.MenuCaption->SetImage(&host.MenuImages().Find(kMainButtons[m.HoveredButton - 1].caption));
    }
    // A menu built after a run shows the table on its first interactive frame.
    if (m.MenuReturnCode == menu_return::HighScores) {
      OpenHighScores(host);
      m.MenuReturnCode = menu_return::Start;
    }
  }
  if (m.MenuPhase == menu_phase::Panels) SlidePanels(m);
  if (m.MenuPhase == menu_phase::Buttons) SlideButtons(m);
  host.BeginFrame(lag_count, true);
  host.EndFrame();
}

}  // namespace trakvolt
