// The typing rule of the game's input fields (the country, the player's name).
#pragma once

#include <optional>
#include <string>

namespace trakvolt {

// A lower-case Cyrillic letter ("а".."я", cp1251) as its capital; any other byte unchanged.
unsigned char CyrillicCapital(unsigned char ch);
// The character a field stores for a typed one: Latin letters in upper case, Cyrillic capitals
// "А".."Я" and the space; nothing for anything else (digits, punctuation, "Ё", lower-case
// Cyrillic, which the key handler capitalises first).
std::optional<unsigned char> FieldCharacter(unsigned char ch);
// The text without its last character; an empty text stays empty.
std::string DeleteLastChar(const std::string& text);

}  // namespace trakvolt
