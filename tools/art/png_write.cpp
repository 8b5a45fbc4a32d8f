// PNG output through libpng's simplified write API.
#include "png_write.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

#include "pixel_reduce.h"

namespace trakvolt::art {

void WritePng565(const std::string& path, int width, int height, const std::vector<std::uint16_t>& pixels) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const Rgba c = Expand565(pixels[i]);
    rgb[i * 3] = c.r;
    rgb[i * 3 + 1] = c.g;
    rgb[i * 3 + 2] = c.b;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    const std::string message = path + ": cannot write PNG: " + image.message;
    png_image_free(&image);
    throw std::runtime_error(message);
  }
}

}  // namespace trakvolt::art
