// Encoding pictures for image archives: 24-bit bottom-up bitmaps, which keep every 8-bit value.
#pragma once

#include <cstdint>
#include <vector>

#include "base/png_file.h"

namespace trakvolt {

// A bitmap without file header: header size 40, 24 bits per pixel, bottom row first.
std::vector<std::uint8_t> EncodeDib24(const RgbImage& image);
// The "Picture.Data" payload: the kind "TDIB" followed by EncodeDib24.
std::vector<std::uint8_t> EncodePicturePayload(const RgbImage& image);

}  // namespace trakvolt
