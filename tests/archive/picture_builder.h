// Hand-made bitmap payloads for the picture tests.
#pragma once

#include <cstdint>
#include <vector>

#include "stream_builder.h"

namespace trakvolt::testing_archive {

// A bitmap with a 40-byte header; palette entries are 0xRRGGBB; `masks` follow when compression
// is 3.
inline Bytes Dib40(int width, int height, int bits, unsigned compression,
                   const std::vector<std::uint32_t>& palette, const Bytes& pixels,
                   std::uint32_t colors_used = 0, const std::vector<std::uint32_t>& masks = {}) {
  Bytes b;
  b.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
  b.U16(1).U16(static_cast<unsigned>(bits)).U32(compression);
  b.U32(static_cast<std::uint32_t>(pixels.b.size())).U32(0).U32(0).U32(colors_used).U32(0);
  for (std::uint32_t m : masks) b.U32(m);
  for (std::uint32_t c : palette) b.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8(c >> 16).U8(0);
  return b.Add(pixels);
}

// A bitmap with a 12-byte header (3-byte palette entries).
inline Bytes Dib12(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                   const Bytes& pixels) {
  Bytes b;
  b.U32(12).U16(static_cast<unsigned>(width)).U16(static_cast<unsigned>(height)).U16(1);
  b.U16(static_cast<unsigned>(bits));
  for (std::uint32_t c : palette) b.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8(c >> 16);
  return b.Add(pixels);
}

// "Picture.Data" payloads.
inline Bytes TDib(const Bytes& dib) { return Bytes().Short("TDIB").Add(dib); }
inline Bytes TBitmap(const Bytes& dib) {
  Bytes file;
  file.Raw("BM").U32(static_cast<std::uint32_t>(14 + dib.b.size())).U32(0).U32(0).Add(dib);
  return Bytes().Short("TBitmap").U32(static_cast<std::uint32_t>(file.b.size())).Add(file);
}

// A 24-bit bottom-up picture from rows of 0xRRGGBB given top row first.
inline Bytes Dib24(const std::vector<std::vector<std::uint32_t>>& rows) {
  const int w = static_cast<int>(rows[0].size());
  Bytes px;
  for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
    for (std::uint32_t c : *r) px.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8(c >> 16);
    for (int pad = w * 3; pad % 4; ++pad) px.U8(0);
  }
  return Dib40(w, static_cast<int>(rows.size()), 24, 0, {}, px);
}

}  // namespace trakvolt::testing_archive
