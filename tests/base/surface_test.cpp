// Fill and blits on RGB565 surfaces: clipping and the colour key.
#include "base/surface.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace trakvolt;

TEST(Surface, FillIsClippedToTheViewClip) {
  Surface s(4, 3, 7);
  SurfaceView v = s.View();
  v.clip = Rect{1, 1, 3, 3};
  Fill(v, Rect{-5, -5, 10, 10}, 9);
  EXPECT_EQ(s.At(0, 0), 7);
  EXPECT_EQ(s.At(1, 1), 9);
  EXPECT_EQ(s.At(2, 2), 9);
  EXPECT_EQ(s.At(3, 2), 7);
}

struct BlitCase {
  int x, y;
  Rect src;
  std::vector<int> expected;  // 4 x 3 target, row by row
};

class BlitClip : public testing::TestWithParam<BlitCase> {};

TEST_P(BlitClip, CopiesOnlyTheVisiblePart) {
  const BlitCase& c = GetParam();
  Surface src(3, 2);
  for (int i = 0; i < 6; ++i) src.Pixels()[i] = static_cast<Pixel565>(i + 1);
  Surface dst(4, 3, 0);
  Blit(dst.View(), c.x, c.y, src.ConstView(), c.src);
  std::vector<int> got(dst.Pixels(), dst.Pixels() + 12);
  EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitClip,
    testing::Values(BlitCase{0, 0, Rect{0, 0, 3, 2}, {1, 2, 3, 0, 4, 5, 6, 0, 0, 0, 0, 0}},
                    BlitCase{-1, -1, Rect{0, 0, 3, 2}, {5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                    BlitCase{2, 2, Rect{0, 0, 3, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2}},
                    BlitCase{1, 0, Rect{1, 0, 3, 1}, {0, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                    BlitCase{4, 0, Rect{0, 0, 3, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                    // A source rectangle reaching past the picture is cut to it.
                    BlitCase{0, 0, Rect{2, 1, 9, 9}, {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));

TEST(Surface, KeyedBlitSkipsTheKeyColourOnly) {
  Surface src(3, 1);
  src.At(0, 0) = 5;
  src.At(1, 0) = 0xF81F;
  src.At(2, 0) = 6;
  Surface dst(3, 1, 1);
  BlitKeyed(dst.View(), 0, 0, src.ConstView(), Rect{0, 0, 3, 1}, 0xF81F);
  EXPECT_EQ(dst.At(0, 0), 5);
  EXPECT_EQ(dst.At(1, 0), 1);
  EXPECT_EQ(dst.At(2, 0), 6);
}

TEST(Surface, ColourRefConvertsRedInTheLowByte) {
  EXPECT_EQ(ColorRefTo565(0x0000FF), 0xF800);  // red
  EXPECT_EQ(ColorRefTo565(0xFF0000), 0x001F);  // blue
  EXPECT_EQ(ColorRefTo565(0xFF00FF), 0xF81F);  // magenta
}

// Colours whose two bytes are equal and colours whose bytes differ, over whole rows and over a
// part of them, in a view whose rows lie end to end and in one whose pitch is wider.
TEST(Surface, FillWritesEveryPixelOfTheAreaAndNothingElse) {
  for (const int width : {8, 6})
    for (const Pixel565 color : {Pixel565{0}, Pixel565{0x4242}, Pixel565{0x1234}, Pixel565{0xFFFF}})
      for (const Rect area : {Rect{0, 0, 8, 4}, Rect{1, 1, 4, 3}, Rect{-2, 2, 9, 9}}) {
        Surface s(8, 4, 7);
        SurfaceView v = s.View();
        v.width = width;  // rows of `width` pixels, 8 apart
        v.clip = Rect{0, 0, width, 4};
        Fill(v, area, color);
        for (int y = 0; y < 4; ++y)
          for (int x = 0; x < 8; ++x) {
            const bool inside =
                x < width && x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            ASSERT_EQ(s.At(x, y), inside ? color : 7) << color << " at " << x << "," << y;
          }
      }
}

// A surface larger than the piece a fill copies at a time, with a size no piece divides.
TEST(Surface, FillOfALargeSurfaceReachesEveryPixel) {
  Surface s(301, 100, 7);
  Fill(s.View(), 0x1234);
  EXPECT_TRUE(
      std::all_of(s.Pixels(), s.Pixels() + 301 * 100, [](Pixel565 p) { return p == 0x1234; }));
  Fill(s.View(), Rect{0, 99, 301, 100}, 0x00FF);  // the last row alone
  EXPECT_EQ(s.At(300, 99), 0x00FF);
  EXPECT_EQ(s.At(300, 98), 0x1234);
}
