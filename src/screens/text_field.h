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
// Appends the stored form of `ch` to a field drawn from x in `font` when the text with it
// still ends, with the cursor after it, at `field_end` or before. Measured with the character,
// so keys arriving faster than the frames cannot run the text out of its field.
void TypeIntoField(TScreenHost& host, std::string& text, unsigned char ch, int font, int x,
                   int field_end);

}  // namespace trakvolt
