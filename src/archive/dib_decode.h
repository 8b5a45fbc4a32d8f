// Decoding the pictures stored in image archives: device-independent bitmaps and their wrappers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "archive/archive_stream.h"
#include "base/png_file.h"
#include "base/surface.h"

namespace trakvolt {

// A bitmap without file header: header of size 12 or 40, optional bit-field masks, palette,
// pixels (1, 4, 8, 16, 24 or 32 bits; uncompressed, RLE8, RLE4 or bit fields; bottom-up or
// top-down). Raises "DIB is invalid" for a header or compression it does not know, and
// "Stream read error" when the data runs short.
RgbImage DecodeDib(ByteReader& in);

// A bitmap file: the 14-byte "BM" file header, then the bitmap as above.
RgbImage DecodeBitmapFile(ByteReader& in);

// An image item's "Picture.Data": a short string naming the kind ("TDIB", "TBitmap", ...) and
// its data. Gives no picture for a payload that ends after the kind name, for "TIcon",
// "TMetafile" and for kinds it does not know.
std::optional<RgbImage> DecodePicturePayload(std::span<const std::uint8_t> payload);
// The same straight into RGB565, as the game draws it (no 8-bit picture in between).
std::optional<Surface> DecodePicturePayload565(std::span<const std::uint8_t> payload);

}  // namespace trakvolt
