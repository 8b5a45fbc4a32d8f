// The 76 glyphs of the game's bitmap fonts, in frame order, and their advance widths.
#pragma once

#include <array>

namespace trakvolt::art {

inline constexpr int kGlyphCount = 76;

// Frames 0..43 are the ASCII run "/" .. "Z"; frames 44..75 are the Cyrillic capitals А..Я (no Ё).
constexpr char32_t GlyphCodepoint(int frame) {
  return frame < 44 ? static_cast<char32_t>(0x2F + frame) : static_cast<char32_t>(0x0410 + frame - 44);
}

// Advance widths laid out for 24-pixel frames.
inline constexpr std::array<int, kGlyphCount> kGlyphWidth24{
    11, 13, 11, 14, 13, 14, 14, 13, 14, 13, 13,                      // / 0..9
    8,  7,  15, 15, 15, 14, 14,                                      // : ; < = > ? @
    17, 16, 16, 16, 15, 14, 17, 15, 8,  13, 17, 14, 19,              // A..M
    15, 17, 15, 18, 16, 15, 15, 16, 17, 22, 16, 17, 15,              // N..Z
    16, 15, 15, 13, 17, 14, 20, 13, 14, 15, 13, 15, 17, 14, 16, 14,  // А..П
    14, 15, 14, 15, 18, 15, 14, 14, 20, 21, 15, 20, 19, 16, 21, 16,  // Р..Я
};

// Advance widths laid out for 40-pixel frames.
inline constexpr std::array<int, kGlyphCount> kGlyphWidth40{
    11, 16, 13, 17, 16, 18, 17, 17, 17, 16, 16,                      // / 0..9
    9,  8,  18, 18, 18, 18, 18,                                      // : ; < = > ? @
    21, 20, 21, 20, 19, 18, 22, 20, 8,  16, 21, 17, 23,              // A..M
    19, 22, 19, 23, 21, 18, 19, 20, 22, 29, 20, 21, 19,              // N..Z
    20, 19, 19, 16, 21, 17, 25, 17, 18, 18, 18, 19, 21, 19, 21, 19,  // А..П
    18, 19, 18, 20, 23, 19, 20, 18, 25, 28, 20, 25, 24, 20, 27, 20,  // Р..Я
};

// The advance the text drawer uses for `frame`: everything below the Cyrillic run takes the
// 40-pixel table in every font; Cyrillic letters take the font's own table.
constexpr int GlyphAdvance(int frame, int cyrillic_table) {
  if (frame < 44 || cyrillic_table == 40) return kGlyphWidth40[frame];
  return kGlyphWidth24[frame];
}

}  // namespace trakvolt::art
