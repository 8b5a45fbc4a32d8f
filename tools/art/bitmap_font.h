// Renders a 76-glyph bitmap-font strip with FreeType: gradient face, dark rim, drop shadow.
#pragma once

#include "art_manifest.h"
#include "rgba_image.h"

namespace trakvolt::art {

// One frame per glyph, each `cell` x `height`. Each glyph starts at the left edge of its cell
// and is stretched so that its ink (rim included) ends on the last column of its advance
// width, clamped to the cell. Throws std::runtime_error when the face cannot be used.
RgbaImage RenderFontStrip(const FontEntry& font);

}  // namespace trakvolt::art
