// UTF-8 <-> Windows-1251 conversion for literals, typed text and server answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt {

// The cp1251 byte of a Unicode character, or -1 when cp1251 has none.
int UnicodeToCp1251(char32_t c);
// The Unicode character of a cp1251 byte (U+FFFD for the unused byte 0x98).
char32_t Cp1251ToUnicode(unsigned char b);
// Code points of a UTF-8 text; malformed sequences become U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view utf8);
// Characters without a cp1251 byte become `replacement`.
std::string Utf8ToCp1251(std::string_view utf8, char replacement = '?');
std::string Cp1251ToUtf8(std::string_view cp1251);

// A lower-case Cyrillic letter ("а".."я") as its capital; any other byte unchanged.
unsigned char CyrillicCapital(unsigned char ch);
// What a player can type into a name or a country, as it is stored: Latin letters in upper
// case, the Cyrillic capitals "А".."Я" and the space; nothing for anything else (digits,
// punctuation, "Ё", lower-case Cyrillic, which the key handler capitalises first).
std::optional<unsigned char> FieldCharacter(unsigned char ch);

}  // namespace trakvolt
