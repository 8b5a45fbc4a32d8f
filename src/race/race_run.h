// The race run: set-up, levels, the game-over check, the car's return after a crash, pause and
// the quit question, and leaving the race.
#pragma once

#include "race/race_host.h"

namespace trakvolt {

// Builds the race over a torn-down menu with RaceState.SelectedCar set and starts level 1.
void StartRace(TRaceHost& host);
// Score 0, three lives, the player's car, level 1.
void NewRun(TRaceHost& host);
// (Re)starts `level` with a full clock and an empty road, behind the start countdown.
void StartLevel(TRaceHost& host, int level);
// The race frame (GameState 1).
void RaceFrame(TRaceHost& host, int lag_count);

// With no life left: the game-over banner starts; returns whether it did.
bool GameOverCheck(TRaceHost& host);
// The time-over banner: a life went with the clock, the run goes on.
void StartTimeOver(TRaceHost& host);
// Frees the time-over or game-over banner once it has run out.
void FreeBanner(TRaceHost& host);
// The car back on the road after its crash explosion (unless the game is over).
void RestoreCar(TRaceHost& host);

// Pause and the quit question: the world freezes and falls silent, and comes back.
void PauseRace(TRaceHost& host);
void AskQuit(TRaceHost& host);
// Back to driving from pause or the quit question: music and engine again.
void ResumeRace(TRaceHost& host);
// The window went behind another while the race ran: paused as by the pause key, with the
// pause message shown when the frames go on.
void PauseForFocusLoss(TRaceHost& host);

// Stops the race's sounds and frees every race sprite, the bonus ending before the car goes.
void RaceTeardown(TRaceHost& host);
// Tear-down, then the name entry or the main menu.
void EndRun(TRaceHost& host);

}  // namespace trakvolt
