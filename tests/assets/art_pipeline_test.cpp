// The art builder: colour keying, dithering onto RGB565, font strips and manifest checking.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

#include "art_build.h"
#include "art_manifest.h"
#include "base/png_file.h"
#include "bitmap_font.h"
#include "glyph_set.h"
#include "pixel_reduce.h"

namespace trakvolt::art {
namespace {

RgbaImage Flat(int w, int h, Rgba c) {
  RgbaImage image(w, h);
  for (auto& p : image.pixels) p = c;
  return image;
}

struct KeyCase {
  const char* what;
  Rgba in;
  bool transparent;
  Pixel565 out;
};

TEST(ReduceTo565, CoverageDecidesBetweenColourAndKey) {
  const Pixel565 key = Rgb565(255, 0, 255);
  const KeyCase cases[] = {
      {"less than half covered is key", {10, 200, 30, 127}, true, key},
      {"half covered keeps its own colour", {255, 255, 255, 128}, true, 0xFFFF},
      {"uncovered is key", {0, 0, 0, 0}, true, key},
      {"a picture colour equal to the key moves off it",
       {255, 0, 255, 255},
       true,
       static_cast<Pixel565>(key ^ (1u << 5))},
      {"opaque pictures are composited over black", {255, 255, 255, 0}, false, 0x0000},
      {"opaque pictures may use the key colour", {255, 0, 255, 255}, false, key},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool dither : {false, true}) {
      const Surface out =
          ReduceTo565(Flat(8, 8, c.in), ReduceOptions{c.transparent, 0xFF00FF, dither});
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          ASSERT_EQ(out.At(x, y), c.out) << x << "," << y << " dither " << dither;
    }
  }
}

// Colours already on the RGB565 grid stay exact under the dither; a colour halfway between
// two levels becomes an even mix of both.
TEST(ReduceTo565, DitherKeepsGridColoursAndMixesBetweenLevels) {
  const Rgba on_grid{132, 130, 8, 255};  // red level 16, green level 32, blue level 1
  const Surface exact = ReduceTo565(Flat(8, 8, on_grid), ReduceOptions{});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(exact.At(x, y), (16u << 11) | (32u << 5) | 1u);

  const Surface mixed = ReduceTo565(Flat(8, 8, Rgba{0, 0, 4, 255}), ReduceOptions{});
  int ones = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_LE(mixed.At(x, y), 1);
      ones += mixed.At(x, y);
    }
  EXPECT_EQ(ones, 32);
}

// Each glyph starts at the left of its cell and its ink ends on the last column of its
// advance (clamped to the cell); the text drawer's spacing depends on it.
TEST(RenderFontStrip, InkEndsOnTheAdvanceWidth) {
  for (int cell : {24, 40}) {
    SCOPED_TRACE(cell);
    FontEntry font;
    font.name = "Font";
    font.cell = cell;
    font.height = cell == 40 ? 32 : 26;
    font.size = cell == 40 ? 25 : 20;
    font.baseline = cell == 40 ? 23 : 20;
    font.widths = cell;
    font.outline = cell == 40 ? 2 : 1;
    const Surface strip = ReduceTo565(RenderFontStrip(font), ReduceOptions{});
    ASSERT_EQ(strip.Width(), cell * kGlyphCount);
    const Pixel565 key = Rgb565(255, 0, 255);
    for (int frame = 0; frame < kGlyphCount; ++frame) {
      int first = -1, last = -1;
      for (int x = 0; x < cell; ++x)
        for (int y = 0; y < strip.Height(); ++y)
          if (strip.At(frame * cell + x, y) != key) {
            if (first < 0) first = x;
            last = x;
          }
      EXPECT_EQ(first, 0) << "frame " << frame;
      EXPECT_EQ(last, std::min(GlyphAdvance(frame, cell), cell) - 1) << "frame " << frame;
    }
  }
}

// A scratch folder with a few SVGs for manifest tests.
class ArtFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(TRAKVOLT_BUILD_DIR) / "art_test" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    Svg("b_1.svg", 10, 6, "#ff0000");
    Svg("b_0.svg", 10, 6, "#0000ff");
    Svg("wide.svg", 12, 6, "#00ff00");
  }
  void Svg(const std::string& name, int w, int h, const std::string& colour) {
    std::ofstream(dir_ / name) << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w
                               << "\" height=\"" << h << "\"><rect x=\"0\" y=\"0\" width=\""
                               << w / 2 << "\" height=\"" << h << "\" fill=\"" << colour
                               << "\"/></svg>";
  }
  std::filesystem::path Manifest(const std::string& text) {
    std::ofstream(dir_ / "images.txt") << text;
    return dir_ / "images.txt";
  }
  std::string BuildError(const std::string& text) {
    try {
      BuildList(Manifest(text), dir_ / "out");
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  std::filesystem::path dir_;
};

TEST_F(ArtFolder, GlobbedSourcesBecomeFramesInNameOrder) {
  ASSERT_EQ(
      BuildList(
          Manifest("# frames\nimage Blink b_*.svg\nimage Half b_0.svg pattern=5x6 dither=0\n"),
          dir_ / "out"),
      2);
  const RgbImage blink = ReadPng((dir_ / "out" / "Blink.png").string());
  ASSERT_EQ(blink.width, 20);
  ASSERT_EQ(blink.height, 6);
  EXPECT_EQ(blink.At(0, 0)[2], 255);   // b_0 (blue) is frame 0
  EXPECT_EQ(blink.At(10, 0)[0], 255);  // b_1 (red) is frame 1
  EXPECT_EQ(blink.At(7, 0)[0], 255);   // the uncovered half is the key colour
  EXPECT_EQ(blink.At(7, 0)[2], 255);
  std::ifstream pack(dir_ / "out" / "manifest.txt");
  const std::string text((std::istreambuf_iterator<char>(pack)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("archive images\n"), std::string::npos);
  EXPECT_NE(text.find("image Blink Blink.png pattern=10x6 skip=0x0 transparent=1 key=FF00FF\n"),
            std::string::npos);
  EXPECT_NE(text.find("image Half Half.png pattern=5x6 skip=0x0 transparent=1 key=FF00FF\n"),
            std::string::npos);
}

TEST_F(ArtFolder, FaultsNameTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"image A b_0.svg\nimage B b_0.svg colour=1\n", ":2: unknown image option 'colour=1'"},
      {"image A missing.svg\n", ":1: source 'missing.svg' not found"},
      {"image A none_*.svg\n", ":1: no file matches 'none_*.svg'"},
      {"\nimage A b_0.svg pattern=5by6\n", ":2: pattern must be WxH"},
      {"image A b_0.svg key=FF00\n", ":1: key must be six hex digits"},
      {"sprite A b_0.svg\n", ":1: unknown entry 'sprite'"},
      {"image A b_0.svg,wide.svg\n", ":1: wide.svg is 12x6 but the first frame is 10x6"},
      {"image Car b_0.svg\nimage CAR b_1.svg\n", ":2: name 'CAR' is used twice"},
      {"font F cell=24 height=20 baseline=20\n", ":1: baseline must lie inside the frame height"},
      {"font F cell=24 height=24 size=30 baseline=18\n", ":1: F: glyph"},
  };
  for (const auto& [text, message] : cases) {
    const std::string error = BuildError(text);
    EXPECT_NE(error.find(message), std::string::npos) << "got: " << error;
  }
  // A failed build leaves no finished-looking manifest behind.
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "manifest.txt"));
}

}  // namespace
}  // namespace trakvolt::art
