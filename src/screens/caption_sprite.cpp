// Caption sprites: image list chosen by the screen, centred placement and a single play.
#include "screens/caption_sprite.h"

#include "platform/platform.h"
#include "screens/game_state.h"

namespace trakvolt {

TCaptionSprite::TCaptionSprite(ParentLink parent, const TImageSource& menu_images,
                               const TImageSource& race_images, int game_state,
                               std::string_view image_name, int timer_interval_ms)
    : TImageSprite(parent,
                   &(UsesRacePictures(game_state) ? race_images : menu_images).Find(image_name)) {
  X = platform::kScreenWidth / 2.0 - Width / 2.0;
  Y = platform::kScreenHeight / 2.0 - Height / 2.0;
  SetZ(3);
  FramePos = 0;
  FrameCount = Image()->FrameCount();
  FrameLooped = false;
  FrameSpeed = 3.0 * timer_interval_ms / 1000.0;
}

}  // namespace trakvolt
