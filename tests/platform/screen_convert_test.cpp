// RGB565 pictures written into 32-bit window pixels, 1:1 and letterboxed.
#include "platform/screen_convert.h"

#include <gtest/gtest.h>

#include <vector>

namespace trakvolt::platform {
namespace {

TEST(ScreenConvert, LayoutsOfByteChannelsAreReadFromTheirMasks) {
  struct Case {
    std::uint32_t r, g, b;
    std::optional<PixelLayout32> layout;
  };
  const Case cases[] = {
      {0xFF0000, 0xFF00, 0xFF, PixelLayout32{16, 8, 0, 0xFF000000u}},    // XRGB / ARGB
      {0xFF, 0xFF00, 0xFF0000, PixelLayout32{0, 8, 16, 0xFF000000u}},    // XBGR / ABGR
      {0xFF000000u, 0xFF0000, 0xFF00, PixelLayout32{24, 16, 8, 0xFFu}},  // RGBA
      {0x3FF00000, 0xFFC00, 0x3FF, std::nullopt},                        // ten bits each
      {0xFF0000, 0xFF0000, 0xFF, std::nullopt},                          // one byte twice
      {0, 0xFF00, 0xFF, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto got = LayoutFromMasks(c.r, c.g, c.b);
    ASSERT_EQ(got.has_value(), c.layout.has_value()) << std::hex << c.r;
    if (!got) continue;
    EXPECT_EQ(got->red_shift, c.layout->red_shift);
    EXPECT_EQ(got->green_shift, c.layout->green_shift);
    EXPECT_EQ(got->blue_shift, c.layout->blue_shift);
    EXPECT_EQ(got->fill, c.layout->fill);
  }
  // A layout read from masks writes the channels where the masks say.
  const auto abgr = LayoutFromMasks(0xFF, 0xFF00, 0xFF0000);
  EXPECT_EQ(To32(Rgb565(0xFF, 0, 0), *abgr), 0xFF0000FFu);
  EXPECT_EQ(To32(Rgb565(0, 0xFF, 0), *abgr), 0xFF00FE00u);
  EXPECT_EQ(To32(Rgb565(0, 0, 0x20), *abgr), 0xFF200000u);
}

// A small picture with a distinct value in every pixel, drawn into a padded window.
struct Fixture {
  Surface picture{4, 3};
  std::vector<std::uint32_t> window;
  WindowPixels Window(int w, int h, int pitch) {
    window.assign(static_cast<std::size_t>(pitch * h), 0x12345678u);
    return WindowPixels{window.data(), pitch, w, h};
  }
  Fixture() {
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        picture.At(x, y) = static_cast<Pixel565>(0x0841 * (y * 4 + x + 1));
  }
  std::uint32_t Picture32(int x, int y) const { return To32(picture.At(x, y), PixelLayout32{}); }
};

TEST(ScreenConvert, SameSizeCopiesRowByRowAndLeavesThePaddingAlone) {
  Fixture f;
  const WindowPixels w = f.Window(4, 3, 6);
  PresentInto(f.picture.ConstView(), w, PixelLayout32{});
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(f.window[static_cast<std::size_t>(y * 6 + x)], f.Picture32(x, y));
    EXPECT_EQ(f.window[static_cast<std::size_t>(y * 6 + 4)], 0x12345678u);
  }
}

TEST(ScreenConvert, ALargerWindowGetsTheScaledPictureBetweenBlackBars) {
  Fixture f;
  // 8 x 8 holds the 4 x 3 picture twice as large, rows 1..6, with a black row above and below.
  const WindowPixels w = f.Window(8, 8, 9);
  PresentInto(f.picture.ConstView(), w, PixelLayout32{});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const std::uint32_t got = f.window[static_cast<std::size_t>(y * 9 + x)];
      if (y == 0 || y == 7)
        EXPECT_EQ(got, 0xFF000000u) << x << "," << y;
      else
        EXPECT_EQ(got, f.Picture32(x / 2, (y - 1) / 2)) << x << "," << y;
    }
  // Bars at the sides: 10 x 3 puts the picture at columns 3..6.
  const WindowPixels wide = f.Window(10, 3, 10);
  PresentInto(f.picture.ConstView(), wide, PixelLayout32{});
  for (int x = 0; x < 10; ++x) {
    const std::uint32_t got = f.window[static_cast<std::size_t>(10 + x)];
    EXPECT_EQ(got, x < 3 || x > 6 ? 0xFF000000u : f.Picture32(x - 3, 1)) << x;
  }
}

}  // namespace
}  // namespace trakvolt::platform
