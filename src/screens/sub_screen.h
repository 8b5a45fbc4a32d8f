// What the screens over the main menu share: entering one, its panel picture, freeing its
// sprites.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

// Sets GameState and the button registry, hides the menu's description and runs the timer.
void EnterSubScreen(TScreenHost& host, int game_state, int button_count, int first_nav,
                    int last_nav, int hovered);
// The screen's picture, over the menu's left side (14, 115) and under its buttons (Z 2).
TCaptionSprite& NewScreenPanel(TScreenHost& host, std::string_view image_name);
// The highlight has moved to a main-menu button other than the screen's own one: the screen
// closes back into the menu.
bool HighlightLeftScreen(const TMenus& menus, int own_button);
// When it has, closes the screen with `close` and builds the menu again around it.
void ReturnToMenuIfLeft(TScreenHost& host, int own_button, void (*close)(TScreenHost&));
// Frees buttons first..last that exist and empties their slots.
void FreeButtons(TMenus& menus, int first, int last);
// Frees a caption that exists and forgets it.
void FreeCaption(TCaptionSprite*& caption);
// Closes a screen that is a panel with buttons first..last: frees them and stops the timer.
void CloseScreenPanel(TScreenHost& host, TCaptionSprite*& panel, int first, int last);

}  // namespace trakvolt
