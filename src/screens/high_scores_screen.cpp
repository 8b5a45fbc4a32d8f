// The high-score screen: its panel, the table text, the reset and online-table buttons.
#include "screens/high_scores_screen.h"

#include <string>

#include "persist/high_scores.h"
#include "screens/button_navigation.h"
#include "screens/main_menu.h"
#include "screens/sub_screen.h"

namespace trakvolt {
namespace {

constexpr int kResetButton = kHighScoresResetButton, kOnlineButton = 8;
constexpr int kTableFont = 3;
constexpr int kRankX = 60, kNameX = 126, kScoreX = 400;
constexpr int kFirstRowY = 152, kRowStep = 26;

}  // namespace

void OpenHighScores(TScreenHost& host) {
  EnterSubScreen(host, state::HighScores, 8, kResetButton, kOnlineButton, kOnlineButton);
  host.SelectFont(kTableFont);
  TMenus& m = host.Menus();
  m.HighScoresBackgroundSprite = &NewScreenPanel(host, "HighScoresBackground");
  m.Buttons[kResetButton] = &host.NewButton("ClearHighScores", "ClearHighScores", 1, 0, 27, 412);
  m.Buttons[kOnlineButton] = &host.NewButton("ViewHighScores", "ViewHighScores", 1, 0, 283, 412);
}

void CloseHighScores(TScreenHost& host) {
  CloseScreenPanel(host, host.Menus().HighScoresBackgroundSprite, kResetButton, kOnlineButton);
}

void HighScoresFrame(TScreenHost& host, int lag_count) {
  TMenus& m = host.Menus();
  UpdateButtonHighlight(host);
  NavigateLeftRight(host, true);
  KeepMainButtonLit(m, button::HighScores);
  ReturnToMenuIfLeft(host, button::HighScores, CloseHighScores);
  host.BeginFrame(lag_count, true);
  // A screen closed on this frame draws no table over the menu.
  if (host.State() == state::HighScores) DrawHighScoreTable(host);
  host.EndFrame();
}

void DrawHighScoreTable(TScreenHost& host) {
  host.SelectFont(kTableFont);
  const HighScoreTable& table = host.HighScores();
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
    const int y = kFirstRowY + kRowStep * (i - 1);
    host.DrawText(std::to_string(i), kRankX, y);
    host.DrawText(table.Slot(i).Name, kNameX, y);
    host.DrawText(std::to_string(table.Slot(i).Score), kScoreX, y);
  }
}

void HighScoresClick(TScreenHost& host) {
  const int h = host.Menus().HoveredButton;
  if (h == kResetButton) {
    HighScoreTable& table = host.HighScores();
    HighScoreTable defaults = table;
    ResetHighScores(defaults);
    // Only a table other than the defaults is kept, so a second reset never puts the defaults
    // over the kept copy. When it cannot be kept, its error leaves the table as it is.
    if (table == defaults) return;
    host.KeepScoresBeforeReset();
    // In memory only: the defaults reach the disk when the game exits.
    ResetHighScores(table);
  } else if (h == kOnlineButton) {
    host.OpenOnlineTable();
  } else if (h != 0) {
    CloseHighScores(host);
    BuildMainMenu(host, false, menu_return::Start);
  }
}

}  // namespace trakvolt
