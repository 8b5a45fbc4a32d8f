// Renders one SVG file at its own size into straight RGBA with librsvg and cairo, or SVG text
// scaled into a square PNG with its alpha (the desktop icons).
#pragma once

#include <string>

#include "rgba_image.h"

namespace trakvolt::art {

// Throws std::runtime_error naming the file when it cannot be read, parsed or sized.
RgbaImage RenderSvg(const std::string& path);

// Renders SVG text scaled to SIZE x SIZE into a PNG with straight alpha. `name` is for errors.
void RenderSvgToSquarePng(const std::string& svg_text, int size, const std::string& png,
                          const std::string& name);

}  // namespace trakvolt::art
