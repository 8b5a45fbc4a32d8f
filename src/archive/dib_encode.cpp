// 24-bit bitmap encoding for the archive writer.
#include "archive/dib_encode.h"

#include "archive/archive_stream.h"
#include "base/game_error.h"

namespace trakvolt {

std::vector<std::uint8_t> EncodeDib24(const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) throw GameError("Cannot store an empty picture");
  const std::uint32_t stride = ((static_cast<std::uint32_t>(image.width) * 24 + 31) / 32) * 4;
  ByteWriter out;
  out.U32(40);
  out.U32(static_cast<std::uint32_t>(image.width));
  out.U32(static_cast<std::uint32_t>(image.height));
  out.U16(1);   // planes
  out.U16(24);  // bits per pixel
  out.U32(0);   // no compression
  out.U32(stride * static_cast<std::uint32_t>(image.height));
  out.U32(0);
  out.U32(0);
  out.U32(0);  // colours used
  out.U32(0);  // colours important
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      out.U8(p[2]);
      out.U8(p[1]);
      out.U8(p[0]);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(image.width) * 3; pad < stride; ++pad)
      out.U8(0);
  }
  return std::move(out.Data());
}

std::vector<std::uint8_t> EncodePicturePayload(const RgbImage& image) {
  ByteWriter out;
  out.ShortString("TDIB");
  out.Bytes(EncodeDib24(image));
  return std::move(out.Data());
}

}  // namespace trakvolt
