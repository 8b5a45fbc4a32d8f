// The menus' shared records: the button registry with its keyboard cursor, and the sprites and
// settings of the main menu and the screens over it.
#pragma once

#include <array>

#include "screens/caption_sprite.h"
#include "screens/game_state.h"
#include "screens/menu_button.h"

namespace trakvolt {

// Main-menu buttons 1..6 and the first button a screen over the menu adds.
namespace button {
constexpr int Start = 1, Options = 2, HighScores = 3, Help = 4, Website = 5, Exit = 6;
constexpr int FirstSub = 7, Last = 10;
}  // namespace button

// Phases of the main menu: the panels slide in, then the buttons, then it answers the player.
namespace menu_phase {
constexpr int Interactive = 0, Panels = 1, Buttons = 3;
}

struct TMenus {
  // The live buttons, 1..10 (index 0 unused). 1..6 are the main menu's; a screen over it adds
  // 7..10. The sprites belong to the sprite tree; the screen that made them frees them.
  std::array<TMenuButton*, button::Last + 1> Buttons{};
  int ButtonCount = 0;
  // The highlighted button: moved by the pointer and the keyboard cursor, never cleared once
  // set, so moving the pointer off every button keeps the last one lit.
  int HoveredButton = 0;
  // The range the keyboard cursor moves in.
  int FirstNavButton = 1, LastNavButton = 1;
  // No arrow key of the screen's axis is held: the next press moves the cursor one step.
  bool NavKeyArmed = true;
  // A non-wrapping step was refused at the first or last button.
  bool NavAtEdge = false;

  // Main menu.
  int MenuPhase = menu_phase::Interactive;
  int MenuReturnCode = menu_return::Start;
  TCaptionSprite* MenuCaption = nullptr;
  TCaptionSprite* UpPanelSprite = nullptr;
  TCaptionSprite* DownPanelSprite = nullptr;

  // Options; the cursor and its blink timer are the text fields'.
  TCaptionSprite* OptionsBackgroundSprite = nullptr;
  TCaptionSprite* CursorSprite = nullptr;
  int CursorBlinkTimer = 0;
  bool CountryEditing = false;

  // Car selection.
  TCaptionSprite* StartGameBackgroundSprite = nullptr;

  // High scores.
  TCaptionSprite* HighScoresBackgroundSprite = nullptr;

  // Help.
  int HelpPage = 1;
  TCaptionSprite* HelpPageSprite = nullptr;

  // The live button `i`, or none.
  TMenuButton* Button(int i) const {
    return i >= 1 && i <= ButtonCount ? Buttons[static_cast<std::size_t>(i)] : nullptr;
  }
};

}  // namespace trakvolt
