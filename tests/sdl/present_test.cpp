// The SDL window shows the same picture on both present paths: every colour converts as SDL
// converts the texture for the renderer, and a frame presented on either path, captured from
// the X screen, is the picture pixel for pixel. The captures run under Xvfb from
// present_test.sh only (ctest leaves out the ScriptOnly suites); without a display or
// ImageMagick's import they skip.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/png_file.h"
#include "platform/screen_convert.h"
#include "platform/sdl/sdl_platform.h"
#include "support/skip.h"

namespace trakvolt::platform {
namespace {

TEST(WindowConvert, EveryColourComesOutAsSdlConvertsItForTheRenderer) {
  std::vector<Pixel565> all(0x10000);
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<Pixel565>(i);
  for (const Uint32 format :
       {SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_ABGR8888, SDL_PIXELFORMAT_RGB888}) {
    std::vector<std::uint32_t> sdl(all.size());
    ASSERT_EQ(SDL_ConvertPixels(256, 256, SDL_PIXELFORMAT_RGB565, all.data(), 512, format,
                                sdl.data(), 1024),
              0);
    Uint32 r = 0, g = 0, b = 0, a = 0;
    int bpp = 0;
    ASSERT_TRUE(SDL_PixelFormatEnumToMasks(format, &bpp, &r, &g, &b, &a));
    const auto layout = LayoutFromMasks(r, g, b);
    ASSERT_TRUE(layout.has_value());
    // Bits outside the channels (padding) may hold anything in SDL's output.
    const std::uint32_t channels = r | g | b | a;
    for (std::size_t i = 0; i < all.size(); ++i)
      ASSERT_EQ(To32(all[i], *layout) & channels, sdl[i] & channels)
          << SDL_GetPixelFormatName(format) << " " << i;
  }
}

// Every RGB565 value at least once, then again in another order.
void FillPattern(const SurfaceView& s) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.At(x, y) = static_cast<Pixel565>(y * s.width + x);
}

void FillFromPng(const SurfaceView& s, const std::string& path) {
  const RgbImage img = ReadPng(path);
  ASSERT_EQ(img.width, s.width);
  ASSERT_EQ(img.height, s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const std::uint8_t* p = img.At(x, y);
      s.At(x, y) = Rgb565(p[0], p[1], p[2]);
    }
}

// The window's 800 x 600 pixels as the X server shows them, as 8-bit RGB.
std::vector<std::uint8_t> CaptureWindow(SDL_Window* window, const std::string& file) {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window, &x, &y);
  const std::string cmd = "import -window root -crop 800x600+" + std::to_string(x) + "+" +
                          std::to_string(y) + " +repage -depth 8 ppm:" + file;
  if (std::system(cmd.c_str()) != 0) return {};
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w != 800 || h != 600 || max != 255) return {};
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The number of pixels that differ from the picture as the window shows it, with the first one
// reported.
int Mismatches(const Surface& picture, const std::vector<std::uint8_t>& shot) {
  int bad = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = To32(picture.At(x, y), PixelLayout32{});
      const std::uint8_t want[3] = {static_cast<std::uint8_t>(p >> 16),
                                    static_cast<std::uint8_t>(p >> 8),
                                    static_cast<std::uint8_t>(p)};
      const std::uint8_t* got = &shot[static_cast<std::size_t>(y * picture.Width() + x) * 3];
      if (got[0] == want[0] && got[1] == want[1] && got[2] == want[2]) continue;
      if (bad++ == 0)
        ADD_FAILURE() << "first difference at " << x << "," << y << ": shown " << int{got[0]} << " "
                      << int{got[1]} << " " << int{got[2]} << ", picture " << int{want[0]} << " "
                      << int{want[1]} << " " << int{want[2]};
    }
  return bad;
}

class WindowPresent : public testing::TestWithParam<const char*> {};

TEST_P(WindowPresent, TheCapturedWindowIsThePictureExactly) {
  using testing_support::SkipTest;
  if (!std::getenv("DISPLAY")) SkipTest("no X display", "present_test.sh starts one");
  if (std::system("command -v import >/dev/null") != 0) SkipTest("no ImageMagick import");
  setenv("TRAKVOLT_PRESENT", GetParam(), 1);
  SdlPlatform machine;
  SdlDisplay& display = static_cast<SdlDisplay&>(machine.GetDisplay());
  display.Initialize();
  EXPECT_EQ(display.Path(), std::string(GetParam()) == "surface" ? PresentPath::WindowSurface
                                                                 : PresentPath::Texture);
  std::vector<std::string> frames = {""};
  if (const char* frame = std::getenv("TRAKVOLT_TEST_FRAME")) frames.push_back(frame);
  for (const std::string& frame : frames) {
    SCOPED_TRACE(frame.empty() ? "every colour" : frame);
    const SurfaceView back = display.BackSurface();
    if (frame.empty())
      FillPattern(back);
    else
      FillFromPng(back, frame);
    Surface picture(back.width, back.height);
    for (int y = 0; y < back.height; ++y)
      for (int x = 0; x < back.width; ++x) picture.At(x, y) = back.At(x, y);
    // A few frames and events, so the window is mapped and the last frame has arrived.
    for (int i = 0; i < 3; ++i) {
      display.Flip();
      SDL_PumpEvents();
      SDL_Delay(100);
    }
    const std::string file = testing::TempDir() + "present_" + GetParam() + ".ppm";
    const std::vector<std::uint8_t> shot = CaptureWindow(machine.NativeWindow(), file);
    ASSERT_EQ(shot.size(), std::size_t{800 * 600 * 3}) << "no capture of the window";
    EXPECT_EQ(Mismatches(picture, shot), 0);
    std::remove(file.c_str());
  }
  display.Finalize();
}

INSTANTIATE_TEST_SUITE_P(ScriptOnlyPaths, WindowPresent, testing::Values("surface", "texture"));

}  // namespace
}  // namespace trakvolt::platform
