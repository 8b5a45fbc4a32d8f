// TScrollBackground: the game's one endless background, scrolling down with the road.
#pragma once

#include <string_view>

#include "base/image.h"
#include "sprites/background_sprite.h"

namespace trakvolt {

class TScrollBackground : public TBackgroundSprite {
 public:
  // Below this Y the picture is moved back up by kScrollWrapStep; the step is a whole number
  // of the background pictures' heights, so the jump is invisible.
  static constexpr double kScrollWrapBelow = 600;
  static constexpr double kScrollWrapStep = 512;

  // One endless cell showing `image_name` from `images` (the caller picks the race or the menu
  // list), at (0, 0) with Z 1. `road_speed` is read on every move and must outlive the sprite
  // (the race record's speed, which is 0 outside the race). A missing name raises the image
  // list's "Image '%s' not found".
  TScrollBackground(ParentLink parent, const TImageSource& images, std::string_view image_name,
                    const double& road_speed);

  // Scrolls down by the road speed once per frame, whatever the move count.
  void DoMove(int move_count) override;

 private:
  const double* road_speed_;
};

}  // namespace trakvolt
