// Background sprites: the cell map, its drawing (endless or bounded) and its collision test.
#include "sprites/background_sprite.h"

#include <algorithm>
#include <limits>

#include "sprites/sprite_engine.h"

namespace trakvolt {
namespace {

// Index v wrapped into 0 .. n-1 (n > 0), also for negative v.
int Wrap(long long v, int n) { return static_cast<int>(((v % n) + n) % n); }

// Division rounding toward minus infinity (b > 0).
long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int ClampToInt(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The map cells, along one axis, that the span [from, to) of pixels covers when the map starts
// at `origin` with cells of `size` pixels; wrapped for an endless map, clipped otherwise.
std::vector<int> CellsUnder(int from, int to, int origin, int size, int count, bool endless) {
  std::vector<int> cells;
  if (to <= from) return cells;
  long long first = FloorDiv(static_cast<long long>(from) - origin, size);
  long long last = FloorDiv(static_cast<long long>(to) - 1 - origin, size);
  if (endless) {
    // Every cell at most once, however wide the span is.
    if (last - first + 1 >= count) {
      first = 0;
      last = count - 1;
    }
    for (long long i = first; i <= last; ++i) cells.push_back(Wrap(i, count));
  } else {
    first = std::max<long long>(first, 0);
    last = std::min<long long>(last, count - 1);
    for (long long i = first; i <= last; ++i) cells.push_back(static_cast<int>(i));
  }
  return cells;
}

}  // namespace

TBackgroundSprite::TBackgroundSprite(ParentLink parent) : TSprite(parent) { CanCollide = false; }

void TBackgroundSprite::SetMapSize(int w, int h) {
  if (w == map_width_ && h == map_height_) return;
  if (w <= 0 || h <= 0) {
    w = 0;
    h = 0;
  }
  const std::size_t cells = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  tile_map_.assign(cells, 0);
  collision_map_.assign(cells, 1);
  map_width_ = w;
  map_height_ = h;
}

int TBackgroundSprite::Cell(int x, int y) const {
  return HasCell(x, y) ? tile_map_[CellIndex(x, y)] : -1;
}

void TBackgroundSprite::SetCell(int x, int y, int frame) {
  if (HasCell(x, y)) tile_map_[CellIndex(x, y)] = frame;
}

bool TBackgroundSprite::CollisionCell(int x, int y) const {
  return HasCell(x, y) && collision_map_[CellIndex(x, y)] != 0;
}

void TBackgroundSprite::SetCollisionCell(int x, int y, bool collides) {
  if (HasCell(x, y)) collision_map_[CellIndex(x, y)] = collides ? 1 : 0;
}

Rect TBackgroundSprite::GetBoundsRect() const {
  if (Endless) return Engine() != nullptr ? Engine()->SurfaceRect() : Rect{};
  if (image_ == nullptr) return Rect{};
  const int left = TruncToInt(WorldX());
  const int top = TruncToInt(WorldY());
  const long long w = static_cast<long long>(image_->FrameWidth()) * map_width_;
  const long long h = static_cast<long long>(image_->FrameHeight()) * map_height_;
  return Rect{left, top, ClampToInt(left + w), ClampToInt(top + h)};
}

bool TBackgroundSprite::TestCollision(const TSprite& other) const {
  if (image_ == nullptr || map_width_ == 0) return false;
  const int w = image_->FrameWidth();
  const int h = image_->FrameHeight();
  if (w <= 0 || h <= 0) return false;
  const Rect o = other.GetBoundsRect();
  const int x = TruncToInt(WorldX());
  const int y = TruncToInt(WorldY());
  const std::vector<int> columns = CellsUnder(o.left, o.right, x, w, map_width_, Endless);
  const std::vector<int> rows = CellsUnder(o.top, o.bottom, y, h, map_height_, Endless);
  const int frames = image_->FrameCount();
  for (int r : rows)
    for (int c : columns) {
      const int frame = tile_map_[CellIndex(c, r)];
      if (frame >= 0 && frame < frames && collision_map_[CellIndex(c, r)] != 0) return true;
    }
  return false;
}

void TBackgroundSprite::DoDraw() {
  if (image_ == nullptr || map_width_ == 0 || Engine() == nullptr) return;
  if (image_->FrameWidth() <= 0 || image_->FrameHeight() <= 0) return;
  const TSpriteEngine& engine = *Engine();
  if (Endless)
    DrawEndless(engine.Surface(), engine.SurfaceRect());
  else
    DrawBounded(engine.Surface(), engine.SurfaceRect());
}

void TBackgroundSprite::DrawEndless(const SurfaceView& surface, const Rect& area) const {
  const int w = image_->FrameWidth();
  const int h = image_->FrameHeight();
  const int columns = (area.right + w) / w + 1;
  const int rows = (area.bottom + h) / h;
  const int x = TruncToInt(WorldX());
  const int y = TruncToInt(WorldY());
  const int ox = x % w;  // C++ keeps the dividend's sign, as the cell layout needs
  const int oy = y % h;
  long long cx = x / w, sx = 0;
  if (cx < 0) {
    sx = -cx;
    cx = 0;
  }
  long long cy = y / h, sy = 0;
  if (cy < 0) {
    sy = -cy;
    cy = 0;
  }
  for (int r = -1; r <= rows + 1; ++r) {
    const int my = Wrap(r + sy - cy, map_height_);
    for (int c = -1; c <= columns; ++c) {
      const int frame = tile_map_[CellIndex(Wrap(c + sx - cx, map_width_), my)];
      if (frame >= 0) image_->Draw(surface, c * w + ox, r * h + oy, frame);
    }
  }
}

void TBackgroundSprite::DrawBounded(const SurfaceView& surface, const Rect& area) const {
  const int w = image_->FrameWidth();
  const int h = image_->FrameHeight();
  const int x = TruncToInt(WorldX());
  const int y = TruncToInt(WorldY());
  // Only the cells that reach the surface, each once.
  for (int r : CellsUnder(area.top, area.bottom, y, h, map_height_, false))
    for (int c : CellsUnder(area.left, area.right, x, w, map_width_, false)) {
      const int frame = tile_map_[CellIndex(c, r)];
      if (frame >= 0)
        image_->Draw(surface, ClampToInt(x + static_cast<long long>(c) * w),
                     ClampToInt(y + static_cast<long long>(r) * h), frame);
    }
}

}  // namespace trakvolt
