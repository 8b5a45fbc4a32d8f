// How frames reach the screen: the choice between the renderer's texture and the window's own
// pixels, the letterbox of the 800 x 600 picture in a larger window, and pointer mapping.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trakvolt::platform {

enum class PresentPath {
  Texture,        // streaming texture through an accelerated renderer, with vsync and scaling
  WindowSurface,  // the window's own pixels, converted from RGB565 by the game
};

// What the machine's graphics turned out to be when the display first opened.
struct GraphicsReport {
  // A graphics card's device node is there (/dev/dri, /dev/nvidiactl, ...). Without one any
  // OpenGL runs on the processor, so OpenGL is not even asked.
  bool gpu_device = false;
  bool gl_context = false;  // a context could be made at all
  std::string gl_renderer;  // the GL_RENDERER string, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)"
};

// True when the GL_RENDERER string names a rasteriser that runs on the processor (Mesa's
// llvmpipe, softpipe and swrast, Windows' GDI and basic render drivers).
bool IsSoftwareRenderer(std::string_view gl_renderer);

// The path the player asked for with TRAKVOLT_PRESENT: "texture" or "surface" (any case);
// nothing for anything else, leaving the choice to the machine.
std::optional<PresentPath> RequestedPresentPath(std::string_view setting);

// The texture path only when OpenGL runs on a graphics card: a software OpenGL costs several
// milliseconds per frame (and its start a tenth of a second) for what a plain copy does in a
// fraction of one.
PresentPath ChoosePresentPath(const GraphicsReport& report);

// The part of a window the 800 x 600 picture covers when scaled to fit with its proportions
// kept and centred (black bars on the other sides).
struct Letterbox {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Letterbox&) const = default;
};
Letterbox LetterboxIn(int window_w, int window_h, int picture_w, int picture_h);

// A window position as a position on the picture (outside the letterbox it lies outside the
// picture, as the renderer's mapping does).
void WindowToPicture(const Letterbox& box, int picture_w, int picture_h, int& x, int& y);

}  // namespace trakvolt::platform
