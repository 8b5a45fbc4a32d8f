// TCaptionSprite: a fixed picture (title, panel, banner) centred on the screen, played once.
#pragma once

#include <string_view>

#include "base/image.h"
#include "sprites/image_sprite.h"

namespace trakvolt {

class TCaptionSprite : public TImageSprite {
 public:
  // Takes `image_name` from `race_images` while `game_state` is the race or its set-up (1 or
  // 10), otherwise from `menu_images`; a missing name raises "Image '%s' not found" and no
  // sprite is made. The caption is centred on the 800 x 600 display (X and Y may end in .5),
  // has Z 3 and plays its frames once at 3 frames per second of `timer_interval_ms` ticks,
  // then stays on the last one.
  TCaptionSprite(ParentLink parent, const TImageSource& menu_images,
                 const TImageSource& race_images, int game_state, std::string_view image_name,
                 int timer_interval_ms);
  // Moving is the image sprite's animation step and nothing else.
};

}  // namespace trakvolt
