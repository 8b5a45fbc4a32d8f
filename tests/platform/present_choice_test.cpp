// The present-path choice, the letterbox and the pointer mapping through it.
#include "platform/present_choice.h"

#include <gtest/gtest.h>

namespace trakvolt::platform {
namespace {

TEST(PresentChoice, NoGraphicsCardSoftwareOpenGlAndNoOpenGlTakeTheWindowPath) {
  struct Case {
    GraphicsReport report;
    PresentPath path;
  };
  const Case cases[] = {
      {{false, true, "NVIDIA GeForce GTX 1060/PCIe/SSE2"}, PresentPath::WindowSurface},
      {{true, true, "llvmpipe (LLVM 15.0.6, 256 bits)"}, PresentPath::WindowSurface},
      {{true, true, "softpipe"}, PresentPath::WindowSurface},
      {{true, true, "Mesa DRI Intel(R) HD Graphics (Software Rasterizer)"},
       PresentPath::WindowSurface},
      {{true, true, "swrast"}, PresentPath::WindowSurface},
      {{true, true, "D3D12 (Microsoft Basic Render Driver)"}, PresentPath::WindowSurface},
      {{true, true, "GDI Generic"}, PresentPath::WindowSurface},
      {{true, false, ""}, PresentPath::WindowSurface},
      {{true, true, "NVIDIA GeForce GTX 1060/PCIe/SSE2"}, PresentPath::Texture},
      {{true, true, "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"}, PresentPath::Texture},
      {{true, true, "AMD Radeon RX 580 (radeonsi, polaris10, LLVM 15.0.6, DRM 3.49)"},
       PresentPath::Texture},
      // A driver that gives no name is trusted: the player still has the setting.
      {{true, true, ""}, PresentPath::Texture},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChoosePresentPath(c.report), c.path) << c.report.gl_renderer;
}

TEST(PresentChoice, ThePlayersSettingForcesAPathOnlyWhenItNamesOne) {
  EXPECT_EQ(RequestedPresentPath("texture"), PresentPath::Texture);
  EXPECT_EQ(RequestedPresentPath("Surface"), PresentPath::WindowSurface);
  EXPECT_EQ(RequestedPresentPath(""), std::nullopt);
  EXPECT_EQ(RequestedPresentPath("opengl"), std::nullopt);
}

TEST(PresentChoice, LetterboxKeepsTheProportionsCentred) {
  EXPECT_EQ(LetterboxIn(800, 600, 800, 600), (Letterbox{0, 0, 800, 600}));
  EXPECT_EQ(LetterboxIn(1920, 1080, 800, 600),
            (Letterbox{240, 0, 1440, 1080}));  // bars at the sides
  EXPECT_EQ(LetterboxIn(1280, 1024, 800, 600),
            (Letterbox{0, 32, 1280, 960}));  // bars above and below
  EXPECT_EQ(LetterboxIn(1366, 768, 800, 600), (Letterbox{171, 0, 1024, 768}));
  EXPECT_EQ(LetterboxIn(0, 768, 800, 600), Letterbox{});
}

TEST(PresentChoice, PointerPositionsMapBackThroughTheLetterbox) {
  const Letterbox box = LetterboxIn(1920, 1080, 800, 600);
  struct Case {
    int wx, wy, x, y;
  };
  const Case cases[] = {
      {240, 0, 0, 0},          // the picture's top-left corner
      {1679, 1079, 799, 599},  // its bottom-right pixel
      {960, 540, 400, 300},
      {239, 0, -1, 0},     // in the left bar: outside the picture, as the renderer maps it
      {1680, 10, 800, 5},  // just past the right edge
  };
  for (const Case& c : cases) {
    int x = c.wx, y = c.wy;
    WindowToPicture(box, 800, 600, x, y);
    EXPECT_EQ(x, c.x) << c.wx << "," << c.wy;
    EXPECT_EQ(y, c.y) << c.wx << "," << c.wy;
  }
}

}  // namespace
}  // namespace trakvolt::platform
