// The help screen over the main menu: four pages turned with "Previous" and "Next".
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

void OpenHelp(TScreenHost& host);
void CloseHelp(TScreenHost& host);
void HelpFrame(TScreenHost& host, int lag_count);
// Turns to the page before (1 wraps to 4) or after (4 wraps to 1).
void TurnHelpPage(TScreenHost& host, int step);

}  // namespace trakvolt
