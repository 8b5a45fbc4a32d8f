// TBackgroundSprite: a map of picture frames laid out in cells, optionally repeating endlessly.
#pragma once

#include <cstdint>
#include <vector>

#include "base/image.h"
#include "sprites/sprite.h"

namespace trakvolt {

class TBackgroundSprite : public TSprite {
 public:
  // Backgrounds start with CanCollide false.
  explicit TBackgroundSprite(ParentLink parent);

  const TImage* Image() const { return image_; }
  void SetImage(const TImage* image) { image_ = image; }

  int MapWidth() const { return map_width_; }
  int MapHeight() const { return map_height_; }
  // Resizes the map to w x h cells, all showing frame 0 and all colliding; a size that is not
  // positive in both directions empties the map. Setting the current size changes nothing.
  void SetMapSize(int w, int h);
  // The frame shown in cell (x, y), or -1 outside the map.
  int Cell(int x, int y) const;
  // Writes outside the map are ignored. A frame of -1 (or any absent frame) leaves the cell
  // empty.
  void SetCell(int x, int y, int frame);
  // Whether cell (x, y) collides; false outside the map.
  bool CollisionCell(int x, int y) const;
  void SetCollisionCell(int x, int y, bool collides);

  // Endless: the whole surface, since the map covers it in every direction. Otherwise the
  // map's own extent, or an empty rectangle without a picture.
  Rect GetBoundsRect() const override;
  // True when a colliding, non-empty cell lies under the other sprite's rectangle.
  bool TestCollision(const TSprite& other) const override;
  void DoDraw() override;

  // The map repeats without end in both directions.
  bool Endless = false;

 private:
  bool HasCell(int x, int y) const { return x >= 0 && x < map_width_ && y >= 0 && y < map_height_; }
  std::size_t CellIndex(int x, int y) const {
    return static_cast<std::size_t>(x) +
           static_cast<std::size_t>(y) * static_cast<std::size_t>(map_width_);
  }
  void DrawEndless(const SurfaceView& surface, const Rect& area) const;
  void DrawBounded(const SurfaceView& surface, const Rect& area) const;

  const TImage* image_ = nullptr;
  int map_width_ = 0;
  int map_height_ = 0;
  std::vector<std::int32_t> tile_map_;
  std::vector<std::uint8_t> collision_map_;
};

}  // namespace trakvolt
