// The options screen over the main menu: screen mode, music, sound and the player's country.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

void OpenOptions(TScreenHost& host);
void CloseOptions(TScreenHost& host);
void OptionsFrame(TScreenHost& host, int lag_count);
// The labels, the values (the chosen one lit) and the country, drawn every frame.
void DrawOptionsText(TScreenHost& host);

// Each flips its setting at once and clicks.
void ToggleFullScreen(TScreenHost& host);
void ToggleMusic(TScreenHost& host);
void ToggleSound(TScreenHost& host);

void StartCountryEditing(TScreenHost& host);
void StopCountryEditing(TScreenHost& host);
// Puts the cursor after the country as drawn last, while it fits in the field.
void PlaceCountryCursor(TScreenHost& host);
// A key typed into the country field: Backspace deletes, an admitted character is appended
// while the country so far ends left of the room the cursor needs at the field's end.
void TypeIntoCountry(TScreenHost& host, unsigned char ch);

}  // namespace trakvolt
