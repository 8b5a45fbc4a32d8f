// SVG rendering through librsvg into a cairo ARGB surface, then un-premultiplied.
#include "svg_render.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace trakvolt::art {
namespace {

struct GObjectDeleter {
  void operator()(RsvgHandle* h) const { g_object_unref(h); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

std::runtime_error SvgError(const std::string& path, GError* error, const char* what) {
  std::string message = path + ": " + what;
  if (error != nullptr) {
    message += ": ";
    message += error->message;
    g_error_free(error);
  }
  return std::runtime_error(message);
}

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// The whole document drawn into a new width x height premultiplied ARGB surface.
SurfacePtr RenderToSurface(RsvgHandle* handle, int width, int height, const std::string& name) {
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw SvgError(name, nullptr, "cannot create a drawing surface");
  {
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    GError* error = nullptr;
    if (!rsvg_handle_render_document(handle, cr.get(), &viewport, &error))
      throw SvgError(name, error, "cannot render SVG");
  }
  cairo_surface_flush(surface.get());
  return surface;
}

}  // namespace

RgbaImage RenderSvg(const std::string& path) {
  GError* error = nullptr;
  std::unique_ptr<RsvgHandle, GObjectDeleter> handle(
      rsvg_handle_new_from_file(path.c_str(), &error));
  if (!handle) throw SvgError(path, error, "cannot load SVG");
  // Pictures are authored in pixels; 96 dpi keeps user units equal to pixels.
  rsvg_handle_set_dpi(handle.get(), 96.0);

  double w = 0, h = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &w, &h))
    throw SvgError(path, nullptr, "the <svg> element needs width and height in pixels");
  const int width = static_cast<int>(std::lround(w));
  const int height = static_cast<int>(std::lround(h));
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
    throw SvgError(path, nullptr, "picture size must be 1..4096 pixels each way");

  const SurfacePtr surface = RenderToSurface(handle.get(), width, height, path);

  RgbaImage image(width, height);
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = row[x];  // premultiplied, native-endian 0xAARRGGBB
      const unsigned a = p >> 24;
      Rgba& out = image.At(x, y);
      out.a = static_cast<std::uint8_t>(a);
      if (a == 0) continue;
      auto unpremultiply = [a](unsigned c) {
        return static_cast<std::uint8_t>(std::min(255u, (c * 255u + a / 2) / a));
      };
      out.r = unpremultiply((p >> 16) & 0xFFu);
      out.g = unpremultiply((p >> 8) & 0xFFu);
      out.b = unpremultiply(p & 0xFFu);
    }
  }
  return image;
}

void RenderSvgToSquarePng(const std::string& svg_text, int size, const std::string& png,
                          const std::string& name) {
  if (size <= 0 || size > 4096) throw SvgError(name, nullptr, "icon size must be 1..4096 pixels");
  GError* error = nullptr;
  std::unique_ptr<RsvgHandle, GObjectDeleter> handle(rsvg_handle_new_from_data(
      reinterpret_cast<const guint8*>(svg_text.data()), svg_text.size(), &error));
  if (!handle) throw SvgError(name, error, "cannot load SVG");
  rsvg_handle_set_dpi(handle.get(), 96.0);
  const SurfacePtr surface = RenderToSurface(handle.get(), size, size, name);
  // cairo writes the premultiplied surface as an ordinary straight-alpha PNG.
  if (cairo_surface_write_to_png(surface.get(), png.c_str()) != CAIRO_STATUS_SUCCESS)
    throw SvgError(png, nullptr, "cannot write PNG");
}

}  // namespace trakvolt::art
