// Bitmap-font text: the four fonts of the main image list, their advance widths and DrawText.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/image.h"
#include "base/surface.h"

namespace trakvolt {

// The text drawer the main form owns: the current font, the two advance tables and where the
// last text ended. Text is not a sprite: it is drawn onto the back surface every frame, after
// the sprites and before the flip.
//
// A font image holds 76 equally wide frames: "/", the digits, ":" to "@", Latin "A" to "Z"
// and Cyrillic "А" to "Я" (cp1251, without "Ё"). Bytes outside that set never read past the
// tables: lower-case letters are drawn with their capitals, "Ё" and "ё" with "Е", and any other
// byte advances the pen like a space without drawing.
class BitmapText {
 public:
  static constexpr int kGlyphCount = 76;
  using WidthTable = std::array<std::int32_t, kGlyphCount>;

  // The tables are ready at once; InitGlyphWidths builds them again.
  BitmapText() { InitGlyphWidths(); }

  // Turns the stored last-column positions into advance widths.
  void InitGlyphWidths();
  // Fonts 1 "Font_small", 2 "Font_medium_inactive", 3 "Font_medium_Active", 4 "Font_big".
  // Another number raises a GameError and keeps the current font.
  void SelectFont(int font_number);
  // Draws `text` (cp1251) in the current font, looked up in `images`, with the pen starting at
  // x and the glyph tops at y; no clipping beyond the surface's, no wrapping. An empty text
  // draws nothing and keeps LastTextEndX. A font missing from `images` raises its GameError.
  void DrawText(const TImageSource& images, const SurfaceView& dst, std::string_view text, int x,
                int y);
  // Where DrawText would leave the pen after `text` from x in font `font_number` (looked up in
  // `images`), without drawing and without touching LastTextEndX or the current font; an
  // empty text ends at x. Input fields decide each typed character with it.
  int TextEndX(const TImageSource& images, int font_number, std::string_view text, int x) const;

  const std::string& CurrentFontName() const { return current_font_name_; }
  int CurrentFontNumber() const { return current_font_number_; }
  // The pen x after the last character drawn.
  int LastTextEndX() const { return last_text_end_x_; }
  // Advances laid out for 24-pixel frames (Cyrillic in fonts 1 to 3) and 40-pixel frames.
  const WidthTable& GlyphWidth24() const { return glyph_width_24_; }
  const WidthTable& GlyphWidth40() const { return glyph_width_40_; }

 private:
  // Runs the pen over `text` in `font`, calling draw(pen, frame) for each glyph.
  template <typename Draw>
  double Pen(const TImage& font, bool big, std::string_view text, int x, Draw&& draw) const;

  std::string current_font_name_;
  int current_font_number_ = 0;
  int last_text_end_x_ = 0;
  WidthTable glyph_width_24_{};
  WidthTable glyph_width_40_{};
};

}  // namespace trakvolt
