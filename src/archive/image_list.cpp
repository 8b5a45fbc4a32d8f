// Image items: pictures, the pattern grid, plain, keyed and rotated drawing; the image archive.
#include "archive/image_list.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "archive/archive_file.h"
#include "archive/archive_object.h"
#include "archive/dib_decode.h"
#include "archive/dib_encode.h"
#include "base/game_error.h"

namespace trakvolt {

namespace {

// Reads the items of an image collection value.
class ImageSink : public CollectionSink {
 public:
  explicit ImageSink(TImageCollection& c) : c_(c) {}
  std::string_view ItemClassName() const override { return "TImageCollectionItem"; }
  void Clear() override { c_.Clear(); }
  void AddItem() override { c_.Add(); }
  void ReadItemProperty(const std::string& name, ByteReader& in) override {
    TImageCollectionItem& item = c_[c_.Count() - 1];
    if (name == "Name") {
      item.SetName(ReadStringValue(in));
    } else if (name == "PatternHeight") {
      item.SetPatternHeight(ReadIntegerValue(in));
    } else if (name == "PatternWidth") {
      item.SetPatternWidth(ReadIntegerValue(in));
    } else if (name == "SkipHeight") {
      item.SetSkipHeight(ReadIntegerValue(in));
    } else if (name == "SkipWidth") {
      item.SetSkipWidth(ReadIntegerValue(in));
    } else if (name == "SystemMemory") {
      item.SetSystemMemory(ReadBooleanValue(in));
    } else if (name == "Transparent") {
      item.SetTransparent(ReadBooleanValue(in));
    } else if (name == "TransparentColor") {
      item.SetTransparentColor(ReadColorValue(in));
    } else if (name == "Picture.Data") {
      const auto payload = ReadBinaryValue(in);
      if (c_.KeepPictureData())
        item.SetPictureData(std::vector<std::uint8_t>(payload.begin(), payload.end()));
      else
        item.LoadPicture(payload);
    } else {
      UnknownProperty(name);
    }
  }

 private:
  TImageCollection& c_;
};

// Tools asked for a payload that loading dropped: writing the item without it would lose it.
[[noreturn]] void PictureDataNotKept(const TImageCollectionItem& item) {
  throw GameError(Format("The data of image '%s' was not kept", item.Name().c_str()));
}

// The pattern grid of an item: either the whole picture or columns x rows cells.
struct Grid {
  bool whole = false;
  std::int64_t columns = 0, rows = 0, cell_w = 0, cell_h = 0;
  int pw = 0, ph = 0;
  std::int64_t Count() const { return whole ? 1 : columns * rows; }
};

Grid GridOf(const TImageCollectionItem& item) {
  Grid g;
  if (!item.HasPicture()) return g;
  const std::int64_t w = item.Picture().Width(), h = item.Picture().Height();
  g.pw = item.EffectivePatternWidth();
  g.ph = item.EffectivePatternHeight();
  if (g.pw == w && g.ph == h) {
    g.whole = true;
    return g;
  }
  g.cell_w = std::int64_t{g.pw} + item.SkipWidth();
  g.cell_h = std::int64_t{g.ph} + item.SkipHeight();
  // Negative skips that swallow the pattern leave no grid at all.
  if (g.cell_w <= 0 || g.cell_h <= 0) return g;
  g.columns = std::max<std::int64_t>(0, (w + item.SkipWidth()) / g.cell_w);
  g.rows = std::max<std::int64_t>(0, (h + item.SkipHeight()) / g.cell_h);
  return g;
}

// Nearest integer, halves to the even neighbour.
double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  if (d < 0.5) return f;
  if (d > 0.5) return f + 1;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

std::int64_t ToFixed(double v) { return static_cast<std::int64_t>(RoundHalfEven(v * 65536.0)); }

// A screen coordinate kept within a range where the arithmetic below cannot overflow.
std::int64_t ClampedPixel(double v) {
  return static_cast<std::int64_t>(std::clamp(RoundHalfEven(v), -1e9, 1e9));
}

const std::array<double, 256>& CosTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (std::size_t i = 0; i < t.size(); ++i)
      t[i] = std::cos(static_cast<double>(i) * 2.0 * std::numbers::pi / 256.0);
    return t;
  }();
  return table;
}

// Floor of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The steps k in [first, end) of a row; Within keeps those with 0 <= start + k * step < limit.
struct StepRange {
  std::int64_t first, end;
  void Within(std::int64_t start, std::int64_t step, std::int64_t limit) {
    if (step > 0) {
      first = std::max(first, FloorDiv(-start + step - 1, step));  // ceil(-start / step)
      end = std::min(end, FloorDiv(limit - 1 - start, step) + 1);
    } else if (step < 0) {
      first = std::max(first, FloorDiv(start - limit, -step) + 1);
      end = std::min(end, FloorDiv(start, -step) + 1);
    } else if (start < 0 || start >= limit) {
      end = first;
    }
  }
};

}  // namespace

void TImageCollectionItem::SetTransparentColor(std::uint32_t c) {
  transparent_color_ = c;
  key_ = ColorRefTo565(c);
}

void TImageCollectionItem::SetPictureData(std::vector<std::uint8_t> payload) {
  LoadPicture(payload);
  picture_data_ = std::move(payload);
  payload_dropped_ = false;
}

void TImageCollectionItem::LoadPicture(std::span<const std::uint8_t> payload) {
  std::optional<Surface> picture;
  if (!payload.empty()) picture = DecodePicturePayload565(payload);
  picture_data_.clear();
  payload_dropped_ = !payload.empty();
  has_picture_ = picture.has_value();
  picture_ = picture ? std::move(*picture) : Surface();
  has_surfaces_ = false;
  if (collection_ && collection_->Initialized()) PrepareSurfaces();
}

void TImageCollectionItem::SetPicture(const RgbImage& image) {
  SetPictureData(EncodePicturePayload(image));
}

void TImageCollectionItem::ClearPicture() { SetPictureData({}); }

std::optional<RgbImage> TImageCollectionItem::DecodePicture() const {
  if (!has_picture_) return std::nullopt;
  if (!PictureDataKept()) PictureDataNotKept(*this);
  return DecodePicturePayload(picture_data_);
}

void TImageCollectionItem::PrepareSurfaces() {
  has_surfaces_ = has_picture_;
  spans_ = OpaqueSpans();
}

int TImageCollectionItem::EffectivePatternWidth() const {
  return pattern_width_ > 0 ? pattern_width_ : picture_.Width();
}

int TImageCollectionItem::EffectivePatternHeight() const {
  return pattern_height_ > 0 ? pattern_height_ : picture_.Height();
}

int TImageCollectionItem::CountPatterns() const { return static_cast<int>(GridOf(*this).Count()); }

Rect TImageCollectionItem::PatternRect(int index) const {
  const Grid g = GridOf(*this);
  if (index < 0 || index >= g.Count()) return Rect{};
  if (g.whole) return Rect{0, 0, picture_.Width(), picture_.Height()};
  const std::int64_t col = index % g.columns, row = index / g.columns;
  return Bounds(static_cast<int>(col * g.cell_w), static_cast<int>(row * g.cell_h), g.pw, g.ph);
}

void TImageCollectionItem::Draw(const SurfaceView& dst, int x, int y, int index) const {
  if (!has_surfaces_) return;
  const Rect r = PatternRect(index);
  if (r.Empty()) return;
  const SurfaceView picture = picture_.ConstView();
  if (!transparent_) return Blit(dst, x, y, picture, r);
  if (!spans_.Fits(picture, key_)) spans_ = OpaqueSpans(picture, key_);
  spans_.Blit(dst, x, y, picture, r);
}

void TImageCollectionItem::DrawRotated(const SurfaceView& dst, int x, int y, int width, int height,
                                       int index, double center_x, double center_y,
                                       int angle) const {
  constexpr int kMaxSize = 32768;
  if (!has_surfaces_ || width <= 0 || height <= 0 || width > kMaxSize || height > kMaxSize ||
      !dst.Valid())
    return;
  const Rect src = PatternRect(index);
  if (src.Empty()) return;
  const std::array<double, 256>& cos_table = CosTable();
  const std::size_t a = static_cast<std::size_t>(angle & 255);
  const double c = cos_table[a];
  const double s = cos_table[(a + 192) & 255];
  if (!std::isfinite(center_x) || !std::isfinite(center_y)) return;
  const double ox = center_x * width, oy = center_y * height;

  // The turned rectangle's corners on the target, its bounding box clipped.
  std::int64_t min_x = INT64_MAX, max_x = INT64_MIN, min_y = INT64_MAX, max_y = INT64_MIN;
  for (const double du : {-ox, width - ox})
    for (const double dv : {-oy, height - oy}) {
      const std::int64_t tx = x + ClampedPixel(du * c - dv * s);
      const std::int64_t ty = y + ClampedPixel(du * s + dv * c);
      min_x = std::min(min_x, tx);
      max_x = std::max(max_x, tx);
      min_y = std::min(min_y, ty);
      max_y = std::max(max_y, ty);
    }
  const Rect clip = dst.clip.Intersect(Rect{0, 0, dst.width, dst.height});
  min_x = std::max<std::int64_t>(min_x, clip.left);
  max_x = std::min<std::int64_t>(max_x, clip.right);
  min_y = std::max<std::int64_t>(min_y, clip.top);
  max_y = std::min<std::int64_t>(max_y, clip.bottom);
  if (min_x >= max_x || min_y >= max_y) return;

  // Stepping back: per target pixel the source position moves by (ax, ay) along a row and by
  // (bx, by) down a column, in 16.16 fixed point of source pixels. Pixel centres are sampled.
  const int pw = src.Width(), ph = src.Height();
  const double kx = static_cast<double>(pw) / width, ky = static_cast<double>(ph) / height;
  const std::int64_t ax = ToFixed(c * kx), ay = ToFixed(-s * ky);
  const std::int64_t bx = ToFixed(s * kx), by = ToFixed(c * ky);
  const std::int64_t sx0 = ToFixed(ox * kx), sy0 = ToFixed(oy * ky);
  // Along a row the source position is linear in the step, so the steps that land on the
  // pattern form one range, solved per row before its pixels are drawn.
  const std::int64_t span_x = std::int64_t{pw} << 16, span_y = std::int64_t{ph} << 16;
  const int pitch = picture_.Width();
  const Pixel565* pattern =
      picture_.Pixels() + static_cast<std::ptrdiff_t>(src.top) * pitch + src.left;
  for (std::int64_t py = min_y; py < max_y; ++py) {
    const std::int64_t hx = 2 * (min_x - x) + 1, hy = 2 * (py - y) + 1;  // in half pixels
    const std::int64_t sx = sx0 + ((hx * ax + hy * bx) >> 1);
    const std::int64_t sy = sy0 + ((hx * ay + hy * by) >> 1);
    StepRange steps{0, max_x - min_x};
    steps.Within(sx, ax, span_x);
    steps.Within(sy, ay, span_y);
    if (steps.first >= steps.end) continue;
    std::int64_t u = sx + steps.first * ax, v = sy + steps.first * ay;
    Pixel565* out = &dst.At(static_cast<int>(min_x + steps.first), static_cast<int>(py));
    const std::int64_t n = steps.end - steps.first;
    if (transparent_) {
      for (std::int64_t k = 0; k < n; ++k, u += ax, v += ay) {
        const Pixel565 p = pattern[(v >> 16) * pitch + (u >> 16)];
        if (p != key_) out[k] = p;
      }
    } else {
      for (std::int64_t k = 0; k < n; ++k, u += ax, v += ay)
        out[k] = pattern[(v >> 16) * pitch + (u >> 16)];
    }
  }
}

void TImageCollection::LoadArchive(const std::string& file_name) {
  const ArchiveFileView file(file_name);
  Clear();
  LoadFromBytes(file.Bytes());
}

void TImageCollection::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  Clear();
  ImageSink sink(*this);
  ReadArchiveStream(bytes, kImageRootClass, [&](const std::string& name, ByteReader& in) {
    if (name == "List") {
      ReadCollectionValue(in, sink);
    } else if (name == "List.ColorTable") {
      ByteReader table(ReadBinaryValue(in));
      const auto b = table.Bytes(ColorTable.size());
      std::copy(b.begin(), b.end(), ColorTable.begin());
    } else {
      UnknownProperty(name);
    }
  });
}

std::vector<std::uint8_t> TImageCollection::SaveToBytes() const {
  return WriteArchiveStream(kImageRootClass, [&](ByteWriter& out) {
    out.ShortString("List");
    WriteCollectionValue(out, Count(), [&](ByteWriter& w, int i) {
      const TImageCollectionItem& item = (*this)[i];
      w.ShortString("Name");
      w.StringValue(item.Name());
      w.ShortString("PatternHeight");
      w.IntegerValue(item.PatternHeight());
      w.ShortString("PatternWidth");
      w.IntegerValue(item.PatternWidth());
      if (!item.PictureDataKept()) PictureDataNotKept(item);
      if (!item.PictureData().empty()) {
        w.ShortString("Picture.Data");
        w.BinaryValue(item.PictureData());
      }
      w.ShortString("SkipHeight");
      w.IntegerValue(item.SkipHeight());
      w.ShortString("SkipWidth");
      w.IntegerValue(item.SkipWidth());
      w.ShortString("SystemMemory");
      w.BooleanValue(item.SystemMemory());
      w.ShortString("Transparent");
      w.BooleanValue(item.Transparent());
      w.ShortString("TransparentColor");
      w.IntegerValue(static_cast<std::int32_t>(item.TransparentColor()));
    });
    out.ShortString("List.ColorTable");
    out.BinaryValue(ColorTable);
  });
}

void TImageCollection::Initialize() {
  initialized_ = true;
  for (int i = 0; i < Count(); ++i) (*this)[i].PrepareSurfaces();
}

void TImageCollection::Finalize() {
  initialized_ = false;
  for (int i = 0; i < Count(); ++i) (*this)[i].ReleaseSurfaces();
}

}  // namespace trakvolt
