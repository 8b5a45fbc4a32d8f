// Bitmap-font text: glyph lookup, advance widths and the pen arithmetic of DrawText.
#include "screens/bitmap_text.h"

#include <cmath>

#include "base/game_error.h"
#include "sprites/sprite.h"

namespace trakvolt {
namespace {

// The x of each glyph's last pixel column in the font strips, cells of 24 and 40 pixels.
constexpr BitmapText::WidthTable kLastColumn24 = {
    10,   36,   58,   85,   108,  133,  157,  180,  205,  228,  252,  271,  294,  326,  350,  374,
    397,  421,  448,  471,  495,  519,  542,  565,  592,  614,  631,  660,  688,  709,  738,  758,
    784,  806,  833,  855,  878,  902,  927,  952,  981,  999,  1024, 1046, 1071, 1094, 1118, 1140,
    1168, 1189, 1219, 1236, 1261, 1286, 1308, 1334, 1360, 1381, 1407, 1429, 1453, 1478, 1501, 1526,
    1553, 1574, 1597, 1621, 1651, 1676, 1694, 1723, 1746, 1767, 1796, 1815};
constexpr BitmapText::WidthTable kLastColumn40 = {
    10,   55,   92,   136,  175,  217,  256,  296,  336,  375,  415,  448,  487,  537,  577,  617,
    657,  697,  740,  779,  820,  859,  898,  937,  981,  1019, 1047, 1095, 1140, 1176, 1222, 1258,
    1301, 1338, 1382, 1420, 1457, 1498, 1539, 1581, 1628, 1659, 1700, 1738, 1779, 1818, 1858, 1895,
    1940, 1976, 2024, 2056, 2097, 2137, 2177, 2218, 2260, 2298, 2340, 2378, 2417, 2458, 2497, 2539,
    2582, 2618, 2659, 2697, 2744, 2787, 2819, 2864, 2903, 2939, 2986, 3019};

constexpr const char* kFontNames[] = {"Font_small", "Font_medium_inactive", "Font_medium_Active",
                                      "Font_big"};
constexpr int kBigFont = 4;

// The image name of a font number; another number raises a GameError.
const char* FontName(int font_number) {
  if (font_number < 1 || font_number > 4)
    throw GameError(Format("Font %d does not exist", font_number));
  return kFontNames[font_number - 1];
}

void WidthsFromLastColumns(const BitmapText::WidthTable& last, int cell,
                           BitmapText::WidthTable& widths) {
  for (int i = 0; i < BitmapText::kGlyphCount; ++i) widths[i] = last[i] - cell * i + 1;
}

// The byte whose glyph stands for `c`: lower case is drawn with its capital, "Ё"/"ё" with "Е".
unsigned char ShownAs(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0) return static_cast<unsigned char>(c - 32);  // "а".."я"
  if (c == 0xA8 || c == 0xB8) return 0xC5;
  return c;
}

// The frame of a byte in the set, or -1 for one without a glyph.
int GlyphFrame(unsigned char c) {
  if (c >= '/' && c <= 'Z') return c - 47;
  if (c >= 0xC0 && c <= 0xDF) return c - 148;
  return -1;
}

}  // namespace

void BitmapText::InitGlyphWidths() {
  WidthsFromLastColumns(kLastColumn24, 24, glyph_width_24_);
  WidthsFromLastColumns(kLastColumn40, 40, glyph_width_40_);
}

void BitmapText::SelectFont(int font_number) {
  current_font_name_ = FontName(font_number);
  current_font_number_ = font_number;
}

template <typename Draw>
double BitmapText::Pen(const TImage& font, bool big, std::string_view text, int x,
                       Draw&& draw) const {
  // The big font's glyphs overlap by a twentieth of the frame; a space is a fifth of it.
  const double correction = big ? -(font.FrameWidth() / 20.0) : 0.0;
  const double space = font.FrameWidth() / 5.0;
  double pen = x;
  for (const char ch : text) {
    const unsigned char c = ShownAs(static_cast<unsigned char>(ch));
    const int frame = GlyphFrame(c);
    if (frame < 0) {
      pen = std::trunc(pen + space);
      continue;
    }
    draw(pen, frame);
    // Digits and Latin letters always advance by the big layout.
    const WidthTable& widths = (c < 128 || big) ? glyph_width_40_ : glyph_width_24_;
    pen = std::trunc(pen + widths[frame] + correction);
  }
  return pen;
}

void BitmapText::DrawText(const TImageSource& images, const SurfaceView& dst, std::string_view text,
                          int x, int y) {
  const TImage& font = images.Find(current_font_name_);
  if (text.empty()) return;
  const double pen =
      Pen(font, current_font_number_ == kBigFont, text, x, [&](double at, int frame) {
        if (frame < font.FrameCount()) font.Draw(dst, TruncToInt(at), y, frame);
      });
  last_text_end_x_ = TruncToInt(pen);
}

int BitmapText::TextEndX(const TImageSource& images, int font_number, std::string_view text,
                         int x) const {
  const TImage& font = images.Find(FontName(font_number));
  return TruncToInt(Pen(font, font_number == kBigFont, text, x, [](double, int) {}));
}

}  // namespace trakvolt
