// The race HUD: the speedometer needle, the level, score, lives and clock, and the bonus icons.
#pragma once

#include <cstdint>

#include "race/race_host.h"

namespace trakvolt {

// Pixels the HUD moves a number left: 10 for each of the limits 99, 999 and 9999 it passes.
int HudShift(std::int32_t value);

// Steps the needle's tremble and draws the needle turned by the road speed.
void DrawNeedle(TRaceHost& host);
// Level, score, lives and the clock as mm:ss, in the small font.
void DrawHudNumbers(TRaceHost& host);
// The gun, turbo, no-bonus and drift icons and the seconds of the bonus or the drift. Ends the
// drift once its stun has run out.
void DrawBonusHud(TRaceHost& host);
// All three, as every race picture shows them.
void DrawHud(TRaceHost& host);

}  // namespace trakvolt
