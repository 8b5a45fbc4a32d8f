// PNG reading and writing over libpng's simplified API.
#include "base/png_file.h"

#include <png.h>

#include "base/game_error.h"

namespace trakvolt {

namespace {

constexpr png_uint_32 kMaxSide = 16384;
// The archives hold pictures of at most 16 M pixels; a larger PNG is refused before its pixels
// are allocated.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 24;

// Releases libpng's read state on every path out.
struct PngImageGuard {
  png_image* image;
  ~PngImageGuard() { png_image_free(image); }
};

RgbImage FinishRead(png_image& image, const std::string& what) {
  PngImageGuard guard{&image};
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      std::uint64_t{image.width} * image.height > kMaxPixels)
    throw GameError(
        Format("PNG %s has unsupported size %ux%u", what.c_str(), image.width, image.height));
  RgbImage out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr))
    throw GameError(Format("Cannot read PNG %s: %s", what.c_str(), image.message));
  return out;
}

}  // namespace

RgbImage MakeRgbImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                      bool has_alpha) {
  RgbImage img;
  img.width = width > 0 ? width : 0;
  img.height = height > 0 ? height : 0;
  img.has_alpha = has_alpha;
  img.rgba.resize(static_cast<std::size_t>(img.width) * img.height * 4);
  for (std::size_t i = 0; i < img.rgba.size(); i += 4) {
    img.rgba[i] = r;
    img.rgba[i + 1] = g;
    img.rgba[i + 2] = b;
    img.rgba[i + 3] = 255;
  }
  return img;
}

RgbImage ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    const std::string why = image.message;
    png_image_free(&image);
    throw GameError(Format("Cannot read PNG file %s: %s", path.c_str(), why.c_str()));
  }
  return FinishRead(image, "file " + path);
}

RgbImage DecodePng(const std::vector<std::uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    const std::string why = image.message;
    png_image_free(&image);
    throw GameError(Format("Cannot read PNG data: %s", why.c_str()));
  }
  return FinishRead(image, "data");
}

void WritePng(const std::string& path, const RgbImage& img) {
  if (img.width <= 0 || img.height <= 0 ||
      img.rgba.size() != static_cast<std::size_t>(img.width) * img.height * 4)
    throw GameError(Format("Cannot write PNG file %s: empty or malformed picture", path.c_str()));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(img.width);
  image.height = static_cast<png_uint_32>(img.height);
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgb;
  const void* data = img.rgba.data();
  if (!img.has_alpha) {
    // Drop the alpha bytes so the file is plain RGB.
    image.format = PNG_FORMAT_RGB;
    rgb.reserve(img.rgba.size() / 4 * 3);
    for (std::size_t i = 0; i < img.rgba.size(); i += 4)
      rgb.insert(rgb.end(), {img.rgba[i], img.rgba[i + 1], img.rgba[i + 2]});
    data = rgb.data();
  }
  const bool ok = png_image_write_to_file(&image, path.c_str(), 0, data, 0, nullptr);
  const std::string why = image.message;
  png_image_free(&image);
  if (!ok) throw GameError(Format("Cannot write PNG file %s: %s", path.c_str(), why.c_str()));
}

Surface ToSurface565(const RgbImage& image) {
  Surface s(image.width, image.height);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      s.At(x, y) = Rgb565(p[0], p[1], p[2]);
    }
  return s;
}

void WritePng(const std::string& path, const Surface& surface) {
  RgbImage img = MakeRgbImage(surface.Width(), surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const unsigned p = surface.At(x, y);
      std::uint8_t* o = img.At(x, y);
      o[0] = Expand5(p >> 11);
      o[1] = Expand6((p >> 5) & 0x3Fu);
      o[2] = Expand5(p & 0x1Fu);
    }
  WritePng(path, img);
}

}  // namespace trakvolt
