// The 76 glyphs of the game's bitmap fonts, in frame order, and their advance widths.
#pragma once

#include "screens/bitmap_text.h"

namespace trakvolt::art {

inline constexpr int kGlyphCount = BitmapText::kGlyphCount;

// Frames 0..43 are the ASCII run "/" .. "Z"; frames 44..75 are the Cyrillic capitals А..Я (no Ё).
constexpr char32_t GlyphCodepoint(int frame) {
  return frame < 44 ? static_cast<char32_t>(0x2F + frame)
                    : static_cast<char32_t>(0x0410 + frame - 44);
}

// The advance the text drawer uses for `frame`: everything below the Cyrillic run takes the
// 40-pixel table in every font; Cyrillic letters take the font's own table. The widths are the
// game's own, so the fonts are drawn to exactly what DrawText will step by.
inline int GlyphAdvance(int frame, int cyrillic_table) {
  static const BitmapText text;  // read-only tables, built once
  if (frame < 44 || cyrillic_table == 40) return text.GlyphWidth40()[frame];
  return text.GlyphWidth24()[frame];
}

}  // namespace trakvolt::art
