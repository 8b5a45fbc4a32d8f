// The main menu: background, two sliding panels, six buttons sliding in from the right and the
// description of the highlighted button.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

// Enters the main menu. With `rebuild` the whole menu is made afresh and its intro plays (the
// highlight on button 1, or on 3 for return code 3); without it the menu still alive under a
// closing screen answers the player again at once.
void BuildMainMenu(TScreenHost& host, bool rebuild, int return_code);
// Frees the menu's buttons, caption and panels (before a race or the exit).
void TearDownMainMenu(TScreenHost& host);
// The main menu's frame.
void MainMenuFrame(TScreenHost& host, int lag_count);

}  // namespace trakvolt
