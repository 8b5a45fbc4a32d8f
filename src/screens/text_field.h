// The typing rule of the game's input fields (the country, the player's name).
#pragma once

#include <optional>
#include <string>

#include "base/cp1251.h"  // CyrillicCapital, FieldCharacter
#include "screens/screen_host.h"

namespace trakvolt {

// The text without its last character; an empty text stays empty.
std::string DeleteLastChar(const std::string& text);

// The cursor's half second shown and half second hidden.
inline constexpr int kBlinkMs = 500;
// One blink step of the field's cursor, once a frame.
void BlinkCursor(TScreenHost& host);
// Appends the stored form of `ch` to a field drawn from x in `font` while the text before it
// ends left of `field_end` minus the cursor's width. Each character is measured on the text as
// it stands, so keys arriving faster than the frames take no more than one key a frame; the
// last letter may reach past the limit.
void TypeIntoField(TScreenHost& host, std::string& text, unsigned char ch, int font, int x,
                   int field_end);

}  // namespace trakvolt
