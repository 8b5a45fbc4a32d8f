// Image items: the pattern grid, plain and keyed drawing, rotated drawing, and the name index.
#include <gtest/gtest.h>

#include "archive/image_list.h"
#include "base/cp1251.h"

using namespace trakvolt;

namespace {

// A picture whose RGB565 values are exactly `values` (row by row).
RgbImage PictureOf(int w, int h, const std::vector<Pixel565>& values) {
  RgbImage img = MakeRgbImage(w, h);
  for (int i = 0; i < w * h; ++i) {
    const unsigned v = values[static_cast<std::size_t>(i)];
    std::uint8_t* p = img.At(i % w, i / w);
    p[0] = Expand5(v >> 11);
    p[1] = Expand6((v >> 5) & 0x3F);
    p[2] = Expand5(v & 0x1F);
  }
  return img;
}

// Rows of a surface as numbers, for comparing with hand-drawn expectations.
std::vector<std::vector<int>> Rows(const Surface& s) {
  std::vector<std::vector<int>> out(static_cast<std::size_t>(s.Height()));
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) out[static_cast<std::size_t>(y)].push_back(s.At(x, y));
  return out;
}

struct PatternCase {
  int w, h, pw, ph, sw, sh;
  int count;
  Rect last;  // rectangle of the last pattern
};

class Patterns : public testing::TestWithParam<PatternCase> {};

}  // namespace

TEST_P(Patterns, CountAndRectangles) {
  const PatternCase& p = GetParam();
  TImageCollection c;
  TImageCollectionItem& item = c.Add();
  item.SetPatternWidth(p.pw);
  item.SetPatternHeight(p.ph);
  item.SetSkipWidth(p.sw);
  item.SetSkipHeight(p.sh);
  EXPECT_EQ(item.CountPatterns(), 0);  // no picture yet
  item.SetPicture(MakeRgbImage(p.w, p.h));
  EXPECT_EQ(item.CountPatterns(), p.count);
  EXPECT_EQ(item.FrameCount(), p.count);
  EXPECT_EQ(item.PatternRect(p.count - 1), p.last);
  EXPECT_TRUE(item.PatternRect(p.count).Empty());
  EXPECT_TRUE(item.PatternRect(-1).Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Grid, Patterns,
    testing::Values(PatternCase{100, 40, 30, 40, 5, 0, 3, Rect{70, 0, 100, 40}},
                    PatternCase{100, 40, 32, 40, 0, 0, 3, Rect{64, 0, 96, 40}},
                    PatternCase{100, 40, 0, 0, 0, 0, 1, Rect{0, 0, 100, 40}},
                    PatternCase{100, 40, 100, -5, 7, 7, 1, Rect{0, 0, 100, 40}},  // whole picture
                    PatternCase{10, 10, 3, 4, 1, 1, 4, Rect{4, 5, 7, 9}},  // 2 x 2, row by row
                    PatternCase{10, 10, 0, 5, 0, 0, 2,
                                Rect{0, 5, 10, 10}},                // width from the picture
                    PatternCase{10, 10, 4, 4, -4, 0, 0, Rect{}},    // skip swallows the cell
                    PatternCase{10, 10, 11, 5, 0, 0, 0, Rect{}}));  // wider than the picture

TEST(ImageDraw, PlainKeyedClippedAndOutOfRange) {
  TImageCollection c;
  c.Initialize();
  TImageCollectionItem& item = c.Add();
  item.SetPatternWidth(2);
  item.SetPicture(PictureOf(4, 1, {5, 0, 7, 9}));  // two patterns: [5 0] [7 9]
  Surface s(3, 1, 1);
  item.Draw(s.View(), 0, 0, 0);  // transparent by default, key 0
  EXPECT_EQ(Rows(s), (std::vector<std::vector<int>>{{5, 1, 1}}));
  item.SetTransparent(false);
  item.Draw(s.View(), 0, 0, 0);
  EXPECT_EQ(Rows(s), (std::vector<std::vector<int>>{{5, 0, 1}}));
  item.SetTransparent(true);
  item.SetTransparentColor(0x000000FF);  // red in the low byte: re-keys to RGB565 red
  EXPECT_EQ(item.KeyColor(), 0xF800);
  item.Draw(s.View(), 2, 0, 1);  // clipped at the right edge
  EXPECT_EQ(Rows(s), (std::vector<std::vector<int>>{{5, 0, 7}}));
  item.Draw(s.View(), 0, 0, 2);
  item.Draw(s.View(), 0, 0, -1);
  EXPECT_EQ(Rows(s), (std::vector<std::vector<int>>{{5, 0, 7}}));
  c.Finalize();
  item.Draw(s.View(), 0, 0, 1);
  EXPECT_EQ(s.At(0, 0), 5);
}

namespace {

struct RotatedCase {
  const char* what;
  int x, y, w, h;
  double cx, cy;
  int angle;
  std::vector<std::vector<int>> expected;  // 6 x 6 target, background 0
};

class Rotated : public testing::TestWithParam<RotatedCase> {};

void PrintTo(const RotatedCase& c, std::ostream* os) { *os << c.what; }

}  // namespace

// The pattern is 2 x 3:  1 2 / 3 4 / 5 6.
TEST_P(Rotated, MatchesHandComputedPixels) {
  const RotatedCase& r = GetParam();
  TImageCollection c;
  c.Initialize();
  TImageCollectionItem& item = c.Add();
  item.SetPicture(PictureOf(2, 3, {1, 2, 3, 4, 5, 6}));
  Surface s(6, 6);
  item.DrawRotated(s.View(), r.x, r.y, r.w, r.h, 0, r.cx, r.cy, r.angle);
  EXPECT_EQ(Rows(s), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, Rotated,
    testing::Values(RotatedCase{"angle_0",
                                1,
                                2,
                                2,
                                3,
                                0.0,
                                0.0,
                                0,
                                {{0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 1, 2, 0, 0, 0},
                                 {0, 3, 4, 0, 0, 0},
                                 {0, 5, 6, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0}}},
                    // A quarter turn clockwise about the top-left corner: the top row becomes the
                    // column left of x, reading downwards.
                    RotatedCase{"angle_64",
                                4,
                                1,
                                2,
                                3,
                                0.0,
                                0.0,
                                64,
                                {{0, 0, 0, 0, 0, 0},
                                 {0, 5, 3, 1, 0, 0},
                                 {0, 6, 4, 2, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0}}},
                    // Half a turn about the centre (1, 1.5) placed on (4, 4); the corners round 2.5
                    // and 5.5 to even, the empty top row of the box samples outside the picture.
                    RotatedCase{"angle_128_about_centre",
                                4,
                                4,
                                2,
                                3,
                                0.5,
                                0.5,
                                128,
                                {{0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 6, 5, 0},
                                 {0, 0, 0, 4, 3, 0},
                                 {0, 0, 0, 2, 1, 0}}},
                    // A quarter turn back (angle -64 is 192): the top row becomes the column right
                    // of x, reading upwards.
                    RotatedCase{"angle_minus_64",
                                1,
                                4,
                                2,
                                3,
                                0.0,
                                0.0,
                                -64,
                                {{0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 2, 4, 6, 0, 0},
                                 {0, 1, 3, 5, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0}}},
                    RotatedCase{"scaled_twice",
                                0,
                                0,
                                4,
                                6,
                                0.0,
                                0.0,
                                256,
                                {{1, 1, 2, 2, 0, 0},
                                 {1, 1, 2, 2, 0, 0},
                                 {3, 3, 4, 4, 0, 0},
                                 {3, 3, 4, 4, 0, 0},
                                 {5, 5, 6, 6, 0, 0},
                                 {5, 5, 6, 6, 0, 0}}},
                    RotatedCase{"zero_width",
                                1,
                                1,
                                0,
                                3,
                                0.0,
                                0.0,
                                0,
                                {{0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0},
                                 {0, 0, 0, 0, 0, 0}}}),
    [](const auto& p) { return std::string(p.param.what); });

TEST(ImageDraw, RotatedSkipsTheKeyAndClips) {
  TImageCollection c;
  c.Initialize();
  TImageCollectionItem& item = c.Add();
  item.SetPicture(PictureOf(2, 3, {1, 2, 3, 4, 5, 6}));
  item.SetTransparentColor(0x00000000);
  const RgbImage keyed = PictureOf(1, 1, {4});
  item.SetTransparentColor(static_cast<std::uint32_t>(keyed.At(0, 0)[0] | (keyed.At(0, 0)[1] << 8) |
                                                      (keyed.At(0, 0)[2] << 16)));
  Surface s(3, 2, 9);
  SurfaceView v = s.View();
  v.clip = Rect{0, 0, 3, 2};
  item.DrawRotated(v, 0, 0, 2, 3, 0, 0.0, 0.0, 0);
  EXPECT_EQ(Rows(s), (std::vector<std::vector<int>>{{1, 2, 9}, {3, 9, 9}}));
}

TEST(NameIndex, BucketHashAndCaseInsensitiveLookup) {
  EXPECT_EQ(NameBucket(""), 0);
  EXPECT_EQ(NameBucket("a"), 16);
  EXPECT_EQ(NameBucket("Car5"), (64 + 'r' + 'c') % 256);
  EXPECT_EQ(NameBucket("CAR5"), NameBucket("car5"));
  const std::string upper = Utf8ToCp1251("ЁЖ"), lower = Utf8ToCp1251("ёж");
  EXPECT_EQ(LowerCp1251(upper), lower);
  EXPECT_EQ(NameBucket(upper), (32 + 0xB8 + 0xB8) % 256);  // "ё" twice: first and next-to-last

  TImageCollection c;
  c.Add().SetName("Car5");
  c.Add().SetName("Car6");  // same bucket: same length, first and next-to-last characters
  c.Add().SetName(lower);
  ASSERT_EQ(NameBucket("Car5"), NameBucket("Car6"));
  EXPECT_EQ(c.FindByName("car5").Index(), 0);
  EXPECT_EQ(c.FindByName("CAR6").Index(), 1);
  EXPECT_EQ(c.FindByName(upper).Index(), 2);
  c.Add().SetName("car5");
  EXPECT_EQ(c.FindByName("Car5").Index(), 3);  // the name set last wins
  EXPECT_EQ(c.Find("Car7"), nullptr);
}
