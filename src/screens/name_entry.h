// The name entry after a run that made the high-score table: the player types a name, Enter
// puts the result into the table and asks whether to send it.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

// The end of a run: the name entry when the run's score makes the table, otherwise a fresh
// main menu that opens the high scores.
void ShowRunResult(TScreenHost& host);
void OpenNameEntry(TScreenHost& host);
void NameEntryFrame(TScreenHost& host, int lag_count);
// The cursor just after the drawn name, never left of the field's start nor past its end.
void PlaceNameCursor(TScreenHost& host);
// The result goes into the table (and to disk at once); the screen's sprites go.
void FinishNameEntry(TScreenHost& host);
// The window is closing: during the name entry the result goes into the table (and to disk)
// with the name as typed so far; elsewhere nothing happens.
void KeepResultOnClose(TScreenHost& host);
// A typed key: Enter finishes, Backspace deletes, letters and the space are appended.
void NameEntryKey(TScreenHost& host, unsigned char key);

}  // namespace trakvolt
