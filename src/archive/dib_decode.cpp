// Bitmap decoding: headers, palettes, bit fields, run-length codes, row order.
#include "archive/dib_decode.h"

#include <algorithm>
#include <array>
#include <bit>

#include "base/game_error.h"

namespace trakvolt {

namespace {

// Larger pictures are refused rather than allocated.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

[[noreturn]] void Invalid() { throw GameError("DIB is invalid"); }

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// One channel of a bit-field pixel scaled to 8 bits (short fields by bit replication).
class Channel {
 public:
  explicit Channel(std::uint32_t mask)
      : mask_(mask),
        shift_(mask ? std::countr_zero(mask) : 0),
        bits_(mask ? std::bit_width(mask >> shift_) : 0) {}

  std::uint8_t Of(std::uint32_t pixel) const {
    if (bits_ == 0) return 0;
    std::uint32_t v = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return static_cast<std::uint8_t>(v >> (bits_ - 8));
    v <<= 8 - bits_;
    for (int filled = bits_; filled < 8; filled *= 2) v |= v >> filled;
    return static_cast<std::uint8_t>(v);
  }

 private:
  std::uint32_t mask_;
  int shift_, bits_;
};

struct DibHeader {
  int width = 0, rows = 0;
  bool top_down = false;
  int bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t image_size = 0;
  std::uint32_t colors_used = 0;
  int palette_entry = 4;
};

DibHeader ReadHeader(ByteReader& in) {
  DibHeader h;
  const std::uint32_t size = in.U32();
  std::int64_t height = 0;
  if (size == 12) {
    h.width = in.U16();
    height = in.U16();
    in.U16();  // planes
    h.bits = in.U16();
    h.palette_entry = 3;
  } else if (size == 40) {
    h.width = in.I32();
    height = in.I32();
    in.U16();
    h.bits = in.U16();
    h.compression = in.U32();
    h.image_size = in.U32();
    in.Skip(8);  // resolutions
    h.colors_used = in.U32();
    in.U32();  // colours important
  } else {
    Invalid();
  }
  h.top_down = height < 0;
  const std::int64_t rows = height < 0 ? -height : height;
  if (h.width <= 0 || rows == 0 || h.width > kMaxSide || rows > kMaxSide ||
      h.width * rows > kMaxPixels)
    Invalid();
  h.rows = static_cast<int>(rows);
  switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Invalid();
  }
  const bool ok = h.compression == 0 || (h.compression == 1 && h.bits == 8) ||
                  (h.compression == 2 && h.bits == 4) ||
                  (h.compression == 3 && (h.bits == 16 || h.bits == 32));
  // Run-length pictures are always stored bottom row first.
  if (!ok || (h.top_down && (h.compression == 1 || h.compression == 2))) Invalid();
  return h;
}

// Where decoded pixels go: the 8-bit picture the tools keep, or straight into the game's RGB565
// picture (the same rounding as converting the 8-bit one afterwards).
struct RgbTarget {
  RgbImage& img;
  int Width() const { return img.width; }
  int Height() const { return img.height; }
  void Put(int x, int y, Rgb c) {
    std::uint8_t* p = img.At(x, y);
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
};

struct Rgb565Target {
  Surface& surface;
  int Width() const { return surface.Width(); }
  int Height() const { return surface.Height(); }
  void Put(int x, int y, Rgb c) { surface.At(x, y) = Rgb565(c.r, c.g, c.b); }
};

// Writes palette entries into the picture, ignoring anything outside it.
template <typename Target>
class Painter {
 public:
  Painter(Target target, const std::vector<Rgb>& palette, bool top_down)
      : target_(target), palette_(palette), top_down_(top_down) {}

  // Row `r` counted in storage order (bottom first unless top-down).
  void Set(std::int64_t x, std::int64_t r, Rgb c) {
    if (x < 0 || r < 0 || x >= target_.Width() || r >= target_.Height()) return;
    const int y = top_down_ ? static_cast<int>(r) : target_.Height() - 1 - static_cast<int>(r);
    target_.Put(static_cast<int>(x), y, c);
  }
  void SetIndex(std::int64_t x, std::int64_t r, unsigned index) {
    // An index past the palette shows black.
    Set(x, r, index < palette_.size() ? palette_[index] : Rgb{});
  }

 private:
  Target target_;
  const std::vector<Rgb>& palette_;
  bool top_down_;
};

template <typename Target>
void DecodeRows(ByteReader& in, const DibHeader& h, const std::array<Channel, 3>& ch,
                Painter<Target>& paint) {
  const std::size_t stride =
      ((static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bits) + 31) / 32) * 4;
  for (int r = 0; r < h.rows; ++r) {
    const auto row = in.Bytes(stride);
    for (int x = 0; x < h.width; ++x) {
      const std::size_t xs = static_cast<std::size_t>(x);
      switch (h.bits) {
        case 1:
          paint.SetIndex(x, r, (row[xs / 8] >> (7 - xs % 8)) & 1u);
          break;
        case 4:
          paint.SetIndex(x, r, (row[xs / 2] >> (xs % 2 ? 0 : 4)) & 0xFu);
          break;
        case 8:
          paint.SetIndex(x, r, row[xs]);
          break;
        case 24:
          paint.Set(x, r, Rgb{row[xs * 3 + 2], row[xs * 3 + 1], row[xs * 3]});
          break;
        case 16: {
          const std::uint32_t p = row[xs * 2] | (row[xs * 2 + 1] << 8);
          paint.Set(x, r, Rgb{ch[0].Of(p), ch[1].Of(p), ch[2].Of(p)});
          break;
        }
        default: {
          const std::uint32_t p = row[xs * 4] | (row[xs * 4 + 1] << 8) | (row[xs * 4 + 2] << 16) |
                                  (static_cast<std::uint32_t>(row[xs * 4 + 3]) << 24);
          paint.Set(x, r, Rgb{ch[0].Of(p), ch[1].Of(p), ch[2].Of(p)});
        }
      }
    }
  }
}

// Run-length codes (8 bits, or 4 bits with two pixels per byte). Pixels the codes skip stay
// black; positions past the picture are dropped.
template <typename Target>
void DecodeRle(ByteReader& data, const DibHeader& h, Painter<Target>& paint) {
  const bool four = h.compression == 2;
  const std::int64_t w = h.width, rows = h.rows;
  std::int64_t x = 0, r = 0;
  while (!data.AtEnd()) {
    const unsigned count = data.U8();
    const unsigned value = data.U8();
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i, ++x)
        paint.SetIndex(x, r, four ? (i % 2 ? value & 0xFu : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      ++r;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += data.U8();
      r += data.U8();
    } else {
      const unsigned bytes = four ? (value + 1) / 2 : value;
      const auto run = data.Bytes(bytes);
      for (unsigned i = 0; i < value; ++i, ++x)
        paint.SetIndex(x, r, four ? (i % 2 ? run[i / 2] & 0xFu : run[i / 2] >> 4) : run[i]);
      if (bytes % 2) data.Skip(1);  // absolute runs are padded to a 16-bit boundary
    }
    // Far past the picture nothing more can land; keep the counters from growing.
    x = std::min(x, w);
    r = std::min(r, rows);
  }
}

// The header, masks and palette in front of the pixels, and the check that the rows are there.
struct DibLayout {
  DibHeader h;
  std::array<Channel, 3> channels{Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
  std::vector<Rgb> palette;
  bool rle = false;
};

DibLayout ReadLayout(ByteReader& in) {
  DibLayout d;
  d.h = ReadHeader(in);
  const DibHeader& h = d.h;
  if (h.compression == 3) {
    const std::uint32_t r = in.U32(), g = in.U32(), b = in.U32();
    d.channels = {Channel(r), Channel(g), Channel(b)};
  } else if (h.bits == 32) {
    d.channels = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF)};
  }
  std::uint32_t entries = h.colors_used;
  if (entries == 0 && h.bits <= 8) entries = 1u << h.bits;
  entries = std::min<std::uint32_t>(entries, 256);
  d.palette.resize(entries);
  for (Rgb& c : d.palette) {
    const auto e = in.Bytes(static_cast<std::size_t>(h.palette_entry));
    c = Rgb{e[2], e[1], e[0]};
  }
  d.rle = h.compression == 1 || h.compression == 2;
  const std::size_t stride =
      ((static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bits) + 31) / 32) * 4;
  // Check the rows are there before making room for them.
  if (!d.rle && in.Remaining() / stride < static_cast<std::size_t>(h.rows))
    throw GameError("Stream read error");
  return d;
}

template <typename Target>
void DecodePixels(ByteReader& in, const DibLayout& d, Target target) {
  Painter<Target> paint(target, d.palette, d.h.top_down);
  if (d.rle) {
    ByteReader data = in.Block(d.h.image_size);
    DecodeRle(data, d.h, paint);
  } else {
    DecodeRows(in, d.h, d.channels, paint);
  }
}

void SkipFileHeader(ByteReader& in) {
  if (in.U8() != 'B' || in.U8() != 'M') Invalid();
  in.Skip(12);  // file size, reserved, pixel offset
}

// The device-independent bitmap inside a picture payload (past a bitmap file's header), or
// nothing (see DecodePicturePayload).
std::optional<ByteReader> PayloadDib(ByteReader& in) {
  const std::string kind = in.ShortString();
  if (in.AtEnd()) return std::nullopt;
  if (kind == "TDIB") return in;
  if (kind == "TBitmap") {
    const std::uint32_t size = in.U32();
    if (size == 0) return std::nullopt;
    ByteReader file = in.Block(size);
    SkipFileHeader(file);
    return file;
  }
  // Icons, metafiles and kinds this game has no use for leave the item without a picture.
  return std::nullopt;
}

}  // namespace

RgbImage DecodeDib(ByteReader& in) {
  const DibLayout d = ReadLayout(in);
  RgbImage img = MakeRgbImage(d.h.width, d.h.rows);
  DecodePixels(in, d, RgbTarget{img});
  return img;
}

RgbImage DecodeBitmapFile(ByteReader& in) {
  SkipFileHeader(in);
  return DecodeDib(in);
}

std::optional<RgbImage> DecodePicturePayload(std::span<const std::uint8_t> payload) {
  ByteReader in(payload);
  std::optional<ByteReader> dib = PayloadDib(in);
  if (!dib) return std::nullopt;
  return DecodeDib(*dib);
}

std::optional<Surface> DecodePicturePayload565(std::span<const std::uint8_t> payload) {
  ByteReader in(payload);
  std::optional<ByteReader> dib = PayloadDib(in);
  if (!dib) return std::nullopt;
  const DibLayout d = ReadLayout(*dib);
  Surface picture(d.h.width, d.h.rows);
  DecodePixels(*dib, d, Rgb565Target{picture});
  return picture;
}

}  // namespace trakvolt
