// The window losing and regaining the foreground: silence, and a running race paused.
#include "race/race_run.h"
#include "shell/form.h"

namespace trakvolt {

void TMForm::FormDeactivate() {
  // The frame timer has stopped; without this the music and the engine loop would go on over
  // a frozen picture.
  MSound.SetSuspended(true);
  if (GameState == state::Race && RaceState.RaceActive) PauseForFocusLoss(RaceHost);
}

void TMForm::FormActivate() { MSound.SetSuspended(false); }

}  // namespace trakvolt
