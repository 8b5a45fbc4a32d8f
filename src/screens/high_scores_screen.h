// The high-score screen over the main menu: the table of the ten best runs, the reset button
// and the online table.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

// The reset button's code in the button registry while the screen is open.
inline constexpr int kHighScoresResetButton = 7;

void OpenHighScores(TScreenHost& host);
void CloseHighScores(TScreenHost& host);
void HighScoresFrame(TScreenHost& host, int lag_count);
// Rank, name and score of rows 1..10 in the current font.
void DrawHighScoreTable(TScreenHost& host);
// A click while the screen is open: reset, the online table, or any other button closes it.
void HighScoresClick(TScreenHost& host);

}  // namespace trakvolt
