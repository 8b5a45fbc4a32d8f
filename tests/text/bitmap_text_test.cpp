// Bitmap-font text: advance widths, pen positions, glyph choice and bytes outside the set.
#include "screens/bitmap_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/cp1251.h"
#include "sprites/test_pictures.h"

using namespace trakvolt;

namespace {

// A font image that remembers where each glyph was drawn.
class RecordingFont : public TImage {
 public:
  RecordingFont(int frame_width, int frames = BitmapText::kGlyphCount)
      : width_(frame_width), frames_(frames) {}
  int FrameWidth() const override { return width_; }
  int FrameHeight() const override { return 30; }
  int FrameCount() const override { return frames_; }
  void Draw(const SurfaceView& dst, int x, int y, int frame) const override {
    drawn.push_back({x, y, frame});
    target = dst.pixels;
  }

  struct Glyph {
    int x, y, frame;
    bool operator==(const Glyph&) const = default;
  };
  mutable std::vector<Glyph> drawn;
  mutable const Pixel565* target = nullptr;

 private:
  int width_, frames_;
};

class BitmapTextTest : public ::testing::Test {
 protected:
  BitmapTextTest() {
    shelf.Put("Font_small", small);
    shelf.Put("Font_medium_inactive", medium_inactive);
    shelf.Put("Font_medium_Active", medium_active);
    shelf.Put("Font_big", big);
  }
  // Draws `utf8` in `font` from x and returns LastTextEndX.
  int EndOf(int font, const char* utf8, int x) {
    text.SelectFont(font);
    text.DrawText(shelf, screen.View(), Utf8ToCp1251(utf8), x, 100);
    return text.LastTextEndX();
  }

  RecordingFont small{24}, medium_inactive{24}, medium_active{24}, big{40};
  trakvolt::testing::PictureShelf shelf;
  Surface screen{800, 600};
  BitmapText text;
};

}  // namespace

TEST_F(BitmapTextTest, WidthsComeFromTheLastColumns) {
  EXPECT_EQ(text.GlyphWidth24()[0], 11);   // "/"
  EXPECT_EQ(text.GlyphWidth40()[40], 29);  // "W"
  EXPECT_EQ(text.GlyphWidth24()[75], 16);  // "Я"
  EXPECT_EQ(text.GlyphWidth40()[69], 28);  // "Щ"
}

struct PenCase {
  int font;
  const char* text;
  int x;
  int end;
};

class PenPosition : public BitmapTextTest, public ::testing::WithParamInterface<PenCase> {};

TEST_P(PenPosition, EndsWhereTheWidthsSay) {
  const PenCase& c = GetParam();
  // Measuring without drawing gives the same end and leaves the drawer as it was.
  text.SelectFont(c.font == 1 ? 2 : 1);
  EXPECT_EQ(text.TextEndX(shelf, c.font, Utf8ToCp1251(c.text), c.x), c.end);
  EXPECT_EQ(text.CurrentFontNumber(), c.font == 1 ? 2 : 1);
  EXPECT_EQ(text.LastTextEndX(), 0);
  EXPECT_TRUE(big.drawn.empty() && small.drawn.empty());
  EXPECT_EQ(EndOf(c.font, c.text, c.x), c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PenPosition,
    ::testing::Values(PenCase{4, "ЭКРАН:", 35, 127},  // each letter: its 40 width minus 2
                      PenCase{3, "10", 60, 89},       // digits use the 40 widths in every font
                      PenCase{1, "10", 0, 29}, PenCase{4, "10", 0, 25},
                      PenCase{3, "ВКЛ", 265, 308},  // Cyrillic in fonts 1-3: the 24 widths
                      PenCase{4, "ВКЛ", 265, 265 + 17 + 16 + 17},
                      PenCase{2, "A B", 0, 21 + 4 + 20},  // a space is a fifth of the frame
                      PenCase{4, "A B", 0, 19 + 8 + 18},
                      PenCase{3, "7  ", 10, 10 + 17 + 4 + 4}));  // trailing spaces count

TEST_F(BitmapTextTest, DrawsEachGlyphFrameAtThePenOnTheGivenSurface) {
  EndOf(4, "Я/ 9", 5);
  const std::vector<RecordingFont::Glyph> expected = {
      {5, 100, 75}, {5 + 18, 100, 0}, {5 + 18 + 9 + 8, 100, 10}};
  EXPECT_EQ(big.drawn, expected);
  EXPECT_EQ(big.target, screen.Pixels());
}

TEST_F(BitmapTextTest, EmptyTextDrawsNothingAndKeepsTheLastEnd) {
  EndOf(3, "AB", 0);
  EXPECT_EQ(EndOf(3, "", 500), 41);
  EXPECT_EQ(EndOf(4, "", 500), 41);
  EXPECT_EQ(medium_active.drawn.size(), 2u);
  EXPECT_TRUE(big.drawn.empty());
}

TEST_F(BitmapTextTest, BytesOutsideTheSetUseCapitalsOrAdvanceLikeASpace) {
  // Lower case and "ё" are drawn as their capitals with the capitals' widths.
  EXPECT_EQ(EndOf(3, "kжё", 0), EndOf(3, "KЖЕ", 0));
  std::vector<int> frames;
  for (const auto& g : medium_active.drawn) frames.push_back(g.frame);
  EXPECT_EQ(frames, (std::vector<int>{28, 50, 49, 28, 50, 49}));
  // Punctuation outside the set, control bytes and 0x80-0xBF draw nothing.
  medium_active.drawn.clear();
  EXPECT_EQ(EndOf(3, "!\t[~\x7f№€ ", 0), 8 * 4);
  EXPECT_TRUE(medium_active.drawn.empty());
}

TEST_F(BitmapTextTest, GlyphsTheFontLacksAdvanceWithoutDrawing) {
  RecordingFont short_font{40, 20};  // up to "B"
  shelf.Put("Font_big", short_font);
  EXPECT_EQ(EndOf(4, "BC", 0), 18 + 19);
  ASSERT_EQ(short_font.drawn.size(), 1u);
  EXPECT_EQ(short_font.drawn[0].frame, 19);
}

TEST_F(BitmapTextTest, FontsAndTheirErrors) {
  text.SelectFont(2);
  EXPECT_EQ(text.CurrentFontName(), "Font_medium_inactive");
  EXPECT_THROW(text.SelectFont(5), GameError);
  EXPECT_EQ(text.CurrentFontNumber(), 2);
  trakvolt::testing::PictureShelf empty;
  try {
    text.DrawText(empty, screen.View(), "A", 0, 0);
    FAIL() << "a missing font must fail";
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Image 'Font_medium_inactive' not found");
  }
}
