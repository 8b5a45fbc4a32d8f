// Renders one SVG file at its own size into straight RGBA with librsvg and cairo.
#pragma once

#include <string>

#include "rgba_image.h"

namespace trakvolt::art {

// Throws std::runtime_error naming the file when it cannot be read, parsed or sized.
RgbaImage RenderSvg(const std::string& path);

}  // namespace trakvolt::art
