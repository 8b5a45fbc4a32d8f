// The present-path choice, the letterbox and the pointer mapping.
#include "platform/present_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace trakvolt::platform {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// Floor division for positions left of or above the letterbox.
int FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
}

}  // namespace

bool IsSoftwareRenderer(std::string_view gl_renderer) {
  constexpr std::array<std::string_view, 6> kSoftware = {"llvmpipe",    "softpipe",
                                                         "swrast",      "software rasterizer",
                                                         "gdi generic", "basic render driver"};
  const std::string name = Lower(gl_renderer);
  return std::any_of(kSoftware.begin(), kSoftware.end(),
                     [&](std::string_view s) { return name.find(s) != std::string::npos; });
}

std::optional<PresentPath> RequestedPresentPath(std::string_view setting) {
  const std::string req = Lower(setting);
  if (req == "texture") return PresentPath::Texture;
  if (req == "surface") return PresentPath::WindowSurface;
  return std::nullopt;
}

PresentPath ChoosePresentPath(const GraphicsReport& report) {
  // Without any OpenGL the renderer would fall back to SDL's own software renderer, which
  // does the same copy as the window path, only slower.
  if (!report.gpu_device || !report.gl_context || IsSoftwareRenderer(report.gl_renderer))
    return PresentPath::WindowSurface;
  return PresentPath::Texture;
}

Letterbox LetterboxIn(int window_w, int window_h, int picture_w, int picture_h) {
  if (window_w <= 0 || window_h <= 0 || picture_w <= 0 || picture_h <= 0) return {};
  Letterbox box;
  // Compare the proportions exactly: window_w / window_h against picture_w / picture_h.
  if (std::int64_t{window_w} * picture_h >= std::int64_t{window_h} * picture_w) {
    box.h = window_h;  // bars left and right
    box.w = static_cast<int>(std::int64_t{picture_w} * window_h / picture_h);
  } else {
    box.w = window_w;  // bars above and below
    box.h = static_cast<int>(std::int64_t{picture_h} * window_w / picture_w);
  }
  box.w = std::max(box.w, 1);
  box.h = std::max(box.h, 1);
  box.x = (window_w - box.w) / 2;
  box.y = (window_h - box.h) / 2;
  return box;
}

void WindowToPicture(const Letterbox& box, int picture_w, int picture_h, int& x, int& y) {
  if (box.w <= 0 || box.h <= 0) return;
  x = FloorDiv(std::int64_t{x - box.x} * picture_w, box.w);
  y = FloorDiv(std::int64_t{y - box.y} * picture_h, box.h);
}

}  // namespace trakvolt::platform
