// FreeType rasterising of the glyph set and the layered look of the game's fonts.
#include "bitmap_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "glyph_set.h"

namespace trakvolt::art {
namespace {

struct LibraryDeleter {
  void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceDeleter {
  void operator()(FT_Face f) const { FT_Done_Face(f); }
};

struct Colour {
  double r = 0, g = 0, b = 0;
};

Colour FromRgb(std::uint32_t rgb) {
  return Colour{((rgb >> 16) & 0xFFu) / 255.0, ((rgb >> 8) & 0xFFu) / 255.0, (rgb & 0xFFu) / 255.0};
}

Colour Mix(const Colour& a, const Colour& b, double t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Straight-alpha premultiplied accumulator for painting layers bottom to top.
struct Paint {
  double r = 0, g = 0, b = 0, a = 0;
  void Over(const Colour& c, double alpha) {
    r = c.r * alpha + r * (1 - alpha);
    g = c.g * alpha + g * (1 - alpha);
    b = c.b * alpha + b * (1 - alpha);
    a = alpha + a * (1 - alpha);
  }
};

using Grid = std::vector<double>;

// Coverage of one glyph in a cell-sized grid (rows top-down).
Grid RasteriseGlyph(FT_Library library, FT_Face face, const FontEntry& font, int frame) {
  const char32_t code = GlyphCodepoint(frame);
  if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    throw std::runtime_error(font.face.string() + ": no outline for U+" +
                             std::to_string(static_cast<unsigned>(code)));
  FT_Outline& outline = face->glyph->outline;
  FT_BBox box{};
  FT_Outline_Get_BBox(&outline, &box);

  const int ink = std::min(GlyphAdvance(frame, font.widths), font.cell);
  const int body = ink - 2 * font.outline;
  if (body < 2 || box.xMax <= box.xMin)
    throw std::runtime_error(font.name + ": glyph " + std::to_string(frame) +
                             " has no room for its body");
  // Stretch horizontally so the body fills exactly [outline, ink - outline).
  const double sx = body * 64.0 / static_cast<double>(box.xMax - box.xMin);
  FT_Matrix m{static_cast<FT_Fixed>(std::lround(sx * 65536.0)), 0, 0, 0x10000};
  FT_Outline_Transform(&outline, &m);
  FT_Outline_Get_BBox(&outline, &box);
  // A letter taller than the room above the baseline (Й with its breve) is squeezed a little
  // rather than clipped: a clipped breve would turn Й into И.
  const double room = font.baseline - font.outline;
  if (static_cast<double>(box.yMax) / 64.0 > room) {
    const double sy = room * 64.0 / static_cast<double>(box.yMax);
    if (sy < 0.85)
      throw std::runtime_error(
          font.name + ": glyph " + std::to_string(frame) + " needs " +
          std::to_string(
              static_cast<int>(std::ceil(static_cast<double>(box.yMax) / 64.0 + font.outline))) +
          " rows above the baseline; the frame has " + std::to_string(font.baseline));
    FT_Matrix squeeze{0x10000, 0, 0, static_cast<FT_Fixed>(std::floor(sy * 65536.0))};
    FT_Outline_Transform(&outline, &squeeze);
    FT_Outline_Get_BBox(&outline, &box);
  }
  // Below the baseline the rim and the shadow must fit too.
  const double below = -static_cast<double>(box.yMin) / 64.0 + font.outline + font.shadow;
  if (below > font.height - font.baseline + 0.25)
    throw std::runtime_error(font.name + ": glyph " + std::to_string(frame) + " needs " +
                             std::to_string(static_cast<int>(std::ceil(below))) +
                             " rows below the baseline; the frame has " +
                             std::to_string(font.height - font.baseline));
  FT_Outline_Translate(&outline, font.outline * 64 - box.xMin, (font.height - font.baseline) * 64);

  std::vector<unsigned char> buffer(static_cast<std::size_t>(font.cell) * font.height, 0);
  FT_Bitmap bitmap{};
  bitmap.rows = static_cast<unsigned>(font.height);
  bitmap.width = static_cast<unsigned>(font.cell);
  bitmap.pitch = font.cell;
  bitmap.buffer = buffer.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  if (FT_Outline_Get_Bitmap(library, &outline, &bitmap) != 0)
    throw std::runtime_error(font.name + ": cannot rasterise glyph " + std::to_string(frame));
  Grid coverage(buffer.size());
  for (std::size_t i = 0; i < buffer.size(); ++i) coverage[i] = buffer[i] / 255.0;
  return coverage;
}

// Grows coverage by a round brush of the given radius (the rim).
Grid Dilate(const Grid& cov, int w, int h, int radius) {
  Grid out(cov.size(), 0.0);
  const int reach = radius * radius + radius;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double best = 0;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
          const int sx = x + dx, sy = y + dy;
          if (dx * dx + dy * dy > reach || sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
          best = std::max(best, cov[static_cast<std::size_t>(sy) * w + sx]);
        }
      out[static_cast<std::size_t>(y) * w + x] = best;
    }
  return out;
}

}  // namespace

RgbaImage RenderFontStrip(const FontEntry& font) {
  FT_Library raw_library = nullptr;
  if (FT_Init_FreeType(&raw_library) != 0) throw std::runtime_error("cannot start FreeType");
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(raw_library);
  FT_Face raw_face = nullptr;
  if (FT_New_Face(library.get(), font.face.c_str(), 0, &raw_face) != 0)
    throw std::runtime_error(font.face.string() + ": cannot open font face");
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face(raw_face);
  if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(font.size)) != 0)
    throw std::runtime_error(font.face.string() + ": cannot set size " + std::to_string(font.size));

  // The gradient runs over the capital height so every letter shares the same bands.
  const double cap = face->size->metrics.y_ppem * 0.73;
  const double cap_top = font.baseline - cap;
  const Colour top = FromRgb(font.top), bottom = FromRgb(font.bottom), edge = FromRgb(font.edge);
  const Colour shade = Mix(edge, Colour{}, 0.5);

  const int w = font.cell, h = font.height;
  RgbaImage strip(w * kGlyphCount, h);
  for (int frame = 0; frame < kGlyphCount; ++frame) {
    const Grid body = RasteriseGlyph(library.get(), face.get(), font, frame);
    const Grid rim = font.outline > 0 ? Dilate(body, w, h, font.outline) : body;
    for (int y = 0; y < h; ++y) {
      // A bright upper third, then the fall to the lower colour: reads as a lit, rounded face.
      const double t = std::clamp((y + 0.5 - cap_top) / std::max(1.0, cap) * 1.4 - 0.4, 0.0, 1.0);
      const Colour fill = Mix(top, bottom, t);
      for (int x = 0; x < w; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        Paint p;
        if (font.shadow > 0 && y >= font.shadow)
          p.Over(shade, 0.85 * rim[i - static_cast<std::size_t>(font.shadow) * w]);
        p.Over(edge, rim[i]);
        p.Over(fill, body[i]);
        Rgba& out = strip.At(frame * w + x, y);
        out.a = static_cast<std::uint8_t>(std::lround(p.a * 255.0));
        if (p.a <= 0) continue;
        Colour c{p.r / p.a, p.g / p.a, p.b / p.a};
        if (font.dim) {
          const double lum = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
          c = Mix(c, Colour{lum, lum, lum}, 0.6);
          c = Colour{c.r * 0.62, c.g * 0.62, c.b * 0.7};
        }
        out.r = static_cast<std::uint8_t>(std::lround(std::clamp(c.r, 0.0, 1.0) * 255.0));
        out.g = static_cast<std::uint8_t>(std::lround(std::clamp(c.g, 0.0, 1.0) * 255.0));
        out.b = static_cast<std::uint8_t>(std::lround(std::clamp(c.b, 0.0, 1.0) * 255.0));
      }
    }
  }
  return strip;
}

}  // namespace trakvolt::art
